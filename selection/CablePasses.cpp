// The cable passes: every cable of a switchboard branch chosen by its current (a stored section
// only ever grows here, unless forced), and the voltage loss each line causes stored node by
// node; and the best case of the loss at a group with every cable on its path at its largest.
#include <algorithm>
#include <array>

#include "calc/Formulas.h"
#include "model/Cascades.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "model/TreeEditing.h"
#include "selection/EquipmentSelection.h"
#include "selection/GroupSearch.h"
#include "selection/SelectionSupport.h"
#include "selection/TreeEdits.h"

namespace {

using cascades::InCascade;

template <typename Record>
void ClearCursors(std::array<ChainBlock<Record>, 3>& chains) {
    for (auto& c : chains) c.Cursor = nullptr;
}

// The first record of one result chain that carries the name, made that chain's current record
// (null when there is none).
template <typename Record, typename Link, typename Carries>
Record* SeekInChain(ChainBlock<Record>& chain, Link link, Carries carries) {
    chain.Cursor = chains::FindFirst(chain, link, selection::kLongestChain, carries);
    return chain.Cursor;
}

}  // namespace

bool EquipmentSelection::CheckSwitchboardCables() {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!sw) return true;
    selection::SwitchboardCursorKeeper keep;
    const std::optional<double> s =
        FindSection(selection::kSwitchboardPanelKey, sw->SwitchboardTable,
                    sw->SwitchboardInputRating, sw->SwitchboardTemperature,
                    selection::InAir(sw->SwitchboardLaying), sw->SwitchboardConductorMaterial);
    if (!s) return Fail();
    const std::optional<std::string> brand = FindBrand(sw->SwitchboardTable);
    if (!brand) return Fail();
    sw->SwitchboardCableBrand = *brand;
    sw->SwitchboardSection = std::max(sw->SwitchboardSection, *s);
    sw->SwitchboardNeutralSection =
        LookupNodeTable(sw->SwitchboardZeroCoreTable, 0, sw->SwitchboardSection);
    VoltageLossToNode(sw->SwitchboardConductorMaterial, selection::kSwitchboardNode,
                      sw->SwitchboardPowerA, sw->SwitchboardPowerB, sw->SwitchboardPowerC,
                      sw->SwitchboardFeederLength, sw->SwitchboardSection, "");
    return true;
}

void EquipmentSelection::FindCascadeEnds(TSitid* p, TSitid*& head, TSitid*& last) {
    TGrsed& sw = *selection::CurrentSwitchboard();
    head = selection::CascadeHeadOf(sw, p);
    last = nullptr;
    if (!head) return;
    sw.Panels.Cursor = head;
    const int members = selection::TreeEdits().NumberPanelCascade(head);
    // A head whose members are all gone is its own last member.
    last = members > 0 && sw.Panels.Cursor ? sw.Panels.Cursor : head;
}

bool EquipmentSelection::CheckPanelCables() {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* p = sw ? sw->Panels.Cursor : nullptr;
    if (!p) return true;
    selection::SwitchboardCursorKeeper keep;
    TCxemaGrupd* const group = p->SchemeGroups.Cursor;
    selection::PassResults before(sw);
    const auto failed = [&] {
        before.Restore();
        p->SchemeGroups.Cursor = group;
        return Fail();
    };

    const std::optional<std::string> brand = FindBrand(p->CurrentTableName);
    if (!brand) return failed();
    p->FeederCableBrand = *brand;
    const std::optional<double> s = FindSection(
        selection::kSwitchboardPanelKey, p->CurrentTableName, p->FeederBreakerRating,
        p->FeederTemperature, selection::InAir(p->FeederLayingMethod), p->FeederConductorMaterial);
    if (!s) return failed();
    double& radial = selection::RadialSection(*p);
    radial = std::max(radial, *s);
    p->FeederNeutralSection = LookupNodeTable(p->ZeroCoreTable, 1, radial);

    if (InCascade(*p)) {
        TSitid* head = nullptr;
        TSitid* last = nullptr;
        FindCascadeEnds(p, head, last);
        if (head) {
            if (!SelectCascadeFeederCables(last, false)) return failed();
            CascadeVoltageLosses(head);
            sw->Panels.Cursor = p;
            if (p->CascadeFlag) {
                CascadeMaxCrossSection(last);
                CascadeVoltageLosses(head);
                sw->Panels.Cursor = p;
            }
        }
    } else {
        VoltageLossToNode(p->FeederConductorMaterial, selection::kPanelNode, p->PanelPowerA,
                          p->PanelPowerB, p->PanelPowerC, p->FeederLength, radial, "");
    }
    p->SchemeGroups.Cursor = group;
    return true;
}

