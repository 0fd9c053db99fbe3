// Breaker ratings graded along the network and the cross-sections chosen for groups and for
// feeders by their breakers.
#include <vector>

#include "SelectionFixture.h"

namespace {

class RatingsTest : public SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        sw = AddSwitchboard(1);
    }
    // A scheme group with a breaker rating only.
    void AddRatedGroup(TSitid* panel, const std::string& name, double rating) {
        AddGroup(panel, {name, 4, 3, 1, 10}, kCopperCableRows)->BreakerRating = rating;
    }
    TGrsed* sw = nullptr;
};

TEST_F(RatingsTest, PanelRatingAboveItsGroups) {
    struct Case {
        std::vector<double> groups;
        double designCurrent;
        double rating, feeder;
        const char* why;
    };
    const std::vector<Case> cases = {
        {{25}, 18, 25, 32, "one group: its rating"},
        {{25, 25}, 18, 32, 40, "two groups: a step above"},
        {{16, 25}, 30, 32, 40, "32 above 25 already"},
        {{10}, 3999, 4000, 4000, "4000 A stays"},
        {{33, 20}, 20, 25, 32, "33 A is no series value: no step"},
        {{20}, 4001, 5000, 5000, "beyond the series: no feeder step"},
    };
    int number = 1;
    for (const Case& c : cases) {
        TSitid* p = AddPanel(sw, number++, kCopperCable, kCopperCableRows, true);
        for (std::size_t i = 0; i < c.groups.size(); ++i)
            AddRatedGroup(p, "G" + std::to_string(number) + "_" + std::to_string(i), c.groups[i]);
        p->OwnDesignCurrent = c.designCurrent;
        p->FeederBreakerRating = 5000;  // as a panel beyond the series leaves it
        MakeCurrent(sw, p);
        checks().SelectPanelRating();
        EXPECT_EQ(p->PanelBreakerRating, c.rating) << c.why;
        EXPECT_EQ(p->FeederBreakerRating, c.feeder) << c.why;
        EXPECT_EQ(sw->Panels.Cursor, p) << c.why;
    }

    // A plain panel without groups is left alone.
    TSitid* empty = AddPanel(sw, 99, kCopperCable, kCopperCableRows, true);
    empty->PanelBreakerRating = 7;
    empty->OwnDesignCurrent = 50;
    checks().SelectPanelRating();
    EXPECT_EQ(empty->PanelBreakerRating, 7);
}

TEST_F(RatingsTest, TrunkBreakerOfTheCascadeHead) {
    TSitid* head = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true, 0, true);
    TSitid* member = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 1, false, 1);
    head->CascadeDesignCurrent = 18;  // 20 A on the series
    struct Case {
        double memberRating, trunk;
        const char* why;
    };
    const Case cases[] = {
        {0, 25, "members without rating: a step above its own 20 A"},
        {32, 40, "a step above the largest member"},
        {16, 20, "already above the members"},
    };
    for (const Case& c : cases) {
        member->PanelBreakerRating = c.memberRating;
        MakeCurrent(sw, member);
        checks().SelectCascadeHeadRating();
        EXPECT_EQ(head->TrunkBreakerRating, c.trunk) << c.why;
        EXPECT_EQ(sw->Panels.Cursor, member) << c.why;
    }
    // A panel in no cascade has no trunk breaker.
    TSitid* plain = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true);
    plain->CascadeDesignCurrent = 18;
    checks().SelectCascadeHeadRating();
    EXPECT_EQ(plain->TrunkBreakerRating, 0.0);
}

TEST_F(RatingsTest, ShiftedBreakerKeeps630) {
    TSitid* p = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
    p->OnTrunk = 1;
    const double cases[][2] = {{630, 630}, {500, 630}, {1000, 1600}, {25, 32}};
    for (const auto& c : cases) {
        p->FeederBreakerRating = c[0];
        checks().SelectRatingsOnSeries();
        EXPECT_EQ(p->CascadeBreakerRating, c[1]) << c[0];
    }
    // A member's trunk breaker gives the breaker ahead of its shifted head.
    TSitid* head = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 0, true);
    head->OnTrunk = 1;
    TSitid* member = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true, 2, false, 2);
    member->TrunkBreakerRating = 400;
    checks().SelectRatingsOnSeries();
    EXPECT_EQ(head->CascadeBreakerRating, 500);
}

