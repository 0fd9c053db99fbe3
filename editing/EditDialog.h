#pragma once
#include <QDialog>

#include "ui_TForm3.h"

class TForm3 : public QDialog, public Ui::TForm3 {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);
};

extern TForm3* Form3;
