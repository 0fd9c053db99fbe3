#pragma once
// Walking, appending to and destroying the chains of the project tree. A chain is described by
// its owner block and a link accessor that gives, for an element, the block whose Next links it
// to the following element (the element's own block of the same chain). Every counted walk of the
// tree goes through the walks here: bounded by the stored count and by the chain's real length,
// whichever ends first.
#include <algorithm>
#include <array>
#include <vector>

#include "model/Classd.h"

namespace chains {

struct SchemeLink {
    ChainBlock<TCxemaGrupd>& operator()(TCxemaGrupd& r) const { return r.SchemeGroups; }
};
struct SinglePhaseLink {
    ChainBlock<TFasaGrup1d>& operator()(TFasaGrup1d& r) const { return r.SinglePhaseGroups; }
};
struct TwoPhaseLink {
    ChainBlock<TFasaGrup2d>& operator()(TFasaGrup2d& r) const { return r.TwoPhaseGroups; }
};
struct ThreePhaseLink {
    ChainBlock<TFasaGrup3d>& operator()(TFasaGrup3d& r) const { return r.ThreePhaseGroups; }
};
struct PanelLink {
    ChainBlock<TSitid>& operator()(TSitid& p) const { return p.Panels; }
};
struct SwitchboardLink {
    ChainBlock<TGrsed>& operator()(TGrsed& s) const { return s.Switchboards; }
};
// Result chains: phase 0, 1, 2 = A, B, C.
struct SinglePhaseByPhaseLink {
    int phase;
    ChainBlock<TFasaGrup1d>& operator()(TFasaGrup1d& r) const {
        return r.SinglePhaseByPhase[phase];
    }
};
struct TwoPhaseByPhaseLink {
    int phase;
    ChainBlock<TFasaGrup2d>& operator()(TFasaGrup2d& r) const { return r.TwoPhaseByPhase[phase]; }
};
struct ThreePhaseByPhaseLink {
    int phase;
    ChainBlock<TFasaGrup3d>& operator()(TFasaGrup3d& r) const { return r.ThreePhaseByPhase[phase]; }
};

// Number of elements linked from first to the tail.
template <typename T, typename Link>
int Length(const ChainBlock<T>& owner, Link link) {
    int n = 0;
    for (T* e = owner.First; e; e = link(*e).Next) ++n;
    return n;
}

// The first `count` elements in chain order, fewer when the chain is shorter: every counted walk
// is bounded by the smaller of the stored count and the chain's real length.
template <typename T, typename Link>
std::vector<T*> Elements(const ChainBlock<T>& owner, Link link, int count) {
    std::vector<T*> out;
    for (T* e = owner.First; e && static_cast<int>(out.size()) < count; e = link(*e).Next)
        out.push_back(e);
    return out;
}

// The first of the first `count` elements (fewer when the chain is shorter) that `match` holds
// for, walked in place; null when none does.
template <typename T, typename Link, typename Match>
T* FindFirst(const ChainBlock<T>& owner, Link link, int count, Match match) {
    int seen = 0;
    for (T* e = owner.First; e && seen < count; e = link(*e).Next, ++seen)
        if (match(*e)) return e;
    return nullptr;
}

// Calls `visit` with each of the first `count` elements (fewer when the chain is shorter), walked
// in place: for walks that change no chain.
template <typename T, typename Link, typename Visit>
void ForEachElement(const ChainBlock<T>& owner, Link link, int count, Visit visit) {
    int seen = 0;
    for (T* e = owner.First; e && seen < count; e = link(*e).Next, ++seen) visit(*e);
}

// Sets a panel's four group counts to the lengths of its four group chains.
inline void CountGroupChains(TSitid& panel) {
    panel.SchemeGroupCount = Length(panel.SchemeGroups, SchemeLink{});
    panel.SinglePhaseCount = Length(panel.SinglePhaseGroups, SinglePhaseLink{});
    panel.TwoPhaseCount = Length(panel.TwoPhaseGroups, TwoPhaseLink{});
    panel.ThreePhaseCount = Length(panel.ThreePhaseGroups, ThreePhaseLink{});
}

// The panels of a switchboard and the switchboards of the root that the counted walks reach: the
// first PanelCount (SwitchboardCount) elements, fewer when the chain is shorter.
inline std::vector<TSitid*> PanelsOf(const TGrsed& sw) {
    return Elements(sw.Panels, PanelLink{}, sw.PanelCount);
}
inline std::vector<TGrsed*> SwitchboardsOf(const TGrsed& root) {
    return Elements(root.Switchboards, SwitchboardLink{}, root.SwitchboardCount);
}

// One place of a kind's three result chains (phases A, B, C) walked in step: each chain's k-th
// record, null once that chain has ended. How far a walk goes is its own end rule, named at the
// walk: a number of rows, until every chain has ended (AllEnded), or until any has (AnyEnded).
template <typename Record, typename Link>
class ResultRow {
public:
    explicit ResultRow(const std::array<ChainBlock<Record>, 3>& chains)
        : at_{chains[0].First, chains[1].First, chains[2].First} {}
    Record* operator[](int phase) const { return at_[phase]; }
    const std::array<Record*, 3>& Records() const { return at_; }
    bool AllEnded() const { return !at_[0] && !at_[1] && !at_[2]; }
    bool AnyEnded() const { return !at_[0] || !at_[1] || !at_[2]; }
    void Advance() {
        for (int x = 0; x < 3; ++x)
            if (at_[x]) at_[x] = Link{x}(*at_[x]).Next;
    }

private:
    std::array<Record*, 3> at_;
};

// Walks the first `count` elements of a chain (fewer when it is shorter), stepping the owner's
// cursor along: the cursor is on each element while it is visited and ends past the last one.
template <typename T, typename Link, typename Visit>
void StepCursor(ChainBlock<T>& owner, Link link, int count, Visit visit) {
    owner.Cursor = owner.First;
    for (int i = 0; i < count && owner.Cursor; ++i) {
        T& element = *owner.Cursor;
        visit(element);
        owner.Cursor = link(element).Next;
    }
}

// The switchboards of the root from the first one, SwitchboardCount of them (the count read again
// after every step), stepping the root's cursor, which ends past the last switchboard walked.
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

// The panels of one switchboard from its first panel, `count` of them at most, stepping its
// panel cursor; the cursor ends past the last panel walked.
template <typename Visit>
void ForEachPanelOf(TGrsed& sw, int count, Visit visit) {
    StepCursor(sw.Panels, PanelLink{}, count, visit);
}

// The walk of the whole-network passes: every switchboard as above, and in each its panels
// counted along the chain (TGrsed::CountPanels), visited with their switchboard.
template <typename Visit>
void ForEachPanel(TGrsed& root, Visit visit) {
    ForEachSwitchboard(root, [&](TGrsed& sw) {
        ForEachPanelOf(sw, root.CountPanels(), [&](TSitid& panel) { visit(sw, panel); });
    });
}

// The append rule of the tree: the owner's cursor goes to first, the walker walks to the tail, the
// tail's next becomes the new element; walker and last become it, and when the chain was empty,
// cursor and first too.
template <typename T, typename Link>
void AppendWalking(ChainBlock<T>& owner, T* element, Link link) {
    owner.Cursor = owner.First;
    owner.Walker = owner.First;
    if (!owner.Walker) {
        owner.Cursor = owner.First = owner.Walker = owner.Last = element;
        return;
    }
    while (link(*owner.Walker).Next) owner.Walker = link(*owner.Walker).Next;
    link(*owner.Walker).Next = element;
    owner.Walker = owner.Last = element;
}

// The append of the result chains: the new element becomes the walker's next (when there is a
// walker), then walker and last; when the chain has no cursor, cursor and first too.
template <typename T, typename Link>
void AppendAtTail(ChainBlock<T>& owner, T* element, Link link) {
    if (owner.Walker) link(*owner.Walker).Next = element;
    owner.Walker = owner.Last = element;
    if (!owner.Cursor) owner.Cursor = owner.First = element;
}

// The 0-based place of the element in the chain; -1 when it is not linked there.
template <typename T, typename Link>
int PlaceOf(const ChainBlock<T>& owner, Link link, const T* element) {
    int place = 0;
    for (T* e = owner.First; e; e = link(*e).Next, ++place)
        if (e == element) return place;
    return -1;
}

// Moves the last element of the chain to the 0-based place (the elements from there on follow
// it); a place at or beyond the tail leaves the chain as it is. The cursor is put on the element
// moved.
template <typename T, typename Link>
void MoveLastTo(ChainBlock<T>& owner, Link link, int place) {
    T* moved = owner.Last;
    if (!moved || place < 0) return;
    T* before = nullptr;
    T* at = owner.First;
    for (int i = 0; at && at != moved && i < place; ++i) {
        before = at;
        at = link(*at).Next;
    }
    if (at == moved) return;
    // Unlink the tail: its predecessor becomes the last element.
    T* previous = at;
    while (link(*previous).Next != moved) previous = link(*previous).Next;
    link(*previous).Next = nullptr;
    owner.Last = previous;
    if (owner.Walker == moved) owner.Walker = previous;
    // Link it in front of `at`.
    link(*moved).Next = at;
    if (before)
        link(*before).Next = moved;
    else
        owner.First = moved;
    owner.Cursor = moved;
}

// Links the chain's elements anew in the given order (every element of the chain, each once);
// the walker goes to the new tail, the cursor stays on its element.
template <typename T, typename Link>
void Relink(ChainBlock<T>& owner, Link link, const std::vector<T*>& order) {
    owner.First = order.empty() ? nullptr : order.front();
    for (std::size_t i = 0; i < order.size(); ++i)
        link(*order[i]).Next = i + 1 < order.size() ? order[i + 1] : nullptr;
    owner.Last = owner.Walker = order.empty() ? nullptr : order.back();
}

// Deletes every element linked in the chain and clears the owner block.
template <typename T, typename Link>
void DestroyAll(ChainBlock<T>& owner, Link link) {
    T* e = owner.First;
    while (e) {
        T* next = link(*e).Next;
        delete e;
        e = next;
    }
    // The owner's own Next is its link in another chain and stays.
    owner.Cursor = owner.Walker = owner.First = owner.Last = nullptr;
}

}  // namespace chains
