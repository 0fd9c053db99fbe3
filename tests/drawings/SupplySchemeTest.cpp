// The supply network schematic: the command asks for the switchboard and stacks the sheets in the
// preview; each sheet is checked on its recorded operations, worked out from the fixed layout.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "DrawingFixture.h"
#include "app/Mainform.h"
#include "documents/Kabj2.h"
#include "documents/Preview.h"
#include "drawings/DrawingState.h"
#include "drawings/SupplyScheme.h"
#include "editing/NumberChooser.h"
#include "model/Classd.h"
#include "platform/Bitmap.h"
#include "platform/Image.h"

using platform::CanvasOp;
using platform::CanvasOpKind;
using platform::Rect;

namespace {

bool HasText(const std::vector<CanvasOp>& ops, int x, int y, const std::string& text) {
    const std::vector<PlacedText> texts = TextsOf(ops);
    return std::find(texts.begin(), texts.end(), PlacedText{x, y, text}) != texts.end();
}

bool HasLine(const std::vector<CanvasOp>& ops, DrawnLine line) {
    const std::vector<DrawnLine> lines = LinesOf(ops);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The text drawn at (x, y); null when none.
const CanvasOp* TextAt(const std::vector<CanvasOp>& ops, int x, int y) {
    for (const CanvasOp& op : ops)
        if (op.Kind == CanvasOpKind::TextOut && op.Points[0] == platform::TPoint{x, y}) return &op;
    return nullptr;
}

// Lines at that y, each from its start to its end x.
std::vector<std::pair<int, int>> LinesAtY(const std::vector<CanvasOp>& ops, int y) {
    std::vector<std::pair<int, int>> out;
    for (const DrawnLine& l : LinesOf(ops))
        if (l.y1 == y && l.y2 == y) out.emplace_back(l.x1, l.x2);
    return out;
}

}  // namespace

class SupplyScheme : public DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        ProjectRoot->TransformerName = "ТМГ-630";
    }

    // A switchboard of `count` plain panels numbered from `first`, without load.
    TGrsed* SwitchboardWithPanels(int number, int count, int first = 1) {
        TGrsed* sw = AddSwitchboard(number);
        for (int i = 0; i < count; ++i) AddPanel(sw, first + i);
        return sw;
    }
    std::vector<TSitid*> Panels(TGrsed* sw) {
        std::vector<TSitid*> panels;
        for (TSitid* p = sw->Panels.First; p != nullptr; p = p->Panels.Next) panels.push_back(p);
        return panels;
    }

    // One sheet of the current switchboard's schematic, as recorded.
    std::vector<CanvasOp> Sheet(TGrsed* sw, int panelsOnSheet, int sheetNumber, bool several) {
        ProjectRoot->Switchboards.Cursor = sw;
        platform::TBitmap sheet;
        Form1->DrawSupplyNetworkSheet(&sheet, panelsOnSheet, sheetNumber, sw->SwitchboardNumber,
                                      several);
        EXPECT_EQ(sheet.Width(), 800);
        EXPECT_EQ(sheet.Height(), 1035);
        return sheet.Canvas()->Recorder()->Ops();
    }

    // The number chooser answered by picking item `item` with the keyboard.
    void ChooseItem(int item, const std::string& typed = "") {
        responder_.ExpectModal("TForm9", [item, typed](QDialog&) {
            QComboBox& list = *Form9->ComboBox1;
            EXPECT_EQ(Form9->windowTitle().toStdString(), "Грщ №");
            for (int i = 0; i <= item; ++i) QTest::keyClick(&list, Qt::Key_Down);
            if (!typed.empty()) {
                // A number typed into the chooser's edit field.
                list.setEditable(true);
                list.setEditText(QString::fromStdString(typed));
            }
            return platform::mrOk;
        });
    }

    const std::vector<CanvasOp>& PageOps() const {
        static const std::vector<CanvasOp> none;
        if (Form7->PageImage == nullptr) return none;
        const auto* recorder = Form7->PageImage->Picture().Canvas()->Recorder();
        return recorder != nullptr ? recorder->Ops() : none;
    }
};

TEST_F(SupplyScheme, PutsSixPanelsOnASheet) {
    struct Case {
        int panels;
        std::vector<int> sheets;
    };
    const Case cases[] = {{0, {0}}, {1, {1}}, {6, {6}}, {7, {6, 1}}, {12, {6, 6}}, {13, {6, 6, 1}}};
    for (const Case& c : cases) EXPECT_EQ(SupplySchemeSheets(c.panels), c.sheets) << c.panels;
}

