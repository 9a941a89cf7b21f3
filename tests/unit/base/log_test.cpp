#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/base/log.h"
#include "core/base/log_file.h"
#include "core/base/sys/sys.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tw {
namespace {

using test::read_bytes;
using test::ScopedTempFolder;
using test::TempFolder;
using test::write_bytes;

const std::regex kLinePattern(R"(\[ *[0-9]{1,}\.[0-9]{3}s\] .*)");

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

TEST(LogLine, Format) {
    struct Case {
        uint64_t ms;
        std::string message;
        std::string line;
    };
    const Case cases[] = {
        {0, "start", "[     0.000s] start\n"},
        {12045, "x", "[    12.045s] x\n"},
        {999, "", "[     0.999s] \n"},
        {999999999, "m", "[999999.999s] m\n"},
        {1000000500, "long run", "[1000000.500s] long run\n"},
        {UINT64_MAX, "max", "[18446744073709551.615s] max\n"},
        {1, "two\nlines", "[     0.001s] two\nlines\n"},
        {5, "caf\xC3\xA9 \"q\" \\ %s %d", "[     0.005s] caf\xC3\xA9 \"q\" \\ %s %d\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(format_log_line(c.ms, c.message), c.line) << c.ms;
}

TEST(LogFile, LivesInTheTemporaryFolder) {
    TempFolder tmp;
    ScopedTempFolder env(tmp.path());
    auto path = log_file_path();
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->filename(), "tilewright.log");
    EXPECT_TRUE(std::filesystem::equivalent(path->parent_path(), tmp.path()));
}

TEST(LogFile, RotatesOnlyAboveTheThreshold) {
    TempFolder tmp;
    const auto log_path = tmp / "tilewright.log";
    const auto rotated = tmp / "tilewright.log.1";
    write_bytes(rotated, "an older rotated log\n");
    const std::string big(5242879, 'x');
    write_bytes(log_path, big);

    // Exactly 5 242 879 bytes is not yet too large.
    append_log_line(log_path, "[     1.000s] one\n");
    EXPECT_EQ(read_bytes(log_path), big + "[     1.000s] one\n");
    EXPECT_EQ(read_bytes(rotated), "an older rotated log\n");

    // Now it is: the whole file moves to .log.1, replacing the older one, and the new
    // log starts with the line that triggered the rotation.
    append_log_line(log_path, "[     2.000s] two\n");
    EXPECT_EQ(read_bytes(rotated), big + "[     1.000s] one\n");
    EXPECT_EQ(read_bytes(log_path), "[     2.000s] two\n");

    append_log_line(log_path, "[     3.000s] three\n");
    EXPECT_EQ(read_bytes(log_path), "[     2.000s] two\n[     3.000s] three\n");
}

TEST(LogFile, UnwritableLocationsLoseTheLineQuietly) {
    TempFolder tmp;
    write_bytes(tmp / "a-file", "not a folder");
    std::filesystem::create_directories(tmp / "tilewright.log");  // a folder in the way
    const std::filesystem::path cases[] = {
        tmp / "missing" / "tilewright.log",
        tmp / "a-file" / "tilewright.log",
        tmp / "tilewright.log",
    };
    for (const auto& path : cases) {
        append_log_line(path, "[     0.000s] lost\n");
        EXPECT_FALSE(std::filesystem::is_regular_file(path)) << path;
    }
    EXPECT_FALSE(std::filesystem::exists(tmp / "missing"));
    EXPECT_EQ(read_bytes(tmp / "a-file"), "not a folder");
}

TEST(LogFile, MissingTemporaryFolderRunsOnWithoutAFile) {
    TempFolder tmp;
    const auto missing = tmp / "gone";
    {
        ScopedTempFolder env(missing);
        log("nowhere to go");
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(LogFile, LogAppendsFormattedLines) {
    TempFolder tmp;
    ScopedTempFolder env(tmp.path());
    log("first");
    log("second");
    auto text = read_bytes(tmp / "tilewright.log");
    ASSERT_TRUE(text.has_value());
    auto lines = split_lines(*text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(std::regex_match(lines[0], kLinePattern)) << lines[0];
    EXPECT_TRUE(lines[0].ends_with("s] first"));
    EXPECT_TRUE(lines[1].ends_with("s] second"));
    EXPECT_EQ(text->back(), '\n');
}

TEST(LogFile, CaptureKeepsLinesOutOfTheFile) {
    TempFolder tmp;
    ScopedTempFolder env(tmp.path());
    {
        LogCapture capture;
        log("captured");
        EXPECT_TRUE(capture.contains("captured"));
    }
    EXPECT_FALSE(std::filesystem::exists(tmp / "tilewright.log"));
}

TEST(LogFile, ConcurrentWritersProduceWholeLines) {
    TempFolder tmp;
    ScopedTempFolder env(tmp.path());
    constexpr int kThreads = 4;
    constexpr int kLines = 150;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i)
                log("worker " + std::to_string(t) + " line " + std::to_string(i) +
                    " with some padding to make the write longer than a few bytes");
        });
    }
    for (auto& th : threads) th.join();

    auto text = read_bytes(tmp / "tilewright.log");
    ASSERT_TRUE(text.has_value());
    const std::regex pattern(
        R"(\[ *[0-9]+\.[0-9]{3}s\] worker ([0-9]+) line ([0-9]+) with some padding to make the write longer than a few bytes)");
    std::set<std::pair<int, int>> seen;
    for (const auto& line : split_lines(*text)) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, pattern)) << line;
        EXPECT_TRUE(seen.emplace(std::stoi(m[1]), std::stoi(m[2])).second) << line;
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kLines));
}

