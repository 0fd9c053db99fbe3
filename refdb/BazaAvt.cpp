#include "refdb/BazaAvt.h"

#include "platform/DBNavigator.h"
#include "platform/Events.h"
#include "platform/Help.h"
#include "platform/ProgramFolder.h"
#include "refdb/TableSchemas.h"
#include "refdb/TableWriteBack.h"

TBazaAvt* BazaAvt = nullptr;

TBazaAvt::TBazaAvt(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFixedSize(477, 245);
    // A file without the fields the program reads is reported as damaged when it is opened.
    AVT1.SetExpectedFields(refdb::BreakerFieldsRead());
    // A number the table cannot hold is refused where it is typed.
    AVT1.SetValueCheck(refdb::CheckTableValue);
    DBGrid3->SetDataSet(&AVT1);
    DBNavigator1->SetDataSet(&AVT1);
    platform::LinkDataControls(DBGrid3, DBNavigator1);
    platform::OnClick(Button1, this, &TBazaAvt::Button1Click);
    platform::OnClick(BitBtn1, this, &TBazaAvt::BitBtn1Click);
    FormCreate();
}

TBazaAvt::~TBazaAvt() {
    DBGrid3->SetDataSet(nullptr);
    DBNavigator1->SetDataSet(nullptr);
    refdb::CloseTable(AVT1);
}

void TBazaAvt::FormCreate() {
    platform::MakeProgramFolderCurrent();
    refdb::OpenBaseTable(AVT1, platform::ProgramFolder() + refdb::kBreakerFile,
                         refdb::DefineBreakerTable, refdb::kBreakerOrder);
    DBGrid3->Refresh();
}

void TBazaAvt::Button1Click() {
    done(QDialog::Rejected);
}

void TBazaAvt::done(int result) {
    // A value still in its cell editor is taken first (the title bar's close box leaves it
    // there). A refused value or a row that cannot be posted keeps the window open, so that it
    // can be put right.
    if (!DBGrid3->FinishEditing()) return;
    if (!refdb::FinishPendingRow(AVT1)) {
        DBGrid3->Refresh();
        return;
    }
    platform::RunGuarded([this] { refdb::WriteBackTable(AVT1); });
    DBGrid3->Refresh();
    QDialog::done(result);
}

void TBazaAvt::BitBtn1Click() {
    platform::ShowHelpContext(BitBtn1->property("HelpContext").toInt());
}
