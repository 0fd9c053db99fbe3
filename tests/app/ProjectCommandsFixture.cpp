#include "ProjectCommandsFixture.h"

#include <QDir>
#include <fstream>
#include <iterator>

#include "app/Mainform.h"
#include "app/ProjectFile.h"
#include "app/Startup.h"
#include "documents/AdjustmentProject.h"
#include "groups/Dan12.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaTran.h"

void ProjectCommandsTest::SetUp() {
    AppFixture::SetUp();
    CopyFolder(PROGRAM_DATA_DIR, programDir_.path().toStdString());
    QDir().mkpath(QString::fromStdString(ProjectPath("")));
    // The reference windows read their tables at start-up: again, from the shipped ones.
    ReloadReferenceTables();
    platform::SetFileDialogAnswer([this](const platform::FileDialogRequest& request) {
        dialogs_.push_back(request);
        if (answers_.empty()) {
            ADD_FAILURE() << "Unexpected file dialog";
            return std::string();
        }
        Answer answer = std::move(answers_.front());
        answers_.pop_front();
        if (answer.whileShowing) answer.whileShowing();
        return answer.path;
    });
}

void ProjectCommandsTest::ReloadReferenceTables() {
    BazaAvt->AVT1.Close();
    BazaAvt->FormCreate();
    BazaTran->ClientDataSet2.Close();
    BazaTran->FormCreate();
}

void ProjectCommandsTest::TearDown() {
    platform::SetFileDialogAnswer(nullptr);
    for (const Answer& answer : answers_)
        ADD_FAILURE() << "Scripted file dialog choosing \"" << answer.path << "\" never appeared";
    DeleteProjectTree(ProjectRoot);
    AppFixture::TearDown();
}

void ProjectCommandsTest::AnswerFileDialog(const std::string& path,
                                           std::function<void()> whileShowing) {
    answers_.push_back({path, std::move(whileShowing)});
}

std::string ProjectCommandsTest::ProjectPath(const std::string& name) const {
    return ProgramFile("Project") + "/" + name;
}

std::string ProjectCommandsTest::WriteProject(const ProjectSpec& project, const std::string& path) {
    BuildProject(project);
    const std::string error =
        projectfile::SaveProjectFile(path, *ProjectRoot, ProjectExtras(project));
    EXPECT_EQ(error, "");
    DeleteProjectTree(ProjectRoot);
    return path;
}

void ProjectCommandsTest::OpenThroughMenu(const std::string& path) {
    AnswerFileDialog(path);
    Form1->Open1->trigger();
}

void ProjectCommandsTest::Restart() {
    DeleteProjectTree(ProjectRoot);
    DestroyAllWindows();
    CreateAllWindows();
}
