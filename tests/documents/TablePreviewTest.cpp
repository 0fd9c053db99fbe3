// The previews of the calculation tables and the cable journals: the painted document laid out
// in pages of whole rows, each under the heading block, one under the other with the band
// between them and the sheet labels; the painter chosen by the table kind.
#include <gtest/gtest.h>

#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "CanvasOps.h"
#include "DocumentsFixture.h"
#include "app/Mainform.h"
#include "documents/Kabj2.h"
#include "documents/PageGeometry.h"
#include "documents/Preview.h"
#include "platform/Image.h"

using platform::CanvasOpKind;
using platform::Rect;

namespace {

struct PageCountCase {
    int rows;
    int pages;
    int imageHeight;
};

// A page is 1029 px; below the heading (rows from y 181) it holds (1029 - 181) / 25 = 33.9, so 33
// whole rows. The image is trunc(pages x 800 x 22 / 17) high: 1035, 2070, 3105, 4141, 8282.
const PageCountCase kPageCounts[] = {
    {0, 1, 1035},  {1, 1, 1035},   {33, 1, 1035},  {34, 2, 2070},  {66, 2, 2070},  {67, 3, 3105},
    {99, 3, 3105}, {100, 4, 4141}, {132, 4, 4141}, {133, 5, 5176}, {253, 8, 8282},
};

// RowsPainter's document with a mark in its title (y 50) and one in its heading block (y 140).
class HeadedRowsPainter : public RowsPainter {
public:
    void Paint(platform::TBitmap& page, const PageRequest& request) override {
        RowsPainter::Paint(page, request);
        platform::TCanvas& canvas = *page.Canvas();
        canvas.Brush.SetColor(platform::clBlack);
        canvas.FillRect(Rect(0, 48, 800, 53));
        canvas.FillRect(Rect(0, 138, 800, 143));
    }
};

// Whether any pixel of the rows from `top` to `bottom` (exclusive) at x 400 is black.
bool BlackBetween(platform::TCanvas& canvas, int top, int bottom) {
    for (int y = top; y < bottom; ++y)
        if (canvas.Pixels(400, y) == platform::clBlack) return true;
    return false;
}

}  // namespace

class TablePreview : public DocumentsTest {
protected:
    RowsPainter painter_;
};

TEST_F(TablePreview, HasPagesOfThirtyThreeRows) {
    Form8->CableJournalPainter = &painter_;
    for (const PageCountCase& c : kPageCounts) {
        SCOPED_TRACE(c.rows);
        EXPECT_EQ(pages::TablePageCount(c.rows), c.pages);
        Form8->PreviewCableJournal(0, c.rows, "Кабельный журнал (общий). ");
        EXPECT_EQ(Form8->JournalPageCount, c.pages);
        ASSERT_NE(Form7->PageImage, nullptr);
        EXPECT_EQ(Form7->PageImage->Picture().Height(), c.imageHeight);
        ASSERT_TRUE(Form8->PageBitmap);
        EXPECT_EQ(Form8->PageBitmap->Height(), c.imageHeight);
        EXPECT_EQ(Form8->PageBitmap->Width(), 800);
    }
}

