// Passes 7-9: power, cos phi and currents carried through cascades of panels.
#include <gtest/gtest.h>

#include <sstream>

#include "CalcSupport.h"
#include "calc/Recalculation.h"

namespace {

using CascadeLoads = CalcTest;
using CascadeCosPhi = CalcTest;
using CascadeCurrents = CalcTest;

constexpr long double kUntouched = -1;

struct LoadCase {
    const char* what;
    const char* panels;   // chain order, tokens of CalcSupport.h
    const char* own;      // own phase A power of each panel, in chain order
    const char* carried;  // expected CascadePowerA in chain order, "-" when not handled
};

// Pass 7 alone on panels whose own phase A power (and design power) is given: what each panel
// carries is its own power plus that of the members beyond it.
TEST_F(CascadeLoads, CarriesPowerTowardsTheHead) {
    const std::vector<LoadCase> cases = {
        {"one cascade H, M1, M2", "1:head 2:1^1 3:2^1", "10 5 2", "17 7 2"},
        // M2 and H2 first, then the walk restarts at the end and takes M1 and H1.
        {"two cascades", "1:head 2:1^1 3:head 4:3^3", "10 5 20 7", "15 5 27 7"},
        // Panel 3's feeder 2 is found by the search: the walk passes over 6 and 5 until it
        // reaches 2, then goes on to 1; the other cascade follows after the restart.
        {"a feeder further back", "1:head 2:1^1 5:head 6:5^5 3:2^1", "10 5 20 7 2", "17 7 27 7 2"},
        {"a feeder that is not there", "1:head 2:1^1 3:9^1", "10 5 2", "15 5 -"},
        {"a head that feeds no panel", "1:head 2", "10 5", "- -"},
        {"plain panels only", "1 2", "10 5", "- -"},
        // Branches: 2 and 3 both fed from 1. The branch met first from the end (3) is carried
        // into the head; the other branch (2) keeps its own power, and another cascade (7, 8)
        // is neither passed over nor given a branch's power.
        {"branches after another head", "7:head 1:head 8:7^7 2:1^1 3:1^1", "100 10 50 5 2",
         "150 12 50 5 2"},
        {"branches after another cascade", "7:head 8:7^7 1:head 2:1^1 3:1^1", "100 50 10 5 2",
         "150 50 12 5 2"},
        // 2 and 3 fed from 4, which is fed from 1.
        {"branches further down", "7:head 8:7^7 1:head 4:1^1 2:4^1 3:4^1", "100 50 10 20 5 2",
         "150 50 32 22 5 2"},
        // 3 is carried, but its feeder 2 has no feeder of its own: 3's power stops there.
        {"a member under an orphan", "7:head 8:7^7 1:head 2:9^1 3:2^1", "100 50 10 5 2",
         "150 50 - - 2"},
        // Feeders standing after the panels they feed, as a panel swap leaves them: the
        // cascade is still carried from its far end (3) to its head, and the cascades before it
        // in the chain are handled too.
        {"a feeder after its member", "1:head 3:2^1 2:1^1", "10 2 5", "17 2 7"},
        {"a feeder after its member, another cascade before", "5:head 6:5^5 1:head 3:2^1 2:1^1",
         "20 7 10 2 5", "27 7 17 2 7"},
        {"a head after its member", "2:1^1 5:head 1:head 6:5^5", "5 20 10 7", "5 27 15 7"},
        {"a cascade in reverse", "3:2^1 2:1^1 1:head", "2 5 10", "2 7 17"},
    };
    for (const LoadCase& c : cases) {
        NewProject();
        AddSwitchboard(1);
        AddPanels(1, c.panels);
        std::istringstream own(c.own);
        for (TSitid* p = Switchboard(1)->Panels.First; p; p = p->Panels.Next) {
            own >> p->PanelPowerA;
            p->DesignPower = static_cast<double>(p->PanelPowerA);
            p->CascadePowerA = kUntouched;
            p->CascadePower = static_cast<double>(kUntouched);
        }
        ProjectRoot->AddCascadeLoads();
        std::vector<std::string> carried;
        std::vector<std::string> design;
        for (const TSitid* p = Switchboard(1)->Panels.First; p; p = p->Panels.Next) {
            const long double a = p->CascadePowerA;
            carried.push_back(a == kUntouched ? "-" : std::to_string(static_cast<int>(a)));
            design.push_back(p->CascadePower == kUntouched
                                 ? "-"
                                 : std::to_string(static_cast<int>(p->CascadePower)));
        }
        EXPECT_EQ(Join(carried), c.carried) << c.what;
        EXPECT_EQ(Join(design), c.carried) << c.what << " (design power)";
    }
}

TEST_F(CascadeLoads, EveryPhaseAndEverySwitchboard) {
    AddSwitchboard(1);
    AddSwitchboard(2);
    AddSwitchboard(3);
    AddPanels(1, "1:head 2:1^1");
    AddPanels(3, "3:head 4:3^3");
    for (int n : {1, 2, 3, 4}) {
        Panel(n)->PanelPowerA = n;
        Panel(n)->PanelPowerB = 10 * n;
        Panel(n)->PanelPowerC = 100 * n;
    }
    ProjectRoot->AddCascadeLoads();
    EXPECT_EQ(Panel(1)->CascadePowerB, 30.0L);
    EXPECT_EQ(Panel(1)->CascadePowerC, 300.0L);
    EXPECT_EQ(Panel(3)->CascadePowerA, 7.0L);
    EXPECT_EQ(Panel(3)->CascadePowerC, 700.0L);
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, nullptr);
}

