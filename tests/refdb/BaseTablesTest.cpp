// The breaker and transformer tables: created at the first start, opened at every start, edited
// in their windows; and the tables shipped with the program.
#include <gtest/gtest.h>

#include <filesystem>

#include "RefdbFixture.h"
#include "platform/DBGrid.h"
#include "platform/DBNavigator.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"
#include "refdb/CableTableLoader.h"
#include "refdb/TableSchemas.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

struct ExpectedField {
    std::string name;
    TFieldType type;
    int size;
};

void ExpectFields(const TFieldDefs& defs, const std::vector<ExpectedField>& expected) {
    ASSERT_EQ(defs.Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < defs.Count(); ++i) {
        const ExpectedField& field = expected[static_cast<size_t>(i)];
        EXPECT_EQ(defs[i].Name(), field.name) << "field " << i;
        EXPECT_EQ(defs[i].DataType(), field.type) << field.name;
        EXPECT_EQ(defs[i].Size(), field.size) << field.name;
        EXPECT_FALSE(defs[i].Required()) << field.name;
    }
}

const std::vector<ExpectedField> kBreakerFields = {
    {"Серии", ftString, 20},
    {"Мин. ном. ток. А", ftFloat, 0},
    {"Мак. ном. ток А", ftFloat, 0},
    {"Число полюсов", ftInteger, 0},
    {"Ном. ток расцепителя.А", ftString, 20},
    {"Кратность тока при КЗ", ftFloat, 0},
};

const std::vector<ExpectedField> kTransformerFields = {
    {"Трансформатор", ftString, 20},          {"Мощность кВА", ftFloat, 0},
    {"Напряжение высщее КВ", ftFloat, 0},     {"Напряжение низщее КВ", ftFloat, 0},
    {"Потери холостого хода Вт", ftFloat, 0}, {"Потери к.з. Вт", ftFloat, 0},
    {"Напряжение к.з. %", ftFloat, 0},        {"Ток холостого хода %", ftFloat, 0},
};

// Types a row into a grid whose navigator has just inserted one (the new row is the last line).
void TypeNewRow(TDBGrid& grid, const std::vector<std::string>& values) {
    const int row = grid.model()->rowCount() - 1;
    for (size_t c = 0; c < values.size(); ++c)
        grid.model()->setData(grid.model()->index(row, static_cast<int>(c)),
                              QString::fromStdString(values[c]), Qt::EditRole);
}

}  // namespace

using BaseTables = RefdbTest;

TEST_F(BaseTables, FirstStartCreatesBothFilesEmptyAndTheyReloadIdentically) {
    Restart([&] { EmptyProgramFolder(); });

    ASSERT_TRUE(fs::exists(ProgramFile("Avtomat.xml")));
    ASSERT_TRUE(fs::exists(ProgramFile("tranform.xml")));
    {
        FileTable breakers(ProgramFile("Avtomat.xml"));
        ExpectFields(breakers.ds.FieldDefs(), kBreakerFields);
        EXPECT_EQ(breakers.ds.IndexDefs().Count(), 0);
        EXPECT_EQ(breakers.ds.RecordCount(), 0);

        FileTable transformers(ProgramFile("tranform.xml"));
        ExpectFields(transformers.ds.FieldDefs(), kTransformerFields);
        ASSERT_EQ(transformers.ds.IndexDefs().Count(), 2);
        EXPECT_EQ(transformers.ds.IndexDefs()[0].Name(), "01");
        EXPECT_EQ(transformers.ds.IndexDefs()[0].Fields(), "");
        EXPECT_EQ(transformers.ds.IndexDefs()[0].Options(), ixUnique);
        EXPECT_EQ(transformers.ds.IndexDefs()[1].Name(), "02");
        EXPECT_EQ(transformers.ds.IndexDefs()[1].Fields(), "Мощность кВА");
        EXPECT_EQ(transformers.ds.IndexDefs()[1].Options(), ixUnique | ixDescending);
        EXPECT_EQ(transformers.ds.RecordCount(), 0);
    }
    // The windows hold the empty tables open, in their order.
    EXPECT_TRUE(BazaAvt->AVT1.Active());
    EXPECT_TRUE(BazaAvt->AVT1.IsEmpty());
    EXPECT_EQ(BazaAvt->AVT1.IndexFieldNames(), "Мак. ном. ток А");
    EXPECT_TRUE(BazaTran->ClientDataSet2.Active());
    EXPECT_TRUE(BazaTran->ClientDataSet2.IsEmpty());
    EXPECT_EQ(BazaTran->ClientDataSet2.IndexFieldNames(), "Мощность кВА");

    // The next start opens them as they are and leaves the files untouched.
    const std::string breakerBytes = ReadBytes(ProgramFile("Avtomat.xml"));
    const std::string transformerBytes = ReadBytes(ProgramFile("tranform.xml"));
    Restart([] {});
    EXPECT_EQ(ReadBytes(ProgramFile("Avtomat.xml")), breakerBytes);
    EXPECT_EQ(ReadBytes(ProgramFile("tranform.xml")), transformerBytes);
    ExpectFields(BazaAvt->AVT1.FieldDefs(), kBreakerFields);
    ExpectFields(BazaTran->ClientDataSet2.FieldDefs(), kTransformerFields);
    EXPECT_EQ(BazaTran->ClientDataSet2.IndexDefs().Count(), 2);
}

