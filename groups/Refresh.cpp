// The refresh after a change of the network or its group lines: the edit states end, elements
// without load lose their computed values, the cables, deviations and short-circuit values of the
// whole project are selected again, and the picture the scheme window shows is drawn again.
#include <algorithm>
#include <optional>

#include "app/DialogForm.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "drawings/PanelChooser.h"
#include "editing/EditDialog.h"
#include "editing/Shiti12.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "platform/ClientDataSet.h"
#include "platform/Image.h"
#include "platform/Messages.h"
#include "selection/CheckSupport.h"
#include "selection/CheckWindows.h"

namespace {

// Rounds of the short-circuit data and the cable pass a refresh runs at most.
constexpr int kSettlingRounds = 4;

// Whether refreshes leave alone the switchboards that did not change.
bool limitRefreshes = true;

// The arrow cursor and the wait notice closed when the refresh ends, however it ends.
class RefreshRun {
public:
    RefreshRun() = default;
    ~RefreshRun() {
        hourglass.reset();
        CloseWaitNotice();
    }
    RefreshRun(const RefreshRun&) = delete;
    RefreshRun& operator=(const RefreshRun&) = delete;

    std::optional<platform::WaitCursor> hourglass;
};

// The panels of a switchboard, counted along its chain, each made current in turn.
template <typename Visit>
void ForEachCountedPanel(TGrsed& root, TGrsed& sw, Visit visit) {
    chains::ForEachPanelOf(sw, root.CountPanels(), [&](TSitid& panel) {
        root.Switchboards.Cursor = &sw;
        sw.Panels.Cursor = &panel;
        visit(panel);
    });
}

// Every cross-section the cable passes and the raising choose, in tree order, switchboard by
// switchboard.
using SwitchboardSections = std::vector<std::pair<const TGrsed*, std::vector<double>>>;
SwitchboardSections ProjectSections(const TGrsed& root) {
    SwitchboardSections all;
    for (const TGrsed* sw : chains::SwitchboardsOf(root)) {
        std::vector<double>& sections = all.emplace_back(sw, std::vector<double>{}).second;
        sections.push_back(sw->SwitchboardSection);
        for (const TSitid* panel : chains::PanelsOf(*sw)) {
            sections.insert(sections.end(), {panel->FeederSection, panel->FeederSection2,
                                             panel->FeederSectionByCurrent});
            chains::ForEachElement(
                panel->SchemeGroups, chains::SchemeLink{}, panel->SchemeGroupCount,
                [&](const TCxemaGrupd& group) { sections.push_back(group.CrossSection); });
        }
    }
    return all;
}

// The switchboards whose sections differ between two takes (every one of the later take when
// the switchboards themselves differ).
std::vector<const TGrsed*> RaisedBetween(const SwitchboardSections& before,
                                         const SwitchboardSections& after) {
    std::vector<const TGrsed*> raised;
    const bool same = before.size() == after.size();
    for (std::size_t i = 0; i < after.size(); ++i)
        if (!same || before[i] != after[i]) raised.push_back(after[i].first);
    return raised;
}

// The group lines of a panel, each its panel's current scheme record in turn, walked in place:
// the passes of a refresh link and unlink nothing.
template <typename Visit>
void ForEachGroup(TSitid& panel, Visit visit) {
    chains::ForEachElement(panel.SchemeGroups, chains::SchemeLink{}, panel.SchemeGroupCount,
                           [&](TCxemaGrupd& group) {
                               panel.SchemeGroups.Cursor = &group;
                               visit(group);
                           });
}

}  // namespace

void TDan1::ApplyAndRefresh(QObject* sender) {
    (void)sender;
    CloseQuietly();
    FailureFlag = 0;
    if (Form3) {
        Form3->ShortCircuitFailed = 0;
        Form3->PanelRestoredFlag = 0;
        Form3->EditedGroupRestored = 0;
        Form3->SwitchboardEditMode = 0;
        Form3->PanelEditMode = 0;
        Form3->GroupEditMode = 0;
    }
    RemedyActive = 0;
    // A line refused: the supply is the one the project had before it.
    if (SupplyBeforeLine && ProjectRoot) {
        ProjectRoot->TransformerName = SupplyBeforeLine->transformer;
        ProjectRoot->SupplyScPower = SupplyBeforeLine->scPower;
        selection::SelectTransformerInPowerSystem(ProjectRoot->TransformerName);
        SupplyBeforeLine.reset();
    }
    RefreshProject();
}

void TDan1::SettleGroupEntry() {
    if (EnteringNewLines()) RefreshProject();
}

