// Cross-sections raised, one table entry at a time, until the voltage deviation at the current
// group reaches a target; and the deviation limit the user asks for.
#include <algorithm>
#include <cstdint>

#include "model/Cascades.h"
#include "model/Chains.h"
#include "platform/Conversions.h"
#include "platform/Messages.h"
#include "selection/CheckSupport.h"
#include "selection/NetworkChecks.h"
#include "selection/SelectionSupport.h"

namespace {

using cascades::InCascade;

// Steps the stored section to the next entry of its array (the last entry stays). True when it
// already was the last entry, or is no entry at all: it cannot step.
bool StepInArray(double& stored, const std::vector<double>& sections, int count) {
    const std::size_t n = std::min(sections.size(), static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < n; ++i) {
        if (sections[i] != stored) continue;
        if (i + 1 == n) return true;
        stored = sections[i + 1];
        return false;
    }
    return true;
}

// One entry up a cascade feeder's own array, its neutral section following.
bool StepFeeder(TSitid& q) {
    const bool last =
        StepInArray(selection::CascadeSection(q), q.FeederSections, q.FeederSectionCount);
    q.FeederNeutralSection =
        selection::NodeTableSection(q.ZeroCoreTable, q.FeederSections, q.FeederZeroSections,
                                    q.FeederSectionCount, selection::CascadeSection(q));
    return last;
}

// The values of the current switchboard's branch as an operation found them, put back when one
// of the operation's passes or table lookups has failed (FailureFlag set, the reason said), so
// that the operation leaves nothing of its own behind; the flag stays set.
class UndoOnFailure {
public:
    UndoOnFailure(std::uint8_t& failureFlag, TGrsed* sw, TSitid* panel)
        : flag_(failureFlag), kept_(sw, panel) {
        flag_ = 0;
    }
    bool Failed() {
        if (!flag_) return false;
        kept_.Restore();
        return true;
    }

private:
    std::uint8_t& flag_;
    selection::BranchValues kept_;
};

double Max3(double a, double b, double c) {
    return std::max({a, b, c});
}

}  // namespace

double NetworkChecks::DeviationAt(const std::string& groupName, double section) {
    return VoltageDeviation(GroupVoltageLoss(groupName, section), 220);
}

// ---------------------------------------------------------------------------------------------
// Steps

bool NetworkChecks::StepShiftedCrossSection() {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!panel) return true;
    double& section = selection::ShiftedSection(*panel);
    const bool last = StepInArray(section, sw->SwitchboardSections, sw->SwitchboardSectionCount);
    panel->FeederNeutralSection = LookupNodeTable(panel->ZeroCoreTable, 1, section);
    return last;
}

bool NetworkChecks::StepSwitchboardCrossSection() {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!sw) return true;
    const bool last =
        StepInArray(sw->SwitchboardSection, sw->SwitchboardSections, sw->SwitchboardSectionCount);
    sw->SwitchboardNeutralSection =
        LookupNodeTable(sw->SwitchboardZeroCoreTable, 0, sw->SwitchboardSection);
    return last;
}

bool NetworkChecks::StepPanelCrossSection() {
    TSitid* panel = selection::CurrentPanel();
    if (!panel) return true;
    double& section = selection::RadialSection(*panel);
    const bool last = StepInArray(section, panel->FeederSections, panel->FeederSectionCount);
    panel->FeederNeutralSection = LookupNodeTable(panel->ZeroCoreTable, 1, section);
    return last;
}

bool NetworkChecks::StepCascadeMemberSection(TSitid* panel) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw) return false;
    bool result = false;
    selection::WalkUpChain(
        *sw, panel,
        [&](TSitid& q) {
            if (selection::CascadeSection(q) <= 0) return false;
            const bool last = StepFeeder(q);
            result = panel->FedFromPanel && last;
            return true;
        },
        [&](TSitid& q) {
            const bool last = StepFeeder(q);
            result = panel->FedFromSwitchboard && last;
        });
    return result;
}

