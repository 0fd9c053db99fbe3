#pragma once
#include <string>

// Opens a cable current table by name into the cable table window's dataset (used through the
// group-entry window). Qt-free apart from its messages.
class CableTableLoader {
public:
    // Makes the table named by its file name (with ".xml", relative to the program folder) the
    // open table of the cable table window's dataset; false when it is not open afterwards.
    bool OpenCurrentTable(const std::string& tableName);
};

// The brand of a cable table: the name of its brand field.
std::string CableTableBrandOf(const std::string& tableName);
