// Passes 10-12: switchboard powers, cos phi and currents from the switchboard's own panels.
#include <gtest/gtest.h>

#include "CalcSupport.h"

namespace {

using SwitchboardRollup = CalcTest;

// First panel 10 kW installed and design, 10/0/0 on A/B/C; second 10 kW installed, 5 kW design,
// its phases split to 5/3 each. After the first: 10/0/0 (no split, design not below installed).
// After the second: 15 kW design below 20 installed, each phase 15 / 3 = 5.
TEST_F(SwitchboardRollup, DemandSplitOnTheRunningTotals) {
    AddSwitchboard(1);
    TSitid& first = *AddPanel(1, "1");
    TSitid& second = *AddPanel(1, "2");
    first.InstalledPower = first.DesignPower = 10;
    first.PanelPowerA = 10;
    second.InstalledPower = 10;
    second.DesignPower = 5;
    second.PanelPowerA = second.PanelPowerB = second.PanelPowerC =
        static_cast<double>(5 * (1.0L / 3.0L));
    ProjectRoot->SumSwitchboardLoads();
    const TGrsed& sw = *Switchboard(1);
    EXPECT_EQ(sw.SwitchboardInstalledPower, 20.0);
    EXPECT_EQ(sw.SwitchboardDesignPower, 15.0);
    EXPECT_EQ(sw.SwitchboardPowerA, 5.0);
    EXPECT_EQ(sw.SwitchboardPowerB, 5.0);
    EXPECT_EQ(sw.SwitchboardPowerC, 5.0);

    // With the first panel alone no split happens.
    second.InstalledPower = second.DesignPower = 0;
    second.PanelPowerA = second.PanelPowerB = second.PanelPowerC = 0;
    ProjectRoot->SumSwitchboardLoads();
    EXPECT_EQ(sw.SwitchboardPowerA, 10.0);
    EXPECT_EQ(sw.SwitchboardPowerB, 0.0);
}

// Panels 1 (on a trunk line), 2, 3 (cascade head on a trunk line), 4 (fed from 3), 5. Own power
// on A = the number, own current on A = the number, cos phi on A as listed.
//   Powers: 1 and 3 are out (own flag), 4 is out with its head: 2 + 5 = 7 kW.
//   Cos phi on A: 2 at 0.9, 4 at 0.8, 5 at 1.0 (4 counts here):
//     Pa = 1.8 + 3.2 + 5 = 10, Pr = 0.8718 + 2.4 = 3.2718 -> 0.9504 -> 0.95
//   Current on A: 7000 / (219.3931 * 0.95) = 33.586 -> 33.59
TEST_F(SwitchboardRollup, PanelsOnTrunkLinesAndTheirCascadesAreLeftOut) {
    AddSwitchboard(1);
    AddPanels(1, "1+trunk 2 3:head+trunk 4:3^3 5");
    const double cosPhi[] = {0.1, 0.9, 0.5, 0.8, 1.0};
    for (int n = 1; n <= 5; ++n) {
        TSitid& p = *Panel(n);
        p.PanelPowerA = n;
        p.InstalledPower = p.DesignPower = n;
        p.OwnCurrentA = n;
        p.PanelCosPhiA = cosPhi[n - 1];
    }
    ProjectRoot->SumSwitchboardLoads();
    ProjectRoot->CalcSwitchboardCosPhi();
    ProjectRoot->CalcSwitchboardCurrents();
    const TGrsed& sw = *Switchboard(1);
    EXPECT_EQ(sw.SwitchboardPowerA, 7.0);
    EXPECT_EQ(sw.SwitchboardInstalledPower, 7.0);
    EXPECT_EQ(sw.SwitchboardDesignPower, 7.0);
    EXPECT_EQ(sw.SwitchboardCosPhiA, Hundredths(0.95));
    EXPECT_EQ(sw.SwitchboardCurrentA, Hundredths(33.59));
    // No current on B and C: their cos phi stay 1.0.
    EXPECT_EQ(sw.SwitchboardCosPhiB, 1.0);
    EXPECT_EQ(sw.SwitchboardCurrentB, 0.0);
}

// A member whose head is not on a trunk line is counted like any panel.
TEST_F(SwitchboardRollup, CascadesUnderAPlainHeadAreCounted) {
    AddSwitchboard(1);
    AddPanels(1, "3:head 4:3^3");
    Panel(3)->PanelPowerA = 3;
    Panel(4)->PanelPowerA = 4;
    ProjectRoot->SumSwitchboardLoads();
    EXPECT_EQ(Switchboard(1)->SwitchboardPowerA, 7.0);
}

// Switchboards 1 (a panel), 2 (none), 3 (a panel): 2 gets zero powers and currents and keeps its
// cos phi; 3 is still calculated.
TEST_F(SwitchboardRollup, ASwitchboardWithoutPanels) {
    AddSwitchboard(1);
    TGrsed& empty = *AddSwitchboard(2);
    AddSwitchboard(3);
    AddPanels(1, "1");
    AddPanels(3, "3");
    for (int n : {1, 3}) {
        Panel(n)->PanelPowerA = 1;
        Panel(n)->OwnCurrentA = 4.56;
        Panel(n)->PanelCosPhiA = 1.0;
    }
    empty.SwitchboardPowerA = 9;
    empty.SwitchboardCosPhiA = 0.5;
    empty.SwitchboardCurrentA = 40;
    ProjectRoot->SumSwitchboardLoads();
    ProjectRoot->CalcSwitchboardCosPhi();
    ProjectRoot->CalcSwitchboardCurrents();
    EXPECT_EQ(empty.SwitchboardPowerA, 0.0);
    EXPECT_EQ(empty.SwitchboardCosPhiA, 0.5);
    EXPECT_EQ(empty.SwitchboardCurrentA, 0.0);
    EXPECT_EQ(Switchboard(3)->SwitchboardCurrentA, Hundredths(4.56));
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, nullptr);
}

