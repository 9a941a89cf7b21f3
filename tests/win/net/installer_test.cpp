// The installer check with the system's cryptography, against the test installer as
// tools/sign-update signed it with the build's test key, and its launch.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "app/net/cng.h"
#include "app/net/installer_check.h"
#include "app/net/update_service.h"
#include "core/base/log.h"
#include "core/net/encoding.h"
#include "core/net/manifest.h"
#include "support/temp_folder.h"
#include "version.h"

namespace tw::app {
namespace {

using test::read_bytes;
using test::TempFolder;
using test::write_bytes;

std::string installer_bytes() { return read_bytes(TW_TEST_INSTALLER).value_or(""); }

UpdateInfo signed_manifest() {
    auto info = parse_update_manifest(read_bytes(TW_TEST_INSTALLER_MANIFEST).value_or(""));
    EXPECT_TRUE(info) << info.error;
    return info.value.value_or(UpdateInfo{});
}

TEST(Cng, Sha256) {
    EXPECT_EQ(hex_lower(*sha256("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hex_lower(*sha256("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(InstallerCheck, OnlyTheSignedInstallerVerifies) {
    const std::string bytes = installer_bytes();
    ASSERT_FALSE(bytes.empty());
    const UpdateInfo good = signed_manifest();
    std::string tampered = bytes;
    tampered[tampered.size() / 2] ^= 0x01;

    auto with = [&](auto change) {
        UpdateInfo info = good;
        change(info);
        return info;
    };
    std::string upper = good.sha256;
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    std::string broken_lines;  // 60 characters a line, CR LF, padding kept
    for (size_t i = 0; i < good.signature.size(); i += 60) broken_lines += good.signature.substr(i, 60) + "\r\n";
    std::string other_signature = good.signature;
    other_signature[10] = other_signature[10] == 'A' ? 'B' : 'A';

    struct Case {
        const char* what;
        const std::string& file;
        UpdateInfo info;
        bool verifies;
    };
    const Case cases[] = {
        {"as signed", bytes, good, true},
        {"upper-case digest", bytes, with([&](UpdateInfo& i) { i.sha256 = upper; }), true},
        {"signature over several lines", bytes, with([&](UpdateInfo& i) { i.signature = broken_lines; }), true},
        {"one byte changed", tampered, good, false},
        {"another signature", bytes, with([&](UpdateInfo& i) { i.signature = other_signature; }), false},
        {"signature not Base64", bytes, with([&](UpdateInfo& i) { i.signature = "!" + i.signature; }), false},
        {"no signature", bytes, with([&](UpdateInfo& i) { i.signature.clear(); }), false},
        {"digest cut short", bytes, with([&](UpdateInfo& i) { i.sha256.pop_back(); }), false},
    };
    for (const auto& c : cases) EXPECT_EQ(installer_verifies(c.file, c.info), c.verifies) << c.what;
}

// The version resource decides which installer may run, so the program and the test
// installers must carry the versions they are built as.
TEST(InstallerCheck, ProductVersionComesFromTheVersionResource) {
    TempFolder folder;
    write_bytes(folder / "setup.exe", "MZ but no resources");
    struct Case {
        std::filesystem::path file;
        std::optional<Version> version;
    };
    const Case cases[] = {
        {TW_PROGRAM_EXE, Version{TW_VERSION_MAJOR, TW_VERSION_MINOR, TW_VERSION_PATCH}},
        {TW_TEST_INSTALLER, Version{TW_VERSION_MAJOR + 1, TW_VERSION_MINOR, TW_VERSION_PATCH}},
        {TW_TEST_INSTALLER_OLD, Version{1, 0, 0}},
        {folder / "setup.exe", std::nullopt},
        {folder / "missing.exe", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(file_product_version(c.file), c.version) << c.file.string();
    EXPECT_EQ(parse_version(signed_manifest().version), *file_product_version(TW_TEST_INSTALLER));
}

TEST(InstallerCheck, ALockedFileKeepsWritersOut) {
    TempFolder folder;
    write_bytes(folder / "setup.exe", "verified bytes");
    auto locked = LockedFile::open(folder / "setup.exe");
    ASSERT_TRUE(locked);
    const std::wstring path = (folder / "setup.exe").wstring();
    HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    EXPECT_FALSE(DeleteFileW(path.c_str()));
    EXPECT_FALSE(MoveFileExW(path.c_str(), (folder / "moved.exe").wstring().c_str(), 0));
    EXPECT_EQ(locked->read_all(100), "verified bytes");
    EXPECT_FALSE(locked->read_all(5));  // larger than allowed
    locked.reset();
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

class Launch : public testing::Test {
protected:
    TempFolder tmp;
    test::ScopedTempFolder scoped{tmp.path()};
    AppState state;
    LogCapture log;

    bool marker_appears(int tenths = 100) {
        for (int i = 0; i < tenths; ++i) {
            if (read_bytes(tmp / "test-installer-ran.txt")) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
};

TEST_F(Launch, RunsTheVerifiedInstallerSilently) {
    write_bytes(tmp / "Tilewright-Update-Setup.exe", installer_bytes());
    ASSERT_TRUE(launch_verified_installer(state, signed_manifest()));
    ASSERT_TRUE(marker_appears());
    EXPECT_EQ(read_bytes(tmp / "test-installer-ran.txt"), "/SILENT");
}

TEST_F(Launch, DiscardsAnInstallerChangedAfterTheDownload) {
    std::string swapped = installer_bytes();
    swapped[swapped.size() / 3] ^= 0x40;
    write_bytes(tmp / "Tilewright-Update-Setup.exe", swapped);
    EXPECT_FALSE(launch_verified_installer(state, signed_manifest()));
    EXPECT_TRUE(log.contains("update: download or signature/hash verification failed, discarding"));
    EXPECT_FALSE(std::filesystem::exists(tmp / "Tilewright-Update-Setup.exe"));
    EXPECT_FALSE(marker_appears(20));
}

TEST_F(Launch, NothingToRunWithoutTheFile) {
    EXPECT_FALSE(launch_verified_installer(state, signed_manifest()));
    EXPECT_TRUE(log.contains("update: download or signature/hash verification failed, discarding"));
}

}  // namespace
}  // namespace tw::app
