#pragma once
// What the cascade walkers, the load calculation and the equipment selection share about the
// cascades of a switchboard: which panel of a list feeds a member, an order of the list in which
// every feeder stands before the panels it feeds, and the head the cascade-head walker selects.
#include <cstddef>
#include <vector>

#include "model/Classd.h"

namespace cascades {

// The panel heads a cascade (fed from the switchboard) or is a member of one (fed from a panel).
inline bool InCascade(const TSitid& panel) {
    return panel.FedFromPanel || panel.FedFromSwitchboard;
}

// The feeders of the members of a list of panels, by place in the list.
class FeedLinks {
public:
    explicit FeedLinks(const std::vector<TSitid*>& panels);
    // Place of the panel that feeds panels[i]: the first of the list numbered as its
    // FeedingPanelNumber; -1 for a panel not fed from a panel or a feeder not in the list.
    int FeederOf(std::size_t i) const { return feeders_[i]; }

private:
    std::vector<int> feeders_;
};

// The list with every member behind the panel of the list that feeds it, the panels otherwise
// in list order: a list that already keeps every feeder in front of its members comes back as it
// is. A swap of panels leaves a chain out of that order until the cascade is reordered; the
// walks that follow a cascade from its far end to its head go by this order instead.
std::vector<TSitid*> InFeedOrder(const std::vector<TSitid*>& panels);

// The panel the cascade-head walker makes current for a panel of the switchboard that is in a
// cascade: the panel itself when it heads one. For a member, the head (fed from the switchboard)
// numbered as its CascadeHeadNumber, looked for from the switchboard's last panel and then back
// from the next to last of `panels` (its first PanelCount panels); without one, the first panel,
// or the last panel when `panels` holds fewer than two.
TSitid* SearchedHead(const TGrsed& sw, const std::vector<TSitid*>& panels, TSitid& panel);

}  // namespace cascades
