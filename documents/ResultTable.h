#pragma once
// The calculation table window: a results grid made by a results command, with the preview of
// the printable table it belongs to and the reference books.
#include <QDialog>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui_TForm4.h"

class QResizeEvent;
class QTableWidget;

class TForm4 : public QDialog, public Ui::TForm4 {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    // A new results window, which becomes Form4; the windows made before stay open and are
    // freed with the main window.
    static TForm4* NewResultWindow();

    // The grid the results command made on this window; null until then.
    QTableWidget* StringGrid1 = nullptr;
    // The printable table of this window: 1 the consumers table of the panel PanelNumber, 0 the
    // distribution-network table. Each window keeps its own.
    std::uint8_t TableKind = 0;
    int PanelNumber = 0;

    // Makes the grid: top 50 below the menu, its size, columns and rows. The window's size then
    // is the one the grid is laid out for: when the user enlarges the window, the grid grows by
    // as much, the buttons keep their place under it, and the menu and tool bars span the width.
    QTableWidget* AddGrid(int top, int height, int width, int columns, int rows);

    // "Предварительный просмотр": this window closes and its table is shown as preview pages.
    // Refused (nothing happens) when the project is closed or the panel no longer exists.
    void ToolButton1Click();
    // "Выход": this window closes.
    void ToolButton3Click();
    // The main window's reference books: cables, transformers, breakers.
    void ToolButton5Click();
    void ToolButton7Click();
    void ToolButton9Click();
    // "Отчет": this window's table as a Word document.
    void BitBtn3Click();

    // Title of the preview of this window's table.
    std::string PreviewTitle() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Lays the grid, the buttons and the bars out for the window's size.
    void FollowWindowSize();

    // The window's size the grid was laid out for, the grid's geometry then, and the buttons'
    // designed places.
    QSize laidOutFor_;
    QRect gridLaidOut_;
    std::vector<std::pair<QWidget*, QRect>> buttons_;
};

extern TForm4* Form4;

// Widens every column of the grid that is narrower than its texts (the heading row included);
// wider columns keep their width.
void WidenColumnsToTexts(QTableWidget& grid);
