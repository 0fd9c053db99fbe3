#pragma once
#include <QDialog>

#include "ui_TForm8.h"

class TForm8 : public QDialog, public Ui::TForm8 {
    Q_OBJECT

public:
    explicit TForm8(QWidget* parent = nullptr);
};

extern TForm8* Form8;
