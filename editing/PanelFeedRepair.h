#pragma once
// The order of the panels of a switchboard that feed other panels of it (sub-panels): every
// feeding panel stands before its sub-panels, and the sub-panels of one feeding panel stand
// together right after it. Edits that re-create panels append them at the end of the chain;
// the repair puts the order right again by exchanging panels (each keeps its fields and group
// lines). The edit dialog (`TForm3`) inherits it, so that `Form3->RepairPanelFeeds()` reads as
// designed; it touches no control.
//
// Everything works on the current switchboard of ProjectRoot and moves its panel cursor. A
// sub-panel carries OnTrunk or PanelFlagC and names its feeding panel in HangsOnPanel; a feeding
// panel carries PanelFlagB.
class TSitid;

class PanelFeedRepair {
public:
    // Runs the three repairs until the three checks pass, at most (panels x panels + 1) rounds:
    // feeds that no order satisfies (two panels feeding each other) are left as the last round
    // left them. True when the checks pass.
    bool RepairPanelFeeds();

    // The checks; each answers false without a current switchboard.
    // The sub-panels of one feeding panel stand together.
    bool CheckSiblingPanelsTogether();
    // No other panel stands between a feeding panel and its sub-panels.
    bool CheckSubPanelsFollowFeeder();
    // No sub-panel stands before its feeding panel.
    bool CheckSubPanelsAfterFeeder();

    // The repairs, one for each check; each does nothing without a current switchboard.
    void MoveFeederBeforeSubPanels();
    void GatherSiblingPanels();
    void PullSubPanelsToFeeder();

    // The 0-based place of the panel in the current switchboard's chain, walking at most
    // PanelCount panels: PanelCount when it is not among them, 0 without a current switchboard.
    // The panel cursor is left where the walk stopped.
    int PanelIndexInSwitchboard(TSitid* panel);
};
