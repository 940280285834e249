// The window and its dialogs laid out at a DPI: every size the program decides is its design at 96
// DPI scaled for the window's DPI. These run at the screen's DPI of the test prefix (96, and 144 in a
// prefix of its own), and through WM_DPICHANGED to another DPI and back, as a move between monitors.
#include "app/AboutF.h"
#include "app/GotoLineF.h"
#include "base/Dpi.h"
#include "base/Platform.h"
#include "tests/app/FormFixture.h"
#include "toolbar/SpeedBarSetup.h"
#include "widgets/Fonts.h"

#include <richedit.h>

#include <map>
#include <sstream>

namespace nv::test {
namespace {

using DpiLayout = FormTest;

// Where a window lies in the client area of `parent`.
RECT PlaceIn(HWND window, HWND parent) {
    RECT r{};
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE ClientSize(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    return {r.right, r.bottom};
}

HWND ButtonOf(const TSpeedItem& item) { return static_cast<TSpeedbarButton*>(item.Button())->Handle(); }

std::string Text(const RECT& r) {
    std::ostringstream out;
    out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
    return out.str();
}

// The rectangle of a designed control: its edges scaled.
RECT Designed(int left, int top, int width, int height, int dpi) {
    return {DpiScaled(left, dpi), DpiScaled(top, dpi), DpiScaled(left + width, dpi), DpiScaled(top + height, dpi)};
}

int ItemHeight(TNvMenu& menu, UINT command) {
    MEASUREITEMSTRUCT request{};
    request.CtlType = ODT_MENU;
    request.itemID = command;
    return menu.MeasureItem(request) ? static_cast<int>(request.itemHeight) : -1;
}

// The main window's parts as designed, at `dpi`.
void ExpectMainWindowAt(TForm1& form, int dpi) {
    SCOPED_TRACE("the main window at " + std::to_string(dpi) + " DPI");
    const auto s = [dpi](int design) { return DpiScaled(design, dpi); };
    EXPECT_EQ(form.PixelsPerInch(), dpi);
    // The toolbar: its thickness, and each button where the design has it, whole inside the bar.
    const RECT bar = PlaceIn(form.SpeedBar.Handle(), form.Handle());
    EXPECT_EQ(bar.bottom - bar.top, s(33));
    const SIZE inside = ClientSize(form.SpeedBar.Handle());
    form.SpeedBar.ForEachItem([&](TSpeedItem& item) {
        if (!item.Visible()) return;
        const RECT button = PlaceIn(ButtonOf(item), form.SpeedBar.Handle());
        EXPECT_EQ(Text(button), Text(Designed(item.Left(), item.Top(), 24, 24, dpi))) << item.Name();
        EXPECT_TRUE(button.left >= 0 && button.top >= 0 && button.right <= inside.cx && button.bottom <= inside.cy)
            << item.Name() << " at " << Text(button) << " lies outside the bar";
    });
    EXPECT_EQ(GlyphSize(IDB_NEWBTN, 2, dpi).cx, ShownImageSize(16, dpi));
    // The status bar: its height, the designed widths, and every text whole in its panel.
    EXPECT_EQ(form.StatusBar.Height(), s(19));
    const TnvStatusPanels& panels = form.StatusBar.Panels();
    EXPECT_EQ(panels[0].Width(), s(70));
    EXPECT_EQ(panels[1].Width(), s(50));
    EXPECT_GE(panels[2].Width(), s(120));
    for (int i = 0; i < panels.Count(); ++i) {
        const int needs = form.StatusBar.FittingWidth(panels[i].Text());
        EXPECT_LE(needs, panels[i].Width()) << "panel " << i << " \"" << panels[i].Text() << "\"";
        if (panels[i].AutoFit()) {
            EXPECT_EQ(panels[i].Width(), needs) << "panel " << i << " fits its text";
        }
    }
    EXPECT_EQ(form.StatusBar.FittingWidth(""), s(6)) << "the fitted margin";
    // The text field's font: its points at this DPI.
    EXPECT_EQ(form.TextField.Font().Height, -::MulDiv(9, dpi, 72));
    EXPECT_EQ(form.TextField.PixelsPerInch(), dpi);
    // The ASCII chart: its columns and no less than its width.
    EXPECT_EQ(form.ListView1.ColumnWidth(1), s(55));
    EXPECT_EQ(form.ListView1.ColumnWidth(2), s(55));
    EXPECT_GE(form.ListView1.Width(), s(130));
    if (form.ASCIIChartVisible()) {
        const RECT chart = PlaceIn(form.ListView1.Handle(), form.Handle());
        EXPECT_EQ(chart.right - chart.left, form.ListView1.Width());
    }
    // The menus: their pictures and the height of an item.
    EXPECT_EQ(form.ImageList.Width(), ShownImageSize(16, dpi));
    EXPECT_EQ(form.ImageList.Count(), 22);
    EXPECT_EQ(ItemHeight(form.NvMainMenu1, IDM_NEW), s(19));
    EXPECT_EQ(ItemHeight(form.TextFieldPopup, IDM_CUTPOP), s(19));
}

void ExpectGotoLineAt(const TGotoLine& window, int dpi) {
    SCOPED_TRACE("the goto-line window at " + std::to_string(dpi) + " DPI");
    EXPECT_EQ(window.PixelsPerInch(), dpi);
    const SIZE client = ClientSize(window.Handle());
    EXPECT_EQ(client.cx, DpiScaled(131, dpi));
    EXPECT_EQ(client.cy, DpiScaled(57, dpi));
    EXPECT_EQ(Text(PlaceIn(window.LineNr(), window.Handle())), Text(Designed(8, 24, 113, 21, dpi)));
}

void ExpectCustomizeAt(const TSpeedbarSetupWindow& window, int dpi) {
    SCOPED_TRACE("the customize window at " + std::to_string(dpi) + " DPI");
    EXPECT_EQ(window.PixelsPerInch(), dpi);
    const SIZE client = ClientSize(window.Handle());
    EXPECT_EQ(client.cx, DpiScaled(421, dpi));
    EXPECT_EQ(client.cy, DpiScaled(262, dpi));
    EXPECT_EQ(Text(PlaceIn(window.CloseBtn(), window.Handle())), Text(Designed(339, 12, 77, 25, dpi)));
    EXPECT_EQ(::SendMessageA(window.ButtonsList(), LB_GETITEMHEIGHT, 0, 0), DpiScaled(26, dpi));
    EXPECT_LE(ClientSize(window.ButtonsList()).cy, DpiScaled(186, dpi));
}

void ExpectAboutAt(const TAbout& box, int dpi) {
    SCOPED_TRACE("the About box at " + std::to_string(dpi) + " DPI");
    EXPECT_EQ(box.PixelsPerInch(), dpi);
    const SIZE client = ClientSize(box.Handle());
    EXPECT_EQ(client.cx, DpiScaled(274, dpi));
    EXPECT_EQ(client.cy, DpiScaled(253, dpi));
    EXPECT_EQ(Text(PlaceIn(::GetDlgItem(box.Handle(), IDCANCEL), box.Handle())), Text(Designed(104, 200, 75, 25, dpi)));
    BITMAP picture{};
    ASSERT_TRUE(::GetObjectA(box.Picture(), sizeof picture, &picture));
    EXPECT_EQ(picture.bmWidth, ShownImageSize(75, dpi));
    EXPECT_EQ(picture.bmHeight, ShownImageSize(103, dpi));
    const RECT image = PlaceIn(::GetDlgItem(box.Handle(), IDC_IMAGE1), box.Handle());
    EXPECT_EQ(image.right - image.left, picture.bmWidth) << "the picture is not stretched";
    const RECT title = PlaceIn(::GetDlgItem(box.Handle(), IDC_NVLABEL1), box.Handle());
    EXPECT_EQ(title.bottom - title.top, DpiScaled(44, dpi));
    EXPECT_EQ(box.NvLabel1.ShadowSize(), DpiScaled(1, dpi));
    EXPECT_EQ(box.URLLabel1.PixelsPerInch(), dpi);
}

// Another DPI for a move: twice the design's, or the design's from there.
int OtherDpi(int dpi) { return dpi == 192 ? 96 : 192; }

// The window's design size at `dpi`, about the same centre as it is now.
RECT DesignPlaceAt(HWND window, int dpi) {
    const SIZE design = ClientSizeForWindow(500, 423, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, true, 0, kDesignDpi);
    const SIZE size = WindowSizeForClient(DpiScaled(design.cx, dpi), DpiScaled(design.cy, dpi),
                                          WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, true, 0, dpi);
    RECT now{};
    ::GetWindowRect(window, &now);
    const int x = (now.left + now.right - size.cx) / 2, y = (now.top + now.bottom - size.cy) / 2;
    return {x, y, x + size.cx, y + size.cy};
}

void MoveToDpi(TForm1& form, int dpi, RECT place) {
    ::SendMessageA(form.Handle(), kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
    PumpMessages();
}

// Every window of the program and what it measures, to compare one layout with another.
std::string Measures(TForm1& form) {
    std::ostringstream out;
    const auto add = [&](HWND window, HWND parent) {
        char name[64] = {};
        ::GetClassNameA(window, name, sizeof name);
        out << name << " " << Text(PlaceIn(window, parent)) << "\n";
    };
    add(form.Handle(), nullptr);
    for (HWND child = ::GetWindow(form.Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        add(child, form.Handle());
        for (HWND inner = ::GetWindow(child, GW_CHILD); inner; inner = ::GetWindow(inner, GW_HWNDNEXT))
            add(inner, child);
    }
    for (int i = 0; i < form.StatusBar.Panels().Count(); ++i) out << "panel " << form.StatusBar.Panels()[i].Width() << "\n";
    out << "font " << form.TextField.Font().Height << " dialog font " << form.FontDialog.Font.Height << "\n";
    out << "images " << form.ImageList.Width() << " items " << ItemHeight(form.NvMainMenu1, IDM_NEW) << "\n";
    return out.str();
}

std::string DialogMeasures(HWND dialog) {
    std::ostringstream out;
    const SIZE client = ClientSize(dialog);
    out << client.cx << "x" << client.cy << "\n";
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        out << ::GetDlgCtrlID(child) << " " << Text(PlaceIn(child, dialog)) << "\n";
    return out.str();
}

TEST_F(DpiLayout, TheWindowIsItsDesignAtTheScreensDpi) {
    Start();
    form->SetASCIIChartVisible(true);
    const int dpi = WindowDpi(form->Handle());
    ExpectMainWindowAt(*form, dpi);
    // The window's client area is the design's, scaled.
    const SIZE design = ClientSizeForWindow(500, 423, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, true, 0, kDesignDpi);
    const SIZE client = ClientSize(form->Handle());
    EXPECT_EQ(client.cx, DpiScaled(design.cx, dpi));
    EXPECT_EQ(client.cy, DpiScaled(design.cy, dpi));
    // The program says so to the system: per-monitor v2, with the older kinds behind it.
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)); // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const char* manifest = static_cast<const char*>(::LockResource(::LoadResource(nullptr, found)));
    const std::string text(manifest, ::SizeofResource(nullptr, found));
    EXPECT_NE(text.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos) << text;
    EXPECT_NE(text.find(">true/pm</dpiAware>"), std::string::npos) << text;
}

TEST_F(DpiLayout, TheDialogsAreTheirDesignsAtTheWindowsDpi) {
    Start();
    const int dpi = form->PixelsPerInch();
    Command(IDM_GOTOLINE);
    ASSERT_TRUE(form->GotoLineWindow);
    ExpectGotoLineAt(*form->GotoLineWindow, dpi);
    form->Customize1Click(nullptr);
    TSpeedbarSetupWindow* customize = TSpeedbarSetupWindow::FindFor(&form->SpeedBar);
    ASSERT_NE(customize, nullptr);
    ExpectCustomizeAt(*customize, dpi);
    ::DestroyWindow(customize->Handle());
    dialogs.Then([&](HWND dialog) {
        ASSERT_NE(About, nullptr);
        ExpectAboutAt(*About, dpi);
        // A move to another monitor lays the box out there, and back.
        const std::string before = DialogMeasures(dialog);
        for (int to : {OtherDpi(dpi), dpi}) {
            RECT place{};
            ::GetWindowRect(dialog, &place);
            ::SendMessageA(dialog, kDpiChangedMessage, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&place));
            ExpectAboutAt(*About, to);
        }
        EXPECT_EQ(DialogMeasures(dialog), before);
        PressButton(dialog, IDCANCEL);
    });
    Command(IDM_ABOUT);
}

TEST_F(DpiLayout, AMoveToAnotherScaleAndBackComesBackExactly) {
    Start();
    form->SetASCIIChartVisible(true);
    Command(IDM_GOTOLINE);
    form->Customize1Click(nullptr);
    TSpeedbarSetupWindow* customize = TSpeedbarSetupWindow::FindFor(&form->SpeedBar);
    ASSERT_TRUE(form->GotoLineWindow && customize);
    const int dpi = form->PixelsPerInch(), other = OtherDpi(dpi);
    const std::string before = Measures(*form), gotoBefore = DialogMeasures(form->GotoLineWindow->Handle()),
                      customizeBefore = DialogMeasures(customize->Handle());
    RECT home{};
    ::GetWindowRect(form->Handle(), &home);

    const RECT there = DesignPlaceAt(form->Handle(), other);
    MoveToDpi(*form, other, there);
    RECT taken{};
    ::GetWindowRect(form->Handle(), &taken);
    EXPECT_EQ(Text(taken), Text(there)) << "the suggested rectangle is taken";
    ExpectMainWindowAt(*form, other);
    // The control draws the font's points at the screen's DPI: the twips make up the difference.
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    ::SendMessageA(form->TextField.Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.yHeight, ::MulDiv(9 * 20, other, ScreenPixelsPerInch()));
    // The open dialogs follow the window.
    ExpectGotoLineAt(*form->GotoLineWindow, other);
    ExpectCustomizeAt(*customize, other);
    EXPECT_EQ(customize, TSpeedbarSetupWindow::FindFor(&form->SpeedBar)) << "the same window, laid out again";

    MoveToDpi(*form, dpi, home);
    ExpectMainWindowAt(*form, dpi);
    EXPECT_EQ(Measures(*form), before);
    EXPECT_EQ(DialogMeasures(form->GotoLineWindow->Handle()), gotoBefore);
    EXPECT_EQ(DialogMeasures(customize->Handle()), customizeBefore);
    EXPECT_FALSE(form->DocumentModified) << "a new scale changes nothing in the text";
    ::DestroyWindow(customize->Handle());
}

TEST_F(DpiLayout, TheStoredToolbarLayoutIsInDesignPixelsAtEveryScale) {
    // Stored as at 96 DPI: it reads the same at the screen's DPI and after a move to another one.
    const std::map<std::string, std::string> stored = {
        {"Position", "1"}, {"Width", "65"}, {"Version", "0"}, {"PixelsPerInch", "96"}, {"BtnWidth", "24"},
        {"BtnHeight", "24"}, {"Count", "2"}, {"Button1", "NewBtn,4,4"}, {"Button2", "CutBtn,36,28"}};
    for (const auto& [name, value] : stored) WriteProgramString("TForm1SpeedBar", name, value);
    WriteProgramString("TForm1", "PixelsPerInch", std::to_string(ScreenPixelsPerInch()));
    Start();
    const int dpi = form->PixelsPerInch();
    EXPECT_EQ(form->SpeedBar.Thickness(), 65);
    EXPECT_EQ(form->CutBtn->Left(), 36);
    EXPECT_EQ(form->CutBtn->Top(), 28);
    EXPECT_FALSE(form->OpenBtn->Visible());
    EXPECT_EQ(Text(PlaceIn(ButtonOf(*form->CutBtn), form->SpeedBar.Handle())), Text(Designed(36, 28, 24, 24, dpi)));
    MoveToDpi(*form, OtherDpi(dpi), DesignPlaceAt(form->Handle(), OtherDpi(dpi)));
    // A button dropped at a point of the bar on the screen lands on the design's grid.
    const POINT drop{DpiScaled(101, OtherDpi(dpi)), DpiScaled(5, OtherDpi(dpi))};
    EXPECT_TRUE(form->SpeedBar.PlaceItemAtClient(*form->OpenBtn, drop));
    EXPECT_EQ(form->OpenBtn->Left(), 100);
    EXPECT_EQ(form->OpenBtn->Top(), 4);
    ::SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    DrainQuit();
    const std::map<std::string, std::string> saved = {
        {"Width", "65"}, {"PixelsPerInch", "96"}, {"BtnWidth", "24"}, {"BtnHeight", "24"}, {"Count", "3"},
        {"Button1", "NewBtn,4,4"}, {"Button2", "OpenBtn,100,4"}, {"Button3", "CutBtn,36,28"}};
    for (const auto& [name, value] : saved) EXPECT_EQ(ReadProgramValue("TForm1SpeedBar", name).Text, value) << name;
}

TEST_F(DpiLayout, CursorsComeAtTheSizeOfTheirDpi) {
    for (int dpi : {96, 120, 144, 192}) {
        for (LPCSTR name : std::initializer_list<LPCSTR>{MAKEINTRESOURCEA(IDR_TOOLBARDRAGCURSOR), "URLHAND"}) {
            HCURSOR cursor = LoadCursorForDpi(name, dpi);
            ASSERT_NE(cursor, nullptr) << dpi;
            ICONINFO info{};
            ASSERT_TRUE(::GetIconInfo(cursor, &info));
            GdiObject mask(info.hbmMask), color(info.hbmColor);
            BITMAP bitmap{};
            ::GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, DpiScaled(32, dpi)) << dpi;
            EXPECT_EQ(LoadCursorForDpi(name, dpi), cursor) << "loaded once";
        }
    }
    EXPECT_EQ(TURLLabel::HandCursor(144), LoadCursorForDpi("URLHAND", 144));
    EXPECT_EQ(ToolbarDragCursor(192), LoadCursorForDpi(MAKEINTRESOURCEA(IDR_TOOLBARDRAGCURSOR), 192));
}

} // namespace
} // namespace nv::test
