// The main window's operations of the result tables and the cable journals: the journal window
// filled, the panel chooser of the group results, and the results grids of the groups of a
// panel, of the switchboards and panels, and of the switchboards.
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

#include "app/Mainform.h"
#include "documents/GroupResults.h"
#include "documents/JournalRows.h"
#include "documents/Kabj2.h"
#include "documents/NetworkTable.h"
#include "documents/ResultTable.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Conversions.h"
#include "platform/Events.h"

namespace {

void SetCell(QTableWidget& grid, int row, int column, const std::string& text) {
    grid.setItem(row, column, new QTableWidgetItem(QString::fromStdString(text)));
}

void SetRow(QTableWidget& grid, int row, const std::vector<std::string>& cells) {
    for (std::size_t column = 0; column < cells.size(); ++column)
        SetCell(grid, row, int(column), cells[column]);
}

// A results window of that size, shown, with its grid.
TForm4& NewResultWindow(int width, int height) {
    TForm4& window = *TForm4::NewResultWindow();
    window.setMinimumSize(width, height);
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window.resize(width, height);
    window.show();
    return window;
}

}  // namespace

void TForm1::FillCableJournal(int journalKind, int number) {
    if (Form8 == nullptr) return;
    Form8->SetJournalHeader();
    switch (journalKind) {
        case GeneralJournal:
            Form8->FillGeneralJournal();
            break;
        case SectionJournal:
            Form8->FillSectionJournal();
            break;
        case SwitchboardJournal:
            Form8->FillSwitchboardJournal(number);
            break;
        case PanelJournal:
            Form8->FillPanelJournal(number);
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------------
// Group results

QPushButton* TForm1::ChoosePanelDialog() {
    if (PanelChooserForm) PanelChooserForm->close();
    auto* chooser = new QWidget(this, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                          Qt::WindowStaysOnTopHint);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    chooser->setObjectName("PanelChooserForm");
    chooser->setWindowTitle("Щиты");
    chooser->resize(200, 150);
    PanelChooserForm = chooser;

    auto* combo = new QComboBox(chooser);
    combo->setObjectName("PanelChooserCombo");
    combo->setEditable(true);
    combo->move(chooser->width() / 2 - combo->width() / 2, 50);
    auto* button = new QPushButton("Ok", chooser);
    button->setObjectName("PanelChooserButton");
    button->move(chooser->width() / 2 - button->width() / 2, 90);
    PanelChooserCombo = combo;
    PanelChooserButton = button;
    platform::OnClick(button, this, &TForm1::FillGroupResults);

    // Every panel, switchboard by switchboard; a switchboard without panels lists none.
    if (ProjectRoot != nullptr) {
        for (const TGrsed* sw : chains::SwitchboardsOf(*ProjectRoot))
            for (const TSitid* panel : chains::PanelsOf(*sw))
                combo->addItem(QString::fromStdString(platform::IntToStr(panel->PanelNumber)));
        if (combo->count() > 0) chooser->setWindowTitle("Щит №");
    }
    combo->setCurrentIndex(-1);
    CentreOverMainWindow(*chooser);
    chooser->show();
    return button;
}

void TForm1::FillGroupResults() {
    QWidget* chooser = PanelChooserForm;
    const QComboBox* combo = PanelChooserCombo;
    int number = 0;
    const bool chosen = combo != nullptr && combo->currentIndex() >= 0 &&
                        platform::TryStrToInt(combo->currentText().toStdString(), number);
    if (chooser != nullptr) chooser->close();
    // The text must name a panel of the open project: anything else chooses nothing.
    if (!chosen || ProjectRoot == nullptr || !ProjectRoot->FindPanel(number) || Form8 == nullptr)
        return;
    TSitid& panel = *ProjectRoot->CurrentPanel();
    const std::vector<std::vector<std::string>> rows = GroupResultRows(panel);
    const int schemeRecords = static_cast<int>(
        chains::Elements(panel.SchemeGroups, chains::SchemeLink{}, panel.SchemeGroupCount).size());

    ResultPanelNumber = number;
    Form8->TableKind = 1;
    Form8->TableRowCount = schemeRecords;
    TForm4& window = NewResultWindow(725, 310);
    window.TableKind = 1;
    window.PanelNumber = number;
    QTableWidget& grid = *window.AddGrid(50, 150, 715, kGroupResultCells, schemeRecords + 1);
    for (int column : {2, 3, 8, 9}) grid.setColumnWidth(column, 120);
    for (int column : {10, 11, 18}) grid.setColumnWidth(column, 100);
    for (int column : {12, 13, 14}) grid.setColumnWidth(column, 225);
    for (int column : {15, 16, 17}) grid.setColumnWidth(column, 240);
    grid.setColumnWidth(22, 150);
    SetRow(grid, 0, GroupResultHeadings());
    for (std::size_t r = 0; r < rows.size(); ++r) SetRow(grid, int(r) + 1, rows[r]);
    WidenColumnsToTexts(grid);
    window.setWindowTitle(
        QString::fromStdString("(Результаты) Щит № " + platform::IntToStr(number)));
}

// ---------------------------------------------------------------------------------------------
// Switchboard and panel results

void TForm1::ShowNetworkResults() {
    if (ProjectRoot == nullptr || ProjectRoot->TotalDesignPower == 0 ||
        ProjectRoot->Switchboards.First == nullptr || Form8 == nullptr)
        return;
    static const std::vector<std::string> headings = {
        "Щиты",
        "Pуст. кВт",
        "Pрас. кВт",
        "Марка кабеля",
        "Длина м.",
        "Сечение кв.мм",
        "Ipас. А",
        "Марка автомата",
        "Ном. ток авт. A",
        "Падение напряжения до щита%",
        "Отклонение напряжения на щите%",
        "Cos f ",
        "Однофазный КЗ  А",
        "Трехфазный КЗ  А",
        "Ударный ток КЗ  кА",
    };
    const std::vector<NetworkTableEntry> entries = NetworkTableEntries(*ProjectRoot);
    const int rows = 1 + static_cast<int>(entries.size());
    Form8->TableKind = 0;
    Form8->TableRowCount = rows;
    TForm4& window = NewResultWindow(725, 310);
    window.TableKind = 0;
    QTableWidget& grid = *window.AddGrid(50, 150, 715, kNetworkGridCells, rows);
    for (int column = 3; column <= 8; ++column) grid.setColumnWidth(column, 100);
    for (int column : {9, 10}) grid.setColumnWidth(column, 180);
    for (int column = 11; column <= 14; ++column) grid.setColumnWidth(column, 110);
    window.setWindowTitle("(Результаты) Щиты");
    SetRow(grid, 0, headings);
    for (std::size_t r = 0; r < entries.size(); ++r)
        SetRow(grid, int(r) + 1, NetworkGridRow(entries[r]));
    WidenColumnsToTexts(grid);
}

// ---------------------------------------------------------------------------------------------
// Switchboard results

void TForm1::N33Click() {
    if (ProjectRoot == nullptr || ProjectRoot->SwitchboardCount == 0) return;
    const std::vector<TGrsed*> switchboards = chains::SwitchboardsOf(*ProjectRoot);
    TForm4& window = NewResultWindow(620, 240);
    QTableWidget& grid =
        *window.AddGrid(50, 120, 590, kSwitchboardResultCells, int(switchboards.size()) + 1);
    grid.setColumnWidth(4, 100);
    grid.setColumnWidth(5, 90);
    for (int column = 10; column <= 14; ++column) grid.setColumnWidth(column, 100);
    window.setWindowTitle("Секция КТП");
    SetRow(grid, 0, SwitchboardResultHeadings());
    for (std::size_t r = 0; r < switchboards.size(); ++r)
        SetRow(grid, int(r) + 1, SwitchboardResultRow(*switchboards[r]));
    WidenColumnsToTexts(grid);
    ProjectRoot->Switchboards.Cursor = nullptr;
}
