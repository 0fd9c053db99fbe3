#include "app/Mainform.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setupUi(this);
}
