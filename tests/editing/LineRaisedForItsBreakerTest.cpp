// A group line whose breaker would not trip on a fault at its far end is laid at a larger
// section: the first section of its table at which the breaker trips, the line's two conductors
// both at that section.
#include <QTest>
#include <algorithm>

#include "ProjectScript.h"
#include "groups/InsertAvtomat.h"
#include "model/Chains.h"
#include "selection/CheckSupport.h"
#include "selection/SelectionSupport.h"

namespace {

using namespace script;

class LineRaisedForItsBreakerTest : public ProjectScriptTest {
protected:
    // The fault current at the far end of the panel's last line laid at `section`, everything
    // else as the project holds it.
    static double FaultAtLineEnd(TGrsed& sw, TSitid& panel, double section) {
        TCxemaGrupd& line = *panel.SchemeGroups.Last;
        const auto [rows, project] = selection::RowsWithProjectTransformer();
        if (!project) return 0.0;
        ProjectRoot->Switchboards.Cursor = &sw;
        sw.Panels.Cursor = &panel;
        panel.SchemeGroups.Cursor = &line;
        const double stored = line.CrossSection;
        line.CrossSection = section;
        const double current = selection::FaultCurrent(
            selection::FaultPathThrough(sw, sw.SwitchboardSection, &panel,
                                        selection::RadialSection(panel), &line, section),
            rows[*project]);
        line.CrossSection = stored;
        sw.Panels.Cursor = &panel;
        panel.SchemeGroups.Cursor = &line;
        return current;
    }
};

// 7,5 kW at cos 0,8 on 80 m of four-core copper cable behind the breaker ВА47-100 3P C 16 A
// (trip multiplicity 10: 160 A), on panel 2 (60 m) of switchboard 1 (50 m) of a ТМ-40/10. The
// line's current needs 1,5 mm2; at that section a fault at its end draws less than 160 A, so the
// line is raised, and stops at the first section at which the fault current exceeds 160 A.
TEST_F(LineRaisedForItsBreakerTest, StopsAtTheFirstSectionAtWhichTheBreakerTrips) {
    responder_.AnswerEvery("TInsertAvtomat", [](QDialog&) {
        QComboBox& list = *InsertAvtomat->ComboBox1;
        list.setCurrentIndex(std::max(list.findText("ВА47-100 3P C"), 0));
        QTest::mouseClick(InsertAvtomat->Button2, Qt::LeftButton);
        return platform::mrNone;
    });
    const Project project{"ТМ-40/10",
                          {{"1", "50", {Radial("2", "60", "ВВГв4.xml", {})}, "ВВГв4.xml"}},
                          {},
                          {{"2", {"Л1", "4", "7,5", "0,8", "80", "ВВГв4.xml"}}}};
    Connect(project);
    EnterLines(project);
    responder_.VerifyDone();

    TGrsed& sw = *ProjectRoot->Switchboards.First;
    TSitid& panel = *sw.Panels.First;
    ASSERT_EQ(panel.SchemeGroupCount, 1);
    const TCxemaGrupd& line = *panel.SchemeGroups.Last;
    ASSERT_EQ(line.BreakerType, "ВА47-100 3P C");
    ASSERT_EQ(line.BreakerRating, 16);
    const double trip = 160;

    const std::vector<double>& table = line.AllowedSections;
    const auto at = std::find(table.begin(), table.end(), line.CrossSection);
    ASSERT_NE(at, table.end());
    ASSERT_NE(at, table.begin()) << "the line was not raised";
    EXPECT_EQ(table.front(), 1.5);
    EXPECT_GT(line.SinglePhaseFaultCurrent, trip);
    EXPECT_EQ(line.SinglePhaseFaultCurrent, FaultAtLineEnd(sw, panel, line.CrossSection));
    EXPECT_LE(FaultAtLineEnd(sw, panel, *(at - 1)), trip)
        << "the section below, " << *(at - 1) << " mm2, trips the breaker as well";
}

}  // namespace
