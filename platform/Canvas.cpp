#include "platform/Canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <string_view>
#include <tuple>

#include "platform/CanvasEngine.h"
#include "platform/PictureRecord.h"

namespace platform {

QColor ToQColor(TColor color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor FromQColor(const QColor& color) {
    return RGB(color.red(), color.green(), color.blue());
}

namespace {

QRgb ToQRgb(TColor color) {
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor FromQRgb(QRgb rgb) {
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

}  // namespace

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    std::int64_t m = a;
    std::int64_t d = c;
    if (d < 0) {
        m = -m;
        d = -d;
    }
    const std::int64_t product = m * b;
    // Round half away from zero: C++ division truncates towards zero.
    const std::int64_t result = product >= 0 ? (product + d / 2) / d : (product - d / 2) / d;
    if (result > std::numeric_limits<int>::max() || result < -std::numeric_limits<int>::max())
        return -1;
    return int(result);
}

// ---------------------------------------------------------------------------------------------
// Fonts

namespace {

// Faces the program names and their installed metric-compatible stand-ins.
struct FaceSubstitute {
    const char* face;
    const char* substitute;
};
constexpr FaceSubstitute kFaceSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"Arial001", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Tahoma", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
};
constexpr const char* kFallbackFace = "Liberation Sans";
constexpr int kDefaultCharacterHeight = 11;
constexpr int kFontPixelsPerInch = 96;

// An installed family for a face name: the face itself when installed, else its stand-in, else
// the fallback face, so that a name never leaves the choice to the font configuration.
QString ResolveFamily(const std::string& face) {
    static std::map<std::string, QString> cache;
    auto it = cache.find(face);
    if (it != cache.end()) return it->second;
    QString family = QString::fromStdString(face);
    if (face.empty() || !QFontDatabase::hasFamily(family)) {
        family = kFallbackFace;
        for (const FaceSubstitute& s : kFaceSubstitutes) {
            if (QString::fromStdString(face).compare(s.face, Qt::CaseInsensitive) == 0) {
                family = s.substitute;
                break;
            }
        }
    }
    cache.emplace(face, family);
    return family;
}

QFont BaseQFont(const TFont& font) {
    QFont f;
    f.setFamilies({ResolveFamily(font.Name())});
    f.setBold(font.Style() & fsBold);
    f.setItalic(font.Style() & fsItalic);
    f.setUnderline(font.Style() & fsUnderline);
    f.setStrikeOut(font.Style() & fsStrikeOut);
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setKerning(false);
    return f;
}

// Metrics are taken against a 96-dpi image, the resolution of every bitmap, so that text laid
// out on a recorder measures the same as on a bitmap.
const QImage& MetricsDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        return image;
    }();
    return device;
}

// The largest character height whose cell (ascent + descent) fits in `cellHeight`.
int CharacterHeightForCell(const QFont& base, int cellHeight) {
    static std::map<std::tuple<QString, unsigned, int>, int> cache;
    const auto key = std::make_tuple(
        base.families().value(0), unsigned(base.bold()) | unsigned(base.italic()) << 1, cellHeight);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    // The cell grows with the character height: search between 1 and the cell height.
    int best = 1;
    int low = 1;
    int high = cellHeight;
    while (low <= high) {
        const int px = low + (high - low) / 2;
        QFont f = base;
        f.setPixelSize(px);
        if (QFontMetrics(f, &MetricsDevice()).height() <= cellHeight) {
            best = px;
            low = px + 1;
        } else {
            high = px - 1;
        }
    }
    cache.emplace(key, best);
    return best;
}

// A font's metrics with the figures the canvas asks for most, read once: each question to the
// metrics looks the font engine up again.
struct FontMetrics {
    explicit FontMetrics(const QFont& font)
        : metrics(font, &MetricsDevice()),
          height(metrics.height()),
          ascent(metrics.ascent()),
          maxWidth(metrics.maxWidth()) {}
    QFontMetrics metrics;
    int height;
    int ascent;
    int maxWidth;
};

// Drawings write many texts in one font in a row: the last font's metrics are kept. (Left on the
// heap on purpose: Qt's font objects must not be destroyed after the application.)
const FontMetrics& MetricsFor(const TFont& font) {
    struct Last {
        TFont font;
        FontMetrics metrics;
    };
    static Last* last = nullptr;
    if (!last)
        last = new Last{font, FontMetrics(ToQFont(font))};
    else if (!(last->font == font))
        *last = Last{font, FontMetrics(ToQFont(font))};
    return last->metrics;
}

// Text widths as the fonts' metrics give them, fast: the drawings measure tens of thousands of
// texts. The faces the program draws with (the Liberation faces, kerning off) have neither
// kerning nor ligatures between the letters, digits and signs of Latin and Cyrillic text, so
// such a text is as wide as its characters' advances together; those are kept per font. Any
// other character has the text measured whole, shaped as it is drawn.
class TextWidths {
public:
    int Of(const TFont& font, std::string_view utf8) {
        Table& table = TableFor(font);
        int width = 0;
        std::size_t i = 0;
        while (i < utf8.size()) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            char32_t code = 0;
            std::size_t length = 1;
            if (lead < 0x80) {
                code = lead;
            } else if ((lead & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
                code =
                    char32_t(lead & 0x1F) << 6 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
                length = 2;
            } else if ((lead & 0xF0) == 0xE0 && i + 2 < utf8.size()) {
                code = char32_t(lead & 0x0F) << 12 |
                       char32_t(static_cast<unsigned char>(utf8[i + 1]) & 0x3F) << 6 |
                       (static_cast<unsigned char>(utf8[i + 2]) & 0x3F);
                length = 3;
            } else {
                return Whole(table, utf8);
            }
            const int advance = Advance(table, code);
            if (advance < 0) return Whole(table, utf8);
            width += advance;
            i += length;
        }
        return width;
    }

private:
    // Latin, Greek and Cyrillic up to U+052F, without the combining marks, and the numero sign.
    static constexpr char32_t kSimpleEnd = 0x0530;
    struct Table {
        QFontMetrics metrics;
        std::vector<int> advances;  // -1: not measured yet
    };

