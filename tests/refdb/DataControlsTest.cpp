// The grid, the navigator and the file list that the reference windows are made of.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "GridUser.h"
#include "RefdbFixture.h"
#include "ScriptedResponder.h"
#include "platform/ClientDataSet.h"
#include "platform/DBGrid.h"
#include "platform/DBNavigator.h"
#include "platform/FileListBox.h"

using namespace platform;

namespace {

class DataControls : public ::testing::Test {
protected:
    void SetUp() override {
        SetResponder(&responder_);
        ds_.FieldDefs().Add("Сечение", ftFloat, 0, true);
        ds_.FieldDefs().Add("Длительный ток", ftFloat, 0, true);
        ds_.FieldDefs().Add("Медь", ftString, 10);
        ds_.IndexDefs().Add("", "Сечение", ixUnique | ixDescending);
        ds_.SetIndexFieldNames("Сечение");
        ds_.CreateDataSet();
        for (const auto& [section, current] :
             std::vector<std::pair<double, double>>{{4, 41}, {1.5, 23}, {2.5, 30}}) {
            ds_.Append();
            ds_.FieldByName("Сечение").SetAsFloat(section);
            ds_.FieldByName("Длительный ток").SetAsFloat(current);
            ds_.Post();
        }
        grid_.SetDataSet(&ds_);
        navigator_.SetDataSet(&ds_);
        LinkDataControls(&grid_, &navigator_);
    }
    void TearDown() override {
        responder_.VerifyDone();
        SetResponder(nullptr);
    }
    bool SetCell(int row, int column, const char* text) {
        return grid_.model()->setData(grid_.model()->index(row, column), text, Qt::EditRole);
    }

    ScriptedResponder responder_;
    TClientDataSet ds_;
    TDBGrid grid_;
    TDBNavigator navigator_;
};

}  // namespace

TEST_F(DataControls, TheGridShowsTheRowsInTheDatasetsOrderWithCommaDecimals) {
    ASSERT_EQ(grid_.model()->columnCount(), 3);
    EXPECT_EQ(grid_.model()->headerData(1, Qt::Horizontal).toString().toStdString(),
              "Длительный ток");
    EXPECT_EQ(grid_.CellText(0, 0), "1,5");
    EXPECT_EQ(grid_.CellText(1, 0), "2,5");
    EXPECT_EQ(grid_.CellText(2, 1), "41");
    EXPECT_EQ(grid_.CellText(2, 2), "");
}

TEST_F(DataControls, RefreshingLeavesTheCursorOfCodeThatWalksTheTable) {
    // A walk that has just run past the last row, and one that has stepped before the first.
    ds_.Last();
    ds_.Next();
    ASSERT_TRUE(ds_.Eof());
    grid_.Refresh();
    EXPECT_TRUE(ds_.Eof());
    EXPECT_EQ(ds_.RecNo(), 3);

    ds_.First();
    ds_.Prior();
    ASSERT_TRUE(ds_.Bof());
    grid_.Refresh();
    EXPECT_TRUE(ds_.Bof());
    EXPECT_FALSE(ds_.Eof());
    EXPECT_EQ(ds_.RecNo(), 1);

    ds_.First();
    ds_.Next();
    grid_.Refresh();
    EXPECT_EQ(ds_.RecNo(), 2);
    EXPECT_FALSE(ds_.Eof());
    EXPECT_FALSE(ds_.Bof());
    EXPECT_EQ(grid_.currentIndex().row(), 1);
}

TEST_F(DataControls, ChoosingALineMakesItTheCurrentRow) {
    grid_.setCurrentIndex(grid_.model()->index(2, 0));
    EXPECT_EQ(ds_.RecNo(), 3);
    EXPECT_EQ(ds_.FieldByName("Сечение").AsFloat(), 4);
}

TEST_F(DataControls, AValueTypedInACellIsPostedAtOnceAndTheRowsReordered) {
    EXPECT_TRUE(SetCell(0, 0, "6"));
    EXPECT_EQ(ds_.State(), dsBrowse);
    EXPECT_EQ(Floats(ds_, "Сечение"), (std::vector<double>{2.5, 4, 6}));
    EXPECT_EQ(grid_.CellText(2, 0), "6");
    EXPECT_EQ(grid_.CellText(2, 1), "23");
}

