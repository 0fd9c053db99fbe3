// Deleting panels: cascade repair, unlinking, positions, window lists, recalculation.
#include <gtest/gtest.h>

#include "ModelSupport.h"

namespace {

using PanelDeletion = ModelTest;

struct DeletionCase {
    const char* name;
    const char* panels;  // switchboard 1, chain order
    int deleted;
    const char* after;  // "number[:role]@position"
};

TEST_F(PanelDeletion, CascadeRepairAndPositions) {
    const std::vector<DeletionCase> cases = {
        {"a plain panel", "1 2 3", 2, "1@1 3@2"},
        {"the only member makes its head plain", "1:head 2:1^1 3", 2, "1@1 3@2"},
        {"the middle of H->A->B->C leaves C fed from A", "1:head 2:1^1 3:2^1 4:3^1", 3,
         "1:head@1 2:1^1@2 4:2^1@3"},
        {"the first member: the next one is fed from the head", "1:head 2:1^1 3:2^1 4:3^1", 2,
         "1:head@1 3:1^1@2 4:3^1@3"},
        {"the last member", "1:head 2:1^1 3:2^1", 3, "1:head@1 2:1^1@2"},
        {"a head whose cascade is A->B makes A the head", "1:head 2:1^1 3:2^1", 1,
         "2:head@1 3:2^2@2"},
        {"a head with a single member: both plain", "1:head 2:1^1", 1, "2@1"},
        {"a head, with another cascade between its members", "1:head 2:1^1 5:head 6:5^5 3:2^1", 1,
         "2:head@1 5:head@2 6:5^5@3 3:2^2@4"},
        {"a member whose head is missing changes nothing else", "2:9^9 3:2^9 4", 2, "3:2^9@1 4@2"},
        // Fed from 7 but naming head 9: panel 7 heads another cascade and stays a head.
        {"a member whose head number names no head", "7:head 2:7^9 3", 2, "7:head@1 3@2"},
        {"the only panel", "7", 7, ""},
    };
    for (const auto& c : cases) {
        NewProject();
        TGrsed* sw = AddSwitchboard(1);
        AddPanels(1, c.panels);
        MakeCurrent(sw);
        editing.DeletePanel(Panel(c.deleted));
        EXPECT_EQ(DescribePanels(1), c.after) << c.name;
        EXPECT_EQ(ChainProblems(), "") << c.name;
        EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), sw) << c.name;
    }
}

TEST_F(PanelDeletion, TheOnlyPanelLeavesAnEmptyChain) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanels(1, "7");
    AddGroupLine(7, "Гр1", 2);
    AddGroupLine(7, "Гр2", 4);
    MakeCurrent(sw);
    editing.DeletePanel(Panel(7));
    EXPECT_EQ(sw->PanelCount, 0);
    EXPECT_EQ(sw->Panels.First, nullptr);
    EXPECT_EQ(sw->Panels.Last, nullptr);
    EXPECT_EQ(sw->Panels.Cursor, nullptr);
    EXPECT_EQ(sw->Panels.Walker, nullptr);
    // The last panel of the whole project: both number lists are empty and show no text.
    EXPECT_TRUE(lists.groupEntryPanels.empty());
    EXPECT_EQ(lists.groupEntrySelected, -1);
    EXPECT_TRUE(lists.editFirstList.empty());
    EXPECT_EQ(lists.editFirstSelected, -1);
    EXPECT_TRUE(lists.groupNames.empty());
}

