// The recalculation driver: sixteen passes, the current panel's distributions, the cursors, and
// the recalculation steps the tree edits run through their hooks.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "CalcSupport.h"
#include "app/Mainform.h"
#include "calc/Recalculation.h"
#include "groups/Dan12.h"

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

using RecalculationInTheWindows = AppFixture;

// The group-entry window recalculates through its own member, as designed.
TEST_F(RecalculationInTheWindows, TheGroupEntryWindowRecalculates) {
    ProjectRoot = new TGrsed;
    ProjectBuilder project;
    project.AddSwitchboard(1);
    project.AddPanel(1, "1");
    project.AddSingle(1, "g1", 4);
    project.MakeCurrent(1);
    Dan1->RecalculateNetwork();
    EXPECT_EQ(project.Panel(1)->OwnCurrentA, Hundredths(18.23));
    EXPECT_EQ(Dan1->NeutralCurrent(10, 10, 20), Hundredths(10));
    DeleteProjectTree(ProjectRoot);
}

// The main window's tree edits run the calculation through their hooks: deleting a panel
// recalculates the loads and the section (passes 4-16).
TEST_F(RecalculationInTheWindows, DeletingAPanelRecalculatesTheNetwork) {
    ProjectRoot = new TGrsed;
    ProjectBuilder project;
    project.AddSwitchboard(1);
    project.AddPanels(1, "1 2");
    project.AddSingle(1, "g1", 4);
    project.AddSingle(2, "g2", 3);
    project.DistributeAll();
    RunLoadPasses(*ProjectRoot);
    ASSERT_EQ(ProjectRoot->TotalInstalledPower, 7.0);

    ProjectRoot->Switchboards.Cursor = project.Switchboard(1);
    Form1->DeletePanel(project.Panel(2));
    EXPECT_EQ(ProjectRoot->TotalInstalledPower, 4.0);
    EXPECT_EQ(project.Switchboard(1)->SwitchboardPowerA, 4.0);
    DeleteProjectTree(ProjectRoot);
}

// Deleting a switchboard runs the section totals and the feeder currents (passes 13-16).
TEST_F(RecalculationInTheWindows, DeletingASwitchboardRecalculatesTheSection) {
    ProjectRoot = new TGrsed;
    ProjectBuilder project;
    project.AddSwitchboard(1);
    project.AddSwitchboard(2);
    project.AddPanels(1, "1");
    project.AddPanels(2, "2");
    project.AddSingle(1, "g1", 4);
    project.AddSingle(2, "g2", 3);
    project.DistributeAll();
    RunLoadPasses(*ProjectRoot);
    ASSERT_EQ(ProjectRoot->TotalPhasePowerA, 7.0);

    // The section's breaker is chosen again; the dialog is left without a choice.
    responder_.ExpectModal("TInsertAvtomat", [](QDialog&) { return platform::mrCancel; });
    Form1->DeleteSwitchboardNode(project.Switchboard(2));
    EXPECT_EQ(ProjectRoot->TotalPhasePowerA, 4.0);
    EXPECT_EQ(ProjectRoot->TotalCurrentA, Hundredths(18.23));
    DeleteProjectTree(ProjectRoot);
}

// Swapping two panels redistributes each of them with its new group lines.
TEST_F(RecalculationInTheWindows, SwappingPanelsRedistributesThem) {
    ProjectRoot = new TGrsed;
    ProjectBuilder project;
    project.AddSwitchboard(1);
    project.AddPanels(1, "1 2");
    project.AddSingle(1, "g1", 4);
    project.AddSingle(2, "g2", 3);
    project.AddSingle(2, "g3", 2);
    project.DistributeAll();
    TSitid* first = project.Panel(1);
    TSitid* second = project.Panel(2);
    Form1->SwapPanels(project.Switchboard(1), first, second);
    // The first node now holds panel 2 with g2 and g3; the second panel 1 with g1.
    EXPECT_EQ(first->PanelNumber, 2);
    EXPECT_EQ(first->SinglePhasePowerA, 3.0L);
    EXPECT_EQ(first->SinglePhasePowerB, 2.0L);
    EXPECT_EQ(second->SinglePhasePowerA, 4.0L);
    EXPECT_EQ(second->SinglePhasePowerB, 0.0L);
    DeleteProjectTree(ProjectRoot);
}

}  // namespace
