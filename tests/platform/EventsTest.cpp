#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include "platform/Events.h"

using namespace platform;

namespace {
struct Counter : QObject {
    int runs = 0;
    void Change() { ++runs; }
};
}  // namespace

TEST(Events, FixedListComboRunsItsHandlerOnlyOnAUsersChoice) {
    QComboBox combo;
    combo.addItems({"100%", "75%", "50%"});
    Counter counter;
    OnChoice(&combo, &counter, &Counter::Change);

    combo.setCurrentIndex(2);  // from code: nothing runs
    combo.setCurrentIndex(-1);
    EXPECT_EQ(counter.runs, 0);
    EXPECT_EQ(combo.currentIndex(), -1);  // ItemIndex -1: no choice

    combo.setCurrentIndex(0);
    combo.show();
    QTest::keyClick(&combo, Qt::Key_Down);  // the user picks the next item
    EXPECT_EQ(counter.runs, 1);
    EXPECT_EQ(combo.currentIndex(), 1);
}

TEST(Events, EditsRunTheirHandlerOnEveryTextChangeFromCodeToo) {
    QLineEdit edit;
    QComboBox editable;
    editable.setEditable(true);
    Counter edits, combos;
    OnTextChange(&edit, &edits, &Counter::Change);
    OnTextChange(&editable, &combos, &Counter::Change);
    edit.setText("15");
    edit.setText("25");
    editable.setEditText("Медь");
    EXPECT_EQ(edits.runs, 2);
    EXPECT_EQ(combos.runs, 1);
}

TEST(Events, CheckingARadioButtonFromCodeRunsItsClickHandler) {
    QWidget box;
    QRadioButton first("Радиальная", &box), second("Магистральная", &box);
    Counter counter;
    OnChecked(&second, &counter, &Counter::Change);
    second.setChecked(true);
    EXPECT_EQ(counter.runs, 1);
    first.setChecked(true);  // unchecking `second` runs nothing
    EXPECT_EQ(counter.runs, 1);
}

TEST(Events, CellsAreAddressedColumnFirst) {
    QTableWidget grid(2, 3);
    SetCells(grid, 2, 0, "Щит 1");  // Cells[2][0]: column 2, row 0
    EXPECT_EQ(grid.item(0, 2)->text().toStdString(), "Щит 1");
    EXPECT_EQ(Cells(grid, 2, 0), "Щит 1");
    EXPECT_EQ(Cells(grid, 0, 1), "");  // an empty cell reads as empty text
    SetCells(grid, 4, 5, "x");         // grows the grid as needed
    EXPECT_EQ(grid.rowCount(), 6);
    EXPECT_EQ(grid.columnCount(), 5);
}