    static bool Simple(char32_t code) {
        return (code >= 0x20 && code < kSimpleEnd && !(code >= 0x0300 && code < 0x0370)) ||
               code == 0x2116;
    }
    static int Whole(Table& table, std::string_view utf8) {
        return table.metrics.horizontalAdvance(
            QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
    }
    static int Advance(Table& table, char32_t code) {
        if (!Simple(code)) return -1;
        const std::size_t slot = code == 0x2116 ? kSimpleEnd : code;
        int& advance = table.advances[slot];
        if (advance < 0) advance = table.metrics.horizontalAdvance(QChar(char16_t(code)));
        return advance;
    }
    Table& TableFor(const TFont& font) {
        if (last_ != nullptr && std::get<1>(lastKey_) == font.Height() &&
            std::get<2>(lastKey_) == font.Style() && std::get<0>(lastKey_) == font.Name())
            return *last_;
        const auto key = std::make_tuple(font.Name(), font.Height(), font.Style());
        auto it = tables_.find(key);
        if (it == tables_.end())
            it = tables_
                     .emplace(key, Table{QFontMetrics(ToQFont(font), &MetricsDevice()),
                                         std::vector<int>(kSimpleEnd + 1, -1)})
                     .first;
        lastKey_ = key;
        last_ = &it->second;
        return *last_;
    }

    std::map<std::tuple<std::string, int, unsigned>, Table> tables_;
    std::tuple<std::string, int, unsigned> lastKey_;
    Table* last_ = nullptr;
};

// Left on the heap on purpose, as the metrics above.
TextWidths& Widths() {
    static TextWidths* widths = new TextWidths;
    return *widths;
}

}  // namespace

int TFont::Size() const {
    return -MulDiv(height_, 72, kFontPixelsPerInch);
}

void TFont::SetSize(int points) {
    height_ = -MulDiv(points, kFontPixelsPerInch, 72);
}

void TFont::SetHandle(const TLogFont& logFont) {
    name_ = logFont.FaceName.empty() ? TFont().Name() : logFont.FaceName;
    height_ = logFont.Height;
    charset_ = logFont.CharSet;
    orientation_ = logFont.Escapement;
    style_ = (logFont.Weight >= 600 ? fsBold : 0u) | (logFont.Italic ? fsItalic : 0u) |
             (logFont.Underline ? fsUnderline : 0u) | (logFont.StrikeOut ? fsStrikeOut : 0u);
}

void InstallFontSubstitutes() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const FaceSubstitute& s : kFaceSubstitutes)
            QFont::insertSubstitution(s.face, s.substitute);
    });
}

QFont ToQFont(const TFont& font) {
    InstallFontSubstitutes();
    // The last font made is kept (on the heap, as in MetricsFor).
    struct Last {
        TFont font;
        QFont qfont;
    };
    static Last* last = nullptr;
    if (last && last->font == font) return last->qfont;
    QFont f = BaseQFont(font);
    const int height = font.Height();
    int pixels = kDefaultCharacterHeight;
    if (height < 0)
        pixels = -height;
    else if (height > 0)
        pixels = CharacterHeightForCell(f, height);
    f.setPixelSize(pixels);
    if (!last)
        last = new Last{font, f};
    else
        *last = Last{font, f};
    return f;
}

// ---------------------------------------------------------------------------------------------
// Devices

TColor TCanvasDevice::Pixel(int, int) const {
    return clNone;
}

CopySource TCanvasDevice::Source() const {
    return {};
}

void TCanvasDevice::ExecuteView(const OpView& view) {
    static const CopySource none;
    Execute(OpOf(view), view.source != nullptr ? *view.source : none);
}

CanvasOp OpOf(const OpView& view) {
    CanvasOp op;
    op.Kind = view.kind;
    // LineTo carries both of its ends; TextOut and SetPixel their point; Polyline all of them.
    op.Points.assign(view.points.begin(), view.points.end());
    op.Rect = view.rect;
    op.SourceRect = view.sourceRect;
    op.Text = std::string(view.text);
    op.Color = view.color;
    if (view.pen != nullptr) op.Pen = *view.pen;
    if (view.brush != nullptr) op.Brush = *view.brush;
    if (view.font != nullptr) op.Font = *view.font;
    return op;
}

void TRecordingDevice::Execute(const CanvasOp& op, const CopySource&) {
    ops_.push_back(op);
}

OpView ViewOf(const CanvasOp& op, const CopySource& source) {
    OpView view;
    view.kind = op.Kind;
    view.points = op.Points;
    view.rect = op.Rect;
    view.sourceRect = op.SourceRect;
    view.text = op.Text;
    view.color = op.Color;
    view.pen = &op.Pen;
    view.brush = &op.Brush;
    view.font = &op.Font;
    view.source = &source;
    return view;
}

namespace {

int recordingScopes = 0;

// Dash patterns of thin styled pens, in pixels: on, off, on, off...
std::span<const int> DashPattern(TPenStyle style) {
    static constexpr int dash[] = {18, 6};
    static constexpr int dot[] = {3, 3};
    static constexpr int dashDot[] = {9, 6, 3, 6};
    static constexpr int dashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
        case psDash:
            return dash;
        case psDot:
            return dot;
        case psDashDot:
            return dashDot;
        case psDashDotDot:
            return dashDotDot;
        default:
            return {};
    }
}

bool PatternOn(std::span<const int> pattern, std::int64_t index) {
    if (pattern.empty()) return true;
    int period = 0;
    for (int n : pattern) period += n;
    int phase = int(index % period);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (phase < pattern[i]) return i % 2 == 0;
        phase -= pattern[i];
    }
    return true;
}

// The pixels one operation paints on: an image holding the part `bounds` of the picture (its
// pixel (0, 0) is the picture's point bounds.topLeft()), and a painter for what the pixel
// routines do not draw themselves (text, wide lines).
struct Surface {
    QRect bounds;
    uchar* bits = nullptr;
    qsizetype stride = 0;
    // One grey byte a pixel instead of four bytes of colour.
    bool gray = false;
    std::function<QPainter&()> painter;

    uchar* Line(int row) const { return bits + qsizetype(row - bounds.top()) * stride; }

