// Throughput of the platform pieces every calculation and table pass leans on.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/ClientDataSet.h"
#include "platform/Conversions.h"

namespace {

void BM_FloatToStr(benchmark::State& state) {
    double v = 0.1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::FloatToStr(v));
        v += 1.37;
    }
}
BENCHMARK(BM_FloatToStr);

void BM_RoundTo(benchmark::State& state) {
    double v = 0.005;
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::RoundTo(v, -2));
        v += 0.0137;
    }
}
BENCHMARK(BM_RoundTo);

// A cable current table of `rows` cross-sections: written, loaded, scanned and scaled in memory
// the way the cross-section lookup uses it.
void BM_CableTableLoadScanScale(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "bench_cable_table.xml";
    {
        platform::TClientDataSet ds;
        ds.FieldDefs().Add("Сечение", platform::ftFloat, 0, true);
        ds.FieldDefs().Add("Длительный ток", platform::ftFloat, 0, true);
        ds.FieldDefs().Add("Медь", platform::ftString, 10);
        ds.IndexDefs().Add("", "Сечение", platform::ixUnique | platform::ixDescending);
        ds.CreateDataSet();
        for (int i = 0; i < state.range(0); ++i) {
            ds.Append();
            ds.FieldByName("Сечение").SetAsFloat(1.5 + i);
            ds.FieldByName("Длительный ток").SetAsFloat(19.0 + 3 * i);
            ds.Post();
        }
        ds.SaveToFile(path.string());
    }
    for (auto _ : state) {
        platform::TClientDataSet ds;
        ds.SetFileName(path.string());
        ds.SetIndexFieldNames("Сечение");
        ds.Open();
        const int savePoint = ds.SavePoint();
        for (ds.First(); !ds.Eof(); ds.Next()) {
            ds.Edit();
            ds.FieldByName("Длительный ток")
                .SetAsFloat(ds.FieldByName("Длительный ток").AsFloat() * 0.94);
            ds.Post();
        }
        ds.SetSavePoint(savePoint);
        ds.Close();
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_CableTableLoadScanScale)->Arg(20)->Arg(200);

}  // namespace
