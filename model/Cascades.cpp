#include "model/Cascades.h"

#include <unordered_map>

namespace cascades {

FeedLinks::FeedLinks(const std::vector<TSitid*>& panels) : feeders_(panels.size(), -1) {
    std::unordered_map<int, int> placeOf;
    for (std::size_t i = 0; i < panels.size(); ++i)
        placeOf.try_emplace(panels[i]->PanelNumber, static_cast<int>(i));
    for (std::size_t i = 0; i < panels.size(); ++i) {
        if (!panels[i]->FedFromPanel) continue;
        const auto found = placeOf.find(panels[i]->FeedingPanelNumber);
        if (found != placeOf.end()) feeders_[i] = found->second;
    }
}

std::vector<TSitid*> InFeedOrder(const std::vector<TSitid*>& panels) {
    const FeedLinks links(panels);
    std::vector<bool> placed(panels.size(), false);
    std::vector<TSitid*> order;
    order.reserve(panels.size());
    std::vector<int> upward;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        // The panel and the feeders above it not placed yet, placed from the top down. A feeding
        // circle ends the climb where it closes.
        upward.clear();
        for (int j = static_cast<int>(i); j >= 0 && !placed[j]; j = links.FeederOf(j)) {
            placed[j] = true;
            upward.push_back(j);
        }
        for (auto it = upward.rbegin(); it != upward.rend(); ++it) order.push_back(panels[*it]);
    }
    return order;
}

TSitid* SearchedHead(const TGrsed& sw, const std::vector<TSitid*>& panels, TSitid& panel) {
    if (panel.FedFromSwitchboard) return &panel;
    const auto isHead = [&](const TSitid* p) {
        return p && p->FedFromSwitchboard && p->PanelNumber == panel.CascadeHeadNumber;
    };
    if (isHead(sw.Panels.Last) || panels.size() < 2) return sw.Panels.Last;
    for (std::size_t i = panels.size() - 1; i-- > 0;)
        if (isHead(panels[i])) return panels[i];
    return panels.front();
}

}  // namespace cascades
