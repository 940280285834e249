// The toolbar's customize window with the main window: its texts and sizes, dragging buttons from
// the list onto the bar and off the bar, resizing the bar in rows, and edit mode.
#include "toolbar/SpeedBarSetup.h"
#include "tests/toolbar/ToolbarFixture.h"

namespace nv::test {
namespace {

std::string TextOf(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

int CountWindowsOfClass(const char* className) {
    struct Search {
        const char* name;
        int count;
    } search{className, 0};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char name[64] = {};
            ::GetClassNameA(window, name, sizeof name);
            if (std::string(name) == s->name && ::IsWindow(window)) ++s->count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.count;
}

class Customize : public ToolbarTest {
protected:
    TSpeedbarSetupWindow* Open() {
        Command(IDM_CUSTOMIZE);
        Settle();
        window = TSpeedbarSetupWindow::FindFor(&form->SpeedBar);
        return window;
    }
    void ChooseCategory(int index) {
        ::SendMessageA(window->SectionList(), LB_SETCURSEL, index, 0);
        ::SendMessageA(window->Handle(), WM_COMMAND, MAKEWPARAM(103, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(window->SectionList()));
    }
    int Rows(HWND list) { return static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0)); }
    // A point on the picture of a row of the buttons list, on the screen.
    POINT Picture(int row) { return OnScreen(window->ButtonsList(), 12, row * 26 + 13); }
    // The pointer position that puts a carried copy's top-left corner at a point of the bar.
    POINT CornerOnBar(int x, int y) { return OnScreen(form->SpeedBar.Handle(), x + 24, y + 24); }

    TSpeedbarSetupWindow* window = nullptr;
};

TEST_F(Customize, OpensWithItsTextsAndSizes) {
    Start();
    ASSERT_TRUE(Open());
    HWND w = window->Handle();
    EXPECT_TRUE(::IsWindowVisible(w));
    EXPECT_EQ(TextOf(w), "Customize Speedbar");
    RECT client{};
    ::GetClientRect(w, &client);
    EXPECT_EQ(client.right, 421);
    EXPECT_EQ(client.bottom, 262);
    EXPECT_TRUE(::GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) << "always on top";
    std::vector<std::string> texts;
    for (HWND child = ::GetWindow(w, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::IsWindowVisible(child)) texts.push_back(TextOf(child));
    }
    const std::vector<std::string> expected = {"&Categories:",
                                               "&Available buttons:",
                                               "",
                                               "",
                                               "To add command buttons, drag and drop buttons onto the "
                                               "SpeedBar. To remove command buttons, drag them "
                                               "off of the SpeedBar.",
                                               "OK"};
    EXPECT_EQ(texts, expected);
    EXPECT_FALSE(::IsWindowVisible(window->HelpBtn())) << "no help context";
    EXPECT_EQ(TextOf(window->HelpBtn()), "&Help");
    EXPECT_EQ(::GetFocus(), window->SectionList());

    EXPECT_EQ(Rows(window->SectionList()), 2);
    EXPECT_EQ(window->SelectedCategory(), 0);
    EXPECT_EQ(Rows(window->ButtonsList()), 5);
    EXPECT_EQ(window->ItemAtRow(4), form->ExitBtn);
    EXPECT_EQ(::SendMessageA(window->ButtonsList(), LB_GETITEMHEIGHT, 0, 0), 26);
    RECT list{};
    ::GetClientRect(window->ButtonsList(), &list);
    EXPECT_EQ(list.bottom, 182) << "seven rows of 26 pixels";
    ::GetClientRect(window->SectionList(), &list);
    EXPECT_EQ(list.bottom, 182);
    ChooseCategory(1);
    EXPECT_EQ(Rows(window->ButtonsList()), 8);
    EXPECT_EQ(window->ItemAtRow(7), form->WordWrap);

    EXPECT_TRUE(form->SpeedBar.InEditMode());
    EXPECT_TRUE(form->SaveBtn->ButtonEnabled()) << "every button is usable in edit mode";
}

TEST_F(Customize, ChoosingItTwiceBringsTheSameWindowForward) {
    Start();
    ASSERT_TRUE(Open());
    HWND first = window->Handle();
    ::SetForegroundWindow(form->Handle());
    Command(IDM_CUSTOMIZEPOP);
    Settle();
    EXPECT_EQ(TSpeedbarSetupWindow::FindFor(&form->SpeedBar)->Handle(), first);
    EXPECT_EQ(CountWindowsOfClass("TSpeedbarSetupWindow"), 1);
    EXPECT_EQ(::GetForegroundWindow(), first);
}

TEST_F(Customize, ClosingLeavesEditModeAndFreesTheWindow) {
    Start();
    int customized = 0;
    form->SpeedBar.OnCustomize = [&](TObject*) { ++customized; };
    ASSERT_TRUE(Open());
    ::SendMessageA(window->ButtonsList(), WM_KEYDOWN, VK_ESCAPE, 1);
    Settle();
    EXPECT_FALSE(form->SpeedBar.InEditMode());
    EXPECT_EQ(customized, 1);
    EXPECT_EQ(TSpeedbarSetupWindow::FindFor(&form->SpeedBar), nullptr);
    EXPECT_EQ(CountWindowsOfClass("TSpeedbarSetupWindow"), 0);
    EXPECT_FALSE(form->SaveBtn->ButtonEnabled());
    ASSERT_TRUE(Open()) << "opens again";
    ::SendMessageA(window->Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(window->CloseBtn()));
    Settle();
    EXPECT_EQ(customized, 2);
}

TEST_F(Customize, ToolbarClicksDoNothingWhileItIsOpen) {
    Start();
    Type("abc");
    ASSERT_TRUE(Open());
    const POINT button = OnScreen(ButtonOf(form->NewBtn), 12, 12);
    MouseTo(button);
    MouseDown();
    MouseUp();
    Settle();
    EXPECT_TRUE(dialogs.Seen().empty()) << "New did not run";
    EXPECT_EQ(form->TextField.GetWholeText(), "abc");
    EXPECT_TRUE(form->NewBtn->Visible()) << "released where it was: it stays";
    EXPECT_EQ(form->NewBtn->Left(), 4);
    ::SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
    Settle();
    dialogs.Press(IDNO);
    MouseTo(button);
    MouseDown();
    MouseUp();
    Settle();
    EXPECT_EQ(dialogs.Seen().size(), 1u) << "clickable again";
}

TEST_F(Customize, AButtonDraggedOffTheBarDisappearsAndOnTheBarMoves) {
    Start();
    ASSERT_TRUE(Open());
    RECT client{};
    ::GetClientRect(form->Handle(), &client);
    Drag({OnScreen(ButtonOf(form->NewBtn), 12, 12), OnScreen(form->Handle(), 200, 150),
          OnScreen(form->Handle(), 220, 160)});
    EXPECT_FALSE(form->NewBtn->Visible());
    EXPECT_FALSE(::IsWindowVisible(ButtonOf(form->NewBtn)));
    EXPECT_EQ(Rows(window->ButtonsList()), 5) << "still listed, to be dragged back";

    // On the bar a button lands on the grid.
    Drag({OnScreen(ButtonOf(form->OpenBtn), 12, 12), CornerOnBar(397, 10), CornerOnBar(398, 10)});
    EXPECT_TRUE(form->OpenBtn->Visible());
    EXPECT_EQ(form->OpenBtn->Left(), 396);
    EXPECT_EQ(form->OpenBtn->Top(), 4);
    EXPECT_EQ(ClientBoundsIn(ButtonOf(form->OpenBtn), form->SpeedBar.Handle()).left, 396);
    EXPECT_TRUE(::IsWindowVisible(ButtonOf(form->OpenBtn)));
}

TEST_F(Customize, AButtonDraggedFromTheListJoinsTheBar) {
    Start();
    form->FindBtn->SetVisible(false);
    ASSERT_TRUE(Open());
    ChooseCategory(1);
    ASSERT_EQ(window->ItemAtRow(5), form->FindBtn);

    // The copy's corner above the bar, though the pointer is over it: not added.
    const POINT overBar = OnScreen(form->SpeedBar.Handle(), 404, 10);
    Drag({Picture(5), overBar});
    EXPECT_FALSE(form->FindBtn->Visible());

    Drag({Picture(5), CornerOnBar(385, 5), CornerOnBar(382, 5)});
    EXPECT_TRUE(form->FindBtn->Visible());
    EXPECT_EQ(form->FindBtn->Left(), 380) << "4 + a multiple of 8";
    EXPECT_EQ(form->FindBtn->Top(), 4);
    EXPECT_TRUE(::IsWindowVisible(ButtonOf(form->FindBtn)));
    EXPECT_EQ(Rows(window->ButtonsList()), 8);
    EXPECT_EQ(window->HintText(), "Find|") << "the chosen row's hint";
}

TEST_F(Customize, ButtonsAlreadyOnTheBarAndCaptionsStartNoDrag) {
    Start();
    ASSERT_TRUE(Open());
    MouseTo(Picture(1));
    MouseDown();
    EXPECT_TRUE(window->Dragging());
    MouseTo(CornerOnBar(420, 4));
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_NO)));
    MouseUp();
    Settle();
    EXPECT_FALSE(window->Dragging());
    EXPECT_EQ(form->OpenBtn->Left(), 28) << "unchanged";

    MouseTo(OnScreen(window->ButtonsList(), 100, 2 * 26 + 13));
    MouseDown();
    EXPECT_FALSE(window->Dragging()) << "a press on the caption only selects";
    MouseUp();
    Settle();
    EXPECT_EQ(::SendMessageA(window->ButtonsList(), LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(window->HintText(), "Save|");
}

TEST_F(Customize, TheBarIsResizedInRowsOnlyWhileItIsOpen) {
    Start();
    HWND bar = form->SpeedBar.Handle();
    RECT client{};
    ::GetClientRect(form->Handle(), &client);
    // Below the buttons, between Paste and Find; then down, but within the top triangle.
    Drag({OnScreen(bar, 240, 31), OnScreen(bar, 240, 33), OnScreen(form->Handle(), 240, 70)});
    EXPECT_EQ(form->SpeedBar.Height(), 33) << "closed: no resizing";
    EXPECT_EQ(form->SpeedBar.Align(), alTop);

    ASSERT_TRUE(Open());
    MouseTo(OnScreen(bar, 240, 31));
    MouseDown();
    MouseTo(OnScreen(form->Handle(), 240, 70));
    EXPECT_TRUE(form->SpeedBar.Resizing());
    EXPECT_EQ(form->SpeedBar.Height(), 56) << "two rows of 24 and the offsets";
    MouseTo(OnScreen(form->Handle(), 240, 40));
    EXPECT_EQ(form->SpeedBar.Height(), 32) << "one row";
    MouseTo(OnScreen(form->Handle(), 240, client.bottom - 1));
    EXPECT_EQ(form->SpeedBar.Height(), client.bottom - form->StatusBar.Height()) << "never beyond the window";
    MouseTo(OnScreen(form->Handle(), 240, 90));
    MouseUp();
    Settle();
    EXPECT_FALSE(form->SpeedBar.Resizing());
    EXPECT_EQ(form->SpeedBar.Height(), 80);
    EXPECT_EQ(ClientBoundsIn(form->TextField.Handle(), form->Handle()).top, 80);
}

// Whether the screen shows a window's own picture of an area of its client, as it would on top.
bool ShowsOnScreen(HWND window, const RECT& area) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    WindowDC own(window), screen(nullptr);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    for (int y = area.top; y < area.bottom; y += 6) {
        for (int x = area.left; x < area.right; x += 6) {
            if (::GetPixel(own.get(), x, y) != ::GetPixel(screen.get(), origin.x + x, origin.y + y))
                return false;
        }
    }
    return true;
}

