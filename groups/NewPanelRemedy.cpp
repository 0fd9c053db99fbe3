// The new-panel remedy: a group line that its panel's or switchboard's breaker cannot protect
// against a short circuit moves to a new panel of its own, connected by the user in the reduced
// connection window.
#include <algorithm>
#include <cmath>

#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "calc/PanelNumbers.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "model/Cascades.h"
#include "model/Chains.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "selection/CheckWindows.h"
#include "selection/SelectionSupport.h"
#include "selection/TreeEdits.h"

namespace {

using cascades::InCascade;

// Marks of the new panel and the panel it hangs on, from the old panel's marks and the offer
// answered. `origin`: the first panel of the chain of remedies the old panel belongs to.
void MarkNewPanel(TSitid& added, const TSitid& old, bool separateBreaker, int origin) {
    added.OnTrunk = separateBreaker ? 1 : 0;
    if (!separateBreaker) added.PanelFlagC = 1;
    if (!old.OnTrunk && separateBreaker) added.HangsOnPanel = origin;
    if (!old.PanelFlagC && !separateBreaker) added.HangsOnPanel = origin;
    if (old.OnTrunk || old.PanelFlagC) {
        // A panel made by an earlier remedy: the new one hangs where that one hangs, its marks
        // follow the answer.
        added.HangsOnPanel = old.HangsOnPanel;
        if (separateBreaker || old.OnTrunk) {
            added.OnTrunk = separateBreaker ? 1 : 0;
            added.PanelFlagC = separateBreaker ? 0 : 1;
        }
    }
}

}  // namespace

void TDan1::ConnectNewPanel(bool separateBreaker, TGrsed* switchboard, TCxemaGrupd scheme,
                            TFasaGrup1d single, TFasaGrup2d two, TFasaGrup3d three, TSitid* panel) {
    TGrsed* root = ProjectRoot;
    RemedyActive = 0;
    if (!root || !switchboard || !panel || !Shiti) return;
    platform::MakeProgramFolderCurrent();
    const Cursors at{switchboard, panel};
    // What is being done, as it stands while the line is still in the tree.
    const bool adding = selection::CurrentChange() == selection::ChangeKind::AddingGroup;
    const bool groupEdit = selection::CurrentChange() == selection::ChangeKind::GroupEdit;
    // The state before the line came, for a window closed without a new panel.
    const RemedySnapshots beforeLine{SwitchboardSnapshots, PanelSnapshots, PanelSnapshotCount};

    if (!TakeLineOffOldPanel(at, scheme.GroupName)) {
        UndoAfterFailedRecheck(at, adding);
        return;
    }
    // The old panel: a plain one becomes the origin of the split. The first panel of a chain
    // of remedies is the one new panels hang on.
    const bool plain = !panel->OnTrunk && !panel->PanelFlagB && !panel->PanelFlagC;
    if (plain) panel->PanelFlagB = 1;
    const int origin = panel->PanelFlagB ? panel->PanelNumber : panel->HangsOnPanel;
    switchboard->ChangedMark = 1;

    if (!ShowNewPanelDialog(at)) {
        // Closed without a new panel: as if the offer had been declined.
        PutBackSnapshots(beforeLine);
        DeclineNewPanelDialog(at);
        return;
    }
    if (!(Form3 && Form3->PanelRestoredFlag)) {
        const Cursors atNew = PlaceLineOnNewPanel(at, {scheme, single, two, three}, separateBreaker,
                                                  origin, adding || groupEdit);
        if (!atNew.panel || !CheckLineOnNewPanel(at, atNew, adding, beforeLine)) return;
    }
    KeepProjectWithNewPanel(at);
}

void TDan1::PutBackSnapshots(const RemedySnapshots& snapshots) {
    SwitchboardSnapshots = snapshots.switchboards;
    PanelSnapshots = snapshots.panels;
    PanelSnapshotCount = snapshots.panelCount;
}

