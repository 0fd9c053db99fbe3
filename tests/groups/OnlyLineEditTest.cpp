// The edit of the only group line of a project: taken out, it leaves a project without load,
// whose recheck refuses nothing (no breaker protects nothing), and the line comes back with its
// new entries through every check of a new line. Whichever way the edit ends, the line is there:
// with its new values, or refused, with the message that says why and its old values.
#include <QTest>
#include <ostream>

#include "GroupsFixture.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "groups/Dan12.h"
#include "platform/Conversions.h"
#include "app/PowerSystem.h"

namespace {

using Messages = std::vector<std::pair<std::string, std::string>>;

constexpr char kCaption[] = "Предупреждение";
constexpr char kCancelled[] = "Редактирование отменяется";

struct EditCase {
    const char* what;
    // The breaker base the project meets, when not the fixture's.
    std::vector<BreakerSeriesRow> breakers;
    std::string power;   // kW
    std::string length;  // m
    // Empty: accepted.
    Messages messages;
};

void PrintTo(const EditCase& c, std::ostream* os) {
    *os << c.what;
}

class OnlyLineEdit : public GroupDialogTest, public ::testing::WithParamInterface<EditCase> {
protected:
    // "Гр0": 2.2 kW on one phase, 10 m of "Провод2.xml", the only line of the project. The
    // breaker dialogs take the first series offered.
    void SetUp() override {
        GroupDialogTest::SetUp();
        AddFirstLine();
        TakeTheFirstSeriesEveryTime();
    }
};

TEST_P(OnlyLineEdit, LeavesTheLineThere) {
    const EditCase& c = GetParam();
    if (!c.breakers.empty()) WriteBreakerBase(c.breakers);
    const TCxemaGrupdFields before = *SchemeRecord("Гр0");
    OpenGroupEditor("Гр0");
    Type(*Dan1->Edit2, c.power);
    Type(*Dan1->Edit4, c.length);
    for (const auto& [text, caption] : c.messages)
        responder_.ExpectMessage(text, caption, platform::mrNo);
    Click(*Dan1->cancel);
    responder_.VerifyDone();
    EXPECT_EQ(responder_.Messages().size(), c.messages.size());

    const TCxemaGrupd* line = SchemeRecord("Гр0");
    ASSERT_NE(line, nullptr);
    if (c.messages.empty()) {
        EXPECT_DOUBLE_EQ(static_cast<double>(line->Power), platform::StrToFloat(c.power));
        EXPECT_EQ(line->LineLength, platform::StrToFloat(c.length));
    } else {
        EXPECT_TRUE(static_cast<const TCxemaGrupdFields&>(*line) == before);
    }
    ASSERT_NE(SinglePhaseRecord("Гр0"), nullptr);
    EXPECT_EQ(NamesOf(*panel), std::vector<std::string>{"Гр0"});
    EXPECT_EQ(panel->SinglePhaseCount, 1);
    EXPECT_EQ(Dan1->GroupNames, std::vector<std::string>{"Гр0"});
    EXPECT_FALSE(Dan1->isVisible());
    EXPECT_EQ(Form3->GroupEditMode, 0);
    EXPECT_EQ(Form3->SavedGroup, nullptr);
    EXPECT_EQ(Form1->ProjectSaved, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, OnlyLineEdit,
    ::testing::Values(
        EditCase{"more power", {}, "3,3", "10", {}}, EditCase{"a longer line", {}, "2,2", "40", {}},
        // 21.95 kW on one phase draw 21950 / (380 / sqrt(3)) = 100.05 A; "Провод2.xml" carries
        // 100 A at most.
        EditCase{"its cable table",
                 {},
                 "21,95",
                 "10",
                 {{"Для данной мощности, в таблице нет данных.", "Предупреждение."}}},
        // 150 kW on one phase: 683.7 A, above the 630 A of the largest breaker the program has
        // data for.
        EditCase{"no breaker for the current",
                 {},
                 "150",
                 "10",
                 {{"Для данной мощности, нет данных для автомата.", "Предупреждение."}}},
        // 4.4 kW: 20.06 A, the breaker 25 A; the base has one-pole series up to 16 A only.
        EditCase{"the breaker list",
                 BreakerSeries({16, 1600, 1600, 1600}),
                 "4,4",
                 "10",
                 {{"Номинальный ток автомата 25 A. На участке группа - щит  В базе данных нет "
                   "такого автомата. Открыть базу данных для редактирования?",
                   kCaption},
                  {kCancelled, kCaption}}},
        // 300 m of even the largest wire of the line's table keep a fault at its end below 50
        // times the line's breaker.
        EditCase{"a short circuit",
                 BreakerSeries({1600, 1600, 1600, 1600}, 50),
                 "2,2",
                 "300",
                 {{"Ток короткого замыкания превышает ток электромагнитного "
                   "расцепителя.Редактирование отменяется",
                   kCaption}}},
        EditCase{"the voltage",
                 {},
                 "5",
                 "600",
                 {{"Падение напряжения на потребителе более 10 %,редактирование отменяется",
                   kCaption}}}));

// The only line of a trunk (head 2, member 3) beside "Гр0" of panel 1: taken out, it leaves the
// trunk without load, whose breaker protects nothing; the line comes back with its new power.
TEST_F(OnlyLineEdit, OfATrunk) {
    TSitid* head = AddPanel(sw, 2);
    head->FedFromSwitchboard = 1;
    head->CascadeHeadNumber = 2;
    TSitid* member = AddPanel(sw, 3);
    member->FedFromPanel = 1;
    member->FeedingPanelNumber = 2;
    member->CascadeHeadNumber = 2;
    Entry line;
    line.panel = "3";
    line.name = "Т1";
    line.cable = "КТ1";
    line.power = "3";
    AddLine(line, {});
    ASSERT_NE(SchemeRecord("Т1"), nullptr);
    responder_.VerifyDone();

    Form1->N25->trigger();
    Choose(*Form3->ComboBox4, "3");
    Choose(*Form3->ComboBox3, "Т1");
    responder_.ExpectModal("TPowerSystem", [](QDialog&) {
        QTest::mouseClick(PowerSystem->Button1, Qt::LeftButton);
        return platform::mrNone;
    });
    Click(*Form3->Button5);
    ASSERT_TRUE(Dan1->isVisible());
    Type(*Dan1->Edit2, "4,5");
    Click(*Dan1->cancel);
    responder_.VerifyDone();
    EXPECT_TRUE(responder_.Messages().empty());
    const TCxemaGrupd* edited = SchemeRecord("Т1");
    ASSERT_NE(edited, nullptr);
    EXPECT_DOUBLE_EQ(static_cast<double>(edited->Power), 4.5);
    EXPECT_EQ(NamesOf(*member), std::vector<std::string>{"Т1"});
    EXPECT_EQ(Form3->GroupEditMode, 0);
}

}  // namespace
