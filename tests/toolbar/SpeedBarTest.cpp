// The main window's toolbar: its buttons, their commands and states, its painting, moving it to
// another edge with the mouse and its stored layout.
#include "tests/toolbar/ToolbarFixture.h"

namespace nv::test {
namespace {

using Toolbar = ToolbarTest;

TEST_F(Toolbar, ThirteenButtonsOnTheGridWithTheirHints) {
    Start();
    EXPECT_EQ(form->SpeedBar.Align(), alTop);
    const RECT bar = ClientBoundsIn(form->SpeedBar.Handle(), form->Handle());
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.bottom - bar.top, 33);
    RECT client{};
    ::GetClientRect(form->Handle(), &client);
    EXPECT_EQ(bar.right - bar.left, client.right) << "across the whole window";
    ASSERT_EQ(form->SpeedBar.SectionCount(), 2);
    EXPECT_EQ(form->SpeedBar.Sections(0).Caption(), "File");
    EXPECT_EQ(form->SpeedBar.Sections(1).Caption(), "Edit");
    const struct {
        TSpeedItem* item;
        const char* tip;
        int left;
    } rows[] = {
        {form->NewBtn, "New", 4},         {form->OpenBtn, "Open", 28},  {form->SaveBtn, "Save", 52},
        {form->PrintBtn, "Print", 76},    {form->ExitBtn, "Exit", 332}, {form->UndoBtn, "Undo", 108},
        {form->RedoBtn, "Redo", 132},     {form->CutBtn, "Cut", 164},   {form->CopyBtn, "Copy", 188},
        {form->PasteBtn, "Paste", 212},   {form->FindBtn, "Find", 244}, {form->ReplaceBtn, "Replace", 268},
        {form->WordWrap, "WordWrap", 300}};
    for (const auto& row : rows) {
        HWND button = ButtonOf(row.item);
        EXPECT_TRUE(::IsWindowVisible(button)) << row.tip;
        const RECT r = ClientBoundsIn(button, form->SpeedBar.Handle());
        EXPECT_EQ(r.left, row.left) << row.tip;
        EXPECT_EQ(r.top, 4) << row.tip;
        EXPECT_EQ(r.right - r.left, 24) << row.tip;
        EXPECT_EQ(r.bottom - r.top, 24) << row.tip;
        EXPECT_EQ(form->SpeedBar.ToolText(*static_cast<TSpeedbarButton*>(row.item->Button())), row.tip);
        EXPECT_EQ(row.item->Caption, row.tip);
    }
}

TEST_F(Toolbar, ButtonsRunTheirMenuCommands) {
    Start();
    Type("abc");
    dialogs.Press(IDNO);
    Click(form->NewBtn);
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_EQ(LastDialog().Text, "Save changes?");
    EXPECT_EQ(form->TextField.GetWholeText(), "") << "New ran";
    Click(form->FindBtn);
    ASSERT_NE(form->TextField.FindDialog(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(form->TextField.FindDialog()->Handle())) << "Find opened its dialog";
    Click(form->ReplaceBtn);
    ASSERT_NE(form->TextField.ReplaceDialog(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(form->TextField.ReplaceDialog()->Handle())) << "Replace opened its dialog";
    Click(form->ExitBtn);
    EXPECT_FALSE(::IsWindow(form->Handle())) << "Exit closed the window";
}

TEST_F(Toolbar, ButtonsFollowTheCommandStates) {
    Start();
    EXPECT_FALSE(form->SaveBtn->Enabled()) << "disabled at first";
    EXPECT_FALSE(form->UndoBtn->Enabled()) << "nothing to undo at first";
    EXPECT_FALSE(form->CutBtn->Enabled());
    EXPECT_FALSE(form->CopyBtn->Enabled());
    EXPECT_TRUE(ShowsGlyphImage(form->SaveBtn, 1)) << "a disabled button shows the second image";
    EXPECT_TRUE(ShowsGlyphImage(form->NewBtn, 0));

    Type("abc");
    EXPECT_TRUE(form->SaveBtn->Enabled());
    EXPECT_TRUE(ShowsGlyphImage(form->SaveBtn, 0));
    EXPECT_TRUE(form->UndoBtn->Enabled());
    EXPECT_FALSE(form->RedoBtn->Enabled());
    form->TextField.SelectWholeText();
    form->TextFieldSelectionChange(nullptr);
    EXPECT_TRUE(form->CutBtn->Enabled());
    EXPECT_TRUE(form->CopyBtn->Enabled());
    Click(form->CopyBtn);
    Settle();
    EXPECT_TRUE(form->PasteBtn->Enabled()) << "the clipboard holds text now";
    Click(form->UndoBtn);
    EXPECT_TRUE(form->RedoBtn->Enabled());
    EXPECT_EQ(form->RedoBtn->Enabled(), form->Enabled(IDM_REDO));

    SetClipboardText("");
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    Settle();
    EXPECT_FALSE(form->PasteBtn->Enabled());
}

TEST_F(Toolbar, ADownToggleIsDitheredAndAPressedButtonSunken) {
    Start();
    Click(form->WordWrap);
    MouseTo({0, 0});
    HWND button = ButtonOf(form->WordWrap);
    ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // Inside the frame, away from the glyph: face and highlight alternate.
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF a = Pixel(button, 2, 2), b = Pixel(button, 3, 2), c = Pixel(button, 2, 3);
    EXPECT_TRUE((a == face && b == light) || (a == light && b == face));
    EXPECT_EQ(b, c);
    EXPECT_EQ(Pixel(button, 0, 0), ::GetSysColor(COLOR_WINDOWFRAME)) << "sunken frame, top left";
    EXPECT_EQ(Pixel(button, 23, 23), light) << "sunken frame, bottom right";

    HWND open = ButtonOf(form->OpenBtn);
    ::SendMessageA(open, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::RedrawWindow(open, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Pixel(open, 0, 0), ::GetSysColor(COLOR_WINDOWFRAME)) << "held down";
    EXPECT_EQ(Pixel(open, 2, 2), face) << "no dither while merely pressed";
    ::SendMessageA(open, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 5));
    ::SendMessageA(open, WM_LBUTTONUP, 0, MAKELPARAM(60, 5));
    EXPECT_EQ(dialogs.Seen().size(), 0u) << "released outside: no click, no Open dialog";
}

TEST_F(Toolbar, FlatButtonsRaiseUnderTheMouse) {
    Start();
    HWND button = ButtonOf(form->NewBtn);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    MouseTo({0, 0});
    ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Pixel(button, 0, 0), face) << "frameless";
    EXPECT_EQ(Pixel(button, 23, 23), face);
    MouseTo(OnScreen(button, 12, 12));
    MouseTo(OnScreen(button, 13, 12));
    if (!::GetActiveWindow()) GTEST_SKIP() << "the program is not the active one on this display";
    ::UpdateWindow(button);
    EXPECT_EQ(Pixel(button, 0, 0), ::GetSysColor(COLOR_BTNHIGHLIGHT)) << "raised frame, top left";
    EXPECT_EQ(Pixel(button, 23, 23), ::GetSysColor(COLOR_BTNSHADOW)) << "raised frame, bottom right";
    MouseTo(OnScreen(form->SpeedBar.Handle(), 450, 15));
    // The system tells a window that the mouse left it by watching the pointer for a while.
    for (int i = 0; i < 50 && Pixel(button, 0, 0) != face; ++i) {
        Settle(1);
        ::UpdateWindow(button);
    }
    EXPECT_EQ(Pixel(button, 0, 0), face) << "frameless again after leaving";
}

TEST_F(Toolbar, APressMovesTheBarOnlyPastFourPixels) {
    Start();
    HWND bar = form->SpeedBar.Handle();
    const POINT press = OnScreen(bar, 420, 15);
    MouseTo(press);
    MouseDown();
    MouseTo({press.x + 4, press.y + 4});
    EXPECT_FALSE(form->SpeedBar.Moving());
    MouseTo({press.x - 4, press.y});
    EXPECT_FALSE(form->SpeedBar.Moving());
    MouseTo({press.x + 5, press.y});
    EXPECT_TRUE(form->SpeedBar.Moving());
    MouseTo(press);
    MouseUp();
    Settle();
    EXPECT_FALSE(form->SpeedBar.Moving());
    EXPECT_EQ(form->SpeedBar.Align(), alTop) << "released in the top triangle";
}

TEST_F(Toolbar, MovedToTheLeftEdgeAndBackThroughARestart) {
    Start();
    HWND bar = form->SpeedBar.Handle();
    RECT client{};
    ::GetClientRect(form->Handle(), &client);
    Drag({OnScreen(bar, 420, 15), OnScreen(bar, 410, 25), OnScreen(form->Handle(), 20, client.bottom / 2),
          OnScreen(form->Handle(), 10, client.bottom / 2)});
    ASSERT_EQ(form->SpeedBar.Align(), alLeft);
    EXPECT_EQ(form->SpeedBar.BoundLines(), blTop | blBottom);
    const RECT r = ClientBoundsIn(bar, form->Handle());
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 33) << "keeps its thickness";
    EXPECT_EQ(r.bottom, client.bottom - form->StatusBar.Height()) << "down to the status bar";
    const RECT field = ClientBoundsIn(form->TextField.Handle(), form->Handle());
    EXPECT_EQ(field.left, 33);
    EXPECT_EQ(field.top, 0);
    // The buttons stand in a column, in their former order.
    const RECT open = ClientBoundsIn(ButtonOf(form->OpenBtn), bar);
    EXPECT_EQ(open.left, 4);
    EXPECT_EQ(open.top, 28);
    EXPECT_EQ(ClientBoundsIn(ButtonOf(form->ExitBtn), bar).top, 332);
    // The etched lines: shadow then highlight at the top, and at the bottom.
    ::RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(Pixel(bar, 10, 0), shadow);
    EXPECT_EQ(Pixel(bar, 10, 1), light);
    EXPECT_EQ(Pixel(bar, 10, r.bottom - r.top - 2), shadow);
    EXPECT_EQ(Pixel(bar, 10, r.bottom - r.top - 1), light);

    Restart();
    EXPECT_EQ(StoredBar("Position"), "3");
    EXPECT_EQ(StoredBar("Width"), "33");
    EXPECT_EQ(StoredBar("Button2"), "OpenBtn,4,28");
    EXPECT_EQ(form->SpeedBar.Align(), alLeft) << "the layout survives a restart";
    EXPECT_EQ(ClientBoundsIn(ButtonOf(form->OpenBtn), form->SpeedBar.Handle()).top, 28);
    EXPECT_EQ(ClientBoundsIn(form->SpeedBar.Handle(), form->Handle()).right, 33);

    bar = form->SpeedBar.Handle();
    ::GetClientRect(form->Handle(), &client);
    // Between the Print and Undo buttons.
    Drag({OnScreen(bar, 15, 104), OnScreen(bar, 25, 114), OnScreen(form->Handle(), client.right / 2, 5)});
    EXPECT_EQ(form->SpeedBar.Align(), alTop);
    EXPECT_EQ(form->SpeedBar.BoundLines(), 0u) << "back at the top: no lines";
    EXPECT_EQ(ClientBoundsIn(ButtonOf(form->OpenBtn), bar).left, 28);
}

TEST_F(Toolbar, MovedToTheBottomSitsAboveTheStatusBar) {
    Start();
    HWND bar = form->SpeedBar.Handle();
    RECT client{};
    ::GetClientRect(form->Handle(), &client);
    Drag({OnScreen(bar, 420, 15), OnScreen(bar, 420, 30),
          OnScreen(form->Handle(), client.right / 2, client.bottom - 5)});
    ASSERT_EQ(form->SpeedBar.Align(), alBottom);
    EXPECT_EQ(form->SpeedBar.BoundLines(), blBottom);
    const RECT r = ClientBoundsIn(bar, form->Handle());
    EXPECT_EQ(r.bottom, client.bottom - 19);
    EXPECT_EQ(r.bottom - r.top, 33);
    EXPECT_EQ(ClientBoundsIn(form->TextField.Handle(), form->Handle()).bottom, r.top);
}

TEST_F(Toolbar, LayoutIsStoredWithThePlacement) {
    Start();
    form->SpeedBar.PlaceItemAt(*form->CutBtn, 400, 4);
    form->FindBtn->SetVisible(false);
    ::SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    DrainQuit();
    const struct {
        const char* name;
        const char* text;
    } expected[] = {{"Position", "1"},
                    {"Width", "33"},
                    {"Version", "0"},
                    {"PixelsPerInch", "96"},
                    {"BtnWidth", "24"},
                    {"BtnHeight", "24"},
                    {"Count", "12"},
                    {"Button1", "NewBtn,4,4"},
                    {"Button8", "CutBtn,404,4"},
                    {"Button12", "WordWrap,300,4"}};
    for (const auto& value : expected) {
        const RegistryValue stored = ReadProgramValue("TForm1SpeedBar", value.name);
        EXPECT_EQ(stored.Type, static_cast<DWORD>(REG_SZ)) << value.name;
        EXPECT_EQ(stored.Text, value.text) << value.name;
    }
    EXPECT_FALSE(ReadProgramValue("TForm1SpeedBar", "Button13").Exists);
    form.reset();
    StartWindow({});
    EXPECT_FALSE(form->FindBtn->Visible());
    EXPECT_EQ(form->CutBtn->Left(), 404);
    EXPECT_FALSE(::IsWindowVisible(ButtonOf(form->FindBtn)));
}

TEST_F(Toolbar, KeepsItsThicknessInAWindowShorterThanItself) {
    Start();
    RECT window{}, shorter{0, 0, 300, 10};
    ::GetWindowRect(form->Handle(), &window);
    ::AdjustWindowRectEx(&shorter, WS_OVERLAPPEDWINDOW, TRUE, 0);
    for (const RECT& size : {shorter, window}) {
        ::SetWindowPos(form->Handle(), nullptr, 0, 0, size.right - size.left, size.bottom - size.top,
                       SWP_NOMOVE | SWP_NOZORDER);
        Settle();
        EXPECT_EQ(ClientBoundsIn(form->SpeedBar.Handle(), form->Handle()).bottom, 33);
    }
    EXPECT_EQ(ClientBoundsIn(form->TextField.Handle(), form->Handle()).top, 33);
}

} // namespace
} // namespace nv::test
