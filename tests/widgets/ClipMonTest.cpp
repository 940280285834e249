// The clipboard monitor in the real viewer chain, with the real clipboard, changed from this
// process and from a child process.
#include "base/Errors.h"
#include "base/Handles.h"
#include "base/Platform.h"
#include "tests/support/Dialogs.h"
#include "tests/support/TestHost.h"
#include "widgets/ClipMon.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace nv {
namespace {

using test::PumpMessages;
using test::SetClipboardText;

constexpr char kChildTextVariable[] = "NOTOVA_TEST_CLIPBOARD_TEXT";
constexpr char kChildTest[] = "ClipboardChild.DISABLED_PutsTextOnTheClipboard";

// Pumps until `done` holds or the time is up; notifications from other processes arrive late.
template <class Pred> bool WaitUntil(Pred done, DWORD timeoutMs = 5000) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        PumpMessages();
        if (done()) return true;
        if (::GetTickCount64() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// Lets notifications still under way (the X11 clipboard echoes some) arrive before a test counts.
void Settle() {
    WaitUntil([] { return false; }, 150);
}

std::string ClipboardText() {
    ClipboardOpen clipboard(nullptr);
    if (!clipboard) return "<not open>";
    HANDLE data = ::GetClipboardData(CF_TEXT);
    if (!data) return "<no text>";
    GlobalLock locked(data);
    return locked.data() ? static_cast<const char*>(locked.data()) : "<no text>";
}

void EmptyTheClipboard() {
    ClipboardOpen clipboard(nullptr);
    ASSERT_TRUE(clipboard);
    ASSERT_TRUE(::EmptyClipboard());
}

// Runs this test program again as another process that only puts `text` on the clipboard.
DWORD ChangeClipboardInChild(const std::string& text) {
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string commandLine =
        std::string("\"") + exe + "\" --gtest_also_run_disabled_tests --gtest_filter=" + kChildTest;

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    FileHandle nul(::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inherit, OPEN_EXISTING, 0, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul.get();

    ::SetEnvironmentVariableA(kChildTextVariable, text.c_str());
    PROCESS_INFORMATION info{};
    const BOOL started = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info);
    ::SetEnvironmentVariableA(kChildTextVariable, nullptr);
    if (!started) return static_cast<DWORD>(-1);
    KernelHandle process(info.hProcess);
    KernelHandle thread(info.hThread);

    // Keep pumping while waiting: the child's notification must not find this thread deaf.
    if (!WaitUntil([&] { return ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; }, 30000))
        return static_cast<DWORD>(-2);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.get(), &exitCode);
    return exitCode;
}

// The body of the child process started above; skipped by every ordinary run.
TEST(ClipboardChild, DISABLED_PutsTextOnTheClipboard) {
    const char* text = std::getenv(kChildTextVariable);
    if (!text) GTEST_SKIP() << "only run as the child of a clipboard test";
    SetClipboardText(text);
}

// A well-behaved clipboard viewer of some other program: joins the chain when made, forwards what
// it gets and repairs the chain as the rules say.
class Viewer : public WindowBase {
public:
    explicit Viewer(std::vector<std::string>* log = nullptr) : log_(log) {
        RegisterClassOnce("NotovaTestViewer");
        Create("NotovaTestViewer", "viewer", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100, nullptr, nullptr);
        Join();
    }
    ~Viewer() override { Leave(); }

    void Join() {
        joined_ = true;
        next_ = ::SetClipboardViewer(Handle());
    }
    void Leave() {
        if (!joined_) return;
        joined_ = false;
        ::ChangeClipboardChain(Handle(), next_);
        next_ = nullptr;
    }
    HWND Next() const { return next_; }

    int Draws = 0;
    int ChainChanges = 0;
    int DestroyClipboards = 0;
    WPARAM LastWParam = 0;
    LPARAM LastLParam = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_DRAWCLIPBOARD:
            ++Draws;
            LastWParam = wParam;
            LastLParam = lParam;
            if (log_) log_->push_back("viewer");
            if (next_) ::SendMessageA(next_, msg, wParam, lParam);
            return 0;
        case WM_CHANGECBCHAIN:
            ++ChainChanges;
            LastWParam = wParam;
            LastLParam = lParam;
            if (reinterpret_cast<HWND>(wParam) == next_) {
                next_ = reinterpret_cast<HWND>(lParam);
            } else if (next_) {
                ::SendMessageA(next_, msg, wParam, lParam);
            }
            return 0;
        case WM_DESTROYCLIPBOARD: ++DestroyClipboards; return 0;
        default: return Default(msg, wParam, lParam);
        }
    }

