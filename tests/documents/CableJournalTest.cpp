// The four cable journals: the grid of the journal window, the painted pages and the rows of the
// report, from one walk of the tree.
#include <gtest/gtest.h>

#include <QTest>

#include "TablesFixture.h"
#include "app/Mainform.h"
#include "documents/Kabj2.h"
#include "documents/Preview.h"
#include "documents/ResultTable.h"
#include "drawings/DrawingState.h"
#include "editing/NumberChooser.h"
#include "platform/Bitmap.h"
#include "platform/Conversions.h"
#include "platform/Image.h"

using Row = std::vector<std::string>;
using platform::CanvasOpKind;

class CableJournal : public TablesTest {
protected:
    // Switchboard 1: panel 1 radial with two group lines, panel 2 without a feeder section,
    // panel 3 fed straight from the substation section.
    void SmallNetwork() {
        TGrsed& sw = AddSwitchboard(1);
        TSitid& p1 = AddPanel(sw, 1);
        AddGroup(p1, "1.1", 4);
        TCxemaGrupd& g2 = AddGroup(p1, "1.2", 2);
        g2.CrossSection = 1.5;
        g2.LineLength = 12.5;
        TSitid& p2 = AddPanel(sw, 2);
        p2.FeederSection = 0;
        TSitid& p3 = AddPanel(sw, 3);
        p3.OnTrunk = 1;
    }

    // Switchboard 1 without panels, then switchboard 2: panel 1 heads a cascade, 2 is fed from
    // 1, 3 from 2, and 4 from 1 after 3.
    void Cascade() {
        AddSwitchboard(1);
        TGrsed& sw = AddSwitchboard(2);
        AddPanel(sw, 1).FedFromSwitchboard = 1;
        for (auto [number, feeding] : {std::pair{2, 1}, {3, 2}, {4, 1}}) {
            TSitid& p = AddPanel(sw, number);
            p.FedFromPanel = 1;
            p.FeedingPanelNumber = feeding;
        }
    }

    std::vector<platform::CanvasOp> Painted(int kind, int rows, int number) {
        Form8->JournalNumber = number;
        platform::TBitmap page;
        Form8->CableJournalPainter->Paint(page, PageRequest{kind, rows, "Журнал", 1, 0});
        height_ = page.Height();
        return page.Canvas()->Recorder()->Ops();
    }

    int height_ = 0;
};

TEST_F(CableJournal, GeneralJournalGridRowByRow) {
    SmallNetwork();
    Form1->FillCableJournal(0, 0);
    const std::vector<Row> expected = {
        {"№", "Обозначение кабеля", "Начало.", "Конец.", "Марка.", "Сечение.", "Длина."},
        {"1", "К1", "Секция КТП", "Грщ №1", "АВВГ", "3x95+1x50", "40"},
        {"2", "П1", "Грщ №1", "Щит №1", "ВВГ", "3x25+1x16", "30"},
        // No phase section: neither section nor length.
        {"3", "П2", "Грщ №1", "Щит №2", "ВВГ", "", ""},
        {"4", "П3", "Секция КТП", "Щит №3", "ВВГ", "3x25+1x16", "30"},
        {"5", "Г1.1", "Щит№ 1", "1.1", "ВВГ", "4 x 2,5", "20"},
        {"6", "Г1.2", "Щит№ 1", "1.2", "ВВГ", "2 x 1,5", "12,5"},
    };
    EXPECT_EQ(GridTexts(*Form8->StringGrid1), expected);
    EXPECT_EQ(Form8->TableRowCount, 6);
}

