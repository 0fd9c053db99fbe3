#pragma once
// The walks of the calculation passes over the project tree. Every walk is bounded by the stored
// counts and by the chains' real lengths, whichever ends first, and moves the root's cursors the
// way the passes are specified to leave them.
#include "model/Classd.h"

namespace calc {

// Extended-precision one third, used by the demand splits.
inline constexpr long double kOneThird = 1.0L / 3.0L;

// The walk of the whole-network passes: from the first switchboard, SwitchboardCount
// switchboards (the count read again after every step); in each, its panels counted along the
// chain (CountPanels), the panel cursor advanced after each. The root's cursor ends past the
// last switchboard walked; each switchboard's panel cursor past its last panel.
template <typename Visit>
void ForEachPanel(TGrsed& root, Visit visit) {
    root.Switchboards.Cursor = root.Switchboards.First;
    int bound = root.SwitchboardCount;
    for (int i = 0; i < bound && root.Switchboards.Cursor; ++i) {
        TGrsed& sw = *root.Switchboards.Cursor;
        sw.Panels.Cursor = sw.Panels.First;
        const int panels = root.CountPanels();
        for (int j = 0; j < panels && sw.Panels.Cursor; ++j) {
            visit(sw, *sw.Panels.Cursor);
            sw.Panels.Cursor = sw.Panels.Cursor->Panels.Next;
        }
        root.Switchboards.Cursor = sw.Switchboards.Next;
        if (root.Switchboards.Cursor) bound = root.SwitchboardCount;
    }
}

// The same walk, one switchboard at a time.
template <typename Visit>
void ForEachSwitchboard(TGrsed& root, Visit visit) {
    root.Switchboards.Cursor = root.Switchboards.First;
    int bound = root.SwitchboardCount;
    for (int i = 0; i < bound && root.Switchboards.Cursor; ++i) {
        TGrsed& sw = *root.Switchboards.Cursor;
        visit(sw);
        root.Switchboards.Cursor = sw.Switchboards.Next;
        if (root.Switchboards.Cursor) bound = root.SwitchboardCount;
    }
}

// Walks the panels of one switchboard from its first panel, `count` of them at most, stepping
// its panel cursor; the cursor ends past the last panel walked.
template <typename Visit>
void ForEachPanelOf(TGrsed& sw, int count, Visit visit) {
    sw.Panels.Cursor = sw.Panels.First;
    for (int j = 0; j < count && sw.Panels.Cursor; ++j) {
        visit(*sw.Panels.Cursor);
        sw.Panels.Cursor = sw.Panels.Cursor->Panels.Next;
    }
}

// The append of the result chains: the new element becomes the walker's next (when there is a
// walker), then walker and last; when the chain has no cursor, cursor and first too.
template <typename T, typename Link>
void AppendAtTail(ChainBlock<T>& owner, T* element, Link link) {
    if (owner.Walker) link(*owner.Walker).Next = element;
    owner.Walker = owner.Last = element;
    if (!owner.Cursor) owner.Cursor = owner.First = element;
}

}  // namespace calc
