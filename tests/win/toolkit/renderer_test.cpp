// The Direct2D renderer and the paint pattern of a drawn window, on real windows.
#include "app/toolkit/drawn_window.h"
#include "app/toolkit/ui_render.h"
#include "app/platform/wide_text.h"
#include "core/base/log.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tw::app {
namespace {

using test::TestWindow;

constexpr HRESULT kRecreateTarget = static_cast<HRESULT>(0x8899000CUL);

constexpr TextFormat kAllFormats[] = {
    TextFormat::Body,     TextFormat::Semibold, TextFormat::Centred,   TextFormat::Label,
    TextFormat::Trailing, TextFormat::Mono,     TextFormat::Paragraph, TextFormat::ParagraphCentred,
};

bool family_installed(IDWriteFactory* factory, const std::wstring& family) {
    ComPtr<IDWriteFontCollection> collection;
    if (FAILED(factory->GetSystemFontCollection(collection.put(), FALSE))) return false;
    UINT32 index = 0;
    BOOL exists = FALSE;
    return SUCCEEDED(collection->FindFamilyName(family.c_str(), &index, &exists)) && exists;
}

// The log lines of a capture, without the one-time announcement of a stand-in face.
std::vector<std::string> logged(const LogCapture& capture) {
    std::vector<std::string> out;
    for (const auto& line : capture.lines()) {
        // The first frame's timing line is a figure, not a failure.
        if (!line.starts_with("ui_render: no font family of ") && !line.starts_with("ui_render: first frame of "))
            out.push_back(line);
    }
    return out;
}

TEST(HrText, PrintsUpperCaseHexWithoutLeadingZeros) {
    struct Case {
        int32_t hr;
        const char* text;
    } cases[] = {
        {static_cast<int32_t>(0x8899000CUL), "hr=0x8899000C"},
        {static_cast<int32_t>(0x80004005UL), "hr=0x80004005"},
        {0x1, "hr=0x1"},
        {0x0, "hr=0x0"},
        {0x00ABCDEF, "hr=0xABCDEF"},
    };
    for (const auto& c : cases) EXPECT_EQ(hr_text(c.hr), c.text);
}

TEST(WideText, RoundTripsAndReplacesBrokenInput) {
    struct Case {
        std::string utf8;
        std::wstring wide;
    } cases[] = {
        {"", L""},
        {"Hello", L"Hello"},
        {"Zon\xC3\xA9 \xE2\x9C\x93", L"Zon\u00E9 \u2713"},
        {"\xF0\x9F\x98\x80", L"\xD83D\xDE00"},  // outside the basic plane: a surrogate pair
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8_to_wide(c.utf8), c.wide);
        EXPECT_EQ(wide_to_utf8(c.wide), c.utf8);
    }
    EXPECT_EQ(utf8_to_wide("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(wide_to_utf8(std::wstring(L"a\xD800" L"b")), "a\xEF\xBF\xBD" "b");
}

TEST(LogicalSize, DividesByTheScaleAndRounds) {
    struct Case {
        int w, h;
        float scale;
        LogicalSize want;
    } cases[] = {
        {300, 200, 1.0f, {300, 200}},
        {300, 200, 1.5f, {200, 133}},
        {300, 200, 1.25f, {240, 160}},
        {301, 201, 2.0f, {151, 101}},  // halves round away from zero
        {1, 1, 1.75f, {1, 1}},
        {0, 50, 1.5f, {0, 33}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(logical_size(c.w, c.h, c.scale), c.want) << c.w << "x" << c.h << " @" << c.scale;
    }
}

TEST(ChooseFontFamily, PrefersTheListThenMessageFontThenCommonThenAnyInstalledFamily) {
    const std::vector<std::wstring> wanted{L"Segoe UI Variable Text", L"Segoe UI"};
    const std::vector<std::wstring> common{L"Arial", L"DejaVu Sans"};
    struct Case {
        const char* name;
        std::vector<std::wstring> installed;
        std::wstring message_font;
        std::wstring first_installed;
        FamilyChoice want;
    } cases[] = {
        {"first of list", {L"Segoe UI Variable Text", L"Segoe UI", L"Tahoma"}, L"Tahoma", L"Arial",
         {L"Segoe UI Variable Text", false}},
        {"second of list", {L"Segoe UI", L"Tahoma"}, L"Tahoma", L"Arial", {L"Segoe UI", false}},
        {"message font", {L"Tahoma", L"DejaVu Sans"}, L"Tahoma", L"C059", {L"Tahoma", true}},
        {"message font is an alias", {L"C059", L"DejaVu Sans"}, L"MS Shell Dlg", L"C059",
         {L"DejaVu Sans", true}},
        {"common order wins", {L"DejaVu Sans", L"Arial"}, L"", L"DejaVu Sans", {L"Arial", true}},
        {"only an odd face", {L"C059"}, L"MS Shell Dlg", L"C059", {L"C059", true}},
        {"nothing installed", {}, L"Tahoma", L"", {L"", false}},
    };
    for (const auto& c : cases) {
        auto installed = [&](const std::wstring& name) {
            for (const auto& i : c.installed) {
                if (i == name) return true;
            }
            return false;
        };
        EXPECT_EQ(choose_font_family(wanted, installed, c.message_font, common, c.first_installed),
                  c.want)
            << c.name;
    }
}

TEST(Dpi, IsNinetySixOnTheTestDisplay) {
    TestWindow window(300, 200);
    ASSERT_NE(window.hwnd(), nullptr);
    EXPECT_EQ(dpi_for_window(window.hwnd()), 96u);
    EXPECT_EQ(scale_for_window(window.hwnd()), 1.0f);
}

TEST(Renderer, EveryFormatUsesAnInstalledFamilyThatMeasures) {
    LogCapture capture;
    TestWindow window(300, 200);
    auto r = Renderer::create(window.hwnd(), 300, 200);
    // The stand-in face is announced once per process, not by every renderer.
    auto again = Renderer::create(window.hwnd(), 300, 200);
    ASSERT_TRUE(again);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->dpi(), 96.0f);
    for (TextFormat f : kAllFormats) {
        const std::wstring& family = r->family(f);
        EXPECT_TRUE(family_installed(r->dwrite_factory(), family))
            << "format " << static_cast<int>(f) << ": " << wide_to_utf8(family);
        EXPECT_GT(r->measure_text_width("Hello", f), 0.0f) << static_cast<int>(f);
        EXPECT_EQ(r->measure_text_width("", f), 0.0f) << static_cast<int>(f);
    }
    // A family from outside the wanted list is always announced in the log.
    const std::wstring body = r->family(TextFormat::Body);
    if (body != L"Segoe UI Variable Text" && body != L"Segoe UI") {
        bool announced = false;
        for (const auto& line : capture.lines()) {
            announced |= line.starts_with("ui_render: no font family of ") &&
                         line.ends_with("using \"" + wide_to_utf8(body) + "\"");
        }
        EXPECT_TRUE(announced);
    }
    EXPECT_LE(capture.lines().size(), 2u);
}

TEST(Renderer, LoadsDirect2DOnlyWhileARendererExists) {
    // No renderer is alive between tests, so nothing holds the library now.
    ASSERT_EQ(GetModuleHandleW(L"d2d1.dll"), nullptr);
    TestWindow window(100, 100);
    auto r = Renderer::create(window.hwnd(), 100, 100);
    ASSERT_NE(r, nullptr);
    EXPECT_NE(GetModuleHandleW(L"d2d1.dll"), nullptr);
    r.reset();
    EXPECT_EQ(GetModuleHandleW(L"d2d1.dll"), nullptr);
}

TEST(Renderer, CreationOnAGoneWindowFailsWithItsCallLogged) {
    HWND gone = nullptr;
    {
        TestWindow window(100, 100);
        gone = window.hwnd();
    }
    LogCapture capture;
    EXPECT_EQ(Renderer::create(gone, 100, 100), nullptr);
    const auto lines = logged(capture);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("ui_render: CreateHwndRenderTarget failed hr=0x8")) << lines[0];
}

TEST(Renderer, MeasuresWithTrailingWhitespaceAndGrowsWithText) {
    TestWindow window(300, 200);
    auto r = Renderer::create(window.hwnd(), 300, 200);
    ASSERT_TRUE(r);
    const float hello = r->measure_text_width("Hello", TextFormat::Label);
    EXPECT_GT(r->measure_text_width("Hello ", TextFormat::Label), hello);
    EXPECT_GT(r->measure_text_width("Hello, world", TextFormat::Label), hello);
    // Wrapping formats still measure one long line: the layout box is 100000 wide.
    const float para = r->measure_text_width(std::string(200, 'x'), TextFormat::Paragraph);
    EXPECT_GT(para, 100 * r->measure_text_width("x", TextFormat::Paragraph));
    EXPECT_GT(r->measure_text_width("\xE2\x9C\x93 Zon\xC3\xA9", TextFormat::Body), 0.0f);
}

TEST(Renderer, DrawsEveryPrimitiveWithoutAFailedFrame) {
    LogCapture capture;
    TestWindow window(300, 200);
    auto r = Renderer::create(window.hwnd(), 300, 200);
    ASSERT_TRUE(r);
    const bool kept = r->draw_frame([](Canvas& c) {
        const ColorF white{1, 1, 1, 1};
        c.fill_rect({0, 0, 300, 200},
                    Brush::gradient({0, 0}, {300, 200}, color_from_rgb(0x241B3D),
                                    color_from_rgb(0x171226), 1.0f));
        c.fill_rounded_rect({10, 10, 110, 40}, 8, Brush::solid(color_from_rgb(0xA855F7), 0.5f));
        c.stroke_rounded_rect({10, 50, 110, 80}, 6, Brush::solid(white, 0.6f), 2);
        c.push_clip({0, 0, 150, 100});
        c.draw_text("Clipped \xE2\x9C\x93", {10, 90, 290, 120}, TextFormat::Label,
                    Brush::solid(white, 0.85f), true);
        c.pop_clip();
        c.draw_text("", {0, 0, 10, 10}, TextFormat::Body, Brush::solid(white, 1), false);
        // Left open on purpose: the frame closes unbalanced clips itself.
        c.push_clip({0, 0, 50, 50});
        c.push_clip({0, 0, 40, 40});
        c.pop_clip();
        c.pop_clip();
        c.pop_clip();  // one too many: ignored
        c.push_clip({5, 5, 20, 20});
    });
    EXPECT_TRUE(kept);
    for (const auto& line : logged(capture)) ADD_FAILURE() << "unexpected log: " << line;
}

TEST(Renderer, BrushesAreMadeForEachCall) {
    TestWindow window(100, 100);
    auto r = Renderer::create(window.hwnd(), 100, 100);
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->solid_brush({1, 0, 0, 1}, 0.5f));
    EXPECT_TRUE(r->gradient_brush({0, 0}, {10, 10}, {1, 0, 0, 1}, {0, 0, 1, 1}, 1.0f));
    auto accent = r->accent_gradient_brush({0, 0, 50, 20}, 0.85f, 0xA855F7);
    ASSERT_TRUE(accent);
    EXPECT_FLOAT_EQ(accent->GetOpacity(), 0.85f);
}

