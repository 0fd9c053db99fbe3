#include "refdb/BazaAvt.h"

TBazaAvt* BazaAvt = nullptr;

TBazaAvt::TBazaAvt(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
