// Pass 1: single-phase lines in rows of three, ordered, balanced and listed phase by phase.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "CalcSupport.h"
#include "calc/Distribution.h"

namespace {

using SinglePhaseDistribution = CalcTest;

struct DistributionCase {
    const char* what;
    std::vector<long double> powers;  // lines g1, g2, ... in chain order
    const char* chainA;               // group names, "-" for a blank cell
    const char* chainB;
    const char* chainC;
    double loadA, loadB, loadC;
};

TEST_F(SinglePhaseDistribution, PlacesTheLinesAsTheProcedureDoes) {
    const std::vector<DistributionCase> cases = {
        {"one line", {6}, "g1", "-", "-", 6, 0, 0},
        // One row ordered 3, 2, 1; sums 3/2/1 and target 2: no exchange can help.
        {"three lines", {1, 2, 3}, "g3", "g2", "g1", 3, 2, 1},
        // Rows [g1 g2 g3] [g4 g5 g6] [g7 - -], sums 6/3/3, target 4. Pass (B,C) exchanges g5
        // (B, row 1) with g3 (C, row 0); pass (C,A) exchanges g5 (now C, row 0) with g7 (A,
        // row 2).
        {"seven lines", {2, 2, 2, 1, 1, 1, 3}, "g1 g4 g5", "g2 g3 -", "g7 g6 -", 4, 4, 4},
        // Rows [g1 g2 g3] = 6 1 1 and [g4 g5 g6] = 1 1 2, sums 7/2/3, target 4. Pass (B,C) at
        // goal 3 exchanges g2 with g6; pass (C,B) at goal 3 exchanges g3 with g6.
        {"six lines, target missed", {6, 1, 1, 1, 1, 2}, "g1 g4", "g3 g5", "g6 g2", 7, 2, 3},
        // One row 1.5 1.5 -, target 1. Pass (C,A): need 1 for row 0 meets the whole kilowatt of
        // g1, which leaves for C; the blank comes to A.
        {"two lines of 1.5", {1.5L, 1.5L}, "-", "g2", "g1", 0, 1.5, 1.5},
        // Rows [1.5 1.5 1.5] and [- - 1.5]; needs 2 and 0.5 find no partner.
        {"four lines of 1.5", {1.5L, 1.5L, 1.5L, 1.5L}, "g1 -", "g2 -", "g3 g4", 1.5, 1.5, 3},
        // Rows [60 30 15] and [2 3 200], target 103.33. (A,B) exchanges g4 with g2 at goal 90
        // (k 13); (B,C) g4 with g3 at goal 18 (k 85); (B,A) g5 with g1 at goal 75 (k 28). The
        // steps before those goals change nothing.
        {"exchanges at far goals", {60, 30, 15, 2, 3, 200}, "g5 g2", "g3 g1", "g4 g6", 33, 75, 202},
        // Rows [g2 g3 g1] = 6 4.5 1.5 and [- g5 g4] = 0 7.5 8, sums 6/12/9.5, target 9.17. Pass
        // (A,B) takes B's powers as they are: neither 4.5 nor 7.5 meets the needs 9, 3, 8, 2, 7, 1
        // (truncated, 7.5 would meet 7 and the passes would end at 8/10.5/9). The first whole
        // power to meet a need comes in pass (A,C) at goal 8: row 0's need 8 meets g4 (8), g2 and
        // g4 change places, 8/12/7.5; nothing else applies.
        {"halves, first pass", {1.5L, 6, 4.5L, 8, 7.5L}, "g4 -", "g3 g5", "g1 g2", 8, 12, 7.5},
    };
    for (const DistributionCase& c : cases) {
        NewProject();
        AddSwitchboard(1);
        AddPanel(1, "1");
        for (std::size_t i = 0; i < c.powers.size(); ++i)
            AddSingle(1, "g" + std::to_string(i + 1), c.powers[i]);
        MakeCurrent(1);
        ProjectRoot->CalcFasaGroups1();

        const TSitid& panel = *Panel(1);
        EXPECT_EQ(Join(SingleChain(panel, 0)), c.chainA) << c.what;
        EXPECT_EQ(Join(SingleChain(panel, 1)), c.chainB) << c.what;
        EXPECT_EQ(Join(SingleChain(panel, 2)), c.chainC) << c.what;
        EXPECT_EQ(panel.SinglePhasePowerA, c.loadA) << c.what;
        EXPECT_EQ(panel.SinglePhasePowerB, c.loadB) << c.what;
        EXPECT_EQ(panel.SinglePhasePowerC, c.loadC) << c.what;
        EXPECT_EQ(panel.RowsOfThree, static_cast<int>((c.powers.size() + 2) / 3)) << c.what;
    }
}

// One row 4 / 3 / 0.005, target 2.335: no need meets a whole kilowatt, nothing is exchanged.
TEST_F(SinglePhaseDistribution, EachCellGetsTheCurrentOfItsPhase) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddSingle(1, "g1", 4, 0.9);    // A: 4000 / (219.3931 * 0.9) = 20.258 -> 20.26
    AddSingle(1, "g2", 3, 0.8);    // B: 3000 / (219.3931 * 0.8) = 17.092 -> 17.09
    AddSingle(1, "g3", 0.005, 1);  // C: 5 / 219.3931 = 0.0227901..., not rounded
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups1();
    const TSitid& panel = *Panel(1);
    ASSERT_EQ(Join(SingleChain(panel, 0)), "g1");
    ASSERT_EQ(Join(SingleChain(panel, 1)), "g2");
    ASSERT_EQ(Join(SingleChain(panel, 2)), "g3");