bool TDan1::TakeLineOffOldPanel(const Cursors& at, const std::string& groupName) {
    TGrsed* root = ProjectRoot;
    TGrsed* switchboard = at.switchboard;
    TSitid* panel = at.panel;
    // The line leaves its panel; what remains is checked again.
    SetCursors(at);
    if (TCxemaGrupd* last = panel->SchemeGroups.Last;
        last && last->GroupName == groupName && GroupChangePanel() != panel)
        TrackGroupChange(last);
    RemoveLastGroup();
    RecalculateNetwork();
    SetCursors(at);
    // The breakers from the old panel up to the section are chosen again, for the panel without
    // the line and then with the new panel.
    root->SectionBreakerType.clear();
    switchboard->SwitchboardBreakerType.clear();
    panel->PanelBreakerType.clear();
    panel->TrunkBreakerType.clear();
    if (Form3 && !Form3->RecalcAfterEdit(nullptr)) return false;

    // The project without the line is the state to return to.
    SetCursors(at);
    TakeProjectSnapshot();
    RestoreProjectSnapshot();
    SetCursors(at);
    return true;
}

bool TDan1::ShowNewPanelDialog(const Cursors& at) {
    TGrsed* switchboard = at.switchboard;
    TSitid* panel = at.panel;
    // The reduced connection window, filled for the new panel of this switchboard.
    TShiti& shiti = *Shiti;
    shiti.SetLayout(TShiti::Layout::NewPanelRemedy);
    double feederLength = panel->FeederLength;
    if (panel->FedFromPanel) {
        CascadeLength(panel);
        SetCursors(at);
        feederLength = panel->CascadeLength;
    }
    shiti.Edit4->setText(platform::Q(platform::FloatToStr(feederLength)));
    shiti.Edit3->setText(platform::Q(platform::FloatToStr(switchboard->SwitchboardFeederLength)));
    shiti.ComboBox2->setCurrentIndex(shiti.ComboBox2->findText(
        platform::Q(platform::FloatToStr(switchboard->SwitchboardNumber))));
    shiti.ComboBox2Change();
    const int panelsBefore = switchboard->PanelCount;
    const TSitid* lastBefore = switchboard->Panels.Last;
    RemedyActive = 1;
    NewPanelDialogOpen = 1;
    if (Form1) Form1->CentreOverMainWindow(shiti);
    platform::ShowModal(shiti);
    NewPanelDialogOpen = 0;
    return switchboard->PanelCount > panelsBefore && switchboard->Panels.Last != lastBefore;
}

TDan1::Cursors TDan1::PlaceLineOnNewPanel(const Cursors& at, const MovedLine& line,
                                          bool separateBreaker, int origin, bool tracked) {
    TGrsed* root = ProjectRoot;
    TGrsed* switchboard = at.switchboard;
    TSitid* panel = at.panel;
    TShiti& shiti = *Shiti;
    // The line goes to the new panel.
    ComboBox2->setCurrentIndex(ComboBox2->count() - 1);
    ComboBox2Change();
    const int number =
        static_cast<int>(std::trunc(platform::StrToFloat(platform::Text(*shiti.Edit1))));
    if (!root->FindPanel(number)) {
        EndRemedyWithFailure();
        return {};
    }
    TGrsed* sw = root->CurrentSwitchboard();
    TSitid* added = sw->Panels.Last;
    sw->Panels.Cursor = added;
    root->AddCxemaGroup(number, sw->PanelCount, line.scheme);
    sw->Panels.Cursor = added;
    Edit6->setText(platform::Q(added->SchemeGroups.Last->GroupName));
    // The phase record of the line's own kind (the kind is the record's, whatever the window
    // shows at the moment).
    switch (line.scheme.PhaseKind) {
        case 2:
            root->AddFasaGroup1(number, sw->PanelCount, line.single);
            break;
        case 3:
            root->AddFasaGroup2(number, sw->PanelCount, line.two);
            break;
        case 4:
            root->AddFasaGroup3(number, sw->PanelCount, line.three);
            break;
        default:
            break;
    }
    SetCursors({sw, added});
    chains::CountGroupChains(*added);
    if (tracked) TrackGroupChange(added->SchemeGroups.Last);

    MarkNewPanel(*added, *panel, separateBreaker, origin);
    if (panel->FedFromPanel) {
        const TSitid* head = selection::CascadeHeadOf(*switchboard, panel);
        if (head && head->OnTrunk) {
            added->HangsOnPanel = origin;
            added->OnTrunk = 1;
        }
    }
    SetCursors({sw, added});

    // The panel list in the tree's order (the new panel stands at the end of its own
    // switchboard, not of the list), the new panel shown as the one it hangs on, with its own
    // number.
    ComboBox2->clear();
    for (const std::string& item : ProjectPanelItems(*root)) ComboBox2->addItem(platform::Q(item));
    ComboBox2->setCurrentIndex(ComboBox2->findText(platform::Q(PanelListItem(*added))));
    ComboBox2Change();
    GroupNames.push_back(added->SchemeGroups.Last->GroupName);
    RecalculateNetwork();
    return {sw, added};
}

