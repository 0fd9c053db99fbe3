// Opening cable tables by name, as the group-entry window, the selection and the project reader do.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "RefdbFixture.h"
#include "model/Classd.h"
#include "platform/DBGrid.h"
#include "platform/DBNavigator.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaT.h"
#include "refdb/CableTableLoader.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

// What the switchboard dialogs do to correct for the ambient temperature: every current scaled in
// memory.
void ScaleCurrents(TClientDataSet& ds, double factor) {
    for (ds.First(); !ds.Eof(); ds.Next()) {
        ds.Edit();
        ds.FieldByName("Длительный ток")
            .SetAsFloat(ds.FieldByName("Длительный ток").AsFloat() * factor);
        ds.Post();
    }
}

ino_t Inode(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_ino;
}

}  // namespace

using CableTableLoading = RefdbTest;

TEST_F(CableTableLoading, OpensTheNamedTableFromTheProgramFolder) {
    ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));
    TClientDataSet& ds = BazaT->ClientDataSet1;
    EXPECT_TRUE(ds.Active());
    EXPECT_TRUE(fs::equivalent(ds.FileName(), ProgramFile("ВВГв4.xml")));
    EXPECT_EQ(ds.FieldDefs().Count(), 8);
    EXPECT_EQ(ds.RecordCount(), 6);
    // The grid of the window shows it.
    EXPECT_EQ(BazaT->DBGrid1->model()->rowCount(), 6);
    EXPECT_EQ(BazaT->DBGrid1->model()->columnCount(), 8);
}

TEST_F(CableTableLoading, TheOrderSetByTheCallerStaysAcrossTables) {
    TClientDataSet& ds = BazaT->ClientDataSet1;
    ds.SetIndexFieldNames("Сечение");
    ASSERT_TRUE(OpenCurrentTable("ПВ1т2.xml"));
    ASSERT_TRUE(OpenCurrentTable("АВВГз3.xml"));
    EXPECT_EQ(ds.IndexFieldNames(), "Сечение");
    ds.Last();
    EXPECT_EQ(ds.FieldByName("Сечение").AsFloat(), 25);
}

TEST_F(CableTableLoading, AMissingTableIsReportedAndThePreviousOneStaysOpen) {
    ASSERT_TRUE(OpenCurrentTable("ПВ1т2.xml"));
    TClientDataSet& ds = BazaT->ClientDataSet1;
    ds.SetIndexFieldNames("Сечение");
    ds.Last();

    // "0" is the table name of a panel without a chosen table.
    responder_.ExpectMessage("Таблица  0  несуществует в базе данных", "Предупреждение", mrOk);
    EXPECT_FALSE(OpenCurrentTable("0"));
    EXPECT_TRUE(ds.Active());
    EXPECT_TRUE(fs::equivalent(ds.FileName(), ProgramFile("ПВ1т2.xml")));
    EXPECT_EQ(ds.FieldByName("Сечение").AsFloat(), 16);  // not even the cursor moved
    EXPECT_EQ(responder_.Messages().back().icon, MsgIcon::Warning);
}

TEST_F(CableTableLoading, ADamagedTableIsReportedAndNothingEnds) {
    WriteBytes(ProgramFile("Битая.xml"), "<DATAPACKET><METADATA><FIELDS>");
    ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));

    responder_.ExpectMessage("Ошибка E201. В базе данных поврежден файл  Битая.xml", "", mrOk);
    EXPECT_FALSE(OpenCurrentTable("Битая.xml"));

    EXPECT_FALSE(responder_.TerminateRequested());
    TClientDataSet& ds = BazaT->ClientDataSet1;
    EXPECT_FALSE(ds.Active());
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.RecordCount(), 0);
    EXPECT_EQ(ds.FieldDefs().Count(), 0);
    EXPECT_EQ(BazaT->DBGrid1->model()->rowCount(), 0);
    // A caller that reads on finds a closed table and stops with a clear error, never a crash.
    EXPECT_THROW(ds.First(), EDatabaseError);
    EXPECT_THROW(ds.FieldByName("Сечение"), EDatabaseError);

    // The brand of a table that cannot be opened is empty.
    responder_.ExpectMessage("Ошибка E201. В базе данных поврежден файл  Битая.xml", "", mrOk);
    EXPECT_EQ(CableTableBrandOf("Битая.xml"), "");

    // The program goes on: the other tables open as before.
    EXPECT_TRUE(OpenCurrentTable("ВВГв4.xml"));
    EXPECT_EQ(ds.RecordCount(), 6);
}

