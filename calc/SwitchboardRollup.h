#pragma once
// Which panels the switchboard sums count, shared by the switchboard roll-up and the section
// totals, so that every panel's load reaches the section once.
#include <vector>

#include "model/Classd.h"

namespace calc {

// Whether the power sums of the switchboard (pass 10) count the panel: not when it is on a trunk
// line (OnTrunk), nor when it is fed from a panel and the head the cascade-head walker finds for
// it is on a trunk line and numbered as its CascadeHeadNumber. `panels` are the switchboard's
// first PanelCount panels.
bool CountedInSwitchboardPowers(const TGrsed& sw, const std::vector<TSitid*>& panels,
                                TSitid& panel);

}  // namespace calc
