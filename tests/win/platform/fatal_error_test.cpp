// The fatal-error hook in a real process: every way of failing leaves exactly one
// "PANIC at {file}:{line}: {message}" line in the log and ends the process.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace {

std::filesystem::path probe_path() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / L"panic_probe.exe";
}

// Runs the probe with TMP and TEMP pointing at `tmp`; returns its exit code.
DWORD run_probe(const std::wstring& arg, const std::filesystem::path& tmp) {
    tw::test::ScopedTempFolder temp(tmp);
    std::wstring cmd = L"\"" + probe_path().wstring() + L"\" " + arg;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // A crashing child must not show an error dialog.
    const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    const BOOL started = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &si, &pi);
    SetErrorMode(old_mode);
    if (!started) return 0xFFFFFFFF;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

std::vector<std::string> log_lines(const std::filesystem::path& tmp) {
    std::vector<std::string> out;
    auto text = tw::test::read_bytes(tmp / "tilewright.log");
    if (!text) return out;
    size_t start = 0;
    while (start < text->size()) {
        size_t end = text->find('\n', start);
        if (end == std::string::npos) end = text->size();
        std::string line = text->substr(start, end - start);
        const size_t message = line.find("s] ");
        out.push_back(message == std::string::npos ? line : line.substr(message + 3));
        start = end + 1;
    }
    return out;
}

TEST(FatalErrorHook, EveryFailureLeavesOnePanicLine) {
    struct Case {
        const wchar_t* arg;
        const char* pattern;  // the PANIC line
        std::vector<std::string> before;
    };
    const Case cases[] = {
        {L"check", R"(PANIC at .*panic_probe\.cpp:\d+: check failed: zones > 0)", {}},
        {L"terminate", R"(PANIC at <terminate>:0: thrown past noexcept)", {}},
        {L"access-violation", R"(PANIC at .*panic_probe\.exe:0: unhandled exception 0xC0000005 at .*)", {}},
        {L"worker", R"(PANIC at <terminate>:0: thrown past noexcept)",
         {"PANIC at .*panic_probe\\.cpp:\\d+: check failed: 1 == 2", "probe: still running"}},
    };
    for (const Case& c : cases) {
        tw::test::TempFolder tmp;
        const DWORD code = run_probe(c.arg, tmp.path());
        EXPECT_NE(code, 0u) << "the process ends with a failure code";
        const auto lines = log_lines(tmp.path());
        ASSERT_EQ(lines.size(), c.before.size() + 1) << testing::PrintToString(lines);
        for (size_t i = 0; i < c.before.size(); ++i)
            EXPECT_TRUE(std::regex_match(lines[i], std::regex(c.before[i]))) << lines[i];
        EXPECT_TRUE(std::regex_match(lines.back(), std::regex(c.pattern))) << lines.back();
    }
}

}  // namespace
