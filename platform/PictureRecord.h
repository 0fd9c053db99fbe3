#pragma once
// A picture kept as its drawing operations: the memory grows with what is drawn, not with the
// picture's area. Operations are only ever appended; an index by area (built when the picture is
// first painted, extended as it grows) finds those that touch the part to paint, in their order.
#include <QRect>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Canvas.h"

class QImage;
class QPainter;

namespace platform {

class RasterTarget;

class PictureRecord {
public:
    // Bytes a record may take by default; an operation beyond its limit throws std::bad_alloc.
    static constexpr std::int64_t kDefaultByteLimit = std::int64_t(512) << 20;

    PictureRecord() = default;
    PictureRecord(const PictureRecord&) = delete;
    PictureRecord& operator=(const PictureRecord&) = delete;

    // Appends the operation (a CopyRect with what it reads). Throws std::bad_alloc when the
    // record would go past its limit; nothing is appended then.
    void Append(const CanvasOp& op, const CopySource& source);
    void Append(const OpView& op);
    std::size_t Count() const { return ops_.size(); }
    // Memory the record holds, index included.
    std::int64_t Bytes() const;
    std::int64_t ByteLimit() const { return byteLimit_; }
    void SetByteLimit(std::int64_t limit) { byteLimit_ = limit; }

    // Paints the first `count` operations that touch the target's area, in their order.
    void Paint(RasterTarget& target, std::size_t count) const;
    // The same through a painter at its transform: only the operations touching `area` (picture
    // co-ordinates).
    void Paint(QPainter& painter, const QRect& area, std::size_t count) const;

private:
    struct Packed {
        CanvasOpKind kind;
        std::uint32_t style;
        TRect rect;  // LineTo: both ends; the figures: their rectangle; TextOut, SetPixel: point
        std::uint32_t first;  // Polyline: first point; TextOut: first byte; CopyRect: copy
        std::uint32_t size;   // Polyline: points; TextOut: bytes; SetPixel: colour
    };
    struct Style {
        TPen pen;
        TBrush brush;
        TFont font;
    };
    struct Copy {
        TRect sourceRect;
        CopySource source;
    };

    std::uint32_t StyleOf(const OpView& op);
    // The operation as the engine reads it; `ends` holds the points it has no storage for.
    OpView ViewAt(std::size_t index, TPoint (&ends)[2]) const;
    // Calls `paint` with every operation touching `area`, below `count`, in order.
    template <typename Paint>
    void ForEachIn(const QRect& area, std::size_t count, Paint&& paint) const;
    void ExtendIndex() const;

    std::vector<Packed> ops_;
    std::vector<Style> styles_;
    std::vector<TPoint> points_;
    std::string texts_;
    std::vector<Copy> copies_;
    std::int64_t byteLimit_ = kDefaultByteLimit;

    // The index: what each operation can paint, and the operations touching each tile.
    mutable std::vector<QRect> bounds_;
    mutable std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> tiles_;
    // Operations spanning too many tiles to list in each.
    mutable std::vector<std::uint32_t> wide_;
    mutable std::size_t indexed_ = 0;
    mutable std::int64_t indexBytes_ = 0;
};

}  // namespace platform
