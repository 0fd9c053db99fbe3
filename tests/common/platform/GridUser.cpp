#include "GridUser.h"

#include <QCoreApplication>
#include <QTest>
#include <QToolButton>

#include "platform/DBGrid.h"

GridUser::GridUser(platform::TDBGrid& grid, platform::TDBNavigator* navigator)
    : grid_(grid), navigator_(navigator) {}

void GridUser::ClickCell(int row, int column) {
    const QModelIndex cell = grid_.model()->index(row, column);
    grid_.scrollTo(cell);
    QTest::mouseClick(grid_.viewport(), Qt::LeftButton, {}, grid_.visualRect(cell).center());
    QCoreApplication::processEvents();
}

void GridUser::Click(platform::TDBNavigator::TNavigateBtn button) {
    QTest::mouseClick(navigator_->Button(button), Qt::LeftButton);
    QCoreApplication::processEvents();
}

void GridUser::Type(const std::string& text) {
    QString keys = QString::fromStdString(text);
    if (keys.isEmpty()) return;
    if (Editor() == nullptr) {
        QTest::keyClicks(&grid_, keys.left(1));
        keys.remove(0, 1);
    }
    if (QWidget* editor = Editor()) QTest::keyClicks(editor, keys);
    QCoreApplication::processEvents();
}

void GridUser::Press(Qt::Key key) {
    QWidget* editor = Editor();
    QTest::keyClick(editor != nullptr ? editor : static_cast<QWidget*>(&grid_), key);
    // Return hands the value to the view once the key has been handled.
    QCoreApplication::processEvents();
}

void GridUser::TypeRow(const std::vector<std::string>& values) {
    for (size_t i = 0; i < values.size(); ++i) {
        Type(values[i]);
        if (i + 1 < values.size()) Press(Qt::Key_Tab);
    }
}

QWidget* GridUser::Editor() const {
    return grid_.indexWidget(grid_.currentIndex());
}

int GridUser::CurrentRow() const {
    return grid_.currentIndex().row();
}

int GridUser::CurrentColumn() const {
    return grid_.currentIndex().column();
}

bool GridUser::CellInView(int row, int column) const {
    const QRect cell = grid_.visualRect(grid_.model()->index(row, column));
    return !cell.isEmpty() && grid_.viewport()->rect().contains(cell);
}

int GridUser::TopLineInView() const {
    return grid_.rowAt(0);
}

int GridUser::LineOf(const std::string& firstCell) const {
    for (int row = 0; row < grid_.model()->rowCount(); ++row)
        if (grid_.CellText(row, 0) == firstCell) return row;
    return -1;
}

namespace {

std::vector<std::string>& LostEditorTexts() {
    static std::vector<std::string> texts;
    return texts;
}

QtMessageHandler& PreviousHandler() {
    static QtMessageHandler previous = nullptr;
    return previous;
}

void CatchLostEditors(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains("does not belong to this view"))
        LostEditorTexts().push_back(text.toStdString());
    if (PreviousHandler() != nullptr) PreviousHandler()(type, context, text);
}

}  // namespace

LostEditorWarnings::LostEditorWarnings() {
    LostEditorTexts().clear();
    previous_ = qInstallMessageHandler(CatchLostEditors);
    PreviousHandler() = previous_;
}

LostEditorWarnings::~LostEditorWarnings() {
    qInstallMessageHandler(previous_);
    PreviousHandler() = nullptr;
}

const std::vector<std::string>& LostEditorWarnings::Texts() const {
    return LostEditorTexts();
}
