// The edit and delete window: its modes, its lists, "Изменить", "Удалить" and "Закрыть", and the
// selection after a panel was deleted.
#include "editing/EditDialog.h"

#include <optional>

#include "app/DialogForm.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "editing/EditLists.h"
#include "editing/Shiti12.h"
#include "editing/TreeCursors.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "model/TreeEditing.h"
#include "platform/ClientDataSet.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "refdb/BazaAvt.h"
#include "selection/SelectionSupport.h"
#include "selection/TreeEdits.h"

TForm3* Form3 = nullptr;

namespace {

using editing::ClearBreakerTypes;
using editing::InCascade;
using editing::PutBack;

constexpr char kGroupsCaption[] = "Группы (редактирование)";
constexpr char kPanelsCaption[] = "Щиты (редактирование)";
constexpr char kSwitchboardsCaption[] = "Грщ (редактирование)";
constexpr char kEditedGroupCaption[] = "Данные (редактирование)";

std::optional<int> ListedNumber(const QComboBox& list) {
    int number = 0;
    if (!platform::TryStrToInt(platform::Text(list), number)) return std::nullopt;
    return number;
}

}  // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(207, 196);
    for (QPushButton* button : {Button3, Button4, Button5}) button->setAutoDefault(false);
    platform::OnChoice(ComboBox4, this, [](TForm3* form) { form->ComboBox4Change(form); });
    platform::OnClick(Button5, this, &TForm3::Button5Click);
    platform::OnClick(Button3, this, &TForm3::Button3Click);
    platform::OnClick(Button4, this, &TForm3::Button4Click);
    FormCreate();
}

void TForm3::FormCreate() {
    SwitchboardEditMode = PanelEditMode = GroupEditMode = 0;
}

TForm3::Mode TForm3::CurrentMode() const {
    const QString caption = windowTitle();
    if (caption == kGroupsCaption) return Mode::Groups;
    if (caption == kPanelsCaption) return Mode::Panels;
    if (caption == kSwitchboardsCaption) return Mode::Switchboards;
    return Mode::None;
}

bool TForm3::EditorOpen() {
    const bool groupEditor =
        Dan1 && Dan1->isVisible() && Dan1->windowTitle() == kEditedGroupCaption;
    const bool connectionEditor = Shiti && Shiti->isVisible() &&
                                  (Shiti->CurrentLayout() == TShiti::Layout::PanelEdit ||
                                   Shiti->CurrentLayout() == TShiti::Layout::SwitchboardEdit);
    return groupEditor || connectionEditor;
}

// ---------------------------------------------------------------------------------------------
// Lists

void TForm3::ComboBox4Change(QObject*) {
    TGrsed* root = ProjectRoot;
    const Mode mode = CurrentMode();
    if (!root || mode == Mode::Switchboards || mode == Mode::None) return;
    ComboBox3->clear();
    const std::optional<int> number = ListedNumber(*ComboBox4);
    if (number) {
        for (TGrsed* sw : chains::SwitchboardsOf(*root)) {
            if (mode == Mode::Panels && sw->SwitchboardNumber != *number) continue;
            for (TSitid* panel : chains::PanelsOf(*sw)) {
                if (mode == Mode::Panels) {
                    // Panels hanging on another panel are edited with it.
                    if (!panel->OnTrunk && !panel->PanelFlagC)
                        ComboBox3->addItem(platform::Q(platform::IntToStr(panel->PanelNumber)));
                } else if (panel->PanelNumber == *number) {
                    for (const TCxemaGrupd* group : chains::Elements(
                             panel->SchemeGroups, chains::SchemeLink{}, panel->SchemeGroupCount))
                        ComboBox3->addItem(platform::Q(group->GroupName));
                }
            }
        }
    }
    ComboBox3->setCurrentIndex(-1);
}

// ---------------------------------------------------------------------------------------------
// Commands

bool TForm3::BreakerBaseEmpty() {
    if (!BazaAvt || !BazaAvt->AVT1.IsEmpty()) return false;
    const int answer = platform::MessageBox(
        "В базе данных <Автоматы> нет данных.Открыть базу данных?", "предупреждение.",
        platform::MsgButtons::YesNo, platform::MsgIcon::Warning);
    close();
    if (answer == platform::mrYes) platform::ShowModal(*BazaAvt);
    return true;
}

