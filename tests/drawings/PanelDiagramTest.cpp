// The one-line diagram of a panel as the recorder and a few pixels see it: every element the
// layout places, at the three scales, for a panel of three groups (one of each kind), the trunk
// tap and the plain feeder, the panel without groups, the sheets, and the refusal of a picture
// that does not fit in memory.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "DrawingFixture.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "platform/Image.h"
#include "platform/Messages.h"

using platform::CanvasOpKind;
using platform::TPoint;
using platform::TRect;

namespace {

// The fractions of the drawing step the diagram uses, each truncated on its own, worked by hand
// for the three scales.
struct Step {
    int s;
    int s2, s5, s6, s8, s9, s10, s20, s23, s25, s29, s30, s40, s50, s80, s100, s220;
    int s3_20, s5_20, s7_20, s9_20, s11_20, s13_20, s15_20, s17_20, s3_5;
};
// 160: 160/5 = 32, 160/6 = 26.7 -> 26, 160/9 = 17.8 -> 17, 160/23 = 6.96 -> 6, 160/25 = 6.4 -> 6,
// 160/29 = 5.5 -> 5, 160/30 = 5.3 -> 5, 160/220 -> 0; 3*160/20 = 24, ..., 3*160/5 = 96.
constexpr Step kStep160{160, 80, 32, 26, 20, 17, 16, 8,  6,  6,   5,   5,   4,
                        3,   2,  1,  0,  24, 40, 56, 72, 88, 104, 120, 136, 96};
// 120: 120/6 = 20, 120/8 = 15, 120/9 = 13.3 -> 13, 120/23 = 5.2 -> 5, 120/25 = 4.8 -> 4,
// 120/29 = 4.1 -> 4, 120/40 = 3, 120/50 = 2.4 -> 2, 120/80 = 1.5 -> 1, 120/100 -> 1.
constexpr Step kStep120{120, 60, 24, 20, 15, 13, 12, 6,  5,  4,  4,  4,   3,
                        2,   1,  1,  0,  18, 30, 42, 54, 66, 78, 90, 102, 72};
// 80: 80/6 = 13.3 -> 13, 80/9 = 8.9 -> 8, 80/23 = 3.5 -> 3, 80/25 = 3.2 -> 3, 80/29 = 2.8 -> 2,
// 80/30 = 2.7 -> 2, 80/50 = 1.6 -> 1, 80/80 = 1, 80/100 -> 0.
constexpr Step kStep80{80, 40, 16, 13, 10, 8,  8,  4,  3,  3,  2,  2,  2,
                       1,  1,  0,  0,  12, 20, 28, 36, 44, 52, 60, 68, 48};

void PrintTo(const Step& step, std::ostream* out) {
    *out << "step " << step.s;
}

// The main window is 800 px high: the bus at y0 = 400.
constexpr int kY0 = 400;

std::vector<TPoint> PolylinePoints(const platform::CanvasOp& op) {
    return op.Points;
}

}  // namespace

class PanelDiagram : public DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        MakePanel();
    }

    // Switchboard 1 with panel 1, radial, its currents, breaker and feeder set.
    void MakePanel() {
        NewProject();
        sw_ = AddSwitchboard(1);
        panel_ = AddPanel(sw_, 1);
        // The largest phase loss 2.5 %: 400 - 400 * 0.025 = 390 V.
        GiveFigures(panel_);
        panel_->CascadeCurrentA = 30.5;
        panel_->CascadeCurrentB = 21.4;
        panel_->CascadeCurrentC = 25.9;
        panel_->CascadeNeutralCurrent = 8.2;
        panel_->CascadeDesignCurrent = 28.7;
        panel_->PanelBreakerType = "ВА88";
        panel_->PanelBreakerRating = 40;
        panel_->FeederCableBrand = "АВВГ";
        panel_->FeederSection = 16;
        panel_->FeederSection2 = 25;
        panel_->FeederNeutralSection = 10;
    }

    // Three groups: a single-phase line on A with a copper cable (2 kW over 50 m of 2.5 mm2:
    // 2 * 50 / (12.8 * 2.5) = 3.125 % of loss), a two-phase line on A and B and a three-phase
    // line, both without a line loss.
    void AddThreeGroups() {
        AddSingle(panel_, {"1", 2, 50, 2.5, "Медь", "ВА47", 10, "ВВГ"}, 0, 9.09);
        AddTwo(panel_, {"2", 4, 20, 4, "", "ВА47", 16, "ПВ1"}, {2, 2, 0}, {9.09, 9.09, 0}, true);
        AddThree(panel_, {"3", 6, 30, 6, "", "ВА88", 20, "КГ"}, {1, 2, 3}, {4.55, 9.09, 13.64},
                 false);
        MakeCurrent(sw_, panel_);
    }

    void Draw(int step) {
        DrawingStep = step;
        Form1->DrawPanelScheme(panel_->SchemeGroupCount);
    }

    TGrsed* sw_ = nullptr;
    TSitid* panel_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Every element at the three scales

