#include "platform/PictureRecord.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <new>

#include "platform/CanvasEngine.h"

namespace platform {

namespace {

// Tiles of the index, px square; an operation over more tiles than kWideTiles is kept apart and
// tried against every area painted.
constexpr int kTileShift = 9;
constexpr std::int64_t kWideTiles = 64;

std::uint64_t TileKey(int column, int row) {
    return (std::uint64_t(std::uint32_t(row)) << 32) | std::uint32_t(column);
}

int TileOf(int coordinate) {
    return coordinate >> kTileShift;
}

}  // namespace

std::uint32_t PictureRecord::StyleOf(const OpView& op) {
    // Drawings use few styles, one after the other: the last ones are looked at first.
    const std::size_t look = std::min<std::size_t>(styles_.size(), 64);
    for (std::size_t i = 0; i < look; ++i) {
        const std::size_t at = styles_.size() - 1 - i;
        const Style& s = styles_[at];
        if (s.pen == *op.pen && s.brush == *op.brush && s.font == *op.font)
            return std::uint32_t(at);
    }
    styles_.push_back(Style{*op.pen, *op.brush, *op.font});
    return std::uint32_t(styles_.size() - 1);
}

std::int64_t PictureRecord::Bytes() const {
    return std::int64_t(ops_.capacity() * sizeof(Packed) + styles_.capacity() * sizeof(Style) +
                        points_.capacity() * sizeof(TPoint) + texts_.capacity() +
                        copies_.capacity() * sizeof(Copy)) +
           indexBytes_;
}

void PictureRecord::Append(const CanvasOp& op, const CopySource& source) {
    Append(ViewOf(op, source));
}

void PictureRecord::Append(const OpView& op) {
    // What the operation adds, as the containers grow.
    std::int64_t adds = std::int64_t(sizeof(Packed));
    if (op.kind == CanvasOpKind::Polyline) adds += std::int64_t(op.points.size() * sizeof(TPoint));
    if (op.kind == CanvasOpKind::TextOut) adds += std::int64_t(op.text.size());
    if (op.kind == CanvasOpKind::CopyRect) adds += std::int64_t(sizeof(Copy));
    const std::int64_t used =
        std::int64_t(ops_.size() * sizeof(Packed) + pointCount_ * sizeof(TPoint) + textBytes_ +
                     copies_.size() * sizeof(Copy)) +
        indexBytes_;
    if (used + adds > byteLimit_) throw std::bad_alloc();

    // Filled in place; it counts as appended only at the end, once all it refers to is kept.
    Packed& packed = ops_.Next();
    packed = Packed{};
    packed.kind = op.kind;
    packed.style = StyleOf(op);
    switch (op.kind) {
        case CanvasOpKind::LineTo:
            packed.rect = TRect{op.points[0].X, op.points[0].Y, op.points[1].X, op.points[1].Y};
            break;
        case CanvasOpKind::Polyline:
            packed.first = std::uint32_t(points_.AppendRun(op.points.data(), op.points.size()));
            packed.size = std::uint32_t(op.points.size());
            pointCount_ += op.points.size();
            break;
        case CanvasOpKind::Rectangle:
        case CanvasOpKind::Ellipse:
        case CanvasOpKind::FillRect:
            packed.rect = op.rect;
            break;
        case CanvasOpKind::TextOut:
            packed.rect = TRect{op.points[0].X, op.points[0].Y, 0, 0};
            packed.first = std::uint32_t(texts_.AppendRun(op.text.data(), op.text.size()));
            packed.size = std::uint32_t(op.text.size());
            textBytes_ += op.text.size();
            break;
        case CanvasOpKind::CopyRect: {
            packed.rect = op.rect;
            packed.first = std::uint32_t(copies_.size());
            static const CopySource none;
            Copy copy{op.sourceRect, op.source != nullptr ? *op.source : none};
            // A copy within the picture itself reads the record without owning it: the record
            // must not keep itself alive.
            if (copy.source.record.get() == this)
                copy.source.record = std::shared_ptr<const PictureRecord>(
                    std::shared_ptr<const PictureRecord>(), this);
            copies_.push_back(std::move(copy));
            break;
        }
        case CanvasOpKind::SetPixel:
            packed.rect = TRect{op.points[0].X, op.points[0].Y, 0, 0};
            packed.size = std::uint32_t(op.color);
            break;
    }
    ops_.Commit();
}

OpView PictureRecord::ViewAt(std::size_t index, TPoint (&ends)[2]) const {
    const Packed& p = ops_[index];
    const Style& style = styles_[p.style];
    OpView view;
    view.kind = p.kind;
    view.pen = &style.pen;
    view.brush = &style.brush;
    view.font = &style.font;
    switch (p.kind) {
        case CanvasOpKind::LineTo:
            ends[0] = TPoint{p.rect.Left, p.rect.Top};
            ends[1] = TPoint{p.rect.Right, p.rect.Bottom};
            view.points = std::span<const TPoint>(ends, 2);
            break;
        case CanvasOpKind::Polyline:
            if (p.size > 0) view.points = std::span<const TPoint>(&points_[p.first], p.size);
            break;
        case CanvasOpKind::TextOut:
            ends[0] = TPoint{p.rect.Left, p.rect.Top};
            view.points = std::span<const TPoint>(ends, 1);
            if (p.size > 0) view.text = std::string_view(&texts_[p.first], p.size);
            break;
        case CanvasOpKind::SetPixel:
            ends[0] = TPoint{p.rect.Left, p.rect.Top};
            view.points = std::span<const TPoint>(ends, 1);
            view.color = TColor(p.size);
            break;
        case CanvasOpKind::CopyRect:
            view.rect = p.rect;
            view.sourceRect = copies_[p.first].sourceRect;
            view.source = &copies_[p.first].source;
            break;
        default:
            view.rect = p.rect;
            break;
    }
    return view;
}

void PictureRecord::AddToTile(Tile& tile, std::uint32_t op) const {
    Chunk* last = &chunks_[tile.last];
    if (last->count == Chunk::kOps) {
        // Blocks never move: `last` stays valid as the pool grows.
        const auto added = std::uint32_t(chunks_.size());
        chunks_.push_back(Chunk{{}, 0, Chunk::kNone});
        last->next = added;
        tile.last = added;
        last = &chunks_[added];
    }
    last->ops[last->count++] = op;
}

void PictureRecord::ExtendIndex() const {
    if (indexed_ == ops_.size()) return;
    // Operations drawn one after the other mostly touch the same tile: the last one is kept.
    std::uint64_t lastKey = 0;
    Tile* lastTile = nullptr;
    for (std::size_t i = indexed_; i < ops_.size(); ++i) {
        TPoint ends[2];
        const QRect box = PaintedBounds(ViewAt(i, ends));
        if (box.isEmpty()) continue;
        const int c0 = TileOf(box.left());
        const int c1 = TileOf(box.right());
        const int r0 = TileOf(box.top());
        const int r1 = TileOf(box.bottom());
        if ((std::int64_t(c1) - c0 + 1) * (std::int64_t(r1) - r0 + 1) > kWideTiles) {
            wide_.push_back(std::uint32_t(i));
            indexBytes_ += sizeof(std::uint32_t);
            continue;
        }
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                const std::uint64_t key = TileKey(c, r);
                if (lastTile == nullptr || key != lastKey) {
                    const auto [it, added] = tiles_.try_emplace(key);
                    if (added) {
                        indexBytes_ += 64;
                        it->second.first = it->second.last = std::uint32_t(chunks_.size());
                        chunks_.push_back(Chunk{{}, 0, Chunk::kNone});
                    }
                    lastKey = key;
                    lastTile = &it->second;
                }
                AddToTile(*lastTile, std::uint32_t(i));
                indexBytes_ += sizeof(std::uint32_t);
            }
        }
    }
    // Counted as the operations' boxes once kept here took: the limit stays where it was.
    indexBytes_ += std::int64_t((ops_.size() - indexed_) * sizeof(QRect));
    indexed_ = ops_.size();
}