// The whole recalculation over a chain left as a swap of panels 2 and 3 leaves it: cascade
// 5 <- 6, then cascade 1 <- 2 <- 3 with 3 standing before its feeder 2 (each Position travelled
// with its panel). Every panel carries a balanced three-phase line.
//   6: 6 kW at 0.8, 2 kW per phase: 2000 / (219.3931 * 0.8) = 11.395 -> 11.40 A; the farthest
//      member keeps its own 0.8; design 6000 / (658.1793 * 0.8) = 11.395 -> 11.40 A.
//   5: 3 kW at 1.0, own 1000 / 219.3931 = 4.558 -> 4.56 A per phase; carries 3 kW per phase;
//      Pa = 11.40 * 0.8 + 4.56 = 13.68, Pr = 11.40 * 0.6 = 6.84, 13.68 / 15.2947 = 0.894 -> 0.89;
//      3000 / (219.3931 * 0.89) = 15.364 -> 15.36 A; design 9 kW: 9000 / (658.1793 * 0.89)
//      = 15.364 -> 15.36 A.
//   3, 2, 1: 3 kW at 1.0 each: they carry 1, 2 and 3 kW per phase at 1.0: 4.56, 9.12 (2000 /
//      219.3931 = 9.116) and 13.67 A (3000 / 219.3931 = 13.674); design 3, 6, 9 kW: 4.56, 9.12,
//      13.67 A.
TEST_F(CascadeCurrents, AFeederAfterItsMemberAfterASwap) {
    AddSwitchboard(1);
    AddPanels(1, "5:head 6:5^5 1:head 3:2^1 2:1^1");
    Panel(3)->Position = 5;
    Panel(2)->Position = 4;
    AddThree(5, "l5", {1, 1, 1});
    AddThree(6, "l6", {2, 2, 2}, {0.8, 0.8, 0.8});
    AddThree(1, "l1", {1, 1, 1});
    AddThree(2, "l2", {1, 1, 1});
    AddThree(3, "l3", {1, 1, 1});
    // Values a walk that stopped early would leave standing.
    for (int n : {1, 2, 3, 5, 6}) {
        Panel(n)->CascadePowerB = 99;
        Panel(n)->CascadeCosPhiB = 0.5;
        Panel(n)->CascadeCurrentB = 99;
        Panel(n)->CascadeDesignCurrent = 99;
    }
    DistributeAll();
    RunLoadPasses(*ProjectRoot);

    struct Expected {
        int panel;
        long double power;
        double cosPhi, current, design;
    };
    for (const Expected& e : std::vector<Expected>{
             {6, 2, 0.8, Hundredths(11.40), Hundredths(11.40)},
             {5, 3, Hundredths(0.89), Hundredths(15.36), Hundredths(15.36)},
             {3, 1, 1.0, Hundredths(4.56), Hundredths(4.56)},
             {2, 2, 1.0, Hundredths(9.12), Hundredths(9.12)},
             {1, 3, 1.0, Hundredths(13.67), Hundredths(13.67)},
         }) {
        const TSitid& p = *Panel(e.panel);
        EXPECT_EQ(p.CascadePowerB, e.power) << e.panel;
        EXPECT_EQ(p.CascadeCosPhiB, e.cosPhi) << e.panel;
        EXPECT_EQ(p.CascadeCurrentB, e.current) << e.panel;
        EXPECT_EQ(p.CascadeDesignCurrent, e.design) << e.panel;
    }
}

