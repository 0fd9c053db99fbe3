#include "documents/Kabj2.h"

#include <QHeaderView>
#include <QTableWidgetItem>
#include <algorithm>
#include <iterator>

#include "app/Mainform.h"
#include "documents/ConsumerTable.h"
#include "documents/JournalRows.h"
#include "documents/NetworkTable.h"
#include "documents/PageGeometry.h"
#include "documents/PagePainter.h"
#include "documents/Preview.h"
#include "documents/ResultTable.h"
#include "documents/TablePainters.h"
#include "drawings/DrawingState.h"
#include "model/Classd.h"
#include "platform/Conversions.h"
#include "platform/Events.h"

TForm8* Form8 = nullptr;

TForm8::TForm8(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(725, 310);
    setProperty("Tag", 0);
    // The heading keeps its whole text in the desktop's font; the journal's kind follows it.
    Label1->ensurePolished();
    Label1->resize(Label1->sizeHint().width(), Label1->height());
    Label2->move(std::max(Label2->x(), Label1->geometry().right() + 5), Label2->y());
    // "&Закрыть" closes the window by its kind.
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);
    networkTablePainter_ = std::make_unique<NetworkTablePages>();
    consumerTablePainter_ = std::make_unique<ConsumerTablePages>();
    cableJournalPainter_ = std::make_unique<CableJournalPages>(JournalNumber);
    NetworkTablePainter = networkTablePainter_.get();
    ConsumerTablePainter = consumerTablePainter_.get();
    CableJournalPainter = cableJournalPainter_.get();
    struct Command {
        QAction* item;
        void (TForm8::*handler)();
    };
    const Command commands[] = {
        {N2, &TForm8::N2Click},   {ToolButton1, &TForm8::N2Click},
        {N3, &TForm8::N3Click},   {ToolButton3, &TForm8::N3Click},
        {N6, &TForm8::N6Click},   {ToolButton5, &TForm8::N6Click},
        {N7, &TForm8::N7Click},   {ToolButton7, &TForm8::N7Click},
        {N10, &TForm8::N10Click}, {ToolButton9, &TForm8::N10Click},
    };
    for (const Command& command : commands) platform::OnClick(command.item, this, command.handler);
    platform::OnClick(BitBtn2, this, &TForm8::BitBtn2Click);
}

TForm8::~TForm8() = default;

int TForm8::JournalKind() const {
    return property("Tag").toInt();
}

void TForm8::SetJournalHeader() {
    static const char* const headings[] = {
        "№", "Обозначение кабеля", "Начало.", "Конец.", "Марка.", "Сечение.", "Длина.",
    };
    static_assert(std::size(headings) == kJournalGridCells);
    if (StringGrid1->rowCount() < 1) StringGrid1->setRowCount(1);
    for (int column = 0; column < kJournalGridCells; ++column)
        StringGrid1->setItem(0, column, new QTableWidgetItem(QString::fromUtf8(headings[column])));
}

void TForm8::FillGeneralJournal() {
    FillJournal(GeneralJournal, 0);
}

void TForm8::FillSectionJournal() {
    FillJournal(SectionJournal, 0);
}

void TForm8::FillSwitchboardJournal(int switchboardNumber) {
    FillJournal(SwitchboardJournal, switchboardNumber);
}

void TForm8::FillPanelJournal(int panelNumber) {
    FillJournal(PanelJournal, panelNumber);
}

void TForm8::FillJournal(int journalKind, int number) {
    JournalNumber = number;
    std::vector<JournalEntry> entries;
    if (ProjectRoot != nullptr) entries = JournalEntries(*ProjectRoot, journalKind, number);
    const int n = static_cast<int>(entries.size());
    StringGrid1->setUpdatesEnabled(false);
    // An empty journal keeps one data row, its cells empty.
    StringGrid1->setRowCount(std::max(n, 1) + 1);
    for (int column = 0; column < kJournalGridCells; ++column)
        StringGrid1->setItem(1, column, new QTableWidgetItem());
    for (int row = 1; row <= n; ++row) {
        const std::vector<std::string> cells = JournalGridRow(entries[row - 1], row);
        for (int column = 0; column < kJournalGridCells; ++column)
            StringGrid1->setItem(row, column,
                                 new QTableWidgetItem(QString::fromStdString(cells[column])));
    }
    // Each journal starts from the designed widths; a column is widened where its texts need it.
    for (int column = 0; column < kJournalGridCells; ++column)
        StringGrid1->setColumnWidth(column, StringGrid1->horizontalHeader()->defaultSectionSize());
    WidenColumnsToTexts(*StringGrid1);
    StringGrid1->setUpdatesEnabled(true);
    TableRowCount = n;
}

