#pragma once
#include <QDialog>
#include <string>

#include "ui_TAdjustmentProjectForm.h"

// The project stamp dialog: the five texts of the drawings' title block, saved with the project.
class TAdjustmentProjectForm : public QDialog, public Ui::TAdjustmentProjectForm {
    Q_OBJECT

public:
    explicit TAdjustmentProjectForm(QWidget* parent = nullptr);

    // Shown in Edit1 .. Edit5, in this order.
    std::string DocumentCode;
    std::string DevelopedBy;
    std::string CheckedBy;
    std::string ApprovedBy;
    std::string NormControl;
};

extern TAdjustmentProjectForm* AdjustmentProjectForm;
