#include "app/toolkit/ui_render.h"

#include <shellscalingapi.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <set>

#include "app/platform/wide_text.h"
#include "core/base/color.h"
#include "core/base/log.h"

namespace tw::app {
namespace {

constexpr HRESULT kRecreateTarget = static_cast<HRESULT>(0x8899000CUL);

void log_failure(const char* call, HRESULT hr) {
    log(std::string("ui_render: ") + call + " failed " + hr_text(hr));
}

D2D1_COLOR_F d2d_color(const ColorF& c) { return {c.r, c.g, c.b, c.a}; }
D2D1_RECT_F d2d_rect(const RectF& r) { return {r.left, r.top, r.right, r.bottom}; }
D2D1_ROUNDED_RECT d2d_rounded(const RectF& r, float radius) {
    return {d2d_rect(r), radius, radius};
}
D2D1_BRUSH_PROPERTIES brush_properties(float opacity) {
    return {opacity, D2D1_MATRIX_3X2_F{1, 0, 0, 1, 0, 0}};
}

// The two family lists of the formats: the UI face and the monospaced face.
const std::vector<std::wstring>& ui_families() {
    static const std::vector<std::wstring> list{L"Segoe UI Variable Text", L"Segoe UI"};
    return list;
}
const std::vector<std::wstring>& mono_families() {
    static const std::vector<std::wstring> list{L"Consolas", L"Segoe UI"};
    return list;
}
// Where neither the wanted faces nor the message font exist (Wine reports the alias
// "MS Shell Dlg"), a plain sans-serif face still reads like the rest of the system.
// DejaVu Sans comes before Liberation Sans because it also has the symbols the widgets
// draw ("✕", "▾", "☀", "◐"), and this renderer does no per-glyph font fallback.
const std::vector<std::wstring>& common_sans_families() {
    static const std::vector<std::wstring> list{L"Tahoma",      L"Arial",       L"Verdana",
                                                L"DejaVu Sans", L"Liberation Sans",
                                                L"Noto Sans",   L"Nimbus Sans"};
    return list;
}

// Says once per process which face stands in, not at every renderer creation.
void log_fallback_once(const std::string& line) {
    static std::set<std::string> logged;
    if (logged.insert(line).second) log(line);
}

struct FormatSpec {
    bool mono;
    DWRITE_FONT_WEIGHT weight;
    DWRITE_TEXT_ALIGNMENT text_align;
    DWRITE_PARAGRAPH_ALIGNMENT para_align;
    bool wrap;
};

// In TextFormat order.
constexpr std::array<FormatSpec, kTextFormatCount> kFormats{{
    {false, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_TEXT_ALIGNMENT_LEADING, DWRITE_PARAGRAPH_ALIGNMENT_NEAR, false},
    {false, DWRITE_FONT_WEIGHT_SEMI_BOLD, DWRITE_TEXT_ALIGNMENT_LEADING, DWRITE_PARAGRAPH_ALIGNMENT_NEAR, false},
    {false, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_TEXT_ALIGNMENT_CENTER, DWRITE_PARAGRAPH_ALIGNMENT_CENTER, false},
    {false, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_TEXT_ALIGNMENT_LEADING, DWRITE_PARAGRAPH_ALIGNMENT_CENTER, false},
    {false, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_TEXT_ALIGNMENT_TRAILING, DWRITE_PARAGRAPH_ALIGNMENT_CENTER, false},
    {true, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_TEXT_ALIGNMENT_LEADING, DWRITE_PARAGRAPH_ALIGNMENT_CENTER, false},
    {false, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_TEXT_ALIGNMENT_LEADING, DWRITE_PARAGRAPH_ALIGNMENT_NEAR, true},
    {false, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_TEXT_ALIGNMENT_LEADING, DWRITE_PARAGRAPH_ALIGNMENT_CENTER, true},
}};

std::wstring message_font_family() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
    return metrics.lfMessageFont.lfFaceName;
}

std::wstring first_family_name(IDWriteFontCollection* collection) {
    if (collection->GetFontFamilyCount() == 0) return {};
    ComPtr<IDWriteFontFamily> family;
    if (FAILED(collection->GetFontFamily(0, family.put()))) return {};
    ComPtr<IDWriteLocalizedStrings> names;
    if (FAILED(family->GetFamilyNames(names.put())) || names->GetCount() == 0) return {};
    UINT32 index = 0;
    BOOL exists = FALSE;
    if (FAILED(names->FindLocaleName(L"en-us", &index, &exists)) || !exists) index = 0;
    UINT32 length = 0;
    if (FAILED(names->GetStringLength(index, &length))) return {};
    std::wstring name(length + 1, L'\0');
    if (FAILED(names->GetString(index, name.data(), length + 1))) return {};
    name.resize(length);
    return name;
}

std::string quoted_list(const std::vector<std::wstring>& names) {
    std::string out;
    for (const auto& n : names) {
        if (!out.empty()) out += ", ";
        out += "\"" + wide_to_utf8(n) + "\"";
    }
    return out;
}

// The families to try for one list, best first: the installed choice, then the list
// itself (used as it stands when the system collection cannot be read).
std::vector<std::wstring> family_candidates(const std::vector<std::wstring>& wanted,
                                            IDWriteFontCollection* collection) {
    if (!collection) return wanted;
    auto installed = [collection](const std::wstring& name) {
        UINT32 index = 0;
        BOOL exists = FALSE;
        return SUCCEEDED(collection->FindFamilyName(name.c_str(), &index, &exists)) && exists;
    };
    FamilyChoice choice = choose_font_family(wanted, installed, message_font_family(),
                                             common_sans_families(), first_family_name(collection));
    if (choice.family.empty()) return wanted;
    if (choice.fallback) {
        log_fallback_once("ui_render: no font family of " + quoted_list(wanted) +
                          " is installed, using \"" + wide_to_utf8(choice.family) + "\"");
    }
    std::vector<std::wstring> out{choice.family};
    for (const auto& w : wanted) {
        if (w != choice.family) out.push_back(w);
    }
    return out;
}

}  // namespace

