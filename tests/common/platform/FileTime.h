#pragma once
// A file's modification time set as another program or an old copy leaves it, so that a test
// need not wait for a file to grow old.
#include <ctime>
#include <string>

// Sets the modification (and access) time of the file, a link followed; false when that fails.
bool SetFileTime(const std::string& path, std::time_t when);

// A time well before now: a file stamped so was not changed while it is read.
std::time_t LongAgo();
