#pragma once
#include <QDialog>

#include "ui_TBazaAvt.h"

class TBazaAvt : public QDialog, public Ui::TBazaAvt {
    Q_OBJECT

public:
    explicit TBazaAvt(QWidget* parent = nullptr);
};

extern TBazaAvt* BazaAvt;
