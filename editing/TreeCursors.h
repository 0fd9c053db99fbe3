#pragma once
// Small helpers of the edits that position the project's cursors, read a panel's feed and
// reset its breaker choices.
#include "model/Cascades.h"
#include "model/Classd.h"

namespace editing {

// The root's switchboard cursor on `sw` and its panel cursor on `panel`.
inline void PutBack(TGrsed* sw, TSitid* panel) {
    if (!ProjectRoot) return;
    ProjectRoot->Switchboards.Cursor = sw;
    if (sw) sw->Panels.Cursor = panel;
}

// The panel heads a trunk or is a member of one.
using cascades::InCascade;

// The four breaker types above a panel, chosen again when its group lines change.
inline void ClearBreakerTypes(TGrsed& root, TGrsed& sw, TSitid& panel) {
    root.SectionBreakerType.clear();
    sw.SwitchboardBreakerType.clear();
    panel.PanelBreakerType.clear();
    panel.TrunkBreakerType.clear();
}

}  // namespace editing
