// The status bar on the real native control, in a real window.
#include "base/Errors.h"
#include "tests/statusbar/BarFixture.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace nv {
namespace {

using test::BarFixture;
using test::kBarRgb;
using test::PumpMessages;

class StatusBar : public BarFixture {
protected:
    // The main window's six panels, as its form stores them.
    void AddMainWindowPanels() {
        struct Row {
            TnvStatusPanelType type;
            const char* text;
            TAlignment alignment;
            int width;
        };
        const Row rows[] = {{sptNormal, " UnChanged", taLeftJustify, 70}, {sptNormal, "ASCII", taCenter, 50},
                            {sptNormal, "Line:", taCenter, 120},      {sptNormal, "0 Bytes", taRightJustify, 205},
                            {sptNumLock, " NUM ", taLeftJustify, 34}, {sptCapsLock, " CAPS ", taLeftJustify, 38}};
        bar.BeginLoading();
        for (const Row& row : rows) {
            TnvStatusPanel& p = bar.Panels().Add();
            p.SetPanelType(row.type);
            p.SetText(row.text);
            p.SetAlignment(row.alignment);
            p.SetWidth(row.width);
        }
        bar.EndLoading();
    }

    std::vector<int> NativeEdges() const {
        int edges[256] = {};
        const int n = static_cast<int>(::SendMessageA(bar.Handle(), SB_GETPARTS, 256, reinterpret_cast<LPARAM>(edges)));
        return std::vector<int>(edges, edges + n);
    }

    // What the bar's font measures for a text, independently of the bar.
    int TextWidth(const std::string& text, int height = -11) const {
        LOGFONTA lf{};
        lf.lfHeight = height;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        ::lstrcpynA(lf.lfFaceName, bar.Font().Name.c_str(), LF_FACESIZE);
        GdiObject font(::CreateFontIndirectA(&lf));
        MemoryDC dc(::CreateCompatibleDC(nullptr));
        SelectedObject selected(dc.get(), font.get());
        SIZE size{};
        ::GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

    // Clicks the bar with the cursor at `cursor` (client coordinates) and the message saying `message`.
    void ClickAt(POINT cursor, POINT message) {
        POINT screen = cursor;
        ::ClientToScreen(bar.Handle(), &screen);
        ::SetCursorPos(screen.x, screen.y);
        const LPARAM at = MAKELPARAM(message.x, message.y);
        ::SendMessageA(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageA(bar.Handle(), WM_LBUTTONUP, 0, at);
    }
    void ClickAt(POINT p) { ClickAt(p, p); }
    static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
};

TEST_F(StatusBar, SitsAtTheBottomOfItsParentAndFollowsItsSize) {
    Create();
    RECT r{};
    ::GetWindowRect(bar.Handle(), &r);
    ::MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&r), 2);
    const RECT client = host.Client();
    EXPECT_EQ(r.bottom, client.bottom);
    EXPECT_EQ(r.bottom - r.top, 19);
    EXPECT_EQ(r.right, client.right);

