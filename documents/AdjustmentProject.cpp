#include "documents/AdjustmentProject.h"

#include <algorithm>
#include <utility>

#include "app/Mainform.h"
#include "app/ProjectFile.h"
#include "platform/Events.h"
#include "platform/Messages.h"

TAdjustmentProjectForm* AdjustmentProjectForm = nullptr;

TAdjustmentProjectForm::TAdjustmentProjectForm(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(397, 347);
    FitLabels();
    platform::OnClick(Button1, this, &TAdjustmentProjectForm::Button1Click);
}

std::vector<std::pair<QLabel*, QLineEdit*>> TAdjustmentProjectForm::Fields() const {
    return {{Label1, Edit1}, {Label2, Edit2}, {Label3, Edit3}, {Label4, Edit4}, {Label5, Edit5}};
}

void TAdjustmentProjectForm::FitLabels() {
    // The labels stand right-aligned against the edits. In the desktop's font a label may need
    // more than its designed width: the labels then start further left, down to the panel's
    // margin, and the edits give up what is still missing on their left.
    constexpr int kMargin = 8;
    constexpr int kGap = 4;
    const int editsRight = Edit1->geometry().right();
    int widest = 0;
    for (const auto& [label, edit] : Fields()) {
        label->ensurePolished();
        widest = std::max(widest, label->sizeHint().width());
    }
    const int labelsRight = std::max(Edit1->x() - kGap, kMargin + widest);
    for (const auto& [label, edit] : Fields()) {
        const QSize needed = label->sizeHint();
        const int width = std::max(label->width(), needed.width());
        const int height = std::max(label->height(), needed.height());
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(labelsRight - width, label->y(), width, height);
        const int left = labelsRight + kGap;
        edit->setGeometry(left, edit->y(), editsRight + 1 - left, edit->height());
    }
}

void TAdjustmentProjectForm::Button1Click() {
    close();
}

void TAdjustmentProjectForm::FormCloseQuery(bool& canClose) {
    // A text the project file cannot hold is refused here, naming its field, rather than at the
    // next save; the dialog stays open on that edit.
    for (const auto& [label, edit] : Fields()) {
        const std::string problem = projectfile::EntryTextProblem(
            edit->text().toStdString(), "Поле «" + label->text().toStdString() + "»");
        if (problem.empty()) continue;
        platform::MessageBox(problem, "Предупреждение.", platform::MsgButtons::Ok,
                             platform::MsgIcon::Warning);
        edit->setFocus();
        edit->selectAll();
        canClose = false;
        return;
    }
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
