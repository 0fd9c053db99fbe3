// The cable journals and the network calculation table of the generated project of 10 main
// switchboards x 30 panels x 30 group lines (40 x 30 x 30 for the larger preview): the journal
// window's grid filled, the whole document painted, the preview that paints it once, lays out its
// pages and shows the first of them, and the general journal printed to a PDF file.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "BenchApplication.h"
#include "GeneratedProject.h"
#include "ProcessMemory.h"
#include "app/Mainform.h"
#include "documents/JournalRows.h"
#include "documents/Kabj2.h"
#include "documents/NetworkTable.h"
#include "documents/PagePainter.h"
#include "documents/Preview.h"
#include "documents/ResultTable.h"
#include "documents/TablePainters.h"
#include "drawings/DrawingState.h"
#include "model/Classd.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Image.h"
#include "platform/Printer.h"

namespace {

// The journal of that kind: 0 general, 1 section, 2 switchboard 1, 3 the first panel of it.
int NumberOf(int kind) {
    return kind == 2 ? 1 : kind == 3 ? GeneratedPanelNumber(1, 1) : 0;
}

// The generated project of that many switchboards of 30 panels of 30 lines, built once.
void Start(int switchboards = 10) {
    StartApplication();
    static int built = 0;
    if (ProjectRoot != nullptr && built == switchboards) return;
    if (ProjectRoot != nullptr) Form1->DropProject();
    BuildGeneratedProject(switchboards, 30, 30);
    built = switchboards;
}

// Paints what the preview window shows at once of its pages, from their top: 800 x 1000 px.
void PaintFirstPage() {
    static QImage view(800, 1000, QImage::Format_RGB32);
    if (Form7->PageImage == nullptr) return;
    Form7->PageImage->render(&view, QPoint(), QRegion(0, 0, 800, 1000));
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

// The preview: the document painted once, its pages laid out, and the first of them shown.
void PreviewPages(benchmark::State& state, int kind, bool table) {
    const std::size_t shown = ShownMessages().size();
    const double before = ResidentMegabytes();
    double added = 0;
    bool first = true;
    for (auto _ : state) {
        if (table) {
            const int rows = 1 + int(NetworkTableEntries(*ProjectRoot).size());
            Form8->PreviewCalcTables(0, rows, "Таблица расчетных данных распределительной сети.", 0,
                                     0);
        } else {
            Form8->JournalNumber = NumberOf(kind);
            Form8->PreviewCableJournal(kind, JournalRows(kind), TForm8::JournalTitle(kind, 1));
        }
        PaintFirstPage();
        state.PauseTiming();
        if (first) added = ResidentMegabytes() - before;
        first = false;
        Form7->close();
        state.ResumeTiming();
    }
    if (ShownMessages().size() != shown) state.SkipWithError(ShownMessages().back().c_str());
    state.counters["pages"] = table ? Form8->TablePageCount : Form8->JournalPageCount;
    state.counters["addedMB"] = added;
}

void BM_JournalPreview(benchmark::State& state) {
    Start();
    PreviewPages(state, int(state.range(0)), false);
}
BENCHMARK(BM_JournalPreview)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// The general journal of 40 x 30 x 30 (37,240 rows).
void BM_LargerJournalPreview(benchmark::State& state) {
    Start(40);
    PreviewPages(state, 0, false);
    state.counters["rows"] = JournalRows(0);
}
BENCHMARK(BM_LargerJournalPreview)->Unit(benchmark::kMillisecond);

// The general journal previewed, then printed whole to a PDF file as the print dialog's "Print
// to File (PDF)" does (the dialog answered at once); the file is read back with pdftotext, which
// must find every row's designation.
void BM_GeneralJournalToPdf(benchmark::State& state) {
    Start();
    QTemporaryDir dir;
    const QString file = dir.filePath("journal.pdf");
    QPrinter& printer = platform::Printer().Device();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPrintRange(QPrinter::AllPages);
    Form8->JournalNumber = 0;
    const int rows = JournalRows(0);
    Form8->PreviewCableJournal(0, rows, TForm8::JournalTitle(0, 1));
    Form1->DocumentKind = CableJournalDocument;
    for (auto _ : state) Form1->ToolButton6Click();
    Form7->close();
    printer.setOutputFileName(QString());
    QProcess text;
    text.start("pdftotext", {"-layout", file, "-"});
    text.waitForFinished(120000);
    // Compared without blanks: the text laid out spaces the words its own way.
    const auto words = [](const std::string& in) {
        std::string out;
        for (char c : in)
            if (c != ' ') out += c;
        return out;
    };
    const std::string printed = words(text.readAllStandardOutput().toStdString());
    // Every row's texts, in the rows' order, each row on a line of its own.
    std::size_t at = 0;
    for (const JournalEntry& entry : JournalEntries(*ProjectRoot, 0, 0)) {
        std::size_t lineEnd = std::string::npos;
        for (const std::string& text : JournalPageRow(entry, 0)) {
            const std::string cell = words(text);
            if (cell.empty()) continue;
            const std::size_t found = printed.find(cell, at);
            if (lineEnd == std::string::npos && found != std::string::npos)
                lineEnd = printed.find('\n', found);
            if (found == std::string::npos || found > lineEnd) {
                state.SkipWithError(("not printed: " + cell).c_str());
                return;
            }
            at = found + cell.size();
        }
        if (lineEnd != std::string::npos) at = lineEnd;
    }
    state.counters["pages"] = Form8->JournalPageCount;
    state.counters["rows"] = rows;
}
BENCHMARK(BM_GeneralJournalToPdf)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_NetworkTablePreview(benchmark::State& state) {
    Start();
    PreviewPages(state, 0, true);
}
BENCHMARK(BM_NetworkTablePreview)->Unit(benchmark::kMillisecond);

}  // namespace
