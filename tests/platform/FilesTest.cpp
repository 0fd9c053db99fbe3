// The safe file writer: symbolic links keep pointing at the file they name, a file without write
// permission is refused, and the new file and its folder are flushed in the right order.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

int Write(const fs::path& path, const std::string& data) {
    return platform::WriteFileReplacing(path.string(), data.data(), data.size());
}

fs::perms Mode(const fs::path& path) {
    return fs::status(path).permissions() & fs::perms::all;
}

constexpr fs::perms kReadOnly =
    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
constexpr fs::perms kOwnerReadWrite = fs::perms::owner_read | fs::perms::owner_write;

// Two folders: "files" holds the real files, "links" the links to them.
class FileWriter : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "filesXXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        files_ = root_ / "files";
        links_ = root_ / "links";
        fs::create_directory(files_);
        fs::create_directory(links_);
    }
    void TearDown() override {
        platform::FlushToDisk = ::fsync;
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    fs::path root_, files_, links_;
};

// ---------------------------------------------------------------------------------------------
// Symbolic links

struct LinkCase {
    const char* what;
    // Makes links/Проект.VPQ lead to files/Проект.VPQ (which holds "old" unless it is missing).
    std::function<void(const fs::path& files, const fs::path& links)> make;
    std::vector<std::string> links;  // what stays in the links folder
};

void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << c.what;
}

class FileWriterLinks : public FileWriter, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(FileWriterLinks, TheFileTheLinkNamesIsReplacedAndTheLinkStays) {
    const LinkCase& c = GetParam();
    const fs::path target = files_ / "Проект.VPQ", link = links_ / "Проект.VPQ";
    c.make(files_, links_);
    const bool existed = fs::exists(target);
    if (existed) fs::permissions(target, kOwnerReadWrite);
    const std::string linkText = fs::read_symlink(link).string();

    ASSERT_EQ(Write(link, "new"), 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link).string(), linkText);
    EXPECT_EQ(ReadFile(link), "new");
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(ReadFile(target), "new");
    if (existed) {
        EXPECT_EQ(Mode(target), kOwnerReadWrite);
    }
    // The temporary file was made beside the target, and none stays anywhere.
    EXPECT_EQ(Names(files_), std::vector<std::string>{"Проект.VPQ"});
    EXPECT_EQ(Names(links_), c.links);
}

INSTANTIATE_TEST_SUITE_P(
    Links, FileWriterLinks,
    ::testing::Values(LinkCase{"absolute link",
                               [](const fs::path& files, const fs::path& links) {
                                   WriteFile(files / "Проект.VPQ", "old");
                                   fs::create_symlink(files / "Проект.VPQ", links / "Проект.VPQ");
                               },
                               {"Проект.VPQ"}},
                      LinkCase{"relative link",
                               [](const fs::path& files, const fs::path& links) {
                                   WriteFile(files / "Проект.VPQ", "old");
                                   fs::create_symlink("../files/Проект.VPQ", links / "Проект.VPQ");
                               },
                               {"Проект.VPQ"}},
                      LinkCase{"link to a link",
                               [](const fs::path& files, const fs::path& links) {
                                   WriteFile(files / "Проект.VPQ", "old");
                                   fs::create_symlink("../files/Проект.VPQ", links / "Средняя.VPQ");
                                   fs::create_symlink("Средняя.VPQ", links / "Проект.VPQ");
                               },
                               {"Проект.VPQ", "Средняя.VPQ"}},
                      LinkCase{"link to a file not yet there",
                               [](const fs::path& files, const fs::path& links) {
                                   fs::create_symlink(files / "Проект.VPQ", links / "Проект.VPQ");
                               },
                               {"Проект.VPQ"}}));

