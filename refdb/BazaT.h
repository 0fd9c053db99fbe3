#pragma once
#include <QDialog>

#include "ui_TBazaT.h"

class TBazaT : public QDialog, public Ui::TBazaT {
    Q_OBJECT

public:
    explicit TBazaT(QWidget* parent = nullptr);
};

extern TBazaT* BazaT;
