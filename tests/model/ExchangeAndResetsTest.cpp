// Node resets and the switchboard node exchange.
#include <gtest/gtest.h>

#include "LeakCheck.h"
#include "ModelSupport.h"
#include "model/NodeResets.h"

namespace {

using Names = std::vector<std::string>;
using NodeResetsTest = ModelTest;

class NodeResetsWithTree : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        AddSwitchboard(1);
        AddSwitchboard(2);
        AddPanels(1, "10 11:head 12:11^11");
        AddPanels(2, "20");
        AddGroupLine(11, "Гр1", 2);
        AddGroupLine(11, "Гр2", 4);
        panel = Panel(11);
        panel->RowsOfThree = 1;
        panel->HangsOnPanel = 10;
        panel->CurrentTableName = "АВВГ.xml";
        panel->FeederLength = 40.0;
        panel->DemandFactor = 0.8;
        panel->FeederSections = {2.5, 4.0};
        panel->FeederZeroSections = {2.5, 2.5};
        panel->FeederSectionCount = 2;
        panel->ZeroCoreTable = 1;
        panel->PanelBreakerType = "ВА-1";
        panel->FeederCableBrand = "АВВГ";
        panel->FeederConductorMaterial = "Алюминий";
        panel->OwnCurrentA = 15.0;
        panel->PanelCosPhiB = 0.85;
        panel->VoltageLossC = 1.2;
        panel->PanelFaultCurrent1 = 800.0;
        panel->PanelBreakerRating = 25.0;
        panel->FeederSection = 4.0;
        panel->ThreePhasePowerA = 3.0L;
        MakeCurrent(Switchboard(1), panel);
    }
    TSitid* panel = nullptr;
};

TEST_F(NodeResetsWithTree, ResetPanelNodeKeepsIdentityPlaceGroupsAndEntries) {
    const TSitidFields otherBefore = *Panel(12);
    NodeResets::ResetPanelNode();
    const TSitid& p = *panel;
    // Kept.
    EXPECT_EQ(DescribePanels(1), "10@1 11:head@2 12:11^11@3");
    EXPECT_EQ(p.HangsOnPanel, 10);
    EXPECT_EQ(p.SchemeGroupCount, 2);
    EXPECT_EQ(p.SinglePhaseCount, 1);
    EXPECT_EQ(p.ThreePhaseCount, 1);
    EXPECT_EQ(p.RowsOfThree, 1);
    EXPECT_EQ(GroupNamesOf(p, 1), (Names{"Гр1", "Гр2"}));
    EXPECT_EQ(p.CurrentTableName, "АВВГ.xml");
    EXPECT_EQ(p.FeederLength, 40.0);
    EXPECT_EQ(p.DemandFactor, 0.8);
    EXPECT_EQ(p.FeederSections, (std::vector<double>{2.5, 4.0}));
    EXPECT_EQ(p.FeederSectionCount, 2);
    // The zero-conductor column of the feeder's table stays with the sections.
    EXPECT_EQ(p.FeederZeroSections, (std::vector<double>{2.5, 2.5}));
    EXPECT_EQ(p.ZeroCoreTable, 1);
    EXPECT_EQ(p.PanelBreakerType, "ВА-1");
    EXPECT_EQ(p.FeederConductorMaterial, "Алюминий");
    // Back to the defaults of a new panel.
    EXPECT_EQ(p.FeederCableBrand, "");
    EXPECT_EQ(p.OwnCurrentA, 0.0);
    EXPECT_EQ(p.PanelCosPhiB, 1.0);
    EXPECT_EQ(p.VoltageLossC, 0.0);
    EXPECT_EQ(p.PanelFaultCurrent1, 0.0);
    EXPECT_EQ(p.PanelBreakerRating, 0.0);
    EXPECT_EQ(p.FeederSection, 0.0);
    EXPECT_EQ(p.ThreePhasePowerA, 0.0L);
    // Twice is once; other nodes are untouched.
    const TSitidFields once = p;
    NodeResets::ResetPanelNode();
    EXPECT_TRUE(static_cast<const TSitidFields&>(p) == once);
    EXPECT_TRUE(static_cast<const TSitidFields&>(*Panel(12)) == otherBefore);
}

