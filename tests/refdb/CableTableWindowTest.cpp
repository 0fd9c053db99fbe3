// The cable table window: the table list, creating and deleting tables, rows typed into the grid.
#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "RefdbFixture.h"
#include "platform/Conversions.h"
#include "platform/DBGrid.h"
#include "platform/DBNavigator.h"
#include "platform/FileListBox.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaT.h"
#include "refdb/CableTableLoader.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

const std::vector<std::string> kFixtureTables = {"АВВГз3.xml", "ВВГв4.xml", "ПВ1т2.xml"};

// The user picks a table in the list.
void Pick(const std::string& name) {
    const int i = BazaT->FileListBox1->IndexOf(name);
    ASSERT_GE(i, 0) << name;
    BazaT->FileListBox1->setCurrentRow(i);
}

// Inserts a row with the navigator, types its values and posts it.
void AddRow(const std::vector<std::string>& values) {
    TDBNavigator& navigator = *BazaT->DBNavigator1;
    TDBGrid& grid = *BazaT->DBGrid1;
    navigator.BtnClick(TDBNavigator::nbInsert);
    const int row = grid.model()->rowCount() - 1;
    for (size_t c = 0; c < values.size(); ++c)
        grid.model()->setData(grid.model()->index(row, static_cast<int>(c)),
                              QString::fromStdString(values[c]), Qt::EditRole);
    navigator.BtnClick(TDBNavigator::nbPost);
}

}  // namespace

using CableTableWindow = RefdbTest;

