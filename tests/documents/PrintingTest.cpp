// Printing from the preview bar and the File menu: the print dialog's range, copies and
// collation, the orientation of each document, every page fitted to the printable area, and a
// real PDF printed through Qt's printer.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DocumentsFixture.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "documents/Kabj2.h"
#include "drawings/DrawingState.h"
#include "model/Classd.h"
#include "platform/Bitmap.h"
#include "platform/Image.h"
#include "platform/ProgramFolder.h"

using platform::CanvasOpKind;
using platform::Rect;
using platform::TPrinterOrientation;

namespace {

struct OrderCase {
    const char* name;
    int from;  // 0: all pages
    int to;
    int copies;
    bool collate;
    std::vector<int> tops;  // source rows of the pages printed, in order
};

// Page n of the kept pages is the strip from trunc((n - 1) x 1035.29): 0, 1035, 2070.
const OrderCase kOrders[] = {
    {"all once", 0, 0, 1, false, {0, 1035, 2070}},
    {"two copies page by page", 0, 0, 2, false, {0, 0, 1035, 1035, 2070, 2070}},
    {"two copies collated", 0, 0, 2, true, {0, 1035, 2070, 0, 1035, 2070}},
    {"page 2 only", 2, 2, 1, false, {1035}},
    {"pages 2 to 3 twice collated", 2, 3, 2, true, {1035, 2070, 1035, 2070}},
};

}  // namespace

class Printing : public DocumentsTest {
protected:
    // The scheme window shows a picture of that kind, one sheet of sheetWidth x 1200 px, used.
    void OneSheetPicture(int pictureKind, int sheetWidth) {
        Form2->ShowOverMainWindow();
        Form2->NewPicture()->SetTag(pictureKind);
        Form1->PictureBitmap = std::make_unique<platform::TBitmap>();
        Form1->PictureBitmap->SetSize(sheetWidth, 1200);
        int width = sheetWidth;
        Form1->ResetSheetCounters();
        Form1->LaySheets(sheetWidth, 1200, width);
        Form1->MarkSheet(0, 0);
        Form1->SheetPageCount = 1;
    }
};

TEST_F(Printing, PrintsTheRangeWithItsCopiesInTheCollationsOrder) {
    for (const OrderCase& c : kOrders) {
        SCOPED_TRACE(c.name);
        KeepJournalPages(3);
        AnswerPrintDialog(3, c.from, c.to, c.copies, c.collate);
        Form1->ToolButton6->trigger();
        responder_.VerifyDone();
        // One page of the job per page printed: a page break between any two.
        EXPECT_EQ(PrintedSourceTops(), c.tops);
    }
    EXPECT_EQ(printer_.Jobs().size(), std::size(kOrders));
}

TEST_F(Printing, FitsEachPageToThePrintableAreaKeepingItsProportions) {
    KeepJournalPages(3);
    AnswerPrintDialog(3, 3, 3, 1, false);
    Form1->ToolButton6->trigger();
    ASSERT_EQ(printer_.Jobs().size(), 1u);
    const auto& job = printer_.Jobs()[0];
    ASSERT_EQ(job.pages.size(), 1u);
    const auto copies = OpsOf(job.pages[0], CanvasOpKind::CopyRect);
    ASSERT_EQ(copies.size(), 1u);
    // Page 3 with its band and label: (0, 2070)-(800, trunc(2070.59 + 1035.29) = 3105). On the
    // 2000 x 2800 page: 2000 wide, 2000 x 1035 / 800 = 2587 high, (2800 - 2587) / 2 = 106 down.
    EXPECT_EQ(copies[0].SourceRect, Rect(0, 2070, 800, 3105));
    EXPECT_EQ(copies[0].Rect, Rect(0, 106, 2000, 2693));
}

