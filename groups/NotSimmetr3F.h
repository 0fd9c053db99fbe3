#pragma once
#include <QDialog>

#include "ui_TNotSimmetr_3F.h"

// "Несимметричная нагрузка три фазы плюс ноль": power and cos phi of phases А, В and С of a
// four-conductor group line. "Ok" with valid entries is the only way out.
class TNotSimmetr_3F : public QDialog, public Ui::TNotSimmetr_3F {
    Q_OBJECT

public:
    explicit TNotSimmetr_3F(QWidget* parent = nullptr);

    // "Ok": as in the two-phase dialog, over three phases.
    void Button1Click();
    // As in the two-phase dialog.
    bool AcceptEntries();

    // Escape and the close box do not close the dialog.
    void reject() override;
};

extern TNotSimmetr_3F* NotSimmetr_3F;
