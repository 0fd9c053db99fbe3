// A line refused after "Применить" raised the transformer for its load leaves the project on the
// transformer it had.
#include <QTest>

#include "GroupsFixture.h"
#include "app/Mainform.h"
#include "editing/EditDialog.h"
#include "groups/Dan12.h"
#include "app/PowerSystem.h"

namespace {

class RefusedLineSupply : public GroupDialogTest {
protected:
    void SetUp() override {
        GroupDialogTest::SetUp();
        WriteTransformerBase({{"ТМ-10/10", 10, 0, 0}, {"ТМ-400/10", 400, 0, 0}});
        ProjectRoot->TransformerName = "ТМ-10/10";
        AddFirstLine();
        TakeTheFirstSeriesEveryTime();
    }
};

TEST_F(RefusedLineSupply, AnEditOfTwelveKilowattsOnTheLongestLine) {
    ASSERT_EQ(ProjectRoot->TransformerName, "ТМ-10/10");
    const std::string before = ProjectBytes();
    OpenGroupEditor("Гр0");
    // 12 kW need more than the 10 kVA transformer; 999 m cannot hold the voltage.
    Type(*Dan1->Edit2, "12");
    Type(*Dan1->Edit4, "999");
    responder_.ExpectMessage("Падение напряжения на потребителе более 10 %,редактирование отменяется",
                             platform::mrOk);
    Click(*Dan1->cancel);
    responder_.VerifyDone();
    EXPECT_EQ(ProjectRoot->TransformerName, "ТМ-10/10");
    EXPECT_TRUE(ProjectBytes() == before);
}

}  // namespace