TEST_F(RatingsTest, SwitchboardRatingAboveItsPanels) {
    TSitid* p1 = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
    TSitid* head = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 0, true);
    TSitid* shifted = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true);
    p1->FeederBreakerRating = 100;
    AddRatedGroup(p1, "G1", 20);
    head->TrunkBreakerRating = 63;
    head->FeederBreakerRating = 250;  // a head counts with its trunk breaker
    shifted->OnTrunk = 1;
    shifted->FeederBreakerRating = 400;  // fed past the switchboard: not counted
    AddRatedGroup(shifted, "G3", 20);
    sw->SwitchboardDesignCurrent = 90;  // 100 A on the series
    MakeCurrent(sw, head);

    checks().SelectSwitchboardBreakerRating();
    EXPECT_EQ(sw->SwitchboardBreakerRating, 100);  // one loaded panel: its breaker
    EXPECT_EQ(sw->SwitchboardInputRating, 125);
    EXPECT_EQ(sw->Panels.Cursor, head);

    AddRatedGroup(head, "G2", 20);
    checks().SelectSwitchboardBreakerRating();
    EXPECT_EQ(sw->SwitchboardBreakerRating, 125);  // two loaded panels: a step above
    EXPECT_EQ(sw->SwitchboardInputRating, 160);
}

TEST_F(RatingsTest, TransformerSideBreaker) {
    TGrsed* second = nullptr;
    struct Case {
        double projectCurrent;
        bool twoSwitchboards;
        bool changed;
        double largestFeeder, expected;
        const char* why;
    };
    const Case cases[] = {
        {700, false, false, 630, 1000, "1000 A above the switchboards"},
        {700, true, false, 1600, 1600, "the switchboard's 1600 A, no step above 630 A"},
        {300, true, false, 400, 500, "320 A below 400 A: a step above"},
        {300, false, false, 400, 400, "one unchanged switchboard: its own breaker"},
        {300, false, true, 400, 500, "one changed switchboard: a step above"},
        {300, true, false, 630, 630, "630 A stays"},
    };
    for (const Case& c : cases) {
        if (c.twoSwitchboards && !second) second = AddSwitchboard(2);
        if (!c.twoSwitchboards && second) {
            // Back to one switchboard: the root counts one.
            ProjectRoot->SwitchboardCount = 1;
        } else if (second) {
            ProjectRoot->SwitchboardCount = 2;
        }
        ProjectRoot->TotalCurrentA = c.projectCurrent;
        ProjectRoot->TotalCurrentB = c.projectCurrent / 2;
        sw->SwitchboardInputRating = c.largestFeeder;
        sw->ChangedMark = c.changed;
        if (second) second->SwitchboardInputRating = 40;
        checks().SelectTransformerBreakerRating();
        EXPECT_EQ(ProjectRoot->TransformerBreakerRating, c.expected) << c.why;
    }
}

TEST_F(RatingsTest, NextRatingsAboveTheLastGroup) {
    TSitid* p = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
    EXPECT_EQ(checks().NextStandardRating(), 0.0);  // no group
    AddRatedGroup(p, "G1", 63);
    AddRatedGroup(p, "G2", 25);
    p->SchemeGroups.Cursor = p->SchemeGroups.First;
    const double cases[][3] = {
        {25, 32, 40}, {4000, 4000, 4000}, {2500, 4000, 4000}, {33, 0, 0}, {0, 0, 0}};
    for (const auto& c : cases) {
        p->SchemeGroups.Last->BreakerRating = c[0];
        EXPECT_EQ(checks().NextStandardRating(), c[1]) << c[0];
        EXPECT_EQ(checks().NextButOneStandardRating(), c[2]) << c[0];
        EXPECT_EQ(p->SchemeGroups.Cursor, p->SchemeGroups.Last);
    }
}

TEST_F(RatingsTest, LastGroupBreakerStrictlyAboveItsCurrent) {
    TSitid* p = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
    checks().SelectLastGroupBreaker();  // no group: nothing

    TCxemaGrupd* g1 = AddGroup(p, {"G1", 2, 4, 1, 30}, kCopperCableRows);
    checks().SelectLastGroupBreaker();
    EXPECT_EQ(g1->BreakerRating, 20);  // 4000 / 219.39 = 18.23 A
    TCxemaGrupd* g2 = AddGroup(p, {"G2", 3, 4.4, 1, 20}, kCopperCableRows);
    checks().SelectLastGroupBreaker();
    EXPECT_EQ(g2->BreakerRating, 12.5);  // 10.03 A on phases A and B
    TCxemaGrupd* g3 = AddGroup(p, {"G3", 4, 3000, 1, 20}, kCopperCableRows);
    checks().SelectLastGroupBreaker();
    EXPECT_EQ(g3->BreakerRating, 5000);  // 1000 kW a phase: 4558 A, beyond the series
    EXPECT_EQ(p->SchemeGroups.Cursor, g3);
    EXPECT_EQ(p->TwoPhaseGroups.Cursor, p->TwoPhaseGroups.Last);
    EXPECT_EQ(p->ThreePhaseGroups.Cursor, p->ThreePhaseGroups.Last);
    EXPECT_EQ(g1->BreakerRating, 20);
}

