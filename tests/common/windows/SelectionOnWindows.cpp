#include "SelectionOnWindows.h"

#include "groups/InsertAvtomat.h"

std::vector<std::string> ListedSeries() {
    std::vector<std::string> series;
    for (int i = 0; i < InsertAvtomat->ComboBox1->count(); ++i)
        series.push_back(InsertAvtomat->ComboBox1->itemText(i).toStdString());
    return series;
}
