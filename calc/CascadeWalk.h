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

// Walks every switchboard of the root (SwitchboardCount of them, bounded by the chain) and, in
// each, its first PanelCount panels (bounded by the chain), running the actions. The root's cursor
// ends past the last switchboard walked, each walked switchboard's panel cursor on its first panel.
//
// Each cascade is carried from its far end to its head, following the feeders by their numbers,
// whatever the order of the chain. Running values reach a panel only from the member handled just
// before it, when that member is fed from it: the values of one cascade or branch never reach
// another one. A cascade with branches (a panel feeding two panels) carries into its head the
// branch that stands last once every feeder is put before its members; the other branches carry
// into their own members only. Every member fed from a panel of the list is handled once; a head
// is handled when a member reaches it.
void WalkCascades(TGrsed& root, CascadeActions& actions);

}  // namespace calc