namespace {

// A table's bytes with every `from` replaced by `to`.
std::string AlteredTable(const std::string& sound,
                         const std::vector<std::pair<std::string, std::string>>& changes) {
    std::string bytes = sound;
    for (const auto& [from, to] : changes) {
        size_t at = bytes.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        for (; at != std::string::npos; at = bytes.find(from, at + to.size()))
            bytes.replace(at, from.size(), to);
    }
    return bytes;
}

}  // namespace

// The cross-section and the continuous current are read by name as numbers: a table that holds
// them otherwise, or not at all, is damaged, and is never read.
TEST_F(CableTableLoading, ATableWithoutTheNumbersThatAreReadIsReportedAsDamaged) {
    const std::string sound = ReadBytes(ProgramFile("ПВ1т2.xml"));
    const std::vector<std::pair<std::string, std::string>> tables = {
        {"Текст.xml",
         AlteredTable(sound, {{"attrname=\"Сечение\" fieldtype=\"r8\"",
                               "attrname=\"Сечение\" fieldtype=\"string\" WIDTH=\"10\""},
                              {"<ROW Сечение=\"1\"", "<ROW Сечение=\"x\""}})},
        {"БезТока.xml", AlteredTable(sound, {{"Длительный_x0020_ток", "Ток"}})},
    };
    TClientDataSet& ds = BazaT->ClientDataSet1;
    for (const auto& [name, bytes] : tables) {
        SCOPED_TRACE(name);
        WriteBytes(ProgramFile(name), bytes);
        ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));

        responder_.ExpectMessage("Ошибка E201. В базе данных поврежден файл  " + name, "", mrOk);
        EXPECT_FALSE(OpenCurrentTable(name));
        EXPECT_FALSE(ds.Active());
        EXPECT_EQ(ds.FieldDefs().Count(), 0);
        EXPECT_EQ(BazaT->DBGrid1->model()->rowCount(), 0);
        EXPECT_EQ(ReadBytes(ProgramFile(name)), bytes);

        responder_.ExpectMessage("Ошибка E201. В базе данных поврежден файл  " + name, "", mrOk);
        EXPECT_EQ(CableTableBrandOf(name), "");
    }
    EXPECT_FALSE(responder_.TerminateRequested());
}

TEST_F(CableTableLoading, TheBrandIsTheNameOfTheBrandField) {
    EXPECT_EQ(CableTableBrandOf("ПВ1т2.xml"), "ПВ1");  // 7 fields: position 2
    EXPECT_EQ(CableTableBrandOf("ВВГв4.xml"), "ВВГ");  // 8 fields: position 3
    EXPECT_EQ(CableTableBrandOf("АВВГз3.xml"), "АВВГ");
    responder_.ExpectMessage("Таблица  Нет.xml  несуществует в базе данных", "Предупреждение",
                             mrOk);
    EXPECT_EQ(CableTableBrandOf("Нет.xml"), "");
}

TEST_F(CableTableLoading, OpeningTheSameTableAgainWritesTheEditsMadeInTheWindow) {
    BazaT->FileListBox1->setCurrentRow(BazaT->FileListBox1->IndexOf("ВВГв4.xml"));
    TDBGrid& grid = *BazaT->DBGrid1;
    ASSERT_EQ(grid.CellText(1, 2), "23");
    ASSERT_TRUE(grid.model()->setData(grid.model()->index(1, 2), "24", Qt::EditRole));

    ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));
    FileTable file(ProgramFile("ВВГв4.xml"), "Сечение");
    EXPECT_EQ(Floats(file.ds, "Длительный ток"), (std::vector<double>{17, 24, 32, 38, 50, 69}));
    EXPECT_EQ(Floats(BazaT->ClientDataSet1, "Длительный ток"),
              (std::vector<double>{17, 24, 32, 38, 50, 69}));
}

