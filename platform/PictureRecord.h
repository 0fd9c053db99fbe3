#pragma once
// A picture kept as its drawing operations: the memory grows with what is drawn, not with the
// picture's area. Operations are only ever appended; an index by area (built when the picture is
// first painted, extended as it grows) finds those that touch the part to paint, in their order.
#include <QRect>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <mutex>
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

    // Elements kept in blocks that never move: appending one copies none of those before it.
    // The blocks double in size, as a vector's storage grows. A record's blocks outlive it as
    // spares for the next ones (up to kSpareBytes of each kind): a picture is mostly drawn again
    // right after the last one is dropped, and memory never touched before costs far more to
    // fill than memory used already.
    template <typename T>
    class Blocks {
    public:
        Blocks() = default;
        Blocks(const Blocks&) = delete;
        Blocks& operator=(const Blocks&) = delete;
        ~Blocks() {
            Spares& spares = SparesOf();
            const std::lock_guard<std::mutex> lock(spares.mutex);
            for (std::size_t b = 0; b < blocks_.size() && b < kMostBlocks; ++b) {
                const std::size_t bytes = (kFirst << b) * sizeof(T);
                if (spares.bytes + bytes > kSpareBytes) break;
                spares.bytes += bytes;
                spares.blocks[b].push_back(std::move(blocks_[b]));
            }
        }
        std::size_t size() const { return size_; }
        std::size_t capacity() const { return capacity_; }
        const T& operator[](std::size_t i) const {
            const std::size_t b = BlockOf(i);
            return blocks_[b][i - BlockStart(b)];
        }
        T& operator[](std::size_t i) {
            const std::size_t b = BlockOf(i);
            return blocks_[b][i - BlockStart(b)];
        }
        // The place of the next element (its block made when needed), filled in place; it is
        // one of the elements once Commit is called.
        T& Next() {
            if (size_ == capacity_) {
                blocks_.push_back(MakeBlock(blocks_.size()));
                capacity_ = BlockStart(blocks_.size());
            }
            return (*this)[size_];
        }
        void Commit() { ++size_; }
        // Appends `n` elements one after the other within one block, leaving what is left of the
        // current block unused when they do not fit there; the index of the first.
        std::size_t AppendRun(const T* values, std::size_t n) {
            if (n == 0) return size_;
            for (;;) {
                if (size_ == capacity_) {
                    blocks_.push_back(MakeBlock(blocks_.size()));
                    capacity_ = BlockStart(blocks_.size());
                }
                if (capacity_ - size_ >= n) break;
                size_ = capacity_;
            }
            const std::size_t first = size_;
            std::copy_n(values, n, &(*this)[first]);
            size_ += n;
            return first;
        }
        void push_back(const T& value) {
            Next() = value;
            Commit();
        }

    private:
        static constexpr std::size_t kFirst = 64;
        // Block b holds kFirst << b elements, from kFirst * (2^b - 1) on.
        static std::size_t BlockOf(std::size_t i) { return std::bit_width(i / kFirst + 1) - 1; }
        static std::size_t BlockStart(std::size_t b) {
            return kFirst * ((std::size_t(1) << b) - 1);
        }

        static constexpr std::size_t kSpareBytes = std::size_t(16) << 20;
        static constexpr std::size_t kMostBlocks = 40;
        struct Spares {
            std::mutex mutex;
            std::size_t bytes = 0;
            std::vector<std::unique_ptr<T[]>> blocks[kMostBlocks];
        };
        // Left on the heap on purpose: records may still be dropped while the program ends.
        static Spares& SparesOf() {
            static Spares* spares = new Spares;
            return *spares;
        }
        static std::unique_ptr<T[]> MakeBlock(std::size_t b) {
            Spares& spares = SparesOf();
            {
                const std::lock_guard<std::mutex> lock(spares.mutex);
                if (b < kMostBlocks && !spares.blocks[b].empty()) {
                    std::unique_ptr<T[]> block = std::move(spares.blocks[b].back());
                    spares.blocks[b].pop_back();
                    spares.bytes -= (kFirst << b) * sizeof(T);
                    return block;
                }
            }
            return std::make_unique_for_overwrite<T[]>(kFirst << b);
        }

        std::vector<std::unique_ptr<T[]>> blocks_;
        std::size_t size_ = 0;
        std::size_t capacity_ = 0;
    };

    std::uint32_t StyleOf(const OpView& op);
    // The operation as the engine reads it; `ends` holds the points it has no storage for.
    OpView ViewAt(std::size_t index, TPoint (&ends)[2]) const;
    // Calls `paint` with every operation touching `area`, below `count`, in order.
    template <typename Paint>
    void ForEachIn(const QRect& area, std::size_t count, Paint&& paint) const;
    void ExtendIndex() const;

    Blocks<Packed> ops_;
    std::vector<Style> styles_;
    // The points of the polylines and the bytes of the texts, each run within one block; with
    // the counts of what they hold (the blocks' ends may be left unused).
    Blocks<TPoint> points_;
    Blocks<char> texts_;
    std::size_t pointCount_ = 0;
    std::size_t textBytes_ = 0;
    std::vector<Copy> copies_;
    std::int64_t byteLimit_ = kDefaultByteLimit;

    // The operations touching one tile, in their order: a chain of chunks.
    struct Chunk {
        static constexpr std::uint32_t kOps = 14;
        static constexpr std::uint32_t kNone = ~std::uint32_t(0);
        std::uint32_t ops[kOps];
        std::uint32_t count;
        std::uint32_t next;  // kNone at the tile's last chunk
    };
    struct Tile {
        std::uint32_t first;
        std::uint32_t last;
    };
    // Adds operation `op` at the end of the tile's operations.
    void AddToTile(Tile& tile, std::uint32_t op) const;

    // The index: the operations touching each tile (their chunks all in one pool).
    mutable std::unordered_map<std::uint64_t, Tile> tiles_;
    mutable Blocks<Chunk> chunks_;
    // Operations spanning too many tiles to list in each.
    mutable std::vector<std::uint32_t> wide_;
    mutable std::size_t indexed_ = 0;
    mutable std::int64_t indexBytes_ = 0;
};

}  // namespace platform
