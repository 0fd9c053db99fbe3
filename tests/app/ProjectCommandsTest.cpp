// New, Open, Save, Save As and the close questions, driven as the user drives them: menu items,
// answers to the messages and file dialogs.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <cerrno>
#include <functional>

#include "ProjectCommandsFixture.h"
#include "TreeLookup.h"
#include "WindowChecks.h"
#include "app/Mainform.h"
#include "app/ProjectFile.h"
#include "app/SchemeWindow.h"
#include "documents/AdjustmentProject.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaTran.h"

namespace {

using platform::mrCancel;
using platform::mrNo;
using platform::mrOk;
using platform::mrYes;

constexpr char kQuestion[] = "Сохранить изменения в файле?";

class ProjectCommands : public ProjectCommandsTest {
protected:
    // The files of the program folder's "Project" folder.
    QStringList ProjectFiles() const {
        return QDir(QString::fromStdString(ProjectPath(""))).entryList(QDir::Files);
    }

    // The small project, written to "Малый.VPQ" and opened through File > Open.
    std::string OpenSmallProject() {
        const std::string path = WriteProject(SmallProject(), ProjectPath("Малый.VPQ"));
        OpenThroughMenu(path);
        EXPECT_NE(ProjectRoot, nullptr);
        return path;
    }

    // File > New with the switchboard dialog closed at once.
    void NewThroughMenu() {
        responder_.ExpectModal("TShiti", nullptr);
        Form1->New1->trigger();
    }
};

TEST_F(ProjectCommands, OpenShowsTheProjectUnderItsPath) {
    const std::string path = OpenSmallProject();
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].kind, platform::FileDialogKind::Open);
    EXPECT_EQ(dialogs_[0].folder, platform::ProgramFolder() + "Project");
    EXPECT_EQ(dialogs_[0].filter, "(*.VPQ)|*.VPQ");

    EXPECT_TRUE(Form1->SchemeWindowShown());
    EXPECT_EQ(Form1->SchemeCaption(), path);
    EXPECT_EQ(Form1->StatusText(), path);
    EXPECT_EQ(Form1->ProjectFileName, path);
    EXPECT_EQ(Form1->DocumentKind, 1);
    EXPECT_EQ(Form1->ProjectSaved, 1);
    EXPECT_TRUE(responder_.Messages().empty());
}

TEST_F(ProjectCommands, OpenFillsTheDialogsFromTheFile) {
    OpenSmallProject();
    EXPECT_EQ(Items(*Shiti->ComboBox2), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Items(*Dan1->ComboBox2), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Items(*Form3->ComboBox4), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Dan1->ComboBox2->currentIndex(), -1);
    EXPECT_EQ(Dan1->GroupNames, (std::vector<std::string>{"1.1", "2.1", "3.1"}));
    EXPECT_EQ(Shiti->CableNames,
              (std::vector<std::string>{"КГ1", "КЩ1", "К1.1", "КЩ2", "К2.1", "КЩ3", "К3.1"}));
    EXPECT_EQ(Shiti->SwitchboardCounter, 1);
    // Three lines: the counter went from 1 to 4, its code is 100 x 4 + 700.
    EXPECT_EQ(Dan1->GroupCounter, 4);
    EXPECT_EQ(Dan1->GroupCounterCode, 1100);
    EXPECT_EQ(AdjustmentProjectForm->DevelopedBy, "Иванов");
    EXPECT_EQ(AdjustmentProjectForm->Edit1->text().toStdString(), "ВП-01-ЭМ");
    EXPECT_EQ(AdjustmentProjectForm->Edit5->text().toStdString(), "Смирнова");
    EXPECT_EQ(Form1->SnapshotSwitchboardCount, 1);
    EXPECT_EQ(Form1->SnapshotPanelCounts, (std::vector<int>{3}));
    EXPECT_EQ(Form1->SnapshotGroupCounts, (std::vector<std::vector<int>>{{1, 1, 1}}));
}

