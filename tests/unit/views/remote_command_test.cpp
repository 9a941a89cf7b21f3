#include "core/views/remote_command.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

using A = RemoteAction;

std::string wire(std::initializer_list<std::string_view> args) {
    std::string out;
    for (auto a : args) (out += a) += '\0';
    return out;
}

TEST(RemoteCommand, ParsesEveryVerbAndRefusesBadArguments) {
    struct Case {
        std::string bytes;
        std::optional<RemoteCommand> want;  // none: refused with a line
    };
    auto cmd = [](A a, std::string name = {}, size_t zone = 0, std::optional<std::string> screen = {}) {
        return std::optional<RemoteCommand>(RemoteCommand{a, std::move(name), zone, std::move(screen)});
    };
    const std::string long_name(kMaxRemoteCommandBytes - 8, 'x');
    const Case cases[] = {
        {wire({"start"}), cmd(A::Start)},
        {wire({"stop"}), cmd(A::Stop)},
        {wire({"TOGGLE"}), cmd(A::Toggle)},  // verb words in any case
        {wire({"zones", "show"}), cmd(A::ZonesShow)},
        {wire({"zones", "Hide"}), cmd(A::ZonesHide)},
        {wire({"zones", "toggle"}), cmd(A::ZonesToggle)},
        {wire({"layout", "Two columns"}), cmd(A::Layout, "Two columns")},
        {wire({"layout", "Wide", "--screen", "\\\\?\\DISPLAY#2"}), cmd(A::Layout, "Wide", 0, "\\\\?\\DISPLAY#2")},
        {wire({"layout", "--screen", "Left", "Wide"}), cmd(A::Layout, "Wide", 0, "Left")},
        {wire({"layout", "next"}), cmd(A::LayoutNext)},
        {wire({"layout", "next", "--screen", "Left"}), cmd(A::LayoutNext, "", 0, "Left")},
        {wire({"layout", "Über \xE2\x80\x93 \xEF\xBF\xBD"}), cmd(A::Layout, "Über \xE2\x80\x93 \xEF\xBF\xBD")},
        {wire({"move", "left"}), cmd(A::MoveLeft)},
        {wire({"move", "right"}), cmd(A::MoveRight)},
        {wire({"move", "up"}), cmd(A::MoveUp)},
        {wire({"move", "down"}), cmd(A::MoveDown)},
        {wire({"share", "2"}), cmd(A::Share, "", 2)},
        {wire({"share", "12", "--screen", "Left"}), cmd(A::Share, "", 12, "Left")},
        {wire({"share", "stop"}), cmd(A::ShareStop)},
        {wire({"show"}), cmd(A::Show)},
        {wire({"exit"}), cmd(A::Exit)},
        {wire({"status"}), cmd(A::Status)},
        {wire({"layout", long_name}), cmd(A::Layout, long_name)},  // exactly at the cap
        // Bad verbs and arguments.
        {"", std::nullopt},
        {wire({""}), std::nullopt},
        {wire({"blink"}), std::nullopt},
        {wire({"extend", "left"}), cmd(A::ExtendLeft)},
        {wire({"EXTEND", "Down"}), cmd(A::ExtendDown)},
        {wire({"extend"}), std::nullopt},
        {wire({"extend", "left", "--screen", "x"}), std::nullopt},
        {wire({"start", "now"}), std::nullopt},
        {wire({"zones"}), std::nullopt},
        {wire({"zones", "blink"}), std::nullopt},
        {wire({"layout"}), std::nullopt},
        {wire({"layout", ""}), std::nullopt},
        {wire({"layout", "A", "B"}), std::nullopt},
        {wire({"layout", "A", "--screen"}), std::nullopt},
        {wire({"layout", "A", "--screen", ""}), std::nullopt},
        {wire({"layout", "A", "--screen", "x", "--screen", "y"}), std::nullopt},
        {wire({"move"}), std::nullopt},
        {wire({"move", "sideways"}), std::nullopt},
        {wire({"move", "left", "--screen", "x"}), std::nullopt},  // no screen option
        {wire({"share"}), std::nullopt},
        {wire({"share", "0"}), std::nullopt},
        {wire({"share", "-1"}), std::nullopt},
        {wire({"share", "100"}), std::nullopt},
        {wire({"share", "1x"}), std::nullopt},
        {wire({"status", "--screen", "x"}), std::nullopt},
        // Malformed: too long, no final zero byte, not UTF-8, control characters, too many.
        {wire({"layout", long_name + "x"}), std::nullopt},
        {"status", std::nullopt},
        {wire({"layout", "\xC3"}), std::nullopt},
        {wire({"layout", "\xED\xA0\x80"}), std::nullopt},  // an encoded surrogate
        {wire({"layout", "\xC0\xAF"}), std::nullopt},      // overlong
        {wire({"layout", "a\nb"}), std::nullopt},
        {wire({"layout", "a\x1B[2J"}), std::nullopt},
        {wire({"layout", "a\xC2\x85"}), std::nullopt},  // C1 control
        {wire({"status", "a", "b", "c", "d", "e", "f", "g", "h"}), std::nullopt},
    };
    for (const Case& c : cases) {
        const RemoteParse p = parse_remote_command(c.bytes);
        EXPECT_EQ(p.command, c.want) << testing::PrintToString(c.bytes);
        EXPECT_EQ(p.error.empty(), c.want.has_value()) << testing::PrintToString(c.bytes);
    }
}

