#pragma once
#include <QDialog>

#include "ui_TDialogForm.h"

class TDialogForm : public QDialog, public Ui::TDialogForm {
    Q_OBJECT

public:
    explicit TDialogForm(QWidget* parent = nullptr);
};

extern TDialogForm* DialogForm;
