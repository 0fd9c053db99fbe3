// The fault path: which feeders it takes, what stops it, and the cursors it leaves.
#include <cmath>

#include "SelectionFixture.h"
#include "TreeLookup.h"
#include "model/TreeEditing.h"
#include "selection/TreeEdits.h"

namespace {

// r0 of copper at 20 C, as the surge current's path takes it: 17.8 / S.
constexpr double kR10 = 1.78;    // 10 mm2
constexpr double kR16 = 1.1125;  // 16 mm2

// Switchboard 1 with a radial panel 1 and the cascade 2 <- 3 <- 4, all copper in air.
class ShortCircuitTest : public SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        sw = AddSwitchboard(1);
        radial = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
        head = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 0, true);
        m1 = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true, 2, false, 2);
        m2 = AddPanel(sw, 4, kCopperCable, kCopperCableRows, true, 3, false, 2);
        radial->FeederLength = 50;
        head->FeederLength = 30;
        m1->FeederLength = 20;
        m2->FeederLength = 10;
        for (TSitid* p : {head, m1, m2}) p->FeederSection2 = 10;
    }
    // Resistance of the panel feeders alone: no group line, no switchboard feeder, a
    // transformer without losses.
    double PanelResistance(TSitid* panel, double panelSection, bool givenSection = false) {
        return ProjectRoot->FaultPathResistance({.panelLength = 50,
                                                 .panelSection = panelSection,
                                                 .transformerPower = 400,
                                                 .shortCircuitVoltage = 4.5,
                                                 .groupMaterial = "Медь",
                                                 .panelMaterial = "Медь",
                                                 .switchboardMaterial = "Медь",
                                                 .panel = panel,
                                                 .givenSection = givenSection});
    }
    // A 10 m line of 2.5 mm2 on a 20 m panel feeder of 10 mm2 on a 100 m switchboard feeder of
    // 16 mm2, all copper, behind a 400 kVA transformer with uk 4.5 % and Pk 5.5 kW.
    static TGrsed::FaultInputs LinePath(TSitid* panel) {
        return {.groupLength = 10,
                .panelLength = 20,
                .switchboardLength = 100,
                .groupSection = 2.5,
                .panelSection = 10,
                .switchboardSection = 16,
                .transformerPower = 400,
                .shortCircuitVoltage = 4.5,
                .shortCircuitLosses = 5500,
                .groupMaterial = "Медь",
                .panelMaterial = "Медь",
                .switchboardMaterial = "Медь",
                .panel = panel};
    }
    TGrsed* sw = nullptr;
    TSitid *radial = nullptr, *head = nullptr, *m1 = nullptr, *m2 = nullptr;
};

TEST_F(ShortCircuitTest, CascadeAddsEveryFeederUpToItsHead) {
    const struct {
        TSitid* panel;
        double section;
        bool given;
        double expected;
        const char* why;
    } cases[] = {
        {m2, 0, false, 60 * kR10, "three segments: 10 + 20 + 30 m"},
        {m1, 0, false, 50 * kR10, "two segments"},
        {head, 0, false, 30 * kR10, "the head alone"},
        {m2, 16, true, 60 * kR16, "the given section for every segment"},
        {radial, 16, false, 50 * kR16, "radial: the given length and section"},
    };
    for (const auto& c : cases) {
        MakeCurrent(sw, c.panel);
        EXPECT_NEAR(PanelResistance(c.panel, c.section, c.given), c.expected, 1e-9) << c.why;
    }
    // The reactance by each feeder's laying: 60 m x 0.073 (10 mm2 in air), plus XT
    // of a transformer with uk 4.5 % and no losses: sqrt(4.5^2) x 1600 / 400 = 18.
    MakeCurrent(sw, m2);
    EXPECT_NEAR(ProjectRoot->FaultPathReactance({.transformerPower = 400,
                                                 .shortCircuitVoltage = 4.5,
                                                 .groupMaterial = "Медь",
                                                 .panelMaterial = "Медь",
                                                 .switchboardMaterial = "Медь",
                                                 .panel = m2}),
                60 * 0.073 + 18, 1e-9);
    EXPECT_EQ(sw->Panels.Cursor, sw->Panels.First);  // the walk ends on the first panel
}

// After a swap of panels 3 and 4, member 4 stands in front of its feeder 3: the fault path of 4
// still takes all three feeders, 10 + 20 + 30 m.
TEST_F(ShortCircuitTest, AMemberInFrontOfItsFeeder) {
    selection::TreeEdits().SwapPanels(sw, m1, m2);
    TSitid* four = PanelNumbered(4);
    MakeCurrent(sw, four);
    EXPECT_NEAR(PanelResistance(four, 0), 60 * kR10, 1e-9);
    EXPECT_EQ(sw->Panels.Cursor, sw->Panels.First);
}

