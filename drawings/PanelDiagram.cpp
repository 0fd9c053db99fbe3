#include "drawings/PanelDiagram.h"

#include <string>

#include "drawings/DrawingState.h"
#include "drawings/PictureDrawing.h"
#include "model/Classd.h"
#include "platform/Conversions.h"
#include "selection/EquipmentSelection.h"

using picture::BreakerBlade;
using picture::BreakerText;
using picture::Dot;
using picture::GroupConductors;
using picture::Line;
using picture::Num;
using picture::PhaseCurrentTexts;
using platform::IntToStr;
using platform::RoundTo;

namespace {

// Header: number, voltage and powers of the panel left of the bus.
void DrawHeader(platform::TCanvas& canvas, int s, int y0, const TSitid& panel) {
    const double u = RoundTo(EquipmentSelection::ConsumerVoltage(panel.MaxVoltageLoss, 380), 0);
    canvas.TextOut(40, y0, "Щит№ " + IntToStr(panel.PanelNumber));
    canvas.TextOut(40, y0 - 3 * s / 20, "U - " + Num(u) + " в.");
    canvas.TextOut(40, y0 + 3 * s / 20, "Руст  " + Num(RoundTo(panel.InstalledPower, -1)) + " кВт");
    canvas.TextOut(40, y0 + 5 * s / 20, "Ррас  " + Num(RoundTo(panel.DesignPower, -1)) + " кВт");
}

// The input breaker on the line going up from the bus at x0.
void DrawInput(platform::TCanvas& canvas, int s, int x0, int y0) {
    Line(canvas, x0, y0 - BusHalfThickness, x0, y0 - s / 10);
    Line(canvas, x0, y0 - s / 10, x0 - s / 20, y0 - s / 5);
    canvas.Polyline({{x0 - s / 23, y0 - s / 6 - s / 100},
                     {x0 - s / 20, y0 - s / 6},
                     {x0 - s / 40, y0 - s / 9 - s / 100},
                     {x0 - s / 80, y0 - s / 8}});
    Line(canvas, x0, y0 - s / 5, x0, y0 - s);
}

// An arrowhead at (x, y) opening downwards (dy > 0) or upwards (dy < 0).
void DrawArrowhead(platform::TCanvas& canvas, int x, int y, int halfWidth, int dy) {
    Line(canvas, x, y, x - halfWidth, y + dy);
    Line(canvas, x, y, x + halfWidth, y + dy);
}

// Fed from a panel or heading a cascade, and not the last panel of a cascade.
bool IsTrunkTap(const TSitid& panel) {
    return (panel.FedFromPanel || panel.FedFromSwitchboard) && !panel.CascadeEnd;
}

void DrawSupplyLink(platform::TCanvas& canvas, int s, int x0, int y0, const TSitid& panel) {
    if (!IsTrunkTap(panel)) {
        DrawArrowhead(canvas, x0, y0 - s, s / 40, s / 10);
        return;
    }
    const int xt = x0 + s;
    Line(canvas, x0, y0 - s, xt, y0 - s);
    Dot(canvas, xt + 2, y0 - s + 2, xt - 2, y0 - s - 2);
    Line(canvas, xt, y0 - 2 * s, xt, y0 - 3 * s / 5);
    DrawArrowhead(canvas, xt, y0 - 2 * s, s / 40, s / 10);
    DrawArrowhead(canvas, xt, y0 - 3 * s / 5, s / 40, -(s / 10));
}

std::string FeederCableText(const TSitid& panel, double section) {
    return panel.FeederCableBrand + "   3x" + Num(section) + "+1x" +
           Num(panel.FeederNeutralSection) + " кв.мм";
}

// Currents, breaker, switchboard and feeder cable of the panel and its supply.
void DrawSupplyTexts(platform::TCanvas& canvas, int s, int x0, int y0, const TGrsed& sw,
                     const TSitid& panel) {
    const bool reduced = panel.DemandFactor < 1.0;
    const int x = x0 + s / 20;
    const auto ownCurrents = [&] {
        if (reduced) {
            canvas.TextOut(x, y0 - 9 * s / 20, "Iрас- " + Num(panel.OwnDesignCurrent) + " A");
            return;
        }
        const int y[4] = {y0 - 15 * s / 20, y0 - 13 * s / 20, y0 - 11 * s / 20, y0 - 9 * s / 20};
        PhaseCurrentTexts(canvas, x, y, panel.OwnCurrentA, panel.OwnCurrentB, panel.OwnCurrentC,
                          panel.OwnNeutralCurrent);
    };
    const std::string breaker = BreakerText(panel.PanelBreakerType, panel.PanelBreakerRating);
    const std::string switchboard = "Грщ№ " + IntToStr(sw.SwitchboardNumber);
    if (IsTrunkTap(panel)) {
        ownCurrents();
        canvas.TextOut(x, y0 - 3 * s / 20, breaker);
        const int xt = x0 + s + s / 20;
        const int top = y0 - 2 * s;
        canvas.TextOut(xt, top, switchboard);
        if (reduced)
            canvas.TextOut(xt, top + 15 * s / 20,
                           "Iрас- " + Num(panel.CascadeDesignCurrent) + " A");
        else {
            const int y[4] = {top + 9 * s / 20, top + 11 * s / 20, top + 13 * s / 20,
                              top + 15 * s / 20};
            PhaseCurrentTexts(canvas, xt, y, panel.CascadeCurrentA, panel.CascadeCurrentB,
                              panel.CascadeCurrentC, panel.CascadeNeutralCurrent);
        }
        canvas.TextOut(xt, top + 17 * s / 20, FeederCableText(panel, panel.FeederSection2));
        return;
    }
    canvas.TextOut(x, y0 - 17 * s / 20, switchboard);
    ownCurrents();
    const double section = panel.CascadeEnd ? panel.FeederSection2 : panel.FeederSection;
    canvas.TextOut(x, y0 - 7 * s / 20, FeederCableText(panel, section));
    canvas.TextOut(x, y0 - 3 * s / 20, breaker);
}

// The group line at x hanging from the bus: junction dot, breaker, the line down with its
// arrowhead.
void DrawGroupSymbol(platform::TCanvas& canvas, int s, int x, int y0) {
    Line(canvas, x, y0, x, y0 + s / 10);
    Dot(canvas, x + 2, y0 + 2, x - 2, y0 - 2);
    BreakerBlade(canvas, s, x, y0 + s / 10, y0 + s / 5);
    Line(canvas, x, y0 + s / 5, x, y0 + s);
    DrawArrowhead(canvas, x, y0 + s, s / 40, -(s / 10));
}

}  // namespace

