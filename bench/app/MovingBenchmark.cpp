// Times what a user does most after opening a file, paging through it, moving and typing in it, in
// Notova beside the bare rich-edit control (set up as the text field sets up its window, in a process of
// its own), Wine's wordpad (the same control) and Wine's notepad (the plain edit control). Every program
// gets the same keys through SendInput, as from the keyboard: bursts as fast as the input queue takes
// them, held keys at the key-repeat rate. A row is timed from its first key until the program has
// painted and stopped using the processor; the processor time it used is shown beside the wall time.
// Not a test: it prints a table.
//
// NOTOVA_BENCH_TEXTS ("prose", "numbered"), NOTOVA_BENCH_SIZES (MB, "1,5,20"), NOTOVA_BENCH_WRAP
// ("off", "on"), NOTOVA_BENCH_PROGRAMS ("notova", "control", "wordpad", "notepad") and
// NOTOVA_BENCH_LIMIT (seconds a row may take, 60) choose what runs.
#include "bench/support/Processes.h"
#include "forms/resource.h"
#include "tests/support/BareControl.h"
#include "tests/support/SampleTexts.h"
#include "tests/support/TestHost.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>

namespace nv {
namespace {

using Clock = std::chrono::steady_clock;

bool Listed(const std::string& list, const std::string& item) {
    std::istringstream items(list);
    for (std::string part; std::getline(items, part, ',');)
        if (part == item) return true;
    return false;
}

// ---- Keys, as the keyboard gives them ------------------------------------------------------------
bool Extended(WORD key) {
    switch (key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_DELETE:
    case VK_INSERT:
        return true;
    default:
        return false;
    }
}

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (Extended(key) ? KEYEVENTF_EXTENDEDKEY : 0);
    ::SendInput(1, &input, sizeof input);
}

// A key pressed `count` times as fast as the queue takes it, with `modifier` held down around them.
void Burst(WORD key, int count, WORD modifier = 0) {
    if (modifier) SendKey(modifier, false);
    for (int i = 0; i < count; ++i) {
        SendKey(key, false);
        SendKey(key, true);
    }
    if (modifier) SendKey(modifier, true);
}

// A key held down until it has repeated `count` times, at the rate of a keyboard's repeat.
constexpr auto kRepeat = std::chrono::milliseconds(20);
void Held(WORD key, int count) {
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < count; ++i) {
        std::this_thread::sleep_until(start + i * kRepeat);
        SendKey(key, false);
    }
    SendKey(key, true);
}

// ---- The rows -------------------------------------------------------------------------------------
enum Row {
    kFirstKey,
    kLaterKey,
    kPageDown,
    kPageUp,
    kDownHeld,
    kCtrlEnd,
    kCtrlHome,
    kTyped,
    kBackspaces,
    kShiftPageDown,
    kRowCount
};
const char* const kRowNames[kRowCount] = {
    "first key", "later key", "PageDown x100", "PageUp x100",  "Down held 200",
    "Ctrl+End",  "Ctrl+Home", "50 typed held", "50 Bksp held", "Shift+PgDn x20",
};
constexpr double kNotMeasured = -1, kOverLimit = -2;

struct Measure {
    double wall = kNotMeasured, processor = kNotMeasured;
};
struct ProgramRun {
    std::array<Measure, kRowCount> rows;
    double peakMB = kNotMeasured;
};

struct Program {
    std::string name, commandLine, title;
    std::vector<const char*> editorClasses;
    std::function<void(test::ChildProcess&, HWND main, HWND editor)> turnWrapOn; // none: it starts so
};

