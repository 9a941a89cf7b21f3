#include "core/model/language_folder.h"

#include <system_error>
#include <vector>

namespace tw {

bool is_version_marker_name(std::string_view name) {
    if (name == "..") return false;
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return false;
    return name.substr(dot + 1) == "version";
}

size_t remove_version_markers(const std::filesystem::path& lang_folder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(lang_folder, ec);
    if (ec) return 0;
    std::vector<std::filesystem::path> doomed;
    // Stepping with an error code: a folder that cannot be read to the end is no error.
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::u8string name = it->path().filename().u8string();
        if (is_version_marker_name(std::string_view(reinterpret_cast<const char*>(name.data()), name.size())))
            doomed.push_back(it->path());
    }
    size_t removed = 0;
    for (const auto& p : doomed) {
        std::error_code rm;
        if (std::filesystem::remove_all(p, rm) > 0 && !rm) ++removed;
    }
    return removed;
}

}  // namespace tw
