// The recent projects list: the settings, the File menu's items after "&Выход" and the list in
// the main window, from the first start on.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>

#include "ProjectCommandsFixture.h"
#include "app/Mainform.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"

namespace {

using platform::mrCancel;
using platform::mrOk;

constexpr char kProgramKey[] = "Software\\Veltranovaplanir";
constexpr char kFilesKey[] = "Software\\Veltranovaplanir\\Files1";
constexpr char kStartKey[] = "Software\\StartVeltranovaplanir\\Start1";

class RecentFiles : public ProjectCommandsTest {
protected:
    static std::string Example(int number) {
        return platform::ProgramFolder() + "Project/Example" + std::to_string(number) + ".VPQ";
    }

    // The values of the list's key, by name.
    static std::vector<std::pair<std::string, std::string>> Values() {
        platform::TRegistry registry;
        std::vector<std::pair<std::string, std::string>> values;
        if (!registry.OpenKey(kFilesKey, false)) return values;
        for (const std::string& name : registry.GetValueNames())
            values.emplace_back(name, registry.ReadString(name));
        return values;
    }

    // The list's key holds exactly these paths, under "0", "1", ...
    static void WriteValues(const std::vector<std::string>& paths) {
        platform::TRegistry registry;
        registry.DeleteKey(kProgramKey);
        ASSERT_TRUE(registry.OpenKey(kFilesKey, true));
        for (size_t i = 0; i < paths.size(); ++i) registry.WriteString(std::to_string(i), paths[i]);
    }

    static std::vector<std::pair<std::string, std::string>> Numbered(
        const std::vector<std::string>& paths) {
        std::vector<std::pair<std::string, std::string>> values;
        for (size_t i = 0; i < paths.size(); ++i) values.emplace_back(std::to_string(i), paths[i]);
        return values;
    }

    // The recent items of the File menu: their captions, each with its mark.
    static std::vector<std::string> MenuItems() {
        std::vector<std::string> items;
        const QList<QAction*> actions = Form1->File1->actions();
        for (qsizetype i = 9; i < actions.size(); ++i) {
            EXPECT_TRUE(actions[i]->isChecked()) << i;
            items.push_back(actions[i]->text().toStdString());
        }
        return items;
    }

    // The list in memory: numbers 0, 1, ... in order, and the paths.
    static std::vector<std::string> ListPaths() {
        std::vector<std::string> paths;
        for (size_t i = 0; i < Form1->RecentFiles.size(); ++i) {
            EXPECT_EQ(Form1->RecentFiles[i]->Number, static_cast<int>(i));
            paths.push_back(Form1->RecentFiles[i]->Path);
        }
        return paths;
    }

    // The three places agree on these paths.
    static void ExpectList(const std::vector<std::string>& paths) {
        EXPECT_EQ(Values(), Numbered(paths));
        EXPECT_EQ(MenuItems(), paths);
        EXPECT_EQ(ListPaths(), paths);
    }

    static void Click(int entry) { Form1->File1->actions()[9 + entry]->trigger(); }
};

TEST_F(RecentFiles, FirstStartOffersTheExamples) {
    ExpectList({Example(1), Example(2), Example(3)});
    platform::TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kStartKey, false));
    EXPECT_TRUE(registry.ReadBool("FirstStart"));
}

TEST_F(RecentFiles, SecondStartOffersNothingEvenWithAnEmptyList) {
    WriteValues({});
    Restart();
    ExpectList({});
}

TEST_F(RecentFiles, StartDropsTheFilesThatAreGoneAndNumbersTheRestAgain) {
    const std::string gone = ProjectPath("Пропал.VPQ");
    WriteValues({Example(1), gone, Example(3)});
    {
        platform::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(kProgramKey, false));
        registry.WriteString("Другое", "значение");
    }
    Restart();
    ExpectList({Example(1), Example(3)});
    platform::TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kProgramKey, false));
    EXPECT_FALSE(registry.ValueExists("Другое"));
}

TEST_F(RecentFiles, APathListedTwiceStaysTwiceAndOpeningItAddsNoThird) {
    WriteValues({Example(1), Example(1)});
    Restart();
    OpenThroughMenu(Example(1));
    ExpectList({Example(1), Example(1)});
}

TEST_F(RecentFiles, AnOpenedFileJoinsTheList) {
    const std::string path = WriteProject(SmallProject(), ProjectPath("Малый & Ко.VPQ"));
    OpenThroughMenu(path);
    EXPECT_EQ(Values(), Numbered({Example(1), Example(2), Example(3), path}));
    EXPECT_EQ(ListPaths(), (std::vector<std::string>{Example(1), Example(2), Example(3), path}));
    // The '&' of the path is shown, not taken as an access key.
    EXPECT_EQ(MenuItems().back(), ProjectPath("Малый && Ко.VPQ"));
    ASSERT_NE(Form1->CurrentRecentEntry, nullptr);
    EXPECT_EQ(Form1->CurrentRecentEntry->Path, path);
}

TEST_F(RecentFiles, AnItemOpensItsProject) {
    Click(1);
    EXPECT_EQ(Form1->RecentIndex, 1);
    ASSERT_NE(ProjectRoot, nullptr);
    EXPECT_EQ(Form1->SchemeCaption(), Example(2));
    EXPECT_EQ(Form1->ProjectFileName, Example(2));
    EXPECT_EQ(Form1->DocumentKind, 1);
    EXPECT_TRUE(responder_.Messages().empty());
    ExpectList({Example(1), Example(2), Example(3)});
}

TEST_F(RecentFiles, AnItemAsksBeforeAnUnsavedProjectIsReplaced) {
    Click(0);
    TGrsed* first = ProjectRoot;
    Form1->ProjectSaved = 0;
    responder_.ExpectMessage("Сохранить изменения в файле?" + Example(1), "Veltranovaplanir 1.1",
                             mrCancel);
    Click(1);
    EXPECT_EQ(ProjectRoot, first);
    EXPECT_EQ(Form1->SchemeCaption(), Example(1));
}

TEST_F(RecentFiles, AFileGoneSinceStartIsDroppedWhenItsItemIsClicked) {
    ASSERT_TRUE(QFile::remove(QString::fromStdString(Example(2))));
    responder_.ExpectMessage("Невозможно открыть файл. Файл перемещен или удален.", "", mrOk);
    Click(1);
    EXPECT_EQ(ProjectRoot, nullptr);
    ExpectList({Example(1), Example(3)});
}

TEST_F(RecentFiles, AFailedOpenDropsThePathItTriedNotTheItemClickedLast) {
    Click(2);
    ASSERT_EQ(Form1->RecentIndex, 2);
    ASSERT_TRUE(QFile::remove(QString::fromStdString(Example(2))));
    responder_.ExpectMessage("Невозможно открыть файл. Файл перемещен или удален.", "", mrOk);
    OpenThroughMenu(Example(2));
    ExpectList({Example(1), Example(3)});
    // The project that was open stays.
    EXPECT_EQ(Form1->SchemeCaption(), Example(3));

    // A path the list does not hold leaves the list as it is.
    responder_.ExpectMessage("Невозможно открыть файл. Файл перемещен или удален.", "", mrOk);
    OpenThroughMenu(ProjectPath("Нет такого.VPQ"));
    ExpectList({Example(1), Example(3)});
}

}  // namespace
