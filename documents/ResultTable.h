#pragma once
#include <QDialog>

#include "ui_TForm4.h"

class TForm4 : public QDialog, public Ui::TForm4 {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);
};

extern TForm4* Form4;
