#pragma once
// The two ways the capture thread gets a zone's pixels into its mirror window:
//  - desktop duplication (DXGI): the output that shows the zone is duplicated on the
//    adapter that drives it, and each changed desktop frame is copied on the GPU into
//    the back buffer of a swap chain on the mirror window;
//  - screen copies (GDI), where duplication cannot run (remote sessions, some virtual
//    machines and drivers, Wine): the zone is copied from the screen, compared with the
//    previous copy, and a changed image is handed to the mirror window to paint.
// Every object is created, used and released on the capture thread.
#include <windows.h>

#include <memory>

#include "core/base/geometry.h"
#include "core/engine/capture_loop.h"

namespace tw::app {

class MirrorImage;

std::unique_ptr<CaptureSource> open_duplication(const Rect& zone, HWND mirror);
std::unique_ptr<CaptureSource> open_screen_copy(const Rect& zone, HWND mirror, MirrorImage& image);

class Win32CaptureFactory final : public CaptureFactory {
public:
    Win32CaptureFactory(const Rect& zone, HWND mirror, MirrorImage& image)
        : zone_(zone), mirror_(mirror), image_(image) {}
    std::unique_ptr<CaptureSource> open(CaptureMethod method) override {
        return method == CaptureMethod::Duplication ? open_duplication(zone_, mirror_)
                                                    : open_screen_copy(zone_, mirror_, image_);
    }

private:
    Rect zone_;
    HWND mirror_;
    MirrorImage& image_;
};

}  // namespace tw::app
