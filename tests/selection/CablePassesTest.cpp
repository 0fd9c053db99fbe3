// The cable and loss passes on their edges: an aborted pass, a cascade head left without
// members, one section for a trunk, a member without a section, and the cursors they leave.
#include "SelectionFixture.h"
#include "TreeLookup.h"
#include "model/TreeEditing.h"
#include "platform/Messages.h"
#include "selection/TreeEdits.h"

namespace {

// Switchboard 1 with a radial panel 1 and the cascade 2 <- 3, all on "Кабель4Медь" in air at
// 25 C, cos phi 1, each carrying 3 kW a phase.
class CablePassesTest : public SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        sw = AddSwitchboard(1);
        radial = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
        head = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 0, true);
        member = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true, 2, false, 2);
        head->FeederLength = 30;
        member->FeederLength = 10;
        for (TSitid* p : {radial, head, member}) {
            p->CascadePowerA = p->CascadePowerB = p->CascadePowerC = 3;
            p->TotalPowerA = p->TotalPowerB = p->TotalPowerC = 3;
        }
        head->TrunkBreakerRating = 25;
        member->CascadeCurrentA = 30;
    }
    TGrsed* sw = nullptr;
    TSitid *radial = nullptr, *head = nullptr, *member = nullptr;
};

TEST_F(CablePassesTest, AbortedPassPutsBackWhatItWrote) {
    head->CurrentTableName = "Нет.xml";
    member->FeederSection2 = 2.5;
    member->FeederCableBrand = "прежняя";
    member->LossPartA = 0.5;
    MakeCurrent(sw, member);
    responder_.ExpectMessage("Таблица  Нет.xml  несуществует в базе данных", "Предупреждение",
                             platform::mrOk);
    // The member's cable is chosen (30 A: 4 mm2), then the head's table is missing.
    EXPECT_FALSE(checks().CheckPanelCables());
    EXPECT_EQ(checks().FailureFlag, 1);
    EXPECT_EQ(member->FeederSection2, 2.5);
    EXPECT_EQ(member->FeederCableBrand, "прежняя");
    EXPECT_EQ(member->LossPartA, 0.5);
    EXPECT_EQ(head->FeederSection2, 0.0);
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, sw);
    EXPECT_EQ(sw->Panels.Cursor, member);
}

TEST_F(CablePassesTest, HeadWithoutMembersIsItsOwnLastMember) {
    member->FedFromPanel = 0;  // the member is gone from the cascade
    MakeCurrent(sw, head);
    EXPECT_TRUE(checks().CheckPanelCables());
    // Trunk 25 A: 2.5 mm2 carries 27 A, a copper feeder takes 4. Loss: r0(4 mm2, 25 C) =
    // 4.5454525; 9 kW symmetric over 30 m: 4.5454525 x 1e5 x 9 x 0.03 / 160000 = 0.76705.
    EXPECT_EQ(head->FeederSection2, 4);
    EXPECT_EQ(head->FeederNeutralSection, 4);
    EXPECT_DOUBLE_EQ(head->LossPartA, 0.767);
    EXPECT_DOUBLE_EQ(head->LossPartC, 0.767);
    EXPECT_EQ(sw->Panels.Cursor, head);
}

TEST_F(CablePassesTest, OneSectionForTheWholeTrunk) {
    head->CascadeFlag = 1;
    head->TrunkBreakerRating = 100;  // 25 mm2 (112 A); the member's 30 A takes 4 mm2
    MakeCurrent(sw, member);
    EXPECT_TRUE(checks().CheckPanelCables());
    EXPECT_EQ(head->FeederSection2, 25);
    EXPECT_EQ(member->FeederSection2, 25);
}

TEST_F(CablePassesTest, ForcedChoiceReplacesLargerSections) {
    member->FeederSection2 = 25;
    head->FeederSection2 = 25;
    EXPECT_TRUE(checks().SelectCascadeFeederCables(member, false));
    EXPECT_EQ(member->FeederSection2, 25);  // 30 A needs 4 mm2: never lowered
    EXPECT_EQ(head->FeederSection2, 25);
    EXPECT_TRUE(checks().SelectCascadeFeederCables(member, true));
    EXPECT_EQ(member->FeederSection2, 4);
    EXPECT_EQ(head->FeederSection2, 4);  // trunk 25 A: 2.5, a copper feeder 4
    EXPECT_EQ(sw->Panels.Cursor, member);
}

TEST_F(CablePassesTest, MemberWithoutSectionShowsNoLossAndAddsNothing) {
    TSitid* last = AddPanel(sw, 4, kCopperCable, kCopperCableRows, true, 3, false, 2);
    last->FeederLength = 10;
    last->CascadePowerA = last->CascadePowerB = last->CascadePowerC = 3;
    head->FeederSection2 = 4;
    member->FeederSection2 = 0;
    last->FeederSection2 = 4;
    member->LossPartA = 9;
    checks().CascadeVoltageLosses(head);
    // Head 0.767 (30 m); the last member's own 10 m: 0.25568 -> 0.256.
    EXPECT_DOUBLE_EQ(head->LossPartA, 0.767);
    EXPECT_EQ(member->LossPartA, 0.0);
    EXPECT_DOUBLE_EQ(last->LossPartB, 0.767 + 0.256);
    EXPECT_DOUBLE_EQ(last->VoltageLossB, 0.767 + 0.256);  // the switchboard adds 0
    EXPECT_EQ(sw->Panels.Cursor, nullptr);                // past the last panel
}

