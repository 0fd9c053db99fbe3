#pragma once
// The general one-line scheme of the network: the supply system and the transformer on the left,
// the bus of the substation section along the top, and below it every main switchboard, from
// right to left, with its feeder, its bus, its panels (a staircase of columns, each one step lower
// than its right-hand neighbour), the cascades hanging below their heads and the group lines of
// every panel, each element labelled with its equipment and calculated values.
#include "drawings/PrintSheets.h"
#include "platform/Canvas.h"

class EquipmentSelection;
class TGrsed;
class TreeEditing;

// y of the section bus, px, at every scale.
inline constexpr int kSchemeTop = 300;

// What the layout counts over the switchboards before the picture is sized and drawn.
struct SchemeColumns {
    // Columns of the section bus beyond one per switchboard, from the section-fed panels.
    int sectionPanels = 0;
    // Shift of the switchboards to the right, px, for section-fed panels of switchboards whose
    // section feed is marked.
    int shift = 0;
};

// The two counting passes over the switchboards at drawing step `step`. The first one writes each
// switchboard's SchemeOrder (its place in the chain from 0), which the walkers' search of the
// previous switchboard relies on.
SchemeColumns CountSchemeColumns(TGrsed& root, TreeEditing& walkers, int step);

// Width and height of the picture, px: the right end of the widest row of switchboards, panels
// and group lines, and the depth of the switchboards with their panels and cascades. Cascade
// walks follow one path and take no panel twice. They move the tree's cursors.
int GeneralSchemeWidthOf(TGrsed& root, TreeEditing& walkers, int step, int left);
int GeneralSchemeHeightOf(TGrsed& root, int step, int top);

// The group line of the current scheme record of the current panel with its top at (x, y):
// breaker, line, load arrow, conductor strokes, and six labels (name, power, largest phase
// current, cable, least consumer voltage, breaker). The services read the record under the
// cursors; the voltage lookup leaves the scheme cursor on the record of that name. The result is
// the right and bottom edge of the texts below the line's top.
platform::TPoint DrawPanelGroupLines(platform::TCanvas& canvas, int step, int x, int y,
                                     EquipmentSelection& services);

// Draws the whole scheme of `root` and marks the sheets that its switchboard and panel buses
// reach. The canvas's brush is expected clear. Moves the cursors and numbers the cascades.
void PaintGeneralScheme(platform::TCanvas& canvas, int step, const SchemeColumns& columns,
                        TGrsed& root, TreeEditing& walkers, SheetGrid& sheets,
                        EquipmentSelection& services);
