// Pictures and pages are kept as their drawing operations and painted where they are shown. Here
// every picture and page of the three example projects, at each of the three scales (the tables,
// schematics and journals, which no scale changes, at one), is made twice: once with the bitmaps
// keeping their pixels as each operation comes (as pictures were kept before), once from the
// records. Painted at 1:1, whole and piece by piece as a window paints the part in view, the
// records give the same pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "AppFixture.h"
#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "documents/ConsumerTable.h"
#include "documents/JournalRows.h"
#include "documents/Kabj2.h"
#include "documents/Preview.h"
#include "drawings/DrawingState.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Bitmap.h"
#include "platform/Image.h"
#include "platform/ProgramFolder.h"

namespace {

struct Made {
    std::string what;
    QImage image;
};

class RecordedPictures : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        CopyFolder(PROGRAM_DATA_DIR, programDir_.path().toStdString());
    }
    void TearDown() override {
        platform::TBitmap::KeepPixels(false);
        AppFixture::TearDown();
    }

    void Keep(const std::string& what, const platform::TBitmap* bitmap) {
        ASSERT_NE(bitmap, nullptr) << what;
        made_.push_back({what, bitmap->Image().copy()});
    }
    void KeepPreview(const std::string& what) {
        ASSERT_NE(Form7->PageImage, nullptr) << what;
        Keep(what + ", pages", &Form7->PageImage->Picture());
        Keep(what + ", pages kept for printing", Form8->PageBitmap.get());
        // The reduced zoom refits the pages from what was kept.
        Form1->ToolButton44Click();
        Keep(what + ", reduced", &Form7->PageImage->Picture());
        Form1->ToolButton44Click();
    }
    void KeepSchemePicture(const std::string& what) {
        ASSERT_NE(Form2->Image1, nullptr) << what;
        Keep(what, &Form2->Image1->Picture());
        Keep(what + ", kept for printing", Form1->PictureBitmap.get());
        Form1->ToolButton43Click();
        KeepPreview(what + ", preview");
    }

    // Every picture and page of the example at the scale item.
    void MakeEverything(int example, int item) {
        const std::string path =
            platform::ProgramFolder() + "Project/Example" + std::to_string(example) + ".VPQ";
        ASSERT_TRUE(Form1->LoadProject(path));
        const std::string at =
            "Example" + std::to_string(example) + " at item " + std::to_string(item);
        Form1->ComboBox1->setCurrentIndex(item);
        Form1->ComboBox1Change();
        Form1->ShowNetworkScheme();
        KeepSchemePicture(at + ": general scheme");
        TGrsed& root = *ProjectRoot;
        for (TGrsed* sw : chains::SwitchboardsOf(root)) {
            for (TSitid* panel : chains::PanelsOf(*sw)) {
                const std::string name = at + ": panel " + std::to_string(panel->PanelNumber);
                root.Switchboards.Cursor = sw;
                sw->Panels.Cursor = panel;
                Form1->DrawPanelScheme(panel->SchemeGroupCount);
                KeepSchemePicture(name + " diagram");
                Form1->DrawPanelPhasing(panel->PanelNumber);
                KeepSchemePicture(name + " phasing");
                // The tables, schematics and journals are drawn the same at every scale.
                if (item != 0) continue;
                const int consumers = ConsumerTableRowCount(root, panel->PanelNumber);
                Form8->PreviewCalcTables(0, consumers, "Таблица", 1, panel->PanelNumber);
                KeepPreview(name + " consumers table");
            }
            if (item != 0) continue;
            root.Switchboards.Cursor = sw;
            Form1->ShowSupplyNetworkScheme(800, sw->SwitchboardNumber);
            KeepPreview(at + ": supply schematic " + std::to_string(sw->SwitchboardNumber));
        }
        if (item != 0) {
            Form7->close();
            Form1->DropProject();
            return;
        }
        int networkRows = 1;
        for (const TGrsed* sw : chains::SwitchboardsOf(root))
            networkRows += 1 + int(chains::PanelsOf(*sw).size());
        Form8->PreviewCalcTables(0, networkRows, "Таблица расчетных данных", 0, 0);
        KeepPreview(at + ": network table");
        const struct {
            int kind;
            int number;
        } journals[] = {{GeneralJournal, 0},
                        {SectionJournal, 0},
                        {SwitchboardJournal, root.Switchboards.First->SwitchboardNumber},
                        {PanelJournal, root.Switchboards.First->Panels.First->PanelNumber}};
        for (const auto& j : journals) {
            Form8->JournalNumber = j.number;
            const int rows = int(JournalEntries(root, j.kind, j.number).size());
            Form8->PreviewCableJournal(j.kind, rows, "Кабельный журнал");
            KeepPreview(at + ": journal " + std::to_string(j.kind));
        }
        Form7->close();
        Form1->DropProject();
    }

    std::vector<Made> MadeWith(bool keepPixels) {
        made_.clear();
        platform::TBitmap::KeepPixels(keepPixels);
        for (int example = 1; example <= 3; ++example)
            for (int item = 0; item <= 2; ++item) MakeEverything(example, item);
        platform::TBitmap::KeepPixels(false);
        return std::move(made_);
    }

    std::vector<Made> made_;
};

