#include "selection/TemperatureCorrection.h"

#include <iterator>

#include "platform/ProgramFolder.h"
#include "refdb/BazaT.h"
#include "refdb/CableTableLoader.h"
#include "refdb/TableSchemas.h"

namespace {

struct FactorRow {
    int temperature;
    double inAir;
    double inGround;
};

// The correction factors of conductors heated to 65 degrees C, for cables in air (rated at
// 25 degrees C) and in the ground (rated at 15 degrees C), one column every 5 degrees.
constexpr FactorRow kFactors[] = {
    {-5, 1.32, 1.18}, {0, 1.27, 1.14},  {5, 1.22, 1.10},  {10, 1.17, 1.05},
    {15, 1.12, 1.00}, {20, 1.06, 0.95}, {25, 1.00, 0.89}, {30, 0.94, 0.84},
    {35, 0.87, 0.77}, {40, 0.79, 0.71}, {45, 0.71, 0.63}, {50, 0.61, 0.55},
};

}  // namespace

double CableCurrentCorrection::AmbientTemperatureFactor(int temperature, bool inAir) {
    // A temperature between two columns takes the warmer one, so that a warmer ambient never
    // allows more current; below the first column the first, above the last the last.
    for (const FactorRow& r : kFactors)
        if (temperature <= r.temperature) return inAir ? r.inAir : r.inGround;
    const FactorRow& last = kFactors[std::size(kFactors) - 1];
    return inAir ? last.inAir : last.inGround;
}

int CableCurrentCorrection::ScaleContinuousCurrents(const std::string& tableName, double factor) {
    platform::KeepProgramFolderCurrent();
    if (!BazaT) return -1;
    // The table list shows the program folder (read again only when it showed another one).
    if (BazaT->FileListBox1->Directory() != platform::ProgramFolder())
        BazaT->FileListBox1->SetDirectory(platform::ProgramFolder());
    if (!refdb::OpenCableTable(tableName)) return -1;
    return ScaleOpenTable(factor);
}

int CableCurrentCorrection::ScaleOpenTable(double factor) {
    if (!BazaT) return -1;
    platform::TClientDataSet& ds = BazaT->ClientDataSet1;
    const int savePoint = ds.SavePoint();
    try {
        // Every row put in edit state, its current multiplied, posted.
        static const std::string current = refdb::kContinuousCurrent;
        ds.ScaleField(current, factor);
    } catch (...) {
        // A table that cannot be scaled is left with its stored values.
        ds.Cancel();
        ds.SetSavePoint(savePoint);
        throw;
    }
    return savePoint;
}
