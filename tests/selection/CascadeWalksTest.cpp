// Walks over cascades: the feeder section search, one section and one table for a trunk, the
// groups test, cumulative lengths and the list order that keeps each cascade behind its head.
#include "SelectionFixture.h"
#include "TreeLookup.h"
#include "model/Chains.h"
#include "model/TreeEditing.h"
#include "selection/TreeEdits.h"

namespace {

// Switchboard 1: plain panel 1; cascade 2 <- 3 <- 4; cascade 5 <- 6.
class CascadeWalksTest : public SelectionTest {
protected:
    void SetUp() override {
        SelectionTest::SetUp();
        sw = AddSwitchboard(1);
        plain = AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
        head = AddPanel(sw, 2, kCopperCable, kCopperCableRows, true, 0, true);
        m1 = AddPanel(sw, 3, kCopperCable, kCopperCableRows, true, 2, false, 2);
        m2 = AddPanel(sw, 4, kCopperCable, kCopperCableRows, true, 3, false, 2);
        head2 = AddPanel(sw, 5, kCopperCable, kCopperCableRows, true, 0, true);
        n1 = AddPanel(sw, 6, kCopperCable, kCopperCableRows, true, 5, false, 5);
        head->FeederLength = 30;
        m1->FeederLength = 20;
        m2->FeederLength = 10;
    }
    TGrsed* sw = nullptr;
    TSitid *plain = nullptr, *head = nullptr, *m1 = nullptr, *m2 = nullptr, *head2 = nullptr,
           *n1 = nullptr;
};

TEST_F(CascadeWalksTest, FeederSectionSearchPassesMembersWithoutSection) {
    head->FeederSection2 = 6;
    m1->FeederSection2 = 4;
    checks().SeekCascadeFeederSection(m2);
    EXPECT_EQ(sw->Panels.Cursor, m1);
    m1->FeederSection2 = 0;
    checks().SeekCascadeFeederSection(m2);
    EXPECT_EQ(sw->Panels.Cursor, head);
    // A head without members meets only itself.
    checks().SeekCascadeFeederSection(head2);
    EXPECT_EQ(sw->Panels.Cursor, head2);
}

TEST_F(CascadeWalksTest, LargestSectionForTheWholeTrunk) {
    head->FeederSection2 = 10;
    m1->FeederSection2 = 4;
    m2->FeederSection2 = 0;
    checks().CascadeMaxCrossSection(m2);
    EXPECT_EQ(head->FeederSection2, 10);
    EXPECT_EQ(m1->FeederSection2, 10);
    EXPECT_EQ(m2->FeederSection2, 0);  // below the first sized member: kept

    m2->FeederSection2 = 16;
    checks().CascadeMaxCrossSection(m2);
    EXPECT_EQ(head->FeederSection2, 16);
    EXPECT_EQ(m1->FeederSection2, 16);
    EXPECT_EQ(m2->FeederSection2, 16);
    EXPECT_EQ(n1->FeederSection2, 0);  // another cascade
}

TEST_F(CascadeWalksTest, GroupsOfTheOwnCascadeOnly) {
    AddGroup(n1, {"N", 4, 3, 1, 10}, kCopperCableRows);
    EXPECT_TRUE(checks().CascadeHasGroups(head2));
    EXPECT_FALSE(checks().CascadeHasGroups(m1));
    AddGroup(head, {"H", 4, 3, 1, 10}, kCopperCableRows);
    EXPECT_TRUE(checks().CascadeHasGroups(m2));
    EXPECT_FALSE(checks().CascadeHasGroups(nullptr));
}

TEST_F(CascadeWalksTest, TrunkTableOnlyWithOneSectionForTheTrunk) {
    checks().ApplyTrunkTable(m1, "АВВГ", kAluminiumCable);
    EXPECT_EQ(m1->CurrentTableName, kCopperCable);

    m1->CascadeFlag = 1;
    checks().ApplyTrunkTable(m1, "АВВГ", kAluminiumCable);
    // With the name, what each member holds of the table: the sections 4 .. 35 with their zero
    // conductors, and the aluminium.
    for (TSitid* p : {head, m1, m2}) {
        EXPECT_EQ(p->CurrentTableName, kAluminiumCable) << p->PanelNumber;
        EXPECT_EQ(p->FeederCableBrand, "АВВГ") << p->PanelNumber;
        EXPECT_EQ(p->FeederSections, (std::vector<double>{4, 6, 10, 16, 25, 35})) << p->PanelNumber;
        EXPECT_EQ(p->FeederZeroSections, (std::vector<double>{4, 6, 10, 16, 16, 16}))
            << p->PanelNumber;
        EXPECT_EQ(p->FeederSectionCount, 6) << p->PanelNumber;
        EXPECT_EQ(p->ZeroCoreTable, 1) << p->PanelNumber;
        EXPECT_EQ(p->FeederConductorMaterial, "Алюминий") << p->PanelNumber;
    }
    for (TSitid* p : {plain, head2, n1})
        EXPECT_EQ(p->CurrentTableName, kCopperCable) << p->PanelNumber;
}

TEST_F(CascadeWalksTest, CumulativeLengths) {
    EXPECT_EQ(checks().CascadeLength(m1), 60);  // the whole cascade: 30 + 20 + 10
    EXPECT_EQ(m1->CascadeLength, 50);
    EXPECT_EQ(m2->CascadeLength, 60);
    EXPECT_EQ(checks().CascadeLength(head), 30);
    EXPECT_EQ(head->CascadeLength, 30);
    EXPECT_EQ(checks().CascadeLength(plain), 0);
    EXPECT_EQ(checks().CascadeLength(nullptr), 0);
}

// A swap of panels 3 and 4 leaves member 4 in front of its feeder 3 until the cascade is
// reordered: the walks still follow the whole cascade 2 <- 3 <- 4.
TEST_F(CascadeWalksTest, AMemberInFrontOfItsFeeder) {
    selection::TreeEdits().SwapPanels(sw, m1, m2);
    TSitid* three = PanelNumbered(3);
    TSitid* four = PanelNumbered(4);
    ASSERT_EQ(three, m2);  // the nodes keep their places, the panels changed them
    MakeCurrent(sw, four);

    // Lengths 30 + 20 + 10, added from the head down.
    EXPECT_EQ(checks().CascadeLength(four), 60);
    EXPECT_EQ(three->CascadeLength, 50);
    EXPECT_EQ(four->CascadeLength, 60);

    // Up from 4: neither member has a section, the head has.
    head->FeederSection2 = 6;
    checks().SeekCascadeFeederSection(four);
    EXPECT_EQ(sw->Panels.Cursor, head);

    head->CascadeFlag = 1;
    checks().ApplyTrunkTable(head, "АВВГ", kAluminiumCable);
    for (TSitid* p : {head, three, four})
        EXPECT_EQ(p->CurrentTableName, kAluminiumCable) << p->PanelNumber;
    EXPECT_EQ(n1->CurrentTableName, kCopperCable);
}

// The deviation raising steps every feeder of the cascade up to the panel, one table entry each,
// also when a swap has left member 4 in front of its feeder 3.
TEST_F(CascadeWalksTest, CascadeSectionsStepWholeWithAMemberInFrontOfItsFeeder) {
    selection::TreeEdits().SwapPanels(sw, m1, m2);
    TSitid* three = PanelNumbered(3);
    TSitid* four = PanelNumbered(4);
    for (TSitid* p : {head, three, four}) p->FeederSection2 = 4;
    MakeCurrent(sw, four);
    EXPECT_FALSE(checks().StepCascadeSections(four));  // none was at its largest section
    for (TSitid* p : {head, three, four}) EXPECT_EQ(p->FeederSection2, 6) << p->PanelNumber;
    EXPECT_EQ(n1->FeederSection2, 0);
}

// Before any main window installs its tree edits (a calculation run on its own), the walks use
// plain tree edits: the cascade 2 <- 3 <- 4 with member 4 in front of its feeder is put in order.
TEST_F(CascadeWalksTest, ReorderedWithoutTheWindowsTreeEdits) {
    selection::ForgetTreeEdits(&ownEdits_);
    selection::TreeEdits().SwapPanels(sw, m1, m2);
    const std::vector<TSitid*> nodes = chains::Elements(sw->Panels, chains::PanelLink{}, 6);
    MakeCurrent(sw, nodes[0]);

    checks().ReorderCascade(nodes[0]);

    std::vector<int> numbers;
    for (TSitid* p : nodes) numbers.push_back(p->PanelNumber);
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(CascadeWalksTest, EachCascadeContiguousBehindItsHead) {
    // A second switchboard whose list is out of order: member 13, plain 11, member 14, head 12,
    // then head 15 with its member 16. Positions are the order of connection.
    TGrsed* sw2 = AddSwitchboard(2);
    const struct {
        int number, feeding, head, position;
    } panels[] = {{13, 12, 12, 3}, {11, 0, 0, 1},  {14, 13, 12, 4},
                  {12, 0, 12, 2},  {15, 0, 15, 5}, {16, 15, 15, 6}};
    for (const auto& p : panels) {
        TSitid* panel = AddPanel(sw2, p.number, kCopperCable, kCopperCableRows, true, p.feeding,
                                 p.feeding == 0 && p.head != 0, p.head);
        panel->Position = p.position;
    }
    std::vector<TSitid*> nodes = chains::Elements(sw2->Panels, chains::PanelLink{}, 6);
    AddGroup(nodes[0], {"M13", 4, 3, 1, 10}, kCopperCableRows);
    TSitid* given = nodes[1];  // panel 11
    MakeCurrent(sw2, given);

    checks().ReorderCascade(given);

    std::vector<int> numbers;
    for (TSitid* p : nodes) numbers.push_back(p->PanelNumber);
    EXPECT_EQ(numbers, (std::vector<int>{12, 13, 14, 11, 15, 16}));
    ASSERT_NE(sw2->Panels.Cursor, nullptr);
    EXPECT_EQ(sw2->Panels.Cursor->PanelNumber, 11);  // the given panel, where it now stands
    // Panel 13 took its group line along, with the line's result rows.
    ASSERT_NE(nodes[1]->SchemeGroups.First, nullptr);
    EXPECT_EQ(nodes[1]->SchemeGroups.First->GroupName, "M13");
    ASSERT_NE(nodes[1]->ThreePhaseByPhase[0].First, nullptr);
    EXPECT_EQ(nodes[1]->ThreePhaseByPhase[0].First->GroupName3, "M13");
    EXPECT_EQ(nodes[0]->SchemeGroups.First, nullptr);
}

}  // namespace
