#pragma once
// The small dialogs' shared frame and the About and update dialogs' content, as pure
// functions: placement, caption strip, widget lists, the update dialog's height and
// the contact link.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/geometry.h"
#include "core/ui/canvas.h"
#include "core/ui/widgets.h"

namespace tw {

// --- the frame every dialog shares ---------------------------------------------------

inline constexpr int32_t kCaptionHeight = 40;

// The title text and the close glyph of the caption strip.
void add_dialog_caption(std::vector<WidgetItem>& items, int32_t width, std::string_view title,
                        uint64_t close_id);
// A point (DIPs) drags the window when it lies in the caption strip over no clickable
// widget.
bool is_caption_point(const std::vector<WidgetItem>& items, int32_t x, int32_t y);
// Top-left corner of a window of the given pixel size: centred in the work area, then
// kept inside it; when the window is larger, its left and top edges stay on the work
// area's.
Point dialog_origin(const Rect& work, int32_t width, int32_t height);

// --- About -------------------------------------------------------------------------

namespace about_id {
inline constexpr uint64_t kWebsite = 740;
inline constexpr uint64_t kClose = 741;
inline constexpr uint64_t kCloseGlyph = 742;
inline constexpr uint64_t kContact = 743;
}  // namespace about_id

inline constexpr int32_t kAboutWidth = 530;
inline constexpr int32_t kAboutHeight = 478;

struct AboutViewInput {
    std::string version_line;
    std::string usage_line;
    std::string website;
    int32_t width = kAboutWidth;
    TextMeasure* measure = nullptr;  // none: widths are estimated
};
std::vector<WidgetItem> build_about_view(const AboutViewInput& in);

// "Version 1.3.19 · 03/10/2026", or without the date when it cannot be formatted.
std::string about_version_line(std::string_view version, const std::optional<std::string>& date);
// "Used 12 times since ...", or without the date when there is none.
std::string about_usage_line(uint64_t count, const std::optional<std::string>& date);

// The contact link: "mailto:" + address (as it is) + "?subject=" + subject + "&body=" +
// body, subject and body percent-encoded after their line ends became CR LF.
std::string mailto_link(std::string_view address, std::string_view subject, std::string_view body);
// CR LF and lone CR become LF, then every LF becomes CR LF.
std::string crlf_line_ends(std::string_view text);
inline constexpr std::string_view kFeedbackSubject = "Tilewright feedback";
inline constexpr std::string_view kFeedbackBody =
    "Found a bug, want to suggest something? Want to hire us or collaborate? Share your "
    "love or hate message? Do it here:\n\n";

// --- update offer ------------------------------------------------------------------

namespace update_id {
inline constexpr uint64_t kInstall = 401;
inline constexpr uint64_t kLater = 402;
inline constexpr uint64_t kSkip = 403;
inline constexpr uint64_t kCloseGlyph = 404;
}  // namespace update_id

inline constexpr int32_t kUpdateWidth = 460;
// The width the changelog is measured in (narrower than its area, for safety).
inline constexpr int32_t kChangelogMeasureWidth = 392;

struct UpdateDialogHeight {
    int32_t window = 0;     // the dialog's height
    int32_t changelog = 0;  // the changelog area's height
    friend bool operator==(const UpdateDialogHeight&, const UpdateDialogHeight&) = default;
};
// From the measured height of the prepared changelog: a tenth more (at least 16) and
// at least 60 for the text; the window wants 160 more, but never more than the work
// area's height less 100 (220 on a work area lower than 321), and the changelog area
// gives up what the window could not have.
UpdateDialogHeight update_dialog_height(int32_t measured_text, int32_t work_area_height);

struct UpdateViewInput {
    std::string version;
    std::string changelog;  // prepared
    int32_t changelog_height = 60;
    int32_t width = kUpdateWidth;
    TextMeasure* measure = nullptr;
    bool download_failed = false;  // the heading says so, and Install tries again
};
std::vector<WidgetItem> build_update_view(const UpdateViewInput& in);

}  // namespace tw
