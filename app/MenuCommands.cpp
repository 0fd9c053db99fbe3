// The commands of the main menu, the toolbars and the main window's pop-up menu. Most of them
// prepare a window of another part of the program and show it; a command that needs an open
// project does nothing without one.
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>

#include "app/About.h"
#include "app/ControlBar.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "calc/PanelNumbers.h"
#include "documents/AdjustmentProject.h"
#include "documents/JournalRows.h"
#include "documents/Kabj2.h"
#include "documents/PageGeometry.h"
#include "documents/Preview.h"
#include "drawings/DrawingState.h"
#include "drawings/PanelChooser.h"
#include "editing/EditDialog.h"
#include "editing/NumberChooser.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "groups/NotSimmetr2F.h"
#include "groups/NotSimmetr3F.h"
#include "model/Chains.h"
#include "platform/Conversions.h"
#include "platform/DBGrid.h"
#include "platform/DBNavigator.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"
#include "app/PowerSystem.h"

namespace {

void MoveToLeft(QWidget& control, int left) {
    control.move(left, control.y());
}

std::vector<TGrsed*> SwitchboardsOf(const TGrsed& root) {
    return chains::Elements(root.Switchboards, chains::SwitchboardLink{}, root.SwitchboardCount);
}

std::vector<TSitid*> PanelsOf(const TGrsed& switchboard) {
    return chains::Elements(switchboard.Panels, chains::PanelLink{}, switchboard.PanelCount);
}

std::vector<std::string> SwitchboardNumbers(const TGrsed& root) {
    std::vector<std::string> numbers;
    for (const TGrsed* sw : SwitchboardsOf(root))
        numbers.push_back(platform::IntToStr(sw->SwitchboardNumber));
    return numbers;
}

// Switchboard by switchboard in chain order, panel by panel.
std::vector<std::string> PanelNumbers(const TGrsed& root) {
    std::vector<std::string> numbers;
    for (const TGrsed* sw : SwitchboardsOf(root))
        for (const TSitid* panel : PanelsOf(*sw))
            numbers.push_back(platform::IntToStr(panel->PanelNumber));
    return numbers;
}

// Replaces a list's items; none is chosen.
void FillList(QComboBox& list, const std::vector<std::string>& items) {
    list.clear();
    for (const std::string& item : items) list.addItem(QString::fromStdString(item));
    list.setCurrentIndex(-1);
}

void ShowModeless(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

// Shows a window modelessly at the centre of the main window. A window shown for the first time
// gets its frame then, and is centred again with it.
void ShowCentred(const TForm1& main, QWidget& window) {
    main.CentreOverMainWindow(window);
    ShowModeless(window);
    main.CentreOverMainWindow(window);
}

// The reference table windows browse their tables ("Справочник") or edit them ("База данных").
void SetTableGridEditable(QAbstractItemView* grid, bool editable) {
    if (grid == nullptr) return;
    grid->setEditTriggers(editable ? QAbstractItemView::DoubleClicked |
                                         QAbstractItemView::EditKeyPressed |
                                         QAbstractItemView::AnyKeyPressed
                                   : QAbstractItemView::NoEditTriggers);
}

void LayOutCableTables(bool editing) {
    BazaT->GroupBox1->setVisible(editing);
    BazaT->Button2->setVisible(editing);
    BazaT->DBNavigator1->setVisible(editing);
    SetTableGridEditable(BazaT->DBGrid1, editing);
}

void LayOutTransformers(bool editing) {
    BazaTran->DBNavigator1->setVisible(editing);
    SetTableGridEditable(BazaTran->DBGrid1, editing);
}

void LayOutBreakers(bool editing) {
    BazaAvt->DBNavigator1->setVisible(editing);
    SetTableGridEditable(BazaAvt->DBGrid3, editing);
}

// The number chosen in the number chooser; false when nothing was chosen.
bool ChosenNumber(int& number) {
    if (!Form9->HasChoice()) return false;
    number = Form9->ChosenNumber;
    return true;
}

// Runs a handler of a checkable menu item whose handler flips the mark itself: the menu has
// flipped it already by the time it reports the click, so that flip is undone first.
void OnMarkedItemClick(QAction* item, TForm1* form, void (TForm1::*handler)()) {
    QObject::connect(item, &QAction::triggered, form, [item, form, handler] {
        item->setChecked(!item->isChecked());
        platform::RunGuarded([&] { (form->*handler)(); });
    });
}

}  // namespace

void TForm1::ConnectCommands() {
    struct Command {
        QAction* item;
        void (TForm1::*handler)();
    };
    const Command commands[] = {
        // Main menu.
        {New1, &TForm1::New1Click},
        {Open1, &TForm1::Open1Click},
        {Save1, &TForm1::Save1Click},
        {SaveAs, &TForm1::SaveAsClick},
        {Print1, &TForm1::Print1Click},
        {Exit1, &TForm1::Exit1Click},
        {N59, &TForm1::N59Click},
        {N21, &TForm1::N21Click},
        {N11, &TForm1::N11Click},
        {N30, &TForm1::N30Click},
        {N4, &TForm1::N4Click},
        {N25, &TForm1::N25Click},
        {N12, &TForm1::N12Click},
        {N13, &TForm1::N13Click},
        {N14, &TForm1::N14Click},
        {N47, &TForm1::N47Click},
        {N48, &TForm1::N48Click},
        {N49, &TForm1::N49Click},
        {N50, &TForm1::N50Click},
        {N63, &TForm1::N63Click},
        {N64, &TForm1::N64Click},
        {N65, &TForm1::N65Click},
        {N66, &TForm1::N66Click},
        {N22, &TForm1::N22Click},
        {N55, &TForm1::N55Click},
        {N18, &TForm1::N18Click},
        {N19, &TForm1::N19Click},
        {N20, &TForm1::N20Click},
        {Contents1, &TForm1::Contents1Click},
        {About1, &TForm1::About1Click},
        // Main toolbar.
        {ToolButton1, &TForm1::New1Click},
        {ToolButton2, &TForm1::Open1Click},
        {ToolButton4, &TForm1::Save1Click},
        {ToolButton5, &TForm1::SaveAsClick},
        {ToolButton41, &TForm1::Print1Click},
        {ToolButton8, &TForm1::ToolButton8Click},
        {ToolButton15, &TForm1::N21Click},
        {ToolButton17, &TForm1::N11Click},
        {ToolButton32, &TForm1::N30Click},
        {ToolButton35, &TForm1::N4Click},
        {ToolButton37, &TForm1::N25Click},
        {ToolButton12, &TForm1::N47Click},
        {ToolButton26, &TForm1::N48Click},
        {ToolButton31, &TForm1::N49Click},
        {ToolButton40, &TForm1::N50Click},
        {ToolButton10, &TForm1::N63Click},
        {ToolButton29, &TForm1::N64Click},
        {ToolButton14, &TForm1::N65Click},
        {ToolButton53, &TForm1::N66Click},
        {ToolButton39, &TForm1::N35Click},
        {ToolButton11, &TForm1::N55Click},
        {ToolButton21, &TForm1::N18Click},
        {ToolButton23, &TForm1::N19Click},
        {ToolButton25, &TForm1::N20Click},
        {ToolButton9, &TForm1::Contents1Click},
        {ToolButton43, &TForm1::ToolButton43Click},
        // Preview bar.
        {ToolButton6, &TForm1::ToolButton6Click},
        {ToolButton44, &TForm1::ToolButton44Click},
        // The pop-up menu of the free area.
        {PopupNew1, &TForm1::New1Click},
        {PopupOpen1, &TForm1::Open1Click},
        {PopupExit1, &TForm1::Exit1Click},
    };
    for (const Command& command : commands) platform::OnClick(command.item, this, command.handler);
    platform::OnClick(BitBtn1, this, &TForm1::BitBtn1Click);
    OnMarkedItemClick(N16, this, &TForm1::N16Click);
    OnMarkedItemClick(N32, this, &TForm1::N32Click);
}

QComboBox* TForm1::PanelChooserList() const {
    return Form5 != nullptr ? Form5->ComboBox1 : nullptr;
}

// ---------------------------------------------------------------------------------------------
// File, settings, view

void TForm1::Print1Click() {
    // The scheme window's picture, whatever document the preview shows.
    PrintDocument(SchemePictureDocument, DocumentPageCount(SchemePictureDocument));
}

void TForm1::N59Click() {
    if (!SchemeWindowShown() || AdjustmentProjectForm == nullptr) return;
    platform::ShowModal(*AdjustmentProjectForm);
}

void TForm1::N16Click() {
    N16->setChecked(!N16->isChecked());
    ControlBar1->setVisible(N16->isChecked());
}

void TForm1::N32Click() {
    N32->setChecked(!N32->isChecked());
    StatusBar1->setVisible(N32->isChecked());
}

// ---------------------------------------------------------------------------------------------
// Data

void TForm1::N21Click() {
    ClosePreview();
    if (!SchemeWindowShown() || Shiti == nullptr) return;
    LayOutSwitchboardDialog();
    platform::ShowModal(*Shiti);
}

void TForm1::N11Click() {
    ClosePreview();
    if (Form3 != nullptr && Form3->isVisible()) {
        for (QWidget* window : std::initializer_list<QWidget*>{Dan1, NotSimmetr_2F, NotSimmetr_3F})
            if (window != nullptr && window->isVisible()) ShowModeless(*window);
    }
    if (!ProjectRoot || Dan1 == nullptr) return;
    const TGrsed& root = *ProjectRoot;

    // The group entry window for adding group lines.
    Dan1->Edit2->setEnabled(true);
    Dan1->Edit1->setEnabled(true);
    for (QWidget* control :
         std::initializer_list<QWidget*>{Dan1->sledychi, Dan1->ok, Dan1->ComboBox2, Dan1->Label2})
        control->show();
    Dan1->cancel->hide();
    Dan1->Button1->hide();
    Dan1->setWindowTitle("Данные ");
    Dan1->setFixedSize(300, 395);

    // Every panel of the project; a panel hanging on another one as "feeder(number)".
    FillList(*Dan1->ComboBox2, ProjectPanelItems(root));

    // The power system dialog first: the transformers of the base, the project's one chosen.
    if (PowerSystem == nullptr) return;
    PowerSystem->ListTransformers();
    PowerSystem->Cancelled = false;
    PowerSystem->ShortCircuitPowerMva = root.SupplyScPower;
    PowerSystem->Edit1->setText(QString::fromStdString(platform::FloatToStr(root.SupplyScPower)));
    platform::ShowModal(*PowerSystem);
    if (PowerSystem->Cancelled) return;
    ShowCentred(*this, *Dan1);
}

// ---------------------------------------------------------------------------------------------
// Editing

namespace {
enum EditMode { SwitchboardEdit, PanelEdit, GroupEdit };
}

void TForm1::ShowEditDialog(int mode) {
    ClosePreview();
    if (!ProjectRoot || Form3 == nullptr) return;
    TGrsed& root = *ProjectRoot;
    TForm3& dialog = *Form3;

    switch (mode) {
        case SwitchboardEdit:
            dialog.setWindowTitle("Грщ (редактирование)");
            dialog.GroupBox3->setTitle("Грщ");
            dialog.Label3->hide();
            dialog.ComboBox3->hide();
            dialog.Label4->setText("Грщ №");
            MoveToLeft(*dialog.Label4, 52);
            MoveToLeft(*dialog.ComboBox4, 52);
            FillList(*dialog.ComboBox4, SwitchboardNumbers(root));
            break;
        case PanelEdit:
            dialog.setWindowTitle("Щиты (редактирование)");
            dialog.GroupBox3->setTitle("Щиты");
            dialog.Label3->show();
            dialog.Label3->setText("Щит №");
            dialog.ComboBox3->show();
            dialog.Label4->setText("Грщ №");
            MoveToLeft(*dialog.Label4, 10);
            MoveToLeft(*dialog.ComboBox4, 10);
            FillList(*dialog.ComboBox4, SwitchboardNumbers(root));
            // Filled when a switchboard is chosen.
            dialog.ComboBox3->clear();
            break;
        case GroupEdit: {
            dialog.setWindowTitle("Группы (редактирование)");
            dialog.GroupBox3->setTitle("Группы");
            dialog.Label3->show();
            dialog.Label3->setText("Группа №");
            dialog.ComboBox3->show();
            dialog.Label4->setText("Щит №");
            MoveToLeft(*dialog.Label4, 10);
            MoveToLeft(*dialog.ComboBox4, 10);
            const std::vector<std::string> panels = PanelNumbers(root);
            FillList(*dialog.ComboBox4, panels);
            std::vector<std::string> groups;
            if (!panels.empty()) {
                dialog.ComboBox4->setCurrentIndex(0);
                if (root.FindPanel(platform::StrToInt(panels.front()))) {
                    const TSitid& panel = *root.CurrentPanel();
                    for (const TCxemaGrupd* group : chains::Elements(
                             panel.SchemeGroups, chains::SchemeLink{}, panel.SchemeGroupCount))
                        groups.push_back(group->GroupName);
                }
            }
            FillList(*dialog.ComboBox3, groups);
            break;
        }
        default:
            return;
    }
    ShowCentred(*this, dialog);
}

void TForm1::N30Click() {
    ShowEditDialog(SwitchboardEdit);
}

void TForm1::N4Click() {
    ShowEditDialog(PanelEdit);
}

void TForm1::N25Click() {
    ShowEditDialog(GroupEdit);
}

// ---------------------------------------------------------------------------------------------
// Reference tables: "База данных" edits them, "Справочник" looks them up

void TForm1::N12Click() {
    if (BazaT == nullptr) return;
    platform::MakeProgramFolderCurrent();
    // The table list anew from the program folder, without the two base files.
    BazaT->FormCreate();
    LayOutCableTables(true);
    BazaT->setWindowTitle("Сечение и длительные токи");
    BazaT->setMinimumSize(793, 280);
    BazaT->resize(793, 280);
    ShowModeless(*BazaT);
}

void TForm1::N13Click() {
    if (BazaTran == nullptr) return;
    LayOutTransformers(true);
    BazaTran->setWindowTitle("Ваза данных");
    ShowCentred(*this, *BazaTran);
}

void TForm1::N14Click() {
    if (BazaAvt == nullptr) return;
    LayOutBreakers(true);
    BazaAvt->setWindowTitle("Ваза данных");
    ShowCentred(*this, *BazaAvt);
}

void TForm1::N18Click() {
    if (BazaT == nullptr) return;
    LayOutCableTables(false);
    BazaT->setWindowTitle("Справочник");
    BazaT->setMinimumSize(0, 0);
    BazaT->resize(480, 290);
    BazaT->setMinimumSize(500, 290);
    ShowCentred(*this, *BazaT);
}

void TForm1::N19Click() {
    if (BazaTran == nullptr) return;
    LayOutTransformers(false);
    BazaTran->setWindowTitle("Справочник");
    ShowCentred(*this, *BazaTran);
}

void TForm1::N20Click() {
    if (BazaAvt == nullptr) return;
    LayOutBreakers(false);
    BazaAvt->setWindowTitle("Справочник");
    ShowCentred(*this, *BazaAvt);
}

// ---------------------------------------------------------------------------------------------
// Cable journals

void TForm1::ShowCableJournal(int journalKind) {
    ClosePreview();
    // A network without load has no cables to list.
    if (!ProjectRoot || ProjectRoot->TotalDesignPower == 0 || Form8 == nullptr) return;
    const TGrsed& root = *ProjectRoot;
    int number = 0;
    std::string title;
    switch (journalKind) {
        case GeneralJournal:
            title = "(общий)";
            break;
        case SectionJournal:
            title = "(Секция КТП - Грщ)";
            break;
        case SwitchboardJournal:
        case PanelJournal: {
            const bool switchboards = journalKind == SwitchboardJournal;
            if (Form9 == nullptr) return;
            FillList(*Form9->ComboBox1,
                     switchboards ? SwitchboardNumbers(root) : PanelNumbers(root));
            Form9->setWindowTitle(switchboards ? "Грщ №" : "Щит №");
            CentreOverMainWindow(*Form9);
            // The chooser opens above the journal window, which stays on top of the others.
            platform::ShowModal(*Form9);
            if (!ChosenNumber(number)) return;
            title =
                std::string(switchboards ? "(Грщ №" : "(Щит №") + platform::IntToStr(number) + ")";
            break;
        }
        default:
            return;
    }
    Form8->Label2->setText(QString::fromStdString(title));
    FillCableJournal(journalKind, number);
    PreviewZoom = 0;
    Form8->setProperty("Tag", journalKind);
    DocumentKind = CableJournalDocument;
    ShowCentred(*this, *Form8);
}

void TForm1::N47Click() {
    ShowCableJournal(GeneralJournal);
}

void TForm1::N48Click() {
    ShowCableJournal(SectionJournal);
}

void TForm1::N49Click() {
    ShowCableJournal(SwitchboardJournal);
}

void TForm1::N50Click() {
    ShowCableJournal(PanelJournal);
}

// ---------------------------------------------------------------------------------------------
// Schemes

void TForm1::N63Click() {
    ClosePreview();
    if (!ProjectRoot) return;
    ShowNetworkScheme();
    DocumentKind = SchemePictureDocument;
}

void TForm1::ShowPanelPictureChooser(std::uint8_t mode) {
    ClosePreview();
    // Set first: the chooser's OK draws the picture of the mode chosen last.
    PanelPictureMode = mode;
    if (!ProjectRoot || Form5 == nullptr) return;
    QComboBox& list = *Form5->ComboBox1;
    list.clear();
    if (ProjectRoot->Switchboards.First == nullptr) return;
    FillList(list, PanelNumbers(*ProjectRoot));
    CentreOverMainWindow(*Form5);
    platform::ShowModal(*Form5);
}

void TForm1::N64Click() {
    ShowPanelPictureChooser(1);
}

void TForm1::N65Click() {
    ShowPanelPictureChooser(0);
}

void TForm1::N66Click() {
    ClosePreview();
    // The document is the schematic from here on, even when nothing is drawn.
    DocumentKind = SupplySchemeDocument;
    SetZoomButtonImage(121);
    PreviewZoom = 0;
    if (!ProjectRoot || Form9 == nullptr || Form7 == nullptr) return;
    TGrsed& root = *ProjectRoot;
    FillList(*Form9->ComboBox1, SwitchboardNumbers(root));
    Form9->setWindowTitle("Грщ №");
    CentreOverMainWindow(*Form9);
    platform::ShowModal(*Form9);
    const QComboBox& chosen = *Form9->ComboBox1;
    if (chosen.currentIndex() < 0 || root.Switchboards.First == nullptr) return;
    // The text must name a switchboard: a number typed in that names none draws nothing.
    const std::string text = platform::Text(chosen);
    TGrsed* found = nullptr;
    for (TGrsed* sw : SwitchboardsOf(root)) {
        if (platform::IntToStr(sw->SwitchboardNumber) == text) {
            found = sw;
            break;
        }
    }
    if (found == nullptr) return;
    root.Switchboards.Cursor = found;
    SupplySchemeSwitchboard = found->SwitchboardNumber;
    const std::string number = platform::IntToStr(SupplySchemeSwitchboard);
    Form7->setWindowTitle(
        QString::fromStdString("Принципиальная схема питающей сети(Грщ. № " + number + ")"));
    ShowSupplyNetworkScheme(pages::kPageWidth, SupplySchemeSwitchboard);
}

// ---------------------------------------------------------------------------------------------
// Results

void TForm1::N22Click() {
    ClosePreview();
    if (!ProjectRoot) return;
    ChoosePanelDialog();
}

void TForm1::N35Click() {
    N22Click();
}

void TForm1::N55Click() {
    if (!ProjectRoot) return;
    ShowNetworkResults();
}

// ---------------------------------------------------------------------------------------------
// Preview bar

void TForm1::ToolButton6Click() {
    PrintDocument(DocumentKind, DocumentPageCount(DocumentKind));
}

void TForm1::ToolButton44Click() {
    PreviewZoom = PreviewZoom ? 0 : 1;
    SetZoomButtonImage(PreviewZoom ? 119 : 121);
    FitPreviewToZoom();
}

void TForm1::BitBtn1Click() {
    ClosePreview();
}

void TForm1::ToolButton43Click() {
    if (!SchemeWindowShown() || Form2->Image1 == nullptr) return;
    DocumentKind = SchemePictureDocument;
    SetZoomButtonImage(121);
    PreviewZoom = 0;
    std::string title;
    switch (Form2->PictureKind()) {
        case GeneralSchemePicture:
            title = "Электрическая схема распределительной сети.";
            break;
        case PanelDiagramPicture:
            title = "Однолинейная схема щита.";
            break;
        case PanelPhasingPicture:
            title = "Схема распределения нагрузок.";
            break;
        default:
            break;
    }
    BuildPreviewSheet(14, 200, title);
}
