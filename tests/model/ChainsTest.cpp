// The root's appends, counts, searches and where they leave the cursors.
#include <gtest/gtest.h>

#include <memory>

#include "ModelSupport.h"
#include "model/Chains.h"

namespace {

using RootChains = ModelTest;

TEST_F(RootChains, AppendingSwitchboardsKeepsTheFirstCurrent) {
    TGrsed* first = AddSwitchboard(1);
    EXPECT_EQ(ProjectRoot->Switchboards.First, first);
    EXPECT_EQ(ProjectRoot->Switchboards.Last, first);
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, first);

    TGrsed* second = AddSwitchboard(2);
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, first);
    EXPECT_EQ(ProjectRoot->Switchboards.Walker, second);
    EXPECT_EQ(ProjectRoot->Switchboards.Last, second);
    EXPECT_EQ(first->Switchboards.Next, second);
}

TEST_F(RootChains, AddSwitchboardCopiesOnlyTheSwitchboardLevel) {
    TSitid foreignPanel;
    TGrsed record;
    record.SwitchboardNumber = 3;
    record.SwitchboardSections = {10.0, 16.0};
    record.TotalCosPhiA = 0.5;
    record.PanelNumber = 77;              // panel level
    record.GroupName = "Гр";              // scheme level
    record.Panels.First = &foreignPanel;  // chain blocks are never copied
    record.Switchboards.Next = &record;
    ProjectRoot->AddSwitchboard(record);
    ++ProjectRoot->SwitchboardCount;

    const TGrsed* stored = ProjectRoot->Switchboards.First;
    EXPECT_EQ(stored->SwitchboardNumber, 3);
    EXPECT_EQ(stored->SwitchboardSections, (std::vector<double>{10.0, 16.0}));
    EXPECT_EQ(stored->TotalCosPhiA, 1.0);
    EXPECT_EQ(stored->PanelNumber, 0);
    EXPECT_EQ(stored->GroupName, "0");
    EXPECT_EQ(stored->Panels.First, nullptr);
    EXPECT_EQ(stored->Switchboards.Next, nullptr);
}

TEST_F(RootChains, AddPanelToANumberTwoSwitchboardsShareAddsToEach) {
    TGrsed* a = AddSwitchboard(4);
    TGrsed* b = AddSwitchboard(4);
    TSitid record;
    record.PanelNumber = 10;
    ProjectRoot->AddPanel(4, record);

    ASSERT_NE(a->Panels.First, nullptr);
    ASSERT_NE(b->Panels.First, nullptr);
    EXPECT_NE(a->Panels.First, b->Panels.First);
    EXPECT_EQ(a->Panels.First->PanelNumber, 10);
    EXPECT_EQ(b->Panels.Walker, b->Panels.First);
    // Every switchboard examined: none is current afterwards.
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, nullptr);
    EXPECT_EQ(ProjectRoot->Switchboards.Walker, nullptr);
    a->PanelCount = b->PanelCount = 1;
}

TEST_F(RootChains, AddPanelLeavesTheNewPanelAsWalkerAndTheFirstCurrent) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanels(1, "10 11");
    EXPECT_EQ(sw->Panels.Cursor, Panel(10));
    EXPECT_EQ(sw->Panels.Walker, Panel(11));
    EXPECT_EQ(sw->Panels.Last, Panel(11));
}

TEST_F(RootChains, AddPanelToAnUnknownNumberAddsNothing) {
    TGrsed* sw = AddSwitchboard(1);
    TSitid record;
    record.PanelNumber = 10;
    ProjectRoot->AddPanel(2, record);
    EXPECT_EQ(sw->Panels.First, nullptr);
    EXPECT_EQ(ProjectRoot->Switchboards.Cursor, nullptr);
}

