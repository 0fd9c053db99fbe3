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

std::string ProgramFolder() {
    if (!OverrideFolder().empty()) return OverrideFolder();
    QString dir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return WithTrailingSeparator(dir.toStdString());
}

void SetProgramFolder(const std::string& folder) {
    OverrideFolder() = folder.empty() ? std::string() : WithTrailingSeparator(folder);
}

bool MakeProgramFolderCurrent() {
    return QDir::setCurrent(QString::fromStdString(ProgramFolder()));
}

}  // namespace platform
