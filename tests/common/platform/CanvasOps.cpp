#include "CanvasOps.h"

#include "platform/Bitmap.h"

std::vector<platform::CanvasOp> OpsOf(const std::vector<platform::CanvasOp>& ops,
                                      platform::CanvasOpKind kind) {
    std::vector<platform::CanvasOp> out;
    for (const platform::CanvasOp& op : ops)
        if (op.Kind == kind) out.push_back(op);
    return out;
}

TextInk InkOfText(const QImage& shown, QPoint at, const platform::TFont& font,
                  const std::string& text) {
    platform::TBitmap alone;
    alone.SetSize(shown.width(), shown.height());
    platform::TCanvas& canvas = *alone.Canvas();
    canvas.Font = font;
    canvas.Brush.SetStyle(platform::bsClear);
    canvas.TextOut(at.x(), at.y(), text);
    const QImage expected = alone.Image().convertToFormat(QImage::Format_RGB32);
    const QImage painted = shown.convertToFormat(QImage::Format_RGB32);
    TextInk result;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (expected.pixel(x, y) != qRgb(0, 0, 0)) continue;
            ++result.ink;
            if (painted.pixel(x, y) != qRgb(0, 0, 0)) ++result.missing;
        }
    }
    return result;
}
