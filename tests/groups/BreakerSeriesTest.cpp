// The breaker series of a node: which series are listed for its rating and poles, what a rating
// beyond the base does to the change in progress, and when the breaker dialog is shown.
#include <QFile>

#include "ChecksFixture.h"
#include "SelectionOnWindows.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/InsertAvtomat.h"
#include "selection/CheckWindows.h"

namespace {

using platform::mrNo;
using platform::mrOk;
using platform::mrYes;

constexpr char kBeyondSeries[] =
    "Максимальный номинальный ток автомата 4000 А.Ввод группы отменяется";

class BreakerSeriesTest : public OnTheWindows<ChecksTest> {
protected:
    void SetUp() override {
        ChecksTest::SetUp();
        BuildProject();
    }
};

TEST_F(BreakerSeriesTest, SeriesThatCarryTheRatingWithTheRightPoles) {
    const struct {
        int kind;  // conductors of the group; 0: the transformer section
        double rating;
        std::vector<std::string> listed;
    } cases[] = {
        {2, 16, {"A1"}},        // one pole
        {3, 16, {"A2"}},        // two poles
        {4, 16, {"A3", "A4"}},  // three and four poles; the range starts at 16
        {4, 63, {"A3", "A4"}},  // the range ends at 63, inclusive
        {0, 63, {"A3"}},        // the section takes three poles only
        {0, 80, {"B3"}},        // 80..250
        {0, 1600, {"C3"}},      // the largest breaker of the base
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rating);
        bool listed = false;
        if (c.kind == 0) {
            ProjectRoot->TransformerBreakerRating = c.rating;
            listed = dan().SelectTransformerVruBreaker();
        } else {
            TCxemaGrupd* g =
                AddGroup(panel, {"G" + std::to_string(c.kind), c.kind, 1}, kCopperCableRows);
            g->BreakerRating = c.rating;
            panel->SchemeGroups.Cursor = g;
            listed = dan().SelectGroupPanelBreaker();
        }
        EXPECT_TRUE(listed);
        EXPECT_EQ(ListedSeries(), c.listed);
    }
}

// The sentinel of a current beyond the series: its own message only, and the group line being
// added is taken back.
TEST_F(BreakerSeriesTest, RatingBeyondTheSeriesCancelsTheLineBeingAdded) {
    AddGroup(panel, {"G1", 4, 9, 1, 10}, kCopperCableRows);
    Recalculate(panel);
    const TreeImage before = ImageOf(*ProjectRoot);
    TCxemaGrupd* g = BeginAdding(panel, {"G2", 4, 12, 1, 15});
    g->BreakerRating = 5000;
    responder_.ExpectMessage(kBeyondSeries, "Предупреждение", mrOk);
    EXPECT_FALSE(dan().SelectGroupPanelBreaker());
    ASSERT_EQ(responder_.Messages().size(), 1u);
    EXPECT_EQ(LastMessage().icon, platform::MsgIcon::None);
    EXPECT_EQ(LastMessage().buttons, platform::MsgButtons::Ok);
    EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
    EXPECT_EQ(dan().FailureFlag, 1);
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), sw);
    EXPECT_EQ(ProjectRoot->CurrentPanel(), panel);
    EXPECT_EQ(dan().GroupNames, std::vector<std::string>{"G1"});
}

// In an edit of a group line the refusal is followed by the edit's own message, and the line
// as it was comes back.
TEST_F(BreakerSeriesTest, RefusedEditIsUndone) {
    std::vector<std::string> restored;
    dan().CheckHooks.RestoreEditedGroup = [&](TGrsed*, TSitid*) { restored.push_back("G1"); };
    Form3->GroupEditMode = 1;
    TCxemaGrupd* g = BeginAdding(panel, {"G1*", 4, 12, 1, 15});  // the new version
    g->BreakerRating = 5000;
    responder_.ExpectMessage(kBeyondSeries, "Предупреждение", mrOk);
    responder_.ExpectMessage("Редактирование отменяется", "Предупреждение", mrOk);
    EXPECT_FALSE(dan().SelectGroupPanelBreaker());
    EXPECT_EQ(panel->SchemeGroupCount, 0);
    EXPECT_EQ(restored, std::vector<std::string>{"G1"});
}