void PaintPanelDiagram(platform::TCanvas& canvas, const PanelDiagramFrame& frame,
                       const TGrsed& switchboard, TSitid& panel, int groupCount, SheetGrid& sheets,
                       EquipmentSelection& services) {
    const int s = frame.step;
    const int x0 = s;
    const int y0 = frame.busY;
    const int n1 = groupCount > 0 ? groupCount : 1;

    DrawHeader(canvas, s, y0, panel);
    // The bus bar, in the canvas's white brush.
    canvas.Rectangle(x0 - 10, y0 - BusHalfThickness, (n1 - 1) * s + x0 + 10, y0 + BusHalfThickness);
    DrawInput(canvas, s, x0, y0);
    DrawSupplyLink(canvas, s, x0, y0, panel);

    TCxemaGrupd* group = panel.SchemeGroups.First;
    for (int g = 0; g < groupCount && group != nullptr; ++g) {
        const int x = x0 + g * s;
        sheets.MarkSheetHolding(x);
        DrawGroupSymbol(canvas, s, x, y0);
        DrawSupplyTexts(canvas, s, x0, y0, switchboard, panel);
        const std::string cable = GroupConductors(canvas, s, x, y0, *group);
        // The services read the group under the cursor.
        panel.SchemeGroups.Cursor = group;
        const double current = services.MaxGroupPhaseCurrent();
        const double loss = services.GroupVoltageLoss(group->GroupName, group->CrossSection);
        const double umin = RoundTo(EquipmentSelection::ConsumerVoltage(loss, 220), 0);
        const int xt = x + s / 20;
        canvas.TextOut(xt, y0 + s - 13 * s / 20, "Гр- " + group->GroupName);
        canvas.TextOut(xt, y0 + s - 11 * s / 20,
                       "Pном- " + Num(RoundTo(double(group->Power), -2)) + " кВт");
        canvas.TextOut(xt, y0 + s - 9 * s / 20, "Iном- " + Num(current) + " A");
        canvas.TextOut(xt, y0 + s - 7 * s / 20, cable);
        canvas.TextOut(xt, y0 + s - 5 * s / 20, "Umin - " + Num(umin) + " в.");
        canvas.TextOut(xt, y0 + s / 20, BreakerText(group->BreakerType, group->BreakerRating));
        group = group->SchemeGroups.Next;
        panel.SchemeGroups.Cursor = group;
    }
}
