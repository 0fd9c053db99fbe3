#include "documents/AdjustmentProject.h"

TAdjustmentProjectForm* AdjustmentProjectForm = nullptr;

TAdjustmentProjectForm::TAdjustmentProjectForm(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