class PanelDiagramAtScale : public PanelDiagram, public ::testing::WithParamInterface<Step> {};

TEST_P(PanelDiagramAtScale, PlacesEveryElementOfAPanelOfThreeGroups) {
    const Step& f = GetParam();
    const int s = f.s;
    const int x0 = s;
    const int y0 = kY0;
    AddThreeGroups();
    Draw(s);
    const auto& ops = Ops();
    const std::vector<DrawnLine> lines = LinesOf(ops);
    const std::vector<PlacedText> texts = TextsOf(ops);

    // Header at x 40.
    for (const PlacedText& t :
         {PlacedText{40, y0, "Щит№ 1"}, PlacedText{40, y0 - f.s3_20, "U - 390 в."},
          PlacedText{40, y0 + f.s3_20, "Руст  12 кВт"},
          PlacedText{40, y0 + f.s5_20, "Ррас  10,3 кВт"}})
        EXPECT_TRUE(Has(texts, t)) << t;

    // The bus bar: from x0 - 10 to (3 - 1) * s + x0 + 10, 3 px each side of y0, white.
    const auto rectangles = OpsOf(ops, CanvasOpKind::Rectangle);
    ASSERT_EQ(rectangles.size(), 1u);
    EXPECT_EQ(rectangles[0].Rect, (TRect{x0 - 10, y0 - 3, 2 * s + x0 + 10, y0 + 3}));
    EXPECT_EQ(rectangles[0].Brush.Color(), platform::clWhite);

    // The input breaker and the plain feeder's arrowhead.
    for (const DrawnLine& l :
         {DrawnLine{x0, y0 - 3, x0, y0 - f.s10}, DrawnLine{x0, y0 - f.s10, x0 - f.s20, y0 - f.s5},
          DrawnLine{x0, y0 - f.s5, x0, y0 - s}, DrawnLine{x0, y0 - s, x0 - f.s40, y0 - s + f.s10},
          DrawnLine{x0, y0 - s, x0 + f.s40, y0 - s + f.s10}})
        EXPECT_TRUE(Has(lines, l)) << l;
    const auto polylines = OpsOf(ops, CanvasOpKind::Polyline);
    ASSERT_EQ(polylines.size(), 4u);  // the input's and one per group
    EXPECT_EQ(PolylinePoints(polylines[0]), (std::vector<TPoint>{{x0 - f.s23, y0 - f.s6 - f.s100},
                                                                 {x0 - f.s20, y0 - f.s6},
                                                                 {x0 - f.s40, y0 - f.s9 - f.s100},
                                                                 {x0 - f.s80, y0 - f.s8}}));

    // One line per group at x0 + g * s, each with its dot, breaker and arrowhead.
    const auto ellipses = OpsOf(ops, CanvasOpKind::Ellipse);
    ASSERT_EQ(ellipses.size(), 3u);
    const int conductors[3] = {2, 3, 4};
    for (int g = 0; g < 3; ++g) {
        SCOPED_TRACE("group " + std::to_string(g));
        const int x = x0 + g * s;
        EXPECT_EQ(ellipses[g].Rect, (TRect{x + 2, y0 + 2, x - 2, y0 - 2}));
        EXPECT_EQ(ellipses[g].Brush.Color(), platform::clBlack);
        for (const DrawnLine& l :
             {DrawnLine{x, y0, x, y0 + f.s10}, DrawnLine{x - f.s20, y0 + f.s10, x, y0 + f.s5},
              DrawnLine{x, y0 + f.s5, x, y0 + s}, DrawnLine{x, y0 + s, x - f.s40, y0 + s - f.s10},
              DrawnLine{x, y0 + s, x + f.s40, y0 + s - f.s10}})
            EXPECT_TRUE(Has(lines, l)) << l;
        EXPECT_EQ(PolylinePoints(polylines[g + 1]),
                  (std::vector<TPoint>{{x - f.s20 + f.s100, y0 + f.s10 + f.s40},
                                       {x - f.s20 - f.s220, y0 + f.s10 + f.s25},
                                       {x - f.s20 + f.s50, y0 + f.s5 - f.s50},
                                       {x - f.s20 + f.s29, y0 + f.s5 - f.s40}}));
        // The conductor strokes, the lowest from y0 + s/2, each next s/30 higher.
        for (int k = 0; k < 4; ++k) {
            const DrawnLine stroke{x - f.s30, y0 + f.s2 - k * f.s30, x + f.s30,
                                   y0 + f.s2 - f.s20 - k * f.s30};
            EXPECT_EQ(Has(lines, stroke), k < conductors[g]) << stroke;
        }
    }

    // Group texts at x + s/20. Currents: the single-phase line's own, the largest phase current
    // of the others. Least voltages: 400/sqrt 3 = 230.94 V less the loss up to the consumer,
    // to tenths, then to whole volts: line 1 on A, 3.125 %: 223.72 -> 223.7 -> 224; line 2 on A
    // and B, no loss: 230.9 -> 231; line 3 on all phases, C at 2.5 %: 225.17 -> 225.2 -> 225.
    const struct {
        const char* name;
        const char* power;
        const char* current;
        const char* cable;
        const char* umin;
        const char* breaker;
    } groups[3] = {
        {"Гр- 1", "Pном- 2 кВт", "Iном- 9,09 A", "ВВГ   2 x 2,5 кв.мм", "Umin - 224 в.",
         "ВА47 - 10 A"},
        {"Гр- 2", "Pном- 4 кВт", "Iном- 9,09 A", "ПВ1   3 x 4 кв.мм", "Umin - 231 в.",
         "ВА47 - 16 A"},
        {"Гр- 3", "Pном- 6 кВт", "Iном- 13,64 A", "КГ   4 x 6 кв.мм", "Umin - 225 в.",
         "ВА88 - 20 A"},
    };
    for (int g = 0; g < 3; ++g) {
        const int x = x0 + g * s + f.s20;
        for (const PlacedText& t : {PlacedText{x, y0 + s - f.s13_20, groups[g].name},
                                    PlacedText{x, y0 + s - f.s11_20, groups[g].power},
                                    PlacedText{x, y0 + s - f.s9_20, groups[g].current},
                                    PlacedText{x, y0 + s - f.s7_20, groups[g].cable},
                                    PlacedText{x, y0 + s - f.s5_20, groups[g].umin},
                                    PlacedText{x, y0 + f.s20, groups[g].breaker}})
            EXPECT_TRUE(Has(texts, t)) << t;
    }

    // The plain feeder's texts, drawn with every group.
    const int xp = x0 + f.s20;
    for (const PlacedText& t :
         {PlacedText{xp, y0 - f.s17_20, "Грщ№ 1"}, PlacedText{xp, y0 - f.s15_20, "IA- 18,2 A"},
          PlacedText{xp, y0 - f.s13_20, "IB- 9,1 A"}, PlacedText{xp, y0 - f.s11_20, "IC- 13,6 A"},
          PlacedText{xp, y0 - f.s9_20, "IN- 7,9 A"},
          PlacedText{xp, y0 - f.s7_20, "АВВГ   3x16+1x10 кв.мм"},
          PlacedText{xp, y0 - f.s3_20, "ВА88 - 40 A"}})
        EXPECT_TRUE(Has(texts, t)) << t;
    EXPECT_EQ(Count(texts, "Грщ№ "), 3);

    // Texts on an opaque white ground; at 50 % the 5-point "Arial001", else the image's font.
    for (const auto& op : OpsOf(ops, CanvasOpKind::TextOut)) {
        EXPECT_EQ(op.Brush.Style(), platform::bsSolid);
        EXPECT_EQ(op.Brush.Color(), platform::clWhite);
        if (s == 80) {
            EXPECT_EQ(op.Font.Name(), "Arial001");
            // 5 pt at 96 px per inch: 5 * 96 / 72 = 6.67 -> 7 px.
            EXPECT_EQ(op.Font.Height(), -7);
        } else {
            EXPECT_EQ(op.Font, platform::TFont());
        }
    }
    EXPECT_EQ(Form2->PictureKind(), PanelDiagramPicture);
}