// The first pixel where two images differ, or "" when they are the same.
std::string FirstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "sizes differ";
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    const int width = x.width();
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        if (std::equal(p, p + width, q)) continue;
        for (int col = 0; col < width; ++col)
            if (p[col] != q[col])
                return "at (" + std::to_string(col) + ", " + std::to_string(row) + ")";
    }
    return "";
}

}  // namespace

TEST_F(RecordedPictures, PaintedFromTheRecordTheyAreThePixelsDrawnAsTheOperationsCame) {
    const std::vector<Made> raster = MadeWith(true);
    const std::vector<Made> recorded = MadeWith(false);
    ASSERT_EQ(recorded.size(), raster.size());
    ASSERT_GT(recorded.size(), 100u);
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        SCOPED_TRACE(recorded[i].what);
        ASSERT_EQ(recorded[i].what, raster[i].what);
        ASSERT_FALSE(raster[i].image.isNull());
        EXPECT_EQ(FirstDifference(recorded[i].image, raster[i].image), "");
    }
}

// Pieces of odd sizes, as a scrolled window exposes them, cut through texts and lines: each is
// what the whole picture has there.
void ExpectPiecesAreTheWhole(const platform::TBitmap& picture) {
    const QImage whole = picture.Image().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(whole.isNull());
    for (int top = 0; top < picture.Height(); top += 287) {
        for (int left = 0; left < picture.Width(); left += 333) {
            QImage piece(333, 287, QImage::Format_RGB32);
            piece.fill(Qt::red);
            picture.PaintRegion(piece, QPoint(left, top));
            const QRect inside = QRect(left, top, 333, 287).intersected(whole.rect());
            SCOPED_TRACE(std::to_string(left) + ", " + std::to_string(top));
            ASSERT_EQ(
                FirstDifference(piece.copy(inside.translated(-left, -top)), whole.copy(inside)),
                "");
        }
    }
}

TEST_F(RecordedPictures, PaintedPieceByPieceTheyAreThePictureWhole) {
    platform::TBitmap::KeepPixels(false);
    ASSERT_TRUE(Form1->LoadProject(platform::ProgramFolder() + "Project/Example2.VPQ"));
    Form1->ComboBox1->setCurrentIndex(0);
    Form1->ComboBox1Change();
    Form1->ShowNetworkScheme();
    ExpectPiecesAreTheWhole(Form2->Image1->Picture());
    Form1->ToolButton43Click();
    ExpectPiecesAreTheWhole(Form7->PageImage->Picture());
    Form8->JournalNumber = 0;
    Form8->PreviewCableJournal(GeneralJournal,
                               int(JournalEntries(*ProjectRoot, GeneralJournal, 0).size()),
                               "Кабельный журнал");
    ExpectPiecesAreTheWhole(Form7->PageImage->Picture());
    Form1->ToolButton44Click();
    ExpectPiecesAreTheWhole(Form7->PageImage->Picture());
    Form7->close();
    Form1->DropProject();
}
