// Pass 2: the two-phase lines of the current panel placed greedily, in chain order, each with its
// larger part on the least loaded phase and its smaller part on the next one.
#include <vector>

#include "calc/Distribution.h"
#include "calc/Formulas.h"
#include "calc/PhaseFields.h"
#include "model/Chains.h"

namespace calc {

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
    const std::vector<TFasaGrup2dFields> lines =
        calc::CopyLines<TFasaGrup2dFields>(panel->TwoPhaseGroups, chains::TwoPhaseLink{}, n);
    std::array<std::vector<TFasaGrup2dFields>, 3> byPhase;
    for (auto& records : byPhase) records.resize(n);

    std::array<double, 3> sums{};
    for (int k = 0; k < n; ++k) {
        const TFasaGrup2dFields& line = lines[k];
        const double p0 = static_cast<double>(calc::PartPower(line.PartPowers, 0));
        const double p1 = static_cast<double>(calc::PartPower(line.PartPowers, 1));
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
            record.CosPhi2 = calc::PartCosPhi(line.PartCosPhi, part);
            record.*calc::kTwoPhaseCurrent[phase] = PhaseCurrent(record.Power2, record.CosPhi2);
            record.PhaseUsed = 1;
        };
        placePart(place.larger, largerPart);
        placePart(place.smaller, smallerPart);
        byPhase[place.free][k].PhaseUsed = 0;
    }

    panel->TwoPhasePowerA = sums[0];
    panel->TwoPhasePowerB = sums[1];
    panel->TwoPhasePowerC = sums[2];

    Switchboards.Walker = sw;
    sw->Panels.Walker = panel;
    calc::RebuildResultChains<TFasaGrup2dFields, chains::TwoPhaseByPhaseLink>(
        panel->TwoPhaseByPhase, lines.size(),
        [&](int phase, std::size_t k) -> const TFasaGrup2dFields& { return byPhase[phase][k]; });
}