TEST_F(ProjectCommands, OpenThenCloseWithoutEditsAsksNothing) {
    OpenSmallProject();
    EXPECT_TRUE(Form1->QueryCloseProject());
    bool canClose = true;
    Form1->FormCloseQuery(canClose);
    EXPECT_TRUE(canClose);
    // Closing the scheme window closes the project, without a question.
    EXPECT_TRUE(Form2->close());
    EXPECT_EQ(ProjectRoot, nullptr);
    EXPECT_FALSE(Form1->SchemeWindowShown());
    EXPECT_EQ(Form1->SchemeCaption(), "Untitled");
    EXPECT_EQ(Form1->StatusText(), "");
    EXPECT_TRUE(responder_.Messages().empty());
}

TEST_F(ProjectCommands, NewBeginsAnUntitledProject) {
    OpenSmallProject();
    Form1->ComboBox1->setCurrentIndex(2);
    responder_.ExpectModal("TShiti", [](QDialog& dialog) {
        EXPECT_EQ(dialog.size(), QSize(402, 393));
        EXPECT_EQ(dialog.minimumSize(), QSize(402, 393));
        return mrCancel;
    });
    Form1->New1->trigger();

    ASSERT_NE(ProjectRoot, nullptr);
    EXPECT_EQ(ProjectRoot->Switchboards.First, nullptr);
    EXPECT_EQ(ProjectRoot->SupplyScPower, 180.0);
    EXPECT_EQ(Form1->SchemeCaption(), "Untitled");
    EXPECT_EQ(Form1->StatusText(), "Untitled");
    EXPECT_EQ(Form1->ProjectFileName, "Untitled");
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_TRUE(Form1->ToolButton4->isEnabled());
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(Shiti->ComboBox2->count(), 0);
    EXPECT_EQ(Dan1->ComboBox2->count(), 0);
    EXPECT_EQ(Form3->ComboBox4->count(), 0);
    EXPECT_TRUE(Dan1->GroupNames.empty());
    EXPECT_TRUE(Shiti->CableNames.empty());
    EXPECT_EQ(Shiti->SwitchboardCounter, 0);
    EXPECT_EQ(Dan1->GroupCounterCode, 0);
    // The project before was saved: no question.
    EXPECT_TRUE(responder_.Messages().empty());
}

TEST_F(ProjectCommands, NewTwiceAsksTheSecondTime) {
    NewThroughMenu();
    ProjectRoot->TransformerName = "ТМ-250/10";  // the first new project has a transformer
    responder_.ExpectMessage(std::string(kQuestion) + "Untitled", "Veltranovaplanir 1.2", mrNo);
    NewThroughMenu();
    EXPECT_EQ(ProjectRoot->TransformerName, "");
    EXPECT_EQ(Form1->ProjectSaved, 0);
}

// An edit marked the open project unsaved; New asks, and the answer decides.
struct NewAnswer {
    const char* what;
    int answer;
    bool replaced;  // a new project is open afterwards
    bool written;   // the project was written to its file first
};

void PrintTo(const NewAnswer& c, std::ostream* os) {
    *os << c.what;
}

class NewAfterAChange : public ProjectCommands, public ::testing::WithParamInterface<NewAnswer> {};