TEST(RemoteCommand, ErrorLinesNameTheUsage) {
    EXPECT_EQ(parse_remote_command(wire({"zones", "blink"})).error,
              "Wrong arguments. Usage: zones show|hide|toggle");
    EXPECT_EQ(parse_remote_command(wire({"layout"})).error,
              "Wrong arguments. Usage: layout next [--screen ID-or-NAME], layout NAME [--screen ID-or-NAME]");
    const std::string unknown = parse_remote_command(wire({"blink"})).error;
    EXPECT_TRUE(unknown.starts_with("Unknown command \"blink\". Verbs: start, stop, toggle, zones")) << unknown;
    EXPECT_EQ(parse_remote_command("status").error, "The command is too long or is not valid text.");
}

TEST(RemoteCommand, EncodesArgumentsAsTheyTravel) {
    const std::u16string ok[] = {u"layout", u"Zwei Spalten \U0001F600"};
    EXPECT_EQ(encode_remote_arguments(ok), wire({"layout", "Zwei Spalten \xF0\x9F\x98\x80"}));
    EXPECT_EQ(parse_remote_command(*encode_remote_arguments(ok)).command->name, "Zwei Spalten \xF0\x9F\x98\x80");
    const std::u16string lone[] = {u"layout", std::u16string(1, char16_t{0xD800})};
    EXPECT_EQ(encode_remote_arguments(lone), std::nullopt);
    const std::u16string control[] = {u"layout", u"a\tb"};
    EXPECT_EQ(encode_remote_arguments(control), std::nullopt);
    const std::u16string too_long[] = {u"layout", std::u16string(kMaxRemoteCommandBytes, u'x')};
    EXPECT_EQ(encode_remote_arguments(too_long), std::nullopt);
}

TEST(RemoteCommand, ResultCodesCarryTheirTag) {
    for (RemoteCode c : {RemoteCode::Done, RemoteCode::NotRunning, RemoteCode::BadCommand, RemoteCode::Refused})
        EXPECT_EQ(remote_code_from_result(remote_result(c)), c);
    // What a window without command support answers, and foreign values.
    for (intptr_t r : {intptr_t{0}, intptr_t{1}, intptr_t{0x54570004}, intptr_t{0x54580000}})
        EXPECT_EQ(remote_code_from_result(r), std::nullopt) << r;
}

TEST(RemoteCommand, AnswerIsOneLineOfValidText) {
    EXPECT_EQ(remote_command_text(wire({"layout", "Two columns", "\xC3"})), "layout Two columns \xEF\xBF\xBD");
    EXPECT_EQ(remote_answer_line("a\r\nb\xFF"), "a  b\xEF\xBF\xBD");
    EXPECT_EQ(remote_answer_line(std::string(kMaxRemoteAnswerBytes + 5, 'x')).size(), kMaxRemoteAnswerBytes);
}

}  // namespace
}  // namespace tw
