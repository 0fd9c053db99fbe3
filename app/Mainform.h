#pragma once
#include <QMainWindow>

#include "ui_TForm1.h"

class TForm1 : public QMainWindow, public Ui::TForm1 {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
};

extern TForm1* Form1;
