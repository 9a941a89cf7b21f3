#include "app/share/mirror_image.h"

#include <algorithm>
#include <cstring>

namespace tw::app {

// The pixels are allocated with the first stored frame: a share drawn through desktop
// duplication never stores one, and a full-screen zone would otherwise hold 8 MB for
// nothing.
MirrorImage::MirrorImage(int32_t width, int32_t height) : width_(std::max(width, 0)), height_(std::max(height, 0)) {}

bool MirrorImage::differs(const uint32_t* pixels) const {
    // Only the capture thread writes the pixels, so its own read needs no lock.
    return !stored_ || std::memcmp(pixels, pixels_.data(), pixels_.size() * sizeof(uint32_t)) != 0;
}

void MirrorImage::store(const uint32_t* pixels) {
    std::lock_guard lock(mutex_);
    pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    std::memcpy(pixels_.data(), pixels, pixels_.size() * sizeof(uint32_t));
    stored_ = true;
}

size_t MirrorImage::allocated_bytes() {
    std::lock_guard lock(mutex_);
    return pixels_.capacity() * sizeof(uint32_t);
}

bool MirrorImage::has_image() {
    std::lock_guard lock(mutex_);
    return stored_;
}

std::string MirrorImage::ppm() {
    std::lock_guard lock(mutex_);
    if (!stored_) return {};
    std::string out = "P6\n" + std::to_string(width_) + " " + std::to_string(height_) + "\n255\n";
    out.reserve(out.size() + pixels_.size() * 3);
    for (uint32_t p : pixels_) {
        out += static_cast<char>((p >> 16) & 0xFF);
        out += static_cast<char>((p >> 8) & 0xFF);
        out += static_cast<char>(p & 0xFF);
    }
    return out;
}

bool MirrorImage::paint(HDC dc) {
    std::lock_guard lock(mutex_);
    if (!stored_ || pixels_.empty()) return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width_), static_cast<DWORD>(height_), 0, 0, 0,
                             static_cast<UINT>(height_), pixels_.data(), &bi, DIB_RGB_COLORS) != 0;
}

}  // namespace tw::app
