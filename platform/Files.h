#pragma once
// File writing that never destroys what was there before, file reading piece by piece, and the
// Russian names of system errors for the messages that report a failed read or write.
#include <cstddef>
#include <string>

namespace platform {

// A short Russian description of a system error number (errno), for messages to the user.
std::string SystemErrorText(int error);

// Writes the bytes to a temporary file beside the target, flushes it to disk, renames it over the
// target and flushes the folder, so that the new file survives a crash. The target keeps its
// permissions (a new file gets the usual ones). A symbolic link stays a link: the file it points
// to is the one replaced. A file whose mode grants no write permission is refused with EACCES,
// as a write in place would be, also for root. Returns 0, or the errno of the step that failed;
// then no temporary file stays and, unless only the final flush of the folder failed, the old
// file is left as it was.
int WriteFileReplacing(const std::string& path, const char* data, std::size_t size);

// The same written piece by piece: a file whose bytes need not all be in memory at once. Nothing
// is touched before Open; the temporary file goes when the object goes without a Commit that
// succeeded, so the old file survives a write given up half way. Each step returns 0 or errno.
class ReplacingFile {
public:
    explicit ReplacingFile(std::string path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // The permission checks and the temporary file beside the target.
    int Open();
    bool IsOpen() const { return fd_ >= 0; }
    int Write(const char* data, std::size_t size);
    // Flush, close, rename over the target, flush the folder.
    int Commit();

private:
    void Discard();

    std::string path_;
    std::string target_;
    std::string folder_;
    std::string temp_;
    int fd_ = -1;
};

// A regular file opened for reading piece by piece, with the size it had when it was opened: for
// files read through a buffer of bounded size rather than whole.
class ReadingFile {
public:
    ReadingFile() = default;
    ~ReadingFile();
    ReadingFile(const ReadingFile&) = delete;
    ReadingFile& operator=(const ReadingFile&) = delete;

    // False for a file that cannot be opened or is not a regular file (a folder, a device).
    bool Open(const std::string& path);
    std::size_t Size() const { return size_; }
    // Reads up to `size` bytes from `offset`, fewer only where the file ends. The count read, or
    // -1 (errno set).
    long long ReadAt(std::size_t offset, char* data, std::size_t size) const;

private:
    int fd_ = -1;
    std::size_t size_ = 0;
};

// The usual permissions of a new file: 0666 less the process's umask.
unsigned NewFileMode();

// The flush to disk (fsync) of the writer's file and folder; tests put an observer in its place.
extern int (*FlushToDisk)(int fd);

}  // namespace platform