    // Fills [x, x + w) x [y, y + h), clipped.
    void Fill(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, QRgb color) {
        if (w <= 0 || h <= 0) return;
        const int left = int(std::max<std::int64_t>(x, bounds.left()));
        const int top = int(std::max<std::int64_t>(y, bounds.top()));
        const int right = int(std::min<std::int64_t>(x + w - 1, bounds.right()));
        const int bottom = int(std::min<std::int64_t>(y + h - 1, bounds.bottom()));
        if (left > right || top > bottom) return;
        const int from = left - bounds.left();
        const int to = right - bounds.left() + 1;
        for (int row = top; row <= bottom; ++row) {
            uchar* line = Line(row);
            if (gray)
                std::fill(line + from, line + to, uchar(qGray(color)));
            else
                std::fill(reinterpret_cast<QRgb*>(line) + from, reinterpret_cast<QRgb*>(line) + to,
                          color);
        }
    }
    void Plot(int x, int y, QRgb color) {
        if (x < bounds.left() || x > bounds.right() || y < bounds.top() || y > bounds.bottom())
            return;
        uchar* line = Line(y);
        if (gray)
            line[x - bounds.left()] = uchar(qGray(color));
        else
            reinterpret_cast<QRgb*>(line)[x - bounds.left()] = color;
    }

    template <class Paint>
    void WithPainter(Paint&& paint) {
        QPainter& p = painter();
        p.save();
        paint(p);
        p.restore();
    }
};

// A thin line from a to b without b; `patternIndex` carries the dash phase from segment to
// segment of one figure.
void ThinLine(Surface& s, TPoint a, TPoint b, const TPen& pen, const TBrush& brush,
              std::int64_t& patternIndex) {
    const std::int64_t dx = std::int64_t(b.X) - a.X;
    const std::int64_t dy = std::int64_t(b.Y) - a.Y;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    const std::int64_t n = std::max(adx, ady);
    if (n == 0) return;
    const bool xMajor = adx >= ady;
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    const std::int64_t major = xMajor ? adx : ady;
    const std::int64_t minor = xMajor ? ady : adx;
    // Only the steps whose major coordinate lies on the surface.
    const int start = xMajor ? a.X : a.Y;
    const int step = xMajor ? sx : sy;
    const int lo = xMajor ? s.bounds.left() : s.bounds.top();
    const int hi = xMajor ? s.bounds.right() : s.bounds.bottom();
    std::int64_t t0 = step > 0 ? std::int64_t(lo) - start : std::int64_t(start) - hi;
    std::int64_t t1 = step > 0 ? std::int64_t(hi) - start : std::int64_t(start) - lo;
    t0 = std::max<std::int64_t>(t0, 0);
    t1 = std::min<std::int64_t>(t1, n - 1);
    const std::span<const int> pattern = DashPattern(pen.Style());
    const QRgb ink = ToQRgb(pen.Color());
    const bool paintGaps = brush.Style() == bsSolid;
    const QRgb gap = ToQRgb(brush.Color());
    if (pattern.empty() && minor == 0) {
        // Solid level or upright line: one span, steps t0 .. t1.
        patternIndex += n;
        if (t0 > t1) return;
        const int first = int(start + step * (step > 0 ? t0 : t1));
        const int length = int(t1 - t0 + 1);
        if (xMajor)
            s.Fill(first, a.Y, length, 1, ink);
        else
            s.Fill(a.X, first, 1, length, ink);
        return;
    }
    // Step t lies m = round(t * minor / major) pixels off the major axis (halves away from the
    // start); m and the remainder are carried from step to step.
    const std::int64_t denominator = 2 * major;
    std::int64_t m = (2 * t0 * minor + major) / denominator;
    std::int64_t remainder = (2 * t0 * minor + major) % denominator;
    for (std::int64_t t = t0; t <= t1; ++t) {
        if (t > t0) {
            remainder += 2 * minor;
            if (remainder >= denominator) {
                remainder -= denominator;
                ++m;
            }
        }
        const int x = int(xMajor ? a.X + sx * t : a.X + sx * m);
        const int y = int(xMajor ? a.Y + sy * m : a.Y + sy * t);
        if (PatternOn(pattern, patternIndex + t))
            s.Plot(x, y, ink);
        else if (paintGaps)
            s.Plot(x, y, gap);
    }
    patternIndex += n;
}

