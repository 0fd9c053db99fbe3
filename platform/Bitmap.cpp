#include "platform/Bitmap.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <new>

namespace platform {

namespace {

constexpr int kDotsPerMeter = 3780;  // 96 pixels per inch

}  // namespace

TBitmap::TBitmap()
    : canvas_(std::make_unique<TCanvas>(CreateImageDevice([this] { return Materialize(); }))) {}

TBitmap::~TBitmap() = default;

void TBitmap::SetWidth(int width) {
    width_ = std::max(width, 0);
}

void TBitmap::SetHeight(int height) {
    height_ = std::max(height, 0);
}

void TBitmap::SetSize(int width, int height) {
    SetWidth(width);
    SetHeight(height);
}

QImage* TBitmap::Materialize() const {
    const QImage::Format format =
        format_ == pfGray8 ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
    const bool sameFormat = image_.isNull() || image_.format() == format;
    if (image_.width() == width_ && image_.height() == height_ && sameFormat) return &image_;
    if (width_ == 0 || height_ == 0) {
        image_ = QImage();
        return &image_;
    }
    const int bytesPerPixel = format_ == pfGray8 ? 1 : 4;
    const bool tooLarge = std::int64_t(width_) * height_ * bytesPerPixel > kMaxBytes;
    QImage grown = tooLarge ? QImage() : QImage(width_, height_, format);
    if (grown.isNull()) {
        width_ = image_.width();
        height_ = image_.height();
        throw std::bad_alloc();
    }
    grown.setDotsPerMeterX(kDotsPerMeter);
    grown.setDotsPerMeterY(kDotsPerMeter);
    grown.fill(Qt::white);
    const int keepWidth = std::min(image_.width(), width_);
    const int keepHeight = std::min(image_.height(), height_);
    const QImage kept =
        sameFormat ? image_ : image_.copy(0, 0, keepWidth, keepHeight).convertToFormat(format);
    for (int y = 0; y < keepHeight; ++y)
        std::memcpy(grown.scanLine(y), kept.constScanLine(y),
                    std::size_t(keepWidth) * bytesPerPixel);
    image_ = std::move(grown);
    return &image_;
}

TCanvas* TBitmap::Canvas() {
    Materialize();
    return canvas_.get();
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this) return;
    image_ = source.Image();
    width_ = image_.width();
    height_ = image_.height();
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

const QImage& TBitmap::Image() const noexcept {
    try {
        Materialize();
    } catch (const std::bad_alloc&) {
        // The bitmap is back at the size it has; its pixels are what there is to show.
    }
    return image_;
}

}  // namespace platform
