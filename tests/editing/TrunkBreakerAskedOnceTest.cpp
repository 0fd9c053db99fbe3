// The series of a cascade's trunk breaker is asked for when the series stored cannot carry the
// trunk's rating, and then kept: the breaker base lists most series in two rows (16-63 A and
// 80-160 A, say), and a series carries a rating when any of its rows does.
#include <QTest>
#include <string>
#include <vector>

#include "EditFixture.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "app/PowerSystem.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "model/Classd.h"

namespace {

// Example3: panel 2 hangs on panel 1, the head of the cascade, whose trunk breaker ВА88-32 3P
// carries up to 125 A. Three lines of 6 kW are added to panel 2 in the group line window; the
// first takes the trunk past 125 A, and the breaker dialog asks for the trunk's series, where the
// user takes ВА88-33 3P (16-63 A and 80-160 A). The next two lines ask for their own breakers only.
TEST_F(EditTest, TheTrunkBreakerIsAskedForOnce) {
    OpenProject("Example3.VPQ");
    ASSERT_EQ(PanelNumbered(1)->TrunkBreakerType, "ВА88-32 3P");
    ASSERT_EQ(PanelNumbered(1)->TrunkBreakerRating, 125);
    const std::size_t lines = GroupsOf(2).size();
    std::vector<std::string> asked;
    responder_.AnswerEvery("TInsertAvtomat", [&asked](QDialog&) {
        const std::string target = InsertAvtomat->GroupBox1->title().toStdString();
        asked.push_back(target);
        QComboBox& list = *InsertAvtomat->ComboBox1;
        const int at = target == "Магистральный автомат" ? list.findText("ВА88-33 3P") : 0;
        EXPECT_GE(at, 0) << target;
        list.setCurrentIndex(at);
        QTest::mouseClick(InsertAvtomat->Button2, Qt::LeftButton);
        return platform::mrNone;
    });
    responder_.ExpectModal("TPowerSystem", [](QDialog&) {
        Click(PowerSystem->Button1);
        return platform::mrNone;
    });
    Form1->N11->trigger();
    ASSERT_TRUE(Dan1->isVisible());

    TDan1& d = *Dan1;
    const std::vector<std::vector<std::string>> expected = {
        {"Группы", "Магистральный автомат"}, {"Группы"}, {"Группы"}};
    for (std::size_t n = 0; n < expected.size(); ++n) {
        const std::string name = "Н" + std::to_string(n + 1);
        SCOPED_TRACE(name);
        asked.clear();
        Choose(d.ComboBox2, "2");
        Choose(d.ComboBox1, "4");
        Type(d.Edit4, "20");
        Type(d.Edit2, "6");
        Type(d.Edit1, "0,9");
        Type(d.Edit6, name);
        Type(d.Edit5, "25");
        Choose(d.ComboBox3, "В воздухе");
        Choose(d.ComboBox4, "ВВГв4.xml");
        Type(d.Edit7, "К" + name);
        Click(d.sledychi);
        EXPECT_EQ(asked, expected[n]);
        EXPECT_TRUE(responder_.Messages().empty()) << responder_.Messages().front().text;
        const TSitid& head = *PanelNumbered(1);
        EXPECT_EQ(head.TrunkBreakerType, "ВА88-33 3P");
        // Beyond the series' first row (16-63 A), within its second.
        EXPECT_GT(head.TrunkBreakerRating, 125);
        EXPECT_LE(head.TrunkBreakerRating, 160);
    }
    EXPECT_EQ(GroupsOf(2).size(), lines + expected.size());
    responder_.VerifyDone();
}

}  // namespace