TEST_F(CableTableWindow, TheWindowIsAsDesigned) {
    EXPECT_EQ(BazaT->windowTitle().toStdString(), "Сечение и длительные токи ");
    EXPECT_EQ(BazaT->minimumWidth(), 753);
    EXPECT_EQ(BazaT->maximumWidth(), 796);
    EXPECT_TRUE(BazaT->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(BazaT->Edit1->maxLength(), 8);
    EXPECT_EQ(BazaT->Edit2->maxLength(), 8);
    for (QComboBox* combo :
         {BazaT->ComboBox1, BazaT->ComboBox2, BazaT->ComboBox3, BazaT->ComboBox4}) {
        EXPECT_EQ(combo->currentIndex(), -1) << combo->objectName().toStdString();
        EXPECT_FALSE(combo->isEditable());
    }
    EXPECT_EQ(Items(*BazaT->ComboBox1),
              (std::vector<std::string>{"В воздухе", "В земле", "Два провода в трубе",
                                        "Три провода в трубе", "Четыре провода в трубе"}));
    const std::vector<std::pair<QAbstractButton*, std::string>> buttons = {
        {BazaT->Button1, "Создать"},
        {BazaT->Button2, "Удалить"},
        {BazaT->Button3, "Закрыть"},
        {BazaT->BitBtn1, "&Справка"}};
    for (const auto& [button, text] : buttons) EXPECT_EQ(button->text().toStdString(), text);
    EXPECT_EQ(BazaT->BitBtn1->property("HelpContext").toInt(), 105);
    const char* hints[] = {
        "Первая запись",        "Предыдущая запись",     "Следующая запись",
        "Последняя запись",     "Вставить новую запись", "Удалить запись",
        "Редактировать запись", "Занести в базу запись", "Отменить редактирование"};
    for (int b = 0; b < TDBNavigator::ButtonCount; ++b)
        EXPECT_EQ(BazaT->DBNavigator1->Button(static_cast<TDBNavigator::TNavigateBtn>(b))
                      ->toolTip()
                      .toStdString(),
                  hints[b]);
}

struct LayingCase {
    std::string method;
    std::vector<std::string> kinds;
    std::vector<std::string> cores;
};
void PrintTo(const LayingCase& c, std::ostream* os) {
    *os << c.method;
}

class LayingMethod : public RefdbTest, public ::testing::WithParamInterface<LayingCase> {};

TEST_P(LayingMethod, DecidesTheKindsAndCoreCountsOffered) {
    // A choice made before is undone by a new laying method.
    Choose(*BazaT->ComboBox1, "В воздухе");
    Choose(*BazaT->ComboBox3, "Кабель");
    Choose(*BazaT->ComboBox2, "4");

    Choose(*BazaT->ComboBox1, GetParam().method);
    EXPECT_EQ(Items(*BazaT->ComboBox3), GetParam().kinds);
    EXPECT_EQ(Items(*BazaT->ComboBox2), GetParam().cores);
    EXPECT_EQ(BazaT->ComboBox3->currentIndex(), -1);
    EXPECT_EQ(BazaT->ComboBox2->currentIndex(), -1);
}

INSTANTIATE_TEST_SUITE_P(
    CableTableWindow, LayingMethod,
    ::testing::Values(LayingCase{"В воздухе", {"Провод", "Кабель"}, {"2", "3", "4"}},
                      LayingCase{"В земле", {"Кабель"}, {"2", "3", "4"}},
                      LayingCase{"Два провода в трубе", {"Провод"}, {"2"}},
                      LayingCase{"Три провода в трубе", {"Провод"}, {"3"}},
                      LayingCase{"Четыре провода в трубе", {"Провод"}, {"4"}}),
    [](const ::testing::TestParamInfo<LayingCase>& info) {
        return "Method" + std::to_string(info.index);
    });

// ---- Creating tables ----

struct SchemaCase {
    NewTable table;
    std::vector<std::string> fields;
    std::string brand;
};
void PrintTo(const SchemaCase& c, std::ostream* os) {
    *os << c.table.kind << " " << c.table.cores;
}

class CreatedTable : public RefdbTest, public ::testing::WithParamInterface<SchemaCase> {};

TEST_P(CreatedTable, HasTheFieldsOfItsKindAndCoreCount) {
    const SchemaCase& c = GetParam();
    Create(c.table);
    const std::string fileName = c.table.name + ".xml";

    // The new, empty table is open and listed.
    TClientDataSet& ds = BazaT->ClientDataSet1;
    ASSERT_TRUE(ds.Active());
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_EQ(ds.IndexFieldNames(), "Сечение");
    EXPECT_EQ(Listed().size(), kFixtureTables.size() + 1);
    EXPECT_EQ(BazaT->FileListBox1->ItemIndex(), BazaT->FileListBox1->IndexOf(fileName));
    EXPECT_EQ(BazaT->DBGrid1->model()->columnCount(), static_cast<int>(c.fields.size()));

    FileTable file(ProgramFile(fileName));
    const TFieldDefs& defs = file.ds.FieldDefs();
    ASSERT_EQ(defs.Count(), static_cast<int>(c.fields.size()));
    for (int i = 0; i < defs.Count(); ++i) {
        const std::string& name = c.fields[static_cast<size_t>(i)];
        EXPECT_EQ(defs[i].Name(), name) << i;
        const bool number =
            name == "Сечение" || name == "Сечение 0 жилы" || name == "Длительный ток";
        EXPECT_EQ(defs[i].DataType(), number ? ftFloat : ftString) << name;
        EXPECT_EQ(defs[i].Size(), number ? 0 : 10) << name;
        EXPECT_EQ(defs[i].Required(), number) << name;
    }
    ASSERT_EQ(file.ds.IndexDefs().Count(), 1);
    EXPECT_EQ(file.ds.IndexDefs()[0].Name(), "");
    EXPECT_EQ(file.ds.IndexDefs()[0].Fields(), "Сечение");
    EXPECT_EQ(file.ds.IndexDefs()[0].Options(), ixUnique | ixDescending);
    EXPECT_TRUE(file.ds.IsEmpty());

    EXPECT_EQ(CableTableBrandOf(fileName), c.brand);
}

INSTANTIATE_TEST_SUITE_P(
    CableTableWindow, CreatedTable,
    ::testing::Values(
        SchemaCase{
            {"Пр2", "ПВ3", "Два провода в трубе", "2", "Провод", "Медь"},
            {"Сечение", "Длительный ток", "ПВ3", "Два провода в трубе", "2", "Провод", "Медь"},
            "ПВ3"},
        SchemaCase{{"Каб3", "АВБбШв", "В земле", "3", "Кабель", "Алюминий"},
                   {"Сечение", "Длительный ток", "АВБбШв", "В земле", "3", "Кабель", "Алюминий"},
                   "АВБбШв"},
        SchemaCase{{"Пр4", "ПВ1", "В воздухе", "4", "Провод", "Медь"},
                   {"Сечение", "Длительный ток", "ПВ1", "В воздухе", "4", "Провод", "Медь"},
                   "ПВ1"},
        SchemaCase{{"Каб4", "ВВГнг", "В воздухе", "4", "Кабель", "Медь"},
                   {"Сечение", "Сечение 0 жилы", "Длительный ток", "ВВГнг", "В воздухе", "4",
                    "Кабель", "Медь"},
                   "ВВГнг"}),
    [](const ::testing::TestParamInfo<SchemaCase>& info) {
        return "Table" + std::to_string(info.index);
    });

TEST_F(CableTableWindow, RowsTypedInAnyOrderAreSeenInAscendingCrossSection) {
    Create({"Тест", "ПВ1", "Два провода в трубе", "2", "Провод", "Медь"});
    AddRow({"10", "70"});
    AddRow({"2,5", "27"});
    AddRow({"4.0", "38"});

    TClientDataSet& ds = BazaT->ClientDataSet1;
    EXPECT_EQ(Floats(ds, "Сечение"), (std::vector<double>{2.5, 4, 10}));
    EXPECT_EQ(Floats(ds, "Длительный ток"), (std::vector<double>{27, 38, 70}));
    const TDBGrid& grid = *BazaT->DBGrid1;
    EXPECT_EQ(grid.CellText(0, 0), "2,5");
    EXPECT_EQ(grid.CellText(1, 0), "4");
    EXPECT_EQ(grid.CellText(2, 0), "10");

    // "Закрыть" writes the table; read back it is in the same order.
    BazaT->Button3->click();
    EXPECT_FALSE(ds.Active());
    FileTable file(ProgramFile("Тест.xml"), "Сечение");
    EXPECT_EQ(Floats(file.ds, "Сечение"), (std::vector<double>{2.5, 4, 10}));
    ASSERT_TRUE(OpenCurrentTable("Тест.xml"));
    EXPECT_EQ(Floats(ds, "Сечение"), (std::vector<double>{2.5, 4, 10}));
}

TEST_F(CableTableWindow, ACrossSectionCanBeThereOnlyOnce) {
    Pick("ПВ1т2.xml");
    TClientDataSet& ds = BazaT->ClientDataSet1;
    const int rows = ds.RecordCount();
    const std::string duplicate =
        "Нарушение уникальности ключа: запись с таким значением поля 'Сечение' уже есть.";

    responder_.ExpectMessage(duplicate, "Veltranovaplanir", mrOk);
    AddRow({"4", "40"});
    EXPECT_EQ(ds.State(), dsInsert);  // the typed row stays for correction
    EXPECT_EQ(ds.RecordCount(), rows);
    BazaT->DBNavigator1->BtnClick(TDBNavigator::nbCancel);

    // Changing an existing row's cross-section to a taken one is refused as well.
    TDBGrid& grid = *BazaT->DBGrid1;
    responder_.ExpectMessage(duplicate, "Veltranovaplanir", mrOk);
    EXPECT_FALSE(grid.model()->setData(grid.model()->index(0, 0), "2,5", Qt::EditRole));
    EXPECT_EQ(grid.CellText(0, 0), "1");
    EXPECT_EQ(Floats(ds, "Сечение").front(), 1);
}

TEST_F(CableTableWindow, CreatingClosesTheOpenTableAndWritesItsEdits) {
    Pick("ВВГв4.xml");
    TDBGrid& grid = *BazaT->DBGrid1;
    ASSERT_EQ(grid.CellText(0, 2), "17");
    grid.model()->setData(grid.model()->index(0, 2), "18", Qt::EditRole);
    Create({"Новая", "ВВГ", "В земле", "2", "Кабель", "Медь"});

    FileTable old(ProgramFile("ВВГв4.xml"), "Сечение");
    EXPECT_EQ(Floats(old.ds, "Длительный ток").front(), 18);
    EXPECT_TRUE(fs::exists(ProgramFile("Новая.xml")));
}

struct RefusedCase {
    std::string label;
    NewTable table;
    std::string text;
    std::string caption;
};
void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.label;
}