INSTANTIATE_TEST_SUITE_P(Scales, PanelDiagramAtScale,
                         ::testing::Values(kStep160, kStep120, kStep80),
                         [](const auto& info) { return std::to_string(info.param.s); });

TEST_F(PanelDiagram, AtFullScaleInAWindow800PxHigh) {
    AddThreeGroups();
    Draw(160);
    const auto& ops = Ops();
    // y0 = 800 / 2; the bus from 160 - 10 to 2 * 160 + 160 + 10.
    EXPECT_EQ(OpsOf(ops, CanvasOpKind::Rectangle).at(0).Rect, (TRect{150, 397, 490, 403}));
    const std::vector<DrawnLine> lines = LinesOf(ops);
    for (int x : {160, 320, 480}) EXPECT_TRUE(Has(lines, {x, 432, x, 560})) << x;
    EXPECT_TRUE(Has(TextsOf(ops), {40, 400, "Щит№ 1"}));
    // 3 * 160 = 480 is not wider than the window (700): the image is the window's width, one
    // sheet of 900 px, used and numbered 1.
    EXPECT_EQ(Form2->Image1->width(), 900);
    EXPECT_EQ(Form2->Image1->height(), 800);
    ASSERT_EQ(Form1->SheetColumns, 1);
    EXPECT_EQ(Form1->SheetRows, 1);
    EXPECT_EQ(Form1->PrintSheets[0][0].Number, 1);
    EXPECT_EQ(Form1->PrintSheets[0][0].Rect, (TRect{0, 0, 900, 1200}));
    EXPECT_EQ(Form1->SheetPageCount, 1);
}

