// Entry point of Tilewright.exe. The program itself is run() in app.cpp.
#include <windows.h>

#include <cstdlib>
#include <exception>

#include "app/app.h"

#if defined(__GLIBCXX__)
// The C++ library's default terminate handler, active until run() installs the
// program's own (which logs a "PANIC at" line): it would print the demangled type of
// the exception to a console this program does not have. Ending at once instead keeps
// the library's demangler, about 45 KB, out of the .exe.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return tw::app::run(); }
