// Passes 13-16: the transformer section totals on the project root (every switchboard, with the
// panels its sums leave out added back) and the feeder currents of every panel.
#include <algorithm>
#include <array>
#include <vector>

#include "calc/Formulas.h"
#include "calc/PhaseFields.h"
#include "calc/Recalculation.h"
#include "calc/SwitchboardRollup.h"
#include "model/Chains.h"

void TGrsed::SumSwitchboardTotalLoads() {
    if (!Switchboards.First) return;
    TotalPhasePowerA = TotalPhasePowerB = TotalPhasePowerC = 0;
    chains::ForEachSwitchboard(*this, [this](TGrsed& sw) {
        const std::vector<TSitid*> panels = chains::PanelsOf(sw);
        // The panels the switchboard's sums leave out (on trunk lines, or under a head on one) come
        // in with their own loads: every panel once, also where the feeder of a member on a trunk
        // line carries panels the switchboard counts.
        std::array<double, 3> leftOut{};
        chains::ForEachPanelOf(sw, sw.PanelCount, [&](TSitid& p) {
            if (p.OnTrunk) {
                // The power its feeder carries: its whole cascade for a cascade panel.
                const bool cascade = p.FedFromPanel || p.FedFromSwitchboard;
                for (int x = 0; x < 3; ++x)
                    p.*calc::kTotalPower[x] =
                        cascade ? p.*calc::kCascadePower[x] : p.*calc::kPanelPower[x];
            }
            if (calc::CountedInSwitchboardPowers(sw, panels, p)) return;
            for (int x = 0; x < 3; ++x) leftOut[x] += p.*calc::kPanelPower[x];
        });
        for (int x = 0; x < 3; ++x)
            this->*calc::kTotalPhasePower[x] = static_cast<double>(
                (static_cast<long double>(sw.*calc::kSwitchboardPower[x]) + leftOut[x]) +
                this->*calc::kTotalPhasePower[x]);
    });
    TotalInstalledPower = TotalDesignPower = 0;
    chains::ForEachSwitchboard(*this, [this](TGrsed& sw) {
        chains::ForEachPanelOf(sw, sw.PanelCount, [this](TSitid& p) {
            TotalInstalledPower += p.InstalledPower;
            TotalDesignPower += p.DesignPower;
        });
    });
}

void TGrsed::CalcSwitchboardTotalCosPhi() {
    if (!Switchboards.First) return;
    // One aggregate per phase over every switchboard and its panels on trunk lines.
    std::array<CosPhiSums, 3> sums{};
    chains::ForEachSwitchboard(*this, [&](TGrsed& sw) {
        for (int x = 0; x < 3; ++x)
            sums[x].Add(sw.*calc::kSwitchboardCurrent[x], sw.*calc::kSwitchboardCosPhi[x]);
        chains::ForEachPanelOf(sw, sw.PanelCount, [&](TSitid& p) {
            if (!p.OnTrunk) return;
            for (int x = 0; x < 3; ++x)
                sums[x].Add(p.*calc::kOwnCurrent[x], p.*calc::kPanelCosPhi[x]);
        });
    });
    for (int x = 0; x < 3; ++x) {
        const double magnitude = sums[x].Magnitude();
        // A phase that carries nothing has the cos phi of no load.
        this->*calc::kTotalCosPhi[x] = magnitude != 0.0 ? sums[x].Active / magnitude : 1.0;
    }
    TotalCosPhi = std::min({TotalCosPhiA, TotalCosPhiB, TotalCosPhiC});
}

void TGrsed::CalcSwitchboardTotalCurrents() {
    if (!Switchboards.First) return;
    TotalCurrentA = PhaseCurrent(TotalPhasePowerA, TotalCosPhiA);
    TotalCurrentB = PhaseCurrent(TotalPhasePowerB, TotalCosPhiB);
    TotalCurrentC = PhaseCurrent(TotalPhasePowerC, TotalCosPhiC);
    TotalNeutralCurrent =
        NetworkCalculation::NeutralCurrent(TotalCurrentA, TotalCurrentB, TotalCurrentC);
    TotalDesignCurrent = ThreePhaseCurrent(TotalDesignPower, TotalCosPhi);
}

void TGrsed::CalcPanelFeederCurrents() {
    chains::ForEachPanel(*this, [](TGrsed&, TSitid& p) {
        p.FeederCurrentA = PhaseCurrent(p.TotalPowerA, p.PanelCosPhiA);
        p.FeederCurrentB = PhaseCurrent(p.TotalPowerB, p.PanelCosPhiB);
        p.FeederCurrentC = PhaseCurrent(p.TotalPowerC, p.PanelCosPhiC);
        p.FeederNeutralCurrent = NetworkCalculation::NeutralCurrent(
            p.FeederCurrentA, p.FeederCurrentB, p.FeederCurrentC);
    });
}
