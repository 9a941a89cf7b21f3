// System DLLs loaded for a piece of work and let go after it.
#include "app/platform/system_library.h"

#include <gtest/gtest.h>

namespace tw::app {
namespace {

TEST(SystemLibrary, FindsSystemExportsAndReportsWhatIsMissing) {
    struct Case {
        const wchar_t* library;
        const char* export_name;
        bool loaded;
        bool found;
    } cases[] = {
        {L"kernel32.dll", "GetTickCount64", true, true},
        {L"kernel32.dll", "NoSuchExportAnywhere", true, false},
        {L"tilewright-no-such-library.dll", "GetTickCount64", false, false},
    };
    for (const auto& c : cases) {
        SystemLibrary library(c.library);
        EXPECT_EQ(static_cast<bool>(library), c.loaded) << c.export_name;
        EXPECT_EQ(library.get<ULONGLONG WINAPI()>(c.export_name) != nullptr, c.found) << c.export_name;
    }
}

TEST(SystemLibrary, ALibraryNobodyElseHoldsIsUnloadedWithItsLastHolder) {
    // Not loaded by the tests or by anything they link.
    const wchar_t* name = L"mscms.dll";
    ASSERT_EQ(GetModuleHandleW(name), nullptr);
    {
        SystemLibrary first(name);
        ASSERT_TRUE(first);
        {
            SystemLibrary second(name);
            EXPECT_EQ(second.module(), first.module());
        }
        EXPECT_NE(GetModuleHandleW(name), nullptr) << "the first holder still needs it";
    }
    EXPECT_EQ(GetModuleHandleW(name), nullptr);
}

}  // namespace
}  // namespace tw::app