TEST_F(Printing, ThePicturePrintsItsSheetNumberedAsThePage) {
    // Sheet 2 of a 2 x 1 grid of 900 x 1200 sheets numbered from the right.
    Form2->ShowOverMainWindow();
    Form2->NewPicture()->SetTag(PanelDiagramPicture);
    Form1->PictureBitmap = std::make_unique<platform::TBitmap>();
    Form1->PictureBitmap->SetSize(1800, 700);
    int width = 1800;
    Form1->ResetSheetCounters();
    Form1->LaySheets(900, 1200, width);
    Form1->MarkSheet(0, 1);
    Form1->MarkSheet(0, 0);
    Form1->SheetPageCount = 2;
    Form1->DocumentKind = CableJournalDocument;

    AnswerPrintDialog(2, 0, 0, 1, false);
    Form1->Print1->trigger();
    ASSERT_EQ(printer_.Jobs().size(), 1u);
    const auto& job = printer_.Jobs()[0];
    EXPECT_EQ(job.orientation, TPrinterOrientation::Landscape);
    ASSERT_EQ(job.pages.size(), 2u);
    const auto first = OpsOf(job.pages[0], CanvasOpKind::CopyRect);
    const auto second = OpsOf(job.pages[1], CanvasOpKind::CopyRect);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    // The sheets reach below the 700 px picture: what they hold of it is printed. On the
    // 2800 x 2000 landscape page, 900 x 700 fits 2000 high: 2000 x 900 / 700 = 2571 wide,
    // (2800 - 2571) / 2 = 114 from the left.
    EXPECT_EQ(first[0].SourceRect, Rect(900, 0, 1800, 700));
    EXPECT_EQ(second[0].SourceRect, Rect(0, 0, 900, 700));
    EXPECT_EQ(first[0].Rect, Rect(114, 0, 2685, 2000));
}

TEST_F(Printing, TakesTheOrientationOfItsDocument) {
    struct Case {
        const char* name;
        int documentKind;
        int pictureKind;  // of the scheme window's picture
        TPrinterOrientation before;
        TPrinterOrientation printed;
    };
    const auto portrait = TPrinterOrientation::Portrait;
    const auto landscape = TPrinterOrientation::Landscape;
    const Case cases[] = {
        {"general scheme", SchemePictureDocument, GeneralSchemePicture, landscape, portrait},
        {"one-line diagram", SchemePictureDocument, PanelDiagramPicture, portrait, landscape},
        {"phasing picture", SchemePictureDocument, PanelPhasingPicture, portrait, landscape},
        {"unfinished picture", SchemePictureDocument, NoPicture, landscape, landscape},
        {"journal beside a diagram", CableJournalDocument, PanelDiagramPicture, landscape,
         portrait},
        {"schematic", SupplySchemeDocument, PanelPhasingPicture, landscape, portrait},
        {"tables", CalculationTablesDocument, PanelDiagramPicture, landscape, portrait},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OneSheetPicture(c.pictureKind, 900);
        KeepJournalPages(1);
        Form1->SchematicPageCount = 1;
        Form8->TablePageCount = 1;
        Form1->DocumentKind = c.documentKind;
        platform::Printer().SetOrientation(c.before);
        AnswerPrintDialog(1, 0, 0, 1, false);
        Form1->ToolButton6->trigger();
        responder_.VerifyDone();
        ASSERT_FALSE(printer_.Jobs().empty());
        EXPECT_EQ(printer_.Jobs().back().orientation, c.printed);
        EXPECT_EQ(printer_.Jobs().back().pages.size(), 1u);
    }
}

