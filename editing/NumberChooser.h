#pragma once
#include <QDialog>

#include "ui_TForm9.h"

class TForm9 : public QDialog, public Ui::TForm9 {
    Q_OBJECT

public:
    explicit TForm9(QWidget* parent = nullptr);
};

extern TForm9* Form9;
