#include "groups/InsertAvtomat.h"

TInsertAvtomat* InsertAvtomat = nullptr;

TInsertAvtomat::TInsertAvtomat(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
