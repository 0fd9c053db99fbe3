// Swapping two panels of a switchboard: fields and group lines change nodes, the chain stays.
#include <gtest/gtest.h>

#include "ModelSupport.h"

namespace {

using Names = std::vector<std::string>;
using PanelSwap = ModelTest;

TEST_F(PanelSwap, GroupLinesMoveWithThePanel) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanels(1, "10 11");
    AddGroupLine(10, "Гр1", 2);
    AddGroupLine(10, "Гр2", 3);
    AddGroupLine(10, "Гр3", 4);
    TSitid* first = Panel(10);
    TSitid* second = Panel(11);
    MakeCurrent(sw, first);

    editing.SwapPanels(sw, first, second);

    // The first node now holds panel 11 and no groups; the second panel 10 with its three.
    EXPECT_EQ(first->PanelNumber, 11);
    EXPECT_EQ(first->Position, 2);
    EXPECT_EQ(first->SchemeGroups.First, nullptr);
    EXPECT_EQ(second->PanelNumber, 10);
    EXPECT_EQ(second->Position, 1);
    EXPECT_EQ(GroupNamesOf(*second, 1), (Names{"Гр1", "Гр2", "Гр3"}));
    EXPECT_EQ(GroupNamesOf(*second, 2), (Names{"Гр1"}));
    EXPECT_EQ(GroupNamesOf(*second, 3), (Names{"Гр2"}));
    EXPECT_EQ(GroupNamesOf(*second, 4), (Names{"Гр3"}));
    EXPECT_EQ(second->TwoPhaseGroups.First->PartPowers, (std::vector<long double>{1.0L, 0.5L}));
    EXPECT_EQ(sw->Panels.First, first);
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), sw);
    EXPECT_EQ(ProjectRoot->CurrentPanel(), first);
    EXPECT_EQ(lists.groupNames, (Names{"Гр1", "Гр2", "Гр3"}));
    EXPECT_EQ(lists.groupCountCopies, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(ChainProblems(), "");
}

TEST_F(PanelSwap, SwappingTwiceRestoresEveryField) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanels(1, "10 11:head 12:11^11 13");
    AddGroupLine(11, "Гр1", 2, "к1");
    AddGroupLine(11, "Гр2", 4, "к2");
    AddGroupLine(13, "Гр3", 3, "к3");
    TSitid* p = Panel(11);
    TSitid* q = Panel(13);
    p->FeederSections = {2.5, 4.0};
    p->PanelBreakerType = "ВА-3";
    p->OwnCurrentA = 12.5;
    p->SparePanelValues = {1.0, 2.0, 3.0};
    q->DemandFactor = 0.7;
    const TSitidFields pBefore = *p;
    const TSitidFields qBefore = *q;
    const std::vector<TFasaGrup3dFields> threeBefore = {*p->ThreePhaseGroups.First};

    editing.SwapPanels(sw, p, q);
    EXPECT_EQ(p->PanelNumber, 13);
    EXPECT_EQ(p->SparePanelValues, (std::array<double, 3>{1.0, 2.0, 3.0}));  // stays
    editing.SwapPanels(sw, p, q);

    EXPECT_TRUE(static_cast<const TSitidFields&>(*p) == pBefore);
    EXPECT_TRUE(static_cast<const TSitidFields&>(*q) == qBefore);
    EXPECT_EQ(GroupNamesOf(*p, 1), (Names{"Гр1", "Гр2"}));
    EXPECT_EQ(GroupNamesOf(*q, 3), (Names{"Гр3"}));
    EXPECT_TRUE(static_cast<const TFasaGrup3dFields&>(*p->ThreePhaseGroups.First) ==
                threeBefore[0]);
    EXPECT_EQ(DescribePanels(1), "10@1 11:head@2 12:11^11@3 13@4");
    EXPECT_EQ(ChainProblems(), "");
}

TEST_F(PanelSwap, AfterSwappingFirstAndLastAWalkMeetsTheFormerLastFirst) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanels(1, "10 11 12");
    int distributions = 0;
    editing.Hooks.DistributeCurrentPanel = [&] { ++distributions; };
    editing.SwapPanels(sw, Panel(10), Panel(12));
    EXPECT_EQ(DescribePanels(1), "12@3 11@2 10@1");
    EXPECT_EQ(lists.groupEntryPanels, (Names{"12", "11", "10"}));
    EXPECT_EQ(distributions, 2);
}

TEST_F(PanelSwap, PanelsOutsideTheSwitchboardAreLeftAlone) {
    TGrsed* sw = AddSwitchboard(1);
    AddSwitchboard(2);
    AddPanels(1, "10");
    AddPanels(2, "20");
    editing.SwapPanels(sw, Panel(10), Panel(20));
    editing.SwapPanels(sw, Panel(10), Panel(10));
    EXPECT_EQ(DescribePanels(1), "10@1");
    EXPECT_EQ(DescribePanels(2), "20@1");
}

}  // namespace
