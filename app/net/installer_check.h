#pragma once
// Whether a downloaded installer is the one the manifest describes: its SHA-256
// digest equals "sha256" and "signature" is a valid RSA signature of it under the
// update public key built into the program.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/net/update_info.h"
#include "core/net/version.h"

namespace tw::app {

// The digest compared ignoring ASCII case, the signature decoded from Base64, the
// manifest digest from hexadecimal (32 bytes), then the RSA check. Any failure: false.
bool installer_verifies(std::string_view installer, const UpdateInfo& info);

// The product version in a program's fixed version information (the first three of
// its four parts); none when the file has no version resource or cannot be read.
std::optional<Version> file_product_version(const std::filesystem::path& path);

// %TEMP%\Tilewright-Update-Setup.exe, where a verified installer waits for Install.
std::optional<std::filesystem::path> installer_path();

// A file opened for reading and shared with readers only: while it is open no other
// process can write, rename or delete it, so what was checked is what gets started.
class LockedFile {
public:
    static std::optional<LockedFile> open(const std::filesystem::path& path);
    ~LockedFile();
    LockedFile(LockedFile&& other) noexcept;
    LockedFile& operator=(LockedFile&&) = delete;
    LockedFile(const LockedFile&) = delete;

    // The whole file; none when it cannot be read or is larger than `max_bytes`.
    std::optional<std::string> read_all(size_t max_bytes) const;

private:
    explicit LockedFile(void* handle) : handle_(handle) {}
    void* handle_;
};

}  // namespace tw::app