// 70 rows: rows 0 to 32 on page 1, 33 to 65 on page 2, 66 to 69 on page 3. Page 1 shows the
// picture from its top (title and heading block) to the bottom line of row 32 (181 + 33 x 25 =
// 1006); every later page the heading block (y 100 to 181) and then its rows from the place of
// the first row.
TEST_F(TablePreview, EveryPageHoldsWholeRowsUnderTheHeadingBlock) {
    struct Band {
        platform::TRect source;
        int pageTop;
    };
    struct Case {
        int page, rows, first, count;
        std::vector<Band> bands;
    };
    const Case cases[] = {
        {1, 70, 0, 33, {{Rect(0, 0, 800, 181), 0}, {Rect(0, 181, 800, 1006), 181}}},
        {2, 70, 33, 33, {{Rect(0, 100, 800, 181), 100}, {Rect(0, 1006, 800, 1831), 181}}},
        {3, 70, 66, 4, {{Rect(0, 100, 800, 181), 100}, {Rect(0, 1831, 800, 1931), 181}}},
        // No rows: the title and the heading alone.
        {1, 0, 0, 0, {{Rect(0, 0, 800, 181), 0}}},
        // 34 rows: the last one alone on page 2.
        {2, 34, 33, 1, {{Rect(0, 100, 800, 181), 100}, {Rect(0, 1006, 800, 1031), 181}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page * 1000 + c.rows);
        EXPECT_EQ(pages::FirstRowOfPage(c.page), c.first);
        EXPECT_EQ(pages::RowsOnPage(c.page, c.rows), c.count);
        const std::vector<pages::TableBand> bands = pages::TablePageBands(c.page, c.rows);
        ASSERT_EQ(bands.size(), c.bands.size());
        for (std::size_t b = 0; b < bands.size(); ++b) {
            EXPECT_EQ(bands[b].source, c.bands[b].source);
            EXPECT_EQ(bands[b].pageTop, c.bands[b].pageTop);
        }
    }
}

// The network table's rows count its heading: R rows are R - 1 data rows, 33 (one page) for 34
// and 34 (two pages) for 35. Its own painter.
TEST_F(TablePreview, TheNetworkTableCountsItsHeadingRowOnce) {
    for (const auto& [rows, pages] : {std::pair{34, 1}, std::pair{35, 2}}) {
        SCOPED_TRACE(rows);
        Form8->PreviewCalcTables(0, rows, "Таблица расчетных данных распределительной сети.", 0, 0);
        EXPECT_EQ(Form8->TablePageCount, pages);
        ASSERT_TRUE(Form8->PageBitmap);
        EXPECT_EQ(Form8->PageBitmap->Height(), pages::ImageHeight(pages));
    }
}

TEST_F(TablePreview, ShowsTheLastRowOnTheLastPage) {
    Form8->CableJournalPainter = &painter_;
    // 120 rows: page 4 holds rows 99 to 119, the last one, filled black, at y 181 + 20 x 25 = 681
    // to 706 of the page. Page 4's content is y 3117 (trunc(3 x 1035.29 + 12)) to 4129
    // (trunc(4 x 1035.29 - 12)), 1012 px for 1029: the row lands at y 3786 to 3811.
    Form8->PreviewCableJournal(0, 120, "Кабельный журнал (общий). ");
    ASSERT_NE(Form7->PageImage, nullptr);
    platform::TCanvas& page = *Form7->PageImage->Picture().Canvas();
    EXPECT_EQ(page.Pixels(400, 3798), platform::clBlack);
    EXPECT_EQ(page.Pixels(400, 3770), platform::clWhite);
}

// 34 rows: the last row, filled black, is y 1006 to 1031 of the painted picture, across the end
// of a 1029 px page. It goes whole to page 2, under a copy of the heading block and without the
// title; page 1 ends white below row 32.
TEST_F(TablePreview, ARowAcrossAPageEndGoesWholeToTheNextPageUnderTheHeading) {
    HeadedRowsPainter painter;
    Form8->CableJournalPainter = &painter;
    Form8->PreviewCableJournal(0, 34, "Кабельный журнал (общий). ");
    ASSERT_NE(Form7->PageImage, nullptr);
    platform::TCanvas& page = *Form7->PageImage->Picture().Canvas();
    // Page 1: content from y 12, 1011 px for 1029. Title mark at 12 + 48..53 x 1011 / 1029 (59
    // to 64), heading mark at 12 + 138..143 x 1011 / 1029 (147 to 152); below row 32, the page
    // rows 1006 to 1029 land at 1000 to 1023.
    EXPECT_TRUE(BlackBetween(page, 58, 66));
    EXPECT_TRUE(BlackBetween(page, 146, 154));
    EXPECT_FALSE(BlackBetween(page, 1000, 1023));
    // Page 2: content from y 1047, 1011 px. No title mark near 1047 + 49; the heading mark at
    // about 1047 + 137; the black row at page rows 181 to 206, y 1224 to 1249.
    EXPECT_FALSE(BlackBetween(page, 1047, 1140));
    EXPECT_TRUE(BlackBetween(page, 1180, 1190));
    EXPECT_EQ(page.Pixels(400, 1236), platform::clBlack);
    EXPECT_FALSE(BlackBetween(page, 1250, 2058));
}

TEST_F(TablePreview, CutsThirtyEightRowsIntoTwoLabelledPages) {
    Form8->CableJournalPainter = &painter_;
    Form8->TablePageCount = 9;
    // The schematic shown before named its switchboard in the caption.
    Form7->setWindowTitle("Принципиальная схема питающей сети(Грщ. № 1)");
    Form8->PreviewCableJournal(0, 38, "Кабельный журнал (общий). ");
    EXPECT_EQ(Form7->windowTitle().toStdString(), "Предварительный просмотр");

    // One painting of the whole journal, its title with the trailing blank.
    ASSERT_EQ(painter_.requests.size(), 1u);
    EXPECT_EQ(painter_.requests[0].argument, 0);
    EXPECT_EQ(painter_.requests[0].rows, 38);
    EXPECT_EQ(painter_.requests[0].title, "Кабельный журнал (общий). ");

    const auto& ops = PageOps();
    const auto copies = OpsOf(ops, CanvasOpKind::CopyRect);
    ASSERT_EQ(copies.size(), 4u);
    // Page 1's content is (10, 12, 790, 1023), page 2's (10, trunc(1035.29 + 12), 790,
    // trunc(2070.59 - 12)) = (10, 1047, 790, 2058): 1011 px for the 1029 of a page, so page row y
    // lands at top + trunc(y x 1011 / 1029).
    // Page 1: the title and the heading (0 to 181, to 12 + 177), then rows 0 to 32 (181 to 1006,
    // to 12 + 988).
    EXPECT_EQ(copies[0].SourceRect, Rect(0, 0, 800, 181));
    EXPECT_EQ(copies[0].Rect, Rect(10, 12, 790, 189));
    EXPECT_EQ(copies[1].SourceRect, Rect(0, 181, 800, 1006));
    EXPECT_EQ(copies[1].Rect, Rect(10, 189, 790, 1000));
    // Page 2: the heading block (100 to 181, at page rows 100 to 181: 1047 + 98 to 1047 + 177),
    // then rows 33 to 37 (1006 to 1131, at page rows 181 to 306: to 1047 + 300).
    EXPECT_EQ(copies[2].SourceRect, Rect(0, 100, 800, 181));
    EXPECT_EQ(copies[2].Rect, Rect(10, 1145, 790, 1224));
    EXPECT_EQ(copies[3].SourceRect, Rect(0, 1006, 800, 1131));
    EXPECT_EQ(copies[3].Rect, Rect(10, 1224, 790, 1347));

    const auto lines = OpsOf(ops, CanvasOpKind::LineTo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Points, (std::vector<platform::TPoint>{{0, 1035}, {800, 1035}}));
    EXPECT_EQ(lines[0].Pen.Width(), 5);
    EXPECT_EQ(lines[0].Pen.Color(), TForm7::kColour);

    const auto texts = OpsOf(ops, CanvasOpKind::TextOut);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, "Лист № 1");
    EXPECT_EQ(texts[0].Points[0], (platform::TPoint{2, 2}));
    EXPECT_EQ(texts[1].Text, "Лист № 2");
    EXPECT_EQ(texts[1].Points[0], (platform::TPoint{2, 1037}));

    EXPECT_EQ(Form8->JournalPageCount, 2);
    // The other kind's count is left alone.
    EXPECT_EQ(Form8->TablePageCount, 9);
    // Shown in place of the main toolbar's band, with the preview bar.
    EXPECT_FALSE(Form7->isHidden());
    EXPECT_TRUE(Form1->ControlBar1->isHidden());
    EXPECT_FALSE(Form1->ControlBar2->isHidden());
}

