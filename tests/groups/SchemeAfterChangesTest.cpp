// The general scheme on the scheme window after a group change: "закрыть" after an entry and a
// refused entry each leave a picture that shows every group line of the tree once, with the
// figures the tree holds.
#include "GroupsFixture.h"
#include "groups/Dan12.h"
#include "platform/Canvas.h"

using platform::mrOk;

class SchemeAfterChangesTest : public GroupDialogTest {
protected:
    platform::CanvasRecordingScope recording_;
};

// "Гр0": 2.2 kW on one phase, 2200 / 219.393 = 10.03 A; "Гр1": 6 kW on four conductors at cos
// 0.9, 6000 / (sqrt 3 x 380 x 0.9) = 10.13 A a phase. After each "закрыть" the scheme shows the
// lines there are; a refused line is not drawn.
TEST_F(SchemeAfterChangesTest, ClosingAfterEntriesDrawsEveryLineOfTheTree) {
    AddFirstLine();
    ExpectSchemeOfTheTree("one line");
    EXPECT_TRUE(SchemeShows("Pном- 2,2 кВт"));
    EXPECT_TRUE(SchemeShows("Imax- 10,03 A"));

    Entry second;
    second.name = "Гр1";
    second.cable = "К1";
    second.conductors = "4";
    second.table = kCable4;
    second.power = "6";
    second.cosPhi = "0,9";
    AddLine(second);
    ExpectSchemeOfTheTree("two lines");
    EXPECT_TRUE(SchemeShows("Гр- Гр1"));
    EXPECT_TRUE(SchemeShows("Imax- 10,13 A"));

    // 21.95 kW on one phase draws 100.05 A, beyond the wire table's 100 A: taken back and
    // refreshed, the scheme keeps the two lines.
    OpenGroupWindow();
    Entry refused;
    refused.name = "Гр9";
    refused.cable = "К9";
    refused.power = "21,95";
    Fill(refused);
    responder_.ExpectMessage("Для данной мощности, в таблице нет данных.", "Предупреждение.", mrOk);
    Apply();
    responder_.VerifyDone();
    ExpectSchemeOfTheTree("a refused line");
    EXPECT_FALSE(SchemeShows("Гр- Гр9"));
}
