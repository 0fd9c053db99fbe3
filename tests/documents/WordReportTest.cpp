// The Word reports and the project stamp: each report is unzipped and its XML read back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <map>
#include <pugixml.hpp>

#include "FakeOpener.h"
#include "TablesFixture.h"
#include "WindowChecks.h"
#include "app/Mainform.h"
#include "documents/AdjustmentProject.h"
#include "documents/ConsumerTable.h"
#include "documents/JournalRows.h"
#include "documents/Kabj2.h"
#include "documents/NetworkTable.h"
#include "documents/ResultTable.h"
#include "documents/WordDocument.h"
#include "documents/WordReports.h"
#include "platform/Conversions.h"
#include "platform/Shell.h"

namespace {

using Parts = std::map<std::string, std::string>;

Parts ReadPackage(const std::string& path) {
    Parts parts;
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (zip == nullptr) return parts;
    for (zip_int64_t k = 0; k < zip_get_num_entries(zip, 0); ++k) {
        zip_stat_t stat;
        zip_stat_index(zip, k, 0, &stat);
        std::string bytes(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(zip, k, 0);
        zip_fread(file, bytes.data(), stat.size);
        zip_fclose(file);
        parts[stat.name] = bytes;
    }
    zip_discard(zip);
    return parts;
}

void WritePackage(const std::string& path, const Parts& parts) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, bytes] : parts)
        zip_file_add(zip, name.c_str(), zip_source_buffer(zip, bytes.data(), bytes.size(), 0),
                     ZIP_FL_ENC_UTF_8);
    ASSERT_EQ(zip_close(zip), 0);
}

// A Word document as a test reads it: its body table and its first-page footer table.
struct Report {
    explicit Report(const std::string& path) : parts(ReadPackage(path)) {
        body.load_string(parts["word/document.xml"].c_str(), pugi::parse_default);
        footer.load_string(parts["word/footer1.xml"].c_str(), pugi::parse_default);
    }
    pugi::xml_node Table() const { return body.child("w:document").child("w:body").child("w:tbl"); }
    pugi::xml_node FooterTable() const { return footer.child("w:ftr").child("w:tbl"); }
    static std::vector<pugi::xml_node> Rows(pugi::xml_node table) {
        std::vector<pugi::xml_node> rows;
        for (pugi::xml_node r : table.children("w:tr")) rows.push_back(r);
        return rows;
    }
    // The texts of a row's cells; a tab element reads as "\t".
    static std::vector<std::string> Texts(pugi::xml_node row) {
        std::vector<std::string> texts;
        for (pugi::xml_node cell : row.children("w:tc")) {
            std::string text;
            pugi::xpath_node_set nodes = cell.select_nodes(".//w:t | .//w:tab");
            nodes.sort();
            for (pugi::xpath_node n : nodes)
                text += std::string(n.node().name()) == "w:tab" ? "\t" : n.node().text().get();
            texts.push_back(text);
        }
        return texts;
    }
    std::string FooterCell(int row, int column) const {
        return Texts(Rows(FooterTable()).at(row - 1)).at(column - 1);
    }
    Parts parts;
    pugi::xml_document body, footer;
};

const std::vector<std::string> kStamp = {"ВП-01-ЭМ", "Иванов", "Петров", "Сидоров", "Смирнова"};

class WordReport : public TablesTest {
protected:
    void SetUp() override {
        TablesTest::SetUp();
        CopyFolder(REPORT_TEMPLATE_DIR, ProgramFile("Template"));
        reports::SetReportFolder(reportDir_.path().toStdString());
        platform::SetShellOpenHook([this](const std::string& url) {
            opened_.push_back(url);
            return true;
        });
        AdjustmentProjectForm->DocumentCode = kStamp[0];
        AdjustmentProjectForm->DevelopedBy = kStamp[1];
        AdjustmentProjectForm->CheckedBy = kStamp[2];
        AdjustmentProjectForm->ApprovedBy = kStamp[3];
        AdjustmentProjectForm->NormControl = kStamp[4];
    }
    void TearDown() override {
        // scripts/convert-reports keeps the documents to look at them in a word processor.
        const QString keep = qEnvironmentVariable("VELTRANOVA_KEEP_REPORTS");
        if (!keep.isEmpty())
            for (const QString& name : Written())
                QFile::copy(reportDir_.filePath(name),
                            keep + "/" +
                                ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                ".docx");
        platform::SetShellOpenHook(nullptr);
        reports::SetReportFolder("");
        TablesTest::TearDown();
    }

