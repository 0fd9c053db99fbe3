#include "groups/Dan12.h"

TDan1* Dan1 = nullptr;

TDan1::TDan1(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
