#include <gtest/gtest.h>

#include "core/net/update_request.h"
#include "core/net/version.h"

namespace tw {
namespace {

TEST(Version, ParsesThreeNumbersAndZeroesTheRest) {
    struct Case {
        std::string text;
        Version v;
    };
    const Case cases[] = {
        {"1.3.19", {1, 3, 19}},       {"v2.0.1-beta", {2, 0, 0}}, {"1.4", {1, 4, 0}},
        {"vv1.2.3.4", {1, 2, 3}},     {"+1.+2.3", {1, 2, 3}},     {" 1.2.3", {0, 2, 3}},
        {"1..3", {1, 0, 3}},          {"", {0, 0, 0}},            {"4294967295.4294967296.1", {4294967295u, 0, 1}},
        {"-1.2.3", {0, 2, 3}},        {"1.2.3 ", {1, 2, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_version(c.text), c.v) << c.text;
}

TEST(Version, OffersOnlyStrictlyNewerVersions) {
    struct Case {
        std::string offered, skipped;
        bool automatic;
        UpdateOffer offer;
    };
    const Case cases[] = {
        {"1.3.19", "", false, UpdateOffer::NotNewer},
        {"1.3.9", "", false, UpdateOffer::NotNewer},    // numeric, not textual
        {"1.2.99", "", true, UpdateOffer::NotNewer},
        {"1.3.20", "", false, UpdateOffer::Dialog},
        {"1.10.0", "", false, UpdateOffer::Dialog},
        {"v1.4", "", true, UpdateOffer::Download},
        {"1.4.0", "1.4.0", true, UpdateOffer::Skipped},
        {"v1.4.0", "1.4.0", false, UpdateOffer::Dialog},  // skipped by exact text only
    };
    for (const auto& c : cases)
        EXPECT_EQ(decide_update_offer(c.offered, "1.3.19", c.skipped, c.automatic), c.offer) << c.offered;
}

TEST(UpdateCheck, RunsAtStartAndThenOncePerDay) {
    struct Case {
        bool forced;
        std::optional<uint64_t> last;
        uint64_t now;
        bool due;
    };
    const Case cases[] = {
        {true, 1000, 1001, true},          {false, std::nullopt, 5, true},
        {false, 1000, 1000 + 86399, false}, {false, 1000, 1000 + 86400, true},
        {false, 90000, 10, true},           // the clock reads earlier than the last check
    };
    for (const auto& c : cases) EXPECT_EQ(update_check_due(c.forced, c.last, c.now), c.due) << c.now;
}

TEST(UpdateRequest, CarriesUsageOnlyWhenAllowed) {
    const std::string id = "0123456789abcdef0123456789abcdef";
    struct Case {
        std::optional<UsagePing> ping;
        std::string path;
        bool first;
    };
    const Case cases[] = {
        {std::nullopt, "/api/update?v=1.3.19", false},
        {UsagePing{id, true, "de", 22631, std::nullopt}, "/api/update?v=1.3.19&id=" + id + "&lang=de&os=22631", false},
        {UsagePing{id, true, "de", 22631, "abc123def0"},   // the token goes with the first ping only
         "/api/update?v=1.3.19&id=" + id + "&lang=de&os=22631", false},
        {UsagePing{id, false, "pt BR", 0, std::nullopt},
         "/api/update?v=1.3.19&id=" + id + "&lang=pt%20BR&os=0&first=1", true},
        {UsagePing{id, false, "en", 19045, "abc123def0"},
         "/api/update?v=1.3.19&id=" + id + "&lang=en&os=19045&first=1&dl=abc123def0", true},
    };
    for (const auto& c : cases) {
        const UpdateRequest r = build_update_request("1.3.19", c.ping);
        EXPECT_EQ(r.path, c.path);
        EXPECT_EQ(r.first_ping, c.first) << c.path;
    }
}

TEST(UpdateRequest, DownloadTokenIsTenLowerCaseLettersOrDigits) {
    struct Case {
        std::string file;
        std::optional<std::string> token;
    };
    const Case cases[] = {
        {"abc123def0", "abc123def0"},
        {"\xEF\xBB\xBF  abc123def0\r\n", "abc123def0"},
        {"abc123def01", std::nullopt},   // 11 characters
        {"abc123def", std::nullopt},
        {"ABC123def0", std::nullopt},    // upper case
        {"abc 23def0", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(download_token_from_file(c.file), c.token) << c.file;
}

}  // namespace
}  // namespace tw
