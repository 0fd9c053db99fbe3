#pragma once
// The consumers calculation table of one panel: one row per group line, of twelve cells: group,
// number of phases, power, cos f, current, breaker type and rating, cable brand, length,
// cross-section, voltage drop to the consumer and single-phase short-circuit current. The painted
// page and the Word report show the same cells; the page cuts the breaker type to 8 characters.
#include <string>
#include <vector>

class TGrsed;

// The cells of a row, on the painted page and in the Word report (the columns of the consumers
// template's table).
inline constexpr int kConsumerTableCells = 12;

// The rows of the panel with that number, in the order of its scheme records; none when no panel
// has the number. A two- or three-phase group entered phase by phase shows its per-phase powers,
// cos f, currents and ratings joined by "/"; where several pairs of phases qualify, the last one
// is shown. A value that the phase results do not give is an empty cell.
std::vector<std::vector<std::string>> ConsumerTableRows(TGrsed& root, int panelNumber);

// The number of group lines of the panel with that number; 0 when no panel has it.
int ConsumerTableRowCount(TGrsed& root, int panelNumber);
