// "Применить": the group line entered in the window is added to its panel, the project is
// recalculated, the line's equipment is selected and checked, and the line is kept or taken back.
#include <QApplication>
#include <algorithm>
#include <cmath>
#include <optional>

#include "app/DialogForm.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "model/Cascades.h"
#include "model/Chains.h"
#include "platform/ClientDataSet.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Messages.h"
#include "selection/CheckWindows.h"
#include "app/PowerSystem.h"
#include "selection/SelectionSupport.h"

namespace {

bool GroupEditing() {
    return selection::CurrentChange() == selection::ChangeKind::GroupEdit;
}

using cascades::InCascade;

double LargestOf(double a, double b, double c) {
    return std::max({a, b, c});
}

// What every end of the command leaves, whatever ended it: no group line being added any more,
// the names reserved for it free unless the line is in the tree, the arrow cursor and the wait
// notice closed.
class ApplyRun {
public:
    explicit ApplyRun(TDan1& dialog) : dialog_(dialog) {}
    ~ApplyRun() {
        dialog_.SupplyBeforeLine.reset();
        dialog_.ForgetValuesBeforeLine();
        dialog_.EndGroupChange();
        dialog_.ListNamesFromTree();
        hourglass.reset();
        CloseWaitNotice();
    }
    ApplyRun(const ApplyRun&) = delete;
    ApplyRun& operator=(const ApplyRun&) = delete;

    std::optional<platform::WaitCursor> hourglass;

private:
    TDan1& dialog_;
};

}  // namespace

void TDan1::sledychiClick(QObject* sender) {
    if (ComboBox2->currentIndex() < 0) return;
    const bool editing = GroupEditing();
    hide();
    ShowWaitNotice(Form1);
    bool closingSteps = true;
    {
        // The line's passes, its checks and the refresh check every table file once.
        platform::FileCheckBatch batch;
        ApplyRun run(*this);
        closingSteps = ApplyGroupLine(sender, run.hourglass);
    }
    // The window comes back for the next line, unless a failure refreshed the project.
    if (closingSteps && !editing) show();
}

