// Entry point of Tilewright.exe. The program itself is run() in app.cpp.
#include <windows.h>

#include "app/app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return tw::app::run(); }
