#include "platform/DBGrid.h"

#include <QAbstractTableModel>
#include <QEvent>
#include <QHeaderView>
#include <QMetaObject>
#include <QScopedValueRollback>
#include <algorithm>
#include <vector>

#include "platform/ClientDataSet.h"
#include "platform/Messages.h"

namespace platform {

// The rows as text, taken from the dataset by Reload. While a row is being edited or inserted,
// that row is shown from the dataset's edit buffer (an inserted row as an extra last line).
class TDBGrid::Model : public QAbstractTableModel {
public:
    explicit Model(TDBGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        grid_->Freshen();
        return parent.isValid() ? 0 : shown_.Lines();
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        grid_->Freshen();
        return parent.isValid() ? 0 : static_cast<int>(shown_.fields.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        grid_->Freshen();
        if (!index.isValid()) return {};
        const size_t column = static_cast<size_t>(index.column());
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return Text(index.row(), index.column());
        if (role == Qt::TextAlignmentRole && column < shown_.numeric.size())
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (shown_.numeric[column] ? Qt::AlignRight : Qt::AlignLeft));
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        grid_->Freshen();
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < static_cast<int>(shown_.fields.size()))
            return shown_.fields[static_cast<size_t>(section)];
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::EditRole) return false;
        return grid_->EditCell(index.row(), index.column(), value.toString().toStdString());
    }

    QString Text(int row, int column) const {
        grid_->Freshen();
        if (row < 0 || column < 0 || column >= static_cast<int>(shown_.fields.size())) return {};
        const size_t c = static_cast<size_t>(column);
        if (row == shown_.editRow) return c < shown_.buffer.size() ? shown_.buffer[c] : QString();
        if (row >= static_cast<int>(shown_.rows.size())) return {};
        const std::vector<QString>& values = shown_.rows[static_cast<size_t>(row)];
        return c < values.size() ? values[c] : QString();
    }

    // The row shown at `row` is the dataset's current row (the dataset may have been changed by
    // code since the rows were read).
    bool ShowsCurrentRow(int row, TClientDataSet& ds) const {
        return row >= 0 && row < static_cast<int>(shown_.rows.size()) &&
               shown_.rows[static_cast<size_t>(row)] == ReadRow(ds);
    }

    int EditRow() const {
        grid_->Freshen();
        return shown_.editRow;
    }
    int StoredRows() const {
        grid_->Freshen();
        return static_cast<int>(shown_.rows.size());
    }
    // The fields as read last (even when the grid is to read them again).
    const std::vector<QString>& Fields() const { return shown_.fields; }

    // Reads the dataset again. Lines that stay as many, under the same fields, are changed in
    // place, so that the view keeps its scroll position, its current cell and an open cell
    // editor; when the row that was the dataset's current one (at line `movedFrom`) now stands
    // at another line, the view's current cell and editor move with it. Otherwise the view is
    // reset.
    void Reload(TClientDataSet* ds, int movedFrom) {
        Shown next;
        if (ds != nullptr && ds->Active()) {
            for (int i = 0; i < ds->FieldCount(); ++i) {
                next.fields.push_back(QString::fromStdString(ds->FieldDefs()[i].Name()));
                next.numeric.push_back(ds->FieldDefs()[i].DataType() != ftString);
            }
            // Walking the rows would post a pending row, so while one is pending the rows read
            // last stay and only that row is read again.
            if (ds->State() == dsBrowse)
                next.rows = ReadAllRows(*ds);
            else if (next.fields == shown_.fields)
                next.rows = shown_.rows;
            if (ds->State() == dsEdit) {
                next.editRow = ds->RecNo() - 1;
                if (next.editRow >= static_cast<int>(next.rows.size())) next.editRow = -1;
            } else if (ds->State() == dsInsert) {
                next.inserting = true;
                next.editRow = static_cast<int>(next.rows.size());
            }
            if (next.editRow >= 0) next.buffer = ReadRow(*ds);
        }
        const int lines = next.Lines();
        if (next.fields != shown_.fields || lines != shown_.Lines() || lines == 0) {
            beginResetModel();
            shown_ = std::move(next);
            endResetModel();
            return;
        }
        const int movedTo = next.editRow >= 0 ? next.editRow
                            : ds->RecNo() > 0 ? ds->RecNo() - 1
                                              : movedFrom;
        if (movedFrom < 0 || movedFrom >= lines || movedTo < 0 || movedTo >= lines ||
            movedFrom == movedTo) {
            shown_ = std::move(next);
            emit dataChanged(index(0, 0),
                             index(lines - 1, static_cast<int>(shown_.fields.size()) - 1));
            return;
        }
        emit layoutAboutToBeChanged();
        shown_ = std::move(next);
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        for (const QModelIndex& i : before)
            after.push_back(index(MovedLine(i.row(), movedFrom, movedTo), i.column()));
        changePersistentIndexList(before, after);
        emit layoutChanged();
    }

    // Reads the row being edited again after one of its values was set.
    void ReloadEditRow(TClientDataSet& ds) {
        if (shown_.editRow < 0) return;
        shown_.buffer = ReadRow(ds);
        emit dataChanged(index(shown_.editRow, 0), index(shown_.editRow, columnCount() - 1));
    }

