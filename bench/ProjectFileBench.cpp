// The project file of a large project: 10 switchboards x 30 panels x 30 group lines (9000 lines,
// 18000 group records), saved and loaded; beside the load, reading the same bytes from the file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FileBytes.h"
#include "ProcessMemory.h"
#include "app/ProjectFile.h"

namespace {

constexpr int kSwitchboards = 10;
constexpr int kPanels = 30;
constexpr int kGroups = 30;

// Values like those of a designed project: Russian texts, entered and selected numbers.
projectfile::ProjectTree BuildProject() {
    projectfile::ProjectTree root(new TGrsed);
    root->TransformerName = "ТМГ-1000/10";
    root->SectionBreakerType = "ВА55-43";
    root->TransformerBreakerRating = 1600;
    for (int s = 1; s <= kSwitchboards; ++s) {
        TGrsed sw;
        sw.SwitchboardNumber = s;
        sw.SchemeOrder = s - 1;
        sw.SwitchboardTable = "ВВГ";
        sw.SwitchboardLaying = "В земле";
        sw.SwitchboardConductorMaterial = "Медь";
        sw.SwitchboardCableBrand = "ВВГнг-LS";
        sw.SwitchboardBreakerType = "ВА57-35";
        sw.SwitchboardCableName = "Л-" + std::to_string(s);
        sw.SwitchboardFeederLength = 120.5;
        sw.SwitchboardSection = 185;
        sw.SwitchboardBreakerRating = 400;
        sw.SwitchboardLossA = 1.23456789012345;
        root->AddSwitchboard(sw);
        ++root->SwitchboardCount;
    }
    for (TGrsed* sw = root->Switchboards.First; sw; sw = sw->Switchboards.Next) {
        sw->SwitchboardCount = root->SwitchboardCount;
        for (int p = 1; p <= kPanels; ++p) {
            TSitid panel;
            panel.PanelNumber = sw->SwitchboardNumber * 100 + p;
            panel.Position = p;
            panel.CurrentTableName = "ВВГ";
            panel.FeederCableName = "Щ-" + std::to_string(panel.PanelNumber);
            panel.FeederLayingMethod = "В воздухе";
            panel.FeederConductorMaterial = "Медь";
            panel.PanelBreakerType = "ВА47-29";
            panel.FeederLength = 35.5;
            panel.FeederSection = 25;
            panel.PanelBreakerRating = 63;
            panel.DemandFactor = 0.8;
            panel.CascadeCosPhiA = 0.87;
            root->AddPanel(sw->SwitchboardNumber, panel);
            ++sw->PanelCount;
        }
    }
    for (int s = 1; s <= kSwitchboards; ++s) {
        for (int p = 1; p <= kPanels; ++p) {
            const int number = s * 100 + p;
            root->FindPanel(number);
            const int scan = root->CountPanels();
            for (int g = 0; g < kGroups; ++g) {
                const std::string name = "Гр" + std::to_string(number) + "-" + std::to_string(g);
                const int kind = 2 + g % 3;
                TCxemaGrupd scheme;
                scheme.GroupName = name;
                scheme.PhaseKind = kind;
                scheme.Power = 1.5L + g * 0.1L;
                scheme.CosPhi = 0.85;
                scheme.LineLength = 25 + g;
                scheme.DesignCurrent = 8.02;
                scheme.CrossSection = 2.5;
                scheme.BreakerRating = 16;
                scheme.BreakerType = "ВА47-29";
                scheme.CableTable = "ВВГ";
                scheme.LayingMethod = "В воздухе";
                scheme.ConductorMaterial = "Медь";
                scheme.CableBrand = "ВВГнг-LS";
                scheme.AmbientTemperature = 25;
                root->AddCxemaGroup(number, scan, scheme);
                if (kind == 2) {
                    TFasaGrup1d record;
                    record.GroupName1 = name;
                    record.PhaseKind1 = kind;
                    record.Power1 = scheme.Power;
                    record.CosPhi1 = 0.85;
                    root->AddFasaGroup1(number, scan, record);
                } else if (kind == 3) {
                    TFasaGrup2d record;
                    record.GroupName2 = name;
                    record.PhaseKind2 = kind;
                    record.Power2 = scheme.Power;
                    record.PartPowers = {scheme.Power / 2, scheme.Power / 2};
                    root->AddFasaGroup2(number, scan, record);
                } else {
                    TFasaGrup3d record;
                    record.GroupName3 = name;
                    record.PhaseKind3 = kind;
                    record.Power3 = scheme.Power;
                    record.PhasePowers = {scheme.Power / 3, scheme.Power / 3, scheme.Power / 3};
                    root->AddFasaGroup3(number, scan, record);
                }
            }
            root->FindPanel(number);
            TSitid* panel = root->CurrentPanel();
            panel->SchemeGroupCount = kGroups;
            panel->SinglePhaseCount = panel->TwoPhaseCount = panel->ThreePhaseCount = kGroups / 3;
        }
    }
    return root;
}

const TGrsed& Project() {
    static const projectfile::ProjectTree root = BuildProject();
    return *root;
}

// A temporary folder, removed at exit (kept alive until then).
const std::string& Folder() {
    static const std::string* folder = [] {
        auto* pattern = new std::string(
            (std::filesystem::temp_directory_path() / "projectfilebenchXXXXXX").string());
        if (!::mkdtemp(pattern->data())) std::abort();
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return pattern;
    }();
    return *folder;
}

// The saved project that the reading benchmarks open.
const std::string& SavedFile() {
    static const std::string path = [] {
        std::string p = Folder() + "/Проект.VPQ";
        if (!projectfile::SaveProjectFile(p, Project(), {}).empty()) std::abort();
        return p;
    }();
    return path;
}

void BM_BuildProjectFile(benchmark::State& state) {
    std::vector<char> bytes;
    for (auto _ : state) {
        if (!projectfile::BuildProjectFile(Project(), {}, bytes).empty()) state.SkipWithError("");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_BuildProjectFile)->Unit(benchmark::kMillisecond);

// Bytes, temporary file, flush to the disk, rename over the old file; the most memory a save
// adds to what the process held before it.
void BM_SaveProjectFile(benchmark::State& state) {
    const std::string path = Folder() + "/Сохранение.VPQ";
    Project();
    double added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double before = ResidentMegabytes();
        RestartPeak();
        state.ResumeTiming();
        if (!projectfile::SaveProjectFile(path, Project(), {}).empty()) state.SkipWithError("");
        added = std::max(added, PeakMegabytes() - before);
    }
    state.counters["peakAddedMB"] = added;
    state.counters["fileMB"] = double(std::filesystem::file_size(path)) / (1 << 20);
}
BENCHMARK(BM_SaveProjectFile)->Unit(benchmark::kMillisecond);

// For comparison: as many bytes as the saved file written to a new file and flushed to the disk.
void BM_WriteAndFlushFileBytes(benchmark::State& state) {
    std::vector<char> bytes;
    if (!projectfile::BuildProjectFile(Project(), {}, bytes).empty()) std::abort();
    const std::string path = Folder() + "/Байты.bin";
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::fsync(fd);
        ::close(fd);
    }
}
BENCHMARK(BM_WriteAndFlushFileBytes)->Unit(benchmark::kMillisecond);