TEST_F(ShortCircuitTest, FeederWithoutSectionOrKnownMaterialEmptiesTheSums) {
    m1->FeederSection2 = 0;
    MakeCurrent(sw, m2);
    // m2 is added, then m1 empties the sums, then the head is added.
    EXPECT_NEAR(PanelResistance(m2, 0), 30 * kR10, 1e-9);
    m1->FeederSection2 = 10;
    head->FeederConductorMaterial = "Сталь";
    EXPECT_NEAR(PanelResistance(m2, 0), 0.0, 1e-12);
    head->FeederConductorMaterial = "Медь";
    MakeCurrent(sw, radial);
    EXPECT_EQ(ProjectRoot->FaultPathResistance({.panelLength = 50,
                                                .panelSection = 16,
                                                .transformerPower = 400,
                                                .shortCircuitVoltage = 4.5,
                                                .groupMaterial = "Медь",
                                                .panelMaterial = "Алюминий2",
                                                .switchboardMaterial = "Медь",
                                                .panel = radial}),
              0.0);
}

// The group line alone behind a transformer without losses (XT = 4.5 x 1600 / 400 = 18) and an
// infinite system: 10 m of copper 2.5 mm2 in air at 65 C, r0 = 1.19305 x 17.8 / 2.5 = 8.494516,
// x0 = 0.104. Its phase and its breaker are in Z1, the phase, three times the return conductor
// and the breaker in Z0, so the breaker counts three times in |2 Z1 + Z0|:
//   R = 2 x (84.94516 + Rb) + 30 + 84.94516 + 3 x 84.94516 + Rb = 539.67096 + 3 Rb,
//   X = 2 x (18 + 1.04 + Xb) + 18 + 1.04 + 3 x 1.04 + Xb = 60.24 + 3 Xb.
// A rating between two rows of the breaker table takes the smaller row, one below 50 A the 50 A
// row; only no breaker adds nothing.
TEST_F(ShortCircuitTest, GroupLineLoopCountsItsBreakerThreeTimes) {
    TCxemaGrupd* g = AddGroup(radial, {"G", 4, 3, 1, 10}, kCopperCableRows);
    g->CrossSection = 2.5;
    MakeCurrent(sw, radial);
    radial->SchemeGroups.Cursor = g;
    ProjectRoot->SupplyScPower = 1e12;
    const TGrsed::FaultInputs path{.groupLength = 10,
                                   .groupSection = 2.5,
                                   .transformerPower = 400,
                                   .shortCircuitVoltage = 4.5,
                                   .groupMaterial = "Медь"};
    const struct {
        double rating;
        double r, x;
    } cases[] = {{0, 0, 0},         {16, 7, 4.5},  {0.5, 7, 4.5},     {50, 7, 4.5},
                 {63, 3.5, 2},      {500, 0.65, 0.17}, {800, 0.41, 0.13}, {5000, 0.1, 0.05}};
    for (const auto& c : cases) {
        g->BreakerRating = c.rating;
        EXPECT_NEAR(ProjectRoot->LoopImpedance(path, false),
                    std::hypot(539.67096 + 3 * c.r, 60.24 + 3 * c.x), 1e-4)
            << c.rating;
    }
}

TEST_F(ShortCircuitTest, NoSwitchboardSectionNoFaultCurrent) {
    MakeCurrent(sw, m1);
    TGrsed::FaultInputs path = LinePath(m2);
    path.switchboardSection = 0;
    const auto args = [&](auto f) { return (ProjectRoot->*f)(path); };
    EXPECT_EQ(args(&TGrsed::SinglePhaseFaultCurrent), 0.0);
    EXPECT_EQ(args(&TGrsed::ThreePhaseFaultCurrentAtGroup), 0.0);
    EXPECT_EQ(args(&TGrsed::ThreePhaseFaultCurrent), 0.0);
    EXPECT_EQ(sw->Panels.Cursor, m1);  // nothing computed, nothing moved
}

TEST_F(ShortCircuitTest, GivenPanelIsCurrentAfterTheCurrents) {
    MakeCurrent(sw, m2);
    EXPECT_GT(ProjectRoot->SinglePhaseFaultCurrent(LinePath(m2)), 0.0);
    EXPECT_EQ(sw->Panels.Cursor, m2);
    EXPECT_GT(ProjectRoot->ThreePhaseFaultCurrent(LinePath(m2)), 0.0);
    EXPECT_EQ(sw->Panels.Cursor, m2);
}

