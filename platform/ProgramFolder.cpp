#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {
namespace {
std::string& OverrideFolder() {
    static std::string folder;
    return folder;
}

std::string WithTrailingSeparator(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}
}  // namespace

const std::string& ProgramFolder() {
    if (!OverrideFolder().empty()) return OverrideFolder();
    static std::string folder;
    QString dir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    folder = WithTrailingSeparator(dir.toStdString());
    return folder;
}

void SetProgramFolder(const std::string& folder) {
    OverrideFolder() = folder.empty() ? std::string() : WithTrailingSeparator(folder);
}

namespace {
// The folder this program made current last.
std::string& MadeCurrent() {
    static std::string folder;
    return folder;
}
}  // namespace

bool MakeProgramFolderCurrent() {
    const std::string folder = ProgramFolder();
    if (!QDir::setCurrent(QString::fromStdString(folder))) return false;
    MadeCurrent() = folder;
    return true;
}

bool KeepProgramFolderCurrent() {
    return ProgramFolder() == MadeCurrent() || MakeProgramFolderCurrent();
}

}  // namespace platform
