#include "core/views/remote_command.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

using A = RemoteAction;
using E = RemoteEffect;
using C = RemoteCode;

ScreenInfo screen(std::string id, std::string name) {
    ScreenInfo s;
    s.id = std::move(id);
    s.name = std::move(name);
    s.bounds = s.work = {0, 0, 1000, 800};
    return s;
}

// Screen A "Left": "One" (one zone) and "Two columns" (active, the last); screen B "Same":
// L0 (active) and L1; screen C also named "Same", without a settings entry.
struct World {
    Settings settings;
    std::vector<ScreenInfo> screens{screen("A", "Left"), screen("B", "Same"), screen("C", "Same")};
    std::vector<MonitorZones> table{MonitorZones{"A", {{0, 0, 500, 800}, {500, 0, 1000, 800}}, {}, {}}};
    World() {
        ScreenLayout a;
        a.id = "A";
        a.enabled = true;
        a.layouts = {{"One", {{0, 0, 1, 1}}}, {"Two columns", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}}};
        a.active_layout = "Two columns";
        ScreenLayout b;
        b.id = "B";
        b.enabled = true;
        b.layouts = {{"L0", {{0, 0, 1, 1}}}, {"L1", {{0, 0, 1, 1}}}};
        b.active_layout = "L0";
        settings.screens = {a, b};
    }
    RemoteState state(bool running, bool shown = true) const {
        RemoteState s(settings);
        s.screens = screens;
        s.zone_table = table;
        s.running = running;
        s.zones_shown = shown;
        s.working_screen = "A";
        s.shared = [](const std::string& id, size_t zone) { return id == "A" && zone == 0; };
        s.any_share = true;
        s.version = "1.3.19";
        return s;
    }
};

RemoteCommand cmd(A a, std::string name = {}, size_t zone = 0, std::optional<std::string> on = {}) {
    return {a, std::move(name), zone, std::move(on)};
}

TEST(RemoteDecision, WhatEachCommandDoes) {
    struct Case {
        RemoteCommand command;
        bool running;
        C code;
        E effect;
        std::string line;
        size_t screen = 0, layout = 0;
    };
    const Case cases[] = {
        {cmd(A::Start), false, C::Done, E::StartEngine, "Tilewright started."},
        {cmd(A::Start), true, C::Done, E::None, "Tilewright is already running."},
        {cmd(A::Stop), true, C::Done, E::StopEngine, "Tilewright stopped."},
        {cmd(A::Stop), false, C::Done, E::None, "Tilewright is already stopped."},
        {cmd(A::Toggle), true, C::Done, E::StopEngine, "Tilewright stopped."},
        {cmd(A::Toggle), false, C::Done, E::StartEngine, "Tilewright started."},
        {cmd(A::ZonesShow), false, C::Refused, E::None, "Tilewright is stopped."},
        {cmd(A::ZonesShow), true, C::Done, E::None, "Zones shown."},
        {cmd(A::ZonesHide), true, C::Done, E::ToggleZones, "Zones hidden."},
        {cmd(A::ZonesToggle), true, C::Done, E::ToggleZones, "Zones hidden."},
        {cmd(A::Layout, "One"), false, C::Done, E::ApplyLayout, "Layout \"One\" applied on Left.", 0, 0},
        {cmd(A::Layout, "one"), true, C::Refused, E::None, "Left has no layout named \"one\"."},
        {cmd(A::Layout, "L1", 0, "B"), true, C::Done, E::ApplyLayout, "Layout \"L1\" applied on Same.", 1, 1},
        {cmd(A::Layout, "One", 0, "Left"), true, C::Done, E::ApplyLayout, "Layout \"One\" applied on Left.", 0, 0},
        {cmd(A::Layout, "L1", 0, "Same"), true, C::Refused, E::None,
         "More than one screen is named \"Same\": name it by its id."},
        {cmd(A::Layout, "L1", 0, "left"), true, C::Refused, E::None, "No screen has the id or name \"left\"."},
        {cmd(A::Layout, "L1", 0, "C"), true, C::Refused, E::None, "Same has no layouts."},
        {cmd(A::LayoutNext), true, C::Done, E::ApplyLayout, "Layout \"One\" applied on Left.", 0, 0},  // wraps
        {cmd(A::LayoutNext, "", 0, "B"), true, C::Done, E::ApplyLayout, "Layout \"L1\" applied on Same.", 1, 1},
        {cmd(A::MoveLeft), true, C::Done, E::Move, "Moved the foreground window left."},
        {cmd(A::MoveDown), false, C::Refused, E::None, "Tilewright is stopped."},
        {cmd(A::ExtendUp), true, C::Done, E::Extend, "Extended the foreground window up."},
        {cmd(A::ExtendLeft), false, C::Refused, E::None, "Tilewright is stopped."},
        {cmd(A::Share, "", 2), false, C::Done, E::ShareZone, "Sharing zone 2 of Left."},
        {cmd(A::Share, "", 1), true, C::Done, E::None, "Zone 1 of Left is already shared."},
        {cmd(A::Share, "", 3), true, C::Refused, E::None, "Left has no zone 3."},
        {cmd(A::Share, "", 1, "C"), true, C::Refused, E::None, "Same has no zone 1."},
        {cmd(A::ShareStop), true, C::Done, E::StopShares, "Every zone share stopped."},
        {cmd(A::Show), false, C::Done, E::ShowMain, "Main window shown."},
        {cmd(A::Exit), true, C::Done, E::Exit, "Tilewright exits."},
    };
    const World w;
    for (const Case& c : cases) {
        const RemoteOutcome o = decide_remote_command(c.command, w.state(c.running));
        const std::string what = testing::PrintToString(static_cast<int>(c.command.action)) + " " + c.line;
        EXPECT_EQ(o.code, c.code) << what;
        EXPECT_EQ(o.effect, c.effect) << what;
        EXPECT_EQ(o.line, c.line) << what;
        if (o.effect == E::ApplyLayout) {
            EXPECT_EQ(o.screen, c.screen) << what;
            EXPECT_EQ(o.layout, c.layout) << what;
        }
    }
}

