// Screen copies: the capture where desktop duplication is unavailable.
#include "app/platform/wide_text.h"
#include "app/share/capture_sources.h"
#include "app/share/mirror_image.h"
#include "core/base/log.h"

namespace tw::app {

namespace {

class ScreenCopySource final : public CaptureSource {
public:
    ScreenCopySource(const Rect& zone, HWND mirror, MirrorImage& image) : zone_(zone), mirror_(mirror), image_(image) {}
    ~ScreenCopySource() override {
        if (memory_) {
            if (previous_) SelectObject(memory_, previous_);
            DeleteDC(memory_);
        }
        if (bitmap_) DeleteObject(bitmap_);
        if (screen_) ReleaseDC(nullptr, screen_);
    }

    bool open() {
        screen_ = GetDC(nullptr);
        if (!screen_) return failed("GetDC(screen)");
        if (image_.width() == 0 || image_.height() == 0) return true;  // nothing to copy, ever
        memory_ = CreateCompatibleDC(screen_);
        if (!memory_) return failed("CreateCompatibleDC");
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = image_.width();
        bi.bmiHeader.biHeight = -image_.height();  // top-down, the mirror image's layout
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(screen_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap_ || !bits) return failed("CreateDIBSection");
        bits_ = static_cast<const uint32_t*>(bits);
        previous_ = SelectObject(memory_, bitmap_);
        return true;
    }

    bool duplicating() const override { return screen_ != nullptr; }

    FrameWait acquire(uint32_t) override {
        if (!bits_) return FrameWait::Timeout;  // an empty zone
        if (!BitBlt(memory_, 0, 0, image_.width(), image_.height(), screen_, zone_.left, zone_.top, SRCCOPY)) {
            // The screen cannot be read (the secure desktop, a locked session).
            if (!copy_failed_) log("zone_share: BitBlt from the screen failed " + last_error_text());
            copy_failed_ = true;
            return FrameWait::Lost;
        }
        GdiFlush();
        copy_failed_ = false;
        return image_.differs(bits_) ? FrameWait::Frame : FrameWait::Timeout;
    }

    bool present() override {
        image_.store(bits_);
        // The mirror paints on its own thread; this only marks it for painting.
        InvalidateRect(mirror_, nullptr, FALSE);
        return true;
    }

    void release_frame() override {}

    bool reopen() override {
        if (screen_) ReleaseDC(nullptr, screen_);
        screen_ = GetDC(nullptr);
        if (!screen_) log("zone_share: GetDC(screen) failed again " + last_error_text());
        return screen_ != nullptr;
    }

    bool polls() const override { return true; }

private:
    static std::string last_error_text() {
        return hr_text(static_cast<int32_t>(HRESULT_FROM_WIN32(GetLastError())));
    }
    bool failed(const char* call) {
        log(std::string("zone_share: ") + call + " failed for screen copies " + last_error_text());
        return false;
    }

    Rect zone_;
    HWND mirror_;
    MirrorImage& image_;
    HDC screen_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    const uint32_t* bits_ = nullptr;
    bool copy_failed_ = false;
};

}  // namespace

std::unique_ptr<CaptureSource> open_screen_copy(const Rect& zone, HWND mirror, MirrorImage& image) {
    auto source = std::make_unique<ScreenCopySource>(zone, mirror, image);
    if (!source->open()) return nullptr;
    return source;
}

}  // namespace tw::app
