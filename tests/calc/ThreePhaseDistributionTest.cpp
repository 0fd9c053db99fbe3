// Pass 3: the parts of three-phase lines placed greedily on the phases by load.
#include <gtest/gtest.h>

#include "CalcSupport.h"
#include "calc/Distribution.h"

namespace {

using ThreePhaseDistribution = CalcTest;

TEST(ThreePhaseRanking, PhasesByLoadAndPartsBySize) {
    using R = std::array<int, 3>;
    EXPECT_EQ(calc::RankPhasesByLoad(0, 0, 0), (R{0, 1, 2}));
    EXPECT_EQ(calc::RankPhasesByLoad(3, 2, 1.5), (R{2, 1, 0}));
    EXPECT_EQ(calc::RankPhasesByLoad(1, 1, 0.5), (R{2, 0, 1}));  // A before B on a tie
    EXPECT_EQ(calc::RankPhasesByLoad(2, 1, 1), (R{1, 2, 0}));    // C is least only strictly
    EXPECT_EQ(calc::RankPhasesByLoad(1, 2, 1), (R{0, 2, 1}));
    EXPECT_EQ(calc::RankPhasesByLoad(1, 3, 2), (R{0, 2, 1}));
    EXPECT_EQ(calc::RankPartsBySize(1, 1, 1), (R{2, 0, 1}));  // c wins, then a before b
    EXPECT_EQ(calc::RankPartsBySize(2, 0.5, 1), (R{0, 2, 1}));
    EXPECT_EQ(calc::RankPartsBySize(0.25, 0.75, 0.75), (R{2, 1, 0}));
    EXPECT_EQ(calc::RankPartsBySize(3, 3, 1), (R{0, 1, 2}));
    EXPECT_EQ(calc::RankPartsBySize(1, 3, 3), (R{2, 1, 0}));
    EXPECT_EQ(calc::RankPartsBySize(3, 1, 3), (R{2, 0, 1}));
}

// Three lines, parts (a, b, c):
//   (1, 1, 1) on sums 0/0/0: c, a, b on A, B, C -> 1/1/1
//   (2, 0.5, 1) on 1/1/1: a, c, b on A, B, C -> 3/2/1.5
//   (0.25, 0.75, 0.75) on 3/2/1.5: phases C, B, A take c, b, a -> 3.25/2.75/2.25
TEST_F(ThreePhaseDistribution, TheWorkedExample) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddThree(1, "h1", {1, 1, 1}, {0.8, 0.6, 1.0});
    AddThree(1, "h2", {2, 0.5L, 1}, {0.9, 0.8, 1.0});
    AddThree(1, "h3", {0.25L, 0.75L, 0.75L}, {1.0, 0.85, 0.95});
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups3();
    const TSitid& panel = *Panel(1);
    EXPECT_EQ(panel.ThreePhasePowerA, 3.25L);
    EXPECT_EQ(panel.ThreePhasePowerB, 2.75L);
    EXPECT_EQ(panel.ThreePhasePowerC, 2.25L);

    struct Expected {
        int phase;
        int group;
        long double power;
        double cosPhi;
        double current;  // PhaseCurrent(power, cos phi)
    };
    const std::vector<Expected> records = {
        {0, 0, 1, 1.0, 4.56},       // c of h1
        {1, 0, 1, 0.8, 5.70},       // a of h1: 1000 / 175.5145 = 5.697
        {2, 0, 1, 0.6, 7.60},       // b of h1: 1000 / 131.6359 = 7.597
        {0, 1, 2, 0.9, 10.13},      // a of h2: 2000 / 197.4538 = 10.129
        {1, 1, 1, 1.0, 4.56},       // c of h2
        {2, 1, 0.5L, 0.8, 2.85},    // b of h2: 500 / 175.5145 = 2.849
        {0, 2, 0.25L, 1.0, 1.14},   // a of h3: 250 / 219.3931 = 1.1395
        {1, 2, 0.75L, 0.85, 4.02},  // b of h3: 750 / 186.4841 = 4.0218
        {2, 2, 0.75L, 0.95, 3.60},  // c of h3: 750 / 208.4234 = 3.5985
    };
    const double TFasaGrup3dFields::*current[3] = {&TFasaGrup3dFields::CurrentA3,
                                                   &TFasaGrup3dFields::CurrentB3,
                                                   &TFasaGrup3dFields::CurrentC3};
    for (const Expected& e : records) {
        const auto chain = ThreeRecords(panel, e.phase);
        ASSERT_EQ(chain.size(), 3u);
        const TFasaGrup3d& r = *chain[e.group];
        EXPECT_EQ(r.Power3, e.power) << e.phase << "/" << e.group;
        EXPECT_EQ(r.CosPhi3, e.cosPhi) << e.phase << "/" << e.group;
        EXPECT_EQ(r.*current[e.phase], Hundredths(e.current)) << e.phase << "/" << e.group;
        EXPECT_EQ(r.PhaseNumber, e.phase + 1);
        EXPECT_EQ(r.GroupName3, "h" + std::to_string(e.group + 1));
    }
    EXPECT_EQ(panel.ThreePhaseGroups.Cursor, panel.ThreePhaseGroups.First);
}

