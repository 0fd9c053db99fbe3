// The group line window: its layout, its state and the handlers of its lists and load buttons.
#include "groups/Dan12.h"

#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QShowEvent>

#include "app/Mainform.h"
#include "calc/PanelNumbers.h"
#include "editing/EditDialog.h"
#include "groups/NotSimmetr2F.h"
#include "groups/NotSimmetr3F.h"
#include "model/Chains.h"
#include "platform/Canvas.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaT.h"
#include "selection/CheckWindows.h"
#include "app/PowerSystem.h"

TDan1* Dan1 = nullptr;

namespace {

constexpr char kWarningCaption[] = "Предупреждение.";

// The laying methods offered for 2, 3 and 4 conductors.
const std::vector<std::vector<const char*>> kLayingMethods = {
    {"В воздухе", "В земле", "Два провода в трубе"},
    {"В воздухе", "В земле", "Три провода в трубе"},
    {"В воздухе", "В земле", "Четыре провода в трубе"},
};

// Fills the edits of an unbalanced-load dialog with values as the shortest decimal texts.
template <typename Values>
void ShowValues(const std::vector<QLineEdit*>& edits, const Values& values) {
    for (std::size_t i = 0; i < edits.size() && i < values.size(); ++i)
        edits[i]->setText(platform::Q(platform::FloatToStr(values[i])));
}

}  // namespace

TDan1::TDan1(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    // The window is laid out for its designed face, 11 pixels high.
    platform::InstallFontSubstitutes();
    QFont small = font();
    small.setFamily("MS Sans Serif");
    small.setPixelSize(11);
    setFont(small);
    // On top of the other windows, a caption with the system menu only, of fixed size.
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(300, 393);
    // The lists start without a choice.
    for (QComboBox* list : {ComboBox1, ComboBox2, ComboBox3, ComboBox4}) list->setCurrentIndex(-1);
    // Enter in an edit presses no button.
    for (QPushButton* button : {sledychi, ok, cancel, Button1}) button->setAutoDefault(false);

    platform::OnChoice(ComboBox2, this, &TDan1::ComboBox2Change);
    platform::OnChoice(ComboBox1, this, &TDan1::ComboBox1Change);
    platform::OnChoice(ComboBox3, this, &TDan1::ComboBox3Change);
    platform::OnChoice(ComboBox4, this, &TDan1::ComboBox4Change);
    platform::OnChecked(RadioButton1, this, &TDan1::RadioButton1Click);
    platform::OnChecked(RadioButton2, this, &TDan1::RadioButton2Click);
    platform::OnClick(sledychi, this,
                      [](TDan1* dialog) { dialog->sledychiClick(dialog->sledychi); });
    platform::OnClick(ok, this, [](TDan1* dialog) { dialog->okClick(dialog->ok); });
    platform::OnClick(cancel, this, [](TDan1* dialog) { dialog->cancelClick(dialog->cancel); });
    platform::OnClick(Button1, this, &TDan1::Button1Click);

    // The checks undo a refused edit and end in the refresh through these.
    CheckHooks.RestoreEditedGroup = [this](TGrsed* switchboard, TSitid* panel) {
        RestoreEditedGroup(switchboard, panel);
    };
    CheckHooks.ApplyAndRefresh = [this](QObject* sender) { ApplyAndRefresh(sender); };
    CheckHooks.ConnectNewPanel = [this](bool separateBreaker, TGrsed* switchboard, TSitid* panel,
                                        TCxemaGrupd scheme, TFasaGrup1d single, TFasaGrup2d two,
                                        TFasaGrup3d three) {
        ConnectNewPanel(separateBreaker, switchboard, std::move(scheme), std::move(single),
                        std::move(two), std::move(three), panel);
    };
}

void TDan1::ShowEditFace() {
    for (QWidget* control : std::initializer_list<QWidget*>{sledychi, ok, ComboBox2, Label2})
        control->hide();
    cancel->setGeometry(sledychi->geometry());
    Button1->setGeometry(ok->geometry());
    cancel->show();
    Button1->show();
}

