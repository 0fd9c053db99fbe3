#include "drawings/PrintSheets.h"

#include <algorithm>

namespace {

// Sheets of `size` needed for `length` pixels: one more for a remainder, at least one.
int SheetsFor(int length, int size) {
    const int sheets = length / size + (length % size != 0 ? 1 : 0);
    return std::max(sheets, 1);
}

}  // namespace

void SheetGrid::ResetSheetCounters() {
    SheetPageCount = 0;
    SheetNumberCounter = 0;
}

void SheetGrid::LaySheets(int width, int height, int& imageWidth, int* imageHeight) {
    SheetColumns = SheetsFor(imageWidth, width);
    imageWidth = SheetColumns * width;
    SheetRows = 1;
    if (imageHeight != nullptr) {
        SheetRows = SheetsFor(*imageHeight, height);
        *imageHeight = SheetRows * height;
    }
    sheetWidth_ = width;
    sheetHeight_ = height;
    markedFromLeft_.assign(SheetRows, 0);
    PrintSheets.assign(SheetRows, std::vector<TSheetCell>(SheetColumns));
    for (int r = 0; r < SheetRows; ++r)
        for (int c = 0; c < SheetColumns; ++c)
            PrintSheets[r][c].Rect =
                platform::Rect(c * width, r * height, (c + 1) * width, (r + 1) * height);
}

void SheetGrid::MarkSheet(int row, int column) {
    if (row < 0 || row >= int(PrintSheets.size())) return;
    std::vector<TSheetCell>& cells = PrintSheets[row];
    if (column < 0 || column >= int(cells.size())) return;
    TSheetCell& cell = cells[column];
    if (cell.Used) return;
    cell.Used = 1;
    cell.Number = ++SheetNumberCounter;
}

void SheetGrid::MarkSheetsUpTo(int right) {
    if (PrintSheets.empty()) return;
    for (int c = 0; c < int(PrintSheets[0].size()); ++c)
        if (PrintSheets[0][c].Rect.Left <= right) MarkSheet(0, c);
}

void SheetGrid::MarkSheetHolding(int x) {
    if (PrintSheets.empty()) return;
    for (int c = 0; c < int(PrintSheets[0].size()); ++c) {
        const platform::TRect& r = PrintSheets[0][c].Rect;
        if (r.Left < x && x < r.Right) MarkSheet(0, c);
    }
}

void SheetGrid::MarkSheetsLeftOf(int x, int y) {
    // On the grid LaySheets laid, row r spans [r * height, (r + 1) * height] and the sheets left
    // of x are the first ones of the row: the row is found by its number, and the sheets marked
    // by an earlier call, used already, are not looked at again.
    if (sheetWidth_ > 0 && sheetHeight_ > 0 && int(PrintSheets.size()) == SheetRows &&
        int(markedFromLeft_.size()) == SheetRows) {
        if (y <= 0 || y % sheetHeight_ == 0) return;
        const int row = y / sheetHeight_;
        if (row >= SheetRows || int(PrintSheets[row].size()) != SheetColumns) return;
        const int left = x > 0 ? std::min(SheetColumns, (x - 1) / sheetWidth_ + 1) : 0;
        for (int c = markedFromLeft_[row]; c < left; ++c) MarkSheet(row, c);
        markedFromLeft_[row] = std::max(markedFromLeft_[row], left);
        return;
    }
    for (int row = 0; row < int(PrintSheets.size()); ++row) {
        std::vector<TSheetCell>& cells = PrintSheets[row];
        if (cells.empty() || !(cells[0].Rect.Top < y && y < cells[0].Rect.Bottom)) continue;
        for (int c = 0; c < int(cells.size()); ++c)
            if (cells[c].Rect.Left < x) MarkSheet(row, c);
    }
}

int SheetGrid::CountUsedSheets() const {
    int used = 0;
    for (const auto& row : PrintSheets)
        used +=
            int(std::count_if(row.begin(), row.end(), [](const TSheetCell& c) { return c.Used; }));
    return used;
}