void TForm3::Button5Click() {
    if (!ProjectRoot || BreakerBaseEmpty()) return;
    DropUndoCopies();
    switch (CurrentMode()) {
        case Mode::Groups:
            if (ComboBox3->currentIndex() < 0) return;
            GroupEditMode = 1;
            OpenGroupEditor(this);
            return;
        case Mode::Panels: {
            if (ComboBox3->currentIndex() < 0) return;
            OpenPanelEditor(this);
            if (!Shiti || !SavedSwitchboard || !SavedPanel) return;
            // The demand factor counts only from three group lines on.
            Shiti->Edit9->setEnabled(true);
            PutBack(SavedSwitchboard, SavedPanel);
            if (SavedPanel->SchemeGroupCount < 3) Shiti->Edit9->setEnabled(false);
            return;
        }
        case Mode::Switchboards:
            if (ComboBox4->currentIndex() < 0) return;
            OpenSwitchboardEditor(this);
            return;
        case Mode::None:
            return;
    }
}

void TForm3::Button4Click() {
    DropUndoCopies();
    if (Shiti && Shiti->isVisible()) Shiti->close();
    close();
}

void TForm3::Button3Click() {
    if (!ProjectRoot || BreakerBaseEmpty()) return;
    close();
    // The deletion's own passes and its refresh check every table file once.
    platform::FileCheckBatch batch;
    switch (CurrentMode()) {
        case Mode::Groups:
            if (ComboBox3->currentIndex() >= 0) DeleteChosenGroup();
            return;
        case Mode::Panels:
            if (ComboBox3->currentIndex() >= 0) DeleteChosenPanel();
            return;
        case Mode::Switchboards:
            if (ComboBox4->currentIndex() >= 0) DeleteChosenSwitchboard();
            return;
        case Mode::None:
            return;
    }
}

// ---------------------------------------------------------------------------------------------
// Deletions

void TForm3::DeleteChosenGroup() {
    TGrsed& root = *ProjectRoot;
    const std::string panelText = platform::Text(*ComboBox4);
    const std::string name = platform::Text(*ComboBox3);
    TGrsed* sw = nullptr;
    TSitid* panel = nullptr;
    for (TGrsed* s : chains::SwitchboardsOf(root)) {
        for (TSitid* p : chains::PanelsOf(*s)) {
            if (panel || platform::IntToStr(p->PanelNumber) != panelText) continue;
            for (const TCxemaGrupd* g :
                 chains::Elements(p->SchemeGroups, chains::SchemeLink{}, p->SchemeGroupCount)) {
                if (g->GroupName != name) continue;
                sw = s;
                panel = p;
                break;
            }
        }
    }
    // A group line no longer in the tree: nothing is deleted.
    if (!panel || !Dan1) return;
    platform::WaitCursor hourglass;
    PutBack(sw, panel);
    selection::TreeEdits().DeleteGroupByName(name);
    const auto selectAgain = [&] {
        Dan1->RecalculateNetwork();
        PutBack(sw, panel);
        ClearBreakerTypes(root, *sw, *panel);
        RecalcAfterEdit(this);
        PutBack(sw, panel);
    };
    selectAgain();
    RecalcSwitchboardGroups();
    PutBack(sw, panel);
    // Fewer than three group lines take no demand factor.
    if (panel->DemandFactor < 1.0 && panel->SchemeGroupCount < 3) {
        panel->DemandFactor = 1.0;
        selectAgain();
    }
    FinishDeletion();
}

void TForm3::DeleteChosenPanel() {
    TGrsed& root = *ProjectRoot;
    int number = 0;
    bool found = false;
    for (TGrsed* sw : chains::SwitchboardsOf(root)) {
        for (TSitid* p : chains::PanelsOf(*sw)) {
            if (platform::IntToStr(p->PanelNumber) != platform::Text(*ComboBox3)) continue;
            number = p->PanelNumber;
            found = true;
        }
    }
    if (!found || !root.FindPanel(number) || !Dan1) return;
    platform::WaitCursor hourglass;
    TreeEditing& tree = selection::TreeEdits();
    TGrsed* sw = root.CurrentSwitchboard();
    if (root.CurrentPanel()->PanelFlagB) {
        tree.DeletePanelsFedFrom(root.CurrentPanel());
        root.Switchboards.Cursor = sw;
        root.FindPanel(number);
    }
    tree.DeletePanel(root.CurrentPanel());
    root.Switchboards.Cursor = sw;
    root.SectionBreakerType.clear();
    Dan1->SelectTransformerBreakerRating();
    // Without a breaker for the section the deletion still stands and is finished.
    if (Dan1->SelectTransformerVruBreaker()) Dan1->ShowSectionBreakerDialog();
    root.Switchboards.Cursor = sw;
    sw->SwitchboardBreakerType.clear();
    RecalcAfterPanelDeletion();
    FinishDeletion();
}

void TForm3::DeleteChosenSwitchboard() {
    TGrsed& root = *ProjectRoot;
    close();
    const std::optional<int> number = ListedNumber(*ComboBox4);
    TGrsed* target = nullptr;
    for (TGrsed* sw : chains::SwitchboardsOf(root))
        if (!target && number && sw->SwitchboardNumber == *number) target = sw;
    if (!target) return;
    platform::WaitCursor hourglass;
    root.Switchboards.Cursor = target;
    selection::TreeEdits().DeleteSwitchboardNode(target);
    FinishDeletion();
}

