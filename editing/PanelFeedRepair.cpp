#include "editing/PanelFeedRepair.h"

#include <vector>

#include "model/Chains.h"
#include "model/Classd.h"
#include "model/TreeEditing.h"
#include "selection/TreeEdits.h"

namespace {

TGrsed* CurrentSwitchboard() {
    return ProjectRoot ? ProjectRoot->CurrentSwitchboard() : nullptr;
}

bool IsSubPanel(const TSitid& p) {
    return p.OnTrunk || p.PanelFlagC;
}

bool FeedsSubPanels(const TSitid& p) {
    return p.PanelFlagB != 0;
}

// The panel that the switchboard's panel feeds at or after `from`; -1 when none does.
int FirstFeederFrom(const std::vector<TSitid*>& panels, std::size_t from) {
    for (std::size_t i = from; i < panels.size(); ++i)
        if (FeedsSubPanels(*panels[i])) return static_cast<int>(i);
    return -1;
}

// Exchanges what two chain places hold: each panel moves with its fields and group lines.
void Exchange(TGrsed& sw, TSitid* a, TSitid* b) {
    selection::TreeEdits().SwapPanels(&sw, a, b);
}

// Exchanges the first panel after place i + 1 that `belongs` with the panel at place i + 1, so
// that it stands right behind the panel at place i.
template <typename Belongs>
void BringBehind(TGrsed& sw, const std::vector<TSitid*>& panels, std::size_t i, Belongs belongs) {
    for (std::size_t j = i + 2; j < panels.size(); ++j) {
        if (belongs(*panels[j])) {
            Exchange(sw, panels[j], panels[i + 1]);
            return;
        }
    }
}

}  // namespace

bool PanelFeedRepair::RepairPanelFeeds() {
    TGrsed* sw = CurrentSwitchboard();
    if (!sw) return false;
    const long long panels = static_cast<long long>(chains::PanelsOf(*sw).size());
    const long long rounds = panels * panels + 1;
    for (long long round = 0;; ++round) {
        // All three are evaluated, in their order.
        const bool together = CheckSiblingPanelsTogether();
        const bool follow = CheckSubPanelsFollowFeeder();
        const bool after = CheckSubPanelsAfterFeeder();
        if (together && follow && after) return true;
        if (round == rounds) return false;
        MoveFeederBeforeSubPanels();
        GatherSiblingPanels();
        PullSubPanelsToFeeder();
        ProjectRoot->Switchboards.Cursor = sw;
    }
}

bool PanelFeedRepair::CheckSiblingPanelsTogether() {
    TGrsed* sw = CurrentSwitchboard();
    if (!sw) return false;
    const std::vector<TSitid*> panels = chains::PanelsOf(*sw);
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const TSitid& p = *panels[i];
        const int feeder = IsSubPanel(p) ? p.HangsOnPanel : 0;
        if (IsSubPanel(p)) {
            // Sub-panels of a cascade head end the check.
            for (const TSitid* q : panels)
                if (q->PanelNumber == feeder && q->FedFromSwitchboard) return true;
        }
        if (feeder == 0 || i + 1 >= panels.size() || panels[i + 1]->HangsOnPanel == feeder)
            continue;
        for (std::size_t j = i + 2; j < panels.size(); ++j)
            if (panels[j]->HangsOnPanel == feeder) return false;
    }
    return true;
}

bool PanelFeedRepair::CheckSubPanelsFollowFeeder() {
    TGrsed* sw = CurrentSwitchboard();
    if (!sw) return false;
    const std::vector<TSitid*> panels = chains::PanelsOf(*sw);
    int feeder = 0;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const TSitid& p = *panels[i];
        if (!FeedsSubPanels(p)) continue;
        if (p.FedFromSwitchboard) return true;
        feeder = p.PanelNumber;
        if (i + 1 >= panels.size() || IsSubPanel(*panels[i + 1])) continue;
        for (std::size_t j = i + 2; j < panels.size(); ++j)
            if (IsSubPanel(*panels[j]) && panels[j]->HangsOnPanel == feeder) return false;
    }
    return true;
}

bool PanelFeedRepair::CheckSubPanelsAfterFeeder() {
    TGrsed* sw = CurrentSwitchboard();
    if (!sw) return false;
    const std::vector<TSitid*> panels = chains::PanelsOf(*sw);
    int feeder = 0;
    for (std::size_t x = 0; x < panels.size(); ++x) {
        const int at = FirstFeederFrom(panels, x);
        // Without a feeding panel from here on, the last one found stays, at position 0.
        std::size_t feederPlace = 0;
        if (at >= 0) {
            if (panels[at]->FedFromSwitchboard) return true;
            feeder = panels[at]->PanelNumber;
            feederPlace = static_cast<std::size_t>(at);
        }
        for (std::size_t j = 0; j < panels.size(); ++j)
            if (IsSubPanel(*panels[j]) && panels[j]->HangsOnPanel == feeder && j < feederPlace)
                return false;
    }
    return true;
}

void PanelFeedRepair::MoveFeederBeforeSubPanels() {
    TGrsed* sw = CurrentSwitchboard();
    if (!sw) return;
    const std::vector<TSitid*> panels = chains::PanelsOf(*sw);
    int feeder = 0;
    for (std::size_t x = 0; x < panels.size(); ++x) {
        const int at = FirstFeederFrom(panels, x);
        if (at < 0) continue;  // the last feeder found stays, at position 0: nothing moves
        feeder = panels[at]->PanelNumber;
        for (std::size_t j = 0; j < panels.size(); ++j) {
            if (!IsSubPanel(*panels[j]) || panels[j]->HangsOnPanel != feeder) continue;
            if (j < static_cast<std::size_t>(at)) Exchange(*sw, panels[at], panels[j]);
            break;
        }
    }
}

void PanelFeedRepair::GatherSiblingPanels() {
    TGrsed* sw = CurrentSwitchboard();
    if (!sw) return;
    const std::vector<TSitid*> panels = chains::PanelsOf(*sw);
    for (std::size_t i = 0; i + 1 < panels.size(); ++i) {
        const TSitid& p = *panels[i];
        const int feeder = IsSubPanel(p) ? p.HangsOnPanel : 0;
        if (feeder == 0 || panels[i + 1]->HangsOnPanel == feeder) continue;
        BringBehind(*sw, panels, i, [feeder](const TSitid& q) { return q.HangsOnPanel == feeder; });
    }
}

void PanelFeedRepair::PullSubPanelsToFeeder() {
    TGrsed* sw = CurrentSwitchboard();
    if (!sw) return;
    const std::vector<TSitid*> panels = chains::PanelsOf(*sw);
    for (std::size_t i = 0; i + 1 < panels.size(); ++i) {
        const TSitid& p = *panels[i];
        if (!FeedsSubPanels(p) || IsSubPanel(*panels[i + 1])) continue;
        const int feeder = p.PanelNumber;
        BringBehind(*sw, panels, i, [feeder](const TSitid& q) {
            return IsSubPanel(q) && q.HangsOnPanel == feeder;
        });
    }
}

int PanelFeedRepair::PanelIndexInSwitchboard(TSitid* panel) {
    TGrsed* sw = CurrentSwitchboard();
    if (!sw) return 0;
    int steps = 0;
    sw->Panels.Cursor = sw->Panels.First;
    while (steps < sw->PanelCount && sw->Panels.Cursor && sw->Panels.Cursor != panel) {
        sw->Panels.Cursor = sw->Panels.Cursor->Panels.Next;
        ++steps;
    }
    if (sw->Panels.Cursor != panel) return sw->PanelCount;
    return steps;
}
