// The main window's start-up, caption, layout and closing, with the real controls.
#include "tests/app/FormFixture.h"

#include <shellapi.h>

namespace nv::test {
namespace {

using MainForm = FormTest;

TEST_F(MainForm, StartsUntitledWithoutArguments) {
    Start();
    EXPECT_EQ(Caption(), "Notova");
    EXPECT_EQ(form->CurrentFile, "");
    EXPECT_FALSE(form->DocumentModified);
    EXPECT_FALSE(form->StartingUp);
    EXPECT_TRUE(form->SizeCalcEnabled);
    EXPECT_EQ(form->TextField.GetWholeText(), "");
    EXPECT_EQ(form->PanelText(0), " Unchanged");
    EXPECT_EQ(form->PanelText(3), "0 Bytes");
    EXPECT_TRUE(dialogs.Seen().empty());
    // Nothing to undo or redo yet, on the toolbar as in the menu.
    for (TSpeedItem* button : {form->UndoBtn, form->RedoBtn}) EXPECT_FALSE(button->Enabled());
    EXPECT_FALSE(form->Enabled(IDM_UNDO));
    EXPECT_FALSE(form->Enabled(IDM_REDO));
}

TEST_F(MainForm, DesignValues) {
    Start();
    RECT outer{};
    ::GetWindowRect(form->Handle(), &outer);
    EXPECT_EQ(outer.left, 237);
    EXPECT_EQ(outer.top, 152);
    EXPECT_EQ(outer.right - outer.left, 500);
    EXPECT_EQ(outer.bottom - outer.top, 423);
    EXPECT_EQ(form->StatusBar.Panels().Count(), 6);
    EXPECT_EQ(form->PanelText(4), " NUM ");
    EXPECT_EQ(form->PanelText(5), " CAPS ");
    EXPECT_EQ(form->StatusBar.Panels()[2].Width(), 120);
    EXPECT_EQ(form->StatusBar.Height(), 19);

    EXPECT_EQ(form->Caption(IDM_NEW), "&New");
    EXPECT_EQ(form->Caption(IDM_SAVESELECTED), "Save &Selected...");
    EXPECT_EQ(form->Caption(IDM_DETECTURLS), "&Detect URL's");
    EXPECT_EQ(form->Caption(IDM_AUTOINTEND), "Auto-&Intend");
    EXPECT_FALSE(form->Checked(IDM_WORDWRAP));
    EXPECT_TRUE(form->Checked(IDM_WORDSELECT));
    EXPECT_TRUE(form->Checked(IDM_DETECTURLS));
    EXPECT_TRUE(form->Checked(IDM_SELECTIONBAR));
    EXPECT_TRUE(form->Checked(IDM_SHOWSTATUSBAR));
    EXPECT_FALSE(form->Checked(IDM_AUTOINTEND));
    EXPECT_TRUE(form->Checked(IDM_AUTOSAVESETTINGS));
    EXPECT_FALSE(form->Enabled(IDM_N5)) << "the separator above Exit is disabled";
    // The text field follows the options.
    EXPECT_FALSE(form->TextField.WordWrap());
    EXPECT_TRUE(form->TextField.AutoURLDetect());
    EXPECT_TRUE(form->TextField.SelectionBar());
    EXPECT_EQ(form->TextField.UndoLimit(), 10);
    EXPECT_EQ(form->TextField.Font().Name, "Fixedsys");
}

TEST_F(MainForm, KeyboardShortcutsRunTheirCommands) {
    Start();
    Type("abc");
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG msg{form->TextField.Handle(), WM_KEYDOWN, 'A', 1, 0, {}};
    const bool translated = form->TranslateAccelerator(msg);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(translated);
    EXPECT_EQ(form->TextField.SelectionLength(), 3) << "Ctrl+A selects all";
}

TEST_F(MainForm, OpensAnUnquotedPathWithSpaces) {
    ASSERT_TRUE(::CreateDirectoryA(dir.File("my notes").c_str(), nullptr));
    const std::string path = dir.File("my notes\\first draft.txt");
    WriteFileBytes(path, "hello\r\nworld");
    std::vector<std::string> arguments;
    std::string part;
    for (char c : path + " ") {
        if (c == ' ') {
            arguments.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    ASSERT_GE(arguments.size(), 3u);
    Start(arguments);
    EXPECT_EQ(Caption(), "Notova - " + path);
    EXPECT_EQ(form->CurrentFile, path);
    EXPECT_EQ(form->TextField.GetWholeText(), "hello\r\nworld");
    EXPECT_FALSE(form->DocumentModified);
    EXPECT_EQ(form->PanelText(0), " Unchanged");
    EXPECT_EQ(form->PanelText(3), "12 Bytes");
}

TEST_F(MainForm, AMissingFileStartsUntitledWithoutAMessage) {
    Start({dir.File("no such file.txt")});
    EXPECT_EQ(Caption(), "Notova");
    EXPECT_EQ(form->CurrentFile, "");
    EXPECT_EQ(form->PanelText(0), " Unchanged");
    EXPECT_TRUE(dialogs.Seen().empty());
}

TEST_F(MainForm, TheTextFieldEndsAboveTheStatusBarAfterLoading) {
    WriteFileBytes(dir.File("a.txt"), "abc");
    Start({dir.File("a.txt")});
    RECT field{}, bar{}, client{};
    ::GetWindowRect(form->TextField.Handle(), &field);
    ::GetWindowRect(form->StatusBar.Handle(), &bar);
    ::MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&field), 2);
    ::MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&bar), 2);
    ::GetClientRect(form->Handle(), &client);
    EXPECT_TRUE(::IsWindowVisible(form->StatusBar.Handle()));
    EXPECT_EQ(field.left, 0);
    EXPECT_EQ(field.top, 33) << "below the toolbar";
    EXPECT_EQ(field.bottom, bar.top);
    EXPECT_EQ(bar.bottom, client.bottom);
    EXPECT_EQ(bar.bottom - bar.top, 19);
}

