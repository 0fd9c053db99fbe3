#include "editing/Magistral.h"

TFormMagistral* FormMagistral = nullptr;

TFormMagistral::TFormMagistral(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
