// The panel chooser of the group-entry window, filled from the current switchboard's panels.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "CalcSupport.h"
#include "calc/PanelNumbers.h"
#include "groups/Dan12.h"

namespace {

using PanelNumbersInTheWindow = AppFixture;

TEST_F(PanelNumbersInTheWindow, FillsTheChooserOfTheGroupEntryWindow) {
    ProjectRoot = new TGrsed;
    ProjectBuilder project;
    project.AddSwitchboard(1);
    project.AddPanels(1, "1 2 5:2^2+trunk");
    ProjectRoot->Switchboards.Cursor = project.Switchboard(1);
    Dan1->ComboBox2->addItem("old");
    Dan1->FillPanelNumbers();
    ASSERT_EQ(Dan1->ComboBox2->count(), 3);
    EXPECT_EQ(Dan1->ComboBox2->itemText(0), "1");
    EXPECT_EQ(Dan1->ComboBox2->itemText(2), "2(5)");
    EXPECT_EQ(Dan1->ComboBox2->currentIndex(), 2);

    // A plain panel last: the list is filled and nothing is chosen.
    project.AddPanels(1, "7");
    ProjectRoot->Switchboards.Cursor = project.Switchboard(1);
    Dan1->FillPanelNumbers();
    EXPECT_EQ(Dan1->ComboBox2->count(), 4);
    EXPECT_EQ(Dan1->ComboBox2->currentIndex(), -1);
    DeleteProjectTree(ProjectRoot);
}

}  // namespace
