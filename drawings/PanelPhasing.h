#pragma once
// The phase-balancing picture of a panel: a header with the panel's number, powers, current and
// phase voltages; the buses A, B, C and N; and every group line hanging from the bus or buses of
// its phases with its breaker, neutral conductor and load box, labelled with its name, power,
// breaker, currents and cable. Groups stand one column apart: single-phase groups on A, then B,
// then C, then the two-phase and the three-phase groups.
#include "drawings/PrintSheets.h"
#include "platform/Canvas.h"

class TSitid;

struct PanelPhasingFrame {
    int step = 160;  // DrawingStep: the column pitch
    int top = 0;     // T: a quarter of the main window's client height
};

// Draws the picture of `panel` and marks the sheets that its buses reach. Walks stop at the end
// of a chain; the panel's cursors are not moved.
void PaintPanelPhasing(platform::TCanvas& canvas, const PanelPhasingFrame& frame,
                       const TSitid& panel, SheetGrid& sheets);
