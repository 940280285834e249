// The Setup menu's view toggles, the font and print dialogs, the Run and Help commands, links in the
// text and the About box, in the real window.
#include "app/AboutF.h"
#include "base/Platform.h"
#include "editor/RichEditLibrary.h"
#include "tests/app/FormFixture.h"
#include "tests/support/FilePrinter.h"
#include "tests/support/SampleTexts.h"

#include <richedit.h>

namespace nv::test {
namespace {

class View : public FormTest {
protected:
    void Start(const std::vector<std::string>& arguments = {}) {
        FormTest::Start(arguments);
        form->ShellOpen = [this](const TShellCall& call) { shell.push_back(call); };
    }
    void OpenText(const std::string& text) {
        WriteFileBytes(dir.File("doc.txt"), text);
        Open(dir.File("doc.txt"));
    }
    void ExpectUnchanged(const std::string& text, const char* what) {
        EXPECT_EQ(form->PanelText(0), " Unchanged") << what;
        EXPECT_FALSE(form->DocumentModified) << what;
        EXPECT_EQ(form->TextField.GetWholeText(), text) << what;
    }
    RECT FieldPlace() const {
        RECT r{};
        ::GetWindowRect(form->TextField.Handle(), &r);
        ::MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // Sends what the control sends for a mouse message over a link.
    void Link(UINT mouseMessage, long cpMin, long cpMax) {
        ENLINK link{};
        link.nmhdr.hwndFrom = form->TextField.Handle();
        link.nmhdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(form->TextField.Handle()));
        link.nmhdr.code = EN_LINK;
        link.msg = mouseMessage;
        link.chrg = {cpMin, cpMax};
        ::SendMessageA(form->Handle(), WM_NOTIFY, link.nmhdr.idFrom, reinterpret_cast<LPARAM>(&link));
    }
    bool IsLink(long from, long to) const {
        CHARRANGE range{from, to};
        ::SendMessageA(form->TextField.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2A format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_LINK;
        ::SendMessageA(form->TextField.Handle(), EM_GETCHARFORMAT, SCF_SELECTION,
                       reinterpret_cast<LPARAM>(&format));
        return (format.dwMask & CFM_LINK) && (format.dwEffects & CFE_LINK);
    }

    std::vector<TShellCall> shell;
};

TEST_F(View, TogglesKeepTheTextAndItsState) {
    Start();
    const std::string text = "first line\r\nsee http://korvel.example/notes today";
    OpenText(text);
    const struct {
        int command;
        bool (TNvRichEdit::*property)() const;
    } toggles[] = {{IDM_WORDWRAP, &TNvRichEdit::WordWrap},
                   {IDM_WORDSELECT, &TNvRichEdit::WordSelection},
                   {IDM_SELECTIONBAR, &TNvRichEdit::SelectionBar},
                   {IDM_DETECTURLS, &TNvRichEdit::AutoURLDetect}};
    for (const auto& toggle : toggles) {
        const bool before = form->Checked(toggle.command);
        Command(toggle.command);
        EXPECT_EQ(form->Checked(toggle.command), !before) << toggle.command;
        EXPECT_EQ((form->TextField.*toggle.property)(), !before) << toggle.command;
        ExpectUnchanged(text, "after switching");
        Command(toggle.command);
        EXPECT_EQ((form->TextField.*toggle.property)(), before) << toggle.command;
        ExpectUnchanged(text, "after switching back");
    }
    // A changed document stays changed, its text whole.
    form->TextField.MoveCaret(0);
    Type("x");
    for (const auto& toggle : toggles) Command(toggle.command);
    EXPECT_TRUE(form->DocumentModified);
    EXPECT_EQ(form->PanelText(0), " Changed");
    EXPECT_EQ(form->TextField.GetWholeText(), "x" + text);
}

TEST_F(View, WordWrapMenuAndToolbarButtonStayInStep) {
    Start();
    for (int i = 0; i < 4; ++i) {
        if (i % 2) {
            form->WordWrap->Click();
        } else {
            Command(IDM_WORDWRAP);
        }
        const bool on = i % 2 == 0;
        EXPECT_EQ(form->Checked(IDM_WORDWRAP), on) << i;
        EXPECT_EQ(form->WordWrap->Down(), on) << i;
        EXPECT_EQ(form->TextField.WordWrap(), on) << i;
    }
}

TEST_F(View, ALineTooLongToWrapKeepsWordWrapOffAndSaysWhy) {
    Start();
    const std::string text = "short\r\n" + LongLine(1 << 20);
    OpenText(text);
    ASSERT_FALSE(form->Checked(IDM_WORDWRAP));
    for (bool button : {false, true}) {
        dialogs.Press(IDOK);
        if (button) {
            form->WordWrap->Click();
        } else {
            Command(IDM_WORDWRAP);
        }
        EXPECT_NE(LastDialog().Text.find("too long to wrap"), std::string::npos) << LastDialog().Text;
        EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONWARNING));
        EXPECT_FALSE(form->Checked(IDM_WORDWRAP)) << button;
        EXPECT_FALSE(form->WordWrap->Down()) << button;
        EXPECT_FALSE(form->TextField.WordWrap()) << button;
        ExpectUnchanged(text, button ? "the button" : "the menu");
    }
}

TEST_F(View, URLDetectionMarksTheExistingLinksAtOnce) {
    Start();
    OpenText("read http://korvel.example/a first");
    ASSERT_TRUE(form->Checked(IDM_DETECTURLS));
    EXPECT_TRUE(IsLink(5, 27));
    Command(IDM_DETECTURLS);
    EXPECT_FALSE(IsLink(5, 27)) << "no link once detection is off";
    Command(IDM_DETECTURLS);
    EXPECT_TRUE(IsLink(5, 27)) << "the text already there is a link again";
    EXPECT_FALSE(IsLink(0, 4));
    ExpectUnchanged("read http://korvel.example/a first", "detection switched");
}

TEST_F(View, AToggleWhoseWindowCannotBeMadeStillFollowsLaterChanges) {
    Start();
    OpenText("kept");
    for (int command : {IDM_WORDWRAP, IDM_DETECTURLS}) {
        {
            RefuseTextFieldWindow refuse(1, 2); // the new window, and the second try
            dialogs.Press(IDOK);
            Command(command);
        }
        EXPECT_EQ(LastDialog().Text, std::string("Error creating window class ") + RichEditClassName());
        form->DocumentModified = false; // nothing to ask about
        Command(IDM_NEW);
        Type("typed");
        EXPECT_TRUE(form->DocumentModified) << command;
        EXPECT_EQ(form->PanelText(0), " Changed") << command;
    }
    {
        RefuseTextFieldWindow refuse(1); // refused once, made on the second try: the text stays
        Command(IDM_WORDWRAP);
    }
    EXPECT_EQ(form->TextField.GetWholeText(), "typed");
    EXPECT_TRUE(form->DocumentModified);
}

TEST_F(View, HideToolbarAndShowToolbar) {
    Start();
    ASSERT_TRUE(form->SpeedBar.Visible());
    EXPECT_EQ(FieldPlace().top, 33);
    Command(IDM_HIDETOOLBAR); // the toolbar's popup menu
    EXPECT_FALSE(form->Checked(IDM_SHOWTOOLS));
    EXPECT_FALSE(form->SpeedBar.Visible());
    EXPECT_FALSE(::IsWindowVisible(form->SpeedBar.Handle()));
    EXPECT_EQ(FieldPlace().top, 0) << "the text field takes the toolbar's place";
    Command(IDM_SHOWTOOLS);
    EXPECT_TRUE(form->Checked(IDM_SHOWTOOLS));
    EXPECT_TRUE(::IsWindowVisible(form->SpeedBar.Handle()));
    EXPECT_EQ(FieldPlace().top, 33);
    ExpectUnchanged("", "toolbar");
}

TEST_F(View, ShowingTheStatusBarAgainShowsCurrentValues) {
    Start();
    Type("ab");
    Command(IDM_SHOWSTATUSBAR);
    EXPECT_FALSE(form->Checked(IDM_SHOWSTATUSBAR));
    EXPECT_FALSE(::IsWindowVisible(form->StatusBar.Handle()));
    RECT client{};
    ::GetClientRect(form->Handle(), &client);
    EXPECT_EQ(FieldPlace().bottom, client.bottom) << "the text field takes the status bar's place";

    Type("c\rdef");
    form->TextField.MoveCaret(4);
    EXPECT_EQ(form->PanelText(3), "2 Bytes") << "a hidden bar is left alone";

    Command(IDM_SHOWSTATUSBAR);
    EXPECT_TRUE(form->Checked(IDM_SHOWSTATUSBAR));
    EXPECT_TRUE(::IsWindowVisible(form->StatusBar.Handle()));
    EXPECT_EQ(form->PanelText(1), "#100");
    EXPECT_EQ(form->PanelText(2), "Pos: 4  0@2");
    EXPECT_EQ(form->PanelText(3), "8 Bytes");
    EXPECT_EQ(FieldPlace().bottom, client.bottom - form->StatusBar.Height());
}

// Picks a face other than the current one, bold italic, 14 points, purple and underlined.
void ChooseInFontDialog(HWND dialog, std::string& face) {
    HWND faces = ::GetDlgItem(dialog, 1136);
    const int count = static_cast<int>(::SendMessageA(faces, CB_GETCOUNT, 0, 0));
    int pick = static_cast<int>(::SendMessageA(faces, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>("Tahoma")));
    if (pick < 0) pick = count - 1;
    char name[LF_FACESIZE] = {};
    ::SendMessageA(faces, CB_GETLBTEXT, static_cast<WPARAM>(pick), reinterpret_cast<LPARAM>(name));
    face = name;
    ::SendMessageA(faces, CB_SETCURSEL, static_cast<WPARAM>(pick), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELCHANGE), reinterpret_cast<LPARAM>(faces));
    HWND styles = ::GetDlgItem(dialog, 1137);
    ::SendMessageA(styles, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Bold Italic"));
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1137, CBN_SELCHANGE), reinterpret_cast<LPARAM>(styles));
    HWND size = ::GetDlgItem(dialog, 1138);
    ::SetWindowTextA(size, "14");
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1138, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(size));
    HWND colors = ::GetDlgItem(dialog, 1139);
    for (int i = 0; i < static_cast<int>(::SendMessageA(colors, CB_GETCOUNT, 0, 0)); ++i) {
        if (::SendMessageA(colors, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == RGB(128, 0, 128)) {
            ::SendMessageA(colors, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        }
    }
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1139, CBN_SELCHANGE), reinterpret_cast<LPARAM>(colors));
    HWND underline = ::GetDlgItem(dialog, 1041);
    ::SendMessageA(underline, BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1041, BN_CLICKED), reinterpret_cast<LPARAM>(underline));
    PressButton(dialog, IDOK);
}

