#include "drawings/PanelPhasing.h"

#include <array>
#include <string>

#include "calc/Recalculation.h"
#include "drawings/PictureDrawing.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Conversions.h"
#include "selection/EquipmentSelection.h"

using picture::Dot;
using picture::Line;
using picture::Num;
using platform::IntToStr;
using platform::RoundTo;

namespace {

constexpr int kPhaseA = 0;
constexpr int kPhaseB = 1;
constexpr int kPhaseC = 2;

// Offsets from T of the buses A, B, C and N.
constexpr int kBusY[3] = {120, 140, 160};
constexpr int kNeutralBusY = 180;

const char* const kPhaseLetter[3] = {"A", "B", "C"};
const char* const kCurrentLabel[3] = {"IA - ", "IB - ", "IC - "};
const char* const kPowerLabel[3] = {"PAном ", "PBном ", "PCном "};

std::string Kw(long double power) {
    return Num(power) + " кВт";
}

std::string Amperes(double current) {
    return Num(current) + " A";
}

std::string Breaker(const TCxemaGrupd& group, double rating) {
    return group.BreakerType + " - " + Amperes(rating);
}

std::string CableText(const TCxemaGrupd& group) {
    return group.CableBrand + " - " + Num(group.CrossSection) + " кв.мм";
}

// Draws the groups of one picture column by column.
class PhasingPainter {
public:
    PhasingPainter(platform::TCanvas& canvas, const PanelPhasingFrame& frame, const TSitid& panel)
        : c_(canvas), s_(frame.step), t_(frame.top), panel_(panel) {}

    void Header();
    void Buses(SheetGrid& sheets);
    void SinglePhaseGroups();
    void TwoPhaseGroups();
    void ThreePhaseGroups();

private:
    // Left edge of the next column.
    int X() const { return column_ * s_; }
    // A group's drop at offset d from the bus at T + busY: dot, line to the breaker, blade, line
    // on to the load.
    void Drop(int d, int busY);
    // The group's neutral conductor, dashed.
    void Neutral();
    // The load box, filled white, from X + left to X + right.
    void LoadBox(int left, int right, int bottom);
    void SinglePhase(int phase, const TFasaGrup1d& row, const TCxemaGrupd& group);
    void TwoPhase(const std::array<TFasaGrup2d*, 3>& rows, const TCxemaGrupd& group);
    void TwoPhasePairing(int first, const TFasaGrup2d& r1, int second, const TFasaGrup2d& r2,
                         bool balanced, const TCxemaGrupd& group);
    void ThreePhase(const std::array<TFasaGrup3d*, 3>& rows, const TCxemaGrupd& group);
    // The scheme records of the panel that its counted walk reaches.
    std::vector<TCxemaGrupd*> SchemeRecords() const {
        return chains::Elements(panel_.SchemeGroups, chains::SchemeLink{}, panel_.SchemeGroupCount);
    }

