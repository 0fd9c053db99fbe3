// The calculation tables: the results grid of the switchboards and panels, the painted network
// table and its report rows, the consumers table of a panel (page and report), the group results
// grid, and the results window's commands.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <functional>

#include "TablesFixture.h"
#include "app/Mainform.h"
#include "documents/ConsumerTable.h"
#include "documents/GroupResults.h"
#include "documents/Kabj2.h"
#include "documents/NetworkTable.h"
#include "documents/Preview.h"
#include "documents/ResultTable.h"
#include "drawings/DrawingState.h"
#include "model/Chains.h"
#include "platform/Bitmap.h"
#include "platform/Image.h"

using Row = std::vector<std::string>;
using platform::CanvasOpKind;

class CalculationTables : public TablesTest {
protected:
    // Switchboard 1 with panels 1 and 2, switchboard 2 with panel 3: R = 6.
    void TwoSwitchboards() {
        TGrsed& sw1 = AddSwitchboard(1);
        sw1.SwitchboardDesignCurrent = 15.2;
        sw1.SwitchboardBreakerType = "ВА5735-12345";
        sw1.SwitchboardBreakerRating = 16;
        sw1.SwitchboardLossA = 1;
        sw1.SwitchboardLossB = 5;
        sw1.SwitchboardLossC = 2;
        sw1.SwitchboardCosPhi = 0.9;
        sw1.SwitchboardFaultCurrent1 = 1200;
        sw1.SwitchboardFaultCurrent3 = 3400;
        sw1.SwitchboardSurgeCurrent = 5.6;
        TSitid& p1 = AddPanel(sw1, 1);
        p1.InstalledPower = 12.24;
        p1.DesignPower = 12.24;
        p1.OwnDesignCurrent = 7.6;
        p1.PanelBreakerType = "ВА47-29";
        p1.PanelBreakerRating = 10;
        AddPanel(sw1, 2).InstalledPower = 0;
        TGrsed& sw2 = AddSwitchboard(2);
        TSitid& p3 = AddPanel(sw2, 3);
        p3.FedFromPanel = 1;
        p3.InstalledPower = 12.26;
        p3.DesignPower = 12.264;
    }

    // Appends an element to each of the three result chains of a kind.
    template <typename T, typename Link>
    static std::array<T*, 3> AddResults(std::array<ChainBlock<T>, 3>& owners) {
        std::array<T*, 3> elements{};
        for (int x = 0; x < 3; ++x) {
            elements[x] = new T;
            chains::AppendAtTail(owners[x], elements[x], Link{x});
        }
        return elements;
    }

    static TForm4* NewestWindow() { return Form4; }
};

TEST_F(CalculationTables, NetworkResultsGridRowByRow) {
    TwoSwitchboards();
    Form1->N55->trigger();
    TForm4* window = NewestWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->StringGrid1, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), "(Результаты) Щиты");
    const std::vector<Row> grid = GridTexts(*window->StringGrid1);
    ASSERT_EQ(grid.size(), 6u);
    EXPECT_EQ(grid[0][0], "Щиты");
    EXPECT_EQ(grid[0][14], "Ударный ток КЗ  кА");
    // Drop 5 % (the largest of 1, 5, 2): U = 400 - 400 x 0.05 = 380 V, deviation 0 %.
    EXPECT_EQ(grid[1],
              (Row{"Грщ-1", "10", "10", "АВВГ", "40", "3 x 95 + 1 x 50", "15,2", "ВА5735-12345",
                   "16", "5", "0    (380 вольт)", "0,9", "1200", "3400", "5,6"}));
    // Panel 1, drop 0: U = 400 V, 400 x 100 / 380 - 100 = 5.263 -> 5.26 %.
    EXPECT_EQ(grid[3], (Row{"Щит-1", "12,24", "12,24", "ВВГ", "30", "3 x 25 +1 x16", "7,6",
                            "ВА47-29", "10", "0", "5,26    (400 вольт)", "1", "0", "0", "0"}));
    Row noLoad(15, "___");
    noLoad[0] = "Щит-2";
    EXPECT_EQ(grid[4], noLoad);
    // A cascade member's feeder has the cascade section; 12.264 kW rounds to 12.26.
    EXPECT_EQ(grid[5][0], "Щит-3");
    EXPECT_EQ(grid[5][5], "3 x 35 +1 x16");
    EXPECT_EQ(grid[5][2], "12,26");
    EXPECT_EQ(Form8->TableKind, 0);
    EXPECT_EQ(Form8->TableRowCount, 6);
}

