#include <gtest/gtest.h>

#include "core/base/files.h"
#include "support/temp_folder.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::read_bytes;
using test::TempFolder;
using test::write_bytes;

TEST(Files, WriteAtomicallyCreatesAndReplaces) {
    TempFolder dir;
    const fs::path p = dir.path() / "state.json";
    ASSERT_TRUE(write_atomically(p, "first"));
    EXPECT_EQ(read_bytes(p), "first");
    ASSERT_TRUE(write_atomically(p, std::string("sec\0ond\r\n", 10)));
    EXPECT_EQ(read_bytes(p), std::string("sec\0ond\r\n", 10));
    ASSERT_TRUE(write_atomically(p, ""));
    EXPECT_EQ(read_bytes(p), "");
    EXPECT_FALSE(fs::exists(dir.path() / "state.json.tmp"));
    // A stale temporary file from an interrupted run does not get in the way.
    write_bytes(dir.path() / "state.json.tmp", "stale");
    ASSERT_TRUE(write_atomically(p, "third"));
    EXPECT_EQ(read_bytes(p), "third");
    EXPECT_FALSE(fs::exists(dir.path() / "state.json.tmp"));
}

TEST(Files, FailedWriteLeavesTheOldFileAndNoTemporary) {
    struct Case {
        std::string what;
        void (*arrange)(const fs::path& dir);
        std::string target;  // relative to dir
        bool old_file_survives;
    };
    const Case cases[] = {
        {"target is a folder", [](const fs::path& d) {
             fs::create_directories(d / "state.json" / "inside");
         }, "state.json", false},
        {"temporary name is taken by a folder", [](const fs::path& d) {
             write_bytes(d / "state.json", "old contents\n");
             fs::create_directories(d / "state.json.tmp" / "inside");
         }, "state.json", true},
        {"parent folder missing", [](const fs::path&) {}, "missing/state.json", false},
        {"parent is a file", [](const fs::path& d) { write_bytes(d / "file", "x"); }, "file/state.json", false},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        c.arrange(dir.path());
        const fs::path target = dir.path() / c.target;
        EXPECT_FALSE(write_atomically(target, "new contents")) << c.what;
        if (c.old_file_survives) {
            EXPECT_EQ(read_bytes(target), "old contents\n") << c.what;
            EXPECT_TRUE(fs::is_directory(dir.path() / "state.json.tmp" / "inside")) << c.what;
        } else {
            EXPECT_FALSE(fs::is_regular_file(target)) << c.what;
            EXPECT_FALSE(fs::exists(fs::path(target) += ".tmp")) << c.what;
        }
        if (c.what == "target is a folder") {
            EXPECT_TRUE(fs::is_directory(target / "inside"));
        }
    }
}

TEST(Files, ReadFile) {
    TempFolder dir;
    write_bytes(dir.path() / "f", std::string("a\0b", 3));
    fs::create_directory(dir.path() / "d");
    struct Case { std::string name; std::optional<std::string> bytes; ReadError error; };
    const Case cases[] = {
        {"f", std::string("a\0b", 3), ReadError::None},
        {"missing", std::nullopt, ReadError::NotFound},
        {"d", std::nullopt, ReadError::Unreadable},
    };
    for (const auto& c : cases) {
        const ReadResult r = read_file(dir.path() / c.name);
        EXPECT_EQ(r.bytes, c.bytes) << c.name;
        EXPECT_EQ(r.error, c.error) << c.name;
    }
}

TEST(Files, Utf8Validation) {
    struct Case { std::string_view bytes; bool valid; };
    const Case cases[] = {
        {"", true}, {"plain ascii", true}, {"\xc3\xa9", true}, {"\xe2\x82\xac", true}, {"\xf0\x9f\x98\x80", true},
        {"\xef\xbb\xbf{}", true}, {std::string_view("\0", 1), true}, {"\xf4\x8f\xbf\xbf", true},
        {"\xc3", false}, {"\xe2\x82", false}, {"\x80", false}, {"\xbf", false}, {"\xff", false}, {"\xfe", false},
        {"\xc0\xaf", false}, {"\xc1\xbf", false}, {"\xe0\x80\xaf", false}, {"\xf0\x80\x80\xaf", false},
        {"\xed\xa0\x80", false}, {"\xed\xbf\xbf", false}, {"\xf4\x90\x80\x80", false}, {"\xf8\x88\x80\x80\x80", false},
        {"ok\xc3(", false}, {"\xe2\x28\xa1", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(is_valid_utf8(c.bytes), c.valid) << testing::PrintToString(std::string(c.bytes));
    }
}

}  // namespace
}  // namespace tw