#ifdef _WIN32

std::wstring wide(const std::filesystem::path& p) { return p.wstring(); }

TEST(LogFileWindows, OthersMayReadWriteAndDeleteWhileTheLogIsOpen) {
    TempFolder tmp;
    const auto path = tmp / "tilewright.log";
    sys::AppendFile file;
    ASSERT_TRUE(file.open(path));
    ASSERT_TRUE(file.write("[     0.000s] open\n"));

    HANDLE reader = CreateFileW(wide(path).c_str(), GENERIC_READ | DELETE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE) << GetLastError();
    char buf[64] = {};
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(reader, buf, sizeof buf, &got, nullptr));
    EXPECT_EQ(std::string(buf, got), "[     0.000s] open\n");
    CloseHandle(reader);

    // A second appender (another instance of the program) gets in as well.
    sys::AppendFile second;
    ASSERT_TRUE(second.open(path));
    EXPECT_TRUE(second.write("[     0.001s] second\n"));
    EXPECT_TRUE(file.write("[     0.002s] first again\n"));
    second.close();
    EXPECT_EQ(read_bytes(path), "[     0.000s] open\n[     0.001s] second\n[     0.002s] first again\n");

    EXPECT_TRUE(DeleteFileW(wide(path).c_str())) << GetLastError();
    file.close();
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(LogFileWindows, RotatesWhileAViewerHoldsTheLogOpen) {
    TempFolder tmp;
    const auto path = tmp / "tilewright.log";
    const std::string big(5242880, 'x');
    write_bytes(path, big);
    HANDLE viewer = CreateFileW(wide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    append_log_line(path, "[     1.000s] fresh\n");
    CloseHandle(viewer);
    EXPECT_EQ(read_bytes(path), "[     1.000s] fresh\n");
    EXPECT_EQ(std::filesystem::file_size(tmp / "tilewright.log.1"), big.size());
}

TEST(LogFileWindows, TemporaryFolderHonoursTmp) {
    TempFolder tmp;
    test::ScopedEnv env("TMP", tmp.path());
    auto dir = sys::temp_dir();
    ASSERT_TRUE(dir.has_value());
    // The system's answer ends with a separator, which the C runtime's stat refuses.
    EXPECT_EQ(dir->filename(), "");
    EXPECT_TRUE(std::filesystem::equivalent(dir->parent_path(), tmp.path())) << dir->string();
    EXPECT_TRUE(std::filesystem::equivalent(log_file_path()->parent_path(), tmp.path()));
}

#endif

}  // namespace
}  // namespace tw
