#pragma once
#include <QDialog>

#include "ui_TInsertAvtomat.h"

class TInsertAvtomat : public QDialog, public Ui::TInsertAvtomat {
    Q_OBJECT

public:
    explicit TInsertAvtomat(QWidget* parent = nullptr);
};

extern TInsertAvtomat* InsertAvtomat;
