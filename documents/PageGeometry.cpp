#include "documents/PageGeometry.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace pages {

double PageHeight(int width) {
    return width * 22.0 / 17.0;
}

int PageRow(int n, int width, double offset) {
    const double row = n * PageHeight(width) + offset;
    return int(std::clamp(row, double(INT_MIN), double(INT_MAX)));
}

int ImageHeight(int pages, int width) {
    return std::max(PageRow(pages, width), 0);
}

int ImageLeft(int previewWidth, int imageWidth) {
    return previewWidth / 2 - imageWidth / 2 - 10;
}

int TablePageCount(int rows) {
    const std::int64_t bottom = kFirstRowTop + std::int64_t(std::max(rows, 0)) * kRowHeight;
    const std::int64_t count = (bottom + kStripHeight - 1) / kStripHeight;
    return int(std::clamp<std::int64_t>(count, 1, INT_MAX));
}

platform::TRect TableStrip(int n) {
    return platform::Rect(0, (n - 1) * kStripHeight, kPageWidth, n * kStripHeight);
}

platform::TRect PageContent(int n) {
    return platform::Rect(kContentSide, PageRow(n - 1, kPageWidth, kContentTopBottom),
                          kPageWidth - kContentSide, PageRow(n, kPageWidth, -kContentTopBottom));
}

platform::TRect PageOfImage(int n) {
    return platform::Rect(0, PageRow(n - 1), kPageWidth, PageRow(n - 1, kPageWidth, PageHeight()));
}

platform::TRect FitInto(const platform::TRect& source, int width, int height) {
    const std::int64_t sw = source.Width();
    const std::int64_t sh = source.Height();
    if (sw <= 0 || sh <= 0 || width <= 0 || height <= 0) return platform::Rect(0, 0, 0, 0);
    // As wide as the area, unless that makes it too high.
    std::int64_t w = width;
    std::int64_t h = w * sh / sw;
    if (h > height) {
        h = height;
        w = h * sw / sh;
    }
    const int left = int((width - w) / 2);
    const int top = int((height - h) / 2);
    return platform::Rect(left, top, left + int(w), top + int(h));
}

}  // namespace pages
