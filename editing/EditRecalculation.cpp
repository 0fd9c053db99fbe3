// The selection and checks of the current switchboard after an edit.
#include <algorithm>

#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "editing/TreeCursors.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "model/TreeEditing.h"
#include "platform/Choices.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "selection/CheckWindows.h"
#include "selection/TreeEdits.h"

namespace {

using editing::InCascade;
using editing::PutBack;

// The consumer deviation below which an edit is refused, % of 220 V.
constexpr double kDeviationLimit = -10.0;

bool LoadFree(const TSitid& p) {
    return p.OwnCurrentA == 0.0 && p.OwnCurrentB == 0.0 && p.OwnCurrentC == 0.0 &&
           p.CascadeCurrentA == 0.0 && p.CascadeCurrentB == 0.0 && p.CascadeCurrentC == 0.0;
}

}  // namespace

bool TForm3::RecalcAfterEdit(QObject* sender) {
    TGrsed* sw = ProjectRoot ? ProjectRoot->CurrentSwitchboard() : nullptr;
    TSitid* panel = sw ? sw->Panels.Cursor : nullptr;
    if (!panel || !Dan1) return true;
    TDan1& d = *Dan1;

    // The cable tables must carry the panel's and the switchboard's currents. What an edit
    // taken back has put back (this is the recalculation of the restore) stands as it did before
    // the edit: it is not held against its tables again, the user has been told why the edit went.
    if (!EditTakenBack()) {
        const auto refuse = [&] {
            d.CancelEditing();
            return false;
        };
        if (d.CheckCurrentTableRow(panel->CurrentTableName, d.MaxPanelPhaseCurrent()))
            return refuse();
        PutBack(sw, panel);
        if (d.CheckCurrentTableRow(sw->SwitchboardTable, d.MaxSwitchboardPhaseCurrent()))
            return refuse();
    }

    // Breakers from the panel up to the substation section.
    if (!SelectBreakersUpward(sw, panel)) return false;

    const auto stopped = [&] { return ShortCircuitFailed || PanelRestoredFlag || d.FailureFlag; };
    if (stopped()) return false;

    // Short-circuit checks; a new panel made by the remedy is the one left current.
    PutBack(sw, panel);
    TSitid* end = panel;
    const auto afterCheck = [&] {
        if (d.RemedyActive && ProjectRoot->CurrentPanel()) end = ProjectRoot->CurrentPanel();
        return stopped();
    };
    d.CheckSwitchboardShortCircuit(sender);
    if (afterCheck()) return false;
    if (TSitid* p = ProjectRoot->CurrentPanel(); p && p->OnTrunk) {
        d.CheckPanelShortCircuit(sender);
        if (afterCheck()) return false;
    }
    d.CheckCascadeShortCircuit(sender);
    if (afterCheck()) return false;
    if (TSitid* p = ProjectRoot->CurrentPanel(); p && p->SchemeGroups.Cursor) {
        d.CheckGroupShortCircuit(sender);
        if (afterCheck()) return false;
    }

    // The deviation at every consumer of the switchboard.
    sw = ProjectRoot->CurrentSwitchboard();
    if (!sw) return false;
    TSitid* edited = sw->Panels.Cursor;
    TCxemaGrupd* editedGroup = edited ? edited->SchemeGroups.Cursor : nullptr;
    bool refused = false;
    for (TSitid* p : chains::PanelsOf(*sw)) {
        for (TCxemaGrupd* group :
             chains::Elements(p->SchemeGroups, chains::SchemeLink{}, p->SchemeGroupCount)) {
            PutBack(sw, p);
            p->SchemeGroups.Cursor = group;
            const double loss = d.GroupVoltageLoss(group->GroupName, group->CrossSection);
            const double deviation = d.VoltageDeviation(loss, 220.0);
            PutBack(sw, p);
            p->SchemeGroups.Cursor = group;
            if (deviation < kDeviationLimit) {
                refused = true;
                break;
            }
            if (deviation < group->VoltageDeviation) group->VoltageDeviation = deviation;
        }
        if (refused) break;
    }
    if (refused) {
        RefuseForDeviation(sender, edited);
        return false;
    }

    // Cables of the edited panel, its cascade and its group lines.
    if (edited) {
        PutBack(sw, edited);
        edited->SchemeGroups.Cursor = editedGroup;
        if (edited->OnTrunk) d.CheckShiftedPanelCables();
        PutBack(sw, edited);
        d.CheckSwitchboardCables();
        d.CheckPanelCables();
        PutBack(sw, edited);
        TreeEditing& tree = selection::TreeEdits();
        tree.SelectCascadeHead(edited);
        if (InCascade(*edited) && sw->Panels.Cursor)
            d.SelectCascadeFeederCables(sw->Panels.Cursor, true);
        PutBack(sw, edited);
        d.SumPanelVoltageLosses();
        for (TCxemaGrupd* group : chains::Elements(edited->SchemeGroups, chains::SchemeLink{},
                                                   edited->SchemeGroupCount)) {
            PutBack(sw, edited);
            edited->SchemeGroups.Cursor = group;
            d.CheckGroupCables(group->GroupName);
        }
        PutBack(sw, edited);
        edited->SchemeGroups.Cursor = editedGroup;
    }

    // Panels that carry no load keep no computed values.
    for (TSitid* p : chains::PanelsOf(*sw)) {
        if (!LoadFree(*p)) continue;
        PutBack(sw, p);
        d.ClearPanelNode();
    }
    PutBack(sw, end);
    return true;
}

void TForm3::RefuseForDeviation(QObject* sender, TSitid* edited) {
    TDan1& d = *Dan1;
    const selection::ChangeKind change = selection::CurrentChange();
    // After a deletion there is nothing to take back and nothing to say so about; an edit taken
    // back already has been said so.
    const bool takenBack = EditTakenBack();
    if (change != selection::ChangeKind::None && change != selection::ChangeKind::AddingGroup &&
        !takenBack)
        platform::MessageBox(
            "Отклонение напряжения на потребителе более 10 %,редактирование отменяется",
            "Предупреждение", platform::MsgButtons::Ok, platform::MsgIcon::Warning);
    ComboBox4Change(sender);
    TGrsed* saved = SavedSwitchboard;
    PutBack(saved, edited);
    if (saved && saved->Panels.Last)
        platform::ChooseText(*ComboBox3, platform::IntToStr(saved->Panels.Last->PanelNumber));
    // The message says the edit is taken back: it is, whatever is being edited.
    switch (takenBack ? selection::ChangeKind::None : change) {
        case selection::ChangeKind::PanelEdit:
            if (Shiti) Shiti->RestorePanelFromSnapshot(Shiti->PanelToRestore);
            break;
        case selection::ChangeKind::SwitchboardEdit:
            RebuildFromUndoCopy();
            break;
        case selection::ChangeKind::GroupEdit:
            // The new version goes when it is in; the line as it was comes back either way (the
            // recheck of the panel without the line has none in).
            if (d.RemoveTrackedGroup()) d.RecalculateNetwork();
            d.RestoreEditedGroup(SavedSwitchboard, SavedPanel);
            break;
        default:
            break;
    }
    PutBack(SavedSwitchboard ? SavedSwitchboard : ProjectRoot->CurrentSwitchboard(), edited);
    d.FailureFlag = 1;
}
