#include "documents/ResultTable.h"

#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

#include "app/Mainform.h"
#include "documents/ConsumerTable.h"
#include "documents/Kabj2.h"
#include "drawings/DrawingState.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Conversions.h"
#include "platform/Events.h"
#include "platform/Help.h"

TForm4* Form4 = nullptr;

namespace {

// The menu bar lies inside the window here: the designed tops are counted below it.
int BelowMenu(const TForm4& window, int top) {
    return top + window.MainMenu1->height();
}

}  // namespace

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(725, 310);
    BitBtn2->setProperty("HelpContext", 110);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);
    connect(BitBtn2, &QPushButton::clicked, this,
            [this] { platform::ShowHelpContext(BitBtn2->property("HelpContext").toInt()); });
    struct Command {
        QAction* item;
        void (TForm4::*handler)();
    };
    const Command commands[] = {
        {N2, &TForm4::ToolButton1Click},  {ToolButton1, &TForm4::ToolButton1Click},
        {N3, &TForm4::ToolButton3Click},  {ToolButton3, &TForm4::ToolButton3Click},
        {N6, &TForm4::ToolButton5Click},  {ToolButton5, &TForm4::ToolButton5Click},
        {N7, &TForm4::ToolButton7Click},  {ToolButton7, &TForm4::ToolButton7Click},
        {N10, &TForm4::ToolButton9Click}, {ToolButton9, &TForm4::ToolButton9Click},
    };
    for (const Command& command : commands) platform::OnClick(command.item, this, command.handler);
    platform::OnClick(BitBtn3, this, &TForm4::BitBtn3Click);
    for (QWidget* button : {BitBtn1, BitBtn3, BitBtn2})
        buttons_.emplace_back(button, button->geometry());
}

TForm4::~TForm4() {
    if (Form4 == this) Form4 = nullptr;
}

TForm4* TForm4::NewResultWindow() {
    // The window shown before stays open; the main window frees it at the end.
    if (Form4 != nullptr && Form4->parent() == nullptr && Form1 != nullptr)
        Form4->setParent(Form1, Form4->windowFlags());
    Form4 = new TForm4(Form1);
    return Form4;
}

QTableWidget* TForm4::AddGrid(int top, int height, int width, int columns, int rows) {
    delete StringGrid1;
    StringGrid1 = new QTableWidget(rows, columns, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setGeometry(0, BelowMenu(*this, top), width, height);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setDefaultSectionSize(64);
    StringGrid1->verticalHeader()->setDefaultSectionSize(24);
    laidOutFor_ = size();
    gridLaidOut_ = StringGrid1->geometry();
    StringGrid1->show();
    return StringGrid1;
}

void TForm4::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FollowWindowSize();
}

void TForm4::FollowWindowSize() {
    MainMenu1->resize(width(), MainMenu1->height());
    ControlBar1->resize(width(), ControlBar1->height());
    if (StringGrid1 == nullptr || !laidOutFor_.isValid()) return;
    // The window is never made smaller than the size the grid was laid out for.
    const int wider = std::max(width() - laidOutFor_.width(), 0);
    const int higher = std::max(height() - laidOutFor_.height(), 0);
    StringGrid1->setGeometry(gridLaidOut_.adjusted(0, 0, wider, higher));
    // The buttons stay centred under the grid.
    for (const auto& [button, designed] : buttons_)
        button->move(designed.topLeft() + QPoint(wider / 2, higher));
}

std::string TForm4::PreviewTitle() const {
    if (TableKind == 1)
        return "Таблица расчетных данных потребителей (Щит" + platform::IntToStr(PanelNumber) +
               ").";
    return "Таблица расчетных данных распределительной сети.";
}

void TForm4::ToolButton1Click() {
    close();
    if (ProjectRoot == nullptr || Form1 == nullptr || Form8 == nullptr) return;
    TGrsed& root = *ProjectRoot;
    int rows = 0;
    if (TableKind == 1) {
        // The panel may have been deleted since the table was made.
        if (!root.FindPanel(PanelNumber)) return;
        rows = ConsumerTableRowCount(root, PanelNumber);
    } else {
        // The heading row and one row per switchboard and per panel, as the tree has them now.
        rows = 1;
        for (const TGrsed* sw : chains::SwitchboardsOf(root))
            rows += 1 + static_cast<int>(chains::PanelsOf(*sw).size());
    }
    Form8->TableKind = TableKind;
    Form8->TableRowCount = rows;
    Form1->ResultPanelNumber = PanelNumber;
    Form1->DocumentKind = CalculationTablesDocument;
    Form8->PreviewCalcTables(0, rows, PreviewTitle(), TableKind, PanelNumber);
}

void TForm4::ToolButton3Click() {
    close();
}

void TForm4::ToolButton5Click() {
    if (Form1 != nullptr) Form1->N18Click();
}

void TForm4::ToolButton7Click() {
    if (Form1 != nullptr) Form1->N19Click();
}

void TForm4::ToolButton9Click() {
    if (Form1 != nullptr) Form1->N20Click();
}

void WidenColumnsToTexts(QTableWidget& grid) {
    // The size hint of the item views measures the texts with the grid's own font and margins.
    const QAbstractItemView& view = grid;
    for (int column = 0; column < grid.columnCount(); ++column) {
        const int needed = view.sizeHintForColumn(column);
        if (needed > grid.columnWidth(column)) grid.setColumnWidth(column, needed);
    }
}
