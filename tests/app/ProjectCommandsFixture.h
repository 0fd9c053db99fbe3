#pragma once
// The application with the shipped reference tables in its program folder, file dialogs answered
// from a script, and project files written from project descriptions.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "ExampleProjects.h"
#include "platform/FileDialogs.h"

class ProjectCommandsTest : public AppFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // The next file dialog chooses this path ("" cancels it); `whileShowing` runs before it
    // closes.
    void AnswerFileDialog(const std::string& path, std::function<void()> whileShowing = {});
    // A path in the program folder's "Project" folder.
    std::string ProjectPath(const std::string& name) const;
    // Builds the project and writes its file; no project is open afterwards.
    std::string WriteProject(const ProjectSpec& project, const std::string& path);
    // File > Open choosing the file.
    void OpenThroughMenu(const std::string& path);
    // The breaker and transformer windows read their tables from the program folder again (a
    // missing one is made anew, empty).
    void ReloadReferenceTables();
    // Every window destroyed and created again: the program started anew with the same settings
    // and program folder.
    void Restart();

    // Every file dialog shown, in order.
    std::vector<platform::FileDialogRequest> dialogs_;

private:
    struct Answer {
        std::string path;
        std::function<void()> whileShowing;
    };
    std::deque<Answer> answers_;
};
