#include "app/toolkit/clipboard.h"

#include <cstring>

#include "app/platform/wide_text.h"

namespace tw::app {

bool copy_to_clipboard(HWND owner, std::string_view utf8) {
    const std::wstring text = utf8_to_wide(utf8);
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return false;
    void* dest = GlobalLock(block);
    if (!dest) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(dest, text.c_str(), bytes);
    GlobalUnlock(block);
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    // The clipboard owns the block only once SetClipboardData succeeds.
    const bool stored = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    if (!stored) GlobalFree(block);
    return stored;
}

std::optional<std::string> read_clipboard(HWND owner) {
    if (!OpenClipboard(owner)) return std::nullopt;
    std::optional<std::string> result;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            // Another program filled the block: stop at its end even without a NUL.
            const size_t max_units = GlobalSize(data) / sizeof(wchar_t);
            size_t length = 0;
            while (length < max_units && text[length] != L'\0') ++length;
            result = wide_to_utf8(std::wstring_view(text, length));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return result;
}

}  // namespace tw::app
