#pragma once
// "Tilewright.exe --command VERB [ARGUMENTS]": sends one command to the Tilewright running
// in this logon session and returns the exit code (0 done, 1 no running Tilewright,
// 2 unknown verb or bad arguments, 3 refused). Writes one line to the console it was
// started from (or to its redirected output) and to the log. Starts nothing and shows
// no window.
#include <string>
#include <vector>

namespace tw::app {

int send_command(const std::vector<std::wstring>& arguments);

}  // namespace tw::app
