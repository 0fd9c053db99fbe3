#include "editing/NumberChooser.h"

TForm9* Form9 = nullptr;

TForm9::TForm9(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
