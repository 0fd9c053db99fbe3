#pragma once
// The wait notice "Пожалуйста, подождите.", shown without taking the focus while a long
// recalculation runs.
#include <QDialog>

#include "ui_TDialogForm.h"

class TDialogForm : public QDialog, public Ui::TDialogForm {
    Q_OBJECT

public:
    explicit TDialogForm(QWidget* parent = nullptr);
};

extern TDialogForm* DialogForm;

// Shows the wait notice centred on the window of `over` (on the screen when null) and paints it
// at once, so that it is seen before the long work that follows starts.
void ShowWaitNotice(QWidget* over);

// Closes the wait notice; nothing happens when it is not shown.
void CloseWaitNotice();
