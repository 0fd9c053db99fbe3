// Pass 3: the three parts of every three-phase line of the current panel placed greedily, in
// chain order: the largest part on the least loaded phase, the smallest on the most loaded one.
#include <vector>

#include "calc/Distribution.h"
#include "calc/Formulas.h"
#include "calc/PhaseFields.h"
#include "model/Chains.h"

namespace calc {
namespace {

// Of two phases or parts, the one that ranks first: the earlier one unless `laterFirst`.
std::array<int, 2> Order(int earlier, int later, bool laterFirst) {
    return laterFirst ? std::array<int, 2>{later, earlier} : std::array<int, 2>{earlier, later};
}

}  // namespace

std::array<int, 3> RankPhasesByLoad(double sa, double sb, double sc) {
    const double sums[3] = {sa, sb, sc};
    const int least = sc < sa && sc < sb ? 2 : (sa <= sb ? 0 : 1);
    const int earlier = least == 0 ? 1 : 0;
    const int later = least == 2 ? 1 : 2;
    const auto rest = Order(earlier, later, sums[later] < sums[earlier]);
    return {least, rest[0], rest[1]};
}

std::array<int, 3> RankPartsBySize(double a, double b, double c) {
    const double parts[3] = {a, b, c};
    const int largest = c >= a && c >= b ? 2 : (a >= b ? 0 : 1);
    const int earlier = largest == 0 ? 1 : 0;
    const int later = largest == 2 ? 1 : 2;
    const auto rest = Order(earlier, later, parts[later] > parts[earlier]);
    return {largest, rest[0], rest[1]};
}

}  // namespace calc

void TGrsed::CalcFasaGroups3() {
    TGrsed* sw = Switchboards.Cursor;
    TSitid* panel = sw ? sw->Panels.Cursor : nullptr;
    if (!panel) return;

    // The lines in chain order; missing records stay default lines (parts 0, cos phi 1).
    const int n = std::max(panel->ThreePhaseCount, 0);
    const std::vector<TFasaGrup3dFields> lines =
        calc::CopyLines<TFasaGrup3dFields>(panel->ThreePhaseGroups, chains::ThreePhaseLink{}, n);
    std::array<std::vector<TFasaGrup3dFields>, 3> byPhase;
    for (auto& records : byPhase) records.resize(n);

    std::array<double, 3> sums{};
    for (int i = 0; i < n; ++i) {
        const TFasaGrup3dFields& line = lines[i];
        double parts[3];
        for (int p = 0; p < 3; ++p)
            parts[p] = static_cast<double>(calc::PartPower(line.PhasePowers, p));
        const std::array<int, 3> phases = calc::RankPhasesByLoad(sums[0], sums[1], sums[2]);
        const std::array<int, 3> partOrder = calc::RankPartsBySize(parts[0], parts[1], parts[2]);
        for (int place = 0; place < 3; ++place) {
            const int phase = phases[place];
            const int part = partOrder[place];
            sums[phase] += parts[part];
            TFasaGrup3dFields& record = byPhase[phase][i];
            record = line;
            record.Power3 = calc::PartPower(line.PhasePowers, part);
            record.CosPhi3 = calc::PartCosPhi(line.PhaseCosPhi, part);
            record.*calc::kThreePhaseCurrent[phase] = PhaseCurrent(record.Power3, record.CosPhi3);
            record.PhaseNumber = phase + 1;
        }
    }

    panel->ThreePhasePowerA = sums[0];
    panel->ThreePhasePowerB = sums[1];
    panel->ThreePhasePowerC = sums[2];

    calc::RebuildResultChains<TFasaGrup3dFields, chains::ThreePhaseByPhaseLink>(
        panel->ThreePhaseByPhase, lines.size(),
        [&](int phase, std::size_t k) -> const TFasaGrup3dFields& { return byPhase[phase][k]; });
}
