#include "drawings/GeneralScheme.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "drawings/DrawingState.h"
#include "drawings/PictureDrawing.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "model/TreeEditing.h"
#include "platform/Conversions.h"
#include "selection/EquipmentSelection.h"
#include "selection/GroupSearch.h"
#include "selection/SelectionSupport.h"

using chains::PanelsOf;
using chains::SwitchboardsOf;
using picture::BreakerText;
using picture::Line;
using picture::Num;
using picture::PhaseCurrentTexts;
using platform::IntToStr;
using platform::RoundTo;

namespace {

using Panels = std::vector<TSitid*>;
// Cascade members already taken in one switchboard.
using Taken = std::set<const TSitid*>;

bool IsDirect(const TSitid& panel) {
    return !panel.FedFromPanel;
}

int DirectCount(const Panels& panels) {
    return int(std::count_if(panels.begin(), panels.end(), [](TSitid* p) { return IsDirect(*p); }));
}

// The number of scheme records of a panel that its counted walk reaches.
std::int64_t SchemeRecordCount(const TSitid& panel) {
    std::int64_t count = 0;
    chains::ForEachElement(panel.SchemeGroups, chains::SchemeLink{}, panel.SchemeGroupCount,
                           [&](const TCxemaGrupd&) { ++count; });
    return count;
}

// The next member of a cascade below the panel numbered `feeder`: the first panel, from the last
// one back, fed from it and not taken yet. Every panel looked at before it is shown to `seen`.
template <typename Seen>
TSitid* NextMember(const Panels& panels, int feeder, const Taken& taken, Seen seen) {
    for (auto q = panels.rbegin(); q != panels.rend(); ++q) {
        seen(**q);
        if ((*q)->FedFromPanel && (*q)->FeedingPanelNumber == feeder && !taken.count(*q)) return *q;
    }
    return nullptr;
}

TSitid* NextMember(const Panels& panels, int feeder, const Taken& taken) {
    return NextMember(panels, feeder, taken, [](const TSitid&) {});
}

// Voltage at a panel or switchboard, whole volts.
double BoardVoltage(double loss) {
    return RoundTo(EquipmentSelection::ConsumerVoltage(loss, 380), 0);
}

std::string Kw(double power) {
    return Num(RoundTo(power, -1)) + " кВт";
}

std::string CableText(const std::string& brand, double section, double neutral) {
    return brand + " 3x" + Num(section) + "+1x" + Num(neutral);
}

class SchemePainter {
public:
    SchemePainter(platform::TCanvas& canvas, int step, TGrsed& root, TreeEditing& walkers,
                  SheetGrid& sheets, EquipmentSelection& services)
        : c_(canvas),
          s_(step),
          x0_(step),
          root_(root),
          walkers_(walkers),
          sheets_(sheets),
          services_(services) {}

    void Supply(int sectionPanels, int switchboards);
    void Switchboards(int shift);

private:
    // The shared symbols.
    void Dot(int x, int y) { picture::Dot(c_, x - 2, y - 2, x + 2, y + 2); }
    void Breaker(int x, int top) { picture::BreakerBlade(c_, s_, x, top, top + s_ / 10); }
    void FourConductors(int x, int y) { picture::ConductorMarks(c_, s_, x, y, 4); }
    // A bus bar from x1 to x2 at y; `marking` marks the sheets it reaches.
    void Bus(int x1, int x2, int y, bool marking = true);
    void Text(int x, int y, const std::string& text) { c_.TextOut(x, y, text); }
    void Powers(int x, int y, double installed, double design);
    void Voltage(int x, int y, double loss) {
        Text(x, y, "U - " + Num(BoardVoltage(loss)) + " в.");
    }

