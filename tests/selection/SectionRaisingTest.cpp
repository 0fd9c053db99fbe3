// Cross-sections raised for the voltage deviation at a group, and the deviation limit dialog.
//
// The switchboard and the panel carry no load here, so every loss is the group line's own:
// 30 kW three-phase over L m of copper, by the coefficient C = 77: 30 x L / (77 x S) per cent.
// The deviation at 220 V: U = 400 / sqrt 3 x (1 - loss / 100), U x 100 / 220 - 100.
//   L = 200 m: S = 10 mm2: loss 7.792 %, -3.21 %; S = 16 mm2: loss 4.870 %, -0.14 %.
//   L = 2000 m: S = 120 mm2: loss 6.494 %, -1.84 % (the best any section gives).
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "ChecksFixture.h"
#include "app/Mainform.h"

namespace {

using platform::mrOk;

class SectionRaisingTest : public ChecksTest {
protected:
    void SetUp() override {
        ChecksTest::SetUp();
        BuildProject();
        sw->SwitchboardBreakerType = "";
        sw->SwitchboardInputRating = 0;
        sw->SwitchboardSection = 120;  // the largest of the copper table
        panel->FeederSection = 120;
        group = AddGroup(panel, {"G", 4, 30, 1, 200}, kCopperCableRows);
        group->CrossSection = 2.5;
        MakeCurrent(sw, panel);
        panel->SchemeGroups.Cursor = group;
    }
    TCxemaGrupd* group = nullptr;
};

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
        const double present = dan().PresentGroupDeviation();  // 2.5 mm2: -27.75 %
        ASSERT_DOUBLE_EQ(present, -27.75);
        dan().RaiseCrossSections(c.target, present);
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
    dan().RaiseCrossSections(0, -2.39);
    EXPECT_EQ(group->CrossSection, 16);
    EXPECT_DOUBLE_EQ(group->VoltageDeviation, -0.14);
}

// A target no section can reach: the raising ends once no level can step any further.
TEST_F(SectionRaisingTest, UnreachableTargetEndsTheRaising) {
    sw->SwitchboardSection = 70;
    dan().RaiseCrossSections(10, -27.75);
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
        dan().RaiseCrossSections(-2.5, -27.75);
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
        {"raising", [&] { dan().RaiseCrossSections(-2.5, -27.75); }},
        {"reduction to a limit", [&] { dan().ReduceDeviationToLimit(-1); }},
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
            EXPECT_EQ(dan().FailureFlag, 1);
            EXPECT_EQ(sw->Panels.Cursor, panel);
            EXPECT_EQ(panel->SchemeGroups.Cursor, group);
            c.undo();
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The deviation limit dialog

TEST_F(SectionRaisingTest, DeviationDialogLayout) {
    QPushButton* button = dan().ShowDeviationDialog();
    ASSERT_NE(button, nullptr);
    QDialog& form = *dan().DeviationForm;
    EXPECT_EQ(form.windowTitle().toStdString(), "Отклонение напряжения %");
    EXPECT_EQ(form.size(), QSize(200, 150));
    EXPECT_EQ(form.minimumSize(), QSize(200, 150));
    EXPECT_EQ(dan().DeviationEdit->text().toStdString(), "-2,5");
    EXPECT_EQ(button->text().toStdString(), "Ok");
    EXPECT_EQ(dan().DeviationEdit->y(), 50);
    EXPECT_EQ(button->y(), 90);
    EXPECT_EQ(dan().DeviationEdit->x(), 100 - dan().DeviationEdit->width() / 2);
    EXPECT_EQ(button->x(), 100 - button->width() / 2);
    EXPECT_EQ(form.x(), Form1->width() / 2 - 100);
    // A second call makes a new dialog; the first one is gone.
    QPointer<QDialog> first = dan().DeviationForm;
    dan().ShowDeviationDialog();
    EXPECT_TRUE(first.isNull());
}

// A limit that is not a number is refused and the dialog stays; a positive limit counts as
// negative, with "." or "," as the separator.
TEST_F(SectionRaisingTest, LimitTypedInTheDialog) {
    QPushButton* button = dan().ShowDeviationDialog();
    responder_.ExpectModal("QDialog", [&](QDialog& d) {
        dan().DeviationEdit->setText("abc");
        button->click();
        EXPECT_EQ(d.result(), platform::mrNone);
        dan().DeviationEdit->setText("2.5");
        button->click();
        return platform::mrNone;
    });
    responder_.ExpectMessage("Введите допустимое отклонение напряжения.", "Предупреждение.", mrOk);
    EXPECT_EQ(platform::ShowModal(*dan().DeviationForm), mrOk);
    EXPECT_EQ(group->CrossSection, 16);
    EXPECT_DOUBLE_EQ(group->VoltageDeviation, -0.14);
}

// The largest sections cannot reach the limit: every cable on the path takes its largest and
// the best deviation is reported.
TEST_F(SectionRaisingTest, LimitBeyondReachGivesTheLargestSections) {
    group->LineLength = 2000;
    panel->ThreePhaseGroups.First->LineLength3 = 2000;
    sw->SwitchboardSection = 95;
    panel->FeederSection = 70;
    QPushButton* button = dan().ShowDeviationDialog();
    responder_.ExpectModal("QDialog", [&](QDialog&) {
        dan().DeviationEdit->setText("-1");
        button->click();
        return platform::mrNone;
    });
    responder_.ExpectMessage("Макснмальное отклонение напряжения  -1,84%.", "", mrOk);
    platform::ShowModal(*dan().DeviationForm);
    EXPECT_EQ(LastMessage().icon, platform::MsgIcon::None);
    EXPECT_EQ(group->CrossSection, 120);
    EXPECT_EQ(sw->SwitchboardSection, 120);
    EXPECT_EQ(panel->FeederSection, 120);
    EXPECT_DOUBLE_EQ(group->VoltageDeviation, -1.84);
    EXPECT_EQ(sw->Panels.Cursor, panel);
}

}  // namespace
