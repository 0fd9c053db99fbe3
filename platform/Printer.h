#pragma once
// The printer and its print dialog, as the classic printer object and print dialog offered them:
// an orientation, a job started with BeginDoc and ended with EndDoc, NewPage between pages, a
// canvas for the current page and the size of its printable area in device pixels.
//
// A job draws through a back end: by default the desktop's printer (a QPrinter with the settings
// chosen in Qt's print dialog, PDF included when the printer is set to it); tests put a recording
// back end in its place, which keeps every page's drawing operations.
#include <QSize>
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"

class QPrinter;

namespace platform {

enum class TPrinterOrientation { Portrait, Landscape };

// Where the pages of a job go.
class PrintBackEnd {
public:
    virtual ~PrintBackEnd() = default;
    // Starts a job on `printer`, with the dialog's settings and the orientation set on it; false
    // when it cannot be started.
    virtual bool Begin(QPrinter& printer) = 0;
    virtual void NewPage() = 0;
    virtual void End() = 0;
    // The current page's canvas; only between Begin and End.
    virtual TCanvas& Canvas() = 0;
    // The printable area of a page, device pixels.
    virtual QSize PageSize() const = 0;
};

// Keeps what each job draws, page by page, instead of printing it.
class RecordingPrintBackEnd : public PrintBackEnd {
public:
    struct Job {
        TPrinterOrientation orientation = TPrinterOrientation::Portrait;
        QSize pageSize;
        // The operations of every page, in order.
        std::vector<std::vector<CanvasOp>> pages;
    };

    // The printable area of a portrait page; a landscape page is turned.
    explicit RecordingPrintBackEnd(QSize portraitPage = QSize(2000, 2800))
        : portraitPage_(portraitPage) {}

    bool Begin(QPrinter& printer) override;
    void NewPage() override;
    void End() override;
    TCanvas& Canvas() override;
    QSize PageSize() const override;

    const std::vector<Job>& Jobs() const { return jobs_; }
    // A job that cannot be started, as a printer that refuses it.
    void RefuseJobs(bool refuse) { refuse_ = refuse; }

private:
    void KeepPage();

    QSize portraitPage_;
    bool refuse_ = false;
    std::vector<Job> jobs_;
    std::unique_ptr<TCanvas> canvas_;
};

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The printer the print dialog sets up.
    QPrinter& Device();

    // The printer's page orientation: as the dialog left it until set.
    TPrinterOrientation Orientation();
    void SetOrientation(TPrinterOrientation orientation);

    // Starts a job; false when it cannot be started (nothing is printed then).
    bool BeginDoc();
    void NewPage();
    void EndDoc();
    bool Printing() const { return printing_; }
    // The current page's canvas; only while printing.
    TCanvas& Canvas();
    // The printable area of a page, device pixels (the classic HORZRES and VERTRES).
    int PageWidth() const;
    int PageHeight() const;

private:
    PrintBackEnd& BackEnd() const;

    std::unique_ptr<QPrinter> device_;
    std::unique_ptr<PrintBackEnd> desktop_;
    bool printing_ = false;
};

// The one printer of the program.
TPrinter& Printer();

// Puts a back end in the desktop printer's place (tests); null gives the printer back. The caller
// keeps ownership.
void SetPrintBackEnd(PrintBackEnd* backEnd);

enum class TPrintRange { AllPages, PageNums };

// The print dialog: page range, copies and collation, for Printer(). Offers page numbers (no
// selection, no current page) and, beside the desktop's printers, the output to a PDF file.
class TPrintDialog {
public:
    int FromPage = 0;
    int ToPage = 0;
    int MinPage = 0;
    int MaxPage = 0;
    int Copies = 1;
    bool Collate = false;
    TPrintRange PrintRange = TPrintRange::AllPages;

    // Shows Qt's print dialog modally with the fields above; false when it was cancelled. On
    // OK the fields hold the choice, and the printer is set to print each page once (the copies
    // are the caller's to print, in the order the collation asks).
    bool Execute();
};

}  // namespace platform
