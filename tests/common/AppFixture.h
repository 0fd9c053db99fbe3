#pragma once
// The application as every window test sees it: all windows created in start-up order, a
// temporary program folder filled from tests/data/program, temporary settings and the scripted
// responder in place of the user.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>

#include "ScriptedResponder.h"

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Path of a file in the temporary program folder.
    std::string ProgramFile(const std::string& name) const;
    // Copies a file from tests/data into the program folder under `name`.
    void AddProgramFile(const std::string& testDataPath, const std::string& name);

    QTemporaryDir programDir_;
    QTemporaryDir settingsDir_;
    ScriptedResponder responder_;
};

// Copies every file below `from` into `to` (folders included).
void CopyFolder(const std::string& from, const std::string& to);
// The bytes of a file ("" when it cannot be read).
std::string FileBytes(const std::string& path);
// The file the open project would be written as (the group counters and the stamp as the windows
// hold them).
std::string ProjectBytes();
