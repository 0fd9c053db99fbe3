#pragma once
#include <QDialog>

#include "ui_TNotSimmetr_2F.h"

// "Несимметричная нагрузка две фазы плюс ноль": power and cos phi of each of the two loaded
// phases of a three-conductor group line. "Ok" with valid entries is the only way out.
class TNotSimmetr_2F : public QDialog, public Ui::TNotSimmetr_2F {
    Q_OBJECT

public:
    explicit TNotSimmetr_2F(QWidget* parent = nullptr);

    // "Ok": the entries checked in order, the total power into the group window's power field,
    // which is locked with its cos phi field; the dialog closes.
    void Button1Click();
    // The checks and the total of "Ok" without closing: false after the first failure said.
    bool AcceptEntries();

    // Escape and the close box do not close the dialog.
    void reject() override;
};

extern TNotSimmetr_2F* NotSimmetr_2F;