TEST_F(BaseTables, TheDoubledSeparatorOfTheTransformerPathNamesTheSameFile) {
    const std::string fileName = BazaTran->ClientDataSet2.FileName();
    EXPECT_EQ(fileName, ProgramFolder() + "/tranform.xml");
    EXPECT_TRUE(fs::equivalent(fileName, ProgramFile("tranform.xml")));

    // An edit made in the window reaches the one file when the window closes.
    TDBGrid& grid = *BazaTran->DBGrid1;
    grid.model()->setData(grid.model()->index(0, 1), "260", Qt::EditRole);
    BazaTran->Button1->click();
    FileTable written(ProgramFile("tranform.xml"), "Мощность кВА");
    EXPECT_EQ(Floats(written.ds, "Мощность кВА"), (std::vector<double>{260, 400, 630, 1000}));
    EXPECT_TRUE(BazaTran->ClientDataSet2.Active());
    EXPECT_EQ(Floats(BazaTran->ClientDataSet2, "Мощность кВА"),
              (std::vector<double>{260, 400, 630, 1000}));
}

TEST_F(BaseTables, ClosingTheBreakerWindowAnyWayWritesItsEditsAndKeepsTheTableOpen) {
    TDBGrid& grid = *BazaAvt->DBGrid3;
    ASSERT_EQ(grid.CellText(0, 0), "ВА47-29 1P C");
    grid.model()->setData(grid.model()->index(0, 4), "0,5;1;2", Qt::EditRole);
    BazaAvt->show();
    BazaAvt->reject();  // the title bar's close button or Escape

    FileTable written(ProgramFile("Avtomat.xml"), "Мак. ном. ток А");
    EXPECT_EQ(written.ds.FieldByName("Ном. ток расцепителя.А").AsString(), "0,5;1;2");
    EXPECT_TRUE(BazaAvt->AVT1.Active());
    EXPECT_EQ(BazaAvt->AVT1.RecordCount(), 6);
}

TEST_F(BaseTables, AfterANavigatorActionATransformerRowNeedsEveryValue) {
    TClientDataSet& ds = BazaTran->ClientDataSet2;
    for (int i = 0; i < ds.FieldDefs().Count(); ++i) ASSERT_FALSE(ds.FieldDefs()[i].Required());

    TDBNavigator& navigator = *BazaTran->DBNavigator1;
    navigator.BtnClick(TDBNavigator::nbInsert);
    TypeNewRow(*BazaTran->DBGrid1, {"ТМ-160/10", "160", "10", "0,4", "510", "2650", "4,5"});
    responder_.ExpectMessage("Поле 'Ток холостого хода %' должно иметь значение.",
                             "Veltranovaplanir", mrOk);
    navigator.BtnClick(TDBNavigator::nbPost);
    EXPECT_EQ(ds.State(), dsInsert);
    EXPECT_EQ(ds.RecordCount(), 4);

    TDBGrid& grid = *BazaTran->DBGrid1;
    grid.model()->setData(grid.model()->index(grid.model()->rowCount() - 1, 7), "2,4",
                          Qt::EditRole);
    navigator.BtnClick(TDBNavigator::nbPost);
    EXPECT_EQ(ds.State(), dsBrowse);
    EXPECT_EQ(Floats(ds, "Мощность кВА"), (std::vector<double>{160, 250, 400, 630, 1000}));
    EXPECT_EQ(grid.CellText(0, 0), "ТМ-160/10");
    EXPECT_EQ(grid.CellText(0, 7), "2,4");
}