std::string TForm8::JournalTitle(int journalKind, int number) {
    switch (journalKind) {
        case GeneralJournal:
            return "Кабельный журнал (общий). ";
        case SectionJournal:
            return "Кабельный журнал (Секция КТП - Грщ). ";
        case SwitchboardJournal:
            return "Кабельный журнал (Грщ №" + platform::IntToStr(number) + ")";
        case PanelJournal:
            return "Кабельный журнал (Щит №" + platform::IntToStr(number) + ")";
        default:
            return "";
    }
}

void TForm8::N2Click() {
    PreviewJournal();  // "Предварительный просмотр"
}

void TForm8::PreviewJournal() {
    close();
    // The project this journal was made from may have been closed since.
    if (ProjectRoot == nullptr || Form1 == nullptr) return;
    const int kind = JournalKind();
    PreviewTitle = JournalTitle(kind, JournalNumber);
    // The rows as the tree holds them now: panels or lines may have gone since the grid was
    // filled.
    const int rows = static_cast<int>(JournalEntries(*ProjectRoot, kind, JournalNumber).size());
    Form1->SetZoomButtonImage(121);
    Form1->PreviewZoom = 0;
    Form1->DocumentKind = CableJournalDocument;
    PreviewCableJournal(kind, rows, PreviewTitle);
}

void TForm8::N3Click() {
    close();  // "Выход"
}

void TForm8::N6Click() {
    if (Form1 != nullptr) Form1->N18Click();  // "Провода и кабели"
}

void TForm8::N7Click() {
    if (Form1 != nullptr) Form1->N19Click();  // "Трансформаторы"
}

void TForm8::N10Click() {
    if (Form1 != nullptr) Form1->N20Click();  // "Автоматы"
}

void TForm8::BuildNetworkTableRows(std::vector<std::string>& cells) {
    if (ProjectRoot == nullptr) return;
    for (const NetworkTableEntry& entry : NetworkTableEntries(*ProjectRoot)) {
        const std::vector<std::string> row = NetworkReportRow(entry);
        cells.insert(cells.end(), row.begin(), row.end());
    }
}

void TForm8::BuildCableJournalRows(std::vector<std::string>& cells, int journalKind, int number) {
    if (ProjectRoot == nullptr) return;
    for (const JournalEntry& entry : JournalEntries(*ProjectRoot, journalKind, number)) {
        const std::vector<std::string> row = JournalReportRow(entry, journalKind);
        cells.insert(cells.end(), row.begin(), row.end());
    }
}

void TForm8::BuildConsumerTableRows(std::vector<std::string>& cells, int panelNumber) {
    if (ProjectRoot == nullptr) return;
    for (const std::vector<std::string>& row : ConsumerTableRows(*ProjectRoot, panelNumber))
        cells.insert(cells.end(), row.begin(), row.end());
}

void TForm8::PreviewCalcTables(int painterArgument, int rows, const std::string& title,
                               std::uint8_t tableKind, int panelNumber) {
    PagePainter* painter = tableKind == 0   ? NetworkTablePainter
                           : tableKind == 1 ? ConsumerTablePainter
                                            : nullptr;
    // The network table's rows count its heading row as well.
    const int dataRows = tableKind == 0 ? rows - 1 : rows;
    PreviewPaintedPages(painter, PageRequest{painterArgument, rows, title, 1, panelNumber},
                        dataRows, TablePageCount);
}

void TForm8::PreviewCableJournal(int journalKind, int rows, const std::string& title) {
    PreviewPaintedPages(CableJournalPainter, PageRequest{journalKind, rows, title, 1, 0}, rows,
                        JournalPageCount);
}

void TForm8::PreviewPaintedPages(PagePainter* painter, const PageRequest& request, int dataRows,
                                 int& pageCount) {
    if (Form1 == nullptr || Form7 == nullptr) return;
    Form7->RestoreCaption();
    const int count = pages::TablePageCount(dataRows);
    pageCount = count;
    Form1->ComposePreview(
        pages::kPageWidth, pages::ImageHeight(count),
        [&](platform::TCanvas& canvas) {
            // The painter paints the whole document; every page is cut out of that one picture.
            // Tables and journals are black on white, so a byte a pixel holds them: the general
            // journal of a large project is then a quarter of a gigabyte, not near a whole one.
            platform::TBitmap painted;
            painted.SetPixelFormat(platform::pfGray8);
            if (painter != nullptr) painter->Paint(painted, request);
            const platform::TCanvas& source = *painted.Canvas();
            for (int n = 1; n <= count; ++n) {
                // Each page its whole rows under the heading block.
                for (const pages::TableBand& band : pages::TablePageBands(n, dataRows))
                    canvas.CopyRect(pages::BandInPage(n, band), source, band.source);
                if (n > 1) DrawPageGap(canvas, pages::PageRow(n - 1), pages::kPageWidth);
                if (count > 1)
                    canvas.TextOut(2, pages::PageRow(n - 1, pages::kPageWidth, 2),
                                   "Лист № " + platform::IntToStr(n));
            }
        },
        platform::pfGray8);
}
