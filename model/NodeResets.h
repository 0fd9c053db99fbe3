#pragma once

class TSitid;
class TGrsed;

// Resets of one node of the project tree (the current panel, the current switchboard or the
// project root) to the values of a new record of its class, keeping a fixed list of fields: the
// node's identity, its place in the network and the data entered for it. Only the node's own
// level is touched; its chains and children stay. Used by the group-entry window (`Dan1->...`)
// and by the tree edits. Qt-free, so that they are tested without windows.
class NodeResets {
public:
    // The current panel; keeps its number, place, group counts, cascade links, feeder entries,
    // demand factor and feeder sections.
    static void ResetPanelNode();
    // The current panel, as ResetPanelNode but without its breaker types. The group counts and
    // RowsOfThree are kept while their chains still hold records, and 0 otherwise.
    static void ClearPanelNode();
    // The current switchboard; keeps its number and entered feeder data and takes the root's
    // SwitchboardCount.
    static void ResetSwitchboardNode();
    // The project root; keeps SwitchboardCount, SectionBreakerType, TransformerName and the
    // supply short-circuit power entered by the user.
    static void ResetRootNode();
    // The project root; keeps SwitchboardCount, SupplyScPower and TransformerName.
    static void ResetRootNodeKeepScPower();

    // The resets of the refresh after a change, for the nodes that carry no load.
    // A panel fed directly from its switchboard: keeps its number, place, feeder entries, feed
    // data and group counts (they follow its chains).
    static void ResetUnloadedPanel(TSitid& panel);
    // A switchboard: keeps its number, place, panel count and feeder entries.
    static void ResetUnloadedSwitchboard(TGrsed& switchboard);
    // The root: every switchboard-level value but the switchboard count while it has
    // switchboards, and the transformer and system short-circuit power the user chose.
    static void ResetUnloadedRoot(TGrsed& root);
};
