// The Word report of the general cable journal of the generated project of 10 main switchboards
// x 30 panels x 30 group lines (9,310 rows): the cells built from the tree, the template's table
// grown and filled, the title block written and the document saved.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "BenchApplication.h"
#include "GeneratedProject.h"
#include "documents/Kabj2.h"
#include "documents/WordReports.h"
#include "model/Classd.h"
#include "platform/Shell.h"

namespace {

void BM_GeneralJournalReport(benchmark::State& state) {
    const std::string& folder = StartApplication();
    if (ProjectRoot == nullptr) BuildGeneratedProject(10, 30, 30);
    QDir().mkpath(QString::fromStdString(folder + "Template"));
    for (const char* kind : {"Cable", "calculation", "calculationG"}) {
        const QString to = QString::fromStdString(folder + "Template/" + kind);
        QDir().mkpath(to);
        QFile::copy(QString(REPORT_TEMPLATE_DIR "/") + kind + "/A3(420x297).dotx",
                    to + "/A3(420x297).dotx");
    }
    QTemporaryDir reports;
    reports::SetReportFolder(reports.path().toStdString());
    platform::SetShellOpenHook([](const std::string&) { return true; });
    std::size_t cells = 0;
    for (auto _ : state) {
        std::vector<std::string> list;
        TForm8::BuildCableJournalRows(list, 0, 0);
        cells = list.size();
        TForm8::WriteWordReport(3, list, 10, TForm8::JournalTitle(0, 0));
    }
    platform::SetShellOpenHook(nullptr);
    reports::SetReportFolder("");
    state.counters["rows"] = double(cells / 10);
}
BENCHMARK(BM_GeneralJournalReport)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