    const TFasaGrup1d& a = *SingleRecords(panel, 0)[0];
    const TFasaGrup1d& b = *SingleRecords(panel, 1)[0];
    const TFasaGrup1d& c = *SingleRecords(panel, 2)[0];
    EXPECT_EQ(a.PhaseCurrentA1, Hundredths(20.26));
    EXPECT_EQ(b.PhaseCurrentB1, Hundredths(17.09));
    EXPECT_NEAR(c.PhaseCurrentC1, 0.022790142204853647, 1e-15);
    // The other phases' fields keep the record's values.
    EXPECT_EQ(a.PhaseCurrentB1, 0.0);
    EXPECT_EQ(c.PhaseCurrentA1, 0.0);
    EXPECT_EQ(panel.SinglePhasePowerC, static_cast<long double>(0.005));
    // Result records copy the single-phase part only.
    EXPECT_EQ(a.GroupName, TCxemaGrupdFields{}.GroupName);
}

// Rows [g1 g2 g3] = 4 2 0.005 and [- - g4] = 0 0 1 after ordering, sums 4 / 2 / 1.005, target
// 2.335. (C,A) at goal 1: the need of row 0 is 1 - 1 = 0, met by the blank of A in row 1: g3 goes
// to A. (C,B) at goal 2: the need of row 1 is 2 - 0 = 2, met by g2: g4 and g2 change places.
// The currents are those of the final phases.
TEST_F(SinglePhaseDistribution, CurrentsFollowTheFinalPhase) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddSingle(1, "g1", 4, 0.9);
    AddSingle(1, "g2", 2, 1.0);
    AddSingle(1, "g3", 0.005, 1.0);
    AddSingle(1, "g4", 1, 0.8);
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups1();
    const TSitid& panel = *Panel(1);
    ASSERT_EQ(Join(SingleChain(panel, 0)), "g1 g3");
    ASSERT_EQ(Join(SingleChain(panel, 1)), "g4 -");
    ASSERT_EQ(Join(SingleChain(panel, 2)), "- g2");
    EXPECT_EQ(panel.SinglePhasePowerA, static_cast<long double>(4.005));
    EXPECT_EQ(panel.SinglePhasePowerB, 1.0L);
    EXPECT_EQ(panel.SinglePhasePowerC, 2.0L);

    const auto a = SingleRecords(panel, 0);
    const auto b = SingleRecords(panel, 1);
    const auto c = SingleRecords(panel, 2);
    EXPECT_NEAR(a[1]->PhaseCurrentA1, 0.022790142204853647, 1e-15);  // g3 on A
    EXPECT_EQ(b[0]->PhaseCurrentB1, Hundredths(5.70));               // g4: 1000 / 175.5145 = 5.697
    EXPECT_EQ(c[1]->PhaseCurrentC1, Hundredths(9.12));               // g2: 2000 / 219.3931 = 9.116
    EXPECT_EQ(c[1]->PhaseCurrentB1, 0.0);
    EXPECT_EQ(c[0]->PhaseCurrentC1, 0.0);  // blank
    EXPECT_EQ(c[0]->Power1, 0.0L);
    EXPECT_EQ(c[0]->CosPhi1, 1.0);
}