class RefusedTable : public RefdbTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedTable, LeavesTheFolderAsItWasAndNoTableOpen) {
    Pick("ВВГв4.xml");
    const std::vector<std::string> files = ProgramFiles();
    const std::string breakers = ReadBytes(ProgramFile("Avtomat.xml"));
    const std::string transformers = ReadBytes(ProgramFile("tranform.xml"));

    responder_.ExpectMessage(GetParam().text, GetParam().caption, mrOk);
    Create(GetParam().table);

    EXPECT_EQ(ProgramFiles(), files);
    EXPECT_EQ(ReadBytes(ProgramFile("Avtomat.xml")), breakers);
    EXPECT_EQ(ReadBytes(ProgramFile("tranform.xml")), transformers);
    EXPECT_EQ(Listed(), kFixtureTables);
    if (GetParam().caption == "Предурпеждение.") {
        // The open table was closed before the definition failed: the grid is empty.
        EXPECT_FALSE(BazaT->ClientDataSet1.Active());
        EXPECT_EQ(BazaT->DBGrid1->model()->rowCount(), 0);
        EXPECT_EQ(BazaT->DBGrid1->model()->columnCount(), 0);
    }
}

const std::string kAllFields = "Все поля должны быть заполненными. ";
const std::string kBadName =
    "Название таблицы не может содержать символы \\ / : * ? \" < > |, начинаться или кончаться "
    "пробелом, кончаться точкой, быть \".\" или \"..\".";