QPen WidePen(const TPen& pen) {
    return QPen(ToQColor(pen.Color()), pen.Width(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Lines through the points; the last point is left out for thin pens.
void DrawLines(Surface& s, std::span<const TPoint> points, const TPen& pen, const TBrush& brush,
               bool closed) {
    if (pen.Style() == psClear || points.size() < 2) return;
    if (pen.Width() <= 1) {
        std::int64_t patternIndex = 0;
        for (std::size_t i = 1; i < points.size(); ++i)
            ThinLine(s, points[i - 1], points[i], pen, brush, patternIndex);
        if (closed) ThinLine(s, points.back(), points.front(), pen, brush, patternIndex);
        return;
    }
    QPolygon polygon;
    for (const TPoint& p : points) polygon << QPoint(p.X, p.Y);
    s.WithPainter([&](QPainter& p) {
        QPen qpen = WidePen(pen);
        if (closed) qpen.setJoinStyle(Qt::MiterJoin);
        p.setPen(qpen);
        p.setBrush(Qt::NoBrush);
        if (closed)
            p.drawPolygon(polygon);
        else
            p.drawPolyline(polygon);
    });
}

// Extents in 64 bits: coordinates far apart must not overflow.
std::int64_t WidthOf(const TRect& r) {
    return std::int64_t(r.Right) - r.Left;
}
std::int64_t HeightOf(const TRect& r) {
    return std::int64_t(r.Bottom) - r.Top;
}

TRect Normalized(const TRect& r) {
    return TRect{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                 std::max(r.Top, r.Bottom)};
}

void DrawRectangle(Surface& s, const OpView& op) {
    TRect r = Normalized(op.rect);
    if (op.pen->Style() == psClear) {
        // Without an outline the classic figure is one pixel narrower and lower.
        if (op.brush->Style() == bsSolid)
            s.Fill(r.Left, r.Top, WidthOf(r) - 1, HeightOf(r) - 1, ToQRgb(op.brush->Color()));
        return;
    }
    if (WidthOf(r) <= 0 || HeightOf(r) <= 0) return;
    if (op.brush->Style() == bsSolid)
        s.Fill(r.Left, r.Top, WidthOf(r), HeightOf(r), ToQRgb(op.brush->Color()));
    const TPoint corners[] = {
        {r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}};
    DrawLines(s, corners, *op.pen, *op.brush, true);
}

// Pixels whose centres lie inside the ellipse inscribed in the box; the outline is the band
// between that ellipse and the one `thickness` pixels smaller.
void DrawEllipse(Surface& s, const OpView& op) {
    TRect r = Normalized(op.rect);
    int thickness = op.pen->Style() == psClear ? 0 : op.pen->Width();
    if (thickness == 0) {
        r.Right -= 1;
        r.Bottom -= 1;
    }
    if (WidthOf(r) <= 0 || HeightOf(r) <= 0) return;
    const double a = WidthOf(r) / 2.0;
    const double b = HeightOf(r) / 2.0;
    const double cx = r.Left + a;
    const double cy = r.Top + b;
    const double ia = a - thickness;
    const double ib = b - thickness;
    constexpr double eps = 1e-9;
    const bool fill = op.brush->Style() == bsSolid;
    const QRgb ink = ToQRgb(op.pen->Color());
    const QRgb paint = ToQRgb(op.brush->Color());
    // Columns far off the surface are pinned just beside it.
    auto column = [&](double x) {
        return int(std::clamp(x, s.bounds.left() - 1.0, s.bounds.right() + 1.0));
    };
    const int top = std::max(r.Top, s.bounds.top());
    const int bottom = std::min(r.Bottom - 1, s.bounds.bottom());
    for (int y = top; y <= bottom; ++y) {
        const double v = (y + 0.5 - cy) / b;
        if (v * v > 1 + eps) continue;
        const double half = a * std::sqrt(std::max(0.0, 1 - v * v));
        const int left = column(std::ceil(cx - half - 0.5 - eps));
        const int right = column(std::floor(cx + half - 0.5 + eps));
        int innerLeft = right + 1;
        int innerRight = right;
        if (ia > 0 && ib > 0) {
            const double iv = (y + 0.5 - cy) / ib;
            if (iv * iv <= 1 + eps) {
                const double ihalf = ia * std::sqrt(std::max(0.0, 1 - iv * iv));
                innerLeft = std::max(left, column(std::ceil(cx - ihalf - 0.5 - eps)));
                innerRight = std::min(right, column(std::floor(cx + ihalf - 0.5 + eps)));
            }
        }
        if (innerLeft > innerRight) {
            if (thickness > 0)
                s.Fill(left, y, right - left + 1, 1, ink);
            else if (fill)
                s.Fill(left, y, right - left + 1, 1, paint);
            continue;
        }
        if (thickness > 0) {
            s.Fill(left, y, innerLeft - left, 1, ink);
            s.Fill(innerRight + 1, y, right - innerRight, 1, ink);
        }
        if (fill) s.Fill(innerLeft, y, innerRight - innerLeft + 1, 1, paint);
    }
}

QString TextOf(const OpView& op) {
    return QString::fromUtf8(op.text.data(), qsizetype(op.text.size()));
}

void DrawText(Surface& s, const OpView& op) {
    if (op.text.empty()) return;
    const QString text = TextOf(op);
    const QFont font = ToQFont(*op.font);
    const FontMetrics& metrics = MetricsFor(*op.font);
    const int width = metrics.metrics.horizontalAdvance(text);
    const int height = metrics.height;
    const TPoint at = op.points.front();
    s.WithPainter([&](QPainter& p) {
        p.translate(at.X, at.Y);
        // Qt turns clockwise on the screen; the font's angle is counter-clockwise.
        if (op.font->Orientation() % 3600 != 0) p.rotate(-op.font->Orientation() / 10.0);
        if (op.brush->Style() == bsSolid)
            p.fillRect(QRect(0, 0, width, height), ToQColor(op.brush->Color()));
        p.setFont(font);
        p.setPen(ToQColor(op.font->Color()));
        p.drawText(QPoint(0, metrics.ascent), text);
    });
}

// Source range (first, past the last) for pixel i of a destination `out` pixels long: a block of
// source pixels when shrinking, one pixel when enlarging.
std::pair<int, int> StretchRange(int sourceStart, int sourceLength, int out, int i) {
    if (sourceLength > out) {
        const auto from = std::int64_t(i) * sourceLength / out;
        const auto to = std::int64_t(i + 1) * sourceLength / out;
        return {sourceStart + int(from), sourceStart + int(to)};
    }
    const auto at = (2 * std::int64_t(i) + 1) * sourceLength / (2 * std::int64_t(out));
    return {sourceStart + int(at), sourceStart + int(at) + 1};
}

// The pixels a copy reads: `image` holds the part of the source picture from `origin`; the
// picture is width x height.
struct SourcePixels {
    QImage image;
    QPoint origin;
    int width = 0;
    int height = 0;
};

// The part `window` of `sourceRect` of the source resampled to outWidth x outHeight: pixels that
// fall together are combined with AND; pixels mapped from outside the source stay transparent.
QImage Stretch(const SourcePixels& source, const TRect& sourceRect, int outWidth, int outHeight,
               const QRect& window) {
    QImage out(window.size(), QImage::Format_ARGB32);
    if (out.isNull()) throw std::bad_alloc();
    out.fill(Qt::transparent);
    // Grey pixels are read as they are: converting a whole tall grey page to colour would take
    // four times its memory.
    const bool gray = source.image.format() == QImage::Format_Grayscale8;
    const QImage src = source.image.format() == QImage::Format_RGB32 || gray
                           ? source.image
                           : source.image.convertToFormat(QImage::Format_RGB32);
    const int dx = source.origin.x();
    const int dy = source.origin.y();
    std::vector<std::pair<int, int>> columns(window.width());
    for (int i = 0; i < window.width(); ++i) {
        auto [c0, c1] =
            StretchRange(sourceRect.Left, sourceRect.Width(), outWidth, window.left() + i);
        columns[i] = {std::max(c0, 0) - dx, std::min(c1, source.width) - dx};
    }
    std::vector<const uchar*> lines;
    for (int j = 0; j < window.height(); ++j) {
        auto [r0, r1] =
            StretchRange(sourceRect.Top, sourceRect.Height(), outHeight, window.top() + j);
        r0 = std::max(r0, 0) - dy;
        r1 = std::min(r1, source.height) - dy;
        if (r0 >= r1) continue;
        lines.clear();
        for (int r = r0; r < r1; ++r) lines.push_back(src.constScanLine(r));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(j));
        for (int i = 0; i < window.width(); ++i) {
            const auto [c0, c1] = columns[i];
            if (c0 >= c1) continue;
            QRgb acc = 0xFFFFFFFFu;
            if (gray) {
                uchar level = 0xFF;
                for (const uchar* in : lines)
                    for (int c = c0; c < c1; ++c) level &= in[c];
                acc = qRgb(level, level, level);
            } else {
                for (const uchar* in : lines) {
                    const auto* pixels = reinterpret_cast<const QRgb*>(in);
                    for (int c = c0; c < c1; ++c) acc &= pixels[c];
                }
            }
            line[i] = acc | 0xFF000000u;
        }
    }
    return out;
}

bool UsableRect(const TRect& rect) {
    return WidthOf(rect) > 0 && HeightOf(rect) > 0 &&
           WidthOf(rect) <= std::numeric_limits<int>::max() &&
           HeightOf(rect) <= std::numeric_limits<int>::max();
}

// The pixels of the source that the part `window` of a copy of `r` stretched to outWidth x
// outHeight reads: the whole image of an image source, the part it needs of a recorded one.
SourcePixels PixelsFor(const CopySource& source, const TRect& r, int outWidth, int outHeight,
                       const QRect& window) {
    if (source.image != nullptr)
        return {*source.image, QPoint(0, 0), source.image->width(), source.image->height()};
    // The ranges grow with the pixel: the first pixel's start and the last one's end bound them.
    const int c0 = StretchRange(r.Left, r.Width(), outWidth, window.left()).first;
    const int c1 = StretchRange(r.Left, r.Width(), outWidth, window.right()).second;
    const int r0 = StretchRange(r.Top, r.Height(), outHeight, window.top()).first;
    const int r1 = StretchRange(r.Top, r.Height(), outHeight, window.bottom()).second;
    const int left = std::max(c0, 0);
    const int top = std::max(r0, 0);
    const int right = std::min(c1, source.width);
    const int bottom = std::min(r1, source.height);
    SourcePixels pixels{QImage(), QPoint(left, top), source.width, source.height};
    if (left >= right || top >= bottom) return pixels;
    pixels.image = RasterizeRecord(*source.record, source.count,
                                   QRect(left, top, right - left, bottom - top), source.gray);
    if (pixels.image.isNull()) throw std::bad_alloc();
    return pixels;
}

// A recorded source copied at its own size in the same pixel format: its operations are painted
// straight onto the part of the surface it covers, white first, as its pixels would be copied.
void DrawCopyAtOwnSize(Surface& s, const OpView& op, const QRect& visible) {
    const CopySource& source = *op.source;
    const QPoint shift(op.sourceRect.Left - op.rect.Left, op.sourceRect.Top - op.rect.Top);
    const QRect covered =
        visible.intersected(QRect(0, 0, source.width, source.height).translated(-shift));
    if (covered.isEmpty()) return;
    const int depth = s.gray ? 1 : 4;
    uchar* first = s.Line(covered.top()) + qsizetype(covered.left() - s.bounds.left()) * depth;
    QImage part(first, covered.width(), covered.height(), s.stride,
                s.gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    part.fill(Qt::white);
    RasterTarget target(part, covered.topLeft() + shift);
    source.record->Paint(target, source.count);
}

void DrawCopy(Surface& s, const OpView& op) {
    const TRect& d = op.rect;
    const TRect& r = op.sourceRect;
    const CopySource& source = *op.source;
    if (source.Empty() || !UsableRect(d) || !UsableRect(r)) return;
    if (source.image != nullptr && source.image->isNull()) return;
    const QRect visible =
        QRect(QPoint(d.Left, d.Top), QPoint(d.Right - 1, d.Bottom - 1)).intersected(s.bounds);
    if (visible.isEmpty()) return;
    if (source.record != nullptr && source.gray == s.gray && d.Width() == r.Width() &&
        d.Height() == r.Height()) {
        DrawCopyAtOwnSize(s, op, visible);
        return;
    }
    const QRect window = visible.translated(-d.Left, -d.Top);
    const SourcePixels pixels = PixelsFor(source, r, d.Width(), d.Height(), window);
    if (pixels.image.isNull()) return;
    const QImage stretched = Stretch(pixels, r, d.Width(), d.Height(), window);
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(stretched.constScanLine(y - visible.top()));
        uchar* line = s.Line(y);
        for (int x = visible.left(); x <= visible.right(); ++x) {
            const QRgb p = in[x - visible.left()];
            if (qAlpha(p) == 0) continue;
            if (s.gray)
                line[x - s.bounds.left()] = uchar(qGray(p));
            else
                reinterpret_cast<QRgb*>(line)[x - s.bounds.left()] = p;
        }
    }
}

void Execute(Surface& s, const OpView& op) {
    switch (op.kind) {
        case CanvasOpKind::LineTo:
        case CanvasOpKind::Polyline:
            DrawLines(s, op.points, *op.pen, *op.brush, false);
            break;
        case CanvasOpKind::Rectangle:
            DrawRectangle(s, op);
            break;
        case CanvasOpKind::Ellipse:
            DrawEllipse(s, op);
            break;
        case CanvasOpKind::FillRect:
            if (op.brush->Style() == bsSolid)
                s.Fill(op.rect.Left, op.rect.Top, WidthOf(op.rect), HeightOf(op.rect),
                       ToQRgb(op.brush->Color()));
            break;
        case CanvasOpKind::TextOut:
            DrawText(s, op);
            break;
        case CanvasOpKind::CopyRect:
            DrawCopy(s, op);
            break;
        case CanvasOpKind::SetPixel:
            s.Plot(op.points.front().X, op.points.front().Y, ToQRgb(op.color));
            break;
    }
}

// ---------------------------------------------------------------------------------------------
// Painting through a painter at its transform

// A thin line covers the pixels its points stand on: in picture co-ordinates it runs through
// their centres.
QPointF Centre(const TPoint& p) {
    return QPointF(p.X + 0.5, p.Y + 0.5);
}

QPen ThinPen(TColor color, TPenStyle style) {
    QPen pen(ToQColor(color), 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (!DashPattern(style).empty()) pen.setStyle(Qt::CustomDashLine);
    return pen;
}

// Thin lines through the points' pixels: each segment from its first pixel up to the last pixel
// before its end point, as on pixels; styled lines carry their dash phase across the segments.
void VectorThinLines(QPainter& p, std::span<const TPoint> points, const TPen& pen,
                     const TBrush& brush, bool closed) {
    const bool gaps = pen.Style() != psSolid && brush.Style() == bsSolid;
    const QPen ink = ThinPen(pen.Color(), pen.Style());
    const QPen gap = ThinPen(brush.Color(), psSolid);
    p.setBrush(Qt::NoBrush);
    std::int64_t patternIndex = 0;
    auto segment = [&](const TPoint& a, const TPoint& b) {
        const double dx = double(b.X) - a.X;
        const double dy = double(b.Y) - a.Y;
        const double steps = std::max(std::abs(dx), std::abs(dy));
        if (steps == 0) return;
        // Half a step back from each end: the line covers its first pixel, not its last.
        const QPointF from = Centre(a) - QPointF(dx, dy) * (0.5 / steps);
        const QPointF to = Centre(b) - QPointF(dx, dy) * (0.5 / steps);
        const double length = std::hypot(dx, dy) / steps;
        if (gaps) {
            p.setPen(gap);
            p.drawLine(from, to);
        }
        QPen styled = ink;
        // The dash pattern counts steps along the major axis; the painter counts length.
        if (pen.Style() != psSolid) {
            QList<qreal> dashes;
            for (int n : DashPattern(pen.Style())) dashes << n * length;
            styled.setDashPattern(dashes);
            styled.setDashOffset(double(patternIndex) * length);
        }
        p.setPen(styled);
        p.drawLine(from, to);
        patternIndex += std::int64_t(steps);
    };
    for (std::size_t i = 1; i < points.size(); ++i) segment(points[i - 1], points[i]);
    if (closed) segment(points.back(), points.front());
}

void VectorLines(QPainter& p, std::span<const TPoint> points, const TPen& pen, const TBrush& brush,
                 bool closed) {
    if (pen.Style() == psClear || points.size() < 2) return;
    if (pen.Width() <= 1) {
        VectorThinLines(p, points, pen, brush, closed);
        return;
    }
    QPolygonF polygon;
    for (const TPoint& point : points) polygon << QPointF(point.X, point.Y);
    QPen qpen = WidePen(pen);
    if (closed) qpen.setJoinStyle(Qt::MiterJoin);
    p.setPen(qpen);
    p.setBrush(Qt::NoBrush);
    if (closed)
        p.drawPolygon(polygon);
    else
        p.drawPolyline(polygon);
}

QRectF RectF(const TRect& r) {
    return QRectF(r.Left, r.Top, double(WidthOf(r)), double(HeightOf(r)));
}

void VectorCopy(QPainter& p, const OpView& op, const QRect* area) {
    const CopySource& source = *op.source;
    const TRect& d = op.rect;
    const TRect& r = op.sourceRect;
    if (source.Empty() || !UsableRect(d) || !UsableRect(r)) return;
    if (source.image != nullptr && source.image->isNull()) return;
    const double sx = double(WidthOf(d)) / double(WidthOf(r));
    const double sy = double(HeightOf(d)) / double(HeightOf(r));
    // Only the part of the source inside its picture is copied, and of that only what lands in
    // the area being painted.
    TRect inside{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, source.width),
                 std::min(r.Bottom, source.height)};
    if (area != nullptr) {
        const auto back = [](double at, double start, double from, double scale) {
            return from + (at - start) / scale;
        };
        const double left = back(area->left(), d.Left, r.Left, sx);
        const double top = back(area->top(), d.Top, r.Top, sy);
        const double right = back(area->right() + 1.0, d.Left, r.Left, sx);
        const double bottom = back(area->bottom() + 1.0, d.Top, r.Top, sy);
        const auto clamp = [](double v) {
            return int(std::clamp(v, double(INT_MIN / 2), double(INT_MAX / 2)));
        };
        inside.Left = std::max(inside.Left, clamp(std::floor(left)) - 1);
        inside.Top = std::max(inside.Top, clamp(std::floor(top)) - 1);
        inside.Right = std::min(inside.Right, clamp(std::ceil(right)) + 1);
        inside.Bottom = std::min(inside.Bottom, clamp(std::ceil(bottom)) + 1);
    }
    if (!UsableRect(inside)) return;
    const QRectF target(d.Left + (inside.Left - r.Left) * sx, d.Top + (inside.Top - r.Top) * sy,
                        WidthOf(inside) * sx, HeightOf(inside) * sy);
    p.save();
    p.setClipRect(target, Qt::IntersectClip);
    if (source.image != nullptr) {
        p.drawImage(target, *source.image, RectF(inside));
    } else {
        p.translate(d.Left, d.Top);
        p.scale(sx, sy);
        p.translate(-r.Left, -r.Top);
        source.record->Paint(p, QRect(inside.Left, inside.Top, inside.Width(), inside.Height()),
                             source.count);
    }
    p.restore();
}

// An ellipse's outline band, `thickness` wide inside the box, and its filling.
void VectorEllipse(QPainter& p, const OpView& op) {
    TRect r = Normalized(op.rect);
    const int thickness = op.pen->Style() == psClear ? 0 : op.pen->Width();
    if (thickness == 0) {
        r.Right -= 1;
        r.Bottom -= 1;
    }
    if (WidthOf(r) <= 0 || HeightOf(r) <= 0) return;
    const QRectF box = RectF(r);
    p.setPen(Qt::NoPen);
    if (op.brush->Style() == bsSolid) {
        p.setBrush(ToQColor(op.brush->Color()));
        p.drawEllipse(box);
    }
    if (thickness > 0) {
        QPainterPath band;
        band.addEllipse(box);
        band.addEllipse(box.adjusted(thickness, thickness, -thickness, -thickness));
        p.setBrush(ToQColor(op.pen->Color()));
        p.drawPath(band);
    }
}

void VectorText(QPainter& p, const OpView& op) {
    if (op.text.empty()) return;
    const QString text = TextOf(op);
    const FontMetrics& metrics = MetricsFor(*op.font);
    const TPoint at = op.points.front();
    p.translate(at.X, at.Y);
    if (op.font->Orientation() % 3600 != 0) p.rotate(-op.font->Orientation() / 10.0);
    if (op.brush->Style() == bsSolid)
        p.fillRect(QRect(0, 0, metrics.metrics.horizontalAdvance(text), metrics.height),
                   ToQColor(op.brush->Color()));
    // Outlines scaled with the page, not hinted to the screen's pixels.
    QFont font = ToQFont(*op.font);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::NoAntialias));
    p.setFont(font);
    p.setPen(ToQColor(op.font->Color()));
    p.drawText(QPointF(0, metrics.ascent), text);
}

}  // namespace

