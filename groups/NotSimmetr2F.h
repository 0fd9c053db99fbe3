#pragma once
#include <QDialog>

#include "ui_TNotSimmetr_2F.h"

class TNotSimmetr_2F : public QDialog, public Ui::TNotSimmetr_2F {
    Q_OBJECT

public:
    explicit TNotSimmetr_2F(QWidget* parent = nullptr);
};

extern TNotSimmetr_2F* NotSimmetr_2F;