TEST_F(RootChains, AddPanelCopiesOnlyThePanelLevel) {
    AddSwitchboard(1);
    TSitid record;
    record.PanelNumber = 10;
    record.FeederSections = {2.5, 4.0};
    record.SparePanelValues = {1.0, 2.0, 3.0};
    record.Power = 5.0L;  // scheme level
    ProjectRoot->AddPanel(1, record);
    record.FeederSections[0] = 99.0;
    Switchboard(1)->PanelCount = 1;

    const TSitid* stored = Panel(10);
    EXPECT_EQ(stored->FeederSections, (std::vector<double>{2.5, 4.0}));
    EXPECT_EQ(stored->SparePanelValues, (std::array<double, 3>{0.0, 0.0, 0.0}));
    EXPECT_EQ(stored->Power, 0.0L);
}

// Each group append copies the level of its own class; inherited fields keep their defaults.
TEST_F(RootChains, GroupAppendsCopyTheirOwnLevelOnly) {
    AddSwitchboard(1);
    AddPanels(1, "10");
    ProjectRoot->ResetCursors();
    const int scan = ProjectRoot->CountPanels();

    TCxemaGrupd scheme;
    scheme.GroupName = "Гр1";
    scheme.SpareValue = 3.0;
    scheme.AllowedSections = {1.5, 2.5};
    ProjectRoot->AddCxemaGroup(10, scan, scheme);

    TFasaGrup1d single;
    single.GroupName1 = "Гр1";
    single.GroupName = "scheme-level";
    single.Power1 = 2.0L;
    ProjectRoot->AddFasaGroup1(10, scan, single);

    TFasaGrup2d two;
    two.GroupName2 = "Гр2";
    two.Power1 = 4.0L;
    two.PartPowers = {1.0L, 2.0L};
    ProjectRoot->AddFasaGroup2(10, scan, two);

    TFasaGrup3d three;
    three.GroupName3 = "Гр3";
    three.CurrentA = 7.0;
    three.PhasePowers = {1.0L, 2.0L, 3.0L};
    ProjectRoot->AddFasaGroup3(10, scan, three);

    const TSitid* p = Panel(10);
    const TCxemaGrupd* s = p->SchemeGroups.First;
    EXPECT_EQ(s->GroupName, "Гр1");
    EXPECT_EQ(s->SpareValue, 0.0);
    EXPECT_EQ(s->AllowedSections, (std::vector<double>{1.5, 2.5}));

    const TFasaGrup1d* s1 = p->SinglePhaseGroups.First;
    EXPECT_EQ(s1->GroupName1, "Гр1");
    EXPECT_EQ(s1->Power1, 2.0L);
    EXPECT_EQ(s1->GroupName, "0");

    TFasaGrup2d* s2 = p->TwoPhaseGroups.First;
    EXPECT_EQ(s2->Power1, 0.0L);
    s2->PartPowers[0] = 9.0L;
    EXPECT_EQ(two.PartPowers[0], 1.0L);

    const TFasaGrup3d* s3 = p->ThreePhaseGroups.First;
    EXPECT_EQ(s3->PhasePowers, (std::vector<long double>{1.0L, 2.0L, 3.0L}));
    EXPECT_EQ(s3->CurrentA, 0.0);
    EXPECT_EQ(s3->ThreePhaseGroups.Next, nullptr);

    Panel(10)->SchemeGroupCount = Panel(10)->SinglePhaseCount = 1;
    Panel(10)->TwoPhaseCount = Panel(10)->ThreePhaseCount = 1;
}

TEST_F(RootChains, AGroupAppendThatScansAllPanelsLeavesNoCurrentPanel) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanels(1, "10 11");
    AddGroupLine(10, "Гр1", 2);
    ProjectRoot->ResetCursors();
    ASSERT_TRUE(ProjectRoot->FindPanel(10));
    TCxemaGrupd record;
    record.GroupName = "Гр2";
    ProjectRoot->AddCxemaGroup(10, ProjectRoot->CountPanels(), record);
    ++Panel(10)->SchemeGroupCount;

    EXPECT_EQ(sw->Panels.Cursor, nullptr);
    EXPECT_EQ(sw->Panels.Walker, Panel(10));
    EXPECT_EQ(ProjectRoot->Switchboards.Walker, sw);
    EXPECT_EQ(Panel(10)->SchemeGroups.Cursor, Panel(10)->SchemeGroups.First);
    EXPECT_EQ(Panel(10)->SchemeGroups.Walker->GroupName, "Гр2");
    EXPECT_EQ(Panel(10)->SchemeGroups.Last->GroupName, "Гр2");
}

