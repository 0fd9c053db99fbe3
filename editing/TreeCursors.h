#pragma once
// Small helpers of the edits that position the project's cursors and read a panel's feed.
#include "model/Classd.h"

namespace editing {

// The root's switchboard cursor on `sw` and its panel cursor on `panel`.
inline void PutBack(TGrsed* sw, TSitid* panel) {
    if (!ProjectRoot) return;
    ProjectRoot->Switchboards.Cursor = sw;
    if (sw) sw->Panels.Cursor = panel;
}

// The panel heads a trunk or is a member of one.
inline bool InCascade(const TSitid& panel) {
    return panel.FedFromPanel || panel.FedFromSwitchboard;
}

}  // namespace editing