void TForm3::FinishDeletion() {
    if (Dan1) Dan1->ApplyAndRefresh(this);
    editing::RefillGroupEntryLists();
    editing::RefillSwitchboardList();
    if (Shiti) Shiti->PanelCounter = 0;
    if (Form1) {
        Form1->ProjectSaved = 0;
        Form1->ToolButton4->setEnabled(true);
    }
}

// ---------------------------------------------------------------------------------------------
// Selection after a panel was deleted

bool TForm3::RecalcAfterPanelDeletion() {
    TGrsed* sw = ProjectRoot ? ProjectRoot->CurrentSwitchboard() : nullptr;
    if (!sw || !Dan1) return false;
    TDan1& d = *Dan1;
    const std::vector<TSitid*> panels = chains::PanelsOf(*sw);
    for (TSitid* panel : panels)
        if (!SelectBreakersUpward(sw, panel)) return false;
    if (Form2) Form2->repaint();
    ShowWaitNotice(Form1);
    PutBack(sw, sw->Panels.First);
    d.SelectSwitchboardSectionForBreaker();
    TreeEditing& tree = selection::TreeEdits();
    const auto cablePasses = [&](TSitid* panel) {
        PutBack(sw, panel);
        d.CheckSwitchboardCables();
        d.CheckPanelCables();
        if (panel->OnTrunk) d.CheckShiftedPanelCables();
        PutBack(sw, panel);
        d.SumPanelVoltageLosses();
    };
    for (TSitid* panel : panels) {
        PutBack(sw, panel);
        d.SelectPanelSectionForBreaker();
        if (InCascade(*panel)) {
            PutBack(sw, panel);
            tree.SelectCascadeHead(panel);
            if (TSitid* head = sw->Panels.Cursor) tree.NumberPanelCascade(head);
            d.SelectCascadeFeederCables(panel, true);
            if (panel->CascadeFlag) {
                d.SeekCascadeFeederSection(panel);
                d.CascadeMaxCrossSection(panel);
            }
        }
        cablePasses(panel);
        for (TCxemaGrupd* group :
             chains::Elements(panel->SchemeGroups, chains::SchemeLink{}, panel->SchemeGroupCount)) {
            PutBack(sw, panel);
            panel->SchemeGroups.Cursor = group;
            d.CheckGroupCables(group->GroupName);
        }
        cablePasses(panel);
    }
    PutBack(sw, sw->Panels.First);
    RecalcSwitchboardGroups();
    CloseWaitNotice();
    return true;
}

bool TForm3::SelectBreakersUpward(TGrsed* sw, TSitid* panel) {
    TDan1& d = *Dan1;
    PutBack(sw, panel);
    // A breaker rated 0 protects no load (a trunk, or the whole project, without group lines):
    // there is no series to choose for it, and that refuses nothing.
    if (InCascade(*panel)) {
        d.SelectCascadeHeadRating();
        const TSitid* head = selection::CascadeHeadOf(*sw, panel);
        if (d.SelectTrunkBreaker())
            d.ShowMainBreakerDialog();
        else if ((head ? head : panel)->TrunkBreakerRating != 0.0)
            return false;
        PutBack(sw, panel);
    }
    d.SelectPanelRating();
    if (!d.SelectPanelBreakers()) return false;
    d.ShowPanelBreakerDialog();
    d.SelectRatingsOnSeries();
    d.SelectSwitchboardBreakerRating();
    if (!d.SelectSwitchboardVruBreaker()) return false;
    d.ShowSwitchboardBreakerDialog();
    d.SelectTransformerBreakerRating();
    if (d.SelectTransformerVruBreaker())
        d.ShowSectionBreakerDialog();
    else if (ProjectRoot->TransformerBreakerRating != 0.0)
        return false;
    return true;
}

void TForm3::RecalcSwitchboardGroups() {
    TGrsed* sw = ProjectRoot ? ProjectRoot->CurrentSwitchboard() : nullptr;
    if (!sw || !Dan1) return;
    TDan1& d = *Dan1;
    d.EnsureSwitchboardTripCurrent();
    for (TSitid* panel : chains::PanelsOf(*sw)) {
        PutBack(sw, panel);
        d.EnsurePanelTripCurrent();
        for (TCxemaGrupd* group :
             chains::Elements(panel->SchemeGroups, chains::SchemeLink{}, panel->SchemeGroupCount)) {
            PutBack(sw, panel);
            panel->SchemeGroups.Cursor = group;
            d.EnsureGroupTripCurrent();
        }
    }
    PutBack(sw, sw->Panels.First);
}