bool EquipmentSelection::SelectCascadeFeeder(TSitid& q, double current, bool force) {
    const std::optional<std::string> brand = FindBrand(q.CurrentTableName);
    if (!brand) return false;
    q.FeederCableBrand = *brand;
    const std::optional<double> s = FindSection(
        selection::kSwitchboardPanelKey, q.CurrentTableName, current, q.FeederTemperature,
        selection::InAir(q.FeederLayingMethod), q.FeederConductorMaterial);
    if (!s) return false;
    double& section = selection::CascadeSection(q);
    section = force ? *s : std::max(section, *s);
    q.FeederNeutralSection = selection::NodeTableSection(
        q.ZeroCoreTable, q.FeederSections, q.FeederZeroSections, q.FeederSectionCount, section);
    return true;
}

bool EquipmentSelection::SelectCascadeFeederCables(TSitid* panel, bool force) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!panel || !sw) return true;
    selection::PassResults before(sw);
    bool ok = true;
    selection::WalkUpChain(
        *sw, panel,
        [&](TSitid& q) {
            ok = SelectCascadeFeeder(
                q, std::max({q.CascadeCurrentA, q.CascadeCurrentB, q.CascadeCurrentC}), force);
            return !ok;
        },
        [&](TSitid& q) { ok = SelectCascadeFeeder(q, q.TrunkBreakerRating, force); });
    sw->Panels.Cursor = panel;
    if (!ok) {
        before.Restore();
        return Fail();
    }
    return true;
}

void EquipmentSelection::CascadeVoltageLosses(TSitid* head) {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!head || !sw) return;
    double a = 0;
    double b = 0;
    double c = 0;
    int last = head->PanelNumber;
    const auto loss = [&](TSitid& q) {
        VoltageLossToNode(q.FeederConductorMaterial, selection::kPanelNode, q.CascadePowerA,
                          q.CascadePowerB, q.CascadePowerC, q.FeederLength,
                          selection::CascadeSection(q), "");
    };
    for (TSitid* q : selection::PanelsInFeedOrder(*sw)) {
        sw->Panels.Cursor = q;
        if (q->FedFromSwitchboard && (q->PanelNumber == head->CascadeHeadNumber || q == head)) {
            loss(*q);
            a = q->LossPartA;
            b = q->LossPartB;
            c = q->LossPartC;
            SumPanelVoltageLosses();
        }
        if (q->FedFromPanel && (q->FeedingPanelNumber == last || q == head)) {
            // From the switchboard busbars to this panel; a member without a section adds
            // nothing and shows no loss.
            if (selection::CascadeSection(*q) > 0) {
                loss(*q);
                a += q->LossPartA;
                b += q->LossPartB;
                c += q->LossPartC;
                q->LossPartA = a;
                q->LossPartB = b;
                q->LossPartC = c;
            } else {
                q->LossPartA = q->LossPartB = q->LossPartC = 0;
            }
            SumPanelVoltageLosses();
            last = q->PanelNumber;
        }
    }
    sw->Panels.Cursor = nullptr;
}

bool EquipmentSelection::CheckShiftedPanelCables() {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* p = sw ? sw->Panels.Cursor : nullptr;
    if (!p) return true;
    const std::string brandBefore = p->FeederCableBrand;
    const std::optional<std::string> brand = FindBrand(p->CurrentTableName);
    if (!brand) return Fail();
    p->FeederCableBrand = *brand;
    const std::optional<double> s = FindSection(
        selection::kSwitchboardPanelKey, p->CurrentTableName, p->FeederBreakerRating,
        p->FeederTemperature, selection::InAir(p->FeederLayingMethod), p->FeederConductorMaterial);
    if (!s) {
        p->FeederCableBrand = brandBefore;
        return Fail();
    }
    double& shifted = selection::ShiftedSection(*p);
    shifted = std::max(shifted, *s);
    VoltageLossToNode(sw->SwitchboardConductorMaterial, selection::kShiftedNode, p->TotalPowerA,
                      p->TotalPowerB, p->TotalPowerC, sw->SwitchboardFeederLength, shifted, "");
    return true;
}

