// The cable table window's list as the main window's menus show it ("База данных" to edit the
// tables, "Справочник" only to look them up): picking with the mouse or the keys.
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>

#include "AppFixture.h"
#include "RefdbFixture.h"
#include "app/Mainform.h"
#include "platform/Conversions.h"
#include "platform/DBGrid.h"
#include "platform/FileListBox.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaT.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

// A click on the list entry of that name, where the user sees it.
void ClickEntry(const std::string& name, Qt::KeyboardModifiers modifiers = {}) {
    TFileListBox& list = *BazaT->FileListBox1;
    const int i = list.IndexOf(name);
    ASSERT_GE(i, 0) << name;
    QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers,
                      list.visualItemRect(list.item(i)).center());
}

std::string Highlighted() {
    return BazaT->FileListBox1->Items(BazaT->FileListBox1->ItemIndex());
}

// The grid shows the table of that file, in ascending cross-section, and the list highlights it.
void ExpectShown(const std::string& name) {
    SCOPED_TRACE(name);
    TClientDataSet& ds = BazaT->ClientDataSet1;
    ASSERT_TRUE(ds.Active());
    EXPECT_TRUE(fs::equivalent(ds.FileName(), ProgramFolder() + name));
    EXPECT_EQ(Highlighted(), name);
    FileTable file(ProgramFolder() + name, "Сечение");
    const std::vector<double> sections = Floats(file.ds, "Сечение");
    EXPECT_EQ(Floats(ds, "Сечение"), sections);
    const TDBGrid& grid = *BazaT->DBGrid1;
    ASSERT_EQ(grid.model()->rowCount(), static_cast<int>(sections.size()));
    EXPECT_EQ(grid.CellText(0, 0), FloatToStr(sections.front()));
    EXPECT_EQ(grid.CellText(grid.model()->rowCount() - 1, 0), FloatToStr(sections.back()));
}

void ExpectGridEmpty() {
    EXPECT_FALSE(BazaT->ClientDataSet1.Active());
    EXPECT_EQ(BazaT->DBGrid1->model()->rowCount(), 0);
    EXPECT_EQ(BazaT->DBGrid1->model()->columnCount(), 0);
}

}  // namespace

struct LayoutCase {
    std::string label;
    bool editing;  // "База данных" edits the tables, "Справочник" only shows them
};
void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.label;
}

class CableTableList : public AppFixture, public ::testing::WithParamInterface<LayoutCase> {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ShowWindow();
    }
    void TearDown() override {
        BazaT->hide();
        AppFixture::TearDown();
    }
    void ShowWindow() {
        (GetParam().editing ? Form1->N12 : Form1->N18)->trigger();
        ASSERT_TRUE(BazaT->isVisible());
    }
};

TEST_P(CableTableList, AClickOpensTheTableAsTheArrowKeysDo) {
    TFileListBox& list = *BazaT->FileListBox1;
    ASSERT_EQ(Highlighted(), "");
    ClickEntry("ВВГв4.xml");
    ExpectShown("ВВГв4.xml");
    QTest::keyClick(&list, Qt::Key_Down);
    ExpectShown("ПВ1т2.xml");
    QTest::keyClick(&list, Qt::Key_Up);
    ExpectShown("ВВГв4.xml");
    ClickEntry("АВВГз3.xml");
    ExpectShown("АВВГз3.xml");
    ClickEntry("ПВ1т2.xml");
    ExpectShown("ПВ1т2.xml");

    // Control-click would take the highlight off the open table: it stays.
    ClickEntry("ПВ1т2.xml", Qt::ControlModifier);
    ExpectShown("ПВ1т2.xml");
}

TEST_P(CableTableList, TheHighlightAlwaysNamesTheTableInTheGrid) {
    // "Закрыть" closes the table and the window; shown again, nothing is highlighted.
    ClickEntry("ВВГв4.xml");
    QTest::mouseClick(BazaT->Button3, Qt::LeftButton);
    EXPECT_FALSE(BazaT->isVisible());
    EXPECT_EQ(Highlighted(), "");
    ExpectGridEmpty();
    ShowWindow();
    EXPECT_EQ(Highlighted(), "");
    ExpectGridEmpty();

    if (GetParam().editing) {
        // A creation that fails closes the open table: nothing stays highlighted.
        ClickEntry("ВВГв4.xml");
        responder_.ExpectMessage("Все поля должны быть заполненными. ", "Предурпеждение.", mrOk);
        Create({"Т1", "ВВГ", "В воздухе", "4", "Кабель", ""});
        EXPECT_EQ(Highlighted(), "");
        ExpectGridEmpty();
    }

    // Another window opens a table through the loader: the list follows.
    ClickEntry("ПВ1т2.xml");
    ASSERT_TRUE(OpenCurrentTable("АВВГз3.xml"));
    EXPECT_EQ(Highlighted(), "АВВГз3.xml");

    // A table whose file went away behind the list's back: the list loses it and shows the table
    // still open.
    fs::remove(ProgramFile("ПВ1т2.xml"));
    responder_.ExpectMessage("Таблица  ПВ1т2.xml  несуществует в базе данных", "Предупреждение",
                             mrOk);
    ClickEntry("ПВ1т2.xml");
    EXPECT_EQ(BazaT->FileListBox1->IndexOf("ПВ1т2.xml"), -1);
    ExpectShown("АВВГз3.xml");

    // A damaged table: the grid is empty and the entry stays highlighted, so that it can be
    // deleted.
    WriteBytes(ProgramFile("Битая.xml"), "<DATAPACKET>");
    BazaT->FileListBox1->Update();
    responder_.ExpectMessage("Ошибка E201. В базе данных поврежден файл  Битая.xml", "", mrOk);
    ClickEntry("Битая.xml");
    ExpectGridEmpty();
    EXPECT_EQ(Highlighted(), "Битая.xml");
    if (GetParam().editing) {
        responder_.ExpectMessage("Хотите удалить таблицу?", "Подтверждение.", mrYes);
        QTest::mouseClick(BazaT->Button2, Qt::LeftButton);
        EXPECT_FALSE(fs::exists(ProgramFile("Битая.xml")));
        EXPECT_EQ(Listed(), (std::vector<std::string>{"АВВГз3.xml", "ВВГв4.xml"}));
        EXPECT_EQ(Highlighted(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(CableTableWindow, CableTableList,
                         ::testing::Values(LayoutCase{"DatabaseLayout", true},
                                           LayoutCase{"ReferenceLayout", false}),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                             return info.param.label;
                         });