private:
    std::vector<std::string>* log_;
    HWND next_ = nullptr;
    bool joined_ = false;
};

class ClipboardMonitor : public ::testing::Test {
protected:
    void SetUp() override {
        // Start from a clipboard with text on it, owned by no window of the test.
        SetClipboardText("start");
        Settle();
    }

    // Makes a monitor whose OnChange counts and logs.
    std::unique_ptr<TClipboardMonitor> MakeMonitor(HWND owner = nullptr) {
        auto monitor = std::make_unique<TClipboardMonitor>(owner);
        TClipboardMonitor* expected = monitor.get();
        monitor->OnChange = [this, expected](TObject* Sender) {
            EXPECT_EQ(Sender, expected);
            ++changes;
            log.push_back("monitor");
        };
        return monitor;
    }

    void Reset(Viewer* viewer = nullptr) {
        Settle();
        changes = 0;
        log.clear();
        if (viewer) viewer->Draws = 0;
    }

    int changes = 0;
    std::vector<std::string> log;
};

TEST_F(ClipboardMonitor, StartsOutsideTheChainWithItsOwnHiddenWindow) {
    TClipboardMonitor monitor;
    EXPECT_FALSE(monitor.Enabled());
    EXPECT_EQ(monitor.NextViewer(), nullptr);
    ASSERT_NE(monitor.Handle(), nullptr);
    EXPECT_TRUE(::IsWindow(monitor.Handle()));
    EXPECT_FALSE(::IsWindowVisible(monitor.Handle()));
    EXPECT_NE(::GetClipboardViewer(), monitor.Handle());
    EXPECT_FALSE(monitor.OnChange);

    TClipboardMonitor other;
    EXPECT_NE(other.Handle(), monitor.Handle()) << "each monitor has a window of its own";
}

TEST_F(ClipboardMonitor, JoiningReportsTheClipboardAtOnce) {
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);
    EXPECT_TRUE(monitor->Enabled());
    EXPECT_EQ(::GetClipboardViewer(), monitor->Handle());
    EXPECT_TRUE(WaitUntil([&] { return changes > 0; })) << "the system notifies a new viewer at once";
}

TEST_F(ClipboardMonitor, ReportsAChangeMadeByThisProcess) {
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);
    Reset();
    SetClipboardText("made here");
    EXPECT_TRUE(WaitUntil([&] { return changes > 0; }));
    EXPECT_EQ(ClipboardText(), "made here");
}

TEST_F(ClipboardMonitor, ReportsAChangeMadeByAnotherProcess) {
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);
    Reset();
    ASSERT_EQ(ChangeClipboardInChild("made by the child"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return changes > 0; }));
    EXPECT_EQ(ClipboardText(), "made by the child");
}

TEST_F(ClipboardMonitor, ReportsEmptyingTheClipboard) {
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);
    Reset();
    EmptyTheClipboard();
    EXPECT_TRUE(WaitUntil([&] { return changes > 0; }));
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_TEXT));
}

TEST_F(ClipboardMonitor, ReportsTheLossOfContentItsWindowOwned) {
    // Out of the chain, only WM_DESTROYCLIPBOARD can reach the handler.
    auto monitor = MakeMonitor();
    {
        ClipboardOpen clipboard(monitor->Handle());
        ASSERT_TRUE(clipboard);
        ASSERT_TRUE(::EmptyClipboard());
    }
    ASSERT_EQ(::GetClipboardOwner(), monitor->Handle());
    Reset();
    SetClipboardText("someone else's");
    EXPECT_TRUE(WaitUntil([&] { return changes > 0; }));
}

TEST_F(ClipboardMonitor, DestroyClipboardIsNotPassedOn) {
    Viewer viewer;
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);
    ASSERT_EQ(monitor->NextViewer(), viewer.Handle());
    Reset(&viewer);
    EXPECT_EQ(::SendMessageA(monitor->Handle(), WM_DESTROYCLIPBOARD, 0, 0), 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(viewer.DestroyClipboards, 0);
}