// Own currents and per-phase cos phi of a cascade 1 <- 2 <- 3 (all with group lines):
//   3: currents 10 / 10 / 10 at 0.817 on every phase: keeps 0.817 unrounded.
//   2: 5 / 0 / 5 at 1.0 / 1.0 / 0.6:
//      A: Pa = 8.17 + 5 = 13.17, Pr = 5.766 -> 0.916 -> 0.92
//      B: no current of its own -> 0.817 -> 0.82
//      C: Pa = 8.17 + 3 = 11.17, Pr = 5.766 + 4 = 9.766 -> 0.753 -> 0.75
//   1: 20 / 10 / 0 at 0.9 / 0.7 / 1.0:
//      A: Pa = 13.17 + 18 = 31.17, Pr = 5.766 + 8.718 = 14.484 -> 0.907 -> 0.91
//      B: Pa = 8.17 + 7 = 15.17, Pr = 5.766 + 7.141 = 12.908 -> 0.762 -> 0.76
//      C: as 2 -> 0.75
TEST_F(CascadeCosPhi, CurrentWeightedAlongTheCascade) {
    AddSwitchboard(1);
    AddPanels(1, "1:head 2:1^1 3:2^1");
    struct Own {
        int panel;
        double currents[3];
        double cosPhi[3];
    };
    for (const Own& o : std::vector<Own>{{3, {10, 10, 10}, {0.817, 0.817, 0.817}},
                                         {2, {5, 0, 5}, {1.0, 1.0, 0.6}},
                                         {1, {20, 10, 0}, {0.9, 0.7, 1.0}}}) {
        TSitid& p = *Panel(o.panel);
        p.SchemeGroupCount = 1;
        p.OwnCurrentA = o.currents[0];
        p.OwnCurrentB = o.currents[1];
        p.OwnCurrentC = o.currents[2];
        p.PanelCosPhiA = o.cosPhi[0];
        p.PanelCosPhiB = o.cosPhi[1];
        p.PanelCosPhiC = o.cosPhi[2];
    }
    ProjectRoot->AddCascadeCosPhi();
    EXPECT_EQ(Panel(3)->CascadeCosPhiA, 0.817);
    EXPECT_EQ(Panel(3)->CascadeCosPhi, 0.817);
    EXPECT_EQ(Panel(2)->CascadeCosPhiA, Hundredths(0.92));
    EXPECT_EQ(Panel(2)->CascadeCosPhiB, Hundredths(0.82));
    EXPECT_EQ(Panel(2)->CascadeCosPhiC, Hundredths(0.75));
    EXPECT_EQ(Panel(2)->CascadeCosPhi, Hundredths(0.75));
    EXPECT_EQ(Panel(1)->CascadeCosPhiA, Hundredths(0.91));
    EXPECT_EQ(Panel(1)->CascadeCosPhiB, Hundredths(0.76));
    EXPECT_EQ(Panel(1)->CascadeCosPhiC, Hundredths(0.75));
    EXPECT_EQ(Panel(1)->CascadeCosPhi, Hundredths(0.75));
}

// Panels without group lines: before a member with groups each keeps its own values; after one,
// a member repeats the values of the member before it; so does a head. A phase without any
// current so far repeats the previous value, rounded.
TEST_F(CascadeCosPhi, PanelsWithoutGroupLines) {
    AddSwitchboard(1);
    // Cascade 1 <- 2 <- 3 <- 4 and cascade 5 <- 6 (no groups anywhere in the second).
    AddPanels(1, "1:head 2:1^1 3:2^1 4:3^1 5:head 6:5^5");
    auto setOwn = [&](int n, bool groups, double a, double b, double c, double current) {
        TSitid& p = *Panel(n);
        p.SchemeGroupCount = groups ? 1 : 0;
        p.PanelCosPhiA = a;
        p.PanelCosPhiB = b;
        p.PanelCosPhiC = c;
        p.OwnCurrentA = current;
    };
    setOwn(4, false, 0.61, 0.62, 0.63, 0);  // farthest, no groups: its own values
    setOwn(3, true, 0.8, 0.554, 1.0, 10);   // first with groups: its own values, unrounded
    setOwn(2, false, 0.71, 0.72, 0.73, 0);  // repeats 3
    setOwn(1, false, 0.91, 0.92, 0.93, 0);  // head without groups: repeats 2
    setOwn(6, false, 0.41, 0.42, 0.43, 0);
    setOwn(5, false, 0.51, 0.52, 0.53, 0);
    ProjectRoot->AddCascadeCosPhi();
    EXPECT_EQ(Panel(4)->CascadeCosPhiB, 0.62);
    EXPECT_EQ(Panel(3)->CascadeCosPhiB, 0.554);
    EXPECT_EQ(Panel(2)->CascadeCosPhiB, 0.554);
    EXPECT_EQ(Panel(1)->CascadeCosPhiA, 0.8);
    EXPECT_EQ(Panel(1)->CascadeCosPhiB, 0.554);
    EXPECT_EQ(Panel(1)->CascadeCosPhi, 0.554);
    EXPECT_EQ(Panel(6)->CascadeCosPhiC, 0.43);
    EXPECT_EQ(Panel(5)->CascadeCosPhiC, 0.53);

    // With groups on 2 as well: on B and C neither 3 nor 2 carries current, so 2 takes 3's
    // values rounded (0.554 -> 0.55); A combines 10 at 0.8 with 5 at 1.0:
    // Pa = 8 + 5 = 13, Pr = 6 -> 0.908 -> 0.91.
    Panel(2)->SchemeGroupCount = 1;
    Panel(2)->OwnCurrentA = 5;
    Panel(2)->PanelCosPhiA = 1.0;
    ProjectRoot->AddCascadeCosPhi();
    EXPECT_EQ(Panel(2)->CascadeCosPhiA, Hundredths(0.91));
    EXPECT_EQ(Panel(2)->CascadeCosPhiB, Hundredths(0.55));
    EXPECT_EQ(Panel(2)->CascadeCosPhiC, Hundredths(1.0));
}

