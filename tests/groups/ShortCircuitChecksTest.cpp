// The short-circuit checks after a change: the comparison with the trip current, the message and
// rollback of each kind of change, and the new-panel offer with its two answers; a breaker series
// that the breaker base does not hold, in every trip comparison.
#include <functional>

#include "ChecksFixture.h"
#include "SelectionOnWindows.h"
#include "app/PowerSystem.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "platform/Events.h"
#include "selection/SelectionSupport.h"

namespace {

using platform::mrNo;
using platform::mrOk;
using platform::mrYes;

constexpr char kRefusedEdit[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Редактирование "
    "отменяется";
constexpr char kRefusedGroup[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Данная группа "
    "отменяется";
constexpr char kLongOffer[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Проложить новый "
    "кабель,установить отдельный автомат и подключить новый щит?";
constexpr char kShortOffer[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Подключить новый щит?";
constexpr char kCaption[] = "Предупреждение";

class ShortCircuitChecksTest : public OnTheWindows<ChecksTest> {
protected:
    void SetUp() override {
        ChecksTest::SetUp();
        BuildProject();
        panel->PanelBreakerType = "B3";
        panel->FeederBreakerRating = 100;
        AddGroup(panel, {"G1", 4, 9, 1, 10}, kCopperCableRows)->BreakerType = "A3";
        panel->SchemeGroups.First->BreakerRating = 16;
        Recalculate(panel);
        before = ImageOf(*ProjectRoot);
        auto& hooks = dan().CheckHooks;
        hooks.RestoreEditedGroup = [this](TGrsed*, TSitid*) {
            calls.push_back("RestoreEditedGroup");
        };
        hooks.RefillEditLists = [this](QObject*) { calls.push_back("RefillEditLists"); };
        hooks.RestorePanelFromSnapshot = [this](TSitid*) {
            calls.push_back(Form3->PanelRestoredFlag ? "RestorePanel (flag set)" : "RestorePanel");
        };
        hooks.ApplyAndRefresh = [this](QObject*) { calls.push_back("ApplyAndRefresh"); };
    }

    // The path the group check takes: every cable at its table's largest section.
    selection::FaultPath GroupPath(TCxemaGrupd* g) {
        selection::FaultPath path;
        path.groupLength = g->LineLength;
        path.panelLength = panel->FeederLength;
        path.switchboardLength = sw->SwitchboardFeederLength;
        path.groupSection = path.panelSection = path.switchboardSection = 120;
        path.groupMaterial = path.panelMaterial = path.switchboardMaterial = "Медь";
        path.panel = panel;
        path.givenSection = true;
        return path;
    }
    // The path of the panel feeder check.
    selection::FaultPath FeederPath(TSitid* p) {
        selection::FaultPath path;
        path.panelLength = p->FeederLength;
        path.switchboardLength = sw->SwitchboardFeederLength;
        path.panelSection = path.switchboardSection = 120;
        path.panelMaterial = path.switchboardMaterial = "Медь";
        path.panel = p;
        path.givenSection = true;
        return path;
    }
    // A feeder breaker whose trip current the fault current at the panel does not exceed.
    void MakeFeederCheckFail(TSitid* p) {
        p->FeederLength = 400;
        MakeCurrent(sw, p);
        ASSERT_LT(BestCaseCurrent(FeederPath(p)), 250 * 10.0);
        p->FeederBreakerRating = 250;
        MakeCurrent(sw, p);
    }

    TreeImage before;
    std::vector<std::string> calls;
};

// The group's breaker trips only on a fault current strictly above its trip current.
TEST_F(ShortCircuitChecksTest, CurrentEqualToTheTripCurrentFails) {
    TCxemaGrupd* g = BeginAdding(panel, {"G2", 4, 6, 1, 40});
    g->BreakerType = "A3";  // multiplicity 10
    // The check takes the line at the largest section of its table, both its conductors.
    g->CrossSection = 120;
    // A rating whose trip current is the fault current it lets through: the breaker's own
    // impedance depends on its rating only by rows of the breaker table, so a rating found
    // again in the row it was taken in is one.
    double rating = 1;
    double current = 0;
    for (int step = 0; step < 5; ++step) {
        g->BreakerRating = rating;
        MakeCurrent(sw, panel);
        panel->SchemeGroups.Cursor = g;
        current = BestCaseCurrent(GroupPath(g));
        if (rating * 10 == current) break;
        rating = current / 10;
    }
    g->BreakerRating = rating;
    MakeCurrent(sw, panel);
    panel->SchemeGroups.Cursor = g;
    ASSERT_EQ(BestCaseCurrent(GroupPath(g)), current);
    ASSERT_EQ(rating * 10, current);
    MakeCurrent(sw, panel);
    panel->SchemeGroups.Cursor = g;

    g->BreakerRating = rating - 0.01;  // just below: it trips
    dan().CheckGroupShortCircuit(nullptr);
    EXPECT_TRUE(responder_.Log().empty());
    EXPECT_EQ(panel->SchemeGroupCount, 2);

    g->BreakerRating = rating;  // equal: refused
    responder_.ExpectMessage(kRefusedGroup, kCaption, mrOk);
    dan().CheckGroupShortCircuit(nullptr);
    EXPECT_EQ(LastMessage().icon, platform::MsgIcon::Warning);
    EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
    EXPECT_EQ(dan().FailureFlag, 1);
    EXPECT_EQ(sw->Panels.Cursor, panel);
}

// The same failure, by the change in progress.
TEST_F(ShortCircuitChecksTest, GroupCheckFailureByChange) {
    const struct {
        const char* mode;
        const char* message;
        std::vector<std::string> calls;
        bool failureFlag;
        bool shortCircuitFailed;
    } cases[] = {
        {"switchboard", kRefusedEdit, {}, false, true},
        {"panel", kRefusedEdit, {"RefillEditLists", "RestorePanel"}, true, false},
        {"group", kRefusedEdit, {"RestoreEditedGroup"}, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string mode = c.mode;
        calls.clear();
        dan().FailureFlag = 0;
        Form3->ShortCircuitFailed = 0;
        Form3->SwitchboardEditMode = mode == "switchboard";
        Form3->PanelEditMode = mode == "panel";
        Form3->GroupEditMode = mode == "group";
        Form3->SavedSwitchboard = sw;
        TCxemaGrupd* g = panel->SchemeGroups.First;
        g->BreakerRating = 5000;  // no fault current trips it
        MakeCurrent(sw, panel);
        panel->SchemeGroups.Cursor = g;
        responder_.ExpectMessage(c.message, kCaption, mrOk);
        dan().CheckGroupShortCircuit(nullptr);
        responder_.VerifyDone();
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(dan().FailureFlag, c.failureFlag);
        EXPECT_EQ(Form3->ShortCircuitFailed, c.shortCircuitFailed);
        g->BreakerRating = 16;
    }
}

// A panel of one group line offers no new panel: the line is refused.
TEST_F(ShortCircuitChecksTest, OneGroupOnThePanelIsRefusedWithoutAnOffer) {
    TSitid* lone = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true);
    lone->PanelBreakerType = "B3";
    Recalculate(lone);
    const TreeImage empty = ImageOf(*ProjectRoot);
    BeginAdding(lone, {"G2", 4, 9, 1, 10});
    MakeFeederCheckFail(lone);
    responder_.ExpectMessage(kRefusedGroup, kCaption, mrOk);
    dan().CheckCascadeShortCircuit(nullptr);
    EXPECT_EQ(responder_.Log().size(), 1u);
    EXPECT_TRUE(ImageOf(*ProjectRoot) == empty);
    EXPECT_EQ(dan().FailureFlag, 1);
}

// Declining the new panel while adding leaves the tree exactly as it was before the line came.
TEST_F(ShortCircuitChecksTest, DecliningTheNewPanelRestoresTheTree) {
    BeginAdding(panel, {"G2", 4, 6, 1, 15})->BreakerType = "A3";
    panel->SchemeGroups.Last->BreakerRating = 16;
    MakeFeederCheckFail(panel);
    responder_.ExpectMessage(kShortOffer, kCaption, mrNo);
    dan().CheckCascadeShortCircuit(nullptr);
    EXPECT_EQ(LastMessage().buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(LastMessage().icon, platform::MsgIcon::Warning);
    EXPECT_EQ(calls, std::vector<std::string>{"ApplyAndRefresh"});
    EXPECT_EQ(dan().FailureFlag, 1);
    EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), sw);
    EXPECT_EQ(sw->Panels.Cursor, panel);
}

TEST_F(ShortCircuitChecksTest, AcceptingTheNewPanelHandsTheLineOver) {
    struct Handed {
        bool longOffer;
        TGrsed* sw;
        TSitid* panel;
        std::string scheme, two;
        int singleKind, threeKind;
    };
    std::vector<Handed> handed;
    dan().CheckHooks.ConnectNewPanel = [&](bool longOffer, TGrsed* s, TSitid* p, TCxemaGrupd c,
                                           TFasaGrup1d f1, TFasaGrup2d f2, TFasaGrup3d f3) {
        handed.push_back(
            {longOffer, s, p, c.GroupName, f2.GroupName2, f1.PhaseKind1, f3.PhaseKind3});
    };
    BeginAdding(panel, {"G2", 3, 4, 1, 15, kCopperWire, "Два провода в трубе"})->BreakerType = "A2";
    panel->SchemeGroups.Last->BreakerRating = 16;
    MakeFeederCheckFail(panel);
    const struct {
        bool onTrunk;
        const char* offer;
    } cases[] = {{false, kShortOffer}, {true, kLongOffer}};
    for (const auto& c : cases) {
        panel->OnTrunk = c.onTrunk;
        MakeCurrent(sw, panel);
        responder_.ExpectMessage(c.offer, kCaption, mrYes);
        dan().CheckCascadeShortCircuit(nullptr);
    }
    ASSERT_EQ(handed.size(), 2u);
    EXPECT_FALSE(handed[0].longOffer);
    EXPECT_TRUE(handed[1].longOffer);
    EXPECT_EQ(handed[0].sw, sw);
    EXPECT_EQ(handed[0].panel, panel);
    // A two-phase line goes with its two-phase record; the other two are empty records.
    EXPECT_EQ(handed[0].scheme, "G2");
    EXPECT_EQ(handed[0].two, "G2");
    EXPECT_EQ(handed[0].singleKind, 0);
    EXPECT_EQ(handed[0].threeKind, 0);
    EXPECT_EQ(dan().FailureFlag, 0);
    EXPECT_EQ(panel->SchemeGroupCount, 2);  // the remedy moves it, not the check
}

// No room in the transformer for the load: no offer, the line is refused.
TEST_F(ShortCircuitChecksTest, NoOfferWhenTheNewPanelWouldNotPass) {
    BeginAdding(panel, {"G2", 4, 6, 1, 15})->BreakerType = "A3";
    panel->SchemeGroups.Last->BreakerRating = 16;
    MakeFeederCheckFail(panel);
    // 3 x the largest phase total equal to the 400 kVA of the project's transformer.
    ProjectRoot->TotalPhasePowerA = 400.0 / 3;
    ASSERT_EQ(3.0 * ProjectRoot->TotalPhasePowerA, 400.0);
    responder_.ExpectMessage(kRefusedGroup, kCaption, mrOk);
    dan().CheckCascadeShortCircuit(nullptr);
    EXPECT_EQ(dan().FailureFlag, 1);
    EXPECT_EQ(panel->SchemeGroupCount, 1);
}

// A table that gives no largest section ends each check: its message once, and the line being
// added is taken back.
TEST_F(ShortCircuitChecksTest, TableWithoutRowsTakesTheLineBack) {
    WriteCableTable("Пустая.xml", "ВВГ", "В воздухе", "Медь", true, {});
    const struct {
        const char* check;
        std::function<void(TCxemaGrupd&)> emptyTable;
        void (NetworkChecks::*run)(QObject*);
    } cases[] = {
        {"switchboard", [&](TCxemaGrupd&) { sw->SwitchboardTable = "Пустая.xml"; },
         &NetworkChecks::CheckSwitchboardShortCircuit},
        {"panel supply",
         [&](TCxemaGrupd&) {
             panel->OnTrunk = 1;
             panel->CurrentTableName = "Пустая.xml";
         },
         &NetworkChecks::CheckPanelShortCircuit},
        {"panel feeder", [&](TCxemaGrupd&) { panel->CurrentTableName = "Пустая.xml"; },
         &NetworkChecks::CheckCascadeShortCircuit},
        {"group line", [](TCxemaGrupd& g) { g.CableTable = "Пустая.xml"; },
         &NetworkChecks::CheckGroupShortCircuit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.check);
        TCxemaGrupd* g = BeginAdding(panel, {"G2", 4, 6, 1, 15});
        g->BreakerType = "A3";
        g->BreakerRating = 16;
        c.emptyTable(*g);
        MakeCurrent(sw, panel);
        panel->SchemeGroups.Cursor = g;
        responder_.ExpectMessage("В данной таблице нет данных.", "Предупреждение.", mrOk);
        (dan().*c.run)(nullptr);
        responder_.VerifyDone();
        EXPECT_EQ(dan().FailureFlag, 1);
        EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
        EXPECT_EQ(sw->Panels.Cursor, panel);
        dan().FailureFlag = 0;
    }
}

// The switchboard's breaker against the fault at the switchboard: in an edit of a group line or
// of a panel's connection the message names the switchboard.
TEST_F(ShortCircuitChecksTest, SwitchboardCheck) {
    sw->SwitchboardBreakerType = "C3";  // multiplicity 5
    sw->SwitchboardInputRating = 1600;
    selection::FaultPath path;
    path.switchboardLength = 20;
    path.switchboardSection = 120;
    path.switchboardMaterial = "Медь";
    path.givenSection = true;
    MakeCurrent(sw, panel);
    ASSERT_LT(BestCaseCurrent(path), 1600 * 5.0);
    const std::string named =
        "Ток короткого замыкания превышает ток электромагнитного расцепителя автомата. Грщ-1. "
        "Редактирование отменяется.\nПопробуйте подключить автомат с меньшим током "
        "электромагнитного расцепителя";

    Form3->GroupEditMode = 1;
    MakeCurrent(sw, panel);
    responder_.ExpectMessage(named, kCaption, mrOk);
    dan().CheckSwitchboardShortCircuit(nullptr);
    EXPECT_EQ(calls, std::vector<std::string>{"RestoreEditedGroup"});
    EXPECT_EQ(dan().FailureFlag, 1);

    // In a switchboard edit the one line of the panel is refused with the plain message.
    Form3->GroupEditMode = 0;
    Form3->SwitchboardEditMode = 1;
    MakeCurrent(sw, panel);
    responder_.ExpectMessage(kRefusedEdit, kCaption, mrOk);
    dan().CheckSwitchboardShortCircuit(nullptr);
    EXPECT_EQ(Form3->ShortCircuitFailed, 1);

    // A breaker without a series is not checked; one that trips passes its series on.
    sw->SwitchboardBreakerType = "";
    dan().CheckSwitchboardShortCircuit(nullptr);
    sw->SwitchboardBreakerType = "B3";
    sw->SwitchboardInputRating = 160;
    dan().CheckSwitchboardShortCircuit(nullptr);
    EXPECT_EQ(dan().PassedSwitchboardBreakerType, "B3");
    EXPECT_EQ(responder_.Log().size(), 2u);
}

// The supply line of a panel fed past the switchboard takes the smallest section that trips
// its breaker; a table that cannot reach it changes nothing.
TEST_F(ShortCircuitChecksTest, PanelSupplyTakesTheSmallestSectionThatTrips) {
    panel->OnTrunk = 1;
    panel->PanelBreakerType = "A3";
    selection::ShiftedSection(*panel) = 2.5;
    const std::vector<selection::TransformerRow> rows = selection::TransformerRows();
    // The walk keeps the losses of the project's transformer (ТМ-400/10) whichever it tries.
    const auto currentAt = [&](double section, std::size_t row) {
        selection::FaultPath path;
        path.switchboardLength = 20;
        path.switchboardSection = section;
        path.switchboardMaterial = "Медь";
        path.panel = panel;
        selection::TransformerRow t = rows[row];
        t.losses = rows[1].losses;
        MakeCurrent(sw, panel);
        return selection::FaultCurrent(path, t);
    };
    const double at2_5 = currentAt(2.5, 1);
    const double at4 = currentAt(4, 1);
    ASSERT_LT(at2_5, at4);
    panel->CascadeBreakerRating = (at2_5 + at4) / 2 / 10;
    MakeCurrent(sw, panel);
    dan().CheckPanelShortCircuit(nullptr);
    EXPECT_EQ(selection::ShiftedSection(*panel), 4);
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");
    EXPECT_EQ(sw->Panels.Cursor, panel);

    // A switchboard table that ends (35 mm2) below the section the check found possible
    // (120 mm2 of the panel's table): the walk runs out at the end of the transformer base and
    // nothing is stored.
    sw->SwitchboardTable = kAluminiumCable;
    selection::ShiftedSection(*panel) = 4;
    const double reachable = currentAt(35, 3);
    const double possible = currentAt(120, 3);
    ASSERT_LT(reachable, possible);
    panel->CascadeBreakerRating = (reachable + possible) / 2 / 10;
    MakeCurrent(sw, panel);
    dan().CheckPanelShortCircuit(nullptr);
    EXPECT_EQ(selection::ShiftedSection(*panel), 4);
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400/10");
    EXPECT_TRUE(responder_.Log().empty());
}

// ---------------------------------------------------------------------------------------------
// A breaker series that the breaker base does not hold: every trip comparison refuses it, each
// with the check's own message; a breaker without a series counts as having no breaker data.

constexpr char kUnknown[] = "Z9";  // not in the breaker base
constexpr char kRaisePower[] = "Увеличите мощность короткого замыкания внешней энергосистемы.";

// The same project: with the series of the base every breaker trips on the fault at the far end
// of what it protects.
class UnknownSeriesTest : public ShortCircuitChecksTest {
protected:
    void SetUp() override {
        ShortCircuitChecksTest::SetUp();
        group = panel->SchemeGroups.First;
        group->CrossSection = 2.5;
        panel->CascadeBreakerRating = 100;
        panel->FeederSectionByCurrent = 50;
        sw->SwitchboardInstalledPower = 10;
        for (const selection::TransformerRow& row : selection::TransformerRows())
            PowerSystem->ComboBox5->addItem(platform::Q(row.name));
        PowerSystem->ComboBox5->setCurrentIndex(1);
    }
    void Current() {
        MakeCurrent(sw, panel);
        panel->SchemeGroups.Cursor = group;
    }
    TCxemaGrupd* group = nullptr;
};

// The series under test goes to one breaker (for the trip raising, its stored fault current is
// cleared); the check runs; true when it let the network pass (for the trip raising: when it
// stored the fault current it reached).
struct SeriesCase {
    const char* check;
    std::function<void(const std::string&)> setSeries;
    std::function<bool()> run;
    const char* known;    // a series of the base
    bool emptyPasses;     // a breaker without a series
    const char* refusal;  // the message of a refusal (none: the check says nothing)
};

TEST_F(UnknownSeriesTest, EveryCheckRefusesASeriesTheBaseDoesNotHold) {
    // The checks run in a switchboard edit: a refusal is its message and the failure flag of
    // the editing window, and the tree stays as it is.
    Form3->SwitchboardEditMode = 1;
    // The series goes to that breaker; a stored fault current, when given, is cleared with it.
    const auto seriesOf = [](std::string& series, double* stored = nullptr) {
        return [&series, stored](const std::string& s) {
            series = s;
            if (stored) *stored = -1;
        };
    };
    // A check: passed when it did not mark the edit failed.
    const auto check = [this](void (NetworkChecks::*run)(QObject*)) {
        return [this, run] {
            Current();
            (dan().*run)(nullptr);
            return Form3->ShortCircuitFailed == 0;
        };
    };
    // A trip raising: passed when it stored the fault current it reached.
    const auto raising = [this](void (NetworkChecks::*run)(), const double& stored) {
        return [this, run, &stored] {
            Current();
            (dan().*run)();
            return stored != -1;
        };
    };
    const auto powerCheck = [this] { return dan().CheckSystemShortCircuitPower(); };
    const SeriesCase cases[] = {
        {"group line", seriesOf(group->BreakerType), check(&NetworkChecks::CheckGroupShortCircuit),
         "A3", true, kRefusedEdit},
        {"panel supply", seriesOf(panel->PanelBreakerType),
         check(&NetworkChecks::CheckPanelShortCircuit), "B3", true, kRefusedEdit},
        {"panel feeder", seriesOf(panel->PanelBreakerType),
         check(&NetworkChecks::CheckCascadeShortCircuit), "B3", true, kRefusedEdit},
        {"switchboard", seriesOf(sw->SwitchboardBreakerType),
         check(&NetworkChecks::CheckSwitchboardShortCircuit), "B3", true, kRefusedEdit},
        {"short-circuit power, switchboard", seriesOf(sw->SwitchboardBreakerType), powerCheck, "B3",
         true, kRaisePower},
        {"short-circuit power, group line", seriesOf(group->BreakerType), powerCheck, "A3", true,
         kRaisePower},
        // The new panel's test looks an empty series up like any other: not in the base.
        {"new-panel feasibility", seriesOf(group->BreakerType),
         [this] {
             Current();
             return dan().CheckNewPanelShortCircuit(false, "Медь", 20, 30, 10, "Медь", "Медь");
         },
         "A3", false, nullptr},
        // The group's raising also says whether the breaker trips, which decides the line.
        {"group trip raising", seriesOf(group->BreakerType, &group->SinglePhaseFaultCurrent),
         [this] {
             Current();
             const bool trips = dan().EnsureGroupTripCurrent();
             EXPECT_EQ(trips, group->SinglePhaseFaultCurrent != -1);
             return trips;
         },
         "A3", true, nullptr},
        {"panel trip raising", seriesOf(panel->PanelBreakerType, &panel->PanelFaultCurrent1),
         raising(&NetworkChecks::EnsurePanelTripCurrent, panel->PanelFaultCurrent1), "B3", true,
         nullptr},
        // Without a series the switchboard's supply is not looked at at all.
        {"switchboard trip raising",
         seriesOf(sw->SwitchboardBreakerType, &sw->SwitchboardFaultCurrent1),
         raising(&NetworkChecks::EnsureSwitchboardTripCurrent, sw->SwitchboardFaultCurrent1), "B3",
         false, nullptr},
    };
    for (const SeriesCase& c : cases) {
        const struct {
            std::string series;
            bool passes;
        } kinds[] = {{c.known, true}, {"", c.emptyPasses}, {kUnknown, false}};
        for (const auto& kind : kinds) {
            SCOPED_TRACE(std::string(c.check) + ", series \"" + kind.series + "\"");
            c.setSeries(kind.series);
            Form3->ShortCircuitFailed = 0;
            const TreeImage before = ImageOf(*ProjectRoot);
            if (!kind.passes && c.refusal) responder_.ExpectMessage(c.refusal, kCaption, mrOk);
            EXPECT_EQ(c.run(), kind.passes);
            responder_.VerifyDone();
            // A refusal changes nothing: no section, no transformer, no stored current.
            if (!kind.passes) {
                EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
            }
            c.setSeries(c.known);
        }
    }
}

// A group line whose 4000 A breaker is of a series the base does not hold is refused as it is
// added, and the tree is as it was before.
TEST_F(UnknownSeriesTest, LineWithAnUnknownBreakerIsNotAdded) {
    const TreeImage empty = ImageOf(*ProjectRoot);
    TCxemaGrupd* line = BeginAdding(panel, {"G2", 4, 6, 1, 15});
    line->BreakerType = kUnknown;
    line->BreakerRating = 4000;
    MakeCurrent(sw, panel);
    panel->SchemeGroups.Cursor = line;
    responder_.ExpectMessage(kRefusedGroup, kCaption, mrOk);
    dan().CheckGroupShortCircuit(nullptr);
    EXPECT_EQ(LastMessage().icon, platform::MsgIcon::Warning);
    EXPECT_EQ(dan().FailureFlag, 1);
    EXPECT_EQ(panel->SchemeGroupCount, 1);
    EXPECT_TRUE(ImageOf(*ProjectRoot) == empty);
}

}  // namespace
