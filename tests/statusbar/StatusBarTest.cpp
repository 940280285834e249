// The status bar on the real native control, in a real window.
#include "base/Errors.h"
#include "tests/statusbar/BarFixture.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace nv {
namespace {

using namespace test;

class StatusBar : public BarFixture {
protected:
    std::vector<int> NativeEdges() const {
        int edges[256] = {};
        const auto n = ::SendMessageA(bar.Handle(), SB_GETPARTS, 256, reinterpret_cast<LPARAM>(edges));
        return std::vector<int>(edges, edges + n);
    }
    // What the bar's font measures for a text, independently of the bar.
    int TextWidth(const std::string& text, int height = -11) const {
        LOGFONTA lf{};
        lf.lfHeight = height;
        lf.lfCharSet = DEFAULT_CHARSET;
        ::lstrcpynA(lf.lfFaceName, bar.Font().Name.c_str(), LF_FACESIZE);
        GdiObject font(::CreateFontIndirectA(&lf));
        MemoryDC dc(::CreateCompatibleDC(nullptr));
        SelectedObject selected(dc.get(), font.get());
        SIZE size{};
        ::GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    // A click with the cursor at `cursor` while the mouse messages say `message` (client coordinates).
    void ClickAt(POINT cursor, POINT message) {
        ::ClientToScreen(bar.Handle(), &cursor);
        ::SetCursorPos(cursor.x, cursor.y);
        ::SendMessageA(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(message.x, message.y));
        ::SendMessageA(bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(message.x, message.y));
    }
    void ClickAt(POINT p) { ClickAt(p, p); }
    static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
};

TEST_F(StatusBar, PartsAreRunningEdgesAndTheLastFollowsTheParentsWidth) {
    ::SetWindowPos(host.Handle(), nullptr, 0, 0, 800, 200, SWP_NOMOVE | SWP_NOZORDER);
    Create();
    const int widths[] = {70, 50, 120, 205};
    for (int w : widths) bar.Panels().Add().SetWidth(w);
    bar.Panels().Add().SetPanelType(sptNumLock);
    bar.Panels().Add().SetPanelType(sptCapsLock);
    EXPECT_EQ(NativeEdges(), (std::vector<int>{70, 120, 240, 445, 445 + bar.Panels()[4].Width(), -1}));
    RECT client{};
    ::GetClientRect(bar.Handle(), &client);
    EXPECT_EQ(client.bottom, 19);
    EXPECT_EQ(bar.PanelRect(5).right, client.right);
    EXPECT_GT(bar.PanelRect(5).right - bar.PanelRect(5).left, bar.Panels()[5].Width());

    ::SetWindowPos(host.Handle(), nullptr, 0, 0, 640, 300, SWP_NOMOVE | SWP_NOZORDER);
    bar.Realign();
    RECT moved{};
    ::GetWindowRect(bar.Handle(), &moved);
    ::MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&moved), 2);
    EXPECT_EQ(moved.bottom, host.Client().bottom);
    EXPECT_EQ(bar.PanelRect(5).right, host.Client().right) << "the last part follows the new width";
}

TEST_F(StatusBar, NoPanelsLeaveOneEmptyPartAndPanelsPast128GetNone) {
    Create();
    EXPECT_EQ(NativeEdges(), std::vector<int>{-1});
    {
        TnvStatusPanels::UpdateScope update(bar.Panels()); // one layout at the end, as a form loads
        for (int i = 0; i < 130; ++i) bar.Panels().Add().SetWidth(3);
        EXPECT_EQ(NativeEdges(), std::vector<int>{-1});
    }
    EXPECT_EQ(NativeEdges().size(), 128u);
    EXPECT_EQ(NativeEdges()[126], 381);
    RECT none = bar.PanelRect(129);
    EXPECT_TRUE(::IsRectEmpty(&none));
    EXPECT_NO_THROW(bar.Panels()[129].SetText("no part, nothing painted"));
    bar.Panels().Clear();
    EXPECT_EQ(NativeEdges(), std::vector<int>{-1});
}

