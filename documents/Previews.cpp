// The main window's part of the preview: building a preview into the preview window, the
// preview of the scheme window's picture, the refit at another width and the page counts.
#include <new>

#include "app/Mainform.h"
#include "documents/Kabj2.h"
#include "documents/PageGeometry.h"
#include "documents/Preview.h"
#include "documents/PreviewPages.h"
#include "drawings/DrawingState.h"
#include "platform/Conversions.h"
#include "platform/Image.h"
#include "platform/Messages.h"

namespace {

void TellOutOfMemory() {
    platform::MessageBox("Недостаточно памяти для обработки команды.", "Предупреждение",
                         platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

// After a failed build nothing half made stays: the preview goes as if it had been closed.
void DropPreview() {
    if (Form8 != nullptr) Form8->PageBitmap.reset();
    if (Form7 == nullptr) return;
    Form7->FreePageImage();
    if (!Form7->isHidden()) Form7->close();
}

}  // namespace

const TSheetCell* SheetOfPage(const SheetGrid& grid, int page) {
    for (const auto& row : grid.PrintSheets)
        for (const TSheetCell& cell : row)
            if (cell.Used && cell.Number == page) return &cell;
    return nullptr;
}

bool TForm1::ComposePreview(int width, int height,
                            const std::function<void(platform::TCanvas&)>& paint,
                            platform::TPixelFormat format) {
    if (Form7 == nullptr || Form8 == nullptr) return false;
    bool built = true;
    {
        platform::WaitCursor wait;
        DockPreview();
        try {
            platform::TImage* image = Form7->NewPageImage(width, height, format);
            platform::TCanvas& canvas = *image->Canvas();
            canvas.Brush.SetColor(platform::clWhite);
            paint(canvas);
            auto copy = std::make_unique<platform::TBitmap>();
            copy->Assign(image->Picture());
            Form8->PageBitmap = std::move(copy);
        } catch (const std::bad_alloc&) {
            built = false;
        }
    }
    if (!built) {
        DropPreview();
        TellOutOfMemory();
        return false;
    }
    ControlBar1->hide();
    ControlBar2->show();
    Form7->show();
    return true;
}

void TForm1::BuildPreviewSheet(int titleFontSize, int titleX, const std::string& title) {
    const int count = SheetPageCount;
    if (Form7 != nullptr) Form7->RestoreCaption();
    ComposePreview(pages::kPageWidth, pages::ImageHeight(count), [&](platform::TCanvas& canvas) {
        platform::TCanvas* picture = PictureBitmap ? PictureBitmap->Canvas() : nullptr;
        // Page n is the sheet numbered n, as it is printed.
        for (int n = 1; n <= count; ++n) {
            const TSheetCell* sheet = SheetOfPage(*this, n);
            if (sheet != nullptr && picture != nullptr)
                canvas.CopyRect(pages::PageContent(n), *picture, sheet->Rect);
            if (n > 1) DrawPageGap(canvas, pages::PageRow(n - 1), pages::kPageWidth);
            if (n == 1) {
                canvas.Font.SetSize(titleFontSize);
                canvas.TextOut(titleX, 30, title);
                canvas.Font.SetSize(8);
            }
            if (count > 1)
                canvas.TextOut(20, pages::PageRow(n - 1, pages::kPageWidth, 20),
                               "Лист № " + platform::IntToStr(n));
        }
    });
}

void TForm1::FitPreviewImage(int width, int pageCount) {
    if (Form7 == nullptr || Form8 == nullptr || !Form8->PageBitmap) return;
    platform::TBitmap& pagesBitmap = *Form8->PageBitmap;
    try {
        platform::TImage* image = Form7->NewPageImage(width, pages::ImageHeight(pageCount, width),
                                                      pagesBitmap.PixelFormat());
        const platform::TBitmap& fitted = image->Picture();
        image->Canvas()->CopyRect(platform::Rect(0, 0, fitted.Width(), fitted.Height()),
                                  *pagesBitmap.Canvas(),
                                  platform::Rect(0, 0, pagesBitmap.Width(), pagesBitmap.Height()));
    } catch (const std::bad_alloc&) {
        DropPreview();
        TellOutOfMemory();
    }
}

int TForm1::DocumentPageCount(int documentKind) {
    switch (documentKind) {
        case SchemePictureDocument:
            return SheetPageCount;
        case CableJournalDocument:
            return Form8 != nullptr ? Form8->JournalPageCount : 0;
        case SupplySchemeDocument:
            return SchematicPageCount;
        case CalculationTablesDocument:
            return Form8 != nullptr ? Form8->TablePageCount : 0;
        default:
            return 0;
    }
}
