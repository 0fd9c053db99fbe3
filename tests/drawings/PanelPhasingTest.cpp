// The phase-balancing picture of a panel as the recorder and a few pixels see it: the header,
// the buses, the columns of every group kind with their drops, breakers, load boxes and labels,
// the sheets, and what happens for a panel number that no panel carries.
#include <gtest/gtest.h>

#include <QPointer>
#include <algorithm>
#include <string>
#include <vector>

#include "DrawingFixture.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "platform/Image.h"

using platform::CanvasOpKind;
using platform::TRect;

class PanelPhasing : public DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        sw_ = AddSwitchboard(1);
        panel_ = AddPanel(sw_, 1);
        GiveFigures(panel_);
        // The picture hangs from a quarter of the main window's client height.
        top_ = Form1->ClientHeight() / 4;
    }

    // In scheme order: a single-phase line on A, a two-phase line on A and B, an unbalanced
    // three-phase line of 1, 2 and 3 kW at cos phi 1 (220 V: 4.55, 9.09 and 13.64 A), and a
    // single-phase line on C.
    void AddFourGroups() {
        AddSingle(panel_, {"1", 2, 50, 2.5, "", "ВА47", 10, "ВВГ"}, 0, 9.09);
        AddTwo(panel_, {"2", 4, 20, 4, "", "ВА47", 16, "ПВ1"}, {2, 2, 0}, {9.09, 9.09, 0}, true);
        AddThree(panel_, {"3", 6, 30, 6, "", "ВА88", 20, "КГ"}, {1, 2, 3}, {4.55, 9.09, 13.64},
                 false);
        AddSingle(panel_, {"4", 1, 20, 1.5, "", "ВА47", 6, "ВВГ"}, 2, 4.55);
    }

    void Draw(int step, int panelNumber = 1) {
        DrawingStep = step;
        Form1->DrawPanelPhasing(panelNumber);
    }

    TGrsed* sw_ = nullptr;
    TSitid* panel_ = nullptr;
    int top_ = 0;
};