TEST_F(TablePreview, OnePageHasNeitherLabelNorBand) {
    Form8->CableJournalPainter = &painter_;
    // 33 rows: one page.
    Form8->PreviewCableJournal(3, 33, "Кабельный журнал (Щит №4)");
    EXPECT_TRUE(OpsOf(PageOps(), CanvasOpKind::TextOut).empty());
    EXPECT_TRUE(OpsOf(PageOps(), CanvasOpKind::LineTo).empty());
    ASSERT_EQ(painter_.requests.size(), 1u);
    EXPECT_EQ(painter_.requests[0].argument, 3);
}

TEST_F(TablePreview, CalculationTablesTakeThePainterOfTheirKind) {
    RowsPainter network;
    RowsPainter consumers;
    Form8->NetworkTablePainter = &network;
    Form8->ConsumerTablePainter = &consumers;
    Form8->JournalPageCount = 7;
    struct Case {
        std::uint8_t kind;
        RowsPainter* painter;
    };
    for (const Case& c : {Case{0, &network}, Case{1, &consumers}, Case{2, nullptr}}) {
        SCOPED_TRACE(int(c.kind));
        network.requests.clear();
        consumers.requests.clear();
        Form8->PreviewCalcTables(0, 40, "Таблица", c.kind, 7);
        // 40 rows (39 for the network table): two pages, whichever painter (a kind without one:
        // blank pages).
        EXPECT_EQ(Form8->TablePageCount, 2);
        EXPECT_EQ(Form8->JournalPageCount, 7);
        EXPECT_EQ(network.requests.size(), c.painter == &network ? 1u : 0u);
        EXPECT_EQ(consumers.requests.size(), c.painter == &consumers ? 1u : 0u);
        if (c.painter != nullptr) {
            ASSERT_EQ(c.painter->requests.size(), 1u);
            EXPECT_EQ(c.painter->requests[0].panelNumber, 7);
            EXPECT_EQ(c.painter->requests[0].title, "Таблица");
        }
        ASSERT_NE(Form7->PageImage, nullptr);
        EXPECT_EQ(Form7->PageImage->Picture().Height(), 2070);
    }
}

