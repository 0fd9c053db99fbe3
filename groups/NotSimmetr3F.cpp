#include "groups/NotSimmetr3F.h"

TNotSimmetr_3F* NotSimmetr_3F = nullptr;

TNotSimmetr_3F::TNotSimmetr_3F(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
