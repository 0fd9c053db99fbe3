#include "editing/Shiti12.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

#include "app/Mainform.h"
#include "app/ProjectFile.h"
#include "editing/CableTables.h"
#include "editing/EditDialog.h"
#include "editing/EditLists.h"
#include "editing/FeederEntries.h"
#include "editing/Magistral.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "model/TreeEditing.h"
#include "platform/Choices.h"
#include "platform/Conversions.h"
#include "platform/Cp1251.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "selection/TreeEdits.h"

TShiti* Shiti = nullptr;
TSitid NewPanelTemplate;

namespace {

constexpr char kWarning[] = "Предупреждение.";
constexpr char kEnterSwitchboardNumber[] = "Введите номер ГРЩ.";
// 0 stands for no switchboard (the number chooser gives 0 when none is chosen).
constexpr char kSwitchboardNumberZero[] = "Введите номер ГРЩ отличный от 0.";
constexpr char kEnterCableName[] = "Введите название кабеля или провода.";
constexpr char kSwitchboardNumberTaken[] =
    "Название с таким номером существует. Измените номер ГРЩ.";

// The width of every layout; the connection layout has a fixed height too.
constexpr int kWidth = 402;

using editing::CableNameProblem;
using editing::kCableNameTaken;
using editing::kEnterLength;
using editing::kEnterPanelNumber;
using editing::kEnterTemperature;
using editing::kHighestTemperature;
using editing::kLowestTemperature;
using editing::kOpenTable;
using editing::kPanelNumberTaken;
using editing::kPanelNumberZero;
using editing::kTemperatureRange;
using editing::ReadInt;
using editing::ReadLength;
using editing::Say;
using editing::Warn;

bool Listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

int ChainLength(const TGrsed& sw) {
    return chains::Length(sw.Panels, chains::PanelLink{});
}

// The first checks of both boxes, in their order: the route length, the number, the ambient
// temperature and its range. False after the message of the first that fails.
bool CheckFeederEntries(const QLineEdit& lengthEdit, const QLineEdit& numberEdit,
                        const QLineEdit& temperatureEdit, const char* enterNumber,
                        const char* range, int& number) {
    double length = 0;
    int temperature = 0;
    if (!ReadLength(lengthEdit, length)) {
        Warn(kEnterLength);
        return false;
    }
    if (!ReadInt(numberEdit, number)) {
        Warn(enterNumber);
        return false;
    }
    if (!ReadInt(temperatureEdit, temperature)) {
        Warn(kEnterTemperature);
        return false;
    }
    if (temperature < kLowestTemperature || temperature > kHighestTemperature) {
        Warn(range);
        return false;
    }
    return true;
}

// A new feeder's cable name: given, one a project file can keep, and not in use. False after
// the message of the first that fails.
bool CheckNewCableName(const std::string& name, const std::vector<std::string>& inUse) {
    if (const std::string problem = CableNameProblem(name); !problem.empty()) {
        Say(problem);
        return false;
    }
    if (Listed(inUse, name)) {
        Say(kCableNameTaken);
        return false;
    }
    return true;
}

void EnableSaveButton() {
    if (Form1) Form1->ToolButton4->setEnabled(true);
}

// The places of the controls of one layout, inside their boxes.
class Placement {
public:
    void At(QWidget* control, const QRect& rect) {
        control->setGeometry(rect);
        placed_.insert(control);
    }
    // A box across the window.
    void Box(QWidget* box, int top, int height) { At(box, {8, top, 386, height}); }
    // A caption with its field below it.
    void Field(QWidget* caption, QWidget* field, int x, int y, int captionWidth, int fieldWidth) {
        At(caption, {x, y, captionWidth, 16});
        At(field, {x, y + 16, fieldWidth, 22});
    }
    // The unit beside a field whose caption stands at y.
    void Unit(QWidget* unit, int x, int y) { At(unit, {x, y + 20, 20, 16}); }
    void Button(QWidget* button, int x, int y) { At(button, {x, y, 86, 25}); }

