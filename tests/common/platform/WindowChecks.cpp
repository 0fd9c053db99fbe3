#include "WindowChecks.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace {

// Room a text needs beside it in a control: the radio button's indicator, the button's frame.
int TextRoom(const QWidget& w) {
    if (qobject_cast<const QRadioButton*>(&w))
        return w.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
               w.style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    if (qobject_cast<const QPushButton*>(&w)) return 8;
    return 0;
}

}  // namespace

std::vector<std::string> Items(const QComboBox& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.count(); ++i) items.push_back(list.itemText(i).toStdString());
    return items;
}

QString ShownText(const QWidget& w) {
    if (const auto* label = qobject_cast<const QLabel*>(&w)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&w)) return button->text();
    if (const auto* box = qobject_cast<const QGroupBox*>(&w)) return box->title();
    return QString();
}

void ExpectNothingCutOff(QWidget& top) {
    const QList<QWidget*> all = top.findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (w->isHidden() || w->parentWidget() == nullptr || w->isWindow()) continue;
        // Only the controls the form places: not the parts Qt builds inside them.
        if (w->objectName().isEmpty() || w->objectName().startsWith("qt_")) continue;
        const std::string name = w->objectName().toStdString();
        QWidget* parent = w->parentWidget();
        EXPECT_TRUE(parent->rect().contains(w->geometry())) << name << " sticks out of its box";
        for (QWidget* other :
             parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (other == w || other->isHidden() || other->objectName().isEmpty()) continue;
            EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                << name << " overlaps " << other->objectName().toStdString();
        }
        if (const auto* list = qobject_cast<const QComboBox*>(w); list && list->count() > 0) {
            EXPECT_LE(list->sizeHint().width(), list->width()) << name << ": its items are cut off";
        }
        const QString text = ShownText(*w);
        if (text.isEmpty()) continue;
        const int needed = QFontMetrics(w->font()).horizontalAdvance(text) + TextRoom(*w);
        EXPECT_LE(needed, w->width()) << name << ": \"" << text.toStdString() << "\" is cut off";
        EXPECT_GE(w->height(), QFontMetrics(w->font()).height()) << name << " is too low";
    }
}
