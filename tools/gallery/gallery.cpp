// Widget gallery: every widget kind in the dark theme (left window) and the light theme
// (right window), plus a focused text field, drawn by the real renderer. A developer
// tool for looking at the toolkit and for the screenshot checks of tools/gallery.sh;
// not part of the program.
//
//   gallery.exe [--exit-after-paint MS]
//
// Prints "gallery: painted" once both windows have drawn a frame; with
// --exit-after-paint it closes itself that many milliseconds later.
#include "app/toolkit/drawn_window.h"
#include "app/toolkit/ui_render.h"
#include "core/ui/text_field.h"
#include "core/ui/theme.h"
#include "core/ui/widgets.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using tw::LayoutPreview;
using tw::Rect;
using tw::WidgetItem;
using tw::app::DrawnWindow;
using tw::app::LogicalSize;
using tw::app::Renderer;

constexpr int kWidth = 640;   // each window, pixels at 96 DPI
constexpr int kHeight = 900;
constexpr UINT_PTR kExitTimer = 1;

// Where the text field lies; a kind 18 hit target marks the same rectangle.
constexpr Rect kFieldRect{352, 640, 616, 672};

struct GalleryWindow {
    bool light = false;
    std::optional<tw::SystemColors> contrast;  // --high-contrast: the system's colours
    DrawnWindow drawn;
    std::vector<WidgetItem> items;
    std::vector<LayoutPreview> previews;
    std::optional<size_t> focus;
    tw::TextField field{"Zone width 1280 px \xE2\x80\x94 \xC3\xA9t\xC3\xA9"};
    int frames = 0;
};

GalleryWindow g_windows[2];
bool g_announced = false;
UINT g_exit_after_ms = 0;

WidgetItem& add(std::vector<WidgetItem>& items, uint64_t id, uint8_t kind, Rect r,
                const char* text = "") {
    return tw::push_item(items, id, kind, r, text);
}

std::vector<LayoutPreview> gallery_previews() {
    return {
        {"Columns", "3 zones", {{0, 0, 0.25, 1}, {0.25, 0, 0.75, 1}, {0.75, 0, 1, 1}}, true},
        {"Grid", "4 zones", {{0, 0, 0.5, 0.5}, {0.5, 0, 1, 0.5}, {0, 0.5, 0.5, 1}, {0.5, 0.5, 1, 1}},
         false},
    };
}

// Every kind from 0 to 31 with some of its states. Left column x 24..304 on a kind 0
// card, right column x 352..616 on a kind 24 card.
void build(GalleryWindow& w) {
    auto& v = w.items;
    v.clear();
    add(v, 0, 0, {8, 8, 320, 892});
    add(v, 0, 24, {336, 8, 632, 892});

    add(v, 0, 1, {24, 24, 304, 44}, "Label (1)");
    add(v, 0, 2, {24, 48, 304, 68}, "Right-aligned label (2)");
    add(v, 0, 3, {24, 72, 304, 112},
        "Paragraph (3): wraps over several lines and is clipped to its rectangle when too long.");
    add(v, 0, 4, {24, 116, 304, 152}, "Centred paragraph (4)");
    add(v, 0, 5, {24, 156, 304, 192}, "Error paragraph (5)");
    add(v, 0, 6, {24, 196, 304, 216}, "Error label (6)");
    add(v, 1, 7, {24, 220, 304, 240}, "Link (7)");
    add(v, 2, 8, {24, 244, 304, 264}, "Accent label (8)");
    add(v, 3, 9, {24, 268, 304, 288}, "Accent right label (9)");
    add(v, 4, 10, {24, 292, 304, 324}, "Toggle row, on (10)").on = 1;
    add(v, 5, 10, {24, 328, 304, 360}, "Toggle row, off, hovered").hovered = 1;
    add(v, 6, 10, {24, 364, 304, 396}, "Toggle row, disabled").enabled = 0;

    const size_t primary = v.size();
    add(v, 7, 11, {24, 400, 144, 434}, "Primary");
    add(v, 8, 11, {152, 400, 272, 434}, "Danger").on = 1;
    add(v, 9, 11, {24, 440, 144, 474}, "Disabled").enabled = 0;
    add(v, 10, 12, {152, 440, 272, 474}, "Success (12)");
    add(v, 11, 13, {24, 480, 144, 514}, "Secondary");
    add(v, 12, 13, {152, 480, 272, 514}, "Pressed").pressed = 1;
    add(v, 13, 14, {24, 520, 304, 552}, "Dropdown field (14)");
    add(v, 0, 15, {24, 556, 304, 656});
    add(v, 14, 16, {24, 560, 304, 590}, "Menu row, on (16)").on = 1;
    add(v, 15, 16, {24, 592, 304, 622}, "Menu row, hovered").hovered = 1;
    add(v, 16, 16, {24, 624, 304, 654}, "Menu row whose text is far too long for one line");
    add(v, 0, 31, {297, 564, 300, 604});  // the list's scroll thumb
    add(v, 17, 17, {24, 664, 56, 696}, "\xE2\x9C\x95");
    add(v, 114, 17, {64, 664, 96, 696}, "\xE2\x9C\x95").hovered = 1;
    add(v, 18, 17, {104, 664, 136, 696}, "\xE2\x9C\x95").pressed = 1;
    add(v, 19, 25, {144, 664, 176, 696}, "\xE2\x9C\x95");
    add(v, 20, 25, {184, 664, 216, 696}, "\xE2\x9C\x95").hovered = 1;
    add(v, 21, 18, {24, 704, 104, 736});   // hit targets: nothing drawn
    add(v, 0, 19, {112, 704, 192, 736});
    add(v, 22, 20, {200, 704, 280, 736});
    add(v, 0, 1, {24, 740, 304, 760}, "Kinds 18, 19, 20 above draw nothing");

    auto& chosen = add(v, 30, 21, {352, 24, 472, 112});
    chosen.selected = 1;
    chosen.strong = 1;
    chosen.preview = 0;
    auto& other = add(v, 31, 21, {488, 24, 608, 112});
    other.preview = 1;
    other.hovered = 1;
    auto& big = add(v, 32, 22, {352, 124, 472, 160}, "Columns");
    big.selected = 1;
    big.strong = 1;
    add(v, 33, 22, {488, 124, 608, 160}, "Grid").strong = 1;
    add(v, 0, 23, {352, 172, 616, 312}).preview = 0;
    add(v, 0, 23, {352, 320, 472, 400}).preview = 1;
    add(v, 0, 23, {488, 320, 608, 400}).preview = 99;  // out of range: skipped

    const uint32_t swatches[] = {tw::kDefaultAccent, 0x3B82F6, 0x22C55E, 0xF59E0B, 0xEF4444, 0xF5F5F5};
    for (int i = 0; i < 6; ++i) {
        auto& s = add(v, 40 + static_cast<uint64_t>(i), 26, {352 + 44 * i, 412, 384 + 44 * i, 444});
        s.color = swatches[i];
        s.selected = i == 0;
        s.hovered = i == 5;
    }
    add(v, 50, 27, {352, 460, 616, 476}).color = tw::theme_state().accent;
    add(v, 0, 28, {352, 488, 480, 524}).color = 0xF5F5F5;
    add(v, 0, 28, {488, 488, 616, 524}).color = 0x1E3A8A;
    add(v, 0, 30, {352, 540, 616, 576});
    const char* segments[] = {"Dark", "Light", "Auto"};
    for (int i = 0; i < 3; ++i) {
        auto& s = add(v, 60 + static_cast<uint64_t>(i), 29, {352 + 88 * i, 540, 440 + 88 * i, 576},
                      segments[i]);
        s.selected = i == 0;
        s.hovered = i == 1;
    }
    add(v, 0, 1, {352, 612, 616, 632}, "Text field, focused, with a selection:");
    add(v, 70, 18, kFieldRect);
    w.focus = primary;
}

