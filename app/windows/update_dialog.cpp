#include "app/windows/update_dialog.h"

#include <string>

#include "app/app_state.h"
#include "app/engine/screens_win.h"
#include "app/net/update_service.h"
#include "app/platform/wide_text.h"
#include "app/windows/dialog_frame.h"
#include "core/base/log.h"
#include "core/base/log_text.h"
#include "core/model/catalog.h"
#include "core/model/usage.h"
#include "core/net/changelog.h"
#include "core/views/dialog_views.h"

namespace tw::app {

namespace {

// Posted to the dialog when the download it started has failed: it rebuilds to say so.
constexpr UINT kMsgDownloadFailed = WM_APP + 1;

// The prepared changelog's height when wrapped at the measuring width, with the
// dialog font (pixels of a 96-DPI font, so DIPs).
int32_t measure_changelog(const AppState& state, const std::string& text) {
    HDC dc = GetDC(nullptr);
    if (!dc) return 0;
    HGDIOBJ font = state.ui_font ? static_cast<HGDIOBJ>(state.ui_font) : GetStockObject(DEFAULT_GUI_FONT);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, kChangelogMeasureWidth, 0};
    const std::wstring wide = utf8_to_wide(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return r.bottom - r.top;
}

// The height of the main window's work area in DIPs.
int32_t work_area_height_dips(HWND main) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    HMONITOR monitor = main ? MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST)
                            : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (!GetMonitorInfoW(monitor, &mi)) return primary_work_area().height();
    const double scale = main ? scale_for_window(main) : 1.0;
    return static_cast<int32_t>((mi.rcWork.bottom - mi.rcWork.top) / scale);
}

class UpdateDialog final : public DialogFrame {
public:
    UpdateDialog(AppState& app, const UpdateInfo& info, bool ready, std::string changelog, int32_t height)
        : DialogFrame(app), info_(info), ready_(ready), changelog_(std::move(changelog)), height_(height) {}

protected:
    std::vector<WidgetItem> build(int32_t width, int32_t, TextMeasure* measure) override {
        UpdateViewInput in{info_.version, changelog_, height_, width, measure};
        in.download_failed = !ready_ && app_.net.update_download_failed;
        return build_update_view(in);
    }

    bool message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (msg != kMsgDownloadFailed) return DialogFrame::message(msg, wp, lp, result);
        rebuild();
        result = 0;
        return true;
    }

    void command(uint64_t id) override {
        switch (id) {
        case update_id::kInstall: enter(); return;
        case update_id::kSkip:
            app_.settings.skipped_update_version = info_.version;
            save_settings(app_.settings);
            log("update: version " + log_text(info_.version) + " skipped");
            close();
            return;
        case update_id::kLater:
            // Until the next daily check: a restart meanwhile does not bring it back.
            app_.settings.update_later_at = unix_time_now();
            save_settings(app_.settings);
            close();
            return;
        case update_id::kCloseGlyph: close(); return;
        default: return;
        }
    }

    // Install: download and verify first; once that is done the service opens the
    // dialog again, ready, and Install runs the verified installer and ends the program.
    void enter() override {
        if (!ready_) {
            EnableWindow(hwnd(), FALSE);
            start_update_download(app_, info_);
            rebuild();  // no longer says that an earlier download failed
            return;
        }
        if (launch_verified_installer(app_, info_)) {
            HWND main = app_.main;
            close();
            if (main) PostMessageW(main, WM_CLOSE, 0, 0);
            return;
        }
        // The file is gone or no longer verifies: nothing ran; Install downloads anew.
        ready_ = false;
    }

    void destroyed() override { app_.update_dialog = nullptr; }

private:
    UpdateInfo info_;
    bool ready_;
    std::string changelog_;
    int32_t height_;
};

}  // namespace

void open_update_dialog(AppState& state, const UpdateInfo& info, bool installer_ready) {
    if (state.update_dialog) {
        if (!installer_ready) {
            SetForegroundWindow(state.update_dialog);
            return;
        }
        DestroyWindow(state.update_dialog);
    }
    std::string changelog = prepare_changelog(info.changelog);
    const UpdateDialogHeight height =
        update_dialog_height(measure_changelog(state, changelog), work_area_height_dips(state.main));
    const std::string title = tr("update.title");
    HWND hwnd = DialogFrame::create(
        std::make_unique<UpdateDialog>(state, info, installer_ready, std::move(changelog), height.changelog),
        state.instance, state.main, {L"TilewrightUpdate", title, kUpdateWidth, height.window});
    if (!hwnd) return;
    state.update_dialog = hwnd;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
}

void open_offered_update_dialog(AppState& state) {
    if (state.update_dialog)
        SetForegroundWindow(state.update_dialog);
    else
        open_known_update(state);
}

void enable_update_dialog(AppState& state) {
    if (!state.update_dialog) return;
    EnableWindow(state.update_dialog, TRUE);
    PostMessageW(state.update_dialog, kMsgDownloadFailed, 0, 0);
}

UpdateInfo test_update_offer() {
    UpdateInfo info;
    info.version = "9.9.9";
    for (int n = 1; n <= 20; ++n) {
        if (n > 1) info.changelog += '\n';
        info.changelog += "- Test changelog line " + std::to_string(n) +
                          " \u2014 enough text to word-wrap across more than one line, so the dialog has to "
                          "grow to fit it.";
    }
    return info;
}

}  // namespace tw::app
