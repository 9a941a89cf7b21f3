// Desktop duplication: the output that shows the zone, duplicated on its own adapter,
// copied on the GPU into the mirror window's swap chain.
#include <d3d11.h>
#include <dxgi1_2.h>

#include <string>
#include <vector>

#include "app/platform/com_ptr.h"
#include "app/platform/system_library.h"
#include "app/platform/wide_text.h"
#include "app/share/capture_sources.h"
#include "core/base/log.h"
#include "core/engine/share_geometry.h"

namespace tw::app {

namespace {

void log_hr(const char* what, HRESULT hr) { log(std::string("dxgi: ") + what + " failed " + hr_text(hr)); }

class DuplicationSource final : public CaptureSource {
public:
    bool open(const Rect& zone, HWND mirror);

    bool duplicating() const override { return static_cast<bool>(duplication_); }

    FrameWait acquire(uint32_t timeout_ms) override {
        DXGI_OUTDUPL_FRAME_INFO info{};
        ComPtr<IDXGIResource> resource;
        const HRESULT hr = duplication_->AcquireNextFrame(timeout_ms, &info, resource.put());
        if (hr == DXGI_ERROR_WAIT_TIMEOUT) return FrameWait::Timeout;
        if (hr == DXGI_ERROR_ACCESS_LOST || hr == DXGI_ERROR_INVALID_CALL) return FrameWait::Lost;
        if (FAILED(hr) || !resource) {
            log_hr("AcquireNextFrame", hr);
            if (SUCCEEDED(hr)) duplication_->ReleaseFrame();
            return FrameWait::Failed;
        }
        if (info.LastPresentTime.QuadPart == 0) {
            // Only the pointer moved: the desktop image is unchanged, nothing to copy.
            // Paced like a frame, so that a moving mouse does not spin the loop.
            duplication_->ReleaseFrame();
            return FrameWait::Unusable;
        }
        if (FAILED(resource->QueryInterface(__uuidof(ID3D11Texture2D), reinterpret_cast<void**>(frame_.put())))) {
            duplication_->ReleaseFrame();
            return FrameWait::Unusable;
        }
        return FrameWait::Frame;
    }

    bool present() override {
        ComPtr<ID3D11Texture2D> back;
        const HRESULT hr = swap_chain_->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(back.put()));
        if (FAILED(hr)) {
            log_hr("IDXGISwapChain::GetBuffer", hr);
            release_frame();
            return false;
        }
        if (copy_)
            context_->CopySubresourceRegion(back.get(), 0, target_x_, target_y_, 0, frame_.get(), 0, &box_);
        frame_.reset();
        back.reset();
        swap_chain_->Present(0, 0);
        duplication_->ReleaseFrame();
        return true;
    }

    void release_frame() override {
        frame_.reset();
        duplication_->ReleaseFrame();
    }

    // After a display change the output may have moved, changed its mode or turned:
    // the part of it the zone covers, where that goes in the mirror and the rotation
    // are worked out again, as at the start.
    bool reopen() override {
        duplication_.reset();
        const HRESULT hr = output_->DuplicateOutput(device_.get(), duplication_.put());
        if (FAILED(hr)) {
            log_hr("IDXGIOutput1::DuplicateOutput (recreate)", hr);
            duplication_.reset();
            return false;
        }
        if (!place()) {
            duplication_.reset();
            return false;
        }
        return true;
    }

    bool polls() const override { return false; }

private:
    bool place();

