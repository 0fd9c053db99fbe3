// The general one-line scheme on the recorder: the picture's size from the layout, the supply
// part and the switchboards, the panels with their cascades, section feeds and double numbers, one
// group line at two scales, the sheets the buses mark, and damaged feeds that must neither hang
// nor draw a panel twice. Every expected coordinate is worked from the layout rules by hand.
#include <gtest/gtest.h>

#include <QComboBox>
#include <string>
#include <vector>

#include "DrawingFixture.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "drawings/GeneralScheme.h"
#include "groups/Dan12.h"
#include "platform/Image.h"

using platform::CanvasOpKind;
using platform::TPoint;
using platform::TRect;

namespace {

bool HasDot(const std::vector<platform::CanvasOp>& ops, int x, int y) {
    for (const platform::CanvasOp& op : OpsOf(ops, CanvasOpKind::Ellipse))
        if (op.Rect == TRect{x - 2, y - 2, x + 2, y + 2}) return true;
    return false;
}

}  // namespace

class GeneralScheme : public DrawingTest {
protected:
    // Draws at the scale of the combo box's item: 0 "100%", 1 "75%", 2 "50%".
    void Draw(int item) {
        Form1->ComboBox1->setCurrentIndex(item);
        Form1->ShowNetworkScheme();
    }

    TSitid* Direct(TGrsed* sw, int number, int groups) {
        TSitid* panel = AddPanel(sw, number);
        for (int g = 0; g < groups; ++g)
            AddSingle(panel, NamedGroup(std::to_string(number) + "." + std::to_string(g + 1), 1),
                      g % 3, 4.55);
        return panel;
    }
    TSitid* Head(TGrsed* sw, int number, int groups) {
        TSitid* panel = Direct(sw, number, groups);
        panel->FedFromSwitchboard = 1;
        panel->CascadeHeadNumber = number;
        return panel;
    }
    TSitid* Member(TGrsed* sw, int number, int feeder, int head, int groups) {
        TSitid* panel = Direct(sw, number, groups);
        panel->FedFromPanel = 1;
        panel->FeedingPanelNumber = feeder;
        panel->CascadeHeadNumber = head;
        return panel;
    }

    std::vector<PlacedText> Texts() const { return TextsOf(Ops()); }
    std::vector<DrawnLine> Lines() const { return LinesOf(Ops()); }
};

// ---------------------------------------------------------------------------------------------
// Size of the picture