TEST_F(CalculationTables, NetworkResultsNeedACalculatedNetwork) {
    TwoSwitchboards();
    ProjectRoot->TotalDesignPower = 0;
    TForm4* before = Form4;
    Form1->N55->trigger();
    EXPECT_EQ(Form4, before);
}

TEST_F(CalculationTables, NetworkTablePageOfSixRows) {
    TwoSwitchboards();
    platform::TBitmap page;
    Form8->NetworkTablePainter->Paint(
        page, PageRequest{0, 6, "Таблица расчетных данных распределительной сети.", 1, 0});
    EXPECT_EQ(page.Height(), 1035);
    const auto& ops = page.Canvas()->Recorder()->Ops();
    std::vector<int> rowLines;
    int innerBottom = 0, outerBottom = 0;
    for (const auto& op : ops) {
        if (op.Kind != CanvasOpKind::LineTo) continue;
        const auto a = op.Points[0], b = op.Points[1];
        if (a.X == 50 && b.X == 750 && a.Y == b.Y) rowLines.push_back(a.Y);
        if (a.X == 688 && a.Y == 180) innerBottom = b.Y;
        if (a.X == 750 && a.Y == 180) outerBottom = b.Y;
    }
    EXPECT_EQ(rowLines, (std::vector<int>{180, 205, 230, 255, 280, 305}));
    EXPECT_EQ(innerBottom, 305);
    EXPECT_EQ(outerBottom, 305);
    std::vector<int> nameRows;
    std::vector<std::string> names;
    for (const auto& op : ops)
        if (op.Kind == CanvasOpKind::TextOut && op.Points[0].X == 51) {
            nameRows.push_back(op.Points[0].Y);
            names.push_back(op.Text);
        }
    EXPECT_EQ(nameRows, (std::vector<int>{185, 210, 235, 260, 285}));
    EXPECT_EQ(names, (std::vector<std::string>{"Грщ1", "Грщ2", "Щит1", "Щит2", "Щит3"}));
    // Powers and currents to 0.1: 12.24 -> 12.2, 12.26 -> 12.3; the breaker type cut to 8.
    EXPECT_EQ(TextsAt(ops, 101), (std::vector<std::string>{"10", "10", "12,2", "___", "12,3"}));
    EXPECT_EQ(TextsAt(ops, 377)[0], "ВА5735-1");
    EXPECT_EQ(TextsAt(ops, 283)[0], "3x95+1x50");
    EXPECT_EQ(TextsAt(ops, 283)[4], "3x35+1x16");
    // Headings are drawn last: " Щит" at (52, 130) after every row.
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.back().Text, "кА");
}