    Rect zone_{};
    uint32_t adapter_ = 0, output_index_ = 0;
    // Loaded for as long as the share runs, released after every object made with them.
    SystemLibrary dxgi_library_{L"dxgi.dll"};
    SystemLibrary d3d11_library_{L"d3d11.dll"};
    ComPtr<ID3D11Device> device_;
    ComPtr<ID3D11DeviceContext> context_;
    ComPtr<IDXGIOutput1> output_;
    ComPtr<IDXGIOutputDuplication> duplication_;
    ComPtr<IDXGISwapChain> swap_chain_;
    ComPtr<ID3D11Texture2D> frame_;  // the frame held between acquire and present
    D3D11_BOX box_{};
    UINT target_x_ = 0, target_y_ = 0;
    bool copy_ = false;
};

// Every output of every adapter, in adapter and output order.
std::vector<OutputInfo> list_outputs(IDXGIFactory1* factory) {
    std::vector<OutputInfo> outputs;
    ComPtr<IDXGIAdapter1> adapter;
    for (UINT a = 0; factory->EnumAdapters1(a, adapter.put()) == S_OK; ++a) {
        ComPtr<IDXGIOutput> output;
        for (UINT o = 0; adapter->EnumOutputs(o, output.put()) == S_OK; ++o) {
            DXGI_OUTPUT_DESC desc{};
            if (FAILED(output->GetDesc(&desc))) continue;
            const RECT& r = desc.DesktopCoordinates;
            outputs.push_back({a, o, {r.left, r.top, r.right, r.bottom}, desc.AttachedToDesktop != FALSE});
        }
    }
    return outputs;
}

bool DuplicationSource::open(const Rect& zone, HWND mirror) {
    auto* create_factory = dxgi_library_.get<decltype(CreateDXGIFactory1)>("CreateDXGIFactory1");
    auto* create_device = d3d11_library_.get<decltype(D3D11CreateDevice)>("D3D11CreateDevice");
    constexpr HRESULT kMissing = SystemLibrary::kMissing;  // a system without them cannot duplicate
    ComPtr<IDXGIFactory1> factory;
    HRESULT hr = create_factory ? create_factory(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(factory.put()))
                                : kMissing;
    if (FAILED(hr)) return log_hr("CreateDXGIFactory1", hr), false;

    // The output that shows the zone, on whichever adapter drives it.
    const auto choice = choose_output(list_outputs(factory.get()), zone);
    if (!choice) return log("dxgi: no display output is attached to the desktop"), false;
    ComPtr<IDXGIAdapter1> adapter;
    hr = factory->EnumAdapters1(choice->adapter, adapter.put());
    if (FAILED(hr)) return log_hr("IDXGIFactory1::EnumAdapters1", hr), false;

    const D3D_FEATURE_LEVEL levels[] = {D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_0};
    // An explicit adapter requires the unknown driver type.
    hr = create_device ? create_device(adapter.get(), D3D_DRIVER_TYPE_UNKNOWN, nullptr, 0, levels, 2,
                                       D3D11_SDK_VERSION, device_.put(), nullptr, context_.put())
                       : kMissing;
    if (FAILED(hr)) return log_hr("D3D11CreateDevice", hr), false;

    ComPtr<IDXGIOutput> output;
    hr = adapter->EnumOutputs(choice->output, output.put());
    if (FAILED(hr)) return log_hr("IDXGIAdapter::EnumOutputs", hr), false;
    if (FAILED(output->QueryInterface(__uuidof(IDXGIOutput1), reinterpret_cast<void**>(output_.put()))))
        return log("dxgi: QueryInterface(IDXGIOutput1) failed"), false;
    hr = output_->DuplicateOutput(device_.get(), duplication_.put());
    if (FAILED(hr)) return log_hr("IDXGIOutput1::DuplicateOutput", hr), false;
    zone_ = zone;
    adapter_ = choice->adapter;
    output_index_ = choice->output;
    if (!place()) return false;

    DXGI_SWAP_CHAIN_DESC sc{};
    sc.BufferDesc.Width = static_cast<UINT>(std::max(zone.width(), 0));
    sc.BufferDesc.Height = static_cast<UINT>(std::max(zone.height(), 0));
    sc.BufferDesc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    sc.SampleDesc.Count = 1;
    sc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    sc.BufferCount = 2;
    sc.OutputWindow = mirror;
    sc.Windowed = TRUE;
    sc.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
    hr = factory->CreateSwapChain(device_.get(), &sc, swap_chain_.put());
    if (FAILED(hr)) return log_hr("IDXGIFactory::CreateSwapChain", hr), false;

    log("zone_share: duplicating output " + std::to_string(choice->output) + " of adapter " +
        std::to_string(choice->adapter) + " for " + rect_text(zone));
    return true;
}

// The copy's source box and target from the output's rectangle now; refused while
// the output is rotated (its duplicated image is not upright, the copy would be
// sideways) or no longer shows any of the zone.
bool DuplicationSource::place() {
    DXGI_OUTDUPL_DESC desc{};
    duplication_->GetDesc(&desc);
    if (desc.Rotation != DXGI_MODE_ROTATION_IDENTITY && desc.Rotation != DXGI_MODE_ROTATION_UNSPECIFIED)
        return log("dxgi: output " + std::to_string(output_index_) + " is rotated; not duplicating it"), false;
    DXGI_OUTPUT_DESC od{};
    const HRESULT hr = output_->GetDesc(&od);
    if (FAILED(hr)) return log_hr("IDXGIOutput::GetDesc", hr), false;
    const RECT& r = od.DesktopCoordinates;
    const auto choice = choose_output({{adapter_, output_index_, {r.left, r.top, r.right, r.bottom},
                                        od.AttachedToDesktop != FALSE}}, zone_);
    if (!choice) return log("dxgi: output " + std::to_string(output_index_) + " left the desktop"), false;
    const Rect& s = choice->source;
    copy_ = s.left < s.right && s.top < s.bottom;
    box_ = {static_cast<UINT>(s.left), static_cast<UINT>(s.top), 0, static_cast<UINT>(s.right),
            static_cast<UINT>(s.bottom), 1};
    target_x_ = static_cast<UINT>(choice->target.x);
    target_y_ = static_cast<UINT>(choice->target.y);
    return true;
}

}  // namespace

std::unique_ptr<CaptureSource> open_duplication(const Rect& zone, HWND mirror) {
    auto source = std::make_unique<DuplicationSource>();
    if (!source->open(zone, mirror)) return nullptr;
    return source;
}

}  // namespace tw::app
