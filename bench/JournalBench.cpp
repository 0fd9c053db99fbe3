// The cable journals and the network calculation table of the generated project of 10 main
// switchboards x 30 panels x 30 group lines: the journal window's grid filled, the whole document
// painted, and the preview that paints it once and cuts it into pages.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchApplication.h"
#include "GeneratedProject.h"
#include "app/Mainform.h"
#include "documents/JournalRows.h"
#include "documents/Kabj2.h"
#include "documents/NetworkTable.h"
#include "documents/PagePainter.h"
#include "documents/Preview.h"
#include "documents/ResultTable.h"
#include "documents/TablePainters.h"
#include "model/Classd.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"

namespace {

// The journal of that kind: 0 general, 1 section, 2 switchboard 1, 3 the first panel of it.
int NumberOf(int kind) {
    return kind == 2 ? 1 : kind == 3 ? GeneratedPanelNumber(1, 1) : 0;
}

void Start() {
    StartApplication();
    if (ProjectRoot == nullptr) BuildGeneratedProject(10, 30, 30);
}

int JournalRows(int kind) {
    return int(JournalEntries(*ProjectRoot, kind, NumberOf(kind)).size());
}

void BM_JournalGrid(benchmark::State& state) {
    Start();
    const int kind = int(state.range(0));
    for (auto _ : state) Form1->FillCableJournal(kind, NumberOf(kind));
    state.counters["rows"] = Form8->TableRowCount;
}
BENCHMARK(BM_JournalGrid)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_NetworkResultsGrid(benchmark::State& state) {
    Start();
    ProjectRoot->TotalDesignPower = 1;
    for (auto _ : state) {
        Form1->ShowNetworkResults();
        state.PauseTiming();
        Form4->close();
        state.ResumeTiming();
    }
    state.counters["rows"] = Form8->TableRowCount;
}
BENCHMARK(BM_NetworkResultsGrid)->Unit(benchmark::kMillisecond);

// The whole journal painted once, as its drawing operations: the painting alone, without the
// pixels the preview puts them on.
void BM_JournalPainted(benchmark::State& state) {
    Start();
    const int kind = int(state.range(0));
    const int rows = JournalRows(kind);
    Form8->JournalNumber = NumberOf(kind);
    auto& painter = static_cast<CableJournalPages&>(*Form8->CableJournalPainter);
    std::size_t ops = 0;
    for (auto _ : state) {
        auto canvas = platform::TCanvas::CreateRecorder();
        painter.PaintOn(*canvas, PageRequest{kind, rows, TForm8::JournalTitle(kind, 1), 1, 0});
        ops = canvas->Recorder()->Ops().size();
    }
    state.counters["rows"] = rows;
    state.counters["ops"] = double(ops);
    state.counters["height"] = PaintedDocumentHeight(rows);
}
BENCHMARK(BM_JournalPainted)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// The preview: the document painted once on one picture and cut into its pages.
void PreviewPages(benchmark::State& state, int kind, bool table) {
    Start();
    const std::size_t shown = ShownMessages().size();
    for (auto _ : state) {
        if (table) {
            const int rows = 1 + int(NetworkTableEntries(*ProjectRoot).size());
            Form8->PreviewCalcTables(0, rows, "Таблица расчетных данных распределительной сети.",
                                     0, 0);
        } else {
            Form8->JournalNumber = NumberOf(kind);
            Form8->PreviewCableJournal(kind, JournalRows(kind), TForm8::JournalTitle(kind, 1));
        }
        state.PauseTiming();
        Form7->close();
        state.ResumeTiming();
    }
    if (ShownMessages().size() != shown) state.SkipWithError(ShownMessages().back().c_str());
    state.counters["pages"] = table ? Form8->TablePageCount : Form8->JournalPageCount;
}

void BM_JournalPreview(benchmark::State& state) {
    PreviewPages(state, int(state.range(0)), false);
}
BENCHMARK(BM_JournalPreview)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_NetworkTablePreview(benchmark::State& state) {
    PreviewPages(state, 0, true);
}
BENCHMARK(BM_NetworkTablePreview)->Unit(benchmark::kMillisecond);

}  // namespace