TEST_F(DataControls, ARefusedValueIsShownAndChangesNothing) {
    responder_.ExpectMessage("'шесть' не является числом (поле 'Сечение').", "Veltranovaplanir",
                             mrOk);
    EXPECT_FALSE(SetCell(0, 0, "шесть"));
    responder_.ExpectMessage("Поле 'Длительный ток' должно иметь значение.", "Veltranovaplanir",
                             mrOk);
    EXPECT_FALSE(SetCell(1, 1, ""));
    EXPECT_EQ(ds_.State(), dsBrowse);
    EXPECT_EQ(ds_.ChangeCount(), 3);
    EXPECT_EQ(grid_.CellText(0, 0), "1,5");
    EXPECT_EQ(grid_.CellText(1, 1), "30");
}

TEST_F(DataControls, AValueTypedIntoRowsChangedMeanwhileByCodeIsNotTaken) {
    // Code adds a row that sorts first; the grid still shows the rows read before.
    ds_.Append();
    ds_.FieldByName("Сечение").SetAsFloat(1);
    ds_.FieldByName("Длительный ток").SetAsFloat(17);
    ds_.Post();
    ASSERT_EQ(grid_.CellText(0, 0), "1,5");

    EXPECT_FALSE(SetCell(0, 1, "25"));
    EXPECT_EQ(Floats(ds_, "Длительный ток"), (std::vector<double>{17, 23, 30, 41}));
    EXPECT_EQ(grid_.CellText(0, 0), "1");  // read again
}

TEST_F(DataControls, LeavingARowBeingInsertedPostsIt) {
    navigator_.BtnClick(TDBNavigator::nbInsert);
    ASSERT_EQ(grid_.model()->rowCount(), 4);
    SetCell(3, 0, "10");
    SetCell(3, 1, "80");
    EXPECT_EQ(ds_.State(), dsInsert);
    grid_.setCurrentIndex(grid_.model()->index(0, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(ds_.State(), dsBrowse);
    EXPECT_EQ(Floats(ds_, "Сечение"), (std::vector<double>{1.5, 2.5, 4, 10}));
    EXPECT_EQ(grid_.model()->rowCount(), 4);
}

TEST_F(DataControls, ARefreshUnderAnOpenCellEditorMovesNoRow) {
    grid_.show();
    QApplication::setActiveWindow(&grid_);
    GridUser user(grid_, &navigator_);
    user.ClickCell(2, 1);
    user.Type("5");
    ASSERT_NE(user.Editor(), nullptr);

    // Other code adds a row while a value is being typed, and the grid reads the rows again:
    // the editor goes, and the dataset's cursor stays where the code left it.
    QSignalSpy moves(&grid_, &TDBGrid::BeforeChange);
    ds_.Append();
    ds_.FieldByName("Сечение").SetAsFloat(10);
    ds_.FieldByName("Длительный ток").SetAsFloat(80);
    ds_.Post();
    grid_.Refresh();
    EXPECT_EQ(moves.count(), 0);
    EXPECT_EQ(ds_.FieldByName("Сечение").AsFloat(), 10);
    EXPECT_EQ(grid_.currentIndex().row(), 3);
    EXPECT_EQ(user.Editor(), nullptr);
}

TEST_F(DataControls, TheNavigatorAsksBeforeDeleting) {
    ds_.First();
    responder_.ExpectMessage("Удалить запись?", "Подтверждение.", mrNo);
    navigator_.BtnClick(TDBNavigator::nbDelete);
    EXPECT_EQ(ds_.RecordCount(), 3);
    responder_.ExpectMessage("Удалить запись?", "Подтверждение.", mrYes);
    navigator_.BtnClick(TDBNavigator::nbDelete);
    EXPECT_EQ(Floats(ds_, "Сечение"), (std::vector<double>{2.5, 4}));
    EXPECT_EQ(grid_.model()->rowCount(), 2);
}

TEST_F(DataControls, TheNavigatorReportsAnActionOnlyWhenItSucceeded) {
    QSignalSpy clicks(&navigator_, &TDBNavigator::Click);
    navigator_.BtnClick(TDBNavigator::nbLast);
    EXPECT_EQ(ds_.RecNo(), 3);
    EXPECT_EQ(grid_.currentIndex().row(), 2);
    navigator_.BtnClick(TDBNavigator::nbInsert);
    responder_.ExpectMessage("Поле 'Сечение' должно иметь значение.", "Veltranovaplanir", mrOk);
    navigator_.BtnClick(TDBNavigator::nbPost);
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks[1][0].value<TDBNavigator::TNavigateBtn>(), TDBNavigator::nbInsert);
    // While the row is pending only posting, cancelling and moving make sense.
    EXPECT_TRUE(navigator_.Button(TDBNavigator::nbPost)->isEnabled());
    EXPECT_TRUE(navigator_.Button(TDBNavigator::nbCancel)->isEnabled());
    EXPECT_FALSE(navigator_.Button(TDBNavigator::nbInsert)->isEnabled());
    EXPECT_FALSE(navigator_.Button(TDBNavigator::nbEdit)->isEnabled());
    navigator_.BtnClick(TDBNavigator::nbCancel);
    EXPECT_EQ(ds_.State(), dsBrowse);
    EXPECT_EQ(grid_.model()->rowCount(), 3);
    EXPECT_FALSE(navigator_.Button(TDBNavigator::nbPost)->isEnabled());
}

TEST_F(DataControls, AClosedDatasetShowsNothingAndDisablesTheNavigator) {
    ds_.Close();
    grid_.Refresh();
    EXPECT_EQ(grid_.model()->rowCount(), 0);
    EXPECT_EQ(grid_.model()->columnCount(), 0);
    for (int b = 0; b < TDBNavigator::ButtonCount; ++b)
        EXPECT_FALSE(navigator_.Button(static_cast<TDBNavigator::TNavigateBtn>(b))->isEnabled());
    navigator_.BtnClick(TDBNavigator::nbInsert);  // nothing happens, nothing is said
}

TEST(FileListBox, ListsTheMatchingFilesButTheExcludedOnes) {
    QTemporaryDir folder;
    for (const char* name : {"b.xml", "a.xml", "Avtomat.xml", "c.txt", "D.XML"})
        WriteBytes(folder.filePath(name).toStdString(), "x");
    QDir(folder.path()).mkdir("e.xml");

    TFileListBox list;
    list.SetExcludedNames({"Avtomat.xml"});
    list.SetMask("*.xml");
    list.SetDirectory(folder.path().toStdString());
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list.Items(i));
    EXPECT_EQ(names, (std::vector<std::string>{"D.XML", "a.xml", "b.xml"}));
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(list.FileName(), "");
}

