#pragma once
#include <QDialog>

#include "platform/ClientDataSet.h"
#include "platform/DBNavigator.h"
#include "ui_TBazaTran.h"

// The transformer table window: the table "tranform.xml" in a grid with a navigator.
class TBazaTran : public QDialog, public Ui::TBazaTran {
    Q_OBJECT

public:
    explicit TBazaTran(QWidget* parent = nullptr);
    ~TBazaTran() override;

    // The transformer table, open from start-up on, in ascending order of "Мощность кВА".
    platform::TClientDataSet ClientDataSet2;

    // Creates "tranform.xml" empty when it is missing, then opens it.
    void FormCreate();
    // "Закрыть": hides the window; the table stays open.
    void Button1Click();
    // "&Справка": the help at this window's section.
    void BitBtn1Click();
    // After any navigator action: every field becomes required, so a transformer row with an
    // empty value cannot be posted.
    void DBNavigator1Click(platform::TDBNavigator::TNavigateBtn button);

    // Every way of closing the window posts the row being typed and writes the edits made in the
    // window back to the file.
    void done(int result) override;
};

extern TBazaTran* BazaTran;
