#include "app/platform/icons_win.h"

#include <cstring>
#include <string_view>

#include "core/ui/program_icon.h"

namespace tw::app {

HICON icon_from_pixels(int size, const std::vector<uint32_t>& pixels) {
    if (size <= 0 || pixels.size() != static_cast<size_t>(size) * static_cast<size_t>(size)) return nullptr;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!color || !bits) {
        if (color) DeleteObject(color);
        return nullptr;
    }
    // 0xAARRGGBB is exactly the BGRA byte order of a 32-bit DIB on little-endian x86.
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    if (!mask) {
        DeleteObject(color);
        return nullptr;
    }
    // An all-zero mask: the colour bitmap's alpha decides what shows.
    std::vector<uint8_t> zeros(static_cast<size_t>(((size + 15) / 16) * 2 * size), 0);
    SetBitmapBits(mask, static_cast<DWORD>(zeros.size()), zeros.data());
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmColor = color;
    ii.hbmMask = mask;
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}

HICON draw_program_icon(int size, bool active, uint32_t accent_rgb) {
    return icon_from_pixels(size, program_icon_pixels(size, active, accent_rgb));
}

HICON load_embedded_icon(HINSTANCE instance, int size) {
    HRSRC res = FindResourceW(instance, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!res) return nullptr;
    HGLOBAL data = LoadResource(instance, res);
    const DWORD length = SizeofResource(instance, res);
    const auto* bytes = static_cast<const char*>(data ? LockResource(data) : nullptr);
    if (!bytes || length == 0) return nullptr;
    std::string_view file(bytes, length);
    auto entry = choose_ico_entry(ico_entries(file), size);
    if (!entry) return nullptr;
    auto* image = reinterpret_cast<PBYTE>(const_cast<char*>(bytes + entry->offset));
    return CreateIconFromResourceEx(image, static_cast<DWORD>(entry->length), TRUE, 0x30000, size,
                                    size, LR_DEFAULTCOLOR);
}

HICON program_icon(HINSTANCE instance, int size, uint32_t accent_rgb) {
    if (HICON drawn = draw_program_icon(size, true, accent_rgb)) return drawn;
    return load_embedded_icon(instance, size);
}

}  // namespace tw::app
