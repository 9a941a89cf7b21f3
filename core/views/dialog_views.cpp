#include "core/views/dialog_views.h"

#include <algorithm>

#include "core/base/text_util.h"
#include "core/model/catalog.h"
#include "core/views/main_view.h"

namespace tw {

void add_dialog_caption(std::vector<WidgetItem>& items, int32_t width, std::string_view title,
                        uint64_t close_id) {
    push_item(items, 0, 1, {16, 0, width - 40, kCaptionHeight}, title);
    push_item(items, close_id, 17, {width - 40, 0, width, kCaptionHeight}, "\u2715");
}

bool is_caption_point(const std::vector<WidgetItem>& items, int32_t x, int32_t y) {
    return y < kCaptionHeight && !hit_test(items, x, y);
}

Point dialog_origin(const Rect& work, int32_t width, int32_t height) {
    // 64-bit: a work area far out in the virtual screen must not overflow the sums.
    auto axis = [](int64_t lo, int64_t hi, int64_t size) {
        const int64_t centred = lo + (hi - lo - size) / 2;
        return static_cast<int32_t>(std::max(lo, std::min(centred, hi - size)));
    };
    return {axis(work.left, work.right, width), axis(work.top, work.bottom, height)};
}

// --- About -------------------------------------------------------------------------

std::vector<WidgetItem> build_about_view(const AboutViewInput& in) {
    const int32_t W = in.width;
    std::vector<WidgetItem> items;
    add_dialog_caption(items, W, tr("about.title"), about_id::kCloseGlyph);
    push_item(items, 0, 0, {16, 48, W - 16, 416});
    push_item(items, 0, 1, {28, 64, W - 28, 86}, tr("about.app_name"));
    push_item(items, 0, 2, {28, 64, W - 28, 86}, in.version_line);
    push_item(items, 0, 3, {28, 96, W - 28, 152}, tr("about.story"));
    push_item(items, 0, 1, {28, 160, W - 28, 178}, tr("about.features_heading") + ":");
    for (int32_t i = 1; i <= 7; ++i) {
        const std::string key = "about.feature_" + std::to_string(i);
        push_item(items, 0, 1, {28, 162 + 20 * i, W - 28, 182 + 20 * i}, "\u2022  " + tr(key));
    }
    push_item(items, 0, 1, {28, 330, W - 28, 348}, tr("about.closing"));
    push_item(items, 0, 1, {28, 358, W - 28, 376}, tr("about.credit"));
    const int32_t link = main_text_width(in.measure, in.website);
    push_item(items, about_id::kWebsite, 7, {28, 386, 28 + link + 6, 404}, in.website);
    push_item(items, 0, 1, {link + 42, 386, W - 28, 404}, in.usage_line);
    push_item(items, about_id::kContact, 11, {16, 432, 146, 462}, tr("about.contact_button"));
    push_item(items, about_id::kClose, 13, {W - 128, 432, W - 16, 462}, tr("common.close"));
    return items;
}

std::string about_version_line(std::string_view version, const std::optional<std::string>& date) {
    if (!date) return tr_args("about.version_line_no_date", {{"version", version}});
    return tr_args("about.version_line", {{"version", version}, {"date", *date}});
}

std::string about_usage_line(uint64_t count, const std::optional<std::string>& date) {
    const std::string n = std::to_string(count);
    if (!date) return tr_args("about.used_count_no_date", {{"count", n}});
    return tr_args("about.used_count", {{"count", n}, {"date", *date}});
}

std::string crlf_line_ends(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string mailto_link(std::string_view address, std::string_view subject, std::string_view body) {
    return "mailto:" + std::string(address) + "?subject=" + percent_encode(crlf_line_ends(subject)) +
           "&body=" + percent_encode(crlf_line_ends(body));
}

// --- update offer ------------------------------------------------------------------

UpdateDialogHeight update_dialog_height(int32_t measured_text, int32_t work_area_height) {
    int64_t t = std::max<int64_t>(0, measured_text);
    t += std::max<int64_t>(16, t / 10);
    t = std::max<int64_t>(t, 60);
    const int64_t wanted = t + 160;
    const int64_t available = work_area_height >= 321 ? int64_t{work_area_height} - 100 : 220;
    const int64_t window = std::min(wanted, available);
    return {static_cast<int32_t>(window), static_cast<int32_t>(t - (wanted - window))};
}

std::vector<WidgetItem> build_update_view(const UpdateViewInput& in) {
    const int32_t W = in.width;
    const int32_t h = in.changelog_height;
    std::vector<WidgetItem> items;
    add_dialog_caption(items, W, tr("update.title"), update_id::kCloseGlyph);
    push_item(items, 0, 0, {16, 48, W - 16, h + 98});
    push_item(items, 0, 1, {28, 58, W - 28, 78},
              in.download_failed ? tr("update.download_failed")
                                 : tr_args("update.heading_available", {{"version", in.version}}));
    push_item(items, 0, 3, {28, 86, W - 28, h + 86}, in.changelog);
    const int32_t top = h + 114, bottom = h + 144;
    const std::string install = tr("update.install_button");
    const std::string skip = tr("update.skip_button");
    const std::string later = tr("update.later_button");
    push_item(items, update_id::kInstall, 11,
              {16, top, std::max(main_text_width(in.measure, install), 62) + 44, bottom}, install);
    const int32_t skip_left = W - 28 - (std::max(main_text_width(in.measure, skip), 86) + 24);
    push_item(items, update_id::kSkip, 13, {skip_left, top, W - 28, bottom}, skip);
    const int32_t later_right = skip_left - 12;
    push_item(items, update_id::kLater, 13,
              {later_right - (std::max(main_text_width(in.measure, later), 46) + 24), top, later_right, bottom},
              later);
    return items;
}

}  // namespace tw
