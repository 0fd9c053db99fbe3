#include "documents/ResultTable.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
