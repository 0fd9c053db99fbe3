// The short-circuit arithmetic of the project root: element impedances, the fault path from the
// supply system to the end of a group line, and the currents computed from it.
#include "selection/ShortCircuit.h"

#include <cmath>
#include <map>
#include <numbers>
#include <vector>

#include "model/Classd.h"
#include "platform/Conversions.h"
#include "selection/SelectionSupport.h"

namespace {

// Conductors of the fault path are taken at this temperature, degrees C.
constexpr double kFaultTemperature = 65.0;
// Contacts of the switchboard feeder, milliohm.
constexpr double kContactResistance = 0.3;
constexpr double kContactReactance = 0.14;
// Added to the zero-sequence resistance of the loop, milliohm.
constexpr double kLoopResistance0 = 30.0;

struct ReactanceRow {
    double section;
    double cable;  // cables in the ground or in air
    double pipe;   // wires in a pipe
};

constexpr ReactanceRow kReactance[] = {
    {1.5, 0.113, 0.126},  {2.5, 0.104, 0.116},  {4, 0.095, 0.107},    {6, 0.09, 0.09997},
    {10, 0.073, 0.099},   {16, 0.0675, 0.0947}, {25, 0.0622, 0.0912}, {35, 0.0637, 0.0879},
    {50, 0.0625, 0.0854}, {70, 0.0612, 0.0819}, {95, 0.0602, 0.0807}, {120, 0.06, 0.0802},
    {150, 0.0598, 0.08},  {185, 0.0596, 0.08},  {240, 0.0587, 0.08}};

struct BreakerRow {
    int rating;
    double resistance;
    double reactance;
};

constexpr BreakerRow kBreakers[] = {{50, 7, 4.5},       {63, 3.5, 2},       {80, 3.5, 2},
                                    {100, 2.15, 1.2},   {125, 1.3, 0.7},    {160, 1.1, 0.5},
                                    {200, 1.1, 0.5},    {250, 0.65, 0.17},  {320, 0.65, 0.17},
                                    {400, 0.65, 0.17},  {630, 0.41, 0.13},  {1000, 0.25, 0.1},
                                    {1600, 0.14, 0.08}, {2500, 0.13, 0.07}, {4000, 0.1, 0.05}};

const BreakerRow* FindBreaker(int rating) {
    for (const BreakerRow& row : kBreakers)
        if (row.rating == rating) return &row;
    return nullptr;
}

enum class Material { Copper, Aluminium, Other };

Material MaterialOf(std::string_view text) {
    if (text == selection::kCopper) return Material::Copper;
    if (text == selection::kAluminium) return Material::Aluminium;
    return Material::Other;
}

double R0(double section, Material material) {
    return TGrsed::ConductorResistance(kFaultTemperature, section, material == Material::Copper);
}

// The integer part of a stored rating, as the breaker tables are keyed; 0 for a value no breaker
// has (negative, not a number, absurdly large).
int RatingKey(double rating) {
    return rating >= 0.0 && rating < 1e9 ? static_cast<int>(rating) : 0;
}

// System and transformer.
struct SupplyPart {
    double xs = 0;
    double rt = 0;
    double xt = 0;
};

SupplyPart Supply(double systemPower, double ratedPower, double uk, double pk) {
    // 0.4 kV squared, and times 10^4, as the double products.
    const double base = 0.4 * 0.4;
    const double base4 = 0.4 * 0.4 * 10000;
    SupplyPart s;
    s.xs = 160000 / (systemPower * 1000);
    s.rt = pk * 0.001 * base * 1e6 / (ratedPower * ratedPower);
    const double ua = pk * 0.001 * 100 / ratedPower;
    s.xt = std::sqrt(uk * uk - ua * ua) * base4 / ratedPower;
    return s;
}

// Phase and protective conductor sums of the panel feeders.
struct FeederSums {
    double r = 0;
    double x = 0;
    double rpe = 0;
    double xpe = 0;
};

// Adds one feeder segment of panel p with phase section s. No section or a material that is
// neither copper nor aluminium empties the sums, those of segments added before included. The
// loop impedance adds the panel's breaker and the protective conductor; the three-phase path
// the phase conductor alone.
void AddSegment(FeederSums& sums, const TSitid& p, double s, Material material, double length,
                bool loop) {
    if (s == 0.0 || material == Material::Other) {
        sums = {};
        return;
    }
    const double r = length * R0(s, material);
    const double x = length * TGrsed::CableReactance(p.FeederLayingMethod, s);
    if (!loop) {
        sums.r += r;
        sums.x += x;
        return;
    }
    const double spe = selection::NodeTableSection(p.ZeroCoreTable, p.FeederSections,
                                                   p.FeederZeroSections, p.FeederSectionCount, s);
    const int rating = RatingKey(p.PanelBreakerRating);
    const double rb = TGrsed::BreakerResistance(rating);
    const double xb = TGrsed::BreakerReactance(rating);
    sums.r += r + rb;
    sums.x += x + xb;
    sums.rpe += length * R0(spe, material) + rb;
    sums.xpe += length * TGrsed::CableReactance(p.FeederLayingMethod, spe) + xb;
}

// The feeders between the switchboard and the group's panel: the current panel's own feeder for
// a radial panel (the given panel length on the three-phase path, the panel's feeder length in
// the loop), or every feeder of the panel's cascade, walked from the last panel back to the first
// in feed order (the first panel of the list stays current).
FeederSums PanelFeeders(TGrsed* sw, TSitid* panel, double panelLength, double panelSection,
                        std::string_view panelMaterial, bool givenSection, bool loop) {
    FeederSums sums;
    if (!sw || !panel) return sums;
    if (!panel->FedFromPanel && !panel->FedFromSwitchboard) {
        const TSitid* current = sw->Panels.Cursor;
        if (!current) return sums;
        AddSegment(sums, *current, panelSection, MaterialOf(panelMaterial),
                   loop ? current->FeederLength : panelLength, loop);
        return sums;
    }
    const std::vector<TSitid*> panels = selection::PanelsInFeedOrder(*sw);
    int target = panel->FeedingPanelNumber;
    for (auto it = panels.rbegin(); it != panels.rend(); ++it) {
        TSitid& q = **it;
        sw->Panels.Cursor = &q;
        const auto segment = [&] {
            AddSegment(sums, q, givenSection ? panelSection : selection::CascadeSection(q),
                       MaterialOf(q.FeederConductorMaterial), q.FeederLength, loop);
        };
        if (q.FedFromPanel && (q.PanelNumber == target || &q == panel)) {
            segment();
            target = q.FeedingPanelNumber;
        }
        if (q.FedFromSwitchboard && (q.PanelNumber == target || &q == panel)) segment();
    }
    sw->Panels.Cursor = sw->Panels.First;
    return sums;
}

// Makes the panel current in the root's current switchboard.
void MakeCurrent(TGrsed& root, TSitid* panel) {
    if (panel && root.Switchboards.Cursor) root.Switchboards.Cursor->Panels.Cursor = panel;
}

// A fault current from an impedance: 0 for an impedance that is not a positive finite value.
double CurrentFromImpedance(double z) {
    if (!(z > 0.0) || !std::isfinite(z)) return 0.0;
    return 400 / (std::sqrt(3.0) * z) * TGrsed::ArcFactor(z);
}

}  // namespace

