#pragma once
#include <QDialog>
#include <string>

#include "ui_TInsertAvtomat.h"

// The breaker dialog: the caption of GroupBox1 names the kind of element whose breaker series is
// chosen ("Группы", "Щит", "Магистральный автомат", "Грщ", "Секция КТП"); ComboBox1 lists the
// series that fit it.
class TInsertAvtomat : public QDialog, public Ui::TInsertAvtomat {
    Q_OBJECT

public:
    explicit TInsertAvtomat(QWidget* parent = nullptr);

    // "Установить": stores the series chosen in the list in the element that GroupBox1 names
    // and closes. Nothing chosen: "Установите автомат.", the dialog stays. An empty list (the
    // breaker base gone meanwhile) offers nothing to choose: the dialog closes and nothing is
    // stored.
    void Button2Click();

    // Escape and the close box do nothing: the dialog is left through "Установить", so that no
    // element is left without its breaker type.
    void reject() override;

private:
    void StoreSeries(const std::string& series);
};

extern TInsertAvtomat* InsertAvtomat;