TEST_F(MainForm, TheSizePanelTakesWhatTheOthersLeaveSoNumAndCapsStayWhole) {
    Start();
    const int grip = ::GetSystemMetrics(SM_CXVSCROLL) + 1;
    for (int width : {500, 800, 1600, 200}) {
        ::SetWindowPos(form->Handle(), nullptr, 0, 0, width, 400, SWP_NOMOVE | SWP_NOZORDER);
        RECT bar{};
        ::GetClientRect(form->StatusBar.Handle(), &bar);
        const auto& panels = form->StatusBar.Panels();
        const int others = panels[0].Width() + panels[1].Width() + panels[2].Width() + panels[4].Width() +
                           panels[5].Width();
        if (bar.right - grip < others + 20) { // too narrow for the fixed panels themselves
            EXPECT_EQ(panels[3].Width(), 0) << width;
            continue;
        }
        const RECT num = form->StatusBar.PanelRect(4), caps = form->StatusBar.PanelRect(5);
        EXPECT_LE(num.right, bar.right - grip) << width;
        EXPECT_LE(caps.left + panels[5].Width(), bar.right - grip) << "CAPS clear of the size grip at " << width;
        EXPECT_GE(caps.left + panels[5].Width(), bar.right - grip - 8) << "and panel 3 takes the rest at " << width;
    }
    EXPECT_EQ(form->StatusBar.Panels()[3].Width(), 0) << "never below zero";
    ::SetWindowPos(form->Handle(), nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(form->DocumentModified);
    EXPECT_EQ(form->PanelText(0), " Unchanged");
    RECT field{}, client{};
    ::GetWindowRect(form->TextField.Handle(), &field);
    ::GetClientRect(form->Handle(), &client);
    EXPECT_EQ(field.right - field.left, client.right);
    EXPECT_EQ(field.bottom - field.top, client.bottom - 33 - 19) << "between the toolbar and the status bar";
}

TEST_F(MainForm, ClosingWithChangesAsksAndCancelKeepsTheWindow) {
    Start();
    Type("x");
    dialogs.Press(IDCANCEL);
    form->Exit1Click(nullptr);
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_EQ(LastDialog().Text, "Save changes?");
    EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(LastDialog().Buttons, (std::vector<int>{IDCANCEL, IDYES, IDNO}));
    EXPECT_TRUE(::IsWindow(form->Handle()));
    EXPECT_EQ(form->TextField.GetWholeText(), "x");
    EXPECT_FALSE(DrainQuit());

    dialogs.Press(IDNO);
    ::SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialogs.Seen().size(), 2u);
    EXPECT_FALSE(::IsWindow(form->Handle())) << "No closes without saving";
    EXPECT_TRUE(DrainQuit()) << "closing the main window ends the message loop";
}

TEST_F(MainForm, ClosingUnchangedAsksNothing) {
    Start();
    form->Exit1Click(nullptr);
    EXPECT_FALSE(::IsWindow(form->Handle()));
    EXPECT_TRUE(dialogs.Seen().empty());
    EXPECT_TRUE(DrainQuit());
}

} // namespace
} // namespace nv::test