TEST_F(BreakerSeriesTest, RatingBeyondTheBaseAsksAndRefuses) {
    const std::string question =
        "Номинальный ток автомата 2500 A. На участке трансформатор- Вру  В базе данных нет "
        "такого автомата. Открыть базу данных для редактирования?";
    AddGroup(panel, {"G1", 4, 9, 1, 10}, kCopperCableRows);
    Recalculate(panel);
    const TreeImage before = ImageOf(*ProjectRoot);
    BeginAdding(panel, {"G2", 4, 12, 1, 15});
    ProjectRoot->TransformerBreakerRating = 2500;  // the base ends at 1600
    responder_.ExpectMessage(question, "Предупреждение", mrNo);
    EXPECT_FALSE(dan().SelectTransformerVruBreaker());
    EXPECT_EQ(LastMessage().icon, platform::MsgIcon::Warning);
    EXPECT_EQ(LastMessage().buttons, platform::MsgButtons::YesNo);
    EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
    EXPECT_EQ(dan().FailureFlag, 1);

    // "Yes": the change is taken back first, then the base opens.
    dan().FailureFlag = 0;
    BeginAdding(panel, {"G3", 4, 12, 1, 15});
    ProjectRoot->TransformerBreakerRating = 2500;
    responder_.ExpectMessage(question, "Предупреждение", mrYes);
    responder_.ExpectModal("TBazaAvt", [&](QDialog&) {
        EXPECT_EQ(panel->SchemeGroupCount, 1);  // already taken back
        return platform::mrCancel;
    });
    EXPECT_FALSE(dan().SelectTransformerVruBreaker());
    EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
}

TEST_F(BreakerSeriesTest, NoSeriesForTheGroupNamesItsSection) {
    TCxemaGrupd* g = BeginAdding(panel, {"G1", 2, 1, 1, 10});
    g->BreakerRating = 80;  // no one-pole series reaches 80 A, though the base does
    responder_.ExpectMessage(
        "Номинальный ток автомата 80 A. На участке группа - щит  В базе данных нет такого "
        "автомата. Открыть базу данных для редактирования?",
        "Предупреждение", mrNo);
    EXPECT_FALSE(dan().SelectGroupPanelBreaker());
    EXPECT_EQ(panel->SchemeGroupCount, 0);
}

TEST_F(BreakerSeriesTest, PanelBounds) {
    AddGroup(panel, {"G1", 4, 9, 1, 10}, kCopperCableRows);
    const struct {
        bool cascadeHead;
        bool shifted;
        double own, feeder, shiftedRating;
        std::vector<std::string> listed;  // empty: the question
    } cases[] = {
        {false, false, 63, 63, 0, {"A3"}},
        {false, false, 63, 80, 0, {}},     // a plain panel's series must reach the feeder too
        {true, false, 63, 80, 0, {"A3"}},  // in a cascade its own rating alone
        {false, true, 63, 0, 100, {}},     // fed past the switchboard: up to its own breaker
        {false, true, 100, 0, 250, {"B3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.feeder);
        panel->FedFromSwitchboard = c.cascadeHead;
        panel->OnTrunk = c.shifted;
        panel->PanelBreakerRating = c.own;
        panel->FeederBreakerRating = c.feeder;
        panel->CascadeBreakerRating = c.shiftedRating;
        MakeCurrent(sw, panel);
        if (c.listed.empty())
            responder_.ExpectMessage(
                "В базе данных нет нужного автомата. Открыть базу данных для редактирования?",
                "Предупреждение", mrNo);
        EXPECT_EQ(dan().SelectPanelBreakers(), !c.listed.empty());
        if (!c.listed.empty()) {
            EXPECT_EQ(ListedSeries(), c.listed);
        }
    }
}

TEST_F(BreakerSeriesTest, PanelWithoutGroupsClearsItsBreakers) {
    ProjectRoot->TransformerBreakerRating = 63;
    ASSERT_TRUE(dan().SelectTransformerVruBreaker());
    panel->PanelBreakerRating = panel->FeederBreakerRating = panel->CascadeBreakerRating = 40;
    panel->PanelBreakerType = "A3";
    EXPECT_TRUE(dan().SelectPanelBreakers());
    EXPECT_EQ(panel->PanelBreakerRating, 0.0);
    EXPECT_EQ(panel->FeederBreakerRating, 0.0);
    EXPECT_EQ(panel->CascadeBreakerRating, 0.0);
    EXPECT_EQ(panel->PanelBreakerType, "");
    EXPECT_EQ(ListedSeries(), std::vector<std::string>{"A3"});  // the list is not touched
}

// Without a breaker file nothing is refused, and the list keeps no series of another node.
TEST_F(BreakerSeriesTest, MissingBreakerFileEmptiesTheList) {
    ProjectRoot->TransformerBreakerRating = 63;
    ASSERT_TRUE(dan().SelectTransformerVruBreaker());
    ASSERT_FALSE(ListedSeries().empty());
    ASSERT_TRUE(QFile::remove(QString::fromStdString(ProgramFile("Avtomat.xml"))));
    sw->SwitchboardBreakerRating = 160;
    EXPECT_TRUE(dan().SelectSwitchboardVruBreaker());
    EXPECT_TRUE(ListedSeries().empty());
}

TEST_F(BreakerSeriesTest, TrunkWithoutRatingClearsItsCascadeOnly) {
    TSitid* head = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 0, true);
    TSitid* member = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true, 2, false, 2);
    TSitid* other = AddPanel(sw, 4, kCopperCable, kCopperCableRows, true, 0, true);
    TSitid* otherMember = AddPanel(sw, 5, kCopperCable, kCopperCableRows, true, 4, false, 4);
    head->TrunkBreakerType = "B3";
    for (TSitid* p : {member, otherMember}) p->PanelBreakerType = "A3";
    MakeCurrent(sw, member);
    EXPECT_FALSE(dan().SelectTrunkBreaker());
    EXPECT_EQ(head->TrunkBreakerType, "");
    EXPECT_EQ(member->PanelBreakerType, "");
    EXPECT_EQ(otherMember->PanelBreakerType, "A3");
    EXPECT_EQ(other->TrunkBreakerType, "");
    EXPECT_EQ(sw->Panels.Cursor, member);
}