TEST_F(RatingsTest, GroupCrossSectionFromItsTable) {
    TSitid* p = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
    // 18.23 A; wire at 35 C in a pipe (air column x0.94): 17.86 < 18.23 <= 25.38.
    TCxemaGrupd* g1 =
        AddGroup(p, {"G1", 2, 4, 1, 30, kCopperWire, "Два провода в трубе", 35}, kCopperWireRows);
    // 75.97 A at 30 C: in air (x0.94) 16 mm2 carries 78.96; in the ground (x0.84) 70.56 does
    // not, 25 mm2 (94.08) does. The choice replaces what the group had.
    TCxemaGrupd* air =
        AddGroup(p, {"G2", 4, 50, 1, 10, kCopperCable, "В воздухе", 30}, kCopperCableRows);
    TCxemaGrupd* ground =
        AddGroup(p, {"G3", 4, 50, 1, 10, kCopperCable, "В земле", 30}, kCopperCableRows);
    TCxemaGrupd* two =
        AddGroup(p, {"G4", 3, 4.4, 1, 20, kCopperWire, "Два провода в трубе"}, kCopperWireRows);
    TCxemaGrupd* idle = AddGroup(p, {"G5", 2, 4, 0, 30, kCopperWire}, kCopperWireRows);
    air->CrossSection = 95;

    struct Case {
        TCxemaGrupd* group;
        double expected;
    };
    const Case cases[] = {{g1, 2.5}, {air, 16}, {ground, 25}, {two, 1.5}, {idle, 0}};
    for (const Case& c : cases) {
        EXPECT_TRUE(checks().SelectGroupCrossSection(c.group));
        EXPECT_EQ(c.group->CrossSection, c.expected) << c.group->GroupName;
        EXPECT_EQ(p->SchemeGroups.Cursor, c.group);
    }
    // The two-phase record keeps the section too, and the cursors stay on its copies.
    EXPECT_EQ(p->TwoPhaseGroups.Cursor->AllowedCurrent2, 1.5);
    EXPECT_EQ(p->TwoPhaseByPhase[0].Cursor->GroupName2, "G4");

    // A two-phase group whose record carries another name gets nothing.
    p->TwoPhaseGroups.First->GroupName2 = "другая";
    two->CrossSection = 0;
    EXPECT_TRUE(checks().SelectGroupCrossSection(two));
    EXPECT_EQ(two->CrossSection, 0.0);

    EXPECT_TRUE(checks().SelectGroupCrossSection(nullptr));
    EXPECT_EQ(p->SchemeGroups.Cursor, two);
}

TEST_F(RatingsTest, FeederSectionsForTheirBreakers) {
    TSitid* p = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
    p->FeederLayingMethod = "В земле";
    p->FeederTemperature = 20;  // ground x0.95: 43.7 < 50 <= 59.85
    p->FeederBreakerRating = 50;
    p->FeederSection = 35;  // replaced, not kept
    EXPECT_TRUE(checks().SelectPanelSectionForBreaker());
    EXPECT_EQ(p->FeederSection, 10);
    EXPECT_EQ(p->FeederNeutralSection, 10);

    TSitid* al = AddPanel(sw, 2, kAluminiumCable, kAluminiumCableRows, true);
    al->FeederBreakerRating = 16;  // 4 mm2 carries it, an aluminium feeder has 6 at least
    EXPECT_TRUE(checks().SelectPanelSectionForBreaker());
    EXPECT_EQ(al->FeederSection, 6);

    sw->SwitchboardInputRating = 100;  // 112 A: 25 mm2, its zero core 16
    EXPECT_TRUE(checks().SelectSwitchboardSectionForBreaker());
    EXPECT_EQ(sw->SwitchboardSection, 25);
    EXPECT_EQ(sw->SwitchboardNeutralSection, 16);
}

}  // namespace
