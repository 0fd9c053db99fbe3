#include "refdb/CableTableLoader.h"

#include "platform/ClientDataSet.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "refdb/BazaT.h"
#include "refdb/TableSchemas.h"
#include "refdb/TableWriteBack.h"

bool CableTableLoader::OpenCurrentTable(const std::string& tableName) {
    return refdb::OpenCableTable(tableName);
}

std::string CableTableBrandOf(const std::string& tableName) {
    if (!refdb::OpenCableTable(tableName)) return std::string();
    return refdb::BrandFieldName(BazaT->ClientDataSet1.FieldDefs());
}

namespace refdb {

bool OpenCableTable(const std::string& tableName) {
    if (BazaT == nullptr) return false;
    platform::KeepProgramFolderCurrent();
    const std::string path = platform::ProgramFolder() + tableName;
    // The table open already, as it was read, from a file unchanged since: opening it again
    // reads and writes nothing.
    if (BazaT->ReopenUnchangedTable(path)) return true;
    if (!platform::TClientDataSet::IsRegularFile(path) && !HasKeptRows(path)) {
        platform::MessageBox("Таблица  " + tableName + "  несуществует в базе данных",
                             "Предупреждение", platform::MsgButtons::Ok,
                             platform::MsgIcon::Warning);
        return false;
    }
    BazaT->CloseCableTable();
    try {
        OpenTable(BazaT->ClientDataSet1, path);
    } catch (const platform::EDatabaseError&) {
        // The dataset is closed and empty; callers that read it find no rows.
        BazaT->CableTableOpened();
        platform::MessageBox("Ошибка E201. В базе данных поврежден файл  " + tableName, "",
                             platform::MsgButtons::Ok, platform::MsgIcon::Warning);
        return false;
    }
    BazaT->CableTableOpened();
    return true;
}

CableSections ReadOpenCableSections() {
    CableSections t;
    if (BazaT == nullptr || !BazaT->ClientDataSet1.Active()) return t;
    platform::TClientDataSet& ds = BazaT->ClientDataSet1;
    ds.SetIndexFieldNames(kCrossSection);
    t.fieldCount = ds.FieldCount();
    const platform::TFieldDefs& defs = ds.FieldDefs();
    if (defs.Count() > 0) t.material = defs[defs.Count() - 1].Name();
    t.zeroColumn = ds.FieldDefs().IndexOf(kZeroCrossSection) >= 0;
    for (ds.First(); !ds.Eof(); ds.Next()) {
        t.sections.push_back(ds.FieldByName(kCrossSection).AsFloat());
        if (t.zeroColumn) t.zeroSections.push_back(ds.FieldByName(kZeroCrossSection).AsFloat());
    }
    return t;
}

}  // namespace refdb
