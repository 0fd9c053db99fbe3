#pragma once
#include <string>
#include <vector>

// Opens a cable current table by name into the cable table window's dataset (used through the
// group-entry window). Qt-free apart from its messages.
class CableTableLoader {
public:
    // Makes the table named by its file name (with ".xml", relative to the program folder) the
    // open table of the cable table window's dataset; false when it is not open afterwards.
    bool OpenCurrentTable(const std::string& tableName);
};

// The brand of a cable table: the name of its brand field; "" when the table cannot be opened.
std::string CableTableBrandOf(const std::string& tableName);

namespace refdb {

// What OpenCurrentTable does, for callers that have no group-entry window at hand.
//
// A missing file is reported and leaves the open table as it was. Otherwise the open table is
// closed (the changes made to it in the cable table window are written back; changes made by
// other code, such as temperature-scaled currents, are dropped) and the named one is opened. A
// table that cannot be read, or lacks the numbers read from it ("Сечение", "Длительный ток"), is
// reported as damaged and leaves the dataset closed and empty; the program goes on.
bool OpenCableTable(const std::string& tableName);

// The rows of the open cable table in ascending order of "Сечение" (the dataset is left ordered
// so): each cross-section and, where the table has the field "Сечение 0 жилы", the zero
// conductor's section beside it; the conductor material, the name of its last field. Nothing
// from a closed table.
struct CableSections {
    std::vector<double> sections;
    std::vector<double> zeroSections;
    bool zeroColumn = false;
    int fieldCount = 0;
    std::string material;
};
CableSections ReadOpenCableSections();

}  // namespace refdb
