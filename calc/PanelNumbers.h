#pragma once
// The panel chooser of the group-line window: the panels of the current switchboard.
#include <string>
#include <vector>

class TGrsed;
class TSitid;

struct PanelNumberList {
    std::vector<std::string> Items;  // in chain order
    int Selected = -1;               // the item to choose, -1 for none
};

// One entry per panel of the root's current switchboard (PanelCount of them, bounded by the
// chain): the panel number, or "feeder(number)" for a panel on a trunk line or flagged C. The
// entry of the last panel in the second form is the one chosen, when the list holds it. Leaves
// the switchboard's panel cursor on its last panel. Empty without a project or a current
// switchboard.
PanelNumberList ListPanelNumbers(TGrsed* root);

// A panel as the panel lists show it: its number, or, for a panel hanging on another one (on a
// trunk line or flagged C), "feeder(number)".
std::string PanelListItem(const TSitid& panel);
// The second form whatever the panel's marks.
std::string HangingPanelItem(const TSitid& panel);
// Every panel of the project in that form, switchboard by switchboard in chain order.
std::vector<std::string> ProjectPanelItems(const TGrsed& root);