bool EquipmentSelection::CheckGroupCables(const std::string& groupName) {
    FailureFlag = 0;
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* p = sw ? sw->Panels.Cursor : nullptr;
    if (!p || !p->SchemeGroups.First) return true;
    selection::SwitchboardCursorKeeper keep;
    TCxemaGrupd* g = selection::FirstSchemeGroupNamed(*p, groupName);
    if (!g) return true;
    p->SchemeGroups.Cursor = g;
    const auto choose = [&](double current) {
        return FindSection("0", g->CableTable, current, g->AmbientTemperature,
                           selection::InAir(g->LayingMethod), "0");
    };

    switch (g->PhaseKind) {
        case 2: {
            const std::optional<double> s = choose(PhaseCurrent(g->Power, g->CosPhi));
            if (!s) return Fail();
            g->CrossSection = std::max(g->CrossSection, *s);
            if (TFasaGrup1d* r = selection::FirstRecordNamed<TFasaGrup1d>(*p, groupName))
                selection::SectionCopy(*r) = g->CrossSection;
            if (!selection::SeekResultRowNamed<TFasaGrup1d>(*p, groupName)) return true;
            ClearCursors(p->TwoPhaseByPhase);
            ClearCursors(p->ThreePhaseByPhase);
            const auto& row = p->SinglePhaseByPhase;
            const auto power = [&](int x) { return row[x].Cursor ? row[x].Cursor->Power1 : 0.0L; };
            VoltageLossToNode(g->ConductorMaterial, selection::kGroupNode, power(0), power(1),
                              power(2), row[0].Cursor ? row[0].Cursor->LineLength1 : 0.0,
                              g->CrossSection, groupName);
            return true;
        }
        case 3: {
            // The phase record keeps the section the group had before this choice.
            TFasaGrup2d* record = selection::FirstRecordNamed<TFasaGrup2d>(*p, groupName);
            const double copyBefore = record ? selection::SectionCopy(*record) : 0.0;
            if (record) selection::SectionCopy(*record) = g->CrossSection;
            if (!selection::SeekResultRowNamed<TFasaGrup2d>(*p, groupName)) return true;
            const auto& row = p->TwoPhaseByPhase;
            const auto current = [&](int x, double TFasaGrup2dFields::*field) {
                return row[x].Cursor ? row[x].Cursor->*field : 0.0;
            };
            const std::optional<double> s = choose(std::max(
                {current(0, &TFasaGrup2dFields::CurrentA), current(1, &TFasaGrup2dFields::CurrentB),
                 current(2, &TFasaGrup2dFields::CurrentC)}));
            if (!s) {
                if (record) selection::SectionCopy(*record) = copyBefore;
                return Fail();
            }
            g->CrossSection = std::max(g->CrossSection, *s);
            ClearCursors(p->SinglePhaseByPhase);
            ClearCursors(p->ThreePhaseByPhase);
            const auto power = [&](int x) { return row[x].Cursor ? row[x].Cursor->Power2 : 0.0L; };
            VoltageLossToNode(g->ConductorMaterial, selection::kGroupNode, power(0), power(1),
                              power(2), row[0].Cursor ? row[0].Cursor->LineLength2 : 0.0,
                              g->CrossSection, groupName);
            return true;
        }
        case 4: {
            TFasaGrup3d* record = selection::FirstRecordNamed<TFasaGrup3d>(*p, groupName);
            const double copyBefore = record ? selection::SectionCopy(*record) : 0.0;
            if (record) selection::SectionCopy(*record) = g->CrossSection;
            if (!selection::SeekResultRowNamed<TFasaGrup3d>(*p, groupName)) return true;
            const auto& row = p->ThreePhaseByPhase;
            const auto current = [&](int x, double TFasaGrup3dFields::*field) {
                return row[x].Cursor ? row[x].Cursor->*field : 0.0;
            };
            const std::optional<double> s =
                choose(std::max({current(0, &TFasaGrup3dFields::CurrentA3),
                                 current(1, &TFasaGrup3dFields::CurrentB3),
                                 current(2, &TFasaGrup3dFields::CurrentC3)}));
            if (!s) {
                if (record) selection::SectionCopy(*record) = copyBefore;
                return Fail();
            }
            g->CrossSection = std::max(g->CrossSection, *s);
            ClearCursors(p->SinglePhaseByPhase);
            ClearCursors(p->TwoPhaseByPhase);
            const auto power = [&](int x) { return row[x].Cursor ? row[x].Cursor->Power3 : 0.0L; };
            VoltageLossToNode(g->ConductorMaterial, selection::kGroupNode, power(0), power(1),
                              power(2), row[0].Cursor ? row[0].Cursor->LineLength3 : 0.0,
                              g->CrossSection, groupName);
            return true;
        }
        default:
            return true;
    }
}

