#include "app/WindowListsOnWindows.h"

#include <QComboBox>

#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "platform/Events.h"

namespace {

// Replaces the items of a fixed-list combo box and selects one (-1: none). Setting the index from
// code runs no change handler.
void FillComboBox(QComboBox& combo, const std::vector<std::string>& items, int selected) {
    combo.clear();
    for (const std::string& item : items) combo.addItem(platform::Q(item));
    combo.setCurrentIndex(selected);
    if (combo.isEditable() && selected < 0) combo.setEditText(QString());
}

}  // namespace

void WindowListsOnWindows::SetGroupNames(const std::vector<std::string>& names) {
    if (Dan1) Dan1->GroupNames = names;
}

void WindowListsOnWindows::SetGroupCountCopy(int kind, int count) {
    if (Dan1 && kind >= 0 && kind < 4) Dan1->GroupCountCopies[kind] = count;
}

void WindowListsOnWindows::SetGroupEntryPanelList(const std::vector<std::string>& items) {
    if (Dan1) FillComboBox(*Dan1->ComboBox2, items, static_cast<int>(items.size()) - 1);
}

void WindowListsOnWindows::SetEditDialogFirstList(const std::vector<std::string>& items) {
    if (Form3) FillComboBox(*Form3->ComboBox3, items, items.empty() ? -1 : 0);
}

void WindowListsOnWindows::ClearEditDialogSecondList() {
    if (Form3) FillComboBox(*Form3->ComboBox4, {}, -1);
}

void WindowListsOnWindows::SetCableNames(const std::vector<std::string>& names) {
    if (Shiti) Shiti->CableNames = names;
}

void WindowListsOnWindows::SetSwitchboardNumberList(const std::vector<std::string>& items) {
    if (Shiti) FillComboBox(*Shiti->ComboBox2, items, -1);
}

void WindowListsOnWindows::SetSwitchboardCounter(int count) {
    if (Shiti) Shiti->SwitchboardCounter = count;
}

void WindowListsOnWindows::SetPanelCounter(int count) {
    if (Shiti) Shiti->PanelCounter = count;
}

void WindowListsOnWindows::LowerPanelCounter() {
    if (Shiti && Shiti->PanelCounter > 0) --Shiti->PanelCounter;
}
