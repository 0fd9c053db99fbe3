#pragma once
#include <QDialog>

#include "ui_TForm5.h"

// The panel chooser "Щит №": the user picks the panel whose phase-balancing picture or one-line
// diagram the main window draws (TForm1::PanelPictureMode). The opening command fills the list.
class TForm5 : public QDialog, public Ui::TForm5 {
    Q_OBJECT

public:
    explicit TForm5(QWidget* parent = nullptr);

    // The panel chosen last; kept when the window closes and opens again.
    int PanelNumber = 0;

    // "Ok": draws the picture of the chosen panel and closes; with nothing chosen it only closes.
    void Button1Click();
};

extern TForm5* Form5;
