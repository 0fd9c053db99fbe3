// A line on a member of a trunk is held against its breaker on the project as the raises leave it,
// not only in the best case of the check before them. The trunk's head is fed by a cable of a
// smaller table than the member's: the check's best case takes the member's largest section for
// every feeder of the trunk, which the head's cable cannot reach.
#include <QTest>

#include "GroupsFixture.h"
#include "ProjectFileDiff.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "selection/CheckSupport.h"

namespace {

constexpr char kRefusedGroup[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Данная группа "
    "отменяется";

class TrunkLineTripTest : public GroupDialogTest {
protected:
    void SetUp() override {
        GroupDialogTest::SetUp();
        WriteTransformerBase({{"ТМ-400/10", 400, 4.5, 5500}, {"ТМ-630/10", 630, 5.5, 7600}});
        // Head 2 on 100 m of "Кабель4.xml" (50 mm2 at most), member 3 behind it on 20 m of the
        // feeder table (240 mm2 at most).
        head = AddPanel(sw, 2);
        head->FedFromSwitchboard = 1;
        head->CascadeHeadNumber = 2;
        head->FeederLength = 100;
        head->CurrentTableName = kCable4;
        head->FeederSections.clear();
        for (const TableRow& row : kCable4Rows) head->FeederSections.push_back(row.section);
        head->FeederZeroSections = head->FeederSections;
        head->FeederSectionCount = static_cast<int>(kCable4Rows.size());
        member = AddPanel(sw, 3);
        member->FedFromPanel = 1;
        member->FeedingPanelNumber = 2;
        member->CascadeHeadNumber = 2;
        member->FeederLength = 20;
    }

    static Entry LineOnTheMember(const std::string& name) {
        Entry line;
        line.panel = "3";
        line.name = name;
        line.cable = "К" + name;
        return line;
    }

    // The single-phase current at the end of `line`, everything on its path at the largest
    // section of its table (the head at `headSection`, every other feeder of the trunk at the
    // member's), behind the largest transformer.
    double LargestCurrent(TCxemaGrupd* line, double headSection) {
        const double largest = kFeederRows.back().section;
        const double head2 = head->FeederSection2;
        const double member2 = member->FeederSection2;
        head->FeederSection2 = headSection;
        member->FeederSection2 = largest;
        ProjectRoot->Switchboards.Cursor = sw;
        sw->Panels.Cursor = member;
        member->SchemeGroups.Cursor = line;
        const selection::FaultPath path = selection::FaultPathThrough(
            *sw, largest, member, largest, line, kWire2Rows.back().section);
        const double current =
            selection::FaultCurrentOfLineAt(path, *line, selection::TransformerRows().back());
        head->FeederSection2 = head2;
        member->FeederSection2 = member2;
        return current;
    }

    TSitid* head = nullptr;
    TSitid* member = nullptr;
};

// With the single-pole series tripping between what the raises can reach (the head at 50 mm2)
// and the best case (the head at 240 mm2), the check lets the line pass and no raise makes its
// breaker trip: it is refused, and the project is as before it.
TEST_F(TrunkLineTripTest, ALineWhoseBreakerTheRaisesCannotBringToTripIsRefused) {
    AddLine(LineOnTheMember("Т1"), {"Группы", "Магистральный автомат", "Щит", "Грщ", "Секция КТП"});
    TCxemaGrupd* first = SchemeRecord("Т1");
    ASSERT_NE(first, nullptr);
    const double reachable = LargestCurrent(first, kCable4Rows.back().section);
    const double best = LargestCurrent(first, kFeederRows.back().section);
    ASSERT_LT(reachable, best);
    // A single-pole series "B1" of that multiplicity, which the second line takes.
    const double multiplicity = (reachable + best) / 2 / first->BreakerRating;
    std::vector<BreakerSeriesRow> base = BreakerSeries({1600, 1600, 1600, 1600});
    base.push_back({"B1", 0.32, 1600, 1, multiplicity});
    WriteBreakerBase(base);
    const std::string before = ProjectBytes();

    OpenGroupWindow();
    Fill(LineOnTheMember("Т2"));
    responder_.ExpectModal("TInsertAvtomat", [](QDialog&) {
        EXPECT_EQ(InsertAvtomat->GroupBox1->title().toStdString(), "Группы");
        InsertAvtomat->ComboBox1->setCurrentIndex(InsertAvtomat->ComboBox1->findText("B1"));
        QTest::mouseClick(InsertAvtomat->Button2, Qt::LeftButton);
        return platform::mrNone;
    });
    responder_.ExpectMessage(kRefusedGroup, "Предупреждение", platform::mrOk);
    Apply();
    responder_.VerifyDone();
    EXPECT_EQ(SchemeRecord("Т2"), nullptr);
    EXPECT_EQ(ProjectFileDifferences(ProjectBytes(), before), "");
}

}  // namespace
