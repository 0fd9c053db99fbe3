// The editors opened from the edit dialog: a group line in the group line window, a panel or a
// main switchboard in the connection window. Each takes the undo copies of what the edit may
// destroy before the window shows.
#include "app/Mainform.h"
#include "calc/PanelNumbers.h"
#include "editing/EditDialog.h"
#include "editing/EditLists.h"
#include "editing/Shiti12.h"
#include "editing/TreeCursors.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "platform/Choices.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "app/PowerSystem.h"

namespace {

using editing::InCascade;
using editing::PutBack;
using platform::ChooseText;

void ShowCentred(QWidget& window) {
    if (Form1) Form1->CentreOverMainWindow(window);
    window.show();
    window.raise();
    window.activateWindow();
    if (Form1) Form1->CentreOverMainWindow(window);
}

// The group line window's panel list: every panel of the project, one hanging on another panel
// as "feeder(number)".
void ListPanelsForGroupEntry(TDan1& dialog) {
    dialog.ComboBox2->clear();
    for (const std::string& item : ProjectPanelItems(*ProjectRoot))
        dialog.ComboBox2->addItem(platform::Q(item));
    dialog.ComboBox2->setCurrentIndex(-1);
}

// The power-system dialog for the edit; false when it was left with "отмена".
bool AskSupplyPower() {
    if (!PowerSystem) return true;
    PowerSystem->Cancelled = false;
    PowerSystem->ShortCircuitPowerMva = ProjectRoot->SupplyScPower;
    PowerSystem->Edit1->setText(platform::Q(platform::FloatToStr(ProjectRoot->SupplyScPower)));
    platform::ShowModal(*PowerSystem);
    return !PowerSystem->Cancelled;
}

}  // namespace

void TForm3::ClearPanelCopies() {
    PanelCopies.clear();
    GroupSnapshots.Clear();
    for (std::vector<int>& counts : GroupSnapshotCounts) counts.clear();
    PanelCopyCount = 0;
}

void TForm3::CopyPanelForUndo() {
    TSitid* p = ProjectRoot->CurrentPanel();
    if (!p) return;
    BackupPanel(PanelCopyCount);
    SnapshotPanelGroups(GroupSnapshots, PanelCopyCount);
    GroupSnapshotCounts[0].push_back(p->SchemeGroupCount);
    GroupSnapshotCounts[1].push_back(p->SinglePhaseCount);
    GroupSnapshotCounts[2].push_back(p->TwoPhaseCount);
    GroupSnapshotCounts[3].push_back(p->ThreePhaseCount);
    ++PanelCopyCount;
}

// ---------------------------------------------------------------------------------------------
// Group line

