#pragma once
// The memory the benchmark process holds, for the figures of what an operation adds to it.
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

// Resident memory of the process now, in MB.
inline double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0;
    std::int64_t resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The largest resident memory the process has had so far, in MB.
inline double PeakMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

// Starts the peak over from the memory the process holds now (Linux: /proc/self/clear_refs).
inline void RestartPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}
