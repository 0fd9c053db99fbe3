#pragma once
// The wait notice "Пожалуйста, подождите.", shown without taking the focus while a long
// recalculation runs.
#include <QDialog>

#include "ui_TDialogForm.h"

class TDialogForm : public QDialog, public Ui::TDialogForm {
    Q_OBJECT

public:
    explicit TDialogForm(QWidget* parent = nullptr);
    ~TDialogForm() override;
};

extern TDialogForm* DialogForm;

// Shows the wait notice centred on the window of `over` (on the screen when null) and paints it
// at once, so that it is seen before the long work that follows starts. While a message box or a
// modal window waits for the user's answer the notice is hidden, and shown again when the work
// goes on.
void ShowWaitNotice(QWidget* over);

// Closes the wait notice; nothing happens when it is not shown.
void CloseWaitNotice();
