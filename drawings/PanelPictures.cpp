// The main window's panel pictures on the scheme window: the one-line diagram of a panel and its
// phase-balancing picture, each on a new image with its print sheets.
#include <QMenuBar>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>

#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "drawings/PanelDiagram.h"
#include "drawings/PanelPhasing.h"
#include "drawings/PictureDrawing.h"
#include "groups/Dan12.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Conversions.h"
#include "platform/Image.h"
#include "platform/Messages.h"

namespace {

// The 5-point font of the scale "50%", made the canvas's font.
void UseSmallFont(platform::TFont& smallFont, platform::TCanvas& canvas) {
    platform::TLogFont font;
    font.Height = -platform::MulDiv(5, canvas.PixelsPerInchY(), 72);
    font.CharSet = 1;
    font.OutPrecision = 4;
    font.ClipPrecision = 0;
    font.Quality = 2;
    font.PitchAndFamily = 0;
    font.FaceName = "Arial001";
    smallFont.SetHandle(font);
    canvas.Font = smallFont;
}

}  // namespace

int TForm1::MainWindowHeight() const {
    return frameGeometry().height();
}

int TForm1::ClientHeight() const {
    const QMenuBar* menu = menuBar();
    const bool inWindow = menu != nullptr && menu->isVisibleTo(this) && !menu->isNativeMenuBar();
    return height() - (inWindow ? menu->height() : 0);
}

EquipmentSelection& TForm1::PictureServices() {
    return *Dan1;
}

platform::TCanvas& TForm1::ProvidePictureSurface(platform::TImage& image) {
    image.Picture().SetByteLimit(DrawingMemoryBudget);
    platform::TCanvas& canvas = *image.Canvas();
    if (DrawingStep == 80) UseSmallFont(SmallFont, canvas);
    return canvas;
}

bool TForm1::DrawWithinBudget(platform::TImage& image, const std::function<void()>& paint) {
    try {
        paint();
        return true;
    } catch (const std::bad_alloc&) {
        // Nothing is kept of it, and no sheet holds anything.
        ResetSheetCounters();
        image.SetSize(0, 0);
        return false;
    }
}

platform::TImage* TForm1::PreparePanelPicture(int width, int height, int sheetWidth,
                                              int sheetHeight) {
    platform::TImage* image = Form2->NewPicture();
    LaySheets(sheetWidth, sheetHeight, width);
    image->SetSize(width, height);
    ProvidePictureSurface(*image);
    return image;
}

void TForm1::PanelPictureFailed(int sheetWidth, int sheetHeight, int width) {
    // The new image stays empty, with no picture kind: a change of scale draws nothing.
    LaySheets(sheetWidth, sheetHeight, width);
    platform::MessageBox("Недостаточно памяти для обработки команды.", "Предупреждение",
                         platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

void TForm1::FinishPicture(platform::TImage& image, int pictureKind) {
    // After New there is no copy yet.
    if (!PictureBitmap) PictureBitmap = std::make_unique<platform::TBitmap>();
    // The copy takes the picture's size with its pixels.
    PictureBitmap->Assign(image.Picture());
    SheetPageCount = CountUsedSheets();
    image.SetTag(pictureKind);
}

void TForm1::DrawPanelScheme(int groupCount) {
    TGrsed* sw = ProjectRoot != nullptr ? ProjectRoot->CurrentSwitchboard() : nullptr;
    TSitid* panel = sw != nullptr ? sw->Panels.Cursor : nullptr;
    if (panel == nullptr || Form2 == nullptr) return;
    const int s = DrawingStep;
    const PanelDiagramFrame frame{s, MainWindowHeight() / 2};
    ResetSheetCounters();
    const std::int64_t groupsWidth = std::int64_t(groupCount) * s;
    const int width =
        picture::ClampedPixels(groupsWidth > Form2->width() ? groupsWidth + s : Form2->width());
    platform::TImage* image =
        PreparePanelPicture(width, MainWindowHeight(), kSchemeSheetWidth, kSchemeSheetHeight);
    // A phasing picture shown before named its panel in the caption.
    ShowProjectCaption();
    if (!DrawWithinBudget(*image, [&] {
            PaintPanelDiagram(*image->Canvas(), frame, *sw, *panel, groupCount, *this,
                              PictureServices());
        })) {
        PanelPictureFailed(kSchemeSheetWidth, kSchemeSheetHeight, width);
        return;
    }
    FinishPicture(*image, PanelDiagramPicture);
    ProjectRoot->Switchboards.Cursor = sw;
    sw->Panels.Cursor = panel;
}

void TForm1::DrawPanelPhasing(int panelNumber) {
    if (ProjectRoot == nullptr || Form2 == nullptr) return;
    // The panel is found before anything of the shown picture is given up.
    TGrsed* holder = nullptr;
    TSitid* panel = nullptr;
    for (TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot)) {
        for (TSitid* p : chains::PanelsOf(*sw)) {
            if (p->PanelNumber == panelNumber) {
                holder = sw;
                panel = p;
                break;
            }
        }
        if (panel != nullptr) break;
    }
    if (panel == nullptr) return;
    const int s = DrawingStep;
    ResetSheetCounters();
    const std::int64_t busesEnd = std::int64_t(panel->SchemeGroupCount) * s;
    const int width =
        picture::ClampedPixels(busesEnd > Form2->width() ? busesEnd + 50 : Form2->width());
    platform::TImage* image =
        PreparePanelPicture(width, MainWindowHeight(), kPhasingSheetWidth, kPhasingSheetHeight);
    Form2->setWindowTitle(
        QString::fromStdString("Фазировка групп. Щит №  " + platform::IntToStr(panelNumber)));
    if (!DrawWithinBudget(*image, [&] {
            PaintPanelPhasing(*image->Canvas(), PanelPhasingFrame{s, ClientHeight() / 4}, *panel,
                              *this);
        })) {
        PanelPictureFailed(kPhasingSheetWidth, kPhasingSheetHeight, width);
        return;
    }
    FinishPicture(*image, PanelPhasingPicture);
    ProjectRoot->Switchboards.Cursor = holder;
    holder->Panels.Cursor = panel;
}
