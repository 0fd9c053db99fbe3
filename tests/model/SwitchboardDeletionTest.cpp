// Deleting switchboards: with their panels, wherever they stand, and the chain's tail.
#include <gtest/gtest.h>

#include "LeakCheck.h"
#include "ModelSupport.h"

namespace {

// Records the order in which the edits call the other subsystems.
struct HookLog {
    std::vector<std::string> calls;
    bool vruBreakerFound = true;

    void Attach(TreeEditing& editing) {
        editing.Hooks.RecalculateAfterPanelDeletion = [this] { calls.push_back("panels"); };
        editing.Hooks.RecalculateSwitchboardTotals = [this] { calls.push_back("totals"); };
        editing.Hooks.SelectTransformerBreakerRating = [this] { calls.push_back("rating"); };
        editing.Hooks.SelectTransformerVruBreaker = [this] {
            calls.push_back("vru");
            return vruBreakerFound;
        };
        editing.Hooks.ShowSectionBreakerDialog = [this] { calls.push_back("dialog"); };
    }
};

using SwitchboardDeletion = ModelTest;

TEST_F(SwitchboardDeletion, ASwitchboardGoesWithItsPanels) {
    AddSwitchboard(1, "К1");
    AddSwitchboard(2, "К2");
    AddPanels(1, "10");
    AddPanels(2, "20 21:head 22:21^21");
    AddGroupLine(20, "Гр1", 2, "к20");
    AddGroupLine(22, "Гр2", 4, "к22");
    AddGroupLine(10, "Гр3", 3, "к10");
    ProjectRoot->SectionBreakerType = "ВА-1";
    HookLog log;
    log.Attach(editing);

    editing.DeleteSwitchboardNode(Switchboard(2));

    EXPECT_EQ(DescribeSwitchboards(), "1");
    EXPECT_EQ(ProjectRoot->SwitchboardCount, 1);
    EXPECT_EQ(lists.switchboardCounter, 1);
    EXPECT_EQ(lists.panelCounter, 0);
    EXPECT_EQ(lists.switchboardNumbers, (std::vector<std::string>{"1"}));
    EXPECT_EQ(lists.cableNames, (std::vector<std::string>{"К1", "feeder10", "к10"}));
    EXPECT_EQ(lists.groupEntryPanels, (std::vector<std::string>{"10"}));
    EXPECT_EQ(lists.editFirstList, (std::vector<std::string>{"10"}));
    EXPECT_EQ(lists.groupNames, (std::vector<std::string>{"Гр3"}));
    EXPECT_EQ(lists.editSecondCleared, 0);
    EXPECT_EQ(ProjectRoot->SectionBreakerType, "");
    // The lists and the recalculation once the last panel went: what each panel's would give is
    // overwritten by the next.
    EXPECT_EQ(log.calls, (std::vector<std::string>{"panels", "totals", "rating", "vru", "dialog"}));
    EXPECT_EQ(ChainProblems(), "");
}

TEST_F(SwitchboardDeletion, StepByStepEveryPanelRecalculates) {
    AddSwitchboard(1, "К1");
    AddSwitchboard(2, "К2");
    AddPanels(2, "20 21 22");
    HookLog log;
    log.Attach(editing);
    TreeEditing::SettleSwitchboardDeletionsOnce(false);
    editing.DeleteSwitchboardNode(Switchboard(2));
    TreeEditing::SettleSwitchboardDeletionsOnce(true);
    EXPECT_EQ(DescribeSwitchboards(), "1");
    EXPECT_EQ(log.calls, (std::vector<std::string>{"panels", "panels", "panels", "totals", "rating",
                                                   "vru", "dialog"}));
}

TEST_F(SwitchboardDeletion, WithoutASectionBreakerTheDialogIsNotShown) {
    AddSwitchboard(1);
    AddSwitchboard(2);
    HookLog log;
    log.vruBreakerFound = false;
    log.Attach(editing);
    editing.DeleteSwitchboardNode(Switchboard(1));
    EXPECT_EQ(log.calls, (std::vector<std::string>{"totals", "rating", "vru"}));
}

TEST_F(SwitchboardDeletion, TheOnlySwitchboardResetsTheRoot) {
    AddSwitchboard(1, "К1");
    AddPanels(1, "10 11");
    AddGroupLine(11, "Гр1", 2);
    ProjectRoot->SupplyScPower = 250.0;
    ProjectRoot->TransformerName = "ТМ-630";
    ProjectRoot->SectionBreakerType = "ВА-1";
    ProjectRoot->TransformerBreakerRating = 1000.0;
    ProjectRoot->TotalCurrentA = 12.5;
    HookLog log;
    log.Attach(editing);

    editing.DeleteSwitchboardNode(Switchboard(1));

    const auto& chain = ProjectRoot->Switchboards;
    EXPECT_EQ(chain.First, nullptr);
    EXPECT_EQ(chain.Last, nullptr);
    EXPECT_EQ(chain.Cursor, nullptr);
    EXPECT_EQ(chain.Walker, nullptr);
    EXPECT_EQ(ProjectRoot->SwitchboardCount, 0);
    EXPECT_EQ(lists.switchboardCounter, 0);
    EXPECT_TRUE(lists.switchboardNumbers.empty());
    EXPECT_TRUE(lists.cableNames.empty());
    EXPECT_EQ(lists.editSecondCleared, 1);
    // A fresh project that keeps the transformer and the supply short-circuit power.
    EXPECT_EQ(ProjectRoot->SupplyScPower, 250.0);
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-630");
    EXPECT_EQ(ProjectRoot->SectionBreakerType, "");
    EXPECT_EQ(ProjectRoot->TransformerBreakerRating, 0.0);
    EXPECT_EQ(ProjectRoot->TotalCurrentA, 0.0);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"panels", "totals"}));
}

