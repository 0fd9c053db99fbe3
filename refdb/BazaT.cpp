#include "refdb/BazaT.h"

#include <QEvent>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/Cp1251.h"
#include "platform/DBNavigator.h"
#include "platform/Events.h"
#include "platform/Help.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "refdb/CableTableLoader.h"
#include "refdb/TableSchemas.h"
#include "refdb/TableWriteBack.h"

TBazaT* BazaT = nullptr;

namespace {

namespace fs = std::filesystem;
using platform::MessageBox;
using platform::MsgButtons;
using platform::MsgIcon;

constexpr char kWarning[] = "Предупреждение.";

void Warn(const std::string& text, const char* caption = kWarning) {
    MessageBox(text, caption, MsgButtons::Ok, MsgIcon::Warning);
}

std::string RemoveErrorText(const std::error_code& ec) {
    switch (ec.value()) {
        case EACCES:
        case EPERM:
            return "нет доступа";
        case EROFS:
            return "диск доступен только для чтения";
        case EBUSY:
            return "файл занят";
        default:
            return ec.message();
    }
}

}  // namespace

TBazaT::TBazaT(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setMinimumWidth(753);
    setMaximumWidth(796);
    setMinimumHeight(280);
    resize(796, 280);
    for (QComboBox* combo : {ComboBox1, ComboBox2, ComboBox3, ComboBox4})
        combo->setCurrentIndex(-1);

    // A file without the fields the program reads is reported as damaged when it is opened.
    ClientDataSet1.SetExpectedFields(refdb::CableTableFieldsRead());
    // A number the table cannot hold is refused where it is typed.
    ClientDataSet1.SetValueCheck(refdb::CheckTableValue);
    DBGrid1->SetDataSet(&ClientDataSet1);
    DBNavigator1->SetDataSet(&ClientDataSet1);
    platform::LinkDataControls(DBGrid1, DBNavigator1);
    // Changes made through the grid and the navigator are this window's own; changes that other
    // commands left in the table before are dropped first.
    connect(DBGrid1, &platform::TDBGrid::BeforeChange, this, [this] { DropForeignChanges(); });
    connect(DBNavigator1, &platform::TDBNavigator::BeforeAction, this,
            [this] { DropForeignChanges(); });
    connect(DBGrid1, &platform::TDBGrid::DataChanged, this, [this] { NoteWindowChanges(); });
    connect(DBNavigator1, &platform::TDBNavigator::DataChanged, this,
            [this] { NoteWindowChanges(); });

    connect(FileListBox1, &platform::TFileListBox::Change, this,
            [this] { platform::RunGuarded([this] { FileListBox1Change(); }); });
    platform::OnChoice(ComboBox1, this, &TBazaT::ComboBox1Change);
    platform::OnClick(Button1, this, &TBazaT::Button1Click);
    platform::OnClick(Button2, this, &TBazaT::Button2Click);
    platform::OnClick(Button3, this, &TBazaT::Button3Click);
    platform::OnClick(BitBtn1, this, &TBazaT::BitBtn1Click);
    FormCreate();
}

TBazaT::~TBazaT() {
    // The program ends: its windows were closed with their rows posted.
    platform::RunGuarded([this] { CloseCableTable(false); });
    DBGrid1->SetDataSet(nullptr);
    DBNavigator1->SetDataSet(nullptr);
}

void TBazaT::FormCreate() {
    FileListBox1->SetExcludedNames({refdb::kTransformerFile, refdb::kBreakerFile});
    FileListBox1->SetMask("*.xml");
    FileListBox1->SetDirectory(platform::ProgramFolder());
}

void TBazaT::FileListBox1Change() {
    const int selected = FileListBox1->ItemIndex();
    if (selected < 0 || !FinishTyping()) {
        // The highlight taken off, or a row that cannot be posted: the table in the grid stays
        // open, and highlighted.
        ShowOpenTableInList();
        return;
    }
    const std::string fileName = FileListBox1->Items(selected);
    if (!refdb::OpenCableTable(fileName)) {
        // A file that is gone leaves the list, which then shows the table still open; a damaged
        // one stays highlighted over the empty grid, so that it can be deleted.
        FileListBox1->Update();
        const int damaged = FileListBox1->IndexOf(fileName);
        if (ClientDataSet1.Active() || damaged < 0)
            ShowOpenTableInList();
        else
            FileListBox1->SetItemIndex(damaged);
        return;
    }
    ClientDataSet1.SetIndexFieldNames(refdb::kCrossSection);
    DBGrid1->Refresh();
}

