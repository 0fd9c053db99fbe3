// The recent projects list, kept in three places that agree: RecentFiles, the File menu's items
// after "&Выход" (one per entry, in list order) and the settings key
// Software\Veltranovaplanir\Files1 (one value per entry, named by its number).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QMenu>
#include <array>

#include "app/Mainform.h"
#include "platform/Conversions.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"

namespace {

constexpr char kProgramKey[] = "Software\\Veltranovaplanir";
constexpr char kFilesKey[] = "Software\\Veltranovaplanir\\Files1";
constexpr char kStartKey[] = "Software\\StartVeltranovaplanir\\Start1";
constexpr char kFirstStart[] = "FirstStart";
// "&Новый", "&Открыть", separator, "&Сохранить", "Сохранить Как", separator, "&Печать",
// separator, "&Выход": the recent items follow them.
constexpr int kFixedFileItems = 9;

// The path names a regular file that can be opened for reading.
bool FileOpensForReading(const std::string& path) {
    if (path.empty()) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular;
}

}  // namespace

void TForm1::FormCreate() {
    platform::MakeProgramFolderCurrent();
    BuildRecentList();
}

void TForm1::AddRecentMenuItem(const std::string& path) {
    // A '&' in a path is shown, not taken as an access key.
    QAction* item = File1->addAction(QString::fromStdString(path).replace('&', "&&"));
    item->setCheckable(true);
    item->setChecked(true);
    connect(item, &QAction::triggered, this, [this, item] {
        // The mark stays on, whatever the click did to it.
        item->setChecked(true);
        platform::RunGuarded([&] { RecentFileClick(item); });
    });
}

void TForm1::RemoveRecentMenuItems() {
    const QList<QAction*> items = File1->actions();
    for (qsizetype i = kFixedFileItems; i < items.size(); ++i) {
        File1->removeAction(items[i]);
        delete items[i];
    }
}

// Seeds the list with the example projects on the very first start; otherwise rebuilds it from
// the settings without the files that have gone, numbered again from 0.
void TForm1::BuildRecentList() {
    const std::string folder = platform::ProgramFolder();
    const std::array<std::string, 3> examples = {folder + "Project/Example1.VPQ",
                                                 folder + "Project/Example2.VPQ",
                                                 folder + "Project/Example3.VPQ"};
    platform::TRegistry registry;
    bool seenBefore = false;
    if (registry.OpenKey(kStartKey, false)) {
        seenBefore = registry.ReadBool(kFirstStart);
        registry.CloseKey();
    }
    if (registry.OpenKey(kStartKey, true)) {
        registry.WriteBool(kFirstStart, true);
        registry.CloseKey();
    }

    RemoveRecentMenuItems();
    RecentFiles.clear();
    CurrentRecentEntry = nullptr;
    if (!registry.OpenKey(kFilesKey, true)) return;
    const std::vector<std::string> names = registry.GetValueNames();

    std::vector<std::string> paths;
    if (names.empty() && !seenBefore) {
        paths.assign(examples.begin(), examples.end());
    } else {
        for (const std::string& name : names) {
            const std::string path = registry.ReadString(name);
            if (FileOpensForReading(path)) paths.push_back(path);
        }
        // The key is written anew: only the list's own values stay under it.
        registry.CloseKey();
        registry.DeleteKey(kProgramKey);
        if (!registry.OpenKey(kFilesKey, true)) return;
    }
    for (const std::string& path : paths) {
        const int number = static_cast<int>(RecentFiles.size());
        RecentFiles.push_back(std::make_unique<ProjectsFileList>(ProjectsFileList{number, path}));
        CurrentRecentEntry = RecentFiles.back().get();
        registry.WriteString(platform::IntToStr(number), path);
        AddRecentMenuItem(path);
    }
    registry.CloseKey();
}

void TForm1::RecentFileClick(QAction* sender) {
    RecentIndex = static_cast<int>(File1->actions().indexOf(sender)) - kFixedFileItems;
    if (RecentIndex < 0) return;
    std::string path;
    {
        platform::TRegistry registry;
        if (!registry.OpenKey(kFilesKey, false)) return;
        const std::string name = platform::IntToStr(RecentIndex);
        if (!registry.ValueExists(name)) return;
        path = registry.ReadString(name);
    }
    if (!CheckReferenceDatabases() || !QueryCloseProject()) return;
    if (LoadProject(path)) ProjectFileName = path;
    DocumentKind = 1;
    CloseEmptySchemeWindow();
}

// After a successful load: a path not in the list yet is added, when the list's key exists.
void TForm1::RegisterRecentProject(const std::string& path) {
    for (const auto& entry : RecentFiles)
        if (entry->Path == path) return;
    platform::TRegistry registry;
    if (!registry.OpenKey(kFilesKey, false)) return;
    const int number = static_cast<int>(registry.GetValueNames().size());
    RecentFiles.push_back(std::make_unique<ProjectsFileList>(ProjectsFileList{number, path}));
    CurrentRecentEntry = RecentFiles.back().get();
    registry.WriteString(platform::IntToStr(number), path);
    AddRecentMenuItem(path);
}

// A file that could not be opened leaves the list: every entry with its path, whichever command
// tried to open it. The others are numbered again from 0 and the key is written anew.
void TForm1::ForgetRecentProject(const std::string& path) {
    bool removed = false;
    for (size_t k = RecentFiles.size(); k-- > 0;) {
        if (RecentFiles[k]->Path != path) continue;
        const QList<QAction*> items = File1->actions();
        const qsizetype place = kFixedFileItems + static_cast<qsizetype>(k);
        if (place < items.size()) {
            File1->removeAction(items[place]);
            delete items[place];
        }
        if (CurrentRecentEntry == RecentFiles[k].get()) CurrentRecentEntry = nullptr;
        RecentFiles.erase(RecentFiles.begin() + static_cast<std::ptrdiff_t>(k));
        removed = true;
    }
    if (!removed) return;
    for (size_t i = 0; i < RecentFiles.size(); ++i) RecentFiles[i]->Number = static_cast<int>(i);

    platform::TRegistry registry;
    registry.DeleteKey(kProgramKey);
    if (!registry.OpenKey(kFilesKey, true)) return;
    for (const auto& entry : RecentFiles)
        registry.WriteString(platform::IntToStr(entry->Number), entry->Path);
    registry.CloseKey();
}
