#pragma once
// Comparing executable paths the way Windows treats them: surrounding white space
// trimmed, a leading "\\?\" removed, "/" as "\", no trailing "\", ASCII lower case.
#include <string>
#include <string_view>

namespace tw {

std::string normalise_exe_path(std::string_view path);
bool same_exe_path(std::string_view a, std::string_view b);

// The Run value's data: the path in double quotes followed by " --tray".
std::string autostart_command(std::string_view exe_path);
// The program a Run value starts: the path in double quotes, or an unquoted path up to
// the first blank after ".exe" (as Windows reads it); empty when there is none.
std::string autostart_command_exe(std::string_view command);

}  // namespace tw
