// The general scheme as the user meets it on the scheme window: made at the scale of the combo
// box, shown with the project's path, copied for printing; redrawn when an example project is
// opened from the File menu, when another scale is chosen and from the menu "Общая схема"; and,
// when its picture cannot be had in memory, the fallback to "50%" with its messages.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "DrawingFixture.h"
#include "GeneratedProject.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "drawings/DrawingState.h"
#include "editing/Magistral.h"
#include "model/Chains.h"
#include "platform/Bitmap.h"
#include "platform/Image.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"

using platform::CanvasOpKind;

namespace {

const char kLongMessage[] =
    "Недостаточно памяти для обработки команды. Масштаб устанавливается в 50%";
const char kShortMessage[] = "Недостаточно памяти для обработки команды.";

}  // namespace

class NetworkScheme : public DrawingTest {
protected:
    // The example projects and the reference tables of the program folder.
    void UseProgramData() { CopyFolder(PROGRAM_DATA_DIR, programDir_.path().toStdString()); }

    // Opens an example project from the File menu, where the first start lists them.
    void OpenExample(int number) {
        const QList<QAction*> items = Form1->File1->actions();
        const std::string path =
            platform::ProgramFolder() + "Project/Example" + std::to_string(number) + ".VPQ";
        for (QAction* item : items) {
            if (item->text().toStdString() == path) {
                item->trigger();
                return;
            }
        }
        FAIL() << "no menu item " << path;
    }
};

// ---------------------------------------------------------------------------------------------
// Preparation and finish

TEST_F(NetworkScheme, DrawsAtTheScaleOfTheComboBoxAndLeavesItsCopyForPrinting) {
    AddTwoPanelSwitchboard();
    Form1->ProjectFileName = "/home/user/Проект.VPQ";
    struct Case {
        int item;
        int step;
        int width, height;
    };
    const std::vector<Case> cases = {
        {0, 160, 1800, 1200}, {1, 120, 900, 1200}, {2, 80, 900, 1200}, {-1, 160, 1800, 1200}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        Form2->hide();
        // A trunk chosen earlier does not outlive the picture.
        FormMagistral->TrunkChosen = true;
        FormMagistral->UpstreamPanelNo = 2;
        Form1->ComboBox1->setCurrentIndex(c.item);
        Form1->ShowNetworkScheme();
        EXPECT_FALSE(FormMagistral->TrunkChosen);
        EXPECT_EQ(FormMagistral->UpstreamPanelNo, 0);
        EXPECT_EQ(DrawingStep, c.step);
        EXPECT_FALSE(Form2->isHidden());
        EXPECT_EQ(Form2->windowTitle().toStdString(), "/home/user/Проект.VPQ");
        EXPECT_EQ(Form1->StatusText(), "/home/user/Проект.VPQ");
        ASSERT_NE(Form2->Image1, nullptr);
        EXPECT_EQ(Form2->PictureKind(), GeneralSchemePicture);
        EXPECT_EQ(Form2->Image1->width(), c.width);
        EXPECT_EQ(Form2->Image1->height(), c.height);
        ASSERT_NE(Form1->PictureBitmap, nullptr);
        EXPECT_EQ(Form1->PictureBitmap->Image(), Form2->Image1->Picture().Image());
        // The brush is clear from the start: the power system's box shows what lies below.
        const auto& ops = Ops();
        ASSERT_FALSE(ops.empty());
        EXPECT_EQ(OpsOf(ops, CanvasOpKind::Rectangle).at(0).Brush.Style(), platform::bsClear);
        // At 50 % the 5-point "Arial001" (5 * 96 / 72 = 6.67 -> 7 px); else the picture's font.
        for (const auto& op : OpsOf(ops, CanvasOpKind::TextOut)) {
            if (c.step == 80) {
                EXPECT_EQ(op.Font.Name(), "Arial001");
                EXPECT_EQ(op.Font.Height(), -7);
            } else {
                EXPECT_EQ(op.Font, platform::TFont());
            }
        }
    }
}