TEST(RemoteDecision, RefusalsThatDependOnTheState) {
    World w;
    RemoteState s = w.state(false);
    s.zone_table = {};
    EXPECT_EQ(decide_remote_command(cmd(A::Start), s).code, C::Refused);
    EXPECT_EQ(decide_remote_command(cmd(A::Start), s).line, "No enabled screen has zones.");
    s.working_screen = std::nullopt;
    EXPECT_EQ(decide_remote_command(cmd(A::Layout, "One"), s).line, "No screen to act on.");
    s.working_screen = "unplugged";
    EXPECT_EQ(decide_remote_command(cmd(A::Share, "", 1), s).code, C::Refused);
    s.any_share = false;
    EXPECT_EQ(decide_remote_command(cmd(A::ShareStop), s).effect, E::None);
    const RemoteOutcome share = decide_remote_command(cmd(A::Share, "", 2, "A"), w.state(true));
    EXPECT_EQ(share.screen_id, "A");
    EXPECT_EQ(share.zone, 1u);
    EXPECT_EQ(decide_remote_command(cmd(A::MoveUp), w.state(true)).direction, Direction::Up);
    EXPECT_EQ(decide_remote_command(cmd(A::ExtendDown), w.state(true)).direction, Direction::Down);
    // An active name that matches no layout: "next" is the first, as for the cycle hotkey.
    w.settings.screens[1].active_layout = "gone";
    EXPECT_EQ(decide_remote_command(cmd(A::LayoutNext, "", 0, "B"), w.state(true)).layout, 0u);
}

TEST(RemoteDecision, StatusIsOneLineOfJson) {
    World w;
    w.settings.screens[1].enabled = false;
    w.settings.screens[1].active_layout = "gone";
    w.settings.screens[1].layouts[0].name = "Quote \" back\\slash \x01 tab\t";
    w.screens[2].name = "Name\xFF";
    EXPECT_EQ(remote_status_json(w.state(true, false)),
              "{\"version\":\"1.3.19\",\"running\":true,\"zones_shown\":false,\"screens\":["
              "{\"id\":\"A\",\"name\":\"Left\",\"enabled\":true,\"active_layout\":\"Two columns\","
              "\"layouts\":[\"One\",\"Two columns\"]},"
              "{\"id\":\"B\",\"name\":\"Same\",\"enabled\":false,"
              "\"active_layout\":\"Quote \\\" back\\\\slash \\u0001 tab\\u0009\","
              "\"layouts\":[\"Quote \\\" back\\\\slash \\u0001 tab\\u0009\",\"L1\"]},"
              "{\"id\":\"C\",\"name\":\"Name\xEF\xBF\xBD\",\"enabled\":false,\"active_layout\":null,\"layouts\":[]}]}");
    // Zones count as shown only while the engine runs; status is the answer's whole line.
    const RemoteOutcome o = decide_remote_command(cmd(A::Status), w.state(false, true));
    EXPECT_NE(o.line.find("\"running\":false,\"zones_shown\":false"), std::string::npos);
    EXPECT_EQ(o.code, C::Done);
}

}  // namespace
}  // namespace tw
