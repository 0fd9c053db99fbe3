#include "documents/TablePainters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "documents/ConsumerTable.h"
#include "documents/JournalRows.h"
#include "documents/NetworkTable.h"
#include "documents/PageGeometry.h"
#include "model/Classd.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Cp1251.h"

using platform::TCanvas;

namespace {

constexpr int kBodyTop = 180;
constexpr int kRowPitch = 25;

int RowLine(int i) {
    return kBodyTop + kRowPitch * i;
}

int RowText(int i) {
    return 185 + kRowPitch * i;
}

void Line(TCanvas& c, int x1, int y1, int x2, int y2) {
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}

struct Label {
    int x, y;
    const char* text;
};

void Labels(TCanvas& c, std::initializer_list<Label> labels) {
    for (const Label& l : labels) c.TextOut(l.x, l.y, l.text);
}

// What every table page starts with: white brush, the title in size 14, the heading frame, then
// size 8 for the rest.
void Frame(TCanvas& c, const std::string& title, int frameLeft, int frameRight) {
    c.Brush.SetColor(platform::clWhite);
    c.Font.SetSize(14);
    c.TextOut(50, 50, title);
    c.Rectangle(frameLeft, 100, frameRight, kBodyTop);
    c.Font.SetSize(8);
}

void SizePage(platform::TBitmap& page, int rows) {
    page.SetSize(pages::kPageWidth, PaintedDocumentHeight(rows));
}

}  // namespace

int PaintedDocumentHeight(int rows) {
    const double pageHeight = pages::PageHeight();
    const double needed = double(kRowPitch) * std::max(rows, 0) + 100;
    const std::int64_t byRows = std::int64_t(needed / pageHeight + 1.0);
    // The rows start at y 180, lower than the 100 px counted above: the picture is made as many
    // whole pages high as its last row's bottom line needs, so that every row the preview cuts
    // out is on it.
    const double bottom = pages::kFirstRowTop + double(kRowPitch) * std::max(rows, 0);
    const std::int64_t byLastRow = std::int64_t(std::ceil(bottom / pageHeight));
    const std::int64_t count = std::max(byRows, byLastRow);
    return int(std::min<double>(count * pageHeight, 2147483647.0));
}

// ---------------------------------------------------------------------------------------------
// Network table

void NetworkTablePages::Paint(platform::TBitmap& page, const PageRequest& request) {
    SizePage(page, request.rows);
    PaintOn(*page.Canvas(), request);
}

void NetworkTablePages::PaintOn(TCanvas& c, const PageRequest& request) {
    const int rows = request.rows;
    Frame(c, request.title, 50, 751);
    const int bottom = RowLine(rows - 1);
    for (int x : {98, 143, 188, 245, 282, 342, 376, 433, 470, 527, 564, 626, 688}) {
        Line(c, x, 100, x, kBodyTop);
        Line(c, x, kBodyTop, x, bottom);
    }
    Line(c, 50, kBodyTop, 50, bottom);
    Line(c, 750, kBodyTop, 750, bottom);
    for (int i = 0; i < rows; ++i) Line(c, 50, RowLine(i), 750, RowLine(i));
    if (ProjectRoot == nullptr || ProjectRoot->Switchboards.First == nullptr) return;

    static constexpr int kTextX[] = {51,  101, 146, 193, 247, 283, 343,
                                     377, 437, 475, 531, 569, 629, 693};
    static_assert(std::size(kTextX) == kNetworkPageCells);
    const std::vector<NetworkTableEntry> entries = NetworkTableEntries(*ProjectRoot);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::vector<std::string> texts = NetworkPageRow(entries[i]);
        for (int col = 0; col < kNetworkPageCells; ++col)
            c.TextOut(kTextX[col], RowText(int(i)), texts[col]);
    }
    // The headings last, inside the frame. "Iрас" begins with the Latin I; " Руст" and " Ррас"
    // with a blank and the Cyrillic Р.
    Labels(c, {{52, 130, " Щит"},      {99, 130, " Руст"},     {99, 145, " кВт"},
               {146, 130, " Ррас"},    {146, 145, " кВт"},     {193, 115, "Марка"},
               {193, 130, "кабеля"},   {193, 145, "или"},      {193, 160, "провода"},
               {247, 130, "Длина"},    {257, 145, "м"},        {287, 130, "Сечение"},
               {287, 145, "кв. мм"},   {345, 130, "Iрас"},     {352, 145, "А"},
               {381, 130, " Марка"},   {381, 145, " авто"},    {381, 160, " мата"},
               {437, 115, "Ном."},     {437, 130, "ток А"},    {437, 145, "авто"},
               {437, 160, "мата"},     {475, 115, "Падение"},  {475, 130, "напряж."},
               {475, 145, "до щита"},  {489, 160, "%"},        {531, 130, "Cos f"},
               {569, 130, "Однофаз."}, {569, 145, "ток К.З."}, {583, 160, "А"},
               {629, 130, "Трехфаз."}, {629, 145, "ток К.З."}, {646, 160, "А"},
               {693, 130, "Ударный"},  {693, 145, "ток К.З."}, {712, 160, "кА"}});
}

// ---------------------------------------------------------------------------------------------
// Consumers table

