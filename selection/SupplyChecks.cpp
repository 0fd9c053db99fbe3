// The supply side: the check of the external system's short-circuit power over every breaker of
// the project, the transformer raised for the load, and the switchboard supply raised (cable,
// then transformer) until the breaker feeding the switchboard trips.
#include "model/Cascades.h"
#include "model/Chains.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "selection/CheckSupport.h"
#include "selection/CheckWindows.h"
#include "selection/NetworkChecks.h"
#include "selection/SelectionSupport.h"

namespace {

using cascades::InCascade;

}  // namespace

// ---------------------------------------------------------------------------------------------
// The external system's short-circuit power

bool NetworkChecks::CheckSystemShortCircuitPower() {
    TGrsed* root = ProjectRoot;
    if (!root) return true;
    platform::MakeProgramFolderCurrent();
    const auto [rows, project] = selection::RowsWithProjectTransformer();
    // Without the project's transformer there is nothing to hold the breakers against.
    if (!project) return true;
    const selection::TransformerRow& transformer = rows[*project];

    const Cursors at = SaveCursors();
    bool passed = true;
    for (TGrsed* sw : selection::SwitchboardsOf(*root)) {
        if (!passed) break;
        if (sw->SwitchboardInstalledPower == 0.0) continue;
        root->Switchboards.Cursor = sw;
        sw->Panels.Cursor = nullptr;
        selection::FaultPath supply;
        supply.switchboardLength = sw->SwitchboardFeederLength;
        supply.switchboardSection = sw->SwitchboardSection;
        supply.switchboardMaterial = sw->SwitchboardConductorMaterial;
        if (!CurrentExceeds(selection::FaultCurrent(supply, transformer),
                            TripOf(sw->SwitchboardBreakerType, sw->SwitchboardInputRating))) {
            passed = false;
            break;
        }
        for (TSitid* panel : chains::Elements(sw->Panels, chains::PanelLink{}, sw->PanelCount)) {
            // A panel in a cascade is protected by its head's trunk breaker.
            BreakerTrip trip;
            if (!InCascade(*panel)) {
                trip = TripOf(panel->PanelBreakerType, panel->FeederBreakerRating);
            } else if (const TSitid* head = selection::CascadeHeadOf(*sw, panel)) {
                trip = TripOf(head->TrunkBreakerType, head->TrunkBreakerRating);
            }
            sw->Panels.Cursor = panel;
            TCxemaGrupd* groupCursor = panel->SchemeGroups.Cursor;
            panel->SchemeGroups.Cursor = nullptr;
            selection::FaultPath feeder = supply;
            feeder.panelLength = panel->FeederLength;
            feeder.panelSection = selection::RadialSection(*panel);
            feeder.panelMaterial = panel->FeederConductorMaterial;
            feeder.panel = panel;
            passed = CurrentExceeds(selection::FaultCurrent(feeder, transformer), trip);
            for (TCxemaGrupd* group : chains::Elements(panel->SchemeGroups, chains::SchemeLink{},
                                                       panel->SchemeGroupCount)) {
                if (!passed) break;
                sw->Panels.Cursor = panel;
                panel->SchemeGroups.Cursor = group;
                selection::FaultPath line = feeder;
                line.groupLength = group->LineLength;
                line.groupSection = group->CrossSection;
                line.groupMaterial = group->ConductorMaterial;
                passed = CurrentExceeds(selection::FaultCurrent(line, transformer),
                                        TripOf(group->BreakerType, group->BreakerRating));
            }
            panel->SchemeGroups.Cursor = groupCursor;
            if (!passed) break;
        }
    }
    PutBack(at);
    if (passed) return true;
    platform::MessageBox("Увеличите мощность короткого замыкания внешней энергосистемы.",
                         "Предупреждение", platform::MsgButtons::Ok, platform::MsgIcon::Warning);
    return false;
}

// ---------------------------------------------------------------------------------------------
// Transformer for the load

double NetworkChecks::SelectTransformerForLoad(const std::string& transformerName, double load) {
    transformerBaseRanOut_ = false;
    TGrsed* root = ProjectRoot;
    if (!root) return 0.0;
    platform::MakeProgramFolderCurrent();
    const std::vector<selection::TransformerRow> rows = selection::TransformerRows();
    std::size_t i = 0;
    while (i < rows.size() && rows[i].name != root->TransformerName) ++i;
    double power = 0.0;
    if (i < rows.size() && rows[i].name == transformerName) power = rows[i].power;
    if (load > power) {
        // Each row after the project's is tried once, rows of equal power included.
        while (power <= load && i < rows.size()) {
            // Past the last row the base stays on it: its power and name count.
            const std::size_t row = ++i < rows.size() ? i : rows.size() - 1;
            power = rows[row].power;
            root->TransformerName = rows[row].name;
        }
    }
    transformerBaseRanOut_ = i >= rows.size();
    selection::PlaceTransformerBase(i);
    return power;
}

// ---------------------------------------------------------------------------------------------
// Switchboard supply trip

double NetworkChecks::FaultAtSwitchboard(double s, const selection::TransformerRow& t) {
    const TGrsed* sw = selection::CurrentSwitchboard();
    if (!sw) return 0.0;
    return selection::FaultCurrent(selection::FaultPathThrough(*sw, s), t);
}

void NetworkChecks::TakeTransformer(const selection::TransformerRow& row) {
    if (!ProjectRoot) return;
    ProjectRoot->TransformerName = row.name;
    selection::SelectTransformerInPowerSystem(row.name);
}

void NetworkChecks::EnsureSwitchboardTripCurrent() {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!ProjectRoot || !sw) return;
    platform::MakeProgramFolderCurrent();
    const BreakerTrip trip = TripOf(sw->SwitchboardBreakerType, sw->SwitchboardInputRating);
    if (trip.Unchecked()) return;
    selection::ReloadTransformerBase();
    const auto [rows, project] = selection::RowsWithProjectTransformer();
    if (!project) return;
    const std::vector<double>& sections = sw->SwitchboardSections;
    const std::size_t count = std::min(
        sections.size(), static_cast<std::size_t>(std::max(sw->SwitchboardSectionCount, 0)));
    std::size_t i = 0;
    while (i < count && sections[i] != sw->SwitchboardSection) ++i;
    if (i == count) return;  // the section in force is not in its table: no starting point

    std::size_t t = *project;
    double section = sections[i];
    double current = FaultAtSwitchboard(section, rows[t]);
    while (!CurrentExceeds(current, trip, true)) {
        if (++i == count) {
            // The table is exhausted: the next transformer, from the smallest section. At the
            // end of the base nothing is changed.
            if (++t == rows.size()) return;
            i = 0;
        }
        section = sections[i];
        current = FaultAtSwitchboard(section, rows[t]);
    }
    // A current equal to the trip current changes nothing.
    if (!CurrentExceeds(current, trip)) return;
    ProjectRoot->TransformerName = rows[t].name;
    if (sw->SwitchboardSection < section) {
        sw->SwitchboardSection = section;
        sw->SwitchboardFaultCurrent1 = current;
    } else {
        SwitchboardFaultCurrent();
    }
    selection::SelectTransformerInPowerSystem(ProjectRoot->TransformerName);
}

void NetworkChecks::SwitchboardFaultCurrent() {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!ProjectRoot || !sw) return;
    const auto [rows, project] = selection::RowsWithProjectTransformer();
    if (!project) return;
    sw->SwitchboardFaultCurrent1 = FaultAtSwitchboard(sw->SwitchboardSection, rows[*project]);
}
