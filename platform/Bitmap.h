#pragma once
// Bitmap of the pictures and preview pages: a QImage (32-bit RGB, or 8-bit grey for documents
// drawn only in greys, 96 pixels per inch) with a canvas. Pages may be far taller than 32767
// pixels.
//
// Pixels are allocated when the bitmap is next used (Canvas, Image, Assign), not when its size
// is set, so a picture can be sized in several steps and fail only once, where it is first
// drawn. New bitmaps, and the area a bitmap gains when it grows, are white; the part it keeps
// keeps its pixels.
#include <QImage>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Canvas.h"

namespace platform {

// How a bitmap keeps its pixels. pfGray8 keeps black, white and greys exactly in a quarter of the
// memory; any other colour drawn on it becomes its grey.
enum TPixelFormat { pf32bit, pfGray8 };

class TBitmap {
public:
    // Largest bitmap allocated; a larger one fails as out of memory.
    static constexpr std::int64_t kMaxBytes = std::int64_t(512) << 20;

    TBitmap();
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Negative sizes count as 0.
    void SetWidth(int width);
    void SetHeight(int height);
    void SetSize(int width, int height);
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // Takes effect when the pixels are next allocated; the pixels kept are converted.
    TPixelFormat PixelFormat() const { return format_; }
    void SetPixelFormat(TPixelFormat format) { format_ = format; }

    // Allocates the pixels of a new size first. When they cannot be had, throws std::bad_alloc
    // and the bitmap goes back to the size it really has.
    TCanvas* Canvas();

    // Takes a copy of the other bitmap's picture, size and pixel format (not its canvas
    // settings).
    void Assign(const TBitmap& source);

    // PNG or BMP by the file name's extension; false for another extension or a failed write.
    [[nodiscard]] bool SaveToFile(const std::string& fileName) const;

    // The pixels, for widgets and printing; never throws (a failed allocation gives the
    // pixels the bitmap really has).
    const QImage& Image() const noexcept;

private:
    // The image at the current size; throws std::bad_alloc when it cannot be allocated.
    QImage* Materialize() const;

    mutable QImage image_;
    mutable int width_ = 0;
    mutable int height_ = 0;
    TPixelFormat format_ = pf32bit;
    std::unique_ptr<TCanvas> canvas_;
};

}  // namespace platform
