#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

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

ReplacingFile::ReplacingFile(std::string path) : path_(std::move(path)) {}

ReplacingFile::~ReplacingFile() {
    Discard();
}

void ReplacingFile::Discard() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(temp_.c_str());
    fd_ = -1;
}

int ReplacingFile::Open() {
    if (fd_ >= 0) return 0;
    fs::path target(path_);
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
    target_ = target.string();
    folder_ = folder.string();
    temp_ = temp;
    fd_ = fd;
    if (::fchmod(fd_, mode) != 0) {
        const int error = errno;
        Discard();
        return error;
    }
    return 0;
}

int ReplacingFile::Write(const char* data, std::size_t size) {
    if (fd_ < 0) return EBADF;
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd_, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            Discard();
            return error;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int ReplacingFile::Commit() {
    if (fd_ < 0) return EBADF;
    if (FlushToDisk(fd_) != 0) {
        const int error = errno;
        Discard();
        return error;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        return error;
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        return error;
    }
    return FlushFolder(folder_);
}

ReadingFile::~ReadingFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool ReadingFile::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    size_ = static_cast<std::size_t>(info.st_size);
    return true;
}

long long ReadingFile::ReadAt(std::size_t offset, char* data, std::size_t size) const {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd_, data + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<long long>(done);
}

int WriteFileReplacing(const std::string& path, const char* data, std::size_t size) {
    ReplacingFile file(path);
    if (const int error = file.Open()) return error;
    if (const int error = file.Write(data, size)) return error;
    return file.Commit();
}

}  // namespace platform