TEST_F(RootChains, AGroupAppendWithoutACurrentSwitchboardAddsNothing) {
    AddSwitchboard(1);
    AddPanels(1, "10");
    ProjectRoot->Switchboards.Cursor = nullptr;
    ProjectRoot->AddCxemaGroup(10, 1, TCxemaGrupd{});
    ProjectRoot->AddFasaGroup3(10, 1, TFasaGrup3d{});
    EXPECT_EQ(Panel(10)->SchemeGroups.First, nullptr);
    EXPECT_EQ(Panel(10)->ThreePhaseGroups.First, nullptr);
}

TEST_F(RootChains, ResetCursorsOnAnEmptyProjectLeavesNoSwitchboard) {
    ProjectRoot->ResetCursors();
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), nullptr);
    EXPECT_EQ(ProjectRoot->CountPanels(), 0);
    EXPECT_EQ(ProjectRoot->CxemaGroupCount(), 0);
}

TEST_F(RootChains, ResetCursorsLeavesThePhaseChainCursors) {
    AddSwitchboard(1);
    AddPanels(1, "10");
    AddGroupLine(10, "Гр1", 2);
    AddGroupLine(10, "Гр2", 2);
    TSitid* p = Panel(10);
    p->SinglePhaseGroups.Cursor = p->SinglePhaseGroups.Last;
    p->SchemeGroups.Cursor = nullptr;
    ProjectRoot->Switchboards.Cursor = nullptr;

    ProjectRoot->ResetCursors();
    EXPECT_EQ(ProjectRoot->CurrentPanel(), p);
    EXPECT_EQ(p->SchemeGroups.Cursor, p->SchemeGroups.First);
    EXPECT_EQ(p->SinglePhaseGroups.Cursor, p->SinglePhaseGroups.Last);
}

TEST_F(RootChains, CountPanelsLeavesTheFirstPanelCurrent) {
    TGrsed* empty = AddSwitchboard(1);
    TGrsed* full = AddSwitchboard(2);
    AddPanels(2, "20 21 22");
    MakeCurrent(empty);
    EXPECT_EQ(ProjectRoot->CountPanels(), 0);
    EXPECT_EQ(empty->Panels.Cursor, nullptr);
    MakeCurrent(full, Panel(22));
    EXPECT_EQ(ProjectRoot->CountPanels(), 3);
    EXPECT_EQ(full->Panels.Cursor, Panel(20));
}

TEST_F(RootChains, FindPanelInTheSecondSwitchboard) {
    TGrsed* first = AddSwitchboard(1);
    TGrsed* second = AddSwitchboard(2);
    AddPanels(1, "10 11");
    AddPanels(2, "20 21");
    EXPECT_TRUE(ProjectRoot->FindPanel(21));
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), second);
    EXPECT_EQ(ProjectRoot->CurrentPanel(), Panel(21));
    EXPECT_EQ(first->Panels.Cursor, nullptr);
    EXPECT_EQ(ProjectRoot->Switchboards.Walker, first);
}

