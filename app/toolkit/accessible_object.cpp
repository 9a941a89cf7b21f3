#include "app/toolkit/accessible_object.h"

#include <oleacc.h>

#include <atomic>
#include <cmath>

#include "app/platform/wide_text.h"
#include "app/toolkit/ui_render.h"
#include "core/base/log.h"

namespace tw::app {

const IID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

namespace {

LONG role_id(AccessibleRole role) {
    switch (role) {
    case AccessibleRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::CheckButton: return ROLE_SYSTEM_CHECKBUTTON;
    case AccessibleRole::RadioButton: return ROLE_SYSTEM_RADIOBUTTON;
    case AccessibleRole::ComboBox: return ROLE_SYSTEM_COMBOBOX;
    case AccessibleRole::List: return ROLE_SYSTEM_LIST;
    case AccessibleRole::ListItem: return ROLE_SYSTEM_LISTITEM;
    case AccessibleRole::PageTab: return ROLE_SYSTEM_PAGETAB;
    case AccessibleRole::EditableText: return ROLE_SYSTEM_TEXT;
    case AccessibleRole::Slider: return ROLE_SYSTEM_SLIDER;
    case AccessibleRole::Link: return ROLE_SYSTEM_LINK;
    case AccessibleRole::Graphic: return ROLE_SYSTEM_GRAPHIC;
    case AccessibleRole::Grouping: return ROLE_SYSTEM_GROUPING;
    case AccessibleRole::StaticText:
    case AccessibleRole::FromKind: break;
    }
    return ROLE_SYSTEM_STATICTEXT;
}

LONG state_bits(const AccessibleNode& n) {
    namespace st = accessible_state;
    const struct {
        uint32_t from;
        LONG to;
    } map[] = {
        {st::kFocused, STATE_SYSTEM_FOCUSED},   {st::kFocusable, STATE_SYSTEM_FOCUSABLE},
        {st::kChecked, STATE_SYSTEM_CHECKED},   {st::kSelected, STATE_SYSTEM_SELECTED},
        {st::kUnavailable, STATE_SYSTEM_UNAVAILABLE}, {st::kExpanded, STATE_SYSTEM_EXPANDED},
        {st::kCollapsed, STATE_SYSTEM_COLLAPSED}, {st::kHot, STATE_SYSTEM_HOTTRACKED},
        {st::kPressed, STATE_SYSTEM_PRESSED},
    };
    LONG s = 0;
    for (const auto& m : map)
        if (n.state & m.from) s |= m.to;
    if (n.role == AccessibleRole::ListItem || n.role == AccessibleRole::PageTab) s |= STATE_SYSTEM_SELECTABLE;
    if (n.role == AccessibleRole::StaticText || n.role == AccessibleRole::Graphic) s |= STATE_SYSTEM_READONLY;
    return s;
}

HRESULT text_out(const std::string& text, BSTR* out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = SysAllocString(utf8_to_wide(text).c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

// COM objects are deleted through Release, never through a base pointer: the
// interface's lack of a virtual destructor is by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class AccessibleObject final : public IAccessible {
public:
    explicit AccessibleObject(std::weak_ptr<AccessibleSource> source) : source_(std::move(source)) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, kIidAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: clients use the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_INVALIDARG;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_INVALIDARG;
        *parent = nullptr;
        const auto s = source_.lock();
        if (!s) return CO_E_OBJNOTCONNECTED;
        return AccessibleObjectFromWindow(s->hwnd, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                          reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count) return E_INVALIDARG;
        const auto s = source_.lock();
        if (!s) return CO_E_OBJNOTCONNECTED;
        *count = static_cast<LONG>(s->nodes().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_INVALIDARG;
        *out = nullptr;
        Lookup l = lookup(child);
        if (l.hr != S_OK) return l.hr;
        return S_FALSE;  // every child is a simple element
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        Lookup l = lookup(child);
        if (l.hr != S_OK) return l.hr;
        if (!l.node) {
            wchar_t title[256] = {};
            GetWindowTextW(l.source->hwnd, title, 256);
            return text_out(wide_to_utf8(title), out);
        }
        return text_out(l.node->name, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        Lookup l = lookup(child);
        if (l.hr != S_OK) return l.hr;
        return text_out(l.node ? l.node->value : std::string(), out);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return empty_text(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        if (!out) return E_INVALIDARG;
        VariantInit(out);
        Lookup l = lookup(child);
        if (l.hr != S_OK) return l.hr;
        out->vt = VT_I4;
        out->lVal = l.node ? role_id(l.node->role) : ROLE_SYSTEM_CLIENT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        if (!out) return E_INVALIDARG;
        VariantInit(out);
        Lookup l = lookup(child);
        if (l.hr != S_OK) return l.hr;
        out->vt = VT_I4;
        if (l.node) {
            LONG bits = state_bits(*l.node);
            // The window's focused control has the system focus only while the window does.
            if (GetFocus() != l.source->hwnd) bits &= ~STATE_SYSTEM_FOCUSED;
            out->lVal = bits;
        } else {
            out->lVal = STATE_SYSTEM_FOCUSABLE | (GetFocus() == l.source->hwnd ? STATE_SYSTEM_FOCUSED : 0);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override { return empty_text(child, out); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return empty_text(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        if (!out) return E_INVALIDARG;
        VariantInit(out);
        const auto s = source_.lock();
        if (!s) return CO_E_OBJNOTCONNECTED;
        if (GetFocus() != s->hwnd) return S_FALSE;
        out->vt = VT_I4;
        out->lVal = CHILDID_SELF;
        const auto nodes = s->nodes();
        for (size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i].state & accessible_state::kFocused) out->lVal = static_cast<LONG>(i + 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        if (!out) return E_INVALIDARG;
        VariantInit(out);
        return source_.lock() ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        Lookup l = lookup(child);
        if (l.hr != S_OK) return l.hr;
        return text_out(l.node ? l.node->default_action : std::string(), out);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
        if (!x || !y || !w || !h) return E_INVALIDARG;
        Lookup l = lookup(child);
        if (l.hr != S_OK) return l.hr;
        RECT client{};
        GetClientRect(l.source->hwnd, &client);
        if (l.node) {
            const double scale = scale_for_window(l.source->hwnd);
            client = {static_cast<LONG>(std::lround(l.node->rect.left * scale)),
                      static_cast<LONG>(std::lround(l.node->rect.top * scale)),
                      static_cast<LONG>(std::lround(l.node->rect.right * scale)),
                      static_cast<LONG>(std::lround(l.node->rect.bottom * scale))};
        }
        POINT origin{0, 0};
        ClientToScreen(l.source->hwnd, &origin);
        *x = client.left + origin.x;
        *y = client.top + origin.y;
        *w = client.right - client.left;
        *h = client.bottom - client.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* out) override {
        if (!out) return E_INVALIDARG;
        VariantInit(out);
        Lookup l = lookup(start);
        if (l.hr != S_OK) return l.hr;
        const auto count = static_cast<LONG>(l.nodes.size());
        const LONG at = l.node ? start.lVal : CHILDID_SELF;
        LONG to = 0;
        if (dir == NAVDIR_FIRSTCHILD && at == CHILDID_SELF) to = 1;
        else if (dir == NAVDIR_LASTCHILD && at == CHILDID_SELF) to = count;
        else if ((dir == NAVDIR_NEXT || dir == NAVDIR_DOWN) && at != CHILDID_SELF) to = at + 1;
        else if ((dir == NAVDIR_PREVIOUS || dir == NAVDIR_UP) && at != CHILDID_SELF) to = at - 1;
        if (to < 1 || to > count) return S_FALSE;
        out->vt = VT_I4;
        out->lVal = to;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        if (!out) return E_INVALIDARG;
        VariantInit(out);
        const auto s = source_.lock();
        if (!s) return CO_E_OBJNOTCONNECTED;
        POINT p{x, y};
        ScreenToClient(s->hwnd, &p);
        RECT client{};
        GetClientRect(s->hwnd, &client);
        if (!PtInRect(&client, p)) return S_FALSE;
        const double scale = scale_for_window(s->hwnd);
        const Point dips{static_cast<int32_t>(std::lround(p.x / scale)),
                         static_cast<int32_t>(std::lround(p.y / scale))};
        out->vt = VT_I4;
        out->lVal = CHILDID_SELF;
        // The topmost item wins, as for a click: the highest item index.
        const auto nodes = s->nodes();
        size_t best_item = 0;
        for (size_t i = 0; i < nodes.size(); ++i)
            if (contains(nodes[i].rect, dips) && (out->lVal == CHILDID_SELF || nodes[i].item >= best_item)) {
                out->lVal = static_cast<LONG>(i + 1);
                best_item = nodes[i].item;
            }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        Lookup l = lookup(child);
        if (l.hr != S_OK) return l.hr;
        if (!l.node || l.node->default_action.empty()) return DISP_E_MEMBERNOTFOUND;
        if (!PostMessageW(l.source->hwnd, kMsgAccessibleAction, l.node->item,
                          static_cast<LPARAM>(l.node->command)))
            return HRESULT_FROM_WIN32(GetLastError());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    struct Lookup {
        HRESULT hr = S_OK;
        std::shared_ptr<AccessibleSource> source;
        std::vector<AccessibleNode> nodes;
        const AccessibleNode* node = nullptr;  // null for the client itself
    };

    Lookup lookup(const VARIANT& child) const {
        Lookup l;
        l.source = source_.lock();
        if (!l.source) {
            l.hr = CO_E_OBJNOTCONNECTED;
            return l;
        }
        if (child.vt != VT_I4) {
            l.hr = E_INVALIDARG;
            return l;
        }
        if (child.lVal == CHILDID_SELF) return l;
        l.nodes = l.source->nodes();
        if (child.lVal < 1 || static_cast<size_t>(child.lVal) > l.nodes.size()) {
            l.hr = E_INVALIDARG;
            return l;
        }
        l.node = &l.nodes[static_cast<size_t>(child.lVal) - 1];
        return l;
    }

    HRESULT empty_text(const VARIANT& child, BSTR* out) const {
        if (!out) return E_INVALIDARG;
        *out = nullptr;
        const Lookup l = lookup(child);
        return l.hr == S_OK ? S_FALSE : l.hr;
    }

    std::atomic<ULONG> refs_{1};
    std::weak_ptr<AccessibleSource> source_;
};
#pragma GCC diagnostic pop

}  // namespace

std::optional<LRESULT> answer_get_object(const std::shared_ptr<AccessibleSource>& source,
                                         WPARAM wp, LPARAM lp) {
    if (!source || static_cast<LONG>(lp) != static_cast<LONG>(OBJID_CLIENT)) return std::nullopt;
    // The object is handed out through COM: the UI thread joins a single-threaded
    // apartment once (a thread that already has one keeps it).
    static thread_local bool com_ready = false;
    if (!com_ready) {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        com_ready = SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
        if (!com_ready) log("accessible: CoInitializeEx failed " + hr_text(hr));
    }
    auto* object = new AccessibleObject(source);
    const LRESULT result = LresultFromObject(kIidAccessible, wp, object);
    object->Release();
    if (FAILED(static_cast<HRESULT>(result))) {
        log("accessible: LresultFromObject failed " + hr_text(static_cast<int32_t>(result)));
        return std::nullopt;
    }
    return result;
}

std::vector<AccessibleNode> announce_changes(HWND hwnd, const std::vector<AccessibleNode>& before,
                                             std::vector<AccessibleNode> after) {
    const AccessibleChanges c = accessible_changes(before, after);
    const auto child = [](size_t i) { return static_cast<LONG>(i + 1); };
    if (c.reordered) NotifyWinEvent(EVENT_OBJECT_REORDER, hwnd, OBJID_CLIENT, CHILDID_SELF);
    for (size_t i : c.state) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, child(i));
    for (size_t i : c.name) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, child(i));
    for (size_t i : c.value) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd, OBJID_CLIENT, child(i));
    if (c.focus && GetFocus() == hwnd) NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, child(*c.focus));
    return after;
}

}  // namespace tw::app