TEST_F(CalculationTables, NetworkReportRows) {
    struct Case {
        bool switchboard;
        double installed, design, demandFactor;
        std::string demand;  // "-": no row
    };
    const Case cases[] = {
        // 5.01 / 10.00 = 0.501 -> 0.5.
        {true, 10.004, 5.006, 1, "0,5"},
        // Installed 0.004 kW rounds to 0: no quotient.
        {true, 0.004, 0.004, 1, ""},
        {true, 0, 3, 1, "-"},
        {false, 8, 5.2, 0.65, "0,65"},
        {false, 0, 0, 1, "-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.installed);
        NetworkTableEntry e;
        e.switchboard = c.switchboard;
        e.number = 4;
        e.installedPower = c.installed;
        e.designPower = c.design;
        e.demandFactor = c.demandFactor;
        e.phaseSection = 95;
        e.neutralSection = 50;
        const Row row = NetworkReportRow(e);
        if (c.demand == "-") {
            EXPECT_TRUE(row.empty());
            continue;
        }
        ASSERT_EQ(row.size(), 15u);
        EXPECT_EQ(row[0], c.switchboard ? "Грщ-4" : "Щит-4");
        EXPECT_EQ(row[2], c.demand);
        EXPECT_EQ(row[6], c.switchboard ? "3 x 95 + 1 x 50" : "3 x 95 +1 x50");
    }
    TwoSwitchboards();
    std::vector<std::string> cells;
    TForm8::BuildNetworkTableRows(cells);
    // Five rows, one of them (panel 2) without load: four rows of 15.
    EXPECT_EQ(cells.size(), 60u);
}

class ConsumerTable : public CalculationTables {
protected:
    // Panel 5: a single-phase line "1", a two-phase line "2" entered phase by phase (2.34 kW on
    // A, 1 kW on C), a three-phase line "3" entered phase by phase, a symmetric two-phase "4".
    TSitid& Panel() {
        TGrsed& sw = AddSwitchboard(1);
        TSitid& p = AddPanel(sw, 5);
        TCxemaGrupd& g1 = AddGroup(p, "1", 2);
        g1.Power = 1.2L;
        g1.CosPhi = 0.95;
        g1.DesignCurrent = 5.74;
        g1.BreakerRating = 6;
        g1.BreakerType = "ВА47-29-1234";
        g1.SinglePhaseFaultCurrent = 410.5;
        g1.CrossSection = 1.5;
        p.RowsOfThree = 1;
        auto single = AddResults<TFasaGrup1d, chains::SinglePhaseByPhaseLink>(p.SinglePhaseByPhase);
        single[1]->GroupName1 = "1";
        single[1]->VoltageLoss1 = 0.5;
        single[1]->ConsumerVoltageLoss1 = 1.25;

        AddGroup(p, "2", 3);
        auto two = AddResults<TFasaGrup2d, chains::TwoPhaseByPhaseLink>(p.TwoPhaseByPhase);
        for (auto* e : two) e->GroupName2 = "2";
        two[0]->Power2 = 2.34L, two[0]->CosPhi2 = 0.9, two[0]->CurrentA = 11.82;
        two[0]->ConsumerVoltageLoss2 = 1.5;
        two[2]->Power2 = 1, two[2]->CosPhi2 = 0.8, two[2]->CurrentC = 5.68;
        two[2]->ConsumerVoltageLoss2 = 1.7;

        AddGroup(p, "3", 4);
        auto three = AddResults<TFasaGrup3d, chains::ThreePhaseByPhaseLink>(p.ThreePhaseByPhase);
        for (auto* e : three) e->GroupName3 = "3";
        three[0]->Power3 = 2.34L, three[0]->CosPhi3 = 0.85, three[0]->CurrentA3 = 10.4;
        three[1]->Power3 = 2.66L, three[1]->CosPhi3 = 0.86, three[1]->CurrentB3 = 11.6;
        three[2]->Power3 = 2.04L, three[2]->CosPhi3 = 0.87, three[2]->CurrentC3 = 9.2;
        three[1]->ConsumerVoltageLoss3 = 2.1;

        TCxemaGrupd& g4 = AddGroup(p, "4", 3);
        g4.Power = 3;
        g4.CosPhi = 0.9;
        g4.DesignCurrent = 8.77;
        g4.BreakerRating = 10;
        p.TwoPhaseGroups.Last->Symmetric2 = 1;
        auto sym = AddResults<TFasaGrup2d, chains::TwoPhaseByPhaseLink>(p.TwoPhaseByPhase);
        for (auto* e : sym) e->GroupName2 = "4";
        return p;
    }
};

TEST_F(ConsumerTable, RowsByConductorKind) {
    Panel();
    const std::vector<Row> rows = ConsumerTableRows(*ProjectRoot, 5);
    ASSERT_EQ(rows.size(), 4u);
    // Single-phase: its own values; the drop of the element on phase B whose line loss is not 0.
    EXPECT_EQ(rows[0], (Row{"1", "1", "1,2", "0,95", "5,74", "ВА47-29-1234", "6", "ВВГ", "20",
                            "2 x 1,5", "1,25", "410,5"}));
    // Pair A-C: powers to 0.1 kW, currents as stored; ratings 12.5 (11.82 A) and 6 (5.68 A); the
    // drop the largest of 1.5, 0, 1.7.
    EXPECT_EQ(rows[1], (Row{"2", "2", "2,3 / 1", "0,9/0,8", "11,82/5,68", "", "12,5/6", "ВВГ", "20",
                            "3 x 2,5", "1,7", "0"}));
    // Three phases: 2.3/2.7/2, currents in whole amperes 10/12/9, ratings 12.5/12.5/10.
    EXPECT_EQ(rows[2], (Row{"3", "3", "2,3/2,7/2", "0,85/0,86/0,87", "10/12/9", "", "12,5/12,5/10",
                            "ВВГ", "20", "4 x 2,5", "2,1", "0"}));
    // Split evenly: the scheme record's values.
    EXPECT_EQ(rows[3],
              (Row{"4", "2", "3", "0,9", "8,77", "", "10", "ВВГ", "20", "3 x 2,5", "0", "0"}));
    std::vector<std::string> cells;
    TForm8::BuildConsumerTableRows(cells, 5);
    EXPECT_EQ(cells.size(), 48u);
    // A panel that is no longer there: no rows.
    EXPECT_TRUE(ConsumerTableRows(*ProjectRoot, 6).empty());
}

TEST_F(ConsumerTable, PageCutsTheBreakerTypeAndDrawsTheGrid) {
    Panel();
    platform::TBitmap page;
    Form8->ConsumerTablePainter->Paint(page, PageRequest{0, 4, "Таблица", 1, 5});
    EXPECT_EQ(page.Height(), 1035);
    const auto& ops = page.Canvas()->Recorder()->Ops();
    EXPECT_EQ(TextsAt(ops, 367)[2], "ВА47-29-");
    // Three headings above the rows at x 130, then the rows.
    EXPECT_EQ(TextsAt(ops, 130)[5], "2,3/2,7/2");
    std::vector<int> rowLines;
    for (const auto& op : ops)
        if (op.Kind == CanvasOpKind::LineTo && op.Points[0].X == 25 && op.Points[1].X == 777)
            rowLines.push_back(op.Points[0].Y);
    EXPECT_EQ(rowLines, (std::vector<int>{180, 205, 230, 255, 280}));
}

TEST_F(ConsumerTable, EmptyPanelPageHasTheHeadingsAndOneLine) {
    AddPanel(AddSwitchboard(1), 8);
    platform::TBitmap page;
    Form8->ConsumerTablePainter->Paint(page, PageRequest{0, 0, "Таблица", 1, 8});
    EXPECT_EQ(page.Width(), 800);
    EXPECT_EQ(page.Height(), 1035);
    int rowLines = 0, texts = 0;
    for (const auto& op : page.Canvas()->Recorder()->Ops()) {
        if (op.Kind == CanvasOpKind::LineTo && op.Points[0].X == 25 && op.Points[1].X == 777)
            ++rowLines;
        if (op.Kind == CanvasOpKind::TextOut) ++texts;
    }
    EXPECT_EQ(rowLines, 1);
    // The title and the 31 heading lines.
    EXPECT_EQ(texts, 32);
}

TEST_F(ConsumerTable, GroupResultsRowsByPhase) {
    TGrsed& sw = AddSwitchboard(1);
    TSitid& p = AddPanel(sw, 5);
    TCxemaGrupd& g1 = AddGroup(p, "1", 2);
    g1.Power = 1.1L;
    g1.BreakerType = "ВА47";
    p.SinglePhaseGroups.First->LineLength1 = 20;
    p.RowsOfThree = 1;
    auto single = AddResults<TFasaGrup1d, chains::SinglePhaseByPhaseLink>(p.SinglePhaseByPhase);
    single[1]->GroupName1 = "1";
    single[1]->PhaseCurrentB1 = 5.2;
    single[1]->ConsumerVoltageLoss1 = 2;
    single[1]->CosPhi1 = 0.95;
    single[1]->CableBrand1 = "ВВГ";
    AddGroup(p, "2", 3);
    auto two = AddResults<TFasaGrup2d, chains::TwoPhaseByPhaseLink>(p.TwoPhaseByPhase);
    for (auto* e : two) e->GroupName2 = "2";
    two[0]->PhaseUsed = 1, two[0]->Power2 = 2, two[0]->CosPhi2 = 1,
    two[0]->ConsumerVoltageLoss2 = 1;
    two[2]->PhaseUsed = 1, two[2]->Power2 = 1, two[2]->CosPhi2 = 0.8;
    two[0]->CableBrand2 = "АВВГ";

    const std::vector<Row> rows = GroupResultRows(p);
    ASSERT_EQ(rows.size(), 2u);
    // Phase B: "0" on A and C, its current also in the neutral, the next rating above 5.2 A (6);
    // at 220 V: Us = 230.94 V, U = 230.94 x 0.98 = 226.32 V -> 226.3 V, 226.32 / 220 = +2.87 %.
    EXPECT_EQ(rows[0], (Row{"1",
                            "1,1",
                            "ВВГ",
                            "2,5",
                            "0",
                            "5,2",
                            "0",
                            "5,2",
                            "ВА47",
                            "",
                            "6",
                            "",
                            "",
                            "2 %",
                            "",
                            "",
                            "2,87    (226,3 вольт)",
                            "",
                            "20",
                            "",
                            "0,95",
                            "",
                            "0"}));
    // Phases A and C used: I = P x 1000 / (219.39 x cos f): 9.116 -> 9.12 A and 5.698 -> 5.7 A;
    // ratings 10 and 6; neutral sqrt(9.12² + 5.7² - 9.12 x 5.7) = 7.98 A; B free: "0".
    const Row& r = rows[1];
    EXPECT_EQ(r[0], "2");
    EXPECT_EQ(r[2], "АВВГ");
    EXPECT_EQ((Row{r[4], r[5], r[6], r[7]}), (Row{"9,12", "0", "5,7", "7,98"}));
    EXPECT_EQ((Row{r[9], r[10], r[11]}), (Row{"10", "", "6"}));
    EXPECT_EQ((Row{r[12], r[13], r[14]}), (Row{"1 %", "", "0 %"}));
    EXPECT_EQ((Row{r[19], r[20], r[21]}), (Row{"1", "", "0,8"}));
}

TEST_F(CalculationTables, ChooserListsEveryPanelAndShowsTheGroups) {
    AddSwitchboard(1);  // no panels: skipped, the list goes on
    TGrsed& sw2 = AddSwitchboard(2);
    AddGroup(AddPanel(sw2, 3), "3.1", 4);
    AddPanel(sw2, 4);
    Form1->N22->trigger();
    QPointer<QWidget> chooser = Form1->PanelChooserForm;
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->windowTitle().toStdString(), "Щит №");
    QComboBox* combo = Form1->PanelChooserCombo;
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0).toStdString(), "3");
    EXPECT_EQ(combo->itemText(1).toStdString(), "4");
    combo->setCurrentIndex(0);
    QTest::mouseClick(Form1->PanelChooserButton, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(chooser.isNull());
    TForm4* window = Form4;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), "(Результаты) Щит № 3");
    EXPECT_EQ(window->StringGrid1->columnCount(), 23);
    EXPECT_EQ(window->StringGrid1->rowCount(), 2);
    EXPECT_EQ(window->StringGrid1->item(0, 22)->text().toStdString(), "Однофазный ток КЗ   А.");
    EXPECT_EQ(Form8->TableKind, 1);
    EXPECT_EQ(Form8->TableRowCount, 1);
    EXPECT_EQ(Form1->ResultPanelNumber, 3);
}