// ---------------------------------------------------------------------------------------------
// The breaker dialog

class BreakerDialogTest : public BreakerSeriesTest {
protected:
    void SetUp() override {
        BreakerSeriesTest::SetUp();
        AddGroup(panel, {"G1", 4, 9, 1, 10}, kCopperCableRows);
        panel->PanelBreakerRating = panel->FeederBreakerRating = 63;
    }
    // Chooses a series of the list and sets it.
    static ScriptedResponder::ModalAction Choose(int item) {
        return [item](QDialog&) {
            InsertAvtomat->ComboBox1->setCurrentIndex(item);
            InsertAvtomat->Button2Click();
            return platform::mrNone;
        };
    }
};

TEST_F(BreakerDialogTest, StoredSeriesStandsWhileTheBaseCarriesTheRating) {
    const struct {
        std::string stored;
        double rating;
        bool dialog;
    } cases[] = {
        {"A3", 63, false},        // in the base, reaching the rating
        {"A3", 80, true},         // its largest is 63
        {"", 63, true},           // nothing stored
        {"Старая", 1600, false},  // not in the base: the base's largest reaches the rating
        {"Старая", 2500, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored + " " + std::to_string(c.rating));
        ASSERT_TRUE(dan().SelectPanelBreakers());
        panel->PanelBreakerType = c.stored;
        panel->FeederBreakerRating = c.rating;
        if (c.dialog)
            responder_.ExpectModal("TInsertAvtomat", [](QDialog&) { return platform::mrCancel; });
        dan().ShowPanelBreakerDialog();
        EXPECT_EQ(panel->PanelBreakerType, c.stored);
        responder_.VerifyDone();
        panel->FeederBreakerRating = 63;
    }
}

TEST_F(BreakerDialogTest, ChosenSeriesIsStoredInTheNodeTheCaptionNames) {
    ASSERT_TRUE(dan().SelectPanelBreakers());
    panel->PanelNumber = 7;
    responder_.ExpectModal("TInsertAvtomat", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Установка автоматов");
        EXPECT_EQ(InsertAvtomat->GroupBox1->title().toStdString(), "Щит");
        EXPECT_EQ(InsertAvtomat->Label4->text().toStdString(), "Щит№ 7");
        EXPECT_EQ(InsertAvtomat->Label1->text().toStdString(), "Тип автомата");
        EXPECT_EQ(InsertAvtomat->Button2->text().toStdString(), "Установить");
        EXPECT_EQ(InsertAvtomat->width(), 186);
        // Nothing chosen: the dialog says so and stays open.
        InsertAvtomat->Button2Click();
        EXPECT_EQ(d.result(), platform::mrNone);
        InsertAvtomat->ComboBox1->setCurrentIndex(0);
        InsertAvtomat->Button2Click();
        return platform::mrNone;
    });
    responder_.ExpectMessage("Установите автомат.", "Предупреждение.", mrOk);
    dan().ShowPanelBreakerDialog();
    EXPECT_EQ(panel->PanelBreakerType, "A3");
    // The order: the dialog, then its message inside it.
    ASSERT_EQ(responder_.Log().size(), 2u);
    EXPECT_EQ(responder_.Log()[0].kind, ScriptedResponder::Event::Kind::Modal);
    EXPECT_EQ(responder_.Log()[1].kind, ScriptedResponder::Event::Kind::Message);
    EXPECT_EQ(responder_.Log()[1].message.icon, platform::MsgIcon::Warning);
}

