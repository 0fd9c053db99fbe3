#pragma once
// Connecting window controls to their event handlers with the event semantics the windows are
// designed around:
// - a fixed-list combo box's change handler runs only on a user's choice (setting the index from
//   code runs nothing): OnChoice;
// - an edit or an editable combo box runs its change handler whenever its text changes:
//   OnTextChange;
// - checking a radio button from code runs its click handler: OnChecked;
// - buttons and menu items run their handlers when clicked or triggered: OnClick.
// Every handler runs guarded: an exception that escapes it is shown in the standard error box.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QTableWidget>
#include <functional>
#include <string>
#include <type_traits>

#include "platform/Messages.h"

namespace platform {

namespace detail {
template <typename Receiver, typename Handler>
auto GuardedSlot(Receiver* receiver, Handler handler) {
    return [receiver, handler]() { RunGuarded([&] { std::invoke(handler, receiver); }); };
}
}  // namespace detail

template <typename Receiver, typename Handler>
QMetaObject::Connection OnClick(QAbstractButton* button, Receiver* receiver, Handler handler) {
    return QObject::connect(button, &QAbstractButton::clicked, receiver,
                            detail::GuardedSlot(receiver, handler));
}

template <typename Receiver, typename Handler>
QMetaObject::Connection OnClick(QAction* action, Receiver* receiver, Handler handler) {
    return QObject::connect(action, &QAction::triggered, receiver,
                            detail::GuardedSlot(receiver, handler));
}

template <typename Receiver, typename Handler>
QMetaObject::Connection OnChoice(QComboBox* combo, Receiver* receiver, Handler handler) {
    return QObject::connect(combo, &QComboBox::activated, receiver,
                            detail::GuardedSlot(receiver, handler));
}

template <typename Receiver, typename Handler>
QMetaObject::Connection OnTextChange(QLineEdit* edit, Receiver* receiver, Handler handler) {
    return QObject::connect(edit, &QLineEdit::textChanged, receiver,
                            detail::GuardedSlot(receiver, handler));
}

template <typename Receiver, typename Handler>
QMetaObject::Connection OnTextChange(QComboBox* combo, Receiver* receiver, Handler handler) {
    return QObject::connect(combo, &QComboBox::editTextChanged, receiver,
                            detail::GuardedSlot(receiver, handler));
}

// Runs the handler whenever the button becomes checked, by the user or by code.
template <typename Receiver, typename Handler>
QMetaObject::Connection OnChecked(QAbstractButton* button, Receiver* receiver, Handler handler) {
    auto slot = detail::GuardedSlot(receiver, handler);
    return QObject::connect(button, &QAbstractButton::toggled, receiver, [slot](bool checked) {
        if (checked) slot();
    });
}

// A string grid's Cells[col][row]: column first, as the windows address them.
std::string Cells(const QTableWidget& grid, int col, int row);
void SetCells(QTableWidget& grid, int col, int row, const std::string& text);

// Texts of widgets as UTF-8.
inline std::string Text(const QLineEdit& edit) {
    return edit.text().toStdString();
}
inline std::string Text(const QComboBox& combo) {
    return combo.currentText().toStdString();
}
inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace platform