void TForm3::OpenGroupEditor(QObject*) {
    TGrsed* root = ProjectRoot;
    const std::string name = platform::Text(*ComboBox3);
    if (!root || !Dan1 || name.empty()) return;
    TDan1& d = *Dan1;

    // The group line chosen; the last of that name in the project is the one edited.
    TGrsed* sw = nullptr;
    TSitid* panel = nullptr;
    TCxemaGrupd* group = nullptr;
    for (TGrsed* s : chains::SwitchboardsOf(*root))
        for (TSitid* p : chains::PanelsOf(*s))
            for (TCxemaGrupd* g :
                 chains::Elements(p->SchemeGroups, chains::SchemeLink{}, p->SchemeGroupCount))
                if (g->GroupName == name) {
                    sw = s;
                    panel = p;
                    group = g;
                }
    // No such group line any more: nothing opens.
    if (!group) {
        GroupEditMode = 0;
        return;
    }
    rebuiltFromCopy_ = false;

    d.RadioButton1->setChecked(true);
    d.ShowEditFace();
    d.setWindowTitle("Данные (редактирование)");
    close();

    SavedSwitchboard = sw;
    SavedPanel = panel;
    EditGroup = group;
    PutBack(sw, panel);
    d.Edit4->setText(platform::Q(platform::FloatToStr(group->LineLength)));
    d.Edit2->setText(platform::Q(platform::FloatToStr(static_cast<double>(group->Power))));
    d.Edit6->setText(platform::Q(group->GroupName));
    d.Edit1->setText(platform::Q(platform::FloatToStr(group->CosPhi)));
    d.Edit7->setText(platform::Q(group->CableName));
    ListPanelsForGroupEntry(d);
    const std::string number = platform::IntToStr(panel->PanelNumber);
    if (!ChooseText(*d.ComboBox2, number))
        ChooseText(*d.ComboBox2, HangingPanelItem(*panel));
    SaveEditedGroup(panel, name);
    ProjectCopy = std::make_unique<TGrsed>();
    SwitchboardCopy = std::make_unique<TGrsed>();
    PanelCopies.assign(1, TSitid());
    PanelCopyCount = 1;
    BackupProject();
    BackupSwitchboard();
    BackupPanel(0);

    // Conductors, laying method and table as entered.
    if (group->PhaseKind >= 2 && group->PhaseKind <= 4) {
        d.ComboBox1->setCurrentIndex(group->PhaseKind - 2);
        d.ComboBox1Change();
    }
    for (int i = 0; i < d.ComboBox3->count(); ++i) {
        if (d.ComboBox3->itemText(i).toStdString() != group->LayingMethod) continue;
        d.ComboBox3->setCurrentIndex(i);
        d.ComboBox3Change();
    }
    ChooseText(*d.ComboBox4, group->CableTable);
    if (PowerSystem) PowerSystem->ListTransformers();

    // The panel's group lines as they are.
    PutBack(sw, panel);
    GroupSnapshots.Clear();
    for (int kind = 0; kind < 4; ++kind) GroupSnapshotCounts[kind].assign(1, 0);
    GroupSnapshotCounts[0][0] = panel->SchemeGroupCount;
    GroupSnapshotCounts[1][0] = panel->SinglePhaseCount;
    GroupSnapshotCounts[2][0] = panel->TwoPhaseCount;
    GroupSnapshotCounts[3][0] = panel->ThreePhaseCount;
    if (panel->OnTrunk)
        SnapshotFedPanelGroups(0);
    else
        SnapshotPanelGroups(GroupSnapshots, 0);
    PutBack(sw, panel);
    panel->SchemeGroups.Cursor = group;

    // An unbalanced load opens with its per-phase values.
    const auto unbalanced = [&](auto& chain, auto link, int count, auto nameOf, auto kindOf,
                                auto symmetric) {
        for (auto* r : chains::Elements(chain, link, count)) {
            if (nameOf(*r) != group->GroupName) continue;
            ChooseText(*d.ComboBox1, platform::IntToStr(kindOf(*r)));
            if (symmetric(*r) != 0) continue;
            const bool go = AskSupplyPower();
            PutBack(sw, panel);
            chain.Cursor = r;
            if (go) {
                ShowCentred(d);
                d.RadioButton2->setChecked(true);
            }
            return true;
        }
        return false;
    };
    if (group->PhaseKind == 3 &&
        unbalanced(
            panel->TwoPhaseGroups, chains::TwoPhaseLink{}, panel->TwoPhaseCount,
            [](const TFasaGrup2d& r) { return r.GroupName2; },
            [](const TFasaGrup2d& r) { return r.PhaseKind2; },
            [](const TFasaGrup2d& r) { return r.Symmetric2; }))
        return;
    if (group->PhaseKind == 4 &&
        unbalanced(
            panel->ThreePhaseGroups, chains::ThreePhaseLink{}, panel->ThreePhaseCount,
            [](const TFasaGrup3d& r) { return r.GroupName3; },
            [](const TFasaGrup3d& r) { return r.PhaseKind3; },
            [](const TFasaGrup3d& r) { return r.Symmetric3; }))
        return;
    if (AskSupplyPower()) ShowCentred(d);
}

// ---------------------------------------------------------------------------------------------
// Panel

