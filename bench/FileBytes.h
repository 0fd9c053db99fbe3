#pragma once
// Reading a file's bytes into memory, as the project loader does first: the measure that loading
// times are compared with.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

// Reads the whole file once; the number of bytes read.
inline size_t ReadFileBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    ::fstat(fd, &info);
    std::string data(static_cast<size_t>(info.st_size), '\0');
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    benchmark::DoNotOptimize(data.data());
    return done;
}
