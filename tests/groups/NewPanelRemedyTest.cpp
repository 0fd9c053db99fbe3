// The new-panel remedy as a user meets it: a group line that its panel's breaker cannot protect
// is offered a new panel, connected in the reduced connection window and moved there with its
// marks; declining, or closing that window, leaves the project as before.
#include <QTest>

#include "GroupsFixture.h"
#include "ProjectFileDiff.h"
#include "ScreenCapture.h"
#include "WindowChecks.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "groups/InsertAvtomat.h"
#include "model/Chains.h"
#include "platform/Conversions.h"
#include "platform/Image.h"
#include "selection/CheckSupport.h"

using platform::mrNo;
using platform::mrYes;

namespace {

constexpr char kShortOffer[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Подключить новый щит?";
constexpr char kRefusedGroup[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Данная группа "
    "отменяется";
constexpr char kLongOffer[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Проложить новый "
    "кабель,установить отдельный автомат и подключить новый щит?";
constexpr char kCaption[] = "Предупреждение";

}  // namespace

class NewPanelRemedyTest : public GroupDialogTest {
protected:
    void SetUp() override {
        GroupDialogTest::SetUp();
        // Panel 3, whose feeder is long enough for its fault current to be held against its
        // breaker; panel 1 stays empty. The switchboard's supply is long enough for the fault
        // current at the switchboard to be no more than 1.6 times that at panel 3, so that a
        // switchboard breaker one step above the panel's feeder breaker does not trip either.
        panel3 = AddPanel(sw, 3);
        panel3->FeederLength = 50;
        sw->SwitchboardFeederLength = 100;
        // With that supply some lines' deviation is worth the question; it plays no part here.
        responder_.AnswerEveryMessage("Отклонение напряжения на потребителе  ", platform::mrNo);
        // The connection window lists the switchboards of the project, as after opening it.
        Shiti->ComboBox2->addItem("1");
        // Series "C3" is never held against a short circuit.
        WriteBreakerBase({{"A1", 0.32, 1600, 1, 0},
                          {"A2", 0.32, 1600, 2, 0},
                          {"A3", 0.32, 1600, 3, 0},
                          {"A4", 0.32, 1600, 4, 0},
                          {"C3", 0.32, 1600, 3, 0}});
        OpenGroupWindow();
    }

    // A breaker dialog answered with that series.
    void ExpectBreakerChoice(const std::string& target, const std::string& series) {
        responder_.ExpectModal("TInsertAvtomat", [target, series](QDialog&) {
            EXPECT_EQ(InsertAvtomat->GroupBox1->title().toStdString(), target);
            const int index = InsertAvtomat->ComboBox1->findText(QString::fromStdString(series));
            EXPECT_GE(index, 0) << series;
            InsertAvtomat->ComboBox1->setCurrentIndex(index);
            QTest::mouseClick(InsertAvtomat->Button2, Qt::LeftButton);
            return platform::mrNone;
        });
    }

    // A three-phase line of 20 kW on panel 3 while no breaker is held against a short circuit:
    // 20000 / (sqrt 3 x 380) = 30.39 A, so the group breaker is 32 A, the panel's 32 A and its
    // feeder breaker one step above, 40 A. The switchboard's series decides which check fails
    // later: "A3" the switchboard's (the offer of a new cable and a separate breaker), "C3" the
    // panel feeder's (the offer of a new panel only).
    void AddLargeLine(const std::string& switchboardSeries) {
        Entry large;
        large.panel = "3";
        large.conductors = "4";
        large.power = "20";
        large.length = "2";
        large.table = kCable4;
        large.name = "Гр0";
        large.cable = "К0";
        Fill(large);
        ExpectBreakerDialogs({"Группы", "Щит"});
        ExpectBreakerChoice("Грщ", switchboardSeries);
        ExpectBreakerChoice("Секция КТП", "C3");
        Apply();
        responder_.VerifyDone();
        ASSERT_EQ(panel3->FeederBreakerRating, 40);
    }

    // Every breaker of the base but "C3" trips at m x its rating, m chosen so that the
    // single-phase fault current I at panel 3 (its feeder and the supply at the largest section
    // of their table, the largest transformer) lies between 40 A and 63 A times it: m = I / 50.
    // Single-pole breakers ("A1") may be left unheld, so that a line far from its panel passes
    // its own check.
    // `extra`: further series, after those; `smallestThreePole`: the smallest rating of the
    // three-pole series.
    void HoldBreakersAgainstShortCircuit(double largestA3 = 1600, bool singlePoleHeld = true,
                                         const std::vector<BreakerSeriesRow>& extra = {},
                                         double smallestThreePole = 0.32) {
        selection::FaultPath path;
        path.panelLength = panel3->FeederLength;
        path.switchboardLength = sw->SwitchboardFeederLength;
        path.panelSection = path.switchboardSection = kFeederRows.back().section;
        path.panelMaterial = path.switchboardMaterial = "Медь";
        path.panel = panel3;
        path.givenSection = true;
        ProjectRoot->Switchboards.Cursor = sw;
        sw->Panels.Cursor = panel3;
        const double current = selection::FaultCurrent(path, {"ТМ-630/10", 630, 0, 0});
        ASSERT_GT(current, 0);
        const double m = current / 50;
        std::vector<BreakerSeriesRow> rows = {{"A1", 0.32, 1600, 1, singlePoleHeld ? m : 0},
                                              {"A2", 0.32, 1600, 2, m},
                                              {"A3", smallestThreePole, largestA3, 3, m},
                                              {"A4", 0.32, 1600, 4, m},
                                              {"C3", smallestThreePole, 1600, 3, 0}};
        rows.insert(rows.end(), extra.begin(), extra.end());
        WriteBreakerBase(rows);
    }

    // A small line on 2 m: single-phase 2.2 kW (10 A on phase A, so phase A carries 40.39 A), or
    // three-phase 7 kW (10.64 A, 41.03 A): the panel's breaker becomes 50 A and its feeder
    // breaker 63 A, which the fault current does not trip; on a panel of its own the line's
    // breaker (12.5 A) and the new feeder's do.
    static Entry SmallLine(const std::string& panel, const std::string& name,
                           const std::string& cable, const std::string& conductors = "2") {
        Entry small;
        small.panel = panel;
        small.conductors = conductors;
        small.length = "2";
        small.name = name;
        small.cable = cable;
        if (conductors == "4") {
            small.power = "7";
            small.table = kCable4;
        }
        return small;
    }

    // The reduced connection window: the user chooses the laying method and the table, types
    // the panel's number and cable name and presses "Соединить".
    void ExpectNewPanelWindow(const std::string& number, const std::string& cable) {
        responder_.ExpectModal("TShiti", [number, cable](QDialog&) {
            TShiti& s = *Shiti;
            EXPECT_EQ(s.CurrentLayout(), TShiti::Layout::NewPanelRemedy);
            EXPECT_TRUE(s.Edit1->isEnabled());
            EXPECT_EQ(s.Edit4->text().toStdString(), "50");
            Choose(*s.ComboBox5, "В воздухе");
            Choose(*s.ComboBox3, kFeeder);
            Type(*s.Edit1, number);
            Type(*s.Edit8, cable);
            Click(*s.Button4);
            return platform::mrNone;
        });
    }

    // The old panel without the line is checked again with its breakers from the panel up to
    // the section chosen afresh (the switchboard's series as before).
    void ExpectRecheckBreakers(const std::string& switchboardSeries) {
        ExpectBreakerDialogs({"Щит"});
        ExpectBreakerChoice("Грщ", switchboardSeries);
        ExpectBreakerChoice("Секция КТП", "C3");
    }

    // The breaker of the new panel chosen after the move; the switchboard's and the section's
    // chosen in the recheck stand.
    void ExpectNewPanelBreakers() { ExpectBreakerDialogs({"Щит"}); }

    // "Гр1" (2.2 kW on one phase, or 7 kW on three) after "Гр0" on panel 3, once breakers are
    // held against a short circuit: the offer answered Yes, the line moved to new panel 7.
    void MoveSecondLineToPanel7(const std::string& switchboardSeries,
                                const std::string& conductors = "2") {
        AddLargeLine(switchboardSeries);
        HoldBreakersAgainstShortCircuit();
        Fill(SmallLine("3", "Гр1", "К1", conductors));
        ExpectBreakerDialogs({"Группы"});
        responder_.ExpectMessage(switchboardSeries == "A3" ? kLongOffer : kShortOffer, kCaption,
                                 mrYes);
        ExpectRecheckBreakers(switchboardSeries);
        ExpectNewPanelWindow("7", "КЩ7");
        ExpectNewPanelBreakers();
        Apply();
        responder_.VerifyDone();
    }

    // The line "Гр1" refused with its new panel 7: the project as `before` the line.
    void ExpectRefusedWithTheNewPanel(const TreeImage& before) {
        EXPECT_EQ(Panel(7), nullptr);
        EXPECT_EQ(SchemeRecord("Гр1"), nullptr);
        EXPECT_EQ(Dan1->RemedyActive, 0);
        EXPECT_EQ(DifferencesText(ImageWithoutResultSectionCopies(*ProjectRoot), before), "");
    }

    static TSitid* Panel(int number) {
        for (TGrsed* board : chains::SwitchboardsOf(*ProjectRoot))
            for (TSitid* p : chains::PanelsOf(*board))
                if (p->PanelNumber == number) return p;
        return nullptr;
    }

    TSitid* panel3 = nullptr;
};

struct MoveCase {
    const char* switchboardSeries;
    const char* offer;
    const char* conductors;
    int onTrunk, flagC;
    std::array<int, 4> counts;
};

class MoveToNewPanelTest : public NewPanelRemedyTest,
                           public ::testing::WithParamInterface<MoveCase> {};

// The offer answered Yes for a line of plain panel 3, the new panel numbered 7: panel 3 becomes
// the origin of the split; panel 7 hangs on it, with a separate breaker when the offer was of
// a new cable and a separate breaker (after the switchboard's check), without one when it was
// of a new panel only (after the panel feeder's check); it holds the line, and the panel list
// shows it as 3(7), chosen.
TEST_P(MoveToNewPanelTest, TheLineMovesToTheNewPanel) {
    const MoveCase& c = GetParam();
    MoveSecondLineToPanel7(c.switchboardSeries, c.conductors);

    TSitid* added = Panel(7);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(panel3->PanelFlagB, 1);
    EXPECT_EQ(added->OnTrunk, c.onTrunk);
    EXPECT_EQ(added->PanelFlagC, c.flagC);
    EXPECT_EQ(added->PanelFlagB, 0);
    EXPECT_EQ(added->HangsOnPanel, 3);
    EXPECT_EQ((std::array<int, 4>{added->SchemeGroupCount, added->SinglePhaseCount,
                                  added->TwoPhaseCount, added->ThreePhaseCount}),
              c.counts);
    ASSERT_NE(added->SchemeGroups.First, nullptr);
    EXPECT_EQ(added->SchemeGroups.First->GroupName, "Гр1");
    EXPECT_EQ(panel3->SchemeGroupCount, 1);
    EXPECT_EQ(panel3->SchemeGroups.First->GroupName, "Гр0");
    // Panel 3 was selected again without the line: "Гр0" alone draws 30.39 A, so its breaker
    // is 32 A and its feeder's 40 A, of the series chosen again.
    EXPECT_EQ(panel3->PanelBreakerRating, 32);
    EXPECT_EQ(panel3->FeederBreakerRating, 40);
    EXPECT_EQ(panel3->PanelBreakerType, "A3");
    EXPECT_EQ(Items(*Dan1->ComboBox2), (std::vector<std::string>{"1", "3", "3(7)"}));
    EXPECT_EQ(Dan1->ComboBox2->currentText().toStdString(), "3(7)");
    EXPECT_EQ(Dan1->Edit6->text().toStdString(), "Гр1");
    EXPECT_EQ(Dan1->GroupNames, (std::vector<std::string>{"Гр0", "Гр1"}));
    // The snapshots describe the project with the new panel.
    EXPECT_EQ(Dan1->PanelSnapshotCount, 3);
    EXPECT_EQ(Dan1->RemedyActive, 1);
    Click(*Dan1->ok);
    EXPECT_EQ(Dan1->RemedyActive, 0);
    ExpectShown({{c.offer, kCaption, platform::MsgIcon::Warning, platform::MsgButtons::YesNo}});
}

INSTANTIATE_TEST_SUITE_P(Answers, MoveToNewPanelTest,
                         ::testing::Values(MoveCase{"A3", kLongOffer, "2", 1, 0, {1, 1, 0, 0}},
                                           MoveCase{"A3", kLongOffer, "4", 1, 0, {1, 0, 0, 1}},
                                           MoveCase{"C3", kShortOffer, "2", 0, 1, {1, 1, 0, 0}},
                                           MoveCase{"C3", kShortOffer, "4", 0, 1, {1, 0, 0, 1}}));

struct LeaveCase {
    const char* how;
    void (*leave)();
};

class LeaveAfterRemedyTest : public NewPanelRemedyTest,
                             public ::testing::WithParamInterface<LeaveCase> {};

// After a line moved to a new panel, leaving the window by its close box or by Escape finishes
// as "закрыть" does: the remedy is over and the scheme is drawn again.
TEST_P(LeaveAfterRemedyTest, FinishesAsCloseDoes) {
    MoveSecondLineToPanel7("C3");
    ASSERT_EQ(Dan1->RemedyActive, 1);
    // The scheme window shows the network's scheme, not drawn yet.
    if (!Form2->Image1) Form2->NewPicture();
    Form2->Image1->SetTag(1);
    Form2->Image1->SetSize(1, 1);

    GetParam().leave();
    EXPECT_FALSE(Dan1->isVisible());
    EXPECT_EQ(Dan1->RemedyActive, 0);
    EXPECT_GT(Form2->Image1->width(), 1);
    for (const QComboBox* list : {Dan1->ComboBox1, Dan1->ComboBox3, Dan1->ComboBox4})
        EXPECT_EQ(list->currentIndex(), -1) << list->objectName().toStdString();
    EXPECT_NE(Panel(7), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LeaveAfterRemedyTest,
    ::testing::Values(LeaveCase{"close box", [] { Dan1->windowHandle()->close(); }},
                      LeaveCase{"Escape", [] { QTest::keyClick(Dan1, Qt::Key_Escape); }}));

// A line too long for any section of its table, moved to new panel 7 and refused there for its
// voltage: panel 7 goes with it, and the project is as it was before the line (panel 3 no
// origin, the switchboard's count and chain agreeing).
TEST_F(NewPanelRemedyTest, ALineRefusedOnTheNewPanelTakesThePanelWithIt) {
    AddLargeLine("C3");
    HoldBreakersAgainstShortCircuit(1600, false);
    Click(*Dan1->ok);
    const TreeImage before = ImageWithoutResultSectionCopies(*ProjectRoot);
    OpenGroupWindow();
    Entry far = SmallLine("3", "Гр1", "К1");
    far.length = "2000";
    Fill(far);
    ExpectBreakerDialogs({"Группы"});
    responder_.ExpectMessage(kShortOffer, kCaption, mrYes);
    ExpectRecheckBreakers("C3");
    ExpectNewPanelWindow("7", "КЩ7");
    ExpectNewPanelBreakers();
    responder_.ExpectMessage("Падение напряжения на потребителе более 10 %,группа отменяется",
                             kCaption, platform::mrOk);
    Apply();
    responder_.VerifyDone();

    EXPECT_EQ(Panel(7), nullptr);
    EXPECT_EQ(sw->PanelCount, 2);
    EXPECT_EQ(chains::Length(sw->Panels, chains::PanelLink{}), 2);
    EXPECT_EQ(sw->Panels.Last, panel3);
    EXPECT_EQ(SchemeRecord("Гр1"), nullptr);
    EXPECT_EQ(panel3->PanelFlagB, 0);
    EXPECT_EQ(Items(*Dan1->ComboBox2), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(Dan1->RemedyActive, 0);
    EXPECT_EQ(DifferencesText(ImageWithoutResultSectionCopies(*ProjectRoot), before), "");
}

// The offer answered Yes, the panel without the line checked again with its breakers chosen
// afresh: "Z3" chosen for the switchboard trips only at 1000 times its rating, which no fault
// current reaches, so the recheck fails; panel 3 has one line left, so nothing more is offered:
// the line is refused with the check's message (it went silently), no window is shown, and the
// project is as before the line.
TEST_F(NewPanelRemedyTest, ARecheckRefusalIsReported) {
    AddLargeLine("C3");
    HoldBreakersAgainstShortCircuit(1600, true, {{"Z3", 0.32, 1600, 3, 1000}});
    Click(*Dan1->ok);
    const TreeImage before = ImageWithoutResultSectionCopies(*ProjectRoot);
    OpenGroupWindow();
    Fill(SmallLine("3", "Гр1", "К1"));
    ExpectBreakerDialogs({"Группы"});
    responder_.ExpectMessage(kShortOffer, kCaption, mrYes);
    ExpectBreakerDialogs({"Щит"});
    ExpectBreakerChoice("Грщ", "Z3");
    ExpectBreakerChoice("Секция КТП", "C3");
    responder_.ExpectMessage(kRefusedGroup, kCaption, platform::mrOk);
    Apply();
    responder_.VerifyDone();
    ExpectRefusedWithTheNewPanel(before);
}

// The line moved to new panel 7, whose own breaker the base has no series for: the three-pole
// series start at 25 A, above the 12.5 A of the new panel's single line (2200 / 219.39 = 10.03 A),
// while the breakers of panel 3 without the line (32 A and up) stand. The selection refuses the
// line and asks for the base, answered No: panel 7 goes, and the project and the file it saves
// are as before the line, breakers and sections of the panel, switchboard and section included.
TEST_F(NewPanelRemedyTest, ALineWithoutABreakerForTheNewPanelLeavesTheProjectAsItWas) {
    AddLargeLine("C3");
    HoldBreakersAgainstShortCircuit(1600, true, {}, 25);
    Click(*Dan1->ok);
    const TreeImage before = ImageWithoutResultSectionCopies(*ProjectRoot);
    const std::string file = ProjectBytes();
    OpenGroupWindow();
    Fill(SmallLine("3", "Гр1", "К1"));
    ExpectBreakerDialogs({"Группы"});
    responder_.ExpectMessage(kShortOffer, kCaption, mrYes);
    ExpectRecheckBreakers("C3");
    ExpectNewPanelWindow("7", "КЩ7");
    responder_.ExpectMessage(
        "В базе данных нет нужного автомата. Открыть базу данных для редактирования?", kCaption,
        mrNo);
    Apply();
    responder_.VerifyDone();
    ExpectRefusedWithTheNewPanel(before);
    EXPECT_EQ(ProjectFileDifferences(ProjectBytes(), file), "");
}

// Pictures of the reduced connection window as the remedy shows it, empty and filled in, when
// VELTRANOVA_SCREENSHOTS names a folder.
TEST_F(NewPanelRemedyTest, ReducedWindowOnScreen) {
    const std::string folder = ScreenshotFolder();
    if (folder.empty()) GTEST_SKIP() << "VELTRANOVA_SCREENSHOTS not set";
    Form1->show();
    AddLargeLine("C3");
    HoldBreakersAgainstShortCircuit();
    Fill(SmallLine("3", "Гр1", "К1"));
    ExpectBreakerDialogs({"Группы"});
    responder_.ExpectMessage(kShortOffer, kCaption, mrYes);
    ExpectRecheckBreakers("C3");
    responder_.ExpectModal("TShiti", [folder](QDialog& window) {
        TShiti& s = *Shiti;
        window.show();
        CaptureWindow(window, folder, "TShiti-new-panel.png");
        Choose(*s.ComboBox5, "В воздухе");
        Choose(*s.ComboBox3, kFeeder);
        Type(*s.Edit1, "7");
        Type(*s.Edit8, "КЩ7");
        CaptureWindow(window, folder, "TShiti-new-panel-filled.png");
        Click(*s.Button4);
        return platform::mrNone;
    });
    ExpectNewPanelBreakers();
    Apply();
    responder_.VerifyDone();
    EXPECT_NE(Panel(7), nullptr);
}

struct DeclineCase {
    const char* how;
    int answer;
    ScriptedResponder::ModalAction closeWindow;  // none: the offer is answered No
};

class DeclineNewPanelTest : public NewPanelRemedyTest,
                            public ::testing::WithParamInterface<DeclineCase> {};

// Declining the offer, or leaving the reduced connection window without a new panel by its
// close box or Escape, leaves the project as it was before the line.
TEST_P(DeclineNewPanelTest, TheProjectStaysAsBefore) {
    const DeclineCase& c = GetParam();
    AddLargeLine("C3");
    HoldBreakersAgainstShortCircuit();
    Click(*Dan1->ok);
    const TreeImage before = ImageWithoutResultSectionCopies(*ProjectRoot);
    OpenGroupWindow();
    Fill(SmallLine("3", "Гр1", "К1"));
    ExpectBreakerDialogs({"Группы"});
    responder_.ExpectMessage(kShortOffer, kCaption, c.answer);
    if (c.closeWindow) {
        ExpectRecheckBreakers("C3");
        responder_.ExpectModal("TShiti", c.closeWindow);
    }
    Apply();
    responder_.VerifyDone();

    EXPECT_EQ(DifferencesText(ImageWithoutResultSectionCopies(*ProjectRoot), before), "");
    EXPECT_EQ(sw->PanelCount, 2);
    EXPECT_EQ(SchemeRecord("Гр1"), nullptr);
    EXPECT_EQ(panel3->PanelFlagB, 0);
    EXPECT_EQ(Items(*Dan1->ComboBox2), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(Dan1->GroupNames, std::vector<std::string>{"Гр0"});
    EXPECT_EQ(Dan1->FailureFlag, 0);
    EXPECT_EQ(Dan1->RemedyActive, 0);
    EXPECT_EQ(Dan1->NewPanelDialogOpen, 0);
    EXPECT_FALSE(Dan1->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Ways, DeclineNewPanelTest,
                         ::testing::Values(DeclineCase{"answered No", mrNo, nullptr},
                                           DeclineCase{"close box", mrYes,
                                                       [](QDialog& window) {
                                                           window.show();
                                                           EXPECT_TRUE(window.windowFlags() &
                                                                       Qt::WindowCloseButtonHint);
                                                           window.close();
                                                           EXPECT_FALSE(window.isVisible());
                                                           return platform::mrNone;
                                                       }},
                                           DeclineCase{"Escape", mrYes, [](QDialog& window) {
                                                           QTest::keyClick(&window, Qt::Key_Escape);
                                                           return platform::mrNone;
                                                       }}));

// A line of panel 7, itself made by a remedy from panel 3 with a separate breaker, moved again
// with a separate breaker to panel 9: panel 9 hangs on panel 3 as well (3(9)), and panel 7 does
// not become an origin.
TEST_F(NewPanelRemedyTest, AChainOfRemediesHangsOnTheFirstPanel) {
    MoveSecondLineToPanel7("A3");
    ASSERT_NE(Panel(7), nullptr);

    // 18 kW on three phases (18000 / (sqrt 3 x 380) = 27.35 A; phase A of panel 7 then carries
    // 37.35 A) raises panel 7's breakers and with them the switchboard's beyond what the fault
    // current trips. (From 21 kW on, panel 7's own supply could not be protected by any panel,
    // and the line is refused without an offer.)
    Entry large = SmallLine("3(7)", "Гр2", "К2", "4");
    large.power = "18";
    Fill(large);
    ExpectBreakerDialogs({"Группы"});
    responder_.ExpectMessage(kLongOffer, kCaption, mrYes);
    ExpectRecheckBreakers("A3");
    ExpectNewPanelWindow("9", "КЩ9");
    ExpectNewPanelBreakers();
    Apply();
    responder_.VerifyDone();

    TSitid* seven = Panel(7);
    TSitid* nine = Panel(9);
    ASSERT_NE(nine, nullptr);
    EXPECT_EQ(seven->PanelFlagB, 0);
    EXPECT_EQ(seven->SchemeGroupCount, 1);
    EXPECT_EQ(nine->OnTrunk, 1);
    EXPECT_EQ(nine->PanelFlagC, 0);
    EXPECT_EQ(nine->HangsOnPanel, 3);
    EXPECT_EQ(nine->SchemeGroups.First->GroupName, "Гр2");
    EXPECT_EQ(Items(*Dan1->ComboBox2), (std::vector<std::string>{"1", "3", "3(7)", "3(9)"}));
    EXPECT_EQ(Dan1->ComboBox2->currentText().toStdString(), "3(9)");
}

// A panel of one group line gets no offer: the line is refused. A 30 kW three-phase line
// (30000 / (sqrt 3 x 380) = 45.58 A) makes the feeder breaker of panel 3 63 A, beyond what the
// fault current trips.
TEST_F(NewPanelRemedyTest, APanelOfOneLineGetsNoOffer) {
    HoldBreakersAgainstShortCircuit();
    Entry line = SmallLine("3", "Гр0", "К0", "4");
    line.power = "30";
    Fill(line);
    ExpectBreakerDialogs({"Группы", "Щит"});
    ExpectBreakerChoice("Грщ", "C3");
    ExpectBreakerChoice("Секция КТП", "C3");
    responder_.ExpectMessage(kRefusedGroup, kCaption, platform::mrOk);
    Apply();
    responder_.VerifyDone();
    EXPECT_EQ(panel3->SchemeGroupCount, 0);
    EXPECT_EQ(sw->PanelCount, 2);
    EXPECT_EQ(panel3->PanelFlagB, 0);
}

// A remedy while panel 3's connection is rebuilt. Panel 3 holds "Гр0" (20 kW), "Гр1" (2.2 kW on
// one phase) and "Гр2", entered while no breaker was held against a short circuit; its feeder
// length retyped as "50,0" rebuilds it (the text differs from the stored 50), its lines re-added
// one by one. Re-added, "Гр1" makes panel 3's feeder breaker 63 A again, which the fault
// current does not trip: the offer of a new panel, answered Yes, moves it to new panel 7, and
// "Гр2" is re-added to panel 7 as well.
class PanelEditRemedyTest : public NewPanelRemedyTest {
protected:
    void SetUp() override {
        NewPanelRemedyTest::SetUp();
        AddLargeLine("C3");
        EnterLine(SmallLine("3", "Гр1", "К1"));
    }

    // The lines entered after "Гр0" and "Гр1", with the breaker base of the rebuild.
    void AddLines(const std::vector<Entry>& lines) {
        // "A3" only up to 63 A from here on: the switchboard's breaker, 80 A and more once a
        // feeder breaker is 63 A, can only be "C3", never held against a short circuit, so that
        // the panel feeder's check is the one that fails. The breakers asked for are the first
        // series offered, "C3" for the switchboard and the section; each dialog shown while
        // panel 7 exists notes whether it is marked for the rebuild.
        WriteBreakerBase({{"A1", 0.32, 1600, 1, 0},
                          {"A2", 0.32, 1600, 2, 0},
                          {"A3", 0.32, 63, 3, 0},
                          {"A4", 0.32, 1600, 4, 0},
                          {"C3", 0.32, 1600, 3, 0}});
        responder_.AnswerEvery("TInsertAvtomat", [this](QDialog&) {
            const std::string target = InsertAvtomat->GroupBox1->title().toStdString();
            const bool fixed = target == "Грщ" || target == "Секция КТП";
            InsertAvtomat->ComboBox1->setCurrentIndex(
                fixed ? InsertAvtomat->ComboBox1->findText("C3") : 0);
            if (const TSitid* added = Panel(7)) markedMeanwhile_ |= added->RebuildMark != 0;
            QTest::mouseClick(InsertAvtomat->Button2, Qt::LeftButton);
            return platform::mrNone;
        });
        // Every breaker dialog is answered by the rule above, none scripted one by one.
        for (const Entry& line : lines) EnterLine(line, {});
        Click(*Dan1->ok);
        HoldBreakersAgainstShortCircuit(63);
    }

    // "Редактирование" > "Щиты", panel 3 of switchboard 1, "Изменить"; the feeder length
    // retyped, "Изменить" of the connection window; the breakers chosen automatically but for
    // the last line.
    void RebuildPanel3() {
        Form1->N4->trigger();
        Choose(*Form3->ComboBox4, "1");
        Choose(*Form3->ComboBox3, "3");
        Click(*Form3->Button5);
        ASSERT_TRUE(Shiti->isVisible());
        Type(*Shiti->Edit4, "50,0");
        ExpectRebuildOffer();
    }

    // The breaker question of the rebuild answered No, the offer of a new panel Yes, and new
    // panel 7 connected.
    void ExpectRebuildOffer() {
        responder_.ExpectMessage(
            "Автоматы можно установить автоиатически или вручную.\nУстановить автоматически?",
            "Установка автоматов.", mrNo);
        responder_.ExpectMessage(kShortOffer, kCaption, mrYes);
        ExpectNewPanelWindow("7", "КЩ7");
    }

    static std::vector<int> PanelNumbers() {
        std::vector<int> numbers;
        for (const TSitid* p : chains::PanelsOf(*ProjectRoot->Switchboards.First))
            numbers.push_back(p->PanelNumber);
        return numbers;
    }

    bool markedMeanwhile_ = false;
};

// "Гр2" of 1.1 kW on one phase fits panel 7: the rebuild ends with panel 7 holding "Гр1" and
// "Гр2"; it was marked for the rebuild while the lines were re-added, and the finish clears
// the mark.
TEST_F(PanelEditRemedyTest, TheNewPanelTakesTheFollowingLines) {
    Entry third = SmallLine("3", "Гр2", "К2");
    third.power = "1,1";
    AddLines({third});
    RebuildPanel3();
    Click(*Shiti->Button6);
    responder_.VerifyDone();

    EXPECT_EQ(PanelNumbers(), (std::vector<int>{1, 3, 7}));
    const TSitid* seven = Panel(7);
    ASSERT_NE(seven, nullptr);
    EXPECT_EQ(NamesOf(*panel3), std::vector<std::string>{"Гр0"});
    EXPECT_EQ(NamesOf(*seven), (std::vector<std::string>{"Гр1", "Гр2"}));
    EXPECT_TRUE(markedMeanwhile_);
    EXPECT_EQ(seven->RebuildMark, 0);
    EXPECT_EQ(seven->PanelFlagC, 1);
    EXPECT_EQ(seven->HangsOnPanel, 3);
    EXPECT_EQ(panel3->PanelFlagB, 1);
    EXPECT_EQ(Form3->PanelEditMode, 0);
    EXPECT_EQ(Dan1->RemedyActive, 0);
}

// "Гр2" of 20 kW on three phases makes panel 7's feeder breaker 63 A as well: the offer comes
// again and is answered No, which refuses the panel's edit. Panel 7 goes, and panel 3 is back
// with its three lines and its length.
TEST_F(PanelEditRemedyTest, ARefusedEditDeletesTheNewPanel) {
    Entry third = SmallLine("3", "Гр2", "К2", "4");
    third.power = "20";
    AddLines({third});
    const TSitidFields entered = *panel3;
    const std::vector<TCxemaGrupdFields> lines = {*SchemeRecord("Гр0"), *SchemeRecord("Гр1"),
                                                  *SchemeRecord("Гр2")};
    RebuildPanel3();
    responder_.ExpectMessage(kShortOffer, kCaption, mrNo);
    Click(*Shiti->Button6);
    responder_.VerifyDone();

    EXPECT_TRUE(markedMeanwhile_);
    EXPECT_EQ(PanelNumbers(), (std::vector<int>{1, 3}));
    EXPECT_EQ(NamesOf(*panel3), (std::vector<std::string>{"Гр0", "Гр1", "Гр2"}));
    EXPECT_EQ(panel3->FeederLength, 50);
    EXPECT_EQ(panel3->PanelFlagB, 0);
    EXPECT_EQ(Form3->PanelEditMode, 0);
    EXPECT_EQ(Dan1->RemedyActive, 0);
    // The panel's and its lines' entered data as they were (the feeder's section and what
    // follows from it are chosen again under the breakers now held against a short circuit).
    EXPECT_EQ(panel3->FeederCableName, entered.FeederCableName);
    EXPECT_EQ(panel3->CurrentTableName, entered.CurrentTableName);
    EXPECT_EQ(panel3->PanelBreakerType, entered.PanelBreakerType);
    EXPECT_EQ(panel3->DemandFactor, entered.DemandFactor);
    EXPECT_EQ((std::array<int, 4>{panel3->SchemeGroupCount, panel3->SinglePhaseCount,
                                  panel3->TwoPhaseCount, panel3->ThreePhaseCount}),
              (std::array<int, 4>{3, 1, 0, 2}));
    for (const TCxemaGrupdFields& line : lines) {
        const TCxemaGrupd* now = SchemeRecord(line.GroupName);
        ASSERT_NE(now, nullptr) << line.GroupName;
        EXPECT_EQ(now->Power, line.Power) << line.GroupName;
        EXPECT_EQ(now->CableName, line.CableName) << line.GroupName;
        EXPECT_EQ(now->BreakerType, line.BreakerType) << line.GroupName;
    }
}

// The same remedy while the whole switchboard is connected anew: its feeder length retyped as
// "100,0" (the text differs from the stored 100), its panels re-attached and their lines re-added
// one by one, panel 3 first (the last in the chain), then panel 1 with its line "Гр9".
class SwitchboardEditRemedyTest : public PanelEditRemedyTest {
protected:
    void AddLinesWithPanel1(const Entry& third) {
        Entry onPanel1 = SmallLine("1", "Гр9", "К9");
        AddLines({onPanel1, third});
    }

    void RebuildSwitchboard() {
        Form1->N30->trigger();
        Choose(*Form3->ComboBox4, "1");
        Click(*Form3->Button5);
        ASSERT_TRUE(Shiti->isVisible());
        Type(*Shiti->Edit3, "100,0");
        ExpectRebuildOffer();
    }

    static int SwitchboardCount() {
        return static_cast<int>(chains::SwitchboardsOf(*ProjectRoot).size());
    }
};

// "Гр2" (1.1 kW) follows "Гр1" to panel 7; the lines of panel 1, re-added after panel 3's,
// stay on panel 1.
TEST_F(SwitchboardEditRemedyTest, TheNewPanelTakesOnlyThatPanelsLines) {
    Entry third = SmallLine("3", "Гр2", "К2");
    third.power = "1,1";
    AddLinesWithPanel1(third);
    RebuildSwitchboard();
    Click(*Shiti->Button7);
    responder_.VerifyDone();

    ASSERT_EQ(SwitchboardCount(), 1);
    EXPECT_EQ(PanelNumbers(), (std::vector<int>{1, 3, 7}));
    const TSitid* seven = Panel(7);
    ASSERT_NE(seven, nullptr);
    EXPECT_EQ(NamesOf(*Panel(1)), std::vector<std::string>{"Гр9"});
    EXPECT_EQ(NamesOf(*Panel(3)), std::vector<std::string>{"Гр0"});
    EXPECT_EQ(NamesOf(*seven), (std::vector<std::string>{"Гр1", "Гр2"}));
    EXPECT_EQ((std::array<int, 4>{seven->SchemeGroupCount, seven->SinglePhaseCount,
                                  seven->TwoPhaseCount, seven->ThreePhaseCount}),
              (std::array<int, 4>{2, 2, 0, 0}));
    EXPECT_EQ(seven->HangsOnPanel, 3);
    EXPECT_EQ(seven->PanelFlagC, 1);
    EXPECT_EQ(Panel(3)->PanelFlagB, 1);
    EXPECT_EQ(Form3->SwitchboardEditMode, 0);
    EXPECT_EQ(Dan1->RemedyActive, 0);
}
