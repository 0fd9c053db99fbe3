#pragma once
// Finding nodes of the open project by number in tests, without moving any cursor.
#include <limits>
#include <string>
#include <vector>

class TGrsed;
class TSitid;

// The first switchboard of ProjectRoot with this number; null when there is none.
TGrsed* SwitchboardNumbered(int number);
// The first panel with this number in any switchboard of ProjectRoot; null when there is none.
TSitid* PanelNumbered(int number);
// The names of the first `count` group lines of the panel's chain, in chain order (all of
// them by default, however many the panel counts).
std::vector<std::string> GroupNames(const TSitid& panel,
                                    int count = std::numeric_limits<int>::max());