TEST(Renderer, EndDrawResultDecidesWhetherTheTargetIsKept) {
    struct Case {
        HRESULT injected;
        bool kept;
        const char* logged;  // nullptr: nothing
    } cases[] = {
        {S_OK, true, nullptr},
        {kRecreateTarget, false, "ui_render: EndDraw failed hr=0x8899000C"},
        {E_FAIL, true, "ui_render: EndDraw failed hr=0x80004005"},
        {static_cast<HRESULT>(0x88990001UL), true, "ui_render: EndDraw failed hr=0x88990001"},
    };
    TestWindow window(120, 80);
    auto r = Renderer::create(window.hwnd(), 120, 80);
    ASSERT_TRUE(r);
    for (const auto& c : cases) {
        LogCapture capture;
        r->set_end_draw_filter([&](HRESULT) { return c.injected; });
        EXPECT_EQ(r->draw_frame([](Canvas&) {}), c.kept) << std::hex << c.injected;
        if (c.logged) {
            EXPECT_EQ(logged(capture), std::vector<std::string>{c.logged});
        } else {
            EXPECT_TRUE(logged(capture).empty());
        }
    }
}

// A window that paints through DrawnWindow and records what each frame saw.
struct PaintedWindow {
    DrawnWindow drawn;
    std::vector<LogicalSize> frames;
    int rebuilds = 0;
    TestWindow window;

