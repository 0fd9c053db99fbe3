#pragma once
// Bitmap of the pictures and preview pages: a picture of a given size (96 pixels per inch) with a
// canvas. What is drawn is kept as the drawing operations (a picture record), not as pixels, so
// that its memory grows with what is drawn rather than with its area: a picture many times larger
// than the screen costs what its lines and texts cost. Its pixels are painted from the record
// where they are needed: the part of it a window shows, a probe pixel, the whole picture for a
// file.
//
// A new bitmap, and the area a bitmap gains when it grows, are white; the part it keeps keeps
// what was drawn on it. Sizes may be far larger than 32767 pixels.
#include <QImage>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Canvas.h"

namespace platform {

class PictureRecord;

// How the bitmap's pixels come out when painted. pfGray8 keeps black, white and greys exactly in
// a quarter of the memory; any other colour drawn on it becomes its grey.
enum TPixelFormat { pf32bit, pfGray8 };

class TBitmap {
public:
    // Largest picture made into pixels whole (Image, SaveToFile); a larger one gives none.
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

    TPixelFormat PixelFormat() const { return format_; }
    void SetPixelFormat(TPixelFormat format);

    // The canvas drawing on the picture. An operation that would take the record past its byte
    // limit throws std::bad_alloc and is not kept.
    TCanvas* Canvas();
    // Bytes the record may take (by default PictureRecord::kDefaultByteLimit).
    void SetByteLimit(std::int64_t bytes);
    std::int64_t RecordBytes() const;
    std::size_t OperationCount() const;

    // Takes a copy of the other bitmap's picture as it is now, its size and pixel format (not its
    // canvas settings); what is drawn on either later is not the other's.
    void Assign(const TBitmap& source);

    // PNG or BMP by the file name's extension; false for another extension, a picture too large
    // to make into pixels, or a failed write.
    [[nodiscard]] bool SaveToFile(const std::string& fileName) const;

    // The whole picture as pixels, for small pictures and tests; a null image when it is empty or
    // larger than kMaxBytes. Never throws.
    const QImage& Image() const noexcept;
    // Paints the part of the picture whose top-left corner is `origin` onto `target` (RGB32 or
    // Grayscale8, any size): white, then what was drawn there. Outside the picture the target is
    // left as it is.
    void PaintRegion(QImage& target, QPoint origin) const;
    // One pixel; clNone outside the picture.
    TColor Pixel(int x, int y) const;
    // What a CopyRect from this bitmap reads: the picture as it is now.
    CopySource Snapshot() const;

    // While set, bitmaps made from then on keep their whole picture as pixels, drawn as each
    // operation comes, as every picture was kept before records: the reference that painting from
    // the record is compared with, pixel for pixel.
    static void KeepPixels(bool keep);

private:
    // A shrunk picture keeps what lies inside its new size: a picture grown again later is
    // white where it was cut off.
    void Shrink(int width, int height);

    // The pixels of a bitmap made while KeepPixels was set, at its current size.
    QImage* Raster() const;

    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = pf32bit;
    const bool keepsPixels_;
    mutable QImage raster_;
    std::shared_ptr<PictureRecord> record_;
    std::unique_ptr<TCanvas> canvas_;
    // Pixels painted last, kept while nothing more is drawn: the whole picture, and the block
    // around the last probe pixel.
    // The record and the format change together with the generation; what is drawn adds
    // operations.
    std::uint64_t generation_ = 0;
    struct Painted {
        QImage image;
        QPoint origin;
        std::uint64_t generation = 0;
        std::size_t count = std::size_t(-1);
    };
    bool Current(const Painted& painted) const;
    void Keep(Painted& painted, QImage image, QPoint origin) const;
    mutable Painted whole_;
    mutable Painted block_;
};

}  // namespace platform