void PaintVector(QPainter& p, const OpView& op, const QRect* area) {
    p.save();
    switch (op.kind) {
        case CanvasOpKind::LineTo:
        case CanvasOpKind::Polyline:
            VectorLines(p, op.points, *op.pen, *op.brush, false);
            break;
        case CanvasOpKind::Rectangle: {
            const TRect r = Normalized(op.rect);
            if (op.pen->Style() == psClear) {
                if (op.brush->Style() == bsSolid)
                    p.fillRect(QRectF(r.Left, r.Top, WidthOf(r) - 1.0, HeightOf(r) - 1.0),
                               ToQColor(op.brush->Color()));
                break;
            }
            if (WidthOf(r) <= 0 || HeightOf(r) <= 0) break;
            if (op.brush->Style() == bsSolid) p.fillRect(RectF(r), ToQColor(op.brush->Color()));
            const TPoint corners[] = {{r.Left, r.Top},
                                      {r.Right - 1, r.Top},
                                      {r.Right - 1, r.Bottom - 1},
                                      {r.Left, r.Bottom - 1}};
            VectorLines(p, corners, *op.pen, *op.brush, true);
            break;
        }
        case CanvasOpKind::Ellipse:
            VectorEllipse(p, op);
            break;
        case CanvasOpKind::FillRect:
            if (op.brush->Style() == bsSolid && WidthOf(op.rect) > 0 && HeightOf(op.rect) > 0)
                p.fillRect(RectF(op.rect), ToQColor(op.brush->Color()));
            break;
        case CanvasOpKind::TextOut:
            VectorText(p, op);
            break;
        case CanvasOpKind::CopyRect:
            VectorCopy(p, op, area);
            break;
        case CanvasOpKind::SetPixel:
            p.fillRect(QRectF(op.points.front().X, op.points.front().Y, 1, 1), ToQColor(op.color));
            break;
    }
    p.restore();
}

