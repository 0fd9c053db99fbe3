#pragma once
// Searches of a panel's group lines and of their phase records by name, each walking its chains
// from their first records.
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

}  // namespace selection
