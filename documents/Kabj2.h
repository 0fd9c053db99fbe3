#pragma once
// The cable journal window "Результаты", and the fields that the previews and reports of the
// calculation tables and the journals share.
#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Bitmap.h"
#include "ui_TForm8.h"

class PagePainter;
struct PageRequest;

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

    // Row 0 of the grid: the column headings.
    void SetJournalHeader();

    // The calculation table as preview pages: tableKind 0 the network table, 1 the consumers
    // table of panel `panelNumber`, any other kind blank pages. Stores TablePageCount.
    void PreviewCalcTables(int painterArgument, int rows, const std::string& title,
                           std::uint8_t tableKind, int panelNumber);
    // The cable journal of that kind as preview pages. Stores JournalPageCount.
    void PreviewCableJournal(int journalKind, int rows, const std::string& title);

private:
    // Paints the document once and lays its pages into the preview window; `pageCount` gets
    // their number.
    void PreviewPaintedPages(PagePainter* painter, const PageRequest& request, int& pageCount);
};

extern TForm8* Form8;
