// Lookups in the reference tables: cable current tables (cross-section by continuous current,
// brand, largest section), the node section arrays, the breaker base (trip multiplicity) and the
// transformer base (largest transformer).
#include <exception>
#include <filesystem>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "model/Classd.h"
#include "platform/ClientDataSet.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaT.h"
#include "refdb/BazaTran.h"
#include "refdb/CableTableLoader.h"
#include "refdb/TableSchemas.h"
#include "refdb/TableWriteBack.h"
#include "selection/CheckSupport.h"
#include "selection/EquipmentSelection.h"
#include "selection/SelectionSupport.h"
#include "selection/TemperatureCorrection.h"

namespace {

platform::TClientDataSet& CableTable() {
    return BazaT->ClientDataSet1;
}

// Opens a cable table by name; false (reported by the loader) when it is not open afterwards.
bool OpenTable(const std::string& tableName) {
    return BazaT && refdb::OpenCableTable(tableName);
}

double Field(platform::TClientDataSet& ds, const char* name) {
    return ds.FieldByName(name).AsFloat();
}

// Sets the save point back when it was taken; the table is left as it was loaded.
class SavePointGuard {
public:
    void Take(int savePoint) { savePoint_ = savePoint; }
    ~SavePointGuard() {
        if (savePoint_ < 0 || !BazaT) return;
        try {
            CableTable().SetSavePoint(savePoint_);
        } catch (const std::exception&) {
            // The table was closed meanwhile: nothing of it is left to put back.
        }
    }

private:
    int savePoint_ = -1;
};

// A table that holds no row.
void ReportNoData() {
    platform::MessageBox("В данной таблице нет данных.", "Предупреждение.",
                         platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

// A table whose fields are not those of a cable table, named as the table loader names a file it
// cannot read.
void ReportDamaged(const std::string& tableName) {
    platform::MessageBox("Ошибка E201. В базе данных поврежден файл  " + tableName, "",
                         platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

}  // namespace

bool EquipmentSelection::Fail() {
    FailureFlag = 1;
    return false;
}

namespace {

// The sections the lookups by continuous current found, for the rest of a pass over the project
// in which no table file changes (FileCheckBatch): a refresh asks for the same table, current
// and conditions at every line it passes again. Only found sections are kept: a failure is
// looked up (and reported) again.
struct KeptSections {
    using Key = std::tuple<std::string, double, int, bool, bool, std::string>;
    // A key to look one up by, the texts not copied.
    using Lookup = std::tuple<const std::string&, double, int, bool, bool, const std::string&>;
    std::uint64_t generation = 0;
    std::map<Key, double, std::less<>> sections;
};

KeptSections& KeptFound() {
    static KeptSections kept;
    return kept;
}

// The table a kept lookup read is the open one afterwards, as if it had been read again.
bool TableOpenAgain(const std::string& tableName) {
    const platform::TClientDataSet& ds = CableTable();
    // The open file is the program folder's file of that name (compared without joining them).
    const std::string& file = ds.FileName();
    const std::string& folder = platform::ProgramFolder();
    if (ds.Active() && file.size() == folder.size() + tableName.size() &&
        file.starts_with(folder) && file.ends_with(tableName))
        return true;
    return OpenTable(tableName);
}

}  // namespace

std::optional<double> EquipmentSelection::FindSection(const std::string& nodeKind,
                                                      const std::string& tableName, double current,
                                                      int temperature, bool inAir,
                                                      const std::string& material) {
    if (current == 0.0) return 0.0;
    if (!BazaT) return std::nullopt;
    // The conductor material matters only to the smallest feeder of a switchboard or panel.
    const bool feeder = nodeKind == selection::kSwitchboardPanelKey;
    KeptSections& kept = KeptFound();
    const std::uint64_t generation =
        selection::LookupsKeptWithinPasses() ? platform::FileCheckBatch::Generation() : 0;
    if (kept.generation != generation) kept = KeptSections{generation, {}};
    if (generation == 0)
        return LookUpSection(feeder, tableName, current, temperature, inAir, material);
    static const std::string noMaterial;
    const KeptSections::Lookup key{tableName, current, temperature,
                                   inAir,     feeder,  feeder ? material : noMaterial};
    const auto found = kept.sections.find(key);
    if (found != kept.sections.end() && TableOpenAgain(tableName)) return found->second;
    // Kept under the values asked for, copied before the lookup as they were then.
    KeptSections::Key asked(key);
    const std::optional<double> section =
        LookUpSection(feeder, tableName, current, temperature, inAir, material);
    if (section) kept.sections.emplace(std::move(asked), *section);
    return section;
}

std::optional<double> EquipmentSelection::LookUpSection(bool feeder, const std::string& tableName,
                                                        double current, int temperature, bool inAir,
                                                        const std::string& material) {
    // A table that cannot be opened ends the lookup before anything of another table is read.
    if (!OpenTable(tableName)) return std::nullopt;
    SavePointGuard restore;
    try {
        const double factor = CableCurrentCorrection::AmbientTemperatureFactor(temperature, inAir);
        // The table was opened just now: scaled as it stands, not opened a second time.
        const int savePoint = CableCurrentCorrection::ScaleOpenTable(factor);
        if (savePoint < 0) return std::nullopt;
        restore.Take(savePoint);
        platform::TClientDataSet& ds = CableTable();
        if (ds.IsEmpty()) {
            ReportNoData();
            return std::nullopt;
        }
        ds.SetIndexFieldNames(refdb::kCrossSection);
        ds.First();
        // The fields of the row the table stands on.
        static const std::string carriedName = refdb::kContinuousCurrent;
        static const std::string sectionName = refdb::kCrossSection;
        const platform::TField carried = ds.FieldByName(carriedName);
        const platform::TField crossSection = ds.FieldByName(sectionName);
        // The first row that carries the current; past the end the last row stays current.
        double section = 0.0;
        for (int row = 0, rows = ds.RecordCount(); row < rows && !ds.Eof(); ++row) {
            if (!(carried.AsFloat() < current)) break;
            ds.Next();
            section = crossSection.AsFloat();
        }
        if (carried.AsFloat() >= current) section = crossSection.AsFloat();
        // The smallest feeder of a switchboard or panel, by conductor material.
        if (feeder) {
            const double smallest = material == selection::kCopper ? 4.0 : 6.0;
            if (section < smallest) {
                for (int row = 0, rows = ds.RecordCount(); row < rows; ++row) {
                    section = crossSection.AsFloat();
                    if (section >= smallest) break;
                    ds.Next();
                    if (ds.Eof()) break;
                }
            }
        }
        return section;
    } catch (const std::exception&) {
        ReportDamaged(tableName);
        return std::nullopt;
    }
}

std::optional<std::vector<double>> EquipmentSelection::TableSections(const std::string& tableName) {
    // A table that cannot be opened has been reported by the loader.
    if (!OpenTable(tableName)) {
        Fail();
        return std::nullopt;
    }
    std::vector<double> sections;
    platform::TClientDataSet& ds = CableTable();
    try {
        ds.SetIndexFieldNames(refdb::kCrossSection);
        ds.First();
        for (int row = 0, rows = ds.RecordCount(); row < rows && !ds.Eof(); ++row) {
            sections.push_back(Field(ds, refdb::kCrossSection));
            ds.Next();
        }
    } catch (const std::exception&) {
        ReportDamaged(tableName);
        Fail();
        return std::nullopt;
    }
    if (sections.empty()) {
        ReportNoData();
        Fail();
        return std::nullopt;
    }
    return sections;
}

std::optional<double> EquipmentSelection::LargestSection(const std::string& tableName) {
    const std::optional<std::vector<double>> sections = TableSections(tableName);
    if (!sections) return std::nullopt;
    return sections->back();
}

double EquipmentSelection::ContinuousCurrentLookup(const std::string& nodeKind,
                                                   const std::string& tableName, double current,
                                                   int temperature, bool inAir,
                                                   const std::string& material) {
    const std::optional<double> section =
        FindSection(nodeKind, tableName, current, temperature, inAir, material);
    if (!section) {
        Fail();
        return 0.0;
    }
    return *section;
}

bool EquipmentSelection::CrossSectionFromTable(const std::string& tableName, double section) {
    if (!OpenTable(tableName)) return false;
    platform::TClientDataSet& ds = CableTable();
    try {
        ds.First();
        for (int row = 0, rows = ds.RecordCount(); row < rows && !ds.Eof(); ++row) {
            if (Field(ds, refdb::kCrossSection) == section) return true;
            ds.Next();
        }
    } catch (const std::exception&) {
        // No "Сечение" field: the table stays where the walk stopped.
    }
    return true;
}

std::optional<std::string> EquipmentSelection::FindBrand(const std::string& tableName) {
    if (!OpenTable(tableName)) return std::nullopt;
    return refdb::BrandFieldName(CableTable().FieldDefs());
}

std::string EquipmentSelection::CableTableBrand(const std::string& tableName) {
    return FindBrand(tableName).value_or(std::string());
}

double EquipmentSelection::LookupNodeTable(bool neutralColumn, int node, double section) {
    const TGrsed* sw = selection::CurrentSwitchboard();
    if (!sw) return 0.0;
    if (node == 0)
        return selection::NodeTableSection(neutralColumn, sw->SwitchboardSections,
                                           sw->SwitchboardZeroSections, sw->SwitchboardSectionCount,
                                           section);
    const TSitid* p = sw->Panels.Cursor;
    if (!p) return 0.0;
    return selection::NodeTableSection(neutralColumn, p->FeederSections, p->FeederZeroSections,
                                       p->FeederSectionCount, section);
}

namespace {

// The multiplicities of the breaker base's series as one scan found them, for the rest of a pass
// over the project in which no table file changes (FileCheckBatch): a refresh asks for them at
// every line. No multiplicity at all (no base, a damaged one) holds for every series.
struct KeptMultiplicities {
    // A series whose multiplicity cannot be read from one of its rows has none (0) either.
    struct Found {
        double multiplicity = 0;
        bool unreadable = false;
    };
    std::uint64_t generation = 0;
    std::optional<double> everySeries;
    std::map<std::string, Found> bySeries;
};

KeptMultiplicities& Kept() {
    static KeptMultiplicities kept;
    return kept;
}

bool keepLookups = true;

}  // namespace

namespace selection {

void KeepLookupsWithinPasses(bool keep) {
    keepLookups = keep;
    Kept() = KeptMultiplicities{};
}

bool LookupsKeptWithinPasses() {
    return keepLookups;
}

}  // namespace selection

std::optional<double> EquipmentSelection::SeriesMultiplicity(const std::string& series) {
    if (series.empty() || !BazaAvt) return 0.0;
    KeptMultiplicities& kept = Kept();
    const std::uint64_t generation = keepLookups ? platform::FileCheckBatch::Generation() : 0;
    if (generation != 0 && kept.generation == generation) {
        if (kept.everySeries) return kept.everySeries;
        const auto found = kept.bySeries.find(series);
        if (found == kept.bySeries.end()) return std::nullopt;
        return found->second.unreadable ? 0.0 : found->second.multiplicity;
    }
    kept = KeptMultiplicities{};
    platform::KeepProgramFolderCurrent();
    const std::string path = platform::ProgramFolder() + refdb::kBreakerFile;
    std::error_code ec;
    // Without a breaker base there is no multiplicity; that is no error here.
    if (!std::filesystem::is_regular_file(path, ec) && !refdb::HasKeptRows(path)) {
        kept.everySeries = 0.0;
        kept.generation = generation;
        return 0.0;
    }
    platform::TClientDataSet& ds = BazaAvt->AVT1;
    // Within a pass every series is kept for the lookups to come; outside one only this series
    // is looked for.
    std::map<std::string, KeptMultiplicities::Found> bySeries;
    std::optional<double> multiplicity;
    try {
        refdb::ReopenTable(ds, path);
        ds.SetIndexFieldNames(refdb::kBreakerOrder);
        ds.First();
        // Every row of a series counts; the last one wins.
        for (int row = 0, rows = ds.RecordCount(); row < rows && !ds.Eof(); ++row) {
            const std::string name = ds.FieldByName("Серии").AsString();
            if (generation != 0) {
                KeptMultiplicities::Found& found = bySeries[name];
                try {
                    const double k = ds.FieldByName("Кратность тока при КЗ").AsFloat();
                    if (!found.unreadable) found.multiplicity = k;
                } catch (const std::exception&) {
                    found.unreadable = true;
                }
            } else if (name == series) {
                multiplicity = ds.FieldByName("Кратность тока при КЗ").AsFloat();
            }
            ds.Next();
        }
    } catch (const std::exception&) {
        // A damaged breaker base counts as none.
        kept.everySeries = 0.0;
        kept.generation = generation;
        return 0.0;
    }
    if (generation == 0) return multiplicity;
    kept.bySeries = std::move(bySeries);
    kept.generation = generation;
    const auto found = kept.bySeries.find(series);
    if (found == kept.bySeries.end()) return std::nullopt;
    return found->second.unreadable ? 0.0 : found->second.multiplicity;
}

double EquipmentSelection::GetTripMultiplicity(const std::string& series) {
    return SeriesMultiplicity(series).value_or(0.0);
}

BreakerTrip EquipmentSelection::TripOf(const std::string& series, double rating) {
    const std::optional<double> k = SeriesMultiplicity(series);
    if (!k) return {0.0, 0.0, false};
    return {*k, rating * *k, true};
}

bool EquipmentSelection::CurrentExceeds(double current, const BreakerTrip& trip, bool equalTrips) {
    if (!trip.known) return false;
    return equalTrips ? current >= trip.current : current > trip.current;
}

double EquipmentSelection::LastCrossSection(const std::string& tableName) {
    if (!OpenTable(tableName)) return 0.0;
    platform::TClientDataSet& ds = CableTable();
    try {
        if (ds.IsEmpty()) return 0.0;
        ds.SetIndexFieldNames(refdb::kCrossSection);
        ds.Last();
        return Field(ds, refdb::kCrossSection);
    } catch (const std::exception&) {
        return 0.0;
    }
}

std::string EquipmentSelection::LargestTransformerName() {
    if (!BazaTran) return std::string();
    platform::TClientDataSet& ds = BazaTran->ClientDataSet2;
    try {
        if (!ds.Active() || ds.IsEmpty()) return std::string();
        ds.SetIndexFieldNames(refdb::kTransformerOrder);
        ds.Last();
        return ds.FieldByName("Трансформатор").AsString();
    } catch (const std::exception&) {
        return std::string();
    }
}