// Carried powers and cos phi set by hand; cascades 1 <- 2 <- 3 and 4 <- 5. The design current
// is the three-phase current of three times the largest carried phase power, at the cos phi of
// the phase with the largest current.
//   3 (groups): 3 / 2 / 2 kW at 0.9 / 0.8 / 0.8: 3000 / 197.4538 = 15.19, 2000 / 175.5145 =
//     11.40 twice; neutral (15.19, 11.40, 11.40) = 3.86; A dominates: 0.9;
//     design 9 kW: 9000 / (658.1793 * 0.9) = 15.19.
//   2 (no groups): carries what 3 does; repeats 3's currents; A dominates: its own 0.7;
//     9000 / 460.7255 = 19.53.
//   1 (groups): 1.8 / 1.6 / 1 kW at 0.9 / 0.8 / 1.0: 9.12, 9.12, 4.56; neutral 4.56; the tie
//     of A and B goes to B: 0.8, though A carries the most: 5.4 kW: 5400 / 526.5434 = 10.26.
//   5 (no groups, farthest): carries nothing; all currents 0; the tie goes to B: 0.66;
//     design 0.
//   4 (head, no groups): repeats 5's zeros; keeps its cos phi 0.5, but its design current takes
//     the cos phi of its dominant phase, B on the tie: of 2 / 1 / 1 kW set by hand, 6000 /
//     (658.1793 * 0.9) = 10.13.
TEST_F(CascadeCurrents, FromTheCarriedPowerAndCosPhi) {
    AddSwitchboard(1);
    AddPanels(1, "1:head 2:1^1 3:2^1 4:head 5:4^4");
    struct Carried {
        int panel;
        bool groups;
        long double power[3];
        double cosPhi[3];
        double design;
    };
    for (const Carried& c : std::vector<Carried>{
             {3, true, {3, 2, 2}, {0.9, 0.8, 0.8}, 7},
             {2, false, {3, 2, 2}, {0.7, 0.6, 0.5}, 7},
             {1, true, {1.8L, 1.6L, 1}, {0.9, 0.8, 1.0}, 4.4},
             {5, false, {0, 0, 0}, {0.1, 0.66, 0.2}, 0},
             {4, false, {2, 1, 1}, {0.3, 0.9, 0.4}, 4},
         }) {
        TSitid& p = *Panel(c.panel);
        p.SchemeGroupCount = c.groups ? 2 : 0;
        p.CascadePowerA = c.power[0];
        p.CascadePowerB = c.power[1];
        p.CascadePowerC = c.power[2];
        p.CascadeCosPhiA = c.cosPhi[0];
        p.CascadeCosPhiB = c.cosPhi[1];
        p.CascadeCosPhiC = c.cosPhi[2];
        p.CascadePower = c.design;
    }
    Panel(4)->CascadeCosPhi = 0.5;
    ProjectRoot->AddCascadeCurrents();

    struct Expected {
        int panel;
        double a, b, c, neutral, cosPhi, design;
    };
    for (const Expected& e : std::vector<Expected>{
             {3, 15.19, 11.40, 11.40, 3.86, 0.9, 15.19},
             {2, 15.19, 11.40, 11.40, 3.86, 0.7, 19.53},
             {1, 9.12, 9.12, 4.56, 4.56, 0.8, 10.26},
             {5, 0, 0, 0, 0, 0.66, 0},
             {4, 0, 0, 0, 0, 0.5, 10.13},
         }) {
        const TSitid& p = *Panel(e.panel);
        EXPECT_EQ(p.CascadeCurrentA, Hundredths(e.a)) << e.panel;
        EXPECT_EQ(p.CascadeCurrentB, Hundredths(e.b)) << e.panel;
        EXPECT_EQ(p.CascadeCurrentC, Hundredths(e.c)) << e.panel;
        EXPECT_EQ(p.CascadeNeutralCurrent, Hundredths(e.neutral)) << e.panel;
        EXPECT_EQ(p.CascadeCosPhi, e.cosPhi) << e.panel;
        EXPECT_EQ(p.CascadeDesignCurrent, Hundredths(e.design)) << e.panel;
    }
}

