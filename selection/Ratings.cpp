// Breaker ratings graded along the network, from the group line up to the transformer side, and
// the group and feeder cross-sections chosen for them.
#include <algorithm>

#include "calc/Formulas.h"
#include "model/Cascades.h"
#include "model/Classd.h"
#include "selection/CurrentSeries.h"
#include "selection/EquipmentSelection.h"
#include "selection/SelectionSupport.h"

using selection::StandardCurrentSeries;

namespace {

// One step above a rating on the series, 4000 A staying; a value off the series stays as the
// field holds it.
void StepField(double& field, double rating) {
    if (const std::optional<double> next = selection::StepAbove(rating)) field = *next;
}

void StepFieldKeeping630(double& field, double rating) {
    if (const std::optional<double> next = selection::StepAboveKeeping630(rating)) field = *next;
}

using cascades::InCascade;

// The largest phase current of the copies of a row: phase A of the A copy, B of B, C of C.
template <typename Record>
double RowCurrent(const std::array<Record*, 3>& row, double Record::*a, double Record::*b,
                  double Record::*c) {
    return std::max(
        {row[0] ? row[0]->*a : 0.0, row[1] ? row[1]->*b : 0.0, row[2] ? row[2]->*c : 0.0});
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Standard current series

double EquipmentSelection::StandardRatingAbove(double current) {
    return TGrsed::StandardRatingAbove(current);
}

double EquipmentSelection::NextStandardRating() {
    TSitid* p = selection::CurrentPanel();
    if (!p || !p->SchemeGroups.Last) return 0.0;
    p->SchemeGroups.Cursor = p->SchemeGroups.Last;
    return selection::StepAbove(p->SchemeGroups.Last->BreakerRating).value_or(0.0);
}

double EquipmentSelection::NextButOneStandardRating() {
    return selection::StepAbove(NextStandardRating()).value_or(0.0);
}

// ---------------------------------------------------------------------------------------------
// Group cross-section and breaker

bool EquipmentSelection::SelectGroupCrossSection(TCxemaGrupd* group) {
    TSitid* p = selection::CurrentPanel();
    if (!group || !p) return true;
    p->SchemeGroups.Cursor = group;
    const auto choose = [&](double current) {
        return FindSection("0", group->CableTable, current, group->AmbientTemperature,
                           selection::InAir(group->LayingMethod), "0");
    };

    // Walks the kind's record chain and its three result chains in step until the record of the
    // group; the cursors stay on the matched copies (or past the end).
    const auto walk = [&](auto& records, auto recordLink, auto& byPhase, auto phaseLink, int count,
                          auto carries) -> bool {
        records.Cursor = records.First;
        for (auto& c : byPhase) c.Cursor = c.First;
        for (int k = 0; k < count && records.Cursor; ++k) {
            if (carries(*records.Cursor)) return true;
            records.Cursor = recordLink(*records.Cursor).Next;
            for (int x = 0; x < 3; ++x) {
                auto link = phaseLink;
                link.phase = x;
                if (byPhase[x].Cursor) byPhase[x].Cursor = link(*byPhase[x].Cursor).Next;
            }
        }
        records.Cursor = nullptr;
        return false;
    };

    switch (group->PhaseKind) {
        case 2: {
            const std::optional<double> s = choose(PhaseCurrent(group->Power, group->CosPhi));
            if (!s) return Fail();
            group->CrossSection = *s;
            return true;
        }
        case 3: {
            const bool found =
                walk(p->TwoPhaseGroups, chains::TwoPhaseLink{}, p->TwoPhaseByPhase,
                     chains::TwoPhaseByPhaseLink{0}, p->TwoPhaseCount,
                     [&](const TFasaGrup2d& r) { return r.GroupName2 == group->GroupName; });
            if (!found) return true;
            const std::array<TFasaGrup2d*, 3> row = {p->TwoPhaseByPhase[0].Cursor,
                                                     p->TwoPhaseByPhase[1].Cursor,
                                                     p->TwoPhaseByPhase[2].Cursor};
            const std::optional<double> s = choose(RowCurrent<TFasaGrup2d>(
                row, &TFasaGrup2d::CurrentA, &TFasaGrup2d::CurrentB, &TFasaGrup2d::CurrentC));
            if (!s) return Fail();
            selection::SectionCopy(*p->TwoPhaseGroups.Cursor) = *s;
            group->CrossSection = *s;
            return true;
        }
        case 4: {
            const bool found =
                walk(p->ThreePhaseGroups, chains::ThreePhaseLink{}, p->ThreePhaseByPhase,
                     chains::ThreePhaseByPhaseLink{0}, p->ThreePhaseCount,
                     [&](const TFasaGrup3d& r) { return r.GroupName3 == group->GroupName; });
            if (!found) return true;
            const std::array<TFasaGrup3d*, 3> row = {p->ThreePhaseByPhase[0].Cursor,
                                                     p->ThreePhaseByPhase[1].Cursor,
                                                     p->ThreePhaseByPhase[2].Cursor};
            const std::optional<double> s = choose(RowCurrent<TFasaGrup3d>(
                row, &TFasaGrup3d::CurrentA3, &TFasaGrup3d::CurrentB3, &TFasaGrup3d::CurrentC3));
            if (!s) return Fail();
            selection::SectionCopy(*p->ThreePhaseGroups.Cursor) = *s;
            group->CrossSection = *s;
            return true;
        }
        default:
            return true;
    }
}

bool EquipmentSelection::SelectLastGroupCrossSection() {
    TSitid* p = selection::CurrentPanel();
    if (!p || !p->SchemeGroups.Last) return true;
    p->SchemeGroups.Cursor = p->SchemeGroups.Last;
    return SelectGroupCrossSection(p->SchemeGroups.Last);
}

void EquipmentSelection::SelectLastGroupBreaker() {
    TSitid* p = selection::CurrentPanel();
    if (!p || !p->SchemeGroups.Last) return;
    TCxemaGrupd* group = p->SchemeGroups.Last;
    p->SchemeGroups.Cursor = group;
    // The last copies of the phase chains are those of the last group.
    p->TwoPhaseGroups.Cursor = p->TwoPhaseGroups.Last;
    p->ThreePhaseGroups.Cursor = p->ThreePhaseGroups.Last;
    double current = 0.0;
    switch (group->PhaseKind) {
        case 2:
            current = PhaseCurrent(group->Power, group->CosPhi);
            break;
        case 3: {
            const std::array<TFasaGrup2d*, 3> row = {
                p->TwoPhaseByPhase[0].Last, p->TwoPhaseByPhase[1].Last, p->TwoPhaseByPhase[2].Last};
            if (!row[0] && !row[1] && !row[2]) return;
            for (int x = 0; x < 3; ++x) p->TwoPhaseByPhase[x].Cursor = row[x];
            current = RowCurrent<TFasaGrup2d>(row, &TFasaGrup2d::CurrentA, &TFasaGrup2d::CurrentB,
                                              &TFasaGrup2d::CurrentC);
            break;
        }
        case 4: {
            const std::array<TFasaGrup3d*, 3> row = {p->ThreePhaseByPhase[0].Last,
                                                     p->ThreePhaseByPhase[1].Last,
                                                     p->ThreePhaseByPhase[2].Last};
            if (!row[0] && !row[1] && !row[2]) return;
            for (int x = 0; x < 3; ++x) p->ThreePhaseByPhase[x].Cursor = row[x];
            current = RowCurrent<TFasaGrup3d>(row, &TFasaGrup3d::CurrentA3, &TFasaGrup3d::CurrentB3,
                                              &TFasaGrup3d::CurrentC3);
            break;
        }
        default:
            return;
    }
    group->BreakerRating = StandardRatingAbove(current);
}

// ---------------------------------------------------------------------------------------------
// Largest ratings below a node

double EquipmentSelection::MaxGroupValue() {
    const TSitid* p = selection::CurrentPanel();
    if (!p) return 0.0;
    double largest = 0.0;
    bool any = false;
    for (const TCxemaGrupd* g :
         chains::Elements(p->SchemeGroups, chains::SchemeLink{}, p->SchemeGroupCount)) {
        largest = any ? std::max(largest, g->BreakerRating) : g->BreakerRating;
        any = true;
    }
    return largest;
}

double EquipmentSelection::MaxPanelValue() {
    const TGrsed* sw = selection::CurrentSwitchboard();
    if (!sw) return 0.0;
    double largest = 0.0;
    for (const TSitid* q : selection::PanelsToChainEnd(*sw)) {
        const double value = q->OnTrunk              ? 0.0
                             : q->FedFromSwitchboard ? q->TrunkBreakerRating
                                                     : q->FeederBreakerRating;
        largest = std::max(largest, value);
    }
    return largest;
}

double EquipmentSelection::MaxSwitchboardValue() {
    if (!ProjectRoot) return 0.0;
    double largest = 0.0;
    for (const TGrsed* sw : selection::SwitchboardsOf(*ProjectRoot))
        largest = std::max(largest, sw->SwitchboardInputRating);
    return largest;
}

// ---------------------------------------------------------------------------------------------
// Panel, cascade, switchboard and transformer-side ratings

void EquipmentSelection::SelectPanelRating() {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* p = sw ? sw->Panels.Cursor : nullptr;
    if (!p) return;
    const bool cascade = InCascade(*p);
    if (!cascade && (p->SchemeGroupCount <= 0 || !p->SchemeGroups.First)) return;
    p->PanelBreakerRating = StandardRatingAbove(p->OwnDesignCurrent);
    const double largestGroup = MaxGroupValue();
    if (p->PanelBreakerRating <= largestGroup) {
        if (p->SchemeGroupCount == 1)
            p->PanelBreakerRating = largestGroup;
        else
            StepField(p->PanelBreakerRating, largestGroup);
    }
    if (!cascade) {
        StepField(p->FeederBreakerRating, p->PanelBreakerRating);
    } else {
        SelectCascadeHeadRating();
        sw->Panels.Cursor = p;
    }
    SelectRatingsOnSeries();
}

void EquipmentSelection::SelectCascadeHeadRating() {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* p = sw ? sw->Panels.Cursor : nullptr;
    if (!p) return;
    selection::PanelCursorKeeper keep(sw);
    // A panel in no cascade, or a member whose head is not in the list, has no trunk breaker.
    TSitid* head = selection::CascadeHeadOf(*sw, p);
    if (!head) return;
    sw->Panels.Cursor = head;
    head->TrunkBreakerRating = StandardRatingAbove(head->CascadeDesignCurrent);
    double largestMember = 0.0;
    for (const TSitid* q : selection::PanelsToChainEnd(*sw))
        if (q->FedFromPanel && q->CascadeHeadNumber == head->PanelNumber &&
            q->PanelBreakerRating > largestMember)
            largestMember = q->PanelBreakerRating;
    if (largestMember == 0.0) largestMember = head->TrunkBreakerRating;
    if (head->TrunkBreakerRating <= largestMember)
        StepField(head->TrunkBreakerRating, largestMember);
}

void EquipmentSelection::SelectRatingsOnSeries() {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* p = sw ? sw->Panels.Cursor : nullptr;
    if (!p) return;
    if (p->OnTrunk) StepFieldKeeping630(p->CascadeBreakerRating, p->FeederBreakerRating);
    if (InCascade(*p)) {
        TSitid* head = selection::CascadeHeadOf(*sw, p);
        if (head && head->OnTrunk)
            StepFieldKeeping630(head->CascadeBreakerRating, p->TrunkBreakerRating);
    }
}

void EquipmentSelection::SelectSwitchboardBreakerRating() {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!sw) return;
    selection::PanelCursorKeeper keep(sw);
    sw->SwitchboardBreakerRating = StandardRatingAbove(sw->SwitchboardDesignCurrent);
    int loaded = 0;
    for (const TSitid* q : selection::PanelsToChainEnd(*sw))
        if (q->SchemeGroupCount >= 1 && !q->OnTrunk) ++loaded;
    const double largestPanel = MaxPanelValue();
    if (sw->SwitchboardBreakerRating <= largestPanel) {
        if (loaded == 1)
            sw->SwitchboardBreakerRating = largestPanel;
        else
            StepField(sw->SwitchboardBreakerRating, largestPanel);
    }
    StepField(sw->SwitchboardInputRating, sw->SwitchboardBreakerRating);
}

void EquipmentSelection::SelectTransformerBreakerRating() {
    TGrsed* root = ProjectRoot;
    if (!root) return;
    const double current =
        std::max({root->TotalCurrentA, root->TotalCurrentB, root->TotalCurrentC});
    root->TransformerBreakerRating = StandardRatingAbove(current);
    const double largest = MaxSwitchboardValue();
    if (root->TransformerBreakerRating > largest) return;
    root->TransformerBreakerRating = largest;
    const std::vector<TGrsed*> switchboards = selection::SwitchboardsOf(*root);
    if (switchboards.size() == 1 && !switchboards.front()->ChangedMark) {
        root->TransformerBreakerRating = switchboards.front()->SwitchboardInputRating;
        return;
    }
    // Graded one step above the switchboard breakers up to 630 A; above that no step.
    if (const std::optional<int> i = selection::SeriesIndex(largest, selection::kIndex630 + 1))
        root->TransformerBreakerRating =
            *i == selection::kIndex630 ? StandardCurrentSeries[*i] : StandardCurrentSeries[*i + 1];
}

bool EquipmentSelection::SelectPanelSectionForBreaker() {
    TSitid* p = selection::CurrentPanel();
    if (!p) return true;
    const std::optional<double> s = FindSection(
        selection::kSwitchboardPanelKey, p->CurrentTableName, p->FeederBreakerRating,
        p->FeederTemperature, selection::InAir(p->FeederLayingMethod), p->FeederConductorMaterial);
    if (!s) return Fail();
    selection::RadialSection(*p) = *s;
    p->FeederNeutralSection = LookupNodeTable(p->ZeroCoreTable, 1, *s);
    return true;
}

bool EquipmentSelection::SelectSwitchboardSectionForBreaker() {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!sw) return true;
    const std::optional<double> s =
        FindSection(selection::kSwitchboardPanelKey, sw->SwitchboardTable,
                    sw->SwitchboardInputRating, sw->SwitchboardTemperature,
                    selection::InAir(sw->SwitchboardLaying), sw->SwitchboardConductorMaterial);
    if (!s) return Fail();
    sw->SwitchboardSection = *s;
    sw->SwitchboardNeutralSection = LookupNodeTable(sw->SwitchboardZeroCoreTable, 0, *s);
    return true;
}