TEST_F(GeneralScheme, PictureIsAsLargeAsTheLayoutInWholeSheets) {
    struct Case {
        const char* what;
        int item;
        std::function<void()> build;
        int width, height;            // of the layout
        int imageWidth, imageHeight;  // whole sheets of 900 x 1200
        int pages;
    };
    const auto twoPanels = [this] {
        TGrsed* sw = AddSwitchboard(1);
        Direct(sw, 1, 3);
        Direct(sw, 2, 5);
    };
    const std::vector<Case> cases = {
        // Width: the largest of the columns, 160 + 160 + 2 * 160 = 640, and the rows of groups,
        // 160 + 160 * (0 + 0 + 3) = 640 and 160 + 160 * (0 + 1 + 5) = 1120. Height: 300 + 160 *
        // (1 + 1 + 2) = 940. Panel 2's bus, 320 .. 320 + 4 * 160 + 40 = 1000, marks 2 sheets.
        {"two direct panels of 3 and 5 groups", 0, twoPanels, 1120, 940, 1800, 1200, 2},
        // At 80: 80 + 80 + 2 * 80 = 320, 80 + 80 * (1 + 5) = 560; 300 + 80 * 4 = 620.
        {"the same at 50 %", 2, twoPanels, 560, 620, 900, 1200, 1},
        // Width: 480, 160 + 160 * (0 + 1 + 2) + 160 = 800, 160 + 160 * (0 + 0 + 1) + 160 = 480.
        // Height: 460 + 320 + 160 + 160: a member of the first switchboard adds two rows.
        {"a head with one group and its member with two", 0,
         [this] {
             TGrsed* sw = AddSwitchboard(1);
             Head(sw, 1, 1);
             Member(sw, 2, 1, 1, 2);
         },
         800, 1100, 900, 1200, 1},
        // 10 wide, 10 + S high; no bus that marks a sheet.
        {"no switchboard", 0, [] {}, 10, 170, 900, 1200, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewProject();
        c.build();
        Draw(c.item);
        const int s = DrawingStep;
        EXPECT_EQ(Form1->GeneralSchemeWidth(s, s), c.width);
        EXPECT_EQ(Form1->GeneralSchemeHeight(s, 300), c.height);
        ASSERT_NE(Form2->Image1, nullptr);
        EXPECT_EQ(Form2->Image1->width(), c.imageWidth);
        EXPECT_EQ(Form2->Image1->height(), c.imageHeight);
        EXPECT_EQ(Form1->SheetColumns, c.imageWidth / 900);
        EXPECT_EQ(Form1->SheetRows, c.imageHeight / 1200);
        EXPECT_EQ(Form1->SheetPageCount, c.pages);
        EXPECT_EQ(Form2->PictureKind(), GeneralSchemePicture);
    }
}

TEST_F(GeneralScheme, ProjectWithoutSwitchboardsShowsTheSupplyPartAndTheSectionBusOnly) {
    Draw(0);
    const auto& ops = Ops();
    // The power system's box (B = 300 - 160 - 80 = 60) and the section bus from X0 - S/4 to
    // X0 + S/4, both with a clear brush.
    const auto rectangles = OpsOf(ops, CanvasOpKind::Rectangle);
    ASSERT_EQ(rectangles.size(), 2u);
    EXPECT_EQ(rectangles[0].Rect, (TRect{144, 60, 176, 92}));
    EXPECT_EQ(rectangles[1].Rect, (TRect{120, 297, 200, 303}));
    EXPECT_EQ(rectangles[1].Brush.Style(), platform::bsClear);
    const std::vector<PlacedText> texts = TextsOf(ops);
    EXPECT_TRUE(Has(texts, {144, 40, "Энергосистема"}));
    EXPECT_TRUE(Has(texts, {40, 284, "Секция КТП"}));
    EXPECT_EQ(Count(texts, "ГРЩ№ "), 0);
    EXPECT_EQ(Count(texts, "Щит№ "), 0);
    EXPECT_EQ(Form1->SheetPageCount, 0);
    EXPECT_EQ(Form1->PrintSheets[0][0].Used, 0);
}

// ---------------------------------------------------------------------------------------------
// Supply part and switchboards at 50 %

TEST_F(GeneralScheme, SupplyAndSwitchboardCaptionsAtHalfScale) {
    // S = 80, X0 = 80, Y0 = 300: S/10 = 8, S/20 = 4, S/25 = 3, S/15 = 5, S/6 = 13, S/8 = 10,
    // S/40 = 2, 3S/4 = 60, 3S/20 = 12, 7S/20 = 28, 9S/20 = 36, 11S/20 = 44, 13S/20 = 52,
    // 15S/20 = 60. The switchboard: xs = 80, yb = 300 + 80 = 380, x1 = 84, x2 = 20.
    struct Case {
        const char* what;
        bool switchboardReduced;  // its design power below its installed power
        double section;           // of its feeder
        std::vector<PlacedText> present;
        std::vector<PlacedText> absent;
    };
    const std::vector<Case> cases = {
        {"switchboard below its installed power, section totals in full",
         true,
         35,
         {{84, 344, "Iр- 52,3 A"},
          {84, 352, "АВВГ 3x35+1x16"},
          {84, 248, "IA- 60,8 A"},
          {84, 256, "IB- 55,1 A"},
          {84, 264, "IC- 58,2 A"},
          {84, 272, "IN- 5,3 A"}},
         {{84, 320, "IA- 52,3 A"}, {84, 272, "Iр- 70,2 A"}}},
        {"switchboard in full without a feeder section, section totals below",
         false,
         0,
         {{84, 320, "IA- 48,6 A"},
          {84, 328, "IB- 44,1 A"},
          {84, 336, "IC- 46,5 A"},
          {84, 344, "IN- 4,2 A"},
          {84, 272, "Iр- 70,2 A"}},
         {{84, 352, "АВВГ 3x0+1x16"}, {84, 248, "IA- 60,8 A"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewProject();
        ProjectRoot->TransformerName = "ТМГ-400/10";
        ProjectRoot->SectionBreakerType = "ВА55-41";
        ProjectRoot->TransformerBreakerRating = 400;
        ProjectRoot->TotalInstalledPower = 40;
        ProjectRoot->TotalDesignPower = c.switchboardReduced ? 40 : 39;
        ProjectRoot->TotalCurrentA = 60.8;
        ProjectRoot->TotalCurrentB = 55.1;
        ProjectRoot->TotalCurrentC = 58.2;
        ProjectRoot->TotalNeutralCurrent = 5.3;
        ProjectRoot->TotalDesignCurrent = 70.2;
        TGrsed* sw = AddSwitchboard(1);
        sw->SwitchboardBreakerType = "ВА88-35";
        sw->SwitchboardBreakerRating = 160;
        sw->SwitchboardInputRating = 250;
        // 400 - 400 * 1.5 % = 394 V.
        sw->SwitchboardLossSum = 1.5;
        sw->SwitchboardInstalledPower = 40;
        sw->SwitchboardDesignPower = c.switchboardReduced ? 30.26 : 40;
        sw->SwitchboardCurrentA = 48.6;
        sw->SwitchboardCurrentB = 44.1;
        sw->SwitchboardCurrentC = 46.5;
        sw->SwitchboardNeutralCurrent = 4.2;
        sw->SwitchboardDesignCurrent = 52.3;
        sw->SwitchboardCableBrand = "АВВГ";
        sw->SwitchboardSection = c.section;
        sw->SwitchboardNeutralSection = 16;
        Draw(2);
        const std::vector<PlacedText> texts = Texts();
        const std::vector<PlacedText> common = {
            {72, 170, "Энергосистема"},  // X0 - S/10, Y0 - S - S/2 - S/8
            {91, 188, "Sкз  180  MBA"},  // X0 + S/10 + S/25, B + h/2 with B = 180, h = 16
            {20, 292, "Секция КТП"},
            {20, 284, "U - 400 в."},
            {88, 240, "ТМГ-400/10"},  // X0 + S/10, Y0 - 15S/20
            {20, 302, "Pуст- 40 кВт"},
            {88, 288, "ВА55-41  400 A"},
            {84, 364, "ВА88-35 - 160 A"},  // x1, yb - S/5
            {84, 304, "ВА88-35 - 250 A"},  // x1, Y0 + S/20
            {20, 375, "ГРЩ№ 1"},
            {20, 367, "U - 394 в."},
            {20, 384, "Pуст- 40 кВт"},
            {20, 393, c.switchboardReduced ? "Pрас- 30,3 кВт" : "Pрас- 40 кВт"},
        };
        for (const PlacedText& t : common) EXPECT_TRUE(Has(texts, t)) << t;
        for (const PlacedText& t : c.present) EXPECT_TRUE(Has(texts, t)) << t;
        for (const PlacedText& t : c.absent) EXPECT_FALSE(Has(texts, t)) << t;

        // The feeder: dots on both buses, two breakers, the four-conductor mark at yb - S/2.
        const auto& ops = Ops();
        const std::vector<DrawnLine> lines = Lines();
        for (const DrawnLine& l :
             {DrawnLine{80, 300, 80, 308}, DrawnLine{76, 308, 80, 316}, DrawnLine{80, 316, 80, 364},
              DrawnLine{76, 364, 80, 372}, DrawnLine{80, 372, 80, 380}, DrawnLine{78, 340, 82, 336},
              DrawnLine{78, 334, 82, 330}})
            EXPECT_TRUE(Has(lines, l)) << l;
        EXPECT_TRUE(HasDot(ops, 80, 300));
        EXPECT_TRUE(HasDot(ops, 80, 380));
        // Section bus (one switchboard: X0 to max(S, X0)) and the switchboard's bus without
        // panels, S/4 = 20 each side.
        const std::vector<TRect> rectangles = RectsOf(ops, CanvasOpKind::Rectangle);
        ASSERT_EQ(rectangles.size(), 3u);
        EXPECT_EQ(rectangles[1], (TRect{60, 297, 100, 303}));
        EXPECT_EQ(rectangles[2], (TRect{60, 377, 100, 383}));
        EXPECT_EQ(Form1->SheetPageCount, 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Panels and cascades at 100 %

TEST_F(GeneralScheme, CascadeHangsBelowItsHeadAndPushesThePanelsToItsLeftDown) {
    TGrsed* sw = AddSwitchboard(1);
    TSitid* p1 = Direct(sw, 1, 1);
    p1->InstalledPower = 12;
    p1->DesignPower = 9.6;
    p1->OwnCurrentA = 18.2;
    p1->OwnDesignCurrent = 16.5;
    p1->FeederCableBrand = "АВВГ";
    p1->FeederSection = 16;
    p1->FeederNeutralSection = 10;
    p1->PanelBreakerType = "ВА47";
    p1->FeederBreakerRating = 32;
    p1->PanelBreakerRating = 25;
    TSitid* p2 = Head(sw, 2, 1);
    p2->InstalledPower = p2->DesignPower = 5;
    p2->CascadeCurrentA = 30.5;
    p2->CascadeCurrentB = 21.4;
    p2->CascadeCurrentC = 25.9;
    p2->CascadeNeutralCurrent = 8.2;
    p2->FeederCableBrand = "ВВГ";
    p2->FeederSection2 = 25;
    p2->FeederNeutralSection = 10;
    p2->TrunkBreakerType = "ВА88";
    p2->TrunkBreakerRating = 63;
    p2->PanelBreakerType = "ВА88";
    p2->PanelBreakerRating = 40;
    TSitid* p3 = Member(sw, 3, 2, 2, 1);
    p3->InstalledPower = 8;
    p3->DesignPower = 6;
    p3->CascadeDesignCurrent = 20.1;
    p3->CascadeCurrentA = 20;
    p3->FeederCableBrand = "ВВГ";
    p3->FeederSection2 = 16;
    p3->FeederNeutralSection = 10;
    p3->PanelBreakerType = "ВА47";
    p3->PanelBreakerRating = 32;
    TSitid* p4 = Member(sw, 4, 3, 2, 2);
    p4->InstalledPower = p4->DesignPower = 4;
    p4->CascadeDesignCurrent = 6.3;
    p4->PanelBreakerType = "ВА47";
    p4->PanelBreakerRating = 16;
    Draw(0);
    // Width 160 + 160 * (2 + 2) + 160 = 960 (panel 4's row); height 300 + 160 * (1 + 1 + 2 + 2
    // + 1 * 2) = 1580.
    EXPECT_EQ(Form2->Image1->width(), 1800);
    EXPECT_EQ(Form2->Image1->height(), 2400);

    // xs = 160, yb = 460. Panel 2 (the last direct one): column 1, XP = 320, YP = 460 + 160 =
    // 620. Its members: panel 3 at yq = 780 (between), panel 4 at 940 (the last: N = 2). Panel 1:
    // column 0, XP = 160, pushed down by the two members: YP = 460 + 2 * 160 + 2 * 160 = 1100.
    const std::vector<PlacedText> texts = Texts();
    const std::vector<PlacedText> expected = {
        // Head: the cascade's currents and cable, the trunk and panel breakers, its powers.
        {200, 610, "Щит№ 2"},
        {200, 594, "U - 400 в."},
        {328, 500, "IA- 30,5 A"},
        {328, 516, "IB- 21,4 A"},
        {328, 532, "IC- 25,9 A"},
        {328, 548, "IN- 8,2 A"},
        {328, 564, "ВВГ 3x25+1x10"},
        {328, 468, "ВА88 - 63 A"},
        {200, 628, "Pуст- 5 кВт"},
        {200, 646, "Pрас- 5 кВт"},
        {328, 588, "ВА88 - 40 A"},
        // Panel 3 is below its installed power: it and panel 4 after it show "Ip- " (Latin p).
        {328, 708, "Ip- 20,1 A"},
        {328, 724, "ВВГ 3x16+1x10"},
        {200, 788, "Pуст- 8 кВт"},
        {200, 806, "Pрас- 6 кВт"},
        {328, 748, "ВА47 - 32 A"},
        {200, 770, "Щит№ 3"},
        {200, 754, "U - 400 в."},
        // Panel 4 carries no current: an empty cable line.
        {328, 868, "Ip- 6,3 A"},
        {328, 884, ""},
        {200, 948, "Pуст- 4 кВт"},
        {328, 908, "ВА47 - 16 A"},
        {200, 930, "Щит№ 4"},
        // Panel 1, radial, below its installed power: "Iр- " (Cyrillic р) with its own current.
        {40, 1090, "Щит№ 1"},
        {40, 1074, "U - 400 в."},
        {168, 1028, "Iр- 16,5 A"},
        {168, 1044, "АВВГ 3x16+1x10"},
        {168, 468, "ВА47 - 32 A"},
        {40, 1108, "Pуст- 12 кВт"},
        {40, 1126, "Pрас- 9,6 кВт"},
        {168, 1068, "ВА47 - 25 A"},
    };
    for (const PlacedText& t : expected) EXPECT_TRUE(Has(texts, t)) << t;
    EXPECT_EQ(Count(texts, "Ip- "), 2);
    EXPECT_EQ(Count(texts, "Iр- "), 1);
    for (const char* name : {"Щит№ 1", "Щит№ 2", "Щит№ 3", "Щит№ 4"})
        EXPECT_EQ(Count(texts, name), 1) << name;

    const std::vector<DrawnLine> lines = Lines();
    const std::vector<DrawnLine> trunk = {
        {320, 460, 320, 476},
        {320, 492, 320, 620},  // from the bus to the head
        // The head's tap: S/5 + S/10 = 48 above its bus.
        {304, 572, 320, 572},
        {304, 588, 304, 572},
        {304, 604, 304, 620},
        // On to panel 3 and its tap.
        {320, 620, 320, 780},
        {304, 732, 320, 732},
        {304, 764, 304, 780},
        // On to panel 4, the last, through its breaker.
        {320, 780, 320, 908},
        {312, 908, 320, 924},
        {320, 924, 320, 940},
        // Panel 1 from the bus down to YP through its breaker.
        {160, 492, 160, 1068},
        {152, 1068, 160, 1084},
        {160, 1084, 160, 1100},
        // Group lines: the head's and panel 3's from XP + S, panel 4's from XP, panel 1's.
        {480, 620, 480, 636},
        {480, 780, 480, 796},
        {320, 940, 320, 956},
        {480, 940, 480, 956},
        {160, 1100, 160, 1116}};
    for (const DrawnLine& l : trunk) EXPECT_TRUE(Has(lines, l)) << l;
    EXPECT_FALSE(Has(lines, {304, 892, 320, 892}));  // no tap at the last member

    // Buses: the power system's box, the section bus, then the panels in drawing order and the
    // switchboard's last (m = 2: 160 to 320).
    const std::vector<TRect> buses = {
        {144, 60, 176, 92},   {120, 297, 200, 303},   {280, 617, 520, 623}, {280, 777, 520, 783},
        {280, 937, 520, 943}, {120, 1097, 200, 1103}, {120, 457, 360, 463}};
    ExpectSameList(RectsOf(Ops(), CanvasOpKind::Rectangle), buses);
    EXPECT_TRUE(HasDot(Ops(), 304, 780));
    EXPECT_TRUE(HasDot(Ops(), 320, 940));
    // The walk numbered the cascade.
    EXPECT_EQ(p2->CascadeSequence, 1);
    EXPECT_EQ(p4->CascadeSequence, 3);
    EXPECT_EQ(p4->CascadeEnd, 1);
}

TEST_F(GeneralScheme, SectionFedAndDoubleNumberedPanels) {
    struct Case {
        const char* what;
        std::uint8_t sectionFeed;  // the switchboard's ChangedMark
        std::vector<PlacedText> present;
        std::vector<DrawnLine> lines;
        std::vector<DrawnLine> noLines;
    };
    // Panel 1 (the last): column 1, XP = 320, d = 1, YP = 620; panel 2: XP = 160, YP = 780.
    const std::vector<Case> cases = {
        {"fed from the section",
         1,
         {{328, 308, "ВА88 - 100 A"},
          {200, 610, "Щит№ 7 (1)"},
          {200, 600, "U - 400 в."},  // 10 px above, not scaled
          {328, 340, "IA- 10,5 A"},
          {328, 356, "IB- 9,5 A"},
          {328, 372, "IC- 8,5 A"},
          {328, 388, "IN- 1,7 A"},
          {328, 404, "АВБбШв 3x35+1x16"}},
         // Down from the section bus, over the switchboard's bus (S/25 = 6) and on.
         {{320, 300, 320, 316},
          {312, 316, 320, 332},
          {320, 332, 320, 454},
          {320, 454, 324, 454},
          {324, 454, 324, 466},
          {324, 466, 320, 466},
          {320, 466, 320, 476}},
         {{320, 460, 320, 476}}},
        {"its switchboard without a section feed",
         0,
         {{200, 610, "Щит№ 1"}, {200, 594, "U - 400 в."}},
         {{320, 460, 320, 476}},
         {{320, 300, 320, 316}, {320, 454, 324, 454}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewProject();
        TGrsed* sw = AddSwitchboard(1);
        sw->ChangedMark = c.sectionFeed;
        sw->SwitchboardCableBrand = "АВБбШв";
        TSitid* p2 = Direct(sw, 2, 0);
        p2->PanelFlagC = 1;
        p2->HangsOnPanel = 1;
        TSitid* p1 = Direct(sw, 1, 0);
        p1->OnTrunk = 1;
        p1->HangsOnPanel = 7;
        p1->PanelBreakerType = "ВА88";
        p1->CascadeBreakerRating = 100;
        p1->FeederCurrentA = 10.5;
        p1->FeederCurrentB = 9.5;
        p1->FeederCurrentC = 8.5;
        p1->FeederNeutralCurrent = 1.7;
        p1->FeederSectionByCurrent = 35;
        p1->FeederNeutralSection = 16;
        Draw(0);
        const std::vector<PlacedText> texts = Texts();
        for (const PlacedText& t : c.present) EXPECT_TRUE(Has(texts, t)) << t;
        // The double number: the panel it hangs on, then its own; S/10 between the lines. Its own
        // currents are all 0: an empty cable line at YP - 7S/20.
        EXPECT_TRUE(Has(texts, {40, 770, "Щит№ 1 (2)"}));
        EXPECT_TRUE(Has(texts, {40, 754, "U - 400 в."}));
        EXPECT_TRUE(Has(texts, {168, 724, ""}));
        const std::vector<DrawnLine> lines = Lines();
        for (const DrawnLine& l : c.lines) EXPECT_TRUE(Has(lines, l)) << l;
        for (const DrawnLine& l : c.noLines) EXPECT_FALSE(Has(lines, l)) << l;
        const auto& ops = Ops();
        // The section-fed panel has no dot on the switchboard's bus, whatever the switchboard;
        // the double-numbered one a dot on its own bus.
        EXPECT_FALSE(HasDot(ops, 320, 460));
        EXPECT_EQ(HasDot(ops, 320, 300), c.sectionFeed == 1);
        EXPECT_TRUE(HasDot(ops, 160, 780));
        // A panel without groups: its bus from XP - S/4 to XP + S/4.
        EXPECT_EQ(RectsOf(ops, CanvasOpKind::Rectangle)[2], (TRect{280, 617, 360, 623}));
    }
}

TEST_F(GeneralScheme, SectionFedPanelsWidenTheSectionBusAndShiftTheSwitchboards) {
    // Switchboard 1 (section feed marked): panels 1, 2 and 3, panel 3 fed from the section.
    // Switchboard 2: panel 4. Both written with a stale SchemeOrder.
    TGrsed* sw1 = AddSwitchboard(1);
    sw1->ChangedMark = 1;
    Direct(sw1, 1, 0);
    Direct(sw1, 2, 0);
    Direct(sw1, 3, 0)->OnTrunk = 1;
    TGrsed* sw2 = AddSwitchboard(2);
    Direct(sw2, 4, 0);
    sw1->SchemeOrder = sw2->SchemeOrder = 5;
    Draw(0);
    EXPECT_EQ(sw1->SchemeOrder, 0);
    EXPECT_EQ(sw2->SchemeOrder, 1);
    // First pass: two direct panels before panel 3, T = 2; the section bus reaches
    // (2 + 2) * 160 = 640. Second pass: panel 3 is the third direct panel of switchboard 1,
    // H = 2 * 160 = 320, so switchboard 2 stands at 160 + 160 + 320 = 640; switchboard 1, the
    // first, at 160, below the row of switchboard 2's panel: yb = 300 + 160 + 2 * 160 = 780.
    EXPECT_EQ(RectsOf(Ops(), CanvasOpKind::Rectangle)[1], (TRect{120, 297, 680, 303}));
    const std::vector<PlacedText> texts = Texts();
    EXPECT_TRUE(Has(texts, {520, 450, "ГРЩ№ 2"}));
    EXPECT_TRUE(Has(texts, {40, 770, "ГРЩ№ 1"}));
    const std::vector<DrawnLine> lines = Lines();
    EXPECT_TRUE(Has(lines, {640, 300, 640, 316}));
    // Panel 3 in column 2 of switchboard 1 comes down from the section bus.
    EXPECT_TRUE(Has(lines, {480, 300, 480, 316}));
    // Width: 2 * 160 + 160 + 4 * 160 + (0 + 2) * 160 = 1440; height 300 + 160 * (2 + 1 + 4).
    EXPECT_EQ(Form1->GeneralSchemeWidth(160, 160), 1440);
    EXPECT_EQ(Form1->GeneralSchemeHeight(160, 300), 1420);
}

// ---------------------------------------------------------------------------------------------
// Sheets

TEST_F(GeneralScheme, BusesMarkTheSheetsOfTheirRowUpToTheirRightEnd) {
    // Five direct panels; the first has 12 groups and, in column 0, the lowest bus: YP = 460 +
    // 5 * 160 = 1260, from 160 to 160 + 11 * 160, its rectangle to x 1960 and y 1263, in row 1.
    // Width 160 + 160 * 12 = 2080: three columns; height 300 + 160 * 7 = 1420: two rows.
    TGrsed* sw = AddSwitchboard(1);
    Direct(sw, 1, 12);
    for (int number = 2; number <= 5; ++number) Direct(sw, number, 0);
    Draw(0);
    ASSERT_EQ(Form1->SheetRows, 2);
    ASSERT_EQ(Form1->SheetColumns, 3);
    const auto& sheets = Form1->PrintSheets;
    // Panel 5, drawn first, marks row 0's first sheet; panel 1 marks row 1 from the left.
    EXPECT_EQ(sheets[0][0].Number, 1);
    EXPECT_EQ(sheets[1][0].Number, 2);
    EXPECT_EQ(sheets[1][1].Number, 3);
    EXPECT_EQ(sheets[1][2].Number, 4);
    EXPECT_EQ(sheets[0][1].Used, 0);
    EXPECT_EQ(sheets[0][2].Used, 0);
    EXPECT_EQ(Form1->SheetPageCount, 4);
    EXPECT_EQ(sheets[1][2].Rect, (TRect{1800, 1200, 2700, 2400}));
}

// ---------------------------------------------------------------------------------------------
// One group line

struct GroupLineCase {
    int step;
    const char* group;  // "1": single-phase, "3": three-phase
    std::vector<DrawnLine> lines;
    std::vector<TPoint> mark;
    std::vector<PlacedText> labels;
};

void PrintTo(const GroupLineCase& c, std::ostream* out) {
    *out << "step " << c.step << ", group " << c.group;
}

class SchemeGroupLine : public GeneralScheme,
                        public ::testing::WithParamInterface<GroupLineCase> {};

TEST_P(SchemeGroupLine, SevenStrokesAndSixLabels) {
    const GroupLineCase& c = GetParam();
    TGrsed* sw = AddSwitchboard(1);
    TSitid* panel = AddPanel(sw, 1);
    GiveFigures(panel);
    TCxemaGrupd* single = AddSingle(panel, {"1", 2, 50, 2.5, "Медь", "ВА47", 10, "ВВГ"}, 0, 9.09);
    TCxemaGrupd* three = AddThree(panel, {"3", 6, 30, 6, "", "ВА88", 20, "КГ"}, {1, 2, 3},
                                  {4.55, 9.09, 13.64}, false);
    MakeCurrent(sw, panel);
    panel->SchemeGroups.Cursor = std::string(c.group) == "1" ? single : three;
    const auto canvas = platform::TCanvas::CreateRecorder();
    DrawPanelGroupLines(*canvas, c.step, 300, 500, *Dan1);
    const auto& ops = canvas->Recorder()->Ops();
    ExpectSameList(LinesOf(ops), c.lines);
    const auto polylines = OpsOf(ops, CanvasOpKind::Polyline);
    ASSERT_EQ(polylines.size(), 1u);
    EXPECT_EQ(polylines[0].Points, c.mark);
    ExpectSameList(TextsOf(ops), c.labels);
}

// Group 3: 6 kW, three-phase on a panel with 2.5 % of loss on phase C, no line loss:
// 400 / sqrt 3 * (1 - 0.025) = 225.17 -> 225.2 -> 225 V; its largest phase current 13.64 A.
// Group 1: single-phase, 2 kW over 50 m of copper 2.5 mm2: 2 * 50 / (12.8 * 2.5) = 3.125 % on
// phase A: 230.94 * (1 - 0.03125) = 223.72 -> 223.7 -> 224 V; its current 9.09 A.
INSTANTIATE_TEST_SUITE_P(
    Scales, SchemeGroupLine,
    ::testing::Values(
        // S = 160: S/10 = 16, S/5 = 32, S - S/8 = 140, S/40 = 4, S/30 = 5, S/2 = 80, S/20 = 8;
        // the mark (x - 8 + 1, y + 16 + 4), (x - 8 - 0, y + 16 + 6), (x - 8 + 3, y + 32 - 3),
        // (x - 8 + 5, y + 32 - 4); labels at x + 8, y + 56, 72, 88, 104, 104 + 16 and y + 8.
        GroupLineCase{160,
                      "3",
                      {{300, 500, 300, 516},
                       {292, 516, 300, 532},
                       {300, 532, 300, 640},
                       {300, 640, 296, 624},
                       {300, 640, 304, 624},
                       {295, 580, 305, 572},
                       {295, 575, 305, 567},
                       {295, 570, 305, 562},
                       {295, 565, 305, 557}},
                      {{293, 520}, {292, 522}, {295, 529}, {297, 528}},
                      {{308, 556, "Гр- 3"},
                       {308, 572, "Pном- 6 кВт"},
                       {308, 588, "Imax- 13,64 A"},
                       {308, 604, "КГ   4 x 6 кв.мм"},
                       {308, 620, "Umin - 225 в."},
                       {308, 508, "ВА88 - 20 A"}}},
        // S = 80: S/100 and S/220 are 0, S/50 = 1, S/29 = 2; ticks S/30 = 2 apart; the label
        // pitch S/10 = 8 from y + 80 - 52 = y + 28.
        GroupLineCase{80,
                      "1",
                      {{300, 500, 300, 508},
                       {296, 508, 300, 516},
                       {300, 516, 300, 570},
                       {300, 570, 298, 562},
                       {300, 570, 302, 562},
                       {298, 540, 302, 536},
                       {298, 538, 302, 534}},
                      {{296, 510}, {296, 511}, {297, 515}, {298, 514}},
                      {{304, 528, "Гр- 1"},
                       {304, 536, "Pном- 2 кВт"},
                       {304, 544, "Imax- 9,09 A"},
                       {304, 552, "ВВГ   2 x 2,5 кв.мм"},
                       {304, 560, "Umin - 224 в."},
                       {304, 504, "ВА47 - 10 A"}}}),
    [](const auto& info) { return "step" + std::to_string(info.param.step); });

TEST_F(GeneralScheme, EveryGroupLineOfEveryPanelIsDrawnOnItsBus) {
    TGrsed* sw = AddSwitchboard(1);
    Direct(sw, 1, 3);
    Direct(sw, 2, 2);
    Draw(0);
    // Panel 2 at XP = 320, YP = 620; panel 1 at XP = 160, YP = 780: each group's top S apart,
    // with its junction dot.
    const std::vector<PlacedText> texts = Texts();
    for (const PlacedText& t : {PlacedText{328, 676, "Гр- 2.1"}, PlacedText{488, 676, "Гр- 2.2"},
                                PlacedText{168, 836, "Гр- 1.1"}, PlacedText{328, 836, "Гр- 1.2"},
                                PlacedText{488, 836, "Гр- 1.3"}})
        EXPECT_TRUE(Has(texts, t)) << t;
    EXPECT_EQ(Count(texts, "Гр- "), 5);
    for (int x : {320, 480}) EXPECT_TRUE(HasDot(Ops(), x, 620)) << x;
    for (int x : {160, 320, 480}) EXPECT_TRUE(HasDot(Ops(), x, 780)) << x;
}

// ---------------------------------------------------------------------------------------------
// Damaged feeds

TEST_F(GeneralScheme, BranchingOrCyclicFeedsDrawEachPanelOnceAndEnd) {
    struct Case {
        const char* what;
        std::function<void(TGrsed*)> build;
        std::vector<std::pair<int, int>> captions;  // panel number, its "Щит№ " captions
        int groupLines;                             // one group each panel drawn
    };
    const std::vector<Case> cases = {
        // Panels 2 and 3 both fed from 1: walking back from the last panel, 3 is met first.
        {"two panels fed from one",
         [this](TGrsed* sw) {
             Head(sw, 1, 1);
             Member(sw, 2, 1, 1, 1);
             Member(sw, 3, 1, 1, 1);
         },
         {{1, 1}, {2, 0}, {3, 1}},
         2},
        // A damaged file with two panels numbered 2: 1 feeds 2, 2 feeds 3, 3 feeds the second 2,
        // which by its number feeds 3 again; panel 5 feeds itself and hangs on nothing drawn.
        {"a feed that runs back on itself",
         [this](TGrsed* sw) {
             Head(sw, 1, 1);
             Member(sw, 2, 1, 1, 1);
             Member(sw, 3, 2, 1, 1);
             Member(sw, 2, 3, 1, 1);
             Member(sw, 5, 5, 1, 1);
         },
         {{1, 1}, {2, 2}, {3, 1}, {5, 0}},
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewProject();
        TGrsed* sw = AddSwitchboard(1);
        c.build(sw);
        Draw(0);
        ASSERT_EQ(Form2->PictureKind(), GeneralSchemePicture);
        const std::vector<PlacedText> texts = Texts();
        for (const auto& [number, captions] : c.captions)
            EXPECT_EQ(Count(texts, "Щит№ " + std::to_string(number)), captions) << number;
        EXPECT_EQ(Count(texts, "Гр- "), c.groupLines);
    }
}
