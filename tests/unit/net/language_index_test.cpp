#include <gtest/gtest.h>

#include "core/net/language_index.h"

namespace tw {
namespace {

std::vector<std::string> codes(const LanguageIndex& index) {
    std::vector<std::string> out;
    for (const auto& e : index.entries) out.push_back(e.code);
    return out;
}

TEST(LanguageIndex, ReadsCompleteEntriesInIndexOrder) {
    const auto index = parse_language_index(R"({
        "de": {"name": "Deutsch", "version": 3, "path": "lang/de.lang"},
        "pt-BR": {"path":"lang/pt-BR.lang","version":12,"name":"Portugu\u00eas"}
    })");
    ASSERT_EQ(index.entries.size(), 2u);
    EXPECT_EQ(index.entries[0], (LanguageEntry{"de", "Deutsch", "lang/de.lang", 3}));
    EXPECT_EQ(index.entries[1], (LanguageEntry{"pt-BR", "Portugu\\u00eas", "lang/pt-BR.lang", 12}));
    EXPECT_TRUE(index.refused_codes.empty());
}

TEST(LanguageIndex, SkipsIncompleteAndOddMembers) {
    struct Case {
        std::string text;
        std::vector<std::string> codes;
    };
    const std::string ok = R"({"name":"N","version":1,"path":"p"})";
    const Case cases[] = {
        {R"({"fr": {"name":"F","path":"p"}, "de": )" + ok + "}", {"de"}},              // no version
        {R"({"fr": {"name":"F","version":"2","path":"p"}})", {}},                     // version as a string
        {R"({"fr": {"name":"F","version":4294967296,"path":"p"}})", {}},              // beyond 32 bits
        {R"({"fr": {"name":"F","version": 4294967295,"path":"p"}})", {"fr"}},
        {R"({"path": )" + ok + R"(, "name": )" + ok + R"(, "it": )" + ok + "}", {"it"}},  // reserved member names
        {R"({"nl": {"name":"N","version":1,"path":"p","extra":{"a":{}}}, "sv": )" + ok + "}", {"nl", "sv"}},
        {R"({"de": {"name":"D","version":1,"path":"p")", {}},                         // no closing brace
        {R"({"de" )" + ok + "}", {}},                                                 // no colon after the name
        {"<html>404</html>", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(codes(parse_language_index(c.text)), c.codes) << c.text;
}

TEST(LanguageIndex, RefusesCodesThatCannotNameAFile) {
    const std::string ok = R"({"name":"N","version":1,"path":"lang/x.lang"})";
    const auto index = parse_language_index("{\"../../x\": " + ok + ", \"a\\\\b\": " + ok + ", \"C:x\": " + ok +
                                            ", \"con\": " + ok + ", \"\": " + ok + ", \"es\": " + ok + "}");
    EXPECT_EQ(codes(index), std::vector<std::string>{"es"});
    EXPECT_EQ(index.refused_codes, (std::vector<std::string>{"../../x", "a\\\\b", "C:x", "con", ""}));
}

TEST(LanguageIndex, RefreshesTheCurrentLanguageWhenListed) {
    const std::vector<LanguageEntry> entries = {{"de", "Deutsch", "lang/de.lang", 3}};
    struct Case {
        std::string language;
        bool pending;
        bool refresh;
    };
    const Case cases[] = {{"de", false, true}, {"de", true, false}, {"en", false, false}, {"fr", false, false}};
    for (const auto& c : cases)
        EXPECT_EQ(language_to_refresh(c.language, entries, c.pending).has_value(), c.refresh) << c.language;
}

}  // namespace
}  // namespace tw