bool TDan1::CheckLineOnNewPanel(const Cursors& at, const Cursors& atNew, bool adding,
                                const RemedySnapshots& beforeLine) {
    TSitid* added = atNew.panel;
    const auto refuse = [&] {
        if (adding) PutBackSnapshots(beforeLine);
        RefuseMovedGroup(at, added);
        return false;
    };
    if (!ReselectNewPanelBreakers(atNew)) {
        // The selection has taken the line back to the project without it, as the recheck of
        // the old panel left it; its panel goes too, and a line being added leaves the project
        // as it was before the line came.
        DropNewPanel(atNew.switchboard, added);
        if (adding) {
            PutBackSnapshots(beforeLine);
            RestoreSnapshotAt(at);
        }
        FillPanelNumbers();
        return false;
    }
    if (Form2) Form2->update();

    // Cables and the deviation at the line's consumer.
    SetCursors(atNew);
    CheckSwitchboardCables();
    SetCursors(atNew);
    CheckPanelCables();
    if (added->OnTrunk) CheckShiftedPanelCables();
    SumPanelVoltageLosses();
    if (FailureFlag) return refuse();
    TCxemaGrupd* moved = added->SchemeGroups.Last;
    const std::string name = moved->GroupName;
    const auto lineCurrent = [&] {
        SetCursors(atNew);
        added->SchemeGroups.Cursor = moved;
    };
    const auto recheck = [&] {
        lineCurrent();
        CheckSwitchboardCables();
        lineCurrent();
        CheckPanelCables();
        if (added->OnTrunk) CheckShiftedPanelCables();
        SumPanelVoltageLosses();
        CheckGroupCables(name);
        lineCurrent();
        return DeviationAt(name, moved->CrossSection);
    };
    lineCurrent();
    SelectGroupCrossSection(moved);
    lineCurrent();
    CheckGroupCables(name);
    lineCurrent();
    RaiseCrossSections(kRefusedDeviation, DeviationAt(name, moved->CrossSection));
    const double deviation = recheck();
    if (FailureFlag) return refuse();
    if (deviation < kRefusedDeviation) {
        // Still beyond the limit after raising: refused as the apply command refuses a line.
        WarnVoltageRefusal();
        return refuse();
    }
    if (deviation < kAskedDeviation) {
        if (!AskToReduceDeviation(deviation, lineCurrent)) moved->VoltageDeviation = recheck();
        if (FailureFlag) return refuse();
    }
    return true;
}

void TDan1::KeepProjectWithNewPanel(const Cursors& at) {
    TGrsed* root = ProjectRoot;
    TGrsed* switchboard = at.switchboard;
    // The project with the new panel is the state later failures return to; they take the line
    // off before.
    SetCursors(at);
    TakeProjectSnapshotWithLine();
    RestoreProjectSnapshot();
    root->Switchboards.Cursor = switchboard;
    switchboard->Panels.Cursor = switchboard->Panels.Last;
    if (TSitid* last = switchboard->Panels.Last)
        last->SchemeGroups.Cursor = last->SchemeGroups.First;
}

// ---------------------------------------------------------------------------------------------
// Steps

