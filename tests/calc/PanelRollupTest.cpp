// Passes 4-6: the powers, cos phi and currents of every panel's own load.
#include <gtest/gtest.h>

#include "CalcSupport.h"

namespace {

using PanelRollup = CalcTest;

void RunPanelPasses() {
    ProjectRoot->SumPanelPhaseLoads();
    ProjectRoot->CalcPanelCosPhi();
    ProjectRoot->CalcPanelCurrents();
}

struct LoadCase {
    const char* what;
    double demandFactor;
    double installed, design;
    long double powerA, powerB, powerC;
    double currentA, currentB, currentC, designCurrent;
};

// Three single-phase lines of 4 kW at cos phi 1: one on each phase.
TEST_F(PanelRollup, DemandFactorSplitsTheDesignPower) {
    const std::vector<LoadCase> cases = {
        // 4000 / 219.3931 = 18.232 on each phase; design current the largest phase's.
        {"demand factor 1", 1.0, 12, 12, 4, 4, 4, 18.23, 18.23, 18.23, 18.23},
        // Design 6 kW, 2 kW per phase: 2000 / 219.3931 = 9.116; 6000 / 658.1793 = 9.116.
        {"demand factor 0.5", 0.5, 12, 6, 2, 2, 2, 9.12, 9.12, 9.12, 9.12},
        // Design above installed (12 * 1.2 in doubles is 14.399999999999999): the phases stay;
        // 14400 / 658.1793 at cos phi 1 = 21.879.
        {"demand factor 1.2", 1.2, 12, 14.399999999999999, 4, 4, 4, 18.23, 18.23, 18.23, 21.88},
    };
    for (const LoadCase& c : cases) {
        NewProject();
        AddSwitchboard(1);
        AddPanel(1, "1", c.demandFactor);
        AddSingle(1, "g1", 4);
        AddSingle(1, "g2", 4);
        AddSingle(1, "g3", 4);
        DistributeAll();
        RunPanelPasses();
        const TSitid& p = *Panel(1);
        EXPECT_EQ(p.InstalledPower, c.installed) << c.what;
        EXPECT_EQ(p.DesignPower, c.design) << c.what;
        EXPECT_EQ(p.PanelPowerA, c.powerA) << c.what;
        EXPECT_EQ(p.PanelPowerB, c.powerB) << c.what;
        EXPECT_EQ(p.PanelPowerC, c.powerC) << c.what;
        EXPECT_EQ(p.OwnCurrentA, Hundredths(c.currentA)) << c.what;
        EXPECT_EQ(p.OwnCurrentB, Hundredths(c.currentB)) << c.what;
        EXPECT_EQ(p.OwnCurrentC, Hundredths(c.currentC)) << c.what;
        EXPECT_EQ(p.OwnNeutralCurrent, 0.0) << c.what;
        EXPECT_EQ(p.OwnDesignCurrent, Hundredths(c.designCurrent)) << c.what;
        EXPECT_EQ(p.PanelCosPhi, 1.0) << c.what;
    }
}

TEST_F(PanelRollup, UnequalPhasesUnderADemandFactor) {
    AddSwitchboard(1);
    TSitid& split = *AddPanel(1, "1", 0.9);
    TSitid& kept = *AddPanel(1, "2", 1.2);
    for (TSitid* p : {&split, &kept}) {
        p->SinglePhasePowerA = 5;
        p->SinglePhasePowerB = 1;
        p->TwoPhasePowerB = 2;
        p->ThreePhasePowerC = 4;
    }
    ProjectRoot->SumPanelPhaseLoads();
    // 12 kW installed; 10.8 kW design spread as 3.6 kW (a double) on each phase.
    EXPECT_EQ(split.PanelPowerA, static_cast<long double>(3.6));
    EXPECT_EQ(split.PanelPowerB, static_cast<long double>(3.6));
    EXPECT_EQ(split.PanelPowerC, static_cast<long double>(3.6));
    EXPECT_EQ(split.DesignPower, 10.8);
    // 14.4 kW design is above the installed power: 5/3/4 stay.
    EXPECT_EQ(kept.PanelPowerA, 5.0L);
    EXPECT_EQ(kept.PanelPowerB, 3.0L);
    EXPECT_EQ(kept.PanelPowerC, 4.0L);
    EXPECT_EQ(kept.InstalledPower, 12.0);
}

// What a panel held of lines it had carried goes with them: its phases have the cos phi of no
// load, as a new panel and an opened project have.
TEST_F(PanelRollup, APanelWithoutLinesHasTheCosPhiOfNoLoad) {
    AddSwitchboard(1);
    TSitid& p = *AddPanel(1, "1");
    p.PanelCosPhiA = 0.7;
    p.PanelCosPhiB = 0.8;
    p.OwnCurrentA = 12;
    DistributeAll();
    RunPanelPasses();
    EXPECT_EQ(p.InstalledPower, 0.0);
    EXPECT_EQ(p.DesignPower, 0.0);
    EXPECT_EQ(p.PanelCosPhiA, 1.0);
    EXPECT_EQ(p.PanelCosPhiB, 1.0);
    EXPECT_EQ(p.PanelCosPhiC, 1.0);
    // Pass 6 takes the most loaded phase's cos phi: all currents 0, the tie goes to B.
    EXPECT_EQ(p.PanelCosPhi, 1.0);
    EXPECT_EQ(p.OwnCurrentA, 0.0);
    EXPECT_EQ(p.OwnDesignCurrent, 0.0);
}

struct CosPhiCase {
    const char* what;
    double lineCosPhi;  // one single-phase line of 1 kW, on phase A
    double panelCosPhiA;
};

// Pass 5 on one line: Pa / S is the line's cos phi, rounded to hundredths; a result of 0.00 is
// stored as 1.0. The phases without a line keep 1.0.
TEST_F(PanelRollup, CosPhiOfAPhase) {
    const std::vector<CosPhiCase> cases = {
        {"0.8", 0.8, Hundredths(0.8)},
        {"0.006 rounds to 0.01", 0.006, Hundredths(0.01)},
        {"0.004 rounds to 0.00: 1.0", 0.004, 1.0},
    };
    for (const CosPhiCase& c : cases) {
        NewProject();
        AddSwitchboard(1);
        AddPanel(1, "1");
        AddSingle(1, "g1", 1, c.lineCosPhi);
        DistributeAll();
        RunPanelPasses();
        const TSitid& p = *Panel(1);
        EXPECT_EQ(p.PanelCosPhiA, c.panelCosPhiA) << c.what;
        EXPECT_EQ(p.PanelCosPhiB, 1.0) << c.what;
        EXPECT_EQ(p.PanelCosPhiC, 1.0) << c.what;
    }
}

// A: 1.8 kW at 0.9 and B: 1.6 kW at 0.8 both give 9.116 -> 9.12 A; C: 1 kW at 1, 4.56 A.
TEST_F(PanelRollup, EqualCurrentsOnAAndBTakeTheCosPhiOfB) {
    AddSwitchboard(1);
    TSitid& p = *AddPanel(1, "1", 0.5);
    p.PanelPowerA = 1.8L;
    p.PanelPowerB = 1.6L;
    p.PanelPowerC = 1;
    p.PanelCosPhiA = 0.9;
    p.PanelCosPhiB = 0.8;
    p.DesignPower = 2.2;
    ProjectRoot->CalcPanelCurrents();
    EXPECT_EQ(p.OwnCurrentA, Hundredths(9.12));
    EXPECT_EQ(p.OwnCurrentB, Hundredths(9.12));
    EXPECT_EQ(p.OwnCurrentC, Hundredths(4.56));
    EXPECT_EQ(p.PanelCosPhi, 0.8);
    // Demand factor 0.5: 2200 / (658.1793 * 0.8) = 4.178 -> 4.18.
    EXPECT_EQ(p.OwnDesignCurrent, Hundredths(4.18));
}

// Walks every panel of every switchboard, also past a switchboard without panels.
TEST_F(PanelRollup, EveryPanelOfEverySwitchboard) {
    AddSwitchboard(1);
    AddSwitchboard(2);
    AddSwitchboard(3);
    AddPanels(1, "1 2");
    AddPanels(3, "3");
    for (int n : {1, 2, 3}) Panel(n)->SinglePhasePowerA = n;
    RunPanelPasses();
    for (int n : {1, 2, 3}) EXPECT_EQ(Panel(n)->InstalledPower, n);
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, nullptr);
}

}  // namespace
