#pragma once
// The whole-project recalculation and the project snapshot of the group-entry window. The window
// (`TDan1`) inherits NetworkCalculation, so that `Dan1->RecalculateNetwork()` reads as designed,
// while everything here stays free of widgets and is tested without windows.
#include <array>
#include <vector>

#include "model/BranchValues.h"
#include "model/Classd.h"

// Groups of passes that other operations run on their own (all on the given root).
// Passes 1-3 on the current panel: the three phase distributions.
void RunDistributionPasses(TGrsed& root);
// Passes 4-16: every panel, cascade and switchboard, the section and the feeders.
void RunLoadPasses(TGrsed& root);
// Passes 4-12: every panel, cascade and switchboard of the root, each from its own records.
void RunPanelAndSwitchboardPasses(TGrsed& root);
// Passes 13-16: the section totals and the feeder currents (after a switchboard is deleted).
void RunSectionTotalPasses(TGrsed& root);
// Passes 4-16 after a change within the root's current switchboard alone (a panel deleted), the
// other switchboards as the last recalculation left them: passes 4-12 on the current switchboard,
// the project's totals from every switchboard. The tree and its cursors end as RunLoadPasses
// leaves them. Without a current switchboard, or with NetworkCalculation's recalculations not
// limited, it runs RunLoadPasses.
void RunLoadPassesOfCurrentSwitchboard(TGrsed& root);

class NetworkCalculation {
public:
    // Runs the sixteen passes on ProjectRoot, in their order. Passes 1-3 work on the panel under
    // the cursors; the last pass leaves no switchboard current, so a caller notes the current
    // switchboard and panel before the call and puts both back after it. Nothing happens without
    // an open project.
    void RecalculateNetwork();
    // The same after a change within the current switchboard alone, the other switchboards as
    // the last recalculation of the project left them: passes 1-3 as above, the panel and
    // switchboard passes on the current switchboard only, the project's totals from every
    // switchboard. The tree and its cursors end as RecalculateNetwork leaves them.
    void RecalculateCurrentSwitchboard();
    // Whether RecalculateCurrentSwitchboard and RunLoadPassesOfCurrentSwitchboard limit their
    // passes (the default), or recalculate the whole project (the reference the limited passes
    // are compared with).
    static void LimitRecalculations(bool limit);

    // Current of the neutral conductor of the phase currents a, b, c (A), rounded to 0.01 A. The
    // result depends on the order of the phases. Changes nothing.
    static double NeutralCurrent(double a, double b, double c);

    // --- Project snapshot (undo of a rejected group line or edit) ---

    // Copies of the switchboard-level fields of ProjectRoot (first) and of the switchboard that
    // was current when the snapshot was taken (second).
    std::array<TGrsed, 2> SwitchboardSnapshots;
    // Copies of the panel-level fields of that switchboard's panels, in chain order.
    std::vector<TSitid> PanelSnapshots;
    int PanelSnapshotCount = 0;

    // Releases the previous snapshot and takes a new one from ProjectRoot, its current
    // switchboard and that switchboard's first PanelCount panels. Moves no cursor.
    void TakeProjectSnapshot();
    // Puts back the snapshot's values into ProjectRoot, the current switchboard and its panels
    // (from the first panel on, as many as the smallest of the restored PanelCount, the snapshot
    // and the chain). Group records and chains are not touched; each restored panel's four group
    // counts are those of its chains. Afterwards the panel cursor stands after the last restored
    // panel. While values before a line are kept (below) and the switchboard's branch has the
    // shape it had then (its panels and group lines, the refused line taken off again), every
    // value of the branch comes back as it was before the line: its group records' too, and
    // whatever else the refused line left behind there (a section or breaker raised for a trip).
    // Without a snapshot nothing changes. Always true.
    bool RestoreProjectSnapshot();
    // The snapshot taken as above while the line being added stands in the tree (on a new panel
    // made for it): a refusal of the line afterwards puts it back without the line's load.
    void TakeProjectSnapshotWithLine();
    // The snapshot put back once the line being added is off again; when it was taken with the
    // line in the tree, the loads are then taken anew from the records as they now stand. The
    // cursors are left as they were.
    void RestoreSnapshotWithoutLine();
    // The values of the current switchboard's branch before a group line is added, for the
    // restore above; forgotten when the command ends.
    void KeepValuesBeforeLine();
    void ForgetValuesBeforeLine();

private:
    BranchValues branch_;
    bool snapshotTaken_ = false;
    bool switchboardTaken_ = false;  // a switchboard was current when it was taken
    bool snapshotHoldsLine_ = false;  // taken with the line being added in the tree
};
