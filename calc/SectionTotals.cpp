// Passes 13-16: the transformer section totals on the project root (every switchboard, with the
// panels its sums leave out added back) and the feeder currents of every panel.
#include <algorithm>
#include <array>
#include <vector>

#include "calc/Formulas.h"
#include "calc/Recalculation.h"
#include "calc/SwitchboardRollup.h"
#include "calc/Walks.h"
#include "model/Chains.h"

namespace {

constexpr double TSitidFields::*kOwnCurrent[3] = {
    &TSitidFields::OwnCurrentA, &TSitidFields::OwnCurrentB, &TSitidFields::OwnCurrentC};
constexpr double TSitidFields::*kPanelCosPhi[3] = {
    &TSitidFields::PanelCosPhiA, &TSitidFields::PanelCosPhiB, &TSitidFields::PanelCosPhiC};
constexpr long double TSitidFields::*kPanelPower[3] = {
    &TSitidFields::PanelPowerA, &TSitidFields::PanelPowerB, &TSitidFields::PanelPowerC};
constexpr long double TSitidFields::*kCascadePower[3] = {
    &TSitidFields::CascadePowerA, &TSitidFields::CascadePowerB, &TSitidFields::CascadePowerC};
constexpr long double TSitidFields::*kTotalPower[3] = {
    &TSitidFields::TotalPowerA, &TSitidFields::TotalPowerB, &TSitidFields::TotalPowerC};
constexpr double TGrsedFields::*kSwitchboardPower[3] = {&TGrsedFields::SwitchboardPowerA,
                                                        &TGrsedFields::SwitchboardPowerB,
                                                        &TGrsedFields::SwitchboardPowerC};
constexpr double TGrsedFields::*kSwitchboardCurrent[3] = {&TGrsedFields::SwitchboardCurrentA,
                                                          &TGrsedFields::SwitchboardCurrentB,
                                                          &TGrsedFields::SwitchboardCurrentC};
constexpr double TGrsedFields::*kSwitchboardCosPhi[3] = {&TGrsedFields::SwitchboardCosPhiA,
                                                         &TGrsedFields::SwitchboardCosPhiB,
                                                         &TGrsedFields::SwitchboardCosPhiC};
constexpr double TGrsedFields::*kTotalPhasePower[3] = {&TGrsedFields::TotalPhasePowerA,
                                                       &TGrsedFields::TotalPhasePowerB,
                                                       &TGrsedFields::TotalPhasePowerC};
constexpr double TGrsedFields::*kTotalCosPhi[3] = {
    &TGrsedFields::TotalCosPhiA, &TGrsedFields::TotalCosPhiB, &TGrsedFields::TotalCosPhiC};

}  // namespace

void TGrsed::SumSwitchboardTotalLoads() {
    if (!Switchboards.First) return;
    TotalPhasePowerA = TotalPhasePowerB = TotalPhasePowerC = 0;
    calc::ForEachSwitchboard(*this, [this](TGrsed& sw) {
        const std::vector<TSitid*> panels =
            chains::Elements(sw.Panels, chains::PanelLink{}, sw.PanelCount);
        // The panels the switchboard's sums leave out, each with its own load: a panel is counted
        // once, also where a flagged member's feeder carries panels counted elsewhere.
        std::array<double, 3> trunk{};
        calc::ForEachPanelOf(sw, sw.PanelCount, [&](TSitid& p) {
            if (p.OnTrunk) {
                // The power its feeder carries: its whole cascade for a cascade panel.
                const bool cascade = p.FedFromPanel || p.FedFromSwitchboard;
                for (int x = 0; x < 3; ++x)
                    p.*kTotalPower[x] = cascade ? p.*kCascadePower[x] : p.*kPanelPower[x];
            }
            if (calc::CountedInSwitchboardPowers(sw, panels, p)) return;
            for (int x = 0; x < 3; ++x) trunk[x] += p.*kPanelPower[x];
        });
        for (int x = 0; x < 3; ++x)
            this->*kTotalPhasePower[x] = static_cast<double>(
                (static_cast<long double>(sw.*kSwitchboardPower[x]) + trunk[x]) +
                this->*kTotalPhasePower[x]);
    });
    TotalInstalledPower = TotalDesignPower = 0;
    calc::ForEachSwitchboard(*this, [this](TGrsed& sw) {
        calc::ForEachPanelOf(sw, sw.PanelCount, [this](TSitid& p) {
            TotalInstalledPower += p.InstalledPower;
            TotalDesignPower += p.DesignPower;
        });
    });
}

void TGrsed::CalcSwitchboardTotalCosPhi() {
    if (!Switchboards.First) return;
    // One aggregate per phase over every switchboard and its panels on trunk lines.
    std::array<CosPhiSums, 3> sums{};
    calc::ForEachSwitchboard(*this, [&](TGrsed& sw) {
        for (int x = 0; x < 3; ++x)
            sums[x].Add(sw.*kSwitchboardCurrent[x], sw.*kSwitchboardCosPhi[x]);
        calc::ForEachPanelOf(sw, sw.PanelCount, [&](TSitid& p) {
            if (!p.OnTrunk) return;
            for (int x = 0; x < 3; ++x) sums[x].Add(p.*kOwnCurrent[x], p.*kPanelCosPhi[x]);
        });
    });
    for (int x = 0; x < 3; ++x) {
        const double magnitude = sums[x].Magnitude();
        if (magnitude != 0.0) this->*kTotalCosPhi[x] = sums[x].Active / magnitude;
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
    calc::ForEachPanel(*this, [](TGrsed&, TSitid& p) {
        p.FeederCurrentA = PhaseCurrent(p.TotalPowerA, p.PanelCosPhiA);
        p.FeederCurrentB = PhaseCurrent(p.TotalPowerB, p.PanelCosPhiB);
        p.FeederCurrentC = PhaseCurrent(p.TotalPowerC, p.PanelCosPhiC);
        p.FeederNeutralCurrent = NetworkCalculation::NeutralCurrent(
            p.FeederCurrentA, p.FeederCurrentB, p.FeederCurrentC);
    });
}