// The counts follow the chains: a panel that still holds groups keeps its counts.
TEST_F(NodeResetsWithTree, ClearPanelNodeKeepsTheCountsOfChainsThatHoldRecords) {
    NodeResets::ClearPanelNode();
    EXPECT_EQ(panel->SchemeGroupCount, 2);
    EXPECT_EQ(panel->SinglePhaseCount, 1);
    EXPECT_EQ(panel->RowsOfThree, 1);
    EXPECT_EQ(panel->ThreePhaseCount, 1);
    EXPECT_EQ(panel->PanelBreakerType, "");
    EXPECT_EQ(panel->OwnCurrentA, 0.0);
    EXPECT_EQ(ChainProblems(), "");
}

TEST_F(NodeResetsWithTree, ClearPanelNodeZeroesTheCountsOfEmptyChains) {
    MakeCurrent(Switchboard(1), Panel(10));
    Panel(10)->TwoPhaseCount = 3;  // a count left over from removed groups
    Panel(10)->RowsOfThree = 2;
    Panel(10)->TrunkBreakerType = "ВА-2";
    NodeResets::ClearPanelNode();
    EXPECT_EQ(Panel(10)->TwoPhaseCount, 0);
    EXPECT_EQ(Panel(10)->RowsOfThree, 0);
    EXPECT_EQ(Panel(10)->TrunkBreakerType, "");
}

TEST_F(NodeResetsWithTree, ResetSwitchboardNodeTakesTheRootsCount) {
    TGrsed* sw = Switchboard(1);
    sw->SwitchboardCount = 7;
    sw->SupplyScPower = 90.0;
    sw->SchemeOrder = 3;
    sw->SwitchboardCableBrand = "ВВГ";
    sw->SwitchboardCableName = "К-1";
    sw->SwitchboardCurrentA = 40.0;
    sw->SwitchboardSections = {16.0};
    sw->SwitchboardZeroSections = {10.0};
    sw->PanelNumber = 99;  // panel level: not touched
    const TGrsedFields otherBefore = *Switchboard(2);
    NodeResets::ResetSwitchboardNode();
    EXPECT_EQ(sw->SwitchboardCount, 2);
    EXPECT_EQ(sw->SupplyScPower, 180.0);
    EXPECT_EQ(sw->SchemeOrder, 0);
    EXPECT_EQ(sw->SwitchboardCableBrand, "");
    EXPECT_EQ(sw->SwitchboardCableName, "К-1");
    EXPECT_EQ(sw->SwitchboardCurrentA, 0.0);
    EXPECT_EQ(sw->SwitchboardSections, (std::vector<double>{16.0}));
    EXPECT_EQ(sw->SwitchboardZeroSections, (std::vector<double>{10.0}));
    EXPECT_EQ(sw->SwitchboardNumber, 1);
    EXPECT_EQ(sw->PanelCount, 3);
    EXPECT_EQ(sw->PanelNumber, 99);
    EXPECT_EQ(DescribePanels(1), "10@1 11:head@2 12:11^11@3");
    EXPECT_TRUE(static_cast<const TGrsedFields&>(*Switchboard(2)) == otherBefore);
}

struct RootResetCase {
    const char* name;
    void (*reset)();
    const char* sectionBreakerType;
};

TEST_F(NodeResetsWithTree, RootResetsKeepTheSupplyShortCircuitPower) {
    const std::vector<RootResetCase> cases = {
        {"ResetRootNode", &NodeResets::ResetRootNode, "ВА-5"},
        {"ResetRootNodeKeepScPower", &NodeResets::ResetRootNodeKeepScPower, ""},
    };
    for (const auto& c : cases) {
        ProjectRoot->SupplyScPower = 250.0;
        ProjectRoot->SectionBreakerType = "ВА-5";
        ProjectRoot->TransformerName = "ТМ-400";
        ProjectRoot->TransformerBreakerRating = 630.0;
        ProjectRoot->TotalDesignPower = 120.0;
        ProjectRoot->TotalCosPhiB = 0.9;
        c.reset();
        EXPECT_EQ(ProjectRoot->SupplyScPower, 250.0) << c.name;
        EXPECT_EQ(ProjectRoot->SectionBreakerType, c.sectionBreakerType) << c.name;
        EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-400") << c.name;
        EXPECT_EQ(ProjectRoot->SwitchboardCount, 2) << c.name;
        EXPECT_EQ(ProjectRoot->TransformerBreakerRating, 0.0) << c.name;
        EXPECT_EQ(ProjectRoot->TotalDesignPower, 0.0) << c.name;
        EXPECT_EQ(ProjectRoot->TotalCosPhiB, 1.0) << c.name;
        EXPECT_EQ(DescribeSwitchboards(), "1 2") << c.name;
    }
}

