// The group passes on result rows laid out by the recalculation itself (not by the fixture):
// each finds the copies of its group, whichever phases the distribution chose.
#include "SelectionFixture.h"

namespace {

class RecalculatedPanelTest : public SelectionTest {};

TEST_F(RecalculatedPanelTest, GroupPassesFindTheDistributedCopies) {
    TGrsed* sw = AddSwitchboard(1);
    AddPanel(sw, 1, kCopperCable, kCopperCableRows, true);
    const auto scheme = [](const std::string& name, int kind, long double power, double length,
                           const std::string& table, const std::string& laying) {
        TCxemaGrupd r;
        r.GroupName = name;
        r.PhaseKind = kind;
        r.Power = power;
        r.LineLength = length;
        r.CableTable = table;
        r.LayingMethod = laying;
        r.AmbientTemperature = 25;
        r.ConductorMaterial = "Медь";
        return r;
    };
    TFasaGrup1d single;
    single.GroupName1 = "S";
    single.Power1 = 4;
    single.LineLength1 = 30;
    TFasaGrup2d two;
    two.GroupName2 = "D";
    two.Power2 = 4.4L;
    two.PartPowers = {2.2L, 2.2L};
    two.LineLength2 = 20;
    TFasaGrup3d three;
    three.GroupName3 = "T";
    three.Power3 = 12;
    three.PhasePowers = {4, 4, 4};
    three.PhaseCosPhi = {0.8, 0.8, 0.8};
    three.CosPhi3 = 0.8;
    three.LineLength3 = 40;

    TCxemaGrupd s = scheme("S", 2, 4, 30, kCopperWire, "Два провода в трубе");
    TCxemaGrupd d = scheme("D", 3, 4.4L, 20, kCopperWire, "Два провода в трубе");
    TCxemaGrupd t = scheme("T", 4, 12, 40, kCopperCable, "В воздухе");
    t.CosPhi = 0.8;
    ProjectRoot->AddCxemaGroup(1, 1, s);
    ProjectRoot->AddCxemaGroup(1, 1, d);
    ProjectRoot->AddCxemaGroup(1, 1, t);
    ProjectRoot->AddFasaGroup1(1, 1, single);
    ProjectRoot->AddFasaGroup2(1, 1, two);
    ProjectRoot->AddFasaGroup3(1, 1, three);
    ASSERT_TRUE(ProjectRoot->FindPanel(1));
    TSitid* panel = ProjectRoot->CurrentPanel();
    panel->SchemeGroupCount = 3;
    panel->SinglePhaseCount = panel->TwoPhaseCount = panel->ThreePhaseCount = 1;
    checks().RecalculateNetwork();
    MakeCurrent(sw, panel);
    checks().SelectLastGroupBreaker();
    EXPECT_EQ(panel->SchemeGroups.Last->BreakerRating, 25);  // 4 kW at 0.8 a phase: 22.79 A

    // Line losses by C; the panel's own totals are 0 here, so the group total is the line's.
    const struct {
        const char* name;
        double section;  // 18.23 A and 10.03 A in 1.5 mm2 wire (19 A); 22.79 A in 2.5 (27 A)
        double loss;     // 4 x 30 / (12.8 x 2.5); 4.4 x 20 / (34 x 1.5); 12 x 40 / (77 x 2.5)
        double current;  // the largest phase current of the group
    } cases[] = {{"S", 2.5, 3.75, 0}, {"D", 1.5, 1.725, 10.03}, {"T", 2.5, 2.494, 22.79}};
    panel->SchemeGroups.First->CrossSection = 2.5;  // S keeps its larger section
    for (const auto& c : cases) {
        MakeCurrent(sw, panel);
        ASSERT_TRUE(checks().CheckGroupCables(c.name)) << c.name;
        TCxemaGrupd* g = panel->SchemeGroups.Cursor;
        ASSERT_EQ(g->GroupName, c.name);
        EXPECT_EQ(g->CrossSection, c.section) << c.name;
        EXPECT_DOUBLE_EQ(checks().GroupVoltageLoss(c.name, g->CrossSection), c.loss) << c.name;
        if (c.current > 0) {
            EXPECT_DOUBLE_EQ(checks().MaxGroupPhaseCurrent(), c.current) << c.name;
        }
    }
}

}  // namespace
