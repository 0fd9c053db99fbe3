#pragma once
// The placement rules of the three phase distributions, apart from the tree walks that feed them.
// Phases and parts are numbered 0, 1, 2 (phase A, B, C; part a, b, c).
#include <array>
#include <cstddef>
#include <vector>

#include "model/Chains.h"
#include "model/Classd.h"

namespace calc {

// --- What the three distributions share ---

// The own level (Fields) of the first n records of a group chain, default lines where the chain is
// shorter. The chain's cursor steps along and is put back on its first record.
template <typename Fields, typename Record, typename Link>
std::vector<Fields> CopyLines(ChainBlock<Record>& chain, Link link, int n) {
    std::vector<Fields> lines(static_cast<std::size_t>(n));
    std::size_t k = 0;
    chains::StepCursor(chain, link, n,
                       [&](Record& record) { lines[k++] = static_cast<const Fields&>(record); });
    chain.Cursor = chain.First;
    return lines;
}

// Empties the panel's three result chains of one kind and fills them anew: for k = 0 .. n - 1,
// entry(phase, k) of phase A, B and C in turn, each appended to its phase's chain as a new record
// holding that level.
template <typename Fields, typename Link, typename Record, typename Entry>
void RebuildResultChains(std::array<ChainBlock<Record>, 3>& results, std::size_t n, Entry entry) {
    for (int phase = 0; phase < 3; ++phase) chains::DestroyAll(results[phase], Link{phase});
    for (std::size_t k = 0; k < n; ++k) {
        for (int phase = 0; phase < 3; ++phase) {
            auto* element = new Record;
            static_cast<Fields&>(*element) = entry(phase, k);
            chains::AppendAtTail(results[phase], element, Link{phase});
        }
    }
}

// Part i of a two- or three-phase line: its power, 0 kW where the array has no such entry, and its
// cos phi, 1.0 where it has none.
inline long double PartPower(const std::vector<long double>& powers, std::size_t i) {
    return i < powers.size() ? powers[i] : 0.0L;
}
inline double PartCosPhi(const std::vector<double>& cosPhi, std::size_t i) {
    return i < cosPhi.size() ? cosPhi[i] : 1.0;
}

// --- Single-phase lines: rows of three cells, column 0 = phase A, 1 = B, 2 = C ---

// A cell is the single-phase part of a record; a blank cell is that of a new record.
using SinglePhaseCell = TFasaGrup1dFields;
using SinglePhaseRow = std::array<SinglePhaseCell, 3>;

enum class BalancingMode {
    // Skips the loop steps that cannot exchange anything (the result is the same).
    FastForward,
    // Every step of the loop, one by one.
    StepByStep,
};

// Orders every row (smallest first, rows 0, 2, 4, ... again largest first) and balances the
// columns by exchanging cells in six passes (A,B), (A,C), (B,C), (B,A), (C,A), (C,B). Returns
// the column sums (A, B, C), each taken over the rows in order with partial sums rounded to
// double. A pass whose powers are not finite, or so large that its loop would not end in a
// reasonable time, stops after a bounded number of steps.
std::array<double, 3> ArrangeSinglePhaseRows(std::vector<SinglePhaseRow>& rows,
                                             BalancingMode mode = BalancingMode::FastForward);

// --- Two-phase lines ---

struct TwoPhasePlacement {
    int larger;   // phase that takes the larger part
    int smaller;  // phase that takes the smaller part
    int free;     // phase the line leaves free
};

// The phases of the next two-phase line for the running two-phase loads before it: the least
// loaded phase takes the larger part, the most loaded one stays free (exact comparisons).
TwoPhasePlacement PlaceTwoPhaseLine(double sa, double sb, double sc);

// --- Three-phase lines ---

// The phases from least to most loaded; equal sums keep the order A, B, C.
std::array<int, 3> RankPhasesByLoad(double sa, double sb, double sc);
// The parts from largest to smallest: c wins a tie for the largest, and of the other two the
// earlier part wins a tie.
std::array<int, 3> RankPartsBySize(double a, double b, double c);

}  // namespace calc
