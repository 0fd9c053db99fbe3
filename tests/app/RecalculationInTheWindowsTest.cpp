// The recalculation as the windows run it: the group-entry window's own member and the tree
// edits of the main window, each recalculating what it changed.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "CalcSupport.h"
#include "app/Mainform.h"
#include "calc/Recalculation.h"
#include "groups/Dan12.h"

namespace {

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