TEST_F(View, ANewFontReachesTheLinksToo) {
    Start();
    OpenText("see http://korvel.example/a now");
    ASSERT_TRUE(IsLink(4, 27));
    form->TextField.MoveCaret(30);
    std::string face;
    dialogs.Then([&face](HWND dialog) { ChooseInFontDialog(dialog, face); });
    Command(IDM_FONT);
    EXPECT_EQ(form->TextField.SelectionStart(), 30) << "the caret stays";
    for (auto [from, to] : {std::pair<long, long>{4, 27}, {0, 3}}) {
        CHARRANGE range{from, to};
        ::SendMessageA(form->TextField.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2A format{};
        format.cbSize = sizeof format;
        ::SendMessageA(form->TextField.Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        EXPECT_EQ(format.szFaceName, face) << from;
        EXPECT_EQ(format.yHeight, 14 * 20) << from;
    }
    EXPECT_TRUE(IsLink(4, 27)) << "still a link";
    ExpectUnchanged("see http://korvel.example/a now", "font changed");
}

TEST_F(View, TheFontDialogAppliesItsChoiceAndCancelChangesNothing) {
    Start();
    EXPECT_EQ(form->FontDialog.Font, form->TextField.Font()) << "the dialog starts from the text field's font";
    OpenText("some text");
    std::string face;
    dialogs.Then([&face](HWND dialog) { ChooseInFontDialog(dialog, face); });
    Command(IDM_FONT);
    ASSERT_FALSE(face.empty());
    const TFont chosen = form->TextField.Font();
    EXPECT_EQ(chosen.Name, face);
    EXPECT_EQ(chosen.Size(ScreenPixelsPerInch()), 14);
    EXPECT_EQ(chosen.Style, static_cast<TFontStyles>(fsBold | fsItalic | fsUnderline));
    EXPECT_EQ(chosen.Color, static_cast<TColor>(RGB(128, 0, 128)));
    EXPECT_EQ(form->FontDialog.Font, chosen) << "the dialog keeps the last choice";
    ExpectUnchanged("some text", "font chosen");

    dialogs.Press(IDCANCEL);
    Command(IDM_FONT);
    EXPECT_EQ(form->TextField.Font(), chosen);
    EXPECT_EQ(form->FontDialog.Font, chosen);
    EXPECT_EQ(dialogs.Seen().back().Caption, "Font");
    ExpectUnchanged("some text", "font dialog cancelled");
}

class Printing : public View {
protected:
    void SetUp() override {
        View::SetUp();
        std::string why;
        if (EnsureFilePrinter(why).empty()) GTEST_SKIP() << "no file printer could be added: " << why;
    }
    // Prints with the print dialog's OK and the job's file named in the program's own question.
    std::string PrintToFile(const std::string& name) {
        dialogs.Press(IDOK);
        dialogs.ChooseFile(dir.File(name));
        Command(IDM_PRINT);
        return ReadFileBytes(dir.File(name));
    }
};

TEST_F(Printing, AnUntitledDocumentPrintsAnUntitledJobAPageAtATime) {
    Start();
    std::string text;
    for (int i = 0; i < 150; ++i) text += "Line " + std::to_string(i) + "\r\n";
    form->TextField.SetWholeText(text);
    const std::string ps = PrintToFile("untitled.ps");
    ASSERT_GE(dialogs.Seen().size(), 2u);
    EXPECT_EQ(dialogs.Seen()[0].Caption, "Print");
    EXPECT_EQ(dialogs.Seen()[1].Caption, "Print to File");
    EXPECT_EQ(PrintedTitle(ps), "") << "an untitled document's job has an empty title";
    const auto pages = PrintedPages(ps);
    ASSERT_GE(pages.size(), 2u) << "150 lines of the design font fill more than a page";
    size_t line = 0;
    for (size_t page = 0; page < pages.size(); ++page) {
        if (page + 1 < pages.size()) {
            EXPECT_EQ(pages[page].size(), pages[0].size()) << "every full page holds as many lines";
        }
        for (const std::string& printed : pages[page]) EXPECT_EQ(printed, "Line " + std::to_string(line++));
    }
    EXPECT_EQ(line, 150u);
    EXPECT_FALSE(FileExists("FILE:")) << "nothing went to a file named after the port";
}

TEST_F(Printing, ASavedDocumentsJobCarriesItsPathAndReplacesAnOldFileWhole) {
    Start();
    OpenText("short");
    WriteFileBytes(dir.File("job.ps"), std::string(200000, 'z')); // far longer than the job
    dialogs.Press(IDOK);
    dialogs.ChooseFile(dir.File("job.ps"));
    dialogs.Press(IDYES); // the file dialog asks before replacing
    Command(IDM_PRINT);
    const std::string ps = ReadFileBytes(dir.File("job.ps"));
    EXPECT_EQ(PrintedTitle(ps), dir.File("doc.txt"));
    EXPECT_EQ(PrintedPages(ps), (std::vector<std::vector<std::string>>{{"short"}}));
    EXPECT_EQ(ps.find(std::string(64, 'z')), std::string::npos) << "nothing of the old file is left";
    ExpectUnchanged("short", "printed");

    // Cancelling either dialog prints nothing.
    dialogs.Press(IDCANCEL);
    Command(IDM_PRINT);
    dialogs.Press(IDOK);
    dialogs.Press(IDCANCEL);
    Command(IDM_PRINT);
    EXPECT_FALSE(FileExists(dir.File("Untitled.ps")));
    EXPECT_EQ(ReadFileBytes(dir.File("job.ps")), ps);
}

TEST_F(Printing, WithoutAPrinterOnlyThePrintDialogsMessageShows) {
    Start();
    ASSERT_TRUE(RemoveFilePrinter());
    const std::vector<std::string> others = InstalledPrinters();
    if (!others.empty()) {
        std::string why;
        EnsureFilePrinter(why);
        GTEST_SKIP() << "the machine has printers of its own: " << others.front();
    }
    OpenText("text");
    dialogs.Press(IDOK);
    Command(IDM_PRINT);
    std::string why;
    EnsureFilePrinter(why);
    ASSERT_EQ(dialogs.Seen().size(), 1u) << "the print dialog's own message, and nothing after it";
    EXPECT_FALSE(dialogs.Seen()[0].Text.empty());
    EXPECT_FALSE(FileExists("FILE:"));
    ExpectUnchanged("text", "nothing printed");
}

TEST_F(View, LinksOpenWithEitherButtonForWebAndMailOnly) {
    Start();
    form->TextField.SetWholeText("x");
    const struct {
        const char* link;
        bool opens;
    } links[] = {{"http://korvel.example/a", true},
                 {"mailto:someone@korvel.example", true},
                 {"file:///C:/windows/system32/cmd.exe", false},
                 {"notes://server/db", false}};
    for (const auto& link : links) {
        form->TextField.SetWholeText(std::string("see ") + link.link + " now");
        const long from = 4, to = 4 + static_cast<long>(std::string(link.link).size());
        for (UINT down : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
            shell.clear();
            Link(down, from, to);
            Link(down == WM_LBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP, from, to);
            if (!link.opens) {
                EXPECT_TRUE(shell.empty()) << link.link;
                continue;
            }
            ASSERT_EQ(shell.size(), 1u) << link.link;
            EXPECT_EQ(shell[0].File, link.link);
            EXPECT_EQ(shell[0].Owner, form->Handle());
            EXPECT_EQ(shell[0].Verb, "");
            EXPECT_EQ(shell[0].Parameters, "");
            EXPECT_EQ(shell[0].Directory, "");
            EXPECT_EQ(shell[0].Show, SW_SHOWNORMAL);
        }
    }
}

TEST_F(View, RunOpenHandsTheStoredFileToTheShellAndGotoWebTheSite) {
    Start();
    Command(IDM_RUNOPEN);
    EXPECT_TRUE(shell.empty()) << "an untitled document has no file to open";
    OpenText("as stored");
    Type("unsaved ");
    Command(IDM_RUNOPEN);
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].File, dir.File("doc.txt"));
    EXPECT_EQ(shell[0].Owner, form->Handle());
    EXPECT_EQ(ReadFileBytes(dir.File("doc.txt")), "as stored") << "the changes are not saved for it";
    EXPECT_TRUE(form->DocumentModified);

    Command(IDM_GOTOWEB);
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[1].File, "http://www.korvel.example");
    EXPECT_EQ(shell[1].Owner, form->Handle());
}

