// The breaker and transformer windows as a user meets them: values typed into the grid's cell
// editors land in the row they were typed into, and numbers that cannot be a current, a power or
// a percentage are refused with the field's name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "GridUser.h"
#include "RefdbFixture.h"
#include "platform/DBGrid.h"
#include "platform/DBNavigator.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaTran.h"

using namespace platform;

namespace {

constexpr char kTitle[] = "Veltranovaplanir";

class BaseTableTyping : public RefdbTest {
protected:
    void SetUp() override {
        RefdbTest::SetUp();
        // The shipped breaker table is long enough to scroll.
        Restart([this] { AddShippedTables(); });
    }
    void TearDown() override {
        EXPECT_EQ(lost_.Texts(), std::vector<std::string>{});
        RefdbTest::TearDown();
    }

    static void Show(QWidget& window) {
        window.show();
        QApplication::setActiveWindow(&window);
    }
    LostEditorWarnings lost_;
};

}  // namespace

TEST_F(BaseTableTyping,
       ARefusedBreakerValueLeavesTheViewOnItsRowAndTheNextValueGoesWhereItIsTyped) {
    Show(*BazaAvt);
    TDBGrid& grid = *BazaAvt->DBGrid3;
    TClientDataSet& ds = BazaAvt->AVT1;
    GridUser user(grid, BazaAvt->DBNavigator1);
    const int e06 = user.LineOf("Э06В 3P");
    ASSERT_GT(e06, 20) << "far down the table";

    user.ClickCell(e06, 1);
    ASSERT_EQ(grid.CellText(e06, 1), "630");
    const int top = user.TopLineInView();
    ASSERT_GT(top, 20) << "the grid is scrolled down to the row";
    user.Type("abc");
    responder_.ExpectMessage("'abc' не является числом (поле 'Мин. ном. ток. А').", kTitle, mrOk);
    user.Press(Qt::Key_Return);

    // The view stays where it was, on the refused row, and so does the table's current record.
    EXPECT_EQ(user.TopLineInView(), top);
    EXPECT_EQ(user.CurrentRow(), e06);
    EXPECT_EQ(user.CurrentColumn(), 1);
    EXPECT_TRUE(user.CellInView(e06, 1));
    EXPECT_EQ(ds.FieldByName("Серии").AsString(), "Э06В 3P");
    EXPECT_EQ(grid.CellText(e06, 1), "630");

    // A click on the row shown at the top and a value typed there: refused when it cannot be a
    // current, taken into that row when it can.
    user.ClickCell(top, 1);
    const std::string clicked = grid.CellText(top, 0);
    const std::string clickedMax = grid.CellText(top, 2);
    user.Type("-5");
    responder_.ExpectMessage("Введите в поле 'Мин. ном. ток. А' число не меньше нуля.", kTitle,
                             mrOk);
    user.Press(Qt::Key_Return);
    EXPECT_EQ(user.CurrentRow(), top);
    user.Type("5");
    user.Press(Qt::Key_Return);
    EXPECT_EQ(grid.CellText(top, 1), "5");
    EXPECT_EQ(grid.CellText(e06, 1), "630");

    QTest::mouseClick(BazaAvt->Button1, Qt::LeftButton);
    FileTable file(ProgramFile("Avtomat.xml"), "Мак. ном. ток А");
    int changed = 0;
    for (file.ds.First(); !file.ds.Eof(); file.ds.Next()) {
        const std::string series = file.ds.FieldByName("Серии").AsString();
        const double min = file.ds.FieldByName("Мин. ном. ток. А").AsFloat();
        if (series == "Э06В 3P") {
            EXPECT_EQ(min, 630);
        }
        if (min == 5) {
            ++changed;
            EXPECT_EQ(series, clicked);
            EXPECT_EQ(file.ds.FieldByName("Мак. ном. ток А").AsString(), clickedMax);
        }
    }
    EXPECT_EQ(changed, 1);
}

TEST_F(BaseTableTyping, AValueThatMovesItsRowKeepsTheCurrentCellOnThatRow) {
    // A larger largest current puts the row further down the table; the value typed next, after
    // Tab, goes into the same row.
    Show(*BazaAvt);
    TDBGrid& grid = *BazaAvt->DBGrid3;
    GridUser user(grid, BazaAvt->DBNavigator1);
    ASSERT_EQ(grid.CellText(0, 0), "ВА47-29 1P C");
    ASSERT_EQ(grid.CellText(0, 2), "3,2");
    user.ClickCell(0, 2);
    user.Type("5000");
    user.Press(Qt::Key_Tab);
    const int last = grid.model()->rowCount() - 1;
    EXPECT_EQ(grid.CellText(last, 0), "ВА47-29 1P C");
    EXPECT_EQ(grid.CellText(last, 2), "5000");
    EXPECT_EQ(user.CurrentRow(), last);
    EXPECT_EQ(user.CurrentColumn(), 3);
    user.Type("4");
    user.Press(Qt::Key_Return);
    EXPECT_EQ(grid.CellText(last, 3), "4");
    EXPECT_EQ(grid.CellText(0, 0), "ВА47-29 2P C");
    EXPECT_EQ(grid.CellText(0, 3), "2");
    EXPECT_EQ(BazaAvt->AVT1.FieldByName("Серии").AsString(), "ВА47-29 1P C");
}

