// Prints the working set in bytes of every running process with the given image name:
//   working_set.exe Tilewright.exe
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
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
        HANDLE proc = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, pe.th32ProcessID);
        PROCESS_MEMORY_COUNTERS pmc{};
        if (proc && K32GetProcessMemoryInfo(proc, &pmc, sizeof pmc)) {
            std::printf("%lu %llu\n", pe.th32ProcessID, static_cast<unsigned long long>(pmc.WorkingSetSize));
            ++found;
        }
        if (proc) CloseHandle(proc);
    }
    CloseHandle(snap);
    return found ? 0 : 1;
}
