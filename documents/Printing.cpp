// Printing of the previewed documents: the print dialog, then every chosen page, copy by copy in
// the order the collation asks, each fitted to the printer's page.
#include <algorithm>

#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "documents/Kabj2.h"
#include "documents/PageGeometry.h"
#include "documents/PreviewPages.h"
#include "drawings/DrawingState.h"
#include "model/Classd.h"
#include "platform/Messages.h"
#include "platform/Printer.h"

namespace {

// The part of `rect` that lies inside a width x height picture.
platform::TRect InsidePicture(const platform::TRect& rect, int width, int height) {
    return platform::Rect(std::max(rect.Left, 0), std::max(rect.Top, 0),
                          std::min(rect.Right, width), std::min(rect.Bottom, height));
}

}  // namespace

void TForm1::PrintDocument(int documentKind, int pageCount) {
    if (!ProjectRoot) return;
    ProjectRoot->Switchboards.Cursor = ProjectRoot->Switchboards.First;
    if (ProjectRoot->Switchboards.First == nullptr) SheetPageCount = 1;
    // Nothing to print: no pages, or no picture or pages to take them from.
    const bool kept = documentKind == SchemePictureDocument
                          ? PictureBitmap && !PictureBitmap->Empty()
                          : documentKind >= CableJournalDocument &&
                                documentKind <= CalculationTablesDocument && Form8 != nullptr &&
                                Form8->PageBitmap;
    if (pageCount < 1 || !kept) return;

    PrintDialog1.MinPage = 1;
    PrintDialog1.FromPage = 1;
    PrintDialog1.MaxPage = pageCount;
    PrintDialog1.ToPage = pageCount;
    if (!PrintDialog1.Execute()) return;
    int first = 1;
    int last = pageCount;
    if (PrintDialog1.PrintRange != platform::TPrintRange::AllPages) {
        first = std::max(PrintDialog1.FromPage, 1);
        last = std::min(PrintDialog1.ToPage, pageCount);
    }
    if (first > last) return;
    const int copies = std::max(PrintDialog1.Copies, 1);

    platform::TPrinter& printer = platform::Printer();
    if (documentKind == SchemePictureDocument) {
        // The general scheme stands upright, the panel pictures lie across.
        switch (Form2 != nullptr ? Form2->PictureKind() : NoPicture) {
            case GeneralSchemePicture:
                printer.SetOrientation(platform::TPrinterOrientation::Portrait);
                break;
            case PanelDiagramPicture:
            case PanelPhasingPicture:
                printer.SetOrientation(platform::TPrinterOrientation::Landscape);
                break;
            default:
                break;
        }
    } else {
        printer.SetOrientation(platform::TPrinterOrientation::Portrait);
    }

    {
        platform::WaitCursor wait;
        if (printer.BeginDoc()) {
            bool firstOfJob = true;
            auto print = [&](int page) {
                if (!firstOfJob) printer.NewPage();
                firstOfJob = false;
                PrintSheet(page, documentKind);
            };
            if (PrintDialog1.Collate) {
                for (int copy = 0; copy < copies; ++copy)
                    for (int page = first; page <= last; ++page) print(page);
            } else {
                for (int page = first; page <= last; ++page)
                    for (int copy = 0; copy < copies; ++copy) print(page);
            }
            printer.EndDoc();
            return;
        }
    }
    platform::MessageBox("Не удается начать печать.", "Предупреждение", platform::MsgButtons::Ok,
                         platform::MsgIcon::Warning);
}

void TForm1::PrintSheet(int page, int documentKind) {
    platform::TPrinter& printer = platform::Printer();
    if (!printer.Printing()) return;
    platform::TCanvas& canvas = printer.Canvas();
    const int width = printer.PageWidth();
    const int height = printer.PageHeight();
    if (documentKind == SchemePictureDocument) {
        const TSheetCell* sheet = SheetOfPage(*this, page);
        if (sheet == nullptr || !PictureBitmap) return;
        platform::TBitmap& picture = *PictureBitmap;
        // A sheet reaching past the picture prints what it holds of it.
        const platform::TRect source =
            InsidePicture(sheet->Rect, picture.Width(), picture.Height());
        if (source.Width() <= 0 || source.Height() <= 0) return;
        canvas.CopyRect(pages::FitInto(source, width, height), *picture.Canvas(), source);
        return;
    }
    if (documentKind < CableJournalDocument || documentKind > CalculationTablesDocument) return;
    if (Form8 == nullptr || !Form8->PageBitmap) return;
    const platform::TRect source = pages::PageOfImage(page);
    canvas.CopyRect(pages::FitInto(source, width, height), *Form8->PageBitmap->Canvas(), source);
}