void TBazaT::ComboBox1Change() {
    ComboBox3->clear();
    ComboBox2->clear();
    if (const refdb::LayingChoice* choice = refdb::FindLayingChoice(platform::Text(*ComboBox1))) {
        for (const std::string& kind : choice->kinds) ComboBox3->addItem(platform::Q(kind));
        for (const std::string& cores : choice->coreCounts) ComboBox2->addItem(platform::Q(cores));
    }
    ComboBox3->setCurrentIndex(-1);
    ComboBox2->setCurrentIndex(-1);
}

void TBazaT::Button1Click() {
    const std::string name = platform::Text(*Edit1);
    const std::string brand = platform::Text(*Edit2);
    // The name becomes a file name and is kept in projects; the brand is kept in projects.
    if (const std::string problem = refdb::TableNameProblem(name); !problem.empty()) {
        Warn(problem);
        return;
    }
    if (!platform::HasCp1251Form(brand)) {
        Warn(
            "Марка провода или кабеля содержит символы, которые нельзя сохранить в файле "
            "проекта.");
        return;
    }
    const std::string fileName = name + ".xml";
    if (FileListBox1->IndexOf(fileName) >= 0) {
        Warn("Файл с таким именим существует.Измените название.");
        return;
    }
    platform::MakeProgramFolderCurrent();
    const std::string path = platform::ProgramFolder() + fileName;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(path, ec))) {
        Warn("Таблица с таким названием существует.");
        return;
    }

    if (!FinishTyping()) return;
    CloseCableTable();
    ClientDataSet1.FieldDefs().Clear();
    const auto noTableOpen = [this] {
        ClientDataSet1.SetFileName("");
        ClientDataSet1.Close();  // without a file name nothing is written
        ClientDataSet1.FieldDefs().Clear();
        ClientDataSet1.IndexDefs().Clear();
        CableTableOpened();
    };
    try {
        refdb::DefineCableTable(ClientDataSet1,
                                {brand, platform::Text(*ComboBox1), platform::Text(*ComboBox2),
                                 platform::Text(*ComboBox3), platform::Text(*ComboBox4)});
        ClientDataSet1.CreateDataSet();
    } catch (const platform::EDatabaseError&) {
        noTableOpen();
        Warn("Все поля должны быть заполненными. ", "Предурпеждение.");
        return;
    }
    ClientDataSet1.SetFileName(path);
    try {
        ClientDataSet1.SaveToFile(path);
    } catch (const platform::EDatabaseError& error) {
        noTableOpen();
        Warn(std::string("Не удалось создать таблицу «") + fileName + "».\n" + error.what());
        return;
    }

    platform::MakeProgramFolderCurrent();
    FileListBox1->SetDirectory(platform::ProgramFolder());
    FileListBox1->SetItemIndex(FileListBox1->IndexOf(fileName));
    // The new, empty table is shown, ready for rows.
    ClientDataSet1.Close();
    try {
        ClientDataSet1.Open();
    } catch (const platform::EDatabaseError&) {
        noTableOpen();
        Warn("Ошибка E201. В базе данных поврежден файл  " + fileName, "");
        return;
    }
    CableTableOpened();
}

void TBazaT::Button2Click() {
    if (!FinishTyping()) return;
    // The entry highlighted before closing, which takes the highlight off with the table.
    const int selected = FileListBox1->ItemIndex();
    const std::string fileName = FileListBox1->Items(selected);
    CloseCableTable();
    if (selected >= 0) {
        if (MessageBox("Хотите удалить таблицу?", "Подтверждение.", MsgButtons::YesNoCancel,
                       MsgIcon::Question) != platform::mrYes)
            return;
        const std::string path = platform::ProgramFolder() + fileName;
        platform::TClientDataSet::ForgetFile(path);
        std::error_code ec;
        fs::remove(path, ec);
        if (ec) {
            Warn("Не удалось удалить таблицу «" + fileName + "»: " + RemoveErrorText(ec) + ".");
            return;
        }
        refdb::ForgetTable(path);
        FileListBox1->Update();
        return;
    }
    // With an empty list there is nothing to select.
    if (FileListBox1->Count() > 0) Warn("Выделите таблицу.");
}

void TBazaT::Button3Click() {
    if (!FinishTyping()) return;
    CloseCableTable();
    close();
}