double TGrsed::ConductorResistance(double temperature, double section, bool copper) {
    if (section == 0.0) return 0.0;
    const double rho = copper ? 0.0178 : 0.02994;
    const double alpha = copper ? 0.00429 : 0.00434;
    return ((temperature - 20) * alpha + 1) * (rho / section) * 1000;
}

double TGrsed::CableReactance(const std::string& layingMethod, double section) {
    const bool cable = layingMethod == "В земле" || layingMethod == "В воздухе";
    const bool pipe = layingMethod == "Четыре провода в трубе" ||
                      layingMethod == "Три провода в трубе" ||
                      layingMethod == "Два провода в трубе";
    if (!cable && !pipe) return 0.0;
    for (const ReactanceRow& row : kReactance)
        if (row.section == section) return cable ? row.cable : row.pipe;
    return 0.0;
}

double TGrsed::BreakerResistance(int rating) {
    const BreakerRow* row = FindBreaker(rating);
    return row ? row->resistance : 0.0;
}

double TGrsed::BreakerReactance(int rating) {
    const BreakerRow* row = FindBreaker(rating);
    return row ? row->reactance : 0.0;
}

double TGrsed::LoopImpedance(const FaultInputs& in, bool threePhase) {
    const SupplyPart supply =
        Supply(SupplyScPower, in.transformerPower, in.shortCircuitVoltage, in.shortCircuitLosses);
    TGrsed* sw = Switchboards.Cursor;
    const TSitid* current = sw ? sw->Panels.Cursor : nullptr;
    const TCxemaGrupd noGroup;
    const TCxemaGrupd& group =
        current && current->SchemeGroups.Cursor ? *current->SchemeGroups.Cursor : noGroup;

    // Group line: phase and return conductor, and the group's breaker.
    double rg = 0;
    double xg = 0;
    const Material gm = MaterialOf(in.groupMaterial);
    if (gm != Material::Other && in.groupSection != 0.0) {
        const int rating = RatingKey(group.BreakerRating);
        rg = in.groupLength * R0(in.groupSection, gm) +
             in.groupLength * R0(group.CrossSection, gm) + BreakerResistance(rating);
        xg = in.groupLength * CableReactance(group.LayingMethod, in.groupSection) +
             in.groupLength * CableReactance(group.LayingMethod, group.CrossSection) +
             BreakerReactance(rating);
    }

    // The loop takes each panel feeder's own length, not the given one.
    const FeederSums p =
        PanelFeeders(sw, in.panel, 0.0, in.panelSection, in.panelMaterial, in.givenSection, true);

    // Switchboard feeder with its breaker and contacts.
    FeederSums b;
    const Material sm = MaterialOf(in.switchboardMaterial);
    const double length = in.switchboardLength;
    const double section = in.switchboardSection;
    if (sw && section != 0.0 && sm != Material::Other) {
        const double spe = selection::NodeTableSection(
            sw->SwitchboardZeroCoreTable, sw->SwitchboardSections, sw->SwitchboardZeroSections,
            sw->SwitchboardSectionCount, section);
        const int rating = RatingKey(sw->SwitchboardBreakerRating);
        const double rb = BreakerResistance(rating);
        const double xb = BreakerReactance(rating);
        const std::string& laying = sw->SwitchboardLaying;
        b.r = length * R0(section, sm) + rb + kContactResistance;
        b.x = length * CableReactance(laying, section) + xb + kContactReactance;
        b.rpe = length * R0(spe, sm) + rb + kContactResistance;
        b.xpe = length * CableReactance(laying, spe) + xb + kContactReactance;
    }

    const double x1 = supply.xs + supply.xt + xg + p.x + b.x;
    const double r1 = supply.rt + rg + p.r + b.r;
    const double x0 = supply.xt + p.xpe + b.xpe;
    const double r0 = supply.rt + p.rpe + b.rpe + kLoopResistance0;
    if (threePhase) return std::sqrt(x1 * x1 + r1 * r1);
    const double x = 2 * x1 + x0;
    const double r = 2 * r1 + r0;
    return std::sqrt(x * x + r * r);
}