QRect PaintedBounds(const OpView& op) {
    const int pad = std::max(op.pen != nullptr ? op.pen->Width() : 1, 1) + 1;
    auto span = [](std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
        auto c = [](std::int64_t v) {
            return int(
                std::clamp<std::int64_t>(v, -(std::int64_t(1) << 30), std::int64_t(1) << 30));
        };
        if (r <= l || b <= t) return QRect();
        return QRect(QPoint(c(l), c(t)), QPoint(c(r) - 1, c(b) - 1));
    };
    switch (op.kind) {
        case CanvasOpKind::LineTo:
        case CanvasOpKind::Polyline: {
            if (op.points.empty()) return {};
            std::int64_t l = op.points[0].X, t = op.points[0].Y, r = l, b = t;
            for (const TPoint& p : op.points) {
                l = std::min<std::int64_t>(l, p.X);
                t = std::min<std::int64_t>(t, p.Y);
                r = std::max<std::int64_t>(r, p.X);
                b = std::max<std::int64_t>(b, p.Y);
            }
            return span(l - pad, t - pad, r + pad + 1, b + pad + 1);
        }
        case CanvasOpKind::Rectangle:
        case CanvasOpKind::Ellipse:
        case CanvasOpKind::FillRect:
        case CanvasOpKind::CopyRect: {
            const TRect r = Normalized(op.rect);
            const int grow = op.kind == CanvasOpKind::Rectangle ? pad : 0;
            return span(std::int64_t(r.Left) - grow, std::int64_t(r.Top) - grow,
                        std::int64_t(r.Right) + grow, std::int64_t(r.Bottom) + grow);
        }
        case CanvasOpKind::TextOut: {
            if (op.text.empty()) return {};
            const FontMetrics& metrics = MetricsFor(*op.font);
            std::int64_t characters = 0;
            for (char ch : op.text)
                if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++characters;
            // Wider than the text can be, and a cell's height around it for what glyphs
            // overhang; a turned text may point any way from its point.
            const std::int64_t margin = metrics.height + 2;
            const std::int64_t width = characters * (metrics.maxWidth + 1) + margin;
            const TPoint at = op.points.front();
            if (op.font->Orientation() % 3600 == 0)
                return span(at.X - margin, at.Y - margin, at.X + width, at.Y + 2 * margin);
            const std::int64_t reach = width + 2 * margin;
            return span(at.X - reach, at.Y - reach, at.X + reach, at.Y + reach);
        }
        case CanvasOpKind::SetPixel:
            return span(op.points.front().X, op.points.front().Y, op.points.front().X + 1,
                        std::int64_t(op.points.front().Y) + 1);
    }
    return {};
}

