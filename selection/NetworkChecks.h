#pragma once
// The network checks that follow a change of the network, and what they do about a failure:
// the breaker series lists and the breaker dialogs, the cancellation of the change in progress,
// the short-circuit checks with their rollbacks and the new-panel remedy, the check of the supply
// system's short-circuit power, the transformer for the load, the cables and the transformer
// raised until breakers trip, the fault currents along cascades, and the cross-sections raised
// to meet a voltage deviation. The group-entry window (`TDan1`) inherits it, so that
// `Dan1->CheckSwitchboardShortCircuit(sender)` reads as designed; it touches no control itself:
// the windows it needs are reached through selection/CheckWindows.h, and the operations of the
// editing and group-entry windows that it runs through `CheckHooks`.
//
// Everything works on ProjectRoot through its cursors (the current switchboard, its current panel
// and that panel's current scheme group). A failure is told through flags (`FailureFlag` here,
// `TForm3::ShortCircuitFailed`, `TForm3::PanelRestoredFlag`), never by an exception.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calc/Recalculation.h"
#include "model/Classd.h"
#include "selection/EquipmentSelection.h"

class QObject;

namespace selection {
struct TransformerRow;
}  // namespace selection

// Operations of the editing, connection and group-entry windows that the checks run at fixed
// points. An empty hook is skipped; see each for what then happens.
struct NetworkCheckHooks {
    // TDan1::RestoreEditedGroup: appends the group line saved when its edit began to that
    // switchboard's panel again.
    std::function<void(TGrsed*, TSitid*)> RestoreEditedGroup;
    // TDan1::ApplyAndRefresh, with the sender of the command.
    std::function<void(QObject*)> ApplyAndRefresh;
    // TDan1::ConnectNewPanel: the offer kind (true: new cable and separate breaker too), the
    // switchboard and panel saved by the check, and copies of the group line just added. Without
    // it a "Yes" to the offer counts as "No".
    std::function<void(bool, TGrsed*, TSitid*, TCxemaGrupd, TFasaGrup1d, TFasaGrup2d, TFasaGrup3d)>
        ConnectNewPanel;
    // TForm3::ComboBox4Change, with the sender.
    std::function<void(QObject*)> RefillEditLists;
    // TShiti::RestorePanelFromSnapshot of TShiti::PanelToRestore.
    std::function<void(TSitid*)> RestorePanelFromSnapshot;
    // TForm3::RebuildFromUndoCopy.
    std::function<void()> RebuildFromUndoCopy;
};

class NetworkChecks : public EquipmentSelection, public NetworkCalculation {
public:
    NetworkCheckHooks CheckHooks;

    // Series of the last switchboard and panel breakers that passed their short-circuit check.
    std::string PassedSwitchboardBreakerType;
    std::string PassedPanelBreakerType;

    // --- The group line in progress ---

    // The group line being added, or the new version of the one being edited: its scheme record,
    // just appended. The command that appends it names it here and ends the change when the
    // command is done; a cancellation or rollback takes off only this group line, and only while
    // it is in the tree.
    void TrackGroupChange(TCxemaGrupd* group);
    void EndGroupChange();
    // A group line change is under way until the command ends it (its line may have left the
    // tree since: the checks that follow still belong to the change).
    bool GroupChangeTracked() const { return changeUnderWay_; }
    // The tracked group line is in the tree (its panel, or null).
    TSitid* GroupChangePanel() const;
    // Takes the tracked group line off its panel (its scheme record and its phase record), lowers
    // the panel's counts and refreshes the group-entry window's counts and names; the line is no
    // longer tracked, the change goes on. False when no tracked group line is in the tree: nothing
    // changes.
    bool RemoveTrackedGroup();

    // --- Edit cancellation ---

    // Undoes the change in progress: a group line edit (the new version goes, the old one comes
    // back), a panel connection change, a switchboard edit (each with "Редактирование
    // отменяется"), or the group line being added (taken off, the project snapshot put back,
    // FailureFlag set). Nothing happens without a change in progress.
    void CancelEditing();

    // --- Breaker series lists (into the breaker dialog's list) ---
    // Each returns false when the change was refused (and cancelled) or nothing can be listed.

    bool SelectTrunkBreaker();
    bool SelectPanelBreakers();
    bool SelectTransformerVruBreaker();
    bool SelectGroupPanelBreaker();
    bool SelectSwitchboardVruBreaker();

    // --- Breaker dialogs: keep the stored series or let one be chosen ---

    void ShowGroupBreakerDialog();
    void ShowMainBreakerDialog();
    void ShowPanelBreakerDialog();
    void ShowSwitchboardBreakerDialog();
    void ShowSectionBreakerDialog();

    // --- Short-circuit checks (the sender goes on to the window operations) ---
    // A cable table that gives no largest section ends a check: the change in progress is taken
    // back (CancelEditing) and FailureFlag is set.

    void CheckSwitchboardShortCircuit(QObject* sender);
    void CheckPanelShortCircuit(QObject* sender);
    void CheckCascadeShortCircuit(QObject* sender);
    void CheckGroupShortCircuit(QObject* sender);

