#include "platform/FileListBox.h"

#include <QDir>
#include <algorithm>

namespace platform {

TFileListBox::TFileListBox(QWidget* parent)
    : QListWidget(parent), directory_(QDir::currentPath().toStdString()) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The selection, not the current row: a mouse press makes the row current before it selects
    // it, so at the current-row signal the clicked entry is not selected yet.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        ++generation_;
        if (!quiet_) emit Change();
    });
    connect(this, &QListWidget::currentRowChanged, this, [this] { ++generation_; });
    Read();
}

void TFileListBox::SetDirectory(const std::string& folder) {
    directory_ = folder;
    Read();
}

void TFileListBox::SetMask(const std::string& mask) {
    mask_ = mask;
    Read();
}

void TFileListBox::SetExcludedNames(std::vector<std::string> names) {
    excluded_ = std::move(names);
    Read();
}

void TFileListBox::Update() {
    Read();
}

void TFileListBox::Read() {
    const std::string selected = ItemIndex() >= 0 ? Items(ItemIndex()) : std::string();
    QDir folder(QString::fromStdString(directory_));
    folder.setNameFilters({QString::fromStdString(mask_)});
    folder.setFilter(QDir::Files);
    folder.setSorting(QDir::Name);
    std::vector<std::string> names;
    for (const QString& name : folder.entryList()) {
        const std::string text = name.toStdString();
        if (std::find(excluded_.begin(), excluded_.end(), text) == excluded_.end())
            names.push_back(text);
    }
    std::sort(names.begin(), names.end());
    ++generation_;
    quiet_ = true;
    clear();
    for (const std::string& name : names) addItem(QString::fromStdString(name));
    const int keep = selected.empty() ? -1 : IndexOf(selected);
    setCurrentRow(keep);
    if (keep < 0) clearSelection();
    quiet_ = false;
}

std::string TFileListBox::Items(int i) const {
    const QListWidgetItem* entry = item(i);
    return entry ? entry->text().toStdString() : std::string();
}

int TFileListBox::IndexOf(const std::string& name) const {
    for (int i = 0; i < count(); ++i)
        if (Items(i) == name) return i;
    return -1;
}

int TFileListBox::ItemIndex() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.front());
}

void TFileListBox::SetItemIndex(int i) {
    quiet_ = true;
    setCurrentRow(i >= 0 && i < count() ? i : -1);
    if (i < 0 || i >= count()) clearSelection();
    quiet_ = false;
}

std::string TFileListBox::FileName() const {
    const int i = ItemIndex();
    if (i < 0) return std::string();
    return QDir(QString::fromStdString(directory_))
        .filePath(QString::fromStdString(Items(i)))
        .toStdString();
}

}  // namespace platform
