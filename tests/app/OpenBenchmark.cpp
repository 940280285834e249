// Times opening a file from the command line until the caption names it, for Notova and for Wine's
// notepad (the plain edit control) on the same prose texts, next to the bare rich-edit control's
// floor for the same text. Not a test: it prints a table.
#include "base/Handles.h"
#include "tests/support/BareControl.h"
#include "tests/support/Dialogs.h"
#include "tests/support/SampleTexts.h"
#include "tests/support/TestHost.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace nv {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kFloorFileVariable[] = "NOTOVA_BENCH_FLOOR_FILE";
constexpr char kFloorResultVariable[] = "NOTOVA_BENCH_FLOOR_RESULT";

std::string ExeBesideTests(const char* relative) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string exe = self;
    for (int i = 0; i < 3; ++i) exe = exe.substr(0, exe.find_last_of('\\'));
    return exe + "\\" + relative;
}

struct WindowSearch {
    DWORD process;
    std::string title;
    HWND found = nullptr;
    HWND question = nullptr;
};

BOOL CALLBACK FindWindowOfProcess(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(wnd, &owner);
    if (owner != search->process || !::IsWindowVisible(wnd)) return TRUE;
    char text[1024] = {}, cls[64] = {};
    ::GetWindowTextA(wnd, text, sizeof text);
    ::GetClassNameA(wnd, cls, sizeof cls);
    if (std::string(cls) == "#32770") search->question = wnd;
    if (std::string(text) == search->title) search->found = wnd;
    return TRUE;
}

// Seconds from starting `commandLine` until a window of the new process carries `title`; a question
// the program asks on the way (the large-file one) is answered Yes at once. `peakMB` gets the process's
// largest working set.
double OpenUntilTitle(const std::string& commandLine, const std::string& title, double* peakMB = nullptr) {
    // The child's own output (a test program's banner) would interleave with the table.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    KernelHandle nowhere(::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = nowhere.get();
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    const auto start = Clock::now();
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        return -1;
    }
    KernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    WindowSearch search{process.dwProcessId, title};
    double seconds = -1;
    while (::WaitForSingleObject(process.hProcess, 2) == WAIT_TIMEOUT) {
        search.found = search.question = nullptr;
        ::EnumWindows(&FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
            break;
        }
        if (search.question) test::PressButton(search.question, IDYES);
    }
    PROCESS_MEMORY_COUNTERS counters{};
    if (peakMB && ::GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters))
        *peakMB = static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20);
    if (search.found) ::PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 1);
    return seconds;
}

// The control's floor: this program run again as a child, so the bare control gets a fresh process
// as the editor does, and reads the file in one piece.
double BareFloor(const std::string& path) {
    test::TempDir dir;
    const std::string result = dir.File("floor.txt");
    ::SetEnvironmentVariableA(kFloorFileVariable, path.c_str());
    ::SetEnvironmentVariableA(kFloorResultVariable, result.c_str());
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string commandLine = std::string("\"") + self +
                                    "\" --gtest_also_run_disabled_tests --gtest_filter=OpenFloor.DISABLED_BareControl";
    OpenUntilTitle(commandLine, "\x01"); // runs until the child ends
    ::SetEnvironmentVariableA(kFloorFileVariable, nullptr);
    ::SetEnvironmentVariableA(kFloorResultVariable, nullptr);
    return test::FileExists(result) ? std::atof(test::ReadFileBytes(result).c_str()) : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

TEST(Benchmark, OpeningProseFromTheCommandLine) {
    const std::string notova = ExeBesideTests("app\\notova.exe");
    ASSERT_TRUE(test::FileExists(notova)) << notova;
    test::TempDir dir;
    std::printf("\n%d-bit build\n%-6s %4s %10s %10s %10s %10s %10s\n", static_cast<int>(sizeof(void*) * 8), "text",
                "MB", "ours s", "peak MB", "notepad s", "control s", "ours/np");
    for (size_t mb : {5u, 20u, 40u}) {
        const std::string name = "prose" + std::to_string(mb) + ".txt";
        const std::string path = dir.File(name);
        test::WriteFileBytes(path, test::Prose(mb * 1000000 - 1000));
        std::vector<double> ours, notepad, floor, peak;
        for (int run = 0; run < 3; ++run) {
            peak.push_back(0);
            ours.push_back(OpenUntilTitle("\"" + notova + "\" " + path, "Notova - " + path, &peak.back()));
            notepad.push_back(OpenUntilTitle("notepad.exe \"" + path + "\"", name + " - Notepad"));
            // The bare control in a 32-bit process has no room to spare at 40 MB.
            floor.push_back(mb < 40 ? BareFloor(path) : 0);
        }
        const double o = Median(ours), n = Median(notepad), f = Median(floor);
        std::printf("%-6s %4zu %10.2f %10.0f %10.2f %10.2f %10.2f\n", "prose", mb, o, Median(peak), n, f,
                    n > 0 ? o / n : 0.0);
        std::fflush(stdout);
        EXPECT_GT(o, 0) << "Notova showed the file";
        EXPECT_GT(n, 0) << "notepad showed the file";
    }
}

// The child of BareFloor: the bare control takes the file's text the cheapest way it can.
TEST(OpenFloor, DISABLED_BareControl) {
    const char* file = std::getenv(kFloorFileVariable);
    const char* result = std::getenv(kFloorResultVariable);
    if (!file || !result) GTEST_SKIP() << "only run as the child of the opening benchmark";
    test::TestHost host(500, 400);
    ::ShowWindow(host.Handle(), SW_SHOW);
    TFont font;
    font.Name = "Fixedsys";
    font.Height = -12;
    font.Style = fsBold;
    font.Charset = ANSI_CHARSET;
    const auto start = Clock::now();
    const std::string text = test::ParagraphMarks(test::ReadFileBytes(file));
    HWND bare = test::CreateBareControl(host.Handle(), font);
    test::BareStreamIn(bare, text);
    ::UpdateWindow(bare);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    test::WriteFileBytes(result, std::to_string(seconds));
    ::DestroyWindow(bare);
}

} // namespace
} // namespace nv
