#pragma once
#include <QDialog>

#include "ui_TPowerSystem.h"

class TPowerSystem : public QDialog, public Ui::TPowerSystem {
    Q_OBJECT

public:
    explicit TPowerSystem(QWidget* parent = nullptr);
};

extern TPowerSystem* PowerSystem;
