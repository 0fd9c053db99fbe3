#pragma once
// Checks of a window as the user sees it.
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

class QComboBox;

// The items of a list, in order.
std::vector<std::string> Items(const QComboBox& list);

// The text a control shows: a label's, a button's, a group box's title.
QString ShownText(const QWidget& control);

// Every shown control lies inside its parent, none overlaps a shown sibling, every caption has
// room for its text and every list for its items.
void ExpectNothingCutOff(QWidget& window);
