#include "FileTime.h"

#include <fcntl.h>
#include <sys/stat.h>

bool SetFileTime(const std::string& path, std::time_t when) {
    const timespec times[2] = {{when, 0}, {when, 0}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

std::time_t LongAgo() {
    return std::time(nullptr) - 24 * 60 * 60;
}