    // The documents in the report folder.
    QStringList Written() const { return QDir(reportDir_.path()).entryList(QDir::Files); }
    // The one report written, read back; it must have been opened.
    Report Only() const {
        const QStringList files = Written();
        EXPECT_EQ(files.size(), 1);
        if (files.size() != 1) return Report("");
        const QString path = reportDir_.filePath(files.first());
        EXPECT_EQ(opened_,
                  std::vector<std::string>{QUrl::fromLocalFile(path).toEncoded().toStdString()});
        return Report(path.toStdString());
    }
    // The panel journal of panel 1 with `lines` group lines, reported.
    Report PanelJournalReport(int lines) {
        TSitid& panel = AddPanel(AddSwitchboard(1), 1);
        for (int k = 1; k <= lines; ++k) AddGroup(panel, "1." + platform::IntToStr(k), 4);
        Form8->setProperty("Tag", 3);
        Form8->FillPanelJournal(1);
        QTest::mouseClick(Form8->BitBtn2, Qt::LeftButton);
        return Only();
    }

    QTemporaryDir reportDir_;
    std::vector<std::string> opened_;
};

TEST_F(WordReport, JournalOfThreeLinesFillsRowsFiveToSeven) {
    const Report report = PanelJournalReport(3);
    const auto rows = Report::Rows(report.Table());
    // 4 heading rows, the template's body row and 3 // 10 cells... 30 cells: 30 / 10 + 1 = 4
    // body rows, so rows 5-8.
    ASSERT_EQ(rows.size(), 8u);
    for (int k = 0; k < 3; ++k) {
        const std::string name = "1." + platform::IntToStr(k + 1);
        EXPECT_EQ(
            Report::Texts(rows[4 + k]),
            (std::vector<std::string>{"Г" + name, "Щит № 1", "гр " + name, "Щит№1 - гр " + name,
                                      "ВВГ", "4 x 2,5", "20", "", "", ""}));
    }
    EXPECT_EQ(Report::Texts(rows[7]), std::vector<std::string>(10, ""));
    // The copied rows keep the shape of the template's body row.
    EXPECT_EQ(rows[7].child("w:tc").child("w:tcPr").child("w:tcW").attribute("w:w").as_int(),
              rows[4].child("w:tc").child("w:tcPr").child("w:tcW").attribute("w:w").as_int());
}

TEST_F(WordReport, EmptyJournalKeepsOneEmptyRowAndTheStamp) {
    const Report report = PanelJournalReport(0);
    const auto rows = Report::Rows(report.Table());
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(Report::Texts(rows[4]), std::vector<std::string>(10, ""));
    EXPECT_EQ(report.FooterCell(4, 7), kStamp[0]);
}