// A: 1.8 kW at 0.9 and B: 1.6 kW at 0.8 both 9.12 A; C: 1 kW at 1.0, 4.56 A.
//   Neutral (9.12, 9.12, 4.56) = 4.56; the tie of A and B takes B's 0.8;
//   design: 3 * 1.8 = 5.4 kW, 5400 / (658.1793 * 0.8) = 10.256 -> 10.26.
TEST_F(SwitchboardRollup, CurrentsAndTheDominantPhase) {
    TGrsed& sw = *AddSwitchboard(1);
    sw.SwitchboardPowerA = 1.8;
    sw.SwitchboardPowerB = 1.6;
    sw.SwitchboardPowerC = 1.0;
    sw.SwitchboardCosPhiA = 0.9;
    sw.SwitchboardCosPhiB = 0.8;
    sw.SwitchboardCosPhiC = 1.0;
    ProjectRoot->CalcSwitchboardCurrents();
    EXPECT_EQ(sw.SwitchboardCurrentA, Hundredths(9.12));
    EXPECT_EQ(sw.SwitchboardCurrentB, Hundredths(9.12));
    EXPECT_EQ(sw.SwitchboardCurrentC, Hundredths(4.56));
    EXPECT_EQ(sw.SwitchboardNeutralCurrent, Hundredths(4.56));
    EXPECT_EQ(sw.SwitchboardCosPhi, 0.8);
    EXPECT_EQ(sw.SwitchboardDesignCurrent, Hundredths(10.26));

    // C equal to the larger of A and B does not take over.
    sw.SwitchboardPowerC = 1.8;
    sw.SwitchboardCosPhiC = 0.9;
    ProjectRoot->CalcSwitchboardCurrents();
    EXPECT_EQ(sw.SwitchboardCosPhi, 0.8);

    // A cos phi of 0 on the chosen phase: no design current.
    sw.SwitchboardPowerA = 0;
    sw.SwitchboardPowerC = 0;
    sw.SwitchboardPowerB = 2;
    sw.SwitchboardCosPhiB = 0;
    ProjectRoot->CalcSwitchboardCurrents();
    EXPECT_EQ(sw.SwitchboardCosPhi, 0.0);
    EXPECT_EQ(sw.SwitchboardDesignCurrent, 0.0);
}

// The switchboard rule keeps a rounded ratio of 0.00 as 0.0 (the shared rule would make it 1.0).
TEST_F(SwitchboardRollup, ARoundedZeroCosPhiStaysZero) {
    AddSwitchboard(1);
    TSitid& p = *AddPanel(1, "1");
    p.OwnCurrentA = 5;
    p.PanelCosPhiA = 0.004;
    p.PanelPowerA = 3;
    ProjectRoot->SumSwitchboardLoads();
    ProjectRoot->CalcSwitchboardCosPhi();
    ProjectRoot->CalcSwitchboardCurrents();
    EXPECT_EQ(Switchboard(1)->SwitchboardCosPhiA, 0.0);
    EXPECT_EQ(Switchboard(1)->SwitchboardCurrentA, 0.0);
}

}  // namespace
