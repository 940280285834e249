#include "bench/support/Processes.h"

#include "tests/support/Dialogs.h"

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace nv::test {

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

struct WindowSearch {
    DWORD process;
    std::string titlePart;
    HWND titled = nullptr;
    HWND dialog = nullptr;
};

BOOL CALLBACK SearchWindows(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !::IsWindowVisible(window)) return TRUE;
    if (ClassOf(window) == "#32770") {
        search->dialog = window;
        return TRUE;
    }
    char text[1024] = {};
    ::GetWindowTextA(window, text, sizeof text);
    if (!search->titlePart.empty() && std::string(text).find(search->titlePart) != std::string::npos) {
        search->titled = window;
    }
    return TRUE;
}

std::string MenuCaption(HMENU menu, int index) {
    char text[256] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(index), text, sizeof text, MF_BYPOSITION);
    std::string caption;
    for (const char* c = text; *c && *c != '\t'; ++c) {
        if (*c != '&') caption += *c;
    }
    return caption;
}

UINT FindCommand(HMENU menu, const std::string& caption) {
    for (int i = 0, count = ::GetMenuItemCount(menu); i < count; ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            if (UINT id = FindCommand(sub, caption)) return id;
        } else if (MenuCaption(menu, i) == caption) {
            return ::GetMenuItemID(menu, i);
        }
    }
    return 0;
}

BOOL CALLBACK CollectMenuName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<std::string>*>(param);
    // A numeric id travels as "#n", which LoadMenu takes as well.
    names->push_back(IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name);
    return TRUE;
}

} // namespace

std::string ExeBesideTests(const char* relative) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string exe = self;
    for (int i = 0; i < 3; ++i)
        exe = exe.substr(0, exe.find_last_of('\\'));
    return exe + "\\" + relative;
}

std::string SelfCommandLine(const std::string& filter) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    return std::string("\"") + self + "\" --gtest_also_run_disabled_tests --gtest_filter=" + filter;
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

UINT MenuCommandOf(const std::string& exePath, const std::string& caption) {
    Module module(::LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return 0;
    std::vector<std::string> names;
    ::EnumResourceNamesA(module.get(), MAKEINTRESOURCEA(4) /* RT_MENU */, &CollectMenuName,
                         reinterpret_cast<LONG_PTR>(&names));
    for (const std::string& name : names) {
        Menu menu(::LoadMenuA(module.get(), name.c_str()));
        if (UINT id = menu ? FindCommand(menu.get(), caption) : 0) return id;
    }
    return 0;
}

HWND VisibleChild(HWND parent, const char* className) {
    for (HWND child = ::FindWindowExA(parent, nullptr, className, nullptr); child;
         child = ::FindWindowExA(parent, child, className, nullptr)) {
        if (::IsWindowVisible(child)) return child;
    }
    return nullptr;
}

HWND VisibleChildOf(HWND parent, const std::vector<const char*>& classNames) {
    for (const char* name : classNames) {
        if (HWND child = VisibleChild(parent, name)) return child;
    }
    return nullptr;
}

std::string EnvOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

std::string SystemProgram(const char* name) {
    char folder[MAX_PATH] = {};
    ::GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

void SetNotovaOptions(bool wordWrap) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Korvel\\Notova", 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegKey owned(key);
    for (const auto& [name, value] :
         {std::pair<const char*, DWORD>{"WordWrap", wordWrap}, {"DetectURLs", 0}, {"AutoSaveSettings", 0}}) {
        ::RegSetValueExA(owned.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
}

ChildProcess::ChildProcess(const std::string& commandLine) : commandLine_(commandLine) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    KernelHandle nowhere(
        ::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = nowhere.get();
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    started_ = Clock::now();
    if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                         &info)) {
        process_.reset(info.hProcess);
        thread_.reset(info.hThread);
        id_ = info.dwProcessId;
    }
}

ChildProcess::~ChildProcess() {
    Kill();
}

bool ChildProcess::Running() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

double ChildProcess::Age() const {
    return SecondsSince(started_);
}

bool ChildProcess::AnswerQuestion() const {
    WindowSearch search{id_, {}};
    ::EnumWindows(&SearchWindows, reinterpret_cast<LPARAM>(&search));
    if (!search.dialog) return false;
    HWND preferred = ::GetDlgItem(search.dialog, PreferredAnswer);
    PressButton(search.dialog, preferred && ::IsWindowVisible(preferred) ? PreferredAnswer : IDOK);
    ++answered_;
    return true;
}

double ChildProcess::WaitForTitle(const std::string& titlePart, double limit, HWND* window) {
    WindowSearch search{id_, titlePart};
    while (Running() && Age() < limit) {
        search.titled = search.dialog = nullptr;
        ::EnumWindows(&SearchWindows, reinterpret_cast<LPARAM>(&search));
        if (search.titled) {
            if (window) *window = search.titled;
            return Age();
        }
        if (search.dialog) AnswerQuestion();
        ::Sleep(2);
    }
    return -1;
}

double ChildProcess::Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, double limit) {
    double seconds = -1;
    std::atomic<bool> finished{false};
    DWORD_PTR result = 0;
    const auto timeout = static_cast<UINT>(std::min(limit, 3600.0) * 1000);
    // The message is sent from a thread of its own so that this one can answer the questions it
    // raises.
    std::thread sender([&] {
        const auto start = Clock::now();
        if (::SendMessageTimeoutA(window, msg, wParam, lParam, SMTO_NORMAL, timeout, &result)) {
            seconds = SecondsSince(start);
        }
        finished = true;
    });
    while (!finished) {
        AnswerQuestion();
        ::Sleep(5);
    }
    sender.join();
    return seconds;
}

