#pragma once
#include <QDialog>

#include "ui_TForm9.h"

// The number chooser: the caller fills the list with switchboard or panel numbers, sets the
// caption and shows the window modally; "OK" keeps the number chosen in ChosenNumber.
class TForm9 : public QDialog, public Ui::TForm9 {
    Q_OBJECT

public:
    explicit TForm9(QWidget* parent = nullptr);

    // "OK": a number chosen in the list becomes ChosenNumber; the window closes in every case.
    // Text typed over the list chooses nothing.
    void Button1Click();
    // An item of the list is chosen (not typed over): the callers then read ChosenNumber.
    bool HasChoice() const;

    // The last number chosen; 0 at first, kept from one use to the next.
    int ChosenNumber = 0;

protected:
    // Closed otherwise than by "OK" (Escape): nothing is chosen.
    void done(int result) override;
};

extern TForm9* Form9;
