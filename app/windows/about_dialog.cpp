#include "app/windows/about_dialog.h"

#include <shellapi.h>

#include <string>

#include "app/app_state.h"
#include "app/platform/wide_text.h"
#include "app/windows/dialog_frame.h"
#include "app/net/deployment.h"
#include "core/base/log.h"
#include "core/model/catalog.h"
#include "core/views/dialog_views.h"
#include "version.h"

namespace tw::app {

namespace {

// The date of a moment in local time, written out: the formatter shows its input as it
// is, so the moment is moved by the local offset of that day first.
std::optional<std::string> local_date(uint64_t unix_seconds) {
    const uint64_t utc = unix_seconds_to_file_time(unix_seconds);
    FILETIME ft{static_cast<DWORD>(utc & 0xFFFFFFFFu), static_cast<DWORD>(utc >> 32)};
    FILETIME local{};
    if (!FileTimeToLocalFileTime(&ft, &local)) return format_long_date(unix_seconds);
    const uint64_t shifted = (uint64_t{local.dwHighDateTime} << 32) | local.dwLowDateTime;
    const int64_t offset = (static_cast<int64_t>(shifted) - static_cast<int64_t>(utc)) / 10000000;
    return format_long_date(static_cast<uint64_t>(static_cast<int64_t>(unix_seconds) + offset));
}

void open_target(const std::string& target) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", utf8_to_wide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // Values of 32 and below are errors.
    if (result <= 32) log("about: ShellExecuteW failed (" + std::to_string(result) + ") for " + target);
}

class AboutDialog final : public DialogFrame {
public:
    explicit AboutDialog(AppState& app) : DialogFrame(app) {}

protected:
    std::vector<WidgetItem> build(int32_t width, int32_t, TextMeasure* measure) override {
        AboutViewInput in;
        in.version_line = about_version_line(TW_VERSION_STRING, format_long_date(TW_RELEASE_DATE));
        const uint64_t since = app_.usage.since();
        in.usage_line = about_usage_line(app_.usage.count(), since ? local_date(since) : std::nullopt);
        in.website = std::string(product_website());
        in.width = width;
        in.measure = measure;
        return build_about_view(in);
    }

    void command(uint64_t id) override {
        switch (id) {
        case about_id::kWebsite: open_target(std::string(product_website())); return;
        case about_id::kContact:
            open_target(mailto_link(contact_address(), kFeedbackSubject, kFeedbackBody));
            return;
        case about_id::kClose:
        case about_id::kCloseGlyph: close(); return;
        default: return;
        }
    }
};

}  // namespace

void open_about_dialog(AppState& state) {
    const std::string title = tr("about.title");
    DialogFrame::open(state, state.about_dialog, std::make_unique<AboutDialog>(state),
                      {L"TilewrightAbout", title, kAboutWidth, kAboutHeight},
                      DialogFrame::Modality::Modeless);
}

}  // namespace tw::app