TEST_F(CableJournal, EachJournalListsItsOwnCables) {
    SmallNetwork();
    struct Case {
        int kind, number;
        std::vector<std::string> ends;  // column 3 of each row
    };
    const Case cases[] = {
        {1, 0, {"Грщ №1"}},
        {2, 1, {"Щит №1", "Щит №2", "Щит №3"}},
        {3, 1, {"1.1", "1.2"}},
        // A number that names nothing: the heading and one empty row.
        {2, 7, {""}},
        {3, 9, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind * 100 + c.number);
        Form1->FillCableJournal(c.kind, c.number);
        const std::vector<Row> grid = GridTexts(*Form8->StringGrid1);
        std::vector<std::string> ends;
        for (std::size_t r = 1; r < grid.size(); ++r) ends.push_back(grid[r][3]);
        EXPECT_EQ(ends, c.ends);
        const bool empty = c.ends == std::vector<std::string>{""};
        EXPECT_EQ(Form8->TableRowCount, empty ? 0 : int(c.ends.size()));
        if (empty) {
            EXPECT_EQ(grid[1], Row(7, ""));
        }
    }
}

TEST_F(CableJournal, PageAndReportWordTheRowsTheirOwnWay) {
    SmallNetwork();
    const std::vector<Row> general = {
        {"К1", "Секция КТП", "ГРЩ № 1", "Секция КТП - ГРЩ № 1", "АВВГ", "3x95+1x50", "40"},
        {"П1", "ГРЩ № 1", "Щит № 1", "ГРЩ № 1 - Щит№1", "ВВГ", "3x25+1x16", "30"},
        {"П2", "ГРЩ № 1", "Щит № 2", "ГРЩ № 1 - Щит№2", "ВВГ", "", ""},
        // The section start ends in a blank: two blanks before the dash.
        {"П3", "Секция КТП ", "Щит № 3", "Секция КТП  - Щит№3", "ВВГ", "3x25+1x16", "30"},
        {"Г1.1", "Щит № 1", "гр-1.1", "Щит№1 - гр.1.1", "ВВГ", "4 x 2,5", "20"},
        {"Г1.2", "Щит № 1", "гр-1.2", "Щит№1 - гр.1.2", "ВВГ", "2 x 1,5", "12,5"},
    };
    const std::vector<Row> panel = {
        {"Г1.1", "Щит № 1", "гр 1.1", "Щит№1 - гр 1.1", "ВВГ", "4 x 2,5", "20"},
        {"Г1.2", "Щит № 1", "гр 1.2", "Щит№1 - гр 1.2", "ВВГ", "2 x 1,5", "12,5"},
    };
    for (const auto& [kind, number, rows] : {std::tuple{0, 0, general}, std::tuple{3, 1, panel}}) {
        SCOPED_TRACE(kind);
        // The report: the page texts and three empty cells a row.
        std::vector<std::string> cells;
        TForm8::BuildCableJournalRows(cells, kind, number);
        std::vector<std::string> expected;
        for (const Row& row : rows) {
            expected.insert(expected.end(), row.begin(), row.end());
            expected.insert(expected.end(), 3, "");
        }
        EXPECT_EQ(cells, expected);
        // The page: column by column.
        const auto ops = Painted(kind, int(rows.size()), number);
        const int columnX[7] = {55, 135, 220, 305, 455, 555, 655};
        for (int col = 0; col < 7; ++col) {
            std::vector<std::string> column;
            for (const Row& row : rows) column.push_back(row[col]);
            // Headings at x 55, 305, 455, 555 and 655 stand above the rows (y below 180).
            std::vector<std::string> body;
            for (const platform::CanvasOp& op : ops)
                if (op.Kind == CanvasOpKind::TextOut && op.Points[0].X == columnX[col] &&
                    op.Points[0].Y >= 185)
                    body.push_back(op.Text);
            EXPECT_EQ(body, column) << "column " << col + 1;
        }
    }
}

