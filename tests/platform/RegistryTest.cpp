#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/Registry.h"

using platform::TRegistry;

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetSettingsFile(dir_.filePath("settings.ini").toStdString());
    }
    void TearDown() override { platform::SetSettingsFile(""); }
    QTemporaryDir dir_;
};

TEST_F(RegistryTest, KeysOpenOnlyWhenPresentOrCreated) {
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\StartVeltranovaplanir\\Start1", false));
    ASSERT_TRUE(reg.OpenKey("Software\\StartVeltranovaplanir\\Start1", true));
    EXPECT_FALSE(reg.ReadBool("FirstStart"));  // missing value reads false
    reg.WriteBool("FirstStart", true);
    reg.CloseKey();

    // An empty key persists, and a fresh registry object sees what the first one wrote.
    ASSERT_TRUE(reg.OpenKey("Software\\Veltranovaplanir\\Files1", true));
    reg.CloseKey();
    TRegistry again;
    EXPECT_TRUE(again.KeyExists("Software\\Veltranovaplanir\\Files1"));
    ASSERT_TRUE(again.OpenKey("Software/StartVeltranovaplanir/Start1", false));
    EXPECT_TRUE(again.ReadBool("FirstStart"));
}

TEST_F(RegistryTest, ValueNamesComeInNumericOrderAndDeleteKeyRemovesEverything) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Veltranovaplanir\\Files1", true));
    for (int i : {10, 2, 0, 1})
        reg.WriteString(std::to_string(i), "/p/Проект " + std::to_string(i) + ".VPQ");
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"0", "1", "2", "10"}));
    EXPECT_EQ(reg.ReadString("10"), "/p/Проект 10.VPQ");
    EXPECT_EQ(reg.ReadString("7"), "");
    EXPECT_TRUE(reg.DeleteValue("2"));
    EXPECT_FALSE(reg.ValueExists("2"));
    reg.CloseKey();

    ASSERT_TRUE(reg.OpenKey("Software\\Veltranovaplanir", false));
    reg.WriteString("Other", "x");
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey("Software\\Veltranovaplanir"));
    EXPECT_FALSE(reg.KeyExists("Software\\Veltranovaplanir\\Files1"));
    EXPECT_FALSE(reg.KeyExists("Software\\Veltranovaplanir"));
    ASSERT_TRUE(reg.OpenKey("Software\\Veltranovaplanir\\Files1", true));
    EXPECT_TRUE(reg.GetValueNames().empty());
}