    // Draws the panels of the switchboard at (xs, yb); returns the cascade members drawn.
    int PanelsOfSwitchboard(TGrsed& sw, const Panels& panels, int xs, int yb, int& pending);
    void UpperPart(const TGrsed& sw, TSitid& p, int xp, int yp, int yb, int d);
    // The tap from the trunk at xp to a panel whose bus is at y.
    void Tap(int xp, int y);
    void CascadeTexts(const TSitid& p, int xp, int y, bool designCurrentOnly, const char* label);
    // The group lines of a panel from x0 along its bus at y, each with its junction dot; the
    // number drawn.
    int Groups(TGrsed& sw, TSitid& panel, int x0, int y);
    void Member(TGrsed& sw, TSitid& q, int xp, int yq, bool last, bool designCurrentOnly);

    platform::TCanvas& c_;
    const int s_;
    const int x0_;
    TGrsed& root_;
    TreeEditing& walkers_;
    SheetGrid& sheets_;
    EquipmentSelection& services_;
};

void SchemePainter::Bus(int x1, int x2, int y, bool marking) {
    c_.Brush.SetStyle(platform::bsClear);
    const int right = x2 + s_ / 4;
    const int bottom = y + BusHalfThickness;
    c_.Rectangle(x1 - s_ / 4, y - BusHalfThickness, right, bottom);
    if (marking) sheets_.MarkSheetsLeftOf(right, bottom);
}

void SchemePainter::Powers(int x, int y, double installed, double design) {
    Text(x, y + s_ / 20, "Pуст- " + Kw(installed));
    Text(x, y + s_ / 6, "Pрас- " + Kw(design));
}

void SchemePainter::Supply(int sectionPanels, int switchboards) {
    const int s = s_;
    const int x0 = x0_;
    const int y0 = kSchemeTop;
    Text(x0 - s / 10, y0 - s - s / 2 - s / 8, "Энергосистема");
    const int b = y0 - s - s / 2;
    const int h = s / 5;
    Text(x0 + s / 10 + s / 25, b + h / 2, "Sкз  " + Num(root_.SupplyScPower) + "  MBA");
    // The power system: a box with a rhombus and its diagonals.
    c_.Rectangle(x0 - s / 10, b, x0 + s / 10, b + s / 5);
    c_.Polyline({{x0 - s / 10, b + h / 2},
                 {x0, b},
                 {x0 + s / 10, b + h / 2},
                 {x0, b + s / 5},
                 {x0 - s / 10, b + h / 2}});
    Line(c_, x0 - s / 10, b, x0 + s / 10, b + s / 5);
    Line(c_, x0 - s / 10, b + s / 5, x0 + s / 10, b);
    Line(c_, x0, b + s / 5, x0, y0 - s);
    // The transformer: two circles, a delta in the upper one and a star in the lower one.
    c_.Ellipse(x0 - s / 10, y0 - s, x0 + s / 10, y0 - s + s / 5);
    c_.Ellipse(x0 - s / 10, y0 - s + s / 7, x0 + s / 10, y0 - s + s / 5 + s / 7);
    c_.Polyline({{x0 - s / 10 + s / 15, y0 - s + s / 25},
                 {x0 + s / 10 - s / 15, y0 - s + s / 25},
                 {x0, y0 - s + s / 5 - s / 8},
                 {x0 - s / 10 + s / 15, y0 - s + s / 25}});
    const int ys = y0 - s + s / 7 + s / 10;
    Line(c_, x0, ys, x0 + s / 35, ys - s / 35);
    Line(c_, x0, ys, x0 - s / 35, ys - s / 35);
    Line(c_, x0, ys, x0, ys + s / 35);
    Line(c_, x0, ys, x0 + s / 20, ys);
    Line(c_, x0, y0 - s + s / 5 + s / 7, x0, y0 - s / 5);
    Breaker(x0, y0 - s / 5);
    Line(c_, x0, y0 - s / 5 + s / 10, x0, y0);

    Text(x0 - s / 2 - s / 4, y0 - s / 10, "Секция КТП");
    Text(x0 - s / 2 - s / 4, y0 - s / 10 - s / 10, "U - 400 в.");
    Text(x0 + s / 10, y0 - 15 * s / 20, root_.TransformerName);
    if (root_.TotalDesignPower >= root_.TotalInstalledPower) {
        const int y[4] = {y0 - 13 * s / 20, y0 - 11 * s / 20, y0 - 9 * s / 20, y0 - 7 * s / 20};
        PhaseCurrentTexts(c_, x0 + s / 20, y, root_.TotalCurrentA, root_.TotalCurrentB,
                          root_.TotalCurrentC, root_.TotalNeutralCurrent);
    } else {
        Text(x0 + s / 20, y0 - 7 * s / 20, "Iр- " + Num(root_.TotalDesignCurrent) + " A");
    }
    Text(x0 - 3 * s / 4, y0 + s / 40, "Pуст- " + Kw(root_.TotalInstalledPower));
    Text(x0 - 3 * s / 4, y0 + s / 8, "Pрас- " + Kw(root_.TotalDesignPower));
    Text(x0 + s / 10, y0 - 3 * s / 20,
         root_.SectionBreakerType + "  " + Num(root_.TransformerBreakerRating) + " A");
    const int right = switchboards == 0 ? x0 : std::max((sectionPanels + switchboards) * s, x0);
    Bus(x0, right, y0, false);
}

void SchemePainter::Switchboards(int shift) {
    const int s = s_;
    const int y0 = kSchemeTop;
    const std::vector<TGrsed*> switchboards = SwitchboardsOf(root_);
    const int n = int(switchboards.size());
    int row = 1;
    int above = 0;     // A: depth of the panels of the switchboards to the right
    int pending = 0;   // Bp
    int cascades = 0;  // C
    int h = shift;
    for (int k = n - 1; k >= 0; --k) {
        TGrsed& sw = *switchboards[k];
        c_.Brush.SetStyle(platform::bsClear);
        if (k == 0 || n == 1) h = 0;
        const int q = walkers_.PrevSwitchboardFlaggedPanelPos(sw.SchemeOrder);
        root_.Switchboards.Cursor = &sw;
        above += pending;
        pending = 0;
        const int xs = x0_ + k * s + h;
        const int yb = y0 + above + row * s + cascades;

        // The feeder from the section bus with its two breakers.
        Line(c_, xs, y0, xs, y0 + s / 10);
        Dot(xs, y0);
        Breaker(xs, y0 + s / 10);
        Line(c_, xs, y0 + s / 5, xs, yb - s / 5);
        Breaker(xs, yb - s / 5);
        Line(c_, xs, yb - s / 10, xs, yb);
        Dot(xs, yb);
        FourConductors(xs, yb - s / 2);

        const Panels panels = PanelsOf(sw);
        int m = DirectCount(panels);
        const int members = PanelsOfSwitchboard(sw, panels, xs, yb, pending);
        if (panels.empty()) m = 1;
        Bus(xs, xs + (m - 1) * s, yb);

        const int x1 = xs + s / 20;
        const int x2 = xs - 3 * s / 4;
        Text(x1, yb - s / 5, BreakerText(sw.SwitchboardBreakerType, sw.SwitchboardBreakerRating));
        Text(x1, y0 + s / 20, BreakerText(sw.SwitchboardBreakerType, sw.SwitchboardInputRating));
        Text(x2, yb - s / 15, "ГРЩ№ " + IntToStr(sw.SwitchboardNumber));
        Voltage(x2, yb - s / 15 - s / 10, sw.SwitchboardLossSum);
        if (sw.SwitchboardDesignPower >= sw.SwitchboardInstalledPower) {
            const int y[4] = {yb - 15 * s / 20, yb - 13 * s / 20, yb - 11 * s / 20,
                              yb - 9 * s / 20};
            PhaseCurrentTexts(c_, x1, y, sw.SwitchboardCurrentA, sw.SwitchboardCurrentB,
                              sw.SwitchboardCurrentC, sw.SwitchboardNeutralCurrent);
        } else {
            Text(x1, yb - 9 * s / 20, "Iр- " + Num(sw.SwitchboardDesignCurrent) + " A");
        }
        if (sw.SwitchboardSection != 0)
            Text(x1, yb - 7 * s / 20,
                 CableText(sw.SwitchboardCableBrand, sw.SwitchboardSection,
                           sw.SwitchboardNeutralSection));
        Powers(x2, yb, sw.SwitchboardInstalledPower, sw.SwitchboardDesignPower);

        ++row;
        h -= std::max(q, 0) * s;
        cascades += members * s;
    }
}

void SchemePainter::UpperPart(const TGrsed& sw, TSitid& p, int xp, int yp, int yb, int d) {
    const int s = s_;
    const int y0 = kSchemeTop;
    const std::string twoNumbers =
        "Щит№ " + IntToStr(p.HangsOnPanel) + " (" + IntToStr(p.PanelNumber) + ")";
    if (sw.ChangedMark && p.OnTrunk) {
        // Fed straight from the section bus, over the switchboard's bus.
        c_.Brush.SetStyle(platform::bsClear);
        Line(c_, xp, y0, xp, y0 + s / 10);
        Dot(xp, y0);
        Breaker(xp, y0 + s / 10);
        Line(c_, xp, y0 + s / 5, xp, yb - s / 25);
        Line(c_, xp, yb - s / 25, xp + 4, yb - s / 25);
        Line(c_, xp + 4, yb - s / 25, xp + 4, yb + s / 25);
        Line(c_, xp + 4, yb + s / 25, xp, yb + s / 25);
        Text(xp + s / 20, y0 + s / 20, BreakerText(p.PanelBreakerType, p.CascadeBreakerRating));
        Text(xp - 3 * s / 4, yb + d * s - s / 15, twoNumbers);
        Voltage(xp - 3 * s / 4, yb + d * s - s / 15 - 10, p.MaxVoltageLoss);
        const int y[4] = {yb - 15 * s / 20, yb - 13 * s / 20, yb - 11 * s / 20, yb - 9 * s / 20};
        PhaseCurrentTexts(c_, xp + s / 20, y, p.FeederCurrentA, p.FeederCurrentB, p.FeederCurrentC,
                          p.FeederNeutralCurrent);
        Text(xp + s / 20, yb - 7 * s / 20,
             CableText(sw.SwitchboardCableBrand, selection::ShiftedSection(p),
                       p.FeederNeutralSection));
        c_.MoveTo(xp, yb + 6);
        return;
    }
    if (p.PanelFlagC) {
        if (!p.FedFromSwitchboard) Dot(xp, yp);
        Text(xp - 3 * s / 4, yb + d * s - s / 15, twoNumbers);
        Voltage(xp - 3 * s / 4, yb + d * s - s / 15 - s / 10, p.MaxVoltageLoss);
    } else {
        Text(xp - 3 * s / 4, yp - s / 15, "Щит№ " + IntToStr(p.PanelNumber));
        Voltage(xp - 3 * s / 4, yp - s / 15 - s / 10, p.MaxVoltageLoss);
    }
    c_.MoveTo(xp, yb);
}

void SchemePainter::Tap(int xp, int y) {
    const int s = s_;
    Line(c_, xp - s / 10, y - s / 5 - s / 10, xp, y - s / 5 - s / 10);
    Dot(xp, y - s / 5 - s / 10);
    Line(c_, xp - s / 10, y - s / 5, xp - s / 10, y - s / 5 - s / 10);
    Breaker(xp - s / 10, y - s / 5);
    Line(c_, xp - s / 10, y - s / 10, xp - s / 10, y);
    Dot(xp - s / 10, y);
}

void SchemePainter::CascadeTexts(const TSitid& p, int xp, int y, bool designCurrentOnly,
                                 const char* label) {
    const int s = s_;
    const int x = xp + s / 20;
    if (designCurrentOnly) {
        Text(x, y - 9 * s / 20, label + Num(p.CascadeDesignCurrent) + " A");
    } else {
        const int ys[4] = {y - 15 * s / 20, y - 13 * s / 20, y - 11 * s / 20, y - 9 * s / 20};
        PhaseCurrentTexts(c_, x, ys, p.CascadeCurrentA, p.CascadeCurrentB, p.CascadeCurrentC,
                          p.CascadeNeutralCurrent);
    }
    const bool carries = p.CascadeCurrentA != 0 || p.CascadeCurrentB != 0 || p.CascadeCurrentC != 0;
    Text(x, y - 7 * s / 20,
         carries ? CableText(p.FeederCableBrand, p.FeederSection2, p.FeederNeutralSection) : "");
}

int SchemePainter::Groups(TGrsed& sw, TSitid& panel, int x0, int y) {
    // The lines' texts hang below the panel's bus, possibly onto the next row of sheets: those
    // sheets are printed too. The sheets of a row lie left to right and are marked from the
    // left, one row at most holds a height, and nothing else marks sheets between the lines: so
    // lines reaching one height one after the other mark what the farthest of them marks, in the
    // same order. `reached` is that farthest point while its sheets are not marked yet.
    bool pending = false;
    platform::TPoint reached;
    int i = 0;
    // Each line's loss and largest phase current search the panel's chains from their first
    // records: fetched together first, they are in the cache for every line.
    selection::FetchPanelLines(panel);
    // Walked in place: the drawing links and unlinks nothing.
    chains::ForEachElement(
        panel.SchemeGroups, chains::SchemeLink{}, panel.SchemeGroupCount, [&](TCxemaGrupd& group) {
            // The services read the group under the cursors.
            root_.Switchboards.Cursor = &sw;
            sw.Panels.Cursor = &panel;
            panel.SchemeGroups.Cursor = &group;
            const platform::TPoint reach = DrawPanelGroupLines(c_, s_, x0 + i * s_, y, services_);
            if (pending && reach.Y != reached.Y) {
                sheets_.MarkSheetsLeftOf(reached.X, reached.Y - 1);
                pending = false;
            }
            reached = pending ? platform::TPoint{std::max(reached.X, reach.X), reach.Y} : reach;
            pending = true;
            Dot(x0 + i * s_, y);
            ++i;
        });
    if (pending) sheets_.MarkSheetsLeftOf(reached.X, reached.Y - 1);
    return i;
}

void SchemePainter::Member(TGrsed& sw, TSitid& q, int xp, int yq, bool last,
                           bool designCurrentOnly) {
    const int s = s_;
    const int x2 = xp - 3 * s / 4;
    if (!last) {
        Line(c_, xp, yq - s, xp, yq);
        Tap(xp, yq);
        CascadeTexts(q, xp, yq, designCurrentOnly, "Ip- ");
        Powers(x2, yq, q.InstalledPower, q.DesignPower);
        Text(xp + s / 20, yq - s / 5, BreakerText(q.PanelBreakerType, q.PanelBreakerRating));
        const int groups = Groups(sw, q, xp + s, yq);
        Text(x2, yq - s / 15, "Щит№ " + IntToStr(q.PanelNumber));
        Voltage(x2, yq - s / 15 - s / 10, q.MaxVoltageLoss);
        Bus(xp, xp + (groups > 0 ? s + (groups - 1) * s : 0), yq);
        return;
    }
    Line(c_, xp, yq - s, xp, yq - s / 5);
    Breaker(xp, yq - s / 5);
    Line(c_, xp, yq - s / 10, xp, yq);
    Dot(xp, yq);
    Text(x2, yq - s / 15, "Щит№ " + IntToStr(q.PanelNumber));
    Voltage(x2, yq - s / 15 - s / 10, q.MaxVoltageLoss);
    CascadeTexts(q, xp, yq, designCurrentOnly, "Ip- ");
    Powers(x2, yq, q.InstalledPower, q.DesignPower);
    Text(xp + s / 20, yq - s / 5, BreakerText(q.PanelBreakerType, q.PanelBreakerRating));
    const int groups = Groups(sw, q, xp, yq);
    Bus(xp, xp + (groups > 0 ? (groups - 1) * s : 0), yq);
}

int SchemePainter::PanelsOfSwitchboard(TGrsed& sw, const Panels& panels, int xs, int yb,
                                       int& pending) {
    const int s = s_;
    const int m = DirectCount(panels);
    int j = m;
    int d = 0;
    int depth = 0;  // e: cascade members drawn so far
    int members = 0;
    Taken taken;
    for (auto it = panels.rbegin(); it != panels.rend(); ++it) {
        TSitid& p = **it;
        if (!IsDirect(p)) continue;
        --j;
        ++d;
        pending = m * s;
        const int xp = xs + j * s;
        const int yp = yb + depth * s + d * s;
        const bool head = p.FedFromSwitchboard != 0;
        bool designCurrentOnly = head && p.DesignPower < p.InstalledPower;

        UpperPart(sw, p, xp, yp, yb, d);
        c_.LineTo(xp, yb + s / 10);
        if (!p.OnTrunk) Dot(xp, yb);
        Breaker(xp, yb + s / 10);

        if (!head) {
            Dot(xp, yp);
            Line(c_, xp, yb + s / 5, xp, yp - s / 5);
            Breaker(xp, yp - s / 5);
            Line(c_, xp, yp - s / 10, xp, yp);
            const int groups = Groups(sw, p, xp, yp);
            Bus(xp, xp + (groups > 0 ? (groups - 1) * s : 0), yp);
        } else {
            Line(c_, xp, yb + s / 5, xp, yp);
            Tap(xp, yp);
            const int groups = Groups(sw, p, xp + s, yp);
            Bus(xp, xp + (groups > 0 ? s + (groups - 1) * s : 0), yp);
            CascadeTexts(p, xp, yp, designCurrentOnly, "Iр- ");
            Text(xp + s / 20, yb + s / 20, BreakerText(p.TrunkBreakerType, p.TrunkBreakerRating));
            Powers(xp - 3 * s / 4, yp, p.InstalledPower, p.DesignPower);
            Text(xp + s / 20, yp - s / 5, BreakerText(p.PanelBreakerType, p.PanelBreakerRating));
        }
        FourConductors(xp, yp - s / 2);
        if (!head) {
            const int x = xp + s / 20;
            if (p.DesignPower >= p.InstalledPower) {
                const int y[4] = {yp - 15 * s / 20, yp - 13 * s / 20, yp - 11 * s / 20,
                                  yp - 9 * s / 20};
                PhaseCurrentTexts(c_, x, y, p.OwnCurrentA, p.OwnCurrentB, p.OwnCurrentC,
                                  p.OwnNeutralCurrent);
            } else {
                Text(x, yp - 9 * s / 20, "Iр- " + Num(p.OwnDesignCurrent) + " A");
            }
            const bool carries = p.OwnCurrentA != 0 || p.OwnCurrentB != 0 || p.OwnCurrentC != 0;
            Text(x, yp - 7 * s / 20,
                 carries ? CableText(p.FeederCableBrand, p.FeederSection, p.FeederNeutralSection)
                         : "");
            Text(x, yb + s / 20, BreakerText(p.PanelBreakerType, p.FeederBreakerRating));
            Powers(xp - 3 * s / 4, yp, p.InstalledPower, p.DesignPower);
            Text(x, yp - s / 5, BreakerText(p.PanelBreakerType, p.PanelBreakerRating));
        }

        // The cascade below the panel: one path, each member one step lower, none twice.
        designCurrentOnly = false;
        const int cascadeHead = p.PanelNumber;
        root_.Switchboards.Cursor = &sw;
        sw.Panels.Cursor = &p;
        walkers_.SelectCascadeHead(&p);
        const int fed = walkers_.NumberPanelCascade(sw.Panels.Cursor);
        const auto belongs = [&](const TSitid& q) {
            return (q.FedFromPanel && q.CascadeHeadNumber == cascadeHead) ||
                   (q.FedFromSwitchboard && q.PanelNumber == cascadeHead);
        };
        int feeder = p.PanelNumber;
        int yq = yp;
        for (int u = 1;; ++u) {
            TSitid* q = NextMember(panels, feeder, taken, [&](const TSitid& seen) {
                if (belongs(seen) && seen.DesignPower < seen.InstalledPower)
                    designCurrentOnly = true;
            });
            if (q == nullptr) break;
            taken.insert(q);
            ++members;
            ++depth;
            yq += s;
            Member(sw, *q, xp, yq, u == fed, designCurrentOnly);
            feeder = q->PanelNumber;
        }
    }
    return members;
}

}  // namespace