TEST_F(StatusBar, BadIndexesAndForeignOwnersRaiseTheirErrors) {
    Create();
    bar.Panels().Add();
    auto messageOf = [](auto&& action) {
        try {
            action();
        } catch (const EError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf([&] { bar.Panels().Items(1); }), "List index out of bounds (1)");
    EXPECT_EQ(messageOf([&] { bar.RedrawPanel(-1); }), "List index out of bounds (-1)");
    EXPECT_THROW(bar.Panels().Delete(5), EListError);
    EXPECT_EQ(messageOf([&] { TnvStatusPanel::Create(&bar); }), "TnvStatusPanel owner must be TnvStatusPanesls");
    EXPECT_EQ(bar.Panels().Count(), 1) << "nothing changed";
    EXPECT_EQ(TnvStatusPanel::Create(&bar.Panels()).Index(), 1);
}

TEST_F(StatusBar, AutoFitIsTheTextWidthPlusSixAfterLoadingAndIgnoresWidth) {
    TnvStatusPanel& panel = bar.Panels().Add();
    panel.SetText(" NUM ");
    panel.SetAutoFit(true);
    EXPECT_EQ(panel.Width(), 50) << "no window, no fitting";
    bar.BeginLoading();
    panel.SetWidth(34);
    Create();
    EXPECT_EQ(panel.Width(), 34) << "a stored width is taken while loading";
    bar.EndLoading();
    EXPECT_EQ(panel.Width(), TextWidth(" NUM ") + 6);
    panel.SetWidth(200);
    EXPECT_EQ(panel.Width(), TextWidth(" NUM ") + 6) << "Width is ignored after loading";
    panel.SetText(" SCROLLING ");
    EXPECT_EQ(panel.Width(), TextWidth(" SCROLLING ") + 6);
    TFont big = bar.Font();
    big.Height = -20;
    bar.SetFont(big);
    EXPECT_EQ(panel.Width(), TextWidth(" SCROLLING ", -20) + 6) << "refitted after a font change";
}

TEST_F(StatusBar, PanelsArePaintedThroughTheReflectedDrawItem) {
    std::vector<std::pair<int, RECT>> drawn;
    bar.OnDrawPanel = [&](TObject* sender, TnvStatusPanel* panel, const RECT& rect) {
        EXPECT_EQ(sender, &bar);
        drawn.emplace_back(panel->Index(), rect);
    };
    Create();
    bar.Panels().Add().SetText("WWWW");
    bar.Panels().Add().SetText("MMMM");
    drawn.clear();
    Paint();
    ASSERT_EQ(drawn.size(), 2u);
    const RECT expected = bar.PanelRect(1);
    EXPECT_TRUE(drawn[1].first == 1 && ::EqualRect(&drawn[1].second, &expected));
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(HasInk(Inner(i))) << "text of panel " << i;
        EXPECT_GT(CountColor(Inner(i), kBarRgb), Area(Inner(i)) / 2) << "background of panel " << i;
    }
}

TEST_F(StatusBar, ADisabledPanelShowsOnlyTheBackground) {
    Create();
    TnvStatusPanel& panel = bar.Panels().Add();
    panel.SetText("WWWWWWWW");
    bar.Panels().Add(); // the size grip covers the end of the last part
    Paint();
    const RECT r = Inner(0);
    ASSERT_LT(CountColor(r, kBarRgb), Area(r));
    panel.SetEnabled(false);
    EXPECT_EQ(CountColor(r, kBarRgb), Area(r)) << "repainted at once, blank";
    Paint();
    EXPECT_EQ(CountColor(r, kBarRgb), Area(r)) << "and blank in the native paint cycle";
    panel.SetEnabled(true);
    bar.SetEnabled(false);
    Paint();
    EXPECT_EQ(CountColor(r, kBarRgb), Area(r)) << "the bar's Enabled counts too";
}

