// The refresh after a change ("закрыть" and every failure tail): the edit states end, elements
// without load lose their computed values (never their group counts), the short-circuit values
// need the project's transformer, and the picture the scheme window shows is drawn again.
#include <QApplication>

#include "GroupsFixture.h"
#include "TreeLookup.h"
#include "app/DialogForm.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/PanelChooser.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "platform/Image.h"

class RefreshTest : public GroupDialogTest {
protected:
    // The scheme window shows a picture of that kind.
    static void ShowPicture(int kind) {
        if (!Form2->Image1) Form2->NewPicture();
        Form2->Image1->SetTag(kind);
    }
    // Every edit state of the edit dialog and the window set.
    static void SetEditStates() {
        Form3->ShortCircuitFailed = Form3->PanelRestoredFlag = Form3->EditedGroupRestored = 1;
        Form3->SwitchboardEditMode = Form3->PanelEditMode = Form3->GroupEditMode = 1;
        Dan1->FailureFlag = Dan1->RemedyActive = 1;
    }
    static void ExpectEditStatesCleared() {
        for (std::uint8_t flag :
             {Form3->ShortCircuitFailed, Form3->PanelRestoredFlag, Form3->EditedGroupRestored,
              Form3->SwitchboardEditMode, Form3->PanelEditMode, Form3->GroupEditMode,
              Dan1->FailureFlag, Dan1->RemedyActive})
            EXPECT_EQ(flag, 0);
    }
};

