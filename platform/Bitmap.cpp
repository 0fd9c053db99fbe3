#include "platform/Bitmap.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <new>

#include "platform/CanvasEngine.h"
#include "platform/PictureRecord.h"

namespace platform {

namespace {

constexpr int kDotsPerMeter = 3780;  // 96 pixels per inch
constexpr int kBlock = 128;          // side of the block a probe pixel is painted in
bool keepPixels = false;

// Keeps the operations on the bitmap's record.
class RecordDevice : public TCanvasDevice {
public:
    RecordDevice(TBitmap& bitmap, std::shared_ptr<PictureRecord>& record)
        : bitmap_(bitmap), record_(record) {}

    void Execute(const CanvasOp& op, const CopySource& source) override {
        record_->Append(op, source);
    }
    void ExecuteView(const OpView& view) override { record_->Append(view); }
    int PixelsPerInchY() const override { return 96; }
    TColor Pixel(int x, int y) const override { return bitmap_.Pixel(x, y); }
    CopySource Source() const override { return bitmap_.Snapshot(); }

private:
    TBitmap& bitmap_;
    std::shared_ptr<PictureRecord>& record_;
};

QImage::Format FormatOf(TPixelFormat format) {
    return format == pfGray8 ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
}

// A copy of all of `source` at 1:1 onto (0, 0).
CanvasOp WholeCopy(int width, int height) {
    CanvasOp op;
    op.Kind = CanvasOpKind::CopyRect;
    op.Rect = Rect(0, 0, width, height);
    op.SourceRect = op.Rect;
    return op;
}

}  // namespace

TBitmap::TBitmap()
    : keepsPixels_(keepPixels),
      record_(std::make_shared<PictureRecord>()),
      canvas_(std::make_unique<TCanvas>(
          keepsPixels_
              ? CreateImageDevice([this] { return Raster(); })
              : std::unique_ptr<TCanvasDevice>(std::make_unique<RecordDevice>(*this, record_)))) {}

void TBitmap::KeepPixels(bool keep) {
    keepPixels = keep;
}

QImage* TBitmap::Raster() const {
    const QImage::Format format = FormatOf(format_);
    if (raster_.width() == width_ && raster_.height() == height_ &&
        (raster_.isNull() || raster_.format() == format))
        return &raster_;
    QImage grown = width_ == 0 || height_ == 0 ? QImage() : QImage(width_, height_, format);
    if (!grown.isNull()) {
        grown.setDotsPerMeterX(kDotsPerMeter);
        grown.setDotsPerMeterY(kDotsPerMeter);
        grown.fill(Qt::white);
        const QImage kept = raster_.isNull() ? raster_ : raster_.convertToFormat(format);
        QPainter painter(&grown);
        painter.drawImage(QPoint(0, 0), kept);
    }
    raster_ = std::move(grown);
    return &raster_;
}

TBitmap::~TBitmap() = default;

void TBitmap::Shrink(int width, int height) {
    if (record_->Count() == 0) return;
    const CopySource before = Snapshot();
    auto kept = std::make_shared<PictureRecord>();
    if (width > 0 && height > 0)
        kept->Append(WholeCopy(std::min(width, width_), std::min(height, height_)), before);
    kept->SetByteLimit(record_->ByteLimit());
    record_ = std::move(kept);
    ++generation_;
}

void TBitmap::SetWidth(int width) {
    width = std::max(width, 0);
    if (width < width_) Shrink(width, height_);
    width_ = width;
}

void TBitmap::SetHeight(int height) {
    height = std::max(height, 0);
    if (height < height_) Shrink(width_, height);
    height_ = height;
}

void TBitmap::SetSize(int width, int height) {
    SetWidth(width);
    SetHeight(height);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format != format_) ++generation_;
    format_ = format;
}

TCanvas* TBitmap::Canvas() {
    return canvas_.get();
}

void TBitmap::SetByteLimit(std::int64_t bytes) {
    record_->SetByteLimit(bytes);
}

std::int64_t TBitmap::RecordBytes() const {
    return record_->Bytes();
}

std::size_t TBitmap::OperationCount() const {
    return record_->Count();
}

