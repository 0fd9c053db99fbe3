#pragma once
// The application with an open project of one switchboard, a recording printer in place of the
// desktop's, and every canvas recording what it draws.
#include <string>
#include <vector>

#include "AppFixture.h"
#include "CanvasOps.h"
#include "documents/PagePainter.h"
#include "platform/Canvas.h"
#include "platform/Printer.h"

// A table or journal as a painter paints it: a heading down to y 181, then one 25 px row per data
// row, each row's top edge drawn, the last row filled black. Keeps what it was asked.
class RowsPainter : public PagePainter {
public:
    void Paint(platform::TBitmap& page, const PageRequest& request) override;

    std::vector<PageRequest> requests;
    // Paints on a picture that may keep no more than this many bytes (a document that does not fit
    // in memory).
    int byteLimit = 0;
};

class DocumentsTest : public AppFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // What the preview's page image recorded; empty without one.
    const std::vector<platform::CanvasOp>& PageOps() const;
    // A stacked page bitmap of that many pages, as a journal preview leaves it.
    static void KeepJournalPages(int pages);
    // The next print dialog: it must offer pages 1 to `maxPage`; it is answered with the range
    // (all pages when `from` is 0), the copies and the collation.
    void AnswerPrintDialog(int maxPage, int from, int to, int copies, bool collate);
    // The source rectangle's top of each page printed in the last job, in order.
    std::vector<int> PrintedSourceTops() const;

    platform::CanvasRecordingScope recording_;
    platform::RecordingPrintBackEnd printer_;
};
