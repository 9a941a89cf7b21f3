#pragma once
// The accessible object (IAccessible) of a drawn window's client area: its children
// are the nodes of the window's accessible tree (core/ui/accessible_tree.h) as simple
// elements, child id = node index + 1. The object reads the tree afresh at every call
// through a source that the window owns; once the window is gone the source is too,
// and every call answers that the object is disconnected.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/ui/accessible_tree.h"

namespace tw::app {

// A private message the accessible object posts for a default action, so that the
// action runs from the window's own message loop and not inside a screen reader's
// call: wParam is the item index, lParam the item's command number.
inline constexpr UINT kMsgAccessibleAction = WM_APP + 14;

struct AccessibleSource {
    HWND hwnd = nullptr;
    std::function<std::vector<AccessibleNode>()> nodes;
};

// The interface id of IAccessible. Defined here: with a static mingw-w64 link the one
// in liboleacc.a resolves to a code stub, and every query for it fails.
extern const IID kIidAccessible;

// WM_GETOBJECT: an accessible object for OBJID_CLIENT, wrapped by LresultFromObject;
// nothing for other object ids (the caller hands those to DefWindowProcW).
std::optional<LRESULT> answer_get_object(const std::shared_ptr<AccessibleSource>& source,
                                         WPARAM wp, LPARAM lp);

// Tells listening screen readers what changed since `before` (focus, states, names,
// values, or the whole list) with NotifyWinEvent; returns the current tree.
std::vector<AccessibleNode> announce_changes(HWND hwnd, const std::vector<AccessibleNode>& before,
                                             std::vector<AccessibleNode> after);

}  // namespace tw::app