TEST_F(CalculationTables, TypedTextThatNamesNoPanelChoosesNothing) {
    AddPanel(AddSwitchboard(1), 3);
    for (const char* typed : {"77", "три"}) {
        SCOPED_TRACE(typed);
        Form1->N22->trigger();
        QComboBox* combo = Form1->PanelChooserCombo;
        combo->setCurrentIndex(0);
        combo->setEditText(typed);
        TForm4* before = Form4;
        QTest::mouseClick(Form1->PanelChooserButton, Qt::LeftButton);
        EXPECT_EQ(Form4, before);
    }
}

TEST_F(CalculationTables, EachWindowPreviewsItsOwnTable) {
    TwoSwitchboards();
    Form1->N55->trigger();
    TForm4* network = Form4;
    Form1->N22->trigger();
    Form1->PanelChooserCombo->setCurrentIndex(0);
    QTest::mouseClick(Form1->PanelChooserButton, Qt::LeftButton);
    TForm4* groups = Form4;
    ASSERT_NE(network, groups);
    EXPECT_TRUE(network->isVisible());
    // The older window previews the network table and closes itself, not the newer one.
    network->ToolButton1->trigger();
    EXPECT_FALSE(network->isVisible());
    EXPECT_TRUE(groups->isVisible());
    EXPECT_EQ(Form1->DocumentKind, CalculationTablesDocument);
    EXPECT_EQ(Form8->TableKind, 0);
    EXPECT_EQ(Form8->TableRowCount, 6);
    EXPECT_EQ(Form8->TablePageCount, 1);
    EXPECT_FALSE(Form7->isHidden());
    // "Выход" closes the window it belongs to.
    groups->ToolButton3->trigger();
    EXPECT_FALSE(groups->isVisible());
}

