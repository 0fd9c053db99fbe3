#include "refdb/BazaT.h"

TBazaT* BazaT = nullptr;

TBazaT::TBazaT(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
