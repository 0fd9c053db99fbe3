#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {

int (*FlushToDisk)(int fd) = ::fsync;

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
        case ELOOP:
            return "ссылки на файл образуют петлю";
        default:
            return std::strerror(error);
    }
}

namespace {

namespace fs = std::filesystem;

// The file that a path names: symbolic links followed to the end (the last target need not
// exist yet). Returns 0 or ELOOP.
int FollowLinks(fs::path& path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return 0;
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (error) return 0;  // the write itself reports what is wrong with the path
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return ELOOP;
}

// Flushes the folder so that the rename in it is on disk too. A folder that cannot be opened for
// reading, or a file system that cannot flush folders (EINVAL), is left as it is.
int FlushFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return 0;
    const int error = FlushToDisk(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error == EINVAL ? 0 : error;
}

}  // namespace

unsigned NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

int WriteFileReplacing(const std::string& path, const char* data, std::size_t size) {
    fs::path target(path);
    if (const int error = FollowLinks(target)) return error;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    // The new file gets the permissions of the old one, or the usual ones of a new file. A file
    // that may not be written is not replaced either.
    struct stat info;
    mode_t mode;
    if (::stat(target.c_str(), &info) == 0) {
        mode = info.st_mode & 07777;
        if (!S_ISDIR(info.st_mode)) {
            if ((mode & 0222) == 0) return EACCES;
            if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return errno;
        }
    } else {
        mode = NewFileMode();
    }

    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return errno;
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        return error;
    };
    if (::fchmod(fd, mode) != 0) return fail(errno);
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(errno);
        done += static_cast<std::size_t>(n);
    }
    if (FlushToDisk(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return error;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return error;
    }
    return FlushFolder(folder);
}

}  // namespace platform