CopySource TBitmap::Snapshot() const {
    CopySource source;
    if (keepsPixels_) {
        source.image = Raster();
        source.width = source.image->width();
        source.height = source.image->height();
        return source;
    }
    source.record = record_;
    source.count = record_->Count();
    source.width = width_;
    source.height = height_;
    source.gray = format_ == pfGray8;
    return source;
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this) return;
    if (keepsPixels_) {
        format_ = source.format_;
        width_ = source.width_;
        height_ = source.height_;
        raster_ = source.keepsPixels_ ? *source.Raster() : source.Image();
        return;
    }
    auto copy = std::make_shared<PictureRecord>();
    copy->SetByteLimit(record_->ByteLimit());
    if (source.record_->Count() > 0)
        copy->Append(WholeCopy(source.width_, source.height_), source.Snapshot());
    record_ = std::move(copy);
    ++generation_;
    width_ = source.width_;
    height_ = source.height_;
    format_ = source.format_;
}

bool TBitmap::SaveToFile(const std::string& fileName) const {
    const QString suffix = QFileInfo(QString::fromStdString(fileName)).suffix().toLower();
    const char* format = suffix == "png" ? "PNG" : suffix == "bmp" ? "BMP" : nullptr;
    if (!format) return false;
    const QImage& image = Image();
    if (image.isNull()) return false;
    return image.save(QString::fromStdString(fileName), format);
}

void TBitmap::PaintRegion(QImage& target, QPoint origin) const {
    const QRect area = QRect(origin, target.size()).intersected(QRect(0, 0, width_, height_));
    if (area.isEmpty() || target.isNull()) return;
    if (keepsPixels_) {
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(area.topLeft() - origin, Raster()->convertToFormat(target.format()),
                          area);
        return;
    }
    // The part of the target inside the picture, as an image of its own over the same pixels.
    const int depth = target.depth() / 8;
    uchar* first = target.bits() + qsizetype(area.top() - origin.y()) * target.bytesPerLine() +
                   qsizetype(area.left() - origin.x()) * depth;
    QImage inside(first, area.width(), area.height(), target.bytesPerLine(), target.format());
    inside.fill(Qt::white);
    RasterTarget raster(inside, area.topLeft());
    record_->Paint(raster, record_->Count());
}

bool TBitmap::Current(const Painted& painted) const {
    return !painted.image.isNull() && painted.generation == generation_ &&
           painted.count == record_->Count();
}

void TBitmap::Keep(Painted& painted, QImage image, QPoint origin) const {
    painted.image = std::move(image);
    painted.origin = origin;
    painted.generation = generation_;
    painted.count = record_->Count();
}

const QImage& TBitmap::Image() const noexcept {
    if (keepsPixels_) return *Raster();
    if (Current(whole_) && whole_.image.width() == width_ && whole_.image.height() == height_)
        return whole_.image;
    whole_ = Painted{};
    const std::int64_t bytes = std::int64_t(width_) * height_ * (format_ == pfGray8 ? 1 : 4);
    if (width_ == 0 || height_ == 0 || bytes > kMaxBytes) return whole_.image;
    try {
        QImage image(width_, height_, FormatOf(format_));
        if (image.isNull()) return whole_.image;
        image.setDotsPerMeterX(kDotsPerMeter);
        image.setDotsPerMeterY(kDotsPerMeter);
        PaintRegion(image, QPoint(0, 0));
        Keep(whole_, std::move(image), QPoint(0, 0));
    } catch (const std::bad_alloc&) {
        whole_ = Painted{};
    }
    return whole_.image;
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
    if (keepsPixels_) return FromQColor(QColor(Raster()->pixel(x, y)));
    const QPoint origin((x / kBlock) * kBlock, (y / kBlock) * kBlock);
    if (!Current(block_) || block_.origin != origin) {
        block_ = Painted{};
        QImage image(kBlock, kBlock, FormatOf(format_));
        if (image.isNull()) return clNone;
        image.fill(Qt::white);
        PaintRegion(image, origin);
        Keep(block_, std::move(image), origin);
    }
    return FromQColor(QColor(block_.image.pixel(x - origin.x(), y - origin.y())));
}

}  // namespace platform
