#pragma once
#include <QDialog>

#include "ui_TForm2.h"

class TForm2 : public QDialog, public Ui::TForm2 {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);
};

extern TForm2* Form2;
