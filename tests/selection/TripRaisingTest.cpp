// Cables and transformer raised until the group and panel breakers trip, and the fault currents
// stored along cascades.
#include "ChecksFixture.h"
#include "selection/SelectionSupport.h"

namespace {

class TripRaisingTest : public ChecksTest {
protected:
    void SetUp() override {
        ChecksTest::SetUp();
        BuildProject();
        group = AddGroup(panel, {"G1", 4, 9, 1, 100}, kCopperCableRows);
        group->BreakerType = "A3";  // multiplicity 10
        group->CrossSection = 2.5;
        panel->PanelBreakerType = "B3";
        MakeCurrent(sw, panel);
        panel->SchemeGroups.Cursor = group;
    }
    // The project's transformer (ТМ-400/10).
    static selection::TransformerRow Project() { return selection::TransformerRows()[1]; }
    // The fault current at the end of the line laid at section g, its return conductor too.
    double AtGroup(double g) {
        const double stored = group->CrossSection;
        group->CrossSection = g;
        selection::FaultPath path;
        path.groupLength = 100;
        path.groupSection = g;
        path.panelLength = panel->FeederLength;
        path.panelSection = panel->FeederSection;
        path.switchboardLength = sw->SwitchboardFeederLength;
        path.switchboardSection = sw->SwitchboardSection;
        path.groupMaterial = path.panelMaterial = path.switchboardMaterial = "Медь";
        path.panel = panel;
        const double current = selection::FaultCurrent(path, Project());
        panel->SchemeGroups.Cursor = group;
        group->CrossSection = stored;
        return current;
    }
    double AtPanel(TSitid* p, double section) {
        selection::FaultPath path;
        path.panelLength = p->FeederLength;
        path.panelSection = section;
        path.switchboardLength = sw->SwitchboardFeederLength;
        path.switchboardSection = sw->SwitchboardSection;
        path.panelMaterial = path.switchboardMaterial = "Медь";
        path.panel = p;
        const double current = selection::FaultCurrent(path, Project());
        MakeCurrent(sw, panel);
        return current;
    }
    TCxemaGrupd* group = nullptr;
};

TEST_F(TripRaisingTest, GroupLineTakesTheSmallestSectionThatTrips) {
    // A rating between the currents of 4 and 6 mm2 (off the breaker impedance table).
    group->BreakerRating = (AtGroup(4) + AtGroup(6)) / 2 / 10;
    ASSERT_LT(AtGroup(4), group->BreakerRating * 10);
    ASSERT_GT(AtGroup(6), group->BreakerRating * 10);
    const selection::TransformerRow t = Project();
    EXPECT_TRUE(checks().RaiseGroupCableForTrip(2.5, 25, 50, t.power, t.uk));
    EXPECT_EQ(group->CrossSection, 6);

    // A current equal to the trip current with the present section neither raises nor passes.
    group->CrossSection = 4;
    group->BreakerRating = AtGroup(4) / 10;
    ASSERT_EQ(group->BreakerRating * 10, AtGroup(4));
    EXPECT_FALSE(checks().RaiseGroupCableForTrip(4, 25, 50, t.power, t.uk));
    EXPECT_EQ(group->CrossSection, 4);
}

// A line chosen at 2.5 mm2 for its current, whose breaker trips from 6 mm2 on: each section is
// tried with both conductors of the line at it, so the raise stops at 6 mm2 and nothing upstream
// moves. Tried with the return conductor left at 2.5 mm2, no section of the table would reach the
// trip current, and the raise went on to the supply cables and the largest sections.
TEST_F(TripRaisingTest, GroupLineIsTriedWithBothItsConductorsAtTheSection) {
    group->CrossSection = 2.5;
    group->BreakerRating = (AtGroup(4) + AtGroup(6)) / 2 / 10;
    const double trip = group->BreakerRating * 10;
    ASSERT_LT(AtGroup(4), trip);
    ASSERT_GT(AtGroup(6), trip);
    selection::FaultPath returnAtStored;
    returnAtStored.groupLength = 100;
    returnAtStored.groupSection = kCopperCableRows.back().section;
    returnAtStored.panelLength = panel->FeederLength;
    returnAtStored.panelSection = panel->FeederSection;
    returnAtStored.switchboardLength = sw->SwitchboardFeederLength;
    returnAtStored.switchboardSection = sw->SwitchboardSection;
    returnAtStored.groupMaterial = returnAtStored.panelMaterial =
        returnAtStored.switchboardMaterial = "Медь";
    returnAtStored.panel = panel;
    ASSERT_LT(selection::FaultCurrent(returnAtStored, Project()), trip);
    panel->SchemeGroups.Cursor = group;

    checks().EnsureGroupTripCurrent();
    EXPECT_EQ(group->CrossSection, 6);
    EXPECT_EQ(group->SinglePhaseFaultCurrent, AtGroup(6));
    EXPECT_EQ(panel->FeederSection, 25);
    EXPECT_EQ(sw->SwitchboardSection, 50);
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");
}

// Nothing brings the breaker to trip: every section, the transformer and the stored current stay.
TEST_F(TripRaisingTest, GroupThatCannotTripKeepsEverything) {
    group->BreakerRating = 3000;
    group->SinglePhaseFaultCurrent = 77;
    const TreeImage before = ImageOf(*ProjectRoot);
    checks().EnsureGroupTripCurrent();
    EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");
    EXPECT_EQ(sw->Panels.Cursor, panel);
}

TEST_F(TripRaisingTest, PanelCableRaisedUntilItsBreakerTrips) {
    panel->FeederBreakerRating = (AtPanel(panel, 25) + AtPanel(panel, 35)) / 2 / 10;
    checks().EnsurePanelTripCurrent();
    EXPECT_EQ(panel->FeederSection, 35);
    EXPECT_EQ(panel->PanelFaultCurrent1, AtPanel(panel, 35));
    EXPECT_EQ(sw->SwitchboardSection, 50);
    EXPECT_GT(sw->SwitchboardFaultCurrent1, panel->PanelFaultCurrent1);

    // Without a supply cable of its own the panel has no fault current, and nothing else moves.
    panel->FeederSection = 0;
    sw->SwitchboardFaultCurrent1 = 1;
    checks().EnsurePanelTripCurrent();
    EXPECT_EQ(panel->PanelFaultCurrent1, 0);
    EXPECT_EQ(sw->SwitchboardFaultCurrent1, 1);
}

TEST_F(TripRaisingTest, CascadeThatCannotTripKeepsItsFeeders) {
    TSitid* head = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 0, true);
    TSitid* member = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true, 2, false, 2);
    head->FeederLength = member->FeederLength = 50;
    head->FeederSection2 = member->FeederSection2 = 10;
    head->TrunkBreakerType = "C3";
    head->TrunkBreakerRating = 4000;
    MakeCurrent(sw, member);
    const TreeImage before = ImageOf(*ProjectRoot);
    checks().EnsurePanelTripCurrent();
    EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
    EXPECT_EQ(sw->Panels.Cursor, member);
}

