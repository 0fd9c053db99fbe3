#pragma once
#include <QDialog>

#include "model/NodeResets.h"
#include "refdb/CableTableLoader.h"
#include "ui_TDan1.h"

class TDan1 : public QDialog,
              public Ui::TDan1,
              public NodeResets,
              public CableTableLoader {
    Q_OBJECT

public:
    explicit TDan1(QWidget* parent = nullptr);
};

extern TDan1* Dan1;
