#pragma once
#include <QDialog>

#include "ui_TFormMagistral.h"

class TFormMagistral : public QDialog, public Ui::TFormMagistral {
    Q_OBJECT

public:
    explicit TFormMagistral(QWidget* parent = nullptr);
};

extern TFormMagistral* FormMagistral;