TEST_F(NetworkScheme, RasterShowsTheBusesTheDotsAndTheGroupLines) {
    AddTwoPanelSwitchboard();
    Form1->ComboBox1->setCurrentIndex(0);
    Form1->ShowNetworkScheme();
    const platform::TCanvas& canvas = *Form2->Image1->Canvas();
    // S = 160: the section bus from 120 to 200 at 297 .. 303; the switchboard's feeder at x 160
    // down to its bus at 460; panel 1 (column 0) with its bus at 780 and its first group line
    // from (160, 780) down to 920, its conductor strokes above y 860.
    ExpectPixels(
        canvas,
        {
            {120, 297, platform::clBlack},  // the section bus's top left corner
            {130, 300, platform::clWhite},  // inside it, clear: the white ground
            {160, 460, platform::clBlack},  // the dot where the feeder meets the switchboard's bus
            {160, 900, platform::clBlack},  // panel 1's first group line
            {161, 900, platform::clWhite},
            {800, 1100, platform::clWhite},  // below and beside everything
        });
}

TEST_F(NetworkScheme, PictureScrollsInTheSchemeWindow) {
    Form1->show();
    AddTwoPanelSwitchboard();
    Form1->ComboBox1->setCurrentIndex(0);
    Form1->ShowNetworkScheme();
    platform::TImage* picture = Form2->Image1;
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->isVisible());
    auto* area = Form2->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->widget(), picture);
    EXPECT_EQ(area->horizontalScrollBar()->maximum(), 1800 - area->viewport()->width());
    EXPECT_EQ(area->verticalScrollBar()->maximum(), 1200 - area->viewport()->height());
}

// ---------------------------------------------------------------------------------------------
// Out of memory

TEST_F(NetworkScheme, PictureBeyondTheMemoryBudgetFallsBackToHalfScale) {
    AddTwoPanelSwitchboard();
    struct Case {
        const char* what;
        int item;
        // Memory comes back once the first message is answered.
        bool memoryBack;
        std::vector<std::string> messages;
        int kind;  // of the picture left
        int fallbacks;
        int pages;
    };
    // A budget of 0 bytes: the picture's record cannot keep its first operation.
    const std::vector<Case> cases = {
        {"fits at 50 %", 0, true, {kLongMessage}, GeneralSchemePicture, 0, 1},
        {"never fits, from 100 %",
         0,
         false,
         {kLongMessage, kLongMessage, kShortMessage},
         NoPicture,
         2,
         0},
        {"never fits, from 50 %", 2, false, {kLongMessage, kShortMessage}, NoPicture, 2, 0},
    };
    std::vector<std::string> shown;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OutOfMemoryFallbacks = 0;
        DrawingMemoryBudget = 0;
        shown.clear();
        responder_.AnswerFreely(
            [&](const platform::MessageRecord& message) {
                shown.push_back(message.text);
                EXPECT_EQ(message.caption, "Предупреждение");
                EXPECT_EQ(message.icon, platform::MsgIcon::Warning);
                if (c.memoryBack) DrawingMemoryBudget = kDefaultDrawingMemoryBudget;
                return int(platform::mrOk);
            },
            {});
        Form1->ComboBox1->setCurrentIndex(c.item);
        Form1->ShowNetworkScheme();
        responder_.AnswerFreely({}, {});
        EXPECT_EQ(shown, c.messages);
        EXPECT_EQ(DrawingStep, 80);
        EXPECT_EQ(Form1->ComboBox1->currentIndex(), 2);
        ASSERT_NE(Form2->Image1, nullptr);
        EXPECT_EQ(Form2->PictureKind(), c.kind);
        EXPECT_EQ(OutOfMemoryFallbacks, c.fallbacks);
        EXPECT_EQ(Form1->SheetPageCount, c.pages);
        ASSERT_NE(Form1->PictureBitmap, nullptr);
        EXPECT_EQ(Form1->PictureBitmap->Empty(), c.kind == NoPicture);
        // A picture that failed keeps no used sheet.
        if (c.kind == NoPicture) {
            EXPECT_EQ(Form1->CountUsedSheets(), 0);
        }
    }
    DrawingMemoryBudget = 0;
    // From now on a failure at any scale only says so: the picture stays empty and a change of
    // scale draws nothing.
    responder_.ExpectMessage(kShortMessage, "Предупреждение", platform::mrOk);
    Form1->ComboBox1->setCurrentIndex(0);
    Form1->ShowNetworkScheme();
    responder_.VerifyDone();
    EXPECT_EQ(DrawingStep, 160);
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(Form2->PictureKind(), NoPicture);
    EXPECT_EQ(Form2->Image1->width(), 0);
    EXPECT_EQ(OutOfMemoryFallbacks, 2);
    const QPointer<platform::TImage> left = Form2->Image1;
    QTest::keyClick(Form1->ComboBox1, Qt::Key_Down);
    EXPECT_EQ(DrawingStep, 120);
    EXPECT_FALSE(left.isNull());
    EXPECT_EQ(Form2->Image1, left.data());
}

