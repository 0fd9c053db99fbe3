// The loss of one segment split into its symmetric, two-phase and single-phase parts and stored
// by node kind, and the totals up to panels and groups.
#include "SelectionFixture.h"

namespace {

class VoltageLossTest : public SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        sw = AddSwitchboard(1);
        panel = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
        panel->FeederTemperature = 20;
    }
    TGrsed* sw = nullptr;
    TSitid* panel = nullptr;
};

TEST_F(VoltageLossTest, EqualPhasesTakeOnlyTheSymmetricPart) {
    // r0(16 mm2, 20 C) = 1.1125; RX(n = 4, P = 15): 1.1125 x 1e5 x 15 x 0.1 / 160000 = 1.04297
    checks().VoltageLossToNode("Медь", "Siti", 5, 5, 5, 100, 16, "");
    EXPECT_DOUBLE_EQ(panel->LossPartA, 1.043);
    EXPECT_DOUBLE_EQ(panel->LossPartB, 1.043);
    EXPECT_DOUBLE_EQ(panel->LossPartC, 1.043);
    EXPECT_DOUBLE_EQ(panel->LossPartSum, 1.043);

    // In a cascade the panel's cascade cos phi counts: x0 = 0.0675, tan = 0.75;
    // (1.1125 + 0.050625) x 1e5 x 15 x 0.1 / 160000 = 1.09043
    panel->FedFromSwitchboard = 1;
    panel->CascadeCosPhi = 0.8;
    checks().VoltageLossToNode("Медь", "Siti", 5, 5, 5, 100, 16, "");
    EXPECT_DOUBLE_EQ(panel->LossPartA, 1.090);
}

TEST_F(VoltageLossTest, UnbalancedLoadSplitsIntoTwoAndSinglePhaseParts) {
    // Pa 5, Pb 3, Pc 0: no symmetric part; two-phase part 3 on A and B: C(n = 3, P = 6) =
    // 600 / (34 x 6) = 2.941; single-phase rest 2 on A: C(n = 2, P = 2) = 200 / 76.8 = 2.604.
    checks().VoltageLossToNode("Медь", "Siti_Sdvig", 5, 3, 0, 100, 6, "");
    EXPECT_DOUBLE_EQ(panel->LossPart2A, 2.604 + 2.941);
    EXPECT_DOUBLE_EQ(panel->LossPart2B, 2.941);
    EXPECT_DOUBLE_EQ(panel->LossPart2C, 0.0);
    EXPECT_DOUBLE_EQ(panel->LossPart2Sum, 2.604 + 2.941);
    // By R and X each phase of the pair loses by its own power with K = 450000:
    // Pa 0, Pb 4, Pc 4 at cos 1: 1.1125 x 450000 x 4 x 0.1 / 160000 = 1.2515625
    checks().VoltageLossToNode("Медь", "Siti", 0, 4, 4, 100, 16, "");
    EXPECT_DOUBLE_EQ(panel->LossPartA, 0.0);
    EXPECT_DOUBLE_EQ(panel->LossPartB, 1.252);
    EXPECT_DOUBLE_EQ(panel->LossPartC, 1.252);
}

// A feeder of 50 m of copper 16 mm2 in the ground at 25 C with cos phi 0.95: r0 = 1.02145 x
// 1.1125 = 1.136363, x0 = 0.0675, tan phi = 0.328684, r0 + x0 tan phi = 1.158549 mOhm/m. 10 kW on
// one phase alone: K = 600000, 1.158549 x 600000 x 10 x 0.05 / 160000 = 2.172; on each of two
// phases: K = 450000, 1.629 each; on each of three: K = 100000 for 30 kW, 1.086.
TEST_F(VoltageLossTest, APhaseLosesByItsPhaseVoltage) {
    panel->FeederTemperature = 25;
    panel->FeederLayingMethod = "В земле";
    panel->PanelCosPhi = 0.95;
    const struct {
        double a, b, c;
        double lossA, lossB, lossC;
    } cases[] = {
        {10, 0, 0, 2.172, 0, 0},
        {10, 10, 0, 1.629, 1.629, 0},
        {10, 10, 10, 1.086, 1.086, 1.086},
        {0, 0, 10, 0, 0, 2.172},
        {20, 10, 0, 2.172 + 1.629, 1.629, 0},  // the pair's share and the rest of A alone
    };
    for (const auto& c : cases) {
        checks().VoltageLossToNode("Медь", "Siti", c.a, c.b, c.c, 50, 16, "");
        EXPECT_DOUBLE_EQ(panel->LossPartA, c.lossA) << c.a << " " << c.b << " " << c.c;
        EXPECT_DOUBLE_EQ(panel->LossPartB, c.lossB) << c.a << " " << c.b << " " << c.c;
        EXPECT_DOUBLE_EQ(panel->LossPartC, c.lossC) << c.a << " " << c.b << " " << c.c;
    }
}

