#include "app/platform/fatal_error.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "core/base/log.h"
#include "core/base/panic.h"

namespace tw::app {

namespace {

[[noreturn]] void on_terminate() {
    if (!panic_reported()) {
        std::string message;
        if (auto e = std::current_exception()) {
            try {
                std::rethrow_exception(e);
            } catch (const std::exception& ex) {
                message = ex.what();
            } catch (...) {
            }
        }
        // std::terminate carries no source location of its own.
        log(panic_line("<terminate>", 0, message));
    }
    std::_Exit(101);
}

LONG WINAPI on_unhandled_exception(EXCEPTION_POINTERS* info) {
    if (!panic_reported() && info && info->ExceptionRecord) {
        const auto* rec = info->ExceptionRecord;
        HMODULE module = nullptr;
        wchar_t path[MAX_PATH] = L"<unknown module>";
        if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                   GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               static_cast<LPCWSTR>(rec->ExceptionAddress), &module))
            GetModuleFileNameW(module, path, MAX_PATH);
        char msg[96];
        std::snprintf(msg, sizeof msg, "unhandled exception 0x%08lX at %p",
                      static_cast<unsigned long>(rec->ExceptionCode), rec->ExceptionAddress);
        char file[MAX_PATH * 3] = {};
        WideCharToMultiByte(CP_UTF8, 0, path, -1, file, sizeof file, nullptr, nullptr);
        log(panic_line(file, 0, msg));
    }
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void install_fatal_error_hook() {
    std::set_terminate(on_terminate);
    SetUnhandledExceptionFilter(on_unhandled_exception);
}

}  // namespace tw::app
