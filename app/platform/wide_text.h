#pragma once
// UTF-8 <-> UTF-16 for the Win32 and DirectWrite calls, and the "hr=0x..." form in
// which failing platform calls are logged.
#include <cstdint>
#include <string>
#include <string_view>

namespace tw::app {

// Invalid UTF-8 sequences become U+FFFD; never fails.
std::wstring utf8_to_wide(std::string_view utf8);
// Unpaired surrogates become U+FFFD; never fails.
std::string wide_to_utf8(std::wstring_view wide);

// "hr=0x" followed by the code in upper-case hexadecimal without leading zeros.
std::string hr_text(int32_t hr);

}  // namespace tw::app
