#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "platform/ProgramFolder.h"

TEST(ProgramFolder, EndsWithSeparatorAndCanBeRedirected) {
    EXPECT_EQ(platform::ProgramFolder().back(), '/');
    QTemporaryDir dir;
    platform::SetProgramFolder(dir.path().toStdString());
    EXPECT_EQ(platform::ProgramFolder(), dir.path().toStdString() + "/");
    ASSERT_TRUE(platform::MakeProgramFolderCurrent());
    EXPECT_EQ(QDir::currentPath(), QDir(dir.path()).canonicalPath());
    platform::SetProgramFolder("");
    EXPECT_EQ(platform::ProgramFolder(),
              QCoreApplication::applicationDirPath().toStdString() + "/");
}
