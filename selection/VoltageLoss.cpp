// Voltage losses: of the transformer, of a line by R and X or by the coefficient C, of one segment
// split into its symmetric, two-phase and single-phase parts and stored in its node; the totals up
// to panels and groups; the deviation and the voltage at the consumer. Also the design currents
// and the largest phase currents of a group, a panel and a switchboard.
#include <algorithm>
#include <array>
#include <cmath>
#include <exception>

#include "model/Classd.h"
#include "platform/Conversions.h"
#include "refdb/BazaTran.h"
#include "selection/EquipmentSelection.h"
#include "selection/GroupSearch.h"
#include "selection/SelectionSupport.h"

namespace {

// The source voltage of a nominal voltage: 400 V for 380 V, 400 / sqrt 3 for 220 V; 0 for any
// other.
double SourceVoltage(double nominal) {
    if (nominal == 380) return 400;
    if (nominal == 220) return 400 / std::sqrt(3.0);
    return 0;
}

double Max3(double a, double b, double c) {
    return std::max({a, b, c});
}

}  // namespace

double EquipmentSelection::CurrentFromPower(int conductors, double power, double cosPhi) {
    double current = 0.0;
    switch (conductors) {
        case 2:
            current = power * 1000 / (220 * cosPhi);
            break;
        case 3:
            current = power * 1000 / (440 * cosPhi);
            break;
        case 4:
            current = power * 1000 / (std::sqrt(3.0) * 380 * cosPhi);
            break;
        default:
            return 0.0;
    }
    return platform::RoundTo(current, -2);
}

double EquipmentSelection::TransformerVoltageLoss(const std::string& transformerName, double load,
                                                  double cosPhi) {
    if (load == 0.0 || !BazaTran) return 0.0;
    platform::TClientDataSet& ds = BazaTran->ClientDataSet2;
    double ratedPower = 0;
    double uk = 0;
    double pk = 0;
    try {
        if (!ds.Active()) return 0.0;
        ds.First();
        bool found = false;
        for (int row = 0, rows = ds.RecordCount(); row < rows && !ds.Eof(); ++row) {
            if (ds.FieldByName("Трансформатор").AsString() == transformerName) {
                found = true;
                break;
            }
            ds.Next();
        }
        if (!found) return 0.0;
        ratedPower = ds.FieldByName("Мощность кВА").AsFloat();
        uk = ds.FieldByName("Напряжение к.з. %").AsFloat();
        pk = ds.FieldByName("Потери к.з. Вт").AsFloat();
    } catch (const std::exception&) {
        return 0.0;
    }
    if (ratedPower == 0.0) return 0.0;
    const double current = load / (std::sqrt(3.0) * 0.4);
    const double rated = ratedPower / (std::sqrt(3.0) * 0.4);
    const double beta = current / rated;
    const double ua = 100 * pk * 0.001 / ratedPower;
    const double ur = std::sqrt(uk * uk - ua * ua);
    const double phi = std::acos(cosPhi);
    return (ua * cosPhi + ur * std::sin(phi)) * beta;
}

double EquipmentSelection::LineVoltageLossRX(bool copper, const std::string& /*unused*/,
                                             double power, double length, double cosPhi,
                                             double temperature, double section,
                                             const std::string& layingMethod, int conductors) {
    // The loss in per cent of the phase voltage of each loaded phase: a single phase with its
    // neutral loses twice what the same phase power loses in a symmetric line (K = 600000 against
    // 3 x 100000 for the line's three phases together), each phase of two with their neutral one
    // and a half times (K = 450000).
    double k = 0;
    if (conductors == 2) {
        k = 600000;
    } else if (conductors == 3) {
        k = 450000;
    } else if (conductors == 4) {
        k = 100000;
    } else {
        return 0.0;
    }
    const double r0 = TGrsed::ConductorResistance(temperature, section, copper);
    const double x0 = TGrsed::CableReactance(layingMethod, section);
    const double tanPhi = std::tan(std::acos(cosPhi));
    return platform::RoundTo((r0 + x0 * tanPhi) * k * power * (0.001 * length) / (400.0 * 400.0),
                             -3);
}

