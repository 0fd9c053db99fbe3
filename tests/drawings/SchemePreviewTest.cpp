// The general scheme drawn on the scheme window, previewed and printed: the preview shows its used
// sheets in the order of their numbers under its title, and the printout gives one upright page
// per sheet.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <string>
#include <vector>

#include "DrawingFixture.h"
#include "app/Mainform.h"
#include "documents/Preview.h"
#include "drawings/DrawingState.h"
#include "editing/NumberChooser.h"
#include "platform/Image.h"
#include "platform/Printer.h"

using platform::CanvasOpKind;
using platform::Rect;

class SchemePreview : public DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        platform::SetPrintBackEnd(&printer_);
    }
    void TearDown() override {
        platform::SetPrintBackEnd(nullptr);
        DrawingTest::TearDown();
    }

    const std::vector<platform::CanvasOp>& PageOps() const {
        return Form7->PageImage->Picture().Canvas()->Recorder()->Ops();
    }

    platform::RecordingPrintBackEnd printer_;
};

TEST_F(SchemePreview, ShowsAndPrintsTheSheetsOfTheGeneralScheme) {
    // At 100 % the picture holds two sheets side by side, 1800 x 1200 px.
    AddTwoPanelSwitchboard();
    Form1->ComboBox1->setCurrentIndex(0);
    Form1->ShowNetworkScheme();
    ASSERT_EQ(Form1->SheetPageCount, 2);
    // The buses end in both sheets of row 0: the left sheet is numbered first.
    ASSERT_EQ(Form1->PrintSheets[0][0].Number, 1);
    ASSERT_EQ(Form1->PrintSheets[0][1].Number, 2);

    Form1->ToolButton43->trigger();
    ASSERT_FALSE(Form7->isHidden());
    ASSERT_NE(Form7->PageImage, nullptr);
    // Two pages: trunc(2 x 800 x 22 / 17) = 2070 px.
    EXPECT_EQ(Form7->PageImage->Picture().Height(), 2070);
    const auto copies = OpsOf(PageOps(), CanvasOpKind::CopyRect);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].SourceRect, Rect(0, 0, 900, 1200));
    EXPECT_EQ(copies[1].SourceRect, Rect(900, 0, 1800, 1200));
    const auto texts = TextsOf(PageOps());
    EXPECT_TRUE(Has(texts, {200, 30, "Электрическая схема распределительной сети."}));
    EXPECT_TRUE(Has(texts, {20, 20, "Лист № 1"}));
    // trunc(1035.29 + 20)
    EXPECT_TRUE(Has(texts, {20, 1055, "Лист № 2"}));

    // "Печать" of the File menu: both sheets, upright, each on a page of its own.
    responder_.ExpectModal("QPrintDialog", [](QDialog& dialog) {
        EXPECT_EQ(static_cast<QPrintDialog&>(dialog).maxPage(), 2);
        return platform::mrOk;
    });
    Form1->Print1->trigger();
    responder_.VerifyDone();
    ASSERT_EQ(printer_.Jobs().size(), 1u);
    const auto& job = printer_.Jobs()[0];
    EXPECT_EQ(job.orientation, platform::TPrinterOrientation::Portrait);
    ASSERT_EQ(job.pages.size(), 2u);
    const platform::TRect sheets[] = {Rect(0, 0, 900, 1200), Rect(900, 0, 1800, 1200)};
    for (int page = 0; page < 2; ++page) {
        const auto printed = OpsOf(job.pages[page], CanvasOpKind::CopyRect);
        ASSERT_EQ(printed.size(), 1u);
        EXPECT_EQ(printed[0].SourceRect, sheets[page]);
        // A 900 x 1200 sheet fitted to the 2000 x 2800 printable area: 2000 x 2666, centred.
        EXPECT_EQ(printed[0].Rect, Rect(0, 67, 2000, 2733));
    }
}

TEST_F(SchemePreview, ThePictureAfterTheSchematicHasThePreviewsOwnCaption) {
    AddTwoPanelSwitchboard();
    Form1->ShowNetworkScheme();
    responder_.ExpectModal("TForm9", [](QDialog&) {
        QTest::keyClick(Form9->ComboBox1, Qt::Key_Down);
        return platform::mrOk;
    });
    Form1->N66->trigger();
    responder_.VerifyDone();
    EXPECT_EQ(Form7->windowTitle().toStdString(), "Принципиальная схема питающей сети(Грщ. № 1)");

    Form1->ToolButton43->trigger();
    EXPECT_EQ(Form1->DocumentKind, SchemePictureDocument);
    EXPECT_EQ(Form7->windowTitle().toStdString(), "Предварительный просмотр");
}
