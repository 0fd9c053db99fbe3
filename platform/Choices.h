#pragma once
// Two controls whose choice the windows read as an item index, -1 for no choice:
// - a radio group: a group box whose radio buttons are its items, in the order they were made.
//   Changing its item, by the user or from code, runs its click handler; setting the item it
//   already has runs nothing;
// - a drop-down list the user can also type into: an item counts as chosen only while the text
//   shows it; typing anything else leaves no item chosen.
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <string>
#include <vector>

#include "platform/Events.h"

namespace platform {

std::vector<QRadioButton*> RadioGroupItems(const QGroupBox& group);
int ItemIndex(const QGroupBox& group);
// -1 checks no item.
void SetItemIndex(QGroupBox& group, int index);

// Runs the handler whenever an item of the group becomes checked.
template <typename Receiver, typename Handler>
void OnItemClick(QGroupBox* group, Receiver* receiver, Handler handler) {
    for (QRadioButton* item : RadioGroupItems(*group)) OnChecked(item, receiver, handler);
}

// Unchecks a radio button from code, even the only checked one among its siblings (a radio
// button that stands alone in its box).
void Uncheck(QRadioButton& button);

// The chosen item of a list: its current item, unless the user typed over it.
int ChosenIndex(const QComboBox& combo);

// Replaces the items with these, none chosen and no text; no change handler runs.
void SetItems(QComboBox& combo, const std::vector<std::string>& items);
// No item chosen and no text; no change handler runs.
void ClearChoice(QComboBox& combo);
// Adds an item at the end; the choice and the text stay as they were.
void AddItem(QComboBox& combo, const std::string& item);
// Chooses, in list order, every item that shows the whole text, so the last of them stays
// chosen; each is a choice from code, running what such a choice runs. False, and the choice as
// it was, when no item shows the text.
bool ChooseText(QComboBox& combo, const std::string& text);

}  // namespace platform
