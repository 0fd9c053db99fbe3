// Opening, making or closing a project while an editor is open: the editor ends first as its
// own cancel does, so that nothing of it stays on the screen over the next project, and none of
// its commands acts on a project it no longer shows.
#include <gtest/gtest.h>

#include <QDir>
#include <functional>

#include "EditFixture.h"
#include "app/Mainform.h"
#include "app/ProjectFile.h"
#include "app/SchemeWindow.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "platform/FileDialogs.h"
#include "app/PowerSystem.h"

namespace {

enum class Command { Open, New, CloseSchemeWindow };

class ProjectChangeEndsEdit : public EditTest {
protected:
    // Switchboard 1 with panels 1 and 2, one line on panel 1: saved, and opened from its file.
    void SetUp() override {
        EditTest::SetUp();
        BuildSwitchboard(1, "1 2");
        AddLoads(1, {10});
        Refresh();
        QDir().mkpath(QString::fromStdString(ProgramFile("Project")));
        path_ = ProgramFile("Project") + "/Сеть.VPQ";
        ASSERT_EQ(projectfile::SaveProjectFile(path_, *ProjectRoot, {}), "");
        DeleteProjectTree(ProjectRoot);
        ASSERT_TRUE(Form1->LoadProject(path_));
        Form1->ProjectFileName = path_;
        Form1->ProjectSaved = 1;
        platform::SetFileDialogAnswer([this](const platform::FileDialogRequest&) { return path_; });
    }
    void TearDown() override {
        platform::SetFileDialogAnswer(nullptr);
        EditTest::TearDown();
    }

    void Run(Command command) {
        switch (command) {
            case Command::Open:
                Form1->Open1->trigger();
                break;
            case Command::New:
                responder_.ExpectModal("TShiti", nullptr);
                Form1->New1->trigger();
                break;
            case Command::CloseSchemeWindow:
                EXPECT_TRUE(Form2->close());
                break;
        }
    }

    std::string path_;
};

TEST_F(ProjectChangeEndsEdit, EndsEveryOpenEditorAsItsCancelDoes) {
    struct Editor {
        const char* what;
        std::function<void()> open;
        QWidget* window;
    };
    const std::vector<Editor> editors = {
        {"the panel editor", [this] { OpenPanel("1"); }, Shiti},
        {"the switchboard editor", [this] { OpenSwitchboard("1"); }, Shiti},
        {"the edit window",
         [this] {
             OpenPanels();
             ChooseLeft("1");
         },
         Form3},
        {"the group line editor",
         [this] {
             OpenGroups();
             ChooseLeft("1");
             ChooseRight("Г1-1");
             responder_.ExpectModal("TPowerSystem", [](QDialog&) {
                 Click(PowerSystem->Button1);
                 return platform::mrNone;
             });
             // The line's per-phase loads, shown as they are.
             responder_.ExpectModal("TNotSimmetr_3F", nullptr);
             Edit();
         },
         Dan1},
    };
    const std::vector<std::pair<const char*, Command>> commands = {
        {"File > Open", Command::Open},
        {"File > New", Command::New},
        {"closing the scheme window", Command::CloseSchemeWindow},
    };
    for (const auto& [commandName, command] : commands) {
        for (const Editor& editor : editors) {
            SCOPED_TRACE(std::string(commandName) + ", " + editor.what);
            // The project opened from its file for each case, whatever the last case left.
            Form1->ProjectSaved = 1;
            Form2->close();
            Form1->Open1->trigger();
            ASSERT_NE(ProjectRoot, nullptr);
            editor.open();
            ASSERT_TRUE(editor.window->isVisible());

            Run(command);
            responder_.VerifyDone();
            for (QWidget* window : std::initializer_list<QWidget*>{Form3, Shiti, Dan1})
                EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
            EXPECT_EQ(Form3->GroupEditMode, 0);
            EXPECT_EQ(Form3->PanelEditMode, 0);
            EXPECT_EQ(Form3->SwitchboardEditMode, 0);
            EXPECT_TRUE(Form3->PanelCopies.empty());
            EXPECT_EQ(Form3->SavedGroup, nullptr);
            // As after "Отменить": the editors can be opened again, the lists usable.
            EXPECT_TRUE(Form1->N4->isEnabled());
            EXPECT_TRUE(Form1->N21->isEnabled());
            EXPECT_TRUE(Shiti->ComboBox3->isEnabled());
            EXPECT_TRUE(Shiti->ComboBox5->isEnabled());
        }
    }
}

}  // namespace