bool ChildProcess::WaitForExit(double limit) {
    return !process_ ||
           ::WaitForSingleObject(process_.get(), static_cast<DWORD>(limit * 1000)) == WAIT_OBJECT_0;
}

void ChildProcess::Close(HWND window) {
    if (!Running()) return;
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 3000 && Running(); ++i) {
        AnswerQuestion();
        ::Sleep(10);
    }
    Kill();
}

namespace {
std::string ReadWholeFile(const std::string& path) {
    KernelHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    // A /proc file says it is empty: read until the end, whatever its size says.
    while (::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    return bytes;
}
} // namespace

// Wine gives a Unix process its program's Windows command line, the arguments parted by zero bytes.
std::string ChildProcess::UnixStatPath() const {
    std::string wanted;
    for (char c : commandLine_)
        if (c != '"') wanted += c;
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    std::string path;
    do {
        const std::string name = found.cFileName;
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::string line = ReadWholeFile("Z:\\proc\\" + name + "\\cmdline");
        while (!line.empty() && line.back() == '\0') line.pop_back();
        for (char& c : line)
            if (c == '\0') c = ' ';
        if (line == wanted) path = "Z:\\proc\\" + name + "\\stat";
    } while (path.empty() && ::FindNextFileA(search, &found));
    ::FindClose(search);
    return path;
}

double ChildProcess::ProcessorSeconds() const {
    if (unixStat_.empty() && Running()) unixStat_ = UnixStatPath();
    if (!unixStat_.empty()) {
        // The fields after the parenthesised name: state, then utime and stime as the 12th and 13th.
        const std::string stat = ReadWholeFile(unixStat_);
        const size_t name = stat.rfind(')');
        if (name != std::string::npos) {
            std::istringstream fields(stat.substr(name + 1));
            std::string field;
            unsigned long long user = 0, system = 0;
            for (int i = 1; i <= 11 && fields >> field; ++i) {
            }
            if (fields >> user >> system) return static_cast<double>(user + system) / 100.0; // clock ticks
        }
    }
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!process_ || !::GetProcessTimes(process_.get(), &created, &exited, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

double ChildProcess::PeakWorkingSetMB() const {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!process_ || !::GetProcessMemoryInfo(process_.get(), &counters, sizeof counters)) return 0;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20);
}

void ChildProcess::Kill() {
    if (!Running()) return;
    ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), 10000);
}

} // namespace nv::test
