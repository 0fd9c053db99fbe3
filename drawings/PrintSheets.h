#pragma once
// Print sheets of the scheme window's pictures. A picture is cut into a grid of rectangular
// sheets that covers it; the sheets that hold drawn content are marked as used while the
// picture is drawn and numbered in the order in which they first become used. Only used sheets
// are previewed and printed, one page each, in the order of their numbers.
#include <cstdint>
#include <vector>

#include "platform/Canvas.h"

// One print sheet.
struct TSheetCell {
    std::uint8_t Used = 0;  // 1: printed
    platform::TRect Rect;   // the part of the picture it covers, right and bottom exclusive
    int Number = 0;         // page number of a used sheet, from 1; 0 while not used
};

// Sheet sizes of the pictures, in picture pixels.
inline constexpr int kSchemeSheetWidth = 900;  // general scheme and one-line diagram
inline constexpr int kSchemeSheetHeight = 1200;
inline constexpr int kPhasingSheetWidth = 1200;  // phasing picture
inline constexpr int kPhasingSheetHeight = 1200;

// The grid of the last picture and its counters. The main window inherits it: the preview and
// printing read them there.
class SheetGrid {
public:
    int SheetColumns = 0;
    int SheetRows = 0;
    // The number given to the last sheet that became used (0 before the first).
    int SheetNumberCounter = 0;
    // Used sheets of the picture: its page count as a document.
    int SheetPageCount = 0;
    // SheetRows rows of SheetColumns cells; empty before the first picture.
    std::vector<std::vector<TSheetCell>> PrintSheets;

    // Done first by every picture, before its image is made again.
    void ResetSheetCounters();
    // A new grid of sheets of width x height over an image: columns enough for the image's width,
    // which is then widened to whole sheets (at least one). With `imageHeight` the rows likewise
    // (the general scheme); without it one row, the height left as it is (the panel pictures).
    void LaySheets(int width, int height, int& imageWidth, int* imageHeight = nullptr);
    // Marks a cell used: it gets the next number unless it has one.
    void MarkSheet(int row, int column);
    // Phasing picture: every sheet whose left edge is not right of `right` (the buses' end).
    void MarkSheetsUpTo(int right);
    // One-line diagram: the sheet that holds the group line at x strictly inside it; a line on a
    // sheet edge marks none.
    void MarkSheetHolding(int x);
    // General scheme: in the row strictly holding y, every sheet whose left edge is left of x,
    // from the left.
    void MarkSheetsLeftOf(int x, int y);
    int CountUsedSheets() const;

private:
    // The size of the sheets LaySheets laid (0 before), and for each row how many of its sheets
    // from the left MarkSheetsLeftOf has marked: a large scheme marks its rows line by line.
    int sheetWidth_ = 0;
    int sheetHeight_ = 0;
    std::vector<int> markedFromLeft_;
};
