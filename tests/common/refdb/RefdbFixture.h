#pragma once
// The program folder of ProgramFolderFixture and the three reference windows (breakers, cable
// tables, transformers) created in the program's order, so that their tables are open; no other
// window. Plus what the tests of the tables share: starting the reference windows again on
// another program folder, choosing in combo boxes as a user does, reading tables back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <functional>
#include <string>
#include <vector>

#include "ProgramFolderFixture.h"
#include "WindowChecks.h"
#include "platform/ClientDataSet.h"

class RefdbTest : public ProgramFolderFixture {
protected:
    void CreateWindows() override { CreateReferenceWindows(); }
    void DestroyWindows() override { DestroyReferenceWindows(); }

    // The reference windows as the program creates them at its start, and destroys them.
    static void CreateReferenceWindows();
    static void DestroyReferenceWindows();
    // Destroys the windows, lets `prepare` change the program folder, and creates them again (so
    // that the reference windows open their tables anew, as at the program's next start).
    void Restart(const std::function<void()>& prepare);
    // Removes every file of the program folder.
    void EmptyProgramFolder();
    // Copies the tables shipped with the program (data/*.xml) into the program folder.
    void AddShippedTables();
    // Names of the files in the program folder.
    std::vector<std::string> ProgramFiles() const;
};

// The file names the cable table window lists, in order.
std::vector<std::string> Listed();

// A new cable table's parameters as typed in the cable table window.
struct NewTable {
    std::string name;
    std::string brand;
    std::string method;
    std::string cores;
    std::string kind;
    std::string material;  // "" leaves it unchosen
};

// Fills in the parameters in the cable table window as a user does and presses "Создать".
void Create(const NewTable& t);

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