TEST_F(TablePreview, ADocumentTooLargeForMemoryIsRefusedWithAMessage) {
    Form8->CableJournalPainter = &painter_;
    Form8->PreviewCableJournal(0, 38, "Кабельный журнал (общий). ");
    ASSERT_FALSE(Form7->isHidden());
    // The painted picture's record reaches its limit: its 38 lines take more than 1000 bytes.
    painter_.byteLimit = 1000;
    responder_.ExpectMessage("Недостаточно памяти для обработки команды.", "Предупреждение",
                             platform::mrOk);
    Form8->PreviewCableJournal(0, 38, "Кабельный журнал (общий). ");
    responder_.VerifyDone();
    // Nothing half built is left, and the main toolbar is back.
    EXPECT_TRUE(Form7->isHidden());
    EXPECT_EQ(Form7->PageImage, nullptr);
    EXPECT_FALSE(Form8->PageBitmap);
    EXPECT_FALSE(Form1->ControlBar1->isHidden());
    EXPECT_TRUE(Form1->ControlBar2->isHidden());
}

// The general journal of a project of 10 switchboards x 30 panels x 30 lines: 9,310 rows. At four
// bytes a pixel its painted picture (800 x 232,941) and its pages (800 x 292,988) would take
// about 750 MB and 940 MB; a byte a pixel holds them, and the pages show the same.
TEST_F(TablePreview, TheGeneralJournalOfALargeProjectIsPreviewedWhole) {
    Form8->CableJournalPainter = &painter_;
    Form1->DocumentKind = 2;
    Form8->PreviewCableJournal(0, 9310, "Кабельный журнал (общий). ");
    // 9,310 / 33 = 282.1: 283 pages, the last with rows 9,306 to 9,309; the image is
    // trunc(283 x 800 x 22 / 17) = trunc(292,988.2) high.
    EXPECT_EQ(Form8->JournalPageCount, 283);
    ASSERT_NE(Form7->PageImage, nullptr);
    EXPECT_FALSE(Form7->isHidden());
    ASSERT_TRUE(Form8->PageBitmap);
    EXPECT_EQ(Form8->PageBitmap->Height(), 292988);
    EXPECT_EQ(Form8->PageBitmap->PixelFormat(), platform::pfGray8);
    platform::TCanvas& page = *Form7->PageImage->Picture().Canvas();
    // The last row, filled black, is at page rows 181 + 3 x 25 = 256 to 281 of page 283, whose
    // content starts at trunc(282 x 1035.294 + 12) = 291,964 and is 1012 px high for 1029: the
    // row lands at 291,964 + 251 to 291,964 + 276.
    EXPECT_EQ(page.Pixels(400, 292228), platform::clBlack);
    EXPECT_EQ(page.Pixels(400, 292200), platform::clWhite);
    // The band above page 283, at trunc(282 x 1035.294) = 291,952, keeps the window's grey.
    EXPECT_EQ(page.Pixels(400, 291952), TForm7::kColour);

    // Reduced and back to full width from the kept pages.
    for (int width : {670, 800}) {
        Form1->ToolButton44Click();
        ASSERT_NE(Form7->PageImage, nullptr);
        EXPECT_EQ(Form7->PageImage->Picture().Width(), width);
        EXPECT_EQ(Form7->PageImage->Picture().Canvas()->Pixels(width / 2, 5), platform::clWhite);
    }
    EXPECT_EQ(Form7->PageImage->Picture().Canvas()->Pixels(400, 292228), platform::clBlack);
}

