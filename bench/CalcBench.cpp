// The recalculation of a large project: 10 switchboards x 30 panels x 30 group lines (a third
// of each kind, cascades of three panels in every switchboard), and projects twice its size:
// 20 switchboards x 30 panels, and 10 switchboards x 60 panels. One recalculation distributes
// the current panel and rolls everything up.
#include <benchmark/benchmark.h>

#include <string>

#include "calc/Recalculation.h"
#include "model/Classd.h"

namespace {

constexpr int kGroups = 30;

int PanelNumber(int sw, int panel) {
    return sw * 1000 + panel;
}

// Panels 1-3, 7-9, ... head cascades of three (head, then two members, each fed from the one
// before); the others are plain, every tenth on a trunk line.
void ConnectPanel(TSitid& panel, int sw, int p) {
    const int inBlock = (p - 1) % 6;
    if (inBlock == 0) {
        panel.FedFromSwitchboard = 1;
        panel.CascadeHeadNumber = panel.PanelNumber;
    } else if (inBlock < 3) {
        panel.FedFromPanel = 1;
        panel.FeedingPanelNumber = PanelNumber(sw, p - 1);
        panel.CascadeHeadNumber = PanelNumber(sw, p - inBlock);
        panel.HangsOnPanel = panel.FeedingPanelNumber;
    } else if (p % 10 == 0) {
        panel.OnTrunk = 1;
    }
    panel.DemandFactor = p % 4 == 0 ? 0.8 : 1.0;
}

void BuildProject(int switchboards, int panels) {
    ProjectRoot = new TGrsed;
    for (int s = 1; s <= switchboards; ++s) {
        TGrsed sw;
        sw.SwitchboardNumber = s;
        ProjectRoot->AddSwitchboard(sw);
        ++ProjectRoot->SwitchboardCount;
    }
    for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next) {
        for (int p = 1; p <= panels; ++p) {
            TSitid panel;
            panel.PanelNumber = PanelNumber(sw->SwitchboardNumber, p);
            panel.Position = p;
            ConnectPanel(panel, sw->SwitchboardNumber, p);
            ProjectRoot->AddPanel(sw->SwitchboardNumber, panel);
            ++sw->PanelCount;
        }
    }
    for (int s = 1; s <= switchboards; ++s) {
        for (int p = 1; p <= panels; ++p) {
            const int number = PanelNumber(s, p);
            ProjectRoot->FindPanel(number);
            const int scan = ProjectRoot->CountPanels();
            for (int g = 0; g < kGroups; ++g) {
                const std::string name = std::to_string(number) + "-" + std::to_string(g);
                const long double power = 0.5L + (g * 7 + p) % 23 * 0.25L;
                const double cosPhi = 0.75 + (g % 5) * 0.05;
                TCxemaGrupd scheme;
                scheme.GroupName = name;
                scheme.PhaseKind = 2 + g % 3;
                scheme.Power = power;
                ProjectRoot->AddCxemaGroup(number, scan, scheme);
                if (g % 3 == 0) {
                    TFasaGrup1d record;
                    record.GroupName1 = name;
                    record.Power1 = power;
                    record.CosPhi1 = cosPhi;
                    ProjectRoot->AddFasaGroup1(number, scan, record);
                } else if (g % 3 == 1) {
                    TFasaGrup2d record;
                    record.GroupName2 = name;
                    record.PartPowers = {power * 0.6L, power * 0.4L};
                    record.PartCosPhi = {cosPhi, cosPhi - 0.05};
                    ProjectRoot->AddFasaGroup2(number, scan, record);
                } else {
                    TFasaGrup3d record;
                    record.GroupName3 = name;
                    record.PhasePowers = {power / 3, power / 3, power / 3};
                    record.PhaseCosPhi = {cosPhi, cosPhi, cosPhi};
                    ProjectRoot->AddFasaGroup3(number, scan, record);
                }
            }
            ProjectRoot->FindPanel(number);
            TSitid* panel = ProjectRoot->CurrentPanel();
            panel->SchemeGroupCount = kGroups;
            panel->SinglePhaseCount = panel->TwoPhaseCount = panel->ThreePhaseCount = kGroups / 3;
        }
    }
    // Every panel distributed once, as after loading.
    for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next) {
        for (TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
            ProjectRoot->Switchboards.Cursor = sw;
            sw->Panels.Cursor = p;
            RunDistributionPasses(*ProjectRoot);
        }
    }
}

// One recalculation as a dialog runs it: a panel in the middle of the project made current,
// the sixteen passes.
void BM_RecalculateNetwork(benchmark::State& state) {
    const int switchboards = static_cast<int>(state.range(0));
    const int panels = static_cast<int>(state.range(1));
    BuildProject(switchboards, panels);
    NetworkCalculation calculation;
    const int number = PanelNumber(switchboards / 2, panels / 2);
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
    BuildProject(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
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
    BuildProject(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next) {
            for (TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
                ProjectRoot->Switchboards.Cursor = sw;
                sw->Panels.Cursor = p;
                RunDistributionPasses(*ProjectRoot);
            }
        }
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
