#pragma once
#include <QDialog>

#include "ui_TNotSimmetr_3F.h"

class TNotSimmetr_3F : public QDialog, public Ui::TNotSimmetr_3F {
    Q_OBJECT

public:
    explicit TNotSimmetr_3F(QWidget* parent = nullptr);
};

extern TNotSimmetr_3F* NotSimmetr_3F;
