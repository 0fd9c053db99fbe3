#include "documents/Kabj2.h"

TForm8* Form8 = nullptr;

TForm8::TForm8(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
