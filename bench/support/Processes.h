// Programs that run beside a benchmark: started from a command line, found by their windows, driven
// by messages under a time limit while their questions are answered, and ended.
#pragma once

#include "base/Handles.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace nv::test {

// A file of the build tree the test executables belong to (build/<preset>/<relative>).
std::string ExeBesideTests(const char* relative);
// The command line that runs this test program again with only the tests `filter` names.
std::string SelfCommandLine(const std::string& filter);
// The middle value; -1 for none. Negative values (not measured) sort first.
double Median(std::vector<double> values);
// The id of the menu command whose caption (without '&' and shortcut) is `caption`, read from the
// menus an executable carries; 0 when it has none.
UINT MenuCommandOf(const std::string& exePath, const std::string& caption);
// The visible child of `parent` with the window class `className`, or null.
HWND VisibleChild(HWND parent, const char* className);
// The first visible child of `parent` with one of the classes, in their order, or null.
HWND VisibleChildOf(HWND parent, const std::vector<const char*>& classNames);
// The environment variable's value, or `fallback` when it is unset or empty.
std::string EnvOr(const char* name, const char* fallback);
// A program of the system folder, by its file name.
std::string SystemProgram(const char* name);
// Notova's options for a benchmark run: word wrap as given, link detection off, nothing stored at the
// close, so every run starts the same.
void SetNotovaOptions(bool wordWrap);

class ChildProcess {
  public:
    // The program's own output is discarded: it would interleave with the table.
    explicit ChildProcess(const std::string& commandLine);
    ~ChildProcess(); // ends the program if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    bool Running() const;
    // Seconds since the start.
    double Age() const;
    // Waits until a visible top-level window of the program has `titlePart` in its caption; answers
    // the program's questions meanwhile. The seconds since the start, or -1 after `limit` seconds.
    double WaitForTitle(const std::string& titlePart, double limit, HWND* window = nullptr);
    // Sends the message and waits at most `limit` seconds for it to be handled, answering the
    // program's questions meanwhile; the seconds it took, or -1.
    double Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, double limit);
    // Waits until the program ends by itself; false after `limit` seconds.
    bool WaitForExit(double limit);
    // Asks the main window to close (answering the questions), then ends the program if needed.
    void Close(HWND window);
    void Kill();
    // The processor time the program has used so far, user and kernel, in seconds. Under Wine, whose
    // GetProcessTimes does not follow other processes, read from the Unix process's /proc entry.
    double ProcessorSeconds() const;
    // The largest working set the program has had so far, in MB.
    double PeakWorkingSetMB() const;

    // The button pressed in the program's questions where it has one; OK otherwise. No, by default,
    // changes nothing.
    int PreferredAnswer = IDNO;
    // How many questions were answered so far.
    int Answered() const { return answered_; }

  private:
    bool AnswerQuestion() const;
    std::string UnixStatPath() const;

    std::string commandLine_;
    mutable std::string unixStat_; // found on the first reading
    KernelHandle process_, thread_;
    DWORD id_ = 0;
    mutable int answered_ = 0;
    std::chrono::steady_clock::time_point started_;
};

} // namespace nv::test
