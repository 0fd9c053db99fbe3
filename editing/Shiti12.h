#pragma once
#include <QDialog>
#include <string>
#include <vector>

#include "selection/TemperatureCorrection.h"
#include "ui_TShiti.h"

class TSitid;

class TShiti : public QDialog, public Ui::TShiti, public CableCurrentCorrection {
    Q_OBJECT

public:
    explicit TShiti(QWidget* parent = nullptr);

    // Cable names in use over the whole project, in tree order.
    std::vector<std::string> CableNames;
    // Equal to the root's SwitchboardCount.
    int SwitchboardCounter = 0;
    // Panels of the switchboard chosen in ComboBox2.
    int PanelCounter = 0;
    // The user chose, on changing a panel's connection or a main switchboard, to have the
    // breakers set automatically.
    bool AutoBreakers = false;
    // The panel whose connection is being changed.
    TSitid* PanelToRestore = nullptr;
};

extern TShiti* Shiti;