TEST_F(CableJournal, ACascadeMemberStartsAtThePanelThatFeedsIt) {
    Cascade();
    // Panel 4 is fed from panel 1, though panel 3 stands between them in the chain.
    const std::vector<std::string> pageStarts = {"ГРЩ № 2", "Щит №1", "Щит №2", "Щит №1"};
    const std::vector<std::string> gridStarts = {"Грщ №2", "Щит №1", "Щит №2", "Щит №1"};
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        Form1->FillCableJournal(2, 2);
        const std::vector<Row> grid = GridTexts(*Form8->StringGrid1);
        std::vector<std::string> starts;
        for (std::size_t r = 1; r < grid.size(); ++r) starts.push_back(grid[r][2]);
        EXPECT_EQ(starts, gridStarts);

        std::vector<std::string> cells;
        TForm8::BuildCableJournalRows(cells, 2, 2);
        ASSERT_EQ(cells.size(), 40u);
        for (int r = 0; r < 4; ++r) EXPECT_EQ(cells[r * 10 + 1], pageStarts[r]);
        EXPECT_EQ(cells[13], "Щит №1 - Щит№2");
        EXPECT_EQ(cells[33], "Щит №1 - Щит№4");

        std::vector<std::string> painted;
        for (const auto& op : Painted(2, 4, 2))
            if (op.Kind == CanvasOpKind::TextOut && op.Points[0].X == 135)
                painted.push_back(op.Text);
        EXPECT_EQ(painted, pageStarts);
    }
}

TEST_F(CableJournal, AMemberBeforeItsHeadStartsAtItsHeadInEveryForm) {
    TGrsed& sw = AddSwitchboard(3);
    TSitid& member = AddPanel(sw, 2);
    member.FedFromPanel = 1;
    member.FeedingPanelNumber = 1;
    AddPanel(sw, 1).FedFromSwitchboard = 1;
    for (int kind : {0, 2}) {
        SCOPED_TRACE(kind);
        // The member is the second row of the general journal (after the switchboard's), the
        // first of the switchboard's.
        const int row = kind == 0 ? 2 : 1;
        Form1->FillCableJournal(kind, 3);
        EXPECT_EQ(Form8->StringGrid1->item(row, 2)->text().toStdString(), "Щит №1");
        // The cascade section is the feeder's.
        EXPECT_EQ(Form8->StringGrid1->item(row, 5)->text().toStdString(), "3x35+1x16");
        std::vector<std::string> cells;
        TForm8::BuildCableJournalRows(cells, kind, 3);
        ASSERT_GE(cells.size(), std::size_t(row * 10));
        EXPECT_EQ(cells[(row - 1) * 10 + 1], "Щит №1");
        EXPECT_EQ(cells[(row - 1) * 10 + 3], "Щит №1 - Щит№2");
        const std::vector<std::string> starts = TextsAt(Painted(kind, row + 1, 3), 135);
        ASSERT_GE(starts.size(), std::size_t(row));
        EXPECT_EQ(starts[row - 1], "Щит №1");
    }
    // The head itself starts at the switchboard.
    EXPECT_EQ(Form8->StringGrid1->item(2, 2)->text().toStdString(), "Грщ №3");
}

TEST_F(CableJournal, PageLinesOfNineRows) {
    // One switchboard, two panels of three lines: 9 rows; R = 9.
    TGrsed& sw = AddSwitchboard(1);
    for (int number : {1, 2}) {
        TSitid& p = AddPanel(sw, number);
        for (int g = 1; g <= 3; ++g) AddGroup(p, platform::IntToStr(number * 10 + g), 2);
    }
    const auto ops = Painted(0, 9, 0);
    EXPECT_EQ(height_, 1035);
    std::vector<int> rowLines, rowTexts;
    int bottomOfBorders = 0;
    for (const auto& op : ops) {
        if (op.Kind == CanvasOpKind::LineTo && op.Points[0].X == 50 && op.Points[1].X == 750 &&
            op.Points[0].Y == op.Points[1].Y)
            rowLines.push_back(op.Points[0].Y);
        if (op.Kind == CanvasOpKind::LineTo && op.Points[0].X == 650 && op.Points[0].Y == 180)
            bottomOfBorders = op.Points[1].Y;
        if (op.Kind == CanvasOpKind::TextOut && op.Points[0].X == 55 && op.Points[0].Y >= 185)
            rowTexts.push_back(op.Points[0].Y);
    }
    // Bottom line at 180 + 25 x 9 = 405, then the line above each row from the second on.
    EXPECT_EQ(rowLines, (std::vector<int>{405, 205, 230, 255, 280, 305, 330, 355, 380}));
    EXPECT_EQ(bottomOfBorders, 405);
    EXPECT_EQ(rowTexts, (std::vector<int>{185, 210, 235, 260, 285, 310, 335, 360, 385}));
}