void TDan1::RefreshProject() {
    RefreshRun run;
    // Every table file is checked once for the whole refresh.
    platform::FileCheckBatch batch;
    TGrsed* root = ProjectRoot;
    if (!root) return;
    if (!root->Switchboards.First) {
        if (root->TotalPhasePowerA == 0.0) ResetUnloadedRoot(*root);
        if (Form1) Form1->ShowNetworkScheme();
        ListNamesFromTree();
        return;
    }

    // Panels re-created at the end of a chain go back behind the panel they hang on.
    chains::ForEachSwitchboard(*root, [&](TGrsed& sw) {
        if (!sw.ChangedMark || !Form3) return;
        Form3->RepairPanelFeeds();
        root->Switchboards.Cursor = &sw;
    });
    ResetUnloadedElements();
    run.hourglass.emplace();
    // Cascades: every head in front of its members.
    chains::ForEachSwitchboard(*root, [&](TGrsed& sw) {
        sw.Panels.Cursor = sw.Panels.First;
        TSitid* panel = sw.Panels.First;
        for (int i = 0; panel && i < sw.PanelCount; ++i) {
            if (panel->FedFromSwitchboard) {
                root->Switchboards.Cursor = &sw;
                sw.Panels.Cursor = panel;
                ReorderCascade(panel);
                // The head, wherever the reordering put it.
                if (sw.Panels.Cursor) panel = sw.Panels.Cursor;
            }
            panel = panel->Panels.Next;
        }
    });
    // Whatever ends the refresh, the passes select every switchboard again afterwards.
    struct SelectAllAfterwards {
        bool& all;
        bool& losses;
        ~SelectAllAfterwards() {
            all = true;
            losses = false;
        }
    } selectAllAfterwards{selectingAll_, lossesReachAll_};
    // Only the switchboards that changed since the last refresh are selected again, as long as
    // the values they all read and the tables are those it ended with: the others would come
    // out as they are.
    selectingAll_ = !limitRefreshes || !settled_.SameFaultShared(*root);
    lossesReachAll_ = !selectingAll_ && !settled_.SameShared(*root);
    selecting_.clear();
    if (!selectingAll_) selecting_ = settled_.Changed(*root);
    selectedWith_ = SettledSwitchboards::SharedOf(*root);
    passFailed_ = false;
    // Short-circuit data (the supplies raised until their breakers trip), then cables and
    // deviations. A section raised on the way changes the fault currents found before it: both
    // run again until no section changes, so that a refresh of the project refreshed changes
    // nothing. Sections only grow, so it ends; the bound is a guard.
    bool settled = false;
    std::vector<const TGrsed*> raised;
    SwitchboardSections sectionsAfter;
    for (int round = 0; round < kSettlingRounds && !settled; ++round) {
        if (round > 0 && !selectingAll_) {
            // A section raised changes the fault currents and the losses of its switchboard;
            // the switchboards whose sections stayed would come out of the round as they are.
            // After a failure the round selects what the first did (every one that the losses
            // reach), so that it reports the same again.
            if (!passFailed_)
                roundSelects_ = raised;
            else if (lossesReachAll_)
                selectingAll_ = true;
        }
        // The sections the last round ended with are those this one starts with.
        const SwitchboardSections before =
            round == 0 ? ProjectSections(*root) : std::move(sectionsAfter);
        EnsureTripCurrents();
        sectionsAfter = SelectCablesAndDeviations();
        settled = sectionsAfter == before;
        raised = RaisedBetween(before, sectionsAfter);
        for (const TGrsed* sw : raised)
            if (std::find(selecting_.begin(), selecting_.end(), sw) == selecting_.end())
                selecting_.push_back(sw);
    }
    roundSelects_.reset();
    const bool all = selectingAll_ || lossesReachAll_;
    ComputeShortCircuitCurrents();
    selectingAll_ = true;
    chains::ForEachSwitchboard(*root, [&](TGrsed& sw) {
        CheckSwitchboardCables();
        root->Switchboards.Cursor = &sw;
    });
    RedrawPicture();
    ListNamesFromTree();
    // What this refresh left, the places the drawing gave the switchboards included, is what
    // the next one compares with. After a failure, sections still moving, or a value every
    // switchboard reads changed on the way (the switchboards selected before the change keep
    // what they were selected with until the next refresh selects them), the next one selects
    // everything.
    if (settled && !passFailed_ && SettledSwitchboards::SharedOf(*root) == selectedWith_) {
        std::vector<const TGrsed*> selected = selecting_;
        if (all) {
            const std::vector<TGrsed*> every = chains::SwitchboardsOf(*root);
            selected.assign(every.begin(), every.end());
        }
        settled_.Keep(*root, selected);
    } else {
        settled_.Forget();
    }
    // Nothing the passes above ran into is pending any more.
    FailureFlag = 0;
}