// Balanced lines keep the sums equal whatever their order; a part keeps its full extended power.
TEST_F(ThreePhaseDistribution, BalancedLinesStayBalanced) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    const long double third = 10.0L / 3.0L;
    AddThree(1, "h1", {third, third, third});
    AddThree(1, "h2", {2, 2, 2});
    AddThree(1, "h3", {third, third, third});
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups3();
    const TSitid& panel = *Panel(1);
    EXPECT_EQ(panel.ThreePhasePowerA, panel.ThreePhasePowerB);
    EXPECT_EQ(panel.ThreePhasePowerB, panel.ThreePhasePowerC);
    EXPECT_EQ(ThreeRecords(panel, 0)[0]->Power3, third);
}

TEST_F(ThreePhaseDistribution, CountAndChainOutOfStep) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddThree(1, "h1", {1, 2, 3});
    AddThree(1, "h2", {3, 2, 1});
    TSitid& panel = *Panel(1);
    MakeCurrent(1);

    // Fewer records than counted: the missing line gets three zero records.
    panel.ThreePhaseCount = 3;
    ProjectRoot->CalcFasaGroups3();
    for (int phase = 0; phase < 3; ++phase) {
        const auto chain = ThreeRecords(panel, phase);
        ASSERT_EQ(chain.size(), 3u);
        EXPECT_EQ(chain[2]->Power3, 0.0L);
        EXPECT_EQ(chain[2]->PhaseNumber, phase + 1);
    }
    // h1 (1, 2, 3): c, b, a on A, B, C -> 3/2/1; h2 (3, 2, 1) on 3/2/1: C, B, A take a, b, c.
    EXPECT_EQ(panel.ThreePhasePowerA, 4.0L);
    EXPECT_EQ(panel.ThreePhasePowerB, 4.0L);
    EXPECT_EQ(panel.ThreePhasePowerC, 4.0L);

    // More records than counted: only the first is placed.
    panel.ThreePhaseCount = 1;
    ProjectRoot->CalcFasaGroups3();
    EXPECT_EQ(ThreeRecords(panel, 0).size(), 1u);
    EXPECT_EQ(panel.ThreePhasePowerA, 3.0L);
    EXPECT_EQ(panel.ThreePhasePowerC, 1.0L);

    // None: zero loads and empty chains.
    panel.ThreePhaseCount = 0;
    ProjectRoot->CalcFasaGroups3();
    EXPECT_EQ(panel.ThreePhasePowerA, 0.0L);
    for (int phase = 0; phase < 3; ++phase)
        EXPECT_EQ(panel.ThreePhaseByPhase[phase].First, nullptr);
}

TEST_F(ThreePhaseDistribution, ZeroCosPhiAndSmallParts) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddThree(1, "h1", {2, 0.005L, 1}, {0.0, 1.0, 1.0});
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups3();
    const TSitid& panel = *Panel(1);
    // a on A at cos phi 0: no current; b (0.005 kW) on C: 5 / 219.3931, not rounded.
    EXPECT_EQ(ThreeRecords(panel, 0)[0]->CurrentA3, 0.0);
    EXPECT_NEAR(ThreeRecords(panel, 2)[0]->CurrentC3, 0.022790142204853647, 1e-15);
    EXPECT_EQ(panel.ThreePhasePowerA, 2.0L);
}

TEST_F(ThreePhaseDistribution, WithoutACurrentPanelNothingChanges) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddThree(1, "h1", {1, 1, 1});
    ProjectRoot->Switchboards.Cursor = nullptr;
    ProjectRoot->CalcFasaGroups3();
    EXPECT_EQ(Panel(1)->ThreePhaseByPhase[0].First, nullptr);
    EXPECT_EQ(Panel(1)->ThreePhasePowerA, 0.0L);
}

}  // namespace
