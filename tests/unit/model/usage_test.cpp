#include <gtest/gtest.h>

#include "core/model/usage.h"
#include "support/temp_folder.h"

namespace tw {
namespace {

using test::read_bytes;
using test::TempFolder;
using test::write_bytes;

constexpr uint64_t kNow = 1700000000;

struct Legacy {
    std::optional<uint64_t> used_count;
    std::optional<uint64_t> counting_since;
};

Settings with_legacy(Legacy legacy) {
    Settings s;
    s.used_count = legacy.used_count;
    s.counting_since = legacy.counting_since;
    return s;
}

TEST(Usage, StartUp) {
    struct Case {
        const char* name;
        std::optional<std::string> file;  // usage.dat before start-up; none: missing
        Legacy legacy;
        uint64_t count;
        uint64_t since;
        std::optional<std::string> file_after;
        std::optional<std::string> bad_after;  // usage.dat.bad
    };
    const std::string now_line = "since=" + std::to_string(kNow) + "\n";
    const Case cases[] = {
        {"missing, nothing to seed", std::nullopt, {}, 0, kNow, "count=0\n" + now_line, std::nullopt},
        {"missing, seeded", std::nullopt, {42, 1600000000}, 42, 1600000000,
         "count=42\nsince=1600000000\n", std::nullopt},
        {"missing, legacy since 0", std::nullopt, {42, 0}, 42, kNow, "count=42\n" + now_line, std::nullopt},
        {"missing, only since", std::nullopt, {std::nullopt, 1600000000}, 0, 1600000000,
         "count=0\nsince=1600000000\n", std::nullopt},
        {"valid", "count=7\nsince=1500000000\n", {99, 1}, 7, 1500000000,
         "count=7\nsince=1500000000\n", std::nullopt},
        {"valid, loosely written", "\xEF\xBB\xBF count = 9 \r\n since = 100 \r\n", {}, 9, 100,
         "\xEF\xBB\xBF count = 9 \r\n since = 100 \r\n", std::nullopt},
        {"since missing", "count=7\n", {99, 1}, 7, kNow, "count=7\n" + now_line, std::nullopt},
        {"since 0", "count=7\nsince=0\n", {}, 7, kNow, "count=7\n" + now_line, std::nullopt},
        {"since not a number", "count=7\nsince=soon\n", {}, 7, kNow, "count=7\n" + now_line, std::nullopt},
        {"largest count", "count=18446744073709551615\nsince=5\n", {}, UINT64_MAX, 5,
         "count=18446744073709551615\nsince=5\n", std::nullopt},
        {"count not a number", "count=many\nsince=5\n", {5, 1600000000}, 5, 1600000000,
         "count=5\nsince=1600000000\n", "count=many\nsince=5\n"},
        {"count too large", "count=18446744073709551616\n", {}, 0, kNow, "count=0\n" + now_line,
         "count=18446744073709551616\n"},
        {"count negative", "count=-3\nsince=5\n", {}, 0, kNow, "count=0\n" + now_line, "count=-3\nsince=5\n"},
        {"no count line", "since=5\n", {}, 0, kNow, "count=0\n" + now_line, "since=5\n"},
        {"empty file", "", {3, 4}, 3, 4, "count=3\nsince=4\n", ""},
        {"binary", std::string("\xFF\x00\xFE", 3), {}, 0, kNow, "count=0\n" + now_line,
         std::string("\xFF\x00\xFE", 3)},
    };
    for (const auto& c : cases) {
        TempFolder tmp;
        if (c.file) write_bytes(tmp / "usage.dat", *c.file);
        write_bytes(tmp / "usage.dat.bad", "an older broken file");
        Settings settings = with_legacy(c.legacy);
        auto counter = UsageCounter::load(tmp.path(), settings, kNow);
        EXPECT_EQ(counter.count(), c.count) << c.name;
        EXPECT_EQ(counter.since(), c.since) << c.name;
        EXPECT_TRUE(counter.saving_enabled()) << c.name;
        EXPECT_EQ(read_bytes(tmp / "usage.dat"), c.file_after) << c.name;
        EXPECT_EQ(read_bytes(tmp / "usage.dat.bad"), c.bad_after.value_or("an older broken file"))
            << c.name;
        EXPECT_TRUE(settings.extra.empty()) << c.name;
    }
}

TEST(Usage, CountingPersistsEveryUse) {
    TempFolder tmp;
    Settings settings;
    auto counter = UsageCounter::load(tmp.path(), settings, kNow);
    // Two keyboard moves: two more in the file the About dialog reads from.
    EXPECT_TRUE(counter.count_use());
    EXPECT_TRUE(counter.count_use());
    EXPECT_EQ(counter.count(), 2u);
    EXPECT_EQ(read_bytes(tmp / "usage.dat"), "count=2\nsince=" + std::to_string(kNow) + "\n");

    // The next run continues from the file, whatever the clock says.
    auto next_run = UsageCounter::load(tmp.path(), settings, kNow + 500);
    EXPECT_EQ(next_run.count(), 2u);
    EXPECT_EQ(next_run.since(), kNow);
}

TEST(Usage, CountStopsAtTheLargestValue) {
    TempFolder tmp;
    write_bytes(tmp / "usage.dat", "count=18446744073709551615\nsince=5\n");
    Settings settings;
    auto counter = UsageCounter::load(tmp.path(), settings, kNow);
    EXPECT_TRUE(counter.count_use());
    EXPECT_EQ(counter.count(), UINT64_MAX);
}

TEST(Usage, BrokenFileThatCannotBeSetAsideIsNotOverwritten) {
    TempFolder tmp;
    write_bytes(tmp / "usage.dat", "count=lots\n");
    std::filesystem::create_directories(tmp / "usage.dat.bad" / "x");  // the move cannot replace it
    Settings settings = with_legacy({5, 1600000000});
    auto counter = UsageCounter::load(tmp.path(), settings, kNow);
    EXPECT_EQ(counter.count(), 5u);
    EXPECT_FALSE(counter.saving_enabled());
    EXPECT_FALSE(counter.count_use());
    EXPECT_EQ(read_bytes(tmp / "usage.dat"), "count=lots\n");
}

TEST(Usage, UnreadableFileDisablesSavingForTheRun) {
    TempFolder tmp;
    std::filesystem::create_directories(tmp / "usage.dat");  // exists, cannot be read as a file
    Settings settings = with_legacy({12, 1600000000});
    auto counter = UsageCounter::load(tmp.path(), settings, kNow);
    EXPECT_EQ(counter.count(), 12u);
    EXPECT_EQ(counter.since(), 1600000000u);
    EXPECT_FALSE(counter.saving_enabled());
    EXPECT_FALSE(counter.count_use());
    EXPECT_EQ(counter.count(), 13u);
    EXPECT_TRUE(std::filesystem::is_directory(tmp / "usage.dat"));
    EXPECT_FALSE(std::filesystem::exists(tmp / "usage.dat.bad"));
    EXPECT_FALSE(std::filesystem::exists(tmp / "usage.dat.tmp"));
    EXPECT_TRUE(settings.extra.empty());
}

TEST(Usage, FailedFirstWriteKeepsTheValuesInTheSettings) {
    struct Case {
        const char* name;
        Legacy legacy;
        std::vector<std::pair<std::string, std::string>> extra_before;
        std::vector<std::pair<std::string, std::string>> extra_after;
    };
    const Case cases[] = {
        {"fresh", {}, {}, {{"UsedCount", "0"}, {"CountingSince", std::to_string(kNow)}}},
        {"seeded", {42, 1600000000}, {{"Other", "true"}},
         {{"Other", "true"}, {"UsedCount", "42"}, {"CountingSince", "1600000000"}}},
        {"already there", {42, 1600000000}, {{"UsedCount", "1"}, {"CountingSince", "2"}},
         {{"UsedCount", "42"}, {"CountingSince", "1600000000"}}},
    };
    for (const auto& c : cases) {
        TempFolder tmp;
        // A folder where the temporary file would go makes every write fail.
        std::filesystem::create_directories(tmp / "usage.dat.tmp");
        Settings settings = with_legacy(c.legacy);
        settings.extra = c.extra_before;
        auto counter = UsageCounter::load(tmp.path(), settings, kNow);
        EXPECT_EQ(settings.extra, c.extra_after) << c.name;
        EXPECT_TRUE(counter.saving_enabled()) << c.name;
        EXPECT_FALSE(std::filesystem::exists(tmp / "usage.dat")) << c.name;
    }
}

TEST(Usage, FirstRunCreatesTheSettingsFolder) {
    TempFolder tmp;
    const auto folder = tmp / "Roaming" / "Tilewright";
    Settings settings;
    auto counter = UsageCounter::load(folder, settings, kNow);
    EXPECT_EQ(read_bytes(folder / "usage.dat"), "count=0\nsince=" + std::to_string(kNow) + "\n");
    EXPECT_TRUE(settings.extra.empty());
}

TEST(Usage, NoSettingsFolder) {
    Settings settings = with_legacy({8, 9});
    auto counter = UsageCounter::load(std::nullopt, settings, kNow);
    EXPECT_EQ(counter.count(), 8u);
    EXPECT_EQ(counter.since(), 9u);
    EXPECT_FALSE(counter.count_use());
    EXPECT_EQ(counter.count(), 9u);
}

}  // namespace
}  // namespace tw
