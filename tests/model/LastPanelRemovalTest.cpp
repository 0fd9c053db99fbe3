// Removing the last panel of the current switchboard.
#include <gtest/gtest.h>

#include "LeakCheck.h"
#include "ModelSupport.h"

namespace {

using Names = std::vector<std::string>;
using LastPanelRemoval = ModelTest;

TEST_F(LastPanelRemoval, TheOnlyPanelLeavesAnEmptyChain) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanels(1, "10");
    MakeCurrent(sw);
    editing.RemoveLastPanel();
    EXPECT_EQ(sw->Panels.First, nullptr);
    EXPECT_EQ(sw->Panels.Last, nullptr);
    EXPECT_EQ(sw->Panels.Cursor, nullptr);
    EXPECT_EQ(sw->Panels.Walker, nullptr);
    EXPECT_EQ(sw->PanelCount, 0);
    EXPECT_TRUE(lists.groupEntryPanels.empty());
    EXPECT_EQ(lists.groupEntrySelected, -1);
}

TEST_F(LastPanelRemoval, ThePanelGoesWithAllItsGroups) {
    TGrsed* sw = AddSwitchboard(1, "К1");
    AddPanels(1, "10 11");
    for (const char* name : {"Гр1", "Гр2", "Гр3"}) AddGroupLine(10, name, 2);
    AddGroupLine(11, "Гр4", 2);
    AddGroupLine(11, "Гр5", 2);
    AddGroupLine(11, "Гр6", 4);
    lists.panelCounter = 2;
    lists.cableNames = {"untouched"};
    MakeCurrent(sw);

    editing.RemoveLastPanel();

    EXPECT_EQ(DescribePanels(1), "10@1");
    EXPECT_EQ(lists.groupCountCopies, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(lists.groupNames, (Names{"Гр1", "Гр2", "Гр3"}));
    EXPECT_EQ(lists.groupEntryPanels, (Names{"10"}));
    EXPECT_EQ(lists.editFirstList, (Names{"10"}));
    EXPECT_EQ(lists.panelCounter, 1);
    EXPECT_EQ(lists.cableNames, (Names{"untouched"}));
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), sw);
    EXPECT_EQ(ChainProblems(), "");
}

TEST_F(LastPanelRemoval, RepeatedCallsEmptyTheSwitchboardFromTheLast) {
    AddSwitchboard(1);
    AddSwitchboard(2);
    AddPanels(1, "10 11 12");
    AddPanels(2, "20");
    const std::vector<Names> listsAfterEachCall = {{"10", "11", "20"}, {"10", "20"}, {"20"}};
    for (const Names& expected : listsAfterEachCall) {
        MakeCurrent(Switchboard(1));
        editing.RemoveLastPanel();
        EXPECT_EQ(lists.groupEntryPanels, expected);
        EXPECT_EQ(lists.editFirstList, expected);
        EXPECT_EQ(lists.groupEntrySelected, static_cast<int>(expected.size()) - 1);
    }
    EXPECT_EQ(Switchboard(1)->Panels.First, nullptr);
    EXPECT_EQ(ChainProblems(), "");
}

// Counts that disagree with the chains: every record still goes, nothing is walked past an end.
TEST_F(LastPanelRemoval, DamagedCountsStillRemoveEveryRecord) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanels(1, "10 11");
    AddGroupLine(11, "Гр1", 2);
    AddGroupLine(11, "Гр2", 3);
    AddGroupLine(11, "Гр3", 3);
    Panel(11)->SchemeGroupCount = 1;
    Panel(11)->SinglePhaseCount = 5;
    Panel(11)->TwoPhaseCount = 0;
    MakeCurrent(sw);
    editing.RemoveLastPanel();
    EXPECT_EQ(DescribePanels(1), "10@1");
    ExpectNoLeaks();  // the groups beyond the damaged counts are freed too
}

TEST_F(LastPanelRemoval, WithoutPanelsOrSwitchboardNothingHappens) {
    TGrsed* sw = AddSwitchboard(1);
    MakeCurrent(sw);
    editing.RemoveLastPanel();
    MakeCurrent(nullptr);
    editing.RemoveLastPanel();
    EXPECT_EQ(sw->PanelCount, 0);
}

}  // namespace
