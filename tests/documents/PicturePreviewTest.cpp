// The preview of the scheme window's picture, started from the main toolbar: its used sheets in
// the order of their numbers, the title on the first, "Лист № " on each when there are several;
// and the preview window as the user meets it: zoom, resize, its pop-up menu, closing.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "DocumentsFixture.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "documents/Kabj2.h"
#include "documents/Preview.h"
#include "drawings/DrawingState.h"
#include "platform/Bitmap.h"
#include "platform/Image.h"

using platform::CanvasOpKind;
using platform::Rect;

class PicturePreview : public DocumentsTest {
protected:
    // A picture of 2 x 2 sheets of 900 x 1200 px whose used sheets were numbered out of grid
    // order: (row 0, column 1) first, (1, 0) second, (0, 0) third; (1, 1) unused.
    void DrawnPicture(int pictureKind) {
        Form2->ShowOverMainWindow();
        Form2->NewPicture()->SetTag(pictureKind);
        Form1->PictureBitmap = std::make_unique<platform::TBitmap>();
        Form1->PictureBitmap->SetSize(1800, 2400);
        int width = 1800;
        int height = 2400;
        Form1->ResetSheetCounters();
        Form1->LaySheets(900, 1200, width, &height);
        Form1->MarkSheet(0, 1);
        Form1->MarkSheet(1, 0);
        Form1->MarkSheet(0, 0);
        Form1->SheetPageCount = Form1->CountUsedSheets();
    }
    // One used sheet only.
    void OneSheetPicture(int pictureKind) {
        DrawnPicture(pictureKind);
        Form1->PrintSheets[1][0] = TSheetCell{};
        Form1->PrintSheets[0][0] = TSheetCell{};
        Form1->SheetPageCount = Form1->CountUsedSheets();
    }
};

TEST_F(PicturePreview, ShowsTheSheetsInTheOrderOfTheirNumbers) {
    DrawnPicture(GeneralSchemePicture);
    Form1->DocumentKind = CableJournalDocument;
    Form1->PreviewZoom = 1;
    Form1->ToolButton43->trigger();

    EXPECT_EQ(Form1->DocumentKind, SchemePictureDocument);
    EXPECT_EQ(Form1->PreviewZoom, 0);
    EXPECT_EQ(Form1->ToolButton44->property("ImageIndex").toInt(), 121);
    ASSERT_NE(Form7->PageImage, nullptr);
    // Three pages: trunc(3 x 1035.29) = 3105 px.
    EXPECT_EQ(Form7->PageImage->Picture().Height(), 3105);
    EXPECT_EQ(Form7->PageImage->Picture().Width(), 800);

    const auto& ops = PageOps();
    const auto copies = OpsOf(ops, CanvasOpKind::CopyRect);
    ASSERT_EQ(copies.size(), 3u);
    // Page k in (10, trunc((k - 1) x H + 12), 790, trunc(k x H - 12)), H = 1035.29.
    EXPECT_EQ(copies[0].SourceRect, Rect(900, 0, 1800, 1200));
    EXPECT_EQ(copies[0].Rect, Rect(10, 12, 790, 1023));
    EXPECT_EQ(copies[1].SourceRect, Rect(0, 1200, 900, 2400));
    EXPECT_EQ(copies[1].Rect, Rect(10, 1047, 790, 2058));
    EXPECT_EQ(copies[2].SourceRect, Rect(0, 0, 900, 1200));
    EXPECT_EQ(copies[2].Rect, Rect(10, 2082, 790, 3093));

    std::vector<std::pair<platform::TPoint, std::string>> texts;
    for (const auto& op : OpsOf(ops, CanvasOpKind::TextOut))
        texts.emplace_back(op.Points[0], op.Text);
    const std::vector<std::pair<platform::TPoint, std::string>> expected = {
        {{200, 30}, "Электрическая схема распределительной сети."},
        {{20, 20}, "Лист № 1"},
        {{20, 1055}, "Лист № 2"},
        {{20, 2090}, "Лист № 3"},
    };
    EXPECT_EQ(texts, expected);
    // The title at 14 points, the labels at 8.
    EXPECT_EQ(OpsOf(ops, CanvasOpKind::TextOut)[0].Font.Size(), 14);
    EXPECT_EQ(OpsOf(ops, CanvasOpKind::TextOut)[1].Font.Size(), 8);

    const auto lines = OpsOf(ops, CanvasOpKind::LineTo);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Points[0].Y, 1035);
    EXPECT_EQ(lines[1].Points[0].Y, 2070);
    EXPECT_EQ(lines[1].Pen.Color(), TForm7::kColour);
}

TEST_F(PicturePreview, OneSheetHasTheTitleOfItsPictureAndNoLabel) {
    struct Case {
        int pictureKind;
        std::string title;
    };
    for (const Case& c : {Case{PanelDiagramPicture, "Однолинейная схема щита."},
                          Case{PanelPhasingPicture, "Схема распределения нагрузок."}}) {
        OneSheetPicture(c.pictureKind);
        Form1->ToolButton43->trigger();
        const auto texts = OpsOf(PageOps(), CanvasOpKind::TextOut);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].Text, c.title);
        EXPECT_EQ(Form7->PageImage->Picture().Height(), 1035);
    }
}