TEST_F(Printing, DoesNothingWithoutSomethingToPrint) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::function<void()> print;
    };
    const Case cases[] = {
        {"no pages", [] { KeepJournalPages(0); }, [] { Form1->ToolButton6->trigger(); }},
        {"no kept pages",
         [] {
             KeepJournalPages(2);
             Form8->PageBitmap.reset();
         },
         [] { Form1->ToolButton6->trigger(); }},
        {"no document", [] { Form1->DocumentKind = NoDocument; },
         [] { Form1->ToolButton6->trigger(); }},
        {"no picture", [] { Form1->SheetPageCount = 2; }, [] { Form1->Print1->trigger(); }},
        {"no project",
         [] {
             KeepJournalPages(2);
             DeleteProjectTree(ProjectRoot);
         },
         [] { Form1->ToolButton6->trigger(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        c.print();
    }
    // No dialog came (the responder would have failed the test), no job started.
    EXPECT_TRUE(responder_.Log().empty());
    EXPECT_TRUE(printer_.Jobs().empty());
}

TEST_F(Printing, ACancelledDialogPrintsNothing) {
    KeepJournalPages(2);
    responder_.ExpectModal("QPrintDialog", [](QDialog&) { return platform::mrCancel; });
    Form1->ToolButton6->trigger();
    EXPECT_TRUE(printer_.Jobs().empty());
}

TEST_F(Printing, AJobThePrinterRefusesIsReported) {
    KeepJournalPages(2);
    printer_.RefuseJobs(true);
    AnswerPrintDialog(2, 0, 0, 1, false);
    responder_.ExpectMessage("Не удается начать печать.", "Предупреждение", platform::mrOk);
    Form1->ToolButton6->trigger();
    responder_.VerifyDone();
    EXPECT_TRUE(printer_.Jobs().empty());
    EXPECT_FALSE(platform::Printer().Printing());
}

TEST_F(Printing, WithoutSwitchboardsThePictureCountsOnePage) {
    KeepJournalPages(2);
    Form1->SheetPageCount = 4;
    ProjectRoot->Switchboards.First->Panels.First = nullptr;
    DestroySwitchboard(ProjectRoot->Switchboards.First);
    ProjectRoot->Switchboards = {};
    ProjectRoot->SwitchboardCount = 0;
    AnswerPrintDialog(2, 0, 0, 1, false);
    Form1->ToolButton6->trigger();
    EXPECT_EQ(Form1->SheetPageCount, 1);
    // The journal's own two pages are printed all the same.
    EXPECT_EQ(PrintedSourceTops(), (std::vector<int>{0, 1035}));
}

// A real print job through Qt's printer, to a PDF file.
class PdfPrinting : public Printing {
protected:
    void SetUp() override {
        Printing::SetUp();
        platform::SetPrintBackEnd(nullptr);
        ASSERT_TRUE(dir_.isValid());
        QPrinter& printer = platform::Printer().Device();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir_.filePath("out.pdf"));
        printer.setPageSize(QPageSize(QPageSize::A4));
    }
    void TearDown() override {
        platform::Printer().Device().setOutputFileName(QString());
        Printing::TearDown();
    }

    // A field of pdfinfo's answer about the file printed ("Pages", "Page size").
    std::string PdfInfo(const std::string& field) {
        QProcess pdfinfo;
        pdfinfo.start("pdfinfo", {dir_.filePath("out.pdf")});
        EXPECT_TRUE(pdfinfo.waitForFinished(30000)) << "pdfinfo (poppler-utils) is needed";
        const QStringList lines = QString::fromUtf8(pdfinfo.readAllStandardOutput()).split('\n');
        for (const QString& line : lines)
            if (line.startsWith(QString::fromStdString(field + ":")))
                return line.mid(int(field.size()) + 1).trimmed().toStdString();
        return "(no " + field + ")";
    }

    QTemporaryDir dir_;
};

TEST_F(PdfPrinting, WritesEveryPageAtThePagesSizeAndOrientation) {
    struct Case {
        const char* name;
        int documentKind;
        std::string pages;
        std::string size;
    };
    // A4, 210 x 297 mm, is 595.28 x 841.89 points, written in whole points; a landscape page lies
    // across.
    const Case cases[] = {
        {"journal of three pages, two copies", CableJournalDocument, "6", "595 x 842 pts (A4)"},
        {"phasing picture", SchemePictureDocument, "2", "842 x 595 pts (A4)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OneSheetPicture(PanelPhasingPicture, 1200);
        KeepJournalPages(3);
        Form1->DocumentKind = c.documentKind;
        const int pages = Form1->DocumentPageCount(c.documentKind);
        AnswerPrintDialog(pages, 0, 0, 2, true);
        Form1->ToolButton6->trigger();
        responder_.VerifyDone();
        EXPECT_EQ(PdfInfo("Pages"), c.pages);
        EXPECT_EQ(PdfInfo("Page size"), c.size);
    }
}

// The print dialog as a user meets it on a desktop without a printer: "Print to File (PDF)"
// chosen in its list, the file named, pages 2 to 3 asked for twice, collated.
class PdfThroughTheDialog : public Printing {
protected:
    void SetUp() override {
        Printing::SetUp();
        platform::SetPrintBackEnd(nullptr);
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override {
        platform::Printer().Device().setOutputFileName(QString());
        Printing::TearDown();
    }

    std::string Pdf() const { return dir_.filePath("journal.pdf").toStdString(); }

    RowsPainter painter_;

    // Output of a poppler tool on the file printed.
    std::string Poppler(const QString& tool, QStringList arguments) {
        QProcess process;
        arguments << QString::fromStdString(Pdf());
        if (tool == "pdftotext") arguments << "-";
        process.start(tool, arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << tool.toStdString();
        return QString::fromUtf8(process.readAllStandardOutput()).toStdString();
    }

    QTemporaryDir dir_;
};

TEST_F(PdfThroughTheDialog, PrintsTheChosenPagesAndCopiesToTheFileNamed) {
    Form8->CableJournalPainter = &painter_;
    // 80 rows: three pages of 33, 33 and 14 rows.
    Form8->PreviewCableJournal(0, 80, "Кабельный журнал (общий). ");
    ASSERT_EQ(Form8->JournalPageCount, 3);
    Form1->DocumentKind = CableJournalDocument;
    responder_.ExpectModal("QPrintDialog", [&](QDialog& dialog) {
        dialog.show();
        auto* printers = dialog.findChild<QComboBox*>("printers");
        EXPECT_NE(printers, nullptr);
        if (printers == nullptr) return int(platform::mrCancel);
        const int pdf = printers->findText("Print to File (PDF)");
        EXPECT_GE(pdf, 0);
        printers->setFocus();
        while (printers->currentIndex() != pdf) {
            const int before = printers->currentIndex();
            QTest::keyClick(printers, before < pdf ? Qt::Key_Down : Qt::Key_Up);
            if (printers->currentIndex() == before) break;
        }
        auto* file = dialog.findChild<QLineEdit*>("filename");
        file->selectAll();
        QTest::keyClicks(file, QString::fromStdString(Pdf()));
        // The range and copies are on the options the dialog opens below.
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text().contains("Options")) QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QRadioButton*>("printRange"), Qt::LeftButton);
        auto type = [](QSpinBox* box, int value) {
            QLineEdit* edit = box->findChild<QLineEdit*>();
            edit->selectAll();
            QTest::keyClicks(edit, QString::number(value));
            QTest::keyClick(edit, Qt::Key_Tab);
        };
        type(dialog.findChild<QSpinBox*>("to"), 3);
        type(dialog.findChild<QSpinBox*>("from"), 2);
        type(dialog.findChild<QSpinBox*>("copies"), 2);
        auto* collate = dialog.findChild<QCheckBox*>("collate");
        if (!collate->isChecked()) QTest::mouseClick(collate, Qt::LeftButton);
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return dialog.result();
    });
    Form1->ToolButton6->trigger();
    responder_.VerifyDone();
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(Pdf())));
    EXPECT_NE(Poppler("pdfinfo", {}).find("Pages:           4"), std::string::npos);
    // Each page carries its sheet label, as the preview shows it.
    const char* expected[] = {"Лист № 2", "Лист № 3", "Лист № 2", "Лист № 3"};
    for (int page = 1; page <= 4; ++page) {
        SCOPED_TRACE(page);
        const std::string text =
            Poppler("pdftotext", {"-f", QString::number(page), "-l", QString::number(page)});
        EXPECT_NE(text.find(expected[page - 1]), std::string::npos) << text;
    }
    // Lines and texts, not pictures of them.
    const std::string images = Poppler("pdfimages", {"-list"});
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 2) << images;
}

