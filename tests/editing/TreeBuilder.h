#pragma once
// Project trees for the editing tests, built through the tree's own appends.
#include <string>
#include <vector>

// Appends a main switchboard with panels to ProjectRoot (made when there is none), counted as
// the connection dialog counts. The panels are written one token each, in chain order: the
// panel number, then "+" when it feeds sub-panels, "/F" for a sub-panel of panel F, "~F" for a
// sub-panel of F made by the remedy's other variant, "^" for the head of a cascade, "<F" for a
// trunk member fed from panel F, "@H" for the head H of its trunk, "=" for one cross-section for
// the whole trunk.
void BuildSwitchboard(int number, const std::string& panels);

// A three-phase group line of `power` kW added to the panel the way the group entry adds one
// (its scheme and phase records, the phase distribution).
void AddLoad(int panelNumber, const std::string& name, double power);

// The panel numbers of a switchboard in chain order.
std::vector<int> PanelOrder(int switchboardNumber);
