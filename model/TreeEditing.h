#pragma once
// The cascade walkers and structural edits of the project tree that the main window offers
// (`Form1->DeletePanel(...)`). Qt-free, so that they are tested without windows: the window lists
// they rebuild go through WindowLists, and the operations of other subsystems they call go
// through TreeEditingHooks.
#include <functional>
#include <string>

#include "model/WindowLists.h"

class TSitid;
class TGrsed;

// Operations of the calculation and the equipment selection that the edits run at fixed points.
// An empty hook is skipped (SelectTransformerVruBreaker then counts as "no breaker chosen").
struct TreeEditingHooks {
    // Passes 4 to 16 of the recalculation on ProjectRoot (after a panel was deleted from the
    // current switchboard).
    std::function<void()> RecalculateAfterPanelDeletion;
    // Passes 13 to 16: SumSwitchboardTotalLoads, CalcSwitchboardTotalCosPhi,
    // CalcSwitchboardTotalCurrents, CalcPanelFeederCurrents (after a switchboard deletion).
    std::function<void()> RecalculateSwitchboardTotals;
    // TDan1::SelectTransformerBreakerRating.
    std::function<void()> SelectTransformerBreakerRating;
    // TDan1::SelectTransformerVruBreaker: true when a breaker was chosen.
    std::function<bool()> SelectTransformerVruBreaker;
    // TDan1::ShowSectionBreakerDialog.
    std::function<void()> ShowSectionBreakerDialog;
    // The three distributions (CalcFasaGroups1, 2, 3) of the current panel, run after a panel
    // swap has given it its new group lines.
    std::function<void()> DistributeCurrentPanel;
};

class TreeEditing {
public:
    TreeEditingHooks Hooks;

    // Where the edits put the window lists; null detaches them.
    void SetWindowLists(WindowLists* lists) { lists_ = lists; }

    // --- Cascade walkers (on the current switchboard) ---

    // Makes current the head of the panel's cascade: the panel itself when it heads one; a member's
    // head searched from the tail backwards, the first panel when there is none. A plain panel or
    // null changes nothing.
    void SelectCascadeHead(TSitid* panel);
    // Numbers the cascade that starts at the panel (CascadeSequence, CascadeFlag spread from it,
    // CascadeEnd on its last member after the old end marks are cleared). Returns the number of
    // members; leaves the end panel current, or no panel when there is none.
    int NumberPanelCascade(TSitid* panel);
    // The 0-based place, among the panels not fed from a panel, of the last OnTrunk panel of the
    // switchboard whose SchemeOrder is schemeOrder - 1; 0 when there is none.
    int PrevSwitchboardFlaggedPanelPos(int schemeOrder);

    // --- Structural edits ---

    // Deletes a panel of the current switchboard with its groups, repairs its cascade, renumbers
    // the positions, rebuilds the window lists and recalculates. Nothing happens when the panel is
    // not in the current switchboard's chain.
    void DeletePanel(TSitid* panel);
    // Deletes every panel of the current switchboard that hangs on the panel (never the panel
    // itself), then sets the switchboard's ChangedMark when a panel carries PanelFlagB.
    void DeletePanelsFedFrom(TSitid* panel);
    // Deletes a switchboard with all its panels, wherever it stands in the root's chain.
    void DeleteSwitchboardNode(TGrsed* switchboard);
    // Whether a switchboard's deletion lists the tree and recalculates once its last panel went
    // (the default), rather than after every panel as a panel's deletion does; what every panel's
    // lists and recalculation gave is overwritten by the last one's. Off, the step-by-step way is
    // the reference the other is compared with.
    static void SettleSwitchboardDeletionsOnce(bool once);
    // Takes the last switchboard off the root's chain.
    void RemoveLastSwitchboard();
    // Deletes the group line of this name from the current panel's four chains.
    void DeleteGroupByName(const std::string& name);
    // Removes the last panel of the current switchboard with its groups, without cascade repair.
    void RemoveLastPanel();
    // Exchanges the fields and group lines of two panels of the switchboard; the chain stays.
    void SwapPanels(TGrsed* switchboard, TSitid* first, TSitid* second);
    // Gives the target the switchboard-level fields and the panels of the last switchboard and the
    // last switchboard the target's fields, so that removing the tail deletes the target.
    void ExchangeSwitchboardNode(TGrsed* target);

private:
    WindowLists& Lists();
    // Takes the panel off the current switchboard; `settle`: the lists and the recalculation
    // after it (SettleAfterPanelRemoval) too.
    bool RemovePanelFromCurrentSwitchboard(TSitid* panel, bool settle = true);
    void SettleAfterPanelRemoval(TGrsed& sw);
    void RepairCascadeOfDeletedPanel(TGrsed& sw, TSitid& panel);
    void RefillPanelLists(bool withCableNames);

    WindowLists* lists_ = nullptr;
    NoWindowLists noLists_;
};