template <typename PaintOp>
void PictureRecord::ForEachIn(const QRect& area, std::size_t count, PaintOp&& paint) const {
    count = std::min(count, ops_.size());
    if (area.isEmpty() || count == 0) return;
    ExtendIndex();
    const int c0 = TileOf(area.left());
    const int c1 = TileOf(area.right());
    const int r0 = TileOf(area.top());
    const int r1 = TileOf(area.bottom());
    const std::int64_t areaTiles = (std::int64_t(c1) - c0 + 1) * (std::int64_t(r1) - r0 + 1);
    // The boxes are found again for the operations looked at, far fewer than all of them.
    auto paintTouching = [&](std::uint32_t i) {
        TPoint ends[2];
        const OpView view = ViewAt(i, ends);
        if (PaintedBounds(view).intersects(area)) paint(view);
    };
    if (areaTiles > std::int64_t(tiles_.size())) {
        // An area larger than what is drawn: every operation is looked at.
        for (std::uint32_t i = 0; i < count; ++i) paintTouching(i);
        return;
    }
    std::vector<std::uint32_t> found;
    auto take = [&](std::uint32_t i) {
        if (i < count) found.push_back(i);
    };
    for (int r = r0; r <= r1; ++r) {
        for (int c = c0; c <= c1; ++c) {
            const auto it = tiles_.find(TileKey(c, r));
            if (it == tiles_.end()) continue;
            for (auto k = it->second.first; k != Chunk::kNone; k = chunks_[k].next) {
                const Chunk& chunk = chunks_[k];
                for (std::uint32_t j = 0; j < chunk.count; ++j) take(chunk.ops[j]);
            }
        }
    }
    for (std::uint32_t i : wide_) take(i);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    for (std::uint32_t i : found) paintTouching(i);
}

void PictureRecord::Paint(RasterTarget& target, std::size_t count) const {
    ForEachIn(target.Area(), count, [&](const OpView& op) { target.Execute(op); });
}

void PictureRecord::Paint(QPainter& painter, const QRect& area, std::size_t count) const {
    ForEachIn(area, count, [&](const OpView& op) {
        // A text outside the area would be clipped away on paper, but a PDF still holds it: a
        // search or a copy of the page would find it there.
        if (op.kind == CanvasOpKind::TextOut && !TextCell(op).intersects(area)) return;
        PaintVector(painter, op, &area);
    });
}

}  // namespace platform
