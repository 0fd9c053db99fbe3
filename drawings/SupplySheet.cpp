// One sheet of the supply network schematic: legend, panel columns, switchboard node, source.
#include <algorithm>
#include <string>

#include "drawings/PictureDrawing.h"
#include "drawings/SupplyScheme.h"
#include "model/Cascades.h"
#include "model/Classd.h"
#include "model/TreeEditing.h"
#include "platform/Conversions.h"

using picture::Dot;
using picture::Line;
using picture::Num;
using platform::IntToStr;
using platform::TCanvas;

namespace {

// The legend box and the right edge of its bands.
constexpr int kLegendLeft = 50;
constexpr int kLegendRight = 284;
constexpr int kLegendTop = 100;
constexpr int kLegendBottom = 931;
// The first panel column's line and the pitch of the columns.
constexpr int kFirstColumn = 320;
constexpr int kColumnPitch = 70;
// Heights of the label lines: panel feeders, and the switchboard and own feeds.
constexpr int kPanelLabelY1 = 733;
constexpr int kPanelLabelY2 = 753;
constexpr int kFeedLabelY1 = 368;
constexpr int kFeedLabelY2 = 388;
constexpr int kSwitchboardBusY = 465;
constexpr int kSourceBusY = 100;
constexpr int kCascadeBusY = 768;

// The six legend texts of a cable's two label lines, written upwards, and their x.
struct LegendLine {
    int x;
    const char* text;
};
constexpr LegendLine kCableLegend[] = {
    {110, "Маркировка - расчетная нагрузка,"},     {125, "кВт - коэффициент мощности - "},
    {140, "расчетный ток, А - длина участка м. "}, {170, "Момент нагрузки, кВт м - потери"},
    {185, "напряжения, % - марка, сечение"},       {200, "проводника - способ прокладки."},
};

// Horizontal legend texts at x 55.
struct LegendText {
    int y;
    const char* text;
};
constexpr LegendText kLegendTexts[] = {
    {403, "Распределительный пункт, номер,"},  {418, "тип, установленная и расчетная"},
    {433, "мощность, кВт, аппарат на вводе;"}, {448, "тип, ток, А."},
    {480, "Выключатель автоматический"},       {495, "номинальный ток расцепителя, А."},
    {778, "Щиток групповой, аппарат "},        {793, "на вводе: тип, номинальный ток, А."},
    {832, "Номер по схеме расположения"},      {847, "на плане."},
    {871, "Расчетная мощность кВт."},          {904, "Потери напряжения до щита, %."},
};
constexpr int kLegendBands[] = {167, 398, 465, 532, 763, 830, 863, 896};

// The font of the main window, which the sheet's horizontal texts use.
const platform::TFont& MainWindowFont() {
    static const platform::TFont font;
    return font;
}

// A font of that height writing upwards, as the vertical texts are made.
void UseUpwardFont(TCanvas& canvas, int height) {
    platform::TLogFont font;
    font.Height = height;
    font.Escapement = 900;
    font.Orientation = 900;
    font.CharSet = canvas.Font.Charset();
    font.FaceName = "Tahoma";
    canvas.Font.SetHandle(font);
}

// Height of the panel, own feed and switchboard labels: 8 points at 96 dots per inch.
constexpr int kLabelFontHeight = -11;

void UseMainWindowFont(TCanvas& canvas) {
    canvas.Font = MainWindowFont();
}

// The two lines of a cable's label.
struct CableLabel {
    std::string marking;
    double load = 0;  // kW, rounded to 0.1
    double cosPhi = 0;
    double current = 0;
    double length = 0;
    double loss = 0;
    std::string brand;
    double phaseSection = 0;
    double neutralSection = 0;
    std::string laying;
};

std::string LayingText(const std::string& laying) {
    return laying == "Четыре провода в трубе" ? "В трубе" : laying;
}

std::string FirstLine(const CableLabel& c) {
    return c.marking + "-" + Num(c.load) + "-" + Num(c.cosPhi) + "-" + Num(c.current) + "-" +
           Num(c.length);
}

// The load moment is the rounded design load times the length.
std::string SecondLine(const CableLabel& c) {
    const double moment = c.load * c.length;
    return Num(moment) + "-" + Num(c.loss) + "-" + c.brand + " " + "3x" + Num(c.phaseSection) +
           "+1x" + Num(c.neutralSection) + "-" + LayingText(c.laying);
}

double Rounded(double power) {
    return platform::RoundTo(power, -1);
}

using cascades::InCascade;

// The feeder of a panel from the switchboard bus or from the panel feeding it.
CableLabel PanelFeederLabel(const TSitid& p) {
    const bool cascade = InCascade(p);
    return {p.FeederCableName,
            Rounded(cascade ? p.CascadePower : p.DesignPower),
            cascade ? p.CascadeCosPhi : p.PanelCosPhi,
            cascade ? p.CascadeDesignCurrent : p.OwnDesignCurrent,
            p.FeederLength,
            p.LossPartSum,
            p.FeederCableBrand,
            cascade ? p.FeederSection2 : p.FeederSection,
            p.FeederNeutralSection,
            p.FeederLayingMethod};
}

// The own feed of a panel straight from the source, laid beside the switchboard's feeder.
CableLabel OwnFeedLabel(const TSitid& p, const TGrsed& sw) {
    return {p.FeederCableName,
            Rounded(p.DesignPower),
            p.PanelCosPhi,
            p.OwnDesignCurrent,
            sw.SwitchboardFeederLength,
            std::max({p.LossPart2A, p.LossPart2B, p.LossPart2C}),
            p.FeederCableBrand,
            p.FeederSectionByCurrent,
            sw.SwitchboardNeutralSection,
            sw.SwitchboardLaying};
}

CableLabel SwitchboardFeederLabel(const TGrsed& sw) {
    return {sw.SwitchboardCableName,
            Rounded(sw.SwitchboardDesignPower),
            std::max({sw.SwitchboardCosPhiA, sw.SwitchboardCosPhiB, sw.SwitchboardCosPhiC}),
            sw.SwitchboardDesignCurrent,
            sw.SwitchboardFeederLength,
            std::max({sw.SwitchboardLossA, sw.SwitchboardLossB, sw.SwitchboardLossC}),
            sw.SwitchboardCableBrand,
            sw.SwitchboardSection,
            sw.SwitchboardNeutralSection,
            sw.SwitchboardLaying};
}

void DrawLegend(TCanvas& canvas) {
    for (int y : kLegendBands) Line(canvas, kLegendLeft, y, kLegendRight, y);
    Line(canvas, 167, 177, 167, 388);
    Line(canvas, 167, 542, 167, 753);
    canvas.TextOut(100, 123, "Источник питания.");
    for (const LegendText& t : kLegendTexts) canvas.TextOut(55, t.y, t.text);
    // The canvas font is the main window's at 10 points here.
    UseUpwardFont(canvas, canvas.Font.Height());
    for (int baseline : {391, 756})
        for (const LegendLine& l : kCableLegend) canvas.TextOut(l.x, baseline, l.text);
}

// A breaker drawn as a blade from (x1, y1) to (x2, y2) with its hook.
void Breaker(TCanvas& canvas, platform::TPoint from, platform::TPoint to,
             std::initializer_list<platform::TPoint> hook) {
    Line(canvas, from.X, from.Y, to.X, to.Y);
    canvas.Polyline(hook);
}

// Where the own feeds of the sheet's panels stand, for the switchboard and the source bus.
struct OwnFeeds {
    bool any = false;
    bool seen = false;
    int last = 0;    // x of the last one
    int middle = 0;  // x of the one in the middle of the sheet's columns, 0 for none
    int left = 0;    // x of the first one, when it stands left of the middle; 0 for none
};

class SheetPainter {
public:
    SheetPainter(TCanvas& canvas, TGrsed& sw, int panelsOnSheet, int sheetNumber,
                 TreeEditing& cascades)
        : c_(canvas), sw_(sw), panels_(panelsOnSheet), sheet_(sheetNumber), cascades_(cascades) {}

