// The recalculation of a large project: 10 switchboards x 30 panels x 30 group lines (a third
// of each kind, cascades of three panels in every switchboard), and projects twice its size:
// 20 switchboards x 30 panels, and 10 switchboards x 60 panels. One recalculation distributes
// the current panel and rolls everything up.
#include <benchmark/benchmark.h>

#include <string>

#include "GeneratedProject.h"
#include "calc/Recalculation.h"
#include "model/Classd.h"

namespace {

// One recalculation as a dialog runs it: a panel in the middle of the project made current,
// the sixteen passes.
void BM_RecalculateNetwork(benchmark::State& state) {
    const int switchboards = static_cast<int>(state.range(0));
    const int panels = static_cast<int>(state.range(1));
    BuildGeneratedProject(switchboards, panels);
    NetworkCalculation calculation;
    const int number = GeneratedPanelNumber(switchboards / 2, panels / 2);
    for (auto _ : state) {
        ProjectRoot->FindPanel(number);
        calculation.RecalculateNetwork();
        benchmark::DoNotOptimize(ProjectRoot->TotalCurrentA);
    }
    state.counters["panels"] = switchboards * panels;
    DeleteProjectTree(ProjectRoot);
}
BENCHMARK(BM_RecalculateNetwork)
    ->Args({10, 30})
    ->Args({20, 30})
    ->Args({10, 60})
    ->Unit(benchmark::kMicrosecond);

// Passes 4-16 alone (what a panel deletion runs).
void BM_LoadPasses(benchmark::State& state) {
    BuildGeneratedProject(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        RunLoadPasses(*ProjectRoot);
        benchmark::DoNotOptimize(ProjectRoot->TotalCurrentA);
    }
    DeleteProjectTree(ProjectRoot);
}
BENCHMARK(BM_LoadPasses)
    ->Args({10, 30})
    ->Args({20, 30})
    ->Args({10, 60})
    ->Unit(benchmark::kMicrosecond);

// The loader's way: every panel distributed, then passes 4-16 once.
void BM_DistributeEveryPanelAndRecalculate(benchmark::State& state) {
    BuildGeneratedProject(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        DistributeEveryPanel();
        RunLoadPasses(*ProjectRoot);
        benchmark::DoNotOptimize(ProjectRoot->TotalCurrentA);
    }
    DeleteProjectTree(ProjectRoot);
}
BENCHMARK(BM_DistributeEveryPanelAndRecalculate)
    ->Args({10, 30})
    ->Args({20, 30})
    ->Args({10, 60})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
