// The cascade walkers of the main window, on the current switchboard.
#include <gtest/gtest.h>

#include "ModelSupport.h"

namespace {

using CascadeWalkers = ModelTest;

std::string Sequences(const TGrsed& sw) {
    std::string out;
    for (const TSitid* p = sw.Panels.First; p; p = p->Panels.Next) {
        if (!out.empty()) out += ' ';
        out += std::to_string(p->PanelNumber) + "=" + std::to_string(p->CascadeSequence) +
               (p->CascadeEnd ? "!" : "");
    }
    return out;
}

struct NumberingCase {
    const char* panels;
    int from;              // the panel the numbering starts at
    int members;           // result
    const char* numbered;  // "panel=sequence", "!" marks the cascade end
    int current;           // current panel afterwards, 0 = none
};

TEST_F(CascadeWalkers, NumberPanelCascade) {
    const std::vector<NumberingCase> cases = {
        {"1:head 2:1^1 3:2^1", 1, 2, "1=1 2=2 3=3!", 3},
        // A member standing before its feeder is missed.
        {"3:2^1 1:head 2:1^1", 1, 1, "3=0 1=1 2=2!", 2},
        // A head without members: nothing marked, no current panel.
        {"1:head 2", 1, 0, "1=1 2=0", 0},
        // Starting at a member: it is numbered 1.
        {"1:head 2:1^1 3:2^1", 2, 2, "1=0 2=1 3=2!", 3},
    };
    for (const auto& c : cases) {
        NewProject();
        TGrsed* sw = AddSwitchboard(1);
        AddPanels(1, c.panels);
        MakeCurrent(sw);
        EXPECT_EQ(editing.NumberPanelCascade(Panel(c.from)), c.members) << c.panels;
        EXPECT_EQ(Sequences(*sw), c.numbered) << c.panels;
        const TSitid* current = ProjectRoot->CurrentPanel();
        EXPECT_EQ(current ? current->PanelNumber : 0, c.current) << c.panels;
    }
}

TEST_F(CascadeWalkers, NumberingClearsTheOldEndMarksOfTheCascade) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanels(1, "1:head 2:1^1 3:2^1 7:head 8:7^7");
    MakeCurrent(sw);
    editing.NumberPanelCascade(Panel(7));
    editing.NumberPanelCascade(Panel(1));
    ASSERT_EQ(Panel(3)->CascadeEnd, 1);
    // A panel connected behind the old end: only the new end is marked.
    AddPanel(1, "4:3^1");
    MakeCurrent(sw);
    EXPECT_EQ(editing.NumberPanelCascade(Panel(1)), 3);
    EXPECT_EQ(Sequences(*sw), "1=1 2=2 3=3 7=1 8=2! 4=4!");
}

TEST_F(CascadeWalkers, NumberingSpreadsTheHeadsCascadeFlag) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanels(1, "1:head 2:1^1 3:2^1 5");
    Panel(1)->CascadeFlag = 1;
    Panel(5)->CascadeFlag = 0;
    MakeCurrent(sw);
    editing.NumberPanelCascade(Panel(1));
    EXPECT_EQ(Panel(2)->CascadeFlag, 1);
    EXPECT_EQ(Panel(3)->CascadeFlag, 1);
    EXPECT_EQ(Panel(5)->CascadeFlag, 0);
    EXPECT_EQ(editing.NumberPanelCascade(nullptr), 0);
}

struct HeadCase {
    const char* panels;
    int given;     // 0 = null
    int before;    // current panel before the call
    int expected;  // current panel afterwards
};

TEST_F(CascadeWalkers, SelectCascadeHead) {
    const std::vector<HeadCase> cases = {
        {"1:head 2:1^1 3:2^1", 3, 2, 1},  // a member: its head
        {"5 1:head 2:1^1", 2, 5, 1},      // found searching backwards from the tail
        {"1:head 2:1^1", 1, 2, 1},        // a head is its own head
        {"4 5 2:9^9", 2, 5, 4},           // head missing: the first panel
        {"4 5 2:1^1", 5, 4, 4},           // a plain panel: nothing changes
        {"4 5 2:1^1", 0, 5, 5},           // null: nothing changes
        // A panel with the head's number that does not head a cascade is not the head.
        {"6 1 2:1^1", 2, 1, 6},
    };
    for (const auto& c : cases) {
        NewProject();
        TGrsed* sw = AddSwitchboard(1);
        AddPanels(1, c.panels);
        MakeCurrent(sw, Panel(c.before));
        editing.SelectCascadeHead(c.given ? Panel(c.given) : nullptr);
        const TSitid* current = ProjectRoot->CurrentPanel();
        EXPECT_EQ(current ? current->PanelNumber : 0, c.expected) << c.panels << " / " << c.given;
    }
}

TEST_F(CascadeWalkers, PrevSwitchboardFlaggedPanelPos) {
    TGrsed* a = AddSwitchboard(1);
    TGrsed* b = AddSwitchboard(2);
    TGrsed* c = AddSwitchboard(3);
    a->SchemeOrder = 0;
    b->SchemeOrder = 1;
    c->SchemeOrder = 2;
    // Switchboard 1: unfed panels 10, 11, 13 (places 0, 1, 2); 12 is fed from 11 and flagged,
    // so it gives the place of 11; 13 flagged last gives 2.
    AddPanels(1, "10 11 12:11^11 13");
    AddPanels(2, "20 21");
    AddPanels(3, "30");
    Panel(12)->OnTrunk = 1;
    EXPECT_EQ(editing.PrevSwitchboardFlaggedPanelPos(1), 1);
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), a);
    Panel(13)->OnTrunk = 1;
    EXPECT_EQ(editing.PrevSwitchboardFlaggedPanelPos(1), 2);

    EXPECT_EQ(editing.PrevSwitchboardFlaggedPanelPos(0), 0);
    EXPECT_EQ(editing.PrevSwitchboardFlaggedPanelPos(2), 0);  // switchboard 2 has no flagged panel
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), b);
    Panel(30)->OnTrunk = 1;
    EXPECT_EQ(editing.PrevSwitchboardFlaggedPanelPos(3), 0);  // the last one is never examined
    EXPECT_EQ(editing.PrevSwitchboardFlaggedPanelPos(9), 0);  // no such order
}

}  // namespace
