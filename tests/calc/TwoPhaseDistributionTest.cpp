// Pass 2: two-phase lines placed in chain order on the least loaded phases.
#include <gtest/gtest.h>

#include "CalcSupport.h"
#include "calc/Distribution.h"

namespace {

using TwoPhaseDistribution = CalcTest;

struct PlacementCase {
    double sa, sb, sc;
    int larger, smaller, free;  // 0 A, 1 B, 2 C
};

// Every ordering of the running loads: the least loaded phase takes the larger part, the most
// loaded one stays free, ties as the placement table settles them.
TEST(TwoPhasePlacementRules, EveryOrderingOfTheLoads) {
    const std::vector<PlacementCase> cases = {
        {1, 2, 3, 0, 1, 2}, {1, 3, 2, 0, 2, 1}, {1, 2, 2, 0, 2, 1}, {2, 1, 3, 1, 0, 2},
        {3, 1, 2, 1, 2, 0}, {2, 1, 2, 1, 2, 0}, {2, 3, 1, 2, 0, 1}, {3, 2, 1, 2, 1, 0},
        {2, 2, 1, 2, 1, 0}, {2, 1, 1, 1, 2, 0}, {1, 2, 1, 2, 0, 1}, {1, 1, 2, 0, 1, 2},
        {1, 1, 1, 0, 1, 2},
    };
    for (const PlacementCase& c : cases) {
        const calc::TwoPhasePlacement place = calc::PlaceTwoPhaseLine(c.sa, c.sb, c.sc);
        EXPECT_EQ(place.larger, c.larger) << c.sa << " " << c.sb << " " << c.sc;
        EXPECT_EQ(place.smaller, c.smaller) << c.sa << " " << c.sb << " " << c.sc;
        EXPECT_EQ(place.free, c.free) << c.sa << " " << c.sb << " " << c.sc;
    }
}

// Three lines: (3, 2) on A and B; (1, 4) with C least loaded: 4 on C, 1 on B (A < B does not
// hold, 3 against 2); (1, 1) with A = B < C: on A and B. Loads 3/2/0, 3/3/4, 4/4/4.
TEST_F(TwoPhaseDistribution, PlacesTheLinesInChainOrder) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddTwo(1, "t1", 3, 2, 0.8, 0.7);
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups2();
    TSitid& panel = *Panel(1);
    EXPECT_EQ(panel.TwoPhasePowerA, 3.0L);
    EXPECT_EQ(panel.TwoPhasePowerB, 2.0L);
    EXPECT_EQ(panel.TwoPhasePowerC, 0.0L);

    AddTwo(1, "t2", 1, 4, 0.6, 1.0);
    AddTwo(1, "t3", 1, 1, 0.9, 0.7);
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups2();
    EXPECT_EQ(panel.TwoPhasePowerA, 4.0L);
    EXPECT_EQ(panel.TwoPhasePowerB, 4.0L);
    EXPECT_EQ(panel.TwoPhasePowerC, 4.0L);

    const auto a = TwoRecords(panel, 0);
    const auto b = TwoRecords(panel, 1);
    const auto c = TwoRecords(panel, 2);
    ASSERT_EQ(a.size(), 3u);
    ASSERT_EQ(b.size(), 3u);
    ASSERT_EQ(c.size(), 3u);

    // t1: A 3 kW at 0.8 (3000 / 175.5145 = 17.09), B 2 kW at 0.7 (2000 / 153.5752 = 13.02),
    // C free.
    EXPECT_EQ(a[0]->Power2, 3.0L);
    EXPECT_EQ(a[0]->CosPhi2, 0.8);
    EXPECT_EQ(a[0]->CurrentA, Hundredths(17.09));
    EXPECT_EQ(a[0]->PhaseUsed, 1);
    EXPECT_EQ(a[0]->GroupName2, "t1");
    EXPECT_EQ(b[0]->Power2, 2.0L);
    EXPECT_EQ(b[0]->CosPhi2, 0.7);
    EXPECT_EQ(b[0]->CurrentB, Hundredths(13.02));
    EXPECT_EQ(c[0]->PhaseUsed, 0);
    EXPECT_EQ(c[0]->Power2, 0.0L);
    EXPECT_EQ(c[0]->CosPhi2, 1.0);
    EXPECT_EQ(c[0]->CurrentC, 0.0);
    EXPECT_EQ(c[0]->GroupName2, "");

