// Cancelling the change in progress: the line being added, the three edits of the editing
// window, and no change at all.
#include "ChecksFixture.h"
#include "SelectionOnWindows.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"

namespace {

using platform::mrOk;

class EditCancellationTest : public OnTheWindows<ChecksTest> {
protected:
    void SetUp() override {
        ChecksTest::SetUp();
        BuildProject();
        AddGroup(panel, {"G1", 4, 9, 1, 10}, kCopperCableRows);
        second = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true);
        AddGroup(second, {"G8", 4, 6, 1, 10}, kCopperCableRows);
        Recalculate(second);
        Recalculate(panel);
        // The hooks record what the editing windows are asked to do.
        auto& hooks = dan().CheckHooks;
        hooks.RestoreEditedGroup = [this](TGrsed* s, TSitid* p) {
            calls.push_back("RestoreEditedGroup");
            restoredAt = {s, p};
        };
        hooks.RefillEditLists = [this](QObject*) { calls.push_back("RefillEditLists"); };
        hooks.RestorePanelFromSnapshot = [this](TSitid* p) {
            calls.push_back("RestorePanelFromSnapshot");
            restoredPanel = p;
        };
        hooks.RebuildFromUndoCopy = [this] { calls.push_back("RebuildFromUndoCopy"); };
    }
    TSitid* second = nullptr;
    std::vector<std::string> calls;
    std::pair<TGrsed*, TSitid*> restoredAt{};
    TSitid* restoredPanel = nullptr;
};

TEST_F(EditCancellationTest, WithoutAChangeInProgressNothingHappens) {
    const TreeImage before = ImageOf(*ProjectRoot);
    dan().CancelEditing();
    EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
    EXPECT_EQ(dan().FailureFlag, 0);
    EXPECT_TRUE(calls.empty());
}

// Only the line being added goes, from its own panel, even when another panel is current and
// has lines of its own.
TEST_F(EditCancellationTest, TakesOffOnlyTheLineBeingAdded) {
    const TreeImage before = ImageOf(*ProjectRoot);
    BeginAdding(panel, {"G2", 4, 12, 1, 15});
    MakeCurrent(sw, second);
    dan().CancelEditing();
    EXPECT_EQ(panel->SchemeGroupCount, 1);
    EXPECT_EQ(panel->SchemeGroups.Last->GroupName, "G1");
    EXPECT_EQ(panel->ThreePhaseCount, 1);
    EXPECT_EQ(second->SchemeGroupCount, 1);
    EXPECT_EQ(second->SchemeGroups.Last->GroupName, "G8");
    EXPECT_EQ(dan().FailureFlag, 1);
    EXPECT_EQ(sw->Panels.Cursor, second);
    EXPECT_EQ(dan().GroupNames, (std::vector<std::string>{"G1", "G8"}));

    // Taken back once: a second cancellation finds nothing in progress.
    dan().FailureFlag = 0;
    MakeCurrent(sw, panel);
    dan().CancelEditing();
    EXPECT_EQ(panel->SchemeGroupCount, 1);
    EXPECT_EQ(dan().FailureFlag, 0);
    EXPECT_TRUE(ImageOf(*ProjectRoot).scheme == before.scheme);
}

// A line that has left the tree otherwise is not looked for in another's place.
TEST_F(EditCancellationTest, LineNoLongerInTheTreeIsNotTakenOff) {
    BeginAdding(panel, {"G2", 4, 12, 1, 15});
    MakeCurrent(sw, panel);
    Form1->DeleteGroupByName("G2");
    panel->SchemeGroups.Cursor = panel->SchemeGroups.First;
    const TreeImage before = ImageOf(*ProjectRoot);
    dan().CancelEditing();
    EXPECT_TRUE(ImageOf(*ProjectRoot) == before);
    EXPECT_EQ(dan().FailureFlag, 0);
}

TEST_F(EditCancellationTest, EditsAreUndoneByTheirOwnCopies) {
    const struct {
        const char* mode;
        std::vector<std::string> calls;
    } cases[] = {
        {"group", {"RestoreEditedGroup"}},
        {"panel", {"RefillEditLists", "RestorePanelFromSnapshot"}},
        {"switchboard", {"RebuildFromUndoCopy"}},
        {"panel+switchboard", {"RefillEditLists", "RestorePanelFromSnapshot"}},  // panel first
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string mode = c.mode;
        calls.clear();
        Form3->GroupEditMode = mode == "group";
        Form3->PanelEditMode = mode.find("panel") != std::string::npos;
        Form3->SwitchboardEditMode = mode.find("switchboard") != std::string::npos;
        Form3->SavedSwitchboard = sw;
        Form3->SavedPanel = panel;
        Form3->SavedGroup = std::make_unique<TCxemaGrupd>();
        Form3->PanelCopies.resize(2);
        Shiti->PanelToRestore = panel;
        Form3->ComboBox3->clear();
        Form3->ComboBox3->addItems({"1", "2"});
        Form3->ComboBox3->setCurrentIndex(0);
        // The new version of an edited line.
        if (mode == "group") BeginAdding(panel, {"G1*", 4, 15, 1, 10});
        MakeCurrent(sw, second);

        responder_.ExpectMessage("Редактирование отменяется", "Предупреждение", mrOk);
        dan().CancelEditing();
        responder_.VerifyDone();
        EXPECT_EQ(LastMessage().icon, platform::MsgIcon::Warning);
        EXPECT_EQ(calls, c.calls);
        if (mode == "group") {
            EXPECT_EQ(panel->SchemeGroups.Last->GroupName, "G1");
            EXPECT_EQ(restoredAt, std::make_pair(sw, panel));
            EXPECT_EQ(Form3->SavedGroup, nullptr);
            EXPECT_TRUE(Form3->PanelCopies.empty());
        }
        if (mode.find("panel") == 0) {
            EXPECT_EQ(restoredPanel, panel);
            EXPECT_EQ(Form3->ComboBox3->currentText().toStdString(), "2");  // the last panel
            EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), sw);
            EXPECT_EQ(sw->Panels.Cursor, second);
        }
    }
}

}  // namespace
