// The short-circuit arithmetic of the project root: element impedances, the fault path from the
// supply system to the end of a group line, and the currents computed from it.
#include "selection/ShortCircuit.h"

#include <cmath>
#include <map>
#include <numbers>
#include <string_view>
#include <vector>

#include "model/Classd.h"
#include "platform/Conversions.h"
#include "selection/SelectionSupport.h"

namespace {

// Conductor temperatures, degrees C. The single-phase current is the smallest a fault can drive,
// the one a breaker must trip on: conductors heated to 65 degrees C. The three-phase and surge
// currents are the largest, against which breaking capacity and withstand are chosen: bolted,
// conductors at 20 degrees C.
constexpr double kMinimumCurrentTemperature = 65.0;
constexpr double kMaximumCurrentTemperature = 20.0;
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

// The column of the reactance table a laying method reads: cables in the ground or in air, or
// wires in a pipe; none for any other text.
enum class ReactanceColumn { Cable, Pipe, None };

ReactanceColumn ColumnOf(std::string_view layingMethod) {
    using namespace std::string_view_literals;
    if (layingMethod == "В земле"sv || layingMethod == "В воздухе"sv) return ReactanceColumn::Cable;
    if (layingMethod == "Четыре провода в трубе"sv || layingMethod == "Три провода в трубе"sv ||
        layingMethod == "Два провода в трубе"sv)
        return ReactanceColumn::Pipe;
    return ReactanceColumn::None;
}

// x0 of a section of the table in that column; 0 for a section not in it.
double ReactanceIn(ReactanceColumn column, double section) {
    if (column == ReactanceColumn::None) return 0.0;
    for (const ReactanceRow& row : kReactance)
        if (row.section == section) return column == ReactanceColumn::Cable ? row.cable : row.pipe;
    return 0.0;
}

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

// The row of a rating: its own, else the row of the next smaller rating of the table; a breaker
// below the table's smallest rating has at least that row's coils and contacts. No breaker
// (rating 0 or less) has no row.
const BreakerRow* FindBreaker(int rating) {
    if (rating <= 0) return nullptr;
    // The rows rise with the rating.
    const BreakerRow* found = &kBreakers[0];
    for (const BreakerRow& row : kBreakers) {
        if (row.rating > rating) break;
        found = &row;
    }
    return found;
}

enum class Material { Copper, Aluminium, Other };

Material MaterialOf(std::string_view text) {
    if (text == selection::kCopper) return Material::Copper;
    if (text == selection::kAluminium) return Material::Aluminium;
    return Material::Other;
}

double R0(double temperature, double section, Material material) {
    return TGrsed::ConductorResistance(temperature, section, material == Material::Copper);
}

// The stored rating as the breaker tables take it: its integer part, at least 1 for a breaker
// below 1 A; 0 for no breaker and for a value no breaker has (negative, not a number, absurdly
// large).
int RatingKey(double rating) {
    if (!(rating > 0.0) || !(rating < 1e9)) return 0;
    return rating < 1.0 ? 1 : static_cast<int>(rating);
}

// A resistance and a reactance, milliohm.
struct Impedance {
    double r = 0;
    double x = 0;
    Impedance& operator+=(const Impedance& z) {
        r += z.r;
        x += z.x;
        return *this;
    }
    friend Impedance operator+(Impedance a, const Impedance& b) { return a += b; }
    friend Impedance operator*(double k, const Impedance& z) { return {k * z.r, k * z.x}; }
};

Impedance BreakerImpedance(double rating) {
    const BreakerRow* row = FindBreaker(RatingKey(rating));
    return row ? Impedance{row->resistance, row->reactance} : Impedance{};
}

// A conductor of that length and section at the temperature, its reactance in that column.
Impedance Conductor(double temperature, double length, double section, Material material,
                    ReactanceColumn column) {
    return {length * R0(temperature, section, material), length * ReactanceIn(column, section)};
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

// What the feeders of a path add: the positive sequence (phase conductor and breaker) and the
// zero sequence of the loop.
struct FeederSums {
    Impedance z1;
    Impedance z0;
};

// How a fault path is summed: the loop of a fault current (breakers, and the protective
// conductors in the zero sequence), or the conductors alone for the surge current's time
// constant; the conductors at that temperature.
struct PathKind {
    bool loop = false;
    double temperature = kMinimumCurrentTemperature;
};

// Adds one feeder segment of panel p with phase section s. No section or a material that is
// neither copper nor aluminium empties the sums, those of segments added before included. In
// the loop a cable's zero sequence is its phase conductor and three times its protective one.
void AddSegment(FeederSums& sums, const TSitid& p, double s, Material material, double length,
                PathKind kind) {
    if (s == 0.0 || material == Material::Other) {
        sums = {};
        return;
    }
    const ReactanceColumn column = ColumnOf(p.FeederLayingMethod);
    const Impedance phase = Conductor(kind.temperature, length, s, material, column);
    if (!kind.loop) {
        sums.z1 += phase;
        return;
    }
    const double spe = selection::NodeTableSection(p.ZeroCoreTable, p.FeederSections,
                                                   p.FeederZeroSections, p.FeederSectionCount, s);
    const Impedance breaker = BreakerImpedance(p.PanelBreakerRating);
    const Impedance pe = Conductor(kind.temperature, length, spe, material, column);
    sums.z1 += phase + breaker;
    sums.z0 += phase + 3 * pe + breaker;
}

// The feeders between the switchboard and the group's panel: the current panel's own feeder for
// a radial panel (the given panel length on the three-phase path, the panel's feeder length in
// the loop), or every feeder of the panel's cascade, walked from the last panel back to the first
// in feed order (the first panel of the list stays current).
FeederSums PanelFeeders(TGrsed* sw, TSitid* panel, double panelLength, double panelSection,
                        std::string_view panelMaterial, bool givenSection, PathKind kind) {
    FeederSums sums;
    if (!sw || !panel) return sums;
    if (!panel->FedFromPanel && !panel->FedFromSwitchboard) {
        const TSitid* current = sw->Panels.Cursor;
        if (!current) return sums;
        AddSegment(sums, *current, panelSection, MaterialOf(panelMaterial),
                   kind.loop ? current->FeederLength : panelLength, kind);
        return sums;
    }
    const std::vector<TSitid*> panels = selection::PanelsInFeedOrder(*sw);
    int target = panel->FeedingPanelNumber;
    for (auto it = panels.rbegin(); it != panels.rend(); ++it) {
        TSitid& q = **it;
        sw->Panels.Cursor = &q;
        const auto segment = [&] {
            AddSegment(sums, q, givenSection ? panelSection : selection::CascadeSection(q),
                       MaterialOf(q.FeederConductorMaterial), q.FeederLength, kind);
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

// A fault current from an impedance in kA, reduced by the arc when asked: 0 for an impedance
// that is not a positive finite value.
double CurrentFromImpedance(double z, bool arc) {
    if (!(z > 0.0) || !std::isfinite(z)) return 0.0;
    return 400 / (std::sqrt(3.0) * z) * (arc ? TGrsed::ArcFactor(z) : 1.0);
}

// Resistance and reactance of the surge current's path: conductors and transformer, no system,
// breakers or contacts, the conductors at 20 degrees C.
Impedance SurgePath(TGrsed& root, const TGrsed::FaultInputs& in) {
    const SupplyPart supply = Supply(root.SupplyScPower, in.transformerPower,
                                     in.shortCircuitVoltage, in.shortCircuitLosses);
    constexpr PathKind kind{false, kMaximumCurrentTemperature};
    TGrsed* sw = root.Switchboards.Cursor;
    const TSitid* current = sw ? sw->Panels.Cursor : nullptr;
    const TCxemaGrupd* g = current ? current->SchemeGroups.Cursor : nullptr;
    const Material gm = MaterialOf(in.groupMaterial);
    const Material sm = MaterialOf(in.switchboardMaterial);
    Impedance z{supply.rt, supply.xt};
    if (gm != Material::Other) {
        // The reactance needs the line's laying, which only its record holds.
        const Impedance line =
            Conductor(kind.temperature, in.groupLength, in.groupSection, gm,
                      g ? ColumnOf(g->LayingMethod) : ReactanceColumn::None);
        z += g ? line : Impedance{line.r, 0.0};
    }
    z += PanelFeeders(sw, in.panel, in.panelLength, in.panelSection, in.panelMaterial,
                      in.givenSection, kind)
             .z1;
    if (sw && sm != Material::Other)
        z += Conductor(kind.temperature, in.switchboardLength, in.switchboardSection, sm,
                       ColumnOf(sw->SwitchboardLaying));
    return z;
}

}  // namespace

double TGrsed::ConductorResistance(double temperature, double section, bool copper) {
    if (section == 0.0) return 0.0;
    const double rho = copper ? 0.0178 : 0.02994;
    const double alpha = copper ? 0.00429 : 0.00434;
    return ((temperature - 20) * alpha + 1) * (rho / section) * 1000;
}

double TGrsed::CableReactance(const std::string& layingMethod, double section) {
    return ReactanceIn(ColumnOf(layingMethod), section);
}

double TGrsed::BreakerResistance(int rating) {
    const BreakerRow* row = FindBreaker(rating);
    return row ? row->resistance : 0.0;
}

double TGrsed::BreakerReactance(int rating) {
    const BreakerRow* row = FindBreaker(rating);
    return row ? row->reactance : 0.0;
}

namespace {

// The group line's part of the loop: the phase conductor and the breaker; in the zero sequence
// also three times the return conductor (the section of the line's record).
FeederSums LinePart(const TCxemaGrupd& group, const TGrsed::FaultInputs& in, PathKind kind) {
    FeederSums g;
    const Material gm = MaterialOf(in.groupMaterial);
    if (gm == Material::Other || in.groupSection == 0.0) return g;
    const ReactanceColumn column = ColumnOf(group.LayingMethod);
    const Impedance phase = Conductor(kind.temperature, in.groupLength, in.groupSection, gm, column);
    const Impedance ret = Conductor(kind.temperature, in.groupLength, group.CrossSection, gm, column);
    const Impedance breaker = BreakerImpedance(group.BreakerRating);
    g.z1 = phase + breaker;
    g.z0 = phase + 3 * ret + breaker;
    return g;
}

// The rest of the loop: the supply, the panel feeders and the switchboard feeder.
struct LoopParts {
    FeederSums supply, panels, board;
};

LoopParts LoopWithoutLinePart(TGrsed& root, const TGrsed::FaultInputs& in, PathKind kind) {
    LoopParts parts;
    const SupplyPart supply = Supply(root.SupplyScPower, in.transformerPower,
                                     in.shortCircuitVoltage, in.shortCircuitLosses);
    // The transformer's zero sequence equals its positive sequence (a delta-star unit).
    parts.supply.z1 = Impedance{supply.rt, supply.xs + supply.xt};
    parts.supply.z0 = Impedance{supply.rt + kLoopResistance0, supply.xt};

    // The loop takes each panel feeder's own length, not the given one.
    TGrsed* sw = root.Switchboards.Cursor;
    parts.panels =
        PanelFeeders(sw, in.panel, 0.0, in.panelSection, in.panelMaterial, in.givenSection, kind);

    // Switchboard feeder with its breaker and contacts.
    const Material sm = MaterialOf(in.switchboardMaterial);
    const double section = in.switchboardSection;
    if (sw && section != 0.0 && sm != Material::Other) {
        const double spe = selection::NodeTableSection(
            sw->SwitchboardZeroCoreTable, sw->SwitchboardSections, sw->SwitchboardZeroSections,
            sw->SwitchboardSectionCount, section);
        const ReactanceColumn column = ColumnOf(sw->SwitchboardLaying);
        const Impedance phase =
            Conductor(kind.temperature, in.switchboardLength, section, sm, column);
        const Impedance pe = Conductor(kind.temperature, in.switchboardLength, spe, sm, column);
        const Impedance fixed = BreakerImpedance(sw->SwitchboardBreakerRating) +
                                Impedance{kContactResistance, kContactReactance};
        parts.board.z1 = phase + fixed;
        parts.board.z0 = phase + 3 * pe + fixed;
    }
    return parts;
}

// |Z1| of the three-phase loop, |2 Z1 + Z0| of the single-phase one; the parts always added in
// this order.
double LoopOf(const LoopParts& parts, const FeederSums& g, bool threePhase) {
    const Impedance z1 = parts.supply.z1 + g.z1 + parts.panels.z1 + parts.board.z1;
    if (threePhase) return std::sqrt(z1.x * z1.x + z1.r * z1.r);
    const Impedance z0 = parts.supply.z0 + g.z0 + parts.panels.z0 + parts.board.z0;
    const Impedance loop = 2 * z1 + z0;
    return std::sqrt(loop.x * loop.x + loop.r * loop.r);
}

// The group line under the current panel's cursor (none: no line).
const TCxemaGrupd& CurrentLine(const TGrsed& root) {
    static const TCxemaGrupd noGroup;
    const TGrsed* sw = root.Switchboards.Cursor;
    const TSitid* current = sw ? sw->Panels.Cursor : nullptr;
    return current && current->SchemeGroups.Cursor ? *current->SchemeGroups.Cursor : noGroup;
}

// The single-phase current from the loop impedance, A rounded to 0.1.
double SinglePhaseCurrentOfLoop(double loop) {
    return platform::RoundTo(CurrentFromImpedance(loop * (1.0 / 3.0), true) * 1000, -1);
}

TGrsed::LoopWithoutLine Kept(const LoopParts& parts) {
    const auto sums = [](const FeederSums& f) {
        return TGrsed::LoopWithoutLine::Sums{f.z1.r, f.z1.x, f.z0.r, f.z0.x};
    };
    return {sums(parts.supply), sums(parts.panels), sums(parts.board)};
}

LoopParts Parts(const TGrsed::LoopWithoutLine& kept) {
    const auto sums = [](const TGrsed::LoopWithoutLine::Sums& s) {
        return FeederSums{{s.r1, s.x1}, {s.r0, s.x0}};
    };
    return {sums(kept.supply), sums(kept.panels), sums(kept.board)};
}

}  // namespace

double TGrsed::LoopImpedance(const FaultInputs& in, bool threePhase) {
    // The three-phase loop gives the largest current, the single-phase loop the smallest.
    const PathKind kind{true,
                        threePhase ? kMaximumCurrentTemperature : kMinimumCurrentTemperature};
    // The line is read before the panel walk moves the cursors.
    const FeederSums g = LinePart(CurrentLine(*this), in, kind);
    return LoopOf(LoopWithoutLinePart(*this, in, kind), g, threePhase);
}

TGrsed::LoopWithoutLine TGrsed::SinglePhaseLoopWithoutLine(const FaultInputs& in) {
    const LoopWithoutLine loop =
        Kept(LoopWithoutLinePart(*this, in, {true, kMinimumCurrentTemperature}));
    MakeCurrent(*this, in.panel);
    return loop;
}

double TGrsed::SinglePhaseFaultCurrentOfLine(const LoopWithoutLine& loop, const FaultInputs& in) {
    if (in.switchboardSection == 0.0) return 0.0;
    const FeederSums g = LinePart(CurrentLine(*this), in, {true, kMinimumCurrentTemperature});
    return SinglePhaseCurrentOfLoop(LoopOf(Parts(loop), g, false));
}

double TGrsed::FaultPathResistance(const FaultInputs& in) {
    return SurgePath(*this, in).r;
}

double TGrsed::FaultPathReactance(const FaultInputs& in) {
    return SurgePath(*this, in).x;
}

double TGrsed::ThreePhaseFaultCurrent(const FaultInputs& in) {
    if (in.switchboardSection == 0.0) return 0.0;
    MakeCurrent(*this, in.panel);
    const Impedance path = SurgePath(*this, in);
    MakeCurrent(*this, in.panel);
    const double r = path.r;
    const double x = path.x;

    const double z = std::sqrt(r * r + x * x);
    const double current = CurrentFromImpedance(z, false);
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
    const double current = SinglePhaseCurrentOfLoop(LoopImpedance(in, false));
    MakeCurrent(*this, in.panel);
    return current;
}

double TGrsed::ThreePhaseFaultCurrentAtGroup(const FaultInputs& in) {
    if (in.switchboardSection == 0.0) return 0.0;
    const double z = LoopImpedance(in, true);
    const double current = platform::RoundTo(CurrentFromImpedance(z, false) * 1000, -1);
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