bool NetworkChecks::StepCascadeSections(TSitid* panel) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw) return false;
    const int head = panel->CascadeHeadNumber;
    const std::vector<TSitid*> panels = selection::PanelsInFeedOrder(*sw);
    const auto isHead = [&](const TSitid& q) {
        return q.FedFromSwitchboard && (q.PanelNumber == head || &q == panel);
    };
    const auto isMember = [&](const TSitid& q) {
        return q.FedFromPanel && q.CascadeHeadNumber == head;
    };
    int n = 0;
    for (TSitid* q : panels) {
        if (isHead(*q) || isMember(*q)) ++n;
        if (q == panel && !panel->FedFromSwitchboard) break;
    }
    int k = 0;
    for (TSitid* q : panels) {
        if ((isHead(*q) || isMember(*q)) && StepCascadeMemberSection(q)) ++k;
        if (q == panel) break;
    }
    return n == k;
}

void NetworkChecks::WithTableSections(const TSitid& panel, bool& ok,
                                      const std::function<void(const std::vector<double>&)>& use) {
    if (!ok) return;
    const std::optional<std::vector<double>> sections = TableSections(panel.CurrentTableName);
    ok = sections.has_value();
    if (ok) use(*sections);
}

void NetworkChecks::FindCrossSectionIndex(TSitid* panel) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw) return;
    // A table that gives no sections ends the walk (FailureFlag set, said so).
    bool ok = true;
    const auto note = [&](TSitid& q) {
        WithTableSections(q, ok, [&](const std::vector<double>& sections) {
            const auto found =
                std::find(sections.begin(), sections.end(), selection::CascadeSection(q));
            if (found != sections.end())
                q.SectionIndex = static_cast<int>(found - sections.begin()) + 1;
        });
    };
    selection::WalkUpChain(
        *sw, panel,
        [&](TSitid& q) {
            note(q);
            return !ok;
        },
        note);
}

void NetworkChecks::RestoreCascadeSections(TSitid* panel) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw) return;
    bool ok = true;
    const auto restore = [&](TSitid& q) {
        WithTableSections(q, ok, [&](const std::vector<double>& sections) {
            if (q.SectionIndex >= 1 && q.SectionIndex <= static_cast<int>(sections.size()))
                selection::CascadeSection(q) = sections[q.SectionIndex - 1];
        });
    };
    bool sized = false;
    selection::WalkUpChain(
        *sw, panel,
        [&](TSitid& q) {
            if (selection::CascadeSection(q) > 0) sized = true;
            if (sized) restore(q);
            return !ok;
        },
        restore);
}

// ---------------------------------------------------------------------------------------------
// Loss maxima

double NetworkChecks::GroupLossMax() {
    TSitid* panel = selection::CurrentPanel();
    const TCxemaGrupd* group = panel ? panel->SchemeGroups.Cursor : nullptr;
    if (!group) return 0.0;
    double largest = 0.0;
    for (int x = 0; x < 3; ++x) {
        if (group->PhaseKind == 2 && panel->SinglePhaseByPhase[x].Cursor)
            largest = std::max(largest, panel->SinglePhaseByPhase[x].Cursor->VoltageLoss1);
        if (group->PhaseKind == 3 && panel->TwoPhaseByPhase[x].Cursor)
            largest = std::max(largest, panel->TwoPhaseByPhase[x].Cursor->VoltageLoss2);
        if (group->PhaseKind == 4 && panel->ThreePhaseByPhase[x].Cursor)
            largest = std::max(largest, panel->ThreePhaseByPhase[x].Cursor->VoltageLoss3);
    }
    return largest;
}

double NetworkChecks::PanelLossMax() {
    const TSitid* p = selection::CurrentPanel();
    return p ? Max3(p->LossPartA, p->LossPartB, p->LossPartC) : 0.0;
}

double NetworkChecks::ShiftedLossMax() {
    const TSitid* p = selection::CurrentPanel();
    return p ? Max3(p->LossPart2A, p->LossPart2B, p->LossPart2C) : 0.0;
}

double NetworkChecks::SwitchboardLossMax() {
    const TGrsed* sw = selection::CurrentSwitchboard();
    return sw ? Max3(sw->SwitchboardLossA, sw->SwitchboardLossB, sw->SwitchboardLossC) : 0.0;
}

// ---------------------------------------------------------------------------------------------
// Raising