// Every panel of a cascade gets its fault current once; a plain panel and a head without members
// keep theirs.
TEST_F(TripRaisingTest, FaultCurrentsAlongCascades) {
    // 1 plain; 2 <- 3 <- 4; 5 <- 6 and 5 <- 7; 8 heads nothing.
    struct Feed {
        int number, feeding, head;
    };
    const Feed feeds[] = {{2, 0, 0}, {3, 2, 2}, {4, 3, 2}, {5, 0, 0},
                          {6, 5, 5}, {7, 5, 5}, {8, 0, 0}};
    std::vector<TSitid*> panels = {panel};
    for (const Feed& f : feeds) {
        TSitid* p = AddPanel(sw, f.number, kCopperCable, kCopperCableRows, true, f.feeding,
                             f.feeding == 0, f.head);
        p->FeederLength = 10.0 * f.number;
        p->FeederSection2 = 16;
        panels.push_back(p);
    }
    for (TSitid* p : panels) p->PanelFaultCurrent1 = -1;
    MakeCurrent(sw, panel);
    checks().CascadeFaultCurrents();
    for (TSitid* p : panels) {
        SCOPED_TRACE(p->PanelNumber);
        const bool stored = p->PanelNumber >= 2 && p->PanelNumber <= 7;
        if (stored) {
            EXPECT_EQ(p->PanelFaultCurrent1, AtPanel(p, p->FeederSection));
            EXPECT_GT(p->PanelFaultCurrent1, 0);
        } else {
            EXPECT_EQ(p->PanelFaultCurrent1, -1);
        }
    }
}

