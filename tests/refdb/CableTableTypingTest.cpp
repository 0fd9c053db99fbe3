// The cable table window as a user meets it: rows and values typed into the grid's cell editors,
// ended with Tab or Return, posted with the navigator's buttons while the last editor is still
// open, and the table's file read back after the window was closed in each way.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QToolButton>

#include "GridUser.h"
#include "RefdbFixture.h"
#include "platform/DBGrid.h"
#include "platform/DBNavigator.h"
#include "platform/FileListBox.h"
#include "refdb/BazaT.h"

using namespace platform;

namespace {

class CableTableTyping : public RefdbTest {
protected:
    void SetUp() override {
        RefdbTest::SetUp();
        AddShippedTables();
        BazaT->FileListBox1->Update();
        ShowWindow();
    }
    void TearDown() override {
        EXPECT_EQ(lost_.Texts(), std::vector<std::string>{});
        RefdbTest::TearDown();
    }

    // The window as "База данных" > "Создание таблиц" shows it, in front.
    static void ShowWindow() {
        BazaT->show();
        QApplication::setActiveWindow(BazaT);
    }
    // The user clicks the table in the list.
    static void PickByClick(const std::string& name) {
        TFileListBox& list = *BazaT->FileListBox1;
        const int entry = list.IndexOf(name);
        ASSERT_GE(entry, 0) << name;
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.item(entry)).center());
    }
    static void ClickClose() { QTest::mouseClick(BazaT->Button3, Qt::LeftButton); }
    // The line of the grid whose first cell shows the text.
    static int LineOf(const std::string& firstCell) { return User().LineOf(firstCell); }
    static std::vector<double> FileValues(const std::string& path, const std::string& field) {
        FileTable file(path, "Сечение");
        return Floats(file.ds, field);
    }

    // The user at the grid of the window as it is now (a restart makes new windows).
    static GridUser User() { return GridUser(*BazaT->DBGrid1, BazaT->DBNavigator1); }

    LostEditorWarnings lost_;
};

}  // namespace

TEST_F(CableTableTyping, ANewTableKeepsEveryRowPostedWithTheLastValueStillInItsEditor) {
    Create({"TEST2", "VVGX", "В земле", "4", "Кабель", "Медь"});
    TClientDataSet& ds = BazaT->ClientDataSet1;
    TDBGrid& grid = *BazaT->DBGrid1;
    TDBNavigator& navigator = *BazaT->DBNavigator1;
    const std::vector<std::vector<std::string>> rows = {
        {"2,5", "2,5", "19"}, {"4", "4", "25"}, {"6", "6", "32"}};
    for (size_t i = 0; i < rows.size(); ++i) {
        User().Click(TDBNavigator::nbInsert);
        User().ClickCell(grid.model()->rowCount() - 1, 0);
        User().TypeRow(rows[i]);
        ASSERT_NE(User().Editor(), nullptr) << "the last value is still being typed";
        User().Click(TDBNavigator::nbPost);

        // Every row posted so far stays, in ascending cross-section, and can be edited and
        // deleted.
        const int posted = static_cast<int>(i) + 1;
        ASSERT_EQ(ds.State(), dsBrowse) << i;
        EXPECT_EQ(ds.RecordCount(), posted);
        ASSERT_EQ(grid.model()->rowCount(), posted);
        for (int line = 0; line < posted; ++line)
            for (int column = 0; column < 3; ++column)
                EXPECT_EQ(grid.CellText(line, column),
                          rows[static_cast<size_t>(line)][static_cast<size_t>(column)])
                    << line << " " << column;
        EXPECT_TRUE(navigator.Button(TDBNavigator::nbDelete)->isEnabled());
        EXPECT_TRUE(navigator.Button(TDBNavigator::nbEdit)->isEnabled());
        EXPECT_EQ(grid.CellText(User().CurrentRow(), 0), rows[i][0]) << "the posted row is current";
    }

    ClickClose();
    EXPECT_FALSE(BazaT->isVisible());
    const std::string path = ProgramFile("TEST2.xml");
    EXPECT_EQ(FileValues(path, "Сечение"), (std::vector<double>{2.5, 4, 6}));
    EXPECT_EQ(FileValues(path, "Сечение 0 жилы"), (std::vector<double>{2.5, 4, 6}));
    EXPECT_EQ(FileValues(path, "Длительный ток"), (std::vector<double>{19, 25, 32}));
}

// ---- An edit of a shipped table ----

enum class Ending { Tab, Return, EditButtonThenPost };
enum class Closing { CloseButton, CloseBoxThenReopen };

