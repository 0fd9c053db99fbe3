#pragma once
// The page painters of the calculation tables and the cable journals. Each paints its whole
// document on one picture 800 px wide: the title at (50, 50), the heading block from y 100 to
// 180, then one 25 px row per data row, the texts of row i at y 185 + 25 i. The preview cuts the
// pages out of that picture.
#include "documents/PagePainter.h"

namespace platform {
class TCanvas;
}

// Height of the painted picture of a document of `rows` rows: whole pages of 800 x 22 / 17 px,
// as many as the rows and the 100 px above them need, and always down to the last row's bottom
// line, so that the preview finds every row it lays out.
int PaintedDocumentHeight(int rows);

// The distribution-network table: rows of the main switchboards, then of the panels. `rows` of
// the request counts the data rows plus one heading row, as the results grid does.
class NetworkTablePages : public PagePainter {
public:
    void Paint(platform::TBitmap& page, const PageRequest& request) override;
    void PaintOn(platform::TCanvas& canvas, const PageRequest& request);
};

// The consumers table of the panel `panelNumber` of the request; `rows` is its group lines.
class ConsumerTablePages : public PagePainter {
public:
    void Paint(platform::TBitmap& page, const PageRequest& request) override;
    void PaintOn(platform::TCanvas& canvas, const PageRequest& request);
};

// The cable journal of the kind given as the request's argument; `rows` is its number of rows.
// The switchboard or panel of kinds 2 and 3 is the one numbered `number` (held by the journal
// window).
class CableJournalPages : public PagePainter {
public:
    explicit CableJournalPages(const int& number) : number_(number) {}
    void Paint(platform::TBitmap& page, const PageRequest& request) override;
    void PaintOn(platform::TCanvas& canvas, const PageRequest& request);

private:
    const int& number_;
};