    bar.Panels().Add().SetWidth(60);
    ::SetWindowPos(host.Handle(), nullptr, 0, 0, 640, 300, SWP_NOMOVE | SWP_NOZORDER);
    bar.Realign();
    RECT bounds{};
    ::GetClientRect(bar.Handle(), &bounds);
    EXPECT_EQ(bounds.right, host.Client().right);
    EXPECT_EQ(bar.PanelRect(0).right, bounds.right) << "the last part follows the new width";
}

TEST_F(StatusBar, PartsAreRunningEdgesAndTheLastReachesTheEnd) {
    ::SetWindowPos(host.Handle(), nullptr, 0, 0, 800, 200, SWP_NOMOVE | SWP_NOZORDER);
    Create();
    AddMainWindowPanels();
    const std::vector<int> edges = NativeEdges();
    ASSERT_EQ(edges.size(), 6u);
    EXPECT_EQ(edges[0], 70);
    EXPECT_EQ(edges[3], 445);
    EXPECT_EQ(edges[4], 445 + bar.Panels()[4].Width());
    EXPECT_EQ(edges[5], -1);
    RECT client{};
    ::GetClientRect(bar.Handle(), &client);
    const RECT caps = bar.PanelRect(5);
    EXPECT_EQ(caps.right, client.right);
    EXPECT_GT(caps.right - caps.left, bar.Panels()[5].Width()) << "CAPS is wider than its fitted width";
}

TEST_F(StatusBar, NoPanelsLeaveOneEmptyPartAndPanelsPast128GetNone) {
    Create();
    EXPECT_EQ(NativeEdges(), std::vector<int>{-1});
    {
        // As a form loads them: one layout at the end, not one per panel.
        TnvStatusPanels::UpdateScope update(bar.Panels());
        for (int i = 0; i < 130; ++i) bar.Panels().Add().SetWidth(3);
        EXPECT_EQ(NativeEdges(), std::vector<int>{-1}) << "laid out when the update ends";
    }
    EXPECT_EQ(NativeEdges().size(), 128u);
    EXPECT_EQ(NativeEdges()[126], 381);
    EXPECT_TRUE(Empty(bar.PanelRect(129)));
    EXPECT_FALSE(Empty(bar.PanelRect(127)));
    EXPECT_NO_THROW(bar.Panels()[129].SetText("no part, nothing painted"));
    bar.Panels().Delete(0);
    bar.Panels().Delete(0);
    EXPECT_EQ(NativeEdges().size(), 128u);
    bar.Panels().Clear();
    EXPECT_EQ(NativeEdges(), std::vector<int>{-1});
}

TEST_F(StatusBar, BadIndexesRaiseTheListErrorWithTheIndex) {
    Create();
    bar.Panels().Add();
    try {
        bar.Panels().Items(1);
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (1)");
    }
    try {
        bar.RedrawPanel(-1);
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
    }
    EXPECT_THROW(bar.Panels().Delete(5), EListError);
    EXPECT_EQ(bar.Panels().Count(), 1) << "nothing changed";
}

TEST_F(StatusBar, APanelMustBeCreatedInAPanelCollection) {
    try {
        TnvStatusPanel::Create(&bar);
        FAIL() << "no error";
    } catch (const EError& e) {
        EXPECT_STREQ(e.what(), "TnvStatusPanel owner must be TnvStatusPanesls");
    }
    EXPECT_EQ(bar.Panels().Count(), 0);
    TnvStatusPanel& panel = TnvStatusPanel::Create(&bar.Panels());
    EXPECT_EQ(panel.Index(), 0);
    EXPECT_EQ(panel.Width(), 50);
    EXPECT_TRUE(panel.Enabled());
    EXPECT_FALSE(panel.AutoFit());
    EXPECT_EQ(bar.Version(), "TnvStatusBar v1.12");
}

TEST_F(StatusBar, AutoFitIsTheTextWidthPlusSixAndIgnoresWidth) {
    Create();
    TnvStatusPanel& panel = bar.Panels().Add();
    panel.SetText(" NUM ");
    panel.SetAutoFit(true);
    EXPECT_EQ(panel.Width(), TextWidth(" NUM ") + 6);
    panel.SetWidth(200);
    EXPECT_EQ(panel.Width(), TextWidth(" NUM ") + 6) << "Width is ignored after loading";
    panel.SetText(" SCROLLING ");
    EXPECT_EQ(panel.Width(), TextWidth(" SCROLLING ") + 6);
    panel.SetText("");
    EXPECT_EQ(panel.Width(), 6);

    panel.SetText(" NUM ");
    TFont big = bar.Font();
    big.Height = -20;
    bar.SetFont(big);
    EXPECT_EQ(panel.Width(), TextWidth(" NUM ", -20) + 6) << "refitted after a font change";
    EXPECT_GT(panel.Width(), TextWidth(" NUM ") + 6);
}

TEST_F(StatusBar, FittingWaitsForTheWindowAndForLoadingToEnd) {
    TnvStatusPanel& panel = bar.Panels().Add();
    panel.SetText("abc");
    panel.SetAutoFit(true);
    EXPECT_EQ(panel.Width(), 50) << "no window, no fitting";
    bar.BeginLoading();
    panel.SetWidth(34);
    EXPECT_EQ(panel.Width(), 34) << "a stored width is taken while loading";
    Create();
    EXPECT_EQ(panel.Width(), 34) << "window creation does not fit while loading";
    bar.EndLoading();
    EXPECT_EQ(panel.Width(), TextWidth("abc") + 6);
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
    EXPECT_EQ(drawn[1].first, 1);
    EXPECT_TRUE(Same(drawn[1].second, bar.PanelRect(1)));
    for (int i = 0; i < 2; ++i) {
        const RECT r = Inner(i);
        EXPECT_GT(CountColor(r, RGB(0, 0, 0)), 0) << "text of panel " << i;
        EXPECT_GT(CountColor(r, kBarRgb), Area(r) / 2) << "background of panel " << i;
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
    EXPECT_LT(CountColor(r, kBarRgb), Area(r));
    bar.SetEnabled(false);
    Paint();
    EXPECT_EQ(CountColor(r, kBarRgb), Area(r)) << "the bar's Enabled counts too";
}

TEST_F(StatusBar, ATextChangeRepaintsOnlyThatPanelAtOnceAndAnUnchangedTextNothing) {
    Create();
    TnvStatusPanel& first = bar.Panels().Add();
    TnvStatusPanel& second = bar.Panels().Add();
    first.SetText("Line: 1");
    second.SetText("ASCII");
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

TEST_F(StatusBar, RightAlignedTextEndsOnePixelInsideWhereALockPanelsEndsAtTheEdge) {
    Create();
    SetToggle(VK_NUMLOCK, true); // so both are drawn in the same colour
    TnvStatusPanel& text = bar.Panels().Add();
    TnvStatusPanel& lock = bar.Panels().Add();
    bar.Panels().Add(); // the last part runs to the end; keep the two measured panels equal
    lock.SetPanelType(sptNumLock);
    lock.SetAutoFit(false);
    for (TnvStatusPanel* p : {&text, &lock}) {
        p->SetText("IIII|");
        p->SetAlignment(taRightJustify);
        p->SetWidth(100);
    }
    Paint();
    auto inkEnd = [&](int index) {
        const RECT r = Inner(index);
        for (int x = r.right - 1; x >= r.left; --x) {
            if (CountColor(RECT{x, r.top, x + 1, r.bottom}, RGB(0, 0, 0)) > 0) return static_cast<int>(r.right - x);
        }
        return -1;
    };
    ASSERT_GT(inkEnd(1), 0);
    EXPECT_EQ(inkEnd(0), inkEnd(1) + 1);
    SetToggle(VK_NUMLOCK, false);
}

TEST_F(StatusBar, AClickRunsThePanelsOnClickThenTheBars) {
    Create();
    std::vector<std::string> calls;
    for (int i = 0; i < 3; ++i) {
        TnvStatusPanel& p = bar.Panels().Add();
        p.SetWidth(100);
        if (i != 1) {
            p.OnClick = [&calls, &p, i](TObject* sender) {
                EXPECT_EQ(sender, &p);
                calls.push_back("panel " + std::to_string(i));
            };
        }
    }
    bar.OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, &bar);
        calls.push_back("bar");
    };
    ClickAt(Centre(bar.PanelRect(2)));
    EXPECT_EQ(calls, (std::vector<std::string>{"panel 2", "bar"}));

    calls.clear();
    ClickAt(Centre(bar.PanelRect(1)));
    EXPECT_EQ(calls, (std::vector<std::string>{"bar"})) << "a panel without OnClick";

    calls.clear();
    const RECT first = bar.PanelRect(0);
    ClickAt({first.left, first.top});
    EXPECT_EQ(calls, (std::vector<std::string>{"panel 0", "bar"})) << "left and top edges are inside";

    calls.clear();
    ClickAt({first.right, first.top + 3});
    EXPECT_EQ(calls, (std::vector<std::string>{"bar"})) << "the right edge and the gap are outside";

    calls.clear();
    ClickAt({first.left + 5, 0});
    ASSERT_LT(0, first.top) << "the native control leaves a border above its parts";
    EXPECT_EQ(calls, (std::vector<std::string>{"bar"}));
}

TEST_F(StatusBar, AClickIsTestedAtTheCursorNotWhereTheMessageSays) {
    Create();
    int hits[2] = {};
    for (int i = 0; i < 2; ++i) {
        TnvStatusPanel& p = bar.Panels().Add();
        p.OnClick = [&hits, i](TObject*) { ++hits[i]; };
    }
    ClickAt(Centre(bar.PanelRect(1)), Centre(bar.PanelRect(0)));
    EXPECT_EQ(hits[0], 0);
    EXPECT_EQ(hits[1], 1);
}

TEST_F(StatusBar, AReleaseWithoutAPressIsNoClick) {
    Create();
    int clicks = 0;
    bar.OnClick = [&](TObject*) { ++clicks; };
    ::SendMessageA(bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(StatusBar, HintsComeFromTheSamePanelRectangles) {
    Create();
    for (int i = 0; i < 3; ++i) bar.Panels().Add().SetWidth(100);
    bar.Panels()[0].Hint = "modified state";
    bar.Panels()[2].Hint = "size";
    bar.Panels()[2].OnHintText = [](TObject*, TnvStatusPanel*, std::string& hint) { hint += " in bytes"; };
    bar.Hint = "status";
    std::string hint;
    RECT area{};
    ASSERT_TRUE(bar.HintAt(Centre(bar.PanelRect(2)), hint, area));
    EXPECT_EQ(hint, "size in bytes");
    EXPECT_TRUE(Same(area, bar.PanelRect(2)));
    ASSERT_TRUE(bar.HintAt(Centre(bar.PanelRect(1)), hint, area));
    EXPECT_EQ(hint, "status");
    EXPECT_EQ(area.left, bar.PanelRect(0).right);
    EXPECT_EQ(area.right, bar.PanelRect(2).left);
}

TEST_F(StatusBar, ForeignDrawItemsAreLeftToTheParent) {
    Create();
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = host.Handle();
    EXPECT_FALSE(bar.HandleParentDrawItem(item));
}

} // namespace
} // namespace nv
