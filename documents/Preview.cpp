#include "documents/Preview.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
