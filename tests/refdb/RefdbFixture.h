#pragma once
// The application with the reference windows, plus what their tests share: starting the program
// again on another program folder, choosing in combo boxes as a user does, reading tables back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <functional>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "WindowChecks.h"
#include "platform/ClientDataSet.h"

class RefdbTest : public AppFixture {
protected:
    // Ends the program, lets `prepare` change the program folder, and starts it again (every
    // window created anew, so the reference windows open their tables again).
    void Restart(const std::function<void()>& prepare);
    // Removes every file of the program folder.
    void EmptyProgramFolder();
    // Copies the tables shipped with the program (data/*.xml) into the program folder.
    void AddShippedTables();
    // Names of the files in the program folder.
    std::vector<std::string> ProgramFiles() const;
};

// The cable table loader, as the group-entry window and the other windows call it.
bool OpenCurrentTable(const std::string& tableName);

// A user's choice of an item in a fixed-list combo box (runs its change handler).
void Choose(QComboBox& combo, const std::string& text);

// The values of a field, row by row, in the dataset's present order.
std::vector<double> Floats(platform::TClientDataSet& ds, const std::string& field);

// The table in a file, loaded into a dataset of its own and ordered by `order`.
struct FileTable {
    explicit FileTable(const std::string& path, const std::string& order = "");
    platform::TClientDataSet ds;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Makes writing into the program folder fail while it lives: the folder is made read-only; where
// this process may write anyway (it runs as root), the file `blocked` is moved aside and a folder
// put in its place, so that writing that file fails while other files can still be read.
class WriteBlocker {
public:
    WriteBlocker(const std::string& folder, const std::string& blocked);
    ~WriteBlocker();
    // The reason the dataset gives for the failed write of `blocked`.
    const std::string& Reason() const { return reason_; }

private:
    std::string folder_;
    std::string blocked_;
    std::string reason_;
    bool readOnlyFolder_ = false;
};
