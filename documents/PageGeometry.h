#pragma once
// Geometry of the preview pages, shared by every preview builder, the zoom and resize refits and
// printing. Pages are 800 px wide and 800 x 22 / 17 px high (a double); page n (from 1) of a
// stacked page image lies in the rows trunc((n - 1) x H) to trunc(n x H). Every conversion of a
// product to pixels truncates toward zero.
#include "platform/Canvas.h"

namespace pages {

inline constexpr int kPageWidth = 800;
// Rows of the painted table or journal that go onto one page.
inline constexpr int kStripHeight = 1029;
// The painted tables and journals: their first data row starts at y 181, each row 25 px high.
inline constexpr int kFirstRowTop = 181;
inline constexpr int kRowHeight = 25;
// Margins of a table page's content on its page.
inline constexpr int kContentSide = 10;
inline constexpr int kContentTopBottom = 12;
// The image's place in the preview window, and the width of its reduced zoom.
inline constexpr int kImageTop = 5;
inline constexpr int kReducedWidth = 670;
// Width of the band drawn between two pages.
inline constexpr int kGapPenWidth = 5;

// Page height at that image width: width x 22 / 17.
double PageHeight(int width = kPageWidth);
// trunc(n x PageHeight(width) + offset): the row at which n pages of that width end.
int PageRow(int n, int width = kPageWidth, double offset = 0);
// Height of an image of `pages` pages.
int ImageHeight(int pages, int width = kPageWidth);
// Left of a page image of that width in a preview window of `previewWidth`: 10 px left of the
// middle, each half truncated.
int ImageLeft(int previewWidth, int imageWidth);

// Pages of a table or journal of `rows` data rows: enough 1029 px strips to hold the last row,
// one at least.
int TablePageCount(int rows);
// The strip of the painted picture that page n shows.
platform::TRect TableStrip(int n);
// Where page n of a preview shows its content: inside the page, 10 px from the sides and 12 px
// from top and bottom.
platform::TRect PageContent(int n);

// The rows of a stacked page image that page n fills, 800 px wide: what printing copies.
platform::TRect PageOfImage(int n);

// The largest rectangle of the source's proportions inside width x height, centred.
platform::TRect FitInto(const platform::TRect& source, int width, int height);

}  // namespace pages