// ---------------------------------------------------------------------------------------------
// The supply link

TEST_F(PanelDiagram, TrunkTapShowsTheTrunkItsCurrentsAndCable) {
    struct Case {
        const char* what;
        std::uint8_t fedFromPanel;
        std::uint8_t head;
        double demandFactor;
        std::vector<PlacedText> texts;
    };
    // s = 160, x0 = 160, y0 = 400: own texts at x 168, trunk texts at 160 + 160 + 8 = 328 from
    // y0 - 2s = 80 on.
    const std::vector<PlacedText> common = {
        {168, 376, "ВА88 - 40 A"}, {328, 80, "Грщ№ 1"}, {328, 216, "АВВГ   3x25+1x10 кв.мм"}};
    const std::vector<Case> cases = {
        {"member, factor 1",
         1,
         0,
         1.0,
         {{168, 280, "IA- 18,2 A"},
          {168, 296, "IB- 9,1 A"},
          {168, 312, "IC- 13,6 A"},
          {168, 328, "IN- 7,9 A"},
          {328, 152, "IA- 30,5 A"},
          {328, 168, "IB- 21,4 A"},
          {328, 184, "IC- 25,9 A"},
          {328, 200, "IN- 8,2 A"}}},
        {"head, factor 0.99", 0, 1, 0.99, {{168, 328, "Iрас- 16,5 A"}, {328, 200, "Iрас- 28,7 A"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        panel_->FedFromPanel = c.fedFromPanel;
        panel_->FedFromSwitchboard = c.head;
        panel_->DemandFactor = c.demandFactor;
        AddSingle(panel_, NamedGroup("1", 2), 0, 9.09);
        MakeCurrent(sw_, panel_);
        Draw(160);
        const auto& ops = Ops();
        const std::vector<PlacedText> texts = TextsOf(ops);
        for (const PlacedText& t : common) EXPECT_TRUE(Has(texts, t)) << t;
        for (const PlacedText& t : c.texts) EXPECT_TRUE(Has(texts, t)) << t;
        // Four phase lines or the one design current, never both.
        EXPECT_EQ(Count(texts, "IA- "), c.demandFactor < 1.0 ? 0 : 2);
        EXPECT_EQ(Count(texts, "Iрас- "), c.demandFactor < 1.0 ? 2 : 0);
        // The tap: across to the trunk at x0 + s, its dot, the trunk with an arrowhead at each
        // end (s/40 = 4, s/10 = 16, 3s/5 = 96).
        const std::vector<DrawnLine> lines = LinesOf(ops);
        for (const DrawnLine& l : {DrawnLine{160, 240, 320, 240}, DrawnLine{320, 80, 320, 304},
                                   DrawnLine{320, 80, 316, 96}, DrawnLine{320, 80, 324, 96},
                                   DrawnLine{320, 304, 316, 288}, DrawnLine{320, 304, 324, 288}})
            EXPECT_TRUE(Has(lines, l)) << l;
        EXPECT_FALSE(Has(lines, {160, 240, 156, 256}));
        const auto dots = OpsOf(ops, CanvasOpKind::Ellipse);
        ASSERT_EQ(dots.size(), 2u);
        EXPECT_EQ(dots[0].Rect, (TRect{322, 242, 318, 238}));
        EXPECT_EQ(dots[0].Brush.Color(), platform::clBlack);
        MakePanel();
    }
}

TEST_F(PanelDiagram, LastPanelOfACascadeHasAPlainFeederOnTheTrunkCable) {
    panel_->FedFromPanel = 1;
    panel_->CascadeEnd = 1;
    AddSingle(panel_, NamedGroup("1", 2), 0, 9.09);
    MakeCurrent(sw_, panel_);
    Draw(160);
    const std::vector<PlacedText> texts = TextsOf(Ops());
    // At x0 + s/20 = 168: the switchboard at y0 - 17s/20 = 264, the cable at y0 - 7s/20 = 344,
    // with the trunk cable's 25 mm2 rather than the feeder's 16.
    EXPECT_TRUE(Has(texts, {168, 264, "Грщ№ 1"}));
    EXPECT_TRUE(Has(texts, {168, 344, "АВВГ   3x25+1x10 кв.мм"}));
    EXPECT_TRUE(Has(LinesOf(Ops()), {160, 240, 156, 256}));
    EXPECT_FALSE(Has(LinesOf(Ops()), {160, 240, 320, 240}));
}

// ---------------------------------------------------------------------------------------------
// A panel without groups, the sheets

TEST_F(PanelDiagram, PanelWithoutGroupsHasAShortBusAndNoSheet) {
    Draw(160);
    const auto& ops = Ops();
    // N1 = 1: the bus from x0 - 10 to x0 + 10.
    EXPECT_EQ(OpsOf(ops, CanvasOpKind::Rectangle).at(0).Rect, (TRect{150, 397, 170, 403}));
    const std::vector<PlacedText> texts = TextsOf(ops);
    EXPECT_TRUE(Has(texts, {40, 400, "Щит№ 1"}));
    EXPECT_TRUE(Has(texts, {40, 376, "U - 390 в."}));
    EXPECT_EQ(Count(texts, "Грщ№ "), 0);
    EXPECT_EQ(Count(texts, "ВА88"), 0);
    EXPECT_EQ(Count(texts, "АВВГ"), 0);
    EXPECT_TRUE(OpsOf(ops, CanvasOpKind::Ellipse).empty());
    // The input and the feeder's arrowhead are there.
    EXPECT_TRUE(Has(LinesOf(ops), {160, 368, 160, 240}));
    EXPECT_TRUE(Has(LinesOf(ops), {160, 240, 156, 256}));
    EXPECT_EQ(Form1->SheetColumns, 1);
    EXPECT_EQ(Form1->PrintSheets[0][0].Used, 0);
    EXPECT_EQ(Form1->SheetPageCount, 0);
    EXPECT_EQ(Form2->PictureKind(), PanelDiagramPicture);
}

TEST_F(PanelDiagram, GroupOnASheetEdgeMarksNoSheet) {
    // At s = 120 group g stands at 120 + 120 g: the 15th (g = 14) at 1800, the edge of sheets 1
    // and 2. 15 * 120 = 1800 is wider than the window: the image is 1800 + 120 = 1920 px, three
    // sheets, widened to 2700.
    for (int g = 0; g < 15; ++g)
        AddSingle(panel_, NamedGroup(std::to_string(g + 1), 1), g % 3, 4.55);
    MakeCurrent(sw_, panel_);
    Draw(120);
    EXPECT_EQ(Form2->Image1->width(), 2700);
    ASSERT_EQ(Form1->SheetColumns, 3);
    EXPECT_EQ(Form1->PrintSheets[0][0].Number, 1);
    EXPECT_EQ(Form1->PrintSheets[0][1].Number, 2);
    EXPECT_EQ(Form1->PrintSheets[0][2].Used, 0);
    EXPECT_EQ(Form1->PrintSheets[0][2].Number, 0);
    EXPECT_EQ(Form1->SheetPageCount, 2);
    EXPECT_EQ(Form1->SheetNumberCounter, 2);
}

// ---------------------------------------------------------------------------------------------
// The picture's life

TEST_F(PanelDiagram, FinishedPictureIsCopiedForPrintingEvenAfterNew) {
    AddThreeGroups();
    // After New the main window has no copy yet.
    Form1->PictureBitmap.reset();
    // The services move the panel's group cursor; the drawing puts the panel back.
    TSitid* other = AddPanel(sw_, 2);
    MakeCurrent(sw_, panel_);
    Draw(160);
    ASSERT_NE(Form1->PictureBitmap, nullptr);
    EXPECT_EQ(Form1->PictureBitmap->Width(), 900);
    EXPECT_EQ(Form1->PictureBitmap->Height(), 800);
    EXPECT_EQ(Form1->PictureBitmap->Image(), Form2->Image1->Picture().Image());
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), sw_);
    EXPECT_EQ(sw_->Panels.Cursor, panel_);
    EXPECT_NE(sw_->Panels.Cursor, other);
}

TEST_F(PanelDiagram, WithoutACurrentPanelNothingChanges) {
    AddThreeGroups();
    Draw(160);
    const QPointer<platform::TImage> shown = Form2->Image1;
    Form1->SheetPageCount = 5;
    sw_->Panels.Cursor = nullptr;
    Form1->DrawPanelScheme(3);
    EXPECT_FALSE(shown.isNull());
    EXPECT_EQ(Form2->Image1, shown.data());
    EXPECT_EQ(Form2->PictureKind(), PanelDiagramPicture);
    EXPECT_EQ(Form1->SheetPageCount, 5);
}

TEST_F(PanelDiagram, PictureLargerThanTheMemoryBudgetIsRefused) {
    AddThreeGroups();
    // With no bytes for its record the picture cannot keep its first operation.
    struct Case {
        std::int64_t budget;
        bool drawn;
    };
    for (const Case& c : {Case{0, false}, Case{kDefaultDrawingMemoryBudget, true}}) {
        SCOPED_TRACE(c.budget);
        Form1->ComboBox1->setCurrentIndex(1);
        DrawingStep = 160;
        Form1->PictureBitmap.reset();
        DrawingMemoryBudget = c.budget;
        if (!c.drawn)
            responder_.ExpectMessage("Недостаточно памяти для обработки команды.", "Предупреждение",
                                     platform::mrOk);
        Form1->DrawPanelScheme(3);
        responder_.VerifyDone();
        ASSERT_NE(Form2->Image1, nullptr);
        EXPECT_EQ(Form2->PictureKind(), c.drawn ? PanelDiagramPicture : NoPicture);
        EXPECT_EQ(Form1->PictureBitmap != nullptr, c.drawn);
        EXPECT_EQ(Form1->SheetPageCount, c.drawn ? 1 : 0);
        // No change of scale.
        EXPECT_EQ(DrawingStep, 160);
        EXPECT_EQ(Form1->ComboBox1->currentIndex(), 1);
    }
    const auto messages = responder_.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, platform::MsgIcon::Warning);
}