TEST_F(CalculationTables, PreviewOfAPanelDeletedSinceIsRefused) {
    TwoSwitchboards();
    Form1->N22->trigger();
    Form1->PanelChooserCombo->setCurrentIndex(2);  // panel 3
    QTest::mouseClick(Form1->PanelChooserButton, Qt::LeftButton);
    TForm4* window = Form4;
    ASSERT_EQ(window->PanelNumber, 3);
    // Panel 3 goes: switchboard 2 keeps no panel.
    TGrsed& sw2 = *ProjectRoot->Switchboards.Last;
    delete sw2.Panels.First;
    sw2.Panels = ChainBlock<TSitid>{};
    sw2.PanelCount = 0;
    window->ToolButton1->trigger();
    EXPECT_TRUE(Form7->isHidden());
    EXPECT_EQ(Form7->PageImage, nullptr);
    // The project closed: refused as well.
    Form1->N55->trigger();
    TForm4* network = Form4;
    DeleteProjectTree(ProjectRoot);
    ProjectRoot = nullptr;
    network->ToolButton1->trigger();
    EXPECT_TRUE(Form7->isHidden());
    ProjectRoot = new TGrsed;
}

TEST_F(CalculationTables, SwitchboardResultsGrid) {
    TGrsed& sw = AddSwitchboard(2);
    sw.SwitchboardPowerA = 3.5;
    sw.SwitchboardInputRating = 20;
    sw.SwitchboardBreakerType = "";
    Form1->N33Click();
    TForm4* window = Form4;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), "Секция КТП");
    const std::vector<Row> grid = GridTexts(*window->StringGrid1);
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid[0], SwitchboardResultHeadings());
    EXPECT_EQ(grid[1], (Row{"2", "3,5", "0", "0", "АВВГ", "95", "0", "0", "0", "0",
                            "",  "20",  "0", "0", "0",    "40", "1", "1", "1", "0"}));
}

