#pragma once
// The results grids of the group lines of one panel and of the main switchboards.
#include <string>
#include <vector>

class TGrsed;
class TSitid;

// The cells of a row of the group results grid and of the switchboard results grid, headings
// included.
inline constexpr int kGroupResultCells = 23;
inline constexpr int kSwitchboardResultCells = 20;

// The headings of the group results grid.
const std::vector<std::string>& GroupResultHeadings();

// The group results of a panel, one row per group line: its single-phase lines
// first, then its two-phase and its three-phase lines, as the phase calculation placed them.
// Per phase: current, rating, voltage loss from the transformer, deviation at 220 V and cos f;
// the panel's scheme records give the name's breaker type, short-circuit current, power and
// cross-section.
std::vector<std::vector<std::string>> GroupResultRows(TSitid& panel);

// The headings of the switchboard results grid.
const std::vector<std::string>& SwitchboardResultHeadings();
// One row of the switchboard results grid: number, phase powers, cable, section, currents,
// breaker and the next rating, phase drops, length, phase cos f, short-circuit current.
std::vector<std::string> SwitchboardResultRow(const TGrsed& switchboard);