TEST_F(ClipboardMonitor, AViewerThatJoinedEarlierFollowsItAndHearsEveryChange) {
    Viewer viewer(&log);
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);
    EXPECT_EQ(::GetClipboardViewer(), monitor->Handle());
    EXPECT_EQ(monitor->NextViewer(), viewer.Handle());

    Reset(&viewer);
    SetClipboardText("for both");
    ASSERT_TRUE(WaitUntil([&] { return viewer.Draws > 0 && changes > 0; }));
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "viewer") << "passed on before the handler runs";
    EXPECT_EQ(log[1], "monitor");

    Reset(&viewer);
    ASSERT_EQ(ChangeClipboardInChild("from the child, for both"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return viewer.Draws > 0 && changes > 0; }));

    Reset(&viewer);
    EmptyTheClipboard();
    EXPECT_TRUE(WaitUntil([&] { return viewer.Draws > 0 && changes > 0; }));
}

TEST_F(ClipboardMonitor, PassesDrawClipboardOnWithItsParameters) {
    Viewer viewer;
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);
    Reset(&viewer);
    EXPECT_EQ(::SendMessageA(monitor->Handle(), WM_DRAWCLIPBOARD, 0x1234, 0x5678), 0);
    EXPECT_EQ(viewer.Draws, 1);
    EXPECT_EQ(viewer.LastWParam, 0x1234u);
    EXPECT_EQ(viewer.LastLParam, 0x5678);
    EXPECT_EQ(changes, 1);
}

TEST_F(ClipboardMonitor, PassesOnAChainChangeThatIsNotAboutItsNextViewer) {
    Viewer viewer;
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);
    const int before = viewer.ChainChanges;
    EXPECT_EQ(::SendMessageA(monitor->Handle(), WM_CHANGECBCHAIN, 0x1111, 0x2222), 0);
    EXPECT_EQ(viewer.ChainChanges, before + 1);
    EXPECT_EQ(viewer.LastWParam, 0x1111u);
    EXPECT_EQ(viewer.LastLParam, 0x2222);
    EXPECT_EQ(monitor->NextViewer(), viewer.Handle());
}

TEST_F(ClipboardMonitor, TakesOverTheNextViewerOfAViewerThatLeavesRightAfterIt) {
    Viewer last;
    Viewer middle;
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);
    ASSERT_EQ(monitor->NextViewer(), middle.Handle());
    ASSERT_EQ(middle.Next(), last.Handle());

    middle.Leave();
    EXPECT_EQ(monitor->NextViewer(), last.Handle());
    EXPECT_EQ(::GetClipboardViewer(), monitor->Handle());

    Reset(&last);
    middle.Draws = 0;
    SetClipboardText("middle has left");
    EXPECT_TRUE(WaitUntil([&] { return last.Draws > 0 && changes > 0; }));
    EXPECT_EQ(middle.Draws, 0);
}

TEST_F(ClipboardMonitor, AViewerLeavingFurtherDownDoesNotBreakTheChain) {
    Viewer last;
    Viewer middle;
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);

    last.Leave();
    EXPECT_EQ(monitor->NextViewer(), middle.Handle()) << "not its own next viewer: passed on";
    EXPECT_EQ(middle.Next(), nullptr) << "the viewer before the leaving one repaired the chain";

    Reset(&middle);
    last.Draws = 0;
    SetClipboardText("last has left");
    EXPECT_TRUE(WaitUntil([&] { return middle.Draws > 0 && changes > 0; }));
    EXPECT_EQ(last.Draws, 0);
}

TEST_F(ClipboardMonitor, SettingEnabledToItsValueDoesNothing) {
    Viewer viewer;
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);
    monitor->SetEnabled(true);
    EXPECT_TRUE(monitor->Enabled());
    // Joining twice would make the monitor its own next viewer and loop forever on a change.
    EXPECT_EQ(monitor->NextViewer(), viewer.Handle());
    EXPECT_EQ(::GetClipboardViewer(), monitor->Handle());
    Reset(&viewer);
    SetClipboardText("joined once");
    EXPECT_TRUE(WaitUntil([&] { return viewer.Draws > 0 && changes > 0; }));

    monitor->SetEnabled(false);
    EXPECT_FALSE(monitor->Enabled());
    EXPECT_EQ(monitor->NextViewer(), nullptr);
    EXPECT_EQ(::GetClipboardViewer(), viewer.Handle());
    const int chainChanges = viewer.ChainChanges;
    monitor->SetEnabled(false);
    EXPECT_EQ(viewer.ChainChanges, chainChanges) << "no second ChangeClipboardChain";
    EXPECT_EQ(::GetClipboardViewer(), viewer.Handle());

    Reset(&viewer);
    SetClipboardText("monitor out");
    EXPECT_TRUE(WaitUntil([&] { return viewer.Draws > 0; }));
    Settle();
    EXPECT_EQ(changes, 0) << "out of the chain and not the owner: nothing to hear";

    monitor->SetEnabled(true);
    EXPECT_EQ(monitor->NextViewer(), viewer.Handle());
    EXPECT_EQ(::GetClipboardViewer(), monitor->Handle());
}

