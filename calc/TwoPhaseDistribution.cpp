// Pass 2: the two-phase lines of the current panel placed greedily, in chain order, each with its
// larger part on the least loaded phase and its smaller part on the next one.
#include <vector>

#include "calc/Distribution.h"
#include "calc/Formulas.h"
#include "calc/Walks.h"
#include "model/Chains.h"

namespace calc {
namespace {

// The current field of each phase in a two-phase record.
constexpr double TFasaGrup2dFields::*kPhaseCurrent[3] = {
    &TFasaGrup2dFields::CurrentA, &TFasaGrup2dFields::CurrentB, &TFasaGrup2dFields::CurrentC};

// Part i of a line: its power and cos phi (a missing entry counts as 0 kW at cos phi 1).
long double PartPower(const TFasaGrup2dFields& line, std::size_t i) {
    return i < line.PartPowers.size() ? line.PartPowers[i] : 0.0L;
}

double PartCosPhi(const TFasaGrup2dFields& line, std::size_t i) {
    return i < line.PartCosPhi.size() ? line.PartCosPhi[i] : 1.0;
}

}  // namespace

TwoPhasePlacement PlaceTwoPhaseLine(double sa, double sb, double sc) {
    int larger = 0;
    int smaller = 1;
    if (sa < sb && sa < sc) {
        larger = 0;
        smaller = sb < sc ? 1 : 2;
    } else if (sa > sb && sb == sc) {
        larger = 1;
        smaller = 2;
    } else if (sb < sa && sb < sc) {
        larger = 1;
        smaller = sa < sc ? 0 : 2;
    } else if (sb > sc && sc == sa) {
        larger = 2;
        smaller = 0;
    } else if (sc < sa && sc < sb) {
        larger = 2;
        smaller = sa < sb ? 0 : 1;
    }
    return {larger, smaller, 3 - larger - smaller};
}

}  // namespace calc

void TGrsed::CalcFasaGroups2() {
    TGrsed* sw = Switchboards.Cursor;
    TSitid* panel = sw ? sw->Panels.Cursor : nullptr;
    if (!panel) return;

    const int n = std::max(panel->TwoPhaseCount, 0);
    std::vector<TFasaGrup2dFields> lines(n);
    std::array<std::vector<TFasaGrup2dFields>, 3> byPhase;
    for (auto& records : byPhase) records.resize(n);

    panel->TwoPhaseGroups.Cursor = panel->TwoPhaseGroups.First;
    for (int k = 0; k < n && panel->TwoPhaseGroups.Cursor; ++k) {
        TFasaGrup2d* record = panel->TwoPhaseGroups.Cursor;
        lines[k] = static_cast<const TFasaGrup2dFields&>(*record);
        panel->TwoPhaseGroups.Cursor = record->TwoPhaseGroups.Next;
    }
    panel->TwoPhaseGroups.Cursor = panel->TwoPhaseGroups.First;

    std::array<double, 3> sums{};
    for (int k = 0; k < n; ++k) {
        const TFasaGrup2dFields& line = lines[k];
        const double p0 = static_cast<double>(calc::PartPower(line, 0));
        const double p1 = static_cast<double>(calc::PartPower(line, 1));
        // Each part keeps its own cos phi, also when both parts have the same power.
        const std::size_t largerPart = p0 > p1 ? 0 : 1;
        const std::size_t smallerPart = 1 - largerPart;
        const double parts[2] = {p0, p1};

        const calc::TwoPhasePlacement place = calc::PlaceTwoPhaseLine(sums[0], sums[1], sums[2]);
        auto placePart = [&](int phase, std::size_t part) {
            TFasaGrup2dFields& record = byPhase[phase][k];
            record = line;
            record.Power2 = parts[part];
            sums[phase] += parts[part];
            record.CosPhi2 = calc::PartCosPhi(line, part);
            record.*calc::kPhaseCurrent[phase] = PhaseCurrent(record.Power2, record.CosPhi2);
            record.PhaseUsed = 1;
        };
        placePart(place.larger, largerPart);
        placePart(place.smaller, smallerPart);
        byPhase[place.free][k].PhaseUsed = 0;
    }

    panel->TwoPhasePowerA = sums[0];
    panel->TwoPhasePowerB = sums[1];
    panel->TwoPhasePowerC = sums[2];

    for (int phase = 0; phase < 3; ++phase)
        chains::DestroyAll(panel->TwoPhaseByPhase[phase], chains::TwoPhaseByPhaseLink{phase});
    Switchboards.Walker = sw;
    sw->Panels.Walker = panel;
    for (int k = 0; k < n; ++k) {
        for (int phase = 0; phase < 3; ++phase) {
            auto* element = new TFasaGrup2d;
            static_cast<TFasaGrup2dFields&>(*element) = byPhase[phase][k];
            calc::AppendAtTail(panel->TwoPhaseByPhase[phase], element,
                               chains::TwoPhaseByPhaseLink{phase});
        }
    }
}
