// Cables and transformer raised until the breakers of the current group line and the current
// panel trip on a single-phase fault at the far end of what they protect, and the fault
// currents stored along cascades. Nothing here is reported: a node that cannot be brought to
// trip keeps its sections and its stored current.
#include <algorithm>

#include "model/Cascades.h"
#include "model/Chains.h"
#include "platform/ProgramFolder.h"
#include "selection/CheckSupport.h"
#include "selection/NetworkChecks.h"
#include "selection/SelectionSupport.h"

namespace {

using cascades::InCascade;

// The entries of a section table from the one equal to `from` to its end: the section in force
// is tried again first and nothing below it. None when it is not in the table.
std::vector<double> Candidates(const std::vector<double>& table, int count, double from) {
    const std::size_t n = std::min(table.size(), static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < n; ++i)
        if (table[i] == from) return std::vector<double>(table.begin() + i, table.begin() + n);
    return {};
}

// The cascade sections of the current switchboard's panels, neutral sections with them.
struct FeederSections {
    TSitid* panel;
    double section, neutral;
};

std::vector<FeederSections> KeepChainFeeders() {
    std::vector<FeederSections> kept;
    if (TGrsed* sw = selection::CurrentSwitchboard())
        for (TSitid* q : selection::PanelsToChainEnd(*sw))
            kept.push_back({q, selection::CascadeSection(*q), q->FeederNeutralSection});
    return kept;
}

void PutBackChainFeeders(const std::vector<FeederSections>& kept) {
    for (const FeederSections& f : kept) {
        selection::CascadeSection(*f.panel) = f.section;
        f.panel->FeederNeutralSection = f.neutral;
    }
}

// A transformer of rated power S and short-circuit voltage uk, its losses those of the first row
// of the base with that power.
selection::TransformerRow TransformerOf(double power, double uk) {
    return {"", power, uk, selection::LossesForPower(selection::TransformerRows(), power)};
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Fault currents

double NetworkChecks::FaultAtGroup(double g, double p, double s,
                                   const selection::TransformerRow& t) {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    TCxemaGrupd* group = panel ? panel->SchemeGroups.Cursor : nullptr;
    if (!group) return 0.0;
    // The line is tried with both its conductors at g, as it is laid when g is taken.
    return selection::FaultCurrentOfLineAt(selection::FaultPathThrough(*sw, s, panel, p, group, g),
                                           *group, t);
}

double NetworkChecks::FaultAtPanel(double p, double s, const selection::TransformerRow& t) {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!panel) return 0.0;
    return selection::FaultCurrent(selection::FaultPathThrough(*sw, s, panel, p), t);
}

// ---------------------------------------------------------------------------------------------
// Group line

bool NetworkChecks::RaiseGroupCableForTrip(double g, double p, double s, double power, double uk) {
    TSitid* panel = selection::CurrentPanel();
    TCxemaGrupd* group = panel ? panel->SchemeGroups.Cursor : nullptr;
    if (!group) return false;
    const BreakerTrip trip = TripOf(group->BreakerType, group->BreakerRating);
    const selection::TransformerRow t = TransformerOf(power, uk);
    double current = FaultAtGroup(g, p, s, t);
    double last = g;
    for (double c : Candidates(group->AllowedSections, group->AllowedSectionCount, g)) {
        if (CurrentExceeds(current, trip, true)) break;
        last = c;
        current = FaultAtGroup(c, p, s, t);
    }
    // A current equal to the trip current ends the raising and fails.
    if (!CurrentExceeds(current, trip)) return false;
    group->CrossSection = last;
    return true;
}

bool NetworkChecks::RaiseSupplyForGroupTrip(SupplyCable supply, double g, double p, double s,
                                            double power, double uk, GroupRaise then) {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    const bool board = supply == SupplyCable::Switchboard;
    if (board ? !sw : !panel) return false;
    if (!board && InCascade(*panel)) return RaiseCascadeForGroupTrip(g, p, s, power, uk, then);
    const std::vector<double> candidates =
        board ? Candidates(sw->SwitchboardSections, sw->SwitchboardSectionCount, s)
              : Candidates(panel->FeederSections, panel->FeederSectionCount, p);
    for (double c : candidates) {
        if ((this->*then)(g, board ? p : c, board ? c : s, power, uk)) {
            (board ? sw->SwitchboardSection : selection::RadialSection(*panel)) = c;
            return true;
        }
    }
    return false;
}

bool NetworkChecks::RaiseCascadeForGroupTrip(double g, double p, double s, double power,
                                             double uk, GroupRaise then) {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    TCxemaGrupd* group = panel ? panel->SchemeGroups.Cursor : nullptr;
    if (!sw || !group) return false;
    // A line of a cascade panel is fed through every feeder of the cascade up to its head, which
    // its fault path reads; the panel's own radial section plays no part. The feeders are raised
    // together a table entry at a time, the sections in force tried first, and come back, neutral
    // sections with them, when nothing makes the breaker trip.
    const std::vector<FeederSections> kept = KeepChainFeeders();
    for (;;) {
        sw->Panels.Cursor = panel;
        panel->SchemeGroups.Cursor = group;
        if ((this->*then)(g, p, s, power, uk)) return true;
        sw->Panels.Cursor = panel;
        panel->SchemeGroups.Cursor = group;
        if (StepCascadeSections(panel)) break;  // every feeder at the end of its table
    }
    PutBackChainFeeders(kept);
    sw->Panels.Cursor = panel;
    panel->SchemeGroups.Cursor = group;
    return false;
}

bool NetworkChecks::RaiseSwitchboardCableForGroupTrip(double g, double p, double s, double power,
                                                      double uk) {
    return RaiseSupplyForGroupTrip(SupplyCable::Switchboard, g, p, s, power, uk,
                                   &NetworkChecks::RaiseGroupCableForTrip);
}

bool NetworkChecks::RaisePanelCableForGroupTrip(double g, double p, double s, double power,
                                                double uk) {
    return RaiseSupplyForGroupTrip(SupplyCable::Panel, g, p, s, power, uk,
                                   &NetworkChecks::RaiseGroupCableForTrip);
}

bool NetworkChecks::RaisePanelThenSwitchboardForGroupTrip(double g, double p, double s,
                                                          double power, double uk) {
    return RaiseSupplyForGroupTrip(SupplyCable::Panel, g, p, s, power, uk,
                                   &NetworkChecks::RaiseSwitchboardCableForGroupTrip);
}

bool NetworkChecks::RaiseSwitchboardThenPanelForGroupTrip(double g, double p, double s,
                                                          double power, double uk) {
    return RaiseSupplyForGroupTrip(SupplyCable::Switchboard, g, p, s, power, uk,
                                   &NetworkChecks::RaisePanelCableForGroupTrip);
}

bool NetworkChecks::RaiseTransformerForGroup(double g, double p, double s, GroupRaise first,
                                             GroupRaise second) {
    TSitid* panel = selection::CurrentPanel();
    TCxemaGrupd* group = panel ? panel->SchemeGroups.Cursor : nullptr;
    if (!ProjectRoot || !group) return false;
    const BreakerTrip trip = TripOf(group->BreakerType, group->BreakerRating);
    const auto [rows, start] = selection::RowsWithProjectTransformer();
    if (!start) return false;
    // From the project's transformer on, each row once, rows of equal power included; the end
    // of the base ends the walk. The walk takes a transformer whose current equals the trip
    // current.
    for (std::size_t t = *start; t < rows.size(); ++t) {
        if (CurrentExceeds(FaultAtGroup(g, p, s, rows[t]), trip, true) ||
            (this->*first)(g, p, s, rows[t].power, rows[t].uk) ||
            (this->*second)(g, p, s, rows[t].power, rows[t].uk)) {
            TakeTransformer(rows[t]);
            return true;
        }
    }
    return false;
}

bool NetworkChecks::RaiseTransformerForGroupTrip(double g, double p, double s, double, double) {
    return RaiseTransformerForGroup(g, p, s, &NetworkChecks::RaiseSwitchboardCableForGroupTrip,
                                    &NetworkChecks::RaisePanelThenSwitchboardForGroupTrip);
}

bool NetworkChecks::RaiseTransformerForGroupTripPanelFirst(double g, double p, double s, double,
                                                           double) {
    platform::KeepProgramFolderCurrent();
    return RaiseTransformerForGroup(g, p, s, &NetworkChecks::RaisePanelCableForGroupTrip,
                                    &NetworkChecks::RaiseSwitchboardThenPanelForGroupTrip);
}

bool NetworkChecks::EnsureGroupTripCurrent() {
    platform::KeepProgramFolderCurrent();
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    TCxemaGrupd* group = panel ? panel->SchemeGroups.Cursor : nullptr;
    if (!ProjectRoot || !group) return true;
    const Cursors at = SaveCursors();
    const auto [rows, project] = selection::RowsWithProjectTransformer();
    if (!project) return true;  // no transformer to hold the line against
    const double power = rows[*project].power;
    const double uk = rows[*project].uk;

    // Each step with the sections in force after the one before.
    const auto run = [&](GroupRaise raise) {
        PutBack(at);
        panel->SchemeGroups.Cursor = group;
        return (this->*raise)(group->CrossSection, selection::RadialSection(*panel),
                              sw->SwitchboardSection, power, uk);
    };
    // The longer supply cable is raised before the shorter one.
    const bool supplyLonger = sw->SwitchboardFeederLength > panel->FeederLength;
    const GroupRaise order[] = {
        &NetworkChecks::RaiseGroupCableForTrip,
        supplyLonger ? &NetworkChecks::RaiseSwitchboardCableForGroupTrip
                     : &NetworkChecks::RaisePanelCableForGroupTrip,
        supplyLonger ? &NetworkChecks::RaisePanelThenSwitchboardForGroupTrip
                     : &NetworkChecks::RaiseSwitchboardThenPanelForGroupTrip,
        supplyLonger ? &NetworkChecks::RaiseTransformerForGroupTrip
                     : &NetworkChecks::RaiseTransformerForGroupTripPanelFirst};
    // A breaker whose series the base does not hold trips on nothing: nothing to raise.
    if (!TripOf(group->BreakerType, group->BreakerRating).known) return false;
    bool ok = false;
    for (GroupRaise raise : order)
        if (!ok) ok = run(raise);
    PutBack(at);
    panel->SchemeGroups.Cursor = group;
    if (!ok) return false;
    const auto [now, taken] = selection::RowsWithProjectTransformer();
    if (!taken) return true;
    group->SinglePhaseFaultCurrent = FaultAtGroup(
        group->CrossSection, selection::RadialSection(*panel), sw->SwitchboardSection, now[*taken]);
    PutBack(at);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Panel

BreakerTrip NetworkChecks::PanelTripCurrent() {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!panel) return {};
    if (!InCascade(*panel)) return TripOf(panel->PanelBreakerType, panel->FeederBreakerRating);
    // A cascade is protected by the trunk breaker of its head.
    const TSitid* head = selection::CascadeHeadOf(*sw, panel);
    return head ? TripOf(head->TrunkBreakerType, head->TrunkBreakerRating) : BreakerTrip{};
}

bool NetworkChecks::PanelTripCurrentHolds(double s, double p, double power, double uk,
                                          double losses) {
    const BreakerTrip trip = PanelTripCurrent();
    return CurrentExceeds(FaultAtPanel(p, s, {"", power, uk, losses}), trip);
}

bool NetworkChecks::RaisePanelCableForPanelTrip(double s, double p, double power, double uk) {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!panel) return false;
    const bool cascade = InCascade(*panel);
    // A cascade is raised in its feeders; they come back, neutral sections with them, when the
    // raise fails.
    const std::vector<FeederSections> feeders =
        cascade ? KeepChainFeeders() : std::vector<FeederSections>{};
    const BreakerTrip trip = PanelTripCurrent();
    const selection::TransformerRow t = TransformerOf(power, uk);
    double c = p;
    double current = FaultAtPanel(c, s, t);
    for (double entry : Candidates(panel->FeederSections, panel->FeederSectionCount, p)) {
        if (CurrentExceeds(current, trip, true)) break;
        if (cascade) {
            StepCascadeMemberSection(panel);
            sw->Panels.Cursor = panel;
        } else {
            c = entry;
        }
        current = FaultAtPanel(c, s, t);
    }
    sw->Panels.Cursor = panel;
    if (CurrentExceeds(current, trip)) {
        if (!cascade) selection::RadialSection(*panel) = c;
        return true;
    }
    PutBackChainFeeders(feeders);
    return false;
}

