// Entry point of Tilewright.exe. The program itself lives in app_main.cpp (run()).
#include <windows.h>

#include "app/app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return tw::app::run(); }
