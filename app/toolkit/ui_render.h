#pragma once
// The Direct2D/DirectWrite renderer of a drawn window: two factories, one HWND render
// target created at the monitor's DPI, and the eight text formats. It implements the
// Canvas the widget painter draws on; every coordinate is in DIPs.
// The core headers come before <windows.h>, whose "near" and "far" macros would
// otherwise rewrite their declarations.
#include "core/ui/canvas.h"
#include "core/ui/widgets.h"

#include <windows.h>

#include <d2d1.h>
#include <dwrite.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/platform/com_ptr.h"
#include "app/platform/system_library.h"

namespace tw::app {

// MonitorFromWindow (nearest) + GetDpiForMonitor (effective DPI) when that gives a
// non-zero value, else GetDpiForWindow when non-zero, else 96.
unsigned dpi_for_window(HWND hwnd);
// dpi_for_window / 96.
float scale_for_window(HWND hwnd);

// The logical (DIP) size of a client area: the pixel size itself when the scale is
// exactly 1, else each side divided by the scale and rounded to the nearest integer.
struct LogicalSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const LogicalSize&, const LogicalSize&) = default;
};
LogicalSize logical_size(int pixel_width, int pixel_height, float scale);

// Which font family a text format uses. DirectWrite accepts any family name when a
// format is created, but a family that is not installed then measures 0 and draws
// nothing, so the choice is made against what the system has: the first installed
// family of `wanted`; else the system's message font; else the first installed of
// `common` (widespread sans-serif faces); else the first family the system has.
// `fallback` is set when the choice is not from `wanted`; empty when nothing fits.
struct FamilyChoice {
    std::wstring family;
    bool fallback = false;
    friend bool operator==(const FamilyChoice&, const FamilyChoice&) = default;
};
FamilyChoice choose_font_family(const std::vector<std::wstring>& wanted,
                                const std::function<bool(const std::wstring&)>& installed,
                                const std::wstring& message_font,
                                const std::vector<std::wstring>& common,
                                const std::wstring& first_installed);

class Renderer final : public Canvas {
public:
    // Sees the real EndDraw result and returns the one the frame acts on. Only tests
    // install one, to stand in for a lost device that cannot be provoked on purpose.
    using EndDrawFilter = std::function<HRESULT(HRESULT)>;

    // Pixel size of the client area. Logs the failing call and returns nothing when
    // any part cannot be made; everything made so far is released.
    static std::unique_ptr<Renderer> create(HWND hwnd, UINT pixel_width, UINT pixel_height);
    ~Renderer() override;

    // How long each step of create took, in milliseconds: where a window's first frame
    // waits (the first Direct2D and DirectWrite use of a process loads their libraries).
    struct CreationTimes {
        double d2d_factory = 0, dwrite_factory = 0, target = 0, text_formats = 0;
    };
    const CreationTimes& creation_times() const { return times_; }
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    void resize(UINT pixel_width, UINT pixel_height);

    // One frame of a widget list: background, items, focus ring, then `overlay` (what
    // the window draws over its items, such as its text fields). False exactly when
    // the target is lost and the renderer has to be rebuilt.
    bool paint(const std::vector<WidgetItem>& items, std::optional<size_t> focus,
               const std::vector<LayoutPreview>& previews, float width, float height,
               const std::function<void(Canvas&)>& overlay = {});
    // BeginDraw, `draw`, EndDraw; same result rule as paint.
    bool draw_frame(const std::function<void(Canvas&)>& draw);

    // Brushes made for one shape; nothing (and a log line) when Direct2D refuses.
    ComPtr<ID2D1Brush> solid_brush(const ColorF& color, float opacity);
    ComPtr<ID2D1Brush> gradient_brush(PointF from, PointF to, const ColorF& color0,
                                      const ColorF& color1, float opacity);
    // Top-left to bottom-right, from `accent` to darker_accent(accent).
    ComPtr<ID2D1Brush> accent_gradient_brush(const RectF& r, float opacity, uint32_t accent);

    // Canvas
    void fill_rect(const RectF& r, const Brush& b) override;
    void fill_rounded_rect(const RectF& r, float radius, const Brush& b) override;
    void stroke_rounded_rect(const RectF& r, float radius, const Brush& b,
                             float stroke_width) override;
    void draw_text(std::string_view utf8, const RectF& r, TextFormat format, const Brush& b,
                   bool clip) override;
    void push_clip(const RectF& r) override;
    void pop_clip() override;
    float measure_text_width(std::string_view utf8, TextFormat format) override;

    // The family each format was created with, and the DPI of the target.
    const std::wstring& family(TextFormat format) const;
    float dpi() const { return dpi_; }
    D2D1_SIZE_U pixel_size() const { return target_->GetPixelSize(); }
    IDWriteFactory* dwrite_factory() const { return dwrite_.get(); }

    void set_end_draw_filter(EndDrawFilter filter) { end_draw_filter_ = std::move(filter); }

private:
    Renderer() = default;
    CreationTimes times_;
    ComPtr<ID2D1Brush> make_brush(const Brush& b);
    IDWriteTextFormat* format(TextFormat f) const;
    bool create_text_formats();

    // Declared in creation order so that members are released in reverse order: the
    // libraries last. They are loaded with the first drawn window rather than at
    // start, so that a program started into the tray does not carry them.
    SystemLibrary d2d_library_{L"d2d1.dll"};
    SystemLibrary dwrite_library_{L"dwrite.dll"};
    ComPtr<ID2D1Factory> d2d_;
    ComPtr<IDWriteFactory> dwrite_;
    ComPtr<ID2D1HwndRenderTarget> target_;
    std::array<ComPtr<IDWriteTextFormat>, kTextFormatCount> formats_;
    std::array<std::wstring, kTextFormatCount> families_;
    float dpi_ = 96;
    int clip_depth_ = 0;
    EndDrawFilter end_draw_filter_;
};

}  // namespace tw::app
