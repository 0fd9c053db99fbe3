// Defaults and value semantics of the record line TCxemaGrupd .. TGrsed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LeakCheck.h"
#include "ModelSupport.h"
#include "model/Chains.h"
#include "model/Classd.h"

namespace {

struct NamedValue {
    const char* field;
    double value;
};

// Every cos φ field and the demand factor of a new switchboard, all levels included.
TEST(RecordDefaults, EveryCosPhiFieldOfANewSwitchboardIsOne) {
    const TGrsed r;
    const std::vector<NamedValue> ones = {
        {"CosPhi", r.CosPhi},
        {"CosPhi1", r.CosPhi1},
        {"PartCosPhi[0]", r.PartCosPhi.at(0)},
        {"PartCosPhi[1]", r.PartCosPhi.at(1)},
        {"CosPhi2", r.CosPhi2},
        {"CosPhi3", r.CosPhi3},
        {"PhaseCosPhi[0]", r.PhaseCosPhi.at(0)},
        {"PhaseCosPhi[1]", r.PhaseCosPhi.at(1)},
        {"PhaseCosPhi[2]", r.PhaseCosPhi.at(2)},
        {"PanelCosPhiA", r.PanelCosPhiA},
        {"PanelCosPhiB", r.PanelCosPhiB},
        {"PanelCosPhiC", r.PanelCosPhiC},
        {"PanelCosPhi", r.PanelCosPhi},
        {"CascadeCosPhiA", r.CascadeCosPhiA},
        {"CascadeCosPhiB", r.CascadeCosPhiB},
        {"CascadeCosPhiC", r.CascadeCosPhiC},
        {"CascadeCosPhi", r.CascadeCosPhi},
        {"DemandFactor", r.DemandFactor},
        {"SwitchboardCosPhiA", r.SwitchboardCosPhiA},
        {"SwitchboardCosPhiB", r.SwitchboardCosPhiB},
        {"SwitchboardCosPhiC", r.SwitchboardCosPhiC},
        {"SwitchboardCosPhi", r.SwitchboardCosPhi},
        {"TotalCosPhi", r.TotalCosPhi},
        {"TotalCosPhiA", r.TotalCosPhiA},
        {"TotalCosPhiB", r.TotalCosPhiB},
        {"TotalCosPhiC", r.TotalCosPhiC},
    };
    for (const auto& f : ones) EXPECT_EQ(f.value, 1.0) << f.field;
}

TEST(RecordDefaults, NewRecordsOfEachLevel) {
    const TFasaGrup3d group;
    EXPECT_EQ(group.GroupName, "0");  // a scheme record is named "0", not ""
    EXPECT_EQ(group.GroupName1, "");
    EXPECT_EQ(group.PartPowers, (std::vector<long double>{0.0L, 0.0L}));
    EXPECT_EQ(group.PhasePowers, (std::vector<long double>{0.0L, 0.0L, 0.0L}));
    EXPECT_TRUE(group.AllowedSections.empty());
    EXPECT_EQ(group.SchemeGroups.First, nullptr);
    EXPECT_EQ(group.ThreePhaseByPhase[2].Last, nullptr);

    const TSitid panel;
    EXPECT_EQ(panel.CurrentTableName, "0");
    EXPECT_EQ(panel.PanelNumber, 0);
    EXPECT_EQ(panel.PanelPowerA, 0.0L);
    EXPECT_EQ(panel.FeederSectionCount, 0);
    EXPECT_EQ(panel.Panels.First, nullptr);
    EXPECT_EQ(panel.PanelsMark, nullptr);

    const TGrsed sw;
    EXPECT_EQ(sw.SupplyScPower, 180.0);
    EXPECT_EQ(sw.SwitchboardCount, 0);
    EXPECT_EQ(sw.Switchboards.Cursor, nullptr);
    EXPECT_EQ(sw.CurrentTableName, "0");  // group and panel defaults come with it
    EXPECT_EQ(sw.GroupName, "0");
}

TEST(RecordDefaults, AnArrayOfPanelsHoldsDefaultPanels) {
    const std::vector<TSitid> snapshots(3);
    for (const TSitid& p : snapshots) {
        EXPECT_EQ(p.DemandFactor, 1.0);
        EXPECT_EQ(p.CurrentTableName, "0");
        EXPECT_EQ(p.PhaseCosPhi.size(), 3u);
    }
}

// A copy owns its arrays: changing the copy leaves the source alone.
TEST(RecordCopies, OwnedArraysAreNeverShared) {
    TFasaGrup2d two;
    two.PartPowers = {2.0L, 1.0L};
    TFasaGrup2d twoCopy = two;
    twoCopy.PartPowers[0] = 9.0L;
    twoCopy.PartCosPhi[1] = 0.5;
    EXPECT_EQ(two.PartPowers[0], 2.0L);
    EXPECT_EQ(two.PartCosPhi[1], 1.0);

    TFasaGrup3d three;
    TFasaGrup3d threeAssigned;
    threeAssigned = three;
    threeAssigned.PhasePowers[1] = 4.0L;
    threeAssigned.PhaseCosPhi[2] = 0.8;
    EXPECT_EQ(three.PhasePowers[1], 0.0L);
    EXPECT_EQ(three.PhaseCosPhi[2], 1.0);

    TSitid panel;
    panel.FeederSections = {2.5, 4.0};
    TSitid panelCopy = panel;
    panelCopy.FeederSections[0] = 6.0;
    EXPECT_EQ(panel.FeederSections[0], 2.5);

    TCxemaGrupd scheme;
    scheme.AllowedSections = {1.5, 2.5};
    TCxemaGrupd schemeCopy = scheme;
    schemeCopy.AllowedSections.push_back(4.0);
    EXPECT_EQ(scheme.AllowedSections.size(), 2u);
}

using RecordChains = ModelTest;

// A copy of a panel points at the same group records; destroying it leaves them intact.
TEST_F(RecordChains, DestroyingACopyOfAPanelLeavesItsGroupRecords) {
    AddSwitchboard(1);
    AddPanels(1, "10");
    AddGroupLine(10, "Гр1", 2);
    AddGroupLine(10, "Гр2", 4);
    {
        auto* copy = new TSitid(*Panel(10));
        EXPECT_EQ(copy->SchemeGroups.First, Panel(10)->SchemeGroups.First);
        delete copy;
    }
    EXPECT_EQ(GroupNamesOf(*Panel(10), 1), (std::vector<std::string>{"Гр1", "Гр2"}));
    EXPECT_EQ(GroupNamesOf(*Panel(10), 4), (std::vector<std::string>{"Гр2"}));
}

TEST(RecordChainLinks, DestroyingARecordLeavesTheNextOne) {
    auto* first = new TCxemaGrupd;
    auto* second = new TCxemaGrupd;
    second->GroupName = "Гр2";
    first->SchemeGroups.Next = second;
    delete first;
    EXPECT_EQ(second->GroupName, "Гр2");
    delete second;
}

TEST(RecordLevels, ALevelCopiesAndComparesItsOwnFieldsOnly) {
    TFasaGrup2d source;
    source.Power = 7.0L;   // scheme level
    source.Power2 = 3.0L;  // two-phase level
    TFasaGrup2d target;
    static_cast<TFasaGrup2dFields&>(target) = source;
    EXPECT_EQ(target.Power2, 3.0L);
    EXPECT_EQ(target.Power, 0.0L);
    EXPECT_TRUE(static_cast<const TFasaGrup2dFields&>(target) == source);
    EXPECT_FALSE(static_cast<const TCxemaGrupdFields&>(target) == source);
}

// Per-phase result records as the distributions leave them: one record per phase and row.
void FillResultChains(TSitid& panel) {
    for (int phase = 0; phase < 3; ++phase) {
        for (int row = 0; row < 2; ++row) {
            chains::AppendWalking(panel.SinglePhaseByPhase[phase], new TFasaGrup1d,
                                  chains::SinglePhaseByPhaseLink{phase});
            chains::AppendWalking(panel.TwoPhaseByPhase[phase], new TFasaGrup2d,
                                  chains::TwoPhaseByPhaseLink{phase});
            chains::AppendWalking(panel.ThreePhaseByPhase[phase], new TFasaGrup3d,
                                  chains::ThreePhaseByPhaseLink{phase});
        }
    }
}

TEST_F(RecordChains, ResultRecordsGoWithTheirPanel) {
    AddSwitchboard(1);
    AddPanels(1, "10 11 12");
    for (int n : {10, 11, 12}) FillResultChains(*Panel(n));
    ASSERT_EQ(chains::Length(Panel(11)->TwoPhaseByPhase[1], chains::TwoPhaseByPhaseLink{1}), 2);

    DestroyResultChains(*Panel(12));
    for (int phase = 0; phase < 3; ++phase) {
        EXPECT_EQ(Panel(12)->SinglePhaseByPhase[phase].First, nullptr);
        EXPECT_EQ(Panel(12)->ThreePhaseByPhase[phase].Last, nullptr);
    }
    MakeCurrent(Switchboard(1));
    editing.DeletePanel(Panel(11));
    ExpectNoLeaks();  // panel 11 and its result records are freed
    EXPECT_EQ(DescribePanels(1), "10@1 12@2");
}  // panel 10's result records go with the project tree

TEST(ProjectTree, DeletingTheTreeClearsTheRoot) {
    TGrsed* root = new TGrsed;
    TGrsed sw;
    sw.SwitchboardNumber = 1;
    root->AddSwitchboard(sw);
    root->SwitchboardCount = 1;
    TSitid panel;
    panel.PanelNumber = 5;
    root->AddPanel(1, panel);
    root->Switchboards.First->PanelCount = 1;
    DeleteProjectTree(root);
    EXPECT_EQ(root, nullptr);
    ExpectNoLeaks();          // every record of the tree is freed
    DeleteProjectTree(root);  // no project: nothing to do
}

}  // namespace