INSTANTIATE_TEST_SUITE_P(
    CableTableWindow, RefusedTable,
    ::testing::Values(
        RefusedCase{"Listed",
                    {"ВВГв4", "ВВГ", "В воздухе", "4", "Кабель", "Медь"},
                    "Файл с таким именим существует.Измените название.",
                    "Предупреждение."},
        RefusedCase{"BreakerFile",
                    {"Avtomat", "ВВГ", "В воздухе", "4", "Кабель", "Медь"},
                    "Таблица с таким названием существует.",
                    "Предупреждение."},
        RefusedCase{"TransformerFile",
                    {"tranform", "ВВГ", "В воздухе", "4", "Кабель", "Медь"},
                    "Таблица с таким названием существует.",
                    "Предупреждение."},
        RefusedCase{"NoMaterial",
                    {"Т1", "ВВГ", "В воздухе", "4", "Кабель", ""},
                    kAllFields,
                    "Предурпеждение."},
        RefusedCase{
            "NoBrand", {"Т1", "", "В земле", "3", "Кабель", "Медь"}, kAllFields, "Предурпеждение."},
        RefusedCase{"BrandIsTheMaterial",
                    {"Т1", "Медь", "В земле", "3", "Кабель", "Медь"},
                    kAllFields,
                    "Предурпеждение."},
        RefusedCase{"NoName",
                    {"", "ВВГ", "В земле", "3", "Кабель", "Медь"},
                    "Введите название таблицы.",
                    "Предупреждение."},
        RefusedCase{"Blanks",
                    {"   ", "ВВГ", "В земле", "3", "Кабель", "Медь"},
                    "Введите название таблицы.",
                    "Предупреждение."},
        RefusedCase{
            "Slash", {"a/b", "ВВГ", "В земле", "3", "Кабель", "Медь"}, kBadName, "Предупреждение."},
        RefusedCase{"Backslash",
                    {"a\\b", "ВВГ", "В земле", "3", "Кабель", "Медь"},
                    kBadName,
                    "Предупреждение."},
        RefusedCase{
            "DotDot", {"..", "ВВГ", "В земле", "3", "Кабель", "Медь"}, kBadName, "Предупреждение."},
        RefusedCase{
            "Dot", {".", "ВВГ", "В земле", "3", "Кабель", "Медь"}, kBadName, "Предупреждение."},
        RefusedCase{
            "Star", {"a*", "ВВГ", "В земле", "3", "Кабель", "Медь"}, kBadName, "Предупреждение."},
        RefusedCase{
            "Colon", {"c:x", "ВВГ", "В земле", "3", "Кабель", "Медь"}, kBadName, "Предупреждение."},
        RefusedCase{"TrailingDot",
                    {"abc.", "ВВГ", "В земле", "3", "Кабель", "Медь"},
                    kBadName,
                    "Предупреждение."},
        RefusedCase{"NoCp1251Name",
                    {"表", "ВВГ", "В земле", "3", "Кабель", "Медь"},
                    "Название таблицы содержит символы, которые нельзя сохранить в файле "
                    "проекта.",
                    "Предупреждение."},
        RefusedCase{"NoCp1251Brand",
                    {"Т1", "表", "В земле", "3", "Кабель", "Медь"},
                    "Марка провода или кабеля содержит символы, которые нельзя сохранить в "
                    "файле проекта.",
                    "Предупреждение."}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return info.param.label; });