private:
    // Where a line stands after the row at `from` moved to `to` and the lines between closed up.
    static int MovedLine(int line, int from, int to) {
        if (line == from) return to;
        if (from < to && line > from && line <= to) return line - 1;
        if (to < from && line >= to && line < from) return line + 1;
        return line;
    }

    static std::vector<QString> ReadRow(TClientDataSet& ds) {
        std::vector<QString> values;
        for (int i = 0; i < ds.FieldCount(); ++i)
            values.push_back(QString::fromStdString(ds.Fields(i).AsString()));
        return values;
    }

    // Every row in the dataset's order; the cursor and its flags are put back afterwards.
    static std::vector<std::vector<QString>> ReadAllRows(TClientDataSet& ds) {
        const int recNo = ds.RecNo();
        const bool eof = ds.Eof();
        const bool bof = ds.Bof();
        std::vector<std::vector<QString>> rows;
        for (ds.First(); !ds.Eof(); ds.Next()) rows.push_back(ReadRow(ds));
        if (recNo > 0) {
            ds.First();
            ds.MoveBy(recNo - 1);
            if (eof)
                ds.Next();
            else if (bof)
                ds.Prior();
        }
        return rows;
    }

    // What the grid shows: the fields, the stored rows, and the row being edited or inserted
    // (an inserted row is the extra last line).
    struct Shown {
        std::vector<QString> fields;
        std::vector<bool> numeric;
        std::vector<std::vector<QString>> rows;
        std::vector<QString> buffer;
        int editRow = -1;
        bool inserting = false;
        int Lines() const { return static_cast<int>(rows.size()) + (inserting ? 1 : 0); }
    };

    TDBGrid* grid_;
    Shown shown_;
};

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent), model_(new Model(this)) {
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    setAlternatingRowColors(true);
}

TDBGrid::~TDBGrid() = default;

void TDBGrid::SetDataSet(TClientDataSet* dataSet) {
    dataSet_ = dataSet;
    Refresh();
}

void TDBGrid::Refresh() {
    Reload();
}

void TDBGrid::Invalidate() {
    // Code that opens tables by the thousand (the cable selection) does not pay for reading
    // them into a grid nobody sees.
    if (isVisible()) {
        Reload();
        return;
    }
    stale_ = true;
}

void TDBGrid::Freshen() const {
    if (stale_) const_cast<TDBGrid*>(this)->Reload();
}

void TDBGrid::Reload(int movedFrom) {
    stale_ = false;
    const std::vector<QString> oldFields = model_->Fields();
    {
        // Whatever becomes of the view's current cell while the rows are read again (a reset
        // hands the focus of a cell editor it closes on to the next cell) is no move of the
        // user's: the dataset's current row is shown afterwards.
        const QScopedValueRollback<bool> syncing(syncing_, true);
        model_->Reload(dataSet_, movedFrom >= 0 ? movedFrom : model_->EditRow());
    }
    // Measuring the columns is the costly part; a hidden grid does it when it is shown.
    if (model_->Fields() != oldFields) columnsFitted_ = false;
    if (!columnsFitted_ && isVisible()) FitColumns();
    ShowCurrentRow();
    emit Refreshed();
}

// Each column as wide as its values and its title, the title broken onto a second line where
// that saves width (field names such as "Потери холостого хода Вт" are long).
void TDBGrid::FitColumns() {
    columnsFitted_ = true;
    const QFontMetrics values = fontMetrics();
    const QFontMetrics titles = horizontalHeader()->fontMetrics();
    const int padding = 16;
    const int widest = values.horizontalAdvance(QString(24, QChar('0')));
    bool twoLines = false;
    for (int c = 0; c < model_->columnCount(); ++c) {
        int content = 0;
        for (int r = 0; r < model_->rowCount(); ++r)
            content = std::max(content, values.horizontalAdvance(model_->Text(r, c)));
        const QStringList words = model_->Fields()[static_cast<size_t>(c)].split(' ');
        int title = titles.horizontalAdvance(words.join(' '));
        for (int k = 1; k < words.size(); ++k)
            title = std::min(title, std::max(titles.horizontalAdvance(words.mid(0, k).join(' ')),
                                             titles.horizontalAdvance(words.mid(k).join(' '))));
        const int width = std::min(std::max(content, title) + padding, widest);
        if (width < titles.horizontalAdvance(words.join(' ')) + padding) twoLines = true;
        setColumnWidth(c, width);
    }
    horizontalHeader()->setFixedHeight((twoLines ? 2 : 1) * titles.lineSpacing() + 8);
}