RECT gMenuPlace{};
TEST_F(View, RunContextShowsOneMenuForAllMatchesBesideTheWindowsCorner) {
    Start();
    for (const char* name : {"a.txt", "b.txt"}) WriteFileBytes(dir.File(name), "x");
    form->CurrentFile = dir.File("*.txt");
    gMenuPlace = RECT{};
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) CALLBACK {
        HWND menu = ::FindWindowA("#32768", nullptr);
        if (!menu || !::IsWindowVisible(menu)) return;
        ::KillTimer(nullptr, id);
        ::GetWindowRect(menu, &gMenuPlace);
        ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    Command(IDM_RUNCONTEXT);
    ::KillTimer(nullptr, timer);
    RECT window{};
    ::GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(gMenuPlace.left, window.left + 90);
    EXPECT_EQ(gMenuPlace.top, window.top + 50);
    EXPECT_TRUE(shell.empty());
    EXPECT_FALSE(form->DocumentModified);
}

TEST_F(View, TheAboutBoxIsMadeAfreshForEachShowing) {
    Start();
    struct Showing {
        HWND window = nullptr;
        TAbout* box = nullptr;
        TColor webColor = 0;
    };
    std::vector<Showing> showings;
    auto look = [&](HWND dialog) {
        Showing seen{dialog, About, About ? About->URLLabel2.Font().Color : 0};
        showings.push_back(seen);
        EXPECT_EQ(DescribeDialog(dialog).Caption, "Notova - About");
        RECT client{};
        ::GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, 274);
        EXPECT_EQ(client.bottom, 253);
        auto place = [dialog](int id) {
            RECT r{};
            ::GetWindowRect(::GetDlgItem(dialog, id), &r);
            ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            return r;
        };
        const RECT ok = place(IDCANCEL), image = place(IDC_IMAGE1), mail = place(IDC_URLLABEL1);
        EXPECT_EQ(ok.left, 104);
        EXPECT_EQ(ok.top, 200);
        EXPECT_EQ(ok.right - ok.left, 75);
        EXPECT_EQ(image.left, 176);
        EXPECT_EQ(image.bottom - image.top, 103);
        EXPECT_EQ(mail.left, 32);
        EXPECT_EQ(mail.top, 144);
        EXPECT_GT(mail.right - mail.left, 60) << "as wide as the address";
        char shown[100] = {};
        ::GetWindowTextA(::GetDlgItem(dialog, IDC_URLLABEL1), shown, sizeof shown);
        EXPECT_STREQ(shown, "notova@korvel.example");
        EXPECT_EQ(DialogItemText(dialog, IDC_LABEL5), "v1.0.12.197");
        EXPECT_EQ(DialogItemText(dialog, IDCANCEL), "OK");
        ASSERT_NE(About, nullptr);
        EXPECT_EQ(About->URLLabel1.Caption(), "notova@korvel.example") << "the bug box's address";
        EXPECT_EQ(About->URLLabel2.Caption(), "www.korvel.example") << "the site Goto WEB opens";
        EXPECT_EQ(About->URLLabel1.LabelType(), hmMAIL);
        EXPECT_EQ(About->URLLabel2.LabelType(), hmHTTP);
        // The mail link opens; the web link is left pressed (red) as the box closes.
        HWND mailLabel = ::GetDlgItem(dialog, IDC_URLLABEL1);
        ::SendMessageA(mailLabel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageA(mailLabel, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        ::SendMessageA(::GetDlgItem(dialog, IDC_URLLABEL2), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        EXPECT_EQ(About->URLLabel2.Font().Color, clRed);
        PressButton(dialog, IDCANCEL);
    };
    dialogs.Then(look);
    Command(IDM_ABOUT);
    EXPECT_EQ(About, nullptr) << "freed when it closes";
    dialogs.Then(look);
    Command(IDM_ABOUT);
    ASSERT_EQ(showings.size(), 2u);
    EXPECT_FALSE(::IsWindow(showings[0].window) && showings[0].window != showings[1].window);
    EXPECT_EQ(showings[1].webColor, clBlue) << "a fresh box, not the one left pressed";
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[0].File, "mailto:notova@korvel.example");
    EXPECT_EQ(shell[0].Owner, nullptr);

    TAbout box;
    dialogs.Press(IDCANCEL);
    EXPECT_EQ(box.ShowModal(form->Handle()), IDCANCEL) << "the modal result is Cancel";
}

// A key as the keyboard sends it, run through the dialog as its modal loop does.
void PressKey(HWND dialog, WORD key) {
    for (bool up : {false, true}) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ::SendInput(1, &input, sizeof input);
        ::Sleep(30);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (::IsDialogMessageA(dialog, &msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

// The columns of a picture that hold anything but the colour of its top-left corner: first, last.
std::pair<int, int> InkColumns(HDC dc, int width, int height) {
    const COLORREF background = ::GetPixel(dc, 0, 0);
    int first = width, last = -1;
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            if (::GetPixel(dc, x, y) == background) continue;
            first = std::min(first, x);
            last = x;
            break;
        }
    }
    return {first, last};
}

TEST_F(View, TheAboutBoxTitleFitsBesideThePictureWhateverItsFont) {
    Start();
    dialogs.Then([](HWND dialog) {
        HWND title = ::GetDlgItem(dialog, IDC_NVLABEL1);
        RECT label{}, picture{};
        ::GetWindowRect(title, &label);
        ::GetWindowRect(::GetDlgItem(dialog, IDC_IMAGE1), &picture);
        EXPECT_LE(label.right, picture.left) << "the title stays left of the picture";
        // The title as the label shows it, against the same text with its shadow drawn with the same
        // font where nothing cuts it.
        const int wide = 4 * (label.right - label.left), high = label.bottom - label.top;
        MemoryDC whole(::CreateCompatibleDC(nullptr));
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, wide, -high, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        GdiObject bitmap(::CreateDIBSection(whole.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        SelectedObject selected(whole.get(), bitmap.get());
        SelectedObject font(whole.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(title, WM_GETFONT, 0, 0)));
        const RECT all{0, 0, wide, high};
        ::FillRect(whole.get(), &all, ::GetSysColorBrush(COLOR_BTNFACE));
        ::SetBkMode(whole.get(), TRANSPARENT);
        for (const auto& [at, color] :
             {std::pair{wide / 4 + 1, RGB(255, 255, 255)}, {wide / 4, RGB(255, 0, 0)}}) {
            RECT place{at, at == wide / 4 ? 0 : 1, wide, high};
            ::SetTextColor(whole.get(), color);
            ::DrawTextA(whole.get(), "Notova", 6, &place, DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
        }
        const auto [wholeFirst, wholeLast] = InkColumns(whole.get(), wide, high);
        ::RedrawWindow(title, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        WindowDC shown(title);
        const auto [first, last] = InkColumns(shown.get(), label.right - label.left, high);
        EXPECT_GT(wholeLast - wholeFirst, 60) << "the title is drawn";
        EXPECT_EQ(last - first, wholeLast - wholeFirst) << "the title is whole";
        PressButton(dialog, IDCANCEL);
    });
    Command(IDM_ABOUT);
}

TEST_F(View, TheAboutBoxLinksAreReachedWithTabAndOpenedWithEnterOrSpace) {
    Start();
    dialogs.Then([this](HWND dialog) {
        HWND ok = ::GetDlgItem(dialog, IDCANCEL), mail = ::GetDlgItem(dialog, IDC_URLLABEL1),
             web = ::GetDlgItem(dialog, IDC_URLLABEL2);
        EXPECT_EQ(::GetFocus(), ok) << "OK has the focus at first";
        const struct {
            WORD key;
            HWND focus;
            const char* opened; // what reaches the shell, or nullptr
        } rows[] = {{VK_TAB, mail, nullptr},
                    {VK_SPACE, mail, "mailto:notova@korvel.example"},
                    {VK_TAB, web, nullptr},
                    {VK_RETURN, web, "http:\\\\www.korvel.example"},
                    {VK_TAB, ok, nullptr}};
        for (const auto& row : rows) {
            const size_t calls = shell.size();
            PressKey(dialog, row.key);
            EXPECT_EQ(::GetFocus(), row.focus) << row.key;
            ASSERT_EQ(shell.size(), calls + (row.opened ? 1 : 0)) << row.key;
            if (row.opened) {
                EXPECT_EQ(shell.back().File, row.opened);
            }
        }
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "a link opened with a key leaves the box open";
        PressButton(dialog, IDCANCEL);
    });
    Command(IDM_ABOUT);
}

} // namespace
} // namespace nv::test
