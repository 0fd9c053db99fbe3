// The main window's supply network schematic: its sheets drawn one by one and laid one under the
// other into the preview window's page image.
#include "drawings/SupplyScheme.h"

#include <vector>

#include "app/Mainform.h"
#include "documents/PageGeometry.h"
#include "documents/Preview.h"
#include "model/Classd.h"
#include "platform/Bitmap.h"

void TForm1::DrawSupplyNetworkSheet(platform::TBitmap* sheet, int panelsOnSheet, int sheetNumber,
                                    int switchboardNumber, bool severalSheets) {
    TGrsed* sw = ProjectRoot != nullptr ? ProjectRoot->CurrentSwitchboard() : nullptr;
    if (sheet == nullptr || sw == nullptr) return;
    sheet->SetSize(kSupplySheetWidth, kSupplySheetHeight);
    PaintSupplyNetworkSheet(*sheet->Canvas(), *sw, ProjectRoot->TransformerName, panelsOnSheet,
                            sheetNumber, switchboardNumber, severalSheets, *this);
}

void TForm1::ShowSupplyNetworkScheme(int width, int switchboardNumber) {
    TGrsed* sw = ProjectRoot != nullptr ? ProjectRoot->CurrentSwitchboard() : nullptr;
    if (sw == nullptr) return;
    const int panelCount = sw->PanelCount;
    const std::vector<int> sheets = SupplySchemeSheets(panelCount);
    const int count = int(sheets.size());
    SchematicPageCount = count;
    const bool several = panelCount > kSupplyPanelsPerSheet;
    ComposePreview(width, pages::ImageHeight(count, width), [&](platform::TCanvas& page) {
        for (int s = 0; s < count; ++s) {
            platform::TBitmap sheet;
            DrawSupplyNetworkSheet(&sheet, sheets[s], s + 1, switchboardNumber, several);
            // Each sheet 10 px below its page's top; the last one loses its bottom 10 px.
            page.CopyRect(platform::Rect(0, pages::PageRow(s, width, 10), width,
                                         pages::PageRow(s + 1, width, 10)),
                          *sheet.Canvas(),
                          platform::Rect(0, 0, kSupplySheetWidth, kSupplySheetHeight));
            if (s > 0) DrawPageGap(page, pages::PageRow(s, width, 5), width);
        }
    });
}