// The general journal of a project of 40 switchboards x 30 panels x 30 lines: 37,240 rows on
// 1,129 pages. Scrolled to its end with the scroll bar's key, a window tall enough for a page
// shows the whole last page.
TEST_F(TablePreview, TheLastPageOfAVeryLargeJournalIsShownWhenScrolledTo) {
    Form1->resize(1024, 1300);
    Form1->show();
    Form8->CableJournalPainter = &painter_;
    Form1->DocumentKind = 2;
    Form8->PreviewCableJournal(0, 37240, "Кабельный журнал (общий). ");
    // 37,240 / 33 = 1128.5: 1,129 pages, the last with rows 37,224 to 37,239.
    ASSERT_EQ(Form8->JournalPageCount, 1129);
    ASSERT_FALSE(Form7->isHidden());
    auto* area = Form7->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    QScrollBar* down = area->verticalScrollBar();
    down->setFocus();
    QTest::keyClick(down, Qt::Key_End);
    ASSERT_EQ(down->value(), down->maximum());
    const QImage shown = area->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Where the page image stands in the view.
    const QPoint image = Form7->PageImage->mapTo(area->viewport(), QPoint(0, 0));
    // The last page's label at (2, trunc(1128 x 1035.294 + 2)) = (2, 1,167,813), written alone in
    // the page's font: each of its black pixels is black in the view.
    const TextInk label =
        InkOfText(shown, image + QPoint(2, 1167813), platform::TFont(), "Лист № 1129");
    EXPECT_GT(label.ink, 30);
    EXPECT_EQ(label.missing, 0);
    // The last row, filled black: page rows 181 + 15 x 25 = 556 to 581 of the last page, whose
    // content starts at trunc(1128 x 1035.294 + 12) = 1,167,823 and is 1012 px high for 1029.
    const int rowMiddle = 1167823 + (556 + 12) * 1012 / 1029;
    EXPECT_EQ(shown.pixel(image.x() + 400, image.y() + rowMiddle), qRgb(0, 0, 0));
    // Below the row the page is white.
    EXPECT_EQ(shown.pixel(image.x() + 400, image.y() + rowMiddle + 40), qRgb(255, 255, 255));
}