// ---- The table list and deleting tables ----

TEST_F(CableTableWindow, TheListNeverShowsTheTwoBaseFiles) {
    EXPECT_EQ(Listed(), kFixtureTables);

    Create({"Новая", "ВВГ", "В земле", "2", "Кабель", "Медь"});
    EXPECT_EQ(Listed(),
              (std::vector<std::string>{"АВВГз3.xml", "ВВГв4.xml", "Новая.xml", "ПВ1т2.xml"}));

    Pick("ПВ1т2.xml");
    responder_.ExpectMessage("Хотите удалить таблицу?", "Подтверждение.", mrYes);
    BazaT->Button2->click();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"АВВГз3.xml", "ВВГв4.xml", "Новая.xml"}));

    // Another window points the list at the program folder and re-reads it.
    BazaT->FileListBox1->SetDirectory(ProgramFolder());
    BazaT->FileListBox1->Update();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"АВВГз3.xml", "ВВГв4.xml", "Новая.xml"}));
}

TEST_F(CableTableWindow, PickingATableOpensItInAscendingCrossSection) {
    BazaT->ClientDataSet1.SetIndexFieldNames("");
    Pick("АВВГз3.xml");
    TClientDataSet& ds = BazaT->ClientDataSet1;
    ASSERT_TRUE(ds.Active());
    EXPECT_EQ(ds.IndexFieldNames(), "Сечение");
    EXPECT_EQ(Floats(ds, "Сечение"), (std::vector<double>{2.5, 4, 6, 10, 16, 25}));
    EXPECT_EQ(BazaT->DBGrid1->model()->rowCount(), 6);
    EXPECT_EQ(BazaT->DBGrid1->CellText(5, 1), "115");
}

TEST_F(CableTableWindow, DeletingAfterYesRemovesTheFile) {
    Pick("ПВ1т2.xml");
    responder_.ExpectMessage("Хотите удалить таблицу?", "Подтверждение.", mrYes);
    BazaT->Button2->click();
    EXPECT_FALSE(fs::exists(ProgramFile("ПВ1т2.xml")));
    EXPECT_FALSE(BazaT->ClientDataSet1.Active());
}