    platform::TCanvas& c_;
    const int s_;
    const int t_;
    const TSitid& panel_;
    int column_ = 0;
};

void PhasingPainter::Header() {
    double u[3];
    const double losses[3] = {panel_.VoltageLossA, panel_.VoltageLossB, panel_.VoltageLossC};
    for (int p = 0; p < 3; ++p)
        u[p] = RoundTo(EquipmentSelection::ConsumerVoltage(losses[p], 380), 0);
    const double own[3] = {panel_.OwnCurrentA, panel_.OwnCurrentB, panel_.OwnCurrentC};
    if (panel_.DemandFactor >= 1.0) {
        for (int p = 0; p < 3; ++p)
            c_.TextOut(35, t_ + 105 + 20 * p,
                       kCurrentLabel[p] + Amperes(own[p]) + "   U - " + Num(u[p]) + " в.");
        c_.TextOut(35, t_ + 165, "IN - " + Amperes(panel_.OwnNeutralCurrent));
    } else {
        for (int p = 0; p < 3; ++p) c_.TextOut(35, t_ + 105 + 20 * p, "U - " + Num(u[p]) + " в.");
    }
    c_.TextOut(20, t_ + 20, "Щит№ " + IntToStr(panel_.PanelNumber));
    c_.TextOut(20, t_ + 35, "Руст " + Kw(RoundTo(panel_.InstalledPower, -1)));
    c_.TextOut(20, t_ + 50, "Ррас " + Kw(RoundTo(panel_.DesignPower, -1)));
    c_.TextOut(20, t_ + 65, "Iрас " + Amperes(panel_.OwnDesignCurrent));
}

void PhasingPainter::Buses(SheetGrid& sheets) {
    const int end = panel_.SchemeGroupCount * s_;
    for (int p = 0; p < 3; ++p) {
        Line(c_, 20, t_ + kBusY[p], end, t_ + kBusY[p]);
        c_.TextOut(10, t_ + kBusY[p] - 10, kPhaseLetter[p]);
    }
    c_.Pen.SetStyle(platform::psDash);
    Line(c_, 20, t_ + kNeutralBusY, end, t_ + kNeutralBusY);
    c_.TextOut(10, t_ + kNeutralBusY - 10, "N");
    sheets.MarkSheetsUpTo(end);
    c_.Pen.SetStyle(platform::psSolid);
}

void PhasingPainter::Drop(int d, int busY) {
    const int x = X() + d;
    const int y = t_ + busY;
    Dot(c_, x - 3, y - 3, x + 3, y + 3);
    Line(c_, x, y, x, t_ + 200);
    Line(c_, x, t_ + 215, x, t_ + 300);
    Line(c_, x + 5, t_ + 200, x, t_ + 215);
}

void PhasingPainter::Neutral() {
    c_.Pen.SetStyle(platform::psDash);
    Line(c_, X() + 40, t_ + kNeutralBusY, X() + 40, t_ + 300);
    c_.Pen.SetStyle(platform::psSolid);
}

void PhasingPainter::LoadBox(int left, int right, int bottom) {
    c_.Rectangle(X() + left, t_ + 290, X() + right, t_ + bottom);
}

void PhasingPainter::SinglePhase(int phase, const TFasaGrup1d& row, const TCxemaGrupd& group) {
    const int x = X();
    const double current[3] = {row.PhaseCurrentA1, row.PhaseCurrentB1, row.PhaseCurrentC1};
    Drop(50, kBusY[phase]);
    Neutral();
    LoadBox(35, 55, 305);
    c_.TextOut(x + 30, t_ + 325, (phase == kPhaseA ? "гр  " : "гр ") + row.GroupName1);
    c_.TextOut(x + 30, t_ + 340, "Pном - " + Kw(group.Power));
    c_.TextOut(x + 60, t_ + 195, Breaker(group, group.BreakerRating));
    c_.TextOut(x + 52, t_ + 230, kCurrentLabel[phase] + Amperes(current[phase]));
    c_.TextOut(x + 52, t_ + 245, CableText(group));
    c_.TextOut(x + 52, t_ + 260, "Длина - " + Num(group.LineLength) + " м");
    ++column_;
}

void PhasingPainter::SinglePhaseGroups() {
    const std::vector<TCxemaGrupd*> records = SchemeRecords();
    for (int phase : {kPhaseA, kPhaseB, kPhaseC}) {
        const chains::SinglePhaseByPhaseLink link{phase};
        TFasaGrup1d* row = panel_.SinglePhaseByPhase[phase].First;
        for (int i = 0; i < panel_.RowsOfThree && row != nullptr; ++i) {
            // One step of the walk per scheme record; a skipped row of phase A uses up a step
            // and its successor is compared with the same record.
            std::size_t j = 0;
            for (int step = 0; step < int(records.size()) && row != nullptr; ++step) {
                const TCxemaGrupd& group = *records[j];
                if (group.GroupName == row->GroupName1) {
                    if (phase == kPhaseA && row->Power1 == 0) {
                        row = link(*row).Next;
                        continue;
                    }
                    SinglePhase(phase, *row, group);
                }
                ++j;
            }
            if (row != nullptr) row = link(*row).Next;
        }
    }
}

void PhasingPainter::TwoPhasePairing(int first, const TFasaGrup2d& r1, int second,
                                     const TFasaGrup2d& r2, bool balanced,
                                     const TCxemaGrupd& group) {
    const int x = X();
    const double currents1[3] = {r1.CurrentA, r1.CurrentB, r1.CurrentC};
    const double currents2[3] = {r2.CurrentA, r2.CurrentB, r2.CurrentC};
    const double i1 = currents1[first];
    const double i2 = currents2[second];
    Neutral();
    Drop(50, kBusY[first]);
    Drop(60, kBusY[second]);
    LoadBox(38, 63, 305);
    if (balanced) {
        Line(c_, x + 50, t_ + 205, x + 65, t_ + 205);
        Line(c_, x + 50, t_ + 207, x + 65, t_ + 207);
        c_.TextOut(x + 70, t_ + 195, Breaker(group, group.BreakerRating));
        c_.TextOut(x + 30, t_ + 340, "Pном " + Kw(group.Power));
    } else {
        c_.TextOut(x + 70, t_ + 185, Breaker(group, TGrsed::StandardRating(i1)));
        c_.TextOut(x + 70, t_ + 200, Breaker(group, TGrsed::StandardRating(i2)));
        c_.TextOut(x + 30, t_ + 340, kPowerLabel[first] + Kw(r1.Power2));
        c_.TextOut(x + 30, t_ + 355, kPowerLabel[second] + Kw(r2.Power2));
    }
    c_.TextOut(x + 62, t_ + 215, kCurrentLabel[first] + Amperes(i1));
    c_.TextOut(x + 62, t_ + 230, kCurrentLabel[second] + Amperes(i2));
    c_.TextOut(x + 62, t_ + 245, "IN - " + Amperes(NetworkCalculation::NeutralCurrent(i1, i2, 0)));
}

void PhasingPainter::TwoPhase(const std::array<TFasaGrup2d*, 3>& rows, const TCxemaGrupd& group) {
    const TFasaGrup2d& a = *rows[kPhaseA];
    const TFasaGrup2d& b = *rows[kPhaseB];
    const TFasaGrup2d& c = *rows[kPhaseC];
    // Each pairing whose third phase is unused, in this order, in the same column.
    if (!c.PhaseUsed) TwoPhasePairing(kPhaseA, a, kPhaseB, b, a.Symmetric2, group);
    if (!b.PhaseUsed) TwoPhasePairing(kPhaseA, a, kPhaseC, c, a.Symmetric2, group);
    if (!a.PhaseUsed) TwoPhasePairing(kPhaseB, b, kPhaseC, c, b.Symmetric2, group);
    const int x = X();
    c_.TextOut(x + 62, t_ + 260, CableText(group));
    c_.TextOut(x + 62, t_ + 275, "Длина - " + Num(group.LineLength) + " м");
    c_.TextOut(x + 30, t_ + 325, "гр " + group.GroupName);
    ++column_;
}

// The k-th elements of the three result chains of a kind, walked in step; the walk ends with the
// shortest chain.
template <typename Record, typename Link>
void ForEachRow(const std::array<ChainBlock<Record>, 3>& chainsByPhase, int count,
                const auto& visit) {
    chains::ResultRow<Record, Link> row(chainsByPhase);
    for (int k = 0; k < count && !row.AnyEnded(); ++k) {
        visit(row.Records());
        row.Advance();
    }
}

void PhasingPainter::TwoPhaseGroups() {
    const std::vector<TCxemaGrupd*> records = SchemeRecords();
    ForEachRow<TFasaGrup2d, chains::TwoPhaseByPhaseLink>(
        panel_.TwoPhaseByPhase, panel_.TwoPhaseCount, [&](const std::array<TFasaGrup2d*, 3>& rows) {
            for (TCxemaGrupd* group : records) {
                const std::string& name = group->GroupName;
                if (name == rows[0]->GroupName2 || name == rows[1]->GroupName2 ||
                    name == rows[2]->GroupName2)
                    TwoPhase(rows, *group);
            }
        });
}

void PhasingPainter::ThreePhase(const std::array<TFasaGrup3d*, 3>& rows, const TCxemaGrupd& group) {
    const int x = X();
    const TFasaGrup3d& rb = *rows[kPhaseB];
    const double current[3] = {rows[kPhaseA]->CurrentA3, rb.CurrentB3, rows[kPhaseC]->CurrentC3};
    const double neutral =
        RoundTo(NetworkCalculation::NeutralCurrent(current[0], current[1], current[2]), 0);
    Neutral();
    constexpr int kDropOffset[3] = {50, 60, 70};
    constexpr int kPowerY[3] = {340, 355, 370};
    constexpr int kBreakerY[3] = {185, 200, 215};
    constexpr int kCurrentY[3] = {230, 245, 260};
    for (int p = 0; p < 3; ++p) {
        const TFasaGrup3d& row = *rows[p];
        if (row.PhaseNumber != p + 1) continue;
        Drop(kDropOffset[p], kBusY[p]);
        if (row.Symmetric3)
            c_.TextOut(x + 30, t_ + 340, "Pном " + Kw(group.Power));
        else
            c_.TextOut(x + 30, t_ + kPowerY[p],
                       kPowerLabel[p] + Kw(RoundTo(double(row.Power3), -1)));
        if (rb.Symmetric3)
            c_.TextOut(x + 80, t_ + 200, Breaker(group, group.BreakerRating));
        else
            c_.TextOut(x + 80, t_ + kBreakerY[p],
                       Breaker(group, TGrsed::StandardRating(current[p])));
        c_.TextOut(x + 72, t_ + kCurrentY[p], kCurrentLabel[p] + Amperes(current[p]));
    }
    c_.TextOut(x + 30, t_ + 325, "гр " + rb.GroupName3);
    LoadBox(38, 73, 310);
    if (rb.Symmetric3) {
        Line(c_, x + 50, t_ + 205, x + 78, t_ + 205);
        Line(c_, x + 50, t_ + 208, x + 78, t_ + 208);
    }
    c_.TextOut(x + 80, t_ + 275, "IN - " + Amperes(neutral));
    c_.TextOut(x + 80, t_ + 290, CableText(group));
    c_.TextOut(x + 80, t_ + 305, "Длина- " + Num(group.LineLength) + " м");
    ++column_;
}

void PhasingPainter::ThreePhaseGroups() {
    const std::vector<TCxemaGrupd*> records = SchemeRecords();
    ForEachRow<TFasaGrup3d, chains::ThreePhaseByPhaseLink>(
        panel_.ThreePhaseByPhase, panel_.ThreePhaseCount,
        [&](const std::array<TFasaGrup3d*, 3>& rows) {
            for (TCxemaGrupd* group : records) {
                const std::string& name = group->GroupName;
                if (name == rows[0]->GroupName3 || name == rows[1]->GroupName3 ||
                    name == rows[2]->GroupName3)
                    ThreePhase(rows, *group);
            }
        });
}

}  // namespace

void PaintPanelPhasing(platform::TCanvas& canvas, const PanelPhasingFrame& frame,
                       const TSitid& panel, SheetGrid& sheets) {
    PhasingPainter painter(canvas, frame, panel);
    painter.Header();
    painter.Buses(sheets);
    painter.SinglePhaseGroups();
    painter.TwoPhaseGroups();
    painter.ThreePhaseGroups();
}
