#include "platform/Printer.h"

#include <QApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

#include "platform/Messages.h"

namespace platform {

namespace {

PrintBackEnd* g_backEnd = nullptr;

// Paints the job on the printer the dialog set up.
class DesktopPrintBackEnd : public PrintBackEnd {
public:
    bool Begin(QPrinter& printer) override {
        if (!painter_.begin(&printer)) return false;
        printer_ = &printer;
        canvas_ = TCanvas::CreateOnPainter(painter_);
        return true;
    }
    void NewPage() override {
        if (printer_ != nullptr) printer_->newPage();
    }
    void End() override {
        canvas_.reset();
        if (painter_.isActive()) painter_.end();
        printer_ = nullptr;
    }
    TCanvas& Canvas() override { return *canvas_; }
    QSize PageSize() const override {
        return printer_ != nullptr ? QSize(printer_->width(), printer_->height()) : QSize();
    }

private:
    QPainter painter_;
    QPrinter* printer_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Recording back end

bool RecordingPrintBackEnd::Begin(QPrinter& printer) {
    if (refuse_) return false;
    Job job;
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    job.orientation = landscape ? TPrinterOrientation::Landscape : TPrinterOrientation::Portrait;
    job.pageSize = landscape ? portraitPage_.transposed() : portraitPage_;
    jobs_.push_back(job);
    canvas_ = TCanvas::CreateRecorder();
    return true;
}

void RecordingPrintBackEnd::KeepPage() {
    if (!canvas_ || jobs_.empty()) return;
    jobs_.back().pages.push_back(canvas_->Recorder()->Ops());
}

void RecordingPrintBackEnd::NewPage() {
    KeepPage();
    canvas_ = TCanvas::CreateRecorder();
}

void RecordingPrintBackEnd::End() {
    KeepPage();
    canvas_.reset();
}

TCanvas& RecordingPrintBackEnd::Canvas() {
    return *canvas_;
}

QSize RecordingPrintBackEnd::PageSize() const {
    return jobs_.empty() ? QSize() : jobs_.back().pageSize;
}

// ---------------------------------------------------------------------------------------------
// Printer

TPrinter::TPrinter() : desktop_(std::make_unique<DesktopPrintBackEnd>()) {}

TPrinter::~TPrinter() = default;

QPrinter& TPrinter::Device() {
    // Made when first needed: the printer support asks the desktop for its printers.
    if (!device_) device_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *device_;
}

PrintBackEnd& TPrinter::BackEnd() const {
    return g_backEnd != nullptr ? *g_backEnd : *desktop_;
}

TPrinterOrientation TPrinter::Orientation() {
    return Device().pageLayout().orientation() == QPageLayout::Landscape
               ? TPrinterOrientation::Landscape
               : TPrinterOrientation::Portrait;
}

void TPrinter::SetOrientation(TPrinterOrientation orientation) {
    Device().setPageOrientation(orientation == TPrinterOrientation::Landscape
                                    ? QPageLayout::Landscape
                                    : QPageLayout::Portrait);
}

bool TPrinter::BeginDoc() {
    if (printing_) return false;
    printing_ = BackEnd().Begin(Device());
    return printing_;
}

void TPrinter::NewPage() {
    if (printing_) BackEnd().NewPage();
}

void TPrinter::EndDoc() {
    if (!printing_) return;
    BackEnd().End();
    printing_ = false;
}

TCanvas& TPrinter::Canvas() {
    return BackEnd().Canvas();
}

int TPrinter::PageWidth() const {
    return BackEnd().PageSize().width();
}

int TPrinter::PageHeight() const {
    return BackEnd().PageSize().height();
}

TPrinter& Printer() {
    // Left on the heap on purpose: the printer support must not be torn down after the
    // application object.
    static TPrinter* printer = new TPrinter;
    return *printer;
}

void SetPrintBackEnd(PrintBackEnd* backEnd) {
    g_backEnd = backEnd;
}

// ---------------------------------------------------------------------------------------------
// Print dialog

bool TPrintDialog::Execute() {
    QPrinter& printer = Printer().Device();
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    // Qt's output to a PDF file is offered as a printer of its own, as the desktop of the
    // program's first platform always had one.
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintToFile);
    const int low = std::max(MinPage, 1);
    const int high = std::max(MaxPage, low);
    dialog.setMinMax(low, high);
    dialog.setFromTo(std::clamp(FromPage, low, high), std::clamp(ToPage, low, high));
    dialog.setPrintRange(PrintRange == TPrintRange::PageNums ? QAbstractPrintDialog::PageRange
                                                             : QAbstractPrintDialog::AllPages);
    printer.setCopyCount(std::max(Copies, 1));
    printer.setCollateCopies(Collate);
    if (ShowModal(dialog) != mrOk) return false;
    PrintRange =
        printer.printRange() == QPrinter::PageRange ? TPrintRange::PageNums : TPrintRange::AllPages;
    FromPage = printer.fromPage();
    ToPage = printer.toPage();
    Copies = std::max(printer.copyCount(), 1);
    Collate = printer.collateCopies();
    // The caller prints every copy itself; the printer must not repeat them.
    printer.setCopyCount(1);
    return true;
}

}  // namespace platform