TEST_F(BaseTables, TheTransformerWindowStaysOpenOverARowThatCannotBePosted) {
    BazaTran->show();
    BazaTran->DBNavigator1->BtnClick(TDBNavigator::nbInsert);
    TypeNewRow(*BazaTran->DBGrid1, {"ТМ-160/10", "160"});
    responder_.ExpectMessage("Поле 'Напряжение высщее КВ' должно иметь значение.",
                             "Veltranovaplanir", mrOk);
    BazaTran->Button1->click();
    EXPECT_TRUE(BazaTran->isVisible());
    EXPECT_EQ(BazaTran->ClientDataSet2.State(), dsInsert);

    // Once the row is given up, the window closes.
    BazaTran->DBNavigator1->BtnClick(TDBNavigator::nbCancel);
    BazaTran->Button1->click();
    EXPECT_FALSE(BazaTran->isVisible());
    EXPECT_EQ(BazaTran->ClientDataSet2.RecordCount(), 4);
}

TEST_F(BaseTables, ATransformerPowerCanBeThereOnlyOnce) {
    TDBNavigator& navigator = *BazaTran->DBNavigator1;
    navigator.BtnClick(TDBNavigator::nbInsert);
    TypeNewRow(*BazaTran->DBGrid1, {"ТМГ-400/10", "400", "10", "0,4", "900", "5400", "4,5", "1,9"});
    responder_.ExpectMessage(
        "Нарушение уникальности ключа: запись с таким значением поля 'Мощность кВА' уже есть "
        "(индекс '02').",
        "Veltranovaplanir", mrOk);
    navigator.BtnClick(TDBNavigator::nbPost);
    EXPECT_EQ(BazaTran->ClientDataSet2.RecordCount(), 4);
    navigator.BtnClick(TDBNavigator::nbCancel);
    EXPECT_EQ(BazaTran->ClientDataSet2.State(), dsBrowse);
}

// ---- The tables shipped with the program ----

namespace {

// The program's standard current series of breaker ratings, A.
const std::vector<double> kStandardRatings = {0.32, 0.4, 0.5, 0.6, 0.8,  1,    1.25, 1.6, 2,   2.5,
                                              3.2,  4,   5,   6,   8,    10,   12.5, 16,  20,  25,
                                              32,   40,  50,  63,  80,   100,  125,  160, 200, 250,
                                              320,  400, 500, 630, 1000, 1600, 2500, 4000};

bool BreakerFits(TClientDataSet& ds, double rating, std::vector<int> poles) {
    for (ds.First(); !ds.Eof(); ds.Next()) {
        const int p = ds.FieldByName("Число полюсов").AsInteger();
        if (ds.FieldByName("Мин. ном. ток. А").AsFloat() <= rating &&
            ds.FieldByName("Мак. ном. ток А").AsFloat() >= rating &&
            std::find(poles.begin(), poles.end(), p) != poles.end())
            return true;
    }
    return false;
}

}  // namespace

class ShippedTables : public RefdbTest {
protected:
    void SetUp() override {
        RefdbTest::SetUp();
        Restart([&] {
            EmptyProgramFolder();
            AddShippedTables();
        });
    }
};

TEST_F(ShippedTables, BreakersServeEveryRatingThatTheProgramChooses) {
    TClientDataSet& ds = BazaAvt->AVT1;
    ASSERT_FALSE(ds.IsEmpty());
    const std::vector<double> maxima = Floats(ds, "Мак. ном. ток А");
    EXPECT_TRUE(std::is_sorted(maxima.begin(), maxima.end()));
    for (double rating : kStandardRatings) {
        if (rating >= 0.4 && rating <= 4000) {
            EXPECT_TRUE(BreakerFits(ds, rating, {3, 4})) << "3 poles, " << rating << " A";
        }
        if (rating >= 0.4 && rating <= 100) {
            EXPECT_TRUE(BreakerFits(ds, rating, {1})) << "1 pole, " << rating << " A";
            EXPECT_TRUE(BreakerFits(ds, rating, {2})) << "2 poles, " << rating << " A";
        }
    }
    for (ds.First(); !ds.Eof(); ds.Next()) {
        const std::string series = ds.FieldByName("Серии").AsString();
        EXPECT_LE(ds.FieldByName("Мин. ном. ток. А").AsFloat(),
                  ds.FieldByName("Мак. ном. ток А").AsFloat())
            << series;
        EXPECT_GT(ds.FieldByName("Кратность тока при КЗ").AsFloat(), 0) << series;
        EXPECT_FALSE(ds.FieldByName("Ном. ток расцепителя.А").AsString().empty()) << series;
    }
}

