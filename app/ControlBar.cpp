#include "app/ControlBar.h"

#include <QChildEvent>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace {
constexpr int kMargin = 2;   // around the rows
constexpr int kSpacing = 6;  // between two bands, with an etched line in the middle
}  // namespace

TControlBar::TControlBar(QWidget* parent) : QFrame(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

std::vector<QWidget*> TControlBar::Bands() const {
    std::vector<QWidget*> bands;
    for (QObject* child : children()) {
        auto* band = qobject_cast<QWidget*>(child);
        if (band != nullptr && !band->isWindow() && !band->isHidden()) bands.push_back(band);
    }
    return bands;
}

int TControlBar::Arrange(int width, bool place) const {
    int x = kMargin;
    int y = kMargin;
    int rowHeight = 0;
    for (QWidget* band : Bands()) {
        const QSize size = band->sizeHint().expandedTo(band->minimumSizeHint());
        if (x > kMargin && x + size.width() > width - kMargin) {
            x = kMargin;
            y += rowHeight + kMargin;
            rowHeight = 0;
        }
        if (place)
            band->setGeometry(x, y, std::min(size.width(), width - 2 * kMargin), size.height());
        x += size.width() + kSpacing;
        rowHeight = std::max(rowHeight, size.height());
    }
    return rowHeight == 0 ? 0 : y + rowHeight + kMargin;
}

QSize TControlBar::sizeHint() const {
    int width = 2 * kMargin;
    for (QWidget* band : Bands()) width += band->sizeHint().width() + kSpacing;
    return {width, Arrange(width, false)};
}

QSize TControlBar::minimumSizeHint() const {
    // As narrow as the widest band; the rest wraps.
    int width = 0;
    for (QWidget* band : Bands()) width = std::max(width, band->minimumSizeHint().width());
    width += 2 * kMargin;
    return {width, Arrange(width, false)};
}

int TControlBar::heightForWidth(int width) const {
    return Arrange(width, false);
}

bool TControlBar::event(QEvent* event) {
    // A band that changed its size (a button hidden, a longer item in a combo box) asks again.
    if (event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        Arrange(width(), true);
    }
    return QFrame::event(event);
}

void TControlBar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Arrange(width(), true);
}

void TControlBar::childEvent(QChildEvent* event) {
    QFrame::childEvent(event);
    if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved)
        updateGeometry();
}

void TControlBar::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    // An etched line after each band, as between the bands of a classic control bar.
    QPainter painter(this);
    const QColor dark = palette().color(QPalette::Mid);
    const QColor light = palette().color(QPalette::Light);
    for (QWidget* band : Bands()) {
        const QRect place = band->geometry();
        const int x = place.right() + kSpacing / 2;
        if (x >= width() - kMargin) continue;
        painter.setPen(dark);
        painter.drawLine(x, place.top() + 2, x, place.bottom() - 2);
        painter.setPen(light);
        painter.drawLine(x + 1, place.top() + 2, x + 1, place.bottom() - 2);
    }
    // The bottom edge parts the bar from the window's client area.
    painter.setPen(dark);
    painter.drawLine(0, height() - 1, width(), height() - 1);
}
