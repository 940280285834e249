// The link label with real mouse messages, its painting and its hand cursor.
#include "tests/support/TestHost.h"
#include "widgets/urllabel.h"

#include <commctrl.h>
#include <windowsx.h>

#include <gtest/gtest.h>

#include <vector>

namespace nv {
namespace {

class URLLabel : public ::testing::Test {
protected:
    void SetUp() override {
        label.CreateWnd(host.Handle(), RECT{20, 20, 120, 33}, 200, "www.korvel.example");
        label.OnClick = [this](TObject* sender) {
            EXPECT_EQ(sender, &label);
            events.push_back("click");
        };
        label.ShellOpen = [this](const TShellCall& call) {
            calls.push_back(call);
            events.push_back("shell");
        };
        test::PumpMessages();
    }

    LPARAM Inside() const { return MAKELPARAM(3, 3); }
    void Mouse(UINT msg, LPARAM at) { ::SendMessageA(label.Handle(), msg, 0, at); }

    // Pixels of exactly this colour: the underline is a solid line in the font's colour, whatever the
    // machine's font smoothing does to the letters.
    int Pixels(COLORREF color) const {
        ::UpdateWindow(label.Handle());
        RECT client{};
        ::GetClientRect(label.Handle(), &client);
        WindowDC dc(label.Handle());
        int n = 0;
        for (int y = 0; y < client.bottom; ++y) {
            for (int x = 0; x < client.right; ++x) n += ::GetPixel(dc.get(), x, y) == color;
        }
        return n;
    }
    RECT Place() const {
        RECT r{};
        ::GetWindowRect(label.Handle(), &r);
        ::MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    test::TestHost host;
    TURLLabel label;
    std::vector<TShellCall> calls;
    std::vector<std::string> events;
};

TEST_F(URLLabel, BlueAndUnderlinedAtRestRedWhilePressed) {
    EXPECT_TRUE(label.Font().Style & fsUnderline);
    EXPECT_GT(Pixels(RGB(0, 0, 255)), 20) << "a blue underline";

    Mouse(WM_LBUTTONDOWN, Inside());
    EXPECT_GT(Pixels(RGB(255, 0, 0)), 20) << "red while the button is held";
    EXPECT_EQ(Pixels(RGB(0, 0, 255)), 0);
    EXPECT_TRUE(calls.empty()) << "nothing opens before the release";

    Mouse(WM_LBUTTONUP, Inside());
    EXPECT_GT(Pixels(RGB(0, 0, 255)), 20);
    EXPECT_EQ(Pixels(RGB(255, 0, 0)), 0);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].File, "http:\\\\www.korvel.example");
    EXPECT_EQ(calls[0].Owner, nullptr);
    EXPECT_EQ(calls[0].Verb, "") << "the default verb";
    EXPECT_EQ(calls[0].Parameters, "");
    EXPECT_EQ(calls[0].Directory, "");
    EXPECT_EQ(calls[0].Show, SW_SHOWNORMAL);
    EXPECT_EQ(events, (std::vector<std::string>{"click", "shell"})) << "the ordinary click comes first";
}

TEST_F(URLLabel, OnlyAWholeLeftClickOnTheLabelOpensTheLink) {
    Mouse(WM_LBUTTONDOWN, Inside());
    Mouse(WM_LBUTTONUP, MAKELPARAM(500, 3)); // released off the label
    EXPECT_EQ(label.Font().Color, clBlue);
    Mouse(WM_RBUTTONDOWN, Inside());
    EXPECT_EQ(label.Font().Color, clBlue) << "only the left button colours the label";
    Mouse(WM_RBUTTONUP, Inside());
    Mouse(WM_LBUTTONUP, Inside()); // no press before it
    EXPECT_TRUE(events.empty());
}

TEST_F(URLLabel, EachTypeHasItsPrefixAndCustomOnlyClicks) {
    label.SetLabelType(hmMAIL);
    label.SetCaption("notova@korvel.example");
    label.Click();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].File, "mailto:notova@korvel.example");

    events.clear();
    label.SetLabelType(hmCUSTOM);
    EXPECT_FALSE(label.Font().Style & fsUnderline) << "a custom label is plain";
    Mouse(WM_LBUTTONDOWN, Inside());
    Mouse(WM_LBUTTONUP, Inside());
    EXPECT_EQ(events, (std::vector<std::string>{"click"}));

    label.SetLabelType(hmMAIL);
    EXPECT_TRUE(label.Font().Style & fsUnderline);
    label.SetCaption(std::string(73, 'a')); // "mailto:" and 73 characters: 80
    events.clear();
    label.Click();
    EXPECT_EQ(events, (std::vector<std::string>{"click"})) << "an address over 79 characters is refused";
}

