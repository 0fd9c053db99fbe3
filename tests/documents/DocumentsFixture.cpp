#include "DocumentsFixture.h"

#include <QPrintDialog>
#include <QPrinter>

#include "app/Mainform.h"
#include "documents/Kabj2.h"
#include "documents/Preview.h"
#include "model/Classd.h"
#include "platform/Bitmap.h"
#include "platform/Image.h"

void RowsPainter::Paint(platform::TBitmap& page, const PageRequest& request) {
    requests.push_back(request);
    const int bottom = 181 + 25 * request.rows;
    page.SetSize(800, bottom);
    if (byteLimit > 0) page.SetByteLimit(byteLimit);
    platform::TCanvas& canvas = *page.Canvas();
    for (int row = 0; row < request.rows; ++row) {
        canvas.MoveTo(0, 181 + 25 * row);
        canvas.LineTo(800, 181 + 25 * row);
    }
    if (request.rows > 0) {
        canvas.Brush.SetColor(platform::clBlack);
        canvas.FillRect(platform::Rect(0, bottom - 25, 800, bottom));
    }
}

void DocumentsTest::SetUp() {
    AppFixture::SetUp();
    platform::SetPrintBackEnd(&printer_);
    Form1->resize(1024, 700);
    ProjectRoot = new TGrsed;
    TGrsed record;
    record.SwitchboardNumber = 1;
    ProjectRoot->AddSwitchboard(record);
    ProjectRoot->SwitchboardCount = 1;
}

void DocumentsTest::TearDown() {
    platform::SetPrintBackEnd(nullptr);
    DeleteProjectTree(ProjectRoot);
    AppFixture::TearDown();
}

const std::vector<platform::CanvasOp>& DocumentsTest::PageOps() const {
    static const std::vector<platform::CanvasOp> none;
    if (Form7 == nullptr || Form7->PageImage == nullptr) return none;
    const platform::TRecordingDevice* recorder = Form7->PageImage->Picture().Canvas()->Recorder();
    return recorder != nullptr ? recorder->Ops() : none;
}

void DocumentsTest::KeepJournalPages(int pages) {
    Form1->DocumentKind = 2;
    Form8->JournalPageCount = pages;
    Form8->PageBitmap = std::make_unique<platform::TBitmap>();
    Form8->PageBitmap->SetSize(800, int(pages * 800 * 22.0 / 17.0));
}

void DocumentsTest::AnswerPrintDialog(int maxPage, int from, int to, int copies, bool collate) {
    responder_.ExpectModal("QPrintDialog", [=](QDialog& window) {
        auto& dialog = static_cast<QPrintDialog&>(window);
        // Page numbers (no selection, no current page), and the output to a PDF file.
        EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
        EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintCollateCopies));
        EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintToFile));
        EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintSelection));
        EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintCurrentPage));
        EXPECT_EQ(dialog.minPage(), 1);
        EXPECT_EQ(dialog.maxPage(), maxPage);
        EXPECT_EQ(dialog.fromPage(), 1);
        EXPECT_EQ(dialog.toPage(), maxPage);
        if (from != 0) {
            dialog.setPrintRange(QAbstractPrintDialog::PageRange);
            dialog.setFromTo(from, to);
        } else {
            dialog.setPrintRange(QAbstractPrintDialog::AllPages);
        }
        dialog.printer()->setCopyCount(copies);
        dialog.printer()->setCollateCopies(collate);
        return platform::mrOk;
    });
}

std::vector<int> DocumentsTest::PrintedSourceTops() const {
    std::vector<int> tops;
    if (printer_.Jobs().empty()) return tops;
    for (const auto& page : printer_.Jobs().back().pages) {
        const auto copies = OpsOf(page, platform::CanvasOpKind::CopyRect);
        tops.push_back(copies.size() == 1 ? copies[0].SourceRect.Top : -1);
    }
    return tops;
}
