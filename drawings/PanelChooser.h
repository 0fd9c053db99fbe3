#pragma once
#include <QDialog>

#include "ui_TForm5.h"

class TForm5 : public QDialog, public Ui::TForm5 {
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);

    // The panel chosen last; kept when the window closes and opens again.
    int PanelNumber = 0;
};

extern TForm5* Form5;
