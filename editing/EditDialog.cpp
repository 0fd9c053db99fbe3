#include "editing/EditDialog.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
