#include "refdb/BazaTran.h"

#include "platform/Events.h"
#include "platform/Help.h"
#include "platform/ProgramFolder.h"
#include "refdb/TableSchemas.h"
#include "refdb/TableWriteBack.h"

TBazaTran* BazaTran = nullptr;

TBazaTran::TBazaTran(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFixedSize(507, 257);
    // A file without the fields the program reads is reported as damaged when it is opened.
    ClientDataSet2.SetExpectedFields(refdb::TransformerFieldsRead());
    // A number the table cannot hold is refused where it is typed.
    ClientDataSet2.SetValueCheck(refdb::CheckTableValue);
    DBGrid1->SetDataSet(&ClientDataSet2);
    DBNavigator1->SetDataSet(&ClientDataSet2);
    platform::LinkDataControls(DBGrid1, DBNavigator1);
    platform::OnClick(Button1, this, &TBazaTran::Button1Click);
    platform::OnClick(BitBtn1, this, &TBazaTran::BitBtn1Click);
    platform::OnNavigate(DBNavigator1, this, &TBazaTran::DBNavigator1Click);
    FormCreate();
}

TBazaTran::~TBazaTran() {
    DBGrid1->SetDataSet(nullptr);
    DBNavigator1->SetDataSet(nullptr);
    refdb::CloseTable(ClientDataSet2);
}

void TBazaTran::FormCreate() {
    platform::MakeProgramFolderCurrent();
    // The folder already ends in a separator; the doubled one names the same file.
    refdb::OpenBaseTable(ClientDataSet2, platform::ProgramFolder() + "/" + refdb::kTransformerFile,
                         refdb::DefineTransformerTable, refdb::kTransformerOrder);
    DBGrid1->Refresh();
}

void TBazaTran::Button1Click() {
    done(QDialog::Rejected);
}

void TBazaTran::DBNavigator1Click(platform::TDBNavigator::TNavigateBtn) {
    for (int i = 0; i < ClientDataSet2.FieldDefs().Count(); ++i)
        ClientDataSet2.FieldDefs()[i].SetRequired(true);
}

void TBazaTran::done(int result) {
    // A value still in its cell editor is taken first (the title bar's close box leaves it
    // there). A refused value or a row that cannot be posted keeps the window open, so that it
    // can be put right.
    if (!DBGrid1->FinishEditing()) return;
    if (!refdb::FinishPendingRow(ClientDataSet2)) {
        DBGrid1->Refresh();
        return;
    }
    platform::RunGuarded([this] { refdb::WriteBackTable(ClientDataSet2); });
    DBGrid1->Refresh();
    QDialog::done(result);
}

void TBazaTran::BitBtn1Click() {
    platform::ShowHelpContext(BitBtn1->property("HelpContext").toInt());
}
