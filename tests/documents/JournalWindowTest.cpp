// The journal window "Результаты" as created at start-up: its fields empty, its layout, the
// heading row of its grid and its close button.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QTableWidgetItem>
#include <QTest>
#include <string>
#include <vector>

#include "DocumentsFixture.h"
#include "documents/Kabj2.h"

using JournalWindow = DocumentsTest;

TEST_F(JournalWindow, StartsWithoutPagesOrTitle) {
    EXPECT_EQ(Form8->JournalPageCount, 0);
    EXPECT_EQ(Form8->TablePageCount, 0);
    EXPECT_EQ(Form8->PreviewTitle, "");
    EXPECT_FALSE(Form8->PageBitmap);
    EXPECT_EQ(Form8->JournalKind(), 0);
    EXPECT_EQ(Form8->windowTitle().toStdString(), "Результаты");
    EXPECT_EQ(Form8->size(), QSize(725, 310));
    EXPECT_EQ(Form8->minimumSize(), Form8->maximumSize());
    EXPECT_TRUE(Form8->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Form8->Label1->text().toStdString(), "Кабельный журнал для раскладки");
    EXPECT_EQ(Form8->StringGrid1->columnCount(), 7);
    EXPECT_EQ(Form8->BitBtn2->text().toStdString(), "Отчет");
}

TEST_F(JournalWindow, HeadingRowNamesTheSevenColumns) {
    Form8->SetJournalHeader();
    std::vector<std::string> headings;
    for (int column = 0; column < Form8->StringGrid1->columnCount(); ++column) {
        const QTableWidgetItem* cell = Form8->StringGrid1->item(0, column);
        headings.push_back(cell != nullptr ? cell->text().toStdString() : "");
    }
    const std::vector<std::string> expected = {
        "№", "Обозначение кабеля", "Начало.", "Конец.", "Марка.", "Сечение.", "Длина.",
    };
    EXPECT_EQ(headings, expected);
}

TEST_F(JournalWindow, CloseButtonClosesIt) {
    Form8->show();
    QTest::mouseClick(Form8->BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(Form8->isVisible());
}

// The heading "Кабельный журнал для раскладки" is not cut by the width it was laid out with, and
// the journal's kind begins after it.
TEST_F(JournalWindow, HeadingHoldsItsTextAndTheKindFollowsIt) {
    // Shown, the labels have the bold 13 px font of their style.
    Form8->show();
    EXPECT_EQ(Form8->Label1->font().pixelSize(), 13);
    const QFontMetrics metrics(Form8->Label1->font());
    EXPECT_GE(Form8->Label1->width(), metrics.horizontalAdvance(Form8->Label1->text()));
    EXPECT_EQ(Form8->Label1->x(), 144);
    EXPECT_GT(Form8->Label2->x(), Form8->Label1->geometry().right());
    EXPECT_GE(Form8->Label2->x(), 408);
    EXPECT_LE(Form8->Label2->geometry().right(), Form8->width());
}