TEST_F(SupplyScheme, SevenPanelsGiveTwoLabelledSheetsInThePreview) {
    SwitchboardWithPanels(1, 1, 100);
    TGrsed* second = SwitchboardWithPanels(2, 7);
    Form1->PreviewZoom = 1;
    ChooseItem(1);
    Form1->N66->trigger();
    responder_.VerifyDone();

    EXPECT_EQ(Form1->DocumentKind, SupplySchemeDocument);
    EXPECT_EQ(Form1->PreviewZoom, 0);
    EXPECT_EQ(Form1->SupplySchemeSwitchboard, 2);
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), second);
    EXPECT_EQ(Form7->windowTitle().toStdString(), "Принципиальная схема питающей сети(Грщ. № 2)");
    EXPECT_FALSE(Form7->isHidden());
    EXPECT_EQ(Form1->SchematicPageCount, 2);
    ASSERT_NE(Form7->PageImage, nullptr);
    EXPECT_EQ(Form7->PageImage->Picture().Width(), 800);
    EXPECT_EQ(Form7->PageImage->Picture().Height(), 2070);
    ASSERT_TRUE(Form8->PageBitmap);
    EXPECT_EQ(Form8->PageBitmap->Height(), 2070);

    // Sheet s to (0, trunc(s x 1035.29 + 10)) - (800, trunc((s + 1) x 1035.29 + 10)); the gap
    // at trunc(1035.29 + 5).
    const auto copies = OpsOf(PageOps(), CanvasOpKind::CopyRect);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].Rect, Rect(0, 10, 800, 1045));
    EXPECT_EQ(copies[1].Rect, Rect(0, 1045, 800, 2080));
    EXPECT_EQ(copies[1].SourceRect, Rect(0, 0, 800, 1035));
    const auto lines = LinesOf(PageOps());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], (DrawnLine{0, 1040, 800, 1040}));

    // Each sheet's "Лист № " label stands at (20, 20) of its sheet, 10 px lower on the page.
    platform::TCanvas& page = *Form7->PageImage->Picture().Canvas();
    auto inked = [&page](int top) {
        for (int y = top; y < top + 14; ++y)
            for (int x = 20; x < 70; ++x)
                if (page.Pixels(x, y) == platform::clBlack) return true;
        return false;
    };
    EXPECT_TRUE(inked(30));
    EXPECT_TRUE(inked(1045 + 20));
}

TEST_F(SupplyScheme, SixPanelsGiveOneSheetWithoutLabel) {
    SwitchboardWithPanels(1, 6);
    ChooseItem(0);
    Form1->N66->trigger();
    EXPECT_EQ(Form1->SchematicPageCount, 1);
    ASSERT_NE(Form7->PageImage, nullptr);
    EXPECT_EQ(Form7->PageImage->Picture().Height(), 1035);
    EXPECT_TRUE(LinesOf(PageOps()).empty());
    platform::TCanvas& page = *Form7->PageImage->Picture().Canvas();
    for (int y = 30; y < 44; ++y)
        for (int x = 20; x < 70; ++x) ASSERT_EQ(page.Pixels(x, y), platform::clWhite);

    const auto ops = Sheet(ProjectRoot->Switchboards.First, 6, 1, false);
    ASSERT_NE(TextAt(ops, 20, 20), nullptr);
    EXPECT_EQ(TextAt(ops, 20, 20)->Text, "");
    const auto later = Sheet(ProjectRoot->Switchboards.First, 6, 2, true);
    ASSERT_NE(TextAt(later, 20, 20), nullptr);
    EXPECT_EQ(TextAt(later, 20, 20)->Text, "Лист № 2");
}

TEST_F(SupplyScheme, DrawsNothingWithoutAChosenSwitchboard) {
    SwitchboardWithPanels(1, 2);
    struct Case {
        const char* name;
        int item;  // -1: nothing picked
        std::string typed;
    };
    for (const Case& c :
         {Case{"nothing picked", -1, ""}, Case{"a number naming no switchboard", 0, "9"}}) {
        SCOPED_TRACE(c.name);
        Form1->DocumentKind = CableJournalDocument;
        ChooseItem(c.item, c.typed);
        Form1->N66->trigger();
        responder_.VerifyDone();
        EXPECT_EQ(Form1->DocumentKind, SupplySchemeDocument);
        EXPECT_TRUE(Form7->isHidden());
        EXPECT_EQ(Form7->PageImage, nullptr);
        Form9->ComboBox1->setEditable(false);
    }
}

