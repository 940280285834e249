// Times opening a file from the command line until the caption names it, for Notova and for Wine's
// notepad (the plain edit control) on the same prose texts, next to the bare rich-edit control's
// floor for the same text. Not a test: it prints a table. NOTOVA_BENCH_SIZES (megabytes, "5,20,40")
// and NOTOVA_BENCH_RUNS (medians of that many runs, 3) choose what runs.
#include "tests/support/BareControl.h"
#include "bench/support/Processes.h"
#include "tests/support/SampleTexts.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace nv {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kFloorFileVariable[] = "NOTOVA_BENCH_FLOOR_FILE";
constexpr char kFloorResultVariable[] = "NOTOVA_BENCH_FLOOR_RESULT";

// Seconds from the start until the caption names the file; the large-file question is answered Yes.
// `peakMB` gets the program's largest working set.
double OpenUntilTitle(const std::string& commandLine, const std::string& title, double* peakMB = nullptr) {
    test::ChildProcess child(commandLine);
    child.PreferredAnswer = IDYES;
    HWND window = nullptr;
    const double seconds = child.WaitForTitle(title, 3600, &window);
    if (peakMB) *peakMB = child.PeakWorkingSetMB();
    if (window) child.Close(window);
    return seconds;
}

// The control's floor: this program run again as a child, so the bare control gets a fresh process
// as the editor does, and reads the file in one piece.
double BareFloor(const std::string& path) {
    test::TempDir dir;
    const std::string result = dir.File("floor.txt");
    ::SetEnvironmentVariableA(kFloorFileVariable, path.c_str());
    ::SetEnvironmentVariableA(kFloorResultVariable, result.c_str());
    test::ChildProcess(test::SelfCommandLine("OpenFloor.DISABLED_BareControl")).WaitForExit(3600);
    ::SetEnvironmentVariableA(kFloorFileVariable, nullptr);
    ::SetEnvironmentVariableA(kFloorResultVariable, nullptr);
    return test::FileExists(result) ? std::atof(test::ReadFileBytes(result).c_str()) : -1;
}

std::vector<size_t> SizesToOpen() {
    const char* chosen = std::getenv("NOTOVA_BENCH_SIZES");
    std::istringstream list(chosen && *chosen ? chosen : "5,20,40");
    std::vector<size_t> sizes;
    for (std::string mb; std::getline(list, mb, ',');)
        if (const size_t n = std::strtoul(mb.c_str(), nullptr, 10)) sizes.push_back(n);
    return sizes;
}

TEST(Benchmark, OpeningProseFromTheCommandLine) {
    const std::string notova = test::ExeBesideTests("app\\notova.exe");
    ASSERT_TRUE(test::FileExists(notova)) << notova;
    test::TempDir dir;
    std::printf("\n%d-bit build\n%-6s %4s %10s %10s %10s %10s %10s\n", static_cast<int>(sizeof(void*) * 8),
                "text", "MB", "ours s", "peak MB", "notepad s", "control s", "ours/np");
    const char* runsChosen = std::getenv("NOTOVA_BENCH_RUNS");
    const int runs = std::max(1, runsChosen ? std::atoi(runsChosen) : 3);
    for (size_t mb : SizesToOpen()) {
        const std::string name = "prose" + std::to_string(mb) + ".txt";
        const std::string path = dir.File(name);
        test::WriteFileBytes(path, test::Prose(mb * 1000000 - 1000));
        std::vector<double> ours, notepad, floor, peak;
        for (int run = 0; run < runs; ++run) {
            peak.push_back(0);
            ours.push_back(OpenUntilTitle("\"" + notova + "\" " + path, "Notova - " + path, &peak.back()));
            notepad.push_back(OpenUntilTitle("notepad.exe \"" + path + "\"", name + " - Notepad"));
            // The bare control in a 32-bit process has no room to spare at 40 MB.
            floor.push_back(mb < 40 ? BareFloor(path) : 0);
        }
        const double o = test::Median(ours), n = test::Median(notepad), f = test::Median(floor);
        std::printf("%-6s %4zu %10.2f %10.0f %10.2f %10.2f %10.2f\n", "prose", mb, o, test::Median(peak), n,
                    f, n > 0 ? o / n : 0.0);
        std::fflush(stdout);
        EXPECT_GT(o, 0) << "Notova showed the file";
        EXPECT_GT(n, 0) << "notepad showed the file";
    }
}

// The child of BareFloor: the bare control takes the file's text the cheapest way it can, the scroll
// bars' sample first as the field does.
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
    test::BareStreamInWithBars(bare, text);
    ::UpdateWindow(bare);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    test::WriteFileBytes(result, std::to_string(seconds));
    ::DestroyWindow(bare);
}

} // namespace
} // namespace nv