TEST_F(SinglePhaseDistribution, ChainCursorsAndWalkersAfterTheRebuild) {
    AddSwitchboard(1);
    AddPanels(1, "1 2");
    AddSingle(2, "g1", 1);
    AddSingle(2, "g2", 2);
    MakeCurrent(2);
    ProjectRoot->Switchboards.Walker = nullptr;
    ProjectRoot->CalcFasaGroups1();
    const TSitid& panel = *Panel(2);
    for (int phase = 0; phase < 3; ++phase) {
        EXPECT_EQ(panel.SinglePhaseByPhase[phase].Cursor, panel.SinglePhaseByPhase[phase].First);
        EXPECT_EQ(panel.SinglePhaseByPhase[phase].Walker, panel.SinglePhaseByPhase[phase].Last);
    }
    // Every record was used.
    EXPECT_EQ(panel.SinglePhaseGroups.Cursor, nullptr);
    EXPECT_EQ(ProjectRoot->Switchboards.Walker, Switchboard(1));
    EXPECT_EQ(Switchboard(1)->Panels.Walker, Panel(2));
}

TEST_F(SinglePhaseDistribution, NoLinesLeftClearsLoadsAndChains) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddSingle(1, "g1", 2);
    AddSingle(1, "g2", 3);
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups1();
    TSitid& panel = *Panel(1);
    ASSERT_EQ(panel.RowsOfThree, 1);
    panel.SinglePhaseCount = 0;
    ProjectRoot->CalcFasaGroups1();
    EXPECT_EQ(panel.RowsOfThree, 0);
    EXPECT_EQ(panel.SinglePhasePowerA, 0.0L);
    EXPECT_EQ(panel.SinglePhasePowerB, 0.0L);
    EXPECT_EQ(panel.SinglePhasePowerC, 0.0L);
    for (int phase = 0; phase < 3; ++phase) {
        EXPECT_EQ(panel.SinglePhaseByPhase[phase].First, nullptr);
        EXPECT_EQ(panel.SinglePhaseByPhase[phase].Cursor, nullptr);
    }
}

TEST_F(SinglePhaseDistribution, MoreCountedThanChainedGivesBlankCells) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddSingle(1, "g1", 2);
    AddSingle(1, "g2", 1);
    TSitid& panel = *Panel(1);
    panel.SinglePhaseCount = 4;  // two rows, the second one blank
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups1();
    EXPECT_EQ(panel.RowsOfThree, 2);
    EXPECT_EQ(Join(SingleChain(panel, 0)), "g1 -");
    EXPECT_EQ(Join(SingleChain(panel, 1)), "g2 -");
    EXPECT_EQ(Join(SingleChain(panel, 2)), "- -");
}

TEST_F(SinglePhaseDistribution, AnEmptyChainWithACountKeepsTheResults) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    TSitid& panel = *Panel(1);
    panel.SinglePhaseCount = 2;
    panel.SinglePhasePowerA = 7;
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups1();
    EXPECT_EQ(panel.SinglePhasePowerA, 7.0L);
    EXPECT_EQ(panel.SinglePhaseByPhase[0].First, nullptr);
}

TEST_F(SinglePhaseDistribution, WithoutACurrentPanelNothingChanges) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    AddSingle(1, "g1", 2);
    ProjectRoot->Switchboards.Cursor = Switchboard(1);
    Switchboard(1)->Panels.Cursor = nullptr;
    ProjectRoot->CalcFasaGroups1();
    ProjectRoot->Switchboards.Cursor = nullptr;
    ProjectRoot->CalcFasaGroups1();
    EXPECT_EQ(Panel(1)->RowsOfThree, 0);
    EXPECT_EQ(Panel(1)->SinglePhaseByPhase[0].First, nullptr);
}

