#include "app/DialogForm.h"

TDialogForm* DialogForm = nullptr;

TDialogForm::TDialogForm(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
