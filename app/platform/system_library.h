#pragma once
// A system DLL loaded for as long as one piece of work needs it. The network stack
// (WinHTTP with its TLS and certificate libraries) and the graphics stack (Direct2D,
// DirectWrite, Direct3D 11, DXGI) are large and most runs need them only now and then:
// a resident tray program loads them when a check, a drawn window or a share starts
// and lets them go when it ends. Only the system folder is searched, so a DLL of the
// same name beside the program is never picked up.
#include <windows.h>

#include <type_traits>

namespace tw::app {

class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name)
        : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}
    ~SystemLibrary() {
        if (module_) FreeLibrary(module_);
    }
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    explicit operator bool() const { return module_ != nullptr; }
    HMODULE module() const { return module_; }

    // What a caller reports for a call it could not make because the library or the
    // export is missing: the same path as a call that fails.
    static constexpr HRESULT kMissing = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);

    // The export `name` as a pointer of the function's own type, or null when the
    // library or the export is missing.
    template <typename Fn>
    Fn* get(const char* name) const {
        static_assert(std::is_function_v<Fn>);
        if (!module_) return nullptr;
        return reinterpret_cast<Fn*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};

}  // namespace tw::app
