#pragma once
// The engine behind the canvases: one drawing operation painted on pixels, in whole device
// pixels with the classic raster rules the drawings are laid out in, or through a painter at any
// scale. Picture records, bitmaps, the printer and the widgets share it, so that what is shown,
// previewed and printed comes from one paint routine.
#include <QPainter>
#include <QPoint>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/Canvas.h"

class QImage;

namespace platform {

// Paints operations on an image (RGB32 or Grayscale8) that holds the part of a picture whose
// top-left corner is `origin`: each pixel comes out as painting the whole picture would give it.
class RasterTarget {
public:
    RasterTarget(QImage& image, QPoint origin);
    ~RasterTarget();
    RasterTarget(const RasterTarget&) = delete;
    RasterTarget& operator=(const RasterTarget&) = delete;

    // The part of the picture the image holds.
    QRect Area() const;
    void Execute(const OpView& op);

private:
    QPainter& Painter();

    QImage& image_;
    QPoint origin_;
    QPainter painter_;
};

// Paints an operation through a painter in picture co-ordinates (the painter's transform maps
// them onto its device): lines as lines, text as text. Of a copied picture only what falls in
// `area` (picture co-ordinates) is painted, when given.
void PaintVector(QPainter& painter, const OpView& op, const QRect* area = nullptr);

// The box, in picture pixels, that an operation can paint in; empty when it paints nothing.
// Texts are bounded by their character count and the font's widest character.
QRect PaintedBounds(const OpView& op);

// The cell a text is written in (its brush-filled background), for a text that is not turned;
// PaintedBounds otherwise.
QRect TextCell(const OpView& op);

// Paints the part `area` of a recorded picture (its first `count` operations) on a new image of
// that size: white, then the operations. Null image when it cannot be allocated.
QImage RasterizeRecord(const PictureRecord& record, std::size_t count, const QRect& area,
                       bool gray);

}  // namespace platform