SchemeColumns CountSchemeColumns(TGrsed& root, TreeEditing& walkers, int step) {
    SchemeColumns columns;
    const std::vector<TGrsed*> switchboards = SwitchboardsOf(root);
    const int n = int(switchboards.size());
    for (int k = 0; k < n; ++k) {
        switchboards[k]->SchemeOrder = k;
        int c = 0;
        for (const TSitid* p : PanelsOf(*switchboards[k])) {
            if (p->FedFromPanel) --c;
            if (p->OnTrunk) {
                columns.sectionPanels += c;
                c = 0;
            }
            ++c;
        }
    }
    // The place among the direct panels of each marked switchboard's last section-fed panel (the
    // walkers find it as that of the switchboard before the next one).
    for (int k = 0; k < n - 1; ++k)
        if (switchboards[k]->ChangedMark)
            columns.shift += walkers.PrevSwitchboardFlaggedPanelPos(k + 1) * step;
    return columns;
}

int GeneralSchemeWidthOf(TGrsed& root, TreeEditing& walkers, int step, int left) {
    const std::vector<TGrsed*> switchboards = SwitchboardsOf(root);
    const int n = int(switchboards.size());
    const std::int64_t s = step;
    std::int64_t width = 10;
    std::vector<std::int64_t> shift(n);
    std::int64_t panelColumns = 0;
    std::int64_t shifts = 0;
    for (int k = n - 1; k >= 0; --k) {
        shift[k] = walkers.PrevSwitchboardFlaggedPanelPos(switchboards[k]->SchemeOrder) * s;
        panelColumns += DirectCount(PanelsOf(*switchboards[k])) * s;
        shifts += shift[k];
        width = n * s + left + panelColumns + shifts;
    }
    // The right end of every panel's row of groups.
    for (int k = n - 1; k >= 0; --k) {
        const Panels panels = PanelsOf(*switchboards[k]);
        std::int64_t before = DirectCount(panels);
        for (auto it = panels.rbegin(); it != panels.rend(); ++it) {
            const TSitid& p = **it;
            if (IsDirect(p)) --before;
            const bool inCascade = p.FedFromSwitchboard || p.FedFromPanel;
            const std::int64_t right =
                k * s + left + before * s + shifts + SchemeRecordCount(p) * s + (inCascade ? s : 0);
            width = std::max(width, right);
        }
        shifts -= shift[k];
    }
    return picture::ClampedPixels(width);
}

