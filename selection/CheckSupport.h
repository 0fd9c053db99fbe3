#pragma once
// What the network checks share: the rows of the transformer and breaker bases as the checks walk
// them, and the single-phase fault current of a path given segment by segment.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "model/Classd.h"

class TCxemaGrupd;
class TGrsed;
class TSitid;

namespace selection {

// One row of the transformer base.
struct TransformerRow {
    std::string name;   // "Трансформатор"
    double power = 0;   // "Мощность кВА"
    double uk = 0;      // "Напряжение к.з. %"
    double losses = 0;  // "Потери к.з. Вт"
};

// The rows of the transformer base in the order of its index "Мощность кВА" (rows of equal power
// in the order they were added). Empty without the transformer window or an open base. The
// base's cursor is left past its last row.
std::vector<TransformerRow> TransformerRows();
// Loads "tranform.xml" from the program folder into the transformer window's dataset again and
// orders it by power. A missing or unreadable file leaves the dataset as it was.
void ReloadTransformerBase();
// Place of the first row with that name; nothing when there is none.
std::optional<std::size_t> FindTransformer(const std::vector<TransformerRow>& rows,
                                           const std::string& name);
// The rows of the transformer base as TransformerRows gives them, and the place among them of
// the project's transformer (FindTransformer of ProjectRoot's name; nothing without a project).
struct RowsOfTheBase {
    std::vector<TransformerRow> rows;
    std::optional<std::size_t> project;
};
RowsOfTheBase RowsWithProjectTransformer();
// "Потери к.з. Вт" of the first row of that power, in index order; 0 when there is none.
double LossesForPower(const std::vector<TransformerRow>& rows, double power);
// Puts the base's cursor on the row at that place in index order; a place at or past the row
// count leaves it past the last row (end of data).
void PlaceTransformerBase(std::size_t index);

// One row of the breaker base.
struct BreakerRow {
    std::string series;       // "Серии"
    double minRating = 0;     // "Мин. ном. ток. А"
    double maxRating = 0;     // "Мак. ном. ток А"
    int poles = 0;            // "Число полюсов"
    double multiplicity = 0;  // "Кратность тока при КЗ"
};

// Loads "Avtomat.xml" from the program folder into the breaker window's dataset, ordered by
// "Мак. ном. ток А", and returns its rows in that order. Nothing when the file is missing (the
// dataset keeps what it holds); no rows when it cannot be read.
std::optional<std::vector<BreakerRow>> LoadBreakerRows();
// The rows of the breaker window's dataset as it stands, in its present order.
std::vector<BreakerRow> BreakerRows();

// Whether a pass over the project (a FileCheckBatch) keeps what it read of the breaker base for
// its later lookups; on from the start. Off, every lookup reads the base: the full path that the
// faster one is held against.
void KeepLookupsWithinPasses(bool keep);
bool LookupsKeptWithinPasses();

// A fault path from the transformer to the far end of a line, as the fault-current members take
// it; the transformer's values are left to FaultCurrent. A segment with length and section 0 and
// no material is left out; the materials are read during the calls only.
using FaultPath = TGrsed::FaultInputs;

// The path of a fault along the switchboard's feeder at section s; with a panel, on along the
// panel's feeder at section p (the panel then also names the path's cascade); with a line, on to
// its end at section g. Lengths and materials are those of the tree.
FaultPath FaultPathThrough(const TGrsed& sw, double s, TSitid* panel = nullptr, double p = 0,
                           const TCxemaGrupd* group = nullptr, double g = 0);

// Single-phase fault current at the end of the path, A, with the transformer of that row (on
// ProjectRoot and its cursors; the panel, when given, is current afterwards).
double FaultCurrent(const FaultPath& path, const TransformerRow& transformer);
// The same at the end of `line` (the current group line) tried at the path's group section: the
// loop takes the line's return conductor at the line's own section, so both its conductors are
// put at that section for the call, as the line is laid when that section is taken.
double FaultCurrentOfLineAt(const FaultPath& path, TCxemaGrupd& line,
                            const TransformerRow& transformer);

}  // namespace selection