// Seconds from `start` until the program last used the processor, once it has used none for a
// quarter of a second; kOverLimit after `limit` seconds. Its window is painted by then: WM_PAINT comes
// when nothing else waits.
double UntilIdle(const test::ChildProcess& child, Clock::time_point start, double limit) {
    const auto seconds = [&](Clock::time_point t) {
        return std::chrono::duration<double>(t - start).count();
    };
    double used = child.ProcessorSeconds();
    Clock::time_point lastUse = start;
    for (;;) {
        ::Sleep(5);
        const Clock::time_point now = Clock::now();
        const double nowUsed = child.ProcessorSeconds();
        if (nowUsed != used) {
            used = nowUsed;
            lastUse = now;
        }
        if (seconds(now) - seconds(lastUse) > 0.25) return seconds(lastUse);
        if (seconds(now) > limit || !child.Running()) return kOverLimit;
    }
}

Measure Timed(const test::ChildProcess& child, HWND main, double limit, const std::function<void()>& keys) {
    ::SetForegroundWindow(main);
    UntilIdle(child, Clock::now(), limit); // what activation set off is not the row's
    const double before = child.ProcessorSeconds();
    const Clock::time_point start = Clock::now();
    keys();
    const Clock::time_point sent = Clock::now();
    Measure m;
    m.wall = UntilIdle(child, start, limit);
    // A program cannot be done before its last key came.
    if (m.wall >= 0) m.wall = std::max(m.wall, std::chrono::duration<double>(sent - start).count());
    if (m.wall == kOverLimit) return m;
    const Clock::time_point painted = Clock::now();
    ::RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    m.wall += std::chrono::duration<double>(Clock::now() - painted).count();
    m.processor = child.ProcessorSeconds() - before;
    return m;
}

// The caret on the middle line, scrolled into view, as a click there would leave it.
void CaretToMiddle(test::ChildProcess& child, HWND editor, double limit) {
    const auto lines = static_cast<WPARAM>(::SendMessageA(editor, EM_GETLINECOUNT, 0, 0));
    const auto middle = static_cast<WPARAM>(::SendMessageA(editor, EM_LINEINDEX, lines / 2, 0));
    child.Send(editor, EM_SETSEL, middle, static_cast<LPARAM>(middle), limit);
    child.Send(editor, EM_SCROLLCARET, 0, 0, limit);
}

constexpr int kWindowWidth = 800, kWindowHeight = 600;

ProgramRun Drive(const Program& program, double limit, SIZE* editorSize) {
    ProgramRun run;
    test::ChildProcess child(program.commandLine);
    HWND main = nullptr;
    if (child.WaitForTitle(program.title, limit * 4, &main) < 0) return run;
    ::SetWindowPos(main, nullptr, 10, 10, kWindowWidth, kWindowHeight, SWP_NOZORDER);
    HWND editor = test::VisibleChildOf(main, program.editorClasses);
    if (program.turnWrapOn) program.turnWrapOn(child, main, editor);
    if (editorSize) {
        RECT r{};
        ::GetWindowRect(editor, &r);
        *editorSize = SIZE{r.right - r.left, r.bottom - r.top};
    }
    const auto row = [&](Row r, const std::function<void()>& keys) {
        if (r > 0 && run.rows[r - 1].wall == kOverLimit) return;
        run.rows[r] = Timed(child, main, limit, keys);
    };
    row(kFirstKey, [] { Burst('X', 1); });
    ::Sleep(300);
    row(kLaterKey, [] { Burst('X', 1); });
    child.Send(editor, EM_SETSEL, 0, 0, limit);
    child.Send(editor, EM_SCROLLCARET, 0, 0, limit);
    row(kPageDown, [] { Burst(VK_NEXT, 100); });
    row(kPageUp, [] { Burst(VK_PRIOR, 100); });
    row(kDownHeld, [] { Held(VK_DOWN, 200); });
    row(kCtrlEnd, [] { Burst(VK_END, 1, VK_CONTROL); });
    row(kCtrlHome, [] { Burst(VK_HOME, 1, VK_CONTROL); });
    CaretToMiddle(child, editor, limit);
    row(kTyped, [] { Held('X', 50); });
    row(kBackspaces, [] { Held(VK_BACK, 50); });
    row(kShiftPageDown, [] { Burst(VK_NEXT, 20, VK_SHIFT); });
    run.peakMB = child.PeakWorkingSetMB();
    child.PreferredAnswer = IDNO; // nothing saved
    child.Close(main);
    return run;
}

