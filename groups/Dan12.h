#pragma once
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/NodeResets.h"
#include "refdb/CableTableLoader.h"
#include "selection/NetworkChecks.h"
#include "ui_TDan1.h"

class TDan1 : public QDialog,
              public Ui::TDan1,
              public NodeResets,
              public CableTableLoader,
              public NetworkChecks {
    Q_OBJECT

public:
    explicit TDan1(QWidget* parent = nullptr);

    // Every group name of the project, in tree order.
    std::vector<std::string> GroupNames;
    // Copies of the current panel's SchemeGroupCount, SinglePhaseCount, TwoPhaseCount and
    // ThreePhaseCount.
    std::array<int, 4> GroupCountCopies{};
    // The new-panel remedy of a failed short-circuit check is under way: the connection window
    // then closes itself after connecting the new panel, without the project refresh of its
    // "Закрыть". NewPanelDialogOpen: the remedy is showing the connection window right now.
    std::uint8_t RemedyActive = 0;
    std::uint8_t NewPanelDialogOpen = 0;

    // Lists the panels of the current switchboard in ComboBox2 ("Щит №"), the last panel chosen
    // when it hangs on another panel; the switchboard's panel cursor ends on its last panel.
    void FillPanelNumbers();

    // The deviation limit dialog ("Отклонение напряжения %"), made anew by each
    // ShowDeviationDialog, with its edit box and its button (selection/DeviationDialog.cpp).
    QPointer<QDialog> DeviationForm;
    QPointer<QLineEdit> DeviationEdit;
    QPointer<QPushButton> DeviationButton;
    // Builds the dialog, centred on the main window, its button connected to
    // ReduceMaxDeviation; returns the button. The caller shows the dialog.
    QPushButton* ShowDeviationDialog();
    // The button: reads the allowed deviation and raises the cross-sections to the current group
    // for it. A limit that is not a number is refused and the dialog stays open.
    void ReduceMaxDeviation();
};

extern TDan1* Dan1;
