#pragma once
// The memory the benchmark process holds, for the figures of what an operation adds to it.
#include <cstdint>
#include <fstream>
#include <unistd.h>

// Resident memory of the process now, in MB.
inline double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0;
    std::int64_t resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}