struct EditCase {
    std::string label;
    Ending ending;
    Closing closing;
};
void PrintTo(const EditCase& c, std::ostream* os) {
    *os << c.label;
}

class ShippedTableEdit : public CableTableTyping, public ::testing::WithParamInterface<EditCase> {};

TEST_P(ShippedTableEdit, IsInTheFileAfterTheWindowIsClosedAndAfterARestart) {
    const EditCase& c = GetParam();
    const std::string path = ProgramFile("АВВГв2.xml");
    ASSERT_EQ(FileValues(path, "Длительный ток")[1], 29);
    PickByClick("АВВГв2.xml");
    TDBGrid& grid = *BazaT->DBGrid1;
    const int line = LineOf("4");
    ASSERT_EQ(grid.CellText(line, 1), "29");

    // 30 typed over 29.
    User().ClickCell(line, 1);
    if (c.ending == Ending::EditButtonThenPost) User().Click(TDBNavigator::nbEdit);
    User().Type("30");
    switch (c.ending) {
        case Ending::Tab:
            User().Press(Qt::Key_Tab);
            break;
        case Ending::Return:
            User().Press(Qt::Key_Return);
            break;
        case Ending::EditButtonThenPost:
            ASSERT_NE(User().Editor(), nullptr);
            User().Click(TDBNavigator::nbPost);
            break;
    }
    EXPECT_EQ(grid.CellText(line, 1), "30");
    EXPECT_EQ(BazaT->ClientDataSet1.State(), dsBrowse);

    if (c.closing == Closing::CloseButton) {
        ClickClose();
        EXPECT_EQ(FileValues(path, "Длительный ток")[1], 30);
    } else {
        // The title bar's close box hides the window with the table open; opened again, the
        // window shows the edit.
        BazaT->close();
        EXPECT_FALSE(BazaT->isVisible());
        ShowWindow();
        EXPECT_EQ(grid.CellText(LineOf("4"), 1), "30");
    }
    // The program ends and starts again.
    Restart([] {});
    EXPECT_EQ(FileValues(path, "Длительный ток")[1], 30);
    ASSERT_TRUE(OpenCurrentTable("АВВГв2.xml"));
    BazaT->ClientDataSet1.SetIndexFieldNames("Сечение");
    EXPECT_EQ(Floats(BazaT->ClientDataSet1, "Длительный ток")[1], 30);
}

INSTANTIATE_TEST_SUITE_P(
    CableTableTyping, ShippedTableEdit,
    ::testing::Values(EditCase{"TabThenCloseButton", Ending::Tab, Closing::CloseButton},
                      EditCase{"ReturnThenCloseButton", Ending::Return, Closing::CloseButton},
                      EditCase{"EditButtonThenPostThenCloseButton", Ending::EditButtonThenPost,
                               Closing::CloseButton},
                      EditCase{"TabThenCloseBox", Ending::Tab, Closing::CloseBoxThenReopen},
                      EditCase{"ReturnThenCloseBox", Ending::Return, Closing::CloseBoxThenReopen},
                      EditCase{"EditButtonThenPostThenCloseBox", Ending::EditButtonThenPost,
                               Closing::CloseBoxThenReopen}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return info.param.label; });

TEST_F(CableTableTyping, AValueLeftInItsEditorIsTakenWhenTheWindowIsClosed) {
    const std::string path = ProgramFile("АВВГв2.xml");
    // "Закрыть" writes the table at once.
    PickByClick("АВВГв2.xml");
    User().ClickCell(LineOf("4"), 1);
    User().Type("31");
    ASSERT_NE(User().Editor(), nullptr);
    ClickClose();
    EXPECT_FALSE(BazaT->isVisible());
    EXPECT_EQ(FileValues(path, "Длительный ток")[1], 31);

    // The close box leaves the table open until the program ends.
    ShowWindow();
    PickByClick("АВВГв2.xml");
    User().ClickCell(LineOf("4"), 1);
    User().Type("32");
    ASSERT_NE(User().Editor(), nullptr);
    BazaT->close();
    EXPECT_FALSE(BazaT->isVisible());
    Restart([] {});
    EXPECT_EQ(FileValues(path, "Длительный ток")[1], 32);
}

TEST_F(CableTableTyping, CancelDropsTheValueInTheEditorAndTheFileStaysAsItWas) {
    const std::string path = ProgramFile("АВВГв2.xml");
    const std::string bytes = ReadBytes(path);
    PickByClick("АВВГв2.xml");
    const int line = LineOf("4");
    User().ClickCell(line, 1);
    User().Click(TDBNavigator::nbEdit);
    User().Type("30");
    User().Click(TDBNavigator::nbCancel);
    EXPECT_EQ(User().Editor(), nullptr);
    EXPECT_EQ(BazaT->ClientDataSet1.State(), dsBrowse);
    EXPECT_EQ(BazaT->DBGrid1->CellText(line, 1), "29");
    ClickClose();
    EXPECT_EQ(ReadBytes(path), bytes);
}

