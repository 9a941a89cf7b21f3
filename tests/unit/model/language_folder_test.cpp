#include <gtest/gtest.h>

#include <fstream>

#include "core/model/language_folder.h"

namespace tw {
namespace {

TEST(LanguageFolder, VersionMarkerNames) {
    struct Case { const char* name; bool marker; };
    for (auto [name, marker] : {Case{"de.version", true}, Case{"de.lang", false},
                                Case{".version", false}, Case{"a.b.version", true},
                                Case{"version", false}, Case{"..", false},
                                Case{"de.Version", false}, Case{"de.version.bak", false}})
        EXPECT_EQ(is_version_marker_name(name), marker) << name;
}

TEST(LanguageFolder, RemovesOnlyMarkers) {
    auto dir = std::filesystem::temp_directory_path() / "tw_lang_folder_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    for (const char* name : {"de.lang", "de.version", "fr.version", ".version"})
        std::ofstream(dir / name) << "x";
    EXPECT_EQ(remove_version_markers(dir), 2u);
    EXPECT_TRUE(std::filesystem::exists(dir / "de.lang"));
    EXPECT_TRUE(std::filesystem::exists(dir / ".version"));
    EXPECT_FALSE(std::filesystem::exists(dir / "de.version"));
    std::filesystem::remove_all(dir);
    EXPECT_EQ(remove_version_markers(dir), 0u);  // a missing folder is no error
}

}  // namespace
}  // namespace tw