struct RefusedBaseCase {
    std::string label;
    bool transformer;
    int column;
    std::string text;
    std::string message;
};
void PrintTo(const RefusedBaseCase& c, std::ostream* os) {
    *os << c.label;
}

class RefusedBaseValue : public BaseTableTyping,
                         public ::testing::WithParamInterface<RefusedBaseCase> {};

TEST_P(RefusedBaseValue, IsNamedAndLeavesTheRowAndTheFileAsTheyWere) {
    const RefusedBaseCase& c = GetParam();
    QDialog& window = c.transformer ? static_cast<QDialog&>(*BazaTran) : *BazaAvt;
    TDBGrid& grid = c.transformer ? *BazaTran->DBGrid1 : *BazaAvt->DBGrid3;
    TDBNavigator* navigator = c.transformer ? BazaTran->DBNavigator1 : BazaAvt->DBNavigator1;
    QAbstractButton* close = c.transformer ? BazaTran->Button1 : BazaAvt->Button1;
    const std::string path = ProgramFile(c.transformer ? "tranform.xml" : "Avtomat.xml");
    const std::string bytes = ReadBytes(path);
    Show(window);
    GridUser user(grid, navigator);
    const int line = 2;
    const std::string before = grid.CellText(line, c.column);

    user.ClickCell(line, c.column);
    user.Type(c.text);
    responder_.ExpectMessage(c.message, kTitle, mrOk);
    user.Press(Qt::Key_Return);
    EXPECT_EQ(grid.CellText(line, c.column), before);
    EXPECT_EQ(user.CurrentRow(), line);

    // The same value in a row being edited with the navigator.
    user.Click(TDBNavigator::nbEdit);
    user.Type(c.text);
    responder_.ExpectMessage(c.message, kTitle, mrOk);
    user.Click(TDBNavigator::nbPost);
    EXPECT_EQ(grid.CellText(line, c.column), before);
    user.Click(TDBNavigator::nbCancel);

    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(ReadBytes(path), bytes);
}

const char kBreakerMin[] = "Введите в поле 'Мин. ном. ток. А' число не меньше нуля.";

INSTANTIATE_TEST_SUITE_P(
    BaseTableTyping, RefusedBaseValue,
    ::testing::Values(
        RefusedBaseCase{"NegativeSmallestCurrent", false, 1, "-5", kBreakerMin},
        RefusedBaseCase{"NegativeLargestCurrent", false, 2, "-1",
                        "Введите в поле 'Мак. ном. ток А' число не меньше нуля."},
        RefusedBaseCase{"NegativeMultiple", false, 5, "-10",
                        "Введите в поле 'Кратность тока при КЗ' число не меньше нуля."},
        RefusedBaseCase{"InfiniteCurrent", false, 1, "1e999",
                        "'1e999' не является числом (поле 'Мин. ном. ток. А')."},
        RefusedBaseCase{"ZeroPower", true, 1, "0",
                        "Введите в поле 'Мощность кВА' число больше нуля."},
        RefusedBaseCase{"NegativePower", true, 1, "-400",
                        "Введите в поле 'Мощность кВА' число больше нуля."},
        RefusedBaseCase{"NegativeNoLoadLosses", true, 4, "-1",
                        "Введите в поле 'Потери холостого хода Вт' число не меньше нуля."},
        RefusedBaseCase{"NegativeShortCircuitLosses", true, 5, "-5400",
                        "Введите в поле 'Потери к.з. Вт' число не меньше нуля."},
        RefusedBaseCase{"NegativeShortCircuitVoltage", true, 6, "-4,5",
                        "Введите в поле 'Напряжение к.з. %' число не меньше нуля."},
        RefusedBaseCase{"NegativeNoLoadCurrent", true, 7, "-2",
                        "Введите в поле 'Ток холостого хода %' число не меньше нуля."}),
    [](const ::testing::TestParamInfo<RefusedBaseCase>& info) { return info.param.label; });