TEST_F(CableTableWindow, DeletingAnsweredNoKeepsTheFileButClosesTheTable) {
    const std::string bytes = ReadBytes(ProgramFile("ПВ1т2.xml"));
    for (int answer : {mrNo, mrCancel}) {
        Pick("ПВ1т2.xml");
        responder_.ExpectMessage("Хотите удалить таблицу?", "Подтверждение.", answer);
        BazaT->Button2->click();
        // The table is closed: the list no longer highlights it.
        EXPECT_EQ(BazaT->FileListBox1->ItemIndex(), -1);
    }
    EXPECT_EQ(ReadBytes(ProgramFile("ПВ1т2.xml")), bytes);
    EXPECT_EQ(Listed(), kFixtureTables);
    EXPECT_FALSE(BazaT->ClientDataSet1.Active());
    EXPECT_EQ(BazaT->DBGrid1->model()->rowCount(), 0);
}

TEST_F(CableTableWindow, DeletingWithNothingSelectedAsksForASelection) {
    responder_.ExpectMessage("Выделите таблицу.", "Предупреждение.", mrOk);
    BazaT->Button2->click();
    EXPECT_EQ(Listed(), kFixtureTables);

    // With no table at all there is nothing to select and nothing to say.
    Restart([&] { EmptyProgramFolder(); });
    ASSERT_EQ(BazaT->FileListBox1->Count(), 0);
    BazaT->Button2->click();
}

TEST_F(CableTableWindow, CloseWithARowBeingTypedPostsItFirst) {
    Pick("ПВ1т2.xml");
    TDBNavigator& navigator = *BazaT->DBNavigator1;
    TDBGrid& grid = *BazaT->DBGrid1;
    navigator.BtnClick(TDBNavigator::nbInsert);
    const int row = grid.model()->rowCount() - 1;
    grid.model()->setData(grid.model()->index(row, 0), "25", Qt::EditRole);
    grid.model()->setData(grid.model()->index(row, 1), "115", Qt::EditRole);
    BazaT->Button3->click();

    FileTable file(ProgramFile("ПВ1т2.xml"), "Сечение");
    EXPECT_EQ(Floats(file.ds, "Сечение").back(), 25);
    EXPECT_FALSE(BazaT->ClientDataSet1.Active());
}

TEST_F(CableTableWindow, CloseWithARowThatCannotBePostedKeepsTheWindowAndTheRow) {
    Pick("ПВ1т2.xml");
    BazaT->show();
    TDBNavigator& navigator = *BazaT->DBNavigator1;
    TDBGrid& grid = *BazaT->DBGrid1;
    navigator.BtnClick(TDBNavigator::nbInsert);
    grid.model()->setData(grid.model()->index(grid.model()->rowCount() - 1, 0), "35", Qt::EditRole);
    responder_.ExpectMessage("Поле 'Длительный ток' должно иметь значение.", "Veltranovaplanir",
                             mrOk);
    BazaT->Button3->click();
    EXPECT_TRUE(BazaT->isVisible());
    EXPECT_EQ(BazaT->ClientDataSet1.State(), dsInsert);
    BazaT->hide();
}

TEST_F(CableTableWindow, PickingAnotherTableOverARowThatCannotBePostedKeepsTheTable) {
    Pick("ПВ1т2.xml");
    BazaT->DBNavigator1->BtnClick(TDBNavigator::nbInsert);
    TDBGrid& grid = *BazaT->DBGrid1;
    grid.model()->setData(grid.model()->index(grid.model()->rowCount() - 1, 0), "35", Qt::EditRole);
    responder_.ExpectMessage("Поле 'Длительный ток' должно иметь значение.", "Veltranovaplanir",
                             mrOk);
    Pick("ВВГв4.xml");
    EXPECT_TRUE(fs::equivalent(BazaT->ClientDataSet1.FileName(), ProgramFile("ПВ1т2.xml")));
    EXPECT_EQ(BazaT->ClientDataSet1.State(), dsInsert);
    EXPECT_EQ(BazaT->FileListBox1->ItemIndex(), BazaT->FileListBox1->IndexOf("ПВ1т2.xml"));
}