TEST_F(PanelPhasing, PlacesEveryElementAtFullScale) {
    AddFourGroups();
    // The current panel is elsewhere; the drawing makes the drawn one current.
    TSitid* other = AddPanel(sw_, 2);
    Draw(160);
    const int t = top_;
    // Columns in drawing order: single-phase on A ("1", X = 0), on C ("4", X = 160), the
    // two-phase ("2", X = 320) and the three-phase line ("3", X = 480).
    const std::vector<PlacedText> expectedTexts = {
        // Header: phase voltages 400 - 400 * loss / 100: A and B 400, C 2.5 % 390.
        {35, t + 105, "IA - 18,2 A   U - 400 в."},
        {35, t + 125, "IB - 9,1 A   U - 400 в."},
        {35, t + 145, "IC - 13,6 A   U - 390 в."},
        {35, t + 165, "IN - 7,9 A"},
        {20, t + 20, "Щит№ 1"},
        {20, t + 35, "Руст 12 кВт"},
        {20, t + 50, "Ррас 10,3 кВт"},
        {20, t + 65, "Iрас 16,5 A"},
        {10, t + 110, "A"},
        {10, t + 130, "B"},
        {10, t + 150, "C"},
        {10, t + 170, "N"},
        // "1" on A: two blanks after "гр" on phase A.
        {30, t + 325, "гр  1"},
        {30, t + 340, "Pном - 2 кВт"},
        {60, t + 195, "ВА47 - 10 A"},
        {52, t + 230, "IA - 9,09 A"},
        {52, t + 245, "ВВГ - 2,5 кв.мм"},
        {52, t + 260, "Длина - 50 м"},
        // "4" on C.
        {190, t + 325, "гр 4"},
        {190, t + 340, "Pном - 1 кВт"},
        {220, t + 195, "ВА47 - 6 A"},
        {212, t + 230, "IC - 4,55 A"},
        {212, t + 245, "ВВГ - 1,5 кв.мм"},
        {212, t + 260, "Длина - 20 м"},
        // "2", balanced, on A and B; its neutral: 9.09 A on two phases 120 degrees apart.
        {390, t + 195, "ВА47 - 16 A"},
        {350, t + 340, "Pном 4 кВт"},
        {382, t + 215, "IA - 9,09 A"},
        {382, t + 230, "IB - 9,09 A"},
        {382, t + 245, "IN - 9,09 A"},
        {382, t + 260, "ПВ1 - 4 кв.мм"},
        {382, t + 275, "Длина - 20 м"},
        {350, t + 325, "гр 2"},
        // "3", unbalanced: per phase its power to tenths, the standard rating of its current
        // (5, 10, 16 A) and the current. The neutral current, normalised to the largest phase C:
        // a = 4.55 / 13.64 = 0.3336, b = 0.6664; t = sqrt(a^2 + b^2 - ab) = 0.5771;
        // w = (b^2 + t^2 - a^2) * 0.5 * b * t = 0.1281, alpha = 82.64 deg;
        // psi = (380 - 2 * (120 + alpha)) / 2 = -12.64 deg;
        // r = sqrt(1 + t^2 - 2 t cos psi) = 0.4547; 0.4547 * 13.64 = 6.20 A, in whole amperes 6.
        {510, t + 340, "PAном 1 кВт"},
        {560, t + 185, "ВА88 - 5 A"},
        {552, t + 230, "IA - 4,55 A"},
        {510, t + 355, "PBном 2 кВт"},
        {560, t + 200, "ВА88 - 10 A"},
        {552, t + 245, "IB - 9,09 A"},
        {510, t + 370, "PCном 3 кВт"},
        {560, t + 215, "ВА88 - 16 A"},
        {552, t + 260, "IC - 13,64 A"},
        {510, t + 325, "гр 3"},
        {560, t + 275, "IN - 6 A"},
        {560, t + 290, "КГ - 6 кв.мм"},
        {560, t + 305, "Длина- 30 м"},
    };
    const auto& ops = Ops();
    std::vector<PlacedText> texts = TextsOf(ops);
    ExpectSameList(texts, expectedTexts);

    // Buses to E = 4 * 160 = 640, the neutral dashed; each group's dashed neutral at X + 40.
    const std::vector<DrawnLine> lines = LinesOf(ops);
    const std::vector<DrawnLine> expectedLines = {
        {20, t + 120, 640, t + 120},
        {20, t + 140, 640, t + 140},
        {20, t + 160, 640, t + 160},
        {20, t + 180, 640, t + 180, true},
        // "1": drop at X + 50 from bus A: to the breaker, on to the load, the blade.
        {50, t + 120, 50, t + 200},
        {50, t + 215, 50, t + 300},
        {55, t + 200, 50, t + 215},
        {40, t + 180, 40, t + 300, true},
        // "4": from bus C.
        {210, t + 160, 210, t + 200},
        {210, t + 215, 210, t + 300},
        {215, t + 200, 210, t + 215},
        {200, t + 180, 200, t + 300, true},
        // "2": neutral, drops at X + 50 from A and X + 60 from B, the two-pole tie.
        {360, t + 180, 360, t + 300, true},
        {370, t + 120, 370, t + 200},
        {370, t + 215, 370, t + 300},
        {375, t + 200, 370, t + 215},
        {380, t + 140, 380, t + 200},
        {380, t + 215, 380, t + 300},
        {385, t + 200, 380, t + 215},
        {370, t + 205, 385, t + 205},
        {370, t + 207, 385, t + 207},
        // "3": neutral, drops at X + 50, 60, 70 from A, B, C; no tie.
        {520, t + 180, 520, t + 300, true},
        {530, t + 120, 530, t + 200},
        {530, t + 215, 530, t + 300},
        {535, t + 200, 530, t + 215},
        {540, t + 140, 540, t + 200},
        {540, t + 215, 540, t + 300},
        {545, t + 200, 540, t + 215},
        {550, t + 160, 550, t + 200},
        {550, t + 215, 550, t + 300},
        {555, t + 200, 550, t + 215},
    };
    ExpectSameList(lines, expectedLines);
    EXPECT_EQ(RectsOf(ops, CanvasOpKind::Ellipse),
              (std::vector<TRect>{{47, t + 117, 53, t + 123},
                                  {207, t + 157, 213, t + 163},
                                  {367, t + 117, 373, t + 123},
                                  {377, t + 137, 383, t + 143},
                                  {527, t + 117, 533, t + 123},
                                  {537, t + 137, 543, t + 143},
                                  {547, t + 157, 553, t + 163}}));
    for (const auto& dot : OpsOf(ops, CanvasOpKind::Ellipse))
        EXPECT_EQ(dot.Brush.Color(), platform::clBlack);
    EXPECT_EQ(RectsOf(ops, CanvasOpKind::Rectangle),
              (std::vector<TRect>{{35, t + 290, 55, t + 305},
                                  {195, t + 290, 215, t + 305},
                                  {358, t + 290, 383, t + 305},
                                  {518, t + 290, 553, t + 310}}));
    for (const auto& op : OpsOf(ops, CanvasOpKind::TextOut)) {
        EXPECT_EQ(op.Brush.Color(), platform::clWhite);
        EXPECT_EQ(op.Brush.Style(), platform::bsSolid);
    }

    // 640 is narrower than the window (700): one sheet of 1200, used.
    EXPECT_EQ(Form2->Image1->width(), 1200);
    EXPECT_EQ(Form2->Image1->height(), Form1->MainWindowHeight());
    EXPECT_EQ(Form1->SheetColumns, 1);
    EXPECT_EQ(Form1->SheetPageCount, 1);
    EXPECT_EQ(Form2->windowTitle().toStdString(), "Фазировка групп. Щит №  1");
    EXPECT_EQ(Form2->PictureKind(), PanelPhasingPicture);
    EXPECT_EQ(sw_->Panels.Cursor, panel_);
    EXPECT_NE(sw_->Panels.Cursor, other);
    ASSERT_NE(Form1->PictureBitmap, nullptr);
    EXPECT_EQ(Form1->PictureBitmap->Image(), Form2->Image1->Picture().Image());
}

