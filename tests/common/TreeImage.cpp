#include "TreeImage.h"

#include "model/Chains.h"
#include "platform/Conversions.h"

namespace {

template <typename Fields, typename T, typename Link>
void Collect(std::vector<Fields>& out, std::vector<int>& lengths, const ChainBlock<T>& chain,
             Link link, double Fields::*sectionCopy = nullptr) {
    int n = 0;
    for (T* e = chain.First; e; e = link(*e).Next, ++n) {
        out.push_back(static_cast<Fields&>(*e));
        if (sectionCopy) out.back().*sectionCopy = 0;
    }
    lengths.push_back(n);
}

TreeImage Image(const TGrsed& root, bool resultSectionCopies) {
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
            const auto copy = [&](auto field) { return resultSectionCopies ? nullptr : field; };
            for (int x = 0; x < 3; ++x) {
                Collect(image.single, image.chainLengths, p->SinglePhaseByPhase[x],
                        chains::SinglePhaseByPhaseLink{x},
                        copy(&TFasaGrup1dFields::AllowedCurrent1));
                Collect(image.two, image.chainLengths, p->TwoPhaseByPhase[x],
                        chains::TwoPhaseByPhaseLink{x}, copy(&TFasaGrup2dFields::AllowedCurrent2));
                Collect(image.three, image.chainLengths, p->ThreePhaseByPhase[x],
                        chains::ThreePhaseByPhaseLink{x},
                        copy(&TFasaGrup3dFields::AllowedCurrent3));
            }
        }
    }
    return image;
}

}  // namespace

TreeImage ImageOf(const TGrsed& root) {
    return Image(root, true);
}

TreeImage ImageWithoutResultSectionCopies(const TGrsed& root) {
    return Image(root, false);
}

TreeImage ImageAsItsFileKeepsIt(const TGrsed& root) {
    TreeImage image = Image(root, false);
    const auto asWritten = [](double& value) {
        value = platform::StrToFloat(platform::FloatToStr(value));
    };
    for (TGrsedFields& board : image.boards)
        for (double* value : {&board.SwitchboardFaultCurrent1, &board.SwitchboardFaultCurrent3,
                              &board.SwitchboardSurgeCurrent})
            asWritten(*value);
    for (TSitidFields& panel : image.panels)
        for (double* value :
             {&panel.PanelFaultCurrent1, &panel.PanelFaultCurrent3, &panel.PanelSurgeCurrent})
            asWritten(*value);
    for (TCxemaGrupdFields& group : image.scheme) asWritten(group.SinglePhaseFaultCurrent);
    return image;
}

namespace {

template <typename T>
std::string Differs(const char* what, const std::vector<T>& a, const std::vector<T>& b) {
    if (a.size() != b.size()) return std::string(what) + ": another number of records";
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i]))
            return std::string(what) + " " + platform::IntToStr(static_cast<long long>(i));
    return std::string();
}

}  // namespace

std::string FirstDifference(const TreeImage& a, const TreeImage& b) {
    for (const std::string& found :
         {Differs("switchboard (0: the root)", a.boards, b.boards),
          Differs("panel", a.panels, b.panels), Differs("scheme record", a.scheme, b.scheme),
          Differs("single-phase record", a.single, b.single),
          Differs("two-phase record", a.two, b.two),
          Differs("three-phase record", a.three, b.three),
          Differs("chain length", a.chainLengths, b.chainLengths)})
        if (!found.empty()) return found;
    return std::string();
}
