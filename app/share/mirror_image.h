#pragma once
// The zone's last copied image, for the screen-copy capture: the capture thread stores
// each changed frame; the mirror window paints it (WM_PAINT, and WM_PRINTCLIENT for
// programs that capture the window with PrintWindow). Desktop duplication presents
// through its swap chain instead and leaves this empty.
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace tw::app {

class MirrorImage {
public:
    MirrorImage(int32_t width, int32_t height);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

    // Capture thread, the only writer: whether `pixels` (width x height, top-down BGRA)
    // differ from the stored image, and storing them.
    bool differs(const uint32_t* pixels) const;
    void store(const uint32_t* pixels);

    // UI thread: paints the stored image at (0, 0); false while there is none.
    bool paint(HDC dc);
    bool has_image();
    // The memory the pixels hold: none before the first stored frame.
    size_t allocated_bytes();
    // The stored image as a binary PPM file; empty while there is none.
    std::string ppm();

private:
    std::mutex mutex_;
    int32_t width_;
    int32_t height_;
    std::vector<uint32_t> pixels_;
    bool stored_ = false;
};

}  // namespace tw::app
