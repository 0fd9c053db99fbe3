#pragma once
#include <QDialog>

#include "ui_TAdjustmentProjectForm.h"

class TAdjustmentProjectForm : public QDialog, public Ui::TAdjustmentProjectForm {
    Q_OBJECT

public:
    explicit TAdjustmentProjectForm(QWidget* parent = nullptr);
};

extern TAdjustmentProjectForm* AdjustmentProjectForm;
