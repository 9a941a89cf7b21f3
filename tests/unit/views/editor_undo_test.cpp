// The editor's ways back: Undo after a delete, and the question before unsaved changes
// are closed away.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/catalog.h"
#include "core/views/editor_command.h"

namespace tw {
namespace {

using namespace editor_id;

Settings three_layouts(std::string active) {
    Settings s;
    ScreenLayout e = new_screen_layout("S", "Screen");
    e.layouts = {{"A", {{0, 0, 1, 1}}}, {"B", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}}, {"C", {{0, 0, 1, 0.5}, {0, 0.5, 1, 1}}}};
    e.active_layout = std::move(active);
    s.screens = {e};
    s.selected_screen = "S";
    return s;
}

std::vector<std::string> names(const std::vector<Layout>& list) {
    std::vector<std::string> out;
    for (const Layout& l : list) out.push_back(l.name);
    return out;
}

const WidgetItem* item(const EditorView& v, uint64_t id) {
    for (const WidgetItem& w : v.widgets)
        if (w.id == id) return &w;
    return nullptr;
}

// Undo puts each deleted layout back in its place, in both lists, active again when it
// was; deletes come back latest first, and only while the window is open.
TEST(EditorUndo, DeletedLayoutsComeBackWhereTheyWere) {
    struct Case { std::string active; std::vector<size_t> deletes; std::string active_after_delete; bool zones; };
    const Case cases[] = {
        {"B", {1}, "A", true},
        {"A", {1}, "A", false},
        {"C", {0, 1}, "B", false},  // A, then C (now row 1); C is back before A
        {"A", {0, 0, 0}, "", true},  // everything
    };
    for (const Case& c : cases) {
        Settings s = three_layouts(c.active);
        const Settings before = s;
        EditorState st = open_editor_state(s, {}, {0, 0, 1920, 1040});
        EXPECT_EQ(item(build_manage_view(st), kUndo), nullptr);
        for (size_t row : c.deletes) run_editor_command(st, s, kDeleteRow + row);
        EXPECT_EQ(s.screens[0].active_layout, c.active_after_delete) << c.active;
        const EditorView view = build_manage_view(st);
        ASSERT_NE(item(view, kUndo), nullptr) << c.active;
        bool named = false;
        for (const WidgetItem& w : view.widgets)
            named = named || w.text == tr_args("manage.deleted", {{"name", st.deleted.back().name}});
        EXPECT_TRUE(named);
        for (size_t i = 0; i < c.deletes.size(); ++i) {
            const EditorOutcome out = run_editor_command(st, s, kUndo);
            EXPECT_TRUE(out.settings_changed && out.rebuild);
            if (i + 1 == c.deletes.size()) {
                EXPECT_EQ(out.zones_changed, c.zones) << c.active;
            }
        }
        EXPECT_EQ(s, before) << c.active;
        EXPECT_EQ(names(st.layouts), (std::vector<std::string>{"A", "B", "C"}));
        EXPECT_EQ(item(build_manage_view(st), kUndo), nullptr);
        EXPECT_EQ(run_editor_command(st, s, kUndo), EditorOutcome{});
    }
}

// A layout of the deleted one's name that came back another way is not doubled.
TEST(EditorUndo, ANameInUseAgainIsNotBroughtBackTwice) {
    Settings s = three_layouts("A");
    EditorState st = open_editor_state(s, {}, {0, 0, 1920, 1040});
    run_editor_command(st, s, kDeleteRow + 1);
    run_editor_command(st, s, kAdd);
    st.name_field.set_text("B");
    save_layout(st, s);
    EXPECT_TRUE(st.deleted.empty());
    EXPECT_EQ(names(s.screens[0].layouts), (std::vector<std::string>{"A", "C", "B"}));
}

// Escape and ✕ over unsaved changes ask first; the answer saves, discards or goes back.
TEST(EditorUndo, UnsavedChangesAskBeforeClosing) {
    struct Case { std::string what; uint32_t key_or_zero; uint64_t answer; bool closes; std::vector<std::string> after; };
    const Case cases[] = {
        {"Escape, Save", kVkEscape, kPromptSave, true, {"A", "C", "B2"}},
        {"close glyph, Discard", 0, kPromptDiscard, true, {"A", "B", "C"}},
        {"Escape, Keep editing", kVkEscape, kPromptKeepEditing, false, {"A", "B", "C"}},
        {"Escape, Escape", kVkEscape, 0, false, {"A", "B", "C"}},
        {"Escape, Enter", kVkEscape, 1, true, {"A", "C", "B2"}},
    };
    for (const Case& c : cases) {
        Settings s = three_layouts("A");
        EditorState st = open_editor_state(s, {}, {0, 0, 1920, 1040});
        run_editor_command(st, s, kEditRow + 1);
        // Nothing changed yet: the window just closes.
        EditorState untouched = st;
        EXPECT_TRUE(editor_key(untouched, s, kVkEscape, false, 1000).close);
        st.name_field.set_text("B2");
        const EditorOutcome asked =
            c.key_or_zero ? editor_key(st, s, c.key_or_zero, false, 1000) : run_editor_command(st, s, kClose);
        EXPECT_FALSE(asked.close) << c.what;
        EXPECT_TRUE(st.unsaved_prompt);
        const EditorView view = build_edit_view(st, 2000);
        for (const WidgetItem& w : view.widgets)
            if (w.id != 0) {
                EXPECT_EQ(w.enabled != 0, w.id >= kPromptSave && w.id <= kPromptKeepEditing) << w.id;
            }
        EXPECT_EQ(run_editor_command(st, s, kSave), EditorOutcome{});  // only the prompt answers
        const EditorOutcome out = c.answer == 0   ? editor_key(st, s, kVkEscape, false, 1000)
                                  : c.answer == 1 ? editor_key(st, s, kVkReturn, false, 1000)
                                                  : run_editor_command(st, s, c.answer);
        EXPECT_EQ(out.close, c.closes) << c.what;
        EXPECT_FALSE(st.unsaved_prompt) << c.what;
        EXPECT_EQ(names(s.screens[0].layouts), c.after) << c.what;
    }
    // A zone split is a change as well; a name that cannot be stored keeps the window open.
    Settings s = three_layouts("A");
    EditorState st = open_editor_state(s, {}, {0, 0, 1920, 1040});
    run_editor_command(st, s, kAdd);
    EXPECT_FALSE(has_unsaved_changes(st));
    st.grid = split_cell(st.grid, 0, false);
    EXPECT_TRUE(has_unsaved_changes(st));
    request_close(st);
    const EditorOutcome refused = run_editor_command(st, s, kPromptSave);
    EXPECT_FALSE(refused.close);
    EXPECT_EQ(st.error, tr("edit.error_name_empty"));
}

}  // namespace
}  // namespace tw
