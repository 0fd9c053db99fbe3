#pragma once
// What the selection code shares inside selection/: the walks over the tree (every one bounded),
// the cursor keepers, the node fields it reads under its own names, and the capture of the
// results a pass writes so that an aborted pass leaves the tree as it found it.
#include <string>
#include <vector>

#include "model/Cascades.h"
#include "model/Chains.h"
#include "model/Classd.h"

namespace selection {

// Texts of the cable data.
inline constexpr char kCopper[] = "Медь";
inline constexpr char kAluminium[] = "Алюминий";
inline constexpr char kInGround[] = "В земле";
// Node kinds of the lookups and the loss storing.
inline constexpr char kSwitchboardPanelKey[] = "Grse_Siti";
inline constexpr char kSwitchboardNode[] = "Grse";
inline constexpr char kPanelNode[] = "Siti";
inline constexpr char kShiftedNode[] = "Siti_Sdvig";
inline constexpr char kGroupNode[] = "Grup";

// Cables laid in the ground take the ground column of the temperature correction, every other
// laying text (an empty one too) the air column.
inline bool InAir(const std::string& layingMethod) {
    return layingMethod != kInGround;
}

// A guard against a chain that loops: no real chain is this long.
inline constexpr int kLongestChain = 1 << 20;

// The panels of a switchboard in chain order, to the chain's end whatever PanelCount says (the
// counted walk is chains::PanelsOf).
inline std::vector<TSitid*> PanelsToChainEnd(const TGrsed& sw) {
    return chains::Elements(sw.Panels, chains::PanelLink{}, kLongestChain);
}
// The same panels with every member behind the panel that feeds it, in chain order otherwise: the
// order the cascade walks follow, so that a chain left out of order by a panel swap is walked
// whole.
inline std::vector<TSitid*> PanelsInFeedOrder(const TGrsed& sw) {
    return cascades::InFeedOrder(PanelsToChainEnd(sw));
}
// The switchboards of the root in chain order, at most SwitchboardCount of them.
using chains::SwitchboardsOf;

// The current switchboard and panel of the open project, null when none.
inline TGrsed* CurrentSwitchboard() {
    return ProjectRoot ? ProjectRoot->CurrentSwitchboard() : nullptr;
}
inline TSitid* CurrentPanel() {
    TGrsed* sw = CurrentSwitchboard();
    return sw ? sw->Panels.Cursor : nullptr;
}

// Panel feeder cross-sections: of a panel fed from the switchboard outside any cascade, of its
// feeder inside a cascade (head or member), and of the supply line of a panel fed past the
// switchboard (OnTrunk).
inline double& RadialSection(TSitid& p) {
    return p.FeederSection;
}
inline double& CascadeSection(TSitid& p) {
    return p.FeederSection2;
}
inline double& ShiftedSection(TSitid& p) {
    return p.FeederSectionByCurrent;
}
// The cross-section a phase record keeps of its group line.
inline double& SectionCopy(TFasaGrup1d& r) {
    return r.AllowedCurrent1;
}
inline double& SectionCopy(TFasaGrup2d& r) {
    return r.AllowedCurrent2;
}
inline double& SectionCopy(TFasaGrup3d& r) {
    return r.AllowedCurrent3;
}

// The protective (N/PE) section for a phase section S from a node's section arrays: with a
// neutral-section column, the neutral entry beside the first entry equal to S; without one, the
// first entry above S / 2. 0 when nothing matches.
double NodeTableSection(bool neutralColumn, const std::vector<double>& sections,
                        const std::vector<double>& zeroSections, int count, double section);

// The last (largest) entry of a node's section array, 0 for an empty one.
double LastSection(const std::vector<double>& sections, int count);

// Puts the root's switchboard cursor, and that switchboard's panel cursor, back on destruction.
class SwitchboardCursorKeeper {
public:
    SwitchboardCursorKeeper();
    ~SwitchboardCursorKeeper();
    SwitchboardCursorKeeper(const SwitchboardCursorKeeper&) = delete;
    SwitchboardCursorKeeper& operator=(const SwitchboardCursorKeeper&) = delete;

private:
    TGrsed* root_;
    TGrsed* switchboard_;
    TSitid* panel_;
};

// Puts a switchboard's panel cursor back on destruction.
class PanelCursorKeeper {
public:
    explicit PanelCursorKeeper(TGrsed* sw) : sw_(sw), panel_(sw ? sw->Panels.Cursor : nullptr) {}
    ~PanelCursorKeeper() {
        if (sw_) sw_->Panels.Cursor = panel_;
    }
    PanelCursorKeeper(const PanelCursorKeeper&) = delete;
    PanelCursorKeeper& operator=(const PanelCursorKeeper&) = delete;

private:
    TGrsed* sw_;
    TSitid* panel_;
};

// The results the cable and loss passes write into a switchboard and its panels. Taken before a
// pass, put back when a table lookup aborts it.
class PassResults {
public:
    // Of the switchboard and of every panel of its chain (nothing for null).
    explicit PassResults(TGrsed* sw);
    void Restore();

private:
    struct SwitchboardPart {
        std::string brand;
        double section, neutral, lossA, lossB, lossC, lossMax;
    };
    struct PanelPart {
        TSitid* panel;
        std::string brand;
        double radial, cascade, shifted, neutral;
        double loss[3], lossMax, loss2[3], loss2Max, total[3], totalMax;
    };
    TGrsed* sw_;
    SwitchboardPart board_{};
    std::vector<PanelPart> panels_;
};

// Every value of a switchboard, of its panels and of the group records of one of its panels (the
// chain links left out). Taken before an operation that runs several passes one after another, put
// back when one of them fails, so that the operation leaves nothing of its own behind.
class BranchValues {
public:
    BranchValues(TGrsed* sw, TSitid* panel);
    void Restore();

private:
    template <typename Record>
    struct Kept {
        Record* record;
        Record values;
    };
    template <typename Record, typename Link>
    static void Keep(std::vector<Kept<Record>>& into, const ChainBlock<Record>& chain, Link link);
    template <typename Record>
    static void PutBack(const std::vector<Kept<Record>>& kept);