double EquipmentSelection::LineVoltageLossC(const std::string& material, int conductors,
                                            double length, double power, double section) {
    if (section == 0.0) return 0.0;
    const bool copper = material == selection::kCopper;
    const bool aluminium = material == selection::kAluminium;
    double c = 0;
    if (copper || aluminium) {
        if (conductors == 2) c = copper ? 12.8 : 7.7;
        if (conductors == 3) c = copper ? 34 : 20;
        if (conductors == 4) c = copper ? 77 : 46;
    }
    if (c == 0.0) return 0.0;
    return platform::RoundTo(power * length / (c * section), -3);
}

void EquipmentSelection::VoltageLossToNode(const std::string& material, const std::string& nodeKind,
                                           long double powerA, long double powerB,
                                           long double powerC, double length, double section,
                                           const std::string& groupName) {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = sw ? sw->Panels.Cursor : nullptr;
    const bool byRX = nodeKind == selection::kSwitchboardNode || nodeKind == selection::kPanelNode;
    // Where the result goes, and for the R-X method the line's temperature, cos phi and laying.
    double temperature = 0;
    double cosPhi = 1;
    std::string laying;
    if (nodeKind == selection::kSwitchboardNode) {
        if (!sw) return;
        temperature = sw->SwitchboardTemperature;
        cosPhi = sw->SwitchboardCosPhi;
        laying = sw->SwitchboardLaying;
    } else if (nodeKind == selection::kPanelNode) {
        if (!panel) return;
        temperature = panel->FeederTemperature;
        laying = panel->FeederLayingMethod;
        cosPhi = panel->FedFromPanel || panel->FedFromSwitchboard ? panel->CascadeCosPhi
                                                                  : panel->PanelCosPhi;
    } else if (nodeKind == selection::kShiftedNode || nodeKind == selection::kGroupNode) {
        if (!panel) return;
    } else {
        return;
    }
    const bool copper = material == selection::kCopper;
    // The conductors of the part: 4 (three phases and neutral), 3 (two phases and neutral) or 2
    // (one phase and neutral); for the R-X method and for the column of the coefficient C.
    const auto loss = [&](int conductors, long double power) {
        const double p = static_cast<double>(power);
        return byRX ? LineVoltageLossRX(copper, material, p, length, cosPhi, temperature, section,
                                        laying, conductors)
                    : LineVoltageLossC(material, conductors, length, p, section);
    };

    const std::array<long double, 3> powers = {powerA, powerB, powerC};
    // Symmetric part on all three phases.
    const long double m = std::min({powerA, powerB, powerC});
    const double d3 = m == 0 ? 0.0 : loss(4, 3 * m);
    // Two-phase part: the smallest residual on the first pair of loaded residual phases.
    std::array<long double, 3> residual{};
    int loaded = 0;
    long double m2 = 0;
    for (int x = 0; x < 3; ++x) {
        residual[x] = powers[x] - m;
        if (residual[x] != 0) {
            if (loaded == 0 || residual[x] < m2) m2 = residual[x];
            ++loaded;
        }
    }
    std::array<long double, 3> q{};
    std::array<double, 3> d2{};
    if (loaded >= 2) {
        for (int x = 0; x < 3; ++x) q[x] = residual[x] != 0 ? m2 : 0;
        constexpr int kPairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
        for (const auto& pair : kPairs) {
            if (q[pair[0]] != 0 && q[pair[1]] != 0) {
                // By R and X the loss of each phase of the pair for its own power; by C the
                // pair's power.
                const double value = loss(3, byRX ? m2 : 2 * m2);
                d2[pair[0]] = d2[pair[1]] = value;
                break;
            }
        }
    }
    // Single-phase remainder of each phase.
    std::array<double, 3> total{};
    for (int x = 0; x < 3; ++x) {
        long double s = powers[x] - (m + q[x]);
        if (s < 0) s = 0;
        const double d1 = s != 0 ? loss(2, s) : 0.0;
        total[x] = d1 + d2[x] + d3;
    }

    if (nodeKind == selection::kSwitchboardNode) {
        const TGrsed& root = *ProjectRoot;
        const double p = root.TotalDesignPower;
        const double cf = root.TotalCosPhi;
        const double reactive = p * std::tan(std::acos(cf));
        const double transformer =
            platform::RoundTo(TransformerVoltageLoss(root.TransformerName,
                                                     std::sqrt(p * p + reactive * reactive), cf),
                              -3);
        sw->SwitchboardLossA = total[0] + transformer;
        sw->SwitchboardLossB = total[1] + transformer;
        sw->SwitchboardLossC = total[2] + transformer;
        sw->SwitchboardLossSum =
            Max3(sw->SwitchboardLossA, sw->SwitchboardLossB, sw->SwitchboardLossC);
    } else if (nodeKind == selection::kPanelNode) {
        panel->LossPartA = total[0];
        panel->LossPartB = total[1];
        panel->LossPartC = total[2];
        panel->LossPartSum = Max3(total[0], total[1], total[2]);
    } else if (nodeKind == selection::kShiftedNode) {
        panel->LossPart2A = total[0];
        panel->LossPart2B = total[1];
        panel->LossPart2C = total[2];
        panel->LossPart2Sum = Max3(total[0], total[1], total[2]);
    } else {
        for (int x = 0; x < 3; ++x) {
            if (TFasaGrup1d* r = panel->SinglePhaseByPhase[x].Cursor;
                r && r->GroupName1 == groupName)
                r->VoltageLoss1 = total[x];
            if (TFasaGrup2d* r = panel->TwoPhaseByPhase[x].Cursor; r && r->GroupName2 == groupName)
                r->VoltageLoss2 = total[x];
            if (TFasaGrup3d* r = panel->ThreePhaseByPhase[x].Cursor) r->VoltageLoss3 = total[x];
        }
    }
}

