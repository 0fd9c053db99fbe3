#pragma once
// The values a change may leave behind in one switchboard's branch of the project tree, kept so
// that a refused change puts every one of them back: the root's fields, the switchboard's, and
// those of each of its panels and of every group record in their four chains. The result chains
// are not kept; the distribution passes build them anew from the group records.
#include <vector>

#include "model/Classd.h"

class BranchValues {
public:
    BranchValues() = default;
    // The values of the switchboard's branch now (nothing kept without a switchboard).
    static BranchValues Of(const TGrsed& root, const TGrsed* switchboard);

    bool Empty() const { return switchboard_ == nullptr; }
    // Puts every value back into the switchboard's branch when it has the shape it had (the same
    // panels, by their numbers, the same group names in each of their chains); false, and nothing
    // changed, when it has another. Panels that changed places (a rebuild re-created some) are
    // linked in their old order again; the group chains are not touched.
    bool PutBack(TGrsed& root) const;

private:
    struct PanelValues {
        TSitidFields panel;
        std::vector<TCxemaGrupdFields> scheme;
        std::vector<TFasaGrup1dFields> single;
        std::vector<TFasaGrup2dFields> two;
        std::vector<TFasaGrup3dFields> three;
    };
    const TGrsed* switchboard_ = nullptr;
    TGrsedFields root_;
    TGrsedFields switchboardFields_;

    std::vector<PanelValues> panels_;
};
