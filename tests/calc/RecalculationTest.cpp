// The recalculation driver: sixteen passes, the current panel's distributions and the cursors
// (the steps the tree edits run through their hooks are tested with the windows).
#include <gtest/gtest.h>

#include "CalcSupport.h"
#include "calc/Recalculation.h"

namespace {

using Recalculation = CalcTest;

TEST_F(Recalculation, AProjectWithoutSwitchboardsIsLeftAsItWas) {
    TGrsed& root = *ProjectRoot;
    root.TotalCurrentA = 12.5;
    root.TotalCosPhiB = 0.7;
    root.TotalPhasePowerC = 3;
    root.TotalDesignCurrent = 8;
    const TGrsedFields before = root;
    NetworkCalculation().RecalculateNetwork();
    EXPECT_TRUE(static_cast<const TGrsedFields&>(root) == before);
}

TEST_F(Recalculation, NothingHappensWithoutAProject) {
    DeleteProjectTree(ProjectRoot);
    NetworkCalculation().RecalculateNetwork();
    EXPECT_EQ(ProjectRoot, nullptr);
}

// The last pass leaves no switchboard current. A second call right after therefore distributes
// nothing (a changed line is not taken up), while passes 4-16 run as usual (a changed demand
// factor is).
TEST_F(Recalculation, TwoCallsInARow) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddSingle(1, "g1", 6);
    MakeCurrent(1);
    NetworkCalculation calculation;
    calculation.RecalculateNetwork();
    TSitid& panel = *Panel(1);
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, nullptr);
    EXPECT_EQ(panel.SinglePhasePowerA, 6.0L);
    EXPECT_EQ(panel.DesignPower, 6.0);

    panel.SinglePhaseGroups.First->Power1 = 9;
    panel.DemandFactor = 0.5;
    calculation.RecalculateNetwork();
    EXPECT_EQ(panel.SinglePhasePowerA, 6.0L);
    EXPECT_EQ(panel.InstalledPower, 6.0);
    EXPECT_EQ(panel.DesignPower, 3.0);
    EXPECT_EQ(ProjectRoot->TotalDesignPower, 3.0);

    // With the cursors put back the line is distributed again.
    MakeCurrent(1);
    calculation.RecalculateNetwork();
    EXPECT_EQ(panel.SinglePhasePowerA, 9.0L);
    EXPECT_EQ(panel.DesignPower, 4.5);
}

// Only the current panel is distributed; another panel keeps its distribution until it is
// current, while its loads still reach the totals.
TEST_F(Recalculation, APanelThatIsNotCurrentKeepsItsDistribution) {
    AddSwitchboard(1);
    AddPanels(1, "1 2");
    AddSingle(1, "g1", 2);
    AddSingle(2, "g2", 5);
    DistributeAll();
    Panel(2)->SinglePhaseGroups.First->Power1 = 7;
    MakeCurrent(1);
    NetworkCalculation().RecalculateNetwork();
    EXPECT_EQ(Panel(2)->SinglePhasePowerA, 5.0L);
    EXPECT_EQ(SingleRecords(*Panel(2), 0)[0]->Power1, 5.0L);
    EXPECT_EQ(ProjectRoot->TotalInstalledPower, 7.0);
}

}  // namespace
