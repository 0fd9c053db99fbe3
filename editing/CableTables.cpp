#include "editing/CableTables.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "platform/ClientDataSet.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaT.h"
#include "refdb/CableTableLoader.h"
#include "refdb/TableSchemas.h"
#include "refdb/TableWriteBack.h"

namespace fs = std::filesystem;

namespace editing {

namespace {

constexpr char kFourCores[] = "4";

bool IsXmlFile(const fs::directory_entry& entry) {
    std::error_code ec;
    if (!entry.is_regular_file(ec)) return false;
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".xml";
}

// Whether the file is a cable table with rows whose fields name the laying method and four
// cores. Read quietly: a file that is no cable table is simply not one.
bool FitsFeeder(const std::string& path, const std::string& layingMethod) {
    platform::TClientDataSet table;
    table.SetExpectedFields(refdb::CableTableFieldsRead());
    try {
        refdb::OpenTable(table, path);
    } catch (const platform::EDatabaseError&) {
        return false;
    }
    if (table.IsEmpty()) return false;
    const platform::TFieldDefs& defs = table.FieldDefs();
    return defs.IndexOf(layingMethod) >= 0 && defs.IndexOf(kFourCores) >= 0;
}

}  // namespace

std::vector<std::string> FeederTablesFor(const std::string& layingMethod) {
    platform::MakeProgramFolderCurrent();
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(platform::ProgramFolder(), ec))
        if (IsXmlFile(entry)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::vector<std::string> fitting;
    for (const std::string& name : names)
        if (FitsFeeder(platform::ProgramFolder() + name, layingMethod)) fitting.push_back(name);
    return fitting;
}

std::optional<FeederTable> ReadFeederTable(const std::string& tableName) {
    if (!refdb::OpenCableTable(tableName) || BazaT == nullptr) return std::nullopt;
    FeederTable table;
    // The lookups that read the arrays take them in ascending order.
    refdb::CableSections read = refdb::ReadOpenCableSections();
    table.material = std::move(read.material);
    table.sections = std::move(read.sections);
    table.zeroSections = std::move(read.zeroSections);
    table.zeroColumn = read.zeroColumn;
    return table;
}

}  // namespace editing
