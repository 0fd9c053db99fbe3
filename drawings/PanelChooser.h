#pragma once
#include <QDialog>

#include "ui_TForm5.h"

class TForm5 : public QDialog, public Ui::TForm5 {
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);
};

extern TForm5* Form5;