TEST_F(SupplyScheme, ASwitchboardWithoutPanelsHasItsNodeAtTheFirstColumn) {
    TGrsed* sw = AddSwitchboard(3);
    sw->SwitchboardBreakerType = "ВА88";
    const auto ops = Sheet(sw, 0, 1, false);

    EXPECT_TRUE(HasText(ops, 150, 25, "Принципиальная схема питающей сети(Грщ. № 3)"));
    EXPECT_EQ(TextAt(ops, 150, 25)->Font.Size(), 14);
    // Without panels D = 70: the switchboard at 70 / 2 + 285 = 320.
    EXPECT_TRUE(HasText(ops, 320, 418, "ВА88"));
    EXPECT_TRUE(HasText(ops, 320, 133, "ВА88"));
    EXPECT_TRUE(HasText(ops, 288, 448, "Грщ-3"));
    EXPECT_TRUE(HasText(ops, 355, 433, "Pуст-0 кВт"));
    EXPECT_TRUE(HasText(ops, 355, 448, "Pрас-0 кВт"));
    EXPECT_TRUE(HasLine(ops, {320, 465, 300, 465}));
    EXPECT_TRUE(HasLine(ops, {320, 465, 340, 465}));
    EXPECT_TRUE(HasLine(ops, {320, 465, 320, 445}));
    // The source bus from 305 to 335; "~400/230" at ((70 - 110) / 2 + 315, 80), the transformer
    // at ((70 - 15) / 2 + 335, 80).
    EXPECT_EQ(LinesAtY(ops, 100), (std::vector<std::pair<int, int>>{{320, 305}, {320, 335}}));
    EXPECT_TRUE(HasText(ops, 295, 80, "~400/230"));
    EXPECT_TRUE(HasText(ops, 362, 80, "ТМГ-630"));
    // No feeder labels without a feeder section, and no band lines right of the legend.
    EXPECT_EQ(TextAt(ops, 305, 368), nullptr);
    for (int y : {830, 863, 896, 931})
        for (const auto& [x1, x2] : LinesAtY(ops, y)) EXPECT_LE(std::max(x1, x2), 284) << y;
}

TEST_F(SupplyScheme, LabelsCablesWithUpwardTextsAtTheirAnchors) {
    TGrsed* sw = AddSwitchboard(1);
    sw->SwitchboardCableName = "Л1";
    sw->SwitchboardSection = 95;
    sw->SwitchboardNeutralSection = 50;
    sw->SwitchboardDesignPower = 80.26;
    sw->SwitchboardInstalledPower = 100.04;
    sw->SwitchboardCosPhiA = 0.9;
    sw->SwitchboardCosPhiB = 0.92;
    sw->SwitchboardCosPhiC = 0.88;
    sw->SwitchboardDesignCurrent = 130.5;
    sw->SwitchboardFeederLength = 120;
    sw->SwitchboardLossA = 2.1;
    sw->SwitchboardLossB = 2.4;
    sw->SwitchboardLossC = 1.9;
    sw->SwitchboardCableBrand = "АВВГ";
    sw->SwitchboardLaying = "В земле";
    sw->SwitchboardBreakerType = "ВА88";
    sw->SwitchboardBreakerRating = 160;
    sw->SwitchboardInputRating = 200;
    TSitid* p = AddPanel(sw, 5);
    p->FeederCableName = "1-5";
    p->DesignPower = 12.34;
    p->CascadePower = 12.34;
    p->PanelCosPhi = 0.85;
    p->OwnDesignCurrent = 21.5;
    p->FeederLength = 40;
    p->LossPartSum = 1.2;
    p->FeederCableBrand = "ВВГ";
    p->FeederSection = 10;
    p->FeederNeutralSection = 6;
    p->FeederLayingMethod = "Четыре провода в трубе";
    p->MaxVoltageLoss = 3.4;
    p->PanelBreakerType = "ВА47";
    p->PanelBreakerRating = 25;
    p->FeederBreakerRating = 32;
    const auto ops = Sheet(sw, 1, 1, false);

    struct Expected {
        int x;
        int y;
        std::string text;
        int height;  // of the upward font; 0 for a horizontal text
    };
    // The panel at X = 320: line 1 at X - 15, line 2 at X; the moment 12.3 x 40 = 492. The
    // switchboard at S = 320: its labels at S - 15 and S, the moment 80.3 x 120 = 9636, the
    // largest cos phi 0.92 and loss 2.4. Legend lines at x 110 ... 200 from y 391 and 756, in
    // the 10-point height -13.
    const Expected expected[] = {
        {305, 733, "1-5-12,3-0,85-21,5-40", -11},
        {320, 753, "492-1,2-ВВГ 3x10+1x6-В трубе", -11},
        {305, 368, "Л1-80,3-0,92-130,5-120", -11},
        {320, 388, "9636-2,4-АВВГ 3x95+1x50-В земле", -11},
        {110, 391, "Маркировка - расчетная нагрузка,", -13},
        {200, 756, "проводника - способ прокладки.", -13},
        {55, 403, "Распределительный пункт, номер,", 0},
        {320, 480, "ВА47", 0},
        {330, 495, "32", 0},
        {320, 778, "ВА47", 0},
        {330, 793, "25", 0},
        {290, 847, "Щит-5", 0},
        {290, 871, "12,3", 0},
        {290, 904, "3,4", 0},
        {320, 418, "ВА88", 0},
        {330, 433, "160", 0},
        {330, 148, "200", 0},
        {355, 433, "Pуст-100 кВт", 0},
        {355, 448, "Pрас-80,3 кВт", 0},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.text);
        const CanvasOp* text = TextAt(ops, e.x, e.y);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->Text, e.text);
        if (e.height != 0) {
            EXPECT_EQ(text->Font.Orientation(), 900);
            EXPECT_EQ(text->Font.Height(), e.height);
            EXPECT_EQ(text->Font.Name(), "Tahoma");
        } else {
            EXPECT_EQ(text->Font.Orientation(), 0);
        }
    }
}

