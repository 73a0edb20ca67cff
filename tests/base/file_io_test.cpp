#include "base/file_io.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace quillora {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::MakeOlder;
using testing::PutFile;
using testing::SortedEntries;

class FileIoTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return folder_.PathOf(name); }

    testing::TempFolder folder_{"quillora-file-io"};
    const fs::path& dir_ = folder_.path();
};

TEST_F(FileIoTest, OnlyRegularFilesWithinTheCapAreRead) {
    PutFile(PathOf("ten"), "0123456789");
    PutFile(PathOf("empty"), "");
    fs::create_directory(PathOf("folder"));
    ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0600), 0);  // nobody writes: must not hang
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string sock_path = PathOf("socket");
    ASSERT_LT(sock_path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, sock_path.c_str(), sock_path.size());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    fs::create_symlink("ten", PathOf("link"));

    struct Case {
        std::string name;
        std::uint64_t cap;
        FileReadStatus status;
        std::string bytes;
    };
    const Case cases[] = {
        {"ten", 10, FileReadStatus::Ok, "0123456789"},
        {"link", 10, FileReadStatus::Ok, "0123456789"},
        {"empty", 0, FileReadStatus::Ok, ""},
        {"ten", 9, FileReadStatus::TooLarge, ""},
        {"missing", 10, FileReadStatus::NotFound, ""},
        {"ten/below-a-file", 10, FileReadStatus::NotFound, ""},
        {"folder", 10, FileReadStatus::NotRegularFile, ""},
        {"pipe", 10, FileReadStatus::NotRegularFile, ""},
        {"socket", 10, FileReadStatus::NotRegularFile, ""},
        {"/dev/null", 10, FileReadStatus::NotRegularFile, ""},
    };
    for (const Case& c : cases) {
        const std::string path = c.name.front() == '/' ? c.name : PathOf(c.name);
        const FileContents contents = ReadRegularFile(path, c.cap);
        EXPECT_EQ(contents.status, c.status) << c.name;
        EXPECT_EQ(contents.bytes, c.bytes) << c.name;
    }
    ::close(sock);
}

TEST_F(FileIoTest, ReplacingThroughALinkWritesTheFileItPointsTo) {
    // A relative link into another folder, to a file that does not exist yet: the file appears
    // there, the link stays a link, and no temporary file is left in either folder.
    fs::create_directory(PathOf("real"));
    fs::create_directory(PathOf("links"));
    fs::create_symlink("../real/notes.qlb", PathOf("links/notes.qlb"));
    fs::create_symlink("notes.qlb", PathOf("links/second.qlb"));  // a link to a link
    ASSERT_EQ(ReplaceFile(PathOf("links/second.qlb"), "new"), ReplaceStatus::Ok);
    EXPECT_EQ(FileBytes(PathOf("real/notes.qlb")), "new");
    EXPECT_TRUE(fs::is_symlink(PathOf("links/notes.qlb")));
    EXPECT_TRUE(fs::is_symlink(PathOf("links/second.qlb")));
    EXPECT_EQ(SortedEntries(dir_ / "real"), std::vector<std::string>{"notes.qlb"});
    EXPECT_EQ(SortedEntries(dir_ / "links"), (std::vector<std::string>{"notes.qlb", "second.qlb"}));

    fs::create_symlink("loop-b", PathOf("loop-a"));
    fs::create_symlink("loop-a", PathOf("loop-b"));
    EXPECT_EQ(ReplaceFile(PathOf("loop-a"), "x"), ReplaceStatus::CannotCreate);
    EXPECT_TRUE(fs::is_symlink(PathOf("loop-a")));
}

TEST_F(FileIoTest, OnlyStaleTemporariesOfTheSameTargetAreRemoved) {
    PutFile(PathOf("notes.qlb"), "old");
    const std::vector<std::string> kept = {
        ".other.qlb.0123456789ab.tmp",  // another file's
        ".notes.qlb.tmp",               // not the pattern
        ".notes.qlb.0123456789AB.tmp",
        ".notes.qlb.0123456789a.tmp",
        "notes.qlb.0123456789ab.tmp",
    };
    for (const std::string& name : kept) PutFile(PathOf(name), "x");
    for (const std::string& name : kept) MakeOlder(PathOf(name), 120);
    PutFile(PathOf(".notes.qlb.fedcba987654.tmp"), "left by a killed save");
    MakeOlder(PathOf(".notes.qlb.fedcba987654.tmp"), 120);
    fs::create_directory(PathOf(".notes.qlb.aaaaaaaaaaaa.tmp"));  // not a file: kept
    MakeOlder(PathOf(".notes.qlb.aaaaaaaaaaaa.tmp"), 120);

    EXPECT_EQ(RemoveStaleTemporaries(PathOf("notes.qlb")), 1);
    std::vector<std::string> expected = kept;
    expected.push_back("notes.qlb");
    expected.push_back(".notes.qlb.aaaaaaaaaaaa.tmp");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedEntries(dir_), expected);
}

}  // namespace
}  // namespace quillora
