// The short-circuit checks that follow a change: every breaker must trip on a single-phase fault
// at the far end of what it protects. A failure takes the change back with its message, or
// offers the group line a new panel of its own when that would pass.
#include "model/Cascades.h"
#include "model/Chains.h"
#include "platform/Conversions.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "selection/CheckSupport.h"
#include "selection/CheckWindows.h"
#include "selection/NetworkChecks.h"
#include "selection/SelectionSupport.h"

namespace {

constexpr char kWarning[] = "Предупреждение";
constexpr char kRefusedEdit[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Редактирование "
    "отменяется";
constexpr char kRefusedGroup[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Данная группа "
    "отменяется";
constexpr char kLongOffer[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Проложить новый "
    "кабель,установить отдельный автомат и подключить новый щит?";
constexpr char kShortOffer[] =
    "Ток короткого замыкания превышает ток электромагнитного расцепителя.Подключить новый щит?";

// The message that names the switchboard ("Грщ-") or panel ("Щит-") whose breaker failed.
std::string NamedRefusal(const std::string& node, int number) {
    return "Ток короткого замыкания превышает ток электромагнитного расцепителя автомата. " + node +
           platform::IntToStr(number) +
           ". Редактирование отменяется.\nПопробуйте подключить автомат с меньшим током "
           "электромагнитного расцепителя";
}

void Warn(const std::string& text) {
    platform::MessageBox(text, kWarning, platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

using cascades::InCascade;

// The largest transformer of the base (no data for an empty base).
selection::TransformerRow LargestTransformer() {
    const std::vector<selection::TransformerRow> rows = selection::TransformerRows();
    return rows.empty() ? selection::TransformerRow{} : rows.back();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Failures

void NetworkChecks::FailWithoutRemedy(Check check, QObject* sender, const Cursors& at) {
    switch (selection::CurrentChange()) {
        case selection::ChangeKind::SwitchboardEdit:
            Warn(kRefusedEdit);
            selection::MarkShortCircuitFailed();
            return;
        case selection::ChangeKind::PanelEdit:
            Warn(kRefusedEdit);
            RollbackPanelEdit(sender, at, false);
            if (check == Check::Group) FailureFlag = 1;
            return;
        case selection::ChangeKind::GroupEdit:
            Warn(kRefusedEdit);
            RollbackGroupEdit(at);
            FailureFlag = 1;
            return;
        case selection::ChangeKind::AddingGroup:
            Warn(kRefusedGroup);
            RollbackAdding(at);
            return;
        case selection::ChangeKind::None:
            // Outside any edit (after a deletion) nothing is taken back: the check only fails.
            FailureFlag = 1;
            return;
    }
}

void NetworkChecks::TakeBackAfterLookup(const Cursors& at) {
    PutBack(at);
    CancelEditing();
    PutBack(at);
    FailureFlag = 1;
}

std::optional<double> NetworkChecks::LargestSectionForCheck(const std::string& tableName,
                                                            const Cursors& at) {
    const std::optional<double> largest = LargestSection(tableName);
    if (!largest) TakeBackAfterLookup(at);
    return largest;
}

// ---------------------------------------------------------------------------------------------
// The four checks

void NetworkChecks::CheckSwitchboardShortCircuit(QObject* sender) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!ProjectRoot || !sw) return;
    const Cursors at = SaveCursors();
    const BreakerTrip trip = TripOf(sw->SwitchboardBreakerType, sw->SwitchboardInputRating);
    if (trip.Unchecked()) return;
    const std::optional<double> supply = LargestSectionForCheck(sw->SwitchboardTable, at);
    if (!supply) return;
    selection::FaultPath path = selection::FaultPathThrough(*sw, *supply);
    path.givenSection = true;
    const double current = selection::FaultCurrent(path, LargestTransformer());
    PutBack(at);
    if (CurrentExceeds(current, trip)) {
        PassedSwitchboardBreakerType = sw->SwitchboardBreakerType;
        return;
    }
    switch (selection::CurrentChange()) {
        case selection::ChangeKind::GroupEdit:
            Warn(NamedRefusal("Грщ-", sw->SwitchboardNumber));
            RollbackGroupEdit(at);
            FailureFlag = 1;
            return;
        case selection::ChangeKind::PanelEdit:
            Warn(NamedRefusal("Грщ-", sw->SwitchboardNumber));
            RollbackPanelEdit(sender, at, false);
            return;
        default:
            OfferNewPanel(Check::Switchboard, sender, at);
            return;
    }
}

void NetworkChecks::CheckPanelShortCircuit(QObject* sender) {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!ProjectRoot || !panel) return;
    const Cursors at = SaveCursors();
    if (panel->SchemeGroupCount == 0) return;
    const BreakerTrip trip = TripOf(panel->PanelBreakerType, panel->CascadeBreakerRating);

    // Could any section and transformer pass: the largest section of the panel's table on the
    // switchboard supply and the largest transformer, with the project transformer's losses.
    const auto [rows, project] = selection::RowsWithProjectTransformer();
    selection::TransformerRow best = rows.empty() ? selection::TransformerRow{} : rows.back();
    if (project) best.losses = rows[*project].losses;
    const std::optional<double> possible = LargestSectionForCheck(panel->CurrentTableName, at);
    if (!possible) return;
    selection::FaultPath path = selection::FaultPathThrough(*sw, *possible);
    path.givenSection = true;
    double current = selection::FaultCurrent(path, best);
    PutBack(at);
    if (!CurrentExceeds(current, trip)) {
        FailWithoutRemedy(Check::PanelSupply, sender, at);
        return;
    }
    if (!project) return;  // no transformer to start the walk from

    // The smallest supply section, with the next transformer when the table runs out, that
    // passes. The transformer's losses stay those of the project's transformer.
    std::size_t t = *project;
    selection::TransformerRow transformer = rows[t];
    double section = selection::ShiftedSection(*panel);
    path.switchboardSection = section;
    path.givenSection = false;
    current = selection::FaultCurrent(path, transformer);
    const std::optional<std::vector<double>> table = TableSections(sw->SwitchboardTable);
    if (!table) {
        TakeBackAfterLookup(at);
        return;
    }
    const std::vector<double>& sections = *table;
    std::size_t i = 0;
    while (i + 1 < sections.size() && sections[i] != section) ++i;
    path.panel = panel;
    while (!CurrentExceeds(current, trip, true)) {
        section = sections[i];
        path.switchboardSection = section;
        current = selection::FaultCurrent(path, transformer);
        if (++i == sections.size()) {
            if (CurrentExceeds(current, trip, true)) break;
            // The base ran out: nothing is changed.
            if (++t == rows.size()) {
                PutBack(at);
                return;
            }
            transformer.name = rows[t].name;
            transformer.power = rows[t].power;
            transformer.uk = rows[t].uk;
            i = 0;
        }
    }
    PutBack(at);
    // A current equal to the trip current ends the walk and stores nothing.
    if (CurrentExceeds(current, trip)) {
        ProjectRoot->TransformerName = transformer.name;
        selection::ShiftedSection(*panel) = section;
        selection::SelectTransformerInPowerSystem(transformer.name);
        PutBack(at);
    }
}

void NetworkChecks::CheckCascadeShortCircuit(QObject* sender) {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!ProjectRoot || !panel) return;
    const Cursors at = SaveCursors();
    const bool cascade = InCascade(*panel);
    if (!cascade && panel->SchemeGroupCount == 0) return;
    BreakerTrip trip;
    if (!cascade)
        trip = TripOf(panel->PanelBreakerType, panel->FeederBreakerRating);
    else if (TSitid* head = selection::CascadeHeadOf(*sw, panel))
        trip = TripOf(head->TrunkBreakerType, head->TrunkBreakerRating);
    if (trip.Unchecked()) return;
    const std::optional<double> feeder = LargestSectionForCheck(panel->CurrentTableName, at);
    if (!feeder) return;
    const std::optional<double> supply = LargestSectionForCheck(sw->SwitchboardTable, at);
    if (!supply) return;
    selection::FaultPath path = selection::FaultPathThrough(*sw, *supply, panel, *feeder);
    path.givenSection = true;
    const double current = selection::FaultCurrent(path, LargestTransformer());
    PutBack(at);
    if (CurrentExceeds(current, trip)) {
        PassedPanelBreakerType = panel->PanelBreakerType;
        return;
    }
    if (selection::CurrentChange() == selection::ChangeKind::GroupEdit) {
        const int number = panel->PanelNumber;
        RollbackGroupEdit(at);
        FailureFlag = 1;
        Warn(NamedRefusal("Щит-", number));
        return;
    }
    OfferNewPanel(Check::Cascade, sender, at);
}

void NetworkChecks::CheckGroupShortCircuit(QObject* sender) {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!ProjectRoot || !panel) return;
    const Cursors at = SaveCursors();
    TCxemaGrupd* group = panel->SchemeGroups.Cursor;
    if (panel->SchemeGroupCount == 0 || !group) return;
    const BreakerTrip trip = TripOf(group->BreakerType, group->BreakerRating);
    const std::optional<double> line = LargestSectionForCheck(group->CableTable, at);
    if (!line) return;
    const std::optional<double> feeder = LargestSectionForCheck(panel->CurrentTableName, at);
    if (!feeder) return;
    const std::optional<double> supply = LargestSectionForCheck(sw->SwitchboardTable, at);
    if (!supply) return;
    selection::FaultPath path =
        selection::FaultPathThrough(*sw, *supply, panel, *feeder, group, *line);
    path.givenSection = true;
    // The line at the largest section of its table, both its conductors.
    const double current = selection::FaultCurrentOfLineAt(path, *group, LargestTransformer());
    PutBack(at);
    if (CurrentExceeds(current, trip)) return;
    FailWithoutRemedy(Check::Group, sender, at);
}

void NetworkChecks::RefuseUntrippedGroup(QObject* sender) {
    FailWithoutRemedy(Check::Group, sender, SaveCursors());
}

// ---------------------------------------------------------------------------------------------
// The new-panel remedy

void NetworkChecks::OfferNewPanel(Check check, QObject* sender, const Cursors& at) {
    TGrsed* sw = at.switchboard;
    TSitid* panel = at.panel;
    // Outside any edit there is no group line to move to a new panel; nor is there when the
    // line being added or edited is not on this panel (it has left it already: the remedy checks
    // the panel without it, and another line of the panel must not go in its place).
    const selection::ChangeKind change = selection::CurrentChange();
    const bool lineChange =
        change == selection::ChangeKind::AddingGroup || change == selection::ChangeKind::GroupEdit;
    if (!sw || !panel || !HasSeveralGroups(panel->SchemeGroupCount) ||
        change == selection::ChangeKind::None || (lineChange && GroupChangePanel() != panel)) {
        FailWithoutRemedy(check, sender, at);
        return;
    }
    // The long offer adds a new cable and a separate breaker: always after the switchboard
    // check; after the panel feeder check for a panel fed past the switchboard, or one whose
    // cascade head is.
    bool longOffer = true;
    if (check == Check::Cascade) {
        longOffer = panel->OnTrunk != 0;
        if (!longOffer && panel->FedFromPanel) {
            const TSitid* head = selection::CascadeHeadOf(*sw, panel);
            longOffer = head && head->OnTrunk;
        }
    }
    const TCxemaGrupd* group =
        panel->SchemeGroups.Cursor ? panel->SchemeGroups.Cursor : panel->SchemeGroups.Last;
    const bool feasible =
        group && CheckNewPanelShortCircuit(longOffer, sw->SwitchboardConductorMaterial,
                                           sw->SwitchboardFeederLength, panel->FeederLength,
                                           group->LineLength, group->ConductorMaterial,
                                           panel->FeederConductorMaterial);
    PutBack(at);
    if (!feasible) {
        FailWithoutRemedy(check, sender, at);
        return;
    }
    const int answer =
        platform::MessageBox(longOffer ? kLongOffer : kShortOffer, kWarning,
                             platform::MsgButtons::YesNo, platform::MsgIcon::Warning);
    if (answer == platform::mrYes && CheckHooks.ConnectNewPanel) {
        selection::CloseConnectionWindow();
        TCxemaGrupd scheme = CopyLastCxemaGroup();
        TFasaGrup1d single = CopyLastFasaGroup1();
        TFasaGrup2d two = CopyLastFasaGroup2();
        TFasaGrup3d three = CopyLastFasaGroup3();
        CheckHooks.ConnectNewPanel(longOffer, at.switchboard, at.panel, std::move(scheme),
                                   std::move(single), std::move(two), std::move(three));
        return;
    }
    // Declined: no further message.
    if (DeclineNewPanelInEdit(sender, at.switchboard, at.panel, check == Check::Cascade)) return;
    if (TakeOffTrackedGroup()) {
        PutBack(at);
        RestoreProjectSnapshot();
        if (check == Check::Cascade && CheckHooks.ApplyAndRefresh)
            CheckHooks.ApplyAndRefresh(sender);
    }
    PutBack(at);
    FailureFlag = 1;
}

bool NetworkChecks::DeclineNewPanelInEdit(QObject* sender, TGrsed* switchboard, TSitid* panel,
                                          bool afterFeederCheck) {
    const Cursors at{switchboard, panel};
    switch (selection::CurrentChange()) {
        case selection::ChangeKind::SwitchboardEdit:
            selection::MarkShortCircuitFailed();
            return true;
        case selection::ChangeKind::PanelEdit:
            if (afterFeederCheck) RollbackPanelEdit(sender, at, true);
            return true;
        case selection::ChangeKind::GroupEdit:
            RollbackGroupEdit(at);
            FailureFlag = 1;
            return true;
        case selection::ChangeKind::AddingGroup:
            break;
        case selection::ChangeKind::None:
            // No edit: the caller ends as for an added line, which takes off only a line it
            // tracks (none outside any change) and marks the failure.
            break;
    }
    return false;
}

BreakerTrip NetworkChecks::TripCurrent(const std::string& series, double rating) {
    const std::optional<std::vector<selection::BreakerRow>> loaded = selection::LoadBreakerRows();
    const std::vector<selection::BreakerRow> rows = loaded ? *loaded : selection::BreakerRows();
    for (const selection::BreakerRow& row : rows)
        if (row.series == series) return {row.multiplicity, rating * row.multiplicity, true};
    return {0.0, 0.0, false};
}

bool NetworkChecks::CheckNewPanelShortCircuit(bool longOffer, const std::string& supplyMaterial,
                                              double supplyLength, double panelLength,
                                              double groupLength, const std::string& groupMaterial,
                                              const std::string& panelMaterial) {
    platform::MakeProgramFolderCurrent();
    TGrsed* root = ProjectRoot;
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!root || !sw || !panel) return false;
    const auto [rows, project] = selection::RowsWithProjectTransformer();
    // Without the project's transformer in the base there is no room to judge.
    if (!project) return false;
    double largestPhase = root->TotalPhasePowerA > root->TotalPhasePowerB ? root->TotalPhasePowerA
                                                                          : root->TotalPhasePowerB;
    largestPhase = largestPhase > root->TotalPhasePowerC ? largestPhase : root->TotalPhasePowerC;
    if (!(3.0 * largestPhase < rows[*project].power)) return false;

    const double next = NextStandardRating();
    const double nextButOne = NextButOneStandardRating();
    // A table that gives no section gives no new panel either (said so).
    const std::optional<double> table = LargestSection(sw->SwitchboardTable);
    if (!table) return false;
    const double largestSection = *table;
    const selection::TransformerRow largest = rows.back();

    // The supply of the new panel: a breaker of the panel's series two steps above the group's
    // (long offer), or the switchboard's own breaker.
    const BreakerTrip tripA =
        longOffer ? TripCurrent(panel->PanelBreakerType, nextButOne)
                  : TripCurrent(sw->SwitchboardBreakerType, sw->SwitchboardInputRating);
    selection::FaultPath path;
    path.switchboardLength = supplyLength;
    path.switchboardSection = largestSection;
    path.switchboardMaterial = supplyMaterial;
    const double currentA = selection::FaultCurrent(path, largest);

    // The new panel's feeder, as long as the present one.
    const BreakerTrip tripB = TripCurrent(panel->PanelBreakerType, next);
    path.panelLength = panelLength;
    path.panelSection = largestSection;
    path.panelMaterial = panelMaterial;
    const double currentB = selection::FaultCurrent(path, largest);

    // The group line on the new panel (the panel's last group, where the steps above left it),
    // both its conductors at that section.
    TCxemaGrupd* group = panel->SchemeGroups.Cursor;
    const BreakerTrip tripC =
        group ? TripCurrent(group->BreakerType, group->BreakerRating) : BreakerTrip{};
    path.groupLength = groupLength;
    path.groupSection = largestSection;
    path.groupMaterial = groupMaterial;
    const double currentC = group ? selection::FaultCurrentOfLineAt(path, *group, largest)
                                  : selection::FaultCurrent(path, largest);

    return CurrentExceeds(currentA, tripA) && CurrentExceeds(currentB, tripB) &&
           CurrentExceeds(currentC, tripC);
}

TCxemaGrupd NetworkChecks::CopyLastCxemaGroup() {
    TSitid* panel = selection::CurrentPanel();
    if (!panel || !panel->SchemeGroups.Last) return TCxemaGrupd{};
    panel->SchemeGroups.Cursor = panel->SchemeGroups.Last;
    return *panel->SchemeGroups.Last;
}

namespace {

// The kind of the panel's current scheme record, 0 without one.
int CurrentKind(const TSitid* panel) {
    return panel && panel->SchemeGroups.Cursor ? panel->SchemeGroups.Cursor->PhaseKind : 0;
}

}  // namespace

TFasaGrup1d NetworkChecks::CopyLastFasaGroup1() {
    TSitid* panel = selection::CurrentPanel();
    if (CurrentKind(panel) != 2 || !panel->SinglePhaseGroups.Last) return TFasaGrup1d{};
    panel->SinglePhaseGroups.Cursor = panel->SinglePhaseGroups.Last;
    return *panel->SinglePhaseGroups.Last;
}

TFasaGrup2d NetworkChecks::CopyLastFasaGroup2() {
    TSitid* panel = selection::CurrentPanel();
    if (CurrentKind(panel) != 3 || !panel->TwoPhaseGroups.Last) return TFasaGrup2d{};
    panel->TwoPhaseGroups.Cursor = panel->TwoPhaseGroups.Last;
    return *panel->TwoPhaseGroups.Last;
}

TFasaGrup3d NetworkChecks::CopyLastFasaGroup3() {
    TSitid* panel = selection::CurrentPanel();
    if (CurrentKind(panel) != 4 || !panel->ThreePhaseGroups.Last) return TFasaGrup3d{};
    panel->ThreePhaseGroups.Cursor = panel->ThreePhaseGroups.Last;
    return *panel->ThreePhaseGroups.Last;
}
