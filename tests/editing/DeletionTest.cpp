// "Удалить" of the edit window: a group line, a panel, a main switchboard.
#include <gtest/gtest.h>

#include <algorithm>

#include "EditFixture.h"
#include "TreeImage.h"
#include "TreeLookup.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "groups/Dan12.h"

namespace {

using Deletion = EditTest;

struct DemandCase {
    std::vector<double> loads;
    double demandAfter;
};

class GroupDeletion : public EditTest, public ::testing::WithParamInterface<DemandCase> {};

// A demand factor below 1 needs three group lines: with two left it becomes 1.
TEST_P(GroupDeletion, DemandFactorFollowsTheGroupsLeft) {
    BuildSwitchboard(1, "1 2");
    AddLoads(1, GetParam().loads);
    AddLoads(2, {5});
    PanelNumbered(1)->DemandFactor = 0.8;
    Refresh();
    Form1->ProjectSaved = 1;

    OpenGroups();
    ChooseLeft("1");
    ChooseRight("Г2-1");
    Delete();

    std::vector<std::string> left = GroupsOf(1);
    EXPECT_EQ(left.size(), GetParam().loads.size() - 1);
    EXPECT_EQ(std::count(left.begin(), left.end(), "Г2-1"), 0);
    EXPECT_EQ(PanelNumbered(1)->DemandFactor, GetParam().demandAfter);
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_EQ(Form3->GroupEditMode + Form3->PanelEditMode + Form3->SwitchboardEditMode, 0);
}

INSTANTIATE_TEST_SUITE_P(Loads, GroupDeletion,
                         ::testing::Values(DemandCase{{10, 10, 10}, 1.0},
                                           DemandCase{{10, 10, 10, 10}, 0.8}));

}  // namespace

namespace {

// Panels hanging on another panel (made by the new-panel remedy) are not offered on their own.
TEST_F(Deletion, PanelsHangingOnAnotherAreNotListed) {
    BuildSwitchboard(1, "1 3+ 7/3 4");
    LoadEveryPanel();
    Refresh();
    OpenPanels();
    ChooseLeft("1");
    EXPECT_EQ(Items(*Form3->ComboBox3), (std::vector<std::string>{"1", "3", "4"}));
    EXPECT_EQ(Form3->ComboBox3->currentIndex(), -1);
    Click(Form3->Button4);
    EXPECT_FALSE(Form3->isVisible());
}

struct PanelCase {
    std::string panels;
    std::string deleted;
    std::vector<int> left;
};

class PanelDeletion : public EditTest, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(PanelDeletion, ThePanelGoesWithThePanelsHangingOnIt) {
    BuildSwitchboard(1, GetParam().panels);
    AddLoads(1, {10, 5});
    LoadEveryPanel();
    Refresh();
    Form1->ProjectSaved = 1;

    OpenPanels();
    ChooseLeft("1");
    ChooseRight(GetParam().deleted);
    Delete();

