#include "model/BranchValues.h"

#include "model/Chains.h"

namespace {

template <typename Fields, typename T, typename Link>
std::vector<Fields> ValuesOf(const ChainBlock<T>& chain, Link link) {
    std::vector<Fields> values;
    for (T* e = chain.First; e; e = link(*e).Next) values.push_back(static_cast<const Fields&>(*e));
    return values;
}

// The records of a chain in order, when there are as many as values and each carries the name
// its value does.
template <typename Fields, typename T, typename Link, typename Name>
bool SameShape(const ChainBlock<T>& chain, Link link, const std::vector<Fields>& values,
               Name name) {
    std::size_t i = 0;
    for (T* e = chain.First; e; e = link(*e).Next, ++i)
        if (i >= values.size() || name(static_cast<const Fields&>(*e)) != name(values[i]))
            return false;
    return i == values.size();
}

template <typename Fields, typename T, typename Link>
void Assign(ChainBlock<T>& chain, Link link, const std::vector<Fields>& values) {
    std::size_t i = 0;
    for (T* e = chain.First; e; e = link(*e).Next) static_cast<Fields&>(*e) = values[i++];
}

}  // namespace

BranchValues BranchValues::Of(const TGrsed& root, const TGrsed* switchboard) {
    BranchValues v;
    if (!switchboard) return v;
    v.switchboard_ = switchboard;
    v.root_ = root;
    v.switchboardFields_ = *switchboard;
    for (TSitid* p = switchboard->Panels.First; p; p = p->Panels.Next) {
        v.panels_.push_back(
            {*p, ValuesOf<TCxemaGrupdFields>(p->SchemeGroups, chains::SchemeLink{}),
             ValuesOf<TFasaGrup1dFields>(p->SinglePhaseGroups, chains::SinglePhaseLink{}),
             ValuesOf<TFasaGrup2dFields>(p->TwoPhaseGroups, chains::TwoPhaseLink{}),
             ValuesOf<TFasaGrup3dFields>(p->ThreePhaseGroups, chains::ThreePhaseLink{})});
    }
    return v;
}

bool BranchValues::PutBack(TGrsed& root) const {
    if (!switchboard_) return false;
    TGrsed* sw = nullptr;
    for (TGrsed* s = root.Switchboards.First; s && !sw; s = s->Switchboards.Next)
        if (s == switchboard_) sw = s;
    if (!sw) return false;
    // The panels by their numbers, in the order they had.
    std::vector<TSitid*> order;
    std::size_t now = 0;
    for (TSitid* p = sw->Panels.First; p; p = p->Panels.Next) ++now;
    if (now != panels_.size()) return false;
    for (const PanelValues& v : panels_) {
        TSitid* found = nullptr;
        for (TSitid* p = sw->Panels.First; p && !found; p = p->Panels.Next)
            if (p->PanelNumber == v.panel.PanelNumber) found = p;
        if (!found ||
            !SameShape(found->SchemeGroups, chains::SchemeLink{}, v.scheme,
                       [](const TCxemaGrupdFields& r) { return r.GroupName; }) ||
            !SameShape(found->SinglePhaseGroups, chains::SinglePhaseLink{}, v.single,
                       [](const TFasaGrup1dFields& r) { return r.GroupName1; }) ||
            !SameShape(found->TwoPhaseGroups, chains::TwoPhaseLink{}, v.two,
                       [](const TFasaGrup2dFields& r) { return r.GroupName2; }) ||
            !SameShape(found->ThreePhaseGroups, chains::ThreePhaseLink{}, v.three,
                       [](const TFasaGrup3dFields& r) { return r.GroupName3; }))
            return false;
        order.push_back(found);
    }

    chains::Relink(sw->Panels, chains::PanelLink{}, order);
    static_cast<TGrsedFields&>(root) = root_;
    static_cast<TGrsedFields&>(*sw) = switchboardFields_;
    for (std::size_t i = 0; i < order.size(); ++i) {
        TSitid& p = *order[i];
        const PanelValues& v = panels_[i];
        static_cast<TSitidFields&>(p) = v.panel;
        Assign(p.SchemeGroups, chains::SchemeLink{}, v.scheme);
        Assign(p.SinglePhaseGroups, chains::SinglePhaseLink{}, v.single);
        Assign(p.TwoPhaseGroups, chains::TwoPhaseLink{}, v.two);
        Assign(p.ThreePhaseGroups, chains::ThreePhaseLink{}, v.three);
    }
    return true;
}