// ---------------------------------------------------------------------------------------------
// Callers

TEST_F(NetworkScheme, OpeningAnExampleShowsItsWholeNetwork) {
    UseProgramData();
    for (int number = 1; number <= 3; ++number) {
        SCOPED_TRACE(number);
        OpenExample(number);
        ASSERT_NE(ProjectRoot, nullptr);
        ASSERT_EQ(Form2->PictureKind(), GeneralSchemePicture);
        // The combo box starts on "75%".
        EXPECT_EQ(DrawingStep, 120);
        int switchboards = 0;
        int panels = 0;
        int groups = 0;
        for (TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot)) {
            ++switchboards;
            for (TSitid* panel : chains::PanelsOf(*sw)) {
                ++panels;
                groups += panel->SchemeGroupCount;
            }
        }
        // Every switchboard, panel and group line of the tree, once.
        const std::vector<PlacedText> texts = TextsOf(Ops());
        EXPECT_EQ(Count(texts, "ГРЩ№ "), switchboards);
        EXPECT_EQ(Count(texts, "Щит№ "), panels);
        EXPECT_EQ(Count(texts, "Гр- "), groups);
        EXPECT_EQ(Count(texts, "Imax- "), groups);
        EXPECT_GT(Form1->SheetPageCount, 0);
    }
}

TEST_F(NetworkScheme, ChoosingAScaleDrawsTheSchemeAgain) {
    UseProgramData();
    OpenExample(2);
    Form1->ComboBox1->setFocus();
    struct Step {
        Qt::Key key;
        int item;
        int step;
    };
    for (const Step& s :
         {Step{Qt::Key_Down, 2, 80}, Step{Qt::Key_Home, 0, 160}, Step{Qt::Key_Down, 1, 120}}) {
        SCOPED_TRACE(s.item);
        const QPointer<platform::TImage> before = Form2->Image1;
        QTest::keyClick(Form1->ComboBox1, s.key);
        EXPECT_EQ(Form1->ComboBox1->currentIndex(), s.item);
        EXPECT_EQ(DrawingStep, s.step);
        // A new picture in place of the old one, with the example's 21 group lines.
        EXPECT_TRUE(before.isNull());
        EXPECT_EQ(Form2->PictureKind(), GeneralSchemePicture);
        EXPECT_EQ(Count(TextsOf(Ops()), "Гр- "), 6 + 6 + 4 + 2 + 3);
    }
}

TEST_F(NetworkScheme, MenuGeneralSchemeDrawsItAsTheDocumentToPrint) {
    AddTwoPanelSwitchboard();
    Form1->DocumentKind = 0;
    Form2->FreePicture();
    Form1->ComboBox1->setCurrentIndex(2);
    Form1->N63->trigger();
    EXPECT_EQ(Form2->PictureKind(), GeneralSchemePicture);
    EXPECT_EQ(DrawingStep, 80);
    EXPECT_EQ(Form1->DocumentKind, SchemePictureDocument);
}