double EquipmentSelection::VoltageDeviation(double loss, double nominal) {
    const double source = SourceVoltage(nominal);
    if (source == 0) return 0.0;
    const double u = source - source * loss * 0.01;
    return platform::RoundTo(u * 100 / nominal - 100, -2);
}

double EquipmentSelection::ConsumerVoltage(double loss, double nominal) {
    const double source = SourceVoltage(nominal);
    if (source == 0) return 0.0;
    return platform::RoundTo(source - source * loss * 0.01, -1);
}

// ---------------------------------------------------------------------------------------------
// Totals up to panels and groups

void EquipmentSelection::SumPanelVoltageLosses() {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* p = sw ? sw->Panels.Cursor : nullptr;
    if (!p) return;
    // A panel fed past the switchboard adds its own supply line instead of the switchboard's.
    const bool shifted = p->OnTrunk != 0;
    p->VoltageLossA = p->LossPartA + (shifted ? p->LossPart2A : sw->SwitchboardLossA);
    p->VoltageLossB = p->LossPartB + (shifted ? p->LossPart2B : sw->SwitchboardLossB);
    p->VoltageLossC = p->LossPartC + (shifted ? p->LossPart2C : sw->SwitchboardLossC);
    p->MaxVoltageLoss = Max3(p->VoltageLossA, p->VoltageLossB, p->VoltageLossC);
}

namespace {

// The records under the cursors of a kind's three result chains (where a search left them).
template <typename Record>
struct CursorRow {
    const std::array<ChainBlock<Record>, 3>& chains;
    Record* operator[](int x) const { return chains[x].Cursor; }
};

template <typename Record>
void ClearCursors(std::array<ChainBlock<Record>, 3>& chains) {
    for (auto& c : chains) c.Cursor = nullptr;
}

}  // namespace