TEST_F(PanelPhasing, ColumnsAreOneStepApartAndOffsetsStayInPixels) {
    AddFourGroups();
    for (int s : {120, 80}) {
        SCOPED_TRACE(s);
        Draw(s);
        const auto& ops = Ops();
        const int t = top_;
        const std::vector<PlacedText> texts = TextsOf(ops);
        for (const PlacedText& label :
             {PlacedText{30, t + 325, "гр  1"}, PlacedText{s + 30, t + 325, "гр 4"},
              PlacedText{2 * s + 30, t + 325, "гр 2"}, PlacedText{3 * s + 30, t + 325, "гр 3"}})
            EXPECT_TRUE(Has(texts, label)) << label;
        EXPECT_EQ(LinesOf(ops).at(0), (DrawnLine{20, t + 120, 4 * s, t + 120}));
        EXPECT_EQ(RectsOf(ops, CanvasOpKind::Rectangle).at(3),
                  (TRect{3 * s + 38, t + 290, 3 * s + 73, t + 310}));
        for (const auto& op : OpsOf(ops, CanvasOpKind::TextOut)) {
            if (s == 80) {
                EXPECT_EQ(op.Font.Name(), "Arial001");
                EXPECT_EQ(op.Font.Height(), -7);
            } else {
                EXPECT_EQ(op.Font, platform::TFont());
            }
        }
    }
}

TEST_F(PanelPhasing, ReducedDemandShowsOnlyThePhaseVoltages) {
    panel_->DemandFactor = 0.8;
    Draw(160);
    const int t = top_;
    const std::vector<PlacedText> texts = TextsOf(Ops());
    EXPECT_TRUE(Has(texts, {35, t + 105, "U - 400 в."}));
    EXPECT_TRUE(Has(texts, {35, t + 125, "U - 400 в."}));
    EXPECT_TRUE(Has(texts, {35, t + 145, "U - 390 в."}));
    EXPECT_EQ(Count(texts, "I"), 1);  // only "Iрас "
    // Without groups the buses end at 0, only the first sheet is used, the header stands.
    EXPECT_EQ(LinesOf(Ops()).at(0), (DrawnLine{20, t + 120, 0, t + 120}));
    EXPECT_EQ(Form1->SheetPageCount, 1);
    EXPECT_TRUE(Has(texts, {20, t + 20, "Щит№ 1"}));
}

