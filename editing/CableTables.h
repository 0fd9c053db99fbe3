#pragma once
// The cable current tables that a feeder of a main switchboard or of a panel can be laid with,
// and what the feeder takes from the table it is laid with. A cable table keeps its parameters
// as the names of its fields: one named after its laying method, one after its core count.
#include <optional>
#include <string>
#include <vector>

namespace editing {

// The four-core tables of the program folder for this laying method that hold rows, as file
// names in name order. Every "*.xml" file of the folder is looked at; what is not a readable
// cable table (the breaker and transformer bases, a damaged file) is passed over without a
// message.
std::vector<std::string> FeederTablesFor(const std::string& layingMethod);

// What a feeder keeps of its table: the conductor material (the name of the table's last
// field), the cross-sections in ascending order of "Сечение" and, for a table with the field
// "Сечение 0 жилы", the zero conductor's section beside each.
struct FeederTable {
    std::string material;
    std::vector<double> sections;
    std::vector<double> zeroSections;
    bool zeroColumn = false;
};

// Opens the named table as the cable table window's open table, ordered by "Сечение", and reads
// it. Nothing when it could not be opened (the loader has said why).
std::optional<FeederTable> ReadFeederTable(const std::string& tableName);

}  // namespace editing
