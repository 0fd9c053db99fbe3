// A small project taken through the selection in the order the group dialog runs it: group
// breakers, panel, cascade, switchboard and transformer-side ratings, group and feeder sections,
// the voltage refresh and the fault currents. Every value is worked by hand from the formulas.
//
// Switchboard 1: fed 100 m, copper cable "Кабель4Медь" in air at 25 C (factor 1), feeder cos phi
// 0.9, phase powers 13.2 / 9.2 / 7 kW, design current 60.2 A. Project: 29.4 kW at cos phi 0.9,
// transformer ТМ-400/10 (uk 4.5 %, Pk 5500 W), system 180 MVA.
//   Panel 1, radial: 50 m in the ground at 20 C (x0.95), cos phi 0.95, powers 8 / 4 / 4 kW,
//     design current 38.4 A.
//     G1: single-phase 4 kW cos 1 on phase A, 30 m of wire "Провод2Медь" in a pipe at 35 C.
//     G5: three-phase 12 kW cos 0.8, 40 m of "Кабель4Медь" in air.
//   Panel 2, cascade head: 30 m, cascade powers 5.2 / 5.2 / 3 kW, cascade design current 23.7 A,
//     own design current 13.67 A.
//     G4: three-phase 9 kW cos 1, 10 m of "Кабель4Медь".
//   Panel 3, fed from panel 2: 20 m, powers 2.2 / 2.2 / 0 kW, cascade currents 10.03 / 10.03 / 0.
//     G2: two-phase 4.4 kW cos 1, 20 m of wire in a pipe at 25 C.
#include <cmath>

#include "SelectionFixture.h"

namespace {

class FixtureProjectTest : public SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        ProjectRoot->TotalDesignPower = 29.4;
        ProjectRoot->TotalCosPhi = 0.9;
        ProjectRoot->TotalCurrentA = 60.2;
        ProjectRoot->TotalCurrentB = 45.1;
        ProjectRoot->TotalCurrentC = 33.9;

        sw = AddSwitchboard(1);
        sw->SwitchboardFeederLength = 100;
        sw->SwitchboardCosPhi = 0.9;
        sw->SwitchboardPowerA = 13.2;
        sw->SwitchboardPowerB = 9.2;
        sw->SwitchboardPowerC = 7.0;
        sw->SwitchboardDesignCurrent = 60.2;

        p1 = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
        p1->FeederLength = 50;
        p1->FeederLayingMethod = "В земле";
        p1->FeederTemperature = 20;
        p1->PanelCosPhi = 0.95;
        p1->PanelPowerA = 8;
        p1->PanelPowerB = 4;
        p1->PanelPowerC = 4;
        p1->OwnDesignCurrent = 38.4;

        p2 = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 0, true);
        p2->FeederLength = 30;
        p2->CascadePowerA = 5.2;
        p2->CascadePowerB = 5.2;
        p2->CascadePowerC = 3;
        p2->OwnDesignCurrent = 13.67;
        p2->CascadeDesignCurrent = 23.7;

        p3 = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true, 2, false, 2);
        p3->FeederLength = 20;
        p3->CascadePowerA = 2.2;
        p3->CascadePowerB = 2.2;
        p3->CascadeCurrentA = p3->CascadeCurrentB = 10.03;
        p3->OwnDesignCurrent = 10.03;
        p3->CascadeDesignCurrent = 10.03;
    }

    // Appends a group line and chooses its breaker, as the group dialog does.
    TCxemaGrupd* Enter(TSitid* panel, const GroupLine& line, const std::vector<CableRow>& rows) {
        MakeCurrent(sw, panel);
        TCxemaGrupd* g = AddGroup(panel, line, rows);
        checks().SelectLastGroupBreaker();
        return g;
    }

    // The single-phase fault current at the end of a group line of the panel.
    double FaultCurrent(TSitid* panel, TCxemaGrupd* g, double panelSection) {
        MakeCurrent(sw, panel);
        panel->SchemeGroups.Cursor = g;
        return ProjectRoot->SinglePhaseFaultCurrent(
            {.groupLength = g->LineLength,
             .panelLength = panel->FeederLength,
             .switchboardLength = sw->SwitchboardFeederLength,
             .groupSection = g->CrossSection,
             .panelSection = panelSection,
             .switchboardSection = sw->SwitchboardSection,
             .transformerPower = 400,
             .shortCircuitVoltage = 4.5,
             .shortCircuitLosses = 5500,
             .groupMaterial = g->ConductorMaterial,
             .panelMaterial = panel->FeederConductorMaterial,
             .switchboardMaterial = sw->SwitchboardConductorMaterial,
             .panel = panel});
    }

    TGrsed* sw = nullptr;
    TSitid* p1 = nullptr;
    TSitid* p2 = nullptr;
    TSitid* p3 = nullptr;
};