// Every column of the results grids and of the journal grid is wide enough for each of its texts
// (the headings first) with the item's margins, in whatever font the desktop gives; no column is
// narrower than designed.
TEST_F(CalculationTables, GridColumnsHoldTheirTexts) {
    TwoSwitchboards();
    ASSERT_TRUE(ProjectRoot->FindPanel(3));
    AddGroup(*ProjectRoot->CurrentPanel(), "3.1", 4);
    struct Case {
        const char* name;
        std::function<QTableWidget*()> show;
        std::vector<std::pair<int, int>> designed;  // column, designed width
    };
    const Case cases[] = {
        {"switchboards and panels",
         [] {
             Form1->N55->trigger();
             return Form4->StringGrid1;
         },
         {{0, 64}, {3, 100}, {9, 180}, {14, 110}}},
        {"groups of panel 3",
         [] {
             Form1->N22->trigger();
             Form1->PanelChooserCombo->setCurrentIndex(2);
             QTest::mouseClick(Form1->PanelChooserButton, Qt::LeftButton);
             return Form4->StringGrid1;
         },
         {{2, 120}, {12, 225}, {15, 240}, {22, 150}}},
        {"switchboards",
         [] {
             Form1->N33Click();
             return Form4->StringGrid1;
         },
         {{4, 100}, {5, 90}, {0, 64}}},
        {"general journal",
         [] {
             Form1->FillCableJournal(0, 0);
             return Form8->StringGrid1;
         },
         {{0, 120}, {6, 120}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTableWidget* grid = c.show();
        ASSERT_NE(grid, nullptr);
        // The item's text is laid inside the focus frame's margin and one pixel more, each side.
        const int margins =
            2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
        const QFontMetrics metrics(grid->font());
        ASSERT_GT(grid->rowCount(), 1);
        for (int column = 0; column < grid->columnCount(); ++column)
            for (int row = 0; row < grid->rowCount(); ++row) {
                const QTableWidgetItem* item = grid->item(row, column);
                if (item == nullptr) continue;
                EXPECT_GE(grid->columnWidth(column),
                          metrics.horizontalAdvance(item->text()) + margins)
                    << "row " << row << ", column " << column << ": " << item->text().toStdString();
            }
        for (const auto& [column, width] : c.designed) EXPECT_GE(grid->columnWidth(column), width);
    }
}

namespace {

// Whether the heading row and the first four rows of the grid are in view, each whole.
bool ShowsFourRows(const QTableWidget& grid) {
    return grid.rowCount() >= 5 &&
           grid.rowViewportPosition(4) + grid.rowHeight(4) <= grid.viewport()->height();
}

}  // namespace

// The journal window and a results window open at 725 x 310 with their grids showing the heading
// row and four rows. Enlarged by the user, a results window's grid grows by as much (at first
// 715 x 150), and its buttons move down under it and stay centred.
TEST_F(CalculationTables, WindowsOpenWithFourRowsAndTheResultsGridGrowsWithItsWindow) {
    TGrsed& sw = AddSwitchboard(1);
    for (int number = 1; number <= 5; ++number) AddGroup(AddPanel(sw, number), "1", 2);
    Form1->FillCableJournal(0, 0);
    Form8->show();
    EXPECT_EQ(Form8->size(), QSize(725, 310));
    QTRY_VERIFY(ShowsFourRows(*Form8->StringGrid1));

    Form1->N55->trigger();
    TForm4* window = Form4;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(), QSize(725, 310));
    QTableWidget& grid = *window->StringGrid1;
    EXPECT_EQ(grid.size(), QSize(715, 150));
    QTRY_VERIFY(ShowsFourRows(grid));
    const QRect gridBefore = grid.geometry();
    const QPoint closeBefore = window->BitBtn1->pos();
    const QPoint helpBefore = window->BitBtn2->pos();

    window->resize(1025, 510);
    QTRY_COMPARE(window->size(), QSize(1025, 510));
    EXPECT_EQ(grid.geometry(), gridBefore.adjusted(0, 0, 300, 200));
    EXPECT_EQ(window->BitBtn1->pos(), closeBefore + QPoint(150, 200));
    EXPECT_EQ(window->BitBtn2->pos(), helpBefore + QPoint(150, 200));
    EXPECT_LT(grid.geometry().bottom(), window->BitBtn1->y());
    EXPECT_LE(window->BitBtn2->geometry().bottom(), window->height());
    EXPECT_EQ(window->MainMenu1->width(), 1025);
    EXPECT_EQ(window->ControlBar1->width(), 1025);
    // Back to its first size, it is laid out as it opened.
    window->resize(725, 310);
    QTRY_COMPARE(window->size(), QSize(725, 310));
    EXPECT_EQ(grid.geometry(), gridBefore);
    EXPECT_EQ(window->BitBtn1->pos(), closeBefore);
}