// The whole file read, checked and built into a tree (deleting the tree is not timed); the most
// memory the load adds to what the process held before it, the tree included.
void BM_LoadProjectFile(benchmark::State& state) {
    const std::string& path = SavedFile();
    double added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double before = ResidentMegabytes();
        RestartPeak();
        state.ResumeTiming();
        projectfile::LoadResult result = projectfile::LoadProjectFile(path);
        if (result.Status != projectfile::LoadStatus::Loaded) state.SkipWithError("not loaded");
        state.PauseTiming();
        added = std::max(added, PeakMegabytes() - before);
        result.Root.reset();
        state.ResumeTiming();
    }
    state.counters["peakAddedMB"] = added;
}
BENCHMARK(BM_LoadProjectFile)->Unit(benchmark::kMillisecond);

// Checking and building from bytes already in memory (the load without the file read).
void BM_ReadProjectFromMemory(benchmark::State& state) {
    std::vector<char> bytes;
    if (!projectfile::BuildProjectFile(Project(), {}, bytes).empty()) std::abort();
    const std::string_view view(bytes.data(), bytes.size());
    for (auto _ : state) {
        projectfile::LoadResult result = projectfile::ReadProjectFile(view, "memory");
        if (result.Status != projectfile::LoadStatus::Loaded) state.SkipWithError("not loaded");
        state.PauseTiming();
        result.Root.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReadProjectFromMemory)->Unit(benchmark::kMillisecond);

// Only reading the same file's bytes into memory, as the loader does first.
void BM_ReadProjectFileBytes(benchmark::State& state) {
    const std::string& path = SavedFile();
    for (auto _ : state) ReadFileBytes(path);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_ReadProjectFileBytes)->Unit(benchmark::kMillisecond);

}  // namespace
