#pragma once
// Searches of a panel's group lines and of their phase records by name, each walking its chains
// from their first records. The walks over a panel's lines search line after line: a search that
// finds its record asks the memory for the one after it in the same chain (the next line's, as
// a rule), so that the next search finds it in the cache instead of waiting for it. Asking
// changes no value.
#include <array>
#include <optional>
#include <string>

#include "model/Classd.h"

namespace selection {

// The first of the panel's first SchemeGroupCount scheme records named so; null when none.
TCxemaGrupd* FirstSchemeGroupNamed(TSitid& panel, const std::string& name);

// For the three kinds of phase records (TFasaGrup1d, TFasaGrup2d, TFasaGrup3d), each within its
// panel's count of that kind:
// the first record of the kind's record chain named so; null when none.
template <typename Record>
Record* FirstRecordNamed(TSitid& panel, const std::string& name);
// The kind's three result chains walked in step from their first records, at most the count of
// rows, until a row holds a record named so: true, their cursors on that row; false, the cursors
// past the rows walked (the walk ends early at a row where all three have ended).
template <typename Record>
bool SeekResultRowNamed(TSitid& panel, const std::string& name);
// The row of the three result chains in step with the last record of the kind's record chain
// named so (a chain shorter than that row gives null); nothing when no record is named so.
template <typename Record>
std::optional<std::array<Record*, 3>> RowOfLastRecordNamed(TSitid& panel, const std::string& name);

// Asks the memory for what the searches above read of the panel, ahead of a walk that searches
// each of its lines: the records of its scheme chain, of its three phase-record chains and of its
// nine result chains as far as the searches walk them, with the fields a line's loss and largest
// phase current read there. Changes nothing. A chain's next record is known only once the one
// before it has come from memory, so a chain walked alone waits for its records one at a time;
// walked a step each in turn, the thirteen chains have several records on their way at once.
void FetchPanelLines(const TSitid& panel);

}  // namespace selection