    EXPECT_EQ(PanelOrder(1), GetParam().left);
    int position = 0;
    for (int number : GetParam().left) EXPECT_EQ(PanelNumbered(number)->Position, ++position);
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_TRUE(Form1->ToolButton4->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Panels, PanelDeletion,
    ::testing::Values(PanelCase{"1 2 3", "2", {1, 3}},
                      // Panel 7 hangs on panel 3; panel 5 hangs on nothing and stays.
                      PanelCase{"1 3+ 7/3 5 8~3", "3", {1, 5}},
                      // Without the mark of a feeding panel, a panel hanging on it stays.
                      PanelCase{"1 3 7/3", "3", {1, 7}}));

// A panel that leaves its trunk keeps nothing of it. Trunk 1 -> 2 (15 kW and 12 kW) with the
// plain panel 3 (9 kW) beside it: deleting member 2 leaves head 1 plain, deleting head 1 leaves
// member 2 plain. The panel left carries its own load alone, as a radial panel of the same
// entries does: no place in a trunk, no trunk length, no load or current carried through it. The
// tree is what the program holds after saving the project and opening it again.
struct TrunkCase {
    const char* what;
    std::string deleted;
    int left;
};

void PrintTo(const TrunkCase& c, std::ostream* os) {
    *os << c.what;
}

class TrunkPanelDeletion : public EditTest, public ::testing::WithParamInterface<TrunkCase> {};

TEST_P(TrunkPanelDeletion, LeavesAPlainPanel) {
    BuildSwitchboard(1, "1^ 2<1@1 3");
    // The member's route from the switchboard, as the connection writes it.
    PanelNumbered(2)->CascadeLength = 10;
    AddLoads(1, {15});
    AddLoads(2, {12});
    AddLoads(3, {9});
    for (int n : {1, 2, 3}) PanelNumbered(n)->FeederCableName = "КЩ" + std::to_string(n);
    Refresh();
    SaveAndOpenAgain();
    // The head carries 15 + 12 kW, the member is second in the trunk.
    EXPECT_NEAR(PanelNumbered(1)->CascadePower, 27.0, 1e-9);
    EXPECT_EQ(PanelNumbered(2)->CascadeSequence, 2);

    OpenPanels();
    ChooseLeft("1");
    ChooseRight(GetParam().deleted);
    Delete();

    const TSitid& p = *PanelNumbered(GetParam().left);
    EXPECT_EQ(p.FedFromSwitchboard + p.FedFromPanel, 0);
    EXPECT_EQ(p.FeedingPanelNumber, 0);
    EXPECT_EQ(p.CascadeHeadNumber, 0);
    EXPECT_EQ(p.CascadeSequence, 0);
    EXPECT_EQ(p.CascadeEnd, 0);
    EXPECT_EQ(p.CascadeLength, 0.0);
    EXPECT_EQ(p.FeederLength, 10.0);
    EXPECT_EQ(p.CascadePower, 0.0);
    EXPECT_EQ(p.CascadeDesignCurrent, 0.0);
    EXPECT_EQ(p.CascadeNeutralCurrent, 0.0);
    for (double current : {p.CascadeCurrentA, p.CascadeCurrentB, p.CascadeCurrentC})
        EXPECT_EQ(current, 0.0);
    for (long double power : {p.CascadePowerA, p.CascadePowerB, p.CascadePowerC})
        EXPECT_EQ(power, 0.0L);
    const TreeImage after = ReopeningImage(*ProjectRoot);
    SaveAndOpenAgain();
    const std::string differences = ReopeningDifferences(after, ReopeningImage(*ProjectRoot));
    EXPECT_TRUE(differences.empty()) << differences;
}

INSTANTIATE_TEST_SUITE_P(Trunks, TrunkPanelDeletion,
                         ::testing::Values(TrunkCase{"its only member", "2", 1},
                                           TrunkCase{"the head of one member", "1", 2}));

TEST_F(Deletion, TheOnlySwitchboardLeavesAnEmptyProject) {
    BuildSwitchboard(1, "1 2");
    AddLoads(2, {10});
    Refresh();

    OpenSwitchboards();
    EXPECT_TRUE(Form3->ComboBox3->isHidden());
    ChooseLeft("1");
    Delete();

    EXPECT_EQ(ProjectRoot->Switchboards.First, nullptr);
    EXPECT_EQ(ProjectRoot->SwitchboardCount, 0);
    EXPECT_EQ(Form1->ProjectSaved, 0);
}

// A choice that no longer names an element of the tree deletes nothing.
TEST_F(Deletion, AGroupNoLongerInTheTreeDeletesNothing) {
    BuildSwitchboard(1, "1");
    AddLoads(1, {10, 5});
    Refresh();
    Form1->ProjectSaved = 1;
    OpenGroups();
    ChooseLeft("1");
    ChooseRight("Г1-1");
    // Renamed behind the open window.
    PanelNumbered(1)->SchemeGroups.First->GroupName = "Другая";
    Dan1->GroupNames = {"Другая", "Г2-1"};
    Delete();
    EXPECT_EQ(GroupsOf(1), (std::vector<std::string>{"Другая", "Г2-1"}));
    EXPECT_EQ(Form1->ProjectSaved, 1);
}

}  // namespace