TEST_F(VoltageLossTest, GroupLossGoesToTheRecordsOfTheGroup) {
    TCxemaGrupd* g1 =
        AddGroup(panel, {"G1", 2, 4, 1, 30, kCopperWire, "Два провода в трубе"}, kCopperWireRows);
    AddGroup(panel, {"G2", 3, 4.4, 1, 20, kCopperWire, "Два провода в трубе"}, kCopperWireRows);
    AddGroup(panel, {"G3", 4, 6, 1, 10}, kCopperCableRows);
    ASSERT_NE(g1, nullptr);
    // Current records: the single-phase row of G1 (on A), G2's copies, G3's copies.
    // C(n = 2, P = 4, L = 30, S = 2.5) = 120 / 32 = 3.75 on phase A only.
    checks().VoltageLossToNode("Медь", "Grup", 4, 0, 0, 30, 2.5, "G1");
    EXPECT_DOUBLE_EQ(panel->SinglePhaseByPhase[0].Cursor->VoltageLoss1, 3.75);
    EXPECT_DOUBLE_EQ(panel->SinglePhaseByPhase[1].Cursor->VoltageLoss1, 0.0);
    // A two-phase record of another group is left alone; three-phase records take the loss of
    // their phase without a name test.
    EXPECT_DOUBLE_EQ(panel->TwoPhaseByPhase[0].Cursor->VoltageLoss2, 0.0);
    EXPECT_DOUBLE_EQ(panel->ThreePhaseByPhase[0].Cursor->VoltageLoss3, 3.75);
    EXPECT_DOUBLE_EQ(panel->ThreePhaseByPhase[1].Cursor->VoltageLoss3, 0.0);

    // A node kind the loss has no place for stores nothing.
    checks().VoltageLossToNode("Медь", "Xyz", 9, 9, 9, 30, 2.5, "G1");
    EXPECT_DOUBLE_EQ(panel->SinglePhaseByPhase[0].Cursor->VoltageLoss1, 3.75);
}

TEST_F(VoltageLossTest, PanelTotalsAddTheSwitchboardOrTheShiftedSupply) {
    panel->LossPartA = 1.2;
    panel->LossPartB = 1.0;
    panel->LossPartC = 0.8;
    sw->SwitchboardLossA = sw->SwitchboardLossB = sw->SwitchboardLossC = 0.5;
    checks().SumPanelVoltageLosses();
    EXPECT_DOUBLE_EQ(panel->VoltageLossA, 1.7);
    EXPECT_DOUBLE_EQ(panel->VoltageLossB, 1.5);
    EXPECT_DOUBLE_EQ(panel->VoltageLossC, 1.3);
    EXPECT_DOUBLE_EQ(panel->MaxVoltageLoss, 1.7);

    panel->OnTrunk = 1;
    panel->LossPart2A = 0.3;
    panel->LossPart2B = 0.2;
    panel->LossPart2C = 0.1;
    checks().SumPanelVoltageLosses();
    EXPECT_DOUBLE_EQ(panel->VoltageLossA, 1.5);
    EXPECT_DOUBLE_EQ(panel->VoltageLossB, 1.2);
    EXPECT_DOUBLE_EQ(panel->VoltageLossC, 0.9);
    EXPECT_DOUBLE_EQ(panel->MaxVoltageLoss, 1.5);
}