void ConsumerTablePages::Paint(platform::TBitmap& page, const PageRequest& request) {
    SizePage(page, request.rows);
    PaintOn(*page.Canvas(), request);
}

void ConsumerTablePages::PaintOn(TCanvas& c, const PageRequest& request) {
    const int rows = std::max(request.rows, 0);
    c.Brush.SetColor(platform::clWhite);
    c.Font.SetSize(14);
    c.TextOut(50, 50, request.title);
    c.Rectangle(25, 100, 778, kBodyTop);
    c.Font.SetSize(8);
    const int bottom = RowLine(rows);
    for (int x : {75, 125, 204, 283, 362, 423, 498, 555, 595, 665, 715}) {
        Line(c, x, 100, x, kBodyTop);
        Line(c, x, kBodyTop, x, bottom);
    }
    Line(c, 25, kBodyTop, 25, bottom);
    Line(c, 777, kBodyTop, 777, bottom);
    for (int r = 0; r <= rows; ++r) Line(c, 25, RowLine(r), 777, RowLine(r));

    if (ProjectRoot != nullptr) {
        static constexpr int kTextX[] = {30, 80, 130, 209, 288, 367, 428, 503, 560, 610, 670, 720};
        static_assert(std::size(kTextX) == kConsumerTableCells);
        const auto table = ConsumerTableRows(*ProjectRoot, request.panelNumber);
        for (std::size_t r = 0; r < table.size(); ++r) {
            std::vector<std::string> cells = table[r];
            cells[5] = platform::Utf8Left(cells[5], 8);
            for (int col = 0; col < kConsumerTableCells; ++col)
                if (!cells[col].empty()) c.TextOut(kTextX[col], RowText(int(r)), cells[col]);
        }
    }
    // "     Iном" begins with the Latin I; "Cos f" is Latin.
    Labels(c, {{30, 130, " Группы"},      {80, 115, " Коли"},        {80, 130, " чество"},
               {80, 145, " фаз"},         {130, 115, " Мощность"},   {130, 130, " потребителя"},
               {130, 145, "      кВт"},   {209, 130, "      Cos f"}, {288, 130, "Номинальный"},
               {288, 145, "      Ток А"}, {367, 130, "   Тип"},      {367, 145, "автомата"},
               {428, 115, "     Iном"},   {425, 130, "   автомата"}, {428, 145, "        А"},
               {503, 115, " Марка"},      {503, 130, " кабеля"},     {503, 145, "   или"},
               {503, 160, " провода"},    {557, 130, "Длина"},       {560, 145, "   м"},
               {607, 130, "Сечение"},     {610, 145, " кв. мм"},     {670, 115, "Падение"},
               {670, 130, "напря"},       {670, 145, "жения"},       {670, 160, "     %"},
               {720, 115, "Ток"},         {717, 130, "короткого"},   {716, 145, "замыкания"},
               {720, 160, "      А"}});
}

// ---------------------------------------------------------------------------------------------
// Cable journals

void CableJournalPages::Paint(platform::TBitmap& page, const PageRequest& request) {
    SizePage(page, request.rows);
    PaintOn(*page.Canvas(), request);
}

void CableJournalPages::PaintOn(TCanvas& c, const PageRequest& request) {
    const int rows = std::max(request.rows, 0);
    Frame(c, request.title, 50, 751);
    // "Обозначение " ends in a blank; "       Марка." and "       Длина (м)." begin with seven.
    Labels(c, {{55, 110, "Обозначение "},
               {55, 125, "провода или"},
               {55, 140, "кабеля"},
               {55, 155, "(на плане)."},
               {200, 110, "Трасса."},
               {150, 145, "Начало."},
               {235, 145, "Конец."},
               {305, 130, "Участок трассы провода"},
               {305, 145, "или кабеля."},
               {555, 110, "Кабель или провод."},
               {455, 145, "       Марка."},
               {555, 135, "Количество жил и"},
               {555, 150, "сечение(кв.мм)."},
               {655, 145, "       Длина (м)."}});
    for (int x : {130, 300, 450}) Line(c, x, 100, x, kBodyTop);
    Line(c, 130, 125, 300, 125);
    Line(c, 215, 125, 215, kBodyTop);
    Line(c, 450, 125, 750, 125);
    Line(c, 550, 125, 550, kBodyTop);
    Line(c, 650, 125, 650, kBodyTop);

    const int bottom = RowLine(rows);
    for (int x : {50, 130, 215, 300, 450, 550, 650, 750}) Line(c, x, kBodyTop, x, bottom);
    Line(c, 50, bottom, 750, bottom);
    if (ProjectRoot == nullptr) return;

    static constexpr int kTextX[] = {55, 135, 220, 305, 455, 555, 655};
    static_assert(std::size(kTextX) == kJournalPageCells);
    const int kind = request.argument;
    const std::vector<JournalEntry> entries = JournalEntries(*ProjectRoot, kind, number_);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) Line(c, 50, RowLine(int(i)), 750, RowLine(int(i)));
        const std::vector<std::string> texts = JournalPageRow(entries[i], kind);
        for (int col = 0; col < kJournalPageCells; ++col)
            c.TextOut(kTextX[col], RowText(int(i)), texts[col]);
    }
}
