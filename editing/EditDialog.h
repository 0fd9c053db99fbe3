#pragma once
#include <QDialog>
#include <cstdint>
#include <memory>
#include <vector>

#include "editing/PanelFeedRepair.h"
#include "model/Classd.h"
#include "ui_TForm3.h"

class TForm3 : public QDialog, public Ui::TForm3, public PanelFeedRepair {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);

    // The edit in progress: a group line edited in TDan1, a panel's connection or a main
    // switchboard changed in TShiti; at most one is set, none while a group line is added.
    std::uint8_t GroupEditMode = 0;
    std::uint8_t PanelEditMode = 0;
    std::uint8_t SwitchboardEditMode = 0;
    // Set by the short-circuit checks when a switchboard edit failed, and when a panel's
    // connection was put back from its copies.
    std::uint8_t ShortCircuitFailed = 0;
    std::uint8_t PanelRestoredFlag = 0;

    // Undo data taken when the edit began: the switchboard and panel cursors of the edited node,
    // the edited group line as it was (its scheme record and its phase records), and copies of
    // the project's fields, of the switchboard and of its panels.
    TGrsed* SavedSwitchboard = nullptr;
    TSitid* SavedPanel = nullptr;
    std::unique_ptr<TCxemaGrupd> SavedGroup;
    struct PhaseRecords {
        std::unique_ptr<TFasaGrup1d> Single;
        std::unique_ptr<TFasaGrup2d> Two;
        std::unique_ptr<TFasaGrup3d> Three;
    } SavedPhaseRecords;
    std::unique_ptr<TGrsed> ProjectCopy;
    std::unique_ptr<TGrsed> SwitchboardCopy;
    std::vector<TSitid> PanelCopies;
    // The edited group line's scheme record in the tree (the one put back after a refused edit).
    TCxemaGrupd* EditGroup = nullptr;
    // Set when a refused edit has put the group line back as it was; the apply command stops.
    std::uint8_t EditedGroupRestored = 0;
};

extern TForm3* Form3;
