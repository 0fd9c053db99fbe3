// Deleting a group line of the current panel by its name.
#include <gtest/gtest.h>

#include "ModelSupport.h"

namespace {

using Names = std::vector<std::string>;

class GroupDeletion : public ModelTest {
protected:
    // Switchboard 1 with panels 10 and 11; panel 10 holds Гр1 (single), Гр2 (two-phase),
    // Гр3 (single), Гр4 (three-phase); panel 11 holds Гр5 (single). Panel 10 is current.
    void BuildProject() {
        AddSwitchboard(1, "К1");
        AddPanels(1, "10 11");
        AddGroupLine(10, "Гр1", 2, "к1");
        AddGroupLine(10, "Гр2", 3, "к2");
        AddGroupLine(10, "Гр3", 2, "к3");
        AddGroupLine(10, "Гр4", 4, "к4");
        AddGroupLine(11, "Гр5", 2, "к5");
        Panel(10)->RowsOfThree = 1;
        MakeCurrent(Switchboard(1), Panel(10));
    }
};

TEST_F(GroupDeletion, ASinglePhaseGroupLeavesTheOtherKinds) {
    BuildProject();
    editing.DeleteGroupByName("Гр1");
    const TSitid& p = *Panel(10);
    EXPECT_EQ(GroupNamesOf(p, 1), (Names{"Гр2", "Гр3", "Гр4"}));
    EXPECT_EQ(GroupNamesOf(p, 2), (Names{"Гр3"}));
    EXPECT_EQ(GroupNamesOf(p, 3), (Names{"Гр2"}));
    EXPECT_EQ(GroupNamesOf(p, 4), (Names{"Гр4"}));
    EXPECT_EQ(p.SchemeGroupCount, 3);
    EXPECT_EQ(p.SinglePhaseCount, 1);
    EXPECT_EQ(p.RowsOfThree, 1);
    EXPECT_EQ(lists.groupCountCopies, (std::array<int, 4>{3, 1, -1, -1}));
    EXPECT_EQ(p.SchemeGroups.Cursor, nullptr);
    EXPECT_EQ(p.SinglePhaseGroups.Cursor, nullptr);
    EXPECT_EQ(p.SinglePhaseGroups.Walker, nullptr);
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), Switchboard(1));
    EXPECT_EQ(ProjectRoot->CurrentPanel(), Panel(10));
    EXPECT_EQ(ChainProblems(), "");
}

TEST_F(GroupDeletion, TheLastSinglePhaseGroupClearsTheRows) {
    BuildProject();
    editing.DeleteGroupByName("Гр1");
    editing.DeleteGroupByName("Гр3");
    EXPECT_EQ(Panel(10)->SinglePhaseCount, 0);
    EXPECT_EQ(Panel(10)->RowsOfThree, 0);
    EXPECT_EQ(Panel(10)->SinglePhaseGroups.First, nullptr);
    EXPECT_EQ(Panel(10)->SinglePhaseGroups.Last, nullptr);
}

struct PlaceCase {
    const char* deleted;
    Names scheme;
};

TEST_F(GroupDeletion, FirstMiddleAndLastKeepTheOrder) {
    const std::vector<PlaceCase> cases = {
        {"Гр1", {"Гр2", "Гр3", "Гр4"}},
        {"Гр3", {"Гр1", "Гр2", "Гр4"}},
        {"Гр4", {"Гр1", "Гр2", "Гр3"}},
    };
    for (const auto& c : cases) {
        NewProject();
        BuildProject();
        editing.DeleteGroupByName(c.deleted);
        EXPECT_EQ(GroupNamesOf(*Panel(10), 1), c.scheme) << c.deleted;
        EXPECT_EQ(ChainProblems(), "") << c.deleted;
        // The whole project's names, and only the current panel's in the edit dialog.
        Names all = c.scheme;
        all.push_back("Гр5");
        EXPECT_EQ(lists.groupNames, all) << c.deleted;
        EXPECT_EQ(lists.editFirstList, c.scheme) << c.deleted;
        EXPECT_EQ(lists.editFirstSelected, 0) << c.deleted;
    }
}