TEST_F(VoltageLossTest, GroupTotalsOnTheGroupsPhases) {
    EXPECT_EQ(checks().GroupVoltageLoss("G1", 2.5), 0.0);  // no scheme group yet

    panel->VoltageLossA = 1.0;
    panel->VoltageLossB = 2.0;
    panel->VoltageLossC = 3.0;
    AddGroup(panel, {"G0", 2, 1, 1, 30, kCopperWire, "Два провода в трубе", 25, "Медь", 0},
             kCopperWireRows);
    TCxemaGrupd* g1 =
        AddGroup(panel, {"G1", 2, 4, 1, 30, kCopperWire, "Два провода в трубе", 25, "Медь", 1},
                 kCopperWireRows);
    TCxemaGrupd* g3 = AddGroup(panel, {"G3", 4, 6, 1, 10}, kCopperCableRows);

    // G1 on phase B (second row): C(n = 2, P = 4, L = 30, S = 2.5) = 3.75; total 3.75 + 2.0.
    EXPECT_DOUBLE_EQ(checks().GroupVoltageLoss("G1", 2.5), 5.75);
    EXPECT_EQ(panel->SchemeGroups.Cursor, g1);
    TFasaGrup1d* b = panel->SinglePhaseByPhase[1].Cursor;
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GroupName1, "G1");
    EXPECT_DOUBLE_EQ(b->ConsumerVoltageLoss1, 5.75);
    EXPECT_DOUBLE_EQ(panel->SinglePhaseByPhase[0].Cursor->ConsumerVoltageLoss1, 0.0);
    EXPECT_EQ(panel->TwoPhaseByPhase[0].Cursor, nullptr);
    EXPECT_EQ(panel->ThreePhaseByPhase[0].Cursor, nullptr);

    // Three-phase: 2 kW per phase; C(n = 4, P = 6, L = 10, S = 2.5) = 60 / 192.5 = 0.312 on
    // each phase; the largest total is on C: 3.312.
    panel->ThreePhaseByPhase[1].First->GroupName3 = "other";
    EXPECT_DOUBLE_EQ(checks().GroupVoltageLoss("G3", 2.5), 3.312);
    EXPECT_EQ(panel->SchemeGroups.Cursor, g3);
    EXPECT_DOUBLE_EQ(panel->ThreePhaseByPhase[0].Cursor->ConsumerVoltageLoss3, 1.312);
    EXPECT_DOUBLE_EQ(panel->ThreePhaseByPhase[1].Cursor->ConsumerVoltageLoss3, 2.312);

    EXPECT_EQ(checks().GroupVoltageLoss("Нет", 2.5), 0.0);
}

TEST_F(VoltageLossTest, LargestPhaseCurrents) {
    TCxemaGrupd* g1 = AddGroup(panel, {"G1", 2, 4, 1, 30}, kCopperCableRows);
    g1->DesignCurrent = 18.0;  // stored, not recomputed
    TCxemaGrupd* g2 = AddGroup(panel, {"G2", 3, 4.4, 1, 20}, kCopperCableRows);
    panel->SchemeGroups.Cursor = g1;
    EXPECT_EQ(checks().MaxGroupPhaseCurrent(), 18.0);
    panel->SchemeGroups.Cursor = g2;
    EXPECT_EQ(checks().MaxGroupPhaseCurrent(), 10.03);  // 2200 / 219.39

    // A record further down with the same name: its row counts, each phase's chain read at the
    // record's place (phase x's current there 10 (k + 1) + x).
    TCxemaGrupd* g3 = AddGroup(panel, {"G3", 3, 4.4, 1, 20}, kCopperCableRows);
    TCxemaGrupd* g4 = AddGroup(panel, {"G4", 3, 4.4, 1, 20}, kCopperCableRows);
    (void)g3;
    (void)g4;
    const auto fields = std::array{&TFasaGrup2dFields::CurrentA, &TFasaGrup2dFields::CurrentB,
                                   &TFasaGrup2dFields::CurrentC};
    for (int x = 0; x < 3; ++x) {
        int k = 0;
        for (TFasaGrup2d* r = panel->TwoPhaseByPhase[x].First; r; r = r->TwoPhaseByPhase[x].Next)
            r->*fields[x] = 10.0 * ++k + x;
    }
    TFasaGrup2d* third = panel->TwoPhaseGroups.First->TwoPhaseGroups.Next->TwoPhaseGroups.Next;
    ASSERT_NE(third, nullptr);
    third->GroupName2 = "G2";
    panel->SchemeGroups.Cursor = g2;
    EXPECT_EQ(checks().MaxGroupPhaseCurrent(), 32.0);  // the third row: 30, 31, 32
    // Phase C's chain ends before that row: it gives nothing there.
    TFasaGrup2d* secondOfC = panel->TwoPhaseByPhase[2].First->TwoPhaseByPhase[2].Next;
    TFasaGrup2d* rest = secondOfC->TwoPhaseByPhase[2].Next;
    secondOfC->TwoPhaseByPhase[2].Next = nullptr;
    EXPECT_EQ(checks().MaxGroupPhaseCurrent(), 31.0);
    secondOfC->TwoPhaseByPhase[2].Next = rest;
    g2->GroupName = "Нет";
    EXPECT_EQ(checks().MaxGroupPhaseCurrent(), 0.0);
    g2->GroupName = "G2";

    panel->OwnCurrentA = 7;
    panel->OwnCurrentB = 9;
    panel->OwnCurrentC = 9;
    EXPECT_EQ(checks().MaxPanelPhaseCurrent(), 9);
    sw->SwitchboardCurrentA = 30;
    sw->SwitchboardCurrentC = 12;
    EXPECT_EQ(checks().MaxSwitchboardPhaseCurrent(), 30);
}

}  // namespace
