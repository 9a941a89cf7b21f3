#pragma once
// The parsed update manifest: five strings, all required.
#include <string>

namespace tw {

struct UpdateInfo {
    std::string version;       // such as "1.4.0" (a leading "v" is allowed)
    std::string changelog;     // shown in the update dialog
    std::string download_url;  // https URL of the installer
    std::string sha256;        // 64 hexadecimal digits
    std::string signature;     // RSA PKCS#1 v1.5 signature of the installer, Base64
    friend bool operator==(const UpdateInfo&, const UpdateInfo&) = default;
};

}  // namespace tw