unsigned dpi_for_window(HWND hwnd) {
    HMONITOR monitor = MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
    UINT dpi_x = 0;
    UINT dpi_y = 0;
    if (monitor && SUCCEEDED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y)) &&
        dpi_x != 0) {
        return dpi_x;
    }
    if (UINT dpi = GetDpiForWindow(hwnd); dpi != 0) return dpi;
    return 96;
}

float scale_for_window(HWND hwnd) { return static_cast<float>(dpi_for_window(hwnd)) / 96.0f; }

LogicalSize logical_size(int pixel_width, int pixel_height, float scale) {
    if (scale == 1.0f || !(scale > 0.0f)) return {pixel_width, pixel_height};
    return {static_cast<int>(std::lround(static_cast<double>(pixel_width) / scale)),
            static_cast<int>(std::lround(static_cast<double>(pixel_height) / scale))};
}

FamilyChoice choose_font_family(const std::vector<std::wstring>& wanted,
                                const std::function<bool(const std::wstring&)>& installed,
                                const std::wstring& message_font,
                                const std::vector<std::wstring>& common,
                                const std::wstring& first_installed) {
    for (const auto& name : wanted) {
        if (installed(name)) return {name, false};
    }
    if (!message_font.empty() && installed(message_font)) return {message_font, true};
    for (const auto& name : common) {
        if (installed(name)) return {name, true};
    }
    if (!first_installed.empty()) return {first_installed, true};
    return {};
}

