#pragma once
#include <QDialog>

#include "ui_TShiti.h"

class TShiti : public QDialog, public Ui::TShiti {
    Q_OBJECT

public:
    explicit TShiti(QWidget* parent = nullptr);
};

extern TShiti* Shiti;