TEST_F(SupplyScheme, APanelWithoutDesignPowerShowsNeitherPowerNorLoss) {
    TGrsed* sw = AddSwitchboard(1);
    TSitid* p = AddPanel(sw, 4);
    // 0.04 kW rounds to 0.0.
    p->DesignPower = 0.04;
    p->MaxVoltageLoss = 1.5;
    const auto ops = Sheet(sw, 1, 1, false);
    EXPECT_TRUE(HasText(ops, 290, 847, "Щит-4"));
    EXPECT_EQ(TextAt(ops, 290, 871), nullptr);
    EXPECT_EQ(TextAt(ops, 290, 904), nullptr);
}

TEST_F(SupplyScheme, BusBarsAreFilled) {
    TGrsed* sw = SwitchboardWithPanels(1, 2);
    ProjectRoot->Switchboards.Cursor = sw;
    platform::TBitmap sheet;
    Form1->DrawSupplyNetworkSheet(&sheet, 2, 1, 1, false);
    const auto rectangles = OpsOf(sheet.Canvas()->Recorder()->Ops(), CanvasOpKind::Rectangle);
    // The legend box, then the bars of the columns at 320 and 390.
    ASSERT_EQ(rectangles.size(), 3u);
    EXPECT_EQ(rectangles[1].Rect, Rect(310, 818, 330, 826));
    EXPECT_EQ(rectangles[2].Rect, Rect(380, 818, 400, 826));
    EXPECT_EQ(rectangles[2].Brush.Color(), platform::clBlack);
    EXPECT_EQ(rectangles[2].Brush.Style(), platform::bsSolid);
    platform::TCanvas& pixels = *sheet.Canvas();
    EXPECT_EQ(pixels.Pixels(395, 822), platform::clBlack);
    // The bar's bottom edge is left out.
    EXPECT_EQ(pixels.Pixels(395, 825), platform::clBlack);
    EXPECT_EQ(pixels.Pixels(395, 826), platform::clWhite);
    // The junction dot on the switchboard bus.
    EXPECT_EQ(pixels.Pixels(389, 464), platform::clBlack);
}