double EquipmentSelection::GroupVoltageLoss(const std::string& groupName, double crossSection) {
    TSitid* p = selection::CurrentPanel();
    if (!p || !p->SchemeGroups.First || p->SchemeGroupCount <= 0) return 0.0;
    TCxemaGrupd* group = selection::FirstSchemeGroupNamed(*p, groupName);
    if (!group) return 0.0;
    p->SchemeGroups.Cursor = group;
    const std::array<double, 3> panelTotal = {p->VoltageLossA, p->VoltageLossB, p->VoltageLossC};
    const auto lossOf = [&](long double a, long double b, long double c) {
        VoltageLossToNode(group->ConductorMaterial, selection::kGroupNode, a, b, c,
                          group->LineLength, crossSection, groupName);
    };
    double result = 0.0;
    switch (group->PhaseKind) {
        case 2: {
            const CursorRow<TFasaGrup1d> rows{p->SinglePhaseByPhase};
            const auto carries = [&](const TFasaGrup1d& r) { return r.GroupName1 == groupName; };
            if (!selection::SeekResultRowNamed<TFasaGrup1d>(*p, groupName)) return 0.0;
            ClearCursors(p->TwoPhaseByPhase);
            ClearCursors(p->ThreePhaseByPhase);
            const auto power = [&](int x) { return rows[x] ? rows[x]->Power1 : 0.0L; };
            lossOf(power(0), power(1), power(2));
            for (int x = 0; x < 3; ++x) {
                if (TFasaGrup1d* r = rows[x]; r && carries(*r)) {
                    r->ConsumerVoltageLoss1 = r->VoltageLoss1 + panelTotal[x];
                    result = r->ConsumerVoltageLoss1;
                }
            }
            break;
        }
        case 3: {
            const CursorRow<TFasaGrup2d> rows{p->TwoPhaseByPhase};
            const auto carries = [&](const TFasaGrup2d& r) { return r.GroupName2 == groupName; };
            if (!selection::SeekResultRowNamed<TFasaGrup2d>(*p, groupName)) return 0.0;
            ClearCursors(p->SinglePhaseByPhase);
            ClearCursors(p->ThreePhaseByPhase);
            const auto power = [&](int x) { return rows[x] ? rows[x]->Power2 : 0.0L; };
            lossOf(power(0), power(1), power(2));
            constexpr int kPairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
            for (const auto& pair : kPairs) {
                TFasaGrup2d* a = rows[pair[0]];
                TFasaGrup2d* b = rows[pair[1]];
                if (!a || !b || !carries(*a) || !carries(*b)) continue;
                a->ConsumerVoltageLoss2 = a->VoltageLoss2 + panelTotal[pair[0]];
                b->ConsumerVoltageLoss2 = b->VoltageLoss2 + panelTotal[pair[1]];
                result = std::max(a->ConsumerVoltageLoss2, b->ConsumerVoltageLoss2);
            }
            break;
        }
        case 4: {
            const CursorRow<TFasaGrup3d> rows{p->ThreePhaseByPhase};
            if (!selection::SeekResultRowNamed<TFasaGrup3d>(*p, groupName)) return 0.0;
            ClearCursors(p->SinglePhaseByPhase);
            ClearCursors(p->TwoPhaseByPhase);
            const auto power = [&](int x) { return rows[x] ? rows[x]->Power3 : 0.0L; };
            lossOf(power(0), power(1), power(2));
            bool first = true;
            for (int x = 0; x < 3; ++x) {
                TFasaGrup3d* r = rows[x];
                if (!r) continue;
                r->ConsumerVoltageLoss3 = r->VoltageLoss3 + panelTotal[x];
                result =
                    first ? r->ConsumerVoltageLoss3 : std::max(result, r->ConsumerVoltageLoss3);
                first = false;
            }
            break;
        }
        default:
            break;
    }
    return result;
}

double EquipmentSelection::MaxGroupPhaseCurrent() {
    TSitid* p = selection::CurrentPanel();
    const TCxemaGrupd* g = p ? p->SchemeGroups.Cursor : nullptr;
    if (!g) return 0.0;
    if (g->PhaseKind == 2) return g->DesignCurrent;
    // The row in step with the kind's last record of the group.
    const auto largest = [](const auto& row, auto currentA, auto currentB, auto currentC) {
        return Max3(row[0] ? row[0]->*currentA : 0.0, row[1] ? row[1]->*currentB : 0.0,
                    row[2] ? row[2]->*currentC : 0.0);
    };
    if (g->PhaseKind == 3) {
        if (const auto row = selection::RowOfLastRecordNamed<TFasaGrup2d>(*p, g->GroupName))
            return largest(*row, &TFasaGrup2dFields::CurrentA, &TFasaGrup2dFields::CurrentB,
                           &TFasaGrup2dFields::CurrentC);
    } else if (g->PhaseKind == 4) {
        if (const auto row = selection::RowOfLastRecordNamed<TFasaGrup3d>(*p, g->GroupName))
            return largest(*row, &TFasaGrup3dFields::CurrentA3, &TFasaGrup3dFields::CurrentB3,
                           &TFasaGrup3dFields::CurrentC3);
    }
    return 0.0;
}

double EquipmentSelection::MaxPanelPhaseCurrent() {
    const TSitid* p = selection::CurrentPanel();
    return p ? Max3(p->OwnCurrentA, p->OwnCurrentB, p->OwnCurrentC) : 0.0;
}

double EquipmentSelection::MaxSwitchboardPhaseCurrent() {
    const TGrsed* sw = selection::CurrentSwitchboard();
    return sw ? Max3(sw->SwitchboardCurrentA, sw->SwitchboardCurrentB, sw->SwitchboardCurrentC)
              : 0.0;
}
