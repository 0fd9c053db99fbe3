// The group line in progress, the cancellation of the change in progress and the rollbacks that
// the failed checks share.
#include <algorithm>

#include "model/Chains.h"
#include "platform/Messages.h"
#include "selection/CheckWindows.h"
#include "selection/NetworkChecks.h"
#include "selection/SelectionSupport.h"

namespace {

constexpr char kEditCancelled[] = "Редактирование отменяется";
constexpr char kWarning[] = "Предупреждение";

// Takes the element out of the chain; the owner's cursor and walker go to the new last element
// (none when the chain is empty). False when the element is not in the chain.
template <typename T, typename Link>
bool Unlink(ChainBlock<T>& owner, Link link, T* element) {
    T* before = nullptr;
    int guard = 0;
    for (T* e = owner.First; e && guard < selection::kLongestChain; e = link(*e).Next, ++guard) {
        if (e != element) {
            before = e;
            continue;
        }
        T* after = link(*e).Next;
        if (before)
            link(*before).Next = after;
        else
            owner.First = after;
        if (owner.Last == e) owner.Last = before;
        owner.Cursor = owner.Walker = owner.Last;
        link(*e).Next = nullptr;
        return true;
    }
    return false;
}

// The last record of a chain that carries the name.
template <typename T, typename Link, typename Carries>
T* LastCarrying(const ChainBlock<T>& owner, Link link, Carries carries) {
    T* found = nullptr;
    for (T* e : chains::Elements(owner, link, selection::kLongestChain))
        if (carries(*e)) found = e;
    return found;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The group line in progress

void NetworkChecks::TrackGroupChange(TCxemaGrupd* group) {
    trackedGroup_ = group;
    trackedName_ = group ? group->GroupName : std::string();
    changeUnderWay_ = group != nullptr;
}

void NetworkChecks::EndGroupChange() {
    trackedGroup_ = nullptr;
    trackedName_.clear();
    changeUnderWay_ = false;
}

TSitid* NetworkChecks::GroupChangePanel() const {
    if (!trackedGroup_ || !ProjectRoot) return nullptr;
    // Found by identity and name, so that a record that took the place of a deleted one is
    // never mistaken for it.
    for (TGrsed* sw : selection::SwitchboardsOf(*ProjectRoot))
        for (TSitid* p : selection::PanelsToChainEnd(*sw))
            for (TCxemaGrupd* g :
                 chains::Elements(p->SchemeGroups, chains::SchemeLink{}, selection::kLongestChain))
                if (g == trackedGroup_ && g->GroupName == trackedName_) return p;
    return nullptr;
}

bool NetworkChecks::RemoveTrackedGroup() {
    TSitid* panel = GroupChangePanel();
    TCxemaGrupd* group = trackedGroup_;
    const std::string name = trackedName_;
    trackedGroup_ = nullptr;
    trackedName_.clear();
    if (!panel) return false;

    Unlink(panel->SchemeGroups, chains::SchemeLink{}, group);
    --panel->SchemeGroupCount;
    switch (group->PhaseKind) {
        case 2:
            if (TFasaGrup1d* r =
                    LastCarrying(panel->SinglePhaseGroups, chains::SinglePhaseLink{},
                                 [&](const TFasaGrup1d& x) { return x.GroupName1 == name; });
                r && Unlink(panel->SinglePhaseGroups, chains::SinglePhaseLink{}, r)) {
                delete r;
                --panel->SinglePhaseCount;
                if (panel->SinglePhaseCount <= 0) panel->RowsOfThree = 0;
            }
            break;
        case 3:
            if (TFasaGrup2d* r =
                    LastCarrying(panel->TwoPhaseGroups, chains::TwoPhaseLink{},
                                 [&](const TFasaGrup2d& x) { return x.GroupName2 == name; });
                r && Unlink(panel->TwoPhaseGroups, chains::TwoPhaseLink{}, r)) {
                delete r;
                --panel->TwoPhaseCount;
            }
            break;
        case 4:
            if (TFasaGrup3d* r =
                    LastCarrying(panel->ThreePhaseGroups, chains::ThreePhaseLink{},
                                 [&](const TFasaGrup3d& x) { return x.GroupName3 == name; });
                r && Unlink(panel->ThreePhaseGroups, chains::ThreePhaseLink{}, r)) {
                delete r;
                --panel->ThreePhaseCount;
            }
            break;
        default:
            break;
    }
    delete group;
    selection::RefreshGroupEntryLists(*panel);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Cursors and rollbacks

NetworkChecks::Cursors NetworkChecks::SaveCursors() {
    return {selection::CurrentSwitchboard(), selection::CurrentPanel()};
}

void NetworkChecks::PutBack(const Cursors& cursors) {
    if (!ProjectRoot) return;
    ProjectRoot->Switchboards.Cursor = cursors.switchboard;
    if (cursors.switchboard) cursors.switchboard->Panels.Cursor = cursors.panel;
}

bool NetworkChecks::TakeOffTrackedGroup() {
    TSitid* panel = GroupChangePanel();
    if (!panel) return false;
    // The distributions of the recalculation rebuild the panel that lost the line.
    for (TGrsed* sw : selection::SwitchboardsOf(*ProjectRoot)) {
        const std::vector<TSitid*> panels = selection::PanelsToChainEnd(*sw);
        if (std::find(panels.begin(), panels.end(), panel) != panels.end()) PutBack({sw, panel});
    }
    RemoveTrackedGroup();
    RecalculateNetwork();
    return true;
}

void NetworkChecks::RollbackAdding(const Cursors& at) {
    // The snapshot belongs to the line being added: it comes back only with the line gone.
    if (TakeOffTrackedGroup()) {
        PutBack(at);
        RestoreSnapshotWithoutLine();
    }
    PutBack(at);
    FailureFlag = 1;
}

void NetworkChecks::RollbackGroupEdit(const Cursors& at) {
    TakeOffTrackedGroup();
    PutBack(at);
    if (CheckHooks.RestoreEditedGroup)
        CheckHooks.RestoreEditedGroup(selection::EditSavedSwitchboard(),
                                      selection::EditSavedPanel());
    selection::DropGroupEditUndoData();
}

void NetworkChecks::RollbackPanelEdit(QObject* sender, const Cursors& at, bool restoredFlag) {
    if (CheckHooks.RefillEditLists) CheckHooks.RefillEditLists(sender);
    TGrsed* saved = selection::EditSavedSwitchboard();
    if (ProjectRoot) ProjectRoot->Switchboards.Cursor = saved;
    if (saved) {
        selection::SelectLastPanelInEditList(*saved);
        saved->Panels.Cursor = at.panel;
    }
    if (restoredFlag) selection::MarkPanelRestored();
    if (CheckHooks.RestorePanelFromSnapshot)
        CheckHooks.RestorePanelFromSnapshot(selection::PanelToRestore());
    PutBack({saved, at.panel});
}

// ---------------------------------------------------------------------------------------------
// Edit cancellation

void NetworkChecks::CancelEditing() {
    // Taken back once, and said so: what was put back stays.
    if (selection::EditTakenBack()) return;
    const Cursors at = SaveCursors();
    switch (selection::CurrentChange()) {
        case selection::ChangeKind::GroupEdit: {
            platform::MessageBox(kEditCancelled, kWarning, platform::MsgButtons::Ok,
                                 platform::MsgIcon::Warning);
            RollbackGroupEdit(at);
            return;
        }
        case selection::ChangeKind::PanelEdit:
            platform::MessageBox(kEditCancelled, kWarning, platform::MsgButtons::Ok,
                                 platform::MsgIcon::Warning);
            RollbackPanelEdit(nullptr, at, false);
            return;
        case selection::ChangeKind::SwitchboardEdit:
            platform::MessageBox(kEditCancelled, kWarning, platform::MsgButtons::Ok,
                                 platform::MsgIcon::Warning);
            if (CheckHooks.RebuildFromUndoCopy) CheckHooks.RebuildFromUndoCopy();
            return;
        case selection::ChangeKind::AddingGroup:
            // The line being added has left the tree already: nothing to do.
            if (GroupChangePanel()) RollbackAdding(at);
            return;
        case selection::ChangeKind::None:
            // No operation in progress: nothing to cancel.
            return;
    }
}
