#include "TreeImage.h"

#include "model/Chains.h"

namespace {

template <typename Fields, typename T, typename Link>
void Collect(std::vector<Fields>& out, std::vector<int>& lengths, const ChainBlock<T>& chain,
             Link link) {
    int n = 0;
    for (T* e = chain.First; e; e = link(*e).Next, ++n) out.push_back(static_cast<Fields&>(*e));
    lengths.push_back(n);
}

}  // namespace

TreeImage ImageOf(const TGrsed& root) {
    TreeImage image;
    image.boards.push_back(root);
    for (TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next) {
        image.boards.push_back(*sw);
        for (TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
            image.panels.push_back(*p);
            Collect(image.scheme, image.chainLengths, p->SchemeGroups, chains::SchemeLink{});
            Collect(image.single, image.chainLengths, p->SinglePhaseGroups,
                    chains::SinglePhaseLink{});
            Collect(image.two, image.chainLengths, p->TwoPhaseGroups, chains::TwoPhaseLink{});
            Collect(image.three, image.chainLengths, p->ThreePhaseGroups, chains::ThreePhaseLink{});
            for (int x = 0; x < 3; ++x) {
                Collect(image.single, image.chainLengths, p->SinglePhaseByPhase[x],
                        chains::SinglePhaseByPhaseLink{x});
                Collect(image.two, image.chainLengths, p->TwoPhaseByPhase[x],
                        chains::TwoPhaseByPhaseLink{x});
                Collect(image.three, image.chainLengths, p->ThreePhaseByPhase[x],
                        chains::ThreePhaseByPhaseLink{x});
            }
        }
    }
    return image;
}
