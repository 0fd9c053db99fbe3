// The project tree at the size of a large project: 10 switchboards x 30 panels x 30 group lines
// (9000 group lines, 18000 group records), built, walked, searched and taken apart.
#include <benchmark/benchmark.h>

#include <string>

#include "model/Classd.h"
#include "model/TreeEditing.h"

namespace {

constexpr int kSwitchboards = 10;
constexpr int kPanels = 30;
constexpr int kGroups = 30;

int PanelNumber(int sw, int panel) {
    return sw * 100 + panel;
}

// Builds the project the way the loader and the dialogs do: appends through the root, counts
// maintained by the caller, each group line as a scheme record and a phase record.
void BuildProject() {
    ProjectRoot = new TGrsed;
    for (int s = 1; s <= kSwitchboards; ++s) {
        TGrsed sw;
        sw.SwitchboardNumber = s;
        ProjectRoot->AddSwitchboard(sw);
        ++ProjectRoot->SwitchboardCount;
    }
    for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next) {
        for (int p = 1; p <= kPanels; ++p) {
            TSitid panel;
            panel.PanelNumber = PanelNumber(sw->SwitchboardNumber, p);
            panel.Position = p;
            ProjectRoot->AddPanel(sw->SwitchboardNumber, panel);
            ++sw->PanelCount;
        }
    }
    for (int s = 1; s <= kSwitchboards; ++s) {
        for (int p = 1; p <= kPanels; ++p) {
            const int number = PanelNumber(s, p);
            ProjectRoot->FindPanel(number);
            const int scan = ProjectRoot->CountPanels();
            for (int g = 0; g < kGroups; ++g) {
                const std::string name = std::to_string(number) + "-" + std::to_string(g);
                TCxemaGrupd scheme;
                scheme.GroupName = name;
                scheme.PhaseKind = 2 + g % 3;
                ProjectRoot->AddCxemaGroup(number, scan, scheme);
                if (g % 3 == 0) {
                    TFasaGrup1d record;
                    record.GroupName1 = name;
                    ProjectRoot->AddFasaGroup1(number, scan, record);
                } else if (g % 3 == 1) {
                    TFasaGrup2d record;
                    record.GroupName2 = name;
                    ProjectRoot->AddFasaGroup2(number, scan, record);
                } else {
                    TFasaGrup3d record;
                    record.GroupName3 = name;
                    ProjectRoot->AddFasaGroup3(number, scan, record);
                }
            }
            ProjectRoot->FindPanel(number);
            TSitid* panel = ProjectRoot->CurrentPanel();
            panel->SchemeGroupCount = kGroups;
            panel->SinglePhaseCount = panel->TwoPhaseCount = panel->ThreePhaseCount = kGroups / 3;
        }
    }
}

void BM_BuildAndDeleteProject(benchmark::State& state) {
    for (auto _ : state) {
        BuildProject();
        DeleteProjectTree(ProjectRoot);
    }
}
BENCHMARK(BM_BuildAndDeleteProject)->Unit(benchmark::kMillisecond);

// Visits every group record of the project through the cursors.
void BM_WalkWholeProject(benchmark::State& state) {
    BuildProject();
    for (auto _ : state) {
        long records = 0;
        TGrsed* root = ProjectRoot;
        for (root->Switchboards.Cursor = root->Switchboards.First; root->Switchboards.Cursor;
             root->Switchboards.Cursor = root->Switchboards.Cursor->Switchboards.Next) {
            TGrsed* sw = root->Switchboards.Cursor;
            for (sw->Panels.Cursor = sw->Panels.First; sw->Panels.Cursor;
                 sw->Panels.Cursor = sw->Panels.Cursor->Panels.Next) {
                TSitid* p = sw->Panels.Cursor;
                for (auto* r = p->SchemeGroups.First; r; r = r->SchemeGroups.Next) ++records;
                for (auto* r = p->SinglePhaseGroups.First; r; r = r->SinglePhaseGroups.Next)
                    ++records;
                for (auto* r = p->TwoPhaseGroups.First; r; r = r->TwoPhaseGroups.Next) ++records;
                for (auto* r = p->ThreePhaseGroups.First; r; r = r->ThreePhaseGroups.Next)
                    ++records;
            }
        }
        benchmark::DoNotOptimize(records);
    }
    DeleteProjectTree(ProjectRoot);
}
BENCHMARK(BM_WalkWholeProject)->Unit(benchmark::kMicrosecond);

// Finds the last panel of the last switchboard (the longest search).
void BM_FindLastPanel(benchmark::State& state) {
    BuildProject();
    const int last = PanelNumber(kSwitchboards, kPanels);
    for (auto _ : state) benchmark::DoNotOptimize(ProjectRoot->FindPanel(last));
    DeleteProjectTree(ProjectRoot);
}
BENCHMARK(BM_FindLastPanel)->Unit(benchmark::kMicrosecond);

// Deletes one panel from the middle of a switchboard: cascade check, unlink, renumbering and the
// rebuild of every window list from the whole project.
void BM_DeleteMiddlePanel(benchmark::State& state) {
    TreeEditing editing;
    for (auto _ : state) {
        state.PauseTiming();
        BuildProject();
        ProjectRoot->FindPanel(PanelNumber(5, kPanels / 2));
        TSitid* panel = ProjectRoot->CurrentPanel();
        state.ResumeTiming();
        editing.DeletePanel(panel);
        state.PauseTiming();
        DeleteProjectTree(ProjectRoot);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteMiddlePanel)->Unit(benchmark::kMicrosecond);

// Deletes one whole switchboard (30 panel deletions, each rebuilding the lists) from the middle.
void BM_DeleteSwitchboard(benchmark::State& state) {
    TreeEditing editing;
    for (auto _ : state) {
        state.PauseTiming();
        BuildProject();
        TGrsed* sw = ProjectRoot->Switchboards.First;
        for (int i = 1; i < kSwitchboards / 2; ++i) sw = sw->Switchboards.Next;
        state.ResumeTiming();
        editing.DeleteSwitchboardNode(sw);
        state.PauseTiming();
        DeleteProjectTree(ProjectRoot);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteSwitchboard)->Unit(benchmark::kMillisecond);

// Deletes a group line by name from a panel of 30 lines (resets, four chain searches, lists).
void BM_DeleteGroupByName(benchmark::State& state) {
    TreeEditing editing;
    for (auto _ : state) {
        state.PauseTiming();
        BuildProject();
        const int number = PanelNumber(5, kPanels / 2);
        ProjectRoot->FindPanel(number);
        const std::string name = std::to_string(number) + "-" + std::to_string(kGroups / 2);
        state.ResumeTiming();
        editing.DeleteGroupByName(name);
        state.PauseTiming();
        DeleteProjectTree(ProjectRoot);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteGroupByName)->Unit(benchmark::kMicrosecond);

}  // namespace
