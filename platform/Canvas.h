#pragma once
// Drawing surface of the pictures, schemes, preview pages and printouts.
//
// TCanvas keeps the classic raster conventions that the drawings are laid out in:
// - coordinates are whole device pixels, x to the right, y downwards;
// - LineTo and Polyline draw the start point and leave the end point unpainted;
// - Rectangle, Ellipse and FillRect cover [left, right) x [top, bottom): the right and bottom
//   edges are excluded; Rectangle and Ellipse take their corners in any order;
// - TextOut's point is the top-left corner of the text cell; a rotated font turns the cell about
//   that point; the cell is painted in the brush colour first unless the brush is clear;
// - styled (dashed, dotted) thin lines paint their gaps in the brush colour unless the brush is
//   clear, as a classic opaque background does.
//
// A canvas draws through a device: a picture record (TBitmap: the operations kept, painted when a
// part of the picture is shown), pixels of a QImage, an already active QPainter (the printer,
// where the operations are painted at the device's own resolution), or a recorder that keeps the
// list of operations for tests. Any canvas can also record what it draws (StartRecording,
// CanvasRecordingScope).
#include <QColor>
#include <QFont>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QImage;
class QPainter;

namespace platform {

// Colours: 0x00BBGGRR.
using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
// System colours are fixed values here (those of the usual desktop scheme).
inline constexpr TColor clBtnFace = 0xF0F0F0;
inline constexpr TColor clGrayText = 0x6D6D6D;
// "No colour": what Pixels answers outside the surface or on a device without pixels.
inline constexpr TColor clNone = 0x1FFFFFFF;

// r, g, b in 0..255.
constexpr TColor RGB(int r, int g, int b) {
    return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(int x, int y) {
    return TPoint{x, y};
}
constexpr TRect Rect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}

// (a * b) / c rounded half away from zero, with a 64-bit product; -1 when c is 0 or the result
// does not fit in an int.
int MulDiv(int a, int b, int c);

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

// Widths of 0 and 1 draw thin lines. The dash styles apply to thin lines, polylines and
// rectangle outlines; wider pens draw solid lines with round ends, and ellipse outlines are
// always solid.
class TPen {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    int Width() const { return width_; }
    void SetWidth(int width) { width_ = width < 1 ? 1 : width; }
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style) { style_ = style; }
    friend bool operator==(const TPen&, const TPen&) = default;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush {
public:
    TColor Color() const { return color_; }
    // Setting a colour makes a clear brush solid again.
    void SetColor(TColor color) {
        color_ = color;
        style_ = bsSolid;
    }
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style) { style_ = style; }
    friend bool operator==(const TBrush&, const TBrush&) = default;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// Logical font record, as filled field by field before a font is created from it. The character
// set is kept in the font; width, precisions, quality and pitch do not change it.
struct TLogFont {
    int Height = 0;
    int Width = 0;
    int Escapement = 0;   // direction of the text, tenths of a degree counter-clockwise
    int Orientation = 0;  // the same direction is used for the glyphs (compatible mode)
    int Weight = 0;       // 0 normal, 600 and more bold
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int CharSet = 0;
    int OutPrecision = 0;
    int ClipPrecision = 0;
    int Quality = 0;
    int PitchAndFamily = 0;
    std::string FaceName;
};

// Height in pixels as in a logical font: negative = the character height (the em size),
// positive = the cell height (ascent + descent), 0 = the default height (11 px characters).
// Size is in points at 96 pixels per inch, as the classic screen font: Size 8 = Height -11.
// Faces missing on this machine are replaced by installed ones (InstallFontSubstitutes).
class TFont {
public:
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    int Height() const { return height_; }
    void SetHeight(int height) { height_ = height; }
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style) { style_ = style; }
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    // Kept for logical font records made from this font; 1 is the default character set.
    int Charset() const { return charset_; }
    void SetCharset(int charset) { charset_ = charset; }
    // Tenths of a degree counter-clockwise; 900 writes upwards.
    int Orientation() const { return orientation_; }
    void SetOrientation(int tenths) { orientation_ = tenths; }
    // The font created from a logical font record replaces this one; the colour stays.
    void SetHandle(const TLogFont& logFont);
    friend bool operator==(const TFont&, const TFont&) = default;

private:
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clBlack;
    int charset_ = 1;
    int orientation_ = 0;
};

// The Qt font that draws a TFont (pixel sized, no antialiasing, no kerning).
QFont ToQFont(const TFont& font);

// Maps the faces the program names (Arial, Arial001, MS Sans Serif, Tahoma, Times New Roman,
// Courier New) onto the metric-compatible Liberation faces. Runs once; later calls do nothing.
// ToQFont calls it itself; main() calls it so that widgets get the same faces.
void InstallFontSubstitutes();

enum class CanvasOpKind {
    LineTo,
    Polyline,
    Rectangle,
    Ellipse,
    FillRect,
    TextOut,
    CopyRect,
    SetPixel
};

// One drawing operation with its coordinates exactly as the caller gave them and the pen, brush
// and font in force. MoveTo draws nothing and is not listed: LineTo carries both of its ends.
struct CanvasOp {
    CanvasOpKind Kind = CanvasOpKind::LineTo;
    // LineTo: start and end; Polyline: all points; TextOut and SetPixel: the point.
    std::vector<TPoint> Points;
    // Rectangle, Ellipse, FillRect: the rectangle; CopyRect: the destination.
    TRect Rect;
    TRect SourceRect;       // CopyRect
    std::string Text;       // TextOut
    TColor Color = clNone;  // SetPixel
    TPen Pen;
    TBrush Brush;
    TFont Font;
};

class PictureRecord;

