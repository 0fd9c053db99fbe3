// The fault path: which feeders it takes, what stops it, and the cursors it leaves.
#include <cmath>

#include "SelectionFixture.h"
#include "TreeLookup.h"
#include "model/TreeEditing.h"
#include "selection/TreeEdits.h"

namespace {

// r0 of copper at 65 C: 1.19305 x 17.8 / S.
constexpr double kR10 = 2.1236290;    // 10 mm2
constexpr double kR16 = 1.327268125;  // 16 mm2

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

TEST_F(ShortCircuitTest, GroupBreakerImpedanceOnlyForRatingsOfTheTable) {
    TCxemaGrupd* g = AddGroup(radial, {"G", 4, 3, 1, 10}, kCopperCableRows);
    g->CrossSection = 2.5;
    MakeCurrent(sw, radial);
    radial->SchemeGroups.Cursor = g;
    TGrsed::FaultInputs path = LinePath(radial);
    path.panelLength = 0;
    const auto loop = [&] { return ProjectRoot->LoopImpedance(path, false); };
    g->BreakerRating = 0;
    const double withoutBreaker = loop();
    g->BreakerRating = 16;
    EXPECT_EQ(loop(), withoutBreaker);
    // A 50 A breaker adds R 7 and X 4.5 to the phase loop, which counts twice.
    g->BreakerRating = 50;
    const double withBreaker = loop();
    EXPECT_GT(withBreaker, withoutBreaker);
    EXPECT_LT(withBreaker, withoutBreaker + 2 * (7 + 4.5));
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
//   Z = 8.8, and 400 / (sqrt(3) x 8.8) = 26.2432 kA.
//   phi = atan(XT / RT) = 1.373148, Ta = XT / (314 RT) = 0.0159027 s,
//   k = 1 + sin(phi) exp(-(pi/2 + phi) x 0.01 / (pi Ta)) = 1 + 0.980531 x exp(-0.589263)
//     = 1 + 0.980531 x 0.554736 = 1.543936.
// The program takes the arc off every fault current: ArcFactor(8.8) = 0.55 - 0.0176
// + 0.1 x 2.966479 - 0.12 x 2.0645 (the cube root cut to four decimals) = 0.581308, so its I(3)
// is 26243.19 x 0.581308 = 15255.4 A and its ip sqrt(2) x 15.25538 x 1.543936 = 33.31 kA.
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

    const double i3 = at(&TGrsed::ThreePhaseFaultCurrentAtGroup);
    const double ip = at(&TGrsed::ThreePhaseFaultCurrent);
    EXPECT_DOUBLE_EQ(i3, 15255.4);
    EXPECT_DOUBLE_EQ(ip, 33.31);
    // Without the arc, the published values: I(3) and ip; the surge factor is their ratio.
    constexpr double kArc = 0.581308;
    EXPECT_NEAR(i3 / kArc / 1000, 26.24, 0.005);
    EXPECT_NEAR(ip / kArc, 57.3, 0.05);
    EXPECT_NEAR(ip / (std::sqrt(2.0) * i3 / 1000), 1.544, 0.0005);
}

}  // namespace
