#pragma once
// Writing reference tables back to their files when the program folder may be read-only (an
// installed program). A file that cannot be written is reported once, until a write to it succeeds
// again. The rows that could not be written are kept in a private copy for the rest of the
// session, so that the dataset can be closed without losing them and the table can be opened again
// with them; the dataset itself is then as if those rows had been written (closing it again tries
// no write until it is changed again).
#include <exception>
#include <string>

#include "platform/ClientDataSet.h"

namespace refdb {

// Closes the dataset, writing changed rows back to its file. A failed write is reported (once per
// file) and the rows are kept; the dataset ends up closed in every case (should even the private
// copy fail, the rows are lost).
void CloseTable(platform::TClientDataSet& ds);

// Writes the changed rows of an open dataset back to its file and opens it again, with the rows
// as written, or as kept when the write failed (should even the private copy fail, the dataset
// stays open with its rows). Nothing happens when nothing was changed.
void WriteBackTable(platform::TClientDataSet& ds);

// Opens a closed dataset on the file: from the rows kept for it when a write to it failed in this
// session, from the file otherwise. Throws EDatabaseError as loading does.
void OpenTable(platform::TClientDataSet& ds, const std::string& path);

// CloseTable followed by OpenTable; a dataset open on that file, unchanged, and whose file has not
// changed is only put back as opening leaves it, without reading or writing.
void ReopenTable(platform::TClientDataSet& ds, const std::string& path);

// Posts the row being edited or inserted in a reference window (drops it when nothing was typed
// into it). A row that cannot be posted is shown in the standard error box and stays being
// edited; the result is then false.
bool FinishPendingRow(platform::TClientDataSet& ds);

// Rows of that file are kept because they could not be written.
bool HasKeptRows(const std::string& path);

// The table is gone (deleted): its kept rows and its report are forgotten.
void ForgetTable(const std::string& path);

// Tells the user that a table file could not be written, unless that was said already for the
// file; `headline` names what failed, `error` says why.
void ReportWriteFailure(const std::string& path, const std::string& headline,
                        const std::exception& error);

// Opens a breaker or transformer table when its window is created. A missing file is first made
// from the definitions, empty; when it cannot be written the empty table stays open in memory
// (reported once). Then the file, if it exists, is opened and ordered by `order`. Failures are
// shown to the user; the dataset is left closed when the file cannot be read.
void OpenBaseTable(platform::TClientDataSet& ds, const std::string& path,
                   void (*define)(platform::TClientDataSet&), const std::string& order);

// The name of the file without its folder, as messages show it.
std::string ShownTableName(const std::string& path);

}  // namespace refdb
