#pragma once
#include <QDialog>

#include "ui_TBazaTran.h"

class TBazaTran : public QDialog, public Ui::TBazaTran {
    Q_OBJECT

public:
    explicit TBazaTran(QWidget* parent = nullptr);
};

extern TBazaTran* BazaTran;