std::vector<double> NetworkChecks::RaisedSections() {
    std::vector<double> sections;
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!sw) return sections;
    sections.push_back(sw->SwitchboardSection);
    for (TSitid* q : selection::PanelsToChainEnd(*sw)) {
        sections.push_back(selection::RadialSection(*q));
        sections.push_back(selection::CascadeSection(*q));
        sections.push_back(selection::ShiftedSection(*q));
    }
    if (panel && panel->SchemeGroups.Cursor)
        sections.push_back(panel->SchemeGroups.Cursor->CrossSection);
    return sections;
}

void NetworkChecks::RaiseCrossSections(double target, double deviation) {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    TCxemaGrupd* group = panel ? panel->SchemeGroups.Cursor : nullptr;
    if (!group) return;
    const Cursors at = SaveCursors();
    const auto putBack = [&] {
        PutBack(at);
        panel->SchemeGroups.Cursor = group;
    };
    const std::string name = group->GroupName;
    if (!RaisesFor(deviation)) {
        group->VoltageDeviation = DeviationAt(name, group->CrossSection);
        putBack();
        return;
    }
    // A pass or table lookup that fails ends the raising: every section and loss as before.
    UndoOnFailure undo(FailureFlag, sw, panel);
    const auto failed = [&] {
        putBack();
        return undo.Failed();
    };
    const bool shifted = panel->OnTrunk != 0;
    const bool cascade = InCascade(*panel);
    bool upstreamExhausted = false;
    bool panelExhausted = false;
    double reached = deviation;
    while (reached < target) {
        const std::vector<double> before = RaisedSections();

        // Upstream and panel: the line with the larger loss first; an exhausted level hands on.
        const double upstreamLoss = shifted ? ShiftedLossMax() : SwitchboardLossMax();
        const double panelLoss = PanelLossMax();
        if (upstreamLoss >= panelLoss || panelExhausted) {
            upstreamExhausted = shifted ? StepShiftedCrossSection() : StepSwitchboardCrossSection();
            if (shifted)
                CheckShiftedPanelCables();
            else
                CheckSwitchboardCables();
            if (failed()) return;
        }
        if (upstreamLoss < panelLoss || upstreamExhausted) {
            if (!cascade) {
                panelExhausted = StepPanelCrossSection();
                if (shifted) CheckShiftedPanelCables();
            } else {
                TSitid* head = nullptr;
                TSitid* last = nullptr;
                FindCascadeEnds(panel, head, last);
                if (last && last->CascadeFlag) {
                    panelExhausted = StepCascadeMemberSection(panel);
                    CascadeMaxCrossSection(last);
                } else {
                    panelExhausted = StepCascadeSections(panel);
                }
            }
            if (failed()) return;
        }
        CheckSwitchboardCables();
        if (failed()) return;
        CheckPanelCables();
        if (failed()) return;
        SumPanelVoltageLosses();

        // The group line: the smallest section of its table that reaches the target.
        const std::optional<std::vector<double>> sections = TableSections(group->CableTable);
        if (failed()) return;
        if (!(DeviationAt(name, sections->back()) < target)) {
            for (double section : *sections) {
                reached = DeviationAt(name, section);
                const double lineLoss = GroupLossMax();
                const std::optional<double> largestSupply = LargestSection(sw->SwitchboardTable);
                if (failed()) return;
                double largestPanel = 0.0;
                double panelSection = 0.0;
                if (!cascade) {
                    const std::optional<double> largest = LargestSection(panel->CurrentTableName);
                    if (failed()) return;
                    largestPanel = *largest;
                    panelSection = selection::RadialSection(*panel);
                } else {
                    TSitid* head = nullptr;
                    TSitid* last = nullptr;
                    FindCascadeEnds(panel, head, last);
                    FindCrossSectionIndex(last);
                    if (failed()) return;
                    SetCascadeLargestSections(last);
                    largestPanel = selection::CascadeSection(*panel);
                    RestoreCascadeSections(last);
                    if (failed()) return;
                    panelSection = selection::CascadeSection(*panel);
                }
                putBack();
                const double supplySection =
                    shifted ? selection::ShiftedSection(*panel) : sw->SwitchboardSection;
                // Everything upstream at its largest: the smallest section that reaches it.
                if (supplySection == *largestSupply && panelSection == largestPanel &&
                    reached >= target) {
                    group->CrossSection = std::max(group->CrossSection, section);
                    group->VoltageDeviation = DeviationAt(name, group->CrossSection);
                    putBack();
                    return;
                }
                if (reached >= target) {
                    // A line that causes the larger part of the loss may take a smaller section.
                    if (lineLoss > upstreamLoss && lineLoss > panelLoss && section < panelSection &&
                        section < supplySection)
                        group->CrossSection = section;
                    reached = DeviationAt(name, group->CrossSection);
                    putBack();
                }
                if (reached >= target) {
                    group->VoltageDeviation = reached;
                    break;
                }
            }
        }
        // No level could step any further.
        if (reached < target && RaisedSections() == before) break;
    }
    putBack();
}