TEST_F(PanelPhasing, BalancedThreePhaseLineHasOnePowerOneBreakerAndTheThreePoleTie) {
    AddThree(panel_, {"3", 6, 30, 6, "", "ВА88", 20, "КГ"}, {2, 2, 2}, {9.09, 9.09, 9.09}, true);
    Draw(160);
    const int t = top_;
    const std::vector<PlacedText> texts = TextsOf(Ops());
    // Each phase writes them at the same place.
    EXPECT_EQ(TextsAt(Ops(), 30, t + 340), std::vector<std::string>(3, "Pном 6 кВт"));
    EXPECT_EQ(TextsAt(Ops(), 80, t + 200), std::vector<std::string>(3, "ВА88 - 20 A"));
    EXPECT_EQ(Count(texts, "PAном"), 0);
    const std::vector<DrawnLine> lines = LinesOf(Ops());
    EXPECT_NE(std::find(lines.begin(), lines.end(), DrawnLine{50, t + 205, 78, t + 205}),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), DrawnLine{50, t + 208, 78, t + 208}),
              lines.end());
    // Three equal currents: no neutral current.
    EXPECT_TRUE(Has(texts, {80, t + 275, "IN - 0 A"}));
}

TEST_F(PanelPhasing, UnbalancedTwoPhaseLineOnBAndC) {
    AddTwo(panel_, {"2", 3, 20, 4, "", "ВА47", 16, "ПВ1"}, {0, 1, 2}, {0, 4.55, 9.09}, false);
    Draw(160);
    const int t = top_;
    // One pairing, B-C: a breaker of the standard rating of each current (5 and 10 A), the power
    // of each phase, and the neutral current unrounded: sqrt(4.55^2 + 9.09^2 - 4.55 * 9.09) =
    // 7.87 A.
    const std::vector<PlacedText> expected = {
        {70, t + 185, "ВА47 - 5 A"},  {70, t + 200, "ВА47 - 10 A"},   {30, t + 340, "PBном 1 кВт"},
        {30, t + 355, "PCном 2 кВт"}, {62, t + 215, "IB - 4,55 A"},   {62, t + 230, "IC - 9,09 A"},
        {62, t + 245, "IN - 7,87 A"}, {62, t + 260, "ПВ1 - 4 кв.мм"}, {62, t + 275, "Длина - 20 м"},
        {30, t + 325, "гр 2"},
    };
    std::vector<PlacedText> texts = TextsOf(Ops());
    texts.erase(texts.begin(), texts.begin() + 12);  // the header and the bus letters
    ExpectSameList(texts, expected);
    const std::vector<DrawnLine> lines = LinesOf(Ops());
    for (const DrawnLine& drop :
         {DrawnLine{50, t + 140, 50, t + 200}, DrawnLine{60, t + 160, 60, t + 200}})
        EXPECT_NE(std::find(lines.begin(), lines.end(), drop), lines.end()) << drop;
}

TEST_F(PanelPhasing, SheetsReachToTheBusesEnd) {
    struct Case {
        int groups;
        int width;
        std::vector<int> numbers;
    };
    // At 160 px: 15 groups end at 2400, the image 2450 px widened to 3600, its three sheets
    // used; 14 groups end at 2240, the image 2290 px widened to 2400, two sheets.
    const Case cases[] = {{15, 3600, {1, 2, 3}}, {14, 2400, {1, 2}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.groups);
        NewProject();
        sw_ = AddSwitchboard(1);
        panel_ = AddPanel(sw_, 1);
        for (int g = 0; g < c.groups; ++g)
            AddSingle(panel_, NamedGroup(std::to_string(g + 1), 1), g % 3, 4.55);
        Draw(160);
        EXPECT_EQ(Form2->Image1->width(), c.width);
        std::vector<int> numbers;
        for (const TSheetCell& cell : Form1->PrintSheets[0]) numbers.push_back(cell.Number);
        EXPECT_EQ(numbers, c.numbers);
        EXPECT_EQ(Form1->SheetPageCount, int(c.numbers.size()));
    }
}