// The published case of a 1000 kVA transformer, uk 5.5 %, Pk 10.8 kW, faulted at its terminals
// from an infinite source: I(3) 26.24 kA, surge factor 1.544, ip 57.3 kA.
//   RT = 10800 x 0.16 / 1000^2 = 1.728; ua = 1.08 %, XT = sqrt(5.5^2 - 1.08^2) x 1.6 = 8.62867;
//   Z = 8.8, and 400 / (sqrt(3) x 8.8) = 26.243194 kA.
//   phi = atan(XT / RT) = 1.373148, Ta = XT / (314 RT) = 0.0159027 s,
//   k = 1 + sin(phi) exp(-(pi/2 + phi) x 0.01 / (pi Ta)) = 1 + 0.980531 x exp(-0.589263)
//     = 1 + 0.980531 x 0.554736 = 1.543936, ip = sqrt(2) x 26.243194 x 1.543936 = 57.30 kA.
// The largest currents are the bolted ones: no arc takes anything off them.
TEST_F(ShortCircuitTest, TransformerTerminalsFromAnInfiniteSource) {
    ProjectRoot->SupplyScPower = 1e12;  // system reactance 1.6e-10 mOhm
    // Nothing but the transformer: no panel, and materials that are neither copper nor
    // aluminium leave out the group line and the switchboard feeder with its contacts. The
    // switchboard section must still be given: without it there is no fault current at all.
    const TGrsed::FaultInputs terminals{.switchboardSection = 240,
                                        .transformerPower = 1000,
                                        .shortCircuitVoltage = 5.5,
                                        .shortCircuitLosses = 10800};
    const auto at = [&](auto f) { return (ProjectRoot->*f)(terminals); };
    const double r = at(&TGrsed::FaultPathResistance);
    const double x = at(&TGrsed::FaultPathReactance);
    EXPECT_NEAR(r, 1.728, 1e-12);
    EXPECT_NEAR(x, 8.62867, 1e-5);
    EXPECT_NEAR(std::hypot(r, x), 8.8, 1e-12);

    EXPECT_DOUBLE_EQ(at(&TGrsed::ThreePhaseFaultCurrentAtGroup), 26243.2);
    EXPECT_DOUBLE_EQ(at(&TGrsed::ThreePhaseFaultCurrent), 57.30);
}

// A ТМ-630/10 (630 kVA, uk 5.5 %, Pk 7600 W) behind a 180 MVA system: Xs = 160000 / 180000 =
// 0.8889, RT = 7.6 x 0.16e6 / 630^2 = 3.0637, XT = sqrt(5.5^2 - 1.2063^2) x 1600 / 630 = 13.6281.
// The switchboard on 50 m of copper 95 mm2 (protective 50 mm2) in the ground behind a 250 A
// breaker (0.65 + j0.17) and the contacts (0.3 + j0.14); panel 1 on 30 m of copper 16 mm2
// (protective 16 mm2) in air behind a 63 A breaker (3.5 + j2); a line of copper 2.5 mm2 in air on
// a 16 A breaker, which takes the 50 A row (7 + j4.5). Copper at 65 C: r0 = 1.19305 x 17.8 / S
// (95: 0.223541, 50: 0.424726, 16: 1.327268, 2.5: 8.494516), at 20 C 17.8 / S; x0 0.0602 (95),
// 0.0625 (50), 0.0675 (16), 0.104 (2.5).
class WorkedFaultCurrentsTest : public SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        sw = AddSwitchboard(1);
        sw->SwitchboardFeederLength = 50;
        sw->SwitchboardLaying = "В земле";
        sw->SwitchboardBreakerRating = 250;
        panel = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
        panel->FeederLength = 30;
        panel->PanelBreakerRating = 63;
        line = AddGroup(panel, {"1.1", 2, 1, 1, 50}, kCopperCableRows);
        line->CrossSection = 2.5;
        line->BreakerRating = 16;
        MakeCurrent(sw, panel);
        panel->SchemeGroups.Cursor = line;
    }
    TGrsed::FaultInputs Path(TSitid* p = nullptr, TCxemaGrupd* g = nullptr) const {
        TGrsed::FaultInputs in{.switchboardLength = 50,
                               .switchboardSection = 95,
                               .transformerPower = 630,
                               .shortCircuitVoltage = 5.5,
                               .shortCircuitLosses = 7600,
                               .switchboardMaterial = "Медь"};
        if (p) {
            in.panelLength = 30;
            in.panelSection = 16;
            in.panelMaterial = "Медь";
            in.panel = p;
        }
        if (g) {
            in.groupLength = g->LineLength;
            in.groupSection = 2.5;
            in.groupMaterial = "Медь";
        }
        return in;
    }
    TGrsed* sw = nullptr;
    TSitid* panel = nullptr;
    TCxemaGrupd* line = nullptr;
};