struct PlaceCase {
    int deleted;
    const char* remaining;
};

TEST_F(SwitchboardDeletion, FirstMiddleOrLastOfThree) {
    const std::vector<PlaceCase> cases = {{1, "2 3"}, {2, "1 3"}, {3, "1 2"}};
    for (const auto& c : cases) {
        NewProject();
        for (int n : {1, 2, 3}) {
            AddSwitchboard(n);
            AddPanel(n, std::to_string(n * 10));
        }
        editing.DeleteSwitchboardNode(Switchboard(c.deleted));
        EXPECT_EQ(DescribeSwitchboards(), c.remaining) << c.deleted;
        EXPECT_EQ(ChainProblems(), "") << c.deleted;
        std::vector<std::string> numbers;
        for (TGrsed* sw = ProjectRoot->Switchboards.First; sw; sw = sw->Switchboards.Next)
            numbers.push_back(std::to_string(sw->SwitchboardNumber));
        EXPECT_EQ(lists.switchboardNumbers, numbers) << c.deleted;
        EXPECT_EQ(Panel(c.deleted * 10), nullptr);
        EXPECT_EQ(lists.editSecondCleared, 0);
    }
}

TEST_F(SwitchboardDeletion, ASwitchboardOutsideTheChainIsLeftAlone) {
    AddSwitchboard(1);
    TGrsed stray;
    editing.DeleteSwitchboardNode(&stray);
    editing.DeleteSwitchboardNode(nullptr);
    EXPECT_EQ(DescribeSwitchboards(), "1");
}

TEST_F(SwitchboardDeletion, PanelsBeyondTheStoredCountGoWithTheSwitchboard) {
    AddSwitchboard(1);
    AddPanels(1, "10 11 12");
    AddGroupLine(12, "Гр1", 4);
    Switchboard(1)->PanelCount = 1;  // a damaged count
    editing.DeleteSwitchboardNode(Switchboard(1));
    EXPECT_EQ(ProjectRoot->Switchboards.First, nullptr);
    ExpectNoLeaks();  // the panels beyond the count are freed with it
}

TEST_F(SwitchboardDeletion, RemoveLastSwitchboard) {
    AddSwitchboard(1);
    editing.RemoveLastSwitchboard();
    EXPECT_EQ(ProjectRoot->Switchboards.First, nullptr);
    EXPECT_EQ(ProjectRoot->Switchboards.Last, nullptr);
    EXPECT_EQ(ProjectRoot->SwitchboardCount, 0);
    EXPECT_EQ(lists.switchboardCounter, 0);

    AddSwitchboard(1);
    AddSwitchboard(2);
    AddSwitchboard(3);
    lists.panelCounter = 4;
    editing.RemoveLastSwitchboard();
    EXPECT_EQ(DescribeSwitchboards(), "1 2");
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, nullptr);
    EXPECT_EQ(lists.switchboardNumbers, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(lists.switchboardCounter, 2);
    EXPECT_EQ(lists.panelCounter, 0);
    EXPECT_EQ(ChainProblems(), "");

    ProjectRoot->SwitchboardCount = 0;
    editing.RemoveLastSwitchboard();
    editing.RemoveLastSwitchboard();
    editing.RemoveLastSwitchboard();  // an empty chain: nothing to do
    EXPECT_EQ(ProjectRoot->Switchboards.First, nullptr);
}

}  // namespace