void TDan1::UndoAfterFailedRecheck(const Cursors& at, bool adding) {
    if (!adding) {
        // A refusal of the recheck that took the edit back itself is not undone twice.
        const bool undone = Form3 && (Form3->EditedGroupRestored || Form3->PanelRestoredFlag);
        SetCursors(at);
        if (!undone) CancelEditing();
        FailureFlag = 1;
        return;
    }
    // The line is off already: only the state before it comes back.
    RecalculateNetwork();
    RestoreSnapshotAt(at);
    FailureFlag = 1;
}

void TDan1::DeclineNewPanelDialog(const Cursors& at) {
    RemedyActive = 0;
    SetCursors(at);
    if (DeclineNewPanelInEdit(nullptr, at.switchboard, at.panel, true)) return;
    // Adding: the line stays off, the project as it was before it came.
    RestoreSnapshotAt(at);
    FailureFlag = 1;
}

bool TDan1::ReselectNewPanelBreakers(const Cursors& at) {
    // A selection that refused the line has taken it back.
    const auto refused = [&] {
        if (FailureFlag || (Form3 && Form3->EditedGroupRestored)) {
            EndRemedyWithFailure();
            return true;
        }
        SetCursors(at);
        return false;
    };
    SetCursors(at);
    SelectLastGroupBreaker();
    SelectGroupPanelBreaker();
    if (refused()) return false;
    ShowGroupBreakerDialog();
    SetCursors(at);
    SelectPanelRating();
    if (InCascade(*at.panel)) {
        SetCursors(at);
        SelectCascadeHeadRating();
        SetCursors(at);
        SelectTrunkBreaker();
        if (refused()) return false;
        ShowMainBreakerDialog();
        SetCursors(at);
    }
    SelectPanelBreakers();
    if (refused()) return false;
    ShowPanelBreakerDialog();
    SetCursors(at);
    SelectRatingsOnSeries();
    SetCursors(at);
    SelectSwitchboardBreakerRating();
    SelectSwitchboardVruBreaker();
    if (refused()) return false;
    ShowSwitchboardBreakerDialog();
    SetCursors(at);
    SelectTransformerBreakerRating();
    SelectTransformerVruBreaker();
    if (refused()) return false;
    ShowSectionBreakerDialog();
    SetCursors(at);
    return true;
}

void TDan1::RefuseMovedGroup(const Cursors& at, TSitid* added) {
    FailureFlag = 0;
    // The line leaves by its tracking when it is tracked (adding, a group edit); in a panel or
    // switchboard edit it goes with the panel, and the edit's own undo brings it back.
    SetCursors({at.switchboard, added});
    RemoveLastGroup();
    // The new panel goes before anything is put back: the snapshots and copies do not know it.
    DropNewPanel(at.switchboard, added);
    RecalculateNetwork();
    SetCursors(at);
    if (selection::CurrentChange() == selection::ChangeKind::GroupEdit)
        RestoreEditedGroup(Form3 ? Form3->SavedSwitchboard : nullptr,
                           Form3 ? Form3->SavedPanel : nullptr);
    else
        RestoreSnapshotAt(at);
    FillPanelNumbers();
    EndRemedyWithFailure();
}

void TDan1::DropNewPanel(TGrsed* switchboard, TSitid* added) {
    TGrsed* root = ProjectRoot;
    if (!root || !added) return;
    // Looked up through the tree: an undo may have rebuilt the switchboard meanwhile.
    for (TGrsed* sw : chains::SwitchboardsOf(*root)) {
        if (sw != switchboard) continue;
        const std::vector<TSitid*> linked = selection::PanelsToChainEnd(*sw);
        if (std::find(linked.begin(), linked.end(), added) == linked.end()) return;
        // A snapshot put back meanwhile counts the panels as they were before this one.
        sw->PanelCount = static_cast<int>(linked.size());
        root->Switchboards.Cursor = sw;
        selection::TreeEdits().DeletePanel(added);
        root->Switchboards.Cursor = sw;
        return;
    }
}

void TDan1::EndRemedyWithFailure() {
    RemedyActive = 0;
    FailureFlag = 1;
}
