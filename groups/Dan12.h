#pragma once
#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "calc/Recalculation.h"
#include "model/NodeResets.h"
#include "refdb/CableTableLoader.h"
#include "selection/EquipmentSelection.h"
#include "ui_TDan1.h"

class TDan1 : public QDialog,
              public Ui::TDan1,
              public NodeResets,
              public CableTableLoader,
              public NetworkCalculation,
              public EquipmentSelection {
    Q_OBJECT

public:
    explicit TDan1(QWidget* parent = nullptr);

    // Every group name of the project, in tree order.
    std::vector<std::string> GroupNames;
    // Copies of the current panel's SchemeGroupCount, SinglePhaseCount, TwoPhaseCount and
    // ThreePhaseCount.
    std::array<int, 4> GroupCountCopies{};

    // Lists the panels of the current switchboard in ComboBox2 ("Щит №"), the last panel chosen
    // when it hangs on another panel; the switchboard's panel cursor ends on its last panel.
    void FillPanelNumbers();
};

extern TDan1* Dan1;