TEST_F(NodeResetsTest, WithoutAProjectOrCursorsNothingHappens) {
    NodeResets::ResetPanelNode();
    NodeResets::ClearPanelNode();
    NodeResets::ResetSwitchboardNode();
    TGrsed* root = ProjectRoot;
    ProjectRoot = nullptr;
    NodeResets::ResetRootNode();
    NodeResets::ResetRootNodeKeepScPower();
    ProjectRoot = root;
    EXPECT_EQ(ProjectRoot->Switchboards.First, nullptr);
}

// ---------------------------------------------------------------------------------------------

using SwitchboardExchange = ModelTest;

TEST_F(SwitchboardExchange, ExchangeOfTheFirstThenRemovingTheTailLeavesThreeAndTwo) {
    for (int n : {1, 2, 3}) {
        AddSwitchboard(n, "К" + std::to_string(n));
        AddPanel(n, std::to_string(n * 10));
    }
    TGrsed* firstNode = Switchboard(1);
    TGrsed* lastNode = Switchboard(3);
    firstNode->PanelNumber = 111;  // fields outside the switchboard level stay with the node
    lastNode->PanelNumber = 333;
    TSitid* panelOf3 = Panel(30);
    // The emptying done first by the caller, as the edit dialog does.
    MakeCurrent(firstNode);
    editing.RemoveLastPanel();
    const TGrsedFields threeFields = *lastNode;
    const TGrsedFields oneFields = *firstNode;

    editing.ExchangeSwitchboardNode(firstNode);

    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), firstNode);
    EXPECT_TRUE(static_cast<const TGrsedFields&>(*firstNode) == threeFields);
    EXPECT_TRUE(static_cast<const TGrsedFields&>(*lastNode) == oneFields);
    EXPECT_EQ(firstNode->Panels.First, panelOf3);
    EXPECT_EQ(firstNode->Panels.Last, panelOf3);
    EXPECT_EQ(lastNode->Panels.First, panelOf3);  // until the caller unlinks it
    EXPECT_EQ(firstNode->PanelNumber, 111);
    EXPECT_EQ(lastNode->PanelNumber, 333);

    editing.RemoveLastSwitchboard();
    EXPECT_EQ(DescribeSwitchboards(), "3 2");
    EXPECT_EQ(DescribePanels(3), "30@1");
    EXPECT_EQ(lists.switchboardNumbers, (Names{"3", "2"}));
    EXPECT_EQ(ProjectRoot->SwitchboardCount, 2);
    EXPECT_EQ(ChainProblems(), "");
}

TEST_F(SwitchboardExchange, WithTheLastSwitchboardNothingMoves) {
    AddSwitchboard(1);
    AddSwitchboard(2, "К2");
    AddPanels(2, "20 21");
    TGrsed* last = Switchboard(2);
    const TGrsedFields before = *last;
    TSitid* first = last->Panels.First;
    editing.ExchangeSwitchboardNode(last);
    EXPECT_TRUE(static_cast<const TGrsedFields&>(*last) == before);
    EXPECT_EQ(last->Panels.First, first);
    EXPECT_EQ(DescribePanels(2), "20@1 21@2");
    EXPECT_EQ(DescribeSwitchboards(), "1 2");
}

// A target that was not emptied first: its panels are deleted with the tail, never lost.
TEST_F(SwitchboardExchange, ATargetStillHoldingPanelsLosesNothingToALeak) {
    AddSwitchboard(1);
    AddSwitchboard(2);
    AddPanels(1, "10");
    AddPanels(2, "20");
    AddGroupLine(10, "Гр1", 4);
    editing.ExchangeSwitchboardNode(Switchboard(1));
    editing.RemoveLastSwitchboard();
    EXPECT_EQ(DescribeSwitchboards(), "2");
    EXPECT_EQ(DescribePanels(2), "20@1");
    EXPECT_EQ(Panel(10), nullptr);
    ExpectNoLeaks();
}

}  // namespace
