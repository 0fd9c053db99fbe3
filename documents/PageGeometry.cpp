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

int RowsPerPage() {
    // The bottom line of the last row, 25 px below its top line, stays on the page.
    return (kStripHeight - kFirstRowTop) / kRowHeight;
}

int TablePageCount(int rows) {
    const std::int64_t count =
        (std::int64_t(std::max(rows, 0)) + RowsPerPage() - 1) / RowsPerPage();
    return int(std::clamp<std::int64_t>(count, 1, INT_MAX));
}

int FirstRowOfPage(int n) {
    return int(std::clamp<std::int64_t>(std::int64_t(n - 1) * RowsPerPage(), 0, INT_MAX));
}

int RowsOnPage(int n, int rows) {
    if (n < 1) return 0;
    const std::int64_t left = std::int64_t(rows) - FirstRowOfPage(n);
    return int(std::clamp<std::int64_t>(left, 0, RowsPerPage()));
}

std::vector<TableBand> TablePageBands(int n, int rows) {
    std::vector<TableBand> bands;
    if (n < 1) return bands;
    const int headTop = n == 1 ? 0 : kHeadingTop;
    bands.push_back({platform::Rect(0, headTop, kPageWidth, kFirstRowTop), headTop});
    const int count = RowsOnPage(n, rows);
    if (count > 0) {
        const int top = kFirstRowTop + FirstRowOfPage(n) * kRowHeight;
        bands.push_back(
            {platform::Rect(0, top, kPageWidth, top + count * kRowHeight), kFirstRowTop});
    }
    return bands;
}

platform::TRect BandInPage(int n, const TableBand& band) {
    const platform::TRect content = PageContent(n);
    const std::int64_t height = content.Height();
    const auto at = [&](std::int64_t pageRow) {
        return content.Top + int(pageRow * height / kStripHeight);
    };
    return platform::Rect(content.Left, at(band.pageTop), content.Right,
                          at(std::int64_t(band.pageTop) + band.source.Height()));
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
