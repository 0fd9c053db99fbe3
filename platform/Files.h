#pragma once
// File writing that never destroys what was there before, and the Russian names of system errors
// for the messages that report a failed read or write.
#include <cstddef>
#include <string>

namespace platform {

// A short Russian description of a system error number (errno), for messages to the user.
std::string SystemErrorText(int error);

// Writes the bytes to a temporary file beside the target, flushes it to disk and renames it over
// the target, which keeps its permissions (a new file gets the usual ones). Returns 0, or the
// errno of the step that failed; then the old file is left as it was and no temporary file stays.
int WriteFileReplacing(const std::string& path, const char* data, std::size_t size);

}  // namespace platform
