// Pass 1: the single-phase lines of the current panel spread over the phases in rows of three,
// balanced by exchanging cells, and listed phase by phase in the panel's result chains.
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "calc/Distribution.h"
#include "calc/Formulas.h"
#include "model/Chains.h"

namespace calc {
namespace {

// The phase pairs (X, Y) of the six balancing passes, in their order.
constexpr std::array<std::pair<int, int>, 6> kBalancingPasses = {
    {{0, 1}, {0, 2}, {1, 2}, {1, 0}, {2, 0}, {2, 1}}};

// Steps a pass may run before it is stopped. A pass over sane powers ends after its first
// exchange, or runs idle steps only, which the fast-forward skips; the bound only matters for
// powers that are not finite or absurdly large.
constexpr long kMaxStepsPerPass = 10000;

// Magnitudes up to which the fast-forward reasons exactly about the loop's doubles (about
// 1.1e12 kW); beyond it the loop runs step by step until the bound above.
constexpr double kExactLimit = 0x1p40;

bool Exact(double v) {
    return std::isfinite(v) && std::fabs(v) <= kExactLimit;
}

// Sorts a row by power with the exchange sort of the distribution: for i = 1, 2 and j = 2 down
// to i, cells j and j - 1 change places when `before(power[j], power[j - 1])`. Equal powers never
// change places.
template <typename Before>
void SortRow(SinglePhaseRow& row, Before before) {
    for (int i = 1; i <= 2; ++i)
        for (int j = 2; j >= i; --j)
            if (before(row[j].Power1, row[j - 1].Power1)) std::swap(row[j], row[j - 1]);
}

class Balancer {
public:
    Balancer(std::vector<SinglePhaseRow>& rows, BalancingMode mode) : rows_(rows), mode_(mode) {}

    std::array<double, 3> Run() {
        double total = 0.0;
        for (const SinglePhaseRow& row : rows_)
            for (const SinglePhaseCell& cell : row)
                total = static_cast<double>(total + cell.Power1);
        target_ = static_cast<double>(kOneThird * total);
        TakeSums();
        for (const auto& [x, y] : kBalancingPasses) Pass(x, y);
        return sums_;
    }

private:
    void TakeSums() {
        for (int column = 0; column < 3; ++column) {
            double sum = 0.0;
            for (const SinglePhaseRow& row : rows_)
                sum = static_cast<double>(sum + row[column].Power1);
            sums_[column] = sum;
        }
    }

    // Sum of column x over every row but r (0 for a single row).
    double OthersInColumn(std::size_t r, int x) const {
        double sum = 0.0;
        for (std::size_t q = 0; q < rows_.size(); ++q)
            if (q != r) sum = static_cast<double>(sum + rows_[q][x].Power1);
        return sum;
    }

    // What a partner cell offers: its power in the first pass, its whole kilowatts in the
    // others.
    double Candidate(std::size_t s, int y, bool firstPass) const {
        const long double power = rows_[s][y].Power1;
        return static_cast<double>(firstPass ? power : std::trunc(power));
    }

    void Pass(int x, int y) {
        const bool firstPass = x == 0 && y == 1;
        double k = 0.0;
        for (long steps = 0; k < target_ - sums_[x]; ++steps) {
            if (steps == kMaxStepsPerPass) return;
            const double goal = std::trunc(target_ - k);
            if (sums_[x] == target_) return;
            const bool exchanged = Step(x, y, firstPass, goal);
            k = k + 1;
            if (exchanged || mode_ == BalancingMode::StepByStep) continue;
            // Nothing changed: every step up to the next goal that can exchange is idle.
            const std::optional<double> next = NextExchangingK(x, y, firstPass, k);
            if (!next) return;
            k = *next;
        }
    }

    // One step of the loop for `goal`; true when a cell was exchanged.
    bool Step(int x, int y, bool firstPass, double goal) {
        bool exchanged = false;
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            if (goal == sums_[x]) continue;
            const double need = goal - OthersInColumn(r, x);
            for (std::size_t s = 0; s < rows_.size(); ++s) {
                if (sums_[y] == target_) break;
                if (Candidate(s, y, firstPass) == need) {
                    std::swap(rows_[r][x], rows_[s][y]);
                    TakeSums();
                    exchanged = true;
                }
            }
        }
        return exchanged;
    }