    std::vector<Kept<TGrsed>> board_;
    std::vector<Kept<TSitid>> panels_;
    std::vector<Kept<TCxemaGrupd>> scheme_;
    std::vector<Kept<TFasaGrup1d>> single_;
    std::vector<Kept<TFasaGrup2d>> two_;
    std::vector<Kept<TFasaGrup3d>> three_;
};

// Upward chain walk from p over the switchboard's panels in feed order, from the last back to the
// first:
// members (fed from a panel) that are p or numbered as the target, the target starting as p's
// feeding panel and moving to each member's; then the head (fed from the switchboard) that is p
// or numbered as the target, which ends the walk. Each visited panel is made current. `member`
// and `head` return true to stop the walk. Returns the panel the walk stopped on; null when it ran
// past the first panel, which then stays current.
template <typename Member, typename Head>
TSitid* WalkUpChain(TGrsed& sw, TSitid* p, Member member, Head head) {
    if (!p) return nullptr;
    const std::vector<TSitid*> panels = PanelsInFeedOrder(sw);
    int target = p->FeedingPanelNumber;
    for (auto it = panels.rbegin(); it != panels.rend(); ++it) {
        TSitid* q = *it;
        sw.Panels.Cursor = q;
        if (q->FedFromPanel && (q == p || q->PanelNumber == target)) {
            if (member(*q)) return q;
            target = q->FeedingPanelNumber;
        }
        if (q->FedFromSwitchboard && (q == p || q->PanelNumber == target)) {
            head(*q);
            return q;
        }
    }
    sw.Panels.Cursor = sw.Panels.First;
    return nullptr;
}

// Downward walk from panel h: the panels fed in turn from h (h itself when it is fed from a
// panel), in feed order.
std::vector<TSitid*> ChainBelow(const TGrsed& sw, const TSitid* h);

// The head of p's cascade: p when it heads one, else the panel of the list fed from the
// switchboard and numbered as p's head number. Null for a plain panel or a missing head.
TSitid* CascadeHeadOf(const TGrsed& sw, TSitid* p);

}  // namespace selection
