// The node resets over every field of their level: each field either keeps the value it had or
// takes that of a new record, as the reset's list of kept fields says.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "ModelSupport.h"
#include "model/NodeResets.h"

namespace {

// The number of fields of an aggregate: the most initializers a brace initialization takes.
struct AnyField {
    template <typename T>
    operator T() const;
};

template <typename T, typename... Fields>
constexpr std::size_t FieldCount() {
    if constexpr (requires { T{Fields{}..., AnyField{}}; })
        return FieldCount<T, Fields..., AnyField>();
    else
        return sizeof...(Fields);
}

// Values no new record holds.
void Perturb(int& v) {
    v += 7;
}
void Perturb(std::uint8_t& v) {
    v = v ? 0 : 1;
}
void Perturb(double& v) {
    v += 0.5;
}
void Perturb(long double& v) {
    v += 0.5L;
}
void Perturb(std::string& v) {
    v += "ж";
}
void Perturb(std::vector<double>& v) {
    v.push_back(2.5);
}
void Perturb(std::array<double, 3>& v) {
    v[1] += 0.5;
}

// One field of a level and the resets that keep it (one letter each).
template <typename Level>
struct FieldRow {
    const char* name;
    const char* keptBy;
    std::function<void(Level&)> perturb;
    std::function<bool(const Level&, const Level&)> same;
};

#define LEVEL_FIELD(Level, field, kept)                                                            \
    FieldRow<Level> {                                                                              \
#field, kept,                                                                              \
            [](Level & r) { Perturb(r.field); }, [](const Level& a,                                \
                                                    const Level& b) { return a.field == b.field; } \
    }
#define PANEL_FIELD(field, kept) LEVEL_FIELD(TSitidFields, field, kept)
#define SWITCHBOARD_FIELD(field, kept) LEVEL_FIELD(TGrsedFields, field, kept)

// Every panel-level field; kept by P ResetPanelNode, C ClearPanelNode.
const std::vector<FieldRow<TSitidFields>>& PanelFields() {
    static const std::vector<FieldRow<TSitidFields>> fields = {
        PANEL_FIELD(PanelNumber, "PC"),
        PANEL_FIELD(HangsOnPanel, "PC"),
        PANEL_FIELD(SchemeGroupCount, "P"),
        PANEL_FIELD(SinglePhaseCount, "P"),
        PANEL_FIELD(TwoPhaseCount, "P"),
        PANEL_FIELD(ThreePhaseCount, "P"),
        PANEL_FIELD(RowsOfThree, "P"),
        PANEL_FIELD(Position, "PC"),
        PANEL_FIELD(CascadeSequence, "PC"),
        PANEL_FIELD(CascadeEnd, ""),
        PANEL_FIELD(SectionIndex, ""),
        PANEL_FIELD(OnTrunk, "PC"),
        PANEL_FIELD(PanelFlagB, "PC"),
        PANEL_FIELD(PanelFlagC, "PC"),
        PANEL_FIELD(RebuildMark, ""),
        PANEL_FIELD(CurrentTableName, "PC"),
        PANEL_FIELD(FeederCableName, "PC"),
        PANEL_FIELD(PanelBreakerRating, ""),
        PANEL_FIELD(TrunkBreakerRating, ""),
        PANEL_FIELD(FeederBreakerRating, ""),
        PANEL_FIELD(CascadeBreakerRating, ""),
        PANEL_FIELD(PanelBreakerType, "P"),
        PANEL_FIELD(TrunkBreakerType, "P"),
        PANEL_FIELD(FeederSection, ""),
        PANEL_FIELD(FeederNeutralSection, ""),
        PANEL_FIELD(FeederSectionByCurrent, ""),
        PANEL_FIELD(FeederLayingMethod, "PC"),
        PANEL_FIELD(FeederSection2, ""),
        PANEL_FIELD(FeederLength, "PC"),
        PANEL_FIELD(CascadeLength, "PC"),
        PANEL_FIELD(FeederTemperature, "PC"),
        PANEL_FIELD(FeedingPanelNumber, "PC"),
        PANEL_FIELD(CascadeHeadNumber, "PC"),
        PANEL_FIELD(FedFromPanel, "PC"),
        PANEL_FIELD(FedFromSwitchboard, "PC"),
        PANEL_FIELD(CascadeFlag, "PC"),
        PANEL_FIELD(FeederCableBrand, ""),
        PANEL_FIELD(FeederConductorMaterial, "PC"),
        PANEL_FIELD(OwnCurrentA, ""),
        PANEL_FIELD(OwnCurrentB, ""),
        PANEL_FIELD(OwnCurrentC, ""),
        PANEL_FIELD(OwnNeutralCurrent, ""),
        PANEL_FIELD(OwnDesignCurrent, ""),
        PANEL_FIELD(CascadeDesignCurrent, ""),
        PANEL_FIELD(CascadeCurrentA, ""),
        PANEL_FIELD(CascadeCurrentB, ""),
        PANEL_FIELD(CascadeCurrentC, ""),
        PANEL_FIELD(CascadeNeutralCurrent, ""),
        PANEL_FIELD(FeederCurrentA, ""),
        PANEL_FIELD(FeederCurrentB, ""),
        PANEL_FIELD(FeederCurrentC, ""),
        PANEL_FIELD(FeederNeutralCurrent, ""),
        PANEL_FIELD(PanelCosPhiA, ""),
        PANEL_FIELD(PanelCosPhiB, ""),
        PANEL_FIELD(PanelCosPhiC, ""),
        PANEL_FIELD(PanelCosPhi, ""),
        PANEL_FIELD(CascadeCosPhiA, ""),
        PANEL_FIELD(CascadeCosPhiB, ""),
        PANEL_FIELD(CascadeCosPhiC, ""),
        PANEL_FIELD(CascadeCosPhi, ""),
        PANEL_FIELD(PanelPowerA, ""),
        PANEL_FIELD(PanelPowerB, ""),
        PANEL_FIELD(PanelPowerC, ""),
        PANEL_FIELD(CascadePowerA, ""),
        PANEL_FIELD(CascadePowerB, ""),
        PANEL_FIELD(CascadePowerC, ""),
        PANEL_FIELD(TotalPowerA, ""),
        PANEL_FIELD(TotalPowerB, ""),
        PANEL_FIELD(TotalPowerC, ""),
        PANEL_FIELD(SparePanelValues, ""),
        PANEL_FIELD(SinglePhasePowerA, ""),
        PANEL_FIELD(SinglePhasePowerB, ""),
        PANEL_FIELD(SinglePhasePowerC, ""),
        PANEL_FIELD(TwoPhasePowerA, ""),
        PANEL_FIELD(TwoPhasePowerB, ""),
        PANEL_FIELD(TwoPhasePowerC, ""),
        PANEL_FIELD(ThreePhasePowerA, ""),
        PANEL_FIELD(ThreePhasePowerB, ""),
        PANEL_FIELD(ThreePhasePowerC, ""),
        PANEL_FIELD(LossPartSum, ""),
        PANEL_FIELD(LossPartA, ""),
        PANEL_FIELD(LossPartB, ""),
        PANEL_FIELD(LossPartC, ""),
        PANEL_FIELD(LossPart2Sum, ""),
        PANEL_FIELD(LossPart2A, ""),
        PANEL_FIELD(LossPart2B, ""),
        PANEL_FIELD(LossPart2C, ""),
        PANEL_FIELD(MaxVoltageLoss, ""),
        PANEL_FIELD(DeviationWork, ""),
        PANEL_FIELD(VoltageLossA, ""),
        PANEL_FIELD(VoltageLossB, ""),
        PANEL_FIELD(VoltageLossC, ""),
        PANEL_FIELD(PanelFaultCurrent1, ""),
        PANEL_FIELD(PanelFaultCurrent3, ""),
        PANEL_FIELD(PanelSurgeCurrent, ""),
        PANEL_FIELD(InstalledPower, ""),
        PANEL_FIELD(DesignPower, ""),
        PANEL_FIELD(CascadePower, ""),
        PANEL_FIELD(DemandFactor, "PC"),
        PANEL_FIELD(SparePanelValue, ""),
        PANEL_FIELD(FeederSections, "PC"),
        PANEL_FIELD(FeederZeroSections, "PC"),
        PANEL_FIELD(FeederSectionCount, "PC"),
        PANEL_FIELD(ZeroCoreTable, "PC"),
    };
    return fields;
}

// Every switchboard-level field; kept by S ResetSwitchboardNode, R ResetRootNode,
// K ResetRootNodeKeepScPower.
const std::vector<FieldRow<TGrsedFields>>& SwitchboardFields() {
    static const std::vector<FieldRow<TGrsedFields>> fields = {
        SWITCHBOARD_FIELD(SwitchboardCount, "SRK"),
        SWITCHBOARD_FIELD(PanelCount, "S"),
        SWITCHBOARD_FIELD(SwitchboardNumber, "S"),
        SWITCHBOARD_FIELD(SwitchboardTemperature, "S"),
        SWITCHBOARD_FIELD(ChangedMark, "S"),
        SWITCHBOARD_FIELD(SchemeOrder, ""),
        SWITCHBOARD_FIELD(SupplyScPower, "RK"),
        SWITCHBOARD_FIELD(SwitchboardTable, "S"),
        SWITCHBOARD_FIELD(SpareText1, ""),
        SWITCHBOARD_FIELD(SwitchboardLaying, "S"),
        SWITCHBOARD_FIELD(SwitchboardInstalledPower, ""),
        SWITCHBOARD_FIELD(SwitchboardDesignPower, ""),
        SWITCHBOARD_FIELD(TotalInstalledPower, ""),
        SWITCHBOARD_FIELD(TotalDesignPower, ""),
        SWITCHBOARD_FIELD(TotalPhasePowerA, ""),
        SWITCHBOARD_FIELD(TotalPhasePowerB, ""),
        SWITCHBOARD_FIELD(TotalPhasePowerC, ""),
        SWITCHBOARD_FIELD(SwitchboardPowerA, ""),
        SWITCHBOARD_FIELD(SwitchboardPowerB, ""),
        SWITCHBOARD_FIELD(SwitchboardPowerC, ""),
        SWITCHBOARD_FIELD(SwitchboardSection, ""),
        SWITCHBOARD_FIELD(SwitchboardNeutralSection, ""),
        SWITCHBOARD_FIELD(SpareSwitchboardValue, ""),
        SWITCHBOARD_FIELD(SwitchboardCableBrand, ""),
        SWITCHBOARD_FIELD(SpareText2, ""),
        SWITCHBOARD_FIELD(SwitchboardBreakerType, "S"),
        SWITCHBOARD_FIELD(SectionBreakerType, "R"),
        SWITCHBOARD_FIELD(SwitchboardConductorMaterial, "S"),
        SWITCHBOARD_FIELD(SpareText3, ""),
        SWITCHBOARD_FIELD(SwitchboardCableName, "S"),
        SWITCHBOARD_FIELD(SwitchboardFeederLength, "S"),
        SWITCHBOARD_FIELD(SpareSwitchboardValue2, ""),
        SWITCHBOARD_FIELD(SwitchboardCosPhiA, ""),
        SWITCHBOARD_FIELD(SwitchboardCosPhiB, ""),
        SWITCHBOARD_FIELD(SwitchboardCosPhiC, ""),
        SWITCHBOARD_FIELD(SwitchboardCurrentA, ""),
        SWITCHBOARD_FIELD(SwitchboardCurrentB, ""),
        SWITCHBOARD_FIELD(SwitchboardCurrentC, ""),
        SWITCHBOARD_FIELD(SwitchboardNeutralCurrent, ""),
        SWITCHBOARD_FIELD(TotalCurrentA, ""),
        SWITCHBOARD_FIELD(TotalCurrentB, ""),
        SWITCHBOARD_FIELD(TotalCurrentC, ""),
        SWITCHBOARD_FIELD(TotalNeutralCurrent, ""),
        SWITCHBOARD_FIELD(SwitchboardDesignCurrent, ""),
        SWITCHBOARD_FIELD(TotalDesignCurrent, ""),
        SWITCHBOARD_FIELD(SwitchboardCosPhi, ""),
        SWITCHBOARD_FIELD(TotalCosPhi, ""),
        SWITCHBOARD_FIELD(TotalCosPhiA, ""),
        SWITCHBOARD_FIELD(TotalCosPhiB, ""),
        SWITCHBOARD_FIELD(TotalCosPhiC, ""),
        SWITCHBOARD_FIELD(SwitchboardLossSum, ""),
        SWITCHBOARD_FIELD(SwitchboardLossA, ""),
        SWITCHBOARD_FIELD(SwitchboardLossB, ""),
        SWITCHBOARD_FIELD(SwitchboardLossC, ""),
        SWITCHBOARD_FIELD(SpareSwitchboardValues2, ""),
        SWITCHBOARD_FIELD(SwitchboardFaultCurrent1, ""),
        SWITCHBOARD_FIELD(SwitchboardFaultCurrent3, ""),
        SWITCHBOARD_FIELD(SwitchboardSurgeCurrent, ""),
        SWITCHBOARD_FIELD(SwitchboardBreakerRating, ""),
        SWITCHBOARD_FIELD(SwitchboardInputRating, ""),
        SWITCHBOARD_FIELD(TransformerBreakerRating, ""),
        SWITCHBOARD_FIELD(TransformerName, "RK"),
        SWITCHBOARD_FIELD(SwitchboardSections, "S"),
        SWITCHBOARD_FIELD(SwitchboardZeroSections, "S"),
        SWITCHBOARD_FIELD(SwitchboardSectionCount, "S"),
        SWITCHBOARD_FIELD(SwitchboardZeroCoreTable, "S"),
    };
    return fields;
}

// Gives every field of the node's level a value no new record has, runs the reset and holds each
// field against its value before (kept by this reset) or that of a new record. `adjustKept`
// changes what a kept field is expected to hold.
template <typename Level>
void CheckReset(const std::vector<FieldRow<Level>>& fields, char reset, Level& node,
                const std::function<void()>& run,
                const std::type_identity_t<std::function<void(Level&)>>& adjustKept = {}) {
    ASSERT_EQ(fields.size(), FieldCount<Level>()) << "every field of the level has a row";
    for (const FieldRow<Level>& f : fields) f.perturb(node);
    Level kept = node;
    if (adjustKept) adjustKept(kept);
    const Level fresh{};
    for (const FieldRow<Level>& f : fields)
        ASSERT_FALSE(f.same(node, fresh)) << f.name << " holds a new record's value";
    run();
    for (const FieldRow<Level>& f : fields) {
        const bool keeps = std::strchr(f.keptBy, reset) != nullptr;
        EXPECT_TRUE(f.same(node, keeps ? kept : fresh))
            << f.name << (keeps ? ": not kept" : ": not back to a new record's value");
    }
}

// Switchboards 1 and 2; panels 10 and 11 in switchboard 1, 20 in 2; no group lines.
class NodeResetFields : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        AddSwitchboard(1);
        AddSwitchboard(2);
        AddPanels(1, "10 11");
        AddPanels(2, "20");
        MakeCurrent(Switchboard(1), Panel(11));
    }
};

