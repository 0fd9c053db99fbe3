#include "groups/Dan12.h"

#include "calc/PanelNumbers.h"

TDan1* Dan1 = nullptr;

TDan1::TDan1(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}

void TDan1::FillPanelNumbers() {
    const PanelNumberList list = ListPanelNumbers(ProjectRoot);
    ComboBox2->clear();
    for (const std::string& item : list.Items) ComboBox2->addItem(QString::fromStdString(item));
    // Adding to an empty list chooses its first item; only the computed choice stands.
    ComboBox2->setCurrentIndex(list.Selected);
}