QRect TextCell(const OpView& op) {
    if (op.kind != CanvasOpKind::TextOut || op.text.empty()) return PaintedBounds(op);
    if (op.font->Orientation() % 3600 != 0) return PaintedBounds(op);
    const TPoint at = op.points.front();
    return QRect(at.X, at.Y, std::max(Widths().Of(*op.font, op.text), 1),
                 MetricsFor(*op.font).height);
}

RasterTarget::RasterTarget(QImage& image, QPoint origin) : image_(image), origin_(origin) {}

RasterTarget::~RasterTarget() {
    if (painter_.isActive()) painter_.end();
}

QRect RasterTarget::Area() const {
    return QRect(origin_, image_.size());
}

QPainter& RasterTarget::Painter() {
    if (!painter_.isActive()) {
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setRenderHint(QPainter::TextAntialiasing, false);
        painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter_.translate(-origin_.x(), -origin_.y());
    }
    return painter_;
}

void RasterTarget::Execute(const OpView& op) {
    if (image_.isNull()) return;
    Surface s;
    s.bounds = Area();
    s.bits = image_.bits();
    s.stride = image_.bytesPerLine();
    s.gray = image_.format() == QImage::Format_Grayscale8;
    s.painter = [this]() -> QPainter& { return Painter(); };
    platform::Execute(s, op);
}