double EquipmentSelection::BestCaseGroupLoss(const std::string& groupName) {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* p = sw ? sw->Panels.Cursor : nullptr;
    if (!p) return 0.0;
    const double largestSupply =
        selection::LastSection(sw->SwitchboardSections, sw->SwitchboardSectionCount);

    // Upstream of the panel: the switchboard's supply line, or the panel's own supply line when
    // it is fed past the switchboard.
    std::array<double, 3> total{};
    if (p->OnTrunk) {
        VoltageLossToNode(sw->SwitchboardConductorMaterial, selection::kShiftedNode, p->TotalPowerA,
                          p->TotalPowerB, p->TotalPowerC, sw->SwitchboardFeederLength,
                          largestSupply, "");
        total = {p->LossPart2A, p->LossPart2B, p->LossPart2C};
    } else {
        VoltageLossToNode(sw->SwitchboardConductorMaterial, selection::kSwitchboardNode,
                          sw->SwitchboardPowerA, sw->SwitchboardPowerB, sw->SwitchboardPowerC,
                          sw->SwitchboardFeederLength, largestSupply, "");
        total = {sw->SwitchboardLossA, sw->SwitchboardLossB, sw->SwitchboardLossC};
    }

    // The panel's feeder, or the cascade up to it, at the largest sections.
    if (!InCascade(*p)) {
        VoltageLossToNode(p->FeederConductorMaterial, selection::kPanelNode, p->PanelPowerA,
                          p->PanelPowerB, p->PanelPowerC, p->FeederLength,
                          selection::LastSection(p->FeederSections, p->FeederSectionCount), "");
        total = {total[0] + p->LossPartA, total[1] + p->LossPartB, total[2] + p->LossPartC};
    } else {
        TSitid* head = nullptr;
        TSitid* last = nullptr;
        FindCascadeEnds(p, head, last);
        if (head) {
            // The cascade's own sections come back afterwards, whatever their tables hold.
            std::vector<std::pair<TSitid*, double>> sections;
            for (TSitid* q : selection::PanelsToChainEnd(*sw))
                sections.emplace_back(q, selection::CascadeSection(*q));
            SetCascadeLargestSections(last);
            CascadeVoltageLosses(head);
            total = {total[0] + p->LossPartA, total[1] + p->LossPartB, total[2] + p->LossPartC};
            for (const auto& [q, section] : sections) selection::CascadeSection(*q) = section;
            CascadeVoltageLosses(head);
            if (p->CascadeFlag) {
                CascadeMaxCrossSection(last);
                CascadeVoltageLosses(head);
            }
        }
        sw->Panels.Cursor = p;
    }

    // The group line at the largest section of its table.
    if (!p->SchemeGroups.First) return 0.0;
    TCxemaGrupd* g =
        chains::FindFirst(p->SchemeGroups, chains::SchemeLink{}, selection::kLongestChain,
                          [&](const TCxemaGrupd& r) { return r.GroupName == groupName; });
    if (!g) return 0.0;
    p->SchemeGroups.Cursor = g;
    const double section = selection::LastSection(g->AllowedSections, g->AllowedSectionCount);
    std::array<double, 3> line{};
    const auto run = [&](auto& chains, auto link, auto carries, auto powerOf, auto lossOf) {
        std::array<decltype(chains[0].Cursor), 3> found{};
        for (int x = 0; x < 3; ++x) {
            auto l = link;
            l.phase = x;
            found[x] = SeekInChain(chains[x], l, carries);
        }
        const auto power = [&](int x) { return found[x] ? powerOf(*found[x]) : 0.0L; };
        VoltageLossToNode(g->ConductorMaterial, selection::kGroupNode, power(0), power(1), power(2),
                          g->LineLength, section, groupName);
        for (int x = 0; x < 3; ++x) line[x] = found[x] ? lossOf(*found[x]) : 0.0;
    };
    switch (g->PhaseKind) {
        case 2:
            ClearCursors(p->TwoPhaseByPhase);
            ClearCursors(p->ThreePhaseByPhase);
            run(
                p->SinglePhaseByPhase, chains::SinglePhaseByPhaseLink{0},
                [&](const TFasaGrup1d& r) { return r.GroupName1 == groupName; },
                [](const TFasaGrup1d& r) { return r.Power1; },
                [](const TFasaGrup1d& r) { return r.VoltageLoss1; });
            break;
        case 3:
            ClearCursors(p->SinglePhaseByPhase);
            ClearCursors(p->ThreePhaseByPhase);
            run(
                p->TwoPhaseByPhase, chains::TwoPhaseByPhaseLink{0},
                [&](const TFasaGrup2d& r) { return r.GroupName2 == groupName; },
                [](const TFasaGrup2d& r) { return r.Power2; },
                [](const TFasaGrup2d& r) { return r.VoltageLoss2; });
            break;
        case 4:
            ClearCursors(p->SinglePhaseByPhase);
            ClearCursors(p->TwoPhaseByPhase);
            run(
                p->ThreePhaseByPhase, chains::ThreePhaseByPhaseLink{0},
                [&](const TFasaGrup3d& r) { return r.GroupName3 == groupName; },
                [](const TFasaGrup3d& r) { return r.Power3; },
                [](const TFasaGrup3d& r) { return r.VoltageLoss3; });
            break;
        default:
            return 0.0;
    }
    return std::max({line[0] + total[0], line[1] + total[1], line[2] + total[2]});
}