    void Columns();
    void SwitchboardNode();
    void Closing(const std::string& transformerName);

private:
    void Column(int i, TSitid& p);
    void FeederLabels(int i, const TSitid& p, int x);
    void CascadeBus(int i, TSitid& p, int x);
    void SwitchboardConnection(TSitid& p, int x);
    void OwnFeed(const TSitid& p, int x);

    TCanvas& c_;
    TGrsed& sw_;
    int panels_;
    int sheet_;
    TreeEditing& cascades_;
    int d_ = 0;  // offset of the next column from the first
    bool continuation_ = false;
    bool suppressSwitchboard_ = false;
    OwnFeeds feeds_;
    int s_ = 0;  // x of the switchboard
};

void SheetPainter::Columns() {
    if (sheet_ == 1) sw_.Panels.Cursor = sw_.Panels.First;
    for (int i = 0; i < panels_; ++i) {
        TSitid* p = sw_.Panels.Cursor;
        // A chain shorter than the count ends the sheet.
        if (p == nullptr) break;
        Column(i, *p);
        sw_.Panels.Cursor = p->Panels.Next;
    }
    if (panels_ == 0) d_ = kColumnPitch;
    const int half = d_ / 2;
    s_ = half + 285;
    // Moved half a pitch right so as not to stand on the own feed in the middle.
    if (feeds_.any && half + 285 == feeds_.middle) s_ = half + 320;
}

void SheetPainter::FeederLabels(int i, const TSitid& p, int x) {
    const CableLabel label = PanelFeederLabel(p);
    int x1 = x - 15;
    int x2 = x;
    bool shown = p.CascadePower != 0 || p.DesignPower != 0;
    if (p.FedFromPanel) {
        x1 = i == 0 ? 305 : x - 50;
        x2 = i == 0 ? 310 : x - 35;
        shown = p.CascadePower != 0;
    }
    if (shown) {
        c_.TextOut(x1, kPanelLabelY1, FirstLine(label));
        c_.TextOut(x2, kPanelLabelY2, SecondLine(label));
    }
    // The cable from the feeding panel.
    if (p.FedFromPanel) Line(c_, x2, 588, x2, 748);
}

void SheetPainter::CascadeBus(int i, TSitid& p, int x) {
    if (p.FedFromSwitchboard) {
        const int k = cascades_.NumberPanelCascade(&p);
        sw_.Panels.Cursor = &p;
        // A cascade running on beyond the sheet ends 35 px right of the last column.
        const int w =
            i + k >= kSupplyPanelsPerSheet ? kColumnPitch * (5 - i) + 35 : kColumnPitch * k;
        Line(c_, x, kCascadeBusY, x + w, kCascadeBusY);
        for (int j = 1; j <= k && i + j < kSupplyPanelsPerSheet; ++j)
            Line(c_, x + kColumnPitch * j, kCascadeBusY, x + kColumnPitch * j, 778);
    }
    if (sheet_ > 1 && i == 0 && p.FedFromPanel) continuation_ = true;
    if (!p.FedFromPanel) continuation_ = false;
    // The cascade arriving from the previous sheet.
    if (continuation_) {
        Line(c_, x, kCascadeBusY, x, 778);
        Line(c_, 295, kCascadeBusY, x, kCascadeBusY);
    }
}

void SheetPainter::OwnFeed(const TSitid& p, int x) {
    if (panels_ == 1 && sheet_ > 1) suppressSwitchboard_ = true;
    // Past the switchboard bus without joining it, up to the source.
    Line(c_, x, 470, x, 485);
    Line(c_, x, 470, x - 5, 470);
    Line(c_, x - 5, 470, x - 5, 460);
    Line(c_, x - 5, 460, x, 460);
    Line(c_, x, 460, x, 140);
    Line(c_, x, 100, x, 120);
    c_.Polyline({{x - 8, 125}, {x - 12, 129}, {x - 6, 140}, {x - 2, 136}});
    Line(c_, x, 140, x - 10, 120);
    Dot(c_, x - 3, 97, x + 3, 103);
    UseUpwardFont(c_, kLabelFontHeight);
    const CableLabel label = OwnFeedLabel(p, sw_);
    c_.TextOut(x - 15, kFeedLabelY1, FirstLine(label));
    c_.TextOut(x + 1, kFeedLabelY2, SecondLine(label));
    UseMainWindowFont(c_);
    c_.TextOut(x, 123, p.PanelBreakerType);
    c_.TextOut(x + 10, 138, Num(p.CascadeBreakerRating));
}

void SheetPainter::SwitchboardConnection(TSitid& p, int x) {
    if (p.OnTrunk) {
        OwnFeed(p, x);
    } else {
        Dot(c_, x - 3, 462, x + 3, 468);
        Line(c_, x, 465, x, 485);
    }
    Breaker(c_, {x - 10, 485}, {x, 505},
            {{x - 10, 490}, {x - 12, 492}, {x - 7, 502}, {x - 3, 498}});
    UseMainWindowFont(c_);
    const bool head = p.FedFromSwitchboard != 0;
    c_.TextOut(x, 480, head ? p.TrunkBreakerType : p.PanelBreakerType);
    c_.TextOut(x + 10, 495, Num(head ? p.TrunkBreakerRating : p.FeederBreakerRating));
    Line(c_, x, 505, x, 778);
}

void SheetPainter::Column(int i, TSitid& p) {
    const int x = kFirstColumn + d_;
    UseUpwardFont(c_, kLabelFontHeight);
    c_.Brush.SetColor(platform::clWhite);
    FeederLabels(i, p, x);
    CascadeBus(i, p, x);
    if (!p.FedFromPanel) SwitchboardConnection(p, x);

    // The panel's input apparatus.
    Line(c_, x, 818, x, 798);
    Breaker(c_, {x, 798}, {x - 10, 778}, {{x - 8, 783}, {x - 12, 786}, {x - 6, 796}, {x - 2, 793}});
    UseMainWindowFont(c_);
    c_.TextOut(x, 778, p.PanelBreakerType);
    c_.TextOut(x + 10, 793, Num(p.PanelBreakerRating));

    // The bottom bands: number, design power, voltage loss up to the panel.
    Line(c_, x + 35, 830, x + 35, 931);
    c_.TextOut(x - 30, 847, "Щит-" + Num(p.PanelNumber));
    const double design = Rounded(p.DesignPower);
    if (design != 0) {
        c_.TextOut(x - 30, 871, Num(design));
        c_.TextOut(x - 30, 904, Num(p.MaxVoltageLoss));
    }

    // The panel's bus bar.
    c_.Brush.SetColor(platform::clBlack);
    c_.Rectangle(x - 10, 818, x + 10, 826);

    d_ += kColumnPitch;
    if (p.OnTrunk) {
        const int column = d_ + 250;
        const int middle = kColumnPitch * panels_ / 2 + 285;
        if (middle == column) feeds_.middle = column;
        if (middle > column && !feeds_.seen) feeds_.left = column;
        feeds_.last = column;
        feeds_.any = feeds_.seen = true;
    }
}

void SheetPainter::SwitchboardNode() {
    if (suppressSwitchboard_) return;
    const int s = s_;
    UseUpwardFont(c_, kLabelFontHeight);
    c_.Brush.SetColor(platform::clWhite);
    const CableLabel label = SwitchboardFeederLabel(sw_);
    if (sw_.SwitchboardSection != 0) {
        c_.TextOut(s - 15, kFeedLabelY1, FirstLine(label));
        c_.TextOut(s, kFeedLabelY2, SecondLine(label));
    }
    UseMainWindowFont(c_);
    c_.TextOut(s, 418, sw_.SwitchboardBreakerType);
    c_.TextOut(s + 10, 433, Num(sw_.SwitchboardBreakerRating));
    c_.TextOut(s, 133, sw_.SwitchboardBreakerType);
    c_.TextOut(s + 10, 148, Num(sw_.SwitchboardInputRating));

    c_.Pen.SetWidth(2);
    const std::string number = "Грщ-" + Num(sw_.SwitchboardNumber);
    // "P" of "Pуст" and "Pрас" is the Latin letter.
    const std::string installed = "Pуст-" + Num(Rounded(sw_.SwitchboardInstalledPower)) + " кВт";
    const std::string design = "Pрас-" + Num(label.load) + " кВт";
    if (panels_ <= 1) {
        Line(c_, 320, kSwitchboardBusY, 300, kSwitchboardBusY);
        Line(c_, 320, kSwitchboardBusY, 340, kSwitchboardBusY);
        c_.TextOut(288, 448, number);
        c_.TextOut(355, 433, installed);
        c_.TextOut(355, 448, design);
    } else {
        Line(c_, 315, kSwitchboardBusY, d_ + 255, kSwitchboardBusY);
        c_.TextOut(315, 448, number);
        c_.TextOut(d_ + 255, 433, installed);
        c_.TextOut(d_ + 255, 448, design);
    }

    // The feeder from the source with its two breakers.
    Line(c_, s, 465, s, 445);
    Breaker(c_, {s, 445}, {s - 10, 425}, {{s - 9, 430}, {s - 12, 433}, {s - 7, 443}, {s - 2, 441}});
    Line(c_, s, 425, s, 140);
    Breaker(c_, {s, 140}, {s - 10, 120}, {{s - 8, 125}, {s - 12, 129}, {s - 6, 140}, {s - 2, 136}});
    Dot(c_, s - 3, 97, s + 3, 103);
    Line(c_, s, 100, s, 120);
}

void SheetPainter::Closing(const std::string& transformerName) {
    c_.Pen.SetWidth(1);
    if (panels_ != 0)
        for (int y : {830, 863, 896, 931}) Line(c_, kLegendRight, y, d_ + 285, y);
    if (panels_ <= 1) {
        Line(c_, 320, kSwitchboardBusY, 300, kSwitchboardBusY);
        Line(c_, 320, kSwitchboardBusY, 340, kSwitchboardBusY);
    }

    // The source bus, reaching the own feeds beside the switchboard.
    c_.Pen.SetWidth(2);
    const int s = s_;
    const int half = d_ / 2;
    c_.MoveTo(s, kSourceBusY);
    c_.LineTo(feeds_.any && feeds_.last < s ? feeds_.last - 15 : s - 15, kSourceBusY);
    c_.MoveTo(s, kSourceBusY);
    c_.LineTo(feeds_.any && half + 285 < feeds_.last ? feeds_.last + 15 : s + 15, kSourceBusY);
    if (feeds_.any && feeds_.middle != 0 && feeds_.middle < s)
        c_.LineTo(feeds_.middle - 15, kSourceBusY);
    if (feeds_.any && feeds_.left != 0 && feeds_.left < s) c_.LineTo(feeds_.left - 15, kSourceBusY);

    c_.Brush.SetColor(platform::clWhite);
    UseMainWindowFont(c_);
    c_.TextOut((d_ - 110) / 2 + 315, 80, "~400/230");
    c_.TextOut((d_ - 15) / 2 + 335, 80, transformerName);
}

}  // namespace