TEST_F(ClipboardMonitor, AFailingHandlerShowsTheErrorAndTheMonitorGoesOn) {
    test::TestHost host;
    Viewer viewer;
    TClipboardMonitor monitor(host.Handle());
    monitor.SetEnabled(true);
    Settle();

    int calls = 0;
    monitor.OnChange = [&](TObject*) {
        if (++calls == 1) throw EError("The clipboard handler failed");
    };
    test::DialogResponder responder;
    HWND boxOwner = nullptr;
    responder.Then([&](HWND box) {
        boxOwner = ::GetWindow(box, GW_OWNER);
        test::PressButton(box, IDOK);
    });

    viewer.Draws = 0;
    SetClipboardText("first");
    ASSERT_TRUE(WaitUntil([&] { return !responder.Seen().empty() && responder.Unanswered() == 0; }));
    const test::SeenDialog& box = responder.Seen().front();
    EXPECT_EQ(box.Text, "The clipboard handler failed");
    EXPECT_EQ(box.Caption, ApplicationTitle());
    EXPECT_EQ(box.Icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(box.Buttons, std::vector<int>{IDOK});
    EXPECT_EQ(boxOwner, host.Handle());
    EXPECT_GT(viewer.Draws, 0);

    // Still in the chain and still calling its handler.
    EXPECT_TRUE(monitor.Enabled());
    EXPECT_EQ(::GetClipboardViewer(), monitor.Handle());
    const int callsAfterError = calls;
    viewer.Draws = 0;
    SetClipboardText("second");
    EXPECT_TRUE(WaitUntil([&] { return calls > callsAfterError && viewer.Draws > 0; }));
    Settle();
    EXPECT_EQ(responder.Unexpected(), 0);
    EXPECT_EQ(responder.Seen().size(), 1u);
}

TEST_F(ClipboardMonitor, DestructionLeavesTheChainQuietly) {
    Viewer viewer;
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);
    const HWND window = monitor->Handle();
    Reset(&viewer);

    monitor.reset();
    EXPECT_EQ(changes, 0) << "the handler is unbound first";
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(::GetClipboardViewer(), viewer.Handle());

    SetClipboardText("monitor gone");
    EXPECT_TRUE(WaitUntil([&] { return viewer.Draws > 0; }));
    EXPECT_EQ(changes, 0);
}

TEST_F(ClipboardMonitor, ItsWindowDestroyedFromOutsideLeavesTheChain) {
    Viewer viewer;
    auto monitor = MakeMonitor();
    monitor->SetEnabled(true);
    ::DestroyWindow(monitor->Handle());
    EXPECT_FALSE(monitor->Enabled());
    EXPECT_EQ(monitor->Handle(), nullptr);
    EXPECT_EQ(::GetClipboardViewer(), viewer.Handle());

    // Without a window there is nothing to put back in the chain.
    monitor->SetEnabled(true);
    EXPECT_FALSE(monitor->Enabled());
    EXPECT_EQ(::GetClipboardViewer(), viewer.Handle());

    Reset(&viewer);
    SetClipboardText("chain intact");
    EXPECT_TRUE(WaitUntil([&] { return viewer.Draws > 0; }));
}

TEST_F(ClipboardMonitor, LeavesOtherMessagesToDefaultProcessing) {
    TClipboardMonitor monitor;
    EXPECT_NE(::SendMessageA(monitor.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("clip")), 0);
    char text[16] = {};
    EXPECT_EQ(::SendMessageA(monitor.Handle(), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 4);
    EXPECT_STREQ(text, "clip");
}

} // namespace
} // namespace nv