TEST_F(CableJournal, PictureHoldsEveryPageThePreviewCuts) {
    // Pages of 800 x 22 / 17 = 1035.29 px. 20 rows: one page. 36 rows: the last row ends at
    // 180 + 900 = 1080, past one page: two pages, 2070 px. 40 rows: 1100 > 1035.29, two pages.
    for (auto [rows, height] : {std::pair{20, 1035}, {36, 2070}, {40, 2070}, {79, 3105}}) {
        SCOPED_TRACE(rows);
        Painted(0, rows, 0);
        EXPECT_EQ(height_, height);
    }
}

TEST_F(CableJournal, PreviewShowsTheJournalOfItsWindow) {
    Cascade();
    Form8->Label2->setText("(Грщ №2)");
    Form1->FillCableJournal(2, 2);
    Form8->setProperty("Tag", 2);
    // The number chooser serves another command meanwhile.
    Form9->ChosenNumber = 1;
    // A panel goes after the grid was filled: the preview counts the rows again.
    DeleteProjectTree(ProjectRoot);
    ProjectRoot = new TGrsed;
    Cascade();
    TGrsed* sw2 = ProjectRoot->Switchboards.First->Switchboards.Next;
    sw2->PanelCount = 3;
    Form8->show();
    Form8->ToolButton1->trigger();
    EXPECT_FALSE(Form8->isVisible());
    EXPECT_EQ(Form8->PreviewTitle, "Кабельный журнал (Грщ №2)");
    EXPECT_EQ(Form1->DocumentKind, CableJournalDocument);
    EXPECT_EQ(Form8->JournalPageCount, 1);
    ASSERT_NE(Form7->PageImage, nullptr);
    EXPECT_FALSE(Form7->isHidden());
}

TEST_F(CableJournal, PreviewWithoutAProjectIsRefused) {
    SmallNetwork();
    Form1->FillCableJournal(0, 0);
    DeleteProjectTree(ProjectRoot);
    ProjectRoot = nullptr;
    Form8->show();
    Form8->N2->trigger();
    EXPECT_TRUE(Form7->isHidden());
    EXPECT_EQ(Form7->PageImage, nullptr);
    ProjectRoot = new TGrsed;
}

TEST_F(CableJournal, ExitHidesTheWindowAndKeepsItsGrid) {
    SmallNetwork();
    Form1->FillCableJournal(1, 0);
    Form8->show();
    Form8->ToolButton3->trigger();
    EXPECT_FALSE(Form8->isVisible());
    EXPECT_EQ(Form8->StringGrid1->item(1, 3)->text().toStdString(), "Грщ №1");
}

// The shipped office project, as File > Open reads and recalculates it.
class ExampleJournal : public DocumentsTest {
protected:
    void SetUp() override {
        DocumentsTest::SetUp();
        CopyFolder(PROGRAM_DATA_DIR, programDir_.path().toStdString());
        DeleteProjectTree(ProjectRoot);
        ProjectRoot = nullptr;
        ASSERT_TRUE(Form1->LoadProject(ProgramFile("Project/Example1.VPQ")));
    }
};

