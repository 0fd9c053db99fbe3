#include "selection/TemperatureCorrection.h"

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

// The rows of the correction table. 15 degrees C has no air value and 25 degrees C no ground
// value: those rows are only reached at their column's reference temperature.
constexpr FactorRow kFactors[] = {
    {-5, 1.32, 1.18}, {0, 1.27, 1.14},  {10, 1.17, 1.05}, {15, 1.0, 1.0},   {20, 1.06, 0.95},
    {25, 1.0, 1.0},   {30, 0.94, 0.84}, {40, 0.79, 0.71}, {50, 0.61, 0.55},
};

}  // namespace

double CableCurrentCorrection::AmbientTemperatureFactor(int temperature, bool inAir) {
    int row = 50;
    if (temperature >= -5 && temperature < 0) {
        row = -5;
    } else if (temperature >= 0 && temperature < 10) {
        row = 0;
    } else if (temperature >= 10 && temperature < 20) {
        row = 10;
    } else if (temperature >= 20 && temperature < 30) {
        row = 20;
    } else if (temperature >= 30 && temperature < 40) {
        row = 30;
    } else if (temperature >= 40 && temperature < 50) {
        row = 40;
    }
    if (inAir && temperature == 25) row = 25;
    if (!inAir && temperature == 15) row = 15;
    for (const FactorRow& r : kFactors)
        if (r.temperature == row) return inAir ? r.inAir : r.inGround;
    return 1.0;
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