bool NetworkChecks::RaiseSwitchboardCableForPanelTrip(double s, double p, double power, double uk) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!sw) return false;
    for (double c : Candidates(sw->SwitchboardSections, sw->SwitchboardSectionCount, s)) {
        if (RaisePanelCableForPanelTrip(c, p, power, uk)) {
            sw->SwitchboardSection = std::max(sw->SwitchboardSection, c);
            return true;
        }
    }
    return false;
}

bool NetworkChecks::RaiseTransformerForPanelTrip(double s, double p, double, double) {
    platform::KeepProgramFolderCurrent();
    if (!ProjectRoot) return false;
    const std::string kept = ProjectRoot->TransformerName;
    const BreakerTrip trip = PanelTripCurrent();
    const std::vector<selection::TransformerRow> rows = selection::TransformerRows();
    const std::optional<std::size_t> start = selection::FindTransformer(rows, kept);
    if (!start) return false;
    for (std::size_t t = *start; t < rows.size(); ++t) {
        if (CurrentExceeds(FaultAtPanel(p, s, rows[t]), trip, true) ||
            RaisePanelCableForPanelTrip(s, p, rows[t].power, rows[t].uk) ||
            RaiseSwitchboardCableForPanelTrip(s, p, rows[t].power, rows[t].uk)) {
            TakeTransformer(rows[t]);
            return true;
        }
    }
    ProjectRoot->TransformerName = kept;
    return false;
}

