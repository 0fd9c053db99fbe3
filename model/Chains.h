#pragma once
// Walking, appending to and destroying the chains of the project tree. A chain is described by
// its owner block and a link accessor that gives, for an element, the block whose Next links it
// to the following element (the element's own block of the same chain).
#include <algorithm>
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
