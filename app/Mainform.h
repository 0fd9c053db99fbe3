#pragma once
#include <QMainWindow>

#include "model/TreeEditing.h"
#include "ui_TForm1.h"

class TForm1 : public QMainWindow, public Ui::TForm1, public TreeEditing {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
};

extern TForm1* Form1;
