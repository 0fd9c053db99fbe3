// A line refused after "Применить" raised the transformer, for its load or for the check of its
// panel without it, leaves the project on the transformer it had.
#include <QTest>

#include "GroupsFixture.h"
#include "ProjectFileDiff.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "groups/Dan12.h"
#include "app/PowerSystem.h"

namespace {

class RefusedLineSupply : public GroupDialogTest {
protected:
    void SetUp() override {
        GroupDialogTest::SetUp();
        WriteTransformerBase({{"ТМ-10/10", 10, 0, 0}, {"ТМ-400/10", 400, 0, 0}});
        ProjectRoot->TransformerName = "ТМ-10/10";
        AddFirstLine();
        TakeTheFirstSeriesEveryTime();
    }
};

TEST_F(RefusedLineSupply, AnEditOfTwelveKilowattsOnTheLongestLine) {
    ASSERT_EQ(ProjectRoot->TransformerName, "ТМ-10/10");
    const std::string before = ProjectBytes();
    OpenGroupEditor("Гр0");
    // 12 kW need more than the 10 kVA transformer; 999 m cannot hold the voltage.
    Type(*Dan1->Edit2, "12");
    Type(*Dan1->Edit4, "999");
    responder_.ExpectMessage("Падение напряжения на потребителе более 10 %,редактирование отменяется",
                             platform::mrOk);
    Click(*Dan1->cancel);
    responder_.VerifyDone();
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-10/10");
    EXPECT_TRUE(ProjectBytes() == before);
}

// A project on a transformer of 25 kVA whose switchboard breaker "A3" is not held against a short
// circuit. The breaker base then gets a series "D3" in front of it, which trips only at a current
// the 25 kVA transformer cannot give at the switchboard and the 630 kVA one can: the recheck of
// the panel without the edited line chooses its breakers without asking, takes "D3" and raises
// the transformer to 630 kVA for it to trip.
class RaisingRecheckTest : public GroupDialogTest {
protected:
    void SetUp() override {
        GroupDialogTest::SetUp();
        WriteTransformerBase({{"ТМ-25/10", 25, 4.5, 600}, {"ТМ-630/10", 630, 5.5, 7600}});
        ProjectRoot->TransformerName = "ТМ-25/10";
        AddFirstLine();
        Entry second;
        second.power = "1,1";
        AddLine(second);
    }
};

// The new version of "Гр1" (30 kW on one phase, beyond its cable table) is refused after the
// recheck raised the transformer: the project keeps its transformer, its supply power and every
// value it stored before the edit.
TEST_F(RaisingRecheckTest, ARefusedEditKeepsTheSupplyOfTheProject) {
    ASSERT_EQ(ProjectRoot->TransformerName, "ТМ-25/10");
    const std::string before = ProjectBytes();
    const double scPower = ProjectRoot->SupplyScPower;
    std::vector<BreakerSeriesRow> base = BreakerSeries({1600, 1600, 1600, 1600});
    base.insert(base.begin() + 2, {"D3", 0.32, 1000, 3, 150});
    WriteBreakerBase(base);

    OpenGroupEditor("Гр1");
    Type(*Dan1->Edit2, "30");
    responder_.ExpectMessage("Для данной мощности, в таблице нет данных.", "Предупреждение.",
                             platform::mrOk);
    Click(*Dan1->cancel);
    responder_.VerifyDone();

    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-25/10");
    EXPECT_EQ(ProjectRoot->SupplyScPower, scPower);
    EXPECT_EQ(ProjectFileDifferences(ProjectBytes(), before), "");
}

}  // namespace
