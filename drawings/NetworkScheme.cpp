// The main window's general scheme on the scheme window: the picture made at the scale chosen,
// sized by the layout, cut into sheets and drawn, or, when it cannot be had in memory, the
// fallback to the scale "50%".
#include <QString>
#include <memory>

#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "drawings/GeneralScheme.h"
#include "editing/Magistral.h"
#include "model/Classd.h"
#include "platform/Image.h"
#include "platform/Messages.h"

int TForm1::GeneralSchemeWidth(int step, int left) {
    if (ProjectRoot == nullptr) return 10;
    return GeneralSchemeWidthOf(*ProjectRoot, *this, step, left);
}

int TForm1::GeneralSchemeHeight(int step, int top) {
    if (ProjectRoot == nullptr) return 10 + step;
    return GeneralSchemeHeightOf(*ProjectRoot, step, top);
}

void TForm1::ShowNetworkScheme() {
    if (ProjectRoot == nullptr || Form2 == nullptr) return;
    PictureBitmap = std::make_unique<platform::TBitmap>();
    Form2->ShowOverMainWindow();
    ShowProjectCaption();
    ResetSheetCounters();
    ApplyScale();
    const int s = DrawingStep;
    const SchemeColumns columns = CountSchemeColumns(*ProjectRoot, *this, s);

    platform::TImage* image = Form2->NewPicture();
    int width = GeneralSchemeWidth(s, s);
    int height = GeneralSchemeHeight(s, kSchemeTop);
    LaySheets(kSchemeSheetWidth, kSchemeSheetHeight, width, &height);
    image->SetSize(width, height);
    platform::TCanvas& canvas = ProvidePictureSurface(*image);
    canvas.Brush.SetStyle(platform::bsClear);
    // The picture is kept as its drawing operations: what can run out is their record, which
    // reaches its bound while the scheme is drawn.
    const bool drawn = DrawWithinBudget(*image, [&] {
        PaintGeneralScheme(canvas, s, columns, *ProjectRoot, *this, *this, PictureServices());
    });
    if (!drawn) {
        LaySheets(kSchemeSheetWidth, kSchemeSheetHeight, width, &height);
        NetworkSchemeSurfaceFailed(*image);
        return;
    }
    FinishPicture(*image, GeneralSchemePicture);
    // No trunk choice outlives the picture of the network: the next panel is radial unless the
    // trunk dialog is asked again.
    if (FormMagistral) {
        FormMagistral->TrunkChosen = false;
        FormMagistral->UpstreamPanelNo = 0;
    }
}

void TForm1::NetworkSchemeSurfaceFailed(platform::TImage& image) {
    if (DrawingStep == 80) ++OutOfMemoryFallbacks;
    if (OutOfMemoryFallbacks > 1) {
        // The picture stays empty, with no kind: a change of scale draws nothing.
        platform::MessageBox("Недостаточно памяти для обработки команды.", "Предупреждение",
                             platform::MsgButtons::Ok, platform::MsgIcon::Warning);
        return;
    }
    platform::MessageBox("Недостаточно памяти для обработки команды. Масштаб устанавливается в 50%",
                         "Предупреждение", platform::MsgButtons::Ok, platform::MsgIcon::Warning);
    // Drawn again at "50%" through the scale box, which redraws the general scheme.
    image.SetTag(GeneralSchemePicture);
    ComboBox1->setCurrentIndex(2);
    ComboBox1Change();
}
