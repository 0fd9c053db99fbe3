// Passes 10-12: every switchboard's powers, cos phi and currents from its own panels, leaving out
// the panels on trunk lines and, in the powers, the cascades under a head on a trunk line.
#include "calc/SwitchboardRollup.h"

#include <algorithm>
#include <vector>

#include "calc/Formulas.h"
#include "calc/PhaseFields.h"
#include "calc/Recalculation.h"
#include "model/Cascades.h"
#include "model/Chains.h"

namespace calc {

bool CountedInSwitchboardPowers(const TGrsed& sw, const std::vector<TSitid*>& panels,
                                TSitid& panel) {
    if (panel.OnTrunk) return false;
    if (!panel.FedFromPanel) return true;
    // Left out with its cascade when the head is on a trunk line.
    const TSitid* head = cascades::SearchedHead(sw, panels, panel);
    const int onTrunkHead = head && head->OnTrunk ? head->PanelNumber : 0;
    return panel.CascadeHeadNumber != onTrunkHead;
}

}  // namespace calc

void TGrsed::SumSwitchboardLoads() {
    chains::ForEachSwitchboard(*this, [this](TGrsed& sw) {
        sw.SwitchboardPowerA = sw.SwitchboardPowerB = sw.SwitchboardPowerC = 0;
        sw.SwitchboardInstalledPower = sw.SwitchboardDesignPower = 0;
        const std::vector<TSitid*> panels = chains::PanelsOf(sw);
        chains::ForEachPanelOf(sw, CountPanels(), [&](TSitid& p) {
            if (!calc::CountedInSwitchboardPowers(sw, panels, p)) return;
            sw.SwitchboardPowerA = static_cast<double>(sw.SwitchboardPowerA + p.PanelPowerA);
            sw.SwitchboardPowerB = static_cast<double>(sw.SwitchboardPowerB + p.PanelPowerB);
            sw.SwitchboardPowerC = static_cast<double>(sw.SwitchboardPowerC + p.PanelPowerC);
            sw.SwitchboardInstalledPower += p.InstalledPower;
            sw.SwitchboardDesignPower += p.DesignPower;
            // Demand split on the running totals, after every counted panel.
            if (sw.SwitchboardDesignPower != 0 &&
                sw.SwitchboardDesignPower < sw.SwitchboardInstalledPower) {
                const double third = static_cast<double>(kOneThird * sw.SwitchboardDesignPower);
                sw.SwitchboardPowerA = sw.SwitchboardPowerB = sw.SwitchboardPowerC = third;
            }
        });
    });
}

void TGrsed::CalcSwitchboardCosPhi() {
    chains::ForEachSwitchboard(*this, [this](TGrsed& sw) {
        const int count = CountPanels();
        if (count == 0) return;
        for (int x = 0; x < 3; ++x) {
            CosPhiAggregate aggregate;
            chains::ForEachPanelOf(sw, count, [&](TSitid& p) {
                if (!p.OnTrunk) aggregate.Add(p.*calc::kOwnCurrent[x], p.*calc::kPanelCosPhi[x]);
            });
            aggregate.StoreInto(sw.*calc::kSwitchboardCosPhi[x], ZeroCosPhi::StaysZero);
        }
    });
}

void TGrsed::CalcSwitchboardCurrents() {
    chains::ForEachSwitchboard(*this, [](TGrsed& sw) {
        sw.SwitchboardCurrentA = PhaseCurrent(sw.SwitchboardPowerA, sw.SwitchboardCosPhiA);
        sw.SwitchboardCurrentB = PhaseCurrent(sw.SwitchboardPowerB, sw.SwitchboardCosPhiB);
        sw.SwitchboardCurrentC = PhaseCurrent(sw.SwitchboardPowerC, sw.SwitchboardCosPhiC);
        sw.SwitchboardNeutralCurrent = NetworkCalculation::NeutralCurrent(
            sw.SwitchboardCurrentA, sw.SwitchboardCurrentB, sw.SwitchboardCurrentC);
        sw.SwitchboardCosPhi = sw.SwitchboardCurrentA > sw.SwitchboardCurrentB
                                   ? sw.SwitchboardCosPhiA
                                   : sw.SwitchboardCosPhiB;
        if (sw.SwitchboardCurrentC > std::max(sw.SwitchboardCurrentA, sw.SwitchboardCurrentB))
            sw.SwitchboardCosPhi = sw.SwitchboardCosPhiC;
        sw.SwitchboardDesignCurrent =
            LargestPhaseDesignCurrent(sw.SwitchboardPowerA, sw.SwitchboardPowerB,
                                      sw.SwitchboardPowerC, sw.SwitchboardCosPhi);
    });
}