void TDan1::ResetUnloadedElements() {
    TGrsed& root = *ProjectRoot;
    for (TGrsed* sw : chains::SwitchboardsOf(root)) {
        root.Switchboards.Cursor = sw;
        for (TSitid* panel : chains::Elements(sw->Panels, chains::PanelLink{}, root.CountPanels()))
            if (!panel->FedFromPanel && !panel->FedFromSwitchboard && panel->InstalledPower == 0.0)
                ResetUnloadedPanel(*panel);
    }
    for (TGrsed* sw : chains::SwitchboardsOf(root))
        if (sw->SwitchboardInstalledPower == 0.0) ResetUnloadedSwitchboard(*sw);
    if (root.TotalPhasePowerA == 0.0) ResetUnloadedRoot(root);
}

void TDan1::LimitRefreshesToChanges(bool limit) {
    limitRefreshes = limit;
}

bool TDan1::Selects(const TGrsed& sw, bool losses) const {
    if (selectingAll_) return true;
    if (roundSelects_)
        return std::find(roundSelects_->begin(), roundSelects_->end(), &sw) != roundSelects_->end();
    return (losses && lossesReachAll_) ||
           std::find(selecting_.begin(), selecting_.end(), &sw) != selecting_.end();
}

void TDan1::AfterSelecting() {
    if (ProjectRoot && !(SettledSwitchboards::SharedOf(*ProjectRoot) == selectedWith_))
        selectingAll_ = true;
}

void TDan1::EnsureTripCurrents() {
    TGrsed& root = *ProjectRoot;
    chains::ForEachSwitchboard(root, [&](TGrsed& sw) {
        if (!Selects(sw, false)) return;
        EnsureSwitchboardTripCurrent();
        ForEachCountedPanel(root, sw, [&](TSitid& panel) {
            EnsurePanelTripCurrent();
            ForEachGroup(panel, [&](TCxemaGrupd&) {
                root.Switchboards.Cursor = &sw;
                sw.Panels.Cursor = &panel;
                EnsureGroupTripCurrent();
            });
        });
        AfterSelecting();
    });
}

bool TDan1::CablePass(bool raise) {
    TGrsed& root = *ProjectRoot;
    bool ok = true;
    // Without raising the walk ends at the first failure; the refresh's raising walk goes on.
    const auto passed = [&](bool step) {
        if (!step) ok = false;
        if (!step) passFailed_ = true;
        return step || raise;
    };
    for (TGrsed* sw : chains::SwitchboardsOf(root)) {
        if (!Selects(*sw)) continue;
        // A switchboard selected only for the project's load, in the refresh's first raising
        // walk: its lines' own sections and losses, which the load does not reach, are those the
        // last refresh left; their deviations are taken again below. A walk after sections were
        // raised takes everything again.
        const bool linesAsLeft = raise && !Selects(*sw, false);
        root.Switchboards.Cursor = sw;
        if (!passed(CheckSwitchboardCables())) return false;
        for (TSitid* panel :
             chains::Elements(sw->Panels, chains::PanelLink{}, root.CountPanels())) {
            root.Switchboards.Cursor = sw;
            sw->Panels.Cursor = panel;
            if (!passed(CheckPanelCables())) return false;
            sw->Panels.Cursor = panel;
            if (panel->OnTrunk) {
                if (!passed(CheckShiftedPanelCables())) return false;
                sw->Panels.Cursor = panel;
            }
            SumPanelVoltageLosses();
            ForEachGroup(*panel, [&](TCxemaGrupd& group) {
                if (!ok && !raise) return;
                const std::string name = group.GroupName;
                root.Switchboards.Cursor = sw;
                sw->Panels.Cursor = panel;
                if (linesAsLeft)
                    FailureFlag = 0;  // as the line's own choice, found again, leaves it
                else if (!passed(CheckGroupCables(name)))
                    return;
                sw->Panels.Cursor = panel;
                if (raise) {
                    const double deviation =
                        VoltageDeviation(GroupVoltageLoss(name, group.CrossSection), 220.0);
                    // Nothing to raise: the raising and the line after it would only take the
                    // same loss twice more from the same values.
                    if (limitRefreshes && !RaisesFor(deviation)) {
                        group.VoltageDeviation = deviation;
                        return;
                    }
                    panel->SchemeGroups.Cursor = &group;
                    RaiseCrossSections(group.VoltageDeviation, deviation);
                    root.Switchboards.Cursor = sw;
                    sw->Panels.Cursor = panel;
                }
                group.VoltageDeviation =
                    VoltageDeviation(GroupVoltageLoss(name, group.CrossSection), 220.0);
            });
            if (!ok && !raise) return false;
            root.Switchboards.Cursor = sw;
            sw->Panels.Cursor = panel;
        }
        AfterSelecting();
    }
    return ok;
}

