#include "refdb/BazaTran.h"

TBazaTran* BazaTran = nullptr;

TBazaTran::TBazaTran(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
