#include "documents/WordReports.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <memory>

#include "app/Mainform.h"
#include "documents/AdjustmentProject.h"
#include "documents/ConsumerTable.h"
#include "documents/JournalRows.h"
#include "documents/Kabj2.h"
#include "documents/NetworkTable.h"
#include "documents/ResultTable.h"
#include "documents/WordDocument.h"
#include "model/Classd.h"
#include "platform/Conversions.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"

namespace reports {

namespace {

std::string& FolderSetting() {
    static std::string folder;
    return folder;
}

struct ReportKind {
    const char* templateFile;  // relative to the program folder
    int firstBodyRow;
    int footerLayout;
};

const ReportKind* KindOf(int templateKind) {
    static const ReportKind kinds[] = {
        {"Template/calculation/A3(420x297).dotx", 3, 4},
        {"Template/calculationG/A3(420x297).dotx", 3, 4},
        {"Template/Cable/A3(420x297).dotx", 5, 1},
    };
    return templateKind >= 1 && templateKind <= 3 ? &kinds[templateKind - 1] : nullptr;
}

void ShowReportFailure(const std::string& text) {
    platform::MessageBox(text, "Error", platform::MsgButtons::Ok, platform::MsgIcon::Error);
}

}  // namespace

std::string ReportFolder() {
    if (!FolderSetting().empty()) return FolderSetting();
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    return folder.toStdString();
}

void SetReportFolder(const std::string& folder) {
    FolderSetting() = folder;
}

std::string NewReportPath(const std::string& folder, const std::string& name,
                          const QDateTime& time) {
    // A title's closing full stop and blanks do not belong in a file name.
    std::string title = name;
    while (!title.empty() && (title.back() == '.' || title.back() == ' ')) title.pop_back();
    const std::string base = folder + (folder.ends_with('/') ? "" : "/") + title + " " +
                             time.toString("yyyy-MM-dd HH-mm-ss").toStdString();
    std::string path = base + ".docx";
    for (int copy = 2; QFileInfo::exists(QString::fromStdString(path)); ++copy)
        path = base + " (" + platform::IntToStr(copy) + ").docx";
    return path;
}

}  // namespace reports

void TForm8::CollectStamp(std::vector<std::string>& stamp) {
    if (AdjustmentProjectForm == nullptr) {
        stamp.insert(stamp.end(), 5, std::string());
        return;
    }
    const std::vector<std::string> texts = AdjustmentProjectForm->StampStrings();
    stamp.insert(stamp.end(), texts.begin(), texts.end());
}

int TForm8::ReportRowCount(const std::vector<std::string>& cells, int cellsPerRow) {
    return static_cast<int>(cells.size()) / cellsPerRow + 1;
}

std::unique_ptr<WordDocument> TForm8::OpenWordTemplate(int templateKind, int rowCount) {
    const reports::ReportKind* kind = reports::KindOf(templateKind);
    const std::string path = platform::ProgramFolder() + (kind ? kind->templateFile : "");
    auto word = std::make_unique<WordDocument>(path);
    if (rowCount > 1) word->AddBodyRows(rowCount - 1);
    return word;
}

void TForm8::PutCell(const std::string& text, int row, int column, WordDocument& word) {
    word.AppendToBodyCell(row, column, text);
}

int TForm8::PutFirstFooterCell(const std::string& text, int footerLayout, WordDocument& word) {
    if (footerLayout == 1) {
        word.AppendToFirstFooterCell(4, 7, text);
        return 8;
    }
    word.AppendToFirstFooterCell(1, 7, text);
    return 4;
}

void TForm8::PutFooterCell(const std::string& text, int row, int column, WordDocument& word) {
    word.AppendToFirstFooterCell(row, column, text);
}

void TForm8::ShowWord(WordDocument& word, const std::string& reportName) {
    const std::string folder = reports::ReportFolder();
    if (!QDir().mkpath(QString::fromStdString(folder)))
        throw ReportError("Не удается создать папку " + folder + " для документа.");
    const std::string path =
        reports::NewReportPath(folder, reportName, QDateTime::currentDateTime());
    word.SaveAs(path);
    const std::string url = QUrl::fromLocalFile(QString::fromStdString(path))
                                .toEncoded(QUrl::FullyEncoded)
                                .toStdString();
    platform::ShellOpen(url, [path] {
        reports::ShowReportFailure("Документ " + path +
                                   " записан, но не удается открыть его: нет программы для "
                                   "документов Word.");
    });
}

void TForm8::WriteWordReport(int templateKind, const std::vector<std::string>& cells,
                             int cellsPerRow, const std::string& reportName) {
    const reports::ReportKind* kind = reports::KindOf(templateKind);
    if (kind == nullptr || cellsPerRow < 1) return;
    std::vector<std::string> stamp;
    CollectStamp(stamp);
    try {
        platform::WaitCursor wait;
        std::unique_ptr<WordDocument> word =
            OpenWordTemplate(templateKind, ReportRowCount(cells, cellsPerRow));
        int row = kind->firstBodyRow;
        int column = 1;
        for (const std::string& text : cells) {
            PutCell(text, row, column, *word);
            if (++column > cellsPerRow) {
                column = 1;
                ++row;
            }
        }
        int footerRow = PutFirstFooterCell(stamp[0], kind->footerLayout, *word);
        for (size_t k = 1; k < stamp.size(); ++k) PutFooterCell(stamp[k], footerRow++, 2, *word);
        ShowWord(*word, reportName);
    } catch (const ReportError& error) {
        reports::ShowReportFailure(std::string(error.what()) + "\nДокумент не создан.");
    }
}

void TForm8::BitBtn2Click() {
    if (ProjectRoot == nullptr) return;
    const int kind = JournalKind();
    std::vector<std::string> cells;
    BuildCableJournalRows(cells, kind, JournalNumber);
    WriteWordReport(3, cells, kJournalReportCells, JournalTitle(kind, JournalNumber));
}

void TForm4::BitBtn3Click() {
    if (ProjectRoot == nullptr) return;
    std::vector<std::string> cells;
    if (TableKind == 1) {
        // The panel may have been deleted since the table was made.
        if (!ProjectRoot->FindPanel(PanelNumber)) return;
        TForm8::BuildConsumerTableRows(cells, PanelNumber);
        TForm8::WriteWordReport(
            2, cells, kConsumerTableCells,
            "Таблица расчетных данных потребителей (Щит " + platform::IntToStr(PanelNumber) + ")");
    } else {
        TForm8::BuildNetworkTableRows(cells);
        TForm8::WriteWordReport(1, cells, kNetworkReportCells,
                                "Таблица расчетных данных распределительной сети");
    }
}
