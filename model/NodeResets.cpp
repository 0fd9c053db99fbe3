#include "model/NodeResets.h"

#include <utility>

#include "model/Classd.h"

namespace {

// A node keeps what it holds of its feeder's cable table, the zero-conductor column of a table
// that has one with the phase sections: they describe the table, not a result, and the N/PE
// section and the single-phase fault loop are read from them.
void KeepFeederTable(TSitidFields& node, TSitidFields& old) {
    node.FeederSections = std::move(old.FeederSections);
    node.FeederZeroSections = std::move(old.FeederZeroSections);
    node.FeederSectionCount = old.FeederSectionCount;
    node.ZeroCoreTable = old.ZeroCoreTable;
}

void KeepSwitchboardTable(TGrsedFields& node, TGrsedFields& old) {
    node.SwitchboardSections = std::move(old.SwitchboardSections);
    node.SwitchboardZeroSections = std::move(old.SwitchboardZeroSections);
    node.SwitchboardSectionCount = old.SwitchboardSectionCount;
    node.SwitchboardZeroCoreTable = old.SwitchboardZeroCoreTable;
}

// Puts the panel-level fields of a fresh record into the panel and brings back the fields the
// resets keep. `withGroupFields` adds the group counts, RowsOfThree and the breaker types.
void ResetPanelLevel(TSitid& panel, bool withGroupFields) {
    TSitidFields old = std::move(static_cast<TSitidFields&>(panel));
    TSitidFields& node = panel;
    node = TSitidFields{};
    node.PanelNumber = old.PanelNumber;
    node.HangsOnPanel = old.HangsOnPanel;
    node.Position = old.Position;
    node.CascadeSequence = old.CascadeSequence;
    node.OnTrunk = old.OnTrunk;
    node.PanelFlagB = old.PanelFlagB;
    node.PanelFlagC = old.PanelFlagC;
    node.CurrentTableName = std::move(old.CurrentTableName);
    node.FeederCableName = std::move(old.FeederCableName);
    node.FeederLayingMethod = std::move(old.FeederLayingMethod);
    node.FeederLength = old.FeederLength;
    node.CascadeLength = old.CascadeLength;
    node.FeederTemperature = old.FeederTemperature;
    node.FeedingPanelNumber = old.FeedingPanelNumber;
    node.CascadeHeadNumber = old.CascadeHeadNumber;
    node.FedFromPanel = old.FedFromPanel;
    node.FedFromSwitchboard = old.FedFromSwitchboard;
    node.CascadeFlag = old.CascadeFlag;
    node.FeederConductorMaterial = std::move(old.FeederConductorMaterial);
    node.DemandFactor = old.DemandFactor;
    KeepFeederTable(node, old);
    if (withGroupFields) {
        node.SchemeGroupCount = old.SchemeGroupCount;
        node.SinglePhaseCount = old.SinglePhaseCount;
        node.TwoPhaseCount = old.TwoPhaseCount;
        node.ThreePhaseCount = old.ThreePhaseCount;
        node.RowsOfThree = old.RowsOfThree;
        node.PanelBreakerType = std::move(old.PanelBreakerType);
        node.TrunkBreakerType = std::move(old.TrunkBreakerType);
    } else {
        // A count must follow its chain: while the chain holds records the count stays, or the
        // groups would be lost at the next save.
        if (panel.SchemeGroups.First) node.SchemeGroupCount = old.SchemeGroupCount;
        if (panel.SinglePhaseGroups.First) {
            node.SinglePhaseCount = old.SinglePhaseCount;
            node.RowsOfThree = old.RowsOfThree;
        }
        if (panel.TwoPhaseGroups.First) node.TwoPhaseCount = old.TwoPhaseCount;
        if (panel.ThreePhaseGroups.First) node.ThreePhaseCount = old.ThreePhaseCount;
    }
}

void ResetRootLevel(bool keepSectionBreakerType) {
    if (!ProjectRoot) return;
    TGrsedFields old = std::move(static_cast<TGrsedFields&>(*ProjectRoot));
    TGrsedFields& node = *ProjectRoot;
    node = TGrsedFields{};
    node.SwitchboardCount = old.SwitchboardCount;
    node.SupplyScPower = old.SupplyScPower;
    node.TransformerName = std::move(old.TransformerName);
    if (keepSectionBreakerType) node.SectionBreakerType = std::move(old.SectionBreakerType);
}

}  // namespace

void NodeResets::ResetPanelNode() {
    if (!ProjectRoot) return;
    if (TSitid* panel = ProjectRoot->CurrentPanel()) ResetPanelLevel(*panel, true);
}

void NodeResets::ClearPanelNode() {
    if (!ProjectRoot) return;
    if (TSitid* panel = ProjectRoot->CurrentPanel()) ResetPanelLevel(*panel, false);
}