std::unique_ptr<Renderer> Renderer::create(HWND hwnd, UINT pixel_width, UINT pixel_height) {
    std::unique_ptr<Renderer> r(new Renderer);
    using Clock = std::chrono::steady_clock;
    Clock::time_point step = Clock::now();
    auto lap = [&step](double& into) {
        const Clock::time_point now = Clock::now();
        into = std::chrono::duration<double, std::milli>(now - step).count();
        step = now;
    };
    // The four-argument form; the header also declares helper overloads.
    using CreateD2dFactory = HRESULT WINAPI(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
    auto* create_d2d = r->d2d_library_.get<CreateD2dFactory>("D2D1CreateFactory");
    auto* create_dwrite = r->dwrite_library_.get<decltype(DWriteCreateFactory)>("DWriteCreateFactory");
    constexpr HRESULT kMissing = SystemLibrary::kMissing;  // a system without them cannot draw
    HRESULT hr = create_d2d ? create_d2d(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                                         reinterpret_cast<void**>(r->d2d_.put()))
                            : kMissing;
    if (FAILED(hr)) {
        log_failure("D2D1CreateFactory", hr);
        return nullptr;
    }
    lap(r->times_.d2d_factory);
    hr = create_dwrite ? create_dwrite(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                       reinterpret_cast<IUnknown**>(r->dwrite_.put()))
                       : kMissing;
    if (FAILED(hr)) {
        log_failure("DWriteCreateFactory", hr);
        return nullptr;
    }
    lap(r->times_.dwrite_factory);
    r->dpi_ = static_cast<float>(dpi_for_window(hwnd));
    D2D1_RENDER_TARGET_PROPERTIES props{};
    props.type = D2D1_RENDER_TARGET_TYPE_DEFAULT;
    props.pixelFormat = {DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_UNKNOWN};
    props.dpiX = r->dpi_;
    props.dpiY = r->dpi_;
    props.usage = D2D1_RENDER_TARGET_USAGE_NONE;
    props.minLevel = D2D1_FEATURE_LEVEL_DEFAULT;
    D2D1_HWND_RENDER_TARGET_PROPERTIES window_props{hwnd, {pixel_width, pixel_height},
                                                   D2D1_PRESENT_OPTIONS_NONE};
    hr = r->d2d_->CreateHwndRenderTarget(&props, &window_props, r->target_.put());
    if (FAILED(hr)) {
        log_failure("CreateHwndRenderTarget", hr);
        return nullptr;
    }
    lap(r->times_.target);
    if (!r->create_text_formats()) {
        log("ui_render: CreateTextFormat failed for one or more formats");
        return nullptr;
    }
    lap(r->times_.text_formats);
    return r;
}

Renderer::~Renderer() = default;

bool Renderer::create_text_formats() {
    ComPtr<IDWriteFontCollection> collection;
    if (FAILED(dwrite_->GetSystemFontCollection(collection.put(), FALSE))) collection.reset();
    const std::vector<std::wstring> ui = family_candidates(ui_families(), collection.get());
    const std::vector<std::wstring> mono = family_candidates(mono_families(), collection.get());

    bool all_made = true;
    for (size_t i = 0; i < kFormats.size(); ++i) {
        const FormatSpec& spec = kFormats[i];
        for (const auto& family : spec.mono ? mono : ui) {
            if (SUCCEEDED(dwrite_->CreateTextFormat(family.c_str(), nullptr, spec.weight,
                                                    DWRITE_FONT_STYLE_NORMAL,
                                                    DWRITE_FONT_STRETCH_NORMAL, 12.0f, L"en-us",
                                                    formats_[i].put()))) {
                families_[i] = family;
                break;
            }
        }
        IDWriteTextFormat* f = formats_[i].get();
        if (!f) {
            all_made = false;
            continue;
        }
        if (HRESULT hr = f->SetTextAlignment(spec.text_align); FAILED(hr)) {
            log_failure("SetTextAlignment", hr);
        }
        if (HRESULT hr = f->SetParagraphAlignment(spec.para_align); FAILED(hr)) {
            log_failure("SetParagraphAlignment", hr);
        }
        if (HRESULT hr = f->SetWordWrapping(DWRITE_WORD_WRAPPING_EMERGENCY_BREAK); FAILED(hr)) {
            log_failure("SetWordWrapping", hr);
        }
        if (spec.wrap) {
            if (HRESULT hr = f->SetWordWrapping(DWRITE_WORD_WRAPPING_WRAP); FAILED(hr)) {
                log_failure("SetWordWrapping(WRAP)", hr);
            }
        }
    }
    return all_made;
}

void Renderer::resize(UINT pixel_width, UINT pixel_height) {
    D2D1_SIZE_U size{pixel_width, pixel_height};
    if (HRESULT hr = target_->Resize(&size); FAILED(hr)) log_failure("Resize", hr);
}

bool Renderer::draw_frame(const std::function<void(Canvas&)>& draw) {
    target_->BeginDraw();
    clip_depth_ = 0;
    if (draw) draw(*this);
    // An unbalanced clip would make EndDraw fail and lose the whole frame.
    while (clip_depth_ > 0) pop_clip();
    HRESULT hr = target_->EndDraw(nullptr, nullptr);
    if (end_draw_filter_) hr = end_draw_filter_(hr);
    if (FAILED(hr)) log_failure("EndDraw", hr);
    return hr != kRecreateTarget;
}

ComPtr<ID2D1Brush> Renderer::solid_brush(const ColorF& color, float opacity) {
    const D2D1_COLOR_F c = d2d_color(color);
    const D2D1_BRUSH_PROPERTIES props = brush_properties(opacity);
    ComPtr<ID2D1SolidColorBrush> brush;
    if (HRESULT hr = target_->CreateSolidColorBrush(&c, &props, brush.put()); FAILED(hr)) {
        log_failure("CreateSolidColorBrush", hr);
        return {};
    }
    return ComPtr<ID2D1Brush>::adopt(brush.detach());
}

ComPtr<ID2D1Brush> Renderer::gradient_brush(PointF from, PointF to, const ColorF& color0,
                                            const ColorF& color1, float opacity) {
    const D2D1_GRADIENT_STOP stops[2]{{0.0f, d2d_color(color0)}, {1.0f, d2d_color(color1)}};
    ComPtr<ID2D1GradientStopCollection> collection;
    if (FAILED(target_->CreateGradientStopCollection(stops, 2, D2D1_GAMMA_2_2,
                                                     D2D1_EXTEND_MODE_CLAMP, collection.put()))) {
        return {};
    }
    const D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES line{{from.x, from.y}, {to.x, to.y}};
    const D2D1_BRUSH_PROPERTIES props = brush_properties(opacity);
    ComPtr<ID2D1LinearGradientBrush> brush;
    if (HRESULT hr = target_->CreateLinearGradientBrush(&line, &props, collection.get(), brush.put());
        FAILED(hr)) {
        log_failure("CreateLinearGradientBrush", hr);
        return {};
    }
    return ComPtr<ID2D1Brush>::adopt(brush.detach());
}

ComPtr<ID2D1Brush> Renderer::accent_gradient_brush(const RectF& r, float opacity, uint32_t accent) {
    return gradient_brush({r.left, r.top}, {r.right, r.bottom}, color_from_rgb(accent),
                          color_from_rgb(darker_accent(accent)), opacity);
}

ComPtr<ID2D1Brush> Renderer::make_brush(const Brush& b) {
    if (b.kind == Brush::Kind::Gradient) {
        return gradient_brush(b.start, b.end, b.color0, b.color1, b.opacity);
    }
    return solid_brush(b.color0, b.opacity);
}

IDWriteTextFormat* Renderer::format(TextFormat f) const {
    const auto i = static_cast<size_t>(f);
    return i < formats_.size() ? formats_[i].get() : nullptr;
}

const std::wstring& Renderer::family(TextFormat f) const {
    static const std::wstring none;
    const auto i = static_cast<size_t>(f);
    return i < families_.size() ? families_[i] : none;
}

void Renderer::fill_rect(const RectF& r, const Brush& b) {
    if (auto brush = make_brush(b)) {
        const D2D1_RECT_F rect = d2d_rect(r);
        target_->FillRectangle(&rect, brush.get());
    }
}

void Renderer::fill_rounded_rect(const RectF& r, float radius, const Brush& b) {
    if (auto brush = make_brush(b)) {
        const D2D1_ROUNDED_RECT rect = d2d_rounded(r, radius);
        target_->FillRoundedRectangle(&rect, brush.get());
    }
}

void Renderer::stroke_rounded_rect(const RectF& r, float radius, const Brush& b,
                                   float stroke_width) {
    if (auto brush = make_brush(b)) {
        const D2D1_ROUNDED_RECT rect = d2d_rounded(r, radius);
        target_->DrawRoundedRectangle(&rect, brush.get(), stroke_width, nullptr);
    }
}

void Renderer::draw_text(std::string_view utf8, const RectF& r, TextFormat f, const Brush& b,
                         bool clip) {
    IDWriteTextFormat* text_format = format(f);
    if (utf8.empty() || !text_format) return;
    const std::wstring text = utf8_to_wide(utf8);
    if (auto brush = make_brush(b)) {
        const D2D1_RECT_F rect = d2d_rect(r);
        target_->DrawText(text.c_str(), static_cast<UINT32>(text.size()), text_format, &rect,
                          brush.get(),
                          clip ? D2D1_DRAW_TEXT_OPTIONS_CLIP : D2D1_DRAW_TEXT_OPTIONS_NONE,
                          DWRITE_MEASURING_MODE_NATURAL);
    }
}

void Renderer::push_clip(const RectF& r) {
    const D2D1_RECT_F rect = d2d_rect(r);
    target_->PushAxisAlignedClip(&rect, D2D1_ANTIALIAS_MODE_ALIASED);
    ++clip_depth_;
}

void Renderer::pop_clip() {
    if (clip_depth_ == 0) return;
    target_->PopAxisAlignedClip();
    --clip_depth_;
}

float Renderer::measure_text_width(std::string_view utf8, TextFormat f) {
    IDWriteTextFormat* text_format = format(f);
    if (utf8.empty() || !text_format) return 0;
    const std::wstring text = utf8_to_wide(utf8);
    ComPtr<IDWriteTextLayout> layout;
    if (FAILED(dwrite_->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()),
                                         text_format, 100000.0f, 1000.0f, layout.put()))) {
        return 0;
    }
    DWRITE_TEXT_METRICS metrics{};
    if (FAILED(layout->GetMetrics(&metrics))) return 0;
    return metrics.widthIncludingTrailingWhitespace;
}

}  // namespace tw::app
