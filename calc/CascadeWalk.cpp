#include "calc/CascadeWalk.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <vector>

#include "calc/Walks.h"
#include "model/Chains.h"

namespace calc {
namespace {

class SwitchboardWalk {
public:
    SwitchboardWalk(TGrsed& sw, CascadeActions& actions)
        : sw_(sw),
          actions_(actions),
          chain_(chains::Elements(sw.Panels, chains::PanelLink{}, std::numeric_limits<int>::max())),
          count_(std::min(sw.PanelCount, static_cast<int>(chain_.size()))),
          marks_(std::max(count_, 1), 0) {
        // The search for a feeder looks at the predecessors of the panels in chain order and
        // takes the first with the wanted number; the positions do not change during the walk.
        for (int i = 0; i < count_; ++i)
            if (TSitid* candidate = Predecessor(*chain_[i]))
                searched_.try_emplace(candidate->PanelNumber, candidate);
    }

    void Run() {
        Restart();
        int k = count_ - 1;
        while (k >= 0) {
            TSitid& p = *chain_[k];
            if (!p.FedFromPanel && !p.FedFromSwitchboard) {
                --k;
                continue;
            }
            // A panel handled before does nothing here unless it is a head reached by a branch
            // (or the skip target); passed over at once.
            if (!skip_ && marks_[k] != 0 && marks_[k] == p.Position &&
                (!p.FedFromSwitchboard || lastFeeder_ == 0)) {
                --k;
                continue;
            }
            // The walk is on its way to a feeder found by the search: the panels between are
            // passed over.
            if (skip_ && &p != skip_) {
                --k;
                continue;
            }
            skip_ = nullptr;
            TSitid* feeder = FindFeeder(p, k);
            sw_.Panels.Cursor = &p;

            if (p.FedFromPanel && feeder && marks_[k] != p.Position) {
                // The running values belong to the panel fed last; reaching any other panel
                // starts them afresh.
                if (lastFeeder_ != 0 && lastFeeder_ != p.PanelNumber) actions_.Reset();
                lastFeeder_ = feeder->PanelNumber;
                marks_[k] = p.Position;
                actions_.Member(p);
            }
            if (p.FedFromSwitchboard && marks_[k] != p.Position && p.PanelNumber == lastFeeder_) {
                marks_[k] = p.Position;
                actions_.Head(p);
                Restart();
                k = count_ - 1;
                continue;
            }
            // A head handled before, reached again through another branch of its cascade: that
            // branch ends here, and the walk starts over for the cascades it passed over.
            if (p.FedFromSwitchboard && marks_[k] == p.Position && lastFeeder_ != 0) {
                Restart();
                k = count_ - 1;
                continue;
            }
            --k;
        }
        sw_.Panels.Cursor = count_ > 0 ? sw_.Panels.First : sw_.Panels.Last;
    }

private:
    // Closes the open cascade: running values zeroed, no feeder noted, no skip target; the walk
    // goes on from the chain's end.
    void Restart() {
        actions_.Reset();
        lastFeeder_ = 0;
        skip_ = nullptr;
        sw_.Panels.Cursor = count_ > 0 ? chain_[count_ - 1] : sw_.Panels.Last;
    }

    // The panel at 1-based chain position Position - 1 of the given one (the first panel for
    // Position 1 or 2, the panel itself for Position 0 or less, none past the chain's end).
    TSitid* Predecessor(TSitid& panel) const {
        if (panel.Position < 1) return &panel;
        const std::size_t index = static_cast<std::size_t>(std::max(panel.Position - 2, 0));
        return index < chain_.size() ? chain_[index] : nullptr;
    }

    // The feeder of panel p at chain index k: its predecessor when that is the feeder, otherwise
    // the first predecessor of a panel, from the first panel on, that is; null when none is.
    // A feeder found by the search becomes the skip target while p is not yet handled.
    TSitid* FindFeeder(TSitid& p, int k) {
        const int wanted = p.FeedingPanelNumber;
        TSitid* candidate = Predecessor(p);
        if (candidate && candidate->PanelNumber == wanted) return candidate;
        const auto found = searched_.find(wanted);
        if (found == searched_.end()) return nullptr;
        if (marks_[k] == 0) skip_ = found->second;
        return found->second;
    }

    TGrsed& sw_;
    CascadeActions& actions_;
    const std::vector<TSitid*> chain_;           // the whole chain, for the predecessor lookups
    const int count_;                            // the panels walked
    std::unordered_map<int, TSitid*> searched_;  // number -> first searched candidate
    std::vector<int> marks_;  // Position of each handled panel, 0 while not handled
    int lastFeeder_ = 0;      // PanelNumber of the feeder of the member handled last
    TSitid* skip_ = nullptr;
};

}  // namespace

void WalkCascades(TGrsed& root, CascadeActions& actions) {
    ForEachSwitchboard(root, [&](TGrsed& sw) { SwitchboardWalk(sw, actions).Run(); });
}

}  // namespace calc