void NodeResets::ResetSwitchboardNode() {
    if (!ProjectRoot) return;
    TGrsed* sw = ProjectRoot->CurrentSwitchboard();
    if (!sw) return;
    TGrsedFields old = std::move(static_cast<TGrsedFields&>(*sw));
    TGrsedFields& node = *sw;
    node = TGrsedFields{};
    node.PanelCount = old.PanelCount;
    node.SwitchboardNumber = old.SwitchboardNumber;
    node.SwitchboardTemperature = old.SwitchboardTemperature;
    node.ChangedMark = old.ChangedMark;
    node.SwitchboardTable = std::move(old.SwitchboardTable);
    node.SwitchboardLaying = std::move(old.SwitchboardLaying);
    node.SwitchboardBreakerType = std::move(old.SwitchboardBreakerType);
    node.SwitchboardConductorMaterial = std::move(old.SwitchboardConductorMaterial);
    node.SwitchboardCableName = std::move(old.SwitchboardCableName);
    node.SwitchboardFeederLength = old.SwitchboardFeederLength;
    KeepSwitchboardTable(node, old);
    node.SwitchboardCount = ProjectRoot->SwitchboardCount;
}

void NodeResets::ResetRootNode() {
    ResetRootLevel(true);
}

void NodeResets::ResetRootNodeKeepScPower() {
    ResetRootLevel(false);
}

// The switchboard-level fields of a fresh record, the root keeping its switchboard count while
// it has switchboards, and the supply the user chose: the transformer and the short-circuit
// power of the system stay when the project loses its last load.
void NodeResets::ResetUnloadedRoot(TGrsed& root) {
    const int switchboards = root.SwitchboardCount;
    const double scPower = root.SupplyScPower;
    std::string transformer = std::move(root.TransformerName);
    static_cast<TGrsedFields&>(root) = TGrsedFields{};
    root.SupplyScPower = scPower;
    root.TransformerName = std::move(transformer);
    if (root.Switchboards.First) root.SwitchboardCount = switchboards;
}

// A panel without load, fed directly from its switchboard, keeps its identity, its feeder's
// entries and its place; its counts follow its chains and are never changed here.
void NodeResets::ResetUnloadedPanel(TSitid& panel) {
    TSitidFields old = std::move(static_cast<TSitidFields&>(panel));
    TSitidFields& node = panel;
    node = TSitidFields{};
    node.PanelNumber = old.PanelNumber;
    node.SchemeGroupCount = old.SchemeGroupCount;
    node.SinglePhaseCount = old.SinglePhaseCount;
    node.TwoPhaseCount = old.TwoPhaseCount;
    node.ThreePhaseCount = old.ThreePhaseCount;
    node.RowsOfThree = old.RowsOfThree;
    node.Position = old.Position;
    node.CascadeSequence = old.CascadeSequence;
    node.CurrentTableName = std::move(old.CurrentTableName);
    node.FeederCableName = std::move(old.FeederCableName);
    node.FeederLayingMethod = std::move(old.FeederLayingMethod);
    node.FeederLength = old.FeederLength;
    node.FeederTemperature = old.FeederTemperature;
    node.FeedingPanelNumber = old.FeedingPanelNumber;
    node.FedFromPanel = old.FedFromPanel;
    node.FedFromSwitchboard = old.FedFromSwitchboard;
    node.FeederConductorMaterial = std::move(old.FeederConductorMaterial);
    node.CascadeCosPhiA = old.CascadeCosPhiA;
    node.CascadeCosPhiB = old.CascadeCosPhiB;
    node.CascadeCosPhiC = old.CascadeCosPhiC;
    KeepFeederTable(node, old);
}

// A switchboard without installed power keeps its identity and its feeder's entries.
void NodeResets::ResetUnloadedSwitchboard(TGrsed& sw) {
    TGrsedFields old = std::move(static_cast<TGrsedFields&>(sw));
    TGrsedFields& node = sw;
    node = TGrsedFields{};
    node.SwitchboardCount = old.SwitchboardCount;
    node.PanelCount = old.PanelCount;
    node.SwitchboardNumber = old.SwitchboardNumber;
    node.SchemeOrder = old.SchemeOrder;
    node.SwitchboardTemperature = old.SwitchboardTemperature;
    node.SwitchboardTable = std::move(old.SwitchboardTable);
    node.SwitchboardLaying = std::move(old.SwitchboardLaying);
    node.SwitchboardConductorMaterial = std::move(old.SwitchboardConductorMaterial);
    node.SwitchboardCableName = std::move(old.SwitchboardCableName);
    node.SwitchboardFeederLength = old.SwitchboardFeederLength;
    node.TotalCosPhiA = old.TotalCosPhiA;
    node.TotalCosPhiB = old.TotalCosPhiB;
    node.TotalCosPhiC = old.TotalCosPhiC;
    KeepSwitchboardTable(node, old);
}
