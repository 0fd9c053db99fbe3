#pragma once
#include <QDialog>

#include "ui_TFormMagistral.h"

// "Магистральное соединение щитов": the panel behind which the new panel of the connection
// window hangs, and whether the whole trunk keeps one cable cross-section. The choice is kept in
// the public fields until the next panel connection or until "Радиальная" is chosen there.
class TFormMagistral : public QDialog, public Ui::TFormMagistral {
    Q_OBJECT

public:
    explicit TFormMagistral(QWidget* parent = nullptr);

    // "Кабель": SameCrossSectionForAll follows its item 0 ("Одно сечение для всех щитов").
    void RadioGroup1Click();
    // A panel picked or typed in the list: a panel of a trunk brings its trunk's "Кабель"
    // choice, which then cannot be changed; a plain panel gives "Кабель" back to the user with
    // the choice made before a trunk's took its place. Text that is no panel number changes
    // nothing.
    void ComboBox1Change();
    // "OK": records the chosen panel; with one cross-section for the whole trunk the new panel
    // takes that panel's laying method and cable table, locked. Nothing chosen: the connection
    // window goes back to "Радиальная".
    void Button1Click();
    // Every closing: "Кабель" usable again, no panel chosen (the list keeps its items).
    void FormClose();

    // An upstream panel was chosen, its number, and the cross-section option of its trunk.
    bool TrunkChosen = false;
    int UpstreamPanelNo = 0;
    bool SameCrossSectionForAll = true;

protected:
    // Closing without "OK" (the close box, Escape) leaves the connection radial, as "OK" without
    // a choice does.
    void done(int result) override;

private:
    bool accepted_ = false;
    // "Кабель" shows the option of the trunk of the panel in the list, not the user's, which is
    // kept aside.
    bool lockedByTrunk_ = false;
    int usersChoice_ = 0;
};

extern TFormMagistral* FormMagistral;
