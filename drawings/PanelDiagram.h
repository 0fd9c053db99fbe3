#pragma once
// The one-line diagram of a panel: its title, voltage and powers, its bus bar with the input
// breaker and the supply link above it (a tap from a trunk, or a plain feeder from the main
// switchboard), and below the bus one line per group with its breaker, conductor marks, cable,
// power, current and least consumer voltage.
#include "drawings/PrintSheets.h"
#include "platform/Canvas.h"

class EquipmentSelection;
class TGrsed;
class TSitid;

struct PanelDiagramFrame {
    int step = 160;  // DrawingStep
    int busY = 0;    // y of the bus bar: half the main window's height
};

// Draws the diagram of `panel` of `switchboard` with `groupCount` group lines (the bus is as long
// as they need; the group walk stops at the end of the scheme chain) and marks the sheets of the
// group lines. The switchboard and the panel must be the current ones of ProjectRoot: the group
// services work on the cursors. Leaves the panel's scheme cursor past the last group drawn.
void PaintPanelDiagram(platform::TCanvas& canvas, const PanelDiagramFrame& frame,
                       const TGrsed& switchboard, TSitid& panel, int groupCount, SheetGrid& sheets,
                       EquipmentSelection& services);