TEST_F(CableTableLoading, ScaledCurrentsNeverReachTheFile) {
    const std::string bytes = ReadBytes(ProgramFile("ВВГв4.xml"));
    ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));
    ScaleCurrents(BazaT->ClientDataSet1, 0.94);  // and never returned to the save point

    ASSERT_TRUE(OpenCurrentTable("ПВ1т2.xml"));
    EXPECT_EQ(ReadBytes(ProgramFile("ВВГв4.xml")), bytes);
    ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));
    ScaleCurrents(BazaT->ClientDataSet1, 0.94);
    ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));  // reopening the same table
    EXPECT_EQ(ReadBytes(ProgramFile("ВВГв4.xml")), bytes);
}

TEST_F(CableTableLoading, AnEditOfTheUserIsWrittenButNotTheScalingThatCameAfterIt) {
    BazaT->FileListBox1->setCurrentRow(BazaT->FileListBox1->IndexOf("ВВГв4.xml"));
    TDBGrid& grid = *BazaT->DBGrid1;
    ASSERT_TRUE(grid.model()->setData(grid.model()->index(0, 2), "18", Qt::EditRole));
    TClientDataSet& ds = BazaT->ClientDataSet1;
    const int savePoint = ds.SavePoint();
    ScaleCurrents(ds, 0.5);
    EXPECT_EQ(ds.SavePoint(), savePoint + 6);

    ASSERT_TRUE(OpenCurrentTable("ПВ1т2.xml"));
    FileTable file(ProgramFile("ВВГв4.xml"), "Сечение");
    EXPECT_EQ(Floats(file.ds, "Длительный ток"), (std::vector<double>{18, 23, 32, 38, 50, 69}));
}

TEST_F(CableTableLoading, ScalingLeftBehindIsDroppedWhenTheUserComesBackToTheWindow) {
    const std::string bytes = ReadBytes(ProgramFile("ВВГв4.xml"));
    ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));
    TClientDataSet& ds = BazaT->ClientDataSet1;
    ScaleCurrents(ds, 0.5);
    BazaT->show();
    EXPECT_EQ(BazaT->DBGrid1->CellText(0, 2), "17");
    EXPECT_EQ(Floats(ds, "Длительный ток").front(), 17);
    BazaT->Button3->click();
    EXPECT_EQ(ReadBytes(ProgramFile("ВВГв4.xml")), bytes);
}

TEST_F(CableTableLoading, ScalingLeftBehindIsNotTakenForTheUsersWork) {
    const std::string bytes = ReadBytes(ProgramFile("ВВГв4.xml"));
    BazaT->FileListBox1->setCurrentRow(BazaT->FileListBox1->IndexOf("ВВГв4.xml"));
    ScaleCurrents(BazaT->ClientDataSet1, 0.5);
    // The user moves about the table and closes it.
    TDBGrid& grid = *BazaT->DBGrid1;
    grid.setCurrentIndex(grid.model()->index(3, 0));
    BazaT->DBNavigator1->BtnClick(TDBNavigator::nbFirst);
    BazaT->Button3->click();
    EXPECT_EQ(ReadBytes(ProgramFile("ВВГв4.xml")), bytes);
}

TEST_F(CableTableLoading, ATableRestoredToItsSavePointIsNotWritten) {
    // A write replaces the file, so an untouched file keeps its inode.
    const ino_t before = Inode(ProgramFile("ВВГв4.xml"));
    ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));
    TClientDataSet& ds = BazaT->ClientDataSet1;
    const int savePoint = ds.SavePoint();
    ScaleCurrents(ds, 1.0);
    ds.SetSavePoint(savePoint);
    ASSERT_TRUE(OpenCurrentTable("ПВ1т2.xml"));
    EXPECT_EQ(Inode(ProgramFile("ВВГв4.xml")), before);
}

// The records ask the cable table loader for a table's brand: the name of its brand field, at
// its place in the 7- and 8-field layouts; empty for a table that is not there.
using RecordsCableTableBrand = RefdbTest;

TEST_F(RecordsCableTableBrand, IsTheNameOfTheTablesBrandField) {
    EXPECT_EQ(TGrsed::CableTableBrand("ВВГв4.xml"), "ВВГ");
    EXPECT_EQ(TGrsed::CableTableBrand("ПВ1т2.xml"), "ПВ1");
    responder_.ExpectMessage("Таблица  Нет.xml  несуществует в базе данных", "Предупреждение",
                             platform::mrOk);
    EXPECT_EQ(TGrsed::CableTableBrand("Нет.xml"), "");
}