// Powers far beyond any real panel must not keep the balancing loop running: the loop steps
// are bounded, and a step that cannot exchange anything is skipped.
TEST_F(SinglePhaseDistribution, AbsurdPowersEndTheBalancing) {
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    struct Case {
        const char* what;
        std::vector<long double> powers;
    };
    const std::vector<Case> cases = {
        {"a huge line beside small ones", {1e15L, 1, 2, 3, 4}},
        {"huge lines", {3e300L, 1e300L, 2e300L, 5e299L}},
        {"an infinite line", {inf, 1, 2}},
        {"a line that is not a number", {nan, 1, 2}},
        {"a negative line", {-1e12L, 5, 2, 1}},
    };
    for (const Case& c : cases) {
        NewProject();
        AddSwitchboard(1);
        AddPanel(1, "1");
        for (std::size_t i = 0; i < c.powers.size(); ++i)
            AddSingle(1, "g" + std::to_string(i + 1), c.powers[i]);
        MakeCurrent(1);
        ProjectRoot->CalcFasaGroups1();
        const TSitid& panel = *Panel(1);
        // Every line is still placed exactly once.
        std::size_t placed = 0;
        for (int phase = 0; phase < 3; ++phase)
            for (const std::string& name : SingleChain(panel, phase)) placed += name != "-";
        EXPECT_EQ(placed, c.powers.size()) << c.what;
    }
}

// A huge but finite line: the idle steps up to the exchanging goal are skipped, and the result is
// the procedure's. Rows [g1 g2 g3] = 3e9 1 1 and [g4 g5 g6] = 1 1 2, sums 3e9+1 / 2 / 3, target
// 1e9 + 2. (B,C): the need of row 0 is goal - 1, met by trunc(g6) = 2 at goal 3, reached at
// k = 999999999: g2 and g6 change places (B 3, C 2). (B,A) and (C,A) find nothing. (C,B): at goal
// 3 the need of row 0 is 2, met by g6: g3 and g6 change places (B 2, C 3).
TEST_F(SinglePhaseDistribution, AHugeLineIsBalancedWithoutStepping) {
    AddSwitchboard(1);
    AddPanel(1, "1");
    const std::vector<long double> powers = {3e9L, 1, 1, 1, 1, 2};
    for (std::size_t i = 0; i < powers.size(); ++i)
        AddSingle(1, "g" + std::to_string(i + 1), powers[i]);
    MakeCurrent(1);
    ProjectRoot->CalcFasaGroups1();
    const TSitid& panel = *Panel(1);
    EXPECT_EQ(Join(SingleChain(panel, 0)), "g1 g4");
    EXPECT_EQ(Join(SingleChain(panel, 1)), "g3 g5");
    EXPECT_EQ(Join(SingleChain(panel, 2)), "g6 g2");
    EXPECT_EQ(panel.SinglePhasePowerA, 3e9L + 1);
    EXPECT_EQ(panel.SinglePhasePowerB, 2.0L);
    EXPECT_EQ(panel.SinglePhasePowerC, 3.0L);
}

// Skipping idle steps must not change any placement: random panels balanced both ways.
TEST(SinglePhaseBalancing, SkippingIdleStepsGivesTheSamePlacement) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> halves(0, 24);  // 0 .. 12 kW in halves
    std::uniform_int_distribution<int> lineCount(1, 12);
    for (int round = 0; round < 400; ++round) {
        const int n = lineCount(random);
        std::vector<calc::SinglePhaseRow> rows((n + 2) / 3);
        for (int i = 0; i < n; ++i) {
            calc::SinglePhaseCell& cell = rows[i / 3][i % 3];
            cell.Power1 = halves(random) / 2.0L;
            cell.GroupName1 = "g" + std::to_string(i + 1);
        }
        std::vector<calc::SinglePhaseRow> stepped = rows;
        const auto fastSums = calc::ArrangeSinglePhaseRows(rows, calc::BalancingMode::FastForward);
        const auto stepSums =
            calc::ArrangeSinglePhaseRows(stepped, calc::BalancingMode::StepByStep);
        ASSERT_EQ(fastSums, stepSums) << "round " << round;
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (int phase = 0; phase < 3; ++phase)
                ASSERT_EQ(rows[r][phase].GroupName1, stepped[r][phase].GroupName1)
                    << "round " << round;
    }
}

}  // namespace
