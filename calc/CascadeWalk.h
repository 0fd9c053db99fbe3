#pragma once
// The cascade walk shared by the cascade passes (loads, cos phi, currents). A cascade is a chain
// of panels of one switchboard: its head fed from the switchboard, each member fed from the panel
// before it. The walk handles every cascade from its far end towards its head, carrying running
// values from panel to panel; each pass supplies what is done with a member and with a head.
#include "model/Classd.h"

namespace calc {

class CascadeActions {
public:
    virtual ~CascadeActions() = default;
    // A member (fed from a panel) whose feeder was found, handled once.
    virtual void Member(TSitid& panel) = 0;
    // A head (fed from the switchboard) reached from its own cascade, handled once.
    virtual void Head(TSitid& panel) = 0;
    // Zeroes the running values: at the start of each switchboard and whenever a cascade ends.
    virtual void Reset() = 0;
};

// Walks every switchboard of the root (SwitchboardCount of them, bounded by the chain) and each
// one's panels (PanelCount, bounded by the chain) from the chain's end, running the actions.
// The root's cursor ends past the last switchboard walked, each walked switchboard's panel
// cursor on its first panel.
//
// The walk relies on each feeder standing before the panels it feeds. Running values reach a
// panel only from the member handled just before it, when that member is fed from it: the values
// of one cascade or branch never reach another one. A cascade with branches (a panel feeding two
// panels) carries the branch met first from the chain's end into its head; the other branches
// carry into their own members only.
void WalkCascades(TGrsed& root, CascadeActions& actions);

}  // namespace calc