TEST_F(GroupDeletion, TheOnlyGroupLeavesEmptyChains) {
    AddSwitchboard(1);
    AddPanels(1, "10");
    AddGroupLine(10, "Гр1", 3);
    MakeCurrent(Switchboard(1), Panel(10));
    editing.DeleteGroupByName("Гр1");
    const TSitid& p = *Panel(10);
    EXPECT_EQ(p.TwoPhaseGroups.First, nullptr);
    EXPECT_EQ(p.TwoPhaseGroups.Last, nullptr);
    EXPECT_EQ(p.TwoPhaseGroups.Cursor, nullptr);
    EXPECT_EQ(p.TwoPhaseGroups.Walker, nullptr);
    EXPECT_EQ(p.SchemeGroups.First, nullptr);
    EXPECT_EQ(p.SchemeGroups.Last, nullptr);
    EXPECT_TRUE(lists.editFirstList.empty());
    EXPECT_EQ(lists.editFirstSelected, -1);
    EXPECT_EQ(ChainProblems(), "");
}

TEST_F(GroupDeletion, NamesAreComparedExactly) {
    BuildProject();
    editing.DeleteGroupByName("гр1");
    EXPECT_EQ(GroupNamesOf(*Panel(10), 1), (Names{"Гр1", "Гр2", "Гр3", "Гр4"}));
    EXPECT_EQ(GroupNamesOf(*Panel(10), 2), (Names{"Гр1", "Гр3"}));
    EXPECT_EQ(lists.groupCountCopies, (std::array<int, 4>{-1, -1, -1, -1}));
}

TEST_F(GroupDeletion, TheListsAreRebuiltFromTheWholeProject) {
    BuildProject();
    editing.DeleteGroupByName("Гр2");
    EXPECT_EQ(lists.groupNames, (Names{"Гр1", "Гр3", "Гр4", "Гр5"}));
    EXPECT_EQ(lists.cableNames, (Names{"К1", "feeder10", "к1", "к3", "к4", "feeder11", "к5"}));
    EXPECT_EQ(lists.editFirstList, (Names{"Гр1", "Гр3", "Гр4"}));
}

// The computed values are reset before the caller recalculates; the entered ones stay, among
// them the supply short-circuit power of the root.
TEST_F(GroupDeletion, ResetsTheComputedValuesOfRootSwitchboardAndPanel) {
    BuildProject();
    ProjectRoot->SupplyScPower = 300.0;
    ProjectRoot->SectionBreakerType = "ВА-2";
    ProjectRoot->TotalCurrentA = 50.0;
    Switchboard(1)->SwitchboardCurrentB = 20.0;
    Switchboard(1)->SwitchboardLaying = "В земле";
    Panel(10)->OwnCurrentC = 7.0;
    Panel(10)->PanelCosPhiA = 0.8;
    Panel(10)->FeederLength = 35.0;
    Panel(11)->OwnCurrentC = 3.0;

    editing.DeleteGroupByName("Гр4");

    EXPECT_EQ(ProjectRoot->SupplyScPower, 300.0);
    EXPECT_EQ(ProjectRoot->SectionBreakerType, "ВА-2");
    EXPECT_EQ(ProjectRoot->TotalCurrentA, 0.0);
    EXPECT_EQ(Switchboard(1)->SwitchboardCurrentB, 0.0);
    EXPECT_EQ(Switchboard(1)->SwitchboardLaying, "В земле");
    EXPECT_EQ(Panel(10)->OwnCurrentC, 0.0);
    EXPECT_EQ(Panel(10)->PanelCosPhiA, 1.0);
    EXPECT_EQ(Panel(10)->FeederLength, 35.0);
    EXPECT_EQ(Panel(11)->OwnCurrentC, 3.0);
}

TEST_F(GroupDeletion, WithoutACurrentPanelNothingHappens) {
    BuildProject();
    Switchboard(1)->Panels.Cursor = nullptr;
    ProjectRoot->TotalCurrentA = 50.0;
    editing.DeleteGroupByName("Гр1");
    EXPECT_EQ(Panel(10)->SchemeGroupCount, 4);
    EXPECT_EQ(ProjectRoot->TotalCurrentA, 50.0);
}

}  // namespace