TEST_F(Customize, StaysAboveTheMainWindowAfterAButtonIsDraggedOff) {
    Start();
    ASSERT_TRUE(Open());
    // Over the main window, beside the bar: where it lies, its lists and labels must show.
    RECT main{};
    ::GetWindowRect(form->Handle(), &main);
    ::SetWindowPos(window->Handle(), nullptr, main.left + 40, main.top + 120, 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE);
    const RECT lists{8, 8, 330, 220};
    ASSERT_TRUE(ShowsOnScreen(window->Handle(), lists));
    Drag({OnScreen(ButtonOf(form->NewBtn), 12, 12), OnScreen(form->SpeedBar.Handle(), 300, 80),
          OnScreen(form->SpeedBar.Handle(), 310, 90)});
    EXPECT_FALSE(form->NewBtn->Visible());
    EXPECT_TRUE(ShowsOnScreen(window->Handle(), lists));
}

TEST_F(Customize, KeysPressedInItAreItsOwn) {
    Start();
    ASSERT_TRUE(Open());
    // Alt and a key, as the keyboard sends them, through the program's message loop.
    HWND customize = window->Handle();
    const auto altAnd = [this, customize](WORD key) {
        for (auto [vk, up] : {std::pair{VK_MENU, false}, {key, false}, {key, true}, {VK_MENU, true}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = static_cast<WORD>(vk);
            input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
            input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            // Until the input has come through, however busy the machine: the key as it was sent
            // and nothing of it left in the queue. Wine takes the keyboard's state from the display
            // again when the display's focus news arrives, which forgets a key sent just before: such
            // a key is sent again, while the window it is for is there.
            const auto arrived = [vk, up] {
                const bool down = (::GetAsyncKeyState(vk) & 0x8000) != 0;
                return down != up && HIWORD(::GetQueueStatus(QS_INPUT)) == 0;
            };
            for (int attempt = 0; attempt < 5 && (attempt == 0 || (!arrived() && ::IsWindow(customize)));
                 ++attempt) {
                ::SendInput(1, &input, sizeof input);
                PumpUntil(arrived, [this] { PumpLikeProgram(); }, 3, 20);
            }
        }
    };
    for (auto [key, focus] : {std::pair{'A', window->ButtonsList()}, {'C', window->SectionList()}}) {
        ::SetFocus(window->CloseBtn());
        altAnd(static_cast<WORD>(key));
        EXPECT_EQ(::GetFocus(), focus) << "Alt+" << key;
    }
    altAnd(VK_F4);
    Settle();
    EXPECT_EQ(TSpeedbarSetupWindow::FindFor(&form->SpeedBar), nullptr) << "Alt+F4 closes the window";
    EXPECT_TRUE(::IsWindowVisible(form->Handle())) << "and not the program";
}

} // namespace
} // namespace nv::test