// A report is readable by others as any new file is: 0666 less the umask (022 here: 0644), not
// the owner-only 0600 of its temporary file.
TEST_F(WordReport, IsWrittenWithTheUsualPermissions) {
    const mode_t mask = ::umask(022);
    PanelJournalReport(1);
    ::umask(mask);
    const QStringList files = Written();
    ASSERT_EQ(files.size(), 1);
    struct stat info {};
    ASSERT_EQ(::stat(reportDir_.filePath(files.first()).toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST_F(WordReport, JournalStampCells) {
    const Report report = PanelJournalReport(1);
    EXPECT_EQ(report.FooterCell(4, 7), kStamp[0]);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(report.FooterCell(7 + k, 2), kStamp[k]) << k;
    EXPECT_TRUE(report.body.select_node("//w:body/w:sectPr/w:titlePg"));
    EXPECT_EQ(Report::Rows(report.FooterTable()).size(), 11u);
}

// Switchboard 1 (10 kW) with panel 1 (5 kW): two rows, 30 cells, 30 / 15 + 1 = 3 body rows.
TEST_F(WordReport, NetworkTableOfTwoLinesFillsRowsThreeAndFour) {
    AddPanel(AddSwitchboard(1), 1);
    TForm4* window = TForm4::NewResultWindow();
    window->TableKind = 0;
    QTest::mouseClick(window->BitBtn3, Qt::LeftButton);
    const Report report = Only();
    const auto rows = Report::Rows(report.Table());
    ASSERT_EQ(rows.size(), 5u);
    const auto first = Report::Texts(rows[2]);
    const auto second = Report::Texts(rows[3]);
    ASSERT_EQ(first.size(), 15u);
    // Installed 10, design 10: coefficient 10 / 10 = 1.
    EXPECT_EQ((std::vector<std::string>{first[0], first[1], first[2], first[3]}),
              (std::vector<std::string>{"Грщ-1", "10", "1", "10"}));
    EXPECT_EQ(second[0], "Щит-1");
    EXPECT_EQ(second[1], "5");
    EXPECT_EQ(Report::Texts(rows[4]), std::vector<std::string>(15, ""));
    EXPECT_EQ(report.FooterCell(1, 7), kStamp[0]);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(report.FooterCell(3 + k, 2), kStamp[k]) << k;
    EXPECT_TRUE(report.body.select_node("//w:body/w:sectPr/w:titlePg"));
}

// Panel 1 with two group lines: 24 cells, 24 / 12 + 1 = 3 body rows from row 3.
TEST_F(WordReport, ConsumersTableOfAPanel) {
    TSitid& panel = AddPanel(AddSwitchboard(1), 1);
    AddGroup(panel, "1.1", 4);
    AddGroup(panel, "1.2", 2);
    TForm4* window = TForm4::NewResultWindow();
    window->TableKind = 1;
    window->PanelNumber = 1;
    QTest::mouseClick(window->BitBtn3, Qt::LeftButton);
    const Report report = Only();
    const auto rows = Report::Rows(report.Table());
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(Report::Texts(rows[2]).at(0), "1.1");
    EXPECT_EQ(Report::Texts(rows[3]).at(0), "1.2");
    EXPECT_EQ(Report::Texts(rows[4]), std::vector<std::string>(12, ""));
    EXPECT_EQ(report.FooterCell(1, 7), kStamp[0]);
    EXPECT_EQ(report.FooterCell(7, 2), kStamp[4]);
}

// Each template's table has a column for every cell of its report's rows: the report fills the
// table cell by cell and starts a new row after as many cells as a row has.
TEST_F(WordReport, EachTemplateHasAColumnForEveryCellOfItsRows) {
    TSitid& panel = AddPanel(AddSwitchboard(1), 1);
    AddGroup(panel, "1.1", 4);
    const struct {
        const char* report;
        std::function<void()> write;
        int firstBodyRow;
        int cells;
    } cases[] = {
        {"journal",
         [] {
             Form8->setProperty("Tag", 3);
             Form8->FillPanelJournal(1);
             QTest::mouseClick(Form8->BitBtn2, Qt::LeftButton);
         },
         5, kJournalReportCells},
        {"network table",
         [] {
             TForm4* window = TForm4::NewResultWindow();
             window->TableKind = 0;
             QTest::mouseClick(window->BitBtn3, Qt::LeftButton);
         },
         3, kNetworkReportCells},
        {"consumers table",
         [] {
             TForm4* window = TForm4::NewResultWindow();
             window->TableKind = 1;
             window->PanelNumber = 1;
             QTest::mouseClick(window->BitBtn3, Qt::LeftButton);
         },
         3, kConsumerTableCells},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.report);
        c.write();
        const Report report = Only();
        const auto rows = Report::Rows(report.Table());
        ASSERT_GE(rows.size(), std::size_t(c.firstBodyRow + 1));
        for (std::size_t r = c.firstBodyRow - 1; r < rows.size(); ++r)
            EXPECT_EQ(Report::Texts(rows[r]).size(), std::size_t(c.cells)) << "row " << r + 1;
        for (const QString& name : Written()) QFile::remove(reportDir_.filePath(name));
        opened_.clear();
    }
}

// Besides the filled cells and the first-page setting, the document is its template.
TEST_F(WordReport, RestOfTheTemplateUnchanged) {
    const Report report = PanelJournalReport(2);
    Parts templ = ReadPackage(ProgramFile("Template/Cable/A3(420x297).dotx"));
    for (const auto& [name, bytes] : templ) {
        if (name.ends_with('/') || name == "word/document.xml" || name == "word/footer1.xml")
            continue;
        if (name == "[Content_Types].xml") {
            EXPECT_NE(report.parts.at(name).find("wordprocessingml.document.main+xml"),
                      std::string::npos);
            continue;
        }
        EXPECT_EQ(report.parts.at(name), bytes) << name;
    }
    pugi::xml_document original;
    original.load_string(templ["word/document.xml"].c_str());
    const auto before = Report::Rows(original.select_node("//w:tbl").node());
    const auto after = Report::Rows(report.Table());
    for (int k = 0; k < 4; ++k) EXPECT_EQ(Report::Texts(after[k]), Report::Texts(before[k])) << k;
    pugi::xml_document footer;
    footer.load_string(templ["word/footer1.xml"].c_str());
    const auto footerBefore = Report::Rows(footer.select_node("//w:tbl").node());
    const auto footerAfter = Report::Rows(report.FooterTable());
    ASSERT_EQ(footerAfter.size(), footerBefore.size());
    for (size_t r = 0; r < footerBefore.size(); ++r) {
        auto expected = Report::Texts(footerBefore[r]);
        if (r == 3) expected[6] = kStamp[0];
        if (r >= 7) expected[1] = kStamp[r - 6];
        EXPECT_EQ(Report::Texts(footerAfter[r]), expected) << r;
    }
}

TEST_F(WordReport, ForbiddenCharactersDroppedAndTabsKept) {
    AdjustmentProjectForm->DocumentCode = "ВП\x01-01\tЭМ\x1F";
    const Report report = PanelJournalReport(0);
    EXPECT_EQ(report.FooterCell(4, 7), "ВП-01\tЭМ");
    EXPECT_EQ(XmlSafeText("a\xC0\xAF"
                          "b\xEF\xBF\xBE"
                          "c\xF0\x9F\x99\x82"),
              "abc\xF0\x9F\x99\x82");
}

struct BrokenTemplate {
    const char* what;
    std::function<void(Parts&)> damage;
    std::string message;
};

class WordReportFailure : public WordReport,
                          public ::testing::WithParamInterface<BrokenTemplate> {};

TEST_P(WordReportFailure, ShowsAMessageAndWritesNothing) {
    const std::string path = ProgramFile("Template/Cable/A3(420x297).dotx");
    Parts parts = ReadPackage(path);
    QFile::remove(QString::fromStdString(path));
    if (GetParam().damage) {
        GetParam().damage(parts);
        WritePackage(path, parts);
    }
    responder_.ExpectMessage(
        "Шаблон отчета " + path + " " + GetParam().message + "\nДокумент не создан.", "Error",
        platform::mrOk);
    TSitid& panel = AddPanel(AddSwitchboard(1), 1);
    AddGroup(panel, "1.1", 4);
    Form8->setProperty("Tag", 3);
    Form8->FillPanelJournal(1);
    QTest::mouseClick(Form8->BitBtn2, Qt::LeftButton);
    responder_.VerifyDone();
    EXPECT_TRUE(Written().isEmpty());
    EXPECT_TRUE(QDir(reportDir_.path()).entryList(QDir::Hidden | QDir::Files).isEmpty());
    EXPECT_TRUE(opened_.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Templates, WordReportFailure,
    ::testing::Values(BrokenTemplate{"missing", nullptr, "не найден."},
                      BrokenTemplate{
                          "no body table",
                          [](Parts& p) {
                              p["word/document.xml"] =
                                  "<w:document xmlns:w=\"http://schemas.openxmlformats.org/"
                                  "wordprocessingml/2006/main\"><w:body><w:p/></w:body>"
                                  "</w:document>";
                          },
                          "не содержит таблицы."},
                      BrokenTemplate{"no footer table",
                                     [](Parts& p) {
                                         p["word/footer1.xml"] =
                                             "<w:ftr xmlns:w=\"http://schemas.openxmlformats.org/"
                                             "wordprocessingml/2006/main\"><w:p/></w:ftr>";
                                     },
                                     "не содержит таблицы штампа в колонтитуле первой страницы."},
                      BrokenTemplate{"a body row too short",
                                     [](Parts& p) {
                                         std::string& xml = p["word/document.xml"];
                                         // The last row loses its last cell.
                                         const size_t end = xml.rfind("</w:tr>");
                                         const size_t cell = xml.rfind("<w:tc>", end);
                                         xml.erase(cell, end - cell);
                                     },
                                     "не содержит ячейки таблицы (строка 5, столбец 10)."}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (c == ' ') c = '_';
        return name;
    });

TEST_F(WordReport, UnwritableFolderShowsAMessage) {
    QFile blocker(reportDir_.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const std::string folder = reportDir_.filePath("file/reports").toStdString();
    reports::SetReportFolder(folder);
    responder_.ExpectMessage(
        "Не удается создать папку " + folder + " для документа.\nДокумент не создан.", "Error",
        platform::mrOk);
    AddPanel(AddSwitchboard(1), 1);
    TForm4::NewResultWindow()->BitBtn3->click();
    responder_.VerifyDone();
    EXPECT_TRUE(opened_.empty());
}

// The document is written; the message names it.
TEST_F(WordReport, NoDesktopApplicationIsReported) {
    platform::SetShellOpenHook([this](const std::string& url) {
        const std::string path =
            QUrl::fromEncoded(QByteArray::fromStdString(url)).toLocalFile().toStdString();
        responder_.ExpectMessage("Документ " + path +
                                     " записан, но не удается открыть его: нет программы для "
                                     "документов Word.",
                                 "Error", platform::mrOk);
        return false;
    });
    AddPanel(AddSwitchboard(1), 1);
    TForm4::NewResultWindow()->BitBtn3->click();
    responder_.VerifyDone();
    ASSERT_EQ(Written().size(), 1);
    EXPECT_EQ(responder_.Messages().size(), 1u);
}

// The document is opened by the desktop's opener, a process that may take its time, or keep
// running as long as the word processor it starts. "Отчет" comes back at once, the window takes
// the user's clicks meanwhile, and a failure of the opener is still reported when it ends.
TEST_F(WordReport, TheWindowGoesOnWhileTheOpenerRuns) {
    struct Case {
        const char* what;
        int status;  // the opener's
        bool reported;
    };
    for (const Case& c : {Case{"taken", 0, false}, Case{"no application", 3, true}}) {
        SCOPED_TRACE(c.what);
        platform::SetShellOpenHook(nullptr);
        FakeOpener opener;
        OpenerGate gate(opener.Path("gate"));
        ASSERT_TRUE(gate.IsOpen());
        opener.Install("read line < '" + gate.Path() + "'\nexit " + std::to_string(c.status));
        QDir(reportDir_.path()).removeRecursively();
        AddPanel(AddSwitchboard(1), 1);
        TForm4* window = TForm4::NewResultWindow();
        window->show();
        QTest::mouseClick(window->BitBtn3, Qt::LeftButton);
        // Written and handed to the opener, which still waits.
        ASSERT_EQ(Written().size(), 1);
        const std::string path = reportDir_.filePath(Written().first()).toStdString();
        QTRY_COMPARE(opener.Opened().size(), std::size_t(1));
        EXPECT_EQ(opener.Opened()[0], QUrl::fromLocalFile(QString::fromStdString(path))
                                          .toEncoded(QUrl::FullyEncoded)
                                          .toStdString());
        EXPECT_FALSE(platform::WaitForShellOpeners(0));
        // The window answers meanwhile: "Закрыть" closes it.
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        EXPECT_FALSE(window->isVisible());
        EXPECT_TRUE(responder_.Messages().empty());
        if (c.reported)
            responder_.ExpectMessage("Документ " + path +
                                         " записан, но не удается открыть его: нет программы "
                                         "для документов Word.",
                                     "Error", platform::mrOk);
        ASSERT_TRUE(gate.Release());
        QTRY_VERIFY(platform::WaitForShellOpeners(0));
        responder_.VerifyDone();
        EXPECT_EQ(responder_.Messages().size(), c.reported ? 1u : 0u);
        DeleteProjectTree(ProjectRoot);
        ProjectRoot = new TGrsed;
        ProjectRoot->TotalDesignPower = 10;
    }
}

TEST(ReportPath, NamedByReportAndTimeNeverReplacingAFile) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const QDateTime time(QDate(2024, 3, 5), QTime(14, 7, 9));
    const std::string first = reports::NewReportPath(folder, "Кабельный журнал (общий). ", time);
    EXPECT_EQ(first, folder + "/Кабельный журнал (общий) 2024-03-05 14-07-09.docx");
    QFile(QString::fromStdString(first)).open(QIODevice::WriteOnly);
    EXPECT_EQ(reports::NewReportPath(folder, "Кабельный журнал (общий). ", time),
              folder + "/Кабельный журнал (общий) 2024-03-05 14-07-09 (2).docx");
}

// The stamp dialog: whatever the edits hold when it closes, by any way, becomes the title block
// and marks the project changed.
struct Closing {
    const char* how;
    std::function<void(TAdjustmentProjectForm&)> close;
};

class StampDialog : public AppFixture, public ::testing::WithParamInterface<Closing> {};

TEST_P(StampDialog, ClosingTakesTheEditsAndMarksTheProjectChanged) {
    Form1->ProjectSaved = 1;
    Form1->ToolButton4->setEnabled(false);
    responder_.ExpectModal("TAdjustmentProjectForm", [](QDialog& dialog) {
        auto& form = static_cast<TAdjustmentProjectForm&>(dialog);
        form.show();
        form.Edit1->clear();
        QTest::keyClicks(form.Edit1, "VP-02");
        form.Edit5->clear();
        QTest::keyClicks(form.Edit5, "Smirnova");
        GetParam().close(form);
        EXPECT_FALSE(form.isVisible());
        return platform::mrNone;
    });
    platform::ShowModal(*AdjustmentProjectForm);
    EXPECT_EQ(AdjustmentProjectForm->DocumentCode, "VP-02");
    EXPECT_EQ(AdjustmentProjectForm->NormControl, "Smirnova");
    EXPECT_EQ(Form1->ProjectSaved, 0);
    EXPECT_TRUE(Form1->ToolButton4->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, StampDialog,
    ::testing::Values(
        Closing{"OK",
                [](TAdjustmentProjectForm& f) { QTest::mouseClick(f.Button1, Qt::LeftButton); }},
        Closing{"closeBox", [](TAdjustmentProjectForm& f) { f.close(); }},
        Closing{"Escape", [](TAdjustmentProjectForm& f) { QTest::keyClick(&f, Qt::Key_Escape); }}),
    [](const auto& info) { return std::string(info.param.how); });

// Each label shows its whole text in the desktop's font, beside its edit.
TEST_F(AppFixture, StampDialogLabelsHoldTheirTexts) {
    AdjustmentProjectForm->show();
    ExpectNothingCutOff(*AdjustmentProjectForm);
    const std::pair<QLabel*, QLineEdit*> fields[] = {
        {AdjustmentProjectForm->Label1, AdjustmentProjectForm->Edit1},
        {AdjustmentProjectForm->Label2, AdjustmentProjectForm->Edit2},
        {AdjustmentProjectForm->Label3, AdjustmentProjectForm->Edit3},
        {AdjustmentProjectForm->Label4, AdjustmentProjectForm->Edit4},
        {AdjustmentProjectForm->Label5, AdjustmentProjectForm->Edit5},
    };
    for (const auto& [label, edit] : fields) {
        EXPECT_LT(label->geometry().right(), edit->x()) << label->text().toStdString();
        EXPECT_GE(label->x(), 0);
    }
    AdjustmentProjectForm->hide();
}

// Types the text into the edit key by key, whatever its letters.
void TypeInto(QLineEdit* edit, const QString& text) {
    for (const QChar letter : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(letter), Qt::NoModifier);
}

// A text the project file cannot hold (a character outside Windows-1251, more than 254 bytes in
// it: a Cyrillic letter is one byte there, two in UTF-8) is refused when the dialog closes, with
// a message naming the field; the dialog stays open and takes nothing until it is mended.
TEST_F(AppFixture, StampDialogRefusesATextTheProjectFileCannotHold) {
    struct Case {
        const char* what;
        int field;  // edit 1 to 5
        QString text;
        std::string message;  // empty: taken
    };
    const QString letters254 = QString(254, QChar(0x0436));  // "ж"
    const Case cases[] = {
        {"sign outside the code page", 2, "Иванов ✓",
         "Поле «Разработал» содержит символы, "
         "которые нельзя сохранить в файле проекта."},
        {"255 letters", 5, letters254 + "ж",
         "Поле «Нормоконтроль» длиннее 254 символов: столько нельзя сохранить в файле проекта."},
        {"255 digits", 1, QString(255, '7'),
         "Поле «Обозначение документа» длиннее 254 символов: столько нельзя сохранить в файле "
         "проекта."},
        {"254 letters", 4, letters254, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AdjustmentProjectForm->DocumentCode = "ВП-01";
        QLineEdit* edits[] = {AdjustmentProjectForm->Edit1, AdjustmentProjectForm->Edit2,
                              AdjustmentProjectForm->Edit3, AdjustmentProjectForm->Edit4,
                              AdjustmentProjectForm->Edit5};
        for (QLineEdit* edit : edits) edit->clear();
        AdjustmentProjectForm->Edit1->setText("ВП-01");
        QLineEdit* edit = edits[c.field - 1];
        responder_.ExpectModal("TAdjustmentProjectForm", [&](QDialog& dialog) {
            auto& form = static_cast<TAdjustmentProjectForm&>(dialog);
            form.show();
            edit->clear();
            TypeInto(edit, c.text);
            EXPECT_EQ(edit->text(), c.text);
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            if (c.message.empty()) {
                EXPECT_FALSE(form.isVisible());
                return platform::mrNone;
            }
            // Still open on the refused text, and nothing taken.
            EXPECT_TRUE(form.isVisible());
            EXPECT_EQ(edit->selectedText(), c.text);
            EXPECT_EQ(form.DocumentCode, "ВП-01");
            // Mended, it closes.
            edit->clear();
            TypeInto(edit, "Петров");
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            EXPECT_FALSE(form.isVisible());
            return platform::mrNone;
        });
        if (!c.message.empty())
            responder_.ExpectMessage(c.message, "Предупреждение.", platform::mrOk);
        platform::ShowModal(*AdjustmentProjectForm);
        responder_.VerifyDone();
        const std::vector<std::string> stamp = AdjustmentProjectForm->StampStrings();
        EXPECT_EQ(stamp[c.field - 1],
                  c.message.empty() ? c.text.toStdString() : std::string("Петров"));
    }
}

TEST_F(AppFixture, StampDialogClosedUnchangedLeavesTheProjectSaved) {
    Form1->ProjectSaved = 1;
    responder_.ExpectModal("TAdjustmentProjectForm", [](QDialog& dialog) {
        dialog.show();
        QTest::mouseClick(static_cast<TAdjustmentProjectForm&>(dialog).Button1, Qt::LeftButton);
        return platform::mrNone;
    });
    platform::ShowModal(*AdjustmentProjectForm);
    EXPECT_EQ(Form1->ProjectSaved, 1);
}

}  // namespace
