// The brand of a cable table for the project records: the model declares it, the cable table
// loader answers it, so that the model itself depends on no reference table or window.
#include "model/Classd.h"
#include "refdb/CableTableLoader.h"

std::string TGrsed::CableTableBrand(const std::string& tableName) {
    return CableTableBrandOf(tableName);
}
