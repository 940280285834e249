// The main window's stored placement with the real registry, and the placement component on a
// plain window with linked clients.
#include "placement/Placement.h"
#include "base/Errors.h"
#include "base/MemoryStorage.h"
#include "base/Platform.h"
#include "tests/app/FormFixture.h"
#include "tests/support/RegistryProbe.h"

#include <gtest/gtest.h>

namespace nv::test {
namespace {

std::string ScreenSuffixed(const char* name) {
    return ResolutionName(name, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

RECT WindowRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

RECT NormalRect(HWND window) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    ::GetWindowPlacement(window, &wp);
    return wp.rcNormalPosition;
}

std::string Text(const RECT& r) { return FormatNumberList(r.left, r.top, r.right, r.bottom); }

class Placement : public FormTest {
protected:
    void PumpFor(int ms) {
        for (int i = 0; i < ms / 10; ++i, ::Sleep(10))
            PumpMessages();
    }
    void Close() { ::SendMessageA(form->Handle(), WM_CLOSE, 0, 0); }
    std::string Stored(const std::string& name) { return ReadProgramValue("TForm1", name).Text; }

    MemoryStorage unwritable; // outlives the window, which TearDown closes
};

TEST_F(Placement, FirstRunThenCloseStoresEveryValue) {
    Start();
    ASSERT_FALSE(ProgramKeyExists("TForm1")) << "the first show reads, it does not write";
    const RECT r = WindowRect(form->Handle());
    EXPECT_EQ(Text(r), "237,152,737,575") << "the design place";
    Close();
    EXPECT_TRUE(DrainQuit()) << "the window closed";

    const std::string normal = "237,152,737,575";
    const struct {
        std::string name, text;
    } expected[] = {{"FormVersion", "0"},
                    {"ShowCmd", "1"},
                    {"PixelsPerInch", "96"},
                    {"Visible", "0"},
                    {"NormPos", normal},
                    {ScreenSuffixed("NormPos"), normal},
                    {"MinMaxPos", Stored("MinMaxPos")},
                    {ScreenSuffixed("MinMaxPos"), Stored("MinMaxPos")}};
    for (const auto& value : expected) {
        const RegistryValue stored = ReadProgramValue("TForm1", value.name);
        EXPECT_TRUE(stored.Exists) << value.name;
        EXPECT_EQ(stored.Type, static_cast<DWORD>(REG_SZ)) << value.name;
        EXPECT_EQ(stored.Text, value.text) << value.name;
    }
    EXPECT_EQ(SplitWords(Stored("MinMaxPos")).size(), 4u);
    int flags = -1;
    EXPECT_TRUE(ParseInteger(Stored("Flags"), flags)) << Stored("Flags");
}

TEST_F(Placement, TheWindowReopensWhereItWasClosed) {
    Start();
    ::MoveWindow(form->Handle(), 120, 90, 610, 450, TRUE);
    Restart();
    EXPECT_EQ(Text(WindowRect(form->Handle())), "120,90,730,540");
    EXPECT_EQ(Stored("Visible"), "1") << "saved while being destroyed";
}

TEST_F(Placement, MaximizedRoundTripKeepsTheNormalRectangle) {
    Start();
    ::MoveWindow(form->Handle(), 100, 60, 520, 400, TRUE);
    ::ShowWindow(form->Handle(), SW_MAXIMIZE);
    Close();
    DrainQuit();
    form.reset();
    EXPECT_EQ(Stored("ShowCmd"), "3");
    StartWindow({});
    EXPECT_TRUE(::IsZoomed(form->Handle()));
    EXPECT_TRUE(::IsWindowVisible(form->Handle()));
    EXPECT_EQ(Text(NormalRect(form->Handle())), "100,60,620,460");
    ::ShowWindow(form->Handle(), SW_RESTORE);
    EXPECT_EQ(Text(WindowRect(form->Handle())), "100,60,620,460");
}

TEST_F(Placement, TheMaximizedPositionPutsTheFrameOffTheScreen) {
    if (RunningOnWine()) {
        GTEST_SKIP() << "Wine keeps the maximized position of top-level windows itself and reports -1, -1";
    }
    Start();
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    ::GetWindowPlacement(form->Handle(), &wp);
    EXPECT_EQ(wp.ptMaxPosition.x, -::GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(wp.ptMaxPosition.y, -::GetSystemMetrics(SM_CYFRAME));
}

TEST_F(Placement, MinimizedMainWindowStartsMinimized) {
    Start();
    ::ShowWindow(form->Handle(), SW_MINIMIZE);
    Close();
    DrainQuit();
    form.reset();
    EXPECT_EQ(Stored("ShowCmd"), "2");
    StartWindow({});
    PumpFor(100);
    EXPECT_TRUE(::IsIconic(form->Handle()));
    ::ShowWindow(form->Handle(), SW_RESTORE);
    EXPECT_EQ(Text(WindowRect(form->Handle())), "237,152,737,575") << "the normal place is kept";
}

TEST_F(Placement, CancellingTheCloseStillSaves) {
    Start();
    Type("x");
    ::MoveWindow(form->Handle(), 50, 40, 500, 423, TRUE);
    dialogs.Press(IDCANCEL);
    Close();
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_EQ(LastDialog().Text, "Save changes?");
    EXPECT_TRUE(::IsWindow(form->Handle())) << "the window stays open";
    EXPECT_EQ(Stored("NormPos"), "50,40,550,463");
    EXPECT_EQ(Stored("Visible"), "0");
}

TEST_F(Placement, ValuesFromOtherScreensAndSettings) {
    struct Row {
        const char* what;
        std::vector<std::pair<std::string, std::string>> values;
        const char* rect;
        bool maximized;
    };
    const Row rows[] = {
        {"plain name when the resolution's is absent",
         {{"NormPos", "60,50,560,473"}, {"NormPos(1x1)", "0,0,300,300"}, {"PixelsPerInch", "96"}},
         "60,50,560,473",
         false},
        {"the resolution's name wins",
         {{"NormPos", "60,50,560,473"},
          {ScreenSuffixed("NormPos"), "70,40,470,340"},
          {"PixelsPerInch", "96"}},
         "70,40,470,340",
         false},
        {"other pixels per inch: design place, state kept",
         {{"NormPos", "60,50,560,473"}, {"PixelsPerInch", "120"}, {"ShowCmd", "3"}},
         "237,152,737,575",
         true},
        {"right not beyond left: not applied", {{"NormPos", "300,50,300,473"}}, "237,152,737,575", false},
        {"missing words keep the current edges", {{"NormPos", "10,x"}}, "10,152,737,575", false},
        {"a lower stored version than the component's is fine",
         {{"FormVersion", "-1"}},
         "237,152,737,575",
         false},
    };
    for (const Row& row : rows) {
        ClearProgramKey();
        for (const auto& [name, text] : row.values)
            WriteProgramString("TForm1", name, text);
        StartWindow({});
        EXPECT_EQ(Text(NormalRect(form->Handle())), row.rect) << row.what;
        EXPECT_EQ(::IsZoomed(form->Handle()) != FALSE, row.maximized) << row.what;
        form->FormPlacement1.Active = false; // this row's values stay as written
        form.reset();
        DrainQuit();
    }
}

TEST_F(Placement, ARectangleOffEveryMonitorComesBackOnScreen) {
    ClearProgramKey();
    WriteProgramString("TForm1", "NormPos", "5000,4000,5500,4423");
    WriteProgramString("TForm1", "PixelsPerInch", "96");
    StartWindow({});
    const RECT r = WindowRect(form->Handle());
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 423);
    EXPECT_TRUE(::MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr) << Text(r);
    EXPECT_EQ(r.right, ::GetSystemMetrics(SM_CXSCREEN)) << "moved the least distance";
}

TEST_F(Placement, ErrorsGoToTheGeneralErrorDisplayAndTheWindowStillCloses) {
    ClearProgramKey();
    unwritable.RefusedWrites = {"FormVersion"};
    form = std::make_unique<TForm1>();
    form->FormPlacement1.Store = &unwritable;
    form->StartUp({});
    ::ShowWindow(form->Handle(), SW_SHOW);
    // Once at the close request, and once more at destruction, since no save succeeded.
    dialogs.Press(IDOK);
    dialogs.Press(IDOK);
    Close();
    ASSERT_EQ(dialogs.Seen().size(), 2u);
    for (const SeenDialog& seen : dialogs.Seen()) {
        EXPECT_EQ(seen.Text, "Failed to set data for 'FormVersion'");
        EXPECT_EQ(seen.Icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_EQ(seen.Buttons, std::vector<int>{IDOK});
    }
    EXPECT_TRUE(DrainQuit()) << "closed anyway";
}

// The component on a plain window: its section, the links' section prefix and notification order.
TEST(FormPlacementLinks, LinksSaveAndLoadInOrderWithTheSectionPrefix) {
    TestHost host;
    TNotifyEvent onShow, onDestroy;
    TCloseQueryEvent onCloseQuery;
    std::vector<std::string> calls;
    onShow = [&](TObject*) { calls.push_back("show"); };
    TFormPlacement placement;
    placement.IniFileName = kProgramKey;
    placement.IniSection = "Host";
    MemoryStorage storage;
    placement.Store = &storage;
    const std::string hostKey = std::string(kProgramKey) + "\\Host";
    TIniLink first, second;
    first.SetStorage(&placement);
    second.SetStorage(&placement);
    EXPECT_EQ(first.RootSection(), "Host\\");
    EXPECT_EQ(first.IniObject(), nullptr) << "no storage outside a save or restore";
    first.OnLoad = [&](TObject*) {
        calls.push_back(first.IniObject() ? "load 1" : "load 1 without storage");
    };
    second.OnLoad = [&](TObject*) { calls.push_back("load 2"); };
    first.OnSave = [&](TObject*) {
        first.IniObject()->WriteString(first.RootSection() + "Client", "Value", "1");
        calls.push_back("save 1");
    };
    placement.OnSavePlacement = [&](TObject*) { calls.push_back("saved"); };
    placement.Attach({host.Handle(), nullptr, false, &onShow, &onCloseQuery, &onDestroy});

    bool canClose = true;
    onCloseQuery(nullptr, canClose);
    EXPECT_TRUE(storage.Strings(hostKey).empty()) << "nothing is saved before a restore";
    onShow(nullptr);
    onCloseQuery(nullptr, canClose);
    EXPECT_EQ(calls, (std::vector<std::string>{"load 1", "load 2", "show", "save 1", "saved"}));
    EXPECT_EQ(storage.Strings(hostKey).count("NormPos"), 1u);
    EXPECT_EQ(storage.Strings(hostKey + "\\Client").at("Value"), "1");

    placement.Detach();
    calls.clear();
    onShow(nullptr);
    EXPECT_EQ(calls, (std::vector<std::string>{"show"})) << "the window's own handler is back";
}

} // namespace
} // namespace nv::test
