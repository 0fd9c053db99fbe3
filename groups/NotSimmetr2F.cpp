#include "groups/NotSimmetr2F.h"

TNotSimmetr_2F* NotSimmetr_2F = nullptr;

TNotSimmetr_2F::TNotSimmetr_2F(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
