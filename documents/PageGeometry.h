#pragma once
// Geometry of the preview pages, shared by every preview builder, the zoom and resize refits and
// printing. Pages are 800 px wide and 800 x 22 / 17 px high (a double); page n (from 1) of a
// stacked page image lies in the rows trunc((n - 1) x H) to trunc(n x H). Every conversion of a
// product to pixels truncates toward zero.
#include <vector>

#include "platform/Canvas.h"

namespace pages {

inline constexpr int kPageWidth = 800;
// Height of a table or journal page as painted, before it is fitted into its preview page.
inline constexpr int kStripHeight = 1029;
// The painted tables and journals: the title above y 100, the heading block from y 100 to 180,
// then the data rows, each 25 px high, the first from y 181 (its top line is the heading's bottom
// line at y 180).
inline constexpr int kHeadingTop = 100;
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

// Table and journal pages hold whole rows: each page shows the heading block where the painted
// picture has it (the first page the title above it as well), then as many whole rows as fit in
// its 1029 px, from the row where the page before stopped. The layout depends on the row count
// alone, whatever the rows were painted on.

// Whole rows one page holds below the heading block: 33.
int RowsPerPage();
// Pages of a table or journal of `rows` data rows; one at least.
int TablePageCount(int rows);
// The first data row (from 0) on page n, and how many of `rows` rows page n shows.
int FirstRowOfPage(int n);
int RowsOnPage(int n, int rows);

// A band of the painted picture and the row of the 1029 px page where its top goes.
struct TableBand {
    platform::TRect source;
    int pageTop;
};
// What page n of a document of `rows` data rows shows of the painted picture, top to bottom: its
// head (page 1 from the picture's top, every later page from the heading block's top), then its
// rows, which follow the head as the first rows follow the heading.
std::vector<TableBand> TablePageBands(int n, int rows);
// Where a band of page n goes in the preview's page image: the 1029 px page fitted into page n's
// content rectangle.
platform::TRect BandInPage(int n, const TableBand& band);
// Where page n of a preview shows its content: inside the page, 10 px from the sides and 12 px
// from top and bottom.
platform::TRect PageContent(int n);

// The rows of a stacked page image that page n fills, 800 px wide: what printing copies.
platform::TRect PageOfImage(int n);

// The largest rectangle of the source's proportions inside width x height, centred.
platform::TRect FitInto(const platform::TRect& source, int width, int height);

}  // namespace pages
