#pragma once
// The record navigator of a dataset: buttons first, prior, next, last, insert, delete, edit, post
// and cancel, each with its hint. A click performs the button's action on the dataset (delete asks
// first); a refused action is shown in the standard error box. After an action that succeeded the
// navigator emits Click with the button, the window's hook for "after any navigator action".
#include <QPointer>
#include <QWidget>
#include <array>

#include "platform/Messages.h"

class QToolButton;

namespace platform {

class TClientDataSet;
class TDBGrid;

class TDBNavigator : public QWidget {
    Q_OBJECT

public:
    enum TNavigateBtn {
        nbFirst,
        nbPrior,
        nbNext,
        nbLast,
        nbInsert,
        nbDelete,
        nbEdit,
        nbPost,
        nbCancel
    };
    static constexpr int ButtonCount = 9;

    explicit TDBNavigator(QWidget* parent = nullptr);

    void SetDataSet(TClientDataSet* dataSet);
    TClientDataSet* DataSet() const { return dataSet_; }

    QToolButton* Button(TNavigateBtn button) const { return buttons_[button]; }

    // What a click on the button does: its action, then Click when the action succeeded.
    void BtnClick(TNavigateBtn button);

    // Delete asks "Удалить запись?" first (on unless switched off).
    void SetConfirmDelete(bool confirm) { confirmDelete_ = confirm; }

    // Enables the buttons that make sense in the dataset's present state.
    void UpdateButtons();

    // The grid shown with the navigator (LinkDataControls sets it): a value still in its cell
    // editor belongs to the row a button acts on, so it is taken before the action (a refused
    // one stops the action) and dropped by cancel.
    void SetGrid(TDBGrid* grid);

signals:
    // Before a button's action.
    void BeforeAction(platform::TDBNavigator::TNavigateBtn button);
    // After a button's action succeeded.
    void Click(platform::TDBNavigator::TNavigateBtn button);
    // After any button's action, whether it succeeded or not (the grid re-reads the rows).
    void DataChanged();

private:
    void DoAction(TNavigateBtn button);

    TClientDataSet* dataSet_ = nullptr;
    QPointer<TDBGrid> grid_;
    std::array<QToolButton*, ButtonCount> buttons_{};
    bool confirmDelete_ = true;
};

// Keeps a grid and a navigator on the same dataset in step: each re-reads after the other changed
// the dataset, and the navigator's buttons take the value in the grid's cell editor first.
void LinkDataControls(TDBGrid* grid, TDBNavigator* navigator);

// Connects the navigator's Click to a window's handler `void Handler(TDBNavigator::TNavigateBtn)`,
// guarded like every event handler.
template <typename Receiver>
QMetaObject::Connection OnNavigate(TDBNavigator* navigator, Receiver* receiver,
                                   void (Receiver::*handler)(TDBNavigator::TNavigateBtn)) {
    return QObject::connect(navigator, &TDBNavigator::Click, receiver,
                            [receiver, handler](TDBNavigator::TNavigateBtn button) {
                                RunGuarded([&] { (receiver->*handler)(button); });
                            });
}

}  // namespace platform