// A sheet of the general scheme printed to PDF is drawn there, not pasted as a picture of it.
TEST_F(PdfPrinting, TheSchemeIsPrintedAsLinesAndTexts) {
    CopyFolder(PROGRAM_DATA_DIR, programDir_.path().toStdString());
    ASSERT_TRUE(Form1->LoadProject(platform::ProgramFolder() + "Project/Example1.VPQ"));
    Form1->ComboBox1->setCurrentIndex(0);
    Form1->ShowNetworkScheme();
    ASSERT_EQ(Form2->PictureKind(), GeneralSchemePicture);
    const int pages = Form1->SheetPageCount;
    ASSERT_GT(pages, 0);
    AnswerPrintDialog(pages, 1, 1, 1, false);
    Form1->Print1Click();
    responder_.VerifyDone();
    EXPECT_EQ(PdfInfo("Pages"), "1");
    QProcess tool;
    tool.start("pdfimages", {"-list", dir_.filePath("out.pdf")});
    ASSERT_TRUE(tool.waitForFinished(30000));
    const QString images = QString::fromUtf8(tool.readAllStandardOutput());
    // The heading of the list and its rule, no image.
    EXPECT_EQ(images.count('\n'), 2) << images.toStdString();
    tool.start("pdftotext", {dir_.filePath("out.pdf"), "-"});
    ASSERT_TRUE(tool.waitForFinished(30000));
    const QString text = QString::fromUtf8(tool.readAllStandardOutput());
    EXPECT_TRUE(text.contains("Энергосистема")) << text.toStdString();
    EXPECT_TRUE(text.contains("ГРЩ№")) << text.toStdString();
}