// Whatever is printed of the general scheme holds every text drawn: each text starts on a used
// sheet. Example 2 at 75 % has six group lines whose lowest labels hang a few pixels past the
// first row of sheets.
TEST_F(NetworkScheme, EveryTextLiesOnAPrintedSheet) {
    UseProgramData();
    for (int number = 1; number <= 3; ++number) {
        OpenExample(number);
        Form1->ComboBox1->setFocus();
        for (const Qt::Key key : {Qt::Key_Home, Qt::Key_Down, Qt::Key_Down}) {
            QTest::keyClick(Form1->ComboBox1, key);
            SCOPED_TRACE("Example" + std::to_string(number) + " step " +
                         std::to_string(DrawingStep));
            for (const PlacedText& t : TextsOf(Ops())) {
                bool printed = false;
                for (const std::vector<TSheetCell>& row : Form1->PrintSheets)
                    for (const TSheetCell& cell : row)
                        printed = printed ||
                                  (cell.Used && cell.Rect.Left <= t.x && t.x < cell.Rect.Right &&
                                   cell.Rect.Top <= t.y && t.y < cell.Rect.Bottom);
                EXPECT_TRUE(printed) << t.x << "," << t.y << " " << t.text;
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// A large project

// Generated, 10 switchboards x 30 panels x 30 lines: a picture of 61,200 x 124,800 px, far
// beyond what pixels of it would take. Its lines reach down to y 50,000: the window is scrolled
// there, and to the last line of the tree, with the scroll bars' keys.
TEST_F(NetworkScheme, ScrolledFarALargeSchemeShowsItsLines) {
    Form1->resize(1200, 800);
    Form1->show();
    Form1->DropProject();
    BuildGeneratedProject(10, 30, 30);
    Form1->ComboBox1->setCurrentIndex(0);
    Form1->ShowNetworkScheme();
    ASSERT_EQ(Form2->PictureKind(), GeneralSchemePicture);
    EXPECT_EQ(Form2->Image1->width(), 61200);
    EXPECT_EQ(Form2->Image1->height(), 124800);
    // The labels of the last line of the tree and of the line drawn lowest.
    const std::string last = "Гр- " + std::to_string(GeneratedPanelNumber(10, 30)) + "-29";
    const platform::CanvasOp* lastLine = nullptr;
    const platform::CanvasOp* lowest = nullptr;
    for (const platform::CanvasOp& op : Ops()) {
        if (op.Kind != CanvasOpKind::TextOut || op.Text.rfind("Гр- ", 0) != 0) continue;
        if (op.Text == last) lastLine = &op;
        if (lowest == nullptr || op.Points[0].Y > lowest->Points[0].Y) lowest = &op;
    }
    ASSERT_NE(lastLine, nullptr);
    ASSERT_NE(lowest, nullptr);
    ASSERT_GT(lowest->Points[0].Y, 40000);

    auto* area = Form2->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    for (const platform::CanvasOp* label : {lowest, lastLine}) {
        SCOPED_TRACE(label->Text);
        // Paged across and down until the label stands in the view.
        const QSize view = area->viewport()->size();
        auto page = [](QScrollBar* bar, int to, int extent) {
            bar->setFocus();
            QTest::keyClick(bar, Qt::Key_Home);
            while (bar->value() + extent - 200 < to && bar->value() < bar->maximum())
                QTest::keyClick(bar, Qt::Key_PageDown);
            // A page too far: back step by step.
            while (bar->value() > to - 50 && bar->value() > 0) QTest::keyClick(bar, Qt::Key_Up);
        };
        page(area->horizontalScrollBar(), label->Points[0].X, view.width());
        page(area->verticalScrollBar(), label->Points[0].Y, view.height());
        const QPoint at(label->Points[0].X - area->horizontalScrollBar()->value(),
                        label->Points[0].Y - area->verticalScrollBar()->value());
        ASSERT_TRUE(QRect(QPoint(0, 0), view).contains(at)) << at.x() << ", " << at.y();
        const QImage shown =
            area->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);

        // The label written alone in its font where the view has it: each of its black pixels
        // is black in what the window shows.
        const TextInk text = InkOfText(shown, at, label->Font, label->Text);
        EXPECT_GT(text.ink, 30);
        EXPECT_EQ(text.missing, 0);
    }
}