TEST_F(ExampleJournal, GeneralJournalOfTheOffice) {
    Form1->N47->trigger();
    // Names, brands and lengths as the project enters them; sections as its selection chose them
    // (one cross-section for the trunk of panels 2 and 3); panel 3 hangs on panel 2, the head of
    // its trunk.
    const std::vector<Row> expected = {
        {"№", "Обозначение кабеля", "Начало.", "Конец.", "Марка.", "Сечение.", "Длина."},
        {"1", "КГ1", "Секция КТП", "Грщ №1", "АВВГ", "3x50+1x25", "40"},
        {"2", "КЩ1", "Грщ №1", "Щит №1", "ВВГ", "3x4+1x4", "30"},
        {"3", "КЩ2", "Грщ №1", "Щит №2", "ВВГ", "3x70+1x35", "45"},
        {"4", "КЩ3", "Щит №2", "Щит №3", "ВВГ", "3x70+1x35", "25"},
        {"5", "К1.1", "Щит№ 1", "1.1", "ВВГ", "2 x 1,5", "25"},
        {"6", "К1.2", "Щит№ 1", "1.2", "ВВГ", "2 x 1,5", "35"},
        {"7", "К1.3", "Щит№ 1", "1.3", "ПВ1", "2 x 1", "40"},
        {"8", "К1.4", "Щит№ 1", "1.4", "ВВГ", "2 x 1,5", "20"},
        {"9", "К2.1", "Щит№ 2", "2.1", "ВВГ", "2 x 6", "30"},
        {"10", "К2.2", "Щит№ 2", "2.2", "ВВГ", "3 x 1,5", "25"},
        {"11", "К2.3", "Щит№ 2", "2.3", "ВВГ", "4 x 2,5", "30"},
        {"12", "К3.1", "Щит№ 3", "3.1", "ВВГ", "4 x 1,5", "15"},
        {"13", "К3.2", "Щит№ 3", "3.2", "ВВГ", "2 x 1,5", "30"},
        {"14", "К3.3", "Щит№ 3", "3.3", "ВВГ", "3 x 1,5", "20"},
    };
    EXPECT_EQ(TablesTest::GridTexts(*Form8->StringGrid1), expected);
    EXPECT_TRUE(Form8->isVisible());
    EXPECT_EQ(Form8->Label2->text().toStdString(), "(общий)");
}

TEST_F(ExampleJournal, NetworkResultsOfTheOffice) {
    Form1->N55->trigger();
    ASSERT_NE(Form4, nullptr);
    const std::vector<Row> grid = TablesTest::GridTexts(*Form4->StringGrid1);
    ASSERT_EQ(grid.size(), 5u);
    // Installed power: panel 1 1.2 + 1.6 + 0.9 + 1.4 = 5.1 kW, panel 2 2.5 + 4 + 7.5 = 14 kW,
    // panel 3 5.5 + 2 + 3 = 10.5 kW, the switchboard 29.6 kW (demand factors 1).
    // Deviation at 380 V from the drop: U = 400 - 4 x drop; 1.431 % gives 394.276 V -> 394.3 V,
    // 394.276 / 3.8 - 100 = 3.76 %; 1.869 % gives 392.524 V, 3.3 %; 1.893 % gives 392.428 V,
    // 3.27 %; 2.004 % gives 391.984 V -> 392 V, 3.15 %.
    const std::vector<Row> expected = {
        {"Грщ-1", "29,6", "29,6", "3 x 50 + 1 x 25", "1,431", "3,76    (394,3 вольт)"},
        {"Щит-1", "5,1", "5,1", "3 x 4 +1 x4", "1,869", "3,3    (392,5 вольт)"},
        {"Щит-2", "14", "14", "3 x 70 +1 x35", "1,893", "3,27    (392,4 вольт)"},
        {"Щит-3", "10,5", "10,5", "3 x 70 +1 x35", "2,004", "3,15    (392 вольт)"},
    };
    for (std::size_t r = 0; r < expected.size(); ++r) {
        const Row& g = grid[r + 1];
        EXPECT_EQ((Row{g[0], g[1], g[2], g[5], g[9], g[10]}), expected[r]);
    }
    EXPECT_EQ(Form8->TableRowCount, 5);
}