// The smallest current, for the trip check: a third of |2 Z1 + Z0| with each cable's zero
// sequence its phase conductor and three times its protective or return conductor, the
// conductors at 65 C, the arc factor.
//   Switchboard: Z1 = 3.0637 + 11.1770 + 0.95 + j(0.8889 + 13.6281 + 3.01 + 0.31)
//                   = 15.1907 + j17.8370;
//     Z0 = 3.0637 + 30 + 11.1770 + 3 x 21.2363 + 0.95 + j(13.6281 + 3.01 + 3 x 3.125 + 0.31)
//        = 108.8997 + j26.3231; |2 Z1 + Z0| = |139.2811 + j61.9971| = 152.456, Z = 50.819,
//     arc factor 0.55 - 0.10164 + 0.71287 - 0.12 x 3.7036 = 0.71675,
//     I = 400 / (sqrt(3) x 50.819) x 0.71675 = 3257.2 A.
//   Panel 1 adds Z1 = 39.8180 + 3.5 + j(2.025 + 2) and Z0 = 4 x 39.8180 + 3.5 + j(4 x 2.025 + 2):
//     |388.687 + j80.147| = 396.866, Z = 132.289, arc factor 0.82415, I = 1438.7 A.
//   The line of 50 m adds Z1 = 424.7258 + 7 + j(5.2 + 4.5), Z0 = 4 x 424.7258 + 7 + j(4 x 5.2
//     + 4.5): Z = 986.893 > 700, arc factor 0.7, I = 400 / (sqrt(3) x 986.893) x 0.7 = 163.8 A;
//     51 m: Z = 1003.875, 161.0 A; 52 m: Z = 1020.858, 158.4 A, below the C16's 160 A.
TEST_F(WorkedFaultCurrentsTest, SinglePhaseCurrentByThePhaseZeroLoop) {
    MakeCurrent(sw, nullptr);
    EXPECT_NEAR(ProjectRoot->LoopImpedance(Path(), false), 152.456, 5e-4);
    EXPECT_DOUBLE_EQ(ProjectRoot->SinglePhaseFaultCurrent(Path()), 3257.2);
    MakeCurrent(sw, panel);
    EXPECT_DOUBLE_EQ(ProjectRoot->SinglePhaseFaultCurrent(Path(panel)), 1438.7);
    const struct {
        double length;
        double current;
    } lines[] = {{50, 163.8}, {51, 161.0}, {52, 158.4}};
    for (const auto& c : lines) {
        line->LineLength = c.length;
        MakeCurrent(sw, panel);
        panel->SchemeGroups.Cursor = line;
        EXPECT_DOUBLE_EQ(ProjectRoot->SinglePhaseFaultCurrent(Path(panel, line)), c.current)
            << c.length << " m";
    }
}

// The largest currents, for breaking capacity and withstand: bolted, the conductors at 20 C.
//   Three-phase: Z1 = 3.0637 + 50 x 0.187368 + 0.95 + j17.8370 = 13.3821 + j17.8370,
//     |Z1| = 22.2989, I = 400 / (sqrt(3) x 22.2989) = 10356.6 A.
//   Surge, on its own path without system, breakers and contacts: R = 3.0637 + 9.3684 =
//     12.4322, X = 13.6281 + 3.01 = 16.6381, |Z| = 20.7699, I = 11.1190 kA; phi = 0.92908,
//     Ta = 16.6381 / (314 x 12.4322) = 0.0042621 s, k = 1 + 0.80107 x exp(-1.86700) = 1.12382,
//     ip = sqrt(2) x 11.1190 x 1.12382 = 17.67 kA.
TEST_F(WorkedFaultCurrentsTest, ThreePhaseCurrentsAreBolted) {
    MakeCurrent(sw, nullptr);
    EXPECT_NEAR(ProjectRoot->LoopImpedance(Path(), true), 22.2989, 5e-5);
    EXPECT_DOUBLE_EQ(ProjectRoot->ThreePhaseFaultCurrentAtGroup(Path()), 10356.6);
    EXPECT_NEAR(ProjectRoot->FaultPathResistance(Path()), 12.4322, 5e-5);
    EXPECT_NEAR(ProjectRoot->FaultPathReactance(Path()), 16.6381, 5e-5);
    EXPECT_DOUBLE_EQ(ProjectRoot->ThreePhaseFaultCurrent(Path()), 17.67);
}

}  // namespace
