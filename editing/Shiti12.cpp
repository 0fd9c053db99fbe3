#include "editing/Shiti12.h"

TShiti* Shiti = nullptr;

TShiti::TShiti(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