    // With the cells as they stand, the smallest k >= k0 whose step would exchange a cell;
    // nullopt when no step can (the rest of the pass is idle). When the doubles involved are out
    // of the range this reasoning covers, k0 itself (no skipping).
    std::optional<double> NextExchangingK(int x, int y, bool firstPass, double k0) const {
        if (sums_[y] == target_) return std::nullopt;
        if (!Exact(target_) || !Exact(k0) || !Exact(sums_[x])) return k0;
        std::vector<double> candidates;
        for (std::size_t s = 0; s < rows_.size(); ++s) {
            candidates.push_back(Candidate(s, y, firstPass));
            if (!Exact(candidates.back())) return k0;
        }
        // The goals (whole numbers) for which some row's need equals some candidate: near
        // candidate + others, where the doubles are exact to far better than one.
        std::vector<double> goals;
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            const double others = OthersInColumn(r, x);
            if (!Exact(others)) return k0;
            for (const double candidate : candidates) {
                const long double middle =
                    std::nearbyint(static_cast<long double>(candidate) + others);
                for (int d = -2; d <= 2; ++d) {
                    const double goal = static_cast<double>(middle + d);
                    if (goal != sums_[x] && goal - others == candidate) goals.push_back(goal);
                }
            }
        }
        // The first k >= k0 that reaches one of them: goal(k) = trunc(target - k) never grows
        // with k, so start a few steps before the estimate and walk until it passes the goal.
        std::optional<double> best;
        for (const double goal : goals) {
            long double j = std::floor(static_cast<long double>(target_) - k0 - goal) - 3;
            if (j < 0) j = 0;
            for (int tries = 0;; ++tries, ++j) {
                if (tries > 8) return k0;
                const double k = k0 + static_cast<double>(j);
                const double reached = std::trunc(target_ - k);
                if (reached == goal) {
                    if (!best || k < *best) best = k;
                    break;
                }
                if (reached < goal) break;
            }
        }
        return best;
    }

    std::vector<SinglePhaseRow>& rows_;
    BalancingMode mode_;
    double target_ = 0.0;
    std::array<double, 3> sums_{};
};

// Rebuilds the panel's three single-phase result chains from the rows: for each row, a copy of
// cell A appended to chain A, of cell B to chain B, of cell C to chain C.
void RebuildSinglePhaseChains(TSitid& panel, const std::vector<SinglePhaseRow>& rows) {
    RebuildResultChains<TFasaGrup1dFields, chains::SinglePhaseByPhaseLink>(
        panel.SinglePhaseByPhase, rows.size(),
        [&](int phase, std::size_t k) -> const SinglePhaseCell& { return rows[k][phase]; });
}

}  // namespace

std::array<double, 3> ArrangeSinglePhaseRows(std::vector<SinglePhaseRow>& rows,
                                             BalancingMode mode) {
    for (SinglePhaseRow& row : rows)
        SortRow(row, [](long double a, long double b) { return a < b; });
    // Snake order: the even rows largest first.
    for (std::size_t r = 0; r < rows.size(); r += 2)
        SortRow(rows[r], [](long double a, long double b) { return a > b; });
    return Balancer(rows, mode).Run();
}

}  // namespace calc

void TGrsed::CalcFasaGroups1() {
    TGrsed* sw = Switchboards.Cursor;
    TSitid* panel = sw ? sw->Panels.Cursor : nullptr;
    if (!panel) return;

    const int n = panel->SinglePhaseCount;
    if (n <= 0) {
        panel->SinglePhasePowerA = panel->SinglePhasePowerB = panel->SinglePhasePowerC = 0;
        panel->RowsOfThree = 0;
        Switchboards.Walker = sw;
        sw->Panels.Walker = panel;
        calc::RebuildSinglePhaseChains(*panel, {});
        return;
    }
    const int rowCount = (n - 1) / 3 + 1;
    panel->RowsOfThree = rowCount;
    panel->SinglePhaseGroups.Cursor = panel->SinglePhaseGroups.First;
    if (!panel->SinglePhaseGroups.Cursor) return;

    // Row by row, A, B, C: the lines in chain order, blank cells once the chain is used up.
    std::vector<calc::SinglePhaseRow> rows(rowCount);
    for (calc::SinglePhaseRow& row : rows) {
        for (calc::SinglePhaseCell& cell : row) {
            TFasaGrup1d* record = panel->SinglePhaseGroups.Cursor;
            if (!record) break;
            cell = static_cast<const TFasaGrup1dFields&>(*record);
            panel->SinglePhaseGroups.Cursor = record->SinglePhaseGroups.Next;
        }
    }

    const std::array<double, 3> sums = calc::ArrangeSinglePhaseRows(rows);

    for (calc::SinglePhaseRow& row : rows) {
        row[0].PhaseCurrentA1 = PhaseCurrent(row[0].Power1, row[0].CosPhi1);
        row[1].PhaseCurrentB1 = PhaseCurrent(row[1].Power1, row[1].CosPhi1);
        row[2].PhaseCurrentC1 = PhaseCurrent(row[2].Power1, row[2].CosPhi1);
    }
    panel->SinglePhasePowerA = sums[0];
    panel->SinglePhasePowerB = sums[1];
    panel->SinglePhasePowerC = sums[2];

    Switchboards.Walker = sw;
    sw->Panels.Walker = panel;
    calc::RebuildSinglePhaseChains(*panel, rows);
}