TEST_F(ShippedTables, SeriesOfTheSameNameHaveOneMultiplicityOfTheirCharacteristic) {
    // The multiplicity is looked up by series; B, C and D characteristics trip at 5, 10, 20 In.
    TClientDataSet& ds = BazaAvt->AVT1;
    for (ds.First(); !ds.Eof(); ds.Next()) {
        const std::string series = ds.FieldByName("Серии").AsString();
        const double multiplicity = ds.FieldByName("Кратность тока при КЗ").AsFloat();
        const char last = series.back();
        if (series.rfind("ВА47", 0) == 0) {
            EXPECT_EQ(multiplicity, last == 'B' ? 5 : last == 'C' ? 10 : 20) << series;
        }
    }
}

TEST_F(ShippedTables, TransformersFrom25To2500KvaWithTheirStandardData) {
    TClientDataSet& ds = BazaTran->ClientDataSet2;
    EXPECT_EQ(Floats(ds, "Мощность кВА"),
              (std::vector<double>{25, 40, 63, 100, 160, 250, 400, 630, 1000, 1600, 2500}));
    for (ds.First(); !ds.Eof(); ds.Next()) {
        EXPECT_EQ(ds.FieldByName("Напряжение высщее КВ").AsFloat(), 10);
        EXPECT_EQ(ds.FieldByName("Напряжение низщее КВ").AsFloat(), 0.4);
        EXPECT_LT(ds.FieldByName("Потери холостого хода Вт").AsFloat(),
                  ds.FieldByName("Потери к.з. Вт").AsFloat());
    }
    // ТМ-1000/10 of the standard table: 2,45 kW, 12,2 kW, 5,5 %, 1,4 %.
    ds.Last();
    ds.Prior();
    ds.Prior();
    EXPECT_EQ(ds.FieldByName("Трансформатор").AsString(), "ТМ-1000/10");
    EXPECT_EQ(ds.FieldByName("Потери холостого хода Вт").AsFloat(), 2450);
    EXPECT_EQ(ds.FieldByName("Потери к.з. Вт").AsFloat(), 12200);
    EXPECT_EQ(ds.FieldByName("Напряжение к.з. %").AsFloat(), 5.5);
    EXPECT_EQ(ds.FieldByName("Ток холостого хода %").AsFloat(), 1.4);
}

