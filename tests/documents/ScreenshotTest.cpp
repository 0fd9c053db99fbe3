// Pictures of the title block dialog, the journal window and a results window (as opened and
// enlarged), and of the general scheme and a journal preview of a large project, taken from the
// screen when VELTRANOVA_SCREENSHOTS names a folder.
#include <gtest/gtest.h>

#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "AppFixture.h"
#include "GeneratedProject.h"
#include "ScreenCapture.h"
#include "TablesFixture.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "documents/AdjustmentProject.h"
#include "documents/JournalRows.h"
#include "documents/Kabj2.h"
#include "documents/Preview.h"
#include "documents/ResultTable.h"
#include "drawings/DrawingState.h"
#include "platform/Conversions.h"

namespace {

class Screenshots : public TablesTest {
protected:
    void SetUp() override {
        TablesTest::SetUp();
        folder_ = ScreenshotFolder();
        if (folder_.empty()) GTEST_SKIP() << "VELTRANOVA_SCREENSHOTS not set";
        TGrsed& sw = AddSwitchboard(1);
        for (int number = 1; number <= 3; ++number) {
            TSitid& panel = AddPanel(sw, number);
            for (int g = 1; g <= 4; ++g)
                AddGroup(panel, platform::IntToStr(number) + "." + platform::IntToStr(g), 2);
        }
        Form1->show();
    }
    void Capture(QWidget& window, const std::string& name) { CaptureWindow(window, folder_, name); }
    std::string folder_;
};

TEST_F(Screenshots, TitleBlockJournalAndResults) {
    AdjustmentProjectForm->Edit1->setText("ЭМ-01.2024");
    AdjustmentProjectForm->Edit2->setText("Иванов");
    AdjustmentProjectForm->show();
    Capture(*AdjustmentProjectForm, "TAdjustmentProjectForm.png");
    AdjustmentProjectForm->hide();

    Form8->Label2->setText("(общий)");
    Form1->FillCableJournal(0, 0);
    Form8->show();
    Capture(*Form8, "TForm8-journal.png");
    Form8->hide();

    Form1->ShowNetworkResults();
    ASSERT_NE(Form4, nullptr);
    Capture(*Form4, "TForm4-results.png");
    Form4->resize(1000, 520);
    Capture(*Form4, "TForm4-results-enlarged.png");
}

// The pages of a journal longer than a page, as the preview lays them out.
TEST_F(Screenshots, JournalPages) {
    TSitid& panel = *ProjectRoot->Switchboards.First->Panels.First;
    for (int g = 5; g <= 40; ++g) AddGroup(panel, "1." + platform::IntToStr(g), 2);
    Form8->setProperty("Tag", 0);
    Form1->FillCableJournal(0, 0);
    Form8->PreviewCableJournal(0, Form8->TableRowCount, TForm8::JournalTitle(0, 0));
    ASSERT_TRUE(Form8->PageBitmap);
    EXPECT_TRUE(Form8->PageBitmap->Image()
                    .copy(0, 0, 800, 2070)
                    .save(QString::fromStdString(folder_ + "/journal-pages.png")));
}

}  // namespace

namespace {

// A generated project of 10 switchboards x 30 panels x 30 lines on a desktop-sized main window.
class LargeProjectScreenshots : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        folder_ = ScreenshotFolder();
        if (folder_.empty()) GTEST_SKIP() << "VELTRANOVA_SCREENSHOTS not set";
        Form1->resize(1280, 900);
        Form1->show();
        BuildGeneratedProject(10, 30, 30);
    }
    void Capture(QWidget& window, const std::string& name) { CaptureWindow(window, folder_, name); }
    std::string folder_;
};

// The general scheme at each scale, at its start and paged down to where its cascades begin.
TEST_F(LargeProjectScreenshots, GeneralSchemeAtEachScaleAndJournalPreview) {
    for (int item = 0; item <= 2; ++item) {
        Form1->ComboBox1->setCurrentIndex(item);
        // "Документы" > "Схемы" > "Общая схема".
        Form1->N63Click();
        ASSERT_EQ(Form2->PictureKind(), GeneralSchemePicture);
        const std::string scale = std::to_string(100 - 25 * item);
        Capture(*Form1, "large-scheme-" + scale + ".png");
        auto* area = Form2->findChild<QScrollArea*>();
        ASSERT_NE(area, nullptr);
        area->verticalScrollBar()->setFocus();
        for (int page = 0; page < 3; ++page)
            QTest::keyClick(area->verticalScrollBar(), Qt::Key_PageDown);
        Capture(*Form1, "large-scheme-" + scale + "-paged.png");
    }
    Form8->JournalNumber = 0;
    Form8->PreviewCableJournal(0, int(JournalEntries(*ProjectRoot, 0, 0).size()),
                               TForm8::JournalTitle(0, 0));
    Capture(*Form1, "large-journal-preview.png");
    auto* pages = Form7->findChild<QScrollArea*>();
    ASSERT_NE(pages, nullptr);
    pages->verticalScrollBar()->setFocus();
    QTest::keyClick(pages->verticalScrollBar(), Qt::Key_End);
    Capture(*Form1, "large-journal-preview-end.png");
}

}  // namespace
