// The grid of print sheets: its shape over an image, and the marking and numbering rules of the
// three pictures.
#include <gtest/gtest.h>

#include <vector>

#include "drawings/PrintSheets.h"

using platform::TRect;

namespace {

// Numbers of the cells of one row, 0 for an unused one.
std::vector<int> Numbers(const SheetGrid& grid, int row = 0) {
    std::vector<int> numbers;
    for (const TSheetCell& cell : grid.PrintSheets[row]) numbers.push_back(cell.Number);
    return numbers;
}

}  // namespace

TEST(PrintSheets, CoverTheImageInWholeSheets) {
    struct Case {
        int sheetWidth;
        int imageWidth;
        int columns;
        int widened;
    };
    const Case cases[] = {
        {900, 1, 1, 900},      {900, 899, 1, 900},    {900, 900, 1, 900},
        {900, 901, 2, 1800},   {900, 1800, 2, 1800},  {900, 1920, 3, 2700},
        {1200, 2450, 3, 3600}, {1200, 2400, 2, 2400}, {1200, 0, 1, 1200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sheetWidth << " / " << c.imageWidth);
        SheetGrid grid;
        int width = c.imageWidth;
        grid.LaySheets(c.sheetWidth, 1200, width);
        EXPECT_EQ(grid.SheetColumns, c.columns);
        EXPECT_EQ(grid.SheetRows, 1);
        EXPECT_EQ(width, c.widened);
        ASSERT_EQ(grid.PrintSheets.size(), 1u);
        ASSERT_EQ(int(grid.PrintSheets[0].size()), c.columns);
        const TSheetCell& last = grid.PrintSheets[0].back();
        EXPECT_EQ(last.Rect, (TRect{(c.columns - 1) * c.sheetWidth, 0, c.widened, 1200}));
        EXPECT_EQ(last.Used, 0);
        EXPECT_EQ(last.Number, 0);
    }
}

TEST(PrintSheets, GeneralSchemeGetsRowsForItsHeight) {
    SheetGrid grid;
    int width = 901;
    int height = 1201;
    grid.LaySheets(900, 1200, width, &height);
    EXPECT_EQ(grid.SheetColumns, 2);
    EXPECT_EQ(grid.SheetRows, 2);
    EXPECT_EQ(width, 1800);
    EXPECT_EQ(height, 2400);
    EXPECT_EQ(grid.PrintSheets[1][1].Rect, (TRect{900, 1200, 1800, 2400}));
}

TEST(PrintSheets, OneLineDiagramMarksTheSheetStrictlyHoldingAGroup) {
    SheetGrid grid;
    int width = 2700;
    grid.LaySheets(900, 1200, width);
    // On an edge nothing; one pixel right of it the next sheet, which gets number 1.
    grid.MarkSheetHolding(900);
    EXPECT_EQ(Numbers(grid), (std::vector<int>{0, 0, 0}));
    grid.MarkSheetHolding(901);
    EXPECT_EQ(Numbers(grid), (std::vector<int>{0, 1, 0}));
    // Numbers in the order sheets first become used; a sheet marked again keeps its number.
    grid.MarkSheetHolding(100);
    grid.MarkSheetHolding(1799);
    grid.MarkSheetHolding(2000);
    EXPECT_EQ(Numbers(grid), (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(grid.SheetNumberCounter, 3);
    EXPECT_EQ(grid.CountUsedSheets(), 3);
}

TEST(PrintSheets, PhasingPictureMarksEverySheetUpToTheBusesEnd) {
    struct Case {
        int busesEnd;
        std::vector<int> numbers;
    };
    // 15 groups at 160 px end at 2400, the left edge of the third sheet: it is marked too;
    // 14 groups end at 2240.
    const Case cases[] = {{2400, {1, 2, 3}}, {2240, {1, 2, 0}}, {0, {1, 0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.busesEnd);
        SheetGrid grid;
        int width = 3600;
        grid.LaySheets(1200, 1200, width);
        grid.MarkSheetsUpTo(c.busesEnd);
        EXPECT_EQ(Numbers(grid), c.numbers);
    }
}

// Points at the edges of sheets of 900 x 1200 on a grid of 4 x 2: the sheets marked in each row,
// numbered in the order they became used.
TEST(PrintSheets, GeneralSchemeMarksOnlySheetsStartingLeftOfThePoint) {
    const struct {
        std::vector<std::pair<int, int>> points;
        std::vector<int> row0, row1;
        const char* why;
    } cases[] = {
        {{{1800, 100}}, {1, 2, 0, 0}, {0, 0, 0, 0}, "a sheet starting at x is not left of it"},
        {{{1801, 100}}, {1, 2, 3, 0}, {0, 0, 0, 0}, "one pixel further it is"},
        {{{1, 1199}}, {1, 0, 0, 0}, {0, 0, 0, 0}, "the first sheet starts left of x 1"},
        {{{0, 100}, {-5, 100}, {5000, 0}, {5000, -1}, {5000, 2400}, {5000, 9000}},
         {0, 0, 0, 0},
         {0, 0, 0, 0},
         "nothing left of x 0, no row holding y 0, below the top or at or past the bottom"},
        {{{9000, 1201}}, {0, 0, 0, 0}, {1, 2, 3, 4}, "x past the picture: the whole row"},
        {{{2000, 1300}, {100, 1300}, {3000, 1300}, {1000, 50}},
         {5, 6, 0, 0},
         {1, 2, 3, 4},
         "a point left of the last one marks nothing new, one further on the rest"},
    };
    for (const auto& c : cases) {
        SheetGrid grid;
        int width = 3600;
        int height = 2400;
        grid.LaySheets(900, 1200, width, &height);
        for (const auto& [x, y] : c.points) grid.MarkSheetsLeftOf(x, y);
        EXPECT_EQ(Numbers(grid, 0), c.row0) << c.why;
        EXPECT_EQ(Numbers(grid, 1), c.row1) << c.why;
    }
}

TEST(PrintSheets, GeneralSchemeMarksTheRowOfAPointLeftToRight) {
    SheetGrid grid;
    int width = 3600;
    int height = 2400;
    grid.LaySheets(900, 1200, width, &height);
    grid.MarkSheet(1, 1);
    // Row 1 holds y 1300; columns 0, 1 and 2 start left of x 2000; column 1 keeps its number.
    grid.MarkSheetsLeftOf(2000, 1300);
    EXPECT_EQ(Numbers(grid, 0), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(Numbers(grid, 1), (std::vector<int>{2, 1, 3, 0}));
    // A point on a row edge marks nothing.
    grid.MarkSheetsLeftOf(3000, 1200);
    EXPECT_EQ(grid.CountUsedSheets(), 3);
    // A new picture starts its counters again.
    grid.ResetSheetCounters();
    EXPECT_EQ(grid.SheetNumberCounter, 0);
    EXPECT_EQ(grid.SheetPageCount, 0);
}