bool TDan1::SelectCablesWithoutRaising() {
    return CablePass(false);
}

TDan1::SwitchboardSections TDan1::SelectCablesAndDeviations() {
    const SwitchboardSections before = ProjectSections(*ProjectRoot);
    CablePass(true);
    // A section raised for one line (a supply or trunk shared with others) changes the losses
    // of the lines walked before it: they are taken again with the sections as they now stand,
    // in the switchboards where a section was raised (the others would come out as they are).
    SwitchboardSections after = ProjectSections(*ProjectRoot);
    if (after == before) return after;
    const std::optional<std::vector<const TGrsed*>> round = roundSelects_;
    if (!selectingAll_ && !passFailed_) roundSelects_ = RaisedBetween(before, after);
    CablePass(false);
    roundSelects_ = round;
    return ProjectSections(*ProjectRoot);
}

void TDan1::ComputeShortCircuitCurrents() {
    TGrsed& root = *ProjectRoot;
    // The project's transformer; without it the currents are 0, not computed from nothing.
    const auto [rows, found] = selection::RowsWithProjectTransformer();
    const selection::TransformerRow* t = found ? &rows[*found] : nullptr;
    // The switchboards that changed or were raised: the load alone reaches neither the fault
    // currents nor, once the cable pass took them, the losses of the others. After a failure,
    // every one the passes selected.
    chains::ForEachSwitchboard(root, [&](TGrsed& sw) {
        if (!Selects(sw, passFailed_)) return;
        StoreFaultCurrents(sw, t);
        // The group lines' losses on their phase records.
        ForEachCountedPanel(root, sw, [&](TSitid& panel) {
            ForEachGroup(panel, [&](TCxemaGrupd& group) {
                GroupVoltageLoss(group.GroupName, group.CrossSection);
                root.Switchboards.Cursor = &sw;
                sw.Panels.Cursor = &panel;
            });
        });
    });
}

void TDan1::StoreFaultCurrents(TGrsed& sw, const selection::TransformerRow* t) {
    TGrsed& root = *ProjectRoot;
    // The switchboard's own feeder from the transformer.
    const TGrsed::FaultInputs supply{.switchboardLength = sw.SwitchboardFeederLength,
                                     .switchboardSection = sw.SwitchboardSection,
                                     .transformerPower = t ? t->power : 0.0,
                                     .shortCircuitVoltage = t ? t->uk : 0.0,
                                     .shortCircuitLosses = t ? t->losses : 0.0,
                                     .switchboardMaterial = sw.SwitchboardConductorMaterial};
    root.Switchboards.Cursor = &sw;
    if (t) {
        sw.SwitchboardFaultCurrent1 = root.SinglePhaseFaultCurrent(supply);
        sw.SwitchboardFaultCurrent3 = root.ThreePhaseFaultCurrentAtGroup(supply);
        sw.SwitchboardSurgeCurrent = root.ThreePhaseFaultCurrent(supply);
    } else {
        sw.SwitchboardFaultCurrent1 = sw.SwitchboardFaultCurrent3 = 0.0;
        sw.SwitchboardSurgeCurrent = 0.0;
    }
    ForEachCountedPanel(root, sw, [&](TSitid& panel) {
        TGrsed::FaultInputs path = supply;
        path.panelLength = panel.FeederLength;
        path.panelSection = panel.FeederSection;
        path.panelMaterial = panel.FeederConductorMaterial;
        path.panel = &panel;
        // Each current with the panel current (a cascade's walk leaves the first one current).
        const auto current = [&](auto fault) {
            root.Switchboards.Cursor = &sw;
            sw.Panels.Cursor = &panel;
            const double value = t ? (root.*fault)(path) : 0.0;
            root.Switchboards.Cursor = &sw;
            sw.Panels.Cursor = &panel;
            return value;
        };
        panel.PanelFaultCurrent3 = current(&TGrsed::ThreePhaseFaultCurrentAtGroup);
        panel.PanelSurgeCurrent = current(&TGrsed::ThreePhaseFaultCurrent);
        if (!t) {
            panel.PanelFaultCurrent1 = 0.0;
            ForEachGroup(panel, [](TCxemaGrupd& group) { group.SinglePhaseFaultCurrent = 0.0; });
            return;
        }
        // The panel's single-phase loop is the one its group lines share: taken once, the panel's
        // current from it with no line, and each line's current at its end, for the sections in
        // force, whether its breaker trips on it or not (the checks of a change said so).
        root.Switchboards.Cursor = &sw;
        sw.Panels.Cursor = &panel;
        const TGrsed::LoopWithoutLine loop = root.SinglePhaseLoopWithoutLine(path);
        panel.PanelFaultCurrent1 = root.SinglePhaseFaultCurrentOfLine(loop, path);
        ForEachGroup(panel, [&](TCxemaGrupd& group) {
            path.groupLength = group.LineLength;
            path.groupSection = group.CrossSection;
            path.groupMaterial = group.ConductorMaterial;
            root.Switchboards.Cursor = &sw;
            sw.Panels.Cursor = &panel;
            group.SinglePhaseFaultCurrent = root.SinglePhaseFaultCurrentOfLine(loop, path);
        });
    });
}

