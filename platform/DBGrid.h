#pragma once
// A grid over a client dataset, as the reference windows show their tables: one column per field,
// titled with the field's name, one line per row in the dataset's order, and the dataset's current
// row as the grid's current line.
//
// Editing a cell edits the dataset. In browse state the value is posted at once (Edit, set, Post);
// while a row is being inserted or edited (the navigator's insert and edit buttons) the value goes
// into that row, which the navigator posts, or which is posted when the user leaves it. A value or
// a post that the dataset refuses is shown in the standard error box and changes nothing.
//
// The grid shows a copy of the rows taken by Refresh, so painting never moves the dataset's cursor
// under code that is walking it. It refreshes itself when it is shown and when its window becomes
// active; code that opens, closes, loads or changes the dataset while the grid is visible calls
// Refresh. A refresh that finds as many lines under the same fields changes them in place: the
// view keeps its scroll position and its cell editor, and a row that a posted value moved in the
// order takes the current cell and the editor along. Only the dataset's cursor moves the current
// line during a refresh; the user's moves are clicks and keys.
#include <QTableView>
#include <string>

namespace platform {

class TClientDataSet;

class TDBGrid : public QTableView {
    Q_OBJECT

public:
    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    // nullptr detaches the grid; the dataset must outlive the grid or be detached first.
    void SetDataSet(TClientDataSet* dataSet);
    TClientDataSet* DataSet() const { return dataSet_; }

    // Re-reads the fields and rows of the dataset and shows its current row. The dataset's cursor
    // (and its end-of-data and beginning-of-data flags) are as they were afterwards.
    void Refresh();
    // The dataset was opened or changed: a visible grid refreshes at once, a hidden one when it
    // is shown or its rows or cells are asked for (and emits Refreshed then).
    void Invalidate();

    // The text shown in a cell, "" outside the grid.
    std::string CellText(int row, int column) const;

    // A value still in an open cell editor is taken into the dataset, as leaving the cell takes
    // it, and the editor is closed. False when the value was refused (the refusal has been
    // shown); true when it was taken or no editor was open.
    bool FinishEditing();
    // An open cell editor is closed without taking its value.
    void DiscardEditing();

signals:
    // The grid is about to change the dataset (set a value, post a row) or move its cursor.
    void BeforeChange();
    // The grid changed the dataset: a value set or posted, or the current row moved.
    void DataChanged();
    // The grid has read the dataset again.
    void Refreshed();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    class Model;
    friend class Model;

    bool EditCell(int row, int column, const std::string& text);
    void MoveTo(int row);
    void PostPendingRow();
    void ShowCurrentRow();
    void FitColumns();
    // Reads the dataset again; `movedFrom` is the line of the row that was the dataset's
    // current one before a change that may have moved it (by default the line being edited).
    void Reload(int movedFrom = -1);
    QWidget* OpenEditor() const;
    // Reads the dataset now when a refresh was put off.
    void Freshen() const;

    Model* model_;
    TClientDataSet* dataSet_ = nullptr;
    bool syncing_ = false;        // the grid itself is moving its current line
    bool columnsFitted_ = false;  // the column widths suit the fields shown
    bool stale_ = false;          // a refresh was put off while the grid was hidden
    bool editRefused_ = false;    // the last value handed to the dataset was not taken
};

}  // namespace platform