double TGrsed::FaultPathResistance(const FaultInputs& in) {
    const SupplyPart supply =
        Supply(SupplyScPower, in.transformerPower, in.shortCircuitVoltage, in.shortCircuitLosses);
    TGrsed* sw = Switchboards.Cursor;
    const Material gm = MaterialOf(in.groupMaterial);
    const Material sm = MaterialOf(in.switchboardMaterial);
    const double group = gm == Material::Other ? 0.0 : in.groupLength * R0(in.groupSection, gm);
    const double panels = PanelFeeders(sw, in.panel, in.panelLength, in.panelSection,
                                       in.panelMaterial, in.givenSection, false)
                              .r;
    const double board =
        sw && sm != Material::Other ? in.switchboardLength * R0(in.switchboardSection, sm) : 0.0;
    return group + panels + board + supply.rt;
}

double TGrsed::FaultPathReactance(const FaultInputs& in) {
    const SupplyPart supply =
        Supply(SupplyScPower, in.transformerPower, in.shortCircuitVoltage, in.shortCircuitLosses);
    TGrsed* sw = Switchboards.Cursor;
    const TSitid* current = sw ? sw->Panels.Cursor : nullptr;
    const TCxemaGrupd* g = current ? current->SchemeGroups.Cursor : nullptr;
    const Material gm = MaterialOf(in.groupMaterial);
    const Material sm = MaterialOf(in.switchboardMaterial);
    const double group = gm == Material::Other || !g
                             ? 0.0
                             : in.groupLength * CableReactance(g->LayingMethod, in.groupSection);
    const double panels = PanelFeeders(sw, in.panel, in.panelLength, in.panelSection,
                                       in.panelMaterial, in.givenSection, false)
                              .x;
    const double board =
        sw && sm != Material::Other
            ? in.switchboardLength * CableReactance(sw->SwitchboardLaying, in.switchboardSection)
            : 0.0;
    return group + panels + board + supply.xt;
}

