#include "app/windows/color_dialog.h"

#include <string>

#include "app/app_state.h"
#include "app/engine/screens_win.h"
#include "app/toolkit/caret_blink.h"
#include "app/toolkit/clipboard.h"
#include "app/windows/dialog_frame.h"
#include "app/windows/theme_win.h"
#include "core/base/log.h"
#include "core/base/sys/sys.h"
#include "core/model/catalog.h"
#include "core/views/color_view.h"

namespace tw::app {

namespace {

bool key_down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// After a cancelled dialog: if anything saved the settings while a trial colour was
// in force (a hotkey that cycles the layout, say), the file is written again so that
// it never keeps a colour the user did not confirm.
void keep_file_in_step(const Settings& settings) {
    const auto path = settings_path();
    if (!path) return;
    const sys::FileBytes disk = sys::read_whole_file(*path);
    if (disk.bytes && *disk.bytes != serialize_settings(settings)) save_settings(settings);
}

class ColorDialog final : public DialogFrame {
public:
    explicit ColorDialog(AppState& app)
        : DialogFrame(app), state_(open_color_state(app.settings.accent_color)) {}

protected:
    void opened() override { caret_.start(hwnd()); }

    std::vector<WidgetItem> build(int32_t width, int32_t, TextMeasure*) override {
        return build_color_view(state_, width);
    }

    void draw_over(Canvas& canvas) override {
        paint_hex_field(canvas, state_, caret_.visible());
    }

    void command(uint64_t id) override {
        if (id >= color_id::kFirstPreset && id < color_id::kFirstPreset + kColorPresets.size()) {
            show(choose_color(state_, kColorPresets[id - color_id::kFirstPreset]));
        } else if (id == color_id::kDone) {
            enter();
        } else if (id == color_id::kCancel || id == color_id::kCloseGlyph) {
            close();
        }
    }

    void enter() override {
        if (refuse_invalid_hex(state_)) {  // the field says so; the dialog stays
            log("color: \"" + state_.hex.text() + "\" is not a colour; the dialog stays open");
            rebuild();
            return;
        }
        show(commit_hex_field(state_));
        state_.done = true;
        close();
    }

    bool message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        result = 0;
        switch (msg) {
        case WM_LBUTTONDOWN: return press(mouse_dips(lp));
        case WM_MOUSEMOVE:
            if (state_.dragging_hue) {
                show(choose_color(state_, hue_to_color(hue_at(mouse_dips(lp).x, width()))));
                return true;
            }
            if (state_.selecting_text) {
                place_caret(mouse_dips(lp), true);
                return true;
            }
            return false;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (!state_.dragging_hue && !state_.selecting_text) return false;
            state_.dragging_hue = state_.selecting_text = false;
            if (msg == WM_LBUTTONUP) ReleaseCapture();
            return true;
        case WM_KEYDOWN: return key(static_cast<uint32_t>(wp));
        case WM_CHAR:
            if (auto c = field_char(static_cast<uint32_t>(wp), key_down(VK_CONTROL), key_down(VK_MENU))) {
                state_.hex.insert_chars(std::u32string(1, *c));
                edited();
            }
            return true;
        case WM_TIMER: return caret_.on_timer(hwnd(), wp);
        default: return false;
        }
    }

    void dpi_changed(UINT dpi, const RECT&) override {
        fit_window(hwnd(), kColorWidth, kColorHeight, dpi / 96.0);
    }

    void destroyed() override {
        caret_.stop(hwnd());
        AppState& app = app_;
        const ColorDialogOutcome outcome = color_dialog_outcome(state_);
        change_accent(app, outcome.color, outcome.save);
        if (outcome.save)
            log("color: accent colour " + format_hex_color(outcome.color) + " saved");
        else
            keep_file_in_step(app.settings);
    }

private:
    int32_t width() const { return client_width_dips(); }

    // A new colour goes to the whole program at once, unsaved; the field shows it.
    void show(bool changed) {
        if (changed) change_accent(app_, state_.shown, false);
        rebuild();
    }

    bool press(Point p) {
        const auto hit = item_at(p);
        const uint64_t id = hit ? widgets_[*hit].id : 0;
        if (id != color_id::kHue && id != color_id::kHex) return false;  // buttons: the usual press
        SetFocus(hwnd());
        SetCapture(hwnd());
        if (id == color_id::kHue) {
            state_.dragging_hue = true;
            show(choose_color(state_, hue_to_color(hue_at(p.x, width()))));
        } else {
            state_.selecting_text = true;
            place_caret(p, false);
        }
        return true;
    }

    void place_caret(Point p, bool extend) {
        const size_t index = state_.hex.caret_from_x(to_rectf(hex_field_rect()), static_cast<float>(p.x),
                                                     renderer());
        if (index == state_.hex.caret() && extend) return;
        state_.hex.set_caret(index, extend);
        caret_.start(hwnd());
    }

    bool key(uint32_t vk) {
        if (vk == VK_ESCAPE || vk == VK_RETURN) return false;  // the frame's: close, Done
        const FieldKeyResult r = apply_field_key(state_.hex, vk, key_down(VK_SHIFT), key_down(VK_CONTROL));
        if (r.copy) copy_to_clipboard(hwnd(), *r.copy);
        if (r.paste) {
            if (auto text = read_clipboard(hwnd())) state_.hex.paste(*text);
        }
        if (r.handled) edited();
        return r.handled;
    }

    // The field changed: a complete colour shows at once; the caret shows.
    void edited() {
        state_.refused = false;
        if (preview_typed_color(state_)) change_accent(app_, state_.shown, false);
        caret_.start(hwnd());
        rebuild();
    }

    ColorDialogState state_;
    CaretBlink caret_{kColorDialogCaretTimer};
};

}  // namespace

void open_color_dialog(AppState& state) {
    const std::string title = tr("color.title");
    DialogFrame::open(state, state.color_dialog, std::make_unique<ColorDialog>(state),
                      {L"TilewrightColor", title, kColorWidth, kColorHeight}, DialogFrame::Modality::Modal);
}

}  // namespace tw::app
