#include "refdb/TableWriteBack.h"

#include <QTemporaryDir>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "platform/Conversions.h"
#include "platform/Messages.h"

namespace refdb {
namespace {

namespace fs = std::filesystem;

// One name per file: absolute, without doubled separators or "." parts.
std::string FileKey(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return (ec ? fs::path(path) : absolute).lexically_normal().string();
}

struct Session {
    std::unique_ptr<QTemporaryDir> folder;  // made when the first copy is kept
    std::map<std::string, std::string> keptCopies;
    std::set<std::string> reported;
    int copiesMade = 0;
};

Session& TheSession() {
    static Session session;
    return session;
}

// Saves the rows of the dataset as the kept copy of its file; false when even that fails.
bool KeepRows(platform::TClientDataSet& ds, const std::string& key) {
    Session& session = TheSession();
    if (!session.folder) session.folder = std::make_unique<QTemporaryDir>();
    if (!session.folder->isValid()) return false;
    auto found = session.keptCopies.find(key);
    const std::string copy = found != session.keptCopies.end()
                                 ? found->second
                                 : session.folder
                                       ->filePath(QString::fromStdString(
                                           platform::IntToStr(++session.copiesMade) + ".xml"))
                                       .toStdString();
    try {
        ds.SaveToFile(copy);
    } catch (const platform::EDatabaseError&) {
        return false;
    }
    session.keptCopies[key] = copy;
    return true;
}

}  // namespace

std::string ShownTableName(const std::string& path) {
    return fs::path(path).filename().string();
}

void ReportWriteFailure(const std::string& path, const std::string& headline,
                        const std::exception& error) {
    if (!TheSession().reported.insert(FileKey(path)).second) return;
    platform::MessageBox(headline + "\n" + error.what(), "Предупреждение.",
                         platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

namespace {

// Closes the dataset writing changed rows back. When the write fails, the rows are kept and the
// dataset is closed without writing; when even keeping them fails, the dataset is closed only if
// `mustClose` (the rows are then lost) and stays open with them otherwise. True when it is closed.
bool CloseWritingBack(platform::TClientDataSet& ds, bool mustClose) {
    if (!ds.Active()) return true;
    const std::string file = ds.FileName();
    // Whether closing will write: the rows changed since they were loaded or kept.
    const bool writes = !file.empty() && (ds.ChangeCount() > 0 || ds.Modified());
    try {
        ds.Close();
    } catch (const platform::EDatabaseError& error) {
        if (!ds.Active()) throw;  // not a failed write: closing writes nothing else
        ReportWriteFailure(
            file, "Не удалось сохранить изменения таблицы «" + ShownTableName(file) + "».", error);
        if (!KeepRows(ds, FileKey(file)) && !mustClose) return false;
        ds.SetFileName("");  // closes without trying the write again
        ds.Close();
        ds.SetFileName(file);
        return true;
    }
    if (writes) {
        // Everything is in the file now.
        Session& session = TheSession();
        session.keptCopies.erase(FileKey(file));
        session.reported.erase(FileKey(file));
    }
    return true;
}

}  // namespace

void CloseTable(platform::TClientDataSet& ds) {
    CloseWritingBack(ds, true);
}

void WriteBackTable(platform::TClientDataSet& ds) {
    if (!ds.Active() || ds.FileName().empty()) return;
    if (ds.ChangeCount() == 0 && !ds.Modified()) return;
    const std::string file = ds.FileName();
    if (CloseWritingBack(ds, false)) OpenTable(ds, file);
}

void OpenTable(platform::TClientDataSet& ds, const std::string& path) {
    const auto found = TheSession().keptCopies.find(FileKey(path));
    if (found == TheSession().keptCopies.end()) {
        ds.SetFileName(path);
        ds.Open();
        return;
    }
    ds.SetFileName("");
    ds.LoadFromFile(found->second);
    ds.SetFileName(path);
}

void ReopenTable(platform::TClientDataSet& ds, const std::string& path) {
    if (ds.FileName() == path && ds.ReopenUnchanged()) return;
    CloseTable(ds);
    OpenTable(ds, path);
}

void OpenBaseTable(platform::TClientDataSet& ds, const std::string& path,
                   void (*define)(platform::TClientDataSet&), const std::string& order) {
    platform::RunGuarded([&] {
        std::error_code ec;
        if (!fs::exists(path, ec)) {
            define(ds);
            ds.CreateDataSet();
            ds.SetFileName(path);
            try {
                ds.SaveToFile(path);
            } catch (const platform::EDatabaseError& error) {
                ReportWriteFailure(
                    path, "Не удалось создать таблицу «" + ShownTableName(path) + "».", error);
            }
        }
        if (fs::exists(path, ec)) {
            ds.SetFileName(path);
            ds.Open();
        }
        ds.SetIndexFieldNames(order);
        ds.First();
    });
}

bool FinishPendingRow(platform::TClientDataSet& ds) {
    const platform::TDataSetState state = ds.State();
    if (state != platform::dsEdit && state != platform::dsInsert) return true;
    return platform::RunGuarded([&] {
        if (ds.Modified())
            ds.Post();
        else
            ds.Cancel();
    });
}

bool HasKeptRows(const std::string& path) {
    const Session& session = TheSession();
    return !session.keptCopies.empty() && session.keptCopies.count(FileKey(path)) > 0;
}

void ForgetTable(const std::string& path) {
    Session& session = TheSession();
    session.keptCopies.erase(FileKey(path));
    session.reported.erase(FileKey(path));
}

}  // namespace refdb
