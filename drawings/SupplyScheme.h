#pragma once
// The supply network schematic of one main switchboard ("Принципиальная схема питающей сети"):
// the source at the top, the switchboard with its feeder and breakers, one column for each of
// its panels with the panel's feeder, breakers, number, design power and voltage loss, and a
// legend on the left. Every line and text stands at a fixed place on a sheet of 800 x 1035 px;
// six panel columns fill a sheet, further panels go onto further sheets.
#include <string>
#include <vector>

#include "platform/Canvas.h"

class TGrsed;
class TreeEditing;

inline constexpr int kSupplySheetWidth = 800;
inline constexpr int kSupplySheetHeight = 1035;  // trunc(800 x 22 / 17)
inline constexpr int kSupplyPanelsPerSheet = 6;

// Panels on each sheet of the schematic of a switchboard with `panelCount` panels: six a sheet,
// the remainder on the last; one sheet, maybe without panels, at least.
std::vector<int> SupplySchemeSheets(int panelCount);

// Draws one sheet of the schematic of `switchboard` (the current switchboard of ProjectRoot):
// its next `panelsOnSheet` panels, from the first panel on sheet 1 and from the switchboard's
// panel cursor on later sheets; the walk stops at the end of the chain. `switchboardNumber` goes
// into the title, `severalSheets` writes the sheet number. Leaves the panel cursor past the last
// panel drawn; numbers the cascades it meets through `cascades`. `transformerName` is written
// beside the source.
void PaintSupplyNetworkSheet(platform::TCanvas& canvas, TGrsed& switchboard,
                             const std::string& transformerName, int panelsOnSheet, int sheetNumber,
                             int switchboardNumber, bool severalSheets, TreeEditing& cascades);
