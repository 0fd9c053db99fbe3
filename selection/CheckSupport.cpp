#include "selection/CheckSupport.h"

#include <cstdint>
#include <exception>
#include <filesystem>

#include "model/Classd.h"
#include "platform/ClientDataSet.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaTran.h"
#include "refdb/TableSchemas.h"
#include "refdb/TableWriteBack.h"

namespace selection {
namespace {

// A reference file that can be opened: on disk, or kept in this session because it could not be
// written back.
bool TableFileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) || refdb::HasKeptRows(path);
}

// Closes the dataset and opens it again from the file; false (dataset closed) when the file
// cannot be read.
bool ReloadFrom(platform::TClientDataSet& ds, const std::string& path, const char* order) {
    try {
        refdb::ReopenTable(ds, path);
        ds.SetIndexFieldNames(order);
        ds.First();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

namespace {

// The rows as one whole scan of the base found them, for the rest of a pass over the project in
// which no table file changes and the base is not loaded again.
struct KeptTransformerRows {
    std::uint64_t generation = 0;
    std::vector<TransformerRow> rows;
};

KeptTransformerRows& KeptTransformers() {
    static KeptTransformerRows kept;
    return kept;
}

}  // namespace

std::vector<TransformerRow> TransformerRows() {
    std::vector<TransformerRow> rows;
    if (!BazaTran) return rows;
    platform::TClientDataSet& ds = BazaTran->ClientDataSet2;
    const std::uint64_t generation =
        LookupsKeptWithinPasses() ? platform::FileCheckBatch::Generation() : 0;
    KeptTransformerRows& kept = KeptTransformers();
    try {
        if (!ds.Active()) return rows;
        ds.SetIndexFieldNames(refdb::kTransformerOrder);
        if (generation != 0 && kept.generation == generation) {
            // The base's cursor past its last row, as the scan leaves it.
            ds.Last();
            ds.Next();
            return kept.rows;
        }
        kept = KeptTransformerRows{};
        ds.First();
        for (int row = 0, count = ds.RecordCount(); row < count && !ds.Eof(); ++row) {
            rows.push_back({ds.FieldByName("Трансформатор").AsString(),
                            ds.FieldByName("Мощность кВА").AsFloat(),
                            ds.FieldByName("Напряжение к.з. %").AsFloat(),
                            ds.FieldByName("Потери к.з. Вт").AsFloat()});
            ds.Next();
        }
    } catch (const std::exception&) {
        // A table without the transformer fields has no rows to offer.
        rows.clear();
        return rows;
    }
    if (generation != 0) kept = KeptTransformerRows{generation, rows};
    return rows;
}

void ReloadTransformerBase() {
    KeptTransformers() = KeptTransformerRows{};
    if (!BazaTran) return;
    platform::MakeProgramFolderCurrent();
    const std::string path = platform::ProgramFolder() + refdb::kTransformerFile;
    if (!TableFileExists(path)) return;
    ReloadFrom(BazaTran->ClientDataSet2, path, refdb::kTransformerOrder);
}

std::optional<std::size_t> FindTransformer(const std::vector<TransformerRow>& rows,
                                           const std::string& name) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name) return i;
    return std::nullopt;
}

RowsOfTheBase RowsWithProjectTransformer() {
    RowsOfTheBase base{TransformerRows(), std::nullopt};
    if (ProjectRoot) base.project = FindTransformer(base.rows, ProjectRoot->TransformerName);
    return base;
}

double LossesForPower(const std::vector<TransformerRow>& rows, double power) {
    for (const TransformerRow& row : rows)
        if (row.power == power) return row.losses;
    return 0.0;
}

void PlaceTransformerBase(std::size_t index) {
    if (!BazaTran) return;
    platform::TClientDataSet& ds = BazaTran->ClientDataSet2;
    try {
        if (!ds.Active()) return;
        ds.SetIndexFieldNames(refdb::kTransformerOrder);
        ds.First();
        if (index >= static_cast<std::size_t>(ds.RecordCount())) {
            ds.Last();
            ds.Next();
            return;
        }
        ds.MoveBy(static_cast<int>(index));
    } catch (const std::exception&) {
        // Nothing to place on.
    }
}

std::optional<std::vector<BreakerRow>> LoadBreakerRows() {
    if (!BazaAvt) return std::nullopt;
    platform::MakeProgramFolderCurrent();
    const std::string path = platform::ProgramFolder() + refdb::kBreakerFile;
    if (!TableFileExists(path)) return std::nullopt;
    if (!ReloadFrom(BazaAvt->AVT1, path, refdb::kBreakerOrder)) return std::vector<BreakerRow>{};
    return BreakerRows();
}

std::vector<BreakerRow> BreakerRows() {
    std::vector<BreakerRow> rows;
    if (!BazaAvt) return rows;
    platform::TClientDataSet& ds = BazaAvt->AVT1;
    try {
        if (!ds.Active()) return rows;
        ds.First();
        for (int row = 0, count = ds.RecordCount(); row < count && !ds.Eof(); ++row) {
            rows.push_back({ds.FieldByName("Серии").AsString(),
                            ds.FieldByName("Мин. ном. ток. А").AsFloat(),
                            ds.FieldByName("Мак. ном. ток А").AsFloat(),
                            ds.FieldByName("Число полюсов").AsInteger(),
                            ds.FieldByName("Кратность тока при КЗ").AsFloat()});
            ds.Next();
        }
    } catch (const std::exception&) {
        // A table without the breaker fields offers no breaker.
        rows.clear();
    }
    return rows;
}

FaultPath FaultPathThrough(const TGrsed& sw, double s, TSitid* panel, double p,
                           const TCxemaGrupd* group, double g) {
    FaultPath path;
    path.switchboardLength = sw.SwitchboardFeederLength;
    path.switchboardSection = s;
    path.switchboardMaterial = sw.SwitchboardConductorMaterial;
    if (!panel) return path;
    path.panelLength = panel->FeederLength;
    path.panelSection = p;
    path.panelMaterial = panel->FeederConductorMaterial;
    path.panel = panel;
    if (!group) return path;
    path.groupLength = group->LineLength;
    path.groupSection = g;
    path.groupMaterial = group->ConductorMaterial;
    return path;
}

double FaultCurrent(const FaultPath& path, const TransformerRow& transformer) {
    if (!ProjectRoot) return 0.0;
    FaultPath through = path;
    through.transformerPower = transformer.power;
    through.shortCircuitVoltage = transformer.uk;
    through.shortCircuitLosses = transformer.losses;
    return ProjectRoot->SinglePhaseFaultCurrent(through);
}

double FaultCurrentOfLineAt(const FaultPath& path, TCxemaGrupd& line,
                            const TransformerRow& transformer) {
    const double stored = line.CrossSection;
    line.CrossSection = path.groupSection;
    const double current = FaultCurrent(path, transformer);
    line.CrossSection = stored;
    return current;
}

}  // namespace selection
