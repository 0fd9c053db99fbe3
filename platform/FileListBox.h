#pragma once
// A list of the files of one folder whose names match a mask ("*.xml"), in name order, with at
// most one selected. It is read when the folder or the mask is set and re-read by Update. Names
// set as excluded are never listed, however the list is re-read.
#include <QListWidget>
#include <string>
#include <vector>

namespace platform {

class TFileListBox : public QListWidget {
    Q_OBJECT

public:
    explicit TFileListBox(QWidget* parent = nullptr);

    // The folder listed; setting it re-reads the list. Initially the current folder.
    void SetDirectory(const std::string& folder);
    const std::string& Directory() const { return directory_; }

    // A wildcard mask ('*' and '?'), matched without regard to case; setting it re-reads the list.
    void SetMask(const std::string& mask);
    const std::string& Mask() const { return mask_; }

    // File names that are never listed (compared exactly); the list is re-read.
    void SetExcludedNames(std::vector<std::string> names);

    // Re-reads the folder. The selected name stays selected when it is still there.
    void Update();

    int Count() const { return count(); }
    // The name of entry i ("" outside the list).
    std::string Items(int i) const;
    // Position of the entry with exactly this name, -1 when there is none.
    int IndexOf(const std::string& name) const;
    // The selected entry, -1 when none. Setting it from code does not emit Change.
    int ItemIndex() const;
    void SetItemIndex(int i);
    // Full path of the selected file, "" when none is selected.
    std::string FileName() const;

    // Changes whenever the entries, the selection or the current entry change.
    unsigned Generation() const { return generation_; }

signals:
    // The selection was changed, by the user (mouse or keys) or by Qt's own item API (not by
    // SetItemIndex or a re-read). ItemIndex is already the new entry.
    void Change();

private:
    void Read();

    std::string directory_;
    std::string mask_ = "*";
    std::vector<std::string> excluded_;
    bool quiet_ = false;  // selection changes made by the list itself
    unsigned generation_ = 0;
};

}  // namespace platform
