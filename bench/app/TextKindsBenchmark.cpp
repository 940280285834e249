// Times texts of ordinary kinds in Notova, opened from the command line and then through the whole-text
// commands a user gives, beside the bare rich-edit control (given the same work the fastest way it
// takes it, and doing it by itself), Wine's wordpad (the same control) and Wine's notepad (the plain
// edit control). Each program runs in a process of its own, and opening is timed from the start of that
// process, the bare control's too; an operation that takes longer than the limit ends its program, and
// the ones after it are not measured. Not a test: it prints a table.
//
// NOTOVA_BENCH_TEXTS (a part of the texts' names), NOTOVA_BENCH_RUNS (medians of that many runs, 1),
// NOTOVA_BENCH_LIMIT (seconds, 60) and NOTOVA_BENCH_PROGRAMS (a list of "notova", "control",
// "as-is", "wordpad", "notepad") choose what runs.
#include "base/Platform.h"
#include "editor/TextMemory.h"
#include "forms/resource.h"
#include "tests/support/BareControl.h"
#include "bench/support/Processes.h"
#include "tests/support/SampleTexts.h"
#include "tests/support/TestHost.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace nv {
namespace {

// "repaint" paints the whole window as it stands: the floor under every other row of its program.
enum Op { kOpen, kRepaint, kWrapOn, kWrapOff, kDelete, kUndo, kType, kNew, kOpCount };
const char* const kOpNames[kOpCount] = {"open",       "repaint", "wrap on",   "wrap off",
                                        "Ctrl+A Del", "Ctrl+Z",  "Ctrl+A, x", "New"};

constexpr double kNotMeasured = -1, kOverLimit = -2, kRefused = -3;
using Timings = std::array<double, kOpCount>;

// The numbered lines with letters for the digits: what the numbers cost beside the same text.
std::string LetteredProse(size_t bytes) {
    std::string text = test::NumberedProse(bytes);
    for (char& c : text) {
        if (c >= '0' && c <= '9') c = static_cast<char>('a' + (c - '0'));
    }
    return text;
}

struct TextKind {
    const char* name;
    std::string (*make)(size_t);
    size_t mb;
};
const TextKind kTexts[] = {
    {"numbered", test::NumberedProse, 1}, {"lettered", LetteredProse, 1},
    {"numbered", test::NumberedProse, 5}, {"lettered", LetteredProse, 5},
    {"log", test::LogLines, 1},           {"csv", test::CsvNumbers, 1},
    {"c-source", test::CSource, 1},       {"one-line", test::LongLine, 1},
};

// ---- Programs driven by messages -------------------------------------------------------------------
struct Step {
    bool toEditor; // the text control, else the main window
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};
using Script = std::vector<Step>;

struct Program {
    std::string name, exe;
    std::vector<const char*> editorClasses;
    std::array<Script, kOpCount> scripts; // none for kOpen
};

constexpr LPARAM kDeleteDown = 0x01530001, kDeleteUp = static_cast<LPARAM>(0xC1530001u);
Script SelectAll() {
    return {{true, EM_SETSEL, 0, -1}};
}
Script operator+(Script a, const Script& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
const Script kDeleteKey = {{true, WM_KEYDOWN, VK_DELETE, kDeleteDown},
                           {true, WM_KEYUP, VK_DELETE, kDeleteUp}};
const Script kTypeX = {{true, WM_CHAR, 'x', 1}};
Script Command(UINT id) {
    return {{false, WM_COMMAND, id, 0}};
}

Program Notova() {
    Program p{"notova", test::ExeBesideTests("app\\notova.exe"), {"RichEdit20A"}, {}};
    p.scripts[kWrapOn] = p.scripts[kWrapOff] = Command(IDM_WORDWRAP);
    p.scripts[kDelete] = Command(IDM_SELECTALL) + kDeleteKey;
    p.scripts[kUndo] = Command(IDM_UNDO);
    p.scripts[kType] = Command(IDM_SELECTALL) + kTypeX;
    p.scripts[kNew] = Command(IDM_NEW);
    return p;
}

Program Notepad() {
    Program p{"notepad", test::SystemProgram("notepad.exe"), {"Edit"}, {}};
    p.scripts[kWrapOn] = p.scripts[kWrapOff] = Command(test::MenuCommandOf(p.exe, "Wrap long lines"));
    p.scripts[kDelete] = SelectAll() + kDeleteKey;
    p.scripts[kUndo] = Command(test::MenuCommandOf(p.exe, "Undo"));
    p.scripts[kType] = SelectAll() + kTypeX;
    p.scripts[kNew] = Command(test::MenuCommandOf(p.exe, "New"));
    return p;
}

// Wordpad's wrap options live in a dialog; they set the control's line width, as done here.
Program Wordpad() {
    Program p{"wordpad",
              test::EnvOr("ProgramFiles", "C:\\Program Files") + "\\Windows NT\\Accessories\\wordpad.exe",
              {"RICHEDIT50W", "RichEdit20W", "RichEdit20A"},
              {}};
    p.scripts[kWrapOn] = {{true, EM_SETTARGETDEVICE, 0, 0}};
    p.scripts[kWrapOff] = {{true, EM_SETTARGETDEVICE, 0, 1}};
    p.scripts[kDelete] = SelectAll() + kDeleteKey;
    p.scripts[kUndo] = Command(test::MenuCommandOf(p.exe, "Undo"));
    p.scripts[kType] = SelectAll() + kTypeX;
    p.scripts[kNew] = Command(test::MenuCommandOf(p.exe, "New..."));
    return p;
}

// The window painted as the operation left it: the painting is part of what the user waits for. A
// window of another process paints before RedrawWindow returns.
double Repaint(HWND window, bool whole = false) {
    const UINT flags = RDW_UPDATENOW | RDW_ALLCHILDREN | (whole ? RDW_INVALIDATE | RDW_ERASE : 0);
    return test::Seconds([&] { ::RedrawWindow(window, nullptr, nullptr, flags); });
}

Timings DriveProgram(const Program& program, const std::string& path, double limit, SIZE* editorSize) {
    Timings t;
    t.fill(kNotMeasured);
    if (program.name == "notova") test::SetNotovaOptions(false);
    test::ChildProcess child("\"" + program.exe + "\" \"" + path + "\"");
    HWND main = nullptr;
    t[kOpen] = child.WaitForTitle(path.substr(path.find_last_of('\\') + 1), limit, &main);
    if (t[kOpen] < 0) {
        t[kOpen] = kOverLimit;
        return t;
    }
    t[kOpen] += Repaint(main);
    if (editorSize) {
        RECT r{};
        ::GetWindowRect(test::VisibleChildOf(main, program.editorClasses), &r);
        *editorSize = SIZE{r.right - r.left, r.bottom - r.top};
    }
    for (int op = kOpen + 1; op < kOpCount; ++op) {
        const int questions = child.Answered();
        double sum = 0;
        for (const Step& step : program.scripts[op]) {
            HWND target = step.toEditor ? test::VisibleChildOf(main, program.editorClasses) : main;
            const double s = child.Send(target, step.msg, step.wParam, step.lParam, limit - sum);
            if (s < 0) {
                t[op] = kOverLimit;
                return t; // the program is ended with the child
            }
            sum += s;
        }
        sum += Repaint(main, op == kRepaint);
        // A question during the word-wrap toggle is the refusal of lines too long to wrap.
        const bool refused = (op == kWrapOn || op == kWrapOff) && child.Answered() > questions;
        t[op] = refused ? kRefused : sum;
    }
    child.Close(main);
    return t;
}

// ---- The bare control, in a child process ----------------------------------------------------------
constexpr char kFileVariable[] = "NOTOVA_BENCH_FILE";
constexpr char kModeVariable[] = "NOTOVA_BENCH_MODE";
constexpr char kResultVariable[] = "NOTOVA_BENCH_RESULT";
constexpr char kSizeVariable[] = "NOTOVA_BENCH_SIZE";

// The child writes a line per operation as soon as it is done; an operation that runs past the limit
// ends it.
Timings DriveControl(const std::string& mode, const std::string& path, double limit, SIZE size) {
    Timings t;
    t.fill(kNotMeasured);
    test::TempDir dir;
    const std::string result = dir.File("result.txt");
    const std::string sizeText = std::to_string(size.cx) + " " + std::to_string(size.cy);
    ::SetEnvironmentVariableA(kFileVariable, path.c_str());
    ::SetEnvironmentVariableA(kModeVariable, mode.c_str());
    ::SetEnvironmentVariableA(kResultVariable, result.c_str());
    ::SetEnvironmentVariableA(kSizeVariable, sizeText.c_str());
    test::ChildProcess child(test::SelfCommandLine("TextKindsControl.DISABLED_Child"));
    for (const char* name : {kFileVariable, kModeVariable, kResultVariable, kSizeVariable})
        ::SetEnvironmentVariableA(name, nullptr);
    int done = 0;
    double lastDone = 0;
    for (;;) {
        const bool running = child.Running();
        std::istringstream lines(test::FileExists(result) ? test::ReadFileBytes(result) : std::string());
        int op = 0;
        double seconds = 0;
        while (lines >> op >> seconds) {
            if (op >= 0 && op < kOpCount) t[op] = seconds;
            if (op + 1 > done) {
                done = op + 1;
                lastDone = child.Age();
            }
        }
        if (!running || done == kOpCount) break;
        if (child.Age() - lastDone > limit) {
            if (done < kOpCount) t[done] = kOverLimit;
            break;
        }
        ::Sleep(50);
    }
    return t;
}

double SecondsSinceProcessStart() {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    ::GetSystemTimeAsFileTime(&now);
    auto ticks = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 1e7;
}

void Report(const std::string& result, int op, double seconds) {
    std::ofstream(result, std::ios::app) << op << " " << seconds << "\n";
}

// The field's reckoning of what the control holds, as it decides whether word wrap may come on.
bool WrapFits(const std::string& text, long width) {
    const TextShape shape = MeasureTextShape(text, static_cast<std::uint64_t>(std::max(1L, width / 6)));
    return MemoryNeedFor(shape, AvailableMemory(MemoryNeedFor(shape, 0).NeededBytes)).Fits();
}

TEST(TextKindsControl, DISABLED_Child) {
    const std::string file = test::EnvOr(kFileVariable, ""), mode = test::EnvOr(kModeVariable, "");
    const std::string result = test::EnvOr(kResultVariable, "");
    if (file.empty() || result.empty()) GTEST_SKIP() << "only run as the child of the text kinds benchmark";
    long width = 600, height = 400;
    std::istringstream(test::EnvOr(kSizeVariable, "600 400")) >> width >> height;
    test::TestHost host(static_cast<int>(width) + 40, static_cast<int>(height) + 80);
    TFont font;
    font.Name = "Fixedsys";
    font.Height = -12;
    font.Style = fsBold;
    font.Charset = ANSI_CHARSET;
    const bool fastest = mode == "control";
    HWND bare = nullptr, kept = nullptr;
    auto create = [&](bool wrap) {
        bare = test::CreateBareControl(host.Handle(), font, false, wrap);
        ::MoveWindow(bare, 0, 0, static_cast<int>(width), static_cast<int>(height), TRUE);
    };
    auto load = [&](const std::string& marks) {
        if (fastest)
            test::BareStreamInWithBars(bare, marks);
        else
            test::BareStreamIn(bare, marks);
    };
    auto run = [&](int op, const std::function<void()>& work) {
        Report(result, op, test::Seconds([&] {
                   work();
                   Repaint(host.Handle());
               }));
    };
    const std::string crlf = test::ReadFileBytes(file);
    create(false);
    load(test::ParagraphMarks(crlf));
    Repaint(host.Handle());
    Report(result, kOpen, SecondsSinceProcessStart());
    Report(result, kRepaint, Repaint(host.Handle(), true));
    const bool wrapFits = WrapFits(crlf, width);
    for (int op : {kWrapOn, kWrapOff}) {
        if (!wrapFits) {
            Report(result, op, kRefused);
            continue;
        }
        run(op, [&] {
            if (!fastest) {
                ::SendMessageA(bare, EM_SETTARGETDEVICE, 0, op == kWrapOn ? 0 : 1);
                return;
            }
            const std::string marks = test::ParagraphMarks(test::BareStreamOut(bare));
            ::DestroyWindow(bare);
            create(op == kWrapOn);
            load(marks);
        });
    }
    // Fastest, the text goes with a window of its own, kept hidden for the undo; the selection the user
    // makes shows first either way.
    auto replaceAll = [&](const std::function<void()>& then) {
        ::SendMessageA(bare, EM_SETSEL, 0, -1);
        ::UpdateWindow(bare);
        if (fastest) {
            kept = bare;
            ::ShowWindow(kept, SW_HIDE);
            create(false);
        }
        then();
    };
    run(kDelete, [&] {
        replaceAll([&] {
            if (!fastest) {
                ::SendMessageA(bare, WM_KEYDOWN, VK_DELETE, kDeleteDown);
                ::SendMessageA(bare, WM_KEYUP, VK_DELETE, kDeleteUp);
            }
        });
    });
    run(kUndo, [&] {
        if (!fastest) {
            ::SendMessageA(bare, WM_UNDO, 0, 0);
            return;
        }
        ::DestroyWindow(bare);
        bare = std::exchange(kept, nullptr);
        ::ShowWindow(bare, SW_SHOW);
        // Where the control's own undo leaves the caret: after the text it brought back.
        ::SendMessageA(bare, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        ::SendMessageA(bare, EM_SCROLLCARET, 0, 0);
    });
    run(kType, [&] { replaceAll([&] { ::SendMessageA(bare, WM_CHAR, 'x', 1); }); });
    run(kNew, [&] {
        if (!fastest) {
            ::SendMessageA(bare, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
            return;
        }
        if (kept) ::DestroyWindow(kept);
        ::DestroyWindow(bare);
        create(false);
    });
    ::DestroyWindow(bare);
}

// ---- The table --------------------------------------------------------------------------------------
std::string Cell(double seconds) {
    char text[16];
    if (seconds == kOverLimit) return ">limit";
    if (seconds == kRefused) return "refused";
    if (seconds < 0) return "-";
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

TEST(Benchmark, TextKindsThroughWholeTextCommands) {
    const std::string only = test::EnvOr("NOTOVA_BENCH_TEXTS", "");
    const std::string programs = test::EnvOr("NOTOVA_BENCH_PROGRAMS", "notova,control,as-is,wordpad,notepad");
    const double limit = std::atof(test::EnvOr("NOTOVA_BENCH_LIMIT", "60").c_str());
    const int runs = std::max(1, std::atoi(test::EnvOr("NOTOVA_BENCH_RUNS", "1").c_str()));
    const std::vector<std::string> columns = {"notova", "control", "as-is", "wordpad", "notepad"};
    const std::map<std::string, Program> driven = {
        {"notova", Notova()}, {"wordpad", Wordpad()}, {"notepad", Notepad()}};
    test::TempDir dir;
    SIZE editorSize{600, 400};
    std::printf("\n%-9s %2s %-11s", "text", "MB", "operation");
    for (const std::string& c : columns)
        std::printf(" %9s", (c + " s").c_str());
    std::printf(" %8s\n", "N/ctrl");
    for (const TextKind& kind : kTexts) {
        const std::string label = std::string(kind.name) + "-" + std::to_string(kind.mb);
        if (label.find(only) == std::string::npos) continue;
        const std::string path = dir.File(label + ".txt");
        test::WriteFileBytes(path, kind.make(kind.mb << 20));
        std::map<std::string, std::array<std::vector<double>, kOpCount>> samples;
        for (int run = 0; run < runs; ++run) {
            for (const std::string& column : columns) {
                if (programs.find(column) == std::string::npos) continue;
                const auto program = driven.find(column);
                const Timings t = program != driven.end()
                                      ? DriveProgram(program->second, path, limit,
                                                     column == "notova" ? &editorSize : nullptr)
                                      : DriveControl(column, path, limit, editorSize);
                for (int op = 0; op < kOpCount; ++op)
                    samples[column][op].push_back(t[op]);
            }
        }
        for (int op = 0; op < kOpCount; ++op) {
            std::printf("%-9s %2zu %-11s", kind.name, kind.mb, kOpNames[op]);
            for (const std::string& c : columns)
                std::printf(" %9s", Cell(test::Median(samples[c][op])).c_str());
            const double n = test::Median(samples["notova"][op]), b = test::Median(samples["control"][op]);
            std::printf(" %8s\n", n >= 0 && b > 0 ? Cell(n / b).c_str() : "-");
            std::fflush(stdout);
        }
    }
}

} // namespace
} // namespace nv