TEST_F(PanelDeletion, WindowListsHoldTheWholeProjectAfterwards) {
    AddSwitchboard(1, "К-ГРЩ1");
    AddSwitchboard(2, "К-ГРЩ2");
    AddPanels(1, "10 11 12");
    AddPanels(2, "20");
    AddGroupLine(10, "Гр1", 2, "к1");
    AddGroupLine(11, "Гр2", 3, "к2");
    AddGroupLine(11, "Гр3", 4, "к3");
    AddGroupLine(20, "Гр4", 2, "к4");
    lists.panelCounter = 3;
    int recalculations = 0;
    TGrsed* currentDuringRecalculation = nullptr;
    editing.Hooks.RecalculateAfterPanelDeletion = [&] {
        ++recalculations;
        currentDuringRecalculation = ProjectRoot->CurrentSwitchboard();
        ProjectRoot->Switchboards.Cursor = nullptr;  // the passes walk the cursors away
    };

    MakeCurrent(Switchboard(1));
    editing.DeletePanel(Panel(11));

    EXPECT_EQ(lists.cableNames, (std::vector<std::string>{"К-ГРЩ1", "feeder10", "к1", "feeder12",
                                                          "К-ГРЩ2", "feeder20", "к4"}));
    EXPECT_EQ(lists.groupNames, (std::vector<std::string>{"Гр1", "Гр4"}));
    const std::vector<std::string> numbers = {"10", "12", "20"};
    EXPECT_EQ(lists.groupEntryPanels, numbers);
    EXPECT_EQ(lists.groupEntrySelected, 2);
    EXPECT_EQ(lists.editFirstList, numbers);
    EXPECT_EQ(lists.editFirstSelected, 0);
    EXPECT_EQ(lists.groupCountCopies, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(lists.panelCounter, 2);
    EXPECT_EQ(recalculations, 1);
    EXPECT_EQ(currentDuringRecalculation, Switchboard(1));
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), Switchboard(1));
    EXPECT_EQ(DescribePanels(1), "10@1 12@2");
    EXPECT_EQ(ChainProblems(), "");
}

TEST_F(PanelDeletion, NothingHappensForAPanelOutsideTheCurrentSwitchboard) {
    AddSwitchboard(1);
    AddSwitchboard(2);
    AddPanels(1, "10");
    AddPanels(2, "20");
    int recalculations = 0;
    editing.Hooks.RecalculateAfterPanelDeletion = [&] { ++recalculations; };
    MakeCurrent(Switchboard(1));
    editing.DeletePanel(Panel(20));
    editing.DeletePanel(nullptr);
    ProjectRoot->Switchboards.Cursor = nullptr;
    editing.DeletePanel(Panel(10));
    EXPECT_EQ(DescribePanels(1), "10@1");
    EXPECT_EQ(DescribePanels(2), "20@1");
    EXPECT_EQ(recalculations, 0);
}

struct FedFromCase {
    const char* name;
    const char* panels;
    std::vector<std::pair<int, int>> hangs;  // panel, the panel it hangs on
    int from;
    const char* after;
};

TEST_F(PanelDeletion, DeletePanelsFedFrom) {
    const std::vector<FedFromCase> cases = {
        {"two in a row at the head of the chain", "2 3 1 4", {{2, 1}, {3, 1}}, 1, "1@1 4@2"},
        {"scattered, never the panel itself",
         "1 2 3 4 5",
         {{2, 1}, {4, 1}, {1, 1}},
         1,
         "1@1 3@2 5@3"},
        {"none hangs on it", "1 2", {{2, 3}}, 1, "1@1 2@2"},
        // Number 0 names no panel: the plain panels that hang on 0 stay.
        {"a panel numbered 0", "0 2 3", {}, 0, "0@1 2@2 3@3"},
    };
    for (const auto& c : cases) {
        NewProject();
        TGrsed* sw = AddSwitchboard(1);
        AddPanels(1, c.panels);
        for (const auto& [panel, host] : c.hangs) Panel(panel)->HangsOnPanel = host;
        MakeCurrent(sw);
        editing.DeletePanelsFedFrom(Panel(c.from));
        EXPECT_EQ(DescribePanels(1), c.after) << c.name;
        EXPECT_EQ(ChainProblems(), "") << c.name;
        EXPECT_EQ(sw->Panels.Cursor, nullptr) << c.name;
    }
}

TEST_F(PanelDeletion, DeletePanelsFedFromMarksTheSwitchboardChanged) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanels(1, "1 2 3");
    Panel(2)->HangsOnPanel = 1;
    MakeCurrent(sw);
    editing.DeletePanelsFedFrom(Panel(1));
    EXPECT_EQ(sw->ChangedMark, 0);
    Panel(3)->PanelFlagB = 1;
    editing.DeletePanelsFedFrom(Panel(1));
    EXPECT_EQ(sw->ChangedMark, 1);
}

}  // namespace