    // The entries of a feeder in the edit layouts, with their captions.
    struct Feeder {
        QWidget *numberCaption, *number, *temperatureCaption, *temperature, *lengthCaption, *length,
            *unit, *tableCaption, *table, *layingCaption, *laying, *cableCaption, *cable;
    };
    // Number, temperature and length in the first row, table and laying method in the second,
    // the cable name in the third.
    void FeederForEdit(const Feeder& f) {
        Field(f.numberCaption, f.number, 10, 20, 60, 60);
        Field(f.temperatureCaption, f.temperature, 100, 20, 90, 60);
        Field(f.lengthCaption, f.length, 196, 20, 120, 90);
        Unit(f.unit, 290, 20);
        Field(f.tableCaption, f.table, 10, 62, 180, 174);
        Field(f.layingCaption, f.laying, 196, 62, 180, 186);
        Field(f.cableCaption, f.cable, 10, 104, 184, 90);
    }

    bool Placed(QWidget* control) const { return placed_.count(control) > 0; }

private:
    std::set<QWidget*> placed_;
};

}  // namespace

namespace editing {

void Warn(const std::string& text) {
    platform::MessageBox(text, kWarning, platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

void Say(const std::string& text) {
    platform::MessageBox(text, "", platform::MsgButtons::Ok, platform::MsgIcon::None);
}

bool ReadLength(const QLineEdit& edit, double& length) {
    return platform::TryStrToFloat(platform::Text(edit), length) && std::isfinite(length) &&
           length > 0.0;
}

bool ReadInt(const QLineEdit& edit, int& value) {
    return platform::TryStrToInt(platform::Text(edit), value);
}

std::string CableNameProblem(const std::string& name) {
    if (name.empty()) return kEnterCableName;
    // Kept in the project file: in Windows-1251, within its slot.
    return projectfile::EntryTextProblem(name, "Название кабеля или провода");
}

}  // namespace editing

TShiti::TShiti(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    for (QWidget* control : Controls()) design_.push_back({control, control->geometry()});
    // No laying method chosen at first.
    for (QComboBox* list : {ComboBox4, ComboBox5}) platform::ClearChoice(*list);

    platform::OnChecked(RadioButton1, this, &TShiti::RadioButton1Click);
    platform::OnChecked(RadioButton2, this, &TShiti::RadioButton2Click);
    // Each mode selector stands alone in its box, where a click on it would uncheck it and leave
    // no mode chosen: the mode chosen stays until the other one is.
    for (QRadioButton* mode : {RadioButton1, RadioButton2})
        connect(mode, &QAbstractButton::clicked, this, [mode](bool checked) {
            if (!checked) mode->setChecked(true);
        });
    platform::OnChoice(ComboBox2, this, &TShiti::ComboBox2Change);
    platform::OnChoice(ComboBox4, this, &TShiti::ComboBox4Change);
    platform::OnChoice(ComboBox5, this, &TShiti::ComboBox5Change);
    platform::OnItemClick(RadioGroup1, this, &TShiti::RadioGroup1Click);
    platform::OnClick(Button1, this, &TShiti::Button1Click);
    platform::OnClick(Button2, this, &TShiti::Button2Click);
    platform::OnClick(Button4, this, &TShiti::Button4Click);
    platform::OnClick(Button3, this, &TShiti::Button3Click);
    platform::OnClick(Button5, this, &TShiti::Button5Click);
    platform::OnClick(Button6, this, &TShiti::Button6Click);
    platform::OnClick(Button7, this, &TShiti::Button7Click);
    SetLayout(Layout::Connection);

    // The checks take a refused edit back through the edit dialog and this window.
    if (Dan1) {
        NetworkCheckHooks& hooks = Dan1->CheckHooks;
        hooks.RefillEditLists = [](QObject* sender) {
            if (Form3) Form3->ComboBox4Change(sender);
        };
        hooks.RestorePanelFromSnapshot = [this](TSitid* panel) { RestorePanelFromSnapshot(panel); };
        hooks.RebuildFromUndoCopy = [] {
            if (Form3) Form3->RebuildFromUndoCopy();
        };
    }
    editing::WatchEditors(*this);
}

std::vector<QWidget*> TShiti::Controls() const {
    std::vector<QWidget*> controls = {GroupBox1, GroupBox2, Button1};
    for (QGroupBox* box : {GroupBox1, GroupBox2})
        for (QWidget* control : box->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            controls.push_back(control);
    return controls;
}

// ---------------------------------------------------------------------------------------------
// Layouts

void TShiti::SetBorderIcons(bool closeBox) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (windowFlags() == flags) return;
    const bool shown = isVisible();
    setWindowFlags(flags);
    if (shown) show();
}

void TShiti::SetLayout(Layout layout) {
    // Where each control of a layout stands; the controls of the two boxes and "Закрыть" that
    // a layout does not place are hidden.
    Placement place;
    QSize window;
    switch (layout) {
        case Layout::Connection:
            // As the form was designed, without the controls of the edit modes.
            window = QSize(kWidth, 393);
            for (const auto& [control, rect] : design_) {
                if (control != Button3 && control != Button5 && control != Button6 &&
                    control != Button7 && control != Edit9 && control != Label16)
                    place.At(control, rect);
            }
            break;
        case Layout::PanelEdit:
            window = QSize(kWidth, 206);
            place.Box(GroupBox2, 8, 190);
            place.FeederForEdit({Label5, Edit1, Label12, Edit5, Label6, Edit4, Label7, Label9,
                                 ComboBox3, Label11, ComboBox5, Label15, Edit8});
            place.Field(Label16, Edit9, 200, 104, 150, 50);
            place.Button(Button6, 10, 156);
            place.Button(Button5, 200, 156);
            break;
        case Layout::SwitchboardEdit:
            window = QSize(kWidth, 194);
            place.Box(GroupBox1, 8, 178);
            place.FeederForEdit({Label2, Edit2, Label13, Edit6, Label1, Edit3, Label3, Label8,
                                 ComboBox1, Label10, ComboBox4, Label14, Edit7});
            place.Button(Button7, 10, 146);
            place.Button(Button3, 200, 146);
            break;
        case Layout::NewPanelRemedy:
            window = QSize(kWidth, 120);
            place.Box(GroupBox2, 2, 110);
            place.Field(Label9, ComboBox3, 10, 20, 180, 174);
            place.Field(Label11, ComboBox5, 196, 20, 180, 186);
            place.Field(Label5, Edit1, 10, 62, 60, 60);
            place.Field(Label15, Edit8, 100, 62, 184, 90);
            place.Button(Button4, 290, 76);
            break;
    }
    layout_ = layout;

    for (QWidget* control : Controls()) control->setVisible(place.Placed(control));
    setMinimumSize(window);
    setMaximumSize(window);
    resize(window);

    switch (layout) {
        case Layout::Connection:
            SetBorderIcons(true);
            setWindowTitle("Щиты");
            GroupBox1->setTitle("Соединение ВРУ - ГРЩ");
            ComboBox3->setEnabled(true);
            ComboBox5->setEnabled(true);
            for (QComboBox* list : {ComboBox1, ComboBox2, ComboBox3}) platform::ClearChoice(*list);
            // A new panel is radial until a switchboard with panels is chosen.
            platform::SetItemIndex(*RadioGroup1, 0);
            RadioGroup1->setEnabled(false);
            if (RadioButton1->isChecked())
                RadioButton1Click();
            else
                RadioButton1->setChecked(true);
            break;
        case Layout::PanelEdit:
            SetBorderIcons(false);
            setWindowTitle("Щиты (редактирование)");
            ComboBox3->setEnabled(true);
            ComboBox5->setEnabled(true);
            if (RadioButton2->isChecked())
                RadioButton2Click();
            else
                RadioButton2->setChecked(true);
            Edit1->setEnabled(true);
            break;
        case Layout::SwitchboardEdit:
            SetBorderIcons(false);
            setWindowTitle("Грщ.(редактирование)");
            GroupBox1->setTitle("Грщ");
            Edit2->setEnabled(true);
            break;
        case Layout::NewPanelRemedy:
            // The close box (and Escape) leave without a new panel: the offer counts as
            // declined.
            SetBorderIcons(true);
            setWindowTitle("Щиты");
            ComboBox3->setEnabled(true);
            ComboBox5->setEnabled(true);
            Edit1->setEnabled(true);
            if (RadioButton2->isChecked())
                RadioButton2Click();
            else
                RadioButton2->setChecked(true);
            break;
    }
}

void TShiti::done(int result) {
    if (layout_ == Layout::Connection) {
        Button1Click();
        return;
    }
    // Leaving an editor any other way than by "Изменить" ends the edit: nothing stays of it.
    const bool editLayout = layout_ == Layout::PanelEdit || layout_ == Layout::SwitchboardEdit;
    if (editLayout && !applying_ && isVisible() && Form3) {
        Form3->EndEdit();
        ComboBox3->setEnabled(true);
        ComboBox5->setEnabled(true);
    }
    QDialog::done(result);
}

// ---------------------------------------------------------------------------------------------
// Small handlers

void TShiti::RadioButton1Click() {
    platform::Uncheck(*RadioButton2);
    RadioButton1->setChecked(true);
    Button2->setEnabled(true);
    Edit2->setEnabled(true);
    Button4->setEnabled(false);
    ComboBox2->setEnabled(false);
    Edit1->setEnabled(false);
}

void TShiti::RadioButton2Click() {
    platform::Uncheck(*RadioButton1);
    RadioButton2->setChecked(true);
    Button2->setEnabled(false);
    Edit2->setEnabled(false);
    ComboBox2->setEnabled(true);
    Edit1->setEnabled(true);
    Button4->setEnabled(true);
    // The new-panel remedy: every switchboard of the list chosen in turn, the last one stays.
    if (Dan1 && Dan1->NewPanelDialogOpen) {
        for (int i = 0; i < ComboBox2->count(); ++i) {
            ComboBox2->setCurrentIndex(i);
            ComboBox2Change();
        }
    }
}

bool TShiti::ChosenSwitchboardNumber(int& number) const {
    return ComboBox2->currentIndex() >= 0 &&
           platform::TryStrToInt(platform::Text(*ComboBox2), number);
}

void TShiti::ComboBox2Change() {
    TGrsed* root = ProjectRoot;
    if (!root) return;
    root->Switchboards.Cursor = root->Switchboards.First;
    platform::SetItemIndex(*RadioGroup1, 0);
    int number = 0;
    const bool chosen = ChosenSwitchboardNumber(number);
    for (int i = 0; i < root->SwitchboardCount && root->Switchboards.Cursor; ++i) {
        TGrsed* sw = root->Switchboards.Cursor;
        if (chosen && sw->SwitchboardNumber == number) {
            // Counted along the chain, so that the counter always agrees with the tree.
            PanelCounter = ChainLength(*sw);
            // A trunk needs a panel to start from.
            RadioGroup1->setEnabled(PanelCounter > 0);
        }
        root->Switchboards.Cursor = sw->Switchboards.Next;
    }
}

std::vector<std::string> TShiti::TrunkEnds(int switchboardNumber) {
    std::vector<std::string> ends;
    TGrsed* root = ProjectRoot;
    if (!root) return ends;
    TreeEditing& tree = selection::TreeEdits();
    for (TGrsed* sw : chains::SwitchboardsOf(*root)) {
        if (sw->SwitchboardNumber != switchboardNumber) continue;
        root->Switchboards.Cursor = sw;
        for (TSitid* p : chains::PanelsOf(*sw)) {
            if (!p->FedFromPanel && !p->FedFromSwitchboard && !p->OnTrunk && !p->PanelFlagC) {
                ends.push_back(platform::IntToStr(p->PanelNumber));
            } else if (p->FedFromSwitchboard) {
                tree.SelectCascadeHead(p);
                tree.NumberPanelCascade(sw->Panels.Cursor);
                if (sw->Panels.Cursor)
                    ends.push_back(platform::IntToStr(sw->Panels.Cursor->PanelNumber));
                sw->Panels.Cursor = p;
            }
        }
    }
    return ends;
}

void TShiti::RadioGroup1Click() {
    if (!FormMagistral) return;
    switch (platform::ItemIndex(*RadioGroup1)) {
        case 0:
            ComboBox3->setEnabled(true);
            ComboBox5->setEnabled(true);
            FormMagistral->TrunkChosen = false;
            FormMagistral->UpstreamPanelNo = 0;
            break;
        case 1: {
            int number = 0;
            platform::SetItems(*FormMagistral->ComboBox1, ChosenSwitchboardNumber(number)
                                                              ? TrunkEnds(number)
                                                              : std::vector<std::string>());
            platform::ShowModal(*FormMagistral);
            break;
        }
        default:
            break;
    }
}

void TShiti::ComboBox4Change() {
    platform::SetItems(*ComboBox1, editing::FeederTablesFor(platform::Text(*ComboBox4)));
}

void TShiti::ComboBox5Change() {
    platform::SetItems(*ComboBox3, editing::FeederTablesFor(platform::Text(*ComboBox5)));
}

void TShiti::Button1Click() {
    QDialog::done(QDialog::Rejected);
    ComboBox3->setEnabled(true);
    ComboBox5->setEnabled(true);
    platform::ClearChoice(*ComboBox1);
    platform::ClearChoice(*ComboBox3);
    TGrsed* root = ProjectRoot;
    if (!root || !root->Switchboards.First) return;
    // Every switchboard, whichever the dialog chose last: panels fed from panels in their order,
    // each trunk together behind its head.
    for (TGrsed* sw : chains::SwitchboardsOf(*root)) {
        root->Switchboards.Cursor = sw;
        if (sw->ChangedMark && Form3) Form3->RepairPanelFeeds();
        root->Switchboards.Cursor = sw;
        sw->Panels.Cursor = sw->Panels.First;
        for (int i = 0; i < sw->PanelCount && sw->Panels.Cursor; ++i) {
            TSitid* panel = sw->Panels.Cursor;
            if (Dan1) Dan1->ReorderCascade(panel);
            root->Switchboards.Cursor = sw;
            sw->Panels.Cursor = panel->Panels.Next;
        }
    }
    if (Dan1 && !Dan1->RemedyActive && Dan1->CheckHooks.ApplyAndRefresh)
        Dan1->CheckHooks.ApplyAndRefresh(this);
}

// ---------------------------------------------------------------------------------------------
// Main switchboard connection

void TShiti::Button2Click() {
    if (!ValidateSwitchboardConnection()) return;
    // The number went into the list with the checks; a table that cannot be opened takes it
    // out again.
    if (!ConnectSwitchboardToVru()) ComboBox2->removeItem(ComboBox2->count() - 1);
}

bool TShiti::ValidateSwitchboardConnection() {
    int number = 0;
    if (!CheckFeederEntries(*Edit3, *Edit2, *Edit6, kEnterSwitchboardNumber,
                            "Интервал температуры <от -5 до +50>", number))
        return false;
    if (number == 0) {
        Warn(kSwitchboardNumberZero);
        return false;
    }
    if (ComboBox1->currentIndex() < 0) {
        Warn(kOpenTable);
        return false;
    }
    const std::string numberText = platform::Text(*Edit2);
    const std::string cableName = platform::Text(*Edit7);
    std::vector<std::string> listed;
    for (int i = 0; i < ComboBox2->count(); ++i)
        listed.push_back(ComboBox2->itemText(i).toStdString());

    if (!(Form3 && Form3->SwitchboardEditMode)) {
        // The number is compared as text here and as a number below: "07" passes the first
        // comparison with "7" listed and is stopped by the second.
        if (Listed(listed, numberText)) {
            Warn(kSwitchboardNumberTaken);
            return false;
        }
        if (RadioButton1->isChecked()) {
            if (TGrsed* root = ProjectRoot) {
                for (const TGrsed* sw : chains::Elements(
                         root->Switchboards, chains::SwitchboardLink{}, SwitchboardCounter)) {
                    if (sw->SwitchboardNumber == number) {
                        Say("ГРЩ c таким номером подключен к ВРУ.");
                        return false;
                    }
                }
            }
            if (!CheckNewCableName(cableName, CableNames)) return false;
        }
    } else {
        // The edited switchboard may keep its own number and cable name; numbers are compared
        // with every switchboard of the project.
        const TGrsed* own = Form3->SwitchboardCopy.get();
        const std::string ownCable = own ? own->SwitchboardCableName : "";
        bool numberTaken = false;
        if (const TGrsed* root = ProjectRoot)
            for (const TGrsed* sw : chains::SwitchboardsOf(*root))
                if (sw->SwitchboardNumber == number && !(own && own->SwitchboardNumber == number))
                    numberTaken = true;
        if (numberTaken) {
            Warn(kSwitchboardNumberTaken);
            return false;
        }
        if (cableName != ownCable && Listed(CableNames, cableName)) {
            Say(kCableNameTaken);
            return false;
        }
        if (const std::string problem = CableNameProblem(cableName); !problem.empty()) {
            Say(problem);
            return false;
        }
    }
    platform::AddItem(*ComboBox2, platform::IntToStr(number));
    return true;
}

bool TShiti::ConnectSwitchboardToVru() {
    TGrsed* root = ProjectRoot;
    if (!root) return false;
    const std::string tableName = platform::Text(*ComboBox1);
    const std::optional<editing::FeederTable> table = editing::ReadFeederTable(tableName);
    if (!table) return false;

    double length = 0;
    ReadLength(*Edit3, length);
    // The creation number: one more than the switchboards in the chain, which the counters
    // always equal.
    const int created = chains::Length(root->Switchboards, chains::SwitchboardLink{}) + 1;
    TGrsed record;
    record.SwitchboardNumber = platform::StrToInt(platform::Text(*Edit2));
    record.SwitchboardCount = created;
    record.SchemeOrder = created - 1;
    record.SwitchboardFeederLength = length;
    record.SwitchboardLaying = platform::Text(*ComboBox4);
    record.SwitchboardTable = tableName;
    record.SwitchboardConductorMaterial = table->material;
    record.SwitchboardTemperature = platform::StrToInt(platform::Text(*Edit6));
    record.SwitchboardCableName = platform::Text(*Edit7);
    record.SwitchboardSections = table->sections;
    if (table->zeroColumn) record.SwitchboardZeroSections = table->zeroSections;
    record.SwitchboardSectionCount = static_cast<int>(table->sections.size());
    record.SwitchboardZeroCoreTable = table->zeroColumn ? 1 : 0;

    CableNames.push_back(record.SwitchboardCableName);
    root->AddSwitchboard(record);
    root->SwitchboardCount = created;
    SwitchboardCounter = root->SwitchboardCount;
    EnableSaveButton();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Panel connection

void TShiti::Button4Click() {
    // A failing check lifts the lock that the trunk dialog put on the table and laying method.
    ComboBox3->setEnabled(true);
    ComboBox5->setEnabled(true);
    if (!ValidatePanelConnection()) return;
    ConnectPanelToSwitchboard();
    RadioGroup1->setEnabled(true);
    platform::SetItemIndex(*RadioGroup1, 0);
}

bool TShiti::ValidatePanelConnection() {
    int number = 0;
    if (!CheckFeederEntries(*Edit4, *Edit1, *Edit5, kEnterPanelNumber, kTemperatureRange, number))
        return false;
    if (number == 0) {
        Warn(kPanelNumberZero);
        return false;
    }
    if (ComboBox2->currentIndex() < 0) {
        Warn(kEnterSwitchboardNumber);
        return false;
    }
    if (ComboBox3->currentIndex() < 0) {
        Warn(kOpenTable);
        return false;
    }
    if (!RadioButton2->isChecked()) return true;
    if (TGrsed* root = ProjectRoot) {
        for (const TGrsed* sw : chains::SwitchboardsOf(*root)) {
            for (const TSitid* p : chains::PanelsOf(*sw)) {
                if (p->PanelNumber == number) {
                    Warn(kPanelNumberTaken);
                    return false;
                }
            }
        }
    }
    return CheckNewCableName(platform::Text(*Edit8), CableNames);
}

int TShiti::TakeTrunkHead(int upstream, bool sameSection) {
    TGrsed* root = ProjectRoot;
    // A radial connection names no panel.
    if (!root || upstream == 0) return 0;
    int head = 0;
    for (TGrsed* sw : chains::SwitchboardsOf(*root)) {
        for (TSitid* p : chains::PanelsOf(*sw)) {
            // A plain panel becomes the head of the trunk it starts.
            if (p->PanelNumber == upstream && p->FeedingPanelNumber == 0) {
                p->FedFromSwitchboard = 1;
                p->CascadeHeadNumber = p->PanelNumber;
                p->CascadeFlag = sameSection ? 1 : 0;
                head = p->PanelNumber;
            }
        }
    }
    for (TGrsed* sw : chains::SwitchboardsOf(*root))
        for (const TSitid* p : chains::PanelsOf(*sw))
            if (p->PanelNumber == upstream && p->FedFromPanel) head = p->CascadeHeadNumber;
    return head;
}

bool TShiti::ConnectPanelToSwitchboard() {
    TGrsed* root = ProjectRoot;
    int switchboardNumber = 0;
    if (!root || !FormMagistral || !ChosenSwitchboardNumber(switchboardNumber)) return false;
    const std::string tableName = platform::Text(*ComboBox3);
    const std::optional<editing::FeederTable> table = editing::ReadFeederTable(tableName);
    if (!table) return false;

    const bool trunk = FormMagistral->TrunkChosen;
    const int upstream = trunk ? FormMagistral->UpstreamPanelNo : 0;
    const int head = TakeTrunkHead(upstream, FormMagistral->SameCrossSectionForAll);

    TGrsed* target = nullptr;
    for (TGrsed* sw : chains::SwitchboardsOf(*root))
        if (!target && sw->SwitchboardNumber == switchboardNumber) target = sw;
    if (!target) return false;
    const int position = ChainLength(*target) + 1;
    const std::string cableName = platform::Text(*Edit8);
    CableNames.push_back(cableName);

    double length = 0;
    ReadLength(*Edit4, length);
    const int number = platform::StrToInt(platform::Text(*Edit1));
    // Every new panel starts from a fresh record: nothing of an earlier connection stays.
    NewPanelTemplate = TSitid();
    NewPanelTemplate.PanelNumber = number;
    NewPanelTemplate.FeederLength = length;
    NewPanelTemplate.FeederConductorMaterial = table->material;
    NewPanelTemplate.FeederLayingMethod = platform::Text(*ComboBox5);
    NewPanelTemplate.CurrentTableName = tableName;
    NewPanelTemplate.FeederTemperature = platform::StrToInt(platform::Text(*Edit5));
    NewPanelTemplate.FeederCableName = cableName;
    NewPanelTemplate.FedFromPanel = trunk ? 1 : 0;
    NewPanelTemplate.FeedingPanelNumber = upstream;
    NewPanelTemplate.CascadeHeadNumber = head;
    NewPanelTemplate.FeederSections = table->sections;
    if (table->zeroColumn) NewPanelTemplate.FeederZeroSections = table->zeroSections;
    NewPanelTemplate.FeederSectionCount = static_cast<int>(table->sections.size());
    NewPanelTemplate.ZeroCoreTable = table->zeroColumn ? 1 : 0;
    if (trunk) NewPanelTemplate.CascadeLength = length;
    NewPanelTemplate.Position = position;

    root->AddPanel(switchboardNumber, NewPanelTemplate);
    // The counts are taken from the chains.
    for (TGrsed* sw : chains::SwitchboardsOf(*root))
        if (sw->SwitchboardNumber == switchboardNumber) sw->PanelCount = ChainLength(*sw);
    PanelCounter = target->PanelCount;
    root->FindPanel(number);
    if (TGrsed* sw = root->CurrentSwitchboard()) sw->Panels.Cursor = sw->Panels.Last;

    const std::string numberText = platform::IntToStr(number);
    if (Dan1) platform::AddItem(*Dan1->ComboBox2, numberText);
    if (Form3) platform::AddItem(*Form3->ComboBox4, numberText);
    EnableSaveButton();
    if (Form1) Form1->ProjectSaved = 0;

    if (Dan1 && Dan1->RemedyActive) Button1Click();

    root->FindPanel(number);
    FormMagistral->UpstreamPanelNo = 0;
    FormMagistral->TrunkChosen = false;
    TGrsed* sw = root->CurrentSwitchboard();
    TSitid* panel = root->CurrentPanel();
    if (!sw || !panel || !panel->FedFromPanel) return true;
    return SelectTrunkEquipment(sw, panel);
}

bool TShiti::SelectTrunkEquipment(TGrsed* sw, TSitid* panel) {
    TGrsed* root = ProjectRoot;
    if (!Dan1 || !root) return true;
    Dan1->RecalculateNetwork();
    root->Switchboards.Cursor = sw;
    sw->Panels.Cursor = panel;
    Dan1->SelectCascadeHeadRating();
    if (!Dan1->SelectTrunkBreaker()) return false;
    Dan1->ShowMainBreakerDialog();
    // The trunk numbered from its head; its last panel gets its cable.
    root->Switchboards.Cursor = sw;
    sw->Panels.Cursor = panel;
    TreeEditing& tree = selection::TreeEdits();
    tree.SelectCascadeHead(panel);
    tree.NumberPanelCascade(sw->Panels.Cursor);
    TSitid* last = sw->Panels.Cursor;
    if (last) {
        Dan1->SelectCascadeFeederCables(last, true);
        if (last->CascadeFlag) {
            Dan1->SeekCascadeFeederSection(last);
            Dan1->CascadeMaxCrossSection(last);
        }
    }
    root->Switchboards.Cursor = sw;
    sw->Panels.Cursor = panel;
    return true;
}
