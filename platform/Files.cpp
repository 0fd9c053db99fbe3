#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace platform {

std::string SystemErrorText(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "нет доступа";
        case EROFS:
            return "диск доступен только для чтения";
        case ENOSPC:
            return "нет места на диске";
        case ENOENT:
            return "папка не существует";
        case ENOTDIR:
            return "путь не является папкой";
        case EISDIR:
            return "на месте файла находится папка";
        case EFBIG:
            return "файл слишком велик";
        default:
            return std::strerror(error);
    }
}

int WriteFileReplacing(const std::string& path, const char* data, std::size_t size) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return errno;
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        return error;
    };
    // The new file gets the permissions of the old one, or the usual ones of a new file.
    struct stat info;
    mode_t mode;
    if (::stat(path.c_str(), &info) == 0) {
        mode = info.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) return fail(errno);
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(errno);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return error;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return error;
    }
    return 0;
}

}  // namespace platform