TEST_F(FixtureProjectTest, SelectionOfTheWholeProject) {
    TCxemaGrupd* g1 =
        Enter(p1, {"G1", 2, 4, 1, 30, kCopperWire, "Два провода в трубе", 35, "Медь", 0},
              kCopperWireRows);
    TCxemaGrupd* g5 = Enter(p1, {"G5", 4, 12, 0.8, 40}, kCopperCableRows);
    TCxemaGrupd* g4 = Enter(p2, {"G4", 4, 9, 1, 10}, kCopperCableRows);
    TCxemaGrupd* g2 =
        Enter(p3, {"G2", 3, 4.4, 1, 20, kCopperWire, "Два провода в трубе"}, kCopperWireRows);

    // Ratings, panel by panel, then the switchboard and the transformer side.
    for (TSitid* p : {p1, p2, p3}) {
        MakeCurrent(sw, p);
        checks().SelectPanelRating();
    }
    checks().SelectSwitchboardBreakerRating();
    checks().SelectTransformerBreakerRating();

    // Cross-sections: groups, the cascade feeders, the switchboard and the radial panel.
    for (auto [p, g] : {std::pair{p1, g1}, {p1, g5}, {p2, g4}, {p3, g2}}) {
        MakeCurrent(sw, p);
        ASSERT_TRUE(checks().SelectGroupCrossSection(g));
    }
    MakeCurrent(sw, p2);
    ASSERT_TRUE(checks().SelectCascadeFeederCables(p3, false));
    ASSERT_TRUE(checks().SelectSwitchboardSectionForBreaker());
    MakeCurrent(sw, p1);
    ASSERT_TRUE(checks().SelectPanelSectionForBreaker());

    // The voltage refresh.
    ASSERT_TRUE(checks().CheckSwitchboardCables());
    for (TSitid* p : {p1, p2, p3}) {
        MakeCurrent(sw, p);
        ASSERT_TRUE(checks().CheckPanelCables());
        checks().SumPanelVoltageLosses();
    }
    for (auto [p, g] : {std::pair{p1, g1}, {p1, g5}, {p2, g4}, {p3, g2}}) {
        MakeCurrent(sw, p);
        ASSERT_TRUE(checks().CheckGroupCables(g->GroupName));
        g->VoltageDeviation = checks().VoltageDeviation(
            checks().GroupVoltageLoss(g->GroupName, g->CrossSection), 220);
    }
    EXPECT_EQ(checks().FailureFlag, 0);

    const struct {
        const char* what;
        double actual;
        double expected;
    } rows[] = {
        // Group breakers, the first series value strictly above the current.
        {"G1 breaker (18.23 A)", g1->BreakerRating, 20},
        {"G5 breaker (4 kW at 0.8: 22.79 A)", g5->BreakerRating, 25},
        {"G4 breaker (13.67 A)", g4->BreakerRating, 16},
        {"G2 breaker (10.03 A)", g2->BreakerRating, 12.5},
        // Panel 1: 40 A for 38.4 A, above its groups (25); its feeder breaker a step above.
        {"panel 1 breaker", p1->PanelBreakerRating, 40},
        {"panel 1 feeder breaker", p1->FeederBreakerRating, 50},
        // Panels 2 and 3 each equal to their single group; the trunk 25 A for 23.7 A.
        {"panel 2 breaker", p2->PanelBreakerRating, 16},
        {"panel 3 breaker", p3->PanelBreakerRating, 12.5},
        {"trunk breaker", p2->TrunkBreakerRating, 25},
        // Switchboard 63 A for 60.2 A (above the panels' 50 A); fed through 80 A; one
        // unchanged switchboard gives the transformer side its 80 A.
        {"switchboard breaker", sw->SwitchboardBreakerRating, 63},
        {"switchboard feeder breaker", sw->SwitchboardInputRating, 80},
        {"transformer breaker", ProjectRoot->TransformerBreakerRating, 80},
        // Group sections: G1 at 35 C (x0.87: 16.53 < 18.23 <= 23.49) takes 2.5, not 1.5.
        {"G1 section", g1->CrossSection, 2.5},
        {"G5 section (27 A)", g5->CrossSection, 2.5},
        {"G4 section", g4->CrossSection, 2.5},
        {"G2 section (19 A)", g2->CrossSection, 1.5},
        {"G2 record's section", p3->TwoPhaseGroups.First->AllowedCurrent2, 1.5},
        {"G1 record's section", p1->SinglePhaseGroups.First->AllowedCurrent1, 2.5},
        // Feeders: 80 A -> 16 (84 A); 50 A in the ground -> 10 (59.85 A); the cascade 10.03 A
        // and 25 A take 2.5, raised to 4 for a copper feeder.
        {"switchboard section", sw->SwitchboardSection, 16},
        {"switchboard neutral", sw->SwitchboardNeutralSection, 16},
        {"panel 1 section", p1->FeederSection, 10},
        {"panel 1 neutral", p1->FeederNeutralSection, 10},
        {"panel 2 cascade section", p2->FeederSection2, 4},
        {"panel 3 cascade section", p3->FeederSection2, 4},
        {"panel 3 neutral", p3->FeederNeutralSection, 4},
        // Switchboard loss by R and X (16 mm2, 25 C, tan 0.4843: 1.169055 mOhm/m): symmetric
        // 21 kW, K 100000: 1.534; two-phase 2.2 kW on each of A and B, K 450000: 0.723; single
        // 4 kW on A, K 600000: 1.754; transformer 0.254 (32.67 kVA at cos 0.9).
        {"switchboard loss A", sw->SwitchboardLossA, 1.534 + 0.723 + 1.754 + 0.254},
        {"switchboard loss B", sw->SwitchboardLossB, 1.534 + 0.723 + 0.254},
        {"switchboard loss C", sw->SwitchboardLossC, 1.534 + 0.254},
        {"switchboard largest loss", sw->SwitchboardLossSum, 4.265},
        // Panel 1 (10 mm2, 20 C, tan 0.3287): symmetric 12 kW 0.676, single 4 kW on A 1.353.
        {"panel 1 loss A", p1->LossPartA, 2.029},
        {"panel 1 loss B", p1->LossPartB, 0.676},
        {"panel 1 total A", p1->VoltageLossA, 2.029 + 4.265},
        {"panel 1 total C", p1->VoltageLossC, 0.676 + 1.788},
        {"panel 1 largest total", p1->MaxVoltageLoss, 6.294},
        // Cascade (4 mm2, cos 1): head 9 kW symmetric 0.767 + 2.2 kW on each of A and B 0.844;
        // the member adds 2.2 kW on each of A and B over 20 m: 0.5624997, 0.562.
        {"panel 2 loss A", p2->LossPartA, 1.611},
        {"panel 2 loss C", p2->LossPartC, 0.767},
        {"panel 3 loss A", p3->LossPartA, 1.611 + 0.562},
        {"panel 3 loss C", p3->LossPartC, 0.767},
        {"panel 3 total B", p3->VoltageLossB, 2.173 + 2.511},
        {"panel 3 total C", p3->VoltageLossC, 0.767 + 1.788},
        // Group lines by C: G1 4 x 30 / (12.8 x 2.5) = 3.75; G5 12 x 40 / (77 x 2.5) = 2.494;
        // G4 9 x 10 / 192.5 = 0.468; G2 4.4 x 20 / (34 x 1.5) = 1.725.
        {"G1 line loss", p1->SinglePhaseByPhase[0].First->VoltageLoss1, 3.75},
        {"G1 total", p1->SinglePhaseByPhase[0].First->ConsumerVoltageLoss1, 3.75 + 6.294},
        {"G5 line loss C", p1->ThreePhaseByPhase[2].First->VoltageLoss3, 2.494},
        {"G2 line loss B", p3->TwoPhaseByPhase[1].First->VoltageLoss2, 1.725},
        // Deviations at 220 V: (230.94 - 2.3094 loss) / 2.2 - 100.
        {"G1 deviation (10.044 %)", g1->VoltageDeviation, -5.57},
        {"G5 deviation (8.788 %)", g5->VoltageDeviation, -4.25},
        {"G4 deviation (6.344 %)", g4->VoltageDeviation, -1.69},
        {"G2 deviation (8.163 %)", g2->VoltageDeviation, -3.60},
    };
    for (const auto& row : rows) EXPECT_NEAR(row.actual, row.expected, 1e-9) << row.what;
    EXPECT_EQ(sw->SwitchboardCableBrand, "ВВГ");
    EXPECT_EQ(p3->FeederCableBrand, "ВВГ");

    // Fault currents at the groups' far ends: a third of |2 Z1 + Z0|, each cable's zero sequence
    // its phase and three times its protective or return conductor, conductors at 65 C. System
    // 0.889, transformer RT 5.5, XT 17.139; switchboard feeder 100 m of 16 mm2 (132.73, 6.75),
    // protective the zero core of the same section, its 63 A breaker (3.5, 2) and contacts (0.3,
    // 0.14). Breakers below 50 A take the 50 A row (7, 4.5).
    //   G1: panel 50 m of 10 mm2 (106.18, 3.65) on a 40 A breaker, group 30 m of 2.5 mm2 wire in
    //   a pipe (254.84, 3.48) on a 20 A breaker: Z/3 = 1022.36, above 700: arc 0.7: 158.1 A.
    //   G5: group 40 m of 2.5 mm2 cable (339.78, 4.16): Z/3 = 1192.09: 135.6 A.
    //   G4: cascade head 30 m of 4 mm2 (159.27, 2.85) on 16 A, group 10 m: Z/3 = 788.78: 204.9 A.
    //   G2: head 30 m and member 20 m of 4 mm2 on 12.5 A, group 20 m of 1.5 mm2 wire (283.15,
    //   2.52): Z/3 = 1404.31: 115.1 A.
    const struct {
        const char* what;
        double actual;
        double expected;
    } faults[] = {
        {"G1", FaultCurrent(p1, g1, p1->FeederSection), 158.1},
        {"G5", FaultCurrent(p1, g5, p1->FeederSection), 135.6},
        {"G4", FaultCurrent(p2, g4, p2->FeederSection2), 204.9},
        {"G2", FaultCurrent(p3, g2, p3->FeederSection2), 115.1},
    };
    for (const auto& row : faults) EXPECT_NEAR(row.actual, row.expected, 1e-9) << row.what;
    EXPECT_EQ(sw->Panels.Cursor, p3);  // the given panel is current again

    // G1 three-phase, bolted, conductors at 20 C: R = 5.5 + 111.25 + 3.8 + 89 + 7 + 213.6 + 7 =
    // 437.15, X = 0.889 + 17.139 + 6.75 + 2.14 + 3.65 + 4.5 + 3.48 + 4.5 = 43.048, Z = 439.264:
    // 400 / (sqrt3 x 439.264) = 525.7 A. Surge, conductors and transformer only: R = 419.35,
    // X = 31.02, Z = 420.50, 0.5492 kA; k = 1.0000: 0.78 kA.
    MakeCurrent(sw, p1);
    p1->SchemeGroups.Cursor = g1;
    TGrsed::FaultInputs path{.groupLength = 30,
                             .panelLength = 50,
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
                             .panel = p1};
    EXPECT_NEAR(ProjectRoot->ThreePhaseFaultCurrentAtGroup(path), 525.7, 1e-9);
    EXPECT_NEAR(ProjectRoot->ThreePhaseFaultCurrent(path), 0.78, 1e-9);
    path.switchboardSection = 0;
    EXPECT_EQ(ProjectRoot->SinglePhaseFaultCurrent(path), 0.0);  // no switchboard section

    // The best case at a group: every cable on its path at its largest section (120 mm2, the
    // wire's 10 mm2). Switchboard (0.180574 mOhm/m) 0.237 + 0.112 + 0.271 + 0.254 = 0.874 /
    // 0.603 / 0.491, panel 1 0.063 + 0.126 = 0.189 / 0.063 / 0.063, G5 12 x 40 / (77 x 120) =
    // 0.052: worst 1.115 on A.
    MakeCurrent(sw, p1);
    EXPECT_NEAR(checks().BestCaseGroupLoss("G5"), 1.115, 1e-9);
    EXPECT_EQ(p1->FeederSection, 10);  // sections stay
    // In the cascade: head 0.054 / 0.054 / 0.026, member +0.019 on A and B; G2 4.4 x 20 /
    // (34 x 10) = 0.259: worst 0.874 + 0.073 + 0.259 = 1.206 on A. The cascade's sections and
    // losses come back.
    MakeCurrent(sw, p3);
    EXPECT_NEAR(checks().BestCaseGroupLoss("G2"), 1.206, 1e-9);
    EXPECT_EQ(p2->FeederSection2, 4);
    EXPECT_EQ(p3->FeederSection2, 4);
    EXPECT_NEAR(p3->LossPartA, 2.173, 1e-9);
    EXPECT_EQ(sw->Panels.Cursor, p3);
}

}  // namespace
