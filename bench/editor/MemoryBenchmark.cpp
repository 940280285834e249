// What the text field holds for texts of several shapes, set up as the main window sets it up, next to
// what the memory check before a load reckons for them. Each text is loaded in a fresh process (this
// program run again): a heap that held a text before keeps its pieces. Not a test: it prints a table.
#include "base/Handles.h"
#include "editor/NvRichEd.h"
#include "editor/TextMemory.h"
#include "tests/support/SampleTexts.h"
#include "tests/support/TestHost.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace nv {
namespace {

constexpr char kKindVariable[] = "NOTOVA_BENCH_MEMORY_KIND";
constexpr char kResultVariable[] = "NOTOVA_BENCH_MEMORY_RESULT";

struct Kind {
    const char* name;
    std::string (*make)(size_t);
    size_t kilobytes;
    bool wrap;
};
const Kind kKinds[] = {
    {"prose", &test::Prose, 4096, false},          {"numbered", &test::NumberedProse, 512, false},
    {"log", &test::LogLines, 512, false},           {"csv", &test::CsvNumbers, 1024, false},
    {"C source", &test::CSource, 1024, false},      {"short lines", &test::ShortLines, 1024, false},
    {"prose wrapped", &test::Prose, 1024, true},    {"long line wrapped", &test::LongLine, 50, true},
};

unsigned long long PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

TEST(Benchmark, MemoryOfTextShapes) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    test::TempDir dir;
    std::printf("\n%-18s %6s %12s %12s %7s\n", "text", "KB", "held MB", "reckoned MB", "ratio");
    for (const Kind& kind : kKinds) {
        const std::string result = dir.File("memory.txt");
        ::SetEnvironmentVariableA(kKindVariable, kind.name);
        ::SetEnvironmentVariableA(kResultVariable, result.c_str());
        std::string line = std::string("\"") + self +
                           "\" --gtest_also_run_disabled_tests --gtest_filter=MemoryChild.DISABLED_Load";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                     nullptr, &startup, &process));
        KernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
        ::WaitForSingleObject(process.hProcess, INFINITE);
        double held = 0, reckoned = 0;
        if (test::FileExists(result)) std::sscanf(test::ReadFileBytes(result).c_str(), "%lf %lf", &held, &reckoned);
        std::printf("%-18s %6zu %12.1f %12.1f %7.2f\n", kind.name, kind.kilobytes, held, reckoned,
                    held > 0 ? reckoned / held : 0.0);
        std::fflush(stdout);
        EXPECT_GE(reckoned, held) << kind.name << ": the check must not reckon less than the control holds";
    }
    ::SetEnvironmentVariableA(kKindVariable, nullptr);
    ::SetEnvironmentVariableA(kResultVariable, nullptr);
}

// The child: loads one text into a field set up as the main window's.
TEST(MemoryChild, DISABLED_Load) {
    const char* name = std::getenv(kKindVariable);
    const char* result = std::getenv(kResultVariable);
    if (!name || !result) GTEST_SKIP() << "only run as the child of the memory benchmark";
    const Kind* kind = nullptr;
    for (const Kind& k : kKinds) {
        if (std::string(k.name) == name) kind = &k;
    }
    ASSERT_NE(kind, nullptr);
    test::TestHost host(500, 400);
    TNvRichEdit field;
    field.SetWordWrap(kind->wrap);
    field.SetAutoURLDetect(true);
    field.CreateWnd(host.Handle(), host.Client(), 100);
    TFont font;
    font.Name = "Fixedsys";
    font.Height = -12;
    font.Style = fsBold;
    font.Charset = ANSI_CHARSET;
    field.SetFont(font);
    const std::string text = kind->make(kind->kilobytes << 10);
    const TextMemoryNeed need = field.MemoryNeedOf(text);
    const unsigned long long before = PrivateBytes();
    field.SetWholeText(text);
    const double held = static_cast<double>(PrivateBytes() - before) / (1 << 20);
    // What the check reckons for the control alone: without the reserve and the text's own copy.
    const double reckoned = static_cast<double>(need.NeededBytes - kMemoryReserve - text.size()) / (1 << 20);
    test::WriteFileBytes(result, std::to_string(held) + " " + std::to_string(reckoned));
}

} // namespace
} // namespace nv