// What a CopyRect reads: the pixels of an image, or a recorded picture as it was when the copy
// was made (its first `count` operations, at the size it had then). Empty for a device that has
// neither.
struct CopySource {
    const QImage* image = nullptr;
    std::shared_ptr<const PictureRecord> record;
    std::size_t count = 0;
    int width = 0;
    int height = 0;
    // The recorded picture keeps a byte a pixel (greys only).
    bool gray = false;
    bool Empty() const { return image == nullptr && record == nullptr; }
};

// One operation as the devices read it: the fields of a CanvasOp, wherever they are kept (the
// canvas passes its own pen, brush and font, and its points on the stack).
struct OpView {
    CanvasOpKind kind = CanvasOpKind::LineTo;
    std::span<const TPoint> points;
    TRect rect;
    TRect sourceRect;
    std::string_view text;
    TColor color = clNone;
    const TPen* pen = nullptr;
    const TBrush* brush = nullptr;
    const TFont* font = nullptr;
    const CopySource* source = nullptr;
};

OpView ViewOf(const CanvasOp& op, const CopySource& source);
CanvasOp OpOf(const OpView& view);

// Where a canvas's operations go.
class TCanvasDevice {
public:
    virtual ~TCanvasDevice() = default;
    // `source` is what a CopyRect reads (empty for other operations).
    virtual void Execute(const CanvasOp& op, const CopySource& source) = 0;
    // The same operation as a view; by default made into a CanvasOp for Execute.
    virtual void ExecuteView(const OpView& view);
    virtual int PixelsPerInchY() const = 0;
    virtual TColor Pixel(int x, int y) const;
    // What CopyRect reads from this device; empty for a device without a picture.
    virtual CopySource Source() const;
};

// Keeps the operations instead of drawing them.
class TRecordingDevice : public TCanvasDevice {
public:
    explicit TRecordingDevice(int pixelsPerInchY = 96) : pixelsPerInchY_(pixelsPerInchY) {}
    void Execute(const CanvasOp& op, const CopySource& source) override;
    int PixelsPerInchY() const override { return pixelsPerInchY_; }
    const std::vector<CanvasOp>& Ops() const { return ops_; }
    void Clear() { ops_.clear(); }

private:
    int pixelsPerInchY_;
    std::vector<CanvasOp> ops_;
};

// While one of these exists, every canvas that draws starts recording what it draws (see
// TCanvas::Recorder) and goes on recording for the rest of its life. Tests of the drawings use
// it, since a drawing makes its own images.
class CanvasRecordingScope {
public:
    CanvasRecordingScope();
    ~CanvasRecordingScope();
    CanvasRecordingScope(const CanvasRecordingScope&) = delete;
    CanvasRecordingScope& operator=(const CanvasRecordingScope&) = delete;
};

class TCanvas {
public:
    explicit TCanvas(std::unique_ptr<TCanvasDevice> device);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // A canvas that only records (pixels per inch as given, 96 by default).
    static std::unique_ptr<TCanvas> CreateRecorder(int pixelsPerInchY = 96);
    // A canvas drawing through a painter that is active for the canvas's whole life (a print
    // job): every operation, and every recorded picture copied onto it, is painted at the
    // device's resolution (text stays text, lines stay lines). The painter's state is saved and
    // restored around every operation.
    static std::unique_ptr<TCanvas> CreateOnPainter(QPainter& painter);

    TPen Pen;
    TBrush Brush;
    TFont Font;

    void MoveTo(int x, int y);
    // Draws from the pen position to (x, y) without (x, y) itself; the pen moves there.
    void LineTo(int x, int y);
    TPoint PenPos() const;
    void SetPenPos(TPoint pos);

    // Outline in the pen, filled with the brush unless it is clear. With a clear pen the filled
    // area is one pixel narrower and lower, as in the classic drawing.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    // Lines through the points; the last point is not painted; the pen position stays.
    void Polyline(std::span<const TPoint> points);
    void Polyline(std::initializer_list<TPoint> points) {
        Polyline(std::span<const TPoint>(points.begin(), points.size()));
    }
    // The pen position moves to (x + TextWidth(text), y) afterwards.
    void TextOut(int x, int y, const std::string& text);
    // Paints with the brush, no outline; nothing when the rectangle is empty.
    void FillRect(const TRect& rect);
    // Copies `sourceRect` of `source` stretched onto `dest`. Shrinking combines the pixels that
    // fall together with AND, so thin black lines on white survive; enlarging repeats pixels.
    // Parts of the source outside its picture leave the destination unchanged.
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);

    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;

    // clNone outside the surface or on a device without pixels.
    TColor Pixels(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    int PixelsPerInchY() const;

    // Starts keeping the operations beside drawing them (a recorder canvas always keeps them).
    void StartRecording();
    // The operations kept so far, or null when this canvas does not record.
    const TRecordingDevice* Recorder() const;

private:
    // The operation with the canvas's pen, brush and font, to the device and the recorder.
    // Taken by reference and completed in place: an operation is not copied on its way.
    void Emit(OpView& view);

    std::unique_ptr<TCanvasDevice> device_;
    const bool deviceRecords_;
    std::unique_ptr<TRecordingDevice> recorder_;
    // After TextOut the pen stands at the text's end; its width is measured only when the
    // position is asked for (drawings move the pen before they draw a line again).
    mutable TPoint penPos_;
    mutable std::string pendingText_;
    mutable TFont pendingFont_;
    mutable bool penAfterText_ = false;
};

// A device drawing on the pixels of a QImage that `image` hands out before every operation
// (null or a null image: nothing is drawn).
std::unique_ptr<TCanvasDevice> CreateImageDevice(std::function<QImage*()> image);

}  // namespace platform