void TForm3::OpenPanelEditor(QObject*) {
    TGrsed* root = ProjectRoot;
    if (!root || !Shiti || ComboBox3->currentIndex() < 0) return;
    TShiti& s = *Shiti;
    const std::string chosen = platform::Text(*ComboBox3);
    TGrsed* sw = nullptr;
    TSitid* panel = nullptr;
    for (TGrsed* x : chains::SwitchboardsOf(*root)) {
        if (platform::IntToStr(x->SwitchboardNumber) != platform::Text(*ComboBox4)) continue;
        for (TSitid* p : chains::PanelsOf(*x)) {
            if (chosen == platform::IntToStr(p->PanelNumber)) {
                sw = x;
                panel = p;
            }
        }
    }
    // A panel no longer in the project: nothing opens, nothing is copied.
    if (!panel) return;
    rebuiltFromCopy_ = false;

    s.SetLayout(TShiti::Layout::PanelEdit);
    s.Edit1->setText(platform::Q(platform::IntToStr(panel->PanelNumber)));
    // A trunk member with one section for the whole trunk follows the trunk's table.
    const bool followsTrunk = panel->FedFromPanel && panel->CascadeFlag;
    SavedSwitchboard = sw;
    SavedPanel = panel;
    PutBack(sw, panel);
    ProjectCopy = std::make_unique<TGrsed>();
    SwitchboardCopy = std::make_unique<TGrsed>();
    BackupProject();
    BackupSwitchboard();
    SavedPanelCount = sw->PanelCount;
    SavedChangedFlag = sw->ChangedMark;

    // The panel, and the panels hanging on it, in chain order with the panel first.
    std::vector<TSitid*> saved = {panel};
    if (panel->PanelFlagB)
        for (TSitid* p : chains::PanelsOf(*sw))
            if (p != panel && p->HangsOnPanel == panel->PanelNumber) saved.push_back(p);
    ClearPanelCopies();
    for (TSitid* p : saved) {
        PutBack(sw, p);
        CopyPanelForUndo();
    }
    PutBack(sw, panel);

    s.Edit4->setText(platform::Q(platform::FloatToStr(panel->FeederLength)));
    s.Edit9->setText(platform::Q(platform::FloatToStr(panel->DemandFactor)));
    if (ChooseText(*s.ComboBox5, panel->FeederLayingMethod)) s.ComboBox5Change();
    ChooseText(*s.ComboBox3, panel->CurrentTableName);
    s.Edit8->setText(platform::Q(panel->FeederCableName));
    s.Edit5->setText(platform::Q(platform::IntToStr(panel->FeederTemperature)));
    s.ComboBox3->setEnabled(!followsTrunk);
    s.ComboBox5->setEnabled(!followsTrunk);
    s.PanelToRestore = panel;
    close();
    ShowCentred(s);
}

// ---------------------------------------------------------------------------------------------
// Main switchboard

void TForm3::OpenSwitchboardEditor(QObject*) {
    TGrsed* root = ProjectRoot;
    if (!root || !Shiti || ComboBox4->currentIndex() < 0) return;
    TShiti& s = *Shiti;
    int number = 0;
    TGrsed* sw = nullptr;
    if (platform::TryStrToInt(platform::Text(*ComboBox4), number))
        for (TGrsed* x : chains::SwitchboardsOf(*root))
            if (!sw && x->SwitchboardNumber == number) sw = x;
    // A switchboard no longer in the project: nothing opens, nothing is copied.
    if (!sw) return;
    rebuiltFromCopy_ = false;
    SwitchboardOrderBefore.clear();
    for (const TGrsed* x : chains::SwitchboardsOf(*root))
        SwitchboardOrderBefore.push_back(x->SwitchboardNumber);

    s.SetLayout(TShiti::Layout::SwitchboardEdit);
    s.Edit2->setText(platform::Text(*ComboBox4).c_str());
    SavedSwitchboard = sw;
    root->Switchboards.Cursor = sw;
    ProjectCopy = std::make_unique<TGrsed>();
    SwitchboardCopy = std::make_unique<TGrsed>();
    BackupProject();
    BackupSwitchboard();
    ClearPanelCopies();
    for (TSitid* p : chains::PanelsOf(*sw)) {
        PutBack(sw, p);
        CopyPanelForUndo();
    }
    root->Switchboards.Cursor = sw;

    s.Edit3->setText(platform::Q(platform::FloatToStr(sw->SwitchboardFeederLength)));
    if (ChooseText(*s.ComboBox4, sw->SwitchboardLaying)) s.ComboBox4Change();
    ChooseText(*s.ComboBox1, sw->SwitchboardTable);
    s.Edit7->setText(platform::Q(sw->SwitchboardCableName));
    s.Edit6->setText(platform::Q(platform::IntToStr(sw->SwitchboardTemperature)));
    close();
    ShowCentred(s);
}
