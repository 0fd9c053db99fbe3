// Cross-sections raised for the voltage deviation at a group.
// The losses and deviations of the fixture project are worked in SectionRaisingFixture.h.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "SectionRaisingFixture.h"

namespace {

using platform::mrOk;

TEST_F(SectionRaisingTest, WithEverythingUpstreamAtItsLargestTheGroupTakesTheSmallestThatReaches) {
    const struct {
        double supply;  // the switchboard's supply section before
        double target;
        double section;
        double deviation;
    } cases[] = {
        {120, -2.5, 16, -0.14},
        {95, -2.5, 16, -0.14},  // the supply steps once to its largest first
        {120, -3.5, 10, -3.21},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        sw->SwitchboardSection = c.supply;
        group->CrossSection = 2.5;
        MakeCurrent(sw, panel);
        panel->SchemeGroups.Cursor = group;
        const double present = checks().PresentGroupDeviation();  // 2.5 mm2: -27.75 %
        ASSERT_DOUBLE_EQ(present, -27.75);
        checks().RaiseCrossSections(c.target, present);
        EXPECT_EQ(group->CrossSection, c.section);
        EXPECT_DOUBLE_EQ(group->VoltageDeviation, c.deviation);
        EXPECT_EQ(sw->SwitchboardSection, 120);
        EXPECT_EQ(panel->FeederSection, 120);
        EXPECT_EQ(sw->Panels.Cursor, panel);
        EXPECT_EQ(panel->SchemeGroups.Cursor, group);
    }
}

TEST_F(SectionRaisingTest, DeviationAboveTheThresholdOnlyRecomputesIt) {
    group->CrossSection = 16;
    checks().RaiseCrossSections(0, -2.39);
    EXPECT_EQ(group->CrossSection, 16);
    EXPECT_DOUBLE_EQ(group->VoltageDeviation, -0.14);
}

// A target no section can reach: the raising ends once no level can step any further.
TEST_F(SectionRaisingTest, UnreachableTargetEndsTheRaising) {
    sw->SwitchboardSection = 70;
    checks().RaiseCrossSections(10, -27.75);
    EXPECT_EQ(sw->SwitchboardSection, 120);
    EXPECT_EQ(panel->FeederSection, 120);
    EXPECT_EQ(group->CrossSection, 2.5);
}

// A group on a cascade member: each cycle raises the feeders of the cascade one entry (with one
// section for the trunk, the member's, given to the whole trunk), and the group takes 16 mm2 as
// soon as that is below the member's feeder section.
TEST_F(SectionRaisingTest, CascadeFeedersStepOneEntryPerCycle) {
    const struct {
        bool oneSection;
        double head, member;  // feeder sections afterwards
    } cases[] = {{false, 35, 25}, {true, 25, 25}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.oneSection);
        DeleteProjectTree(ProjectRoot);
        ProjectRoot = new TGrsed;
        ProjectRoot->TransformerName = "ТМ-400/10";
        sw = AddSwitchboard(1);
        sw->SwitchboardSection = 120;
        TSitid* head = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 0, true);
        TSitid* member = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true, 2, false, 2);
        head->FeederSection2 = 16;
        member->FeederSection2 = 10;
        head->CascadeFlag = c.oneSection;
        TCxemaGrupd* g = AddGroup(member, {"G", 4, 30, 1, 200}, kCopperCableRows);
        g->CrossSection = 2.5;
        MakeCurrent(sw, member);
        member->SchemeGroups.Cursor = g;
        checks().RaiseCrossSections(-2.5, -27.75);
        EXPECT_EQ(g->CrossSection, 16);
        EXPECT_EQ(head->FeederSection2, c.head);
        EXPECT_EQ(member->FeederSection2, c.member);
        EXPECT_EQ(sw->Panels.Cursor, member);
    }
}

// A table lookup that fails on the way ends the raising, and the reduction to a limit that runs
// it: the message of that table once, every section and loss as before, the failure flag set.
TEST_F(SectionRaisingTest, FailedLookupPutsEverythingBack) {
    WriteCableTable("Пустая.xml", "ВВГ", "В воздухе", "Медь", true, {});
    const struct {
        const char* what;
        std::function<void()> prepare;
        std::function<void()> undo;
        const char* message;
        const char* caption;
    } cases[] = {
        {"the panel's table has no rows",
         [&] {
             panel->CurrentTableName = "Пустая.xml";
             panel->FeederBreakerRating = 100;
         },
         [&] { panel->CurrentTableName = kCopperCable; }, "В данной таблице нет данных.",
         "Предупреждение."},
        {"the group's table is gone", [&] { group->CableTable = "Нет.xml"; },
         [&] { group->CableTable = kCopperCable; }, "Таблица  Нет.xml  несуществует в базе данных",
         "Предупреждение"},
    };
    const struct {
        const char* what;
        std::function<void()> run;
    } operations[] = {
        {"raising", [&] { checks().RaiseCrossSections(-2.5, -27.75); }},
        {"reduction to a limit", [&] { checks().ReduceDeviationToLimit(-1); }},
    };
    for (const auto& c : cases) {
        for (const auto& operation : operations) {
            SCOPED_TRACE(std::string(c.what) + ", " + operation.what);
            c.prepare();
            sw->SwitchboardSection = 95;  // steps to 120 before the failure
            MakeCurrent(sw, panel);
            panel->SchemeGroups.Cursor = group;
            const TreeImage before = ImageOf(*ProjectRoot);
            responder_.ExpectMessage(c.message, c.caption, mrOk);
            operation.run();
            responder_.VerifyDone();
            EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
            EXPECT_EQ(sw->SwitchboardSection, 95);
            EXPECT_EQ(checks().FailureFlag, 1);
            EXPECT_EQ(sw->Panels.Cursor, panel);
            EXPECT_EQ(panel->SchemeGroups.Cursor, group);
            c.undo();
        }
    }
}

}  // namespace
