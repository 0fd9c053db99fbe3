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
    // with it (and with the transformer chosen in the list), and closes; otherwise says why and
    // stays open. The project keeps its own power; the transformer chosen becomes the project's,
    // and another transformer than it had refreshes the project as a change does.
    void Button1Click();
    // "отмена": drops the editing window's saved group line and panel copies, and the transformer
    // chosen in the list, and closes. The project keeps its transformer.
    void Button2Click();
    // The transformer chosen in ComboBox5 becomes the project's transformer; a text that names no
    // transformer of the base changes nothing.
    void ComboBox5Change();
    // The list shows the project's transformer (its first item when the base has none of that
    // name), as the dialog is opened with.
    void ShowProjectTransformer();
    // When "tranform.xml" is in the program folder: the base is loaded again and the list holds
    // its transformers in order of power, the project's one shown. Otherwise the list stays.
    void ListTransformers();
    // "Справка".
    void BitBtn1Click();

    // Closing the window without a button counts as "отмена".
    void reject() override;

private:
    // The user picked or typed a transformer since the dialog was last closed.
    bool transformerChosen_ = false;
};

extern TPowerSystem* PowerSystem;
