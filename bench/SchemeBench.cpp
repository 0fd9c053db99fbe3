// The general scheme of the network drawn on the scheme window at 100 %, as opening a project or
// choosing a scale draws it, and shown: each example project and generated projects of 3 x 10 x
// 10, 10 x 30 x 30 and 40 x 30 x 30 (switchboards x panels x lines). The picture is kept as its
// drawing operations; what is timed is the drawing and the painting of the window's first view.
// A scroll step repaints one view of the scheme somewhere else.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <string>

#include "BenchApplication.h"
#include "GeneratedProject.h"
#include "ProcessMemory.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "model/Classd.h"
#include "platform/Bitmap.h"
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

// What the scheme window shows of its picture at once: a view of 1600 x 1000 px.
constexpr int kViewWidth = 1600;
constexpr int kViewHeight = 1000;

// Paints the view of the scheme window's picture from (left, top) as the window paints it.
void PaintView(int left, int top) {
    static QImage view(kViewWidth, kViewHeight, QImage::Format_RGB32);
    platform::TImage& image = *Form2->Image1;
    image.render(&view, QPoint(), QRegion(left, top, kViewWidth, kViewHeight));
}

// Draws the general scheme of the open project at 100 % and shows its first view, as often as
// the benchmark asks; the picture's size, its operations and the memory it added as counters.
void DrawScheme(benchmark::State& state) {
    const double before = ResidentMegabytes();
    double added = 0;
    bool first = true;
    for (auto _ : state) {
        Form1->ComboBox1->setCurrentIndex(0);
        Form1->ShowNetworkScheme();
        PaintView(0, 0);
        if (first) added = ResidentMegabytes() - before;
        first = false;
    }
    if (Form2->PictureKind() != GeneralSchemePicture) state.SkipWithError("not drawn");
    state.counters["width"] = Form2->Image1->width();
    state.counters["height"] = Form2->Image1->height();
    state.counters["sheets"] = Form1->SheetPageCount;
    state.counters["ops"] = double(Form2->Image1->Picture().OperationCount());
    state.counters["recordMB"] = double(Form2->Image1->Picture().RecordBytes()) / (1 << 20);
    state.counters["addedMB"] = added;
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
    BuildGeneratedProject(int(state.range(0)), int(state.range(1)), int(state.range(2)));
    DrawScheme(state);
    Form1->DropProject();
}
BENCHMARK(BM_GeneralSchemeOfGeneratedProject)
    ->Args({3, 10, 10})
    ->Args({10, 30, 30})
    ->Args({40, 30, 30})
    ->Unit(benchmark::kMillisecond);

// One view of the drawn scheme painted at another place, as a scroll step to it repaints the
// window: the views sweep the whole picture, row by row, half a view apart; the slowest of them
// as a counter.
void BM_GeneralSchemeScrollStep(benchmark::State& state) {
    StartApplication();
    BuildGeneratedProject(int(state.range(0)), 30, 30);
    Form1->ComboBox1->setCurrentIndex(0);
    Form1->ShowNetworkScheme();
    PaintView(0, 0);
    const int width = Form2->Image1->width();
    const int height = Form2->Image1->height();
    int left = 0;
    int top = 0;
    double slowest = 0;
    for (auto _ : state) {
        left += kViewWidth / 2;
        if (left + kViewWidth > width) {
            left = 0;
            top += kViewHeight;
            if (top + kViewHeight > height) top = 0;
        }
        const auto start = std::chrono::steady_clock::now();
        PaintView(left, top);
        slowest = std::max(slowest, std::chrono::duration<double, std::milli>(
                                        std::chrono::steady_clock::now() - start)
                                        .count());
    }
    state.counters["slowestMs"] = slowest;
    Form1->DropProject();
}
BENCHMARK(BM_GeneralSchemeScrollStep)->Arg(10)->Arg(40)->Unit(benchmark::kMillisecond);

}  // namespace
