// The project snapshot of the group-entry window and its restore after a rejected change.
#include <gtest/gtest.h>

#include "CalcSupport.h"
#include "calc/Recalculation.h"
#include "model/Chains.h"

namespace {

class SnapshotRestore : public CalcTest {
protected:
    void SetUp() override {
        CalcTest::SetUp();
        AddSwitchboard(1);
        AddSwitchboard(2);
        AddPanels(1, "1 2 3");
        AddPanels(2, "4");
        AddSingle(1, "g1", 4);
        AddSingle(2, "g2", 3);
        AddSingle(4, "g4", 2);
        DistributeAll();
        RunLoadPasses(*ProjectRoot);
    }

    // The snapshot's switchboard, with its second panel current, as the dialogs leave it.
    void MakeSwitchboardOneCurrent() {
        ProjectRoot->Switchboards.Cursor = Switchboard(1);
        Switchboard(1)->Panels.Cursor = Panel(2);
    }

    NetworkCalculation calculation;
};

// A group line added and rejected: after the rollback the root, the switchboard and its panels
// hold the snapshot's values in every field of their level, whatever the recalculation and the
// selection wrote; other switchboards keep the recalculated values.
TEST_F(SnapshotRestore, TheRollbackPutsBackEveryNodeValue) {
    MakeSwitchboardOneCurrent();
    calculation.TakeProjectSnapshot();
    const TGrsedFields rootBefore = *ProjectRoot;
    const TGrsedFields switchboardBefore = *Switchboard(1);
    std::vector<TSitidFields> panelsBefore;
    for (int n : {1, 2, 3}) panelsBefore.push_back(*Panel(n));

    // The change: a line on panel 2 and one on panel 4 of the other switchboard, recalculated;
    // the selection's results written into the nodes.
    AddSingle(2, "g5", 6);
    AddSingle(4, "g6", 1);
    DistributeAll();
    RunLoadPasses(*ProjectRoot);
    ProjectRoot->TransformerBreakerRating = 250;
    Switchboard(1)->SwitchboardBreakerRating = 160;
    Panel(2)->PanelBreakerRating = 63;
    ASSERT_EQ(Panel(2)->SinglePhaseCount, 2);
    const TSitidFields otherPanel = *Panel(4);
    ASSERT_EQ(otherPanel.InstalledPower, 3.0);

    MakeSwitchboardOneCurrent();
    EXPECT_TRUE(calculation.RestoreProjectSnapshot());
    EXPECT_TRUE(static_cast<const TGrsedFields&>(*ProjectRoot) == rootBefore);
    EXPECT_TRUE(static_cast<const TGrsedFields&>(*Switchboard(1)) == switchboardBefore);
    // Every value of the snapshot but the group counts, which follow the chains as they are:
    // panel 2 still holds the line, so its scheme and single-phase counts are 2.
    panelsBefore[1].SchemeGroupCount = 2;
    panelsBefore[1].SinglePhaseCount = 2;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(static_cast<const TSitidFields&>(*Panel(i + 1)) == panelsBefore[i]) << i;
    EXPECT_EQ(Panel(2)->SinglePhaseCount, 2);
    EXPECT_EQ(Panel(2)->PanelBreakerRating, 0.0);
    EXPECT_TRUE(static_cast<const TSitidFields&>(*Panel(4)) == otherPanel);
    // Group records and chains are not part of the snapshot.
    EXPECT_EQ(chains::Length(Panel(2)->SinglePhaseGroups, chains::SinglePhaseLink{}), 2);
    // The switchboard cursor stays; the panel cursor stands past the last restored panel.
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, Switchboard(1));
    EXPECT_EQ(Switchboard(1)->Panels.Cursor, nullptr);

    // The snapshot is not used up: restoring again gives the same values.
    Panel(3)->OwnCurrentA = 77;
    EXPECT_TRUE(calculation.RestoreProjectSnapshot());
    EXPECT_TRUE(static_cast<const TSitidFields&>(*Panel(3)) == panelsBefore[2]);
}

TEST_F(SnapshotRestore, ASwitchboardWithoutPanels) {
    NewProject();
    TGrsed& sw = *AddSwitchboard(7);
    ProjectRoot->Switchboards.Cursor = &sw;
    sw.SwitchboardCosPhiA = 0.75;
    ProjectRoot->TotalCurrentB = 3;
    calculation.TakeProjectSnapshot();
    EXPECT_EQ(calculation.PanelSnapshotCount, 0);
    sw.SwitchboardCosPhiA = 0.5;
    ProjectRoot->TotalCurrentB = 9;
    calculation.RestoreProjectSnapshot();
    EXPECT_EQ(sw.SwitchboardCosPhiA, 0.75);
    EXPECT_EQ(ProjectRoot->TotalCurrentB, 3.0);
    EXPECT_EQ(sw.Panels.Cursor, nullptr);
}

// The restore walk ends with the shortest of the restored count, the snapshot and the chain.
TEST_F(SnapshotRestore, TheWalkIsBoundedByCountSnapshotAndChain) {
    MakeSwitchboardOneCurrent();
    calculation.TakeProjectSnapshot();
    ASSERT_EQ(calculation.PanelSnapshotCount, 3);
    TGrsed& sw = *Switchboard(1);

    // A panel connected after the snapshot, and a restored count beyond snapshot and chain: the
    // snapshot's three panels are restored, the new one is left alone.
    TSitid& added = *AddPanel(1, "9");
    added.OwnCurrentA = 55;
    Panel(3)->OwnCurrentA = 66;
    calculation.SwitchboardSnapshots[1].PanelCount = 9;
    ProjectRoot->Switchboards.Cursor = &sw;
    calculation.RestoreProjectSnapshot();
    EXPECT_EQ(Panel(3)->OwnCurrentA, calculation.PanelSnapshots[2].OwnCurrentA);
    EXPECT_EQ(added.OwnCurrentA, 55.0);
    EXPECT_EQ(added.PanelNumber, 9);
    EXPECT_EQ(sw.Panels.Cursor, &added);

    // A snapshot count beyond the snapshot's records changes nothing of that.
    calculation.PanelSnapshotCount = 12;
    calculation.RestoreProjectSnapshot();
    EXPECT_EQ(added.PanelNumber, 9);

    // A chain shorter than the snapshot: only its panels are restored.
    TSitid* second = Panel(2);
    TSitid* third = Panel(3);
    Panel(1)->Panels.Next = nullptr;
    sw.Panels.Last = Panel(1);
    DestroyPanel(second);
    DestroyPanel(third);
    DestroyPanel(&added);
    Panel(1)->OwnCurrentA = 44;
    calculation.RestoreProjectSnapshot();
    EXPECT_EQ(sw.PanelCount, 9);
    EXPECT_EQ(Panel(1)->OwnCurrentA, calculation.PanelSnapshots[0].OwnCurrentA);
    EXPECT_EQ(sw.Panels.Cursor, nullptr);
}

// Without a snapshot nothing is restored: the project keeps its values.
TEST_F(SnapshotRestore, WithoutASnapshotNothingChanges) {
    MakeSwitchboardOneCurrent();
    const TGrsedFields rootBefore = *ProjectRoot;
    EXPECT_TRUE(calculation.RestoreProjectSnapshot());
    EXPECT_TRUE(static_cast<const TGrsedFields&>(*ProjectRoot) == rootBefore);
    EXPECT_EQ(ProjectRoot->SwitchboardCount, 2);
}

}  // namespace
