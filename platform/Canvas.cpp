#include "platform/Canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <tuple>

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

// Drawings write many texts in one font in a row: the last font's metrics are kept. (Left on the
// heap on purpose: Qt's font objects must not be destroyed after the application.)
const QFontMetrics& MetricsFor(const TFont& font) {
    struct Last {
        TFont font;
        QFontMetrics metrics;
    };
    static Last* last = nullptr;
    if (!last)
        last = new Last{font, QFontMetrics(ToQFont(font), &MetricsDevice())};
    else if (!(last->font == font))
        *last = Last{font, QFontMetrics(ToQFont(font), &MetricsDevice())};
    return last->metrics;
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

const QImage* TCanvasDevice::SourceImage() const {
    return nullptr;
}

void TRecordingDevice::Execute(const CanvasOp& op, const QImage*) {
    ops_.push_back(op);
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

// What one operation paints on: the pixels of an image, or an external painter, with the area
// worth painting.
struct Surface {
    QImage* image = nullptr;
    QPainter* painter = nullptr;
    QRect bounds;

    // Pixels of the image (image mode), taken once per operation.
    uchar* bits = nullptr;
    qsizetype stride = 0;
    // One grey byte a pixel instead of four bytes of colour.
    bool gray = false;

    // Fills [x, x + w) x [y, y + h), clipped.
    void Fill(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, QRgb color) {
        if (w <= 0 || h <= 0) return;
        const int left = int(std::max<std::int64_t>(x, bounds.left()));
        const int top = int(std::max<std::int64_t>(y, bounds.top()));
        const int right = int(std::min<std::int64_t>(x + w - 1, bounds.right()));
        const int bottom = int(std::min<std::int64_t>(y + h - 1, bounds.bottom()));
        if (left > right || top > bottom) return;
        if (bits && gray) {
            for (int row = top; row <= bottom; ++row) {
                uchar* line = bits + row * stride;
                std::fill(line + left, line + right + 1, uchar(qGray(color)));
            }
        } else if (bits) {
            for (int row = top; row <= bottom; ++row) {
                auto* line = reinterpret_cast<QRgb*>(bits + row * stride);
                std::fill(line + left, line + right + 1, color);
            }
        } else {
            painter->fillRect(QRect(QPoint(left, top), QPoint(right, bottom)), QColor(color));
        }
    }
    void Plot(int x, int y, QRgb color) {
        if (x < bounds.left() || x > bounds.right() || y < bounds.top() || y > bounds.bottom())
            return;
        if (bits && gray)
            bits[y * stride + x] = uchar(qGray(color));
        else if (bits)
            reinterpret_cast<QRgb*>(bits + y * stride)[x] = color;
        else
            painter->fillRect(QRect(x, y, 1, 1), QColor(color));
    }

    template <class Paint>
    void WithPainter(Paint&& paint) {
        auto prepare = [](QPainter& p) {
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setRenderHint(QPainter::TextAntialiasing, false);
            p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        };
        if (painter) {
            painter->save();
            prepare(*painter);
            paint(*painter);
            painter->restore();
        } else {
            QPainter p(image);
            prepare(p);
            paint(p);
        }
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

void DrawRectangle(Surface& s, const CanvasOp& op) {
    TRect r = Normalized(op.Rect);
    if (op.Pen.Style() == psClear) {
        // Without an outline the classic figure is one pixel narrower and lower.
        if (op.Brush.Style() == bsSolid)
            s.Fill(r.Left, r.Top, WidthOf(r) - 1, HeightOf(r) - 1, ToQRgb(op.Brush.Color()));
        return;
    }
    if (WidthOf(r) <= 0 || HeightOf(r) <= 0) return;
    if (op.Brush.Style() == bsSolid)
        s.Fill(r.Left, r.Top, WidthOf(r), HeightOf(r), ToQRgb(op.Brush.Color()));
    const TPoint corners[] = {
        {r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}};
    DrawLines(s, corners, op.Pen, op.Brush, true);
}

// Pixels whose centres lie inside the ellipse inscribed in the box; the outline is the band
// between that ellipse and the one `thickness` pixels smaller.
void DrawEllipse(Surface& s, const CanvasOp& op) {
    TRect r = Normalized(op.Rect);
    int thickness = op.Pen.Style() == psClear ? 0 : op.Pen.Width();
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
    const bool fill = op.Brush.Style() == bsSolid;
    const QRgb ink = ToQRgb(op.Pen.Color());
    const QRgb paint = ToQRgb(op.Brush.Color());
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

void DrawText(Surface& s, const CanvasOp& op) {
    if (op.Text.empty()) return;
    const QString text = QString::fromStdString(op.Text);
    const QFont font = ToQFont(op.Font);
    const QFontMetrics& metrics = MetricsFor(op.Font);
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    const TPoint at = op.Points.front();
    s.WithPainter([&](QPainter& p) {
        p.translate(at.X, at.Y);
        // Qt turns clockwise on the screen; the font's angle is counter-clockwise.
        if (op.Font.Orientation() % 3600 != 0) p.rotate(-op.Font.Orientation() / 10.0);
        if (op.Brush.Style() == bsSolid)
            p.fillRect(QRect(0, 0, width, height), ToQColor(op.Brush.Color()));
        p.setFont(font);
        p.setPen(ToQColor(op.Font.Color()));
        p.drawText(QPoint(0, metrics.ascent()), text);
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

// The part `window` of `sourceRect` of `source` resampled to outWidth x outHeight: pixels that
// fall together are combined with AND; pixels mapped from outside the source stay transparent.
QImage Stretch(const QImage& source, const TRect& sourceRect, int outWidth, int outHeight,
               const QRect& window) {
    QImage out(window.size(), QImage::Format_ARGB32);
    if (out.isNull()) throw std::bad_alloc();
    out.fill(Qt::transparent);
    // Grey pixels are read as they are: converting a whole tall grey page to colour would take
    // four times its memory.
    const bool gray = source.format() == QImage::Format_Grayscale8;
    const QImage src = source.format() == QImage::Format_RGB32 || gray
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    std::vector<std::pair<int, int>> columns(window.width());
    for (int i = 0; i < window.width(); ++i) {
        auto [c0, c1] =
            StretchRange(sourceRect.Left, sourceRect.Width(), outWidth, window.left() + i);
        columns[i] = {std::max(c0, 0), std::min(c1, src.width())};
    }
    for (int j = 0; j < window.height(); ++j) {
        auto [r0, r1] =
            StretchRange(sourceRect.Top, sourceRect.Height(), outHeight, window.top() + j);
        r0 = std::max(r0, 0);
        r1 = std::min(r1, src.height());
        if (r0 >= r1) continue;
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(j));
        for (int i = 0; i < window.width(); ++i) {
            const auto [c0, c1] = columns[i];
            if (c0 >= c1) continue;
            QRgb acc = 0xFFFFFFFFu;
            if (gray) {
                uchar level = 0xFF;
                for (int r = r0; r < r1; ++r) {
                    const uchar* in = src.constScanLine(r);
                    for (int c = c0; c < c1; ++c) level &= in[c];
                }
                acc = qRgb(level, level, level);
            } else {
                for (int r = r0; r < r1; ++r) {
                    const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(r));
                    for (int c = c0; c < c1; ++c) acc &= in[c];
                }
            }
            line[i] = acc | 0xFF000000u;
        }
    }
    return out;
}

void DrawCopy(Surface& s, const CanvasOp& op, const QImage* source) {
    const TRect& d = op.Rect;
    const TRect& r = op.SourceRect;
    auto usable = [](const TRect& rect) {
        return WidthOf(rect) > 0 && HeightOf(rect) > 0 &&
               WidthOf(rect) <= std::numeric_limits<int>::max() &&
               HeightOf(rect) <= std::numeric_limits<int>::max();
    };
    if (!source || source->isNull() || !usable(d) || !usable(r)) return;
    if (s.image) {
        const QRect visible =
            QRect(QPoint(d.Left, d.Top), QPoint(d.Right - 1, d.Bottom - 1)).intersected(s.bounds);
        if (visible.isEmpty()) return;
        const QImage stretched =
            Stretch(*source, r, d.Width(), d.Height(), visible.translated(-d.Left, -d.Top));
        for (int y = visible.top(); y <= visible.bottom(); ++y) {
            const auto* in =
                reinterpret_cast<const QRgb*>(stretched.constScanLine(y - visible.top()));
            uchar* line = s.image->scanLine(y);
            for (int x = visible.left(); x <= visible.right(); ++x) {
                const QRgb p = in[x - visible.left()];
                if (qAlpha(p) == 0) continue;
                if (s.gray)
                    line[x] = uchar(qGray(p));
                else
                    reinterpret_cast<QRgb*>(line)[x] = p;
            }
        }
        return;
    }
    // On a painter (a printer page) only the shrinking is done here; the painter enlarges.
    const int width = std::min(r.Width(), d.Width());
    const int height = std::min(r.Height(), d.Height());
    const QImage stretched = Stretch(*source, r, width, height, QRect(0, 0, width, height));
    s.WithPainter(
        [&](QPainter& p) { p.drawImage(QRect(d.Left, d.Top, d.Width(), d.Height()), stretched); });
}

// Draws on a QImage handed out per operation, or through an external painter.
class RasterDevice : public TCanvasDevice {
public:
    explicit RasterDevice(std::function<QImage*()> image) : image_(std::move(image)) {}
    explicit RasterDevice(QPainter& painter) : painter_(&painter) {}

    void Execute(const CanvasOp& op, const QImage* source) override {
        Surface s;
        if (painter_) {
            if (!painter_->isActive()) return;
            s.painter = painter_;
            const QPaintDevice* device = painter_->device();
            s.bounds = painter_->transform().inverted().mapRect(
                QRect(0, 0, device->width(), device->height()));
        } else {
            s.image = image_ ? image_() : nullptr;
            if (!s.image || s.image->isNull()) return;
            s.bounds = s.image->rect();
            s.bits = s.image->bits();
            s.stride = s.image->bytesPerLine();
            s.gray = s.image->format() == QImage::Format_Grayscale8;
        }
        switch (op.Kind) {
            case CanvasOpKind::LineTo:
            case CanvasOpKind::Polyline:
                DrawLines(s, op.Points, op.Pen, op.Brush, false);
                break;
            case CanvasOpKind::Rectangle:
                DrawRectangle(s, op);
                break;
            case CanvasOpKind::Ellipse:
                DrawEllipse(s, op);
                break;
            case CanvasOpKind::FillRect:
                if (op.Brush.Style() == bsSolid)
                    s.Fill(op.Rect.Left, op.Rect.Top, WidthOf(op.Rect), HeightOf(op.Rect),
                           ToQRgb(op.Brush.Color()));
                break;
            case CanvasOpKind::TextOut:
                DrawText(s, op);
                break;
            case CanvasOpKind::CopyRect:
                DrawCopy(s, op, source);
                break;
            case CanvasOpKind::SetPixel:
                s.Plot(op.Points.front().X, op.Points.front().Y, ToQRgb(op.Color));
                break;
        }
    }

    int PixelsPerInchY() const override {
        if (painter_) return painter_->device() ? painter_->device()->logicalDpiY() : 96;
        const QImage* image = image_ ? image_() : nullptr;
        return image && !image->isNull() ? image->logicalDpiY() : 96;
    }

    TColor Pixel(int x, int y) const override {
        const QImage* image = SourceImage();
        if (!image || !image->valid(x, y)) return clNone;
        return FromQRgb(image->pixel(x, y));
    }

    const QImage* SourceImage() const override {
        if (painter_ || !image_) return nullptr;
        const QImage* image = image_();
        return image && !image->isNull() ? image : nullptr;
    }

private:
    std::function<QImage*()> image_;
    QPainter* painter_ = nullptr;
};

}  // namespace

std::unique_ptr<TCanvasDevice> CreateImageDevice(std::function<QImage*()> image) {
    return std::make_unique<RasterDevice>(std::move(image));
}

CanvasRecordingScope::CanvasRecordingScope() {
    ++recordingScopes;
}

CanvasRecordingScope::~CanvasRecordingScope() {
    --recordingScopes;
}

// ---------------------------------------------------------------------------------------------
// Canvas

TCanvas::TCanvas(std::unique_ptr<TCanvasDevice> device) : device_(std::move(device)) {}

TCanvas::~TCanvas() = default;

std::unique_ptr<TCanvas> TCanvas::CreateRecorder(int pixelsPerInchY) {
    return std::make_unique<TCanvas>(std::make_unique<TRecordingDevice>(pixelsPerInchY));
}

std::unique_ptr<TCanvas> TCanvas::CreateOnPainter(QPainter& painter) {
    return std::make_unique<TCanvas>(std::make_unique<RasterDevice>(painter));
}

CanvasOp TCanvas::MakeOp(CanvasOpKind kind) const {
    CanvasOp op;
    op.Kind = kind;
    op.Pen = Pen;
    op.Brush = Brush;
    op.Font = Font;
    return op;
}

void TCanvas::Emit(const CanvasOp& op, const QImage* source) {
    device_->Execute(op, source);
    const bool deviceRecords = dynamic_cast<TRecordingDevice*>(device_.get()) != nullptr;
    if (!deviceRecords && !recorder_ && recordingScopes > 0)
        recorder_ = std::make_unique<TRecordingDevice>(device_->PixelsPerInchY());
    if (recorder_) recorder_->Execute(op, source);
}

void TCanvas::MoveTo(int x, int y) {
    penPos_ = TPoint{x, y};
}

void TCanvas::LineTo(int x, int y) {
    CanvasOp op = MakeOp(CanvasOpKind::LineTo);
    op.Points = {penPos_, TPoint{x, y}};
    penPos_ = TPoint{x, y};
    Emit(op);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    CanvasOp op = MakeOp(CanvasOpKind::Rectangle);
    op.Rect = TRect{x1, y1, x2, y2};
    Emit(op);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    CanvasOp op = MakeOp(CanvasOpKind::Ellipse);
    op.Rect = TRect{x1, y1, x2, y2};
    Emit(op);
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    CanvasOp op = MakeOp(CanvasOpKind::Polyline);
    op.Points.assign(points.begin(), points.end());
    Emit(op);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    CanvasOp op = MakeOp(CanvasOpKind::TextOut);
    op.Points = {TPoint{x, y}};
    op.Text = text;
    Emit(op);
    penPos_ = TPoint{x + TextWidth(text), y};
}

void TCanvas::FillRect(const TRect& rect) {
    CanvasOp op = MakeOp(CanvasOpKind::FillRect);
    op.Rect = rect;
    Emit(op);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
    CanvasOp op = MakeOp(CanvasOpKind::CopyRect);
    op.Rect = dest;
    op.SourceRect = sourceRect;
    // The source is read whole before anything is written, so it may be this canvas itself.
    Emit(op, source.device_->SourceImage());
}

int TCanvas::TextWidth(const std::string& text) const {
    return MetricsFor(Font).horizontalAdvance(QString::fromStdString(text));
}

int TCanvas::TextHeight(const std::string&) const {
    return MetricsFor(Font).height();
}

TColor TCanvas::Pixels(int x, int y) const {
    return device_->Pixel(x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    CanvasOp op = MakeOp(CanvasOpKind::SetPixel);
    op.Points = {TPoint{x, y}};
    op.Color = color;
    Emit(op);
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