int GeneralSchemeHeightOf(TGrsed& root, int step, int top) {
    const std::vector<TGrsed*> switchboards = SwitchboardsOf(root);
    const std::int64_t s = step;
    std::int64_t ordinal = 1;
    std::int64_t above = 0;
    std::int64_t previousWidth = 0;
    std::int64_t membersSoFar = 0;
    std::int64_t rows = 0;
    std::int64_t boardTop = 0;
    std::int64_t depth = 10;
    for (auto sw = switchboards.rbegin(); sw != switchboards.rend(); ++sw) {
        above += previousWidth;
        previousWidth = 0;
        boardTop = top + above + ordinal * s;
        const Panels panels = PanelsOf(**sw);
        const int direct = DirectCount(panels);
        depth = 0;
        std::int64_t seen = 0;
        std::int64_t members = 0;
        Taken taken;
        for (auto it = panels.rbegin(); it != panels.rend(); ++it) {
            const TSitid& p = **it;
            if (IsDirect(p)) {
                ++seen;
                depth = seen * s + members * s;
                previousWidth = direct * s;
            }
            if (!IsDirect(p) && !p.FedFromSwitchboard) continue;
            for (TSitid* q = NextMember(panels, p.PanelNumber, taken); q != nullptr;
                 q = NextMember(panels, q->PanelNumber, taken)) {
                taken.insert(q);
                ++members;
                ++membersSoFar;
                depth += s;
            }
        }
        ++ordinal;
        rows += membersSoFar * s;
    }
    return picture::ClampedPixels(boardTop + depth + rows + s);
}