void announce_when_ready(HWND hwnd) {
    if (g_announced || g_windows[0].frames == 0 || g_windows[1].frames == 0) return;
    g_announced = true;
    std::printf("gallery: painted\n");
    std::fflush(stdout);
    if (g_exit_after_ms) SetTimer(hwnd, kExitTimer, g_exit_after_ms, nullptr);
}

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* w = reinterpret_cast<GalleryWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        break;
    case WM_PAINT:
        if (!w) break;
        // The theme is process-wide; each window shows its own for the length of a frame.
        tw::theme_state().light = w->light;
        tw::set_high_contrast(tw::theme_state(), tw::kDefaultAccent, w->contrast);
        w->drawn.on_paint(
            hwnd, [w](Renderer&, LogicalSize) { build(*w); },
            [w](Renderer& r, LogicalSize size) {
                const bool kept = r.paint(w->items, w->focus, w->previews,
                                          static_cast<float>(size.width),
                                          static_cast<float>(size.height), [w](tw::Canvas& c) {
                                              w->field.draw(c, tw::to_rectf(kFieldRect), true, true);
                                          });
                ++w->frames;
                return kept;
            });
        announce_when_ready(hwnd);
        return 0;
    case WM_SIZE:
        if (w) w->drawn.on_size(lp);
        return 0;
    case WM_TIMER:
        if (wp == kExitTimer) PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
    bool high_contrast = false;
    for (int i = 1; i < argc; ++i) {
        if (i + 1 < argc && std::strcmp(argv[i], "--exit-after-paint") == 0) {
            g_exit_after_ms = static_cast<UINT>(std::strtoul(argv[i + 1], nullptr, 10));
        }
        // High contrast: white on black (left) and black on white (right).
        if (std::strcmp(argv[i], "--high-contrast") == 0) high_contrast = true;
    }
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"TilewrightGallery";
    if (!RegisterClassExW(&wc)) return 1;

    const wchar_t* titles[] = {L"Gallery (dark)", L"Gallery (light)"};
    for (int i = 0; i < 2; ++i) {
        GalleryWindow& w = g_windows[i];
        w.light = i == 1;
        if (high_contrast && i == 0) w.contrast = tw::SystemColors{};
        if (high_contrast && i == 1)
            w.contrast = tw::SystemColors{0xFFFFFF, 0x000000, 0x37006E, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x600000, 0x00009F};
        w.previews = gallery_previews();
        // Select the middle of the text and leave the caret at its end.
        w.field.set_caret(6, false);
        w.field.set_caret(11, true);
        HWND hwnd = CreateWindowExW(0, wc.lpszClassName, titles[i], WS_POPUP | WS_VISIBLE,
                                    i * kWidth, 0, kWidth, kHeight, nullptr, nullptr,
                                    wc.hInstance, &w);
        if (!hwnd) return 1;
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