    // --- The new-panel remedy ---

    static bool HasSeveralGroups(int count) { return count > 1; }
    // Rating x "Кратность тока при КЗ" of the first row of the breaker base with that series
    // (in the base's present order; an empty series is looked up like any other); unknown for a
    // series the base does not hold.
    BreakerTrip TripCurrent(const std::string& series, double rating);
    // Whether the group line just added would trip every breaker on a new panel of its own fed
    // by a new cable of the largest section from the largest transformer.
    bool CheckNewPanelShortCircuit(bool longOffer, const std::string& supplyMaterial,
                                   double supplyLength, double panelLength, double groupLength,
                                   const std::string& groupMaterial,
                                   const std::string& panelMaterial);
    // Copies of the current panel's last scheme record, and of the last phase record of its kind
    // (a record of another kind: default-constructed).
    TCxemaGrupd CopyLastCxemaGroup();
    TFasaGrup1d CopyLastFasaGroup1();
    TFasaGrup2d CopyLastFasaGroup2();
    TFasaGrup3d CopyLastFasaGroup3();
    // The new panel declined during an edit, without a further message: a switchboard edit is
    // marked failed, a panel edit put back (after the panel feeder check), the edited group line
    // put back (FailureFlag set). False while a group line is being added: the caller undoes it.
    bool DeclineNewPanelInEdit(QObject* sender, TGrsed* switchboard, TSitid* panel,
                               bool afterFeederCheck);

    // --- Supply system ---

    // Every loaded switchboard feeder, panel feeder and group line trips its breaker with the
    // project's short-circuit power; otherwise "Увеличите мощность короткого замыкания внешней
    // энергосистемы." and false.
    bool CheckSystemShortCircuitPower();

    // --- Transformer and switchboard supply ---

    // Moves the project's transformer up the base until its power exceeds the load (kVA);
    // returns the power of the row reached. When no row does, the last row is named on the root
    // and the base is left past its end (TransformerBaseRanOut).
    double SelectTransformerForLoad(const std::string& transformerName, double load);
    bool TransformerBaseRanOut() const { return transformerBaseRanOut_; }
    // Raises the switchboard's supply section, then the transformer, until its feeding breaker
    // trips at the switchboard; stores the fault current there.
    void EnsureSwitchboardTripCurrent();
    void SwitchboardFaultCurrent();

    // --- Cables and transformer raised until breakers trip ---

    // The current group line and the current panel: their cables, the switchboard's supply and,
    // where nothing else helps, the transformer are raised until the breaker trips; the fault
    // currents reached are stored. A node that cannot be brought to trip keeps everything; for
    // the group line that is false, which refuses the line (so does a series the base does not
    // hold).
    // The raises take the group, panel and switchboard sections to start from (g, p, s) and the
    // transformer's power and short-circuit voltage; true when the breaker trips and what was
    // raised is written. Each transformer row is tried once, the end of the base ends the walk.
    bool EnsureGroupTripCurrent();
    void EnsurePanelTripCurrent();
    // The current group line refused as its short-circuit check refuses it (the change taken
    // back, said so): its breaker does not trip on the project as it stands.
    void RefuseUntrippedGroup(QObject* sender);
    bool RaiseGroupCableForTrip(double g, double p, double s, double power, double uk);
    bool RaiseSwitchboardCableForGroupTrip(double g, double p, double s, double power, double uk);
    bool RaisePanelCableForGroupTrip(double g, double p, double s, double power, double uk);
    bool RaisePanelThenSwitchboardForGroupTrip(double g, double p, double s, double power,
                                               double uk);
    bool RaiseSwitchboardThenPanelForGroupTrip(double g, double p, double s, double power,
                                               double uk);
    bool RaiseTransformerForGroupTrip(double g, double p, double s, double power, double uk);
    bool RaiseTransformerForGroupTripPanelFirst(double g, double p, double s, double power,
                                                double uk);
    bool PanelTripCurrentHolds(double s, double p, double power, double uk, double losses);
    bool RaisePanelCableForPanelTrip(double s, double p, double power, double uk);
    bool RaiseSwitchboardCableForPanelTrip(double s, double p, double power, double uk);
    bool RaiseTransformerForPanelTrip(double s, double p, double power, double uk);

    // Stores the fault current of every cascade panel of the current switchboard.
    void CascadeFaultCurrents();

    // --- Cross-sections raised to meet a deviation ---

