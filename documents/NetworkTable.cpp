#include "documents/NetworkTable.h"

#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Conversions.h"
#include "platform/Cp1251.h"
#include "selection/EquipmentSelection.h"

using platform::FloatToStr;
using platform::IntToStr;
using platform::RoundTo;

namespace {

constexpr char kNoLoad[] = "___";

NetworkTableEntry SwitchboardEntry(const TGrsed& sw) {
    NetworkTableEntry e;
    e.switchboard = true;
    e.number = sw.SwitchboardNumber;
    e.installedPower = sw.SwitchboardInstalledPower;
    e.designPower = sw.SwitchboardDesignPower;
    e.cableBrand = sw.SwitchboardCableBrand;
    e.feederLength = sw.SwitchboardFeederLength;
    e.phaseSection = sw.SwitchboardSection;
    e.neutralSection = sw.SwitchboardNeutralSection;
    e.designCurrent = sw.SwitchboardDesignCurrent;
    e.breakerType = sw.SwitchboardBreakerType;
    e.breakerRating = sw.SwitchboardBreakerRating;
    // The first drop against the second, the larger of them against the third.
    double drop =
        sw.SwitchboardLossA > sw.SwitchboardLossB ? sw.SwitchboardLossA : sw.SwitchboardLossB;
    if (sw.SwitchboardLossC > drop) drop = sw.SwitchboardLossC;
    e.voltageDrop = drop;
    e.cosPhi = sw.SwitchboardCosPhi;
    e.faultCurrent1 = sw.SwitchboardFaultCurrent1;
    e.faultCurrent3 = sw.SwitchboardFaultCurrent3;
    e.surgeCurrent = sw.SwitchboardSurgeCurrent;
    return e;
}

NetworkTableEntry PanelEntry(const TSitid& panel) {
    NetworkTableEntry e;
    e.switchboard = false;
    e.number = panel.PanelNumber;
    e.installedPower = panel.InstalledPower;
    e.designPower = panel.DesignPower;
    e.demandFactor = panel.DemandFactor;
    e.cableBrand = panel.FeederCableBrand;
    e.feederLength = panel.FeederLength;
    const bool cascade = panel.FedFromPanel || panel.FedFromSwitchboard;
    e.phaseSection = cascade ? panel.FeederSection2 : panel.FeederSection;
    e.neutralSection = panel.FeederNeutralSection;
    e.designCurrent = panel.OwnDesignCurrent;
    e.breakerType = panel.PanelBreakerType;
    e.breakerRating = panel.PanelBreakerRating;
    e.voltageDrop = panel.MaxVoltageLoss;
    e.cosPhi = panel.PanelCosPhi;
    e.faultCurrent1 = panel.PanelFaultCurrent1;
    e.faultCurrent3 = panel.PanelFaultCurrent3;
    e.surgeCurrent = panel.PanelSurgeCurrent;
    return e;
}

std::string Hundredth(double v) {
    return FloatToStr(RoundTo(v, -2));
}

std::string Tenth(double v) {
    return FloatToStr(RoundTo(v, -1));
}

// The cross-section cell of the grid and the report: a switchboard's has blanks on both sides of
// "+ 1 x", a panel's none after "+" and "x".
std::string SpacedSectionText(const NetworkTableEntry& e) {
    return "3 x " + FloatToStr(e.phaseSection) + (e.switchboard ? " + 1 x " : " +1 x") +
           FloatToStr(e.neutralSection);
}

}  // namespace

std::vector<NetworkTableEntry> NetworkTableEntries(TGrsed& root) {
    std::vector<NetworkTableEntry> entries;
    chains::ForEachSwitchboard(root, [&](TGrsed& sw) { entries.push_back(SwitchboardEntry(sw)); });
    chains::ForEachSwitchboard(root, [&](TGrsed& sw) {
        chains::ForEachPanelOf(sw, sw.PanelCount,
                               [&](TSitid& panel) { entries.push_back(PanelEntry(panel)); });
    });
    return entries;
}

std::vector<std::string> NetworkGridRow(const NetworkTableEntry& e) {
    std::vector<std::string> cells;
    cells.push_back((e.switchboard ? "Грщ-" : "Щит-") + IntToStr(e.number));
    if (e.installedPower == 0.0) {
        cells.resize(kNetworkGridCells, kNoLoad);
        return cells;
    }
    const double deviation = EquipmentSelection::VoltageDeviation(e.voltageDrop, 380.0);
    const double voltage = EquipmentSelection::ConsumerVoltage(e.voltageDrop, 380.0);
    cells.insert(cells.end(),
                 {Hundredth(e.installedPower), Hundredth(e.designPower), e.cableBrand,
                  FloatToStr(e.feederLength), SpacedSectionText(e), FloatToStr(e.designCurrent),
                  e.breakerType, FloatToStr(e.breakerRating), FloatToStr(e.voltageDrop),
                  FloatToStr(deviation) + "    (" + FloatToStr(voltage) + " вольт" + ")",
                  FloatToStr(e.cosPhi), FloatToStr(e.faultCurrent1), FloatToStr(e.faultCurrent3),
                  FloatToStr(e.surgeCurrent)});
    return cells;
}

std::vector<std::string> NetworkPageRow(const NetworkTableEntry& e) {
    std::vector<std::string> texts;
    texts.push_back((e.switchboard ? "Грщ" : "Щит") + IntToStr(e.number));
    if (e.installedPower == 0.0) {
        texts.resize(kNetworkPageCells, kNoLoad);
        return texts;
    }
    texts.insert(
        texts.end(),
        {Tenth(e.installedPower), Tenth(e.designPower), e.cableBrand, FloatToStr(e.feederLength),
         "3x" + FloatToStr(e.phaseSection) + "+1x" + FloatToStr(e.neutralSection),
         Tenth(e.designCurrent), platform::Utf8Left(e.breakerType, 8), FloatToStr(e.breakerRating),
         FloatToStr(e.voltageDrop), FloatToStr(e.cosPhi), FloatToStr(e.faultCurrent1),
         FloatToStr(e.faultCurrent3), FloatToStr(e.surgeCurrent)});
    return texts;
}

std::vector<std::string> NetworkReportRow(const NetworkTableEntry& e) {
    if (e.installedPower == 0.0) return {};
    std::string demand;
    if (e.switchboard) {
        const double installed = RoundTo(e.installedPower, -2);
        // An installed power below 0.005 kW rounds to 0: the coefficient has no value then.
        if (installed != 0.0) demand = Hundredth(RoundTo(e.designPower, -2) / installed);
    } else {
        demand = FloatToStr(e.demandFactor);
    }
    return {(e.switchboard ? "Грщ-" : "Щит-") + IntToStr(e.number),
            Hundredth(e.installedPower),
            demand,
            Hundredth(e.designPower),
            e.cableBrand,
            FloatToStr(e.feederLength),
            SpacedSectionText(e),
            FloatToStr(e.designCurrent),
            e.breakerType,
            FloatToStr(e.breakerRating),
            FloatToStr(e.voltageDrop),
            FloatToStr(e.cosPhi),
            FloatToStr(e.faultCurrent1),
            FloatToStr(e.faultCurrent3),
            FloatToStr(e.surgeCurrent)};
}
