// The general scheme of the network drawn on the scheme window at 100 %: each example project, a
// generated project of 3 switchboards x 10 panels x 10 group lines, and the generated project of
// 10 x 30 x 30, whose picture (about 17 GB) is beyond the memory budget and takes the fallback.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <string>

#include "BenchApplication.h"
#include "GeneratedProject.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "model/Classd.h"
#include "platform/Image.h"

namespace {

// The program's data (reference tables and example projects) in a folder of its own.
const std::string& DataFolder() {
    static QTemporaryDir dir;
    static const std::string folder = [] {
        const QDir source(PROGRAM_DATA_DIR);
        QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = dir.path() + "/" + source.relativeFilePath(file);
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(file, target);
        }
        return dir.path().toStdString() + "/";
    }();
    return folder;
}

// Draws the general scheme of the open project at 100 % as often as the benchmark asks; the
// picture's size as counters.
void DrawScheme(benchmark::State& state) {
    for (auto _ : state) {
        Form1->ComboBox1->setCurrentIndex(0);
        Form1->ShowNetworkScheme();
    }
    if (Form2->PictureKind() != GeneralSchemePicture) state.SkipWithError("not drawn");
    state.counters["width"] = Form2->Image1->width();
    state.counters["height"] = Form2->Image1->height();
    state.counters["sheets"] = Form1->SheetPageCount;
}

void BM_GeneralSchemeOfExample(benchmark::State& state) {
    // The program as if started in the data's folder: its breaker and transformer bases open.
    const std::string& folder = StartApplication();
    OpenBaseTables(DataFolder());
    const std::string path =
        DataFolder() + "Project/Example" + std::to_string(state.range(0)) + ".VPQ";
    const bool loaded = Form1->CheckReferenceDatabases() && Form1->LoadProject(path);
    OpenBaseTables(folder);
    if (!loaded) {
        state.SkipWithError("not loaded");
        return;
    }
    DrawScheme(state);
    Form1->DropProject();
}
BENCHMARK(BM_GeneralSchemeOfExample)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

void BM_GeneralSchemeOfGeneratedProject(benchmark::State& state) {
    StartApplication();
    BuildGeneratedProject(3, 10, 10);
    DrawScheme(state);
    Form1->DropProject();
}
BENCHMARK(BM_GeneralSchemeOfGeneratedProject)->Unit(benchmark::kMillisecond);

// Once, as at the program's start: two failures at 50 % after the first at 100 %, three
// messages, and no picture.
void BM_GeneralSchemeBeyondMemory(benchmark::State& state) {
    StartApplication();
    BuildGeneratedProject(10, 30, 30);
    const std::size_t shown = ShownMessages().size();
    for (auto _ : state) {
        OutOfMemoryFallbacks = 0;
        Form1->ComboBox1->setCurrentIndex(0);
        Form1->ShowNetworkScheme();
    }
    if (Form2->PictureKind() != NoPicture || OutOfMemoryFallbacks != 2)
        state.SkipWithError("no fallback");
    state.counters["messages"] = double(ShownMessages().size() - shown);
    Form1->DropProject();
}
BENCHMARK(BM_GeneralSchemeBeyondMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