    // Raises the cables on the path to the current group one table entry at a time until its
    // deviation (now `deviation`) reaches the target; stops when no level can step any further.
    // A pass or table lookup that fails puts every section and loss back and leaves FailureFlag
    // set (the lookup has said why).
    void RaiseCrossSections(double target, double deviation);
    // Whether a deviation is one RaiseCrossSections raises for; above it the raising only takes
    // the deviation again with the sections as they are.
    static bool RaisesFor(double deviation) { return !(deviation > -2.4); }
    // One entry up the section array of the shifted panel's supply, the switchboard's supply, the
    // plain panel's feeder; true when the section already was the last entry (or is not one).
    bool StepShiftedCrossSection();
    bool StepSwitchboardCrossSection();
    bool StepPanelCrossSection();
    bool StepCascadeMemberSection(TSitid* panel);
    bool StepCascadeSections(TSitid* panel);
    // Each cascade feeder's row in its table is noted, and put back; a table that gives no
    // sections ends the walk with FailureFlag set.
    void FindCrossSectionIndex(TSitid* panel);
    void RestoreCascadeSections(TSitid* panel);
    // `use` with the sections of the panel's table, while every table walked so far gave some
    // (`ok`); a table that gives none turns `ok` false (FailureFlag set, said so).
    void WithTableSections(const TSitid& panel, bool& ok,
                           const std::function<void(const std::vector<double>&)>& use);
    double GroupLossMax();
    double PanelLossMax();
    double ShiftedLossMax();
    double SwitchboardLossMax();

    // --- Deviation limit ---

    // The current group's deviation (220 V) with its present sections; 0 without one.
    double PresentGroupDeviation();
    // Raises the cross-sections to the current group for the allowed deviation (a positive value
    // counts as negative), or gives every cable on the path its largest section and reports the
    // best deviation reachable. The cursors are put back. A pass or table lookup that fails puts
    // everything back, says nothing more and leaves FailureFlag set.
    void ReduceDeviationToLimit(double limit);

protected:
    // Deviation at the named group with line section S (220 V).
    double DeviationAt(const std::string& groupName, double section);

private:
    enum class Check { Switchboard, PanelSupply, Cascade, Group };

    // The saved cursors of a check.
    struct Cursors {
        TGrsed* switchboard = nullptr;
        TSitid* panel = nullptr;
    };
    static Cursors SaveCursors();
    static void PutBack(const Cursors& cursors);

    // Takes the tracked group line off with its panel current, and recalculates; false when
    // it is not in the tree.
    bool TakeOffTrackedGroup();
    // Rollbacks of a failed change (the cursors are those saved when the check began): the group
    // line being added goes and the snapshot comes back (FailureFlag set); the new version of an
    // edited group line goes and the old one comes back; a panel's connection is put back.
    void RollbackAdding(const Cursors& at);
    void RollbackGroupEdit(const Cursors& at);
    void RollbackPanelEdit(QObject* sender, const Cursors& at, bool restoredFlag);
    // The failure of a check that offers no remedy, by the change in progress.
    void FailWithoutRemedy(Check check, QObject* sender, const Cursors& at);
    // The new-panel offer after a failed switchboard or panel feeder check.
    void OfferNewPanel(Check check, QObject* sender, const Cursors& at);
    // A check whose table lookup cannot be completed (said so by the lookup) takes the change in
    // progress back and sets FailureFlag; the largest section of a table, or nothing after that.
    void TakeBackAfterLookup(const Cursors& at);
    std::optional<double> LargestSectionForCheck(const std::string& tableName, const Cursors& at);

    // Shared steps of the list and dialog operations.
    bool RefuseBeyondSeries(double rating);
    bool ListSeries(double low, double high, const std::vector<int>& poles,
                    const std::string& section, bool panelTexts);
    bool AskForBreakerBase(const std::string& text);
    void OfferBreakerChoice(const std::string& stored, double rating, bool noChoice);

    // Fault current shapes of the trip raising.
    double FaultAtGroup(double g, double p, double s, const selection::TransformerRow& t);
    double FaultAtPanel(double p, double s, const selection::TransformerRow& t);
    double FaultAtSwitchboard(double s, const selection::TransformerRow& t);
    // Trip current of the breaker that protects the current panel's feeder.
    BreakerTrip PanelTripCurrent();
    // Takes the transformer of the row: named on the root and chosen in the power-system list.
    void TakeTransformer(const selection::TransformerRow& row);
    using GroupRaise = bool (NetworkChecks::*)(double, double, double, double, double);
    // Each section of the supply's table from the one in force (s for the switchboard's feeder, p
    // for the radial panel's) tried in turn with `then` until it succeeds; that section is then
    // the supply's.
    enum class SupplyCable { Switchboard, Panel };
    bool RaiseSupplyForGroupTrip(SupplyCable supply, double g, double p, double s, double power,
                                 double uk, GroupRaise then);
    // The same for the panel's cable when the panel is a cascade's: the feeders of the cascade
    // up to its head stepped together, one table entry at a time.
    bool RaiseCascadeForGroupTrip(double g, double p, double s, double power, double uk,
                                  GroupRaise then);
    bool RaiseTransformerForGroup(double g, double p, double s, GroupRaise first,
                                  GroupRaise second);
    // The sections of the switchboard and of its panels, to tell whether a raising cycle
    // changed anything.
    std::vector<double> RaisedSections();

    TCxemaGrupd* trackedGroup_ = nullptr;
    std::string trackedName_;
    bool changeUnderWay_ = false;
    bool transformerBaseRanOut_ = false;
};