TEST_F(PicturePreview, NeedsTheSchemeWindowWithAPicture) {
    Form1->ToolButton43->trigger();
    EXPECT_TRUE(Form7->isHidden());
    Form2->ShowOverMainWindow();
    Form1->ToolButton43->trigger();
    EXPECT_TRUE(Form7->isHidden());
    EXPECT_EQ(Form1->DocumentKind, NoDocument);
}

TEST_F(PicturePreview, ZoomAndResizeFitThePagesAgainCentred) {
    DrawnPicture(GeneralSchemePicture);
    Form1->resize(1024, 700);
    Form1->ToolButton43->trigger();
    ASSERT_NE(Form7->PageImage, nullptr);
    // Centred 10 px left of the middle of the main window's width: 512 - 400 - 10.
    EXPECT_EQ(Form7->PageImage->pos(), QPoint(102, 5));

    struct Step {
        const char* what;
        int zoom;
        int image;
        int width;
        int height;
        int left;
    };
    // Reduced: 670 px wide, trunc(3 x 670 x 22 / 17) = 2601 px high, left 512 - 335 - 10.
    // A resize keeps the zoom it finds.
    const Step steps[] = {
        {"zoom", 1, 119, 670, 2601, 167},   {"resize", 1, 119, 670, 2601, 167},
        {"resize", 1, 119, 670, 2601, 167}, {"zoom", 0, 121, 800, 3105, 102},
        {"resize", 0, 121, 800, 3105, 102},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (std::string(step.what) == "zoom") {
            Form1->ToolButton44->trigger();
        } else {
            QResizeEvent resize(Form1->size(), QSize(900, 600));
            QCoreApplication::sendEvent(Form1, &resize);
        }
        EXPECT_EQ(Form1->PreviewZoom, step.zoom);
        EXPECT_EQ(Form1->ToolButton44->property("ImageIndex").toInt(), step.image);
        ASSERT_NE(Form7->PageImage, nullptr);
        EXPECT_EQ(Form7->PageImage->Picture().Width(), step.width);
        EXPECT_EQ(Form7->PageImage->Picture().Height(), step.height);
        EXPECT_EQ(Form7->PageImage->pos(), QPoint(step.left, 5));
        // The whole of the kept pages is fitted into the image.
        const auto copies = OpsOf(PageOps(), CanvasOpKind::CopyRect);
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(copies[0].SourceRect, Rect(0, 0, 800, 3105));
        EXPECT_EQ(copies[0].Rect, Rect(0, 0, step.width, step.height));
    }
}

TEST_F(PicturePreview, ClosingBringsTheMainToolbarBackAndFreesThePages) {
    DrawnPicture(GeneralSchemePicture);
    Form1->show();
    struct Case {
        const char* how;
        bool toolbarWanted;
    };
    for (const Case& c : {Case{"Закрыть", true}, Case{"Выход", false}, Case{"close box", true}}) {
        SCOPED_TRACE(c.how);
        Form1->N16->setChecked(c.toolbarWanted);
        Form1->ToolButton43->trigger();
        ASSERT_TRUE(Form7->isVisible());
        EXPECT_FALSE(Form1->ControlBar2->isHidden());
        const std::string how = c.how;
        if (how == "Закрыть")
            QTest::mouseClick(Form1->BitBtn1, Qt::LeftButton);
        else if (how == "Выход")
            Form7->N4->trigger();
        else
            Form7->Frame()->close();
        EXPECT_FALSE(Form7->isVisible());
        EXPECT_TRUE(Form1->ControlBar2->isHidden());
        EXPECT_EQ(Form1->ControlBar1->isHidden(), !c.toolbarWanted);
        EXPECT_FALSE(Form8->PageBitmap);
        // The scheme window is in front again.
        EXPECT_TRUE(Form2->isVisible());
    }
}

TEST_F(PicturePreview, RightClickOffersPrintAndExit) {
    DrawnPicture(GeneralSchemePicture);
    Form1->show();
    Form1->ToolButton43->trigger();
    QWidget* target = Form7->PageImage;
    QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_TRUE(Form7->PopupMenu1->isVisible());
    const QList<QAction*> items = Form7->PopupMenu1->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text().toStdString(), "Печать");
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text().toStdString(), "Выход");
    Form7->PopupMenu1->hide();

    // "Печать" prints the shown document: the print dialog for its three pages, cancelled.
    responder_.ExpectModal("QPrintDialog", [](QDialog&) { return platform::mrCancel; });
    Form7->N3->trigger();
    responder_.VerifyDone();
    EXPECT_TRUE(printer_.Jobs().empty());
}

TEST_F(PicturePreview, ANarrowWindowShowsThePageFromItsLeftEdge) {
    DrawnPicture(GeneralSchemePicture);
    Form1->show();
    Form1->resize(600, 700);
    Form1->ToolButton43->trigger();
    ASSERT_NE(Form7->PageImage, nullptr);
    // 300 - 400 - 10 would put the page's left 110 px out of reach: it starts at the edge, and
    // the window scrolls across the whole 800 px.
    EXPECT_EQ(Form7->PageImage->pos(), QPoint(0, 5));
    auto* area = Form7->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    QCoreApplication::processEvents();
    QScrollBar& across = *area->horizontalScrollBar();
    across.setValue(across.maximum());
    const QPoint right = Form7->PageImage->mapTo(area->viewport(), QPoint(799, 0));
    EXPECT_LT(right.x(), area->viewport()->width());
}