// A head without group lines of its own, carrying what its member 2 carries: 7.95 / 4.0 /
// 2.75 kW at 0.88 / 0.98 / 0.74, the 0.74 the cos phi pass left as its cos phi. The member's
// currents: 7950 / (219.3931 * 0.88) = 41.18, 4000 / (219.3931 * 0.98) = 18.60, 2750 /
// (219.3931 * 0.74) = 16.94 A, which the head repeats. Its design current is that of A, the most
// loaded phase, at A's own 0.88: 3 * 7.95 kW, 23850 / (658.1793 * 0.88) = 41.18 A (at 0.74 it
// would be 23850 / (658.1793 * 0.74) = 48.97 A); its cos phi stays 0.74.
TEST_F(CascadeCurrents, AHeadWithoutGroupsTakesItsMostLoadedPhase) {
    AddSwitchboard(1);
    AddPanels(1, "1:head 2:1^1");
    for (int n : {1, 2}) {
        TSitid& p = *Panel(n);
        p.SchemeGroupCount = n == 2 ? 1 : 0;
        p.CascadePowerA = 7.95L;
        p.CascadePowerB = 4.0L;
        p.CascadePowerC = 2.75L;
        p.CascadeCosPhiA = 0.88;
        p.CascadeCosPhiB = 0.98;
        p.CascadeCosPhiC = 0.74;
        p.CascadeCosPhi = 0.74;
    }
    ProjectRoot->AddCascadeCurrents();
    const TSitid& head = *Panel(1);
    EXPECT_EQ(head.CascadeCurrentA, Hundredths(41.18));
    EXPECT_EQ(head.CascadeCurrentB, Hundredths(18.60));
    EXPECT_EQ(head.CascadeCurrentC, Hundredths(16.94));
    EXPECT_EQ(head.CascadeDesignCurrent, Hundredths(41.18));
    EXPECT_EQ(head.CascadeCosPhi, 0.74);
    EXPECT_EQ(Panel(2)->CascadeDesignCurrent, Hundredths(41.18));
}

// C is the dominant phase only when strictly above both A and B; a small carried power is not
// rounded.
TEST_F(CascadeCurrents, DominantPhaseAndSmallPowers) {
    AddSwitchboard(1);
    AddPanels(1, "1:head 2:1^1");
    TSitid& head = *Panel(1);
    head.SchemeGroupCount = 1;
    head.CascadePowerA = 2;
    head.CascadePowerB = 1;
    head.CascadePowerC = 2;
    head.CascadeCosPhiA = 0.8;
    head.CascadeCosPhiC = 0.7;
    head.CascadeCosPhiB = 1.0;
    head.CascadePower = 5;
    TSitid& member = *Panel(2);
    member.SchemeGroupCount = 1;
    member.CascadePowerA = 0.004L;
    ProjectRoot->AddCascadeCurrents();
    // A: 2000 / 175.5145 = 11.40; C: 2000 / 153.5752 = 13.02 > 11.40: C's 0.7.
    EXPECT_EQ(head.CascadeCosPhi, 0.7);
    // 4 / 219.3931 = 0.018232..., unrounded.
    EXPECT_NEAR(member.CascadeCurrentA, 0.01823211376388292, 1e-15);

    head.CascadeCosPhiC = 0.8;  // C equal to A: A's cos phi (A above B)
    ProjectRoot->AddCascadeCurrents();
    EXPECT_EQ(head.CascadeCosPhi, 0.8);
    EXPECT_EQ(head.CascadeCurrentC, head.CascadeCurrentA);
}

}  // namespace
