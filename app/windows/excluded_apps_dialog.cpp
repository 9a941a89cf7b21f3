#include "app/windows/excluded_apps_dialog.h"

#include <windows.h>

#include <string>

#include "app/app_state.h"
#include "app/engine/screens_win.h"
#include "app/toolkit/caret_blink.h"
#include "app/toolkit/clipboard.h"
#include "app/windows/dialog_frame.h"
#include "core/base/log.h"
#include "core/model/catalog.h"
#include "core/model/last_zones.h"
#include "core/views/excluded_apps_view.h"

namespace tw::app {

namespace {

constexpr UINT_PTR kExcludedCaretTimer = 9;

bool key_down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

class ExcludedAppsDialog final : public DialogFrame {
public:
    explicit ExcludedAppsDialog(AppState& app) : DialogFrame(app) {}

protected:
    void opened() override { caret_.start(hwnd()); }

    std::vector<WidgetItem> build(int32_t width, int32_t, TextMeasure*) override {
        return build_excluded_apps_view(app_.settings.excluded_apps, state_, width);
    }

    void draw_over(Canvas& canvas) override {
        state_.field.draw(canvas, to_rectf(excluded_field_rect(width())), true, caret_.visible());
    }

    void command(uint64_t id) override {
        const ExcludedOutcome out = excluded_apps_command(id, app_.settings.excluded_apps, state_);
        if (out.open_running) state_.running = running_applications(app_.desktop);
        if (out.list_changed) changed();
        if (out.close) {
            close();
            return;
        }
        rebuild();
    }

    void enter() override { command(excluded_id::kAdd); }

    void escape() override {
        if (!state_.running_open) {
            close();
            return;
        }
        state_.running_open = false;
        rebuild();
    }

    bool message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        result = 0;
        switch (msg) {
        case WM_LBUTTONDOWN: return press(mouse_dips(lp));
        case WM_MOUSEMOVE:
            if (!state_.selecting_text) return false;
            place_caret(mouse_dips(lp), true);
            return true;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (!state_.selecting_text) return false;
            state_.selecting_text = false;
            if (msg == WM_LBUTTONUP) ReleaseCapture();
            return true;
        case WM_MOUSEWHEEL:
            if (excluded_apps_wheel(app_.settings.excluded_apps, state_, GET_WHEEL_DELTA_WPARAM(wp)))
                rebuild();
            return true;
        case WM_KEYDOWN: return key(static_cast<uint32_t>(wp));
        case WM_CHAR:
            if (auto c = field_char(static_cast<uint32_t>(wp), key_down(VK_CONTROL), key_down(VK_MENU))) {
                state_.field.insert_chars(std::u32string(1, *c));
                edited();
            }
            return true;
        case WM_TIMER: return caret_.on_timer(hwnd(), wp);
        default: return false;
        }
    }

    void dpi_changed(UINT dpi, const RECT&) override {
        fit_window(hwnd(), kExcludedWidth, kExcludedHeight, dpi / 96.0);
    }

    void destroyed() override { caret_.stop(hwnd()); }

private:
    int32_t width() const { return client_width_dips(); }

    // Applied to the engine at once and saved.
    void changed() {
        save_settings(app_.settings);
        apply_app_rules(app_);
        log("excluded_apps: " + std::to_string(app_.settings.excluded_apps.size()) +
            " applications left alone");
    }

    bool press(Point p) {
        const auto hit = item_at(p);
        if (!hit || widgets_[*hit].id != excluded_id::kField) return false;  // the usual press
        if (state_.running_open) {
            state_.running_open = false;
            rebuild();
        }
        SetFocus(hwnd());
        SetCapture(hwnd());
        state_.selecting_text = true;
        place_caret(p, false);
        return true;
    }

    void place_caret(Point p, bool extend) {
        const size_t index = state_.field.caret_from_x(to_rectf(excluded_field_rect(width())),
                                                       static_cast<float>(p.x), renderer());
        if (index == state_.field.caret() && extend) return;
        state_.field.set_caret(index, extend);
        caret_.start(hwnd());
        rebuild();
    }

    bool key(uint32_t vk) {
        if (vk == VK_ESCAPE || vk == VK_RETURN) return false;  // the frame's: escape, enter
        const FieldKeyResult r = apply_field_key(state_.field, vk, key_down(VK_SHIFT), key_down(VK_CONTROL));
        if (r.copy) copy_to_clipboard(hwnd(), *r.copy);
        if (r.paste) {
            if (auto text = read_clipboard(hwnd())) state_.field.paste(*text);
        }
        if (r.handled) edited();
        return r.handled;
    }

    void edited() {
        caret_.start(hwnd());
        rebuild();
    }

    ExcludedAppsState state_;
    CaretBlink caret_{kExcludedCaretTimer};
};

}  // namespace

void start_app_rules(AppState& state) {
    if (auto path = last_zones_path()) {
        state.engine->last_zones().memory() = load_last_zones(*path);
        state.engine->last_zones().set_persist([p = *path](const LastZones& zones) {
            if (!save_last_zones(p, zones)) log("last_zone: last-zones.txt could not be written");
        });
    }
    apply_app_rules(state);
}

void apply_app_rules(AppState& state) {
    if (!state.engine) return;
    state.engine->set_app_rules(state.settings.excluded_apps, state.settings.open_in_last_zone);
}

void open_excluded_apps_dialog(AppState& state) {
    const std::string title = tr("excluded.title");
    DialogFrame::open(state, state.excluded_apps_dialog, std::make_unique<ExcludedAppsDialog>(state),
                      {L"TilewrightExcludedApps", title, kExcludedWidth, kExcludedHeight},
                      DialogFrame::Modality::Modal);
}

}  // namespace tw::app
