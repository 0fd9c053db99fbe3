#pragma once
// The open and save file dialogs, routed through one place: tests install an answer instead of a
// user, and without one a real dialog runs through ShowModal, so that a test responder reports
// any dialog it did not expect instead of blocking in it.
#include <functional>
#include <string>

class QWidget;

namespace platform {

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::string folder;         // the folder the dialog starts in
    std::string fileName;       // the name it is pre-filled with (a path chooses its folder)
    std::string filter;         // classic form: "description|pattern|description|pattern"
    std::string defaultSuffix;  // save: added to a name typed without an extension
};

// Chooses in place of the user: the chosen path, or "" for Cancel. nullptr returns to real
// dialogs.
using FileDialogAnswer = std::function<std::string(const FileDialogRequest&)>;
void SetFileDialogAnswer(FileDialogAnswer answer);

// The path of an existing file chosen by the user; "" when the dialog was cancelled.
std::string OpenFileDialog(QWidget* parent, const std::string& folder, const std::string& filter);

// The path the user chose to save under; "" when the dialog was cancelled. Replacing an existing
// file is confirmed in the dialog.
std::string SaveFileDialog(QWidget* parent, const std::string& folder, const std::string& fileName,
                           const std::string& filter, const std::string& defaultSuffix = "");

}  // namespace platform
