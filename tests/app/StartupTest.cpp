#include <gtest/gtest.h>

#include <QDialog>
#include <QMainWindow>

#include "AppFixture.h"
#include "app/Mainform.h"
#include "documents/AdjustmentProject.h"
#include "groups/Dan12.h"
#include "platform/ProgramFolder.h"

using StartupTest = AppFixture;

TEST_F(StartupTest, EveryWindowExistsOnceAndTheMainWindowComesFirst) {
    ASSERT_NE(Form1, nullptr);
    ASSERT_NE(Dan1, nullptr);
    ASSERT_NE(AdjustmentProjectForm, nullptr);
    EXPECT_EQ(Form1->windowTitle().toStdString(), "Veltranovaplanir VP.3.2");
    EXPECT_STREQ(Dan1->metaObject()->className(), "TDan1");
    EXPECT_EQ(platform::ProgramFolder(), programDir_.path().toStdString() + "/");
}