// ---- Values that cannot be a cross-section or a current ----

struct RefusedCableCase {
    std::string label;
    int column;
    std::string text;
    std::string message;
};
void PrintTo(const RefusedCableCase& c, std::ostream* os) {
    *os << c.label;
}

class RefusedCableValue : public CableTableTyping,
                          public ::testing::WithParamInterface<RefusedCableCase> {};

TEST_P(RefusedCableValue, IsNamedAndLeavesTheRowAndTheFileAsTheyWere) {
    const RefusedCableCase& c = GetParam();
    const std::string path = ProgramFile("АВВГв2.xml");
    const std::string bytes = ReadBytes(path);
    PickByClick("АВВГв2.xml");
    TDBGrid& grid = *BazaT->DBGrid1;
    const int line = LineOf("4");
    const std::string before = grid.CellText(line, c.column);

    // Typed over a stored value.
    User().ClickCell(line, c.column);
    User().Type(c.text);
    responder_.ExpectMessage(c.message, "Veltranovaplanir", mrOk);
    User().Press(Qt::Key_Return);
    EXPECT_EQ(grid.CellText(line, c.column), before);
    EXPECT_EQ(User().CurrentRow(), line);

    // Typed into a new row: the cell stays empty, the row waits for a value.
    User().Click(TDBNavigator::nbInsert);
    const int newLine = grid.model()->rowCount() - 1;
    User().ClickCell(newLine, c.column);
    User().Type(c.text);
    responder_.ExpectMessage(c.message, "Veltranovaplanir", mrOk);
    User().Press(Qt::Key_Tab);
    EXPECT_EQ(grid.CellText(newLine, c.column), "");
    EXPECT_EQ(BazaT->ClientDataSet1.State(), dsInsert);
    User().Click(TDBNavigator::nbCancel);

    ClickClose();
    EXPECT_EQ(ReadBytes(path), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    CableTableTyping, RefusedCableValue,
    ::testing::Values(
        RefusedCableCase{"ZeroSection", 0, "0", "Введите в поле 'Сечение' число больше нуля."},
        RefusedCableCase{"NegativeSection", 0, "-4", "Введите в поле 'Сечение' число больше нуля."},
        RefusedCableCase{"NegativeCurrent", 1, "-29",
                         "Введите в поле 'Длительный ток' число не меньше нуля."},
        RefusedCableCase{"InfiniteCurrent", 1, "1e400",
                         "'1e400' не является числом (поле 'Длительный ток')."}),
    [](const ::testing::TestParamInfo<RefusedCableCase>& info) { return info.param.label; });

TEST_F(CableTableTyping, TheZeroConductorOfAFourCoreCableCannotBeZero) {
    PickByClick("ВВГв4.xml");
    TDBGrid& grid = *BazaT->DBGrid1;
    ASSERT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString().toStdString(),
              "Сечение 0 жилы");
    User().ClickCell(0, 1);
    User().Type("0");
    responder_.ExpectMessage("Введите в поле 'Сечение 0 жилы' число больше нуля.",
                             "Veltranovaplanir", mrOk);
    User().Press(Qt::Key_Return);
    EXPECT_EQ(grid.CellText(0, 1), "1,5");
}

TEST_F(CableTableTyping, ARowThatCannotBeStoredWhenAnotherCommandOpensATableIsNamed) {
    // A row begun in the window and left without its current; meanwhile another window's
    // command opens another table.
    PickByClick("АВВГв2.xml");
    User().Click(TDBNavigator::nbInsert);
    User().ClickCell(BazaT->DBGrid1->model()->rowCount() - 1, 0);
    User().Type("300");
    User().Press(Qt::Key_Tab);
    responder_.ExpectMessage(
        "Строка таблицы «АВВГв2.xml» не занесена в базу.\n"
        "Поле 'Длительный ток' должно иметь значение.",
        "Предупреждение.", mrOk);
    ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));
    EXPECT_EQ(BazaT->DBGrid1->CellText(0, 0), "1,5");
    BazaT->ClientDataSet1.SetIndexFieldNames("Сечение");
    ASSERT_TRUE(OpenCurrentTable("АВВГв2.xml"));
    EXPECT_EQ(Floats(BazaT->ClientDataSet1, "Сечение").back(), 185);
}