TEST_F(NodeResetFields, ResetPanelNode) {
    CheckReset(PanelFields(), 'P', static_cast<TSitidFields&>(*Panel(11)),
               &NodeResets::ResetPanelNode);
}

// The panel holds no group lines: its counts and RowsOfThree go with the breaker types.
TEST_F(NodeResetFields, ClearPanelNode) {
    CheckReset(PanelFields(), 'C', static_cast<TSitidFields&>(*Panel(11)),
               &NodeResets::ClearPanelNode);
}

// SwitchboardCount takes the root's count (2).
TEST_F(NodeResetFields, ResetSwitchboardNode) {
    CheckReset(SwitchboardFields(), 'S', static_cast<TGrsedFields&>(*Switchboard(1)),
               &NodeResets::ResetSwitchboardNode,
               [](TGrsedFields& kept) { kept.SwitchboardCount = 2; });
}

// The supply short-circuit power the user entered stays as well.
TEST_F(NodeResetFields, ResetRootNode) {
    CheckReset(SwitchboardFields(), 'R', static_cast<TGrsedFields&>(*ProjectRoot),
               &NodeResets::ResetRootNode);
}

TEST_F(NodeResetFields, ResetRootNodeKeepScPower) {
    CheckReset(SwitchboardFields(), 'K', static_cast<TGrsedFields&>(*ProjectRoot),
               &NodeResets::ResetRootNodeKeepScPower);
}

}  // namespace
