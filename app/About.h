#pragma once
#include <QDialog>

#include "ui_TAboutBox.h"

class TAboutBox : public QDialog, public Ui::TAboutBox {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

extern TAboutBox* AboutBox;
