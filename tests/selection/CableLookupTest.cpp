// Lookups in the reference tables: the cross-section by continuous current with the temperature
// correction, the node section arrays, the brand and largest section of a cable table, the trip
// multiplicity and the transformer base. Tables: see SelectionFixture.cpp.
#include <QFile>

#include "BaseTableFiles.h"
#include "SelectionFixture.h"
#include "platform/ClientDataSet.h"
#include "platform/Messages.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"
#include "refdb/TableSchemas.h"
#include "selection/CheckSupport.h"

namespace {

class CableLookupTest : public SelectionTest {};

struct LookupCase {
    const char* key;
    const char* table;
    double current;
    int temperature;
    bool inAir;
    const char* material;
    double expected;
    const char* why;
};

TEST_F(CableLookupTest, SmallestSectionCarryingTheCorrectedCurrent) {
    const LookupCase cases[] = {
        {"0", kCopperCable, 27, 25, true, "Медь", 2.5, "27 A carried by 27 A"},
        {"0", kCopperCable, 27.01, 25, true, "Медь", 4, "next row"},
        {"0", kCopperCable, 500, 25, true, "Медь", 120, "no row carries it: the largest"},
        {"0", kCopperCable, 27, 40, true, "Медь", 4, "x0.79: 21.33 < 27 <= 28.44"},
        {"0", kCopperCable, 27, 15, true, "Медь", 2.5, "x1.17: 31.59"},
        {"0", kCopperCable, 38, 30, false, "Медь", 6, "ground x0.84: 30.24 < 38 <= 38.64"},
        {"0", kCopperCable, 46, 15, false, "Медь", 6, "ground reference: x1.0"},
        {"0", kCopperCable, 10, 25, true, "Медь", 2.5, "group line: no minimum"},
        {"Grse_Siti", kCopperCable, 10, 25, true, "Медь", 4, "copper feeder: 4 at least"},
        {"Grse_Siti", kCopperCable, 100, 25, true, "Медь", 25, "above the minimum anyway"},
        {"Grse_Siti", kAluminiumCable, 10, 25, true, "Алюминий", 6, "aluminium: 6 at least"},
        {"Grse_Siti", kCopperWire, 10, 25, true, "Алюминий", 6, "walked on from 1.5 to 6"},
        {"Grse_Siti", kCopperWire, 10, 25, true, "", 6, "any material but copper: 6"},
        {"0", kCopperCable, 0, 25, true, "Медь", 0, "no current"},
    };
    for (const LookupCase& c : cases) {
        EXPECT_EQ(checks().ContinuousCurrentLookup(c.key, c.table, c.current, c.temperature,
                                                   c.inAir, c.material),
                  c.expected)
            << c.why;
        EXPECT_EQ(checks().FailureFlag, 0) << c.why;
    }
}

// A table whose file name ends with the whole name of another.
constexpr char kEndsLikeCopperCable[] = "БКабель4Медь.xml";

// A pass over the project asks for the same table, current and conditions at line after line:
// within it each answer is the one a lookup outside any pass gives, whatever was asked between,
// the table asked for is the open one afterwards (also after a table whose name ends with its
// name), a table written during the pass is read again, and a table that cannot be read is
// reported at every lookup.
TEST_F(CableLookupTest, SectionsWithinOnePassAreThoseOfTheTable) {
    WriteCableTable(kEndsLikeCopperCable, "ПВ1", "Два провода в трубе", "Медь", false,
                    kCopperWireRows);
    const LookupCase cases[] = {
        {"0", kCopperCable, 27, 25, true, "Медь", 2.5, "27 A in air at 25"},
        {"0", kCopperCable, 27, 40, true, "Медь", 4, "x0.79: 21.33 < 27 <= 28.44"},
        {"0", kCopperCable, 27, 40, false, "Медь", 6, "ground x0.71: 25.56 < 27 <= 32.66"},
        {"0", kCopperWire, 10, 25, true, "Медь", 1.5, "another table, the same conditions"},
        {"Grse_Siti", kCopperWire, 10, 25, true, "Медь", 4, "a copper feeder on it"},
        {"Grse_Siti", kCopperWire, 10, 25, true, "Алюминий", 6, "an aluminium one"},
        {"0", kCopperCable, 27.01, 25, true, "Медь", 4, "a current just above"},
        {"0", kEndsLikeCopperCable, 10, 25, true, "Медь", 1.5, "its name ends with one"},
    };
    platform::FileCheckBatch pass;
    for (int round = 0; round < 3; ++round) {
        for (const LookupCase& c : cases) {
            EXPECT_EQ(checks().ContinuousCurrentLookup(c.key, c.table, c.current, c.temperature,
                                                       c.inAir, c.material),
                      c.expected)
                << c.why << ", round " << round;
            EXPECT_EQ(BazaT->ClientDataSet1.FileName(), ProgramFile(c.table)) << c.why;
        }
    }
    // Every row of the table made to carry twice its current: 27 A now takes the smallest row.
    std::vector<CableRow> doubled = kCopperCableRows;
    for (CableRow& row : doubled) row.current *= 2;
    WriteCableTable(kCopperCable, "ВВГ", "В воздухе", "Медь", true, doubled);
    EXPECT_EQ(checks().ContinuousCurrentLookup("0", kCopperCable, 27.01, 25, true, "Медь"),
              kCopperCableRows.front().section);
    for (int round = 0; round < 2; ++round) {
        responder_.ExpectMessage("Таблица  Нет.xml  несуществует в базе данных", "Предупреждение",
                                 platform::mrOk);
        EXPECT_EQ(checks().ContinuousCurrentLookup("0", "Нет.xml", 10, 25, true, "Медь"), 0.0);
        EXPECT_EQ(checks().FailureFlag, 1);
    }
}

TEST_F(CableLookupTest, TableCurrentsAreBackAfterEveryLookup) {
    const std::string path = ProgramFile(kCopperCable);
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    platform::TClientDataSet& ds = BazaT->ClientDataSet1;
    std::vector<double> stored;
    for (const CableRow& row : kCopperCableRows) stored.push_back(row.current);
    // A row found, a feeder walked on to its minimum, no row carrying the current.
    const LookupCase cases[] = {
        {"0", kCopperCable, 27, 40, true, "Медь", 4, "found"},
        {"Grse_Siti", kCopperCable, 5, 50, false, "Медь", 4, "walked on"},
        {"0", kCopperCable, 900, 10, true, "Медь", 120, "past the end"},
    };
    for (const LookupCase& c : cases) {
        EXPECT_EQ(checks().ContinuousCurrentLookup(c.key, c.table, c.current, c.temperature,
                                                   c.inAir, c.material),
                  c.expected)
            << c.why;
        EXPECT_EQ(TableColumn(refdb::kContinuousCurrent), stored) << c.why;
        EXPECT_EQ(ds.ChangeCount(), 0) << c.why;
    }

    // Closing the table writes nothing back.
    BazaT->CloseCableTable();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST_F(CableLookupTest, NoCurrentOpensNoTable) {
    EXPECT_EQ(checks().ContinuousCurrentLookup("0", "Нет.xml", 0, 25, true, "Медь"), 0.0);
    EXPECT_EQ(checks().FailureFlag, 0);
}

TEST_F(CableLookupTest, MissingTableGivesNoSectionOfTheTableOpenBefore) {
    ASSERT_TRUE(checks().CrossSectionFromTable(kCopperCable, 10));
    responder_.ExpectMessage("Таблица  Нет.xml  несуществует в базе данных", "Предупреждение",
                             platform::mrOk);
    EXPECT_EQ(checks().ContinuousCurrentLookup("0", "Нет.xml", 10, 25, true, "Медь"), 0.0);
    EXPECT_EQ(checks().FailureFlag, 1);
}

TEST_F(CableLookupTest, EmptyTableIsReportedAndGivesNoSection) {
    WriteCableTable("Пустая.xml", "ВВГ", "В воздухе", "Медь", false, {});
    responder_.ExpectMessage("В данной таблице нет данных.", "Предупреждение.", platform::mrOk);
    EXPECT_EQ(checks().ContinuousCurrentLookup("0", "Пустая.xml", 10, 40, true, "Медь"), 0.0);
    EXPECT_EQ(checks().FailureFlag, 1);
    EXPECT_EQ(responder_.Messages().back().icon, platform::MsgIcon::Warning);
}

TEST_F(CableLookupTest, DamagedTableIsReportedAndTheProgramGoesOn) {
    QFile file(QString::fromStdString(ProgramFile("Битая.xml")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>");
    file.close();
    responder_.ExpectMessage("Ошибка E201. В базе данных поврежден файл  Битая.xml", "",
                             platform::mrOk);
    EXPECT_EQ(checks().ContinuousCurrentLookup("0", "Битая.xml", 10, 25, true, "Медь"), 0.0);
    EXPECT_EQ(checks().FailureFlag, 1);
    EXPECT_FALSE(responder_.TerminateRequested());
}

TEST_F(CableLookupTest, TableOfAnotherKindGivesNoSection) {
    // The breaker base has no "Сечение" and no "Длительный ток": as a cable table it is damaged.
    responder_.ExpectMessage("Ошибка E201. В базе данных поврежден файл  Avtomat.xml", "",
                             platform::mrOk);
    EXPECT_EQ(checks().ContinuousCurrentLookup("0", "Avtomat.xml", 10, 25, true, "Медь"), 0.0);
    EXPECT_EQ(checks().FailureFlag, 1);
    EXPECT_FALSE(BazaT->ClientDataSet1.Active());
}

TEST_F(CableLookupTest, BrandLargestSectionAndPositioning) {
    EXPECT_EQ(checks().CableTableBrand(kCopperCable), "ВВГ");  // 8 fields
    EXPECT_EQ(checks().CableTableBrand(kCopperWire), "ПВ1");   // 7 fields

    EXPECT_EQ(checks().LastCrossSection(kCopperCable), 120);
    platform::TClientDataSet& ds = BazaT->ClientDataSet1;
    EXPECT_EQ(ds.RecNo(), ds.RecordCount());

    EXPECT_TRUE(checks().CrossSectionFromTable(kCopperCable, 10));
    EXPECT_EQ(ds.FieldByName(refdb::kContinuousCurrent).AsFloat(), 63);
    EXPECT_TRUE(checks().CrossSectionFromTable(kCopperCable, 11));
    EXPECT_TRUE(ds.Eof());

    responder_.ExpectMessage("Таблица  Нет.xml  несуществует в базе данных", "Предупреждение",
                             platform::mrOk);
    EXPECT_EQ(checks().LastCrossSection("Нет.xml"), 0.0);
    responder_.ExpectMessage("Таблица  Нет.xml  несуществует в базе данных", "Предупреждение",
                             platform::mrOk);
    EXPECT_EQ(checks().CableTableBrand("Нет.xml"), "");
}

TEST_F(CableLookupTest, ProtectiveSectionFromTheNodeArrays) {
    TGrsed* sw = AddSwitchboard(1);
    TSitid* p = AddPanel(sw, 1, kCopperCable, {{16, 10, 0}, {25, 16, 0}, {35, 16, 0}}, false);
    MakeCurrent(sw, p);
    struct Case {
        bool neutral;
        int node;
        double section, expected;
    };
    const Case cases[] = {
        {false, 1, 50, 35},  // first entry above 25
        {false, 1, 32, 25},  // first entry above 16
        {false, 1, 80, 0},   // none above 40
        {true, 1, 25, 16},   // the zero core beside 25
        {true, 1, 20, 0},    // 20 is no entry
        {true, 0, 50, 25},   // switchboard arrays: zero core of 50
        {false, 0, 50, 35},  // switchboard arrays: first above 25
    };
    for (const Case& c : cases)
        EXPECT_EQ(checks().LookupNodeTable(c.neutral, c.node, c.section), c.expected)
            << c.node << " " << c.section;
    MakeCurrent(sw, nullptr);
    EXPECT_EQ(checks().LookupNodeTable(false, 1, 50), 0.0);
}

// The breaker base written anew with rows of series X only: largest rating and multiplicity.
static void WriteSeriesX(const std::string& path,
                         std::initializer_list<std::pair<double, double>> rows) {
    platform::TClientDataSet base;
    refdb::DefineBreakerTable(base);
    base.CreateDataSet();
    for (const auto& [largest, multiplicity] : rows) {
        base.Append();
        base.FieldByName("Серии").SetAsString("X");
        base.FieldByName("Мин. ном. ток. А").SetAsFloat(1);
        base.FieldByName("Мак. ном. ток А").SetAsFloat(largest);
        base.FieldByName("Число полюсов").SetAsInteger(3);
        base.FieldByName("Кратность тока при КЗ").SetAsFloat(multiplicity);
        base.Post();
    }
    base.SaveToFile(path);
}

TEST_F(CableLookupTest, TripMultiplicityOfTheLastRowOfTheSeries) {
    EXPECT_EQ(checks().GetTripMultiplicity("ВА47-29 1P C"), 10);
    EXPECT_EQ(checks().GetTripMultiplicity("Э40В 3P"), 5);
    EXPECT_EQ(checks().GetTripMultiplicity(""), 0.0);
    EXPECT_EQ(checks().GetTripMultiplicity("Неизвестная"), 0.0);

    // Two rows of one series: the later in the order of the largest rating wins, whatever the
    // order of the file.
    WriteSeriesX(ProgramFile("Avtomat.xml"), {{250, 12}, {63, 5}});
    EXPECT_EQ(checks().GetTripMultiplicity("X"), 12);

    // Without a breaker base there is no multiplicity, and no message.
    BazaAvt->AVT1.Close();
    ASSERT_TRUE(QFile::remove(QString::fromStdString(ProgramFile("Avtomat.xml"))));
    EXPECT_EQ(checks().GetTripMultiplicity("X"), 0.0);
}

// A pass over the project (a refresh) asks for a multiplicity at every line: within it the base
// is read once, and the answers are those a lookup outside any pass gives; a base written during
// the pass is read again.
TEST_F(CableLookupTest, TripMultiplicitiesWithinOnePassAreThoseOfTheBase) {
    const std::vector<std::string> series = {"ВА47-29 1P C", "Э40В 3P", "", "Неизвестная", "X"};
    std::vector<double> outside;
    for (const std::string& s : series) outside.push_back(checks().GetTripMultiplicity(s));
    {
        platform::FileCheckBatch pass;
        for (int round = 0; round < 2; ++round)
            for (std::size_t i = 0; i < series.size(); ++i)
                EXPECT_EQ(checks().GetTripMultiplicity(series[i]), outside[i]) << series[i];

        // The base written again with series X of multiplicity 7 in two rows, 12 winning.
        WriteSeriesX(ProgramFile("Avtomat.xml"), {{63, 7}, {250, 12}});
        EXPECT_EQ(checks().GetTripMultiplicity("X"), 12);
        EXPECT_EQ(checks().GetTripMultiplicity("Э40В 3P"), 0.0);
        EXPECT_FALSE(checks().TripOf("Э40В 3P", 16).known);
        EXPECT_TRUE(checks().TripOf("X", 16).known);
        EXPECT_EQ(checks().TripOf("X", 16).current, 192);
    }
    // After the pass, the same answers as within it.
    EXPECT_EQ(checks().GetTripMultiplicity("X"), 12);
    EXPECT_FALSE(checks().TripOf("Э40В 3P", 16).known);
}

// Within one pass the transformer base's rows are scanned once: the rows are those a scan
// outside a pass gives, the base's cursor is left past its last row as a scan leaves it, and a
// base loaded again is scanned again.
TEST_F(CableLookupTest, TransformerRowsWithinOnePassAreThoseOfTheBase) {
    const auto names = [](const std::vector<selection::TransformerRow>& rows) {
        std::vector<std::string> out;
        for (const auto& row : rows) out.push_back(row.name + " " + std::to_string(row.power));
        return out;
    };
    const std::vector<std::string> outside = names(selection::TransformerRows());
    ASSERT_FALSE(outside.empty());
    platform::TClientDataSet& ds = BazaTran->ClientDataSet2;
    platform::FileCheckBatch pass;
    for (int round = 0; round < 3; ++round) {
        ds.First();
        EXPECT_EQ(names(selection::TransformerRows()), outside);
        EXPECT_TRUE(ds.Eof());
        EXPECT_EQ(ds.RecNo(), ds.RecordCount());
    }
    // The base written with one transformer only and loaded again.
    WriteTransformerBaseFile(ProgramFile("tranform.xml"), {{"ТМ-63/10", 63, 4.5, 1280}});
    selection::ReloadTransformerBase();
    EXPECT_EQ(names(selection::TransformerRows()),
              std::vector<std::string>{"ТМ-63/10 " + std::to_string(63.0)});
}

TEST_F(CableLookupTest, LargestTransformerStaysCurrent) {
    platform::TClientDataSet& ds = BazaTran->ClientDataSet2;
    ds.SetIndexFieldNames("Трансформатор");
    EXPECT_EQ(checks().LargestTransformerName(), "ТМ-1000/10");
    EXPECT_EQ(ds.RecNo(), ds.RecordCount());
    EXPECT_EQ(ds.FieldByName("Мощность кВА").AsFloat(), 1000);
}

TEST_F(CableLookupTest, TransformerLoss) {
    // ТМ-400/10: uk 4.5 %, Pk 5500 W. beta = 100 / 400; ua = 1.375; ur = sqrt(4.5^2 - ua^2)
    // = 4.284784; (1.375 x 0.8 + 4.284784 x 0.6) x 0.25 = 0.9177176
    EXPECT_NEAR(checks().TransformerVoltageLoss("ТМ-400/10", 100, 0.8), 0.9177176, 1e-7);
    EXPECT_EQ(checks().TransformerVoltageLoss("ТМ-400/10", 0, 0.8), 0.0);
    EXPECT_EQ(checks().TransformerVoltageLoss("ТМ-999", 100, 0.8), 0.0);
}

}  // namespace
