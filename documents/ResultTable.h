#pragma once
// The calculation table window: a results grid made by a results command, with the preview of
// the printable table it belongs to and the reference books.
#include <QDialog>
#include <cstdint>
#include <string>

#include "ui_TForm4.h"

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

    // Makes the grid: top 50 below the menu, its size, columns and rows.
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
};

extern TForm4* Form4;