std::vector<int> SupplySchemeSheets(int panelCount) {
    const int p = std::max(panelCount, 0);
    if (p <= kSupplyPanelsPerSheet) return {p};
    std::vector<int> sheets(p / kSupplyPanelsPerSheet, kSupplyPanelsPerSheet);
    if (p % kSupplyPanelsPerSheet != 0) sheets.push_back(p % kSupplyPanelsPerSheet);
    return sheets;
}

void PaintSupplyNetworkSheet(TCanvas& canvas, TGrsed& switchboard,
                             const std::string& transformerName, int panelsOnSheet, int sheetNumber,
                             int switchboardNumber, bool severalSheets, TreeEditing& cascades) {
    canvas.Font = MainWindowFont();
    canvas.Pen = platform::TPen();
    canvas.Brush.SetColor(platform::clWhite);
    canvas.Font.SetSize(14);
    canvas.TextOut(
        150, 25, "Принципиальная схема питающей сети(Грщ. № " + IntToStr(switchboardNumber) + ")");
    canvas.Rectangle(kLegendLeft, kLegendTop, kLegendRight, kLegendBottom);
    canvas.Font.SetSize(10);
    canvas.TextOut(20, 20, severalSheets ? "Лист № " + IntToStr(sheetNumber) : std::string());
    DrawLegend(canvas);

    SheetPainter sheet(canvas, switchboard, panelsOnSheet, sheetNumber, cascades);
    sheet.Columns();
    sheet.SwitchboardNode();
    sheet.Closing(transformerName);
}