TEST_F(RootChains, FindPanelReportsAnAbsentNumber) {
    TGrsed* first = AddSwitchboard(1);
    TGrsed* second = AddSwitchboard(2);
    AddPanels(1, "10");
    AddPanels(2, "20");
    EXPECT_FALSE(ProjectRoot->FindPanel(99));
    EXPECT_EQ(ProjectRoot->CurrentSwitchboard(), nullptr);
    EXPECT_EQ(ProjectRoot->CurrentPanel(), nullptr);
    EXPECT_EQ(first->Panels.Cursor, nullptr);
    EXPECT_EQ(second->Panels.Cursor, nullptr);
    // Callers that need the panel find nothing to work on.
    EXPECT_EQ(ProjectRoot->CountPanels(), 0);
    ProjectRoot->SeekPanelAt(Panel(10));
    EXPECT_EQ(ProjectRoot->CxemaGroupCount(), 0);
}

TEST_F(RootChains, CxemaGroupCountLeavesTheFirstRecordCurrent) {
    AddSwitchboard(1);
    AddPanels(1, "10 11");
    AddGroupLine(10, "Гр1", 2);
    AddGroupLine(10, "Гр2", 3);
    AddGroupLine(10, "Гр3", 4);
    MakeCurrent(Switchboard(1), Panel(10));
    Panel(10)->SchemeGroups.Cursor = nullptr;
    EXPECT_EQ(ProjectRoot->CxemaGroupCount(), 3);
    EXPECT_EQ(Panel(10)->SchemeGroups.Cursor, Panel(10)->SchemeGroups.First);
    MakeCurrent(Switchboard(1), Panel(11));
    EXPECT_EQ(ProjectRoot->CxemaGroupCount(), 0);
}

struct SeekCase {
    int givenPanel;
    int position;  // the given panel's Position before the seek
    int expected;  // number of the current panel afterwards, 0 = none
};

TEST_F(RootChains, SeekPanelAtSelectsThePanelBeforeTheGivenPosition) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanels(1, "10 11 12");  // positions 1, 2, 3
    const std::vector<SeekCase> cases = {
        {12, 3, 11},                // the third panel: the second is current
        {11, 2, 10},  {10, 1, 10},  // the first panel: itself
        {11, 0, 11},                // no position: the given panel stays current
        {11, -4, 11}, {12, 6, 0},   // the chain ends before the walk does
    };
    for (const auto& c : cases) {
        Panel(c.givenPanel)->Position = c.position;
        MakeCurrent(sw, nullptr);
        ProjectRoot->SeekPanelAt(Panel(c.givenPanel));
        const TSitid* current = ProjectRoot->CurrentPanel();
        EXPECT_EQ(current ? current->PanelNumber : 0, c.expected)
            << "panel " << c.givenPanel << " at position " << c.position;
    }
}

}  // namespace

namespace {

// A chain of scheme records "a", "b", "c", "d" whose last is moved to a place: the names in chain
// order afterwards, and its first and last.
TEST(ChainPlaces, TheLastElementMovesToItsPlace) {
    const struct {
        int place;
        const char* order;
    } cases[] = {{0, "dabc"}, {1, "adbc"}, {2, "abdc"}, {3, "abcd"}, {9, "abcd"}, {-1, "abcd"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.place);
        ChainBlock<TCxemaGrupd> owner;
        std::vector<std::unique_ptr<TCxemaGrupd>> records;
        for (const char* name : {"a", "b", "c", "d"}) {
            records.push_back(std::make_unique<TCxemaGrupd>());
            records.back()->GroupName = name;
            chains::AppendWalking(owner, records.back().get(), chains::SchemeLink{});
        }
        EXPECT_EQ(chains::PlaceOf(owner, chains::SchemeLink{}, records[3].get()), 3);
        chains::MoveLastTo(owner, chains::SchemeLink{}, c.place);
        std::string order;
        for (TCxemaGrupd* r = owner.First; r; r = r->SchemeGroups.Next) order += r->GroupName;
        EXPECT_EQ(order, c.order);
        EXPECT_EQ(owner.First->GroupName, std::string(1, c.order[0]));
        EXPECT_EQ(owner.Last->GroupName, std::string(1, c.order[3]));
        EXPECT_EQ(owner.Last->SchemeGroups.Next, nullptr);
    }
}

}  // namespace