double TGrsed::ThreePhaseFaultCurrent(const FaultInputs& in) {
    if (in.switchboardSection == 0.0) return 0.0;
    MakeCurrent(*this, in.panel);
    const double r = FaultPathResistance(in);
    MakeCurrent(*this, in.panel);
    const double x = FaultPathReactance(in);
    MakeCurrent(*this, in.panel);

    const double z = std::sqrt(r * r + x * x);
    const double current = CurrentFromImpedance(z);
    if (current == 0.0) return 0.0;
    // Surge factor from the time constant of the path.
    const double phi = std::atan(x / r);
    const double ta = x / (314 * r);
    const double k = 1 + std::sin(phi) * std::exp(-(std::numbers::pi / 2 + phi) * 0.01 *
                                                  (1 / std::numbers::pi) / ta);
    return platform::RoundTo(std::sqrt(2.0) * current * k, -2);
}

double TGrsed::SinglePhaseFaultCurrent(const FaultInputs& in) {
    if (in.switchboardSection == 0.0) return 0.0;
    const double z = LoopImpedance(in, false) * (1.0 / 3.0);
    const double current = platform::RoundTo(CurrentFromImpedance(z) * 1000, -1);
    MakeCurrent(*this, in.panel);
    return current;
}

double TGrsed::ThreePhaseFaultCurrentAtGroup(const FaultInputs& in) {
    if (in.switchboardSection == 0.0) return 0.0;
    const double z = LoopImpedance(in, true);
    const double current = platform::RoundTo(CurrentFromImpedance(z) * 1000, -1);
    MakeCurrent(*this, in.panel);
    return current;
}

double TGrsed::ArcFactor(double impedance) {
    if (impedance > 700) return 0.7;
    return 0.55 - 0.002 * impedance + 0.1 * std::sqrt(impedance) - 0.12 * CubeRoot(impedance);
}

namespace {

constexpr int kWalkSteps = 10000;

// The values the walk down from n + 0.9999 takes, each 0.0001 below the one before as the
// subtraction gives it: kWalkSteps + 1 of them. Kept per n once walked.
const std::vector<double>& WalkFrom(int n) {
    static std::map<int, std::vector<double>> walks;
    std::vector<double>& walk = walks[n];
    if (walk.empty()) {
        walk.reserve(kWalkSteps + 1);
        double c = n + 0.9999;
        walk.push_back(c);
        for (int step = 0; step < kWalkSteps; ++step) walk.push_back(c = c - 0.0001);
    }
    return walk;
}

}  // namespace

double CubeRoot(double x) {
    int n = 0;
    for (int i = 1; i <= 999; ++i) {
        const double low = static_cast<double>(i) * i * i;
        const double high = static_cast<double>(i + 1) * (i + 1) * (i + 1);
        if (low <= x && x < high) {
            n = i;
            break;
        }
    }
    if (n == 0) return std::cbrt(x);
    if (x == static_cast<double>(n) * n * n) return n;
    // The walk steps c down by 0.0001 from n + 0.9999 while c^3 > x, at most 10000 times; c
    // reaches about n by then, and n^3 <= x. The cubes fall as c falls, so the step where the
    // walk stops is found by halving among the values it takes.
    const std::vector<double>& walk = WalkFrom(n);
    int low = 0;
    int high = kWalkSteps;  // the walk stops at `high` at the latest
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const double c = walk[middle];
        if (c * c * c > x)
            low = middle + 1;
        else
            high = middle;
    }
    return walk[low];
}