std::string TDBGrid::CellText(int row, int column) const {
    return model_->Text(row, column).toStdString();
}

bool TDBGrid::event(QEvent* event) {
    // The dataset may have been reloaded by another window's command meanwhile.
    if (event->type() == QEvent::WindowActivate && state() != QAbstractItemView::EditingState)
        Refresh();
    return QTableView::event(event);
}

void TDBGrid::showEvent(QShowEvent* event) {
    Refresh();
    if (!columnsFitted_) FitColumns();
    QTableView::showEvent(event);
}

void TDBGrid::ShowCurrentRow() {
    int row = -1;
    if (dataSet_ != nullptr && dataSet_->Active())
        row = model_->EditRow() >= 0 ? model_->EditRow() : dataSet_->RecNo() - 1;
    const QScopedValueRollback<bool> syncing(syncing_, true);
    if (row >= 0 && row < model_->rowCount()) {
        const int column = std::max(currentIndex().column(), 0);
        selectionModel()->setCurrentIndex(model_->index(row, column),
                                          QItemSelectionModel::ClearAndSelect);
    } else {
        selectionModel()->clear();
    }
}

void TDBGrid::MoveTo(int row) {
    if (row < 0 || row >= model_->StoredRows() || row >= dataSet_->RecordCount()) return;
    const int recNo = dataSet_->RecNo();
    if (recNo == 0) {
        dataSet_->First();
        dataSet_->MoveBy(row);
    } else {
        dataSet_->MoveBy(row + 1 - recNo);
    }
}

void TDBGrid::PostPendingRow() {
    if (dataSet_->Modified())
        dataSet_->Post();
    else
        dataSet_->Cancel();
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (syncing_ || dataSet_ == nullptr || !dataSet_->Active() || !current.isValid()) return;
    if (previous.isValid() && previous.row() == current.row()) return;
    const TDataSetState state = dataSet_->State();
    if (state == dsEdit || state == dsInsert) {
        if (current.row() == model_->EditRow()) return;
        // Leaving the row being edited posts it. That re-reads the rows, which is done once the
        // view has finished moving its current line.
        QMetaObject::invokeMethod(
            this,
            [this] {
                RunGuarded([this] {
                    if (dataSet_ == nullptr || !dataSet_->Active()) return;
                    const TDataSetState now = dataSet_->State();
                    if (now == dsEdit || now == dsInsert) {
                        emit BeforeChange();
                        try {
                            PostPendingRow();
                        } catch (...) {
                            ShowCurrentRow();  // back to the row that could not be posted
                            throw;
                        }
                    }
                    Refresh();
                    emit DataChanged();
                });
            },
            Qt::QueuedConnection);
        return;
    }
    RunGuarded([&] {
        emit BeforeChange();
        MoveTo(current.row());
        emit DataChanged();
    });
}

bool TDBGrid::EditCell(int row, int column, const std::string& text) {
    editRefused_ = true;
    if (dataSet_ == nullptr || !dataSet_->Active()) return false;
    bool taken = false;
    RunGuarded([&] {
        emit BeforeChange();
        const TDataSetState state = dataSet_->State();
        if (state == dsBrowse) {
            if (row >= model_->StoredRows()) return;
            MoveTo(row);
            if (!model_->ShowsCurrentRow(row, *dataSet_)) return;  // shown rows were out of date
            dataSet_->Edit();
            try {
                dataSet_->Fields(column).SetAsString(text);
                dataSet_->Post();
            } catch (...) {
                dataSet_->Cancel();
                throw;
            }
            taken = true;
            // The row may have moved in the order: the cell being edited moves with it.
            Reload(row);
            emit DataChanged();
            return;
        }
        if (row != model_->EditRow()) {
            // A line other than the one being edited: that one is posted first, as leaving it
            // does; the value typed here is not taken.
            PostPendingRow();
            Refresh();
            emit DataChanged();
            return;
        }
        dataSet_->Fields(column).SetAsString(text);
        taken = true;
        model_->ReloadEditRow(*dataSet_);
        emit DataChanged();
    });
    if (!taken) Refresh();
    editRefused_ = !taken;
    return taken;
}

QWidget* TDBGrid::OpenEditor() const {
    if (state() != QAbstractItemView::EditingState) return nullptr;
    return indexWidget(currentIndex());
}

bool TDBGrid::FinishEditing() {
    QWidget* editor = OpenEditor();
    if (editor == nullptr) return true;
    editRefused_ = false;
    commitData(editor);
    const bool taken = !editRefused_;
    if (OpenEditor() == editor) closeEditor(editor, QAbstractItemDelegate::NoHint);
    return taken;
}

void TDBGrid::DiscardEditing() {
    if (QWidget* editor = OpenEditor()) closeEditor(editor, QAbstractItemDelegate::NoHint);
}

}  // namespace platform