TEST_F(ShippedTables, EveryCableTableIsListedAndMadeByTheRulesOfTheWindow) {
    std::vector<std::string> listed;
    for (int i = 0; i < BazaT->FileListBox1->Count(); ++i)
        listed.push_back(BazaT->FileListBox1->Items(i));
    EXPECT_EQ(listed.size(), 24u);
    TClientDataSet& ds = BazaT->ClientDataSet1;
    ds.SetIndexFieldNames("Сечение");
    for (const std::string& name : listed) {
        SCOPED_TRACE(name);
        EXPECT_LE(QString::fromStdString(name).size(), 8 + 4) << "name longer than 8 characters";
        ASSERT_TRUE(OpenCurrentTable(name));
        const TFieldDefs& defs = ds.FieldDefs();
        ASSERT_TRUE(defs.Count() == 7 || defs.Count() == 8);
        const int brand = defs.Count() == 8 ? 3 : 2;
        const refdb::CableTableParameters parameters{defs[brand].Name(), defs[brand + 1].Name(),
                                                     defs[brand + 2].Name(), defs[brand + 3].Name(),
                                                     defs[brand + 4].Name()};
        const refdb::LayingChoice* choice = refdb::FindLayingChoice(parameters.layingMethod);
        ASSERT_NE(choice, nullptr);
        EXPECT_NE(std::find(choice->kinds.begin(), choice->kinds.end(), parameters.kind),
                  choice->kinds.end());
        EXPECT_NE(
            std::find(choice->coreCounts.begin(), choice->coreCounts.end(), parameters.coreCount),
            choice->coreCounts.end());
        EXPECT_TRUE(parameters.material == "Медь" || parameters.material == "Алюминий");
        EXPECT_EQ(refdb::HasZeroConductorField(parameters), defs.Count() == 8);
        EXPECT_EQ(defs[0].Name(), "Сечение");
        EXPECT_EQ(defs[brand - 1].Name(), "Длительный ток");
        ASSERT_EQ(ds.IndexDefs().Count(), 1);
        EXPECT_EQ(ds.IndexDefs()[0].Fields(), "Сечение");

        const std::vector<double> sections = Floats(ds, "Сечение");
        const std::vector<double> currents = Floats(ds, "Длительный ток");
        ASSERT_GE(sections.size(), 10u);
        for (size_t i = 1; i < sections.size(); ++i) {
            EXPECT_LT(sections[i - 1], sections[i]);
            EXPECT_LT(currents[i - 1], currents[i]) << sections[i] << " mm²";
        }
        if (defs.Count() == 8) {
            const std::vector<double> zero = Floats(ds, "Сечение 0 жилы");
            for (size_t i = 0; i < zero.size(); ++i) EXPECT_LE(zero[i], sections[i]);
        }
        EXPECT_EQ(CableTableBrandOf(name), parameters.brand);
    }
}

struct PueValue {
    std::string table;
    double section;
    double current;
};
void PrintTo(const PueValue& v, std::ostream* os) {
    *os << v.table << " " << v.section;
}

class ShippedCableValues : public ShippedTables, public ::testing::WithParamInterface<PueValue> {};

TEST_P(ShippedCableValues, HoldTheCurrentOfTheRules) {
    TClientDataSet& ds = BazaT->ClientDataSet1;
    ASSERT_TRUE(OpenCurrentTable(GetParam().table));
    ds.SetIndexFieldNames("Сечение");
    bool found = false;
    for (ds.First(); !ds.Eof(); ds.Next()) {
        if (ds.FieldByName("Сечение").AsFloat() != GetParam().section) continue;
        found = true;
        EXPECT_EQ(ds.FieldByName("Длительный ток").AsFloat(), GetParam().current);
    }
    EXPECT_TRUE(found);
}

INSTANTIATE_TEST_SUITE_P(
    RulesTables, ShippedCableValues,
    ::testing::Values(PueValue{"ПВ1в2.xml", 2.5, 30},    // 1.3.4, open
                      PueValue{"ПВ1т3.xml", 16, 80},     // 1.3.4, three in a pipe
                      PueValue{"АПВв2.xml", 120, 295},   // 1.3.5, open
                      PueValue{"АПВт4.xml", 10, 39},     // 1.3.5, four in a pipe
                      PueValue{"ВВГв2.xml", 95, 260},    // 1.3.6, two cores in air
                      PueValue{"ВВГз3.xml", 2.5, 38},    // 1.3.6, three cores in ground
                      PueValue{"АВВГз2.xml", 50, 205},   // 1.3.7, two cores in ground
                      PueValue{"ВВГв4.xml", 50, 133},    // 145 A x 0,92 = 133,4 A
                      PueValue{"АВВГз4.xml", 25, 105}),  // 115 A x 0,92 = 105,8 A
    [](const ::testing::TestParamInfo<PueValue>& info) {
        return "Case" + std::to_string(info.index);
    });

TEST_F(ShippedTables, FourCoreCablesHaveTheZeroConductorOfTheirConstruction) {
    TClientDataSet& ds = BazaT->ClientDataSet1;
    ASSERT_TRUE(OpenCurrentTable("ВВГв4.xml"));
    ds.SetIndexFieldNames("Сечение");
    EXPECT_EQ(Floats(ds, "Сечение"),
              (std::vector<double>{1.5, 2.5, 4, 6, 10, 16, 25, 35, 50, 70, 95, 120, 150, 185}));
    EXPECT_EQ(Floats(ds, "Сечение 0 жилы"),
              (std::vector<double>{1.5, 2.5, 4, 6, 10, 16, 16, 16, 25, 35, 50, 70, 70, 95}));
}
