#include "selection/SelectionSupport.h"

#include <algorithm>
#include <type_traits>

namespace selection {

double NodeTableSection(bool neutralColumn, const std::vector<double>& sections,
                        const std::vector<double>& zeroSections, int count, double section) {
    const int n = std::min(count, static_cast<int>(sections.size()));
    for (int i = 0; i < n; ++i) {
        if (neutralColumn) {
            if (sections[i] == section)
                return i < static_cast<int>(zeroSections.size()) ? zeroSections[i] : 0.0;
        } else if (sections[i] > section * 0.5) {
            return sections[i];
        }
    }
    return 0.0;
}

double LastSection(const std::vector<double>& sections, int count) {
    const int n = std::min(count, static_cast<int>(sections.size()));
    return n > 0 ? sections[n - 1] : 0.0;
}

SwitchboardCursorKeeper::SwitchboardCursorKeeper()
    : root_(ProjectRoot),
      switchboard_(ProjectRoot ? ProjectRoot->Switchboards.Cursor : nullptr),
      panel_(switchboard_ ? switchboard_->Panels.Cursor : nullptr) {}

SwitchboardCursorKeeper::~SwitchboardCursorKeeper() {
    if (!root_ || root_ != ProjectRoot) return;
    root_->Switchboards.Cursor = switchboard_;
    if (switchboard_) switchboard_->Panels.Cursor = panel_;
}

PassResults::PassResults(TGrsed* sw) : sw_(sw) {
    if (!sw) return;
    board_ = {sw->SwitchboardCableBrand, sw->SwitchboardSection, sw->SwitchboardNeutralSection,
              sw->SwitchboardLossA,      sw->SwitchboardLossB,   sw->SwitchboardLossC,
              sw->SwitchboardLossSum};
    for (TSitid* p : PanelsToChainEnd(*sw)) {
        panels_.push_back({p,
                           p->FeederCableBrand,
                           RadialSection(*p),
                           CascadeSection(*p),
                           ShiftedSection(*p),
                           p->FeederNeutralSection,
                           {p->LossPartA, p->LossPartB, p->LossPartC},
                           p->LossPartSum,
                           {p->LossPart2A, p->LossPart2B, p->LossPart2C},
                           p->LossPart2Sum,
                           {p->VoltageLossA, p->VoltageLossB, p->VoltageLossC},
                           p->MaxVoltageLoss});
    }
}

void PassResults::Restore() {
    if (!sw_) return;
    sw_->SwitchboardCableBrand = board_.brand;
    sw_->SwitchboardSection = board_.section;
    sw_->SwitchboardNeutralSection = board_.neutral;
    sw_->SwitchboardLossA = board_.lossA;
    sw_->SwitchboardLossB = board_.lossB;
    sw_->SwitchboardLossC = board_.lossC;
    sw_->SwitchboardLossSum = board_.lossMax;
    for (const PanelPart& part : panels_) {
        TSitid& p = *part.panel;
        p.FeederCableBrand = part.brand;
        RadialSection(p) = part.radial;
        CascadeSection(p) = part.cascade;
        ShiftedSection(p) = part.shifted;
        p.FeederNeutralSection = part.neutral;
        p.LossPartA = part.loss[0];
        p.LossPartB = part.loss[1];
        p.LossPartC = part.loss[2];
        p.LossPartSum = part.lossMax;
        p.LossPart2A = part.loss2[0];
        p.LossPart2B = part.loss2[1];
        p.LossPart2C = part.loss2[2];
        p.LossPart2Sum = part.loss2Max;
        p.VoltageLossA = part.total[0];
        p.VoltageLossB = part.total[1];
        p.VoltageLossC = part.total[2];
        p.MaxVoltageLoss = part.totalMax;
    }
}

namespace {

// The values of a record copy put back into the record, level by level; its chain links stay.
template <typename Record>
void PutValues(Record& into, const Record& from) {
    static_cast<TCxemaGrupdFields&>(into) = from;
    if constexpr (std::is_base_of_v<TFasaGrup1dFields, Record>)
        static_cast<TFasaGrup1dFields&>(into) = from;
    if constexpr (std::is_base_of_v<TFasaGrup2dFields, Record>)
        static_cast<TFasaGrup2dFields&>(into) = from;
    if constexpr (std::is_base_of_v<TFasaGrup3dFields, Record>)
        static_cast<TFasaGrup3dFields&>(into) = from;
    if constexpr (std::is_base_of_v<TSitidFields, Record>) static_cast<TSitidFields&>(into) = from;
    if constexpr (std::is_base_of_v<TGrsedFields, Record>) static_cast<TGrsedFields&>(into) = from;
}

}  // namespace

template <typename Record, typename Link>
void BranchValues::Keep(std::vector<Kept<Record>>& into, const ChainBlock<Record>& chain,
                        Link link) {
    for (Record* r : chains::Elements(chain, link, kLongestChain)) into.push_back({r, *r});
}

template <typename Record>
void BranchValues::PutBack(const std::vector<Kept<Record>>& kept) {
    for (const Kept<Record>& k : kept) PutValues(*k.record, k.values);
}

BranchValues::BranchValues(TGrsed* sw, TSitid* panel) {
    if (!sw) return;
    board_.push_back({sw, *sw});
    for (TSitid* p : PanelsToChainEnd(*sw)) panels_.push_back({p, *p});
    if (!panel) return;
    Keep(scheme_, panel->SchemeGroups, chains::SchemeLink{});
    Keep(single_, panel->SinglePhaseGroups, chains::SinglePhaseLink{});
    Keep(two_, panel->TwoPhaseGroups, chains::TwoPhaseLink{});
    Keep(three_, panel->ThreePhaseGroups, chains::ThreePhaseLink{});
    for (int x = 0; x < 3; ++x) {
        Keep(single_, panel->SinglePhaseByPhase[x], chains::SinglePhaseByPhaseLink{x});
        Keep(two_, panel->TwoPhaseByPhase[x], chains::TwoPhaseByPhaseLink{x});
        Keep(three_, panel->ThreePhaseByPhase[x], chains::ThreePhaseByPhaseLink{x});
    }
}

void BranchValues::Restore() {
    PutBack(board_);
    PutBack(panels_);
    PutBack(scheme_);
    PutBack(single_);
    PutBack(two_);
    PutBack(three_);
}

std::vector<TSitid*> ChainBelow(const TGrsed& sw, const TSitid* h) {
    std::vector<TSitid*> chain;
    if (!h) return chain;
    int last = h->PanelNumber;
    for (TSitid* q : PanelsInFeedOrder(sw)) {
        if (q->FedFromPanel && (q->FeedingPanelNumber == last || q == h)) {
            chain.push_back(q);
            last = q->PanelNumber;
        }
    }
    return chain;
}

TSitid* CascadeHeadOf(const TGrsed& sw, TSitid* p) {
    if (!p) return nullptr;
    if (p->FedFromSwitchboard) return p;
    if (!p->FedFromPanel) return nullptr;
    for (TSitid* q : PanelsToChainEnd(sw))
        if (q->FedFromSwitchboard && q->PanelNumber == p->CascadeHeadNumber) return q;
    return nullptr;
}

}  // namespace selection