TEST_F(PanelDiagram, RasterShowsTheBusTheDotsAndTheGroupLines) {
    AddThreeGroups();
    Draw(160);
    const platform::TCanvas& canvas = *Form2->Image1->Canvas();
    ExpectPixels(
        canvas,
        {
            {150, 397, platform::clBlack},  // the bus's top left corner
            {489, 402, platform::clBlack},  // its bottom right, the edges at 490 and 403 excluded
            {490, 400, platform::clWhite},
            {200, 400, platform::clWhite},  // filled white inside
            {320, 400, platform::clBlack},  // the dot where group 2 meets the bus
            {320, 500, platform::clBlack},  // group 2 on its way down
            {321, 500, platform::clWhite},
            {160, 300, platform::clBlack},  // the input going up
        });
}

TEST_F(PanelDiagram, PictureScrollsInTheSchemeWindowAndRightClickOpensItsMenu) {
    Form1->show();
    Form2->ShowOverMainWindow();
    for (int g = 0; g < 15; ++g) AddSingle(panel_, NamedGroup(std::to_string(g + 1), 1), 0, 4.55);
    MakeCurrent(sw_, panel_);
    Draw(160);
    platform::TImage* picture = Form2->Image1;
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(Form2->isAncestorOf(picture));
    EXPECT_TRUE(picture->isVisible());
    // 15 * 160 + 160 = 2560 px, three sheets: 2700 px, wider than the window.
    auto* area = Form2->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->widget(), picture);
    EXPECT_EQ(area->horizontalScrollBar()->maximum(), 2700 - area->viewport()->width());
    const QPoint at(30, 40);
    QTest::mousePress(picture, Qt::RightButton, Qt::NoModifier, at);
    EXPECT_TRUE(Form2->PopupMenu1->isVisible());
    EXPECT_EQ(Form2->PopupMenu1->pos(), picture->mapToGlobal(at));
    Form2->PopupMenu1->hide();
}
