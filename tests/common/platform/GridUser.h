#pragma once
// A user at a table grid and its navigator: mouse clicks on cells and buttons, keys typed into
// the grid, which opens the cell editor with the first key, as typing over a cell does, and
// keys into the open cell editor. Also catches what Qt says about editors it lost track of.
#include <QString>
#include <QtMessageHandler>
#include <string>
#include <vector>

#include "platform/DBNavigator.h"

class QWidget;

namespace platform {
class TDBGrid;
}

class GridUser {
public:
    GridUser(platform::TDBGrid& grid, platform::TDBNavigator* navigator = nullptr);

    // Scrolls the cell into view, as the user does with the scroll bar, and clicks it.
    void ClickCell(int row, int column);
    // Clicks a navigator button (its action runs when it is enabled).
    void Click(platform::TDBNavigator::TNavigateBtn button);
    // Types the text: into the open cell editor, or over the current cell (the first key opens
    // its editor).
    void Type(const std::string& text);
    // A key into the open cell editor, or into the grid when none is open.
    void Press(Qt::Key key);
    // Types the values into the current cell and those after it, each ended with Tab; the last
    // one is left in its open editor.
    void TypeRow(const std::vector<std::string>& values);

    // The open cell editor, nullptr when none is open.
    QWidget* Editor() const;
    // The line and column of the grid's current cell.
    int CurrentRow() const;
    int CurrentColumn() const;
    // The cell lies wholly inside the part of the grid the user sees.
    bool CellInView(int row, int column) const;
    // The first line the user sees at the top of the grid.
    int TopLineInView() const;
    // The first line whose first cell shows the text; -1 when there is none.
    int LineOf(const std::string& firstCell) const;

private:
    platform::TDBGrid& grid_;
    platform::TDBNavigator* navigator_;
};

// Collects Qt's warnings about cell editors that a view no longer knows ("... called with an
// editor that does not belong to this view") while it lives.
class LostEditorWarnings {
public:
    LostEditorWarnings();
    ~LostEditorWarnings();
    LostEditorWarnings(const LostEditorWarnings&) = delete;
    LostEditorWarnings& operator=(const LostEditorWarnings&) = delete;

    const std::vector<std::string>& Texts() const;

private:
    QtMessageHandler previous_;
};
