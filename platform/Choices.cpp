#include "platform/Choices.h"

#include <QSignalBlocker>

namespace platform {

std::vector<QRadioButton*> RadioGroupItems(const QGroupBox& group) {
    const QList<QRadioButton*> found =
        group.findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
    return std::vector<QRadioButton*>(found.begin(), found.end());
}

int ItemIndex(const QGroupBox& group) {
    const std::vector<QRadioButton*> items = RadioGroupItems(group);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i]->isChecked()) return static_cast<int>(i);
    return -1;
}

void SetItemIndex(QGroupBox& group, int index) {
    const std::vector<QRadioButton*> items = RadioGroupItems(group);
    if (index >= 0 && index < static_cast<int>(items.size())) {
        items[index]->setChecked(true);
        return;
    }
    for (QRadioButton* item : items) Uncheck(*item);
}

void Uncheck(QRadioButton& button) {
    if (!button.isChecked()) return;
    const bool exclusive = button.autoExclusive();
    button.setAutoExclusive(false);
    button.setChecked(false);
    button.setAutoExclusive(exclusive);
}

int ChosenIndex(const QComboBox& combo) {
    const int index = combo.currentIndex();
    if (index < 0) return -1;
    if (combo.isEditable() && combo.currentText() != combo.itemText(index)) return -1;
    return index;
}

void SetItems(QComboBox& combo, const std::vector<std::string>& items) {
    const QSignalBlocker quiet(combo);
    combo.clear();
    for (const std::string& item : items) combo.addItem(QString::fromStdString(item));
    combo.setCurrentIndex(-1);
    if (combo.isEditable()) combo.setEditText(QString());
}

void ClearChoice(QComboBox& combo) {
    const QSignalBlocker quiet(combo);
    combo.setCurrentIndex(-1);
    if (combo.isEditable()) combo.setEditText(QString());
}

void AddItem(QComboBox& combo, const std::string& item) {
    const QSignalBlocker quiet(combo);
    const int index = combo.currentIndex();
    const QString text = combo.currentText();
    combo.addItem(QString::fromStdString(item));
    combo.setCurrentIndex(index);
    if (combo.isEditable()) combo.setEditText(text);
}

bool ChooseText(QComboBox& combo, const std::string& text) {
    bool found = false;
    for (int i = 0; i < combo.count(); ++i) {
        if (combo.itemText(i).toStdString() != text) continue;
        combo.setCurrentIndex(i);
        found = true;
    }
    return found;
}

}  // namespace platform