void NetworkChecks::EnsurePanelTripCurrent() {
    platform::KeepProgramFolderCurrent();
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!ProjectRoot || !panel) return;
    const Cursors at = SaveCursors();
    const bool cascade = InCascade(*panel);
    const double s = sw->SwitchboardSection;
    const double p = cascade ? selection::CascadeSection(*panel) : selection::RadialSection(*panel);
    if (!cascade && selection::RadialSection(*panel) == 0.0) {
        panel->PanelFaultCurrent1 = 0.0;
        return;
    }
    // A breaker whose series the base does not hold trips on nothing: nothing to raise.
    if (!PanelTripCurrent().known) {
        PutBack(at);
        return;
    }
    const auto [rows, project] = selection::RowsWithProjectTransformer();
    if (!project) return;
    const selection::TransformerRow& t = rows[*project];

    bool ok = PanelTripCurrentHolds(s, p, t.power, t.uk, t.losses);
    PutBack(at);
    if (!ok) ok = RaisePanelCableForPanelTrip(s, p, t.power, t.uk);
    PutBack(at);
    if (!ok) ok = RaiseSwitchboardCableForPanelTrip(s, p, t.power, t.uk);
    PutBack(at);
    if (!ok) ok = RaiseTransformerForPanelTrip(s, p, t.power, t.uk);
    PutBack(at);
    if (!ok) return;

    const auto [now, taken] = selection::RowsWithProjectTransformer();
    if (!taken) return;
    if (!cascade) {
        panel->PanelFaultCurrent1 =
            FaultAtPanel(selection::RadialSection(*panel), sw->SwitchboardSection, now[*taken]);
    } else {
        CascadeFaultCurrents();
    }
    PutBack(at);
    sw->SwitchboardFaultCurrent1 = FaultAtSwitchboard(sw->SwitchboardSection, now[*taken]);
    PutBack(at);
}

