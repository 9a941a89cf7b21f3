#include <gtest/gtest.h>

#include "core/model/install_id.h"
#include "core/base/sys/sys.h"
#include "support/temp_folder.h"

namespace tw {
namespace {

using test::read_bytes;
using test::TempFolder;
using test::write_bytes;

constexpr const char* kId = "0123456789abcdef0123456789abcdef";

TEST(RandomBytes, GivesFreshBytesOfTheAskedLength) {
    auto none = sys::random_bytes(0);
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());
    auto a = sys::random_bytes(32);
    auto b = sys::random_bytes(32);
    ASSERT_TRUE(a.has_value() && b.has_value());
    EXPECT_EQ(a->size(), 32u);
    EXPECT_NE(*a, *b);
}

TEST(InstallId, Validation) {
    struct Case {
        std::string id;
        bool valid;
    };
    const Case cases[] = {
        {kId, true},
        {"ffffffffffffffffffffffffffffffff", true},
        {"0123456789ABCDEF0123456789abcdef", false},
        {"0123456789abcdef0123456789abcde", false},
        {"0123456789abcdef0123456789abcdef0", false},
        {"0123456789abcdeg0123456789abcdef", false},
        {" 123456789abcdef0123456789abcdef", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(is_valid_install_id(c.id), c.valid) << c.id;
}

TEST(InstallId, CreatedWhenMissing) {
    TempFolder tmp;
    const auto folder = tmp / "Roaming" / "Tilewright";  // not there yet
    auto created = load_or_create_install_id(folder);
    ASSERT_TRUE(created.has_value());
    EXPECT_TRUE(is_valid_install_id(created->id)) << created->id;
    EXPECT_FALSE(created->first_ping_sent);
    EXPECT_EQ(read_bytes(folder / "install.id"), "id=" + created->id + "\nfirst_ping_sent=0\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "install.id.tmp"));

    EXPECT_EQ(load_or_create_install_id(folder), created);

    TempFolder other;
    auto second = load_or_create_install_id(other.path());
    ASSERT_TRUE(second.has_value());
    EXPECT_NE(second->id, created->id);
}

TEST(InstallId, ExistingFiles) {
    struct Case {
        const char* name;
        std::string text;
        bool kept;  // the stored identifier is used, else a new one replaces it
        bool first_ping_sent;
    };
    const std::string id = kId;
    const Case cases[] = {
        {"sent", "id=" + id + "\nfirst_ping_sent=1\n", true, true},
        {"not sent", "id=" + id + "\nfirst_ping_sent=0\n", true, false},
        {"sent as yes", "id=" + id + "\nfirst_ping_sent=yes\n", true, false},
        {"sent as 01", "id=" + id + "\nfirst_ping_sent=01\n", true, false},
        {"flag missing", "id=" + id + "\n", true, false},
        {"spaces, crlf and mark", "\xEF\xBB\xBF id = " + id + " \r\n first_ping_sent = 1 \r\n", true, true},
        {"unknown lines", "# note\nversion=2\nid=" + id + "\nfirst_ping_sent=1\n", true, true},
        {"upper case", "id=0123456789ABCDEF0123456789ABCDEF\nfirst_ping_sent=1\n", false, false},
        {"too short", "id=0123\nfirst_ping_sent=1\n", false, false},
        {"no id", "first_ping_sent=1\n", false, false},
        {"binary", std::string("\x00\xFF\x01id", 5), false, false},
    };
    for (const auto& c : cases) {
        TempFolder tmp;
        write_bytes(tmp / "install.id", c.text);
        auto got = load_or_create_install_id(tmp.path());
        ASSERT_TRUE(got.has_value()) << c.name;
        EXPECT_EQ(got->id == id, c.kept) << c.name;
        EXPECT_TRUE(is_valid_install_id(got->id)) << c.name;
        EXPECT_EQ(got->first_ping_sent, c.first_ping_sent) << c.name;
        if (c.kept) {
            EXPECT_EQ(read_bytes(tmp / "install.id"), c.text) << c.name;  // left alone
        } else {
            EXPECT_EQ(read_bytes(tmp / "install.id"), "id=" + got->id + "\nfirst_ping_sent=0\n")
                << c.name;
        }
    }
}

TEST(InstallId, FileThatCannotBeReadKeepsItsIdentity) {
    TempFolder tmp;
    std::filesystem::create_directories(tmp / "install.id");  // exists, cannot be read
    EXPECT_FALSE(load_or_create_install_id(tmp.path()).has_value());
    EXPECT_TRUE(std::filesystem::is_directory(tmp / "install.id"));
}

TEST(InstallId, MarkFirstPingSent) {
    TempFolder tmp;
    auto created = load_or_create_install_id(tmp.path());
    ASSERT_TRUE(created.has_value());
    EXPECT_TRUE(mark_first_ping_sent(tmp.path(), created->id));
    EXPECT_EQ(read_bytes(tmp / "install.id"), "id=" + created->id + "\nfirst_ping_sent=1\n");
    EXPECT_EQ(load_or_create_install_id(tmp.path()), (InstallId{created->id, true}));

    // An identifier that would not read back is never written.
    EXPECT_FALSE(mark_first_ping_sent(tmp.path(), "ABC"));
    EXPECT_EQ(read_bytes(tmp / "install.id"), "id=" + created->id + "\nfirst_ping_sent=1\n");
}

TEST(InstallId, WriteFailureGivesNoIdentifier) {
    TempFolder tmp;
    write_bytes(tmp / "blocker", "a file where the folder should be");
    EXPECT_FALSE(load_or_create_install_id(tmp / "blocker").has_value());
    EXPECT_FALSE(mark_first_ping_sent(tmp / "blocker", kId));
    std::filesystem::create_directories(tmp / "dir" / "install.id");  // a folder in the way
    EXPECT_FALSE(load_or_create_install_id(tmp / "dir").has_value());
    EXPECT_TRUE(std::filesystem::is_directory(tmp / "dir" / "install.id"));
}

}  // namespace
}  // namespace tw
