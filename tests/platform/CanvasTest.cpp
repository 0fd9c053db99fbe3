#include <gtest/gtest.h>

#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <climits>
#include <new>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

using namespace platform;

namespace {

struct Probe {
    int x;
    int y;
    TColor expected;
};

void ExpectProbes(const TCanvas& canvas, const std::vector<Probe>& probes) {
    for (const Probe& p : probes)
        EXPECT_EQ(canvas.Pixels(p.x, p.y), p.expected) << "at (" << p.x << ", " << p.y << ")";
}

// Pixels of `color` in [left, right) x [top, bottom).
int CountPixels(const TCanvas& canvas, const TRect& area, TColor color) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (canvas.Pixels(x, y) == color) ++n;
    return n;
}

// The smallest rectangle holding every pixel of `color`, or an empty one.
TRect BoundsOf(const TCanvas& canvas, int width, int height, TColor color) {
    TRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (canvas.Pixels(x, y) == color) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r.Left == INT_MAX ? TRect{} : r;
}

}  // namespace

// --- Rectangles --------------------------------------------------------------------------------

struct RectangleCase {
    const char* name;
    TRect corners;
};

class CanvasRectangle : public ::testing::TestWithParam<RectangleCase> {};

// The table page frame: corners (50, 100) and (751, 180) cover x 50..750 and y 100..179.
TEST_P(CanvasRectangle, RightAndBottomEdgesAreExcluded) {
    TBitmap bmp;
    bmp.SetSize(800, 200);
    TCanvas* c = bmp.Canvas();
    c->Brush.SetColor(clRed);
    c->Rectangle(GetParam().corners);
    ExpectProbes(*c, {{750, 140, clBlack},
                      {751, 140, clWhite},
                      {50, 140, clBlack},
                      {49, 140, clWhite},
                      {400, 179, clBlack},
                      {400, 180, clWhite},
                      {400, 100, clBlack},
                      {400, 99, clWhite},
                      {750, 179, clBlack},
                      {400, 140, clRed},
                      {749, 178, clRed}});
}