TEST(FileListBox, KeepsTheSelectedFileWhenReadAgainAndSaysOnlyWhatTheUserChanged) {
    QTemporaryDir folder;
    for (const char* name : {"b.xml", "c.xml"})
        WriteBytes(folder.filePath(name).toStdString(), "x");
    TFileListBox list;
    list.SetMask("*.xml");
    list.SetDirectory(folder.path().toStdString());
    QSignalSpy changes(&list, &TFileListBox::Change);

    list.setCurrentRow(1);  // Qt's item API
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(list.FileName(), folder.filePath("c.xml").toStdString());

    WriteBytes(folder.filePath("a.xml").toStdString(), "x");
    list.Update();
    EXPECT_EQ(list.Items(list.ItemIndex()), "c.xml");
    list.SetItemIndex(0);
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(changes.count(), 1);

    QFile::remove(folder.filePath("a.xml"));
    list.Update();
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(changes.count(), 1);
}

TEST(FileListBox, AClickAndAnArrowKeyReportTheEntryTheySelect) {
    QTemporaryDir folder;
    for (const char* name : {"a.xml", "b.xml", "c.xml"})
        WriteBytes(folder.filePath(name).toStdString(), "x");
    TFileListBox list;
    list.SetMask("*.xml");
    list.SetDirectory(folder.path().toStdString());
    list.resize(200, 120);
    list.show();
    // What the list says is selected at the moment it reports a change.
    std::vector<std::string> reported;
    QObject::connect(&list, &TFileListBox::Change,
                     [&] { reported.push_back(list.Items(list.ItemIndex())); });
    const auto click = [&](int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers,
                          list.visualItemRect(list.item(row)).center());
    };

    click(1);
    EXPECT_EQ(reported, (std::vector<std::string>{"b.xml"}));
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(reported, (std::vector<std::string>{"b.xml", "c.xml"}));
    click(0);
    EXPECT_EQ(reported, (std::vector<std::string>{"b.xml", "c.xml", "a.xml"}));
    click(0);  // the entry already selected: nothing changes
    EXPECT_EQ(reported.size(), 3u);
    EXPECT_EQ(list.ItemIndex(), 0);

    // Control-click takes the highlight off: reported as no entry.
    click(0, Qt::ControlModifier);
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(reported, (std::vector<std::string>{"b.xml", "c.xml", "a.xml", ""}));
}