QImage RasterizeRecord(const PictureRecord& record, std::size_t count, const QRect& area,
                       bool gray) {
    if (area.isEmpty()) return {};
    QImage image(area.size(), gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    {
        RasterTarget target(image, area.topLeft());
        record.Paint(target, count);
    }
    return image;
}

namespace {

// Draws on a QImage handed out per operation.
class ImageDevice : public TCanvasDevice {
public:
    explicit ImageDevice(std::function<QImage*()> image) : image_(std::move(image)) {}

    void Execute(const CanvasOp& op, const CopySource& source) override {
        ExecuteView(ViewOf(op, source));
    }
    void ExecuteView(const OpView& view) override {
        QImage* image = image_ ? image_() : nullptr;
        if (image == nullptr || image->isNull()) return;
        RasterTarget target(*image, QPoint(0, 0));
        target.Execute(view);
    }

    int PixelsPerInchY() const override {
        const QImage* image = image_ ? image_() : nullptr;
        return image && !image->isNull() ? image->logicalDpiY() : 96;
    }

    TColor Pixel(int x, int y) const override {
        const QImage* image = image_ ? image_() : nullptr;
        if (!image || image->isNull() || !image->valid(x, y)) return clNone;
        return FromQRgb(image->pixel(x, y));
    }

    CopySource Source() const override {
        const QImage* image = image_ ? image_() : nullptr;
        if (!image || image->isNull()) return {};
        CopySource source;
        source.image = image;
        source.width = image->width();
        source.height = image->height();
        return source;
    }

private:
    std::function<QImage*()> image_;
};

// Paints through an external painter (a print job) at its transform.
class PainterDevice : public TCanvasDevice {
public:
    explicit PainterDevice(QPainter& painter) : painter_(painter) {}

    void Execute(const CanvasOp& op, const CopySource& source) override {
        ExecuteView(ViewOf(op, source));
    }
    void ExecuteView(const OpView& view) override {
        if (!painter_.isActive()) return;
        painter_.save();
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setRenderHint(QPainter::TextAntialiasing, false);
        PaintVector(painter_, view);
        painter_.restore();
    }

    int PixelsPerInchY() const override {
        return painter_.device() ? painter_.device()->logicalDpiY() : 96;
    }

private:
    QPainter& painter_;
};

}  // namespace

std::unique_ptr<TCanvasDevice> CreateImageDevice(std::function<QImage*()> image) {
    return std::make_unique<ImageDevice>(std::move(image));
}

CanvasRecordingScope::CanvasRecordingScope() {
    ++recordingScopes;
}

CanvasRecordingScope::~CanvasRecordingScope() {
    --recordingScopes;
}

// ---------------------------------------------------------------------------------------------
// Canvas

TCanvas::TCanvas(std::unique_ptr<TCanvasDevice> device)
    : device_(std::move(device)),
      deviceRecords_(dynamic_cast<TRecordingDevice*>(device_.get()) != nullptr) {}

TCanvas::~TCanvas() = default;

std::unique_ptr<TCanvas> TCanvas::CreateRecorder(int pixelsPerInchY) {
    return std::make_unique<TCanvas>(std::make_unique<TRecordingDevice>(pixelsPerInchY));
}

std::unique_ptr<TCanvas> TCanvas::CreateOnPainter(QPainter& painter) {
    return std::make_unique<TCanvas>(std::make_unique<PainterDevice>(painter));
}

void TCanvas::Emit(OpView& view) {
    static const CopySource none;
    if (view.source == nullptr) view.source = &none;
    view.pen = &Pen;
    view.brush = &Brush;
    view.font = &Font;
    device_->ExecuteView(view);
    if (!deviceRecords_ && !recorder_ && recordingScopes > 0)
        recorder_ = std::make_unique<TRecordingDevice>(device_->PixelsPerInchY());
    if (recorder_) recorder_->ExecuteView(view);
}

void TCanvas::MoveTo(int x, int y) {
    SetPenPos(TPoint{x, y});
}

TPoint TCanvas::PenPos() const {
    if (penAfterText_) {
        penPos_.X += Widths().Of(pendingFont_, pendingText_);
        penAfterText_ = false;
    }
    return penPos_;
}

void TCanvas::SetPenPos(TPoint pos) {
    penPos_ = pos;
    penAfterText_ = false;
}

void TCanvas::LineTo(int x, int y) {
    const TPoint ends[] = {PenPos(), TPoint{x, y}};
    penPos_ = TPoint{x, y};
    OpView view;
    view.kind = CanvasOpKind::LineTo;
    view.points = ends;
    Emit(view);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    OpView view;
    view.kind = CanvasOpKind::Rectangle;
    view.rect = TRect{x1, y1, x2, y2};
    Emit(view);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    OpView view;
    view.kind = CanvasOpKind::Ellipse;
    view.rect = TRect{x1, y1, x2, y2};
    Emit(view);
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    OpView view;
    view.kind = CanvasOpKind::Polyline;
    view.points = points;
    Emit(view);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    const TPoint at[] = {TPoint{x, y}};
    OpView view;
    view.kind = CanvasOpKind::TextOut;
    view.points = at;
    view.text = text;
    Emit(view);
    penPos_ = TPoint{x, y};
    pendingText_ = text;
    pendingFont_ = Font;
    penAfterText_ = true;
}

void TCanvas::FillRect(const TRect& rect) {
    OpView view;
    view.kind = CanvasOpKind::FillRect;
    view.rect = rect;
    Emit(view);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
    // The source is read whole before anything is written, so it may be this canvas itself.
    const CopySource read = source.device_->Source();
    OpView view;
    view.kind = CanvasOpKind::CopyRect;
    view.rect = dest;
    view.sourceRect = sourceRect;
    view.source = &read;
    Emit(view);
}

int TCanvas::TextWidth(const std::string& text) const {
    return Widths().Of(Font, text);
}

int TCanvas::TextHeight(const std::string&) const {
    return MetricsFor(Font).height;
}

TColor TCanvas::Pixels(int x, int y) const {
    return device_->Pixel(x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    const TPoint at[] = {TPoint{x, y}};
    OpView view;
    view.kind = CanvasOpKind::SetPixel;
    view.points = at;
    view.color = color;
    Emit(view);
}

int TCanvas::PixelsPerInchY() const {
    return device_->PixelsPerInchY();
}

void TCanvas::StartRecording() {
    if (!recorder_ && !dynamic_cast<TRecordingDevice*>(device_.get()))
        recorder_ = std::make_unique<TRecordingDevice>(device_->PixelsPerInchY());
}

const TRecordingDevice* TCanvas::Recorder() const {
    if (auto* own = dynamic_cast<const TRecordingDevice*>(device_.get())) return own;
    return recorder_.get();
}

}  // namespace platform
