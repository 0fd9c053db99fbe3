#pragma once
#include <QDialog>

#include "ui_TPowerSystem.h"

// The supply system dialog ("Энергосистема"): the short-circuit power of the external system and
// the project's transformer.
class TPowerSystem : public QDialog, public Ui::TPowerSystem {
    Q_OBJECT

public:
    explicit TPowerSystem(QWidget* parent = nullptr);

    // The short-circuit power last accepted (or preset by the caller), MVA.
    double ShortCircuitPowerMva = 0;
    // Set by "отмена"; the caller clears it before showing the dialog.
    bool Cancelled = false;

    // "Применить": accepts the power typed in Edit1 when every breaker of the project still trips
    // with it, and closes; otherwise says why and stays open. The project keeps its own value.
    void Button1Click();
    // "отмена": drops the editing window's saved group line and panel copies and closes.
    void Button2Click();
    // The transformer chosen in ComboBox5 becomes the project's transformer; a text that names no
    // transformer of the base changes nothing.
    void ComboBox5Change();
    // "Справка".
    void BitBtn1Click();

    // Closing the window without a button counts as "отмена".
    void reject() override;
};

extern TPowerSystem* PowerSystem;