    // t2: C 4 kW at 1.0 (18.23), B 1 kW at 0.6 (1000 / 131.6359 = 7.597 -> 7.60), A free.
    EXPECT_EQ(c[1]->Power2, 4.0L);
    EXPECT_EQ(c[1]->CurrentC, Hundredths(18.23));
    EXPECT_EQ(b[1]->Power2, 1.0L);
    EXPECT_EQ(b[1]->CosPhi2, 0.6);
    EXPECT_EQ(b[1]->CurrentB, Hundredths(7.60));
    EXPECT_EQ(a[1]->PhaseUsed, 0);

    // t3: equal parts; each phase keeps its own part's cos phi: A takes part 1 (0.7,
    // 1000 / 153.5752 = 6.51), B part 0 (0.9, 1000 / 197.4538 = 5.06).
    EXPECT_EQ(a[2]->CosPhi2, 0.7);
    EXPECT_EQ(a[2]->CurrentA, Hundredths(6.51));
    EXPECT_EQ(b[2]->CosPhi2, 0.9);
    EXPECT_EQ(b[2]->CurrentB, Hundredths(5.06));
    EXPECT_EQ(c[2]->PhaseUsed, 0);

    // The group records stay as they were; the group chain's cursor is on its first record.
    EXPECT_EQ(panel.TwoPhaseGroups.Cursor, panel.TwoPhaseGroups.First);
    EXPECT_EQ(panel.TwoPhaseGroups.First->CurrentA, 0.0);
    EXPECT_EQ(panel.TwoPhaseGroups.First->PhaseUsed, 0);
}

TEST_F(TwoPhaseDistribution, ZeroCosPhiAndSmallParts) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddTwo(1, "t1", 2, 0.004L, 0.0, 0.5);
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups2();
    const TSitid& panel = *Panel(1);
    // A part at cos phi 0 counts in the load but carries no current.
    EXPECT_EQ(panel.TwoPhasePowerA, 2.0L);
    EXPECT_EQ(TwoRecords(panel, 0)[0]->CurrentA, 0.0);
    // 4 / (219.3931 * 0.5) = 0.036464..., not rounded.
    EXPECT_NEAR(TwoRecords(panel, 1)[0]->CurrentB, 0.03646422752776584, 1e-15);
    EXPECT_EQ(panel.TwoPhasePowerB, static_cast<long double>(0.004));
}

TEST_F(TwoPhaseDistribution, NoLinesClearsLoadsAndChains) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddTwo(1, "t1", 3, 2);
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups2();
    TSitid& panel = *Panel(1);
    ASSERT_NE(panel.TwoPhaseByPhase[0].First, nullptr);
    panel.TwoPhaseCount = 0;
    ProjectRoot->CalcFasaGroups2();
    EXPECT_EQ(panel.TwoPhasePowerA, 0.0L);
    EXPECT_EQ(panel.TwoPhasePowerB, 0.0L);
    for (int phase = 0; phase < 3; ++phase) EXPECT_EQ(panel.TwoPhaseByPhase[phase].First, nullptr);
}

// The same lines in another order are placed differently: (1, 1) first goes to A and B, then
// (3, 2) puts 3 on C and 2 on B (A < B does not hold): 1/3/3, where the other order gives
// 3/3/1.
TEST_F(TwoPhaseDistribution, ChainOrderDecides) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddTwo(1, "t1", 1, 1);
    AddTwo(1, "t2", 3, 2);
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups2();
    const TSitid& panel = *Panel(1);
    EXPECT_EQ(panel.TwoPhasePowerA, 1.0L);
    EXPECT_EQ(panel.TwoPhasePowerB, 3.0L);
    EXPECT_EQ(panel.TwoPhasePowerC, 3.0L);
}

}  // namespace
