// The two mode selectors of "Щиты" ("Соединение" of each box): a click on the one chosen keeps
// it chosen, so the checks of that mode still run.
#include <gtest/gtest.h>

#include "ConnectionFixture.h"
#include "editing/Shiti12.h"

namespace {

using ModeSelectors = ConnectionTest;

TEST_F(ModeSelectors, AClickOnTheChosenModeKeepsIt) {
    NewProject([this] {
        ConnectSwitchboard({"1", "50", "В воздухе", "ВВГв4.xml", "15", "КГ1"});
        ASSERT_TRUE(Shiti->RadioButton1->isChecked());
        Click(Shiti->RadioButton1);
        EXPECT_TRUE(Shiti->RadioButton1->isChecked());
        EXPECT_FALSE(Shiti->RadioButton2->isChecked());
        EXPECT_TRUE(Shiti->Button2->isEnabled());
        // The cable name checks belong to the switchboard mode: a name taken is refused.
        responder_.ExpectMessage(
            "Название кабеля или провода с таким именим существует. Измените название.", "",
            platform::mrOk);
        ConnectSwitchboard({"2", "50", "В воздухе", "ВВГв4.xml", "15", "КГ1"});
        EXPECT_EQ(LastMessage().icon, platform::MsgIcon::None);
        EXPECT_EQ(ProjectRoot->SwitchboardCount, 1);

        Click(Shiti->RadioButton2);
        Click(Shiti->RadioButton2);
        EXPECT_TRUE(Shiti->RadioButton2->isChecked());
        EXPECT_FALSE(Shiti->RadioButton1->isChecked());
        EXPECT_TRUE(Shiti->ComboBox2->isEnabled());
        EXPECT_TRUE(Shiti->Button4->isEnabled());
        EXPECT_FALSE(Shiti->Button2->isEnabled());
    });
}

}  // namespace