    PaintedWindow(int w, int h)
        : window(w, h, [this](HWND hwnd, UINT msg, WPARAM, LPARAM lp) {
              if (msg == WM_PAINT) {
                  drawn.on_paint(
                      hwnd, [this](Renderer&, LogicalSize) { ++rebuilds; },
                      [this](Renderer& r, LogicalSize size) {
                          frames.push_back(size);
                          return r.draw_frame([](Canvas&) {});
                      });
                  return true;
              }
              if (msg == WM_SIZE) drawn.on_size(lp);
              return false;
          }) {}

    bool invalid() const { return GetUpdateRect(window.hwnd(), nullptr, FALSE) != 0; }
    void paint_now() { UpdateWindow(window.hwnd()); }
};

TEST(DrawnWindow, PaintsTheClientAreaAsALogicalCanvas) {
    PaintedWindow w(300, 200);
    w.paint_now();
    ASSERT_EQ(w.frames, (std::vector<LogicalSize>{LogicalSize{300, 200}}));
    EXPECT_EQ(w.rebuilds, 1);
    ASSERT_NE(w.drawn.renderer(), nullptr);
    EXPECT_EQ(w.drawn.renderer()->pixel_size().width, 300u);
    EXPECT_FALSE(w.invalid());

    // A new size reaches the target through WM_SIZE; the renderer is kept.
    SetWindowPos(w.window.hwnd(), nullptr, 0, 0, 420, 250, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(w.window.hwnd(), nullptr, FALSE);
    w.paint_now();
    EXPECT_EQ(w.frames.back(), (LogicalSize{420, 250}));
    EXPECT_EQ(w.drawn.renderer()->pixel_size().width, 420u);
    EXPECT_EQ(w.drawn.renderer()->pixel_size().height, 250u);
    EXPECT_EQ(w.drawn.renderers_created(), 1u);
}

TEST(DrawnWindow, EmptyClientAreaCreatesNoRendererButIsValidated) {
    struct Case {
        int w, h;
    } cases[] = {{0, 200}, {300, 0}, {0, 0}};
    for (const auto& c : cases) {
        PaintedWindow w(c.w, c.h);
        InvalidateRect(w.window.hwnd(), nullptr, FALSE);
        SendMessageW(w.window.hwnd(), WM_PAINT, 0, 0);
        EXPECT_EQ(w.drawn.renderer(), nullptr) << c.w << "x" << c.h;
        EXPECT_EQ(w.drawn.renderers_created(), 0u);
        EXPECT_TRUE(w.frames.empty());
        EXPECT_EQ(w.rebuilds, 0);
        EXPECT_FALSE(w.invalid());
    }
}

TEST(DrawnWindow, LostTargetIsRebuiltExactlyOnceAtTheNextPaint) {
    LogCapture capture;
    PaintedWindow w(300, 200);
    int frames_to_lose = 1;
    w.drawn.set_end_draw_filter([&](HRESULT hr) {
        return frames_to_lose-- > 0 ? kRecreateTarget : hr;
    });
    w.paint_now();
    EXPECT_EQ(w.drawn.renderer(), nullptr);
    EXPECT_EQ(w.drawn.renderers_created(), 1u);
    EXPECT_TRUE(w.invalid()) << "the next WM_PAINT must come";

    w.paint_now();
    EXPECT_NE(w.drawn.renderer(), nullptr);
    EXPECT_EQ(w.drawn.renderers_created(), 2u);
    EXPECT_FALSE(w.invalid());

    for (int i = 0; i < 3; ++i) {
        InvalidateRect(w.window.hwnd(), nullptr, FALSE);
        w.paint_now();
    }
    EXPECT_EQ(w.drawn.renderers_created(), 2u);
    EXPECT_EQ(w.frames.size(), 5u);
    EXPECT_EQ(logged(capture), std::vector<std::string>{"ui_render: EndDraw failed hr=0x8899000C"});
}

TEST(DrawnWindow, OtherEndDrawFailuresKeepTheRenderer) {
    LogCapture capture;
    PaintedWindow w(200, 100);
    w.drawn.set_end_draw_filter([](HRESULT) { return E_OUTOFMEMORY; });
    w.paint_now();
    InvalidateRect(w.window.hwnd(), nullptr, FALSE);
    w.paint_now();
    EXPECT_NE(w.drawn.renderer(), nullptr);
    EXPECT_EQ(w.drawn.renderers_created(), 1u);
    EXPECT_EQ(logged(capture), (std::vector<std::string>{"ui_render: EndDraw failed hr=0x8007000E",
                                                         "ui_render: EndDraw failed hr=0x8007000E"}));
}

}  // namespace
}  // namespace tw::app
