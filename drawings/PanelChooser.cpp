#include "drawings/PanelChooser.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
