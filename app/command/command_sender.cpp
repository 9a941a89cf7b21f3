#include "app/command/command_sender.h"

#include "app/command/command_receiver.h"
#include "app/platform/wide_text.h"
#include "core/base/log.h"
#include "core/model/catalog.h"
#include "core/views/remote_command.h"

#include <windows.h>

#include <optional>

namespace tw::app {

namespace {

// Long enough for a start that builds the overlays of many screens on a loaded machine.
constexpr UINT kAnswerTimeoutMs = 15000;

struct Answer {
    HWND from = nullptr;  // only the main window the command went to may answer
    std::optional<std::string> line;
};

LRESULT CALLBACK answer_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        auto* answer = reinterpret_cast<Answer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (!answer || !data || data->dwData != static_cast<ULONG_PTR>(kRemoteAnswerTag) ||
            reinterpret_cast<HWND>(wp) != answer->from || (data->cbData && !data->lpData))
            return FALSE;
        answer->line = remote_answer_line({static_cast<const char*>(data->lpData), data->cbData});
        return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND create_answer_window(Answer& answer) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = answer_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kCommandAnswerClass;
    RegisterClassExW(&wc);
    HWND w = CreateWindowExW(0, kCommandAnswerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             wc.hInstance, nullptr);
    if (w) SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&answer));
    return w;
}

// A program of the Windows subsystem has no console of its own: it writes to the output
// it was given (a file or a pipe) or to the console of the program that started it. Under
// Wine the console of cmd is already attached, so a failing AttachConsole is no sign.
void write_line(const std::string& line) {
    const std::wstring wide = utf8_to_wide(line) + L"\r\n";
    DWORD written = 0;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const DWORD type = out && out != INVALID_HANDLE_VALUE ? GetFileType(out) : FILE_TYPE_UNKNOWN;
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR) {
        // A console given as the output takes UTF-16; a file, a pipe or "> nul" UTF-8.
        if (type == FILE_TYPE_CHAR && WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr))
            return;
        const std::string text = line + "\r\n";
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    AttachConsole(ATTACH_PARENT_PROCESS);
    HANDLE con = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    if (con == INVALID_HANDLE_VALUE) return;  // started without a console
    WriteConsoleW(con, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    CloseHandle(con);
}

int finish(RemoteCode code, const std::string& command, const std::string& line) {
    log("command: sent \"" + command + "\" -> " + std::to_string(static_cast<int>(code)) + " " +
        line.substr(0, 300));
    write_line(line);
    return static_cast<int>(code);
}

std::string failure(const char* call) {
    return std::string(call) + " failed " + hr_text(static_cast<int32_t>(HRESULT_FROM_WIN32(GetLastError())));
}

}  // namespace

int send_command(const std::vector<std::wstring>& arguments) {
    std::vector<std::u16string> args;
    for (const auto& a : arguments) args.emplace_back(a.begin(), a.end());
    const std::optional<std::string> payload = encode_remote_arguments(args);
    if (!payload) return finish(RemoteCode::BadCommand, "", tr("command.malformed"));
    const std::string text = remote_command_text(*payload);

    HWND target = FindWindowW(L"TilewrightMain", nullptr);
    if (!target) {
        // Nothing runs to answer: a command that could never work says why first.
        const RemoteParse parsed = parse_remote_command(*payload);
        if (!parsed.command) return finish(RemoteCode::BadCommand, text, parsed.error);
        return finish(RemoteCode::NotRunning, text, tr("command.no_instance"));
    }
    Answer answer;
    answer.from = target;
    HWND window = create_answer_window(answer);
    if (!window) log("command: " + failure("CreateWindowExW"));  // the exit code still comes back
    // "show" brings the main window to the front, which Windows allows the program only
    // when the one in front (this one, started by the user) lets it.
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    AllowSetForegroundWindow(pid);

    COPYDATASTRUCT data{};
    data.dwData = static_cast<ULONG_PTR>(kRemoteCommandTag);
    data.cbData = static_cast<DWORD>(payload->size());
    data.lpData = const_cast<char*>(payload->data());
    DWORD_PTR result = 0;
    const LRESULT sent = SendMessageTimeoutW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(window),
                                             reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                                             kAnswerTimeoutMs, &result);
    if (!sent) {
        // Windows keeps a program from sending to one that runs as administrator.
        const bool elevated = GetLastError() == ERROR_ACCESS_DENIED;
        log("command: " + failure("SendMessageTimeoutW"));
        if (window) DestroyWindow(window);
        return finish(RemoteCode::NotRunning, text, tr(elevated ? "command.elevated" : "command.no_answer"));
    }
    if (window) DestroyWindow(window);
    const std::optional<RemoteCode> code = remote_code_from_result(static_cast<intptr_t>(result));
    if (!code) return finish(RemoteCode::NotRunning, text, tr("command.too_old"));
    return finish(*code, text, answer.line.value_or(""));
}

}  // namespace tw::app