// ---------------------------------------------------------------------------------------------
// Cascades

void NetworkChecks::CascadeFaultCurrents() {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!ProjectRoot || !sw) return;
    const auto [rows, project] = selection::RowsWithProjectTransformer();
    if (!project) return;
    const selection::TransformerRow& t = rows[*project];
    const std::vector<TSitid*> panels =
        chains::Elements(sw->Panels, chains::PanelLink{}, sw->PanelCount);
    const auto store = [&](TSitid& q) {
        sw->Panels.Cursor = &q;
        selection::FaultPath path;
        path.panelLength = q.FeederLength;
        path.panelSection = selection::RadialSection(q);
        path.panelMaterial = q.FeederConductorMaterial;
        path.switchboardLength = sw->SwitchboardFeederLength;
        path.switchboardSection = sw->SwitchboardSection;
        path.switchboardMaterial = sw->SwitchboardConductorMaterial;
        path.panel = &q;
        q.PanelFaultCurrent1 = selection::FaultCurrent(path, t);
    };
    const auto listed = [&](int number) {
        return std::any_of(panels.begin(), panels.end(),
                           [&](const TSitid* q) { return q->PanelNumber == number; });
    };
    // Every member whose feeding panel is in the list, from the end of the list; then every
    // head that one of them hangs on directly. Each panel once.
    std::vector<int> fedHeads;
    for (auto it = panels.rbegin(); it != panels.rend(); ++it) {
        TSitid& q = **it;
        if (!q.FedFromPanel || !listed(q.FeedingPanelNumber)) continue;
        store(q);
        fedHeads.push_back(q.FeedingPanelNumber);
    }
    for (auto it = panels.rbegin(); it != panels.rend(); ++it) {
        TSitid& q = **it;
        if (q.FedFromSwitchboard &&
            std::find(fedHeads.begin(), fedHeads.end(), q.PanelNumber) != fedHeads.end())
            store(q);
    }
}