std::vector<std::string> TDan1::ComputeAllFaultCurrents() {
    TGrsed& root = *ProjectRoot;
    const auto [rows, found] = selection::RowsWithProjectTransformer();
    const selection::TransformerRow* t = found ? &rows[*found] : nullptr;
    std::vector<std::string> untripped;
    // The lines of a project share a few series: the last one's trip is kept.
    std::string series;
    BreakerTrip perAmpere;
    chains::ForEachSwitchboard(root, [&](TGrsed& sw) {
        StoreFaultCurrents(sw, t);
        if (!t) return;
        ForEachCountedPanel(root, sw, [&](TSitid& panel) {
            ForEachGroup(panel, [&](TCxemaGrupd& group) {
                if (group.BreakerRating <= 0) return;
                if (series.empty() || group.BreakerType != series) {
                    series = group.BreakerType;
                    perAmpere = TripOf(series, 1.0);
                }
                // A breaker of a series the base holds that does not trip at the line's end.
                const BreakerTrip trip{perAmpere.multiplicity,
                                       group.BreakerRating * perAmpere.multiplicity,
                                       perAmpere.known};
                if (trip.known && !CurrentExceeds(group.SinglePhaseFaultCurrent, trip))
                    untripped.push_back(group.GroupName);
            });
        });
    });
    root.ResetCursors();
    return untripped;
}

void TDan1::RedrawPicture() {
    if (!Form1 || !Form2) return;
    if (!Form2->Image1) Form2->NewPicture()->SetTag(GeneralSchemePicture);
    switch (Form2->PictureKind()) {
        case GeneralSchemePicture:
            Form1->ShowNetworkScheme();
            break;
        case PanelDiagramPicture: {
            TGrsed& root = *ProjectRoot;
            const int chosen = Form5 ? Form5->PanelNumber : 0;
            chains::ForEachSwitchboard(root, [&](TGrsed& sw) {
                ForEachCountedPanel(root, sw, [&](TSitid& panel) {
                    if (panel.PanelNumber == chosen) Form1->DrawPanelScheme(panel.SchemeGroupCount);
                });
            });
            break;
        }
        case PanelPhasingPicture:
            Form1->DrawPanelPhasing(Form5 ? Form5->PanelNumber : 0);
            break;
        default:
            break;
    }
}

void TDan1::ListNamesFromTree() {
    if (!ProjectRoot) return;
    // In tree order: each switchboard's cable, then each of its panels' cable followed by the
    // cables of the panel's group lines. The lists are written over in place: a refresh lists
    // the same names again.
    std::vector<std::string> unused;
    std::vector<std::string>& cables = Shiti ? Shiti->CableNames : unused;
    std::size_t groupCount = 0;
    std::size_t cableCount = 0;
    const auto put = [](std::vector<std::string>& list, std::size_t& at, const std::string& name) {
        if (at < list.size())
            list[at] = name;
        else
            list.push_back(name);
        ++at;
    };
    for (const TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot)) {
        put(cables, cableCount, sw->SwitchboardCableName);
        for (const TSitid* panel : chains::PanelsOf(*sw)) {
            put(cables, cableCount, panel->FeederCableName);
            chains::ForEachElement(panel->SchemeGroups, chains::SchemeLink{},
                                   panel->SchemeGroupCount, [&](const TCxemaGrupd& group) {
                                       put(cables, cableCount, group.CableName);
                                       put(GroupNames, groupCount, group.GroupName);
                                   });
        }
    }
    GroupNames.resize(groupCount);
    cables.resize(cableCount);
}