TEST_F(PanelPhasing, ZeroPowerRowOnPhaseAIsSkippedAndUnmatchedRecordsTakeNoColumn) {
    // Scheme records "z" (0 kW on A), "1" (on A), "x" (on B) and "lost", which no result row
    // carries. The walk over A skips "z", using up a step, and then meets "1" with the third
    // step; "lost" is not drawn but counts in the buses' length.
    AddSingle(panel_, NamedGroup("z", 0), 0, 0);
    AddSingle(panel_, NamedGroup("1", 2), 0, 9.09);
    AddSingle(panel_, NamedGroup("x", 1), 1, 4.55);
    TestGroup lost = NamedGroup("lost", 1);
    AddSingle(panel_, lost, 2, 4.55);
    TFasaGrup1d* row = panel_->SinglePhaseByPhase[2].Last;
    row->GroupName1 = "elsewhere";
    Draw(160);
    const int t = top_;
    const std::vector<PlacedText> texts = TextsOf(Ops());
    EXPECT_TRUE(Has(texts, {30, t + 325, "гр  1"}));
    EXPECT_TRUE(Has(texts, {190, t + 325, "гр x"}));
    EXPECT_EQ(Count(texts, "гр"), 2);
    EXPECT_EQ(LinesOf(Ops()).at(0), (DrawnLine{20, t + 120, 640, t + 120}));
}

TEST_F(PanelPhasing, NumberNoPanelCarriesChangesNothing) {
    AddFourGroups();
    Draw(160);
    const QPointer<platform::TImage> shown = Form2->Image1;
    Form1->SheetPageCount = 5;
    Form1->SheetNumberCounter = 7;
    MakeCurrent(sw_, nullptr);
    Draw(160, 9);
    EXPECT_EQ(Form2->Image1, shown.data());
    EXPECT_EQ(Form2->PictureKind(), PanelPhasingPicture);
    EXPECT_EQ(Form1->SheetPageCount, 5);
    EXPECT_EQ(Form1->SheetNumberCounter, 7);
    EXPECT_EQ(Form2->windowTitle().toStdString(), "Фазировка групп. Щит №  1");
    EXPECT_EQ(sw_->Panels.Cursor, nullptr);
}

TEST_F(PanelPhasing, RasterShowsTheDashedNeutralBusTheDotsAndTheLoadBoxes) {
    AddFourGroups();
    Draw(160);
    const platform::TCanvas& canvas = *Form2->Image1->Canvas();
    const int t = top_;
    ExpectPixels(canvas,
                 {
                     {25, t + 180, platform::clBlack},  // the neutral bus: a dash
                     {42, t + 180, platform::clWhite},  // and a gap, 18 px on from its start
                     {42, t + 120, platform::clBlack},  // bus A is solid
                     {50, t + 120, platform::clBlack},  // the dot of "1" on bus A
                     {50, t + 122, platform::clBlack},  // filled down to its lower edge
                     {35, t + 290, platform::clBlack},  // the load box's corner
                     {40, t + 295, platform::clWhite},  // the box covers the neutral and the drop
                     {50, t + 295, platform::clWhite},
                     {50, t + 250, platform::clBlack},  // the drop above it
                 });
}

TEST_F(PanelPhasing, NeutralCurrentOfAThreePhaseLineFollowsThePhaseOrder) {
    // The same line with its parts the other way round, 3, 2 and 1 kW: normalised to A,
    // b = 0.6664, c = 0.3336; t = sqrt(1 + b^2 - b) = 0.8819; w = (1 + t^2 - b^2) * 0.5 * t =
    // 0.5880, alpha = 53.98 deg; psi = (380 - 2 * (120 + alpha)) / 2 = 16.02 deg;
    // r = sqrt(c^2 + t^2 - 2 c t cos psi) = 0.5687; 0.5687 * 13.64 = 7.76 A, in whole amperes 8.
    AddThree(panel_, {"3", 6, 30, 6, "", "ВА88", 20, "КГ"}, {3, 2, 1}, {13.64, 9.09, 4.55}, false);
    Draw(160);
    const int t = top_;
    EXPECT_EQ(TextsAt(Ops(), 80, t + 275), std::vector<std::string>{"IN - 8 A"});
    EXPECT_EQ(TextsAt(Ops(), 30, t + 340), std::vector<std::string>{"PAном 3 кВт"});
    EXPECT_EQ(TextsAt(Ops(), 80, t + 185), std::vector<std::string>{"ВА88 - 16 A"});
}
