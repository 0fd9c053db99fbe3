#pragma once
#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editing/PanelFeedRepair.h"
#include "editing/SavedGroupTables.h"
#include "model/BranchValues.h"
#include "model/Classd.h"
#include "ui_TForm3.h"

class QObject;

// The window "Щиты" / "Грщ" / "Группы" of the menu "Редактирование": one existing group line,
// panel or main switchboard is chosen and either edited ("Изменить") or deleted ("Удалить"). The
// mode is its caption. It also holds the state every editor shares during one edit: the cursors
// and the group line when the edit began, the undo copies and the edit flags.
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
    // Where the edited line stood: its 0-based place in the panel's scheme chain and in the chain
    // of its phase kind (-1 when unknown), so that a refused edit puts it back there.
    int SavedGroupPlace = -1;
    int SavedPhasePlace = -1;
    std::unique_ptr<TGrsed> ProjectCopy;
    std::unique_ptr<TGrsed> SwitchboardCopy;
    // The numbers of the switchboards in their chain's order when the switchboard edit began:
    // a refused edit puts the rebuilt switchboard back in its place among them.
    std::vector<int> SwitchboardOrderBefore;
    // Every value of the edited group line's switchboard branch when its new version was
    // applied, put back when that version is refused.
    BranchValues GroupEditValues;
    // The same for the edited panel's switchboard when its connection is rebuilt.
    BranchValues PanelEditValues;
    std::vector<TSitid> PanelCopies;
    // The edited group line's scheme record in the tree (the one put back after a refused edit).
    TCxemaGrupd* EditGroup = nullptr;
    // Set when a refused edit has put the group line back as it was; the apply command stops.
    std::uint8_t EditedGroupRestored = 0;

    // Saved group lines of the panels an edit concerns, one entry per saved panel.
    using GroupTables = SavedGroupTables;
    GroupTables GroupSnapshots;
    // The panel's record counts per entry when the copy was taken: scheme, single-, two- and
    // three-phase.
    std::array<std::vector<int>, 4> GroupSnapshotCounts;
    // PanelCopies in use; the switchboard's panel count and changed mark when the panel editor
    // opened.
    int PanelCopyCount = 0;
    int SavedPanelCount = 0;
    std::uint8_t SavedChangedFlag = 0;

    // --- The window ---

    // The three edit-in-progress flags cleared.
    void FormCreate();
    // The right list for the chosen switchboard (panels mode: its panels except those hanging
    // on another panel) or panel (groups mode: its group lines). Other windows call it after
    // they changed the tree.
    void ComboBox4Change(QObject* sender = nullptr);
    // "Изменить": the chosen element opens in its editor.
    void Button5Click();
    // "Удалить": the chosen element is deleted, the network selected again and refreshed.
    void Button3Click();
    // "Закрыть": the undo copies dropped, the connection window and this one closed.
    void Button4Click();

    // Breakers and cables of the current switchboard after a panel was deleted; false when a
    // breaker list found no breaker.
    bool RecalcAfterPanelDeletion();
    // The supplies of the current switchboard's panels and group lines raised until their
    // breakers trip.
    void RecalcSwitchboardGroups();
    // After an edit of the current switchboard: table rows, breakers, short-circuit checks, the
    // consumer deviation of every group line (-10 % at most), the cables of the edited panel.
    // False when the edit was refused (each refusal has said why and, where it undoes, undone).
    bool RecalcAfterEdit(QObject* sender);

    // --- Undo copies ---

    // The root's, the current switchboard's and the current panel's own fields into
    // ProjectCopy, SwitchboardCopy and PanelCopies[n] (made when missing).
    void BackupProject();
    void BackupSwitchboard();
    void BackupPanel(int n);
    // The current panel's group lines into entry p of the tables.
    void SnapshotPanelGroups(GroupTables& tables, int p);
    // Into entry p of GroupSnapshots, one chain class after another: every record of the
    // current panel and of the panels after it that feed sub-panels or hang on the current
    // panel (a panel that does both is taken once).
    void SnapshotFedPanelGroups(int p);
    // A copy taken by BackupProject or BackupSwitchboard put back over the node's own fields;
    // the three section cos phi factors, which the copy does not hold, keep their values.
    static void PutSwitchboardLevelBack(TGrsed& target, const TGrsed& copy);
    // The undo copies and the saved group line dropped.
    void DropUndoCopies();
    // Every way out of an edit that did not end in the refresh: the edit flags cleared and the
    // undo copies dropped.
    void EndEdit();
    // An editor is open: TDan1 in its edit mode or TShiti in an edit layout.
    static bool EditorOpen();
    // The edit under way has been taken back already: the group line is back as it was, the
    // panel put back from its copies or the switchboard rebuilt from them. A refusal met from
    // then on, in the recalculation of what was put back, neither tells the user again nor
    // undoes again.
    bool EditTakenBack() const;

    // --- Group lines of a panel taken off and put back ---

    // Unlinks every group line of the panel (the current panel of the current switchboard),
    // its counts 0, and lists the panels and group names of the project again in TDan1.
    void DeletePanelGroups(TSitid* panel);
    // Appends group line `groupIndex` of entry `panelPosition` to the current panel, as the
    // group entry appends one, and recalculates the project. The cursors stay.
    void RestoreGroupRecord(int panelPosition, int groupIndex, const GroupTables& tables);
    // The panel's records of that group line into SavedGroup and SavedPhaseRecords.
    void SaveEditedGroup(TSitid* panel, const std::string& groupName);

    // --- Editors ---

    // The group line chosen in ComboBox3 opens in TDan1 ("Данные (редактирование)").
    void OpenGroupEditor(QObject* sender);
    // The panel chosen in ComboBox3 opens in TShiti ("Щиты (редактирование)").
    void OpenPanelEditor(QObject* sender);
    // The switchboard chosen in ComboBox4 opens in TShiti ("Грщ.(редактирование)").
    void OpenSwitchboardEditor(QObject* sender);

    // --- Switchboard rebuilt from the undo copy ---

    // The switchboard numbered in ComboBox4 is deleted and built again, last in the chain, with
    // its panels and group lines from the undo copies. Nothing happens without the copies.
    bool RebuildFromUndoCopy();
    // Deletes the switchboard with that number: its panels go, the last switchboard takes its
    // place in the chain, the project totals are recalculated.
    void DeleteSwitchboard(int number);

private:
    enum class Mode { None, Groups, Panels, Switchboards };
    Mode CurrentMode() const;
    // The breaker base has no rows: the question, and true (the command ends).
    bool BreakerBaseEmpty();
    void DeleteChosenGroup();
    void DeleteChosenPanel();
    void DeleteChosenSwitchboard();
    void FinishDeletion();
    // The breakers from the panel up to the substation section; false when a list found none.
    bool SelectBreakersUpward(TGrsed* sw, TSitid* panel);
    // The undo copies of the panels emptied; the current panel's copies added as the next entry.
    void ClearPanelCopies();
    void CopyPanelForUndo();
    // A consumer deviation below the limit: said, and the edit under way taken back.
    void RefuseForDeviation(QObject* sender, TSitid* edited);
    // The rebuild from the undo copy has run in this edit (it runs once).
    bool rebuiltFromCopy_ = false;

    friend class TShiti;
};

extern TForm3* Form3;