void TBazaT::done(int result) {
    // Hiding the window keeps the table open.
    if (!FinishTyping()) return;
    QDialog::done(result);
}

bool TBazaT::FinishTyping() {
    // A value still in its cell editor first: the window may close without the editor losing
    // the focus (the title bar's close box, the end of the program).
    if (!DBGrid1->FinishEditing()) return false;
    const platform::TDataSetState state = ClientDataSet1.State();
    if (state != platform::dsEdit && state != platform::dsInsert) return true;
    const bool posted = refdb::FinishPendingRow(ClientDataSet1);
    NoteWindowChanges();
    DBGrid1->Refresh();
    return posted;
}

void TBazaT::CloseCableTable(bool tellDroppedRow) {
    if (ClientDataSet1.Active()) {
        const platform::TDataSetState state = ClientDataSet1.State();
        if (state == platform::dsEdit || state == platform::dsInsert) {
            // The row the user was editing: posted when it can be, as closing does. One that
            // cannot be posted (another command opens a table while the window holds it) is
            // dropped, and the user told so.
            try {
                if (ClientDataSet1.Modified())
                    ClientDataSet1.Post();
                else
                    ClientDataSet1.Cancel();
            } catch (const platform::EDatabaseError& error) {
                ClientDataSet1.Cancel();
                if (tellDroppedRow)
                    Warn("Строка таблицы «" + refdb::ShownTableName(ClientDataSet1.FileName()) +
                         "» не занесена в базу.\n" + error.what());
            }
            NoteWindowChanges();
        }
        DropForeignChanges();
        refdb::CloseTable(ClientDataSet1);
    }
    CableTableOpened();
}

void TBazaT::CableTableOpened() {
    windowChanges_ = ClientDataSet1.Active() ? ClientDataSet1.ChangeCount() : 0;
    ShowOpenTableInList();
    DBGrid1->Invalidate();
}

bool TBazaT::ReopenUnchangedTable(const std::string& path) {
    if (ClientDataSet1.FileName() != path || !ClientDataSet1.ReopenUnchanged()) return false;
    CableTableOpened();
    return true;
}

void TBazaT::ShowOpenTableInList() {
    static const std::string none;
    const std::string& fileName = ClientDataSet1.Active() ? ClientDataSet1.FileName() : none;
    // The same table opened again, and the list as it was left: highlighted already.
    if (FileListBox1->Generation() == highlighted_.generation && fileName == highlighted_.fileName)
        return;
    int entry = -1;
    if (!fileName.empty()) {
        const QString& name = ListedName(fileName);
        if (!name.isEmpty()) entry = FileListBox1->IndexOf(name.toStdString());
    }
    FileListBox1->SetItemIndex(entry);
    highlighted_ = {fileName, FileListBox1->Generation()};
}

const QString& TBazaT::ListedName(const std::string& fileName) {
    const std::string& folder = FileListBox1->Directory();
    if (fileName != listedFile_.fileName || folder != listedFile_.folder) {
        std::error_code ec;
        const fs::path file = fs::absolute(fileName, ec).lexically_normal();
        const fs::path listed = (fs::path(folder) / file.filename()).lexically_normal();
        listedFile_ = {fileName, folder,
                       !ec && listed == file ? platform::Q(file.filename().string()) : QString()};
    }
    return listedFile_.name;
}

void TBazaT::NoteWindowChanges() {
    if (ClientDataSet1.Active()) windowChanges_ = ClientDataSet1.ChangeCount();
}

void TBazaT::DropForeignChanges() {
    if (!ClientDataSet1.Active() || ClientDataSet1.State() != platform::dsBrowse) return;
    if (ClientDataSet1.ChangeCount() > windowChanges_) ClientDataSet1.SetSavePoint(windowChanges_);
    windowChanges_ = ClientDataSet1.ChangeCount();
}

void TBazaT::showEvent(QShowEvent* event) {
    DropForeignChanges();
    DBGrid1->Refresh();
    QDialog::showEvent(event);
}

void TBazaT::changeEvent(QEvent* event) {
    // By the time the user comes back to the window, changes that other commands left in the
    // table are no edits of the user's.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        DropForeignChanges();
        DBGrid1->Refresh();
    }
    QDialog::changeEvent(event);
}

void TBazaT::BitBtn1Click() {
    platform::ShowHelpContext(BitBtn1->property("HelpContext").toInt());
}
