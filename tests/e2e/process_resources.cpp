// Prints what every running process with the given image name holds:
//   process_resources.exe Tilewright.exe
//   -> "<pid> private=<bytes> working_set=<bytes> handles=<n> gdi=<n> user=<n>"
// A count the system cannot give is printed as -1.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return 1;
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof pe;
    int found = 0;
    for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe)) {
        if (_wcsicmp(pe.szExeFile, argv[1]) != 0) continue;
        HANDLE proc = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pe.th32ProcessID);
        if (!proc) continue;
        PROCESS_MEMORY_COUNTERS_EX pmc{};
        pmc.cb = sizeof pmc;
        long long priv = -1, working = -1, handles = -1;
        if (K32GetProcessMemoryInfo(proc, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc)) {
            priv = static_cast<long long>(pmc.PrivateUsage);
            working = static_cast<long long>(pmc.WorkingSetSize);
        }
        DWORD count = 0;
        if (GetProcessHandleCount(proc, &count)) handles = count;
        SetLastError(0);
        const DWORD gdi = GetGuiResources(proc, GR_GDIOBJECTS);
        const bool gdi_known = gdi != 0 || GetLastError() == 0;
        SetLastError(0);
        const DWORD user = GetGuiResources(proc, GR_USEROBJECTS);
        const bool user_known = user != 0 || GetLastError() == 0;
        std::printf("%lu private=%lld working_set=%lld handles=%lld gdi=%lld user=%lld\n", pe.th32ProcessID, priv,
                    working, handles, gdi_known ? static_cast<long long>(gdi) : -1LL,
                    user_known ? static_cast<long long>(user) : -1LL);
        std::fflush(stdout);
        CloseHandle(proc);
        ++found;
    }
    CloseHandle(snap);
    return found ? 0 : 1;
}
