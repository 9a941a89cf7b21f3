// What a screen reader sees of a window, read from outside the program through Active
// Accessibility:
//   accessible_probe dump CLASS          one line per child of the window's client object:
//                                        "child|role|state|name|value|action|x,y,w,h"
//                                        (role and state in hex), after a "count=N" line
//   accessible_probe press CLASS NAME    runs the default action of the first child so
//                                        named; prints "pressed=1" or "pressed=0"
//   accessible_probe focus CLASS         prints "focus=N" (the focused child, 0 = none)
//   accessible_probe contrast on|off     turns Windows' high-contrast mode on (white on
//                                        black, as "High Contrast Black") or off, and
//                                        tells every window; prints "contrast=on|off"
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// Defined here: the static import library's IID_IAccessible is a code stub.
const IID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

std::string utf8(const wchar_t* w) {
    if (!w || !*w) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w, -1, s.data(), n, nullptr, nullptr);
    return s;
}

std::string text_of(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), IAccessible* acc,
                    VARIANT child) {
    BSTR b = nullptr;
    std::string s;
    if ((acc->*get)(child, &b) == S_OK && b) s = utf8(b);
    SysFreeString(b);
    return s;
}

VARIANT child_id(long i) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = i;
    return v;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: accessible_probe dump|press|focus CLASS [NAME]\n");
        return 2;
    }
    if (std::wstring(argv[1]) == L"contrast") {
        const bool on = std::wstring(argv[2]) == L"on";
        static const int elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                                       COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_GRAYTEXT, COLOR_HOTLIGHT};
        static const COLORREF black[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(26, 235, 255), RGB(0, 0, 0),
                                         RGB(0, 0, 0), RGB(255, 255, 255), RGB(63, 242, 63), RGB(255, 255, 0)};
        if (on) SetSysColors(8, elements, black);
        HIGHCONTRASTW hc{};
        hc.cbSize = sizeof hc;
        hc.dwFlags = on ? HCF_HIGHCONTRASTON : 0;
        const BOOL ok = SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof hc, &hc, SPIF_SENDCHANGE);
        HIGHCONTRASTW now{};
        now.cbSize = sizeof now;
        SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof now, &now, 0);
        if (!on) {
            // Wine's light default scheme comes back with the window and text colours.
            static const COLORREF normal[] = {RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 120, 215), RGB(255, 255, 255),
                                              RGB(240, 240, 240), RGB(0, 0, 0), RGB(109, 109, 109), RGB(0, 102, 204)};
            SetSysColors(8, elements, normal);
        }
        std::printf("set=%d contrast=%s\n", ok ? 1 : 0, (now.dwFlags & HCF_HIGHCONTRASTON) ? "on" : "off");
        return 0;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND hwnd = FindWindowW(argv[2], nullptr);
    if (!hwnd) {
        std::printf("window=0\n");
        return 1;
    }
    IAccessible* acc = nullptr;
    const HRESULT hr = AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                                  reinterpret_cast<void**>(&acc));
    if (FAILED(hr) || !acc) {
        std::printf("object=0 hr=0x%08lX\n", static_cast<unsigned long>(hr));
        return 1;
    }
    long count = 0;
    acc->get_accChildCount(&count);
    const std::wstring mode = argv[1];
    int rc = 0;
    if (mode == L"dump") {
        std::printf("count=%ld\n", count);
        for (long i = 1; i <= count; ++i) {
            const VARIANT c = child_id(i);
            VARIANT role, state;
            VariantInit(&role);
            VariantInit(&state);
            acc->get_accRole(c, &role);
            acc->get_accState(c, &state);
            long x = 0, y = 0, w = 0, h = 0;
            acc->accLocation(&x, &y, &w, &h, c);
            std::printf("%ld|%lx|%lx|%s|%s|%s|%ld,%ld,%ld,%ld\n", i, role.vt == VT_I4 ? role.lVal : -1L,
                        state.vt == VT_I4 ? state.lVal : -1L, text_of(&IAccessible::get_accName, acc, c).c_str(),
                        text_of(&IAccessible::get_accValue, acc, c).c_str(),
                        text_of(&IAccessible::get_accDefaultAction, acc, c).c_str(), x, y, w, h);
        }
    } else if (mode == L"press" && argc == 4) {
        const std::string wanted = utf8(argv[3]);
        bool pressed = false;
        for (long i = 1; i <= count && !pressed; ++i) {
            if (text_of(&IAccessible::get_accName, acc, child_id(i)) != wanted) continue;
            pressed = acc->accDoDefaultAction(child_id(i)) == S_OK;
        }
        std::printf("pressed=%d\n", pressed ? 1 : 0);
        rc = pressed ? 0 : 1;
    } else if (mode == L"focus") {
        VARIANT f;
        VariantInit(&f);
        acc->get_accFocus(&f);
        std::printf("focus=%ld\n", f.vt == VT_I4 ? f.lVal : 0L);
    }
    acc->Release();
    return rc;
}
