#include "documents/Kabj2.h"

#include <QTableWidgetItem>

#include "app/Mainform.h"
#include "documents/PageGeometry.h"
#include "documents/PagePainter.h"
#include "documents/Preview.h"
#include "platform/Conversions.h"

TForm8* Form8 = nullptr;

TForm8::TForm8(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(725, 310);
    setProperty("Tag", 0);
    // "&Закрыть" closes the window by its kind.
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);
}

TForm8::~TForm8() = default;

int TForm8::JournalKind() const {
    return property("Tag").toInt();
}

void TForm8::SetJournalHeader() {
    static const char* const headings[] = {
        "№", "Обозначение кабеля", "Начало.", "Конец.", "Марка.", "Сечение.", "Длина.",
    };
    if (StringGrid1->rowCount() < 1) StringGrid1->setRowCount(1);
    for (int column = 0; column < 7; ++column)
        StringGrid1->setItem(0, column, new QTableWidgetItem(QString::fromUtf8(headings[column])));
}

void TForm8::PreviewCalcTables(int painterArgument, int rows, const std::string& title,
                               std::uint8_t tableKind, int panelNumber) {
    PagePainter* painter = tableKind == 0   ? NetworkTablePainter
                           : tableKind == 1 ? ConsumerTablePainter
                                            : nullptr;
    PreviewPaintedPages(painter, PageRequest{painterArgument, rows, title, 1, panelNumber},
                        TablePageCount);
}

void TForm8::PreviewCableJournal(int journalKind, int rows, const std::string& title) {
    PreviewPaintedPages(CableJournalPainter, PageRequest{journalKind, rows, title, 1, 0},
                        JournalPageCount);
}

void TForm8::PreviewPaintedPages(PagePainter* painter, const PageRequest& request, int& pageCount) {
    if (Form1 == nullptr || Form7 == nullptr) return;
    Form7->RestoreCaption();
    const int count = pages::TablePageCount(request.rows);
    pageCount = count;
    Form1->ComposePreview(
        pages::kPageWidth, pages::ImageHeight(count), [&](platform::TCanvas& canvas) {
            // The painter paints the whole document; every page is cut out of that one picture.
            platform::TBitmap painted;
            if (painter != nullptr) painter->Paint(painted, request);
            const platform::TCanvas& source = *painted.Canvas();
            for (int n = 1; n <= count; ++n) {
                canvas.CopyRect(pages::PageContent(n), source, pages::TableStrip(n));
                if (n > 1) DrawPageGap(canvas, pages::PageRow(n - 1), pages::kPageWidth);
                if (count > 1)
                    canvas.TextOut(2, pages::PageRow(n - 1, pages::kPageWidth, 2),
                                   "Лист № " + platform::IntToStr(n));
            }
        });
}