TEST_P(NewAfterAChange, AsksTheSaveQuestion) {
    const NewAnswer& c = GetParam();
    const std::string path = OpenSmallProject();
    TGrsed* edited = ProjectRoot;
    AdjustmentProjectForm->DevelopedBy = "Новиков";
    Form1->ProjectSaved = 0;
    const std::string before = FileBytes(path);

    responder_.ExpectMessage(kQuestion + path, "Veltranovaplanir 1.2", c.answer);
    if (c.replaced) responder_.ExpectModal("TShiti", nullptr);
    Form1->New1->trigger();

    if (c.replaced) {
        EXPECT_EQ(ProjectRoot->Switchboards.First, nullptr);
        EXPECT_EQ(Form1->SchemeCaption(), "Untitled");
    } else {
        EXPECT_EQ(ProjectRoot, edited);
        EXPECT_EQ(Form1->SchemeCaption(), path);
        EXPECT_EQ(Form1->ProjectSaved, 0);
    }
    if (c.written) {
        EXPECT_EQ(projectfile::LoadProjectFile(path).Extras.Stamp.DevelopedBy, "Новиков");
    } else {
        EXPECT_TRUE(FileBytes(path) == before);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, NewAfterAChange,
                         ::testing::Values(NewAnswer{"Cancel keeps the project", mrCancel, false,
                                                     false},
                                           NewAnswer{"No drops it unsaved", mrNo, true, false},
                                           NewAnswer{"Yes saves it first", mrYes, true, true}));

// Edits found by the counts recorded at loading, although nothing marked the project unsaved.
struct TreeEdit {
    const char* what;
    std::function<void()> edit;
};

void PrintTo(const TreeEdit& c, std::ostream* os) {
    *os << c.what;
}

class ChangeTest : public ProjectCommands, public ::testing::WithParamInterface<TreeEdit> {};

TEST_P(ChangeTest, OpenAsksAndCancelKeepsTheProject) {
    const std::string path = OpenSmallProject();
    TGrsed* edited = ProjectRoot;
    GetParam().edit();
    Form1->ToolButton4->setEnabled(false);
    ASSERT_EQ(Form1->ProjectSaved, 1);

    responder_.ExpectMessage(kQuestion + path, "Veltranovaplanir 1.1", mrCancel);
    Form1->Open1->trigger();

    EXPECT_EQ(dialogs_.size(), 1u);  // only the first open
    EXPECT_EQ(ProjectRoot, edited);
    EXPECT_EQ(Form1->SchemeCaption(), path);
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_TRUE(Form1->ToolButton4->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Edits, ChangeTest,
                         ::testing::Values(TreeEdit{"a switchboard added",
                                                    [] {
                                                        TGrsed record;
                                                        record.SwitchboardNumber = 2;
                                                        ProjectRoot->AddSwitchboard(record);
                                                        ++ProjectRoot->SwitchboardCount;
                                                    }},
                                           TreeEdit{
                                               "a panel added",
                                               [] {
                                                   TSitid record;
                                                   record.PanelNumber = 4;
                                                   ProjectRoot->AddPanel(1, record);
                                                   ++ProjectRoot->Switchboards.First->PanelCount;
                                               }},
                                           TreeEdit{"a line added",
                                                    [] {
                                                        ProjectRoot->ResetCursors();
                                                        TCxemaGrupd line;
                                                        line.GroupName = "1.2";
                                                        line.PhaseKind = 2;
                                                        ProjectRoot->AddCxemaGroup(
                                                            1, ProjectRoot->CountPanels(), line);
                                                    }},
                                           TreeEdit{"a line deleted", [] {
                                                        ASSERT_TRUE(ProjectRoot->FindPanel(2));
                                                        Form1->DeleteGroupByName("2.1");
                                                    }}));

// A project saved after a change is compared with what it saved: the next Open asks nothing.
struct SaveAfterAChange {
    const char* what;
    bool untitled;  // a new project saved through Save As; else an opened one through Save
};

void PrintTo(const SaveAfterAChange& c, std::ostream* os) {
    *os << c.what;
}

class SavedChange : public ProjectCommands,
                    public ::testing::WithParamInterface<SaveAfterAChange> {};

TEST_P(SavedChange, IsNotAskedAboutAgain) {
    const SaveAfterAChange& c = GetParam();
    const std::string other = WriteProject(SmallProject(), ProjectPath("Другой.VPQ"));
    if (c.untitled)
        NewThroughMenu();
    else
        OpenSmallProject();
    TGrsed record;
    record.SwitchboardNumber = 7;
    ProjectRoot->AddSwitchboard(record);
    ++ProjectRoot->SwitchboardCount;
    Form1->ProjectSaved = 0;
    if (c.untitled) {
        AnswerFileDialog(ProjectPath("Новый"));
        Form1->SaveAs->trigger();
    } else {
        Form1->Save1->trigger();
    }
    ASSERT_EQ(Form1->ProjectSaved, 1);

    // No save question: the responder fails the test on any message.
    OpenThroughMenu(other);
    EXPECT_EQ(Form1->SchemeCaption(), other);
    EXPECT_EQ(ProjectRoot->SwitchboardCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Saves, SavedChange,
                         ::testing::Values(SaveAfterAChange{"a new project through Save As", true},
                                           SaveAfterAChange{"an opened project through Save",
                                                            false}));

// "Yes" to the save question followed by no save: the project stays open, as with "Cancel".
enum class Caller { New, Open, CloseMainWindow, ToolbarExit, CloseSchemeWindow };

struct YesWithoutSave {
    const char* what;
    Caller caller;
    const char* caption;
    bool failedWrite;  // the Save As dialog chose a file that cannot be written; else Cancel
};

void PrintTo(const YesWithoutSave& c, std::ostream* os) {
    *os << c.what;
}

class YesWithoutASave : public ProjectCommands,
                        public ::testing::WithParamInterface<YesWithoutSave> {};

TEST_P(YesWithoutASave, KeepsTheProjectOpen) {
    const YesWithoutSave& c = GetParam();
    Form1->show();
    NewThroughMenu();
    TGrsed* untitled = ProjectRoot;
    const QStringList files = ProjectFiles();
    const std::string unwritable = ProjectPath("Нет такой папки/Проект");

    responder_.ExpectMessage(std::string(kQuestion) + "Untitled", c.caption, mrYes);
    AnswerFileDialog(c.failedWrite ? unwritable : "");
    if (c.failedWrite)
        responder_.ExpectMessage("Не удалось записать файл \"" + unwritable +
                                     ".VPQ\": " + platform::SystemErrorText(ENOENT) + ".",
                                 "Ошибка", mrOk);
    switch (c.caller) {
        case Caller::New:
            Form1->New1->trigger();
            break;
        case Caller::Open:
            Form1->Open1->trigger();
            break;
        case Caller::CloseMainWindow:
            EXPECT_FALSE(Form1->close());
            break;
        case Caller::ToolbarExit:
            Form1->ToolButton8Click();
            break;
        case Caller::CloseSchemeWindow:
            EXPECT_FALSE(Form2->close());
            break;
    }

    EXPECT_TRUE(Form1->isVisible());
    EXPECT_EQ(ProjectRoot, untitled);
    EXPECT_TRUE(Form1->SchemeWindowShown());
    EXPECT_EQ(Form1->SchemeCaption(), "Untitled");
    EXPECT_EQ(Form1->ProjectFileName, "Untitled");
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_EQ(dialogs_.size(), 1u);  // the save dialog, no open dialog after it
    EXPECT_EQ(ProjectFiles(), files);
}

INSTANTIATE_TEST_SUITE_P(
    Callers, YesWithoutASave,
    ::testing::Values(
        YesWithoutSave{"New, Save As cancelled", Caller::New, "Veltranovaplanir 1.2", false},
        YesWithoutSave{"New, file not written", Caller::New, "Veltranovaplanir 1.2", true},
        YesWithoutSave{"Open, Save As cancelled", Caller::Open, "Veltranovaplanir 1.1", false},
        YesWithoutSave{"Open, file not written", Caller::Open, "Veltranovaplanir 1.1", true},
        YesWithoutSave{"closing the main window, Save As cancelled", Caller::CloseMainWindow,
                       "Veltranovaplanir 1.1", false},
        YesWithoutSave{"closing the main window, file not written", Caller::CloseMainWindow,
                       "Veltranovaplanir 1.1", true},
        YesWithoutSave{"toolbar exit, Save As cancelled", Caller::ToolbarExit,
                       "Veltranovaplanir 1.1", false},
        YesWithoutSave{"toolbar exit, file not written", Caller::ToolbarExit,
                       "Veltranovaplanir 1.1", true},
        YesWithoutSave{"closing the scheme window, Save As cancelled", Caller::CloseSchemeWindow,
                       "Veltranovaplanir 2.1", false},
        YesWithoutSave{"closing the scheme window, file not written", Caller::CloseSchemeWindow,
                       "Veltranovaplanir 2.1", true}));

// "Yes" saved and dropped the project, then the open dialog was cancelled: no project is left, and
// the next Open works.
TEST_F(ProjectCommands, ACancelledOpenAfterTheSaveQuestionLeavesNoProjectWindow) {
    const std::string path = OpenSmallProject();
    Form1->ProjectSaved = 0;
    responder_.ExpectMessage(kQuestion + path, "Veltranovaplanir 1.1", mrYes);
    AnswerFileDialog("");
    Form1->Open1->trigger();
    EXPECT_EQ(ProjectRoot, nullptr);
    EXPECT_FALSE(Form1->SchemeWindowShown());
    EXPECT_EQ(Form1->StatusText(), "");

    OpenThroughMenu(path);
    EXPECT_NE(ProjectRoot, nullptr);
    EXPECT_EQ(Form1->SchemeCaption(), path);
}

TEST_F(ProjectCommands, NoToTheQuestionOfTheSchemeWindowDropsTheProject) {
    NewThroughMenu();
    responder_.ExpectMessage(std::string(kQuestion) + "Untitled", "Veltranovaplanir 2.1", mrNo);
    EXPECT_TRUE(Form2->close());
    EXPECT_EQ(ProjectRoot, nullptr);
    EXPECT_EQ(Form1->ProjectSaved, 1);
    EXPECT_FALSE(Form1->ToolButton4->isEnabled());
    EXPECT_EQ(Form1->SchemeCaption(), "Untitled");
    EXPECT_EQ(Form1->StatusText(), "");
}

TEST_F(ProjectCommands, ClosingTheMainWindowWithNoAsksAndWritesNothing) {
    Form1->show();
    NewThroughMenu();
    const QStringList files = ProjectFiles();
    responder_.ExpectMessage(std::string(kQuestion) + "Untitled", "Veltranovaplanir 1.1", mrNo);
    EXPECT_TRUE(Form1->close());
    EXPECT_EQ(ProjectFiles(), files);
}

// Save As: the name the dialog returns gets the project extension once.
struct SaveAsName {
    const char* chosen;
    const char* written;
};

void PrintTo(const SaveAsName& c, std::ostream* os) {
    *os << c.chosen;
}

class SaveAsNames : public ProjectCommands, public ::testing::WithParamInterface<SaveAsName> {};

TEST_P(SaveAsNames, WritesTheFileUnderTheNameWithOneExtension) {
    NewThroughMenu();
    QStringList files = ProjectFiles();
    const std::string chosen = ProjectPath(GetParam().chosen);
    const std::string written = ProjectPath(GetParam().written);
    AnswerFileDialog(chosen, [] { EXPECT_EQ(Form1->SaveAsPending, 1); });
    Form1->SaveAs->trigger();

    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].kind, platform::FileDialogKind::Save);
    EXPECT_EQ(dialogs_[0].fileName, "Untitled");
    EXPECT_EQ(dialogs_[0].folder, platform::ProgramFolder() + "Project");
    EXPECT_EQ(dialogs_[0].filter, "(*.VPQ)|*.VPQ|(*.*)|*.*");
    EXPECT_EQ(Form1->SaveAsPending, 0);
    files << QString::fromStdString(GetParam().written);
    files.sort();
    EXPECT_EQ(ProjectFiles(), files);
    EXPECT_TRUE(FileBytes(written) == ProjectBytes());
    EXPECT_EQ(Form1->ProjectFileName, written);
    EXPECT_EQ(Form1->SchemeCaption(), written);
    EXPECT_EQ(Form1->ProjectSaved, 1);
    EXPECT_FALSE(Form1->ToolButton4->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Names, SaveAsNames,
                         ::testing::Values(SaveAsName{"Проект", "Проект.VPQ"},
                                           SaveAsName{"Проект.VPQ", "Проект.VPQ"},
                                           SaveAsName{"проект.vpq", "проект.vpq"},
                                           SaveAsName{"Проект.v2", "Проект.v2.VPQ"}));

TEST_F(ProjectCommands, SaveOfAnUntitledProjectGoesThroughSaveAs) {
    NewThroughMenu();
    const QStringList files = ProjectFiles();
    AnswerFileDialog("");
    Form1->Save1->trigger();
    EXPECT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(Form1->SaveAsPending, 0);
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_EQ(Form1->SchemeCaption(), "Untitled");
    EXPECT_EQ(ProjectFiles(), files);
}

// The phasing picture names its panel in the scheme window's caption: the project is untitled
// all the same, and Save asks for a name.
TEST_F(ProjectCommands, SaveOfAnUntitledProjectShowingAPhasingPictureGoesThroughSaveAs) {
    NewThroughMenu();
    TGrsed board;
    board.SwitchboardNumber = 1;
    ProjectRoot->AddSwitchboard(board);
    ++ProjectRoot->SwitchboardCount;
    TSitid panel;
    panel.PanelNumber = 1;
    ProjectRoot->AddPanel(1, panel);
    ++ProjectRoot->Switchboards.First->PanelCount;
    Form1->DrawPanelPhasing(1);
    ASSERT_EQ(Form1->SchemeCaption(), "Фазировка групп. Щит №  1");

    const std::string chosen = ProjectPath("Новый");
    AnswerFileDialog(chosen);
    Form1->Save1->trigger();
    EXPECT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(Form1->ProjectFileName, chosen + ".VPQ");
    EXPECT_EQ(Form1->SchemeCaption(), chosen + ".VPQ");
    EXPECT_EQ(Form1->ProjectSaved, 1);
    EXPECT_TRUE(ProjectFiles().contains("Новый.VPQ"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(ProgramFile("Untitled"))));
}

// A text the file cannot hold: the save is refused with the writer's reason, the old file stays
// and the project stays unsaved.
struct SpoiledText {
    const char* what;
    std::function<void()> spoil;
    std::string message;
};

void PrintTo(const SpoiledText& c, std::ostream* os) {
    *os << c.what;
}

class FailedSave : public ProjectCommands, public ::testing::WithParamInterface<SpoiledText> {};

TEST_P(FailedSave, KeepsTheOldFileAndTheProjectUnsaved) {
    const std::string path = OpenSmallProject();
    const std::string before = FileBytes(path);
    GetParam().spoil();
    Form1->ProjectSaved = 0;
    Form1->ToolButton4->setEnabled(true);

    responder_.ExpectMessage(GetParam().message, "Ошибка", mrOk);
    Form1->Save1->trigger();
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_TRUE(Form1->ToolButton4->isEnabled());
    EXPECT_TRUE(FileBytes(path) == before);

    // Nor does the close question take a failed save for a saved project.
    responder_.ExpectMessage(kQuestion + path, "Veltranovaplanir 1.1", mrYes);
    responder_.ExpectMessage(GetParam().message, "Ошибка", mrOk);
    bool canClose = true;
    Form1->FormCloseQuery(canClose);
    EXPECT_FALSE(canClose);
    EXPECT_TRUE(FileBytes(path) == before);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FailedSave,
    ::testing::Values(
        SpoiledText{"a line's cable name with a snowman",
                    [] { PanelNumbered(1)->SchemeGroups.First->CableName = "Кабель ☃"; },
                    "Проект не сохранён: текст поля «название кабеля» группы \"1.1\" щита 1 "
                    "нельзя записать в кодировке Windows-1251."},
        SpoiledText{"a feeder cable name of 255 letters",
                    [] {
                        std::string name;
                        for (int i = 0; i < 255; ++i) name += "Ж";
                        PanelNumbered(2)->FeederCableName = name;
                    },
                    "Проект не сохранён: текст поля «название кабеля» щита 2 длиннее 254 байт."},
        SpoiledText{"the stamp with a snowman",
                    [] { AdjustmentProjectForm->DevelopedBy = "Иванов ☃"; },
                    "Проект не сохранён: текст поля «разработал» проекта нельзя записать в "
                    "кодировке Windows-1251."}));

TEST_F(ProjectCommands, ToolbarExitWithNoWritesNothingAndCloses) {
    Form1->show();
    NewThroughMenu();
    const QStringList files = ProjectFiles();
    responder_.ExpectMessage(std::string(kQuestion) + "Untitled", "Veltranovaplanir 1.1", mrNo);
    Form1->ToolButton8Click();
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(ProjectRoot, nullptr);
    EXPECT_EQ(ProjectFiles(), files);
}

// An empty breaker or transformer table stops the commands that begin a project, and offers the
// table's window.
enum class Command { New, Open, RecentItem };

struct EmptyTable {
    const char* what;
    const char* file;
    const char* text;
    const char* window;
    Command command;
};

void PrintTo(const EmptyTable& c, std::ostream* os) {
    *os << c.what;
}

class EmptyReferenceTable : public ProjectCommands,
                            public ::testing::WithParamInterface<EmptyTable> {};

TEST_P(EmptyReferenceTable, StopsTheCommandAndOffersTheTable) {
    const EmptyTable& c = GetParam();
    ASSERT_TRUE(QFile::remove(QString::fromStdString(ProgramFile(c.file))));
    ReloadReferenceTables();
    responder_.ExpectMessage(c.text, "предупреждение.", mrYes);
    responder_.ExpectModal(c.window, nullptr);
    switch (c.command) {
        case Command::New:
            Form1->New1->trigger();
            break;
        case Command::Open:
            Form1->Open1->trigger();
            break;
        case Command::RecentItem:
            Form1->File1->actions()[9]->trigger();
            break;
    }
    EXPECT_EQ(ProjectRoot, nullptr);
    EXPECT_FALSE(Form1->SchemeWindowShown());
    EXPECT_TRUE(dialogs_.empty());
}

constexpr char kNoBreakers[] = "В базе данных <Автоматы> нет данных.Открыть базу данных?";
constexpr char kNoTransformers[] = "В базе данных <Трансформаторы> нет данных.Открыть базу данных?";

INSTANTIATE_TEST_SUITE_P(Tables, EmptyReferenceTable,
                         ::testing::Values(EmptyTable{"no breakers, New", "Avtomat.xml",
                                                      kNoBreakers, "TBazaAvt", Command::New},
                                           EmptyTable{"no breakers, Open", "Avtomat.xml",
                                                      kNoBreakers, "TBazaAvt", Command::Open},
                                           EmptyTable{"no breakers, recent item", "Avtomat.xml",
                                                      kNoBreakers, "TBazaAvt", Command::RecentItem},
                                           EmptyTable{"no transformers, Open", "tranform.xml",
                                                      kNoTransformers, "TBazaTran",
                                                      Command::Open}));

}  // namespace

// A closed project leaves nothing pointing into its deleted tree: neither the group change the
// group-entry window tracks nor the edit dialog's undo data.
TEST_F(ProjectCommands, ClosingTheProjectForgetsEverythingThatPointedIntoIt) {
    OpenSmallProject();
    TGrsed* sw = ProjectRoot->Switchboards.First;
    ASSERT_NE(sw, nullptr);
    TSitid* panel = sw->Panels.First;
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(panel->SchemeGroups.First, nullptr);
    Dan1->TrackGroupChange(panel->SchemeGroups.First);
    Form3->SavedSwitchboard = sw;
    Form3->SavedPanel = panel;
    Form3->PanelCopies.assign(2, TSitid{});

    EXPECT_TRUE(Form2->close());
    ASSERT_EQ(ProjectRoot, nullptr);
    EXPECT_EQ(Dan1->GroupChangePanel(), nullptr);
    EXPECT_FALSE(Dan1->RemoveTrackedGroup());
    EXPECT_EQ(Form3->SavedSwitchboard, nullptr);
    EXPECT_EQ(Form3->SavedPanel, nullptr);
    EXPECT_TRUE(Form3->PanelCopies.empty());
}