TEST_F(StatusBar, ATextChangeRepaintsOnlyThatPanelAtOnceAndAnUnchangedTextNothing) {
    Create();
    TnvStatusPanel& first = bar.Panels().Add();
    bar.Panels().Add().SetText("ASCII");
    first.SetText("Line: 1");
    Paint();
    MarkPanel(0);
    MarkPanel(1);
    first.SetText("Line: 1");
    EXPECT_TRUE(Marked(0)) << "the same text repaints nothing";
    first.SetText("Line: 2");
    EXPECT_FALSE(Marked(0)) << "a new text is painted without waiting for the paint cycle";
    EXPECT_TRUE(Marked(1));
    RECT update{};
    EXPECT_FALSE(::GetUpdateRect(bar.Handle(), &update, FALSE)) << "nothing invalidated";
}

TEST_F(StatusBar, RightAlignedTextEndsOnePixelFurtherInThanALockPanels) {
    Create();
    SetToggle(VK_NUMLOCK, true); // both drawn in the font colour
    TnvStatusPanel& text = bar.Panels().Add();
    TnvStatusPanel& lock = bar.Panels().Add();
    bar.Panels().Add(); // keeps the two measured parts at their own widths
    lock.SetPanelType(sptNumLock);
    lock.SetAutoFit(false);
    for (TnvStatusPanel* p : {&text, &lock}) {
        p->SetText("IIII|");
        p->SetAlignment(taRightJustify);
        p->SetWidth(100);
    }
    Paint();
    auto gapAfterInk = [&](int index) {
        const RECT r = Inner(index);
        for (LONG x = r.right - 1; x >= r.left; --x) {
            if (HasInk(RECT{x, r.top, x + 1, r.bottom})) return static_cast<int>(r.right - x);
        }
        return -1;
    };
    ASSERT_GT(gapAfterInk(1), 0);
    EXPECT_EQ(gapAfterInk(0), gapAfterInk(1) + 1);
    SetToggle(VK_NUMLOCK, false);
}

TEST_F(StatusBar, AClickAtTheCursorRunsThePanelsOnClickThenTheBars) {
    Create();
    std::vector<std::string> calls;
    for (int i = 0; i < 3; ++i) {
        TnvStatusPanel& p = bar.Panels().Add();
        p.SetWidth(100);
        if (i == 1) continue;
        p.OnClick = [&calls, &p, i](TObject* sender) {
            EXPECT_EQ(sender, &p);
            calls.push_back("panel " + std::to_string(i));
        };
    }
    bar.OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, &bar);
        calls.push_back("bar");
    };
    const RECT first = bar.PanelRect(0);
    ASSERT_GT(first.top, 0) << "the native control leaves a border above its parts";
    auto clicked = [&](POINT cursor, POINT message) {
        calls.clear();
        ClickAt(cursor, message);
        return calls;
    };
    using Calls = std::vector<std::string>;
    EXPECT_EQ(clicked(Centre(bar.PanelRect(2)), Centre(first)), (Calls{"panel 2", "bar"}))
        << "the cursor counts, not the message's position";
    EXPECT_EQ(clicked(Centre(bar.PanelRect(1)), {0, 0}), Calls{"bar"}) << "a panel without OnClick";
    EXPECT_EQ(clicked({first.left, first.top}, {0, 0}), (Calls{"panel 0", "bar"})) << "left and top edges";
    EXPECT_EQ(clicked({first.right, first.top + 3}, {0, 0}), Calls{"bar"}) << "right edge and gap";
    EXPECT_EQ(clicked({first.left + 5, 0}, {0, 0}), Calls{"bar"}) << "above the parts";
    calls.clear();
    ::SendMessageA(bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(calls.empty()) << "a release without a press is no click";
}

} // namespace
} // namespace nv