// ---- The programs ---------------------------------------------------------------------------------
std::string FileName(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

Program Notova(const std::string& path) {
    return {"notova",
            "\"" + test::ExeBesideTests("app\\notova.exe") + "\" \"" + path + "\"",
            FileName(path),
            {"RichEdit20A"},
            nullptr};
}

Program Notepad(const std::string& path, bool wrap) {
    const std::string exe = test::SystemProgram("notepad.exe");
    Program p{"notepad", "\"" + exe + "\" \"" + path + "\"", FileName(path), {"Edit"}, nullptr};
    if (wrap) {
        const UINT id = test::MenuCommandOf(exe, "Wrap long lines");
        p.turnWrapOn = [id](test::ChildProcess& child, HWND main, HWND) {
            child.Send(main, WM_COMMAND, id, 0, 600);
        };
    }
    return p;
}

Program Wordpad(const std::string& path, bool wrap) {
    Program p{"wordpad",
              "\"" + test::EnvOr("ProgramFiles", "C:\\Program Files") +
                  "\\Windows NT\\Accessories\\wordpad.exe\" \"" + path + "\"",
              FileName(path),
              {"RICHEDIT50W", "RichEdit20W", "RichEdit20A"},
              nullptr};
    // Wordpad starts wrapped to the window; its options dialog sets the line width, as done here.
    p.turnWrapOn = [wrap](test::ChildProcess& child, HWND, HWND editor) {
        child.Send(editor, EM_SETTARGETDEVICE, 0, wrap ? 0 : 1, 600);
    };
    return p;
}

constexpr char kFileVariable[] = "NOTOVA_BENCH_FILE";
constexpr char kWrapVariable[] = "NOTOVA_BENCH_WRAP_ON";
constexpr char kSizeVariable[] = "NOTOVA_BENCH_SIZE";
constexpr char kControlTitle[] = "Bare control";

Program Control() {
    return {"control",
            test::SelfCommandLine("MovingControl.DISABLED_Child"),
            kControlTitle,
            {"RichEdit20A"},
            nullptr};
}

// The bare control in a window of its own, given the file the fastest way it takes it.
TEST(MovingControl, DISABLED_Child) {
    const std::string file = test::EnvOr(kFileVariable, "");
    if (file.empty()) GTEST_SKIP() << "only run as the child of the moving benchmark";
    long width = 600, height = 400;
    std::istringstream(test::EnvOr(kSizeVariable, "600 400")) >> width >> height;
    test::TestHost host(static_cast<int>(width) + 40, static_cast<int>(height) + 80);
    host.OnMessage = [](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_DESTROY) ::PostQuitMessage(0);
        return false;
    };
    TFont font;
    font.Name = "Fixedsys";
    font.Height = -12;
    font.Style = fsBold;
    font.Charset = ANSI_CHARSET;
    HWND bare = test::CreateBareControl(host.Handle(), font, false, test::EnvOr(kWrapVariable, "0") == "1");
    ::MoveWindow(bare, 0, 0, static_cast<int>(width), static_cast<int>(height), TRUE);
    test::BareStreamInWithBars(bare, test::ParagraphMarks(test::ReadFileBytes(file)));
    ::SetFocus(bare);
    ::SetWindowTextA(host.Handle(), kControlTitle);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

ProgramRun DriveControl(const std::string& path, bool wrap, SIZE size, double limit) {
    const std::string sizeText = std::to_string(size.cx) + " " + std::to_string(size.cy);
    ::SetEnvironmentVariableA(kFileVariable, path.c_str());
    ::SetEnvironmentVariableA(kWrapVariable, wrap ? "1" : "0");
    ::SetEnvironmentVariableA(kSizeVariable, sizeText.c_str());
    const ProgramRun run = Drive(Control(), limit, nullptr);
    for (const char* name : {kFileVariable, kWrapVariable, kSizeVariable})
        ::SetEnvironmentVariableA(name, nullptr);
    return run;
}

// ---- The table -------------------------------------------------------------------------------------
std::string Cell(const Measure& m) {
    if (m.wall == kOverLimit) return ">limit";
    if (m.wall < 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f/%.2f", m.wall, m.processor);
    return text;
}

std::string Ratio(double notova, double control) {
    if (notova < 0 || control <= 0) return "-";
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", notova / control);
    return text;
}

TEST(Benchmark, MovingAndTyping) {
    const std::string texts = test::EnvOr("NOTOVA_BENCH_TEXTS", "prose,numbered");
    const std::string sizes = test::EnvOr("NOTOVA_BENCH_SIZES", "1,5,20");
    const std::string wraps = test::EnvOr("NOTOVA_BENCH_WRAP", "off,on");
    const std::string programs = test::EnvOr("NOTOVA_BENCH_PROGRAMS", "notova,control,wordpad,notepad");
    const double limit = std::atof(test::EnvOr("NOTOVA_BENCH_LIMIT", "60").c_str());
    const std::vector<std::string> columns = {"notova", "control", "wordpad", "notepad"};
    test::TempDir dir;
    std::printf(
        "\nwall/processor seconds from the first key until painted and idle; N/c: Notova over the control\n");
    std::printf("%-8s %2s %-4s %-14s", "text", "MB", "wrap", "keys");
    for (const std::string& c : columns)
        std::printf(" %11s", c.c_str());
    std::printf(" %6s %6s\n", "N/c w", "N/c p");
    for (const char* kind : {"prose", "numbered"}) {
        if (!Listed(texts, kind)) continue;
        for (int mb : {1, 5, 20}) {
            if (!Listed(sizes, std::to_string(mb))) continue;
            const std::string path = dir.File(std::string(kind) + "-" + std::to_string(mb) + ".txt");
            const size_t bytes = static_cast<size_t>(mb) << 20;
            test::WriteFileBytes(path, kind == std::string("prose") ? test::Prose(bytes)
                                                                    : test::NumberedProse(bytes));
            for (bool wrap : {false, true}) {
                if (!Listed(wraps, wrap ? "on" : "off")) continue;
                std::map<std::string, ProgramRun> runs;
                SIZE editorSize{kWindowWidth - 20, kWindowHeight - 100};
                for (const std::string& column : columns) {
                    if (!Listed(programs, column)) continue;
                    if (column == "notova") {
                        test::SetNotovaOptions(wrap);
                        runs[column] = Drive(Notova(path), limit, &editorSize);
                    } else if (column == "control") {
                        runs[column] = DriveControl(path, wrap, editorSize, limit);
                    } else if (column == "wordpad") {
                        runs[column] = Drive(Wordpad(path, wrap), limit, nullptr);
                    } else {
                        runs[column] = Drive(Notepad(path, wrap), limit, nullptr);
                    }
                }
                for (int r = 0; r < kRowCount; ++r) {
                    std::printf("%-8s %2d %-4s %-14s", kind, mb, wrap ? "on" : "off", kRowNames[r]);
                    for (const std::string& c : columns)
                        std::printf(" %11s", Cell(runs[c].rows[r]).c_str());
                    const Measure& n = runs["notova"].rows[r];
                    const Measure& b = runs["control"].rows[r];
                    std::printf(" %6s %6s\n", Ratio(n.wall, b.wall).c_str(),
                                Ratio(n.processor, b.processor).c_str());
                }
                std::printf("%-8s %2d %-4s %-14s", kind, mb, wrap ? "on" : "off", "peak MB");
                for (const std::string& c : columns) {
                    char text[16] = "-";
                    if (runs[c].peakMB >= 0) std::snprintf(text, sizeof text, "%.0f", runs[c].peakMB);
                    std::printf(" %11s", text);
                }
                std::printf("\n");
                std::fflush(stdout);
            }
        }
    }
}

} // namespace
} // namespace nv
