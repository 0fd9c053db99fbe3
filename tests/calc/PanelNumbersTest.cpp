// The panel list of the group-entry window's chooser, from the current switchboard's panels.
#include <gtest/gtest.h>

#include "CalcSupport.h"
#include "calc/PanelNumbers.h"

namespace {

using PanelNumbers = CalcTest;

struct ListCase {
    const char* what;
    const char* panels;
    std::vector<std::string> items;
    int selected;
};

TEST_F(PanelNumbers, ListsThePanelsOfTheCurrentSwitchboard) {
    const std::vector<ListCase> cases = {
        // Panel 5 hangs on panel 2 through a trunk line and is the last: it is chosen.
        {"a trunk panel last", "1 2 5:2^2+trunk", {"1", "2", "2(5)"}, 2},
        {"a plain panel last", "1 5:2^2+trunk 2", {"1", "2(5)", "2"}, -1},
        {"flag C", "3 4:3^3+flagc", {"3", "3(4)"}, 1},
        // A panel fed from a panel but without either flag is listed by its number.
        {"fed from a panel without a flag", "1:head 2:1^1", {"1", "2"}, -1},
        {"no panels", "", {}, -1},
    };
    for (const ListCase& c : cases) {
        NewProject();
        AddSwitchboard(1);
        AddSwitchboard(2);
        AddPanels(1, "90");  // another switchboard's panel is not listed
        AddPanels(2, c.panels);
        ProjectRoot->Switchboards.Cursor = Switchboard(2);
        const PanelNumberList list = ListPanelNumbers(ProjectRoot);
        EXPECT_EQ(list.Items, c.items) << c.what;
        EXPECT_EQ(list.Selected, c.selected) << c.what;
        EXPECT_EQ(Switchboard(2)->Panels.Cursor, Switchboard(2)->Panels.Last) << c.what;
    }
}

TEST_F(PanelNumbers, WithoutACurrentSwitchboardTheListIsEmpty) {
    AddSwitchboard(1);
    AddPanels(1, "1");
    ProjectRoot->Switchboards.Cursor = nullptr;
    EXPECT_TRUE(ListPanelNumbers(ProjectRoot).Items.empty());
    EXPECT_TRUE(ListPanelNumbers(nullptr).Items.empty());
}

}  // namespace
