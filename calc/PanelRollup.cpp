// Passes 4-6: the figures of every panel's own load from its three phase distributions.
#include <algorithm>

#include "calc/Formulas.h"
#include "calc/PhaseFields.h"
#include "calc/Recalculation.h"
#include "model/Chains.h"

namespace {

// Feeds the first `count` records of one result chain (fewer when the chain is shorter) into an
// aggregate, walking the chain's cursor from its first record: the weight is the record's
// current on the chain's phase.
template <typename T, typename Link, typename Weight, typename CosPhi>
void AggregateChain(ChainBlock<T>& chain, Link link, int count, CosPhiAggregate& aggregate,
                    Weight weight, CosPhi cosPhi) {
    chains::StepCursor(chain, link, count,
                       [&](T& record) { aggregate.Add(record.*weight, record.*cosPhi); });
}

}  // namespace

void TGrsed::SumPanelPhaseLoads() {
    chains::ForEachPanel(*this, [](TGrsed&, TSitid& p) {
        p.PanelPowerA = p.SinglePhasePowerA + p.TwoPhasePowerA + p.ThreePhasePowerA;
        p.PanelPowerB = p.SinglePhasePowerB + p.TwoPhasePowerB + p.ThreePhasePowerB;
        p.PanelPowerC = p.SinglePhasePowerC + p.TwoPhasePowerC + p.ThreePhasePowerC;
    });
    // The second walk goes by each switchboard's stored panel count.
    chains::ForEachSwitchboard(*this, [](TGrsed& sw) {
        chains::ForEachPanelOf(sw, sw.PanelCount, [](TSitid& p) {
            p.InstalledPower = static_cast<double>(p.PanelPowerA + p.PanelPowerB + p.PanelPowerC);
            p.DesignPower = p.InstalledPower * p.DemandFactor;
            // Demand split: a design power below the installed one is spread evenly.
            if (p.DesignPower != 0 && p.DesignPower < p.InstalledPower) {
                const double third = static_cast<double>(kOneThird * p.DesignPower);
                p.PanelPowerA = p.PanelPowerB = p.PanelPowerC = third;
            }
        });
    });
}

void TGrsed::CalcPanelCosPhi() {
    chains::ForEachPanel(*this, [](TGrsed&, TSitid& p) {
        // Per phase, one aggregate running on across the single-, two- and three-phase chains.
        for (int phase = 0; phase < 3; ++phase) {
            CosPhiAggregate aggregate;
            AggregateChain(p.SinglePhaseByPhase[phase], chains::SinglePhaseByPhaseLink{phase},
                           p.RowsOfThree, aggregate, calc::kSinglePhaseCurrent[phase],
                           &TFasaGrup1dFields::CosPhi1);
            AggregateChain(p.TwoPhaseByPhase[phase], chains::TwoPhaseByPhaseLink{phase},
                           p.TwoPhaseCount, aggregate, calc::kTwoPhaseCurrent[phase],
                           &TFasaGrup2dFields::CosPhi2);
            AggregateChain(p.ThreePhaseByPhase[phase], chains::ThreePhaseByPhaseLink{phase},
                           p.ThreePhaseCount, aggregate, calc::kThreePhaseCurrent[phase],
                           &TFasaGrup3dFields::CosPhi3);
            aggregate.StoreInto(p.*calc::kPanelCosPhi[phase]);
        }
        p.PanelCosPhi = std::min({p.PanelCosPhiA, p.PanelCosPhiB, p.PanelCosPhiC});
    });
}

void TGrsed::CalcPanelCurrents() {
    chains::ForEachPanel(*this, [](TGrsed&, TSitid& p) {
        p.OwnCurrentA = PhaseCurrent(p.PanelPowerA, p.PanelCosPhiA);
        p.OwnCurrentB = PhaseCurrent(p.PanelPowerB, p.PanelCosPhiB);
        p.OwnCurrentC = PhaseCurrent(p.PanelPowerC, p.PanelCosPhiC);
        p.OwnNeutralCurrent =
            NetworkCalculation::NeutralCurrent(p.OwnCurrentA, p.OwnCurrentB, p.OwnCurrentC);
        // The most loaded phase: a tie between A and B goes to B, a tie with C keeps the earlier.
        double largest = p.OwnCurrentB;
        p.PanelCosPhi = p.PanelCosPhiB;
        if (p.OwnCurrentA > p.OwnCurrentB) {
            largest = p.OwnCurrentA;
            p.PanelCosPhi = p.PanelCosPhiA;
        }
        if (p.OwnCurrentC > largest) {
            largest = p.OwnCurrentC;
            p.PanelCosPhi = p.PanelCosPhiC;
        }
        p.OwnDesignCurrent =
            p.DemandFactor == 1.0 ? largest : ThreePhaseCurrent(p.DesignPower, p.PanelCosPhi);
    });
}