// Member 4 (fed from 3) swapped in front of member 3: the losses still add up from the head down,
// 0.767 for the head's 30 m and 0.256 for each member's 10 m.
TEST_F(CablePassesTest, LossesAlongACascadeWithAMemberInFrontOfItsFeeder) {
    TSitid* last = AddPanel(sw, 4, kCopperCable, kCopperCableRows, true, 3, false, 2);
    last->FeederLength = 10;
    last->CascadePowerA = last->CascadePowerB = last->CascadePowerC = 3;
    for (TSitid* p : {head, member, last}) p->FeederSection2 = 4;
    selection::TreeEdits().SwapPanels(sw, member, last);
    TSitid* three = PanelNumbered(3);
    TSitid* four = PanelNumbered(4);
    checks().CascadeVoltageLosses(head);
    EXPECT_DOUBLE_EQ(head->LossPartA, 0.767);
    EXPECT_DOUBLE_EQ(three->LossPartA, 0.767 + 0.256);
    EXPECT_DOUBLE_EQ(four->LossPartA, 0.767 + 0.256 + 0.256);
}

TEST_F(CablePassesTest, NoCurrentKeepsTheStoredSection) {
    sw->SwitchboardSection = 25;
    sw->SwitchboardInputRating = 0;
    MakeCurrent(sw, radial);
    EXPECT_TRUE(checks().CheckSwitchboardCables());
    EXPECT_EQ(sw->SwitchboardSection, 25);
    EXPECT_EQ(sw->SwitchboardNeutralSection, 16);
    EXPECT_EQ(sw->SwitchboardCableBrand, "ВВГ");
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, sw);
    EXPECT_EQ(sw->Panels.Cursor, radial);

    // A larger current raises it, a smaller one never lowers it.
    sw->SwitchboardInputRating = 160;  // 50 mm2 (167 A)
    EXPECT_TRUE(checks().CheckSwitchboardCables());
    EXPECT_EQ(sw->SwitchboardSection, 50);
    sw->SwitchboardInputRating = 40;
    EXPECT_TRUE(checks().CheckSwitchboardCables());
    EXPECT_EQ(sw->SwitchboardSection, 50);
}

TEST_F(CablePassesTest, ShiftedSupplyLine) {
    radial->OnTrunk = 1;
    radial->FeederBreakerRating = 50;  // 10 mm2 (63 A)
    radial->FeederNeutralSection = 99;
    sw->SwitchboardFeederLength = 100;
    MakeCurrent(sw, radial);
    EXPECT_TRUE(checks().CheckShiftedPanelCables());
    EXPECT_EQ(radial->FeederSectionByCurrent, 10);
    EXPECT_EQ(radial->FeederNeutralSection, 99);  // not touched
    // By C over the switchboard's 100 m: 9 kW symmetric, 900 / (77 x 10) = 1.169.
    EXPECT_DOUBLE_EQ(radial->LossPart2A, 1.169);
    EXPECT_DOUBLE_EQ(radial->LossPart2Sum, 1.169);
}

TEST_F(CablePassesTest, GroupPassClearsTheFlagAndAbortsWithoutTrace) {
    TCxemaGrupd* first = AddGroup(radial, {"G1", 4, 3, 1, 10}, kCopperCableRows);
    TCxemaGrupd* g =
        AddGroup(radial, {"G2", 3, 4.4, 1, 20, "Нет.xml", "Два провода в трубе"}, kCopperWireRows);
    MakeCurrent(sw, radial);
    radial->SchemeGroups.Cursor = first;

    checks().FailureFlag = 1;
    EXPECT_TRUE(checks().CheckGroupCables("Нет такой"));
    EXPECT_EQ(checks().FailureFlag, 0);
    EXPECT_EQ(radial->SchemeGroups.Cursor, first);

    g->CrossSection = 6;
    radial->TwoPhaseGroups.First->AllowedCurrent2 = 1.5;
    responder_.ExpectMessage("Таблица  Нет.xml  несуществует в базе данных", "Предупреждение",
                             platform::mrOk);
    EXPECT_FALSE(checks().CheckGroupCables("G2"));
    EXPECT_EQ(checks().FailureFlag, 1);
    EXPECT_EQ(g->CrossSection, 6);
    EXPECT_EQ(radial->TwoPhaseGroups.First->AllowedCurrent2, 1.5);
}

TEST_F(CablePassesTest, BestCaseWithoutGroupsIsNothing) {
    MakeCurrent(sw, radial);
    EXPECT_EQ(checks().BestCaseGroupLoss("G1"), 0.0);
}

}  // namespace