void TDan1::FillPanelNumbers() {
    const PanelNumberList list = ListPanelNumbers(ProjectRoot);
    ComboBox2->clear();
    for (const std::string& item : list.Items) ComboBox2->addItem(QString::fromStdString(item));
    // Adding to an empty list chooses its first item; only the computed choice stands.
    ComboBox2->setCurrentIndex(list.Selected);
}

TDan1::Cursors TDan1::CurrentCursors() {
    TGrsed* sw = ProjectRoot ? ProjectRoot->CurrentSwitchboard() : nullptr;
    return {sw, sw ? sw->Panels.Cursor : nullptr};
}

void TDan1::SetCursors(const Cursors& cursors) {
    if (!ProjectRoot) return;
    ProjectRoot->Switchboards.Cursor = cursors.switchboard;
    if (cursors.switchboard) cursors.switchboard->Panels.Cursor = cursors.panel;
}

void TDan1::CopyPanelCounts() {
    const TSitid* panel = ProjectRoot ? ProjectRoot->CurrentPanel() : nullptr;
    GroupCountCopies = panel ? std::array<int, 4>{panel->SchemeGroupCount, panel->SinglePhaseCount,
                                                  panel->TwoPhaseCount, panel->ThreePhaseCount}
                             : std::array<int, 4>{};
}

// ---------------------------------------------------------------------------------------------
// The panel

std::optional<int> TDan1::ChosenPanelNumber() const {
    if (!ProjectRoot) return std::nullopt;
    const std::string chosen = platform::Text(*ComboBox2);
    std::optional<int> number;
    // A later match replaces an earlier one.
    for (const TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot))
        for (const TSitid* panel : chains::PanelsOf(*sw))
            if (chosen == HangingPanelItem(*panel) ||
                chosen == platform::IntToStr(panel->PanelNumber))
                number = panel->PanelNumber;
    return number;
}

void TDan1::ComboBox2Change() {
    platform::MakeProgramFolderCurrent();
    GroupCountCopies = {};
    const std::optional<int> number = ChosenPanelNumber();
    if (!number || !ProjectRoot->FindPanel(*number)) return;
    CopyPanelCounts();
    if (PowerSystem) PowerSystem->ListTransformers();
}

// ---------------------------------------------------------------------------------------------
// Conductor count, laying method, table

void TDan1::ComboBox1Change() {
    ComboBox3->setCurrentIndex(-1);
    ComboBox4->setCurrentIndex(-1);
    const int count = ComboBox1->currentIndex();
    if (count >= 0 && count < static_cast<int>(kLayingMethods.size())) {
        ComboBox3->clear();
        for (const char* method : kLayingMethods[count]) ComboBox3->addItem(method);
        ComboBox3->setCurrentIndex(-1);
    }
    const std::string conductors = platform::Text(*ComboBox1);
    if (conductors == "3" || conductors == "4") {
        RadioButton1->setEnabled(true);
        RadioButton2->setEnabled(true);
    } else {
        RadioButton1->setChecked(true);
        RadioButton1->setEnabled(false);
        RadioButton2->setEnabled(false);
    }
}

void TDan1::ComboBox3Change() {
    if (ComboBox1->currentIndex() < 0) {
        platform::MessageBox("Введите количество жил.", kWarningCaption, platform::MsgButtons::Ok,
                             platform::MsgIcon::Warning);
        return;
    }
    ComboBox4->clear();
    if (!BazaT) return;
    platform::MakeProgramFolderCurrent();
    platform::TFileListBox& files = *BazaT->FileListBox1;
    // Setting another folder reads it; the same folder is read again.
    if (files.Directory() != platform::ProgramFolder())
        files.SetDirectory(platform::ProgramFolder());
    else
        files.Update();
    const std::string laying = platform::Text(*ComboBox3);
    const std::string conductors = platform::Text(*ComboBox1);
    // A table's parameters are the names of its fields.
    for (int i = 0; i < files.Count(); ++i) {
        const std::string name = files.Items(i);
        if (!OpenCurrentTable(name)) continue;
        const platform::TClientDataSet& table = BazaT->ClientDataSet1;
        if (!table.Active() || table.IsEmpty()) continue;
        const platform::TFieldDefs& fields = table.FieldDefs();
        if (fields.IndexOf(laying) >= 0 && fields.IndexOf(conductors) >= 0)
            ComboBox4->addItem(platform::Q(name));
    }
    ComboBox4->setCurrentIndex(-1);
}