TEST_F(URLLabel, AllowDownMovesThePressedLabelOnePixel) {
    label.SetAllowDown(true);
    const RECT rest = Place();
    Mouse(WM_LBUTTONDOWN, Inside());
    EXPECT_EQ(Place().top, rest.top + 1);
    EXPECT_EQ(Place().left, rest.left);
    Mouse(WM_LBUTTONUP, Inside());
    EXPECT_EQ(Place().top, rest.top);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(URLLabel, Effect98ColoursAndUnderlinesOnlyWhileHovered) {
    label.SetEffect98(true);
    EXPECT_FALSE(label.Font().Style & fsUnderline);
    EXPECT_EQ(label.Font().Color, clBlue);
    Mouse(WM_MOUSEMOVE, Inside());
    EXPECT_EQ(label.Font().Color, clRed);
    EXPECT_TRUE(label.Font().Style & fsUnderline);
    Mouse(WM_LBUTTONDOWN, Inside());
    Mouse(WM_LBUTTONUP, Inside());
    EXPECT_EQ(label.Font().Color, clRed) << "still hovered after the click";
    Mouse(WM_MOUSELEAVE, 0);
    EXPECT_EQ(label.Font().Color, clBlue);
    EXPECT_FALSE(label.Font().Style & fsUnderline);
    label.SetEffect98(false);
    EXPECT_TRUE(label.Font().Style & fsUnderline);
}

TEST_F(URLLabel, FontAndColoursFollowEachOther) {
    TFont font = label.Font();
    font.Color = 0x008000;
    label.SetFont(font);
    EXPECT_EQ(label.URLColStd(), 0x008000) << "the font's colour is the colour at rest";
    label.SetURLColStd(0x800000);
    EXPECT_EQ(label.Font().Color, 0x800000);
    label.SetURLColPre(0x000080);
    Mouse(WM_LBUTTONDOWN, Inside());
    EXPECT_EQ(label.Font().Color, 0x000080);
    Mouse(WM_LBUTTONUP, Inside());
    EXPECT_EQ(label.Font().Color, 0x800000);
}

TEST_F(URLLabel, SizesItselfToItsTextAndShowsTheHandCursor) {
    RECT client{};
    ::GetClientRect(label.Handle(), &client);
    SIZE text{};
    {
        WindowDC dc(label.Handle());
        GdiObject font(
            ::CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, TRUE, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif"));
        SelectedObject keep(dc.get(), font.get());
        ::GetTextExtentPoint32A(dc.get(), "www.korvel.example", 18, &text);
    }
    EXPECT_EQ(client.right, text.cx);
    EXPECT_EQ(client.bottom, text.cy);

    ASSERT_NE(::LoadCursorA(::GetModuleHandleA(nullptr), "URLHAND"), nullptr) << "the program's own hand";
    EXPECT_EQ(TURLLabel::HandCursor(), ::LoadCursorA(::GetModuleHandleA(nullptr), "URLHAND"));
    ::SendMessageA(label.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label.Handle()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), TURLLabel::HandCursor());
}

TEST_F(URLLabel, HintAndParentFont) {
    auto hostsTooltip = [this] {
        for (HWND w = ::FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); w;
             w = ::FindWindowExA(nullptr, w, TOOLTIPS_CLASSA, nullptr)) {
            if (::GetWindow(w, GW_OWNER) == host.Handle()) return w;
        }
        return HWND{};
    };
    label.SetHint("Write to the author");
    EXPECT_EQ(hostsTooltip(), nullptr) << "a hint shows only with ShowHint";
    label.SetShowHint(true);
    HWND tip = hostsTooltip();
    ASSERT_NE(tip, nullptr) << "a tooltip for the label";
    EXPECT_EQ(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    label.SetShowHint(false);
    EXPECT_FALSE(::IsWindow(tip)) << "no hint, no tooltip";

    GdiObject parentFont(::CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
    ::SendMessageA(host.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(parentFont.get()), FALSE);
    host.OnMessage = [&](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_GETFONT) return false;
        result = reinterpret_cast<LRESULT>(parentFont.get());
        return true;
    };
    label.SetParentFont(true);
    EXPECT_EQ(label.Font().Name, "Tahoma");
    EXPECT_EQ(label.Font().Height, -20);
    EXPECT_TRUE(label.Font().Style & fsBold);
    host.OnMessage = nullptr;
    TFont own;
    label.SetFont(own);
    EXPECT_FALSE(label.ParentFont()) << "a font of its own ends the parent's";
}

TEST_F(URLLabel, TakesOverADialogsStaticControl) {
    HWND placeholder = ::CreateWindowExA(0, "Static", "mail@korvel.example", WS_CHILD | WS_VISIBLE, 10, 60, 200,
                                         13, host.Handle(), nullptr, nullptr, nullptr);
    TURLLabel taken;
    taken.Attach(placeholder);
    EXPECT_EQ(taken.Caption(), "mail@korvel.example");
    EXPECT_EQ(::SendMessageA(placeholder, WM_NCHITTEST, 0, 0), HTCLIENT) << "a static control gets the mouse";
    ::DestroyWindow(placeholder);
    EXPECT_EQ(taken.Handle(), nullptr) << "the label hears that its control is gone";
}

} // namespace
} // namespace nv
