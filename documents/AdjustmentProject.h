#pragma once
#include <QDialog>
#include <string>
#include <utility>
#include <vector>

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

    // "OK": closes the dialog.
    void Button1Click();
    // Every close (the button, the close box, Escape) takes the edits' texts as the title block;
    // there is no cancel. A text that differs marks the project changed. A text the project file
    // cannot hold keeps the dialog open with a message naming its field.
    void FormCloseQuery(bool& canClose);

    // The five texts in the order of the project file and the reports.
    std::vector<std::string> StampStrings() const;

protected:
    void done(int result) override;

private:
    // Each label with its edit, in the order of the fields.
    std::vector<std::pair<QLabel*, QLineEdit*>> Fields() const;
    // Lays the labels out so that each shows its whole text in the desktop's font.
    void FitLabels();
};

extern TAdjustmentProjectForm* AdjustmentProjectForm;
