// The order of panels that feed other panels of their switchboard (sub-panels): feeders first,
// each feeder's sub-panels together right behind it.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "TreeBuilder.h"
#include "TreeLookup.h"
#include "editing/EditDialog.h"

namespace {

struct RepairCase {
    const char* what;
    const char* chain;
    std::vector<int> repaired;
};

void PrintTo(const RepairCase& c, std::ostream* os) {
    *os << c.what;
}

class FeedRepairTest : public AppFixture {
protected:
    void TearDown() override {
        DeleteProjectTree(ProjectRoot);
        AppFixture::TearDown();
    }
};

class FeedRepair : public FeedRepairTest, public ::testing::WithParamInterface<RepairCase> {};

// Every panel has a group line named after it, which must stay with it.
TEST_P(FeedRepair, ExchangesPanelsUntilTheOrderHolds) {
    const RepairCase& c = GetParam();
    BuildSwitchboard(1, c.chain);
    for (int number : PanelOrder(1)) AddLoad(number, std::to_string(number) + ".1", 3.0);
    ProjectRoot->Switchboards.Cursor = SwitchboardNumbered(1);

    EXPECT_TRUE(Form3->RepairPanelFeeds());

    EXPECT_EQ(PanelOrder(1), c.repaired);
    for (TSitid* p = SwitchboardNumbered(1)->Panels.First; p; p = p->Panels.Next) {
        ASSERT_NE(p->SchemeGroups.First, nullptr);
        EXPECT_EQ(p->SchemeGroups.First->GroupName, std::to_string(p->PanelNumber) + ".1");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Chains, FeedRepair,
    ::testing::Values(RepairCase{"sub-panel before its feeder", "1 3/2 2+", {1, 2, 3}},
                      RepairCase{"plain panel between feeder and sub-panel", "2+ 4 3/2", {2, 3, 4}},
                      RepairCase{"sub-panels split by a plain panel", "2+ 5/2 7 6/2", {2, 5, 6, 7}},
                      RepairCase{"the other remedy mark", "2+ 4 3~2", {2, 3, 4}},
                      RepairCase{"sub-panels of cascade heads, any order", "3/1 2 1^+", {3, 2, 1}},
                      RepairCase{"no feeding panels", "4 2 3", {4, 2, 3}}));

using FeedRepairBound = FeedRepairTest;

// Two panels feeding each other: no order satisfies both, every round exchanges them. After the
// first check the repairs run panels x panels + 1 = 5 times, an odd number of exchanges.
TEST_F(FeedRepairBound, StopsAfterPanelsSquaredPlusOneRounds) {
    BuildSwitchboard(1, "1+/2 2+/1");
    ProjectRoot->Switchboards.Cursor = SwitchboardNumbered(1);

    EXPECT_FALSE(Form3->RepairPanelFeeds());
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{2, 1}));
}

TEST_F(FeedRepairBound, WithoutASwitchboardNothingIsChecked) {
    BuildSwitchboard(1, "1 3/2 2+");
    ProjectRoot->Switchboards.Cursor = nullptr;
    EXPECT_FALSE(Form3->CheckSiblingPanelsTogether());
    EXPECT_FALSE(Form3->CheckSubPanelsFollowFeeder());
    EXPECT_FALSE(Form3->CheckSubPanelsAfterFeeder());
    EXPECT_FALSE(Form3->RepairPanelFeeds());
    EXPECT_EQ(Form3->PanelIndexInSwitchboard(PanelNumbered(2)), 0);
    EXPECT_EQ(PanelOrder(1), (std::vector<int>{1, 3, 2}));
}

TEST_F(FeedRepairBound, PanelIndexIsThePlaceInTheChain) {
    BuildSwitchboard(1, "4 5 6");
    BuildSwitchboard(2, "7");
    TGrsed* sw = SwitchboardNumbered(1);
    ProjectRoot->Switchboards.Cursor = sw;
    EXPECT_EQ(Form3->PanelIndexInSwitchboard(PanelNumbered(6)), 2);
    EXPECT_EQ(sw->Panels.Cursor, PanelNumbered(6));
    // A panel of another switchboard is not found: the panel count.
    EXPECT_EQ(Form3->PanelIndexInSwitchboard(PanelNumbered(7)), 3);
}

}  // namespace
