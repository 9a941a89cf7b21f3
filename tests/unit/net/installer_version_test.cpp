// What the update service decides about an installer's own version, about "Later"
// and about where a redirect may lead.
#include <gtest/gtest.h>

#include "core/net/https_url.h"
#include "core/net/version.h"

namespace tw {
namespace {

TEST(InstallerVersion, RunsOnlyTheOfferedVersionAndOnlyWhenNewer) {
    using C = InstallerVersionCheck;
    struct Case {
        std::optional<Version> installer;
        const char* offered;
        C check;
    };
    const Case cases[] = {
        {Version{1, 4, 0}, "1.4.0", C::Accepted},
        {Version{1, 4, 0}, "v1.4", C::Accepted},             // the offered text as the check reads it
        {Version{1, 3, 20}, "1.3.20", C::Accepted},
        {Version{1, 2, 0}, "99.0.0", C::NotTheOffered},      // an old signed build relabelled
        {Version{99, 0, 0}, "1.4.0", C::NotTheOffered},
        {Version{1, 3, 19}, "1.3.19", C::NotNewer},          // the running program itself
        {Version{1, 3, 9}, "1.3.9", C::NotNewer},
        {std::nullopt, "1.4.0", C::Unreadable},
    };
    for (const auto& c : cases)
        EXPECT_EQ(check_installer_version(c.installer, c.offered, "1.3.19"), c.check) << c.offered;
    EXPECT_EQ(version_text({1, 10, 0}), "1.10.0");
}

TEST(UpdateLater, HoldsAtStartUpForADayFromTheMomentItWasChosen) {
    const uint64_t at = 1790985600;
    struct Case {
        std::optional<uint64_t> later;
        uint64_t now;
        bool start_up, holds;
    };
    const Case cases[] = {
        {std::nullopt, at, true, false}, {at, at, true, true},          {at, at + 86399, true, true},
        {at, at + 86400, true, false},   {at, at - 1, true, false},     // a clock set back ends it
        {0u, at, true, false},
        {at, at + 86300, false, false},  // the daily check of the running program offers it again
    };
    for (const auto& c : cases)
        EXPECT_EQ(update_later_holds(c.later, c.now, c.start_up), c.holds) << c.now - at << " " << c.start_up;
}

TEST(Redirect, FollowedOnlyOnTheSameHost) {
    const HttpsTarget from{"127.1.2.3", "/download/setup.exe"};
    struct Case {
        const char* location;
        std::optional<HttpsTarget> to;
        const char* error;
    };
    const Case cases[] = {
        {"/files/setup.exe?x=1", HttpsTarget{"127.1.2.3", "/files/setup.exe?x=1"}, ""},
        {"https://127.1.2.3/a", HttpsTarget{"127.1.2.3", "/a"}, ""},
        {"https://127.1.2.3", HttpsTarget{"127.1.2.3", "/"}, ""},
        {"https://evil.example/a", std::nullopt, "redirect to another host refused: evil.example"},
        {"https://127.1.2.3.evil.example/a", std::nullopt,
         "redirect to another host refused: 127.1.2.3.evil.example"},
        {"https://127.1.2.3:8443/a", std::nullopt, "redirect to another host refused: 127.1.2.3:8443"},
        {"//evil.example/a", std::nullopt, "redirect without a usable location"},
        {"http://127.1.2.3/a", std::nullopt, "redirect to a URL that is not https refused"},
        {"setup.exe", std::nullopt, "redirect without a usable location"},
        {"", std::nullopt, "redirect without a usable location"},
    };
    for (const auto& c : cases) {
        const auto r = same_host_redirect(from, c.location);
        EXPECT_EQ(r.value, c.to) << c.location;
        EXPECT_EQ(r.error, c.error) << c.location;
    }
    EXPECT_TRUE(same_host_redirect({"Example.COM", "/"}, "https://example.com/x"));
}

}  // namespace
}  // namespace tw
