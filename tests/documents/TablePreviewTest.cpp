// The previews of the calculation tables and the cable journals: the painted document cut into
// 1029 px strips, one page each, laid one under the other with the band between them and the
// sheet labels; the painter chosen by the table kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// The last row ends at 181 + 25 x rows; pages = that / 1029 rounded up. The image is
// trunc(pages x 800 x 22 / 17) high: 1035, 2070, 3105, 4141.
const PageCountCase kPageCounts[] = {
    {0, 1, 1035},    // 181
    {33, 1, 1035},   // 1006
    {34, 2, 2070},   // 1031: the last row's bottom 2 px are on page 2
    {36, 2, 2070},   // 1081
    {37, 2, 2070},   // 1106
    {38, 2, 2070},   // 1131
    {79, 3, 3105},   // 2156
    {120, 4, 4141},  // 3181
    {121, 4, 4141},  // 3206
};

}  // namespace

class TablePreview : public DocumentsTest {
protected:
    RowsPainter painter_;
};

TEST_F(TablePreview, HasPagesEnoughForTheLastRow) {
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

// The network table's rows count its heading: R rows end with the line at 180 + 25 x (R - 1),
// 1005 for 34 rows (one page) and 1030 for 35 (its last pixel row on page 2). Its own painter.
TEST_F(TablePreview, TheNetworkTableCountsItsHeadingRowOnce) {
    for (const auto& [rows, pages] : {std::pair{34, 1}, std::pair{35, 2}}) {
        SCOPED_TRACE(rows);
        Form8->PreviewCalcTables(0, rows, "Таблица расчетных данных распределительной сети.", 0,
                                 0);
        EXPECT_EQ(Form8->TablePageCount, pages);
        ASSERT_TRUE(Form8->PageBitmap);
        EXPECT_EQ(Form8->PageBitmap->Height(), pages::ImageHeight(pages));
    }
}

TEST_F(TablePreview, ShowsTheLastRowOnTheLastPage) {
    Form8->CableJournalPainter = &painter_;
    // 120 rows: the last row, filled black, is y 3156 to 3181 of the painted journal, rows 69 to
    // 94 of strip 4 (3087 to 4116). Page 4's content is y 3117 (trunc(3 x 1035.29 + 12)) to 4129
    // (trunc(4 x 1035.29 - 12)), 1012 px for 1029: the row lands at about y 3185 to 3209.
    Form8->PreviewCableJournal(0, 120, "Кабельный журнал (общий). ");
    ASSERT_NE(Form7->PageImage, nullptr);
    platform::TCanvas& page = *Form7->PageImage->Picture().Canvas();
    EXPECT_EQ(page.Pixels(400, 3197), platform::clBlack);
    EXPECT_EQ(page.Pixels(400, 3170), platform::clWhite);
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
    ASSERT_EQ(copies.size(), 2u);
    // Page 1: strip 0-1029 into (10, 12, 790, 1023); page 2: strip 1029-2058 into
    // (10, trunc(1035.29 + 12), 790, trunc(2070.59 - 12)).
    EXPECT_EQ(copies[0].SourceRect, Rect(0, 0, 800, 1029));
    EXPECT_EQ(copies[0].Rect, Rect(10, 12, 790, 1023));
    EXPECT_EQ(copies[1].SourceRect, Rect(0, 1029, 800, 2058));
    EXPECT_EQ(copies[1].Rect, Rect(10, 1047, 790, 2058));

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
    // 181 + 25 x 33 = 1006: one strip.
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
        // 181 + 25 x 40 = 1181: two pages, whichever painter (a kind without one: blank pages).
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
    // A painted picture of 800 x 700000 px would take 560 MB, even at a byte a pixel.
    painter_.forcedHeight = 700000;
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
// bytes a pixel its painted picture (800 x 232,931) and its pages (800 x 235,011) would each take
// about 750 MB; a byte a pixel holds them, and the pages show the same.
TEST_F(TablePreview, TheGeneralJournalOfALargeProjectIsPreviewedWhole) {
    Form8->CableJournalPainter = &painter_;
    Form1->DocumentKind = 2;
    Form8->PreviewCableJournal(0, 9310, "Кабельный журнал (общий). ");
    // 181 + 25 x 9310 = 232,931 px: 227 strips of 1029 (226 x 1029 = 232,554); the image is
    // trunc(227 x 800 x 22 / 17) = trunc(235,011.76) high.
    EXPECT_EQ(Form8->JournalPageCount, 227);
    ASSERT_NE(Form7->PageImage, nullptr);
    EXPECT_FALSE(Form7->isHidden());
    ASSERT_TRUE(Form8->PageBitmap);
    EXPECT_EQ(Form8->PageBitmap->Height(), 235011);
    EXPECT_EQ(Form8->PageBitmap->PixelFormat(), platform::pfGray8);
    platform::TCanvas& page = *Form7->PageImage->Picture().Canvas();
    // The last row, filled black, is y 232,906 to 232,931: rows 352 to 377 of strip 227. Page
    // 227's content starts at trunc(226 x 1035.294 + 12) = 233,988 and is 1011 px high for 1029,
    // so the row lands at about 233,988 + 346 to 233,988 + 370.
    EXPECT_EQ(page.Pixels(400, 234346), platform::clBlack);
    EXPECT_EQ(page.Pixels(400, 234320), platform::clWhite);
    // The band above page 227, at trunc(226 x 1035.294) = 233,976, keeps the window's grey.
    EXPECT_EQ(page.Pixels(400, 233976), TForm7::kColour);

    // Reduced and back to full width from the kept pages.
    for (int width : {670, 800}) {
        Form1->ToolButton44Click();
        ASSERT_NE(Form7->PageImage, nullptr);
        EXPECT_EQ(Form7->PageImage->Picture().Width(), width);
        EXPECT_EQ(Form7->PageImage->Picture().Canvas()->Pixels(width / 2, 5), platform::clWhite);
    }
    EXPECT_EQ(Form7->PageImage->Picture().Canvas()->Pixels(400, 234346), platform::clBlack);
}