INSTANTIATE_TEST_SUITE_P(Canvas, CanvasRectangle,
                         ::testing::Values(RectangleCase{"TopLeftFirst", {50, 100, 751, 180}},
                                           RectangleCase{"BottomRightFirst", {751, 180, 50, 100}},
                                           RectangleCase{"Mixed", {751, 100, 50, 180}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Canvas, RectangleWithClearBrushKeepsInsideAndClearPenShrinksFill) {
    TBitmap bmp;
    bmp.SetSize(60, 30);
    TCanvas* c = bmp.Canvas();
    c->Brush.SetColor(clBlue);
    c->FillRect(Rect(0, 0, 60, 30));
    c->Brush.SetStyle(bsClear);
    c->Rectangle(5, 5, 15, 15);
    c->Brush.SetColor(clRed);  // a colour makes the brush solid again
    EXPECT_EQ(c->Brush.Style(), bsSolid);
    c->Pen.SetStyle(psClear);
    c->Rectangle(30, 5, 40, 15);
    ExpectProbes(*c, {{5, 5, clBlack},
                      {14, 14, clBlack},
                      {10, 10, clBlue},
                      {30, 5, clRed},
                      {38, 13, clRed},
                      {39, 10, clBlue},
                      {35, 14, clBlue}});
}

TEST(Canvas, FillRectPaintsBrushWithoutOutline) {
    TBitmap bmp;
    bmp.SetSize(30, 30);
    TCanvas* c = bmp.Canvas();
    c->Brush.SetColor(clYellow);
    c->FillRect(Rect(10, 10, 20, 20));
    c->FillRect(Rect(25, 25, 20, 20));  // empty: nothing
    ExpectProbes(*c, {{10, 10, clYellow},
                      {19, 19, clYellow},
                      {20, 15, clWhite},
                      {15, 20, clWhite},
                      {22, 22, clWhite}});
}

// --- Lines -------------------------------------------------------------------------------------

struct LineCase {
    const char* name;
    TPoint from;
    TPoint to;
    std::vector<TPoint> painted;
    std::vector<TPoint> unpainted;
};

class CanvasLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(CanvasLine, StartIsPaintedEndIsNot) {
    const LineCase& t = GetParam();
    TBitmap bmp;
    bmp.SetSize(40, 40);
    TCanvas* c = bmp.Canvas();
    c->MoveTo(t.from.X, t.from.Y);
    c->LineTo(t.to.X, t.to.Y);
    EXPECT_EQ(c->PenPos(), t.to);
    for (TPoint p : t.painted) EXPECT_EQ(c->Pixels(p.X, p.Y), clBlack) << p.X << "," << p.Y;
    for (TPoint p : t.unpainted) EXPECT_EQ(c->Pixels(p.X, p.Y), clWhite) << p.X << "," << p.Y;
}

INSTANTIATE_TEST_SUITE_P(
    Canvas, CanvasLine,
    ::testing::Values(
        LineCase{"Right", {10, 10}, {20, 10}, {{10, 10}, {19, 10}}, {{20, 10}, {9, 10}}},
        LineCase{"Left", {20, 15}, {10, 15}, {{20, 15}, {11, 15}}, {{10, 15}, {21, 15}}},
        LineCase{"Down", {5, 5}, {5, 30}, {{5, 5}, {5, 29}}, {{5, 30}, {5, 4}}},
        LineCase{"Up", {7, 30}, {7, 5}, {{7, 30}, {7, 6}}, {{7, 5}}},
        LineCase{"Diagonal", {0, 0}, {10, 10}, {{0, 0}, {5, 5}, {9, 9}}, {{10, 10}}},
        // The blade of the breaker symbol at step 160: (x - 8, y + 16) to (x, y + 32).
        LineCase{"Steep", {22, 6}, {30, 22}, {{22, 6}, {26, 14}}, {{30, 22}}},
        LineCase{"ZeroLength", {12, 12}, {12, 12}, {}, {{12, 12}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Canvas, PolylineLeavesLastPointAndPenPosition) {
    TBitmap bmp;
    bmp.SetSize(40, 40);
    TCanvas* c = bmp.Canvas();
    c->MoveTo(1, 1);
    c->Polyline({{10, 10}, {20, 10}, {20, 20}});
    EXPECT_EQ(c->PenPos(), Point(1, 1));
    ExpectProbes(*c, {{10, 10, clBlack},
                      {20, 10, clBlack},
                      {20, 19, clBlack},
                      {20, 20, clWhite},
                      {1, 1, clWhite}});
}

// Coordinates far off the bitmap are clipped, not walked pixel by pixel or overflowed.
TEST(Canvas, FarCoordinatesAreClipped) {
    TBitmap bmp;
    bmp.SetSize(20, 20);
    TCanvas* c = bmp.Canvas();
    c->Brush.SetColor(clRed);
    c->Rectangle(-2000000000, -2000000000, 2000000000, 2000000000);
    EXPECT_EQ(c->Pixels(10, 10), clRed);
    c->MoveTo(-2000000000, 5);
    c->LineTo(2000000000, 5);
    c->MoveTo(-1000000001, -1000000001);
    c->LineTo(1000000000, 1000000000);
    ExpectProbes(*c, {{0, 5, clBlack}, {19, 5, clBlack}, {7, 7, clBlack}, {8, 7, clRed}});
}

// A dash is 18 pixels on and 6 off, a dot 3 and 3; the gaps take the brush unless it is clear.
struct DashCase {
    const char* name;
    TPenStyle style;
    TBrush brush;
    std::vector<Probe> probes;
};

TBrush ClearBrush() {
    TBrush b;
    b.SetStyle(bsClear);
    return b;
}

TBrush SolidBrush(TColor color) {
    TBrush b;
    b.SetColor(color);
    return b;
}

class CanvasDash : public ::testing::TestWithParam<DashCase> {};

TEST_P(CanvasDash, PatternAndGaps) {
    TBitmap bmp;
    bmp.SetSize(60, 10);
    TCanvas* c = bmp.Canvas();
    c->Pen.SetStyle(GetParam().style);
    c->Brush = GetParam().brush;
    c->MoveTo(0, 5);
    c->LineTo(60, 5);
    ExpectProbes(*c, GetParam().probes);
}

INSTANTIATE_TEST_SUITE_P(
    Canvas, CanvasDash,
    ::testing::Values(
        DashCase{"DashClear",
                 psDash,
                 ClearBrush(),
                 {{0, 5, clBlack},
                  {17, 5, clBlack},
                  {18, 5, clWhite},
                  {23, 5, clWhite},
                  {24, 5, clBlack}}},
        DashCase{"DashOpaque", psDash, SolidBrush(clRed), {{18, 5, clRed}, {24, 5, clBlack}}},
        DashCase{"Dot",
                 psDot,
                 ClearBrush(),
                 {{2, 5, clBlack}, {3, 5, clWhite}, {5, 5, clWhite}, {6, 5, clBlack}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Canvas, WidePenCoversItsWidth) {
    TBitmap bmp;
    bmp.SetSize(100, 100);
    TCanvas* c = bmp.Canvas();
    c->Pen.SetWidth(5);
    c->MoveTo(10, 50);
    c->LineTo(90, 50);
    ExpectProbes(*c, {{50, 48, clBlack}, {50, 52, clBlack}, {50, 44, clWhite}, {50, 56, clWhite}});
}

// --- Ellipses ----------------------------------------------------------------------------------

TEST(Canvas, EllipseFitsInsideTheExcludedEdges) {
    TBitmap bmp;
    bmp.SetSize(40, 40);
    TCanvas* c = bmp.Canvas();
    c->Brush.SetColor(clRed);
    c->Ellipse(10, 10, 21, 21);
    ExpectProbes(*c, {{10, 15, clBlack},
                      {20, 15, clBlack},
                      {15, 10, clBlack},
                      {15, 20, clBlack},
                      {21, 15, clWhite},
                      {15, 21, clWhite},
                      {9, 15, clWhite},
                      {15, 9, clWhite},
                      {10, 10, clWhite},
                      {15, 15, clRed}});
}

// The filled dot of the diagrams: corners (x + 2, y + 2) and (x - 2, y - 2) cover x - 2 .. x + 1.
TEST(Canvas, DotWithReversedCorners) {
    TBitmap bmp;
    bmp.SetSize(100, 100);
    TCanvas* c = bmp.Canvas();
    c->Brush.SetColor(clBlack);
    c->Ellipse(52, 52, 48, 48);
    ExpectProbes(*c, {{48, 49, clBlack},
                      {51, 50, clBlack},
                      {49, 48, clBlack},
                      {50, 51, clBlack},
                      {52, 50, clWhite},
                      {47, 50, clWhite},
                      {50, 52, clWhite},
                      {50, 47, clWhite}});
}

// --- Text --------------------------------------------------------------------------------------

TEST(Canvas, TextInkLiesBelowAndRightOfItsPoint) {
    TBitmap bmp;
    bmp.SetSize(200, 100);
    TCanvas* c = bmp.Canvas();
    c->Brush.SetStyle(bsClear);
    const std::string text = "Щит№ 12 Pном- 3,5 кВт";
    c->TextOut(50, 40, text);
    const int w = c->TextWidth(text);
    const int h = c->TextHeight(text);
    const TRect ink = BoundsOf(*c, 200, 100, clBlack);
    EXPECT_GT(ink.Width(), w / 2);
    EXPECT_GE(ink.Left, 50);
    EXPECT_GE(ink.Top, 40);
    EXPECT_LE(ink.Right, 50 + w);
    EXPECT_LE(ink.Bottom, 40 + h);
    EXPECT_EQ(c->PenPos(), Point(50 + w, 40));
}

// Turned 90 degrees counter-clockwise about the point, the text runs upwards from it and its
// cell lies to the right of it: x .. x + height, y - width .. y.
TEST(Canvas, TextTurnedUpwardsRunsAboveThePointToTheRight) {
    TBitmap bmp;
    bmp.SetSize(200, 300);
    TCanvas* c = bmp.Canvas();
    c->Brush.SetStyle(bsClear);
    TLogFont lf;
    lf.Height = -11;
    lf.Escapement = 900;
    lf.Orientation = 900;
    lf.FaceName = "Tahoma";
    c->Font.SetHandle(lf);
    const std::string text = "Маркировка - расчетная нагрузка,";
    const int w = c->TextWidth(text);
    const int h = c->TextHeight(text);
    ASSERT_GT(w, 3 * h);
    c->TextOut(100, 250, text);
    const TRect ink = BoundsOf(*c, 200, 300, clBlack);
    EXPECT_GE(ink.Left, 100);
    EXPECT_LE(ink.Right, 100 + h);
    EXPECT_LE(ink.Bottom, 250);
    EXPECT_GE(ink.Top, 250 - w);
    EXPECT_GT(ink.Height(), w / 2);
}

struct BackgroundCase {
    const char* name;
    int orientation;
    TPoint at;
    bool solid;
};

class CanvasTextBackground : public ::testing::TestWithParam<BackgroundCase> {};

// With a solid brush every pixel of the cell is either ink or brush; a clear brush leaves the
// blue underneath wherever there is no ink.
TEST_P(CanvasTextBackground, SolidBrushPaintsTheCellClearBrushKeepsIt) {
    const BackgroundCase& t = GetParam();
    TBitmap bmp;
    bmp.SetSize(200, 200);
    TCanvas* c = bmp.Canvas();
    c->Brush.SetColor(clBlue);
    c->FillRect(Rect(0, 0, 200, 200));
    if (t.solid)
        c->Brush.SetColor(clYellow);
    else
        c->Brush.SetStyle(bsClear);
    c->Font.SetOrientation(t.orientation);
    const std::string text = "Тест гр 1";
    const int w = c->TextWidth(text);
    const int h = c->TextHeight(text);
    c->TextOut(t.at.X, t.at.Y, text);
    const TRect cell = t.orientation == 0 ? Rect(t.at.X, t.at.Y, t.at.X + w, t.at.Y + h)
                                          : Rect(t.at.X, t.at.Y - w, t.at.X + h, t.at.Y);
    const int area = cell.Width() * cell.Height();
    const int ink = CountPixels(*c, cell, clBlack);
    EXPECT_GT(ink, 0);
    if (t.solid) {
        EXPECT_EQ(CountPixels(*c, cell, clYellow) + ink, area);
    } else {
        EXPECT_EQ(CountPixels(*c, cell, clYellow), 0);
        EXPECT_EQ(CountPixels(*c, cell, clBlue) + ink, area);
    }
    // Around the cell nothing changes.
    const TRect around = Rect(cell.Left - 3, cell.Top - 3, cell.Right + 3, cell.Bottom + 3);
    const int aroundArea = around.Width() * around.Height();
    EXPECT_EQ(CountPixels(*c, around, clBlue), aroundArea - area + CountPixels(*c, cell, clBlue));
}

INSTANTIATE_TEST_SUITE_P(Canvas, CanvasTextBackground,
                         ::testing::Values(BackgroundCase{"SolidLevel", 0, {20, 30}, true},
                                           BackgroundCase{"ClearLevel", 0, {20, 30}, false},
                                           BackgroundCase{"SolidUpwards", 900, {100, 150}, true},
                                           BackgroundCase{"ClearUpwards", 900, {100, 150}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Fonts -------------------------------------------------------------------------------------

// Texts are measured by their characters' advances; every pair of Latin and Cyrillic letters,
// digits and signs measures as the font's metrics measure the pair shaped whole, in the faces,
// sizes and styles the drawings use (no kerning, no ligatures).
TEST(Canvas, TextWidthIsTheWidthOfTheTextShapedWhole) {
    QString characters;
    for (char16_t c = 0x20; c < 0x7F; ++c) characters += QChar(c);
    for (char16_t c = 0x401; c <= 0x451; ++c) characters += QChar(c);
    characters += QChar(0x2116);
    characters += QChar(0xB0);
    const struct {
        const char* face;
        int height;
        TFontStyles style;
    } fonts[] = {{"MS Sans Serif", -11, 0}, {"Arial001", -7, 0},         {"MS Sans Serif", -19, 0},
                 {"Arial", -13, fsBold},    {"Times New Roman", -11, 0}, {"Courier New", 16, 0}};
    for (const auto& f : fonts) {
        SCOPED_TRACE(f.face);
        TBitmap bmp;
        TCanvas& c = *bmp.Canvas();
        c.Font.SetName(f.face);
        c.Font.SetHeight(f.height);
        c.Font.SetStyle(f.style);
        const QFontMetrics metrics(ToQFont(c.Font));
        int differing = 0;
        for (QChar a : characters) {
            for (QChar b : characters) {
                const QString pair = QString(a) + b;
                if (c.TextWidth(pair.toStdString()) != metrics.horizontalAdvance(pair)) ++differing;
            }
        }
        EXPECT_EQ(differing, 0);
        // Beyond those characters the text is measured whole.
        for (const char* text : {"Гр- 1-2-3  ВВГ   4 x 2.5 кв.мм", "IA- 12.5 A", "e\u0301t\u00e9",
                                 "\u4e2d\u6587", "\U0001F600 x"}) {
            const std::string utf8 = QString::fromUtf8(text).toStdString();
            EXPECT_EQ(c.TextWidth(utf8), metrics.horizontalAdvance(QString::fromUtf8(text)))
                << text;
        }
    }
}

// The measures of the last font are kept: fonts taking turns, each differing from the one before
// in one thing only, are each measured as their own metrics measure them.
TEST(Canvas, FontsTakingTurnsAreEachMeasuredAsThemselves) {
    const struct {
        const char* face;
        int height;
        TFontStyles style;
    } fonts[] = {{"Arial", -13, 0},       {"Arial", -13, fsBold}, {"Arial", -19, fsBold},
                 {"Arial", -19, 0},       {"Arial", 19, 0},       {"Courier New", 19, 0},
                 {"Courier New", -13, 0}, {"Arial", -13, 0}};
    const std::string text = "Pном- 12,5 кВт";
    TBitmap bmp;
    TCanvas& c = *bmp.Canvas();
    for (int round = 0; round < 2; ++round) {
        for (const auto& f : fonts) {
            SCOPED_TRACE(std::string(f.face) + " " + std::to_string(f.height) + " " +
                         std::to_string(f.style));
            c.Font.SetName(f.face);
            c.Font.SetHeight(f.height);
            c.Font.SetStyle(f.style);
            const QFontMetrics metrics(ToQFont(c.Font));
            EXPECT_EQ(c.TextWidth(text), metrics.horizontalAdvance(QString::fromStdString(text)));
            EXPECT_EQ(c.TextHeight(text), metrics.height());
        }
    }
}

TEST(Canvas, FontSizeAndHeightAt96PixelsPerInch) {
    struct Case {
        int points;
        int height;
    };
    // height = -round(points * 96 / 72)
    for (Case t : {Case{5, -7}, Case{8, -11}, Case{10, -13}, Case{14, -19}}) {
        TFont f;
        f.SetSize(t.points);
        EXPECT_EQ(f.Height(), t.height) << t.points;
        f.SetHeight(t.height);
        EXPECT_EQ(f.Size(), t.points) << t.points;
    }
}

TEST(Canvas, FontFromLogicalRecordKeepsColour) {
    TFont f;
    f.SetColor(clRed);
    TLogFont lf;
    lf.Height = -11;
    lf.Escapement = 900;
    lf.Orientation = 900;
    lf.Weight = 700;
    lf.CharSet = 204;
    lf.FaceName = "Tahoma";
    f.SetHandle(lf);
    EXPECT_EQ(f.Charset(), 204);
    EXPECT_EQ(f.Name(), "Tahoma");
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Orientation(), 900);
    EXPECT_EQ(f.Style(), TFontStyles(fsBold));
    EXPECT_EQ(f.Color(), clRed);
}

TEST(Canvas, FacesMapToInstalledSubstitutes) {
    struct Case {
        const char* face;
        const char* family;
    };
    for (Case t :
         {Case{"Arial", "Liberation Sans"}, Case{"Arial001", "Liberation Sans"},
          Case{"Tahoma", "Liberation Sans"}, Case{"MS Sans Serif", "Liberation Sans"},
          Case{"Times New Roman", "Liberation Serif"}, Case{"Courier New", "Liberation Mono"},
          Case{"No Such Face", "Liberation Sans"}}) {
        TFont f;
        f.SetName(t.face);
        EXPECT_EQ(QFontInfo(ToQFont(f)).family().toStdString(), t.family) << t.face;
    }
}

// Negative heights give the character height, positive ones the whole cell.
TEST(Canvas, NegativeHeightIsCharacterPositiveIsCell) {
    TBitmap bmp;
    bmp.SetSize(10, 10);
    TCanvas* c = bmp.Canvas();
    c->Font.SetName("Arial");
    c->Font.SetHeight(-16);
    const int characterCell = c->TextHeight("Ag");
    c->Font.SetHeight(16);
    const int cell = c->TextHeight("Ag");
    EXPECT_GT(characterCell, 16);
    EXPECT_LE(cell, 16);
    EXPECT_GE(cell, 14);
}

// Layout code must get the same numbers whichever back end it draws on.
TEST(Canvas, RecorderMeasuresTextAsBitmap) {
    struct Case {
        const char* face;
        int height;
        int orientation;
    };
    TBitmap bmp;
    bmp.SetSize(10, 10);
    auto recorder = TCanvas::CreateRecorder();
    for (Case t :
         {Case{"MS Sans Serif", -11, 0}, Case{"Arial001", -7, 0}, Case{"Times New Roman", -19, 0},
          Case{"Tahoma", -11, 900}, Case{"Arial", 16, 0}}) {
        for (TCanvas* c : {bmp.Canvas(), recorder.get()}) {
            c->Font.SetName(t.face);
            c->Font.SetHeight(t.height);
            c->Font.SetOrientation(t.orientation);
        }
        const std::string text = "Iрас- 12,5 A";
        EXPECT_EQ(bmp.Canvas()->TextWidth(text), recorder->TextWidth(text)) << t.face;
        EXPECT_EQ(bmp.Canvas()->TextHeight(text), recorder->TextHeight(text)) << t.face;
        EXPECT_GT(recorder->TextWidth(text), 0);
    }
    EXPECT_EQ(recorder->TextWidth(""), 0);
}

// --- Recorder ----------------------------------------------------------------------------------

TEST(Canvas, RecorderListsOperationsWithExactCoordinatesAndState) {
    auto c = TCanvas::CreateRecorder();
    TBitmap source;
    source.SetSize(10, 10);

    c->MoveTo(10, 20);
    c->Pen.SetStyle(psDash);
    c->LineTo(30, 40);
    c->Pen.SetStyle(psSolid);
    c->Rectangle(150, 397, 490, 403);
    c->Brush.SetColor(clBlack);
    c->Ellipse(162, 402, 158, 398);
    c->Brush.SetColor(clWhite);
    c->Polyline({{153, 373}, {152, 374}, {156, 381}, {158, 380}});
    c->Font.SetHeight(-7);
    c->Font.SetOrientation(900);
    c->TextOut(40, 400, "Щит№ 3");
    c->FillRect(Rect(1, 2, 3, 4));
    c->CopyRect(Rect(10, 12, 790, 1023), *source.Canvas(), Rect(0, 0, 800, 1029));

    const std::vector<CanvasOp>& ops = c->Recorder()->Ops();
    ASSERT_EQ(ops.size(), 7u);
    EXPECT_EQ(ops[0].Kind, CanvasOpKind::LineTo);
    EXPECT_EQ(ops[0].Points, (std::vector<TPoint>{{10, 20}, {30, 40}}));
    EXPECT_EQ(ops[0].Pen.Style(), psDash);
    EXPECT_EQ(ops[1].Kind, CanvasOpKind::Rectangle);
    EXPECT_EQ(ops[1].Rect, Rect(150, 397, 490, 403));
    EXPECT_EQ(ops[1].Pen.Style(), psSolid);
    EXPECT_EQ(ops[1].Brush.Color(), clWhite);
    EXPECT_EQ(ops[2].Kind, CanvasOpKind::Ellipse);
    EXPECT_EQ(ops[2].Rect, Rect(162, 402, 158, 398));  // as given, not reordered
    EXPECT_EQ(ops[2].Brush.Color(), clBlack);
    EXPECT_EQ(ops[3].Kind, CanvasOpKind::Polyline);
    EXPECT_EQ(ops[3].Points, (std::vector<TPoint>{{153, 373}, {152, 374}, {156, 381}, {158, 380}}));
    EXPECT_EQ(ops[4].Kind, CanvasOpKind::TextOut);
    EXPECT_EQ(ops[4].Points, (std::vector<TPoint>{{40, 400}}));
    EXPECT_EQ(ops[4].Text, "Щит№ 3");
    EXPECT_EQ(ops[4].Font.Height(), -7);
    EXPECT_EQ(ops[4].Font.Orientation(), 900);
    EXPECT_EQ(ops[5].Kind, CanvasOpKind::FillRect);
    EXPECT_EQ(ops[5].Rect, Rect(1, 2, 3, 4));
    EXPECT_EQ(ops[6].Kind, CanvasOpKind::CopyRect);
    EXPECT_EQ(ops[6].Rect, Rect(10, 12, 790, 1023));
    EXPECT_EQ(ops[6].SourceRect, Rect(0, 0, 800, 1029));
    EXPECT_EQ(c->Pixels(40, 400), clNone);
}

// Drawings make their own images; a scope makes every canvas keep its operations while it
// still paints.
TEST(Canvas, RecordingScopeRecordsBitmapCanvasesBesidePainting) {
    TBitmap before;
    before.SetSize(20, 20);
    before.Canvas()->LineTo(5, 5);
    EXPECT_EQ(before.Canvas()->Recorder(), nullptr);
    {
        CanvasRecordingScope scope;
        TBitmap bmp;
        bmp.SetSize(20, 20);
        bmp.Canvas()->MoveTo(2, 3);
        bmp.Canvas()->LineTo(12, 3);
        ASSERT_NE(bmp.Canvas()->Recorder(), nullptr);
        const auto& ops = bmp.Canvas()->Recorder()->Ops();
        ASSERT_EQ(ops.size(), 1u);
        EXPECT_EQ(ops[0].Points, (std::vector<TPoint>{{2, 3}, {12, 3}}));
        EXPECT_EQ(bmp.Canvas()->Pixels(11, 3), clBlack);
    }
    TBitmap after;
    after.SetSize(20, 20);
    after.Canvas()->LineTo(5, 5);
    EXPECT_EQ(after.Canvas()->Recorder(), nullptr);
}

// --- CopyRect ----------------------------------------------------------------------------------

TEST(Canvas, CopyRectStretchesSquare) {
    TBitmap red;
    red.SetSize(10, 10);
    red.Canvas()->Brush.SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 10, 10));
    TBitmap dest;
    dest.SetSize(40, 40);
    dest.Canvas()->CopyRect(Rect(5, 5, 25, 25), *red.Canvas(), Rect(0, 0, 10, 10));
    EXPECT_EQ(CountPixels(*dest.Canvas(), Rect(5, 5, 25, 25), clRed), 400);
    EXPECT_EQ(CountPixels(*dest.Canvas(), Rect(0, 0, 40, 40), clRed), 400);
}

// Shrinking a page into the preview must not lose its one-pixel lines.
TEST(Canvas, CopyRectShrinkingKeepsThinLines) {
    TBitmap page;
    page.SetSize(100, 100);
    page.Canvas()->MoveTo(37, 0);
    page.Canvas()->LineTo(37, 100);
    page.Canvas()->MoveTo(0, 51);
    page.Canvas()->LineTo(100, 51);
    TBitmap dest;
    dest.SetSize(10, 10);
    dest.Canvas()->CopyRect(Rect(0, 0, 10, 10), *page.Canvas(), Rect(0, 0, 100, 100));
    // Source column 37 falls into destination column 3, row 51 into row 5.
    EXPECT_EQ(CountPixels(*dest.Canvas(), Rect(3, 0, 4, 10), clBlack), 10);
    EXPECT_EQ(CountPixels(*dest.Canvas(), Rect(0, 5, 10, 6), clBlack), 10);
    EXPECT_EQ(CountPixels(*dest.Canvas(), Rect(0, 0, 10, 10), clBlack), 19);
}

TEST(Canvas, CopyRectBeyondTheSourceLeavesDestinationAlone) {
    TBitmap red;
    red.SetSize(10, 10);
    red.Canvas()->Brush.SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 10, 10));
    TBitmap dest;
    dest.SetSize(30, 30);
    dest.Canvas()->Brush.SetColor(clBlue);
    dest.Canvas()->FillRect(Rect(0, 0, 30, 30));
    dest.Canvas()->CopyRect(Rect(0, 0, 20, 20), *red.Canvas(), Rect(0, 0, 20, 20));
    EXPECT_EQ(CountPixels(*dest.Canvas(), Rect(0, 0, 30, 30), clRed), 100);
    ExpectProbes(*dest.Canvas(), {{9, 9, clRed}, {10, 5, clBlue}, {15, 15, clBlue}});
}

// Source and destination overlap on one canvas: the source is read as it was before the copy.
TEST(Canvas, CopyRectWithinOneCanvas) {
    TBitmap bmp;
    bmp.SetSize(20, 10);
    TCanvas* c = bmp.Canvas();
    c->Brush.SetColor(clRed);
    c->FillRect(Rect(0, 0, 5, 10));
    c->Brush.SetColor(clBlue);
    c->FillRect(Rect(5, 0, 10, 10));
    c->CopyRect(Rect(5, 0, 15, 10), *c, Rect(0, 0, 10, 10));
    EXPECT_EQ(CountPixels(*c, Rect(0, 0, 10, 10), clRed), 100);
    EXPECT_EQ(CountPixels(*c, Rect(10, 0, 15, 10), clBlue), 50);
    EXPECT_EQ(CountPixels(*c, Rect(15, 0, 20, 10), clWhite), 50);
}

// The printer canvas draws through an active painter; pages are stretched onto it.
TEST(Canvas, PainterCanvasStretchesAndDrawsLines) {
    TBitmap sheet;
    sheet.SetSize(10, 10);
    sheet.Canvas()->Brush.SetColor(clRed);
    sheet.Canvas()->FillRect(Rect(0, 0, 10, 10));
    QImage page(60, 60, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        auto c = TCanvas::CreateOnPainter(painter);
        c->CopyRect(Rect(0, 0, 40, 30), *sheet.Canvas(), Rect(0, 0, 10, 10));
        c->MoveTo(50, 5);
        c->LineTo(50, 15);
    }
    EXPECT_EQ(page.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(page.pixel(39, 29), qRgb(255, 0, 0));
    EXPECT_EQ(page.pixel(40, 15), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(20, 30), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(50, 5), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(50, 14), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(50, 15), qRgb(255, 255, 255));
}

// --- MulDiv ------------------------------------------------------------------------------------

TEST(Canvas, MulDivRoundsHalfAwayFromZero) {
    struct Case {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {5, 96, 72, 7},                    // 6.67: the 5-point font at 96 pixels per inch
        {8, 96, 72, 11},                   // 10.67
        {10, 96, 72, 13},                  // 13.33
        {1, 1, 2, 1},                      // 0.5
        {-1, 1, 2, -1},                    // -0.5
        {3, 1, 4, 1},                      // 0.75
        {1, 1, 4, 0},                      // 0.25
        {-3, 1, 4, -1},                    // -0.75
        {5, 96, -72, -7},                  // negative divisor
        {-5, -96, 72, 7},                  // two negative factors
        {100000, 100000, 100000, 100000},  // the product needs 64 bits
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {1, 1, 0, -1},        // division by zero
        {INT_MAX, 2, 1, -1},  // overflow
    };
    for (const Case& t : cases)
        EXPECT_EQ(MulDiv(t.a, t.b, t.c), t.expected) << t.a << "*" << t.b << "/" << t.c;
}

// --- Bitmaps -----------------------------------------------------------------------------------

TEST(Bitmap, NewAndGrownAreasAreWhiteKeptAreaKeepsPixels) {
    TBitmap bmp;
    EXPECT_TRUE(bmp.Empty());
    bmp.SetSize(30, 20);
    EXPECT_EQ(bmp.Width(), 30);
    EXPECT_EQ(bmp.Height(), 20);
    TCanvas* c = bmp.Canvas();
    EXPECT_EQ(CountPixels(*c, Rect(0, 0, 30, 20), clWhite), 600);
    EXPECT_EQ(c->PixelsPerInchY(), 96);
    c->Brush.SetColor(clNavy);
    c->FillRect(Rect(0, 0, 30, 20));
    bmp.SetWidth(50);
    bmp.SetHeight(10);
    EXPECT_EQ(bmp.Image().width(), 50);
    EXPECT_EQ(bmp.Image().height(), 10);
    ExpectProbes(*c, {{29, 9, clNavy}, {30, 5, clWhite}, {49, 9, clWhite}, {0, 10, clNone}});
}

// Pages of long tables are much taller than 32767 pixels.
TEST(Bitmap, TallPage) {
    TBitmap bmp;
    bmp.SetSize(800, 40000);
    TCanvas* c = bmp.Canvas();
    c->MoveTo(0, 39990);
    c->LineTo(800, 39990);
    ExpectProbes(*c, {{400, 39990, clBlack}, {400, 39991, clWhite}});
}

TEST(Bitmap, AssignCopiesPictureNotSharesIt) {
    TBitmap picture;
    picture.SetSize(20, 10);
    picture.Canvas()->SetPixel(3, 4, clRed);
    TBitmap copy;
    copy.Assign(picture);
    EXPECT_EQ(copy.Width(), 20);
    EXPECT_EQ(copy.Height(), 10);
    EXPECT_EQ(copy.Canvas()->Pixels(3, 4), clRed);
    copy.Canvas()->SetPixel(3, 4, clGreen);
    picture.Canvas()->SetPixel(5, 5, clBlue);
    EXPECT_EQ(picture.Canvas()->Pixels(3, 4), clRed);
    EXPECT_EQ(copy.Canvas()->Pixels(5, 5), clWhite);
}

TEST(Bitmap, APictureFarLargerThanMemoryIsDrawnAndReadWhereDrawn) {
    TBitmap bmp;
    bmp.SetSize(100000, 100000);  // 40 GB as pixels
    TCanvas& c = *bmp.Canvas();
    c.SetPixel(99990, 99990, clRed);
    c.MoveTo(50000, 20);
    c.LineTo(50010, 20);
    EXPECT_EQ(c.Pixels(99990, 99990), clRed);
    EXPECT_EQ(c.Pixels(99989, 99990), clWhite);
    EXPECT_EQ(c.Pixels(50009, 20), clBlack);
    EXPECT_EQ(c.Pixels(50010, 20), clWhite);
    // What it keeps is what was drawn, not its area; it is too large to be made whole.
    EXPECT_LT(bmp.RecordBytes(), 1 << 20);
    EXPECT_TRUE(bmp.Image().isNull());
    EXPECT_FALSE(bmp.SaveToFile(QDir::temp().filePath("never.png").toStdString()));
}

TEST(Bitmap, AnOperationPastTheRecordLimitThrowsAndIsNotKept) {
    TBitmap bmp;
    bmp.SetSize(40, 30);
    bmp.Canvas()->SetPixel(1, 1, clRed);
    bmp.SetByteLimit(bmp.RecordBytes() + 100);
    std::size_t kept = bmp.OperationCount();
    bool thrown = false;
    for (int i = 0; i < 100 && !thrown; ++i) {
        try {
            bmp.Canvas()->TextOut(2, 10, "Недостаточно памяти для обработки команды.");
            kept = bmp.OperationCount();
        } catch (const std::bad_alloc&) {
            thrown = true;
        }
    }
    ASSERT_TRUE(thrown);
    EXPECT_EQ(bmp.OperationCount(), kept);
    EXPECT_EQ(bmp.Canvas()->Pixels(1, 1), clRed);
}

TEST(Bitmap, AWholeImageIsMadeUpToTheLimitInItsPixelFormat) {
    struct Case {
        TPixelFormat format;
        int height;
        bool made;
    };
    const Case cases[] = {
        {pf32bit, 200000, false},  // 800 x 200000 x 4 = 640 MB > 512 MB
        {pfGray8, 200000, true},   // 160 MB
        {pfGray8, 700000, false},  // 560 MB
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        TBitmap bmp;
        bmp.SetPixelFormat(c.format);
        bmp.SetSize(800, c.height);
        bmp.Canvas()->SetPixel(799, c.height - 2, clBlack);
        EXPECT_EQ(bmp.Image().isNull(), !c.made);
        // Its parts are painted whatever its size.
        EXPECT_EQ(bmp.Canvas()->Pixels(799, c.height - 1), clWhite);
        EXPECT_EQ(bmp.Canvas()->Pixels(799, c.height - 2), clBlack);
    }
}

namespace {

// What the tables and journals draw: black lines and text, white and grey fills, a shrunk copy.
void DrawGreyDocument(TCanvas& c, const TCanvas& source) {
    c.Brush.SetColor(clGrayText);
    c.FillRect(Rect(0, 0, 120, 6));
    c.Brush.SetColor(clWhite);
    c.Rectangle(Rect(5, 10, 115, 40));
    c.MoveTo(0, 45);
    c.LineTo(120, 47);
    c.Pen.SetStyle(psDash);
    c.MoveTo(0, 50);
    c.LineTo(120, 50);
    c.Pen.SetStyle(psSolid);
    c.Ellipse(Rect(60, 52, 100, 70));
    c.Font.SetSize(8);
    c.TextOut(8, 14, "Лист № 12");
    c.SetPixel(119, 79, clGray);
    c.CopyRect(Rect(0, 70, 30, 80), source, Rect(0, 0, 120, 40));
}

}  // namespace

// The same drawing kept a byte a pixel reads back pixel for pixel as in 32-bit colour, and so do
// its copies into a 32-bit bitmap (the printer and the zoom copy from it).
TEST(Bitmap, GreyPixelFormatKeepsBlackWhiteAndGreys) {
    TBitmap source;
    source.SetSize(120, 40);
    source.Canvas()->MoveTo(0, 20);
    source.Canvas()->LineTo(120, 20);
    TBitmap colour;
    TBitmap grey;
    grey.SetPixelFormat(pfGray8);
    for (TBitmap* bmp : {&colour, &grey}) {
        bmp->SetSize(120, 80);
        DrawGreyDocument(*bmp->Canvas(), *source.Canvas());
    }
    EXPECT_EQ(colour.Image().format(), QImage::Format_RGB32);
    EXPECT_EQ(grey.Image().format(), QImage::Format_Grayscale8);
    // Not a blank picture: ink, the grey band and the copied line are there.
    EXPECT_GT(CountPixels(*colour.Canvas(), Rect(8, 14, 60, 30), clBlack), 10);
    EXPECT_EQ(colour.Canvas()->Pixels(60, 3), clGrayText);
    EXPECT_EQ(CountPixels(*colour.Canvas(), Rect(0, 75, 30, 76), clBlack), 30);
    int differing = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            if (colour.Canvas()->Pixels(x, y) != grey.Canvas()->Pixels(x, y)) ++differing;
    EXPECT_EQ(differing, 0);

    TBitmap fromColour;
    TBitmap fromGrey;
    for (TBitmap* bmp : {&fromColour, &fromGrey}) bmp->SetSize(50, 40);
    fromColour.Canvas()->CopyRect(Rect(0, 0, 50, 40), *colour.Canvas(), Rect(0, 0, 120, 80));
    fromGrey.Canvas()->CopyRect(Rect(0, 0, 50, 40), *grey.Canvas(), Rect(0, 0, 120, 80));
    EXPECT_EQ(fromGrey.Image(), fromColour.Image());
}

// The memory limit counts the bytes of the bitmap's own pixel format.

// A bitmap given another pixel format keeps its picture, as when it is resized.
TEST(Bitmap, ChangedPixelFormatKeepsThePicture) {
    TBitmap bmp;
    bmp.SetSize(20, 10);
    bmp.Canvas()->MoveTo(0, 4);
    bmp.Canvas()->LineTo(20, 4);
    bmp.Canvas()->SetPixel(3, 7, clGrayText);
    bmp.SetPixelFormat(pfGray8);
    bmp.SetHeight(12);
    EXPECT_EQ(bmp.Image().format(), QImage::Format_Grayscale8);
    EXPECT_EQ(CountPixels(*bmp.Canvas(), Rect(0, 4, 20, 5), clBlack), 20);
    ExpectProbes(*bmp.Canvas(), {{3, 7, clGrayText}, {3, 11, clWhite}, {3, 3, clWhite}});
}

TEST(Bitmap, SaveToFileByExtension) {
    QTemporaryDir dir;
    TBitmap bmp;
    bmp.SetSize(8, 6);
    bmp.Canvas()->SetPixel(2, 3, clRed);
    struct Case {
        const char* name;
        bool saved;
    };
    for (Case t : {Case{"page.png", true}, Case{"page.BMP", true}, Case{"page.xyz", false},
                   Case{"missing/page.png", false}}) {
        const std::string path = dir.filePath(t.name).toStdString();
        EXPECT_EQ(bmp.SaveToFile(path), t.saved) << t.name;
        if (!t.saved) continue;
        QImage read(QString::fromStdString(path));
        ASSERT_FALSE(read.isNull()) << t.name;
        EXPECT_EQ(read.size(), QSize(8, 6));
        EXPECT_EQ(read.pixel(2, 3), qRgb(255, 0, 0));
        EXPECT_EQ(read.pixel(3, 3), qRgb(255, 255, 255));
    }
    TBitmap empty;
    EXPECT_FALSE(empty.SaveToFile(dir.filePath("empty.png").toStdString()));
}
