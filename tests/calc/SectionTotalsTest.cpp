// Passes 13-16: the transformer section totals on the root and the feeder currents.
#include <gtest/gtest.h>

#include "CalcSupport.h"
#include "calc/Recalculation.h"

namespace {

using SectionTotals = CalcTest;
using FeederCurrents = CalcTest;

// Two switchboards, each with one panel carrying a balanced three-phase line of 1 kW per phase:
// at cos phi 1.0 (4.56 A per phase) and at 0.6 (1000 / 131.6359 = 7.597 -> 7.60 A).
// The section cos phi combines both switchboards on each phase:
//   Pa = 4.56 * 1.0 + 7.60 * 0.6 = 9.12, Pr = 7.60 * 0.8 = 6.08, 9.12 / 10.961 = 0.83205
// (not the last switchboard's 0.6). Section: 2 kW per phase:
//   2000 / (219.3931 * 0.83205) = 10.956 -> 10.96 A per phase (at 0.6 it would be 15.19);
//   design 6 kW: 6000 / (658.1793 * 0.83205) = 10.956 -> 10.96 A.
TEST_F(SectionTotals, CosPhiCombinesEverySwitchboard) {
    AddSwitchboard(1);
    AddSwitchboard(2);
    AddPanel(1, "1");
    AddPanel(2, "2");
    AddThree(1, "h1", {1, 1, 1}, {1.0, 1.0, 1.0});
    AddThree(2, "h2", {1, 1, 1}, {0.6, 0.6, 0.6});
    DistributeAll();
    RunLoadPasses(*ProjectRoot);
    const TGrsed& root = *ProjectRoot;
    EXPECT_EQ(Switchboard(2)->SwitchboardCurrentA, Hundredths(7.60));
    EXPECT_EQ(root.TotalPhasePowerA, 2.0);
    EXPECT_EQ(root.TotalInstalledPower, 6.0);
    EXPECT_NEAR(root.TotalCosPhiA, 0.8320502943378437, 1e-12);
    EXPECT_NEAR(root.TotalCosPhiC, 0.8320502943378437, 1e-12);
    EXPECT_EQ(root.TotalCosPhi, root.TotalCosPhiA);
    EXPECT_EQ(root.TotalCurrentA, Hundredths(10.96));
    EXPECT_EQ(root.TotalCurrentB, Hundredths(10.96));
    EXPECT_EQ(root.TotalNeutralCurrent, 0.0);
    EXPECT_EQ(root.TotalDesignCurrent, Hundredths(10.96));
}

// A plain panel on a trunk line is left out of its switchboard and added back at section level
// with its own power; installed and design power count every panel.
TEST_F(SectionTotals, APlainPanelOnATrunkLine) {
    TGrsed& sw = *AddSwitchboard(1);
    AddPanels(1, "1+trunk 2 3:head 4:3^3");
    TSitid& trunk = *Panel(1);
    trunk.PanelPowerA = 2;
    trunk.PanelPowerB = 3;
    trunk.PanelPowerC = 4;
    for (int n : {1, 2, 3, 4}) {
        Panel(n)->InstalledPower = n;
        Panel(n)->DesignPower = n / 2.0;
    }
    sw.SwitchboardPowerA = 10;
    sw.SwitchboardPowerB = 20;
    sw.SwitchboardPowerC = 30;
    Panel(2)->TotalPowerA = 99;  // not on a trunk line: not written
    ProjectRoot->SumSwitchboardTotalLoads();
    EXPECT_EQ(trunk.TotalPowerA, 2.0L);
    EXPECT_EQ(trunk.TotalPowerC, 4.0L);
    EXPECT_EQ(Panel(2)->TotalPowerA, 99.0L);
    EXPECT_EQ(ProjectRoot->TotalPhasePowerA, 12.0);
    EXPECT_EQ(ProjectRoot->TotalPhasePowerB, 23.0);
    EXPECT_EQ(ProjectRoot->TotalPhasePowerC, 34.0);
    EXPECT_EQ(ProjectRoot->TotalInstalledPower, 10.0);
    EXPECT_EQ(ProjectRoot->TotalDesignPower, 5.0);
}

struct TrunkCascadeCase {
    const char* what;
    const char* panels;     // the cascade H (1) <- M1 (2) <- M2 (3), some panels on trunk lines
    double switchboard;     // SwitchboardPowerA of pass 10
    long double feeder[3];  // TotalPowerA of panels 1, 2, 3 on trunk lines, -1 where not written
};

// A cascade of 10, 2 and 1 kW per phase (balanced lines of 30, 6 and 3 kW at cos phi 1): the
// section carries 13 kW per phase whichever of its panels are on trunk lines, each panel's load
// once; the feeder of a panel on a trunk line carries what stands behind it.
//   13 kW per phase: 13000 / 219.3931 = 59.254 -> 59.25 A; design 39 kW: 39000 / 658.1793 =
//   59.254 -> 59.25 A.
//   Feeder currents: 13 kW -> 59.25 A, 3 kW -> 3000 / 219.3931 = 13.674 -> 13.67 A,
//   1 kW -> 4.56 A.
TEST_F(SectionTotals, EveryPanelOfACascadeOnTrunkLinesCountsOnce) {
    constexpr long double kNone = -1;
    const std::vector<TrunkCascadeCase> cases = {
        {"none on a trunk line", "1:head 2:1^1 3:2^1", 13, {kNone, kNone, kNone}},
        // The switchboard counts 10 + 1; the member adds its own 2 (its feeder carries 3).
        {"a member", "1:head 2:1^1+trunk 3:2^1", 11, {kNone, 3, kNone}},
        // The switchboard counts nothing of the cascade; the head's feeder carries all of it.
        {"the head", "1:head+trunk 2:1^1 3:2^1", 0, {13, kNone, kNone}},
        {"the head and a member", "1:head+trunk 2:1^1+trunk 3:2^1", 0, {13, 3, kNone}},
        {"the far member", "1:head 2:1^1 3:2^1+trunk", 12, {kNone, kNone, 1}},
        {"every panel", "1:head+trunk 2:1^1+trunk 3:2^1+trunk", 0, {13, 3, 1}},
    };
    for (const TrunkCascadeCase& c : cases) {
        NewProject();
        AddSwitchboard(1);
        AddPanels(1, c.panels);
        AddThree(1, "l1", {10, 10, 10});
        AddThree(2, "l2", {2, 2, 2});
        AddThree(3, "l3", {1, 1, 1});
        for (int n : {1, 2, 3}) Panel(n)->TotalPowerA = kNone;
        DistributeAll();
        RunLoadPasses(*ProjectRoot);
        const TGrsed& root = *ProjectRoot;
        EXPECT_EQ(Switchboard(1)->SwitchboardPowerA, c.switchboard) << c.what;
        EXPECT_EQ(root.TotalPhasePowerA, 13.0) << c.what;
        EXPECT_EQ(root.TotalPhasePowerB, 13.0) << c.what;
        EXPECT_EQ(root.TotalPhasePowerC, 13.0) << c.what;
        EXPECT_EQ(root.TotalInstalledPower, 39.0) << c.what;
        EXPECT_EQ(root.TotalCurrentA, Hundredths(59.25)) << c.what;
        EXPECT_EQ(root.TotalDesignCurrent, Hundredths(59.25)) << c.what;
        const double feederCurrent[3] = {Hundredths(59.25), Hundredths(13.67), Hundredths(4.56)};
        for (int n : {1, 2, 3}) {
            const TSitid& p = *Panel(n);
            EXPECT_EQ(p.TotalPowerA, c.feeder[n - 1]) << c.what << ", panel " << n;
            if (c.feeder[n - 1] != kNone) {
                EXPECT_EQ(p.FeederCurrentA, feederCurrent[n - 1]) << c.what << ", panel " << n;
            }
        }
    }
}

// A flagged head of a branching cascade: both branches reach the section, each once.
//   Head 1 (10 kW per phase) feeds 2 (2 kW) and 3 (1 kW): the section carries 13 kW per phase.
TEST_F(SectionTotals, BothBranchesOfACascadeOnATrunkLine) {
    AddSwitchboard(1);
    AddPanels(1, "1:head+trunk 2:1^1 3:1^1 4");
    AddThree(1, "l1", {10, 10, 10});
    AddThree(2, "l2", {2, 2, 2});
    AddThree(3, "l3", {1, 1, 1});
    AddThree(4, "l4", {4, 4, 4});
    DistributeAll();
    RunLoadPasses(*ProjectRoot);
    EXPECT_EQ(Switchboard(1)->SwitchboardPowerA, 4.0);
    EXPECT_EQ(ProjectRoot->TotalPhasePowerA, 17.0);
    EXPECT_EQ(ProjectRoot->TotalInstalledPower, 51.0);
}

// A phase without current anywhere has the cos phi of no load, whatever loads it carried before
// (they would make the smallest phase value, the section's, and the design current from it);
// the smallest phase value is the section's.
TEST_F(SectionTotals, APhaseWithoutCurrentHasTheCosPhiOfNoLoad) {
    TGrsed& sw = *AddSwitchboard(1);
    sw.SwitchboardCurrentA = 10;
    sw.SwitchboardCosPhiA = 0.9;
    ProjectRoot->TotalCosPhiB = 0.7;
    ProjectRoot->CalcSwitchboardTotalCosPhi();
    EXPECT_NEAR(ProjectRoot->TotalCosPhiA, 0.9, 1e-15);
    EXPECT_EQ(ProjectRoot->TotalCosPhiB, 1.0);
    EXPECT_EQ(ProjectRoot->TotalCosPhiC, 1.0);
    EXPECT_NEAR(ProjectRoot->TotalCosPhi, 0.9, 1e-15);
}

// Switchboards 1 and 3 with panels, 2 without: every panel gets feeder currents from the power
// its feeder carries at its own cos phi, and the switchboard cursor ends past switchboard 3.
//   Panel 1: 2 kW at 0.9 -> 10.13, 3 kW at 0.8 -> 17.09, 4 kW at 1.0 -> 18.23; neutral
//   (10.13, 17.09, 18.23) = 4.10.
//   Panel 3: 0.004 kW at 1.0 on A -> 0.018232... (below 0.01 kW: not rounded).
TEST_F(FeederCurrents, EveryPanelOfEverySwitchboard) {
    AddSwitchboard(1);
    AddSwitchboard(2);
    AddSwitchboard(3);
    AddPanels(1, "1");
    AddPanels(3, "3");
    TSitid& p1 = *Panel(1);
    p1.TotalPowerA = 2;
    p1.TotalPowerB = 3;
    p1.TotalPowerC = 4;
    p1.PanelCosPhiA = 0.9;
    p1.PanelCosPhiB = 0.8;
    TSitid& p3 = *Panel(3);
    p3.TotalPowerA = 0.004L;
    ProjectRoot->CalcPanelFeederCurrents();
    EXPECT_EQ(p1.FeederCurrentA, Hundredths(10.13));
    EXPECT_EQ(p1.FeederCurrentB, Hundredths(17.09));
    EXPECT_EQ(p1.FeederCurrentC, Hundredths(18.23));
    EXPECT_EQ(p1.FeederNeutralCurrent, Hundredths(4.10));
    EXPECT_NEAR(p3.FeederCurrentA, 0.01823211376388292, 1e-15);
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, nullptr);
}

}  // namespace