TEST_F(FileWriter, LinksInALoopAreRefused) {
    fs::create_symlink("Б.VPQ", links_ / "А.VPQ");
    fs::create_symlink("А.VPQ", links_ / "Б.VPQ");
    EXPECT_EQ(Write(links_ / "А.VPQ", "new"), ELOOP);
    EXPECT_EQ(platform::SystemErrorText(ELOOP), "ссылки на файл образуют петлю");
    EXPECT_EQ(Names(links_), (std::vector<std::string>{"А.VPQ", "Б.VPQ"}));
}

// ---------------------------------------------------------------------------------------------
// Permissions: a file whose mode lets nobody write it is refused, whoever runs the program (root
// could write it in place, so the mode itself decides).

struct ModeCase {
    const char* what;
    fs::perms mode;
    bool throughLink;
    int error;  // 0: written
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.what;
}

class FileWriterModes : public FileWriter, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(FileWriterModes, FileIsReplacedOnlyWhenItMayBeWritten) {
    const ModeCase& c = GetParam();
    const fs::path target = files_ / "Проект.VPQ";
    WriteFile(target, "old");
    fs::permissions(target, c.mode);
    fs::path named = target;
    if (c.throughLink) {
        named = links_ / "Проект.VPQ";
        fs::create_symlink(target, named);
    }

    EXPECT_EQ(Write(named, "new"), c.error);
    fs::permissions(target, fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(ReadFile(target), c.error ? "old" : "new");
    EXPECT_EQ(Mode(target), c.mode | fs::perms::owner_read);
    EXPECT_EQ(Names(files_), std::vector<std::string>{"Проект.VPQ"});
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FileWriterModes,
    ::testing::Values(ModeCase{"read-only file", kReadOnly, false, EACCES},
                      ModeCase{"read-only file behind a link", kReadOnly, true, EACCES},
                      ModeCase{"no permission at all", fs::perms::none, false, EACCES},
                      ModeCase{"owner may write", kOwnerReadWrite, false, 0},
                      ModeCase{"owner may only write", fs::perms::owner_write, false, 0}));

// ---------------------------------------------------------------------------------------------
// Flushing: the new file before it replaces the old one, then the folder that holds the rename.

struct Flush {
    bool folder;
    ino_t inode;
    std::string target;  // what the target held at that moment
};

std::vector<Flush> flushes;
fs::path flushedTarget;

int ObserveFlush(int fd) {
    struct stat info;
    if (::fstat(fd, &info) != 0) return -1;
    flushes.push_back({S_ISDIR(info.st_mode), info.st_ino, ReadFile(flushedTarget)});
    return ::fsync(fd);
}

ino_t Inode(const fs::path& path) {
    struct stat info;
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_ino;
}

TEST_F(FileWriter, NewFileIsFlushedBeforeTheRenameAndItsFolderAfter) {
    const fs::path target = files_ / "Проект.VPQ", link = links_ / "Проект.VPQ";
    WriteFile(target, "old");
    fs::create_symlink(target, link);
    flushes.clear();
    flushedTarget = target;
    platform::FlushToDisk = ObserveFlush;

    ASSERT_EQ(Write(link, "new"), 0);
    ASSERT_EQ(flushes.size(), 2u);
    EXPECT_FALSE(flushes[0].folder);
    EXPECT_EQ(flushes[0].inode, Inode(target));  // the temporary file that became the target
    EXPECT_EQ(flushes[0].target, "old");
    EXPECT_TRUE(flushes[1].folder);
    EXPECT_EQ(flushes[1].inode, Inode(files_));  // the target's folder, not the link's
    EXPECT_EQ(flushes[1].target, "new");
}

TEST_F(FileWriter, FailedFlushOfTheNewFileKeepsTheOldOne) {
    const fs::path target = files_ / "Проект.VPQ";
    WriteFile(target, "old");
    platform::FlushToDisk = [](int) {
        errno = EIO;
        return -1;
    };
    EXPECT_EQ(Write(target, "new"), EIO);
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(Names(files_), std::vector<std::string>{"Проект.VPQ"});
}

}  // namespace
