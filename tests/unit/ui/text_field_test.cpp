#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ui/text_field.h"
#include "core/ui/widgets.h"
#include "support/recording_canvas.h"
#include "support/theme_guard.h"

namespace tw {
namespace {

using test::DrawCall;
using test::RecordingCanvas;
using test::ThemeGuard;
using Op = DrawCall::Op;

TextField field_with(std::string_view text, size_t anchor, size_t caret) {
    TextField f(text);
    f.set_caret(anchor, false);
    f.set_caret(caret, true);
    return f;
}

struct EditCase {
    const char* name;
    const char* text;
    size_t anchor, caret;
    std::function<void(TextField&)> edit;
    const char* result;
    size_t new_anchor, new_caret;
};

TEST(TextField, EditsAndSelection) {
    const std::vector<EditCase> cases = {
        {"type at caret", "ac", 1, 1, [](TextField& f) { f.insert_text("b"); }, "abc", 2, 2},
        {"typing replaces the selection", "hello", 1, 4, [](TextField& f) { f.insert_text("EY"); },
         "hEYo", 3, 3},
        {"controls dropped", "", 0, 0, [](TextField& f) { f.insert_text("a\tb\r\n\x7F\xC2\x85" "c"); },
         "abc", 3, 3},
        {"emoji is one character", "ab", 1, 1, [](TextField& f) { f.insert_text("\xF0\x9F\x98\x80"); },
         "a\xF0\x9F\x98\x80" "b", 2, 2},
        {"left collapses a selection to its start", "hello", 4, 1, [](TextField& f) { f.move_left(false); },
         "hello", 1, 1},
        {"left collapses a backward selection", "hello", 1, 4, [](TextField& f) { f.move_left(false); },
         "hello", 1, 1},
        {"left moves", "hello", 3, 3, [](TextField& f) { f.move_left(false); }, "hello", 2, 2},
        {"left at start", "hello", 0, 0, [](TextField& f) { f.move_left(false); }, "hello", 0, 0},
        {"shift left extends", "hello", 3, 3, [](TextField& f) { f.move_left(true); }, "hello", 3, 2},
        {"right collapses to the end", "hello", 4, 1, [](TextField& f) { f.move_right(false); },
         "hello", 4, 4},
        {"right at end", "hi", 2, 2, [](TextField& f) { f.move_right(false); }, "hi", 2, 2},
        {"shift right extends", "hi", 0, 0, [](TextField& f) { f.move_right(true); }, "hi", 0, 1},
        {"shift right at end", "hi", 0, 2, [](TextField& f) { f.move_right(true); }, "hi", 0, 2},
        {"home", "hello", 3, 3, [](TextField& f) { f.home(false); }, "hello", 0, 0},
        {"shift home", "hello", 3, 3, [](TextField& f) { f.home(true); }, "hello", 3, 0},
        {"end", "hello", 1, 1, [](TextField& f) { f.end(false); }, "hello", 5, 5},
        {"shift end", "hello", 1, 1, [](TextField& f) { f.end(true); }, "hello", 1, 5},
        {"backspace", "hello", 3, 3, [](TextField& f) { f.backspace(); }, "helo", 2, 2},
        {"backspace at start", "hello", 0, 0, [](TextField& f) { f.backspace(); }, "hello", 0, 0},
        {"backspace deletes the selection only", "hello", 1, 3, [](TextField& f) { f.backspace(); },
         "hlo", 1, 1},
        {"backspace over emoji", "a\xF0\x9F\x98\x80", 2, 2, [](TextField& f) { f.backspace(); }, "a", 1, 1},
        {"delete", "hello", 1, 1, [](TextField& f) { f.delete_forward(); }, "hllo", 1, 1},
        {"delete at end", "hi", 2, 2, [](TextField& f) { f.delete_forward(); }, "hi", 2, 2},
        {"delete selection", "hello", 4, 2, [](TextField& f) { f.delete_forward(); }, "heo", 2, 2},
        {"select all", "hello", 2, 2, [](TextField& f) { f.select_all(); }, "hello", 0, 5},
        {"caret clamps", "hi", 0, 0, [](TextField& f) { f.set_caret(99, false); }, "hi", 2, 2},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        TextField f = field_with(c.text, c.anchor, c.caret);
        c.edit(f);
        EXPECT_EQ(f.text(), c.result);
        EXPECT_EQ(f.anchor(), c.new_anchor);
        EXPECT_EQ(f.caret(), c.new_caret);
    }
}

TEST(TextField, DeleteSelectionReportsWhetherItRemovedAnything) {
    TextField f = field_with("hello", 1, 1);
    EXPECT_FALSE(f.delete_selection());
    f = field_with("hello", 4, 1);
    EXPECT_EQ(f.selected_text(), "ell");
    EXPECT_TRUE(f.delete_selection());
    EXPECT_EQ(f.text(), "ho");
    EXPECT_EQ(f.selected_text(), "");
}

TEST(TextField, SetTextReplacesBrokenUtf8) {
    TextField f("a\xFF" "b");
    EXPECT_EQ(f.chars(), (std::u32string{U'a', kReplacementChar, U'b'}));
    EXPECT_EQ(f.caret(), 3u);
    EXPECT_EQ(f.text(), "a\xEF\xBF\xBD" "b");
}

TEST(TextField, PasteTrimsAndFilters) {
    struct Case { const char* clip; bool inserted; const char* result; size_t caret; };
    const Case cases[] = {
        {"  abc\r\n", true, "xabcz", 4},
        {"a\tb\nc", true, "xabcz", 4},
        {"   \r\n\t", false, "xYz", 2},
        {"", false, "xYz", 2},
        {"\x01\x02", false, "xYz", 2},
        {" \x01 ", false, "xYz", 2},
        {"\xC2\xA0" "q\xE3\x80\x80", true, "xqz", 2},  // no-break and ideographic spaces trimmed
        {"\xF0\x9F\x98\x80", true, "x\xF0\x9F\x98\x80z", 2},
        {"\xFF", true, "x\xEF\xBF\xBDz", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clip);
        TextField f = field_with("xYz", 1, 2);  // "Y" selected
        EXPECT_EQ(f.paste(c.clip), c.inserted);
        EXPECT_EQ(f.text(), c.result);
        EXPECT_EQ(f.caret(), c.caret);
        if (!c.inserted) {
            EXPECT_EQ(f.anchor(), 1u);  // selection kept
        }
    }
}

TEST(TextFieldKeys, KeyMapping) {
    struct Case { uint32_t key; bool shift, ctrl; FieldKeyAction action; };
    const Case cases[] = {
        {vk::kLeft, false, false, {FieldEdit::MoveLeft, false}},
        {vk::kLeft, true, false, {FieldEdit::MoveLeft, true}},
        {vk::kRight, true, true, {FieldEdit::MoveRight, true}},
        {vk::kHome, false, false, {FieldEdit::Home, false}},
        {vk::kEnd, true, false, {FieldEdit::End, true}},
        {vk::kBack, false, false, {FieldEdit::Backspace, false}},
        {vk::kDelete, true, false, {FieldEdit::DeleteForward, false}},
        {'A', false, true, {FieldEdit::SelectAll, false}},
        {'A', false, false, {}},
        {'C', false, true, {FieldEdit::Copy, false}},
        {'X', false, true, {FieldEdit::Cut, false}},
        {'V', false, true, {FieldEdit::Paste, false}},
        {'V', false, false, {}},
        {vk::kInsert, true, false, {FieldEdit::Paste, false}},
        {vk::kInsert, false, false, {}},
        {0x09, false, false, {}},  // Tab belongs to the window
        {0x0D, false, false, {}},
        {0x1B, false, false, {}},
        {'E', false, true, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(map_field_key(c.key, c.shift, c.ctrl), c.action)
            << c.key << " shift " << c.shift << " ctrl " << c.ctrl;
    }
}

TEST(TextFieldKeys, ClipboardRequests) {
    TextField f = field_with("hello", 1, 4);
    FieldKeyResult r = apply_field_key(f, 'C', false, true);
    EXPECT_TRUE(r.handled);
    EXPECT_EQ(r.copy, std::optional<std::string>("ell"));
    EXPECT_EQ(f.text(), "hello");

    r = apply_field_key(f, 'X', false, true);
    EXPECT_EQ(r.copy, std::optional<std::string>("ell"));
    EXPECT_EQ(f.text(), "ho");

    r = apply_field_key(f, 'C', false, true);  // nothing selected: nothing copied
    EXPECT_TRUE(r.handled);
    EXPECT_FALSE(r.copy.has_value());
    r = apply_field_key(f, 'X', false, true);
    EXPECT_FALSE(r.copy.has_value());
    EXPECT_EQ(f.text(), "ho");

    r = apply_field_key(f, vk::kInsert, true, false);
    EXPECT_TRUE(r.paste);
    EXPECT_EQ(f.text(), "ho");

    r = apply_field_key(f, vk::kLeft, true, false);
    EXPECT_TRUE(r.handled);
    EXPECT_EQ(f.caret(), 0u);
    EXPECT_EQ(f.anchor(), 1u);
    EXPECT_FALSE(apply_field_key(f, 'Q', false, false).handled);
}

TEST(TextFieldKeys, CharacterRule) {
    struct Case { uint32_t code; bool ctrl, alt; std::optional<char32_t> typed; };
    const Case cases[] = {
        {'e', false, false, U'e'},
        {0x20AC, true, true, U'\u20AC'},     // Ctrl+Alt+E (AltGr) types the euro sign
        {0x05, true, false, std::nullopt},   // Ctrl+E
        {'e', true, false, std::nullopt},
        {'e', false, true, U'e'},
        {0x08, false, false, std::nullopt},  // backspace arrives as a character too
        {0x1B, false, false, std::nullopt},
        {0x1F, false, false, std::nullopt},
        {0x20, false, false, U' '},
        {0xD83D, false, false, std::nullopt},
        {0xDE00, false, false, std::nullopt},
        {0xE9, false, false, U'\u00E9'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(field_char(c.code, c.ctrl, c.alt), c.typed) << c.code;
    }
}

// Field 100 wide: text area 80, available 78, so 11 characters of 7 DIPs fit.
constexpr RectF kField{0, 0, 100, 30};

TEST(TextFieldScroll, ShowsTheStartWhileItFitsElseKeepsTheCaretAtTheRight) {
    RecordingCanvas measure;
    TextField f("abcdefghijklmnopqrst");  // 20 characters
    struct Case { size_t caret; size_t scroll; };
    for (const Case& c : {Case{20, 9}, Case{11, 0}, Case{12, 1}, Case{5, 0}, Case{0, 0}}) {
        f.set_caret(c.caret, false);
        EXPECT_EQ(f.scroll(measure, kField), c.scroll) << c.caret;
    }
    TextField empty;
    EXPECT_EQ(empty.scroll(measure, kField), 0u);
    // A field too narrow for a single character keeps the caret's own index.
    f.set_caret(4, false);
    EXPECT_EQ(f.scroll(measure, RectF{0, 0, 25, 30}), 4u);
}

TEST(TextFieldScroll, DrawnTextFollowsTheCaretAndComesBackAtHome) {
    ThemeGuard theme(false);
    TextField f("abcdefghijklmnopqrst");
    RecordingCanvas canvas;
    f.draw(canvas, kField, true, true);
    EXPECT_EQ(canvas.texts().at(0).text, "jklmnopqrst");
    const DrawCall caret = canvas.of(Op::FillRect).back();
    EXPECT_EQ(caret.rect, (RectF{10 + 77, 5, 10 + 79, 25}));

    f.home(false);
    canvas.clear();
    f.draw(canvas, kField, true, true);
    EXPECT_EQ(canvas.texts().at(0).text, "abcdefghijklmnopqrst");
    EXPECT_EQ(canvas.of(Op::FillRect).back().rect, (RectF{10, 5, 12, 25}));
}

TEST(TextFieldMouse, CaretFromXWithMeasurer) {
    RecordingCanvas measure;
    const RectF field{0, 0, 200, 30};
    TextField f("abcdefghij");  // 7 DIPs each
    f.set_caret(0, false);
    struct Case { float x; size_t index; };
    const Case cases[] = {
        {10 + 17, 2},    // widths 14 and 21: 14 is nearer
        {10 + 10.5f, 1}, // 7 and 14 equally near: the first wins
        {10 + 3, 0},
        {0, 0},          // left of the text area
        {1000, 10},      // past the end
        {10 + 70, 10},
    };
    for (const Case& c : cases) EXPECT_EQ(f.caret_from_x(field, c.x, &measure), c.index) << c.x;

    // Scrolled: positions count from the first visible character.
    TextField g("abcdefghijklmnopqrst");
    EXPECT_EQ(g.caret_from_x(kField, 10, &measure), 9u);
    EXPECT_EQ(g.caret_from_x(kField, 10 + 14, &measure), 11u);
}

TEST(TextFieldMouse, CaretFromXWithoutMeasurerCountsNineDipsPerCharacter) {
    struct Case { float field_right; size_t length, caret; float x; size_t index; };
    const Case cases[] = {
        {200, 10, 0, 10 + 27, 3},
        {200, 10, 0, 10 + 13, 1},
        {200, 10, 0, 10 + 14, 2},
        {200, 10, 0, -50, 0},
        {200, 10, 0, 2000, 10},
        {110, 40, 30, 10 + 18, 22},  // 10 visible: starts at caret - 10
        {110, 40, 5, 10 + 18, 2},
        {15, 40, 30, 10, 29},        // no room: one character counts as visible
    };
    for (const Case& c : cases) {
        TextField f(std::string(c.length, 'x'));
        f.set_caret(c.caret, false);
        EXPECT_EQ(f.caret_from_x({0, 0, c.field_right, 30}, c.x, nullptr), c.index)
            << c.field_right << " " << c.caret << " " << c.x;
    }
}

TEST(TextFieldDraw, BackgroundOutlineSelectionTextAndCaret) {
    ThemeGuard theme(true);
    const RectF field{20, 40, 220, 68};
    TextField f = field_with("hello world", 2, 5);
    RecordingCanvas canvas;
    f.draw(canvas, field, true, true);

    const auto rounded = canvas.of(Op::FillRoundedRect);
    ASSERT_EQ(rounded.size(), 1u);
    EXPECT_EQ(rounded[0].rect, field);
    EXPECT_FLOAT_EQ(rounded[0].radius, 6);
    EXPECT_EQ(rounded[0].brush.color0, color_from_rgb(0x201C2B));
    EXPECT_FLOAT_EQ(rounded[0].brush.opacity, 0.1f);

    const auto outline = canvas.of(Op::StrokeRoundedRect);
    ASSERT_EQ(outline.size(), 1u);
    EXPECT_FLOAT_EQ(outline[0].radius, 6);
    EXPECT_FLOAT_EQ(outline[0].stroke, 1);
    EXPECT_EQ(outline[0].brush.color0, color_from_rgb(kDefaultAccent));
    EXPECT_FLOAT_EQ(outline[0].brush.opacity, 0.9f);

    const auto plain = canvas.of(Op::FillRect);
    ASSERT_EQ(plain.size(), 2u);  // selection, caret
    EXPECT_EQ(plain[0].rect, (RectF{30 + 14, 44, 30 + 35, 64}));
    EXPECT_EQ(plain[0].brush.kind, Brush::Kind::Gradient);
    EXPECT_FLOAT_EQ(plain[0].brush.opacity, 0.45f);
    EXPECT_EQ(plain[1].rect, (RectF{30 + 35, 45, 30 + 37, 63}));
    EXPECT_FLOAT_EQ(plain[1].brush.opacity, 0.95f);

    const DrawCall text = canvas.texts().at(0);
    EXPECT_EQ(text.text, "hello world");
    EXPECT_EQ(text.rect, (RectF{30, 40, 210, 68}));
    EXPECT_EQ(text.format, TextFormat::Label);
    EXPECT_TRUE(text.clip);
    EXPECT_FLOAT_EQ(text.brush.opacity, 0.95f);
}

TEST(TextFieldDraw, FocusAndBlinkDecideOutlineAndCaret) {
    struct Case { bool focused, visible; size_t strokes, plain; };
    for (const Case& c : {Case{false, true, 0, 0}, Case{true, false, 1, 0}, Case{true, true, 1, 1}}) {
        TextField f("abc");
        RecordingCanvas canvas;
        f.draw(canvas, kField, c.focused, c.visible);
        EXPECT_EQ(canvas.of(Op::StrokeRoundedRect).size(), c.strokes);
        EXPECT_EQ(canvas.of(Op::FillRect).size(), c.plain);
    }
}

TEST(TextFieldDraw, SelectionClampedToTheVisibleTextAndNarrowFieldDrawsOnlyItsBox) {
    TextField f = field_with("abcdefghijklmnopqrst", 2, 20);  // starts left of the scroll (9)
    RecordingCanvas canvas;
    f.draw(canvas, kField, false, false);
    const auto band = canvas.of(Op::FillRect);
    ASSERT_EQ(band.size(), 1u);
    EXPECT_EQ(band[0].rect, (RectF{10, 4, 10 + 77, 26}));

    // Selection wholly right of a field showing nothing beyond its edge.
    f = field_with("abcdefghijklmnopqrst", 19, 20);
    canvas.clear();
    f.draw(canvas, RectF{0, 0, 40, 30}, true, true);  // area 20: scroll 18, two characters
    const auto clipped = canvas.of(Op::FillRect);
    ASSERT_EQ(clipped.size(), 2u);
    EXPECT_EQ(clipped[0].rect, (RectF{17, 4, 24, 26}));

    canvas.clear();
    f.draw(canvas, RectF{0, 0, 20, 30}, true, true);
    EXPECT_EQ(canvas.calls.size(), 2u);  // background and outline only
    EXPECT_TRUE(canvas.texts().empty());
}

}  // namespace
}  // namespace tw