// A line on a member of a cascade is fed through the cascade's feeders up to its head, which its
// fault path reads; the member's own radial section plays no part. Its raises step those feeders
// together (each 4 -> 6 mm2 here), and when nothing makes its breaker trip they come back as they
// were and the line is refused.
class CascadeLineTripTest : public TripRaisingTest {
protected:
    void SetUp() override {
        TripRaisingTest::SetUp();
        head = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 0, true);
        member = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true, 2, false, 2);
        head->FeederLength = member->FeederLength = 50;
        for (TSitid* p : {head, member}) {
            p->FeederSection2 = 4;
            p->FeederNeutralSection = 4;
            p->FeederSection = 25;
        }
        // The line at the largest section of its table: only its supply can be raised.
        line = AddGroup(member, {"G3", 2, 1, 1, 10}, kCopperCableRows);
        line->BreakerType = "A1";  // multiplicity 10
        line->CrossSection = 120;
        Current();
    }
    void Current() {
        MakeCurrent(sw, member);
        member->SchemeGroups.Cursor = line;
    }
    // The current at the line's end with both feeders of the cascade at that section.
    double WithFeeders(double section) {
        head->FeederSection2 = member->FeederSection2 = section;
        Current();
        selection::FaultPath path = selection::FaultPathThrough(*sw, sw->SwitchboardSection, member,
                                                                25, line, line->CrossSection);
        const double current = selection::FaultCurrent(path, Project());
        head->FeederSection2 = member->FeederSection2 = 4;
        Current();
        return current;
    }
    TSitid* head = nullptr;
    TSitid* member = nullptr;
    TCxemaGrupd* line = nullptr;
};

TEST_F(CascadeLineTripTest, TheCascadeFeedersAreRaised) {
    const double at4 = WithFeeders(4);
    const double at6 = WithFeeders(6);
    ASSERT_LT(at4, at6);
    line->BreakerRating = (at4 + at6) / 2 / 10;
    EXPECT_TRUE(checks().EnsureGroupTripCurrent());
    EXPECT_EQ(head->FeederSection2, 6);
    EXPECT_EQ(member->FeederSection2, 6);
    EXPECT_EQ(head->FeederNeutralSection, 6);
    EXPECT_EQ(member->FeederNeutralSection, 6);
    EXPECT_EQ(member->FeederSection, 25);
    EXPECT_EQ(sw->SwitchboardSection, 50);
    EXPECT_EQ(line->CrossSection, 120);
    // The current stored is the one of the sections now in force.
    head->FeederSection2 = member->FeederSection2 = 4;
    EXPECT_EQ(line->SinglePhaseFaultCurrent, WithFeeders(6));
    EXPECT_EQ(sw->Panels.Cursor, member);
}

TEST_F(CascadeLineTripTest, ALineNothingMakesTripLeavesTheProjectAsItWas) {
    line->BreakerRating = 1000;  // 10000 A: beyond any section and transformer of the base
    line->SinglePhaseFaultCurrent = 77;
    const TreeImage before = ImageOf(*ProjectRoot);
    EXPECT_FALSE(checks().EnsureGroupTripCurrent());
    EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");
    EXPECT_EQ(sw->Panels.Cursor, member);
}

}  // namespace
