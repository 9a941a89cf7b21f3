#include "app/toolkit/tooltip.h"

#include <commctrl.h>

#include <cmath>

#include "app/platform/wide_text.h"
#include "core/base/log.h"
#include "core/model/catalog.h"

namespace tw::app {

namespace {

TOOLINFOW tool_of(HWND owner) {
    TOOLINFOW ti{};
    // The size without the reserved field: understood by every version of the control.
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_SUBCLASS;  // the control watches the owner's mouse messages itself
    ti.hwnd = owner;
    ti.uId = 1;
    return ti;
}

}  // namespace

bool Tooltip::create(HWND owner) {
    if (tip_ && owner_ == owner && IsWindow(tip_)) return true;
    static const bool registered = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    if (!registered) log("tooltip: InitCommonControlsEx failed");
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    if (!tip_) {
        log("tooltip: CreateWindowExW failed " + hr_text(static_cast<int32_t>(HRESULT_FROM_WIN32(GetLastError()))));
        return false;
    }
    owner_ = owner;
    TOOLINFOW ti = tool_of(owner);
    ti.lpszText = const_cast<wchar_t*>(L"");
    if (!SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) log("tooltip: TTM_ADDTOOLW failed");
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);
    return true;
}

void Tooltip::follow(HWND owner, const WidgetItem* item, std::optional<std::string_view> key, double scale) {
    const std::optional<uint64_t> id = item && key ? std::optional<uint64_t>(item->id) : std::nullopt;
    if (id == item_id_ && (tip_ || !id)) return;
    if (!create(owner)) return;
    item_id_ = id;
    TOOLINFOW ti = tool_of(owner);
    // Away from a widget with a tip the tool covers nothing, so no tip shows.
    if (id) {
        auto px = [scale](int32_t v) { return static_cast<LONG>(std::lround(v * scale)); };
        ti.rect = {px(item->rect.left), px(item->rect.top), px(item->rect.right), px(item->rect.bottom)};
        text_ = utf8_to_wide(tr(std::string(*key)));
    } else {
        text_.clear();
    }
    SendMessageW(tip_, TTM_POP, 0, 0);
    ti.lpszText = text_.data();
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace tw::app
