// Whole-file reads and atomic replacement.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "AtomicFile.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

}  // namespace

TEST(AtomicFile, CreatesANewFileWithTheUsualPermissions) {
    TempDir dir;
    const std::string bytes("a\0b\r\n\xFF", 6);
    ASSERT_TRUE(writeFileAtomically(dir / "new.cfg", bytes));
    EXPECT_EQ(readFile(dir / "new.cfg"), bytes);
    mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(modeOf(dir / "new.cfg"), 0666 & ~mask);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"new.cfg"});   // no temporary left
}

TEST(AtomicFile, ReplacesAFileAndKeepsItsPermissions) {
    TempDir dir;
    writeFile(dir / "old.cfg", std::string(1000, 'o'));
    fs::permissions(dir / "old.cfg", fs::perms(0640));
    ASSERT_TRUE(writeFileAtomically(dir / "old.cfg", "short"));
    EXPECT_EQ(readFile(dir / "old.cfg"), "short");
    EXPECT_EQ(modeOf(dir / "old.cfg"), 0640u);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"old.cfg"});
}

TEST(AtomicFile, WritesThroughASymbolicLink) {
    TempDir dir;
    writeFile(dir / "target.ini", "old");
    fs::create_symlink(dir / "target.ini", dir / "link.ini");
    ASSERT_TRUE(writeFileAtomically(dir / "link.ini", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
    EXPECT_EQ(readFile(dir / "target.ini"), "new");
}

TEST(AtomicFile, FailsWithoutTouchingAnythingWhenTheFolderCannotTakeAFile) {
    TempDir dir;
    writeFile(dir / "plain", "x");
    std::string why;
    // A regular file where a folder should be: nothing can be created there.
    EXPECT_FALSE(writeFileAtomically(dir / "plain" / "file.cfg", "data", &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(writeFileAtomically(dir / "missing" / "file.cfg", "data"));
    // A folder in the file's place is not replaced.
    fs::create_directory(dir / "folder.cfg");
    EXPECT_FALSE(writeFileAtomically(dir / "folder.cfg", "data"));
    EXPECT_TRUE(fs::is_directory(dir / "folder.cfg"));
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"folder.cfg", "plain"}));
}

TEST(AtomicFile, LeavesTheOldFileInAReadOnlyFolder) {
    TempDir dir;
    fs::create_directory(dir / "ro");
    writeFile(dir / "ro" / "keep.cfg", "precious");
    fs::permissions(dir / "ro", fs::perms(0555));
    if (writeBitsAreIgnored(dir / "ro")) GTEST_SKIP() << "write bits do not bind this user (root)";
    EXPECT_FALSE(writeFileAtomically(dir / "ro" / "keep.cfg", "new"));
    EXPECT_EQ(readFile(dir / "ro" / "keep.cfg"), "precious");
    EXPECT_EQ(folderEntries(dir / "ro"), std::vector<std::string>{"keep.cfg"});
}

TEST(AtomicFile, RefusesToReplaceAReadOnlyFile) {
    TempDir dir;
    writeFile(dir / "ro.cfg", "precious");
    fs::permissions(dir / "ro.cfg", fs::perms(0444));
    if (::access((dir / "ro.cfg").c_str(), W_OK) == 0) GTEST_SKIP() << "write bits do not bind this user (root)";
    EXPECT_FALSE(writeFileAtomically(dir / "ro.cfg", "new"));
    EXPECT_EQ(readFile(dir / "ro.cfg"), "precious");
}

TEST(ReadFileBounded, TellsMissingFromUnreadableAndStopsAtTheBound) {
    TempDir dir;
    EXPECT_EQ(readFileBounded(dir / "none", 10).status, FileReadResult::Status::Missing);
    EXPECT_EQ(readFileBounded(dir.path(), 10).status, FileReadResult::Status::Unreadable);

    // A pipe in the file's place must not block the reader.
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(readFileBounded(dir / "pipe", 10).status, FileReadResult::Status::Unreadable);

    writeFile(dir / "ten", "0123456789");
    FileReadResult exact = readFileBounded(dir / "ten", 10);
    EXPECT_EQ(exact.status, FileReadResult::Status::Ok);
    EXPECT_EQ(exact.bytes, "0123456789");
    EXPECT_FALSE(exact.truncated);

    FileReadResult cut = readFileBounded(dir / "ten", 4);
    EXPECT_EQ(cut.bytes, "0123");
    EXPECT_TRUE(cut.truncated);

    writeFile(dir / "empty", "");
    FileReadResult empty = readFileBounded(dir / "empty", 4);
    EXPECT_EQ(empty.status, FileReadResult::Status::Ok);
    EXPECT_EQ(empty.bytes, "");
}
