#include "calc/CascadeWalk.h"

#include <vector>

#include "model/Cascades.h"
#include "model/Chains.h"

namespace calc {
namespace {

class SwitchboardWalk {
public:
    SwitchboardWalk(TGrsed& sw, CascadeActions& actions)
        : sw_(sw),
          actions_(actions),
          panels_(cascades::InFeedOrder(chains::PanelsOf(sw))),
          links_(panels_),
          handled_(panels_.size(), false) {}

    void Run() {
        actions_.Reset();
        for (int start = NextStart(); start >= 0; start = NextStart()) {
            actions_.Reset();
            CarryUpwards(start);
        }
        sw_.Panels.Cursor = panels_.empty() ? sw_.Panels.Last : sw_.Panels.First;
    }

private:
    // The member not handled yet that stands last in feed order among those whose feeder is in
    // the list: the far end of a cascade, or of a branch not carried yet; -1 when none is left.
    int NextStart() const {
        for (int i = static_cast<int>(panels_.size()) - 1; i >= 0; --i)
            if (!handled_[i] && panels_[i]->FedFromPanel && links_.FeederOf(i) >= 0) return i;
        return -1;
    }

    // Handles the member at `i`, then each panel it is fed through in turn: members while their
    // own feeder is in the list, and at last the head. A panel handled before (where a branch
    // joins a part carried already), a plain feeder or a member without a feeder of its own
    // ends the climb; so does a member that heads a cascade itself.
    void CarryUpwards(int i) {
        for (;;) {
            TSitid& member = *panels_[i];
            Handle(i);
            actions_.Member(member);
            const int f = links_.FeederOf(i);
            if (member.FedFromSwitchboard || handled_[f]) return;
            TSitid& feeder = *panels_[f];
            if (feeder.FedFromPanel && links_.FeederOf(f) >= 0) {
                i = f;
                continue;
            }
            if (feeder.FedFromSwitchboard) {
                Handle(f);
                actions_.Head(feeder);
            }
            return;
        }
    }

    void Handle(int i) {
        handled_[i] = true;
        sw_.Panels.Cursor = panels_[i];
    }

    TGrsed& sw_;
    CascadeActions& actions_;
    const std::vector<TSitid*> panels_;  // the walked panels, every feeder before its members
    const cascades::FeedLinks links_;
    std::vector<bool> handled_;
};

}  // namespace

void WalkCascades(TGrsed& root, CascadeActions& actions) {
    chains::ForEachSwitchboard(root, [&](TGrsed& sw) { SwitchboardWalk(sw, actions).Run(); });
}

}  // namespace calc
