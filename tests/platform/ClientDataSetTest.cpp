#include <gtest/gtest.h>
#include <iconv.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "FileTime.h"
#include "platform/ClientDataSet.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

// A folder of its own for each test, removed afterwards (read-only parts included).
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "dataset-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(path_, ec))
            if (entry.is_directory(ec))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

ino_t Inode(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_ino;
}

std::string Utf8ToCp1251ForTest(const std::string& utf8) {
    iconv_t cd = ::iconv_open("CP1251", "UTF-8");
    std::string out(utf8.size() + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    const size_t r = ::iconv(cd, &in, &inLeft, &dst, &outLeft);
    ::iconv_close(cd);
    if (r == static_cast<size_t>(-1)) throw std::runtime_error("no CP1251 form");
    out.resize(out.size() - outLeft);
    return out;
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// ---- The three table schemas of the program ----

void DefineBreakers(TClientDataSet& ds) {
    ds.FieldDefs().Add("Серии", ftString, 20);
    ds.FieldDefs().Add("Мин. ном. ток. А", ftFloat);
    ds.FieldDefs().Add("Мак. ном. ток А", ftFloat);
    ds.FieldDefs().Add("Число полюсов", ftInteger);
    ds.FieldDefs().Add("Ном. ток расцепителя.А", ftString, 20);
    ds.FieldDefs().Add("Кратность тока при КЗ", ftFloat);
}

void DefineTransformers(TClientDataSet& ds) {
    ds.FieldDefs().Add("Трансформатор", ftString, 20);
    ds.FieldDefs().Add("Мощность кВА", ftFloat);
    ds.FieldDefs().Add("Напряжение высщее КВ", ftFloat);
    ds.FieldDefs().Add("Напряжение низщее КВ", ftFloat);
    ds.FieldDefs().Add("Потери холостого хода Вт", ftFloat);
    ds.FieldDefs().Add("Потери к.з. Вт", ftFloat);
    ds.FieldDefs().Add("Напряжение к.з. %", ftFloat);
    ds.FieldDefs().Add("Ток холостого хода %", ftFloat);
    ds.IndexDefs().Add("01", "", ixUnique);
    ds.IndexDefs().Add("02", "Мощность кВА", ixUnique | ixDescending);
}

void DefineCable(TClientDataSet& ds) {
    ds.FieldDefs().Add("Сечение", ftFloat, 0, true);
    ds.FieldDefs().Add("Сечение 0 жилы", ftFloat, 0, true);
    ds.FieldDefs().Add("Длительный ток", ftFloat, 0, true);
    ds.FieldDefs().Add("АВВГ", ftString, 10);
    ds.FieldDefs().Add("В воздухе", ftString, 10);
    ds.FieldDefs().Add("4", ftString, 10);
    ds.FieldDefs().Add("Кабель", ftString, 10);
    ds.FieldDefs().Add("Медь", ftString, 10);
    ds.IndexDefs().Add("", "Сечение", ixUnique | ixDescending);
}

using Cell = std::variant<std::monostate, double, int, std::string>;
using Rows = std::vector<std::vector<Cell>>;

void SetCell(TField field, const Cell& cell) {
    if (const double* d = std::get_if<double>(&cell)) field.SetAsFloat(*d);
    if (const int* i = std::get_if<int>(&cell)) field.SetAsInteger(*i);
    if (const std::string* s = std::get_if<std::string>(&cell)) field.SetAsString(*s);
}

void AppendRows(TClientDataSet& ds, const Rows& rows) {
    for (const auto& row : rows) {
        ds.Append();
        for (size_t i = 0; i < row.size(); ++i) SetCell(ds.Fields(static_cast<int>(i)), row[i]);
        ds.Post();
    }
}

// The rows in the order they were added, value by value (doubles by their bits).
void ExpectRows(TClientDataSet& ds, const Rows& rows) {
    ds.SetIndexFieldNames("");
    ASSERT_EQ(ds.RecordCount(), static_cast<int>(rows.size()));
    ds.First();
    for (size_t r = 0; r < rows.size(); ++r, ds.Next()) {
        for (size_t i = 0; i < rows[r].size(); ++i) {
            TField field = ds.Fields(static_cast<int>(i));
            const Cell& cell = rows[r][i];
            SCOPED_TRACE("row " + std::to_string(r) + ", field " + field.FieldName());
            if (std::holds_alternative<std::monostate>(cell)) {
                EXPECT_TRUE(field.IsNull());
            } else if (const double* d = std::get_if<double>(&cell)) {
                EXPECT_TRUE(SameBits(field.AsFloat(), *d)) << field.AsFloat() << " vs " << *d;
            } else if (const int* n = std::get_if<int>(&cell)) {
                EXPECT_EQ(field.AsInteger(), *n);
            } else {
                EXPECT_EQ(field.AsString(), std::get<std::string>(cell));
            }
        }
    }
    EXPECT_TRUE(ds.Eof());
}

// Sections of the open table in the order it is seen.
std::vector<double> Column(TClientDataSet& ds, const std::string& name) {
    std::vector<double> out;
    for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(ds.FieldByName(name).AsFloat());
    return out;
}

// Multiplies every continuous current in memory, as the ambient-temperature correction does.
void ScaleCurrents(TClientDataSet& ds, double factor) {
    for (ds.First(); !ds.Eof(); ds.Next()) {
        ds.Edit();
        ds.FieldByName("Длительный ток")
            .SetAsFloat(ds.FieldByName("Длительный ток").AsFloat() * factor);
        ds.Post();
    }
}

const Rows kCableRows = {
    {10.0, 10.0, 60.0, "АВВГ", "", "", "", ""},
    {2.5, 2.5, 27.0, std::monostate(), std::monostate(), "4", "Кабель", "Медь"},
    {4.0, 4.0, 38.0},
    {6.0, 6.0, 46.0},
};

// A saved cable table, the starting point of the file tests.
std::string SaveCableTable(const TempFolder& dir, const std::string& name = "Медь.xml") {
    TClientDataSet ds;
    DefineCable(ds);
    ds.CreateDataSet();
    AppendRows(ds, kCableRows);
    const std::string path = dir.File(name);
    ds.SaveToFile(path);
    ds.Close();
    return path;
}

// ---- Round trip of definitions, indexes and rows ----

struct RoundTripCase {
    std::string name;
    std::function<void(TClientDataSet&)> define;
    Rows rows;
};
void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

class ClientDataSetRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(ClientDataSetRoundTrip, DefinitionsIndexesAndRowsComeBackIdentical) {
    const RoundTripCase& c = GetParam();
    TempFolder dir;
    const std::string path = dir.File("table.xml");
    TClientDataSet written;
    c.define(written);
    written.CreateDataSet();
    AppendRows(written, c.rows);
    written.SaveToFile(path);

    TClientDataSet read;
    read.LoadFromFile(path);
    ASSERT_TRUE(read.Active());
    ASSERT_EQ(read.FieldDefs().Count(), written.FieldDefs().Count());
    for (int i = 0; i < written.FieldDefs().Count(); ++i) {
        const TFieldDef& a = written.FieldDefs()[i];
        const TFieldDef& b = read.FieldDefs()[i];
        EXPECT_EQ(b.Name(), a.Name());
        EXPECT_EQ(b.DataType(), a.DataType()) << a.Name();
        EXPECT_EQ(b.Size(), a.Size()) << a.Name();
        EXPECT_EQ(b.Required(), a.Required()) << a.Name();
    }
    ASSERT_EQ(read.IndexDefs().Count(), written.IndexDefs().Count());
    for (int i = 0; i < written.IndexDefs().Count(); ++i) {
        EXPECT_EQ(read.IndexDefs()[i].Name(), written.IndexDefs()[i].Name());
        EXPECT_EQ(read.IndexDefs()[i].Fields(), written.IndexDefs()[i].Fields());
        EXPECT_EQ(read.IndexDefs()[i].Options(), written.IndexDefs()[i].Options());
    }
    ExpectRows(read, c.rows);

    const std::string text = ReadBytes(path);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>", 0), 0u);
    EXPECT_NE(text.find("<DATAPACKET Version=\"2.0\">"), std::string::npos);
}

const double kMin = std::numeric_limits<double>::denorm_min();
const double kMax = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    ClientDataSetTables, ClientDataSetRoundTrip,
    ::testing::Values(
        RoundTripCase{"Breakers",
                      DefineBreakers,
                      {{"ВА47-29", 0.5, 63.0, 1, "0,5;1;1,6;2;2,5;3", 5.0},
                       {"ВА88-33 \"A&B\" <x>", 16.0, 125.0, 3, "16;20;25;32;40", 10.0},
                       {"АЕ2046М", 0.1, 123456.789, -2147483647 - 1, "", 1e-7},
                       {std::monostate(), std::monostate(), kMax, 2147483647, "ёЁ\t'", kMin}}},
        RoundTripCase{"Transformers",
                      DefineTransformers,
                      {{"ТМ-400/10", 400.0, 10.0, 0.4, 950.0, 5500.0, 4.5, 2.1},
                       {"ТМГ-630", 630.0, 6.0, 0.4, 1240.0, 7600.0, 5.5, 1e-7},
                       {"ТМ-25", 25.0, 10.0, 0.4, 130.0, 600.0, 4.5, 3.2}}},
        RoundTripCase{"Cable", DefineCable, kCableRows},
        // Names that are no XML names: blanks, leading digits and dots, '%', ':', the escape
        // character itself and text that looks like an escape.
        RoundTripCase{
            "OddFieldNames",
            [](TClientDataSet& ds) {
                for (const char* name : {" ", "_", "_x0020_", "_x", "4", ".5", "a:b", "50%",
                                         "x y.z", "ё²", "😀", "<&\">", "Сечение 0 жилы", "-"})
                    ds.FieldDefs().Add(name, ftFloat);
            },
            {{1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0, 11.0, 12.0, 13.0, -0.0}}}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

TEST(ClientDataSetFile, NumbersAreWrittenWithAPointAndExactly) {
    TempFolder dir;
    TClientDataSet ds;
    ds.FieldDefs().Add("Ток", ftFloat);
    ds.CreateDataSet();
    AppendRows(ds, {{0.1}, {123456.789}, {0.30000000000000004}});
    ds.SaveToFile(dir.File("t.xml"));
    const std::string text = ReadBytes(dir.File("t.xml"));
    EXPECT_NE(text.find("=\"0.1\""), std::string::npos);
    EXPECT_NE(text.find("=\"123456.789\""), std::string::npos);
    EXPECT_NE(text.find("=\"0.30000000000000004\""), std::string::npos);
}

// ---- Order and cursor ----

class ClientDataSetCursor : public ::testing::Test {
protected:
    void SetUp() override {
        ds_.FieldDefs().Add("Сечение", ftFloat);
        ds_.FieldDefs().Add("Метка", ftString, 10);
        ds_.CreateDataSet();
        AppendRows(ds_,
                   {{35.0, "a"}, {2.5, "b"}, {std::monostate(), "c"}, {10.0, "d"}, {2.5, "e"}});
    }
    std::string Labels() {
        std::string out;
        for (ds_.First(); !ds_.Eof(); ds_.Next()) out += ds_.FieldByName("Метка").AsString();
        return out;
    }
    TClientDataSet ds_;
};

TEST_F(ClientDataSetCursor, IndexFieldNamesOrdersAscendingNullsFirstAndKeepsTies) {
    EXPECT_EQ(Labels(), "abcde");
    ds_.SetIndexFieldNames("Сечение");
    EXPECT_EQ(Labels(), "cbeda");
    ds_.SetIndexFieldNames("Метка;Сечение");
    EXPECT_EQ(Labels(), "abcde");
    ds_.SetIndexFieldNames("");
    EXPECT_EQ(Labels(), "abcde");
    EXPECT_THROW(ds_.SetIndexFieldNames("Нет такого"), EDatabaseError);
    EXPECT_EQ(ds_.IndexFieldNames(), "");
}

TEST_F(ClientDataSetCursor, EofOnlyAfterMovingPastTheLastRowWhichStaysCurrent) {
    ds_.SetIndexFieldNames("Сечение");
    ds_.First();
    EXPECT_FALSE(ds_.Eof());
    EXPECT_EQ(ds_.RecNo(), 1);
    ds_.Last();
    EXPECT_FALSE(ds_.Eof());
    EXPECT_EQ(ds_.RecNo(), 5);
    ds_.Next();
    EXPECT_TRUE(ds_.Eof());
    EXPECT_EQ(ds_.RecNo(), 5);
    EXPECT_EQ(ds_.FieldByName("Сечение").AsFloat(), 35.0);
    ds_.Prior();
    EXPECT_FALSE(ds_.Eof());
    EXPECT_EQ(ds_.FieldByName("Сечение").AsFloat(), 10.0);

    ds_.First();
    ds_.Prior();
    EXPECT_TRUE(ds_.Bof());
    EXPECT_EQ(ds_.RecNo(), 1);
    EXPECT_EQ(ds_.MoveBy(2), 2);
    EXPECT_EQ(ds_.RecNo(), 3);
    EXPECT_EQ(ds_.MoveBy(10), 2);
    EXPECT_TRUE(ds_.Eof());
    EXPECT_EQ(ds_.MoveBy(-10), -4);
    EXPECT_TRUE(ds_.Bof());
    EXPECT_EQ(ds_.RecNo(), 1);
}

TEST_F(ClientDataSetCursor, SearchThatRunsOffTheEndReadsTheLastRow) {
    // The cross-section lookup: step on while the current is too small, take the next section.
    ds_.SetIndexFieldNames("Сечение");
    double section = 0.0;
    ds_.First();
    while (!ds_.Eof()) {
        if (ds_.FieldByName("Сечение").AsFloat() < 1000.0) {
            ds_.Next();
            section = ds_.FieldByName("Сечение").AsFloat();
        } else {
            break;
        }
    }
    EXPECT_EQ(section, 35.0);
}

TEST_F(ClientDataSetCursor, SettingTheSameOrderAgainKeepsEofSettingAnotherKeepsTheRow) {
    ds_.SetIndexFieldNames("Сечение");
    ds_.Last();
    ds_.Next();
    ds_.SetIndexFieldNames("Сечение");  // a walk that sets the order at every step must end
    EXPECT_TRUE(ds_.Eof());

    ds_.First();
    ds_.Next();  // "b", 2.5
    ds_.SetIndexFieldNames("");
    EXPECT_EQ(ds_.FieldByName("Метка").AsString(), "b");
    EXPECT_EQ(ds_.RecNo(), 2);
    EXPECT_FALSE(ds_.Eof());
}

TEST_F(ClientDataSetCursor, OrderIsKeptAcrossCloseAndLoad) {
    TempFolder dir;
    ds_.SaveToFile(dir.File("t.xml"));
    ds_.SetIndexFieldNames("Сечение");
    ds_.Close();
    ds_.LoadFromFile(dir.File("t.xml"));
    EXPECT_EQ(Labels(), "cbeda");
}

TEST_F(ClientDataSetCursor, InsertGoesBeforeTheCurrentRowAppendAfterAll) {
    ds_.First();
    ds_.Next();  // "b"
    ds_.Insert();
    ds_.FieldByName("Метка").SetAsString("x");
    ds_.Post();
    EXPECT_EQ(ds_.FieldByName("Метка").AsString(), "x");
    EXPECT_EQ(ds_.RecNo(), 2);
    ds_.Append();
    ds_.FieldByName("Метка").SetAsString("y");
    ds_.Post();
    EXPECT_EQ(Labels(), "axbcdey");
}

TEST_F(ClientDataSetCursor, MovingPostsAPendingEditAndDropsAnUntouchedNewRow) {
    ds_.First();
    ds_.Edit();
    ds_.FieldByName("Метка").SetAsString("A");
    ds_.Next();
    EXPECT_EQ(ds_.State(), dsBrowse);
    ds_.Append();
    ds_.Last();
    EXPECT_EQ(ds_.RecordCount(), 5);
    EXPECT_EQ(Labels(), "Abcde");
}

TEST_F(ClientDataSetCursor, DeleteMakesTheNextRowCurrentAndEofAfterTheLast) {
    ds_.First();
    ds_.Delete();
    EXPECT_EQ(ds_.FieldByName("Метка").AsString(), "b");
    EXPECT_FALSE(ds_.Eof());
    ds_.Last();
    ds_.Delete();
    EXPECT_TRUE(ds_.Eof());
    EXPECT_EQ(ds_.FieldByName("Метка").AsString(), "d");
    // Deleting everything in a walk ends on an empty table.
    for (ds_.First(); !ds_.Eof();) ds_.Delete();
    EXPECT_TRUE(ds_.IsEmpty());
    EXPECT_TRUE(ds_.Bof());
    EXPECT_EQ(ds_.RecNo(), 0);
    EXPECT_TRUE(ds_.FieldByName("Сечение").IsNull());
    EXPECT_EQ(ds_.FieldByName("Сечение").AsFloat(), 0.0);
    EXPECT_EQ(ds_.FieldByName("Метка").AsString(), "");
    EXPECT_THROW(ds_.Edit(), EDatabaseError);
    EXPECT_THROW(ds_.Delete(), EDatabaseError);
}

// ---- Save points ----

TEST(ClientDataSetSavePoint, ReturnsScaledInsertedDeletedAndEditedRowsToTheirValues) {
    TClientDataSet ds;
    DefineCable(ds);
    ds.CreateDataSet();
    AppendRows(ds, kCableRows);
    ds.SetIndexFieldNames("Сечение");
    const int start = ds.SavePoint();

    ScaleCurrents(ds, 0.94);
    EXPECT_EQ(Column(ds, "Длительный ток"),
              (std::vector<double>{27.0 * 0.94, 38.0 * 0.94, 46.0 * 0.94, 60.0 * 0.94}));
    const int scaled = ds.SavePoint();

    ds.Append();
    ds.FieldByName("Сечение").SetAsFloat(16.0);
    ds.FieldByName("Сечение 0 жилы").SetAsFloat(16.0);
    ds.FieldByName("Длительный ток").SetAsFloat(80.0);
    ds.Post();
    ds.First();
    ds.Delete();  // 2.5
    ds.First();
    ds.Edit();
    ds.FieldByName("Сечение").SetAsFloat(50.0);  // 4 becomes 50: the row moves to the end
    ds.Post();
    EXPECT_EQ(Column(ds, "Сечение"), (std::vector<double>{6.0, 10.0, 16.0, 50.0}));

    ds.SetSavePoint(scaled);
    EXPECT_EQ(Column(ds, "Сечение"), (std::vector<double>{2.5, 4.0, 6.0, 10.0}));
    EXPECT_EQ(Column(ds, "Длительный ток"),
              (std::vector<double>{27.0 * 0.94, 38.0 * 0.94, 46.0 * 0.94, 60.0 * 0.94}));

    ds.SetSavePoint(start);
    ExpectRows(ds, kCableRows);  // values and the order of addition, the deleted row included
    EXPECT_EQ(ds.SavePoint(), start);
    EXPECT_THROW(ds.SetSavePoint(start + 1), EDatabaseError);
}

TEST(ClientDataSetSavePoint, AFactorOfOneRecordsNoChange) {
    TClientDataSet ds;
    DefineCable(ds);
    ds.CreateDataSet();
    AppendRows(ds, kCableRows);
    const int start = ds.SavePoint();
    ScaleCurrents(ds, 1.0);
    EXPECT_EQ(ds.SavePoint(), start);
    EXPECT_EQ(ds.State(), dsBrowse);
    EXPECT_TRUE(ds.Eof());
}

// ---- Closing writes back only a change ----

struct WriteBackCase {
    std::string name;
    std::function<void(TClientDataSet&)> action;
    bool writes;
};
void PrintTo(const WriteBackCase& c, std::ostream* os) {
    *os << c.name;
}

class ClientDataSetWriteBack : public ::testing::TestWithParam<WriteBackCase> {};

TEST_P(ClientDataSetWriteBack, CloseWritesTheFileOnlyWhenTheRowsChanged) {
    TempFolder dir;
    const std::string path = SaveCableTable(dir);
    const std::string before = ReadBytes(path);
    const ino_t inode = Inode(path);

    TClientDataSet ds;
    ds.SetFileName(path);
    ds.SetIndexFieldNames("Сечение");
    ds.Open();
    GetParam().action(ds);
    ds.Close();

    if (GetParam().writes) {
        EXPECT_NE(Inode(path), inode);
        ds.Open();
        EXPECT_EQ(Column(ds, "Длительный ток"), (std::vector<double>{27.0, 38.0, 46.0, 99.0}));
    } else {
        EXPECT_EQ(Inode(path), inode);
        EXPECT_EQ(ReadBytes(path), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ClientDataSetActions, ClientDataSetWriteBack,
    ::testing::Values(WriteBackCase{"ReadOnly", [](TClientDataSet& ds) { Column(ds, "Сечение"); },
                                    false},
                      WriteBackCase{"ScaledAndRestored",
                                    [](TClientDataSet& ds) {
                                        const int sp = ds.SavePoint();
                                        ScaleCurrents(ds, 0.61);
                                        ds.SetSavePoint(sp);
                                    },
                                    false},
                      WriteBackCase{"FieldsMadeRequired",
                                    [](TClientDataSet& ds) {
                                        for (int i = 0; i < ds.FieldDefs().Count(); ++i)
                                            ds.FieldDefs()[i].SetRequired(true);
                                    },
                                    false},
                      WriteBackCase{"Edited",
                                    [](TClientDataSet& ds) {
                                        ds.Last();
                                        ds.Edit();
                                        ds.FieldByName("Длительный ток").SetAsFloat(99.0);
                                        ds.Post();
                                    },
                                    true},
                      WriteBackCase{"EditedButNotPosted",
                                    [](TClientDataSet& ds) {
                                        ds.Last();
                                        ds.Edit();
                                        ds.FieldByName("Длительный ток").SetAsFloat(99.0);
                                    },
                                    true}),
    [](const ::testing::TestParamInfo<WriteBackCase>& info) { return info.param.name; });

TEST(ClientDataSetFile, SavingToTheFileNameUnderAnotherSpellingCountsAsSaved) {
    TempFolder dir;
    const std::string path = SaveCableTable(dir);
    TClientDataSet ds;
    ds.SetFileName(path);
    ds.Open();
    ds.First();
    ds.Edit();
    ds.FieldByName("Длительный ток").SetAsFloat(61.0);
    ds.Post();
    ds.SaveToFile(dir.Path() + "//Медь.xml");  // the doubled separator names the same file
    const ino_t saved = Inode(path);
    ds.Close();
    EXPECT_EQ(Inode(path), saved);
    ds.Open();
    ds.First();
    EXPECT_EQ(ds.FieldByName("Длительный ток").AsFloat(), 61.0);
}

TEST(ClientDataSetFile, ReopeningTheSameTableWritesItsChangesInBetween) {
    TempFolder dir;
    const std::string path = SaveCableTable(dir);
    TClientDataSet ds;
    ds.SetFileName(path);
    ds.Open();
    ds.First();
    ds.Delete();
    ds.Close();
    ds.SetFileName(path);
    ds.Open();
    EXPECT_EQ(ds.RecordCount(), 3);
}

// ---- Windows-1251 packets ----

struct EncodingCase {
    std::string name;
    std::string declaration;
    bool cp1251;
};
void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << c.name;
}

class ClientDataSetEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(ClientDataSetEncoding, OlderPacketsAreRead) {
    const std::string body =
        "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
        "<FIELD attrname=\"Трансформатор\" fieldtype=\"string\" WIDTH=\"20\"/>"
        "<FIELD attrname=\"Мощность_x0020_кВА\" fieldtype=\"r8\"/>"
        "</FIELDS><PARAMS/></METADATA><ROWDATA>"
        "<ROW Трансформатор=\"ТМ-630/10 «Ёлка»\" Мощность_x0020_кВА=\"630\"/>"
        "</ROWDATA></DATAPACKET>";
    const std::string text = GetParam().declaration + body;
    TempFolder dir;
    const std::string path = dir.File("tranform.xml");
    WriteBytes(path, GetParam().cp1251 ? Utf8ToCp1251ForTest(text) : text);

    TClientDataSet ds;
    ds.LoadFromFile(path);
    EXPECT_EQ(ds.FieldDefs()[1].Name(), "Мощность кВА");
    EXPECT_EQ(ds.FieldByName("Трансформатор").AsString(), "ТМ-630/10 «Ёлка»");
    EXPECT_EQ(ds.FieldByName("Мощность кВА").AsFloat(), 630.0);
}

INSTANTIATE_TEST_SUITE_P(
    ClientDataSetPackets, ClientDataSetEncoding,
    ::testing::Values(EncodingCase{"Cp1251WithoutDeclaration", "", true},
                      EncodingCase{"Cp1251DeclarationWithoutEncoding",
                                   "<?xml version=\"1.0\" standalone=\"yes\"?>\n", true},
                      EncodingCase{"Cp1251Declared",
                                   "<?xml version=\"1.0\" encoding=\"windows-1251\"?>", true},
                      EncodingCase{"Utf8WithoutDeclaration", "", false}),
    [](const ::testing::TestParamInfo<EncodingCase>& info) { return info.param.name; });

// ---- Damaged files ----

const char kFields[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
    "<FIELD attrname=\"Сечение\" fieldtype=\"r8\" required=\"true\"/>"
    "<FIELD attrname=\"Число\" fieldtype=\"i4\"/>"
    "</FIELDS><PARAMS><INDEX name=\"\" fields=\"Сечение\" unique=\"true\"/></PARAMS></METADATA>";

std::string Packet(const std::string& rows) {
    return std::string(kFields) + "<ROWDATA>" + rows + "</ROWDATA></DATAPACKET>";
}

struct DamagedCase {
    std::string name;
    std::string bytes;
    std::string detail;  // part of the message
};
void PrintTo(const DamagedCase& c, std::ostream* os) {
    *os << c.name;
}

class ClientDataSetDamaged : public ::testing::TestWithParam<DamagedCase> {};

void ExpectClosedAndEmpty(TClientDataSet& ds) {
    EXPECT_FALSE(ds.Active());
    EXPECT_EQ(ds.State(), dsInactive);
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.RecordCount(), 0);
    EXPECT_EQ(ds.FieldCount(), 0);
    EXPECT_THROW(ds.FieldByName("Сечение"), EDatabaseError);
}

TEST_P(ClientDataSetDamaged, GivesAClearErrorAndLeavesTheDataSetClosedAndEmpty) {
    TempFolder dir;
    const std::string good = SaveCableTable(dir);
    const std::string bad = dir.File("bad.xml");
    WriteBytes(bad, GetParam().bytes);

    for (const bool throughOpen : {false, true}) {
        SCOPED_TRACE(throughOpen ? "Open" : "LoadFromFile");
        TClientDataSet ds;
        ds.LoadFromFile(good);  // a table is open before
        try {
            if (throughOpen) {
                ds.Close();
                ds.SetFileName(bad);
                ds.Open();
            } else {
                ds.LoadFromFile(bad);
            }
            ADD_FAILURE() << "no error";
        } catch (const EDatabaseError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(bad), std::string::npos) << message;
            EXPECT_NE(message.find(GetParam().detail), std::string::npos) << message;
        }
        ExpectClosedAndEmpty(ds);
        EXPECT_EQ(ds.FieldDefs().Count(), 0);
    }
    EXPECT_EQ(ReadBytes(bad), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    ClientDataSetFiles, ClientDataSetDamaged,
    ::testing::Values(
        DamagedCase{"Truncated", Packet("<ROW Сечение=\"2.5\"/><ROW Сеч"), "повреждён"},
        DamagedCase{"Empty", "", "повреждён"},
        DamagedCase{"NotXml", "Сечение;Длительный ток\n2,5;27\n", "повреждён"},
        DamagedCase{"WrongRoot", "<TABLE><ROW a=\"1\"/></TABLE>", "DATAPACKET"},
        DamagedCase{"TwoRoots", Packet("") + "<DATAPACKET/>", "DATAPACKET"},
        DamagedCase{"NoFields", "<DATAPACKET><METADATA/></DATAPACKET>", "FIELDS"},
        DamagedCase{"TextInAFloat", Packet("<ROW Сечение=\"abc\"/>"), "'abc'"},
        DamagedCase{"NanInAFloat", Packet("<ROW Сечение=\"nan\"/>"), "'nan'"},
        DamagedCase{"FractionInAnInteger", Packet("<ROW Сечение=\"1\" Число=\"2.5\"/>"), "'2.5'"},
        DamagedCase{"IntegerOverflow", Packet("<ROW Сечение=\"1\" Число=\"3000000000\"/>"),
                    "'3000000000'"},
        DamagedCase{"DuplicateUniqueKey",
                    Packet("<ROW Сечение=\"2.5\"/><ROW Сечение=\"4\"/><ROW Сечение=\"2.5\"/>"),
                    "уникальности"},
        DamagedCase{"UnknownRowAttribute", Packet("<ROW Сечение=\"1\" Ток=\"2\"/>"), "'Ток'"},
        DamagedCase{"UnknownFieldType",
                    "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"Фото\" fieldtype=\"bin\"/>"
                    "</FIELDS></METADATA><ROWDATA/></DATAPACKET>",
                    "'bin'"},
        DamagedCase{"FieldTwice",
                    "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"r8\"/>"
                    "<FIELD attrname=\"A\" fieldtype=\"i4\"/></FIELDS></METADATA></DATAPACKET>",
                    "'A'"},
        DamagedCase{"IndexOnAnUnknownField",
                    "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"r8\"/>"
                    "</FIELDS><PARAMS><INDEX name=\"i\" fields=\"B\"/></PARAMS></METADATA>"
                    "</DATAPACKET>",
                    "'B'"},
        DamagedCase{"Cp1251UnderAUtf8Declaration",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><DATAPACKET><METADATA><FIELDS>"
                    "<FIELD attrname=\"\xD1\xE5\xF7\xE5\xED\xE8\xE5\" fieldtype=\"r8\"/>"
                    "</FIELDS></METADATA></DATAPACKET>",
                    "UTF-8"}),
    [](const ::testing::TestParamInfo<DamagedCase>& info) { return info.param.name; });

// ---- Text that names no character ----

// A packet of one text field and one number field with a unique index on the number. The pieces
// go in as written in the file (escapes and character references included); `rowName` is the
// row attribute of the text field, "" when the row has no value for it.
struct TextCase {
    std::string label;
    std::string attrname;
    std::string rowName;
    std::string indexName;
    std::string value;
    // What is read: the field name, the index name and the value; `refused` instead for a
    // packet that is damaged.
    std::string name;
    std::string index;
    std::string text;
    bool refused = false;
};
void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.label;
}

std::string TextPacket(const TextCase& c) {
    std::string row = "<ROW Ток=\"1\"";
    if (!c.rowName.empty()) row += " " + c.rowName + "=\"" + c.value + "\"";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><DATAPACKET Version=\"2.0\"><METADATA>"
           "<FIELDS><FIELD attrname=\"Ток\" fieldtype=\"r8\"/><FIELD attrname=\"" +
           c.attrname + "\" fieldtype=\"string\" WIDTH=\"20\"/></FIELDS><PARAMS><INDEX name=\"" +
           c.indexName + "\" fields=\"Ток\" unique=\"true\"/></PARAMS></METADATA><ROWDATA>" + row +
           "/></ROWDATA></DATAPACKET>";
}

class ClientDataSetText : public ::testing::TestWithParam<TextCase> {};

// Whatever the reader accepts is written back so that it reads again the same; what it cannot
// write back readably it refuses as damage.
TEST_P(ClientDataSetText, WhatIsReadIsWrittenBackReadableOrRefused) {
    const TextCase& c = GetParam();
    TempFolder dir;
    const std::string path = dir.File("text.xml");
    WriteBytes(path, TextPacket(c));
    TClientDataSet ds;
    if (c.refused) {
        try {
            ds.LoadFromFile(path);
            ADD_FAILURE() << "read";
        } catch (const EDatabaseError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind("Файл '" + path + "' повреждён: ", 0), 0u) << message;
            EXPECT_NE(message.find("недопустимый символ"), std::string::npos) << message;
        }
        ExpectClosedAndEmpty(ds);
        return;
    }

    ds.LoadFromFile(path);
    ASSERT_EQ(ds.FieldDefs().Count(), 2);
    EXPECT_EQ(ds.FieldDefs()[1].Name(), c.name);
    EXPECT_EQ(ds.IndexDefs()[0].Name(), c.index);
    EXPECT_EQ(ds.Fields(1).AsString(), c.text);

    // Written and read twice: the same table, and the second file is the first one.
    const std::string first = dir.File("first.xml");
    const std::string second = dir.File("second.xml");
    ds.SaveToFile(first);
    TClientDataSet again;
    again.LoadFromFile(first);
    ASSERT_EQ(again.FieldDefs().Count(), 2);
    EXPECT_EQ(again.FieldDefs()[1].Name(), c.name);
    EXPECT_EQ(again.IndexDefs()[0].Name(), c.index);
    EXPECT_EQ(again.Fields(1).AsString(), c.text);
    again.SaveToFile(second);
    EXPECT_EQ(ReadBytes(second), ReadBytes(first));
}

INSTANTIATE_TEST_SUITE_P(
    ClientDataSetFiles, ClientDataSetText,
    ::testing::Values(
        // A lone surrogate, by escape or by character reference, in the three places.
        TextCase{"SurrogateEscapeInAFieldName", "_xD800_", "_xD800_", "i", "a", "_xD800_", "i",
                 "a"},
        TextCase{"LowSurrogateEscapeInAFieldName", "a_xDC00_", "a_xDC00_", "i", "a", "a_xDC00_",
                 "i", "a"},
        TextCase{"SurrogateReferenceInAFieldName", "&#xD800;", "", "i", "", "", "", "", true},
        TextCase{"SurrogateReferenceInAnIndexName", "Марка", "Марка", "&#xD800;", "a", "", "", "",
                 true},
        TextCase{"SurrogateReferenceInAValue", "Марка", "Марка", "i", "x&#xD800;", "", "", "",
                 true},
        TextCase{"SurrogatePairOfReferencesInAValue", "Марка", "Марка", "i", "&#xD83D;&#xDE00;", "",
                 "", "", true},
        TextCase{"ReferenceBeyondUnicodeInAValue", "Марка", "Марка", "i", "&#x110000;", "", "", "",
                 true},
        // What may stand in the file and must come back as it was read.
        TextCase{"SurrogatePairEscapeInAFieldName", "_xD83D__xDE00_", "_xD83D__xDE00_", "i", "a",
                 "😀", "i", "a"},
        TextCase{"SupplementaryCharacterInAValue", "Марка", "Марка", "i", "&#x1F600;", "Марка", "i",
                 "😀"},
        TextCase{"ControlCharactersInAValue", "Марка", "Марка", "i", "a&#1;b&#13;&#10;&#9;c",
                 "Марка", "i",
                 "a\x01"
                 "b\r\n\tc"},
        TextCase{"LineBreakInAnIndexName", "Марка", "Марка", "&#10;i&#9;", "a", "Марка", "\ni\t",
                 "a"},
        TextCase{"NulEscapeInAFieldName", "_x0000_a", "_x0000_a", "i", "a", std::string("\0a", 2),
                 "i", "a"},
        TextCase{"UnderscoresThatEscapeNothing", "a_b_x12_", "a_b_x12_", "i", "a", "a_b_x12_", "i",
                 "a"},
        TextCase{"NonCharacterInAValue", "Марка", "Марка", "i", "&#xFFFF;", "Марка", "i",
                 "\xEF\xBF\xBF"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return info.param.label; });

TEST(ClientDataSetFields, TextThatNamesNoCharacterIsRefusedWhenSet) {
    const std::string loneSurrogate = "\xED\xA0\x80";  // U+D800 as three bytes
    TClientDataSet ds;
    EXPECT_THROW(ds.FieldDefs().Add(loneSurrogate, ftString, 10), EDatabaseError);
    EXPECT_THROW(ds.IndexDefs().Add(loneSurrogate, ""), EDatabaseError);
    ds.FieldDefs().Add("Марка", ftString, 10);
    ds.CreateDataSet();
    ds.Append();
    EXPECT_THROW(ds.Fields(0).SetAsString("a" + loneSurrogate), EDatabaseError);
    EXPECT_THROW(ds.Fields(0).SetAsString("\xC0\xAF"), EDatabaseError);  // overlong '/'
    EXPECT_TRUE(ds.Fields(0).IsNull());
}

// ---- Fields the owner of a dataset reads ----

struct ExpectedFieldsCase {
    std::string label;
    std::string fields;  // FIELD elements
    std::string rows;    // ROW elements
    std::string detail;  // "" : the table opens
};
void PrintTo(const ExpectedFieldsCase& c, std::ostream* os) {
    *os << c.label;
}

class ClientDataSetExpectedFields : public ::testing::TestWithParam<ExpectedFieldsCase> {};

TEST_P(ClientDataSetExpectedFields, AFileWithoutThemIsDamagedForThatDataSet) {
    const ExpectedFieldsCase& c = GetParam();
    TempFolder dir;
    const std::string path = dir.File("cable.xml");
    WriteBytes(path,
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?><DATAPACKET Version=\"2.0\">"
               "<METADATA><FIELDS>" +
                   c.fields + "</FIELDS></METADATA><ROWDATA>" + c.rows + "</ROWDATA></DATAPACKET>");

    // A dataset that expects nothing reads any of them.
    TClientDataSet any;
    any.LoadFromFile(path);
    EXPECT_TRUE(any.Active());

    TClientDataSet ds;
    ds.SetExpectedFields(
        {{"Сечение", ftFloat}, {"Сечение 0 жилы", ftFloat, true}, {"Длительный ток", ftFloat}});
    ds.SetFileName(path);
    if (c.detail.empty()) {
        ds.Open();
        EXPECT_TRUE(ds.Active());
        return;
    }
    try {
        ds.Open();
        ADD_FAILURE() << "opened";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(std::string(e.what()), "Файл '" + path + "' повреждён: " + c.detail + ".");
    }
    ExpectClosedAndEmpty(ds);
    EXPECT_EQ(ds.FieldDefs().Count(), 0);
}

const char kSection[] = "<FIELD attrname=\"Сечение\" fieldtype=\"r8\"/>";
const char kZero[] = "<FIELD attrname=\"Сечение_x0020_0_x0020_жилы\" fieldtype=\"r8\"/>";
const char kCurrent[] = "<FIELD attrname=\"Длительный_x0020_ток\" fieldtype=\"r8\"/>";
const char kBrand[] = "<FIELD attrname=\"ВВГ\" fieldtype=\"string\" WIDTH=\"10\"/>";

INSTANTIATE_TEST_SUITE_P(
    ClientDataSetFiles, ClientDataSetExpectedFields,
    ::testing::Values(
        ExpectedFieldsCase{"AllOfThem", std::string(kSection) + kZero + kCurrent + kBrand,
                           "<ROW Сечение=\"2.5\" Длительный_x0020_ток=\"27\"/>", ""},
        ExpectedFieldsCase{"WithoutTheOneThatMayBeAbsent",
                           std::string(kSection) + kCurrent + kBrand,
                           "<ROW Сечение=\"2.5\" Длительный_x0020_ток=\"27\"/>", ""},
        ExpectedFieldsCase{"TextInTheSection",
                           "<FIELD attrname=\"Сечение\" fieldtype=\"string\" WIDTH=\"10\"/>" +
                               std::string(kCurrent) + kBrand,
                           "<ROW Сечение=\"x\" Длительный_x0020_ток=\"27\"/>",
                           "поле 'Сечение' хранит текст, а должно хранить числа"},
        ExpectedFieldsCase{"IntegersInTheSection",
                           "<FIELD attrname=\"Сечение\" fieldtype=\"i4\"/>" + std::string(kCurrent),
                           "<ROW Сечение=\"4\" Длительный_x0020_ток=\"38\"/>",
                           "поле 'Сечение' хранит целые числа, а должно хранить числа"},
        ExpectedFieldsCase{"TextInTheFieldThatMayBeAbsent",
                           std::string(kSection) +
                               "<FIELD attrname=\"Сечение_x0020_0_x0020_жилы\" "
                               "fieldtype=\"string\"/>" +
                               kCurrent,
                           "", "поле 'Сечение 0 жилы' хранит текст, а должно хранить числа"},
        ExpectedFieldsCase{"NoCurrent", std::string(kSection) + kBrand, "<ROW Сечение=\"2.5\"/>",
                           "в таблице нет поля 'Длительный ток'"}),
    [](const ::testing::TestParamInfo<ExpectedFieldsCase>& info) { return info.param.label; });

TEST(ClientDataSetFile, EveryTruncationOfAPacketIsRefused) {
    TempFolder dir;
    const std::string good = SaveCableTable(dir);
    const std::string bytes = ReadBytes(good);
    const size_t lastTag = bytes.rfind('>');
    const std::string cut = dir.File("cut.xml");
    for (size_t length = 0; length <= lastTag; ++length) {
        WriteBytes(cut, bytes.substr(0, length));
        TClientDataSet ds;
        EXPECT_THROW(ds.LoadFromFile(cut), EDatabaseError) << "length " << length;
        EXPECT_FALSE(ds.Active()) << "length " << length;
    }
}

TEST(ClientDataSetFile, AMissingFileIsNamed) {
    TempFolder dir;
    TClientDataSet ds;
    ds.SetFileName(dir.File("0"));
    try {
        ds.Open();
        ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(std::string(e.what()), "Файл '" + dir.File("0") + "' не найден.");
    }
    ExpectClosedAndEmpty(ds);
}

// ---- A write that fails loses nothing ----

struct WriteFailureCase {
    std::string name;
    std::function<std::string(const TempFolder&)> prepare;  // returns the target path
    std::string reason;
};
void PrintTo(const WriteFailureCase& c, std::ostream* os) {
    *os << c.name;
}

class ClientDataSetWriteFailure : public ::testing::TestWithParam<WriteFailureCase> {};

TEST_P(ClientDataSetWriteFailure, CloseReportsItAndKeepsTheRows) {
    TempFolder dir;
    const std::string target = GetParam().prepare(dir);
    const std::string old = fs::exists(target) ? ReadBytes(target) : "";
    if (GetParam().name == "ReadOnlyFolder" &&
        ::access(fs::path(target).parent_path().c_str(), W_OK) == 0)
        GTEST_SKIP() << "this process may write into read-only folders";

    TClientDataSet ds;
    DefineCable(ds);
    ds.CreateDataSet();
    ds.SetFileName(target);
    AppendRows(ds, kCableRows);
    try {
        ds.Close();
        ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Не удалось записать файл '" + target + "': " + GetParam().reason + ".");
    }
    EXPECT_TRUE(ds.Active());
    ExpectRows(ds, kCableRows);
    if (!old.empty()) {
        EXPECT_EQ(ReadBytes(target), old);
    }
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
        EXPECT_EQ(entry.path().filename().string().find(".Медь"), std::string::npos)
            << "temporary file left: " << entry.path();
    }

    // Nothing was lost: the rows still reach a file that can be written.
    ds.SetFileName(dir.File("saved.xml"));
    ds.Close();
    TClientDataSet reread;
    reread.LoadFromFile(dir.File("saved.xml"));
    ExpectRows(reread, kCableRows);
}

INSTANTIATE_TEST_SUITE_P(
    ClientDataSetCauses, ClientDataSetWriteFailure,
    ::testing::Values(WriteFailureCase{"ReadOnlyFolder",
                                       [](const TempFolder& dir) {
                                           fs::create_directory(dir.File("ro"));
                                           WriteBytes(dir.File("ro/Медь.xml"), "old table");
                                           fs::permissions(
                                               dir.File("ro"),
                                               fs::perms::owner_read | fs::perms::owner_exec);
                                           return dir.File("ro/Медь.xml");
                                       },
                                       "нет доступа"},
                      WriteFailureCase{
                          "MissingFolder",
                          [](const TempFolder& dir) { return dir.File("gone/Медь.xml"); },
                          "папка не существует"},
                      WriteFailureCase{"FolderIsAFile",
                                       [](const TempFolder& dir) {
                                           WriteBytes(dir.File("file"), "x");
                                           return dir.File("file/Медь.xml");
                                       },
                                       "путь не является папкой"},
                      WriteFailureCase{"TargetIsAFolder",
                                       [](const TempFolder& dir) {
                                           fs::create_directory(dir.File("Медь.xml"));
                                           return dir.File("Медь.xml");
                                       },
                                       "на месте файла находится папка"}),
    [](const ::testing::TestParamInfo<WriteFailureCase>& info) { return info.param.name; });

// ---- Posting: required fields and unique keys ----

TEST(ClientDataSetPost, RequiredFieldsRefuseAPostEvenWhenMadeRequiredOnAnOpenTable) {
    TClientDataSet ds;
    DefineTransformers(ds);
    ds.CreateDataSet();
    ds.Append();
    ds.FieldByName("Трансформатор").SetAsString("ТМ-400");
    ds.Post();  // nothing is required in the file

    for (int i = 0; i < ds.FieldDefs().Count(); ++i) ds.FieldDefs()[i].SetRequired(true);
    ds.Append();
    ds.FieldByName("Трансформатор").SetAsString("ТМ-630");
    try {
        ds.Post();
        ADD_FAILURE() << "posted";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(std::string(e.what()), "Поле 'Мощность кВА' должно иметь значение.");
    }
    EXPECT_EQ(ds.State(), dsInsert);
    EXPECT_EQ(ds.FieldByName("Трансформатор").AsString(), "ТМ-630");
    for (int i = 1; i < ds.FieldCount(); ++i) ds.Fields(i).SetAsFloat(i);
    ds.FieldByName("Трансформатор").SetAsString("");  // an empty text is no value
    EXPECT_THROW(ds.Post(), EDatabaseError);
    ds.FieldByName("Трансформатор").SetAsString("ТМ-630");
    ds.Post();
    EXPECT_EQ(ds.RecordCount(), 2);

    ds.First();  // the row posted before fields became required
    ds.Edit();
    ds.FieldByName("Трансформатор").SetAsString("ТМ-400/10");
    EXPECT_THROW(ds.Post(), EDatabaseError);
}

TEST(ClientDataSetPost, AUniqueIndexRefusesASecondRowWithTheSameKey) {
    TClientDataSet ds;
    DefineTransformers(ds);
    ds.CreateDataSet();
    AppendRows(ds, {{"ТМ-400", 400.0}, {"ТМ-630", 630.0}});  // index "01" has no fields
    ds.Append();
    ds.FieldByName("Трансформатор").SetAsString("ТМГ-400");
    ds.FieldByName("Мощность кВА").SetAsFloat(400.0);
    try {
        ds.Post();
        ADD_FAILURE() << "posted";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("Нарушение уникальности ключа"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("'Мощность кВА'"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("'02'"), std::string::npos);
    }
    EXPECT_EQ(ds.State(), dsInsert);
    ds.FieldByName("Мощность кВА").SetAsFloat(1000.0);
    ds.Post();

    ds.SetIndexFieldNames("Мощность кВА");
    ds.First();
    ds.Edit();
    ds.FieldByName("Мощность кВА").SetAsFloat(630.0);
    EXPECT_THROW(ds.Post(), EDatabaseError);
    ds.Cancel();
    EXPECT_EQ(Column(ds, "Мощность кВА"), (std::vector<double>{400.0, 630.0, 1000.0}));
}

// ---- Fields ----

TEST(ClientDataSetFields, ValuesAreCheckedAndConvertedWhenSet) {
    TClientDataSet ds;
    DefineBreakers(ds);
    ds.CreateDataSet();
    ds.Append();
    TField series = ds.FieldByName("Серии");
    TField current = ds.FieldByName("Мак. ном. ток А");
    TField poles = ds.FieldByName("Число полюсов");

    struct Case {
        std::function<void()> set;
        TField field;
        std::string text;  // AsString afterwards; "!" = refused, value unchanged
    };
    const std::vector<Case> cases = {
        {[&] { current.SetAsString("1,5"); }, current, "1,5"},
        {[&] { current.SetAsString("2.25"); }, current, "2,25"},
        {[&] { current.SetAsString("abc"); }, current, "!"},
        {[&] { current.SetAsFloat(std::nan("")); }, current, "!"},
        {[&] { current.SetAsFloat(std::numeric_limits<double>::infinity()); }, current, "!"},
        {[&] { current.SetAsInteger(7); }, current, "7"},
        {[&] { current.SetAsString(""); }, current, ""},
        {[&] { poles.SetAsString("3"); }, poles, "3"},
        {[&] { poles.SetAsString("2,5"); }, poles, "!"},
        {[&] { poles.SetAsFloat(4e10); }, poles, "!"},
        {[&] { series.SetAsString("ВА47-29 ВА47-29 ВА4"); }, series, "ВА47-29 ВА47-29 ВА4"},
        {[&] { series.SetAsString("ВА47-29 ВА47-29 ВА47"); }, series, "ВА47-29 ВА47-29 ВА47"},
        {[&] { series.SetAsString("ВА47-29 ВА47-29 ВА47-"); }, series, "!"},
        {[&] { series.SetAsFloat(0.1); }, series, "0,1"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const std::string before = cases[i].field.AsString();
        if (cases[i].text == "!") {
            EXPECT_THROW(cases[i].set(), EDatabaseError);
            EXPECT_EQ(cases[i].field.AsString(), before);
        } else {
            cases[i].set();
            EXPECT_EQ(cases[i].field.AsString(), cases[i].text);
        }
    }
    EXPECT_TRUE(current.IsNull());
    EXPECT_EQ(current.AsFloat(), 0.0);
    EXPECT_EQ(poles.AsFloat(), 3.0);
    ds.Post();
    EXPECT_THROW(poles.SetAsInteger(2), EDatabaseError);  // not in edit state
}

TEST(ClientDataSetFields, TheValueCheckRefusesNumbersSetButNotRowsReadFromAFile) {
    TempFolder folder;
    const std::string path = folder.File("breakers.xml");
    TClientDataSet ds;
    DefineBreakers(ds);
    ds.CreateDataSet();
    ds.Append();
    ds.FieldByName("Серии").SetAsString("ВА88-35 3P");
    ds.FieldByName("Мак. ном. ток А").SetAsFloat(-250);  // no check yet
    ds.FieldByName("Число полюсов").SetAsInteger(-3);
    ds.Post();
    ds.SaveToFile(path);

    ds.SetValueCheck([](const TFieldDef& field, double value) {
        if (value < 0) throw EDatabaseError("negative " + field.Name());
    });
    ds.LoadFromFile(path);
    ds.First();
    EXPECT_EQ(ds.FieldByName("Мак. ном. ток А").AsFloat(), -250);
    ds.Edit();
    TField current = ds.FieldByName("Мак. ном. ток А");
    TField poles = ds.FieldByName("Число полюсов");
    const std::vector<std::function<void()>> refused = {
        [&] { current.SetAsString("-1"); }, [&] { current.SetAsFloat(-0.5); },
        [&] { current.SetAsInteger(-2); },  [&] { poles.SetAsString("-4"); },
        [&] { poles.SetAsFloat(-1); },
    };
    for (size_t i = 0; i < refused.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_THROW(refused[i](), EDatabaseError);
    }
    EXPECT_EQ(current.AsFloat(), -250);
    EXPECT_EQ(poles.AsInteger(), -3);
    // Text is not a number; an empty value clears the field.
    ds.FieldByName("Серии").SetAsString("-");
    current.SetAsString("");
    EXPECT_TRUE(current.IsNull());
    current.SetAsString("250");
    ds.Post();
    EXPECT_EQ(ds.FieldByName("Мак. ном. ток А").AsFloat(), 250);
    EXPECT_EQ(ds.FieldByName("Число полюсов").AsInteger(), -3);
}

TEST(ClientDataSetFields, UnknownNamesAndPositionsAreRefused) {
    TClientDataSet ds;
    DefineBreakers(ds);
    ds.CreateDataSet();
    try {
        ds.FieldByName("Мак. ном. ток. А");
        ADD_FAILURE() << "found";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(std::string(e.what()), "Поле 'Мак. ном. ток. А' не найдено.");
    }
    EXPECT_THROW(ds.Fields(6), EDatabaseError);
    EXPECT_EQ(ds.Fields(5).FieldName(), "Кратность тока при КЗ");
    EXPECT_EQ(ds.FieldCount(), 6);
}

TEST(ClientDataSetFields, DefinitionsRefuseEmptyAndRepeatedNamesAndChangesWhileOpen) {
    // A cable table whose brand equals another parameter cannot be defined.
    TClientDataSet ds;
    ds.FieldDefs().Add("4", ftString, 10);
    EXPECT_THROW(ds.FieldDefs().Add("4", ftString, 10), EDatabaseError);
    EXPECT_THROW(ds.FieldDefs().Add("", ftString, 10), EDatabaseError);
    ds.CreateDataSet();
    EXPECT_THROW(ds.FieldDefs().Add("Медь", ftString, 10), EDatabaseError);
    EXPECT_THROW(ds.FieldDefs().Clear(), EDatabaseError);
    ds.Close();
    ds.FieldDefs().Clear();
    EXPECT_THROW(ds.CreateDataSet(), EDatabaseError);
    EXPECT_FALSE(ds.Active());
}

// ---- A closed dataset ----

TEST(ClientDataSetClosed, ReadsAsEmptyAndRefusesEverythingElse) {
    TClientDataSet ds;
    ExpectClosedAndEmpty(ds);
    EXPECT_TRUE(ds.Bof());
    EXPECT_EQ(ds.RecNo(), 0);
    ds.Close();
    ds.SetSavePoint(0);
    EXPECT_THROW(ds.First(), EDatabaseError);
    EXPECT_THROW(ds.Append(), EDatabaseError);
    EXPECT_THROW(ds.Open(), EDatabaseError);  // no file name

    DefineBreakers(ds);
    ds.CreateDataSet();
    AppendRows(ds, {{"ВА47-29", 0.5}});
    TField field = ds.FieldByName("Мин. ном. ток. А");
    ds.Close();  // no file name: the rows are simply gone
    ExpectClosedAndEmpty(ds);
    EXPECT_THROW(field.AsFloat(), EDatabaseError);
    EXPECT_EQ(ds.FieldDefs().Count(), 6);
}

// ---- Packets kept in memory ----

// The bytes of a cable table with the 2.5 mm² row carrying `current` amperes instead of 27 (the
// same size for a number of two digits).
std::string WithSmallestCurrent(const std::string& bytes, const std::string& current) {
    std::string changed = bytes;
    const size_t at = changed.find("=\"27\"");
    EXPECT_NE(at, std::string::npos);
    changed.replace(at, 5, "=\"" + current + "\"");
    return changed;
}

// The current of the 2.5 mm² row as a dataset of its own finds it in the file.
double SmallestCurrent(const std::string& path) {
    TClientDataSet ds;
    ds.SetIndexFieldNames("Сечение");
    ds.LoadFromFile(path);
    ds.First();
    return ds.FieldByName("Длительный ток").AsFloat();
}

// A saved cable table, old enough to be kept once read, opened in the order of its sections.
std::string OpenKeptCableTable(const TempFolder& dir, TClientDataSet& ds) {
    const std::string path = SaveCableTable(dir);
    EXPECT_TRUE(SetFileTime(path, LongAgo()));
    ds.SetIndexFieldNames("Сечение");
    ds.SetFileName(path);
    ds.Open();
    return path;
}

struct FileChangeCase {
    std::string label;
    bool viaLink;  // the table is opened through a symbolic link to it
    // Changes the file behind the datasets' back; `when` is its modification time before.
    std::function<void(const std::string& opened, std::time_t when)> change;
    double current;  // of the 2.5 mm² row afterwards
};

TEST(ClientDataSetKeptPackets, AFileChangedBehindTheProgramIsReadAgain) {
    const FileChangeCase cases[] = {
        {"rewritten in place, the same size, a later time", false,
         [](const std::string& path, std::time_t when) {
             WriteBytes(path, WithSmallestCurrent(ReadBytes(path), "29"));
             SetFileTime(path, when + 1);
         },
         29},
        {"rewritten in place, another size, the same time", false,
         [](const std::string& path, std::time_t when) {
             WriteBytes(path, WithSmallestCurrent(ReadBytes(path), "125"));
             SetFileTime(path, when);
         },
         125},
        {"replaced by a file of the same size and time", false,
         [](const std::string& path, std::time_t when) {
             WriteBytes(path + ".new", WithSmallestCurrent(ReadBytes(path), "29"));
             SetFileTime(path + ".new", when);
             fs::rename(path + ".new", path);
         },
         29},
        {"its link turned to a file of the same size and time", true,
         [](const std::string& link, std::time_t when) {
             const std::string other = fs::path(link).parent_path() / "Другая.xml";
             WriteBytes(other, WithSmallestCurrent(ReadBytes(link), "29"));
             SetFileTime(other, when);
             fs::remove(link);
             fs::create_symlink(other, link);
         },
         29},
    };
    for (const FileChangeCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempFolder dir;
        const std::string path = SaveCableTable(dir);
        std::string opened = path;
        if (c.viaLink) {
            opened = dir.File("Ссылка.xml");
            fs::create_symlink(path, opened);
        }
        const std::time_t when = LongAgo();
        ASSERT_TRUE(SetFileTime(path, when));
        EXPECT_EQ(SmallestCurrent(opened), 27);
        EXPECT_EQ(SmallestCurrent(opened), 27);
        c.change(opened, when);
        EXPECT_EQ(SmallestCurrent(opened), c.current);
    }
}

// Within one pass over the tables (batches nest) each file is checked once: a change by another
// process shows at the first open after the pass.
TEST(ClientDataSetKeptPackets, APassChecksEachFileOnce) {
    TempFolder dir;
    const std::string path = SaveCableTable(dir);
    const std::time_t when = LongAgo();
    ASSERT_TRUE(SetFileTime(path, when));
    {
        FileCheckBatch pass;
        EXPECT_EQ(SmallestCurrent(path), 27);
        {
            FileCheckBatch inner;
            WriteBytes(path, WithSmallestCurrent(ReadBytes(path), "29"));
            ASSERT_TRUE(SetFileTime(path, when + 1));
        }
        EXPECT_EQ(SmallestCurrent(path), 27);
    }
    EXPECT_EQ(SmallestCurrent(path), 29);
}

// The program's own changes show at once, within a pass too: a table written through a dataset,
// a table forgotten and deleted.
TEST(ClientDataSetKeptPackets, APassSeesTheProgramsOwnChanges) {
    TempFolder dir;
    const std::string path = SaveCableTable(dir);
    ASSERT_TRUE(SetFileTime(path, LongAgo()));
    FileCheckBatch pass;
    EXPECT_EQ(SmallestCurrent(path), 27);
    {
        TClientDataSet ds;
        ds.SetIndexFieldNames("Сечение");
        ds.LoadFromFile(path);
        ds.First();
        ds.Edit();
        ds.FieldByName("Длительный ток").SetAsFloat(31);
        ds.Post();
        ds.SaveToFile(path);
    }
    EXPECT_EQ(SmallestCurrent(path), 31);
    EXPECT_TRUE(TClientDataSet::IsRegularFile(path));
    TClientDataSet::ForgetFile(path);
    fs::remove(path);
    EXPECT_FALSE(TClientDataSet::IsRegularFile(path));
}

// A file whose modification time is not before the moment it was read (changed again within the
// same tick of the clock, or stamped ahead of it) may change without its stamps showing it: it is
// read at every open.
TEST(ClientDataSetKeptPackets, AFileTimedAfterItWasReadIsReadAtEveryOpen) {
    TempFolder dir;
    const std::string path = SaveCableTable(dir);
    const std::time_t ahead = std::time(nullptr) + 60 * 60;
    ASSERT_TRUE(SetFileTime(path, ahead));
    ASSERT_EQ(SmallestCurrent(path), 27);
    WriteBytes(path, WithSmallestCurrent(ReadBytes(path), "29"));
    ASSERT_TRUE(SetFileTime(path, ahead));
    EXPECT_EQ(SmallestCurrent(path), 29);
}

TEST(ClientDataSetKeptPackets, ADamagedFileIsRefusedAtEveryOpen) {
    TempFolder dir;
    const std::string path = SaveCableTable(dir);
    ASSERT_TRUE(SetFileTime(path, LongAgo()));
    ASSERT_EQ(SmallestCurrent(path), 27);
    const std::string bytes = ReadBytes(path);
    WriteBytes(path, bytes.substr(0, bytes.size() / 2));
    for (int open = 0; open < 2; ++open) {
        TClientDataSet ds;
        ds.SetFileName(path);
        EXPECT_THROW(ds.Open(), EDatabaseError) << open;
        ExpectClosedAndEmpty(ds);
    }
}

// One file, read once, serves datasets that expect different fields of it.
TEST(ClientDataSetKeptPackets, EveryDataSetChecksTheFieldsItExpects) {
    TempFolder dir;
    const std::string path = dir.File("Без тока.xml");
    std::string bytes = ReadBytes(SaveCableTable(dir));
    for (size_t at; (at = bytes.find("Длительный_x0020_ток")) != std::string::npos;)
        bytes.replace(at, std::string("Длительный_x0020_ток").size(), "Ток");
    WriteBytes(path, bytes);
    ASSERT_TRUE(SetFileTime(path, LongAgo()));

    for (int open = 0; open < 2; ++open) {
        TClientDataSet any;
        any.LoadFromFile(path);
        EXPECT_EQ(any.FieldByName("Ток").AsFloat(), 60) << open;

        TClientDataSet cable;
        cable.SetExpectedFields({{"Сечение", ftFloat}, {"Длительный ток", ftFloat}});
        try {
            cable.LoadFromFile(path);
            ADD_FAILURE() << "opened";
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Файл '" + path + "' повреждён: в таблице нет поля 'Длительный ток'.");
        }
        ExpectClosedAndEmpty(cable);
    }
}

// Whichever name a dataset writes the file under, every name of it reads the new rows.
TEST(ClientDataSetKeptPackets, ALinkAndItsTargetAreOneFile) {
    TempFolder dir;
    const std::string path = SaveCableTable(dir);
    const std::string link = dir.File("Ссылка.xml");
    fs::create_symlink(path, link);
    ASSERT_TRUE(SetFileTime(path, LongAgo()));
    ASSERT_EQ(SmallestCurrent(link), 27);
    ASSERT_EQ(SmallestCurrent(path), 27);

    const auto write = [](const std::string& name, double current) {
        TClientDataSet ds;
        ds.SetIndexFieldNames("Сечение");
        ds.SetFileName(name);
        ds.Open();
        ds.Edit();
        ds.FieldByName("Длительный ток").SetAsFloat(current);
        ds.Close();
    };
    write(link, 31);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(SmallestCurrent(path), 31);
    EXPECT_EQ(SmallestCurrent(link), 31);
    ASSERT_TRUE(SetFileTime(path, LongAgo()));
    ASSERT_EQ(SmallestCurrent(link), 31);
    write(path, 33);
    EXPECT_EQ(SmallestCurrent(link), 33);
}

TEST(ClientDataSetKeptPackets, ChangedRowsStayWithTheirDataSet) {
    TempFolder dir;
    TClientDataSet ds;
    const std::string path = OpenKeptCableTable(dir, ds);
    const ino_t inode = Inode(path);
    ds.ScaleField("Длительный ток", 0.5);
    ASSERT_EQ(Column(ds, "Длительный ток"), (std::vector<double>{13.5, 19, 23, 30}));
    EXPECT_EQ(SmallestCurrent(path), 27);
    ds.SetSavePoint(0);
    ds.Close();
    EXPECT_EQ(Inode(path), inode);
    EXPECT_EQ(SmallestCurrent(path), 27);
}

TEST(ClientDataSetKeptPackets, AnUnchangedTableOpensAgainAsItWasRead) {
    TempFolder dir;
    TClientDataSet ds;
    const std::string path = OpenKeptCableTable(dir, ds);
    const int start = ds.SavePoint();
    ds.ScaleField("Длительный ток", 0.94);
    ds.SetSavePoint(start);
    ds.FieldDefs()[3].SetRequired(true);
    ds.Last();
    ds.Next();

    ASSERT_TRUE(ds.ReopenUnchanged());
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_FALSE(ds.Eof());
    EXPECT_FALSE(ds.Bof());
    EXPECT_FALSE(ds.FieldDefs()[3].Required());
    EXPECT_EQ(ds.ChangeCount(), 0);
    EXPECT_EQ(ds.IndexFieldNames(), "Сечение");
    EXPECT_EQ(Column(ds, "Длительный ток"), (std::vector<double>{27, 38, 46, 60}));
}

struct NotReopenedCase {
    std::string label;
    std::function<void(TClientDataSet& ds, const std::string& path)> action;
};

// Where the rows may differ from the file's, opening again is left to Close and Open.
TEST(ClientDataSetKeptPackets, ATableThatMayDifferFromItsFileIsNotOpenedAgainSo) {
    const NotReopenedCase cases[] = {
        {"a change not written",
         [](TClientDataSet& ds, const std::string&) {
             ds.Edit();
             ds.FieldByName("Длительный ток").SetAsFloat(28);
             ds.Post();
         }},
        {"a row being edited",
         [](TClientDataSet& ds, const std::string&) {
             ds.Edit();
             ds.FieldByName("Длительный ток").SetAsFloat(28);
         }},
        {"a change written",
         [](TClientDataSet& ds, const std::string&) {
             ds.Delete();
             ds.SaveToFile();
         }},
        {"the file rewritten",
         [](TClientDataSet&, const std::string& path) {
             WriteBytes(path, WithSmallestCurrent(ReadBytes(path), "125"));
         }},
        {"the file deleted", [](TClientDataSet&, const std::string& path) { fs::remove(path); }},
        {"the file read before its time had settled",
         [](TClientDataSet& ds, const std::string& path) {
             ds.Close();
             SetFileTime(path, std::time(nullptr) + 60 * 60);
             ds.Open();
         }},
        {"rows read from another file",
         [](TClientDataSet& ds, const std::string& path) {
             fs::copy_file(path, path + ".copy");
             ds.SetFileName("");
             ds.LoadFromFile(path + ".copy");
             ds.SetFileName(path);
         }},
    };
    for (const NotReopenedCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempFolder dir;
        TClientDataSet ds;
        const std::string path = OpenKeptCableTable(dir, ds);
        c.action(ds, path);
        const TDataSetState state = ds.State();
        const int recNo = ds.RecNo();
        const int changes = ds.ChangeCount();
        EXPECT_FALSE(ds.ReopenUnchanged());
        EXPECT_EQ(ds.State(), state);
        EXPECT_EQ(ds.RecNo(), recNo);
        EXPECT_EQ(ds.ChangeCount(), changes);
        ds.Cancel();
        ds.SetFileName("");  // nothing written back
    }
}

// ---- Scaling a field ----

struct ScaleCase {
    std::string label;
    std::function<void(TClientDataSet&)> define;
    Rows rows;
    std::string order;
    std::string field;
    double factor;
    bool sectionRequired = false;  // made required once the rows are in
};
void PrintTo(const ScaleCase& c, std::ostream* os) {
    *os << c.label;
}

class ClientDataSetScaleField : public ::testing::TestWithParam<ScaleCase> {};

// ScaleField does what a walk of Edit, set, Post and Next does, to the bit: the rows, the change
// log, the cursor and a refusal.
TEST_P(ClientDataSetScaleField, IsAWalkThatEditsAndPostsEveryRow) {
    const ScaleCase& c = GetParam();
    TClientDataSet walked, scaled;
    for (TClientDataSet* ds : {&walked, &scaled}) {
        c.define(*ds);
        ds->SetIndexFieldNames(c.order);
        ds->CreateDataSet();
        AppendRows(*ds, c.rows);
        if (c.sectionRequired) ds->FieldDefs()[0].SetRequired(true);
    }
    const int start = walked.SavePoint();
    std::string walkRefusal, scaleRefusal;
    try {
        walked.First();
        for (int row = 0, rows = walked.RecordCount(); row < rows && !walked.Eof(); ++row) {
            walked.Edit();
            TField field = walked.FieldByName(c.field);
            field.SetAsFloat(field.AsFloat() * c.factor);
            walked.Post();
            walked.Next();
        }
    } catch (const EDatabaseError& e) {
        walkRefusal = e.what();
        walked.Cancel();
    }
    try {
        scaled.ScaleField(c.field, c.factor);
    } catch (const EDatabaseError& e) {
        scaleRefusal = e.what();
        scaled.Cancel();
    }
    EXPECT_EQ(scaleRefusal, walkRefusal);
    EXPECT_EQ(scaled.ChangeCount(), walked.ChangeCount());
    EXPECT_EQ(scaled.RecNo(), walked.RecNo());
    EXPECT_EQ(scaled.Eof(), walked.Eof());
    EXPECT_EQ(scaled.Bof(), walked.Bof());
    EXPECT_EQ(scaled.State(), dsBrowse);
    Rows after;
    walked.SetIndexFieldNames("");
    for (walked.First(); !walked.Eof(); walked.Next()) {
        std::vector<Cell> row;
        for (int i = 0; i < walked.FieldCount(); ++i) {
            TField field = walked.Fields(i);
            if (field.IsNull())
                row.emplace_back(std::monostate());
            else if (field.DataType() == ftString)
                row.emplace_back(field.AsString());
            else if (field.DataType() == ftInteger)
                row.emplace_back(field.AsInteger());
            else
                row.emplace_back(field.AsFloat());
        }
        after.push_back(row);
    }
    ExpectRows(scaled, after);

    scaled.SetSavePoint(start);
    ExpectRows(scaled, c.rows);
}

void DefineCurrents(TClientDataSet& ds) {
    ds.FieldDefs().Add("Сечение", ftFloat);
    ds.FieldDefs().Add("Ток", ftFloat);
    ds.FieldDefs().Add("Жилы", ftInteger);
    ds.FieldDefs().Add("Марка", ftString, 10);
}

INSTANTIATE_TEST_SUITE_P(
    ClientDataSetFields, ClientDataSetScaleField,
    ::testing::Values(
        ScaleCase{"Currents", DefineCable, kCableRows, "Сечение", "Длительный ток", 0.94},
        ScaleCase{"ByOneNothingChanges", DefineCable, kCableRows, "Сечение", "Длительный ток", 1},
        // The rows move while they are walked: some are passed over.
        ScaleCase{"TheOrdersOwnField", DefineCable, kCableRows, "Длительный ток", "Длительный ток",
                  2},
        ScaleCase{"AKeyOfAUniqueIndex", DefineCable, kCableRows, "", "Сечение", 0.5},
        ScaleCase{"NoValueCountsAsZero",
                  DefineCurrents,
                  {{2.5, 27.0, 3, "ВВГ"}, {4.0, std::monostate(), 3}, {6.0, -46.0}},
                  "",
                  "Ток",
                  -0.5},
        ScaleCase{"Integers", DefineCurrents, {{2.5, 27.0, 3}, {4.0, 38.0, 5}}, "", "Жилы", 0.5},
        ScaleCase{"ARequiredValueMissing",
                  DefineCurrents,
                  {{2.5, 27.0}, {std::monostate(), 38.0}, {6.0, 46.0}},
                  "",
                  "Ток",
                  0.5,
                  true},
        ScaleCase{"BeyondTheDoubles", DefineCurrents, {{2.5, 27.0}, {4.0, kMax}}, "", "Ток", 2}),
    [](const ::testing::TestParamInfo<ScaleCase>& info) { return info.param.label; });

}  // namespace