TEST_F(BreakerDialogTest, TargetsOfTheDialog) {
    TSitid* head = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 0, true);
    TSitid* member = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true, 2, false, 2);
    const auto store = [&](const char* caption, TSitid* current) {
        MakeCurrent(sw, current);
        current->SchemeGroups.Cursor = current->SchemeGroups.First;
        selection::SetBreakerSeriesList({"X"});
        InsertAvtomat->GroupBox1->setTitle(caption);
        InsertAvtomat->ComboBox1->setCurrentIndex(0);
        InsertAvtomat->Button2Click();
    };
    store("Группы", panel);
    EXPECT_EQ(panel->SchemeGroups.First->BreakerType, "X");
    store("Щит", panel);
    EXPECT_EQ(panel->PanelBreakerType, "X");
    store("Грщ", panel);
    EXPECT_EQ(sw->SwitchboardBreakerType, "X");
    store("Секция КТП", panel);
    EXPECT_EQ(ProjectRoot->SectionBreakerType, "X");
    // The trunk breaker lands on the head of the cascade; the member stays current.
    store("Магистральный автомат", member);
    EXPECT_EQ(head->TrunkBreakerType, "X");
    EXPECT_EQ(sw->Panels.Cursor, member);
    // Outside any cascade, and under the layout's caption, nothing is stored.
    panel->TrunkBreakerType = "";
    sw->SwitchboardBreakerType = "";
    store("Магистральный автомат", panel);
    store("Щиты", panel);
    EXPECT_EQ(panel->TrunkBreakerType, "");
    EXPECT_EQ(sw->SwitchboardBreakerType, "");
}

// The dialog with nothing to offer can always be left, and leaving it stores nothing.
TEST_F(BreakerDialogTest, EmptyListCanBeLeftStoringNothing) {
    ASSERT_TRUE(QFile::remove(QString::fromStdString(ProgramFile("Avtomat.xml"))));
    ASSERT_TRUE(dan().SelectPanelBreakers());  // no base: nothing listed
    responder_.ExpectModal("TInsertAvtomat", [](QDialog&) {
        InsertAvtomat->Button2Click();
        return platform::mrNone;
    });
    dan().ShowPanelBreakerDialog();
    EXPECT_EQ(panel->PanelBreakerType, "");
    EXPECT_EQ(InsertAvtomat->result(), platform::mrCancel);
}

TEST_F(BreakerDialogTest, AutomaticChoiceOnlyInAnEdit) {
    ASSERT_TRUE(dan().SelectPanelBreakers());
    Shiti->AutoBreakers = true;
    // Outside an edit the dialog is shown all the same.
    responder_.ExpectModal("TInsertAvtomat", Choose(0));
    dan().ShowPanelBreakerDialog();
    EXPECT_EQ(panel->PanelBreakerType, "A3");

    panel->PanelBreakerType.clear();
    Form3->PanelEditMode = 1;
    dan().ShowPanelBreakerDialog();  // no dialog: the first series is taken
    EXPECT_EQ(panel->PanelBreakerType, "A3");
}

TEST_F(BreakerDialogTest, NodesWithoutLoadNeedNoChoice) {
    TCxemaGrupd* idle = AddGroup(panel, {"G0", 4, 0, 1, 10}, kCopperCableRows);
    idle->BreakerRating = 16;
    panel->SchemeGroups.Cursor = idle;
    dan().ShowGroupBreakerDialog();
    sw->SwitchboardBreakerType.clear();
    sw->SwitchboardInstalledPower = 0;
    dan().ShowSwitchboardBreakerDialog();
    ProjectRoot->TotalInstalledPower = 0;
    dan().ShowSectionBreakerDialog();
    TSitid* empty = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true);
    MakeCurrent(sw, empty);
    dan().ShowPanelBreakerDialog();
    EXPECT_TRUE(responder_.Log().empty());
}

// The trunk breaker's dialog leaves the current panel current, for the panel's own breaker next.
TEST_F(BreakerDialogTest, MainBreakerDialogKeepsTheCurrentPanel) {
    TSitid* head = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 0, true);
    TSitid* member = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true, 2, false, 2);
    AddGroup(member, {"M1", 4, 9, 1, 10}, kCopperCableRows);
    head->TrunkBreakerRating = 100;
    head->TrunkBreakerType = "B3";  // stands
    MakeCurrent(sw, member);
    dan().ShowMainBreakerDialog();
    EXPECT_EQ(sw->Panels.Cursor, member);
    EXPECT_EQ(InsertAvtomat->GroupBox1->title().toStdString(), "Магистральный автомат");

    head->TrunkBreakerType = "";
    MakeCurrent(sw, member);
    ASSERT_TRUE(dan().SelectTrunkBreaker());
    responder_.ExpectModal("TInsertAvtomat", Choose(0));
    dan().ShowMainBreakerDialog();
    EXPECT_EQ(head->TrunkBreakerType, "B3");
    EXPECT_EQ(sw->Panels.Cursor, member);
}

}  // namespace