TEST_F(RefreshTest, WithoutAProject) {
    DeleteProjectTree(ProjectRoot);
    SetEditStates();
    Dan1->show();
    ShowWaitNotice(Form1);
    Dan1->ApplyAndRefresh();
    ExpectEditStatesCleared();
    EXPECT_FALSE(Dan1->isVisible());
    EXPECT_FALSE(DialogForm->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Without switchboards and load, the project's computed values, its transformer and its
// breakers go; the general scheme is drawn whatever picture was shown.
TEST_F(RefreshTest, AProjectWithoutSwitchboards) {
    DeleteProjectTree(ProjectRoot);
    ProjectRoot = new TGrsed;
    TGrsed& root = *ProjectRoot;
    root.TransformerName = "ТМ-400/10";
    root.SectionBreakerType = "A3";
    root.TransformerBreakerRating = 250;
    root.SupplyScPower = 300;
    ShowPicture(2);
    SetEditStates();
    Dan1->ApplyAndRefresh();
    ExpectEditStatesCleared();
    // Every computed value back to its default; the supply the user chose stays.
    TGrsedFields expected;
    expected.TransformerName = "ТМ-400/10";
    expected.SupplyScPower = 300;
    EXPECT_TRUE(static_cast<const TGrsedFields&>(root) == expected);
    // The general scheme replaces the panel picture shown.
    EXPECT_EQ(Form2->PictureKind(), 1);
}

// A panel without load fed from its switchboard keeps its number, place and feeder entries and
// loses its ratings, types and sections; its group counts follow its chains, even when the lines
// there add up to no load. A switchboard without load keeps its feeder entries, and gets the
// default 180 MVA back.
TEST_F(RefreshTest, ElementsWithoutLoad) {
    AddFirstLine();
    TSitid* empty = AddPanel(sw, 2);
    empty->FeederLength = 12;
    empty->PanelBreakerRating = 40;
    empty->FeederBreakerRating = 50;
    empty->PanelBreakerType = "A3";
    empty->FeederSection = 10;
    // A panel with lines but no load (negative powers pass the input checks, so lines can cancel
    // each other out).
    panel->InstalledPower = 0.0;
    sw->SwitchboardInstalledPower = 0.0;
    sw->SwitchboardBreakerRating = 63;
    sw->SupplyScPower = 250;
    Dan1->ApplyAndRefresh();

    EXPECT_EQ(empty->PanelNumber, 2);
    EXPECT_EQ(empty->Position, 2);
    EXPECT_EQ(empty->FeederLength, 12);
    EXPECT_EQ(empty->CurrentTableName, kFeeder);
    EXPECT_EQ(empty->FeederCableName, "КЩ2");
    EXPECT_EQ(empty->FeederSectionCount, static_cast<int>(kFeederRows.size()));
    EXPECT_EQ(empty->PanelBreakerRating, 0);
    EXPECT_EQ(empty->PanelBreakerType, "");
    EXPECT_EQ(panel->SchemeGroupCount, 1);
    EXPECT_EQ(panel->SinglePhaseCount, 1);
    EXPECT_NE(SchemeRecord("Гр0"), nullptr);
    EXPECT_EQ(sw->SwitchboardNumber, 1);
    EXPECT_EQ(sw->PanelCount, 2);
    EXPECT_EQ(sw->SwitchboardTable, kFeeder);
    EXPECT_EQ(sw->SwitchboardCableName, "КГ1");
    EXPECT_EQ(sw->SupplyScPower, 180.0);
    EXPECT_EQ(sw->SwitchboardBreakerType, "");
}

// Short-circuit currents need the project's transformer: without it in the base they are 0.
TEST_F(RefreshTest, NoTransformerGivesNoShortCircuitCurrents) {
    AddFirstLine();
    ASSERT_GT(sw->SwitchboardFaultCurrent1, 0);
    ASSERT_GT(panel->PanelFaultCurrent1, 0);
    WriteTransformerBase({{"ТМ-1000/10", 1000, 5.5, 10000}});
    Dan1->ApplyAndRefresh();
    for (double current :
         {sw->SwitchboardFaultCurrent1, sw->SwitchboardFaultCurrent3, sw->SwitchboardSurgeCurrent,
          panel->PanelFaultCurrent1, panel->PanelFaultCurrent3, panel->PanelSurgeCurrent})
        EXPECT_EQ(current, 0.0);
}

// The picture shown is drawn again: a panel's pictures for the panel chosen for them last (a new
// picture replaces the small one shown), nothing for a panel no longer there or no picture kind.
TEST_F(RefreshTest, ThePictureShownIsDrawnAgain) {
    AddFirstLine();
    const struct {
        int kind;
        int chosenPanel;
        bool redrawn;
    } cases[] = {
        {1, 0, true}, {2, 1, true}, {2, 7, false}, {3, 1, true}, {0, 1, false},
    };
    for (const auto& c : cases) {
        ShowPicture(c.kind);
        Form2->Image1->SetSize(1, 1);
        Form5->PanelNumber = c.chosenPanel;
        Dan1->ApplyAndRefresh();
        EXPECT_EQ(Form2->Image1->width() > 1, c.redrawn) << c.kind << " " << c.chosenPanel;
        if (c.redrawn) {
            EXPECT_EQ(Form2->PictureKind(), c.kind);
        }
    }
}

// The name lists follow the tree: a name of a line that is gone is free again.
TEST_F(RefreshTest, NameListsFollowTheTree) {
    AddFirstLine();
    Dan1->GroupNames.push_back("Гр7");
    Shiti->CableNames.push_back("К7");
    Dan1->ApplyAndRefresh();
    EXPECT_EQ(Dan1->GroupNames, (std::vector<std::string>{"Гр0"}));
    EXPECT_EQ(Shiti->CableNames, (std::vector<std::string>{"КГ1", "КЩ1", "К0"}));
}

// The line being added, taken off again: only it, and only while it is in the tree; the counts
// and the window's copies follow, the names are listed again.
TEST_F(RefreshTest, RemoveLastGroup) {
    AddFirstLine();
    ASSERT_EQ(panel->RowsOfThree, 1);
    TCxemaGrupd* line = SchemeRecord("Гр0");
    ProjectRoot->Switchboards.Cursor = sw;
    sw->Panels.Cursor = panel;
    Dan1->TrackGroupChange(line);
    Dan1->RemoveLastGroup();
    EXPECT_EQ(panel->SchemeGroups.First, nullptr);
    EXPECT_EQ(panel->SinglePhaseGroups.First, nullptr);
    EXPECT_EQ(panel->SchemeGroupCount, 0);
    EXPECT_EQ(panel->SinglePhaseCount, 0);
    EXPECT_EQ(panel->RowsOfThree, 0);
    EXPECT_EQ(Dan1->GroupCountCopies, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_TRUE(Dan1->GroupNames.empty());
    EXPECT_EQ(ProjectRoot->CurrentPanel(), panel);
    // Gone already: nothing more is taken.
    Dan1->RemoveLastGroup();
    EXPECT_EQ(panel->SchemeGroupCount, 0);
}

// The largest ratings one level down are 0 where there is nothing to take them from.
TEST_F(RefreshTest, MaximaOverNothing) {
    ProjectRoot->Switchboards.Cursor = sw;
    sw->Panels.Cursor = panel;
    EXPECT_EQ(Dan1->MaxGroupValue(), 0.0);
    TGrsed* bare = AddSwitchboard(2);
    ProjectRoot->Switchboards.Cursor = bare;
    EXPECT_EQ(Dan1->MaxPanelValue(), 0.0);
    DeleteProjectTree(ProjectRoot);
    ProjectRoot = new TGrsed;
    EXPECT_EQ(Dan1->MaxSwitchboardValue(), 0.0);
}