TEST_F(SupplyScheme, ACascadeRunsOnToTheNextSheet) {
    TGrsed* sw = SwitchboardWithPanels(1, 7);
    const std::vector<TSitid*> p = Panels(sw);
    // Panel 4 heads a cascade feeding 5, 6 and 7 in turn.
    p[3]->FedFromSwitchboard = 1;
    for (int i = 4; i < 7; ++i) {
        p[i]->FedFromPanel = 1;
        p[i]->FeedingPanelNumber = p[i - 1]->PanelNumber;
        p[i]->CascadeHeadNumber = 4;
    }
    const auto first = Sheet(sw, 6, 1, true);
    // Head at X = 320 + 3 x 70 = 530, i + k = 3 + 3 = 6: the bus runs 70 x (5 - 3) + 35 = 175
    // px; ticks for j = 1 and 2 only.
    EXPECT_EQ(LinesAtY(first, 768), (std::vector<std::pair<int, int>>{{530, 705}}));
    EXPECT_TRUE(HasLine(first, {600, 768, 600, 778}));
    EXPECT_TRUE(HasLine(first, {670, 768, 670, 778}));
    EXPECT_FALSE(HasLine(first, {740, 768, 740, 778}));
    // The members' cables from their feeding panels at X - 35.
    EXPECT_TRUE(HasLine(first, {565, 588, 565, 748}));
    EXPECT_TRUE(HasLine(first, {635, 588, 635, 748}));
    EXPECT_EQ(TextAt(first, 20, 20)->Text, "Лист № 1");
    // The walk left the cursor on panel 7 for the next sheet.
    EXPECT_EQ(sw->Panels.Cursor, p[6]);

    const auto second = Sheet(sw, 1, 2, true);
    EXPECT_EQ(TextAt(second, 20, 20)->Text, "Лист № 2");
    EXPECT_TRUE(HasText(second, 290, 847, "Щит-7"));
    // The cascade arrives from the left: the bus from 295, a tick at the column; the cable at
    // x 310 for the first column.
    EXPECT_TRUE(HasLine(second, {295, 768, 320, 768}));
    EXPECT_TRUE(HasLine(second, {320, 768, 320, 778}));
    EXPECT_TRUE(HasLine(second, {310, 588, 310, 748}));
    EXPECT_EQ(sw->Panels.Cursor, nullptr);
}

TEST_F(SupplyScheme, AnOwnFeedStandsBesideTheSwitchboard) {
    struct Case {
        const char* name;
        int panels;
        int switchboardX;
        std::vector<std::pair<int, int>> sourceBus;
    };
    // The second panel has its own feed, at column 390. Two panels: the middle 70 + 285 = 355 is
    // not it, the switchboard at 140 / 2 + 285 = 355, the source bus to 390 + 15. Three panels:
    // the middle 105 + 285 = 390 is it, the switchboard moves to 105 + 320 = 425, the source bus
    // runs back to 390 - 15 and on to 425 + 15.
    const Case cases[] = {
        {"two panels", 2, 355, {{355, 340}, {355, 405}}},
        {"three panels", 3, 425, {{425, 375}, {425, 440}, {440, 375}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewProject();
        TGrsed* sw = SwitchboardWithPanels(1, c.panels);
        TSitid* own = Panels(sw)[1];
        own->OnTrunk = 1;
        own->FeederCableName = "С2";
        const auto ops = Sheet(sw, c.panels, 1, false);
        EXPECT_EQ(LinesAtY(ops, 100), c.sourceBus);
        EXPECT_TRUE(HasLine(ops, {c.switchboardX, 465, c.switchboardX, 445}));
        // Its cable labels at X - 15 and X + 1, upwards, whatever its load; its source breaker.
        ASSERT_NE(TextAt(ops, 375, 368), nullptr);
        EXPECT_EQ(TextAt(ops, 375, 368)->Text.rfind("С2-0-", 0), 0u);
        EXPECT_EQ(TextAt(ops, 375, 368)->Font.Orientation(), 900);
        ASSERT_NE(TextAt(ops, 391, 388), nullptr);
        EXPECT_TRUE(HasLine(ops, {390, 460, 390, 140}));
        EXPECT_TRUE(HasText(ops, 400, 138, "0"));
    }
}

TEST_F(SupplyScheme, AnOwnFeedAloneOnALaterSheetHasNoSwitchboard) {
    TGrsed* sw = SwitchboardWithPanels(1, 7);
    TSitid* last = Panels(sw)[6];
    last->OnTrunk = 1;
    sw->SwitchboardBreakerType = "ВА88";
    sw->Panels.Cursor = last;
    const auto ops = Sheet(sw, 1, 2, true);
    EXPECT_EQ(TextAt(ops, 320, 418), nullptr);
    EXPECT_EQ(TextAt(ops, 288, 448), nullptr);
    // The closing lines, the short bus and the source bus are drawn.
    EXPECT_TRUE(HasLine(ops, {320, 465, 300, 465}));
    EXPECT_TRUE(HasLine(ops, {284, 931, 355, 931}));
    EXPECT_FALSE(LinesAtY(ops, 100).empty());
}

TEST_F(SupplyScheme, StopsAtTheEndOfAShortChain) {
    TGrsed* sw = SwitchboardWithPanels(1, 2);
    // The count says three panels; the chain holds two.
    sw->PanelCount = 3;
    const auto ops = Sheet(sw, 3, 1, false);
    EXPECT_TRUE(HasText(ops, 290, 847, "Щит-1"));
    EXPECT_TRUE(HasText(ops, 360, 847, "Щит-2"));
    EXPECT_EQ(TextAt(ops, 430, 847), nullptr);
}
