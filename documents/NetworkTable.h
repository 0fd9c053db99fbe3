#pragma once
// The calculation table of the distribution network: one row per main switchboard, then one row
// per panel, with its loads, feeder cable, current, breaker, voltage drop and short-circuit
// currents. The results grid, the painted table and the Word report show the same values, each
// in its own wording.
#include <string>
#include <vector>

class TGrsed;

// The values of one row, as the network calculation left them.
struct NetworkTableEntry {
    bool switchboard = true;  // a main switchboard's row, else a panel's
    int number = 0;
    double installedPower = 0;  // kW
    double designPower = 0;     // kW
    double demandFactor = 1.0;  // of a panel, as stored
    std::string cableBrand;
    double feederLength = 0;    // m
    double phaseSection = 0;    // mm²: a cascade panel's feeder has the cascade section
    double neutralSection = 0;  // mm²
    double designCurrent = 0;   // A
    std::string breakerType;
    double breakerRating = 0;  // A
    double voltageDrop = 0;    // %: a switchboard's largest phase drop
    double cosPhi = 1.0;
    double faultCurrent1 = 0;  // A
    double faultCurrent3 = 0;  // A
    double surgeCurrent = 0;   // kA
};

// Every switchboard in chain order, then the panels of every switchboard, switchboard by
// switchboard; each chain bounded by its stored count. The tree's cursors end past the end.
std::vector<NetworkTableEntry> NetworkTableEntries(TGrsed& root);

// The cells of a row in each form of the table: the results grid, the painted page and the Word
// report (the columns of the network template's table). Every view takes as many as its row has.
inline constexpr int kNetworkGridCells = 15;
inline constexpr int kNetworkPageCells = 14;
inline constexpr int kNetworkReportCells = 15;

// The results grid's cells: name, powers rounded to 0.01 kW, cable, length, cross-section,
// current, breaker, rating, drop, deviation at 380 V, cos f, short-circuit currents. A row whose
// installed power is exactly 0 has "___" in every value cell.
std::vector<std::string> NetworkGridRow(const NetworkTableEntry& entry);
// The painted table's texts: name, powers and current to 0.1, cable, length, cross-section,
// breaker type cut to 8 characters, rating, drop, cos f, short-circuit currents; "___" in every
// value column when the installed power is exactly 0.
std::vector<std::string> NetworkPageRow(const NetworkTableEntry& entry);
// The Word report's cells, with the demand coefficient in the third; no cells at all for a row
// whose installed power is exactly 0. A switchboard's coefficient is its rounded design power over
// its rounded installed power, empty when the installed power rounds to 0.
std::vector<std::string> NetworkReportRow(const NetworkTableEntry& entry);
