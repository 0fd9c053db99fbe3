#include "platform/Events.h"

namespace platform {

std::string Cells(const QTableWidget& grid, int col, int row) {
    const QTableWidgetItem* item = grid.item(row, col);
    return item ? item->text().toStdString() : std::string();
}

void SetCells(QTableWidget& grid, int col, int row, const std::string& text) {
    if (row >= grid.rowCount()) grid.setRowCount(row + 1);
    if (col >= grid.columnCount()) grid.setColumnCount(col + 1);
    if (QTableWidgetItem* item = grid.item(row, col)) {
        item->setText(Q(text));
    } else {
        grid.setItem(row, col, new QTableWidgetItem(Q(text)));
    }
}

}  // namespace platform