// ---------------------------------------------------------------------------------------------
// Deviation limit

double NetworkChecks::PresentGroupDeviation() {
    TSitid* panel = selection::CurrentPanel();
    TCxemaGrupd* group = panel ? panel->SchemeGroups.Cursor : nullptr;
    if (!group) return 0.0;
    const Cursors at = SaveCursors();
    const double deviation = DeviationAt(group->GroupName, group->CrossSection);
    PutBack(at);
    panel->SchemeGroups.Cursor = group;
    return deviation;
}

void NetworkChecks::ReduceDeviationToLimit(double limit) {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    TCxemaGrupd* group = panel ? panel->SchemeGroups.Cursor : nullptr;
    if (!group) return;
    const Cursors at = SaveCursors();
    const auto putBack = [&] {
        PutBack(at);
        panel->SchemeGroups.Cursor = group;
    };
    // A pass or table lookup that fails ends the reduction: everything as before, nothing more
    // said.
    UndoOnFailure undo(FailureFlag, sw, panel);
    const auto failed = [&] {
        putBack();
        return undo.Failed();
    };
    const std::string name = group->GroupName;
    if (limit > 0) limit = -limit;
    const double present = DeviationAt(name, group->CrossSection);
    putBack();
    group->VoltageDeviation = limit;
    const double best = VoltageDeviation(BestCaseGroupLoss(name), 220);
    putBack();

    if (best >= limit) {
        if (panel->DeviationWork == 0) panel->DeviationWork = panel->MaxVoltageLoss;
        const double now = DeviationAt(name, group->CrossSection);
        putBack();
        RaiseCrossSections(limit, now);
        if (failed()) return;
        group->VoltageDeviation = DeviationAt(name, group->CrossSection);
        putBack();
        return;
    }

    // Out of reach: as close as the largest sections allow, and said so.
    RaiseCrossSections(best, present);
    if (failed()) return;
    const std::optional<double> largestSupply = LargestSection(sw->SwitchboardTable);
    if (failed()) return;
    std::optional<double> largestPanel;
    if (!InCascade(*panel)) {
        largestPanel = LargestSection(panel->CurrentTableName);
        if (failed()) return;
    }
    group->VoltageDeviation = DeviationAt(name, group->CrossSection);
    putBack();
    platform::MessageBox("Макснмальное отклонение напряжения  " +
                             platform::FloatToStr(group->VoltageDeviation) + "%.",
                         "", platform::MsgButtons::Ok, platform::MsgIcon::None);

    if (panel->OnTrunk)
        selection::ShiftedSection(*panel) = *largestSupply;
    else
        sw->SwitchboardSection = *largestSupply;
    if (InCascade(*panel)) {
        SetCascadeLargestSections(panel);
        putBack();
        if (panel->CascadeFlag) {
            TSitid* head = nullptr;
            TSitid* last = nullptr;
            FindCascadeEnds(panel, head, last);
            CascadeMaxCrossSection(last);
            putBack();
        }
    } else {
        selection::RadialSection(*panel) = *largestPanel;
    }

    CheckSwitchboardCables();
    if (failed()) return;
    CheckPanelCables();
    if (failed()) return;
    if (panel->OnTrunk) {
        CheckShiftedPanelCables();
        if (failed()) return;
    }
    SumPanelVoltageLosses();
    if (panel->DeviationWork == 0) panel->DeviationWork = panel->MaxVoltageLoss;
    CheckGroupCables(name);
    if (failed()) return;
    group->VoltageDeviation = DeviationAt(name, group->CrossSection);
    putBack();
}
