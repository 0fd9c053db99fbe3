#pragma once
// A temporary program folder filled from tests/data/program, temporary settings and the scripted
// responder in place of the user: what every test of the program's files and messages needs,
// and the windows that a fixture of a floor above names.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>

#include "ScriptedResponder.h"

class ProgramFolderFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The windows the test runs with, created once the program folder is ready and destroyed
    // before it goes: none here; the fixtures of the floors above create theirs.
    virtual void CreateWindows() {}
    virtual void DestroyWindows() {}

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
