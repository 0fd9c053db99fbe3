#include "documents/AdjustmentProject.h"

#include "app/Mainform.h"
#include "platform/Events.h"

TAdjustmentProjectForm* AdjustmentProjectForm = nullptr;

TAdjustmentProjectForm::TAdjustmentProjectForm(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(397, 347);
    platform::OnClick(Button1, this, &TAdjustmentProjectForm::Button1Click);
}

void TAdjustmentProjectForm::Button1Click() {
    close();
}

void TAdjustmentProjectForm::FormCloseQuery(bool& canClose) {
    bool changed = false;
    const auto take = [&changed](const QLineEdit* edit, std::string& field) {
        const std::string text = edit->text().toStdString();
        if (text == field) return;
        field = text;
        changed = true;
    };
    take(Edit1, DocumentCode);
    take(Edit2, DevelopedBy);
    take(Edit3, CheckedBy);
    take(Edit4, ApprovedBy);
    take(Edit5, NormControl);
    // Without this an edited title block would be lost on exit without the save question.
    if (changed && Form1) {
        Form1->ProjectSaved = 0;
        Form1->ToolButton4->setEnabled(true);
    }
    canClose = true;
}

std::vector<std::string> TAdjustmentProjectForm::StampStrings() const {
    return {DocumentCode, DevelopedBy, CheckedBy, ApprovedBy, NormControl};
}

void TAdjustmentProjectForm::done(int result) {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose) QDialog::done(result);
}