void TDan1::ComboBox4Change() {
    if (ComboBox1->currentIndex() < 0)
        platform::MessageBox("Введите колличество жил.", kWarningCaption, platform::MsgButtons::Ok,
                             platform::MsgIcon::Warning);
}

void TDan1::FormActivate() {
    if (ComboBox1->currentIndex() >= 0) return;
    ComboBox3->clear();
    ComboBox4->clear();
}

void TDan1::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TDan1::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && isActiveWindow())
        FormActivate();
}

// ---------------------------------------------------------------------------------------------
// Load kind

void TDan1::RadioButton1Click() {
    if (!Edit2->isEnabled()) Edit2->setEnabled(true);
    if (!Edit1->isEnabled()) Edit1->setEnabled(true);
}

void TDan1::RadioButton2Click() {
    const std::string conductors = platform::Text(*ComboBox1);
    // The edited group line's values are shown when the group editor is open; the dialog is
    // shown in any case, so that the per-phase values are always confirmed.
    const bool editing = selection::CurrentChange() == selection::ChangeKind::GroupEdit;
    auto editedPanel = [this]() -> TSitid* {
        const std::optional<int> number = ChosenPanelNumber();
        return number && ProjectRoot->FindPanel(*number) ? ProjectRoot->CurrentPanel() : nullptr;
    };
    if (conductors == "3" && NotSimmetr_2F && !NotSimmetr_2F->isVisible()) {
        TNotSimmetr_2F& dialog = *NotSimmetr_2F;
        const TSitid* panel = editedPanel();
        if (editing && panel && panel->TwoPhaseGroups.Cursor) {
            const TFasaGrup2d& record = *panel->TwoPhaseGroups.Cursor;
            ShowValues({dialog.Edit1, dialog.Edit2}, record.PartPowers);
            ShowValues({dialog.Edit3, dialog.Edit4}, record.PartCosPhi);
        }
        platform::ShowModal(dialog);
    }
    if (conductors == "4" && NotSimmetr_3F && !NotSimmetr_3F->isVisible()) {
        TNotSimmetr_3F& dialog = *NotSimmetr_3F;
        const TSitid* panel = editedPanel();
        if (editing && panel && panel->ThreePhaseGroups.Cursor) {
            const TFasaGrup3d& record = *panel->ThreePhaseGroups.Cursor;
            ShowValues({dialog.Edit1, dialog.Edit2, dialog.Edit3}, record.PhasePowers);
            ShowValues({dialog.Edit4, dialog.Edit5, dialog.Edit6}, record.PhaseCosPhi);
        }
        platform::ShowModal(dialog);
    }
}

// ---------------------------------------------------------------------------------------------
// Closing

void TDan1::okClick(QObject* sender) {
    RefreshAndClose(sender);  // "закрыть"
}

void TDan1::RefreshAndClose(QObject* sender) {
    ApplyAndRefresh(sender);
    for (QComboBox* list : {ComboBox1, ComboBox3, ComboBox4}) list->setCurrentIndex(-1);
    CloseQuietly();
}

void TDan1::Button1Click() {
    // The edit ends: its flags cleared and its undo copy forgotten; the project stays as the
    // last command left it.
    if (Form3) Form3->EndEdit();
    CloseQuietly();
}

void TDan1::reject() {
    if (!keepEditOnClose_ && Form3 && Form3->GroupEditMode) Form3->EndEdit();
    QDialog::reject();
}

bool TDan1::EnteringNewLines() const {
    return isVisible() && !(Form3 && Form3->GroupEditMode);
}

void TDan1::CloseQuietly() {
    const bool was = closingQuietly_;
    closingQuietly_ = true;
    close();
    closingQuietly_ = was;
}

void TDan1::closeEvent(QCloseEvent* event) {
    const bool finish = !closingQuietly_ && EnteringNewLines();
    QDialog::closeEvent(event);
    if (finish) RefreshAndClose(this);
}

void TDan1::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        EnteringNewLines()) {
        RefreshAndClose(this);
        return;
    }
    QDialog::keyPressEvent(event);
}