bool TDan1::ApplyGroupLine(QObject* sender, std::optional<platform::WaitCursor>& hourglass) {
    TGrsed* root = ProjectRoot;
    const std::optional<int> number = ChosenPanelNumber();
    if (!root || !number || !root->FindPanel(*number)) return true;
    if (ValidateInput()) return true;
    if (Form1) Form1->ToolButton4->setEnabled(true);
    const bool editing = GroupEditing();
    // An edit took the supply before it took the line out.
    if (!editing || !SupplyBeforeLine)
        SupplyBeforeLine = SupplyChoice{root->TransformerName, root->SupplyScPower};

    // Snapshots, the names reserved, the panel chosen again.
    if (!editing) {
        TakeProjectSnapshot();
        KeepValuesBeforeLine();
    }
    if (Shiti) Shiti->CableNames.push_back(platform::Text(*Edit7));
    GroupNames.push_back(platform::Text(*Edit6));
    RemedyActive = 0;
    ComboBox2Change();
    TSitid* panel = root->CurrentPanel();
    if (!panel) return true;
    if (panel->SchemeGroups.Last) panel->SchemeGroups.Cursor = panel->SchemeGroups.Last;

    // The records: both are built before either is appended, so that the panel never holds a
    // scheme record without its phase record.
    const TCxemaGrupd scheme = BuildGroupRecord();
    std::optional<TFasaGrup1d> single;
    std::optional<TFasaGrup2d> two;
    std::optional<TFasaGrup3d> three;
    switch (ComboBox1->currentIndex()) {
        case 0:
            single = BuildSinglePhaseRecord();
            break;
        case 1:
            two = BuildTwoPhaseRecord();
            break;
        case 2:
            three = BuildThreePhaseRecord();
            break;
        default:
            break;
    }
    AddSchemeGroup(*number, GroupCountCopies[0], scheme);
    panel = root->CurrentPanel();
    TCxemaGrupd* group = panel->SchemeGroups.Last;
    panel->SchemeGroups.Cursor = group;
    TrackGroupChange(group);
    const Cursors saved = CurrentCursors();
    if (single) AddSinglePhaseGroup(*number, GroupCountCopies[1], *single);
    if (two) AddTwoPhaseGroup(*number, GroupCountCopies[2], *two);
    if (three) AddThreePhaseGroup(*number, GroupCountCopies[3], *three);

    if (single || two || three) {
        panel->SchemeGroups.Cursor = panel->SchemeGroups.Last;
        group->MaxPhaseCurrent = MaxGroupPhaseCurrent();
        SelectLastGroupCrossSection();
        if (CheckBreakerData(group->MaxPhaseCurrent)) {
            if (editing)
                RollBackEditing(sender, false);
            else
                RollBackAdding(sender, saved);
            return false;
        }
    }
    if (!ProjectRoot || !root->CurrentSwitchboard() || !root->CurrentPanel() ||
        !root->CurrentPanel()->SchemeGroups.Cursor)
        return true;

    // The cable tables must carry the new currents of the group, the panel and the switchboard.
    TCxemaGrupd* savedGroup = root->CurrentPanel()->SchemeGroups.Cursor;
    RecalculateNetwork();
    SetCursors(saved);
    panel->SchemeGroups.Cursor = savedGroup;
    if (CheckCurrentTableRow(group->CableTable, MaxGroupPhaseCurrent())) {
        RollBack(sender, saved);
        return false;
    }
    root->FindPanel(*number);
    TGrsed* sw = root->CurrentSwitchboard();
    double panelCurrent = 0;
    if (!InCascade(*panel)) {
        panelCurrent = MaxPanelPhaseCurrent();
    } else {
        // A trunk is tested with the current of its head when one section serves it all.
        const TSitid* head = selection::CascadeHeadOf(*sw, panel);
        const double headCurrent =
            head ? LargestOf(head->CascadeCurrentA, head->CascadeCurrentB, head->CascadeCurrentC)
                 : 0.0;
        panelCurrent =
            panel->FedFromSwitchboard || panel->CascadeFlag
                ? headCurrent
                : LargestOf(panel->CascadeCurrentA, panel->CascadeCurrentB, panel->CascadeCurrentC);
    }
    if (CheckCurrentTableRow(panel->CurrentTableName, panelCurrent) ||
        CheckCurrentTableRow(sw->SwitchboardTable, MaxSwitchboardPhaseCurrent())) {
        RollBack(sender, saved);
        return false;
    }

    // A transformer of the base must carry the project's load.
    if (PowerSystem) root->TransformerName = platform::Text(*PowerSystem->ComboBox5);
    const double p = root->TotalDesignPower;
    const double q = p * std::tan(std::acos(root->TotalCosPhi));
    const double load = std::sqrt(p * p + q * q);
    const double rated = SelectTransformerForLoad(root->TransformerName, load);
    if (TransformerDataMissing(TransformerBaseRanOut(), load, rated)) {
        if (editing) RollBackEditing(sender);
        ApplyAndRefresh(sender);
        return false;
    }
    selection::SelectTransformerInPowerSystem(root->TransformerName);

    if (!SelectAndCheckEquipment(sender, *number, saved, hourglass)) return false;
    if (!HoldDeviation(sender, saved)) return false;

    // Completion: the snapshots describe the project with the new line, the counters go on and
    // the window is ready for the next line.
    if (!editing) {
        TakeProjectSnapshot();
        SetCursors(saved);
    } else if (TGrsed* current = root->CurrentSwitchboard()) {
        current->Panels.Cursor = saved.panel;
    }
    if (RemedyActive && ComboBox2->count() > 0) {
        ComboBox2->setCurrentIndex(ComboBox2->count() - 1);
        ComboBox2Change();
    }
    ++GroupCounter;
    GroupCounterCode = 100 * GroupCounter + 700;
    Edit6->selectAll();
    if (RadioButton2->isChecked()) RadioButton1->setChecked(true);
    Edit1->setEnabled(true);
    Edit2->setEnabled(true);
    if (Form1) {
        Form1->ToolButton4->setEnabled(true);
        Form1->ProjectSaved = 0;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Breakers, cables and short-circuit checks

bool TDan1::SelectAndCheckEquipment(QObject* sender, int panelNumber, const Cursors& saved,
                                    std::optional<platform::WaitCursor>& hourglass) {
    TGrsed* root = ProjectRoot;
    // A routine that refused the line has taken it back: the edited group is back (stop R) or
    // FailureFlag is set (stop F).
    const auto stopped = [&] {
        if (Form3 && Form3->EditedGroupRestored) {
            Form3->EditedGroupRestored = 0;
            ApplyAndRefresh(sender);
            return true;
        }
        if (FailureFlag) {
            ApplyAndRefresh(sender);
            FailureFlag = 0;
            return true;
        }
        return false;
    };
    const auto lookupFailed = [&] { return RolledBackAfterLookup(sender, saved); };

    // Breakers from the group up to the substation section, each type confirmed.
    root->FindPanel(panelNumber);
    TGrsed* sw = root->CurrentSwitchboard();
    TSitid* panel = root->CurrentPanel();
    SelectLastGroupBreaker();
    SelectGroupPanelBreaker();
    if (stopped()) return false;
    ShowGroupBreakerDialog();
    SelectPanelRating();
    if (InCascade(*panel)) {
        SelectCascadeHeadRating();
        SelectTrunkBreaker();
        if (stopped()) return false;
        ShowMainBreakerDialog();
        sw->Panels.Cursor = panel;
    }
    SelectPanelBreakers();
    if (stopped()) return false;
    ShowPanelBreakerDialog();
    if (panel->PanelBreakerType.empty()) {
        // No type for the panel's breaker: the line stays, unchecked, until the next change.
        SupplyBeforeLine.reset();
        ApplyAndRefresh(sender);
        return false;
    }
    SelectSwitchboardBreakerRating();
    SelectSwitchboardVruBreaker();
    if (stopped()) return false;
    ShowSwitchboardBreakerDialog();
    SelectTransformerBreakerRating();
    SelectTransformerVruBreaker();
    if (stopped()) return false;
    ShowSectionBreakerDialog();

    // Cables and short circuit.
    hourglass.emplace();
    SelectGroupCrossSection(panel->SchemeGroups.Cursor);
    if (lookupFailed()) return false;
    SelectCascadeFeederCables(panel, true);
    SelectSwitchboardSectionForBreaker();
    SelectPanelSectionForBreaker();
    if (lookupFailed()) return false;
    if (PowerSystem) root->SupplyScPower = PowerSystem->ShortCircuitPowerMva;
    CheckSwitchboardShortCircuit(sender);
    if (stopped()) return false;
    if (panel->OnTrunk) CheckPanelShortCircuit(sender);
    if (stopped()) return false;
    CheckCascadeShortCircuit(sender);
    if (stopped()) return false;
    // The checks may have moved the line to a new panel: they leave that one current.
    panel = root->CurrentPanel();
    if (panel && panel->SchemeGroups.Cursor) CheckGroupShortCircuit(sender);
    if (stopped()) return false;

    EnsureSwitchboardTripCurrent();
    EnsurePanelTripCurrent();
    // The check above holds the line against the best case; the line is accepted only when its
    // breaker trips on the project as the raises leave it.
    if (!EnsureGroupTripCurrent()) RefuseUntrippedGroup(sender);
    if (stopped()) return false;
    panel = root->CurrentPanel();
    if (!panel) return true;
    CheckSwitchboardCables();
    CheckPanelCables();
    if (panel->OnTrunk) CheckShiftedPanelCables();
    SumPanelVoltageLosses();
    if (lookupFailed()) return false;
    if (Form3 && Form3->EditedGroupRestored) {
        Form3->EditedGroupRestored = 0;
        return false;
    }
    if (panel->SchemeGroups.Last) CheckGroupCables(panel->SchemeGroups.Last->GroupName);
    return !lookupFailed();
}

// ---------------------------------------------------------------------------------------------
// Voltage deviation at the consumer

double TDan1::ConsumerDeviation(const TCxemaGrupd& group) {
    return DeviationAt(group.GroupName, group.CrossSection);
}

void TDan1::RunFinalPasses(const std::string& groupName) {
    TSitid* panel = ProjectRoot ? ProjectRoot->CurrentPanel() : nullptr;
    if (!panel) return;
    CheckSwitchboardCables();
    CheckPanelCables();
    if (panel->OnTrunk) CheckShiftedPanelCables();
    SumPanelVoltageLosses();
    if (panel->DeviationWork == 0) panel->DeviationWork = panel->MaxVoltageLoss;
    CheckGroupCables(groupName);
}

bool TDan1::HoldDeviation(QObject* sender, const Cursors& saved) {
    TSitid* panel = ProjectRoot ? ProjectRoot->CurrentPanel() : nullptr;
    TCxemaGrupd* group = panel ? panel->SchemeGroups.Last : nullptr;
    if (!group) return true;
    // The line's panel and the line current for every pass below.
    const Cursors at = CurrentCursors();
    const auto lineCurrent = [&] {
        SetCursors(at);
        panel->SchemeGroups.Cursor = group;
    };
    const std::string name = group->GroupName;
    const auto refuse = [&] {
        WarnVoltageRefusal();
        if (GroupEditing())
            RollBackEditing(sender);
        else
            RollBackAdding(sender, saved);
        return false;
    };
    const auto lookupFailed = [&] { return RolledBackAfterLookup(sender, saved); };

    FailureFlag = 0;
    lineCurrent();
    const double first = ConsumerDeviation(*group);
    if (first <= kRefusedDeviation) {
        // Every cable on the way at its largest section: can the line be held at all?
        lineCurrent();
        const double best = VoltageDeviation(BestCaseGroupLoss(name), 220.0);
        if (best < kRefusedDeviation) return refuse();
        lineCurrent();
        RaiseCrossSections(kRefusedDeviation, first);
        if (lookupFailed()) return false;
    }
    lineCurrent();
    const double deviation = ConsumerDeviation(*group);
    // Still beyond the limit after raising: the line is refused, never kept unchecked.
    if (deviation < kRefusedDeviation) return refuse();

    const auto finalPasses = [&] {
        lineCurrent();
        RunFinalPasses(name);
        lineCurrent();
        return !lookupFailed();
    };
    if (deviation < kAskedDeviation) {
        if (AskToReduceDeviation(deviation, lineCurrent)) {
            if (lookupFailed()) return false;
        } else {
            if (!finalPasses()) return false;
            group->VoltageDeviation = ConsumerDeviation(*group);
        }
    } else {
        group->VoltageDeviation = deviation;
        if (!finalPasses()) return false;
        group->VoltageDeviation = ConsumerDeviation(*group);
    }
    lineCurrent();
    if (Form2) Form2->update();
    return true;
}

void TDan1::WarnVoltageRefusal() {
    platform::MessageBox(GroupEditing()
                             ? "Падение напряжения на потребителе более 10 %,редактирование "
                               "отменяется"
                             : "Падение напряжения на потребителе более 10 %,группа отменяется",
                         "Предупреждение", platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

bool TDan1::AskToReduceDeviation(double deviation, const std::function<void()>& lineCurrent) {
    const int answer = platform::MessageBox(
        "Отклонение напряжения на потребителе  " + platform::FloatToStr(deviation) + "%." +
            "  Уменьшить отклонение напряжения?",
        "Предупреждение.", platform::MsgButtons::YesNo, platform::MsgIcon::Warning);
    if (answer != platform::mrYes) return false;
    // The dialog's button reduces the deviation and stores it; the dialog closed otherwise (its
    // close box, Escape) reduces nothing, and counts as "No".
    ShowDeviationDialog();
    lineCurrent();
    return DeviationForm && platform::ShowModal(*DeviationForm) == platform::mrOk;
}

// ---------------------------------------------------------------------------------------------
// Rollbacks

bool TDan1::TakeOffPendingGroup() {
    TSitid* panel = GroupChangePanel();
    if (!panel || !ProjectRoot) return false;
    for (TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot)) {
        const std::vector<TSitid*> panels = chains::PanelsOf(*sw);
        if (std::find(panels.begin(), panels.end(), panel) != panels.end()) SetCursors({sw, panel});
    }
    RemoveTrackedGroup();
    return true;
}

void TDan1::RemoveLastGroup() {
    const Cursors at = CurrentCursors();
    TakeOffPendingGroup();
    SetCursors(at);
}

void TDan1::RestoreSnapshotAt(const Cursors& at) {
    SetCursors(at);
    RestoreProjectSnapshot();
    SetCursors(at);
    CopyPanelCounts();
}

void TDan1::RollBackAdding(QObject* sender, const Cursors& saved, bool recalculate) {
    // The project's values come back only with the line gone: they belong to the project
    // without it.
    if (TakeOffPendingGroup()) {
        if (recalculate) RecalculateNetwork();
        SetCursors(saved);
        RestoreSnapshotWithoutLine();
        CopyPanelCounts();
    }
    ApplyAndRefresh(sender);
    SetCursors(saved);
}

void TDan1::RollBackEditing(QObject* sender, bool recalculate) {
    if (TakeOffPendingGroup() && recalculate) RecalculateNetwork();
    TGrsed* sw = Form3 ? Form3->SavedSwitchboard : nullptr;
    TSitid* panel = Form3 ? Form3->SavedPanel : nullptr;
    if (recalculate) SetCursors({sw, panel});
    RestoreEditedGroup(sw, panel);
    selection::DropGroupEditUndoData();
    ApplyAndRefresh(sender);
}

bool TDan1::RolledBackAfterLookup(QObject* sender, const Cursors& saved) {
    if (!FailureFlag) return false;
    FailureFlag = 0;
    RollBack(sender, saved);
    return true;
}

void TDan1::RollBack(QObject* sender, const Cursors& saved) {
    if (GroupEditing())
        RollBackEditing(sender);
    else
        RollBackAdding(sender, saved);
}
