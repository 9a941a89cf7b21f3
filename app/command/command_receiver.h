#pragma once
// The main window's side of "Tilewright.exe --command": a WM_COPYDATA tagged as a command
// is checked, decided and carried out, and its answer line goes back to the sender.
#include <windows.h>

namespace tw::app {

struct AppState;

// WM_COPYDATA to the main window: `sender` is the message's wParam. Returns the message's
// result: the tagged exit code for a command, 0 (not taken) for anything else.
LRESULT on_command_message(AppState& state, HWND sender, const COPYDATASTRUCT* data);

// Class of the sender's message-only window that receives the answer.
inline constexpr wchar_t kCommandAnswerClass[] = L"TilewrightCommandAnswer";

}  // namespace tw::app
