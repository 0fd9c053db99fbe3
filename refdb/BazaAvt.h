#pragma once
#include <QDialog>

#include "platform/ClientDataSet.h"
#include "ui_TBazaAvt.h"

// The breaker table window: the table "Avtomat.xml" in a grid with a navigator.
class TBazaAvt : public QDialog, public Ui::TBazaAvt {
    Q_OBJECT

public:
    explicit TBazaAvt(QWidget* parent = nullptr);
    ~TBazaAvt() override;

    // The breaker table, open from start-up on, in ascending order of "Мак. ном. ток А".
    platform::TClientDataSet AVT1;

    // Creates "Avtomat.xml" empty when it is missing, then opens it.
    void FormCreate();
    // "Закрыть": hides the window; the table stays open.
    void Button1Click();
    // "&Справка": the help at this window's section.
    void BitBtn1Click();

    // Every way of closing the window posts the row being typed and writes the edits made in the
    // window back to the file.
    void done(int result) override;
};

extern TBazaAvt* BazaAvt;
