#pragma once
#include <QDialog>

#include "ui_TForm7.h"

class TForm7 : public QDialog, public Ui::TForm7 {
    Q_OBJECT

public:
    explicit TForm7(QWidget* parent = nullptr);
};

extern TForm7* Form7;
