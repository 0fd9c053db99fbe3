#pragma once
// The cable journal window "Результаты", and the fields that the previews and reports of the
// calculation tables and the journals share.
#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "ui_TForm8.h"

class PagePainter;
struct PageRequest;
class NetworkTablePages;
class ConsumerTablePages;
class CableJournalPages;
class WordDocument;

class TForm8 : public QDialog, public Ui::TForm8 {
    Q_OBJECT

public:
    explicit TForm8(QWidget* parent = nullptr);
    ~TForm8() override;

    // Rows of the table or journal built last: for a journal its data rows, heading not counted.
    int TableRowCount = 0;
    // All pages of the document the preview shows, stacked, 800 px wide; null while no preview is
    // shown. Printing of the journals, the schematic and the tables cuts its pages from it.
    std::unique_ptr<platform::TBitmap> PageBitmap;
    // Pages of the last journal and of the last calculation table previewed.
    int JournalPageCount = 0;
    int TablePageCount = 0;
    // Title of the last journal preview.
    std::string PreviewTitle;
    // The calculation table built last: 1 the consumers table of a panel, 0 the network table.
    std::uint8_t TableKind = 0;

    // The painters of the network table, the consumers table and the cable journals. Not owned;
    // without one its pages stay blank.
    PagePainter* NetworkTablePainter = nullptr;
    PagePainter* ConsumerTablePainter = nullptr;
    PagePainter* CableJournalPainter = nullptr;

    // The journal in the grid (the window's "Tag"): 0 general, 1 substation section to
    // switchboards, 2 one switchboard, 3 one panel.
    int JournalKind() const;
    // The switchboard (kind 2) or panel (kind 3) whose journal the grid shows; its preview and
    // report show the same one, whatever the number chooser served since.
    int JournalNumber = 0;

    // Row 0 of the grid: the column headings.
    void SetJournalHeader();
    // The journals in the grid: rows 1 to n, numbered from 1; TableRowCount := n. An empty
    // journal keeps one empty row. The switchboard and panel journals list the cables of the
    // switchboard or panel with that number (JournalNumber := it).
    void FillGeneralJournal();
    void FillSectionJournal();
    void FillSwitchboardJournal(int switchboardNumber);
    void FillPanelJournal(int panelNumber);

    // The journal window's commands, menu items and toolbar buttons alike.
    // "Предварительный просмотр": PreviewJournal.
    void N2Click();
    // "Выход": the window closed.
    void N3Click();
    // "Провода и кабели": the main window's reference book of cable current tables.
    void N6Click();
    // "Трансформаторы": the main window's reference book of transformers.
    void N7Click();
    // "Автоматы": the main window's reference book of breakers.
    void N10Click();
    // The journal in the grid as pages in the preview, the window closed; nothing without the
    // project it was made from.
    void PreviewJournal();
    // Title of the preview of the journal of that kind and number.
    static std::string JournalTitle(int journalKind, int number);

    // The cells of the Word reports, appended row after row: 15 a row for the network table, 10
    // a row for the cable journal of that kind (of the switchboard or panel `number` for kinds 2
    // and 3), 12 a row for the consumers table of that panel. Nothing without a project.
    static void BuildNetworkTableRows(std::vector<std::string>& cells);
    static void BuildCableJournalRows(std::vector<std::string>& cells, int journalKind, int number);
    static void BuildConsumerTableRows(std::vector<std::string>& cells, int panelNumber);

    // The Word reports. "Отчет": the journal in the grid as a Word document.
    void BitBtn2Click();
    // The five title-block texts, in the order of the project file.
    static void CollectStamp(std::vector<std::string>& stamp);
    // Body rows the document's table is given: one more than the whole rows of `cells`, so
    // that the table always ends with an empty row.
    static int ReportRowCount(const std::vector<std::string>& cells, int cellsPerRow);
    // The template of that kind (1 network table, 2 consumers table, 3 cable journal) with its
    // table grown to `rowCount` body rows. Throws ReportError.
    static std::unique_ptr<WordDocument> OpenWordTemplate(int templateKind, int rowCount);
    static void PutCell(const std::string& text, int row, int column, WordDocument& word);
    // The first title-block text into the first-page footer: layout 1 (journal) row 4, any
    // other row 1, column 7. Returns the footer row of the next text (8 or 4).
    static int PutFirstFooterCell(const std::string& text, int footerLayout, WordDocument& word);
    static void PutFooterCell(const std::string& text, int row, int column, WordDocument& word);
    // Saves the finished document in the report folder under `reportName` and the time, and
    // opens it with the desktop's application for Word documents.
    static void ShowWord(WordDocument& word, const std::string& reportName);
    // The whole report: cells of `cellsPerRow` a row from the first body row of the template's
    // table (3, or 5 in the journal), the title block, saved and opened. A failure is shown in a
    // message; no file is left then.
    static void WriteWordReport(int templateKind, const std::vector<std::string>& cells,
                                int cellsPerRow, const std::string& reportName);

    // The calculation table as preview pages: tableKind 0 the network table, 1 the consumers
    // table of panel `panelNumber`, any other kind blank pages. Stores TablePageCount.
    void PreviewCalcTables(int painterArgument, int rows, const std::string& title,
                           std::uint8_t tableKind, int panelNumber);
    // The cable journal of that kind as preview pages. Stores JournalPageCount.
    void PreviewCableJournal(int journalKind, int rows, const std::string& title);

private:
    void FillJournal(int journalKind, int number);

    std::unique_ptr<NetworkTablePages> networkTablePainter_;
    std::unique_ptr<ConsumerTablePages> consumerTablePainter_;
    std::unique_ptr<CableJournalPages> cableJournalPainter_;

    // Paints the document once and lays its pages into the preview window; `pageCount` gets
    // their number.
    // `dataRows`: the rows below the heading, which decide the page count.
    void PreviewPaintedPages(PagePainter* painter, const PageRequest& request, int dataRows,
                             int& pageCount);
};

extern TForm8* Form8;