platform::TPoint DrawPanelGroupLines(platform::TCanvas& canvas, int step, int x, int y,
                                     EquipmentSelection& services) {
    const TSitid* panel = ProjectRoot != nullptr ? ProjectRoot->CurrentPanel() : nullptr;
    const TCxemaGrupd* group = panel != nullptr ? panel->SchemeGroups.Cursor : nullptr;
    if (group == nullptr) return {x, y};
    const int s = step;
    Line(canvas, x, y, x, y + s / 10);
    picture::BreakerBlade(canvas, s, x, y + s / 10, y + s / 5);
    Line(canvas, x, y + s / 5, x, y + s - s / 8);
    Line(canvas, x, y + s - s / 8, x - s / 40, y + s - s / 8 - s / 10);
    Line(canvas, x, y + s - s / 8, x + s / 40, y + s - s / 8 - s / 10);
    const std::string cable = picture::GroupConductors(canvas, s, x, y, *group);
    const double current = services.MaxGroupPhaseCurrent();
    const double power = RoundTo(double(group->Power), -2);
    const double loss = services.GroupVoltageLoss(group->GroupName, group->CrossSection);
    const double voltage = RoundTo(EquipmentSelection::ConsumerVoltage(loss, 220), 0);
    const int xt = x + s / 20;
    const std::string texts[] = {"Гр- " + group->GroupName, "Pном- " + Num(power) + " кВт",
                                 "Imax- " + Num(current) + " A", cable,
                                 "Umin - " + Num(voltage) + " в."};
    canvas.TextOut(xt, y + s - 13 * s / 20, texts[0]);
    canvas.TextOut(xt, y + s - 11 * s / 20, texts[1]);
    canvas.TextOut(xt, y + s - 9 * s / 20, texts[2]);
    canvas.TextOut(xt, y + s - 7 * s / 20, texts[3]);
    const int lastTop = y + s - 7 * s / 20 + s / 10;
    canvas.TextOut(xt, lastTop, texts[4]);
    canvas.TextOut(xt, y + s / 20, BreakerText(group->BreakerType, group->BreakerRating));
    int right = x;
    for (const std::string& text : texts) right = std::max(right, xt + canvas.TextWidth(text));
    return {right, lastTop + canvas.TextHeight(texts[4])};
}

void PaintGeneralScheme(platform::TCanvas& canvas, int step, const SchemeColumns& columns,
                        TGrsed& root, TreeEditing& walkers, SheetGrid& sheets,
                        EquipmentSelection& services) {
    SchemePainter painter(canvas, step, root, walkers, sheets, services);
    painter.Supply(columns.sectionPanels, int(SwitchboardsOf(root).size()));
    painter.Switchboards(columns.shift);
}
