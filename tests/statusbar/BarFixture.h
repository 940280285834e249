// A real status bar at the bottom of a test host, and pixel reading from the bar's window.
#pragma once

#include "base/Handles.h"
#include "statusbar/nvStatusBar.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace nv::test {

constexpr TColor kBarColor = 0x00C08020; // a background no system colour shares
constexpr COLORREF kBarRgb = RGB(0x20, 0x80, 0xC0);
constexpr COLORREF kSentinel = RGB(0xFF, 0x00, 0xFF);

class BarFixture : public ::testing::Test {
protected:
    void SetUp() override {
        bar.SetColor(kBarColor);
        TFont font = bar.Font();
        font.Color = clBlack;
        bar.SetFont(font);
    }

    void Create() {
        bar.CreateWnd(host.Handle(), 200);
        Paint();
    }
    // The native paint cycle, with WM_DRAWITEM reflected by the host; then the X server's late
    // exposures, so they repaint nothing later in the test.
    void Paint() {
        bar.Repaint();
        for (int i = 0; i < 5; ++i, ::Sleep(20)) PumpMessages();
    }
    // Runs only the posted messages of one kind: a late activation would repaint the whole bar.
    static int DispatchPosted(HWND window, UINT message) {
        int n = 0;
        for (MSG msg; ::PeekMessageA(&msg, window, message, message, PM_REMOVE); ++n) ::DispatchMessageA(&msg);
        return n;
    }

    static RECT Inner(const TnvStatusBar& of, int index) {
        RECT r = of.PanelRect(index);
        ::InflateRect(&r, -1, -1);
        return r;
    }
    RECT Inner(int index) const { return Inner(bar, index); }
    static int Area(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }
    static int CountColor(const TnvStatusBar& of, const RECT& r, COLORREF c) {
        WindowDC dc(of.Handle());
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) n += ::GetPixel(dc.get(), x, y) == c;
        }
        return n;
    }
    int CountColor(const RECT& r, COLORREF c) const { return CountColor(bar, r, c); }

    // Ink is whatever is not the bar's background: the machine's font smoothing decides its colours.
    static std::set<COLORREF> InkColors(const TnvStatusBar& of, const RECT& r) {
        WindowDC dc(of.Handle());
        std::set<COLORREF> ink;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                const COLORREF c = ::GetPixel(dc.get(), x, y);
                if (c != kBarRgb && c != CLR_INVALID) ink.insert(c);
            }
        }
        return ink;
    }
    bool HasInk(const RECT& r) const { return !InkColors(bar, r).empty(); }
    // The colours `text` takes when drawn with the bar's font in `color` on the bar's background.
    std::set<COLORREF> ReferenceInk(const std::string& text, COLORREF color) const {
        WindowDC screen(nullptr);
        MemoryDC dc(::CreateCompatibleDC(screen.get()));
        GdiObject bitmap(::CreateCompatibleBitmap(screen.get(), 300, 60));
        SelectedObject keepBitmap(dc.get(), bitmap.get());
        SelectedObject keepFont(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(bar.Handle(), WM_GETFONT, 0, 0)));
        GdiObject background(::CreateSolidBrush(kBarRgb));
        RECT all{0, 0, 300, 60};
        ::FillRect(dc.get(), &all, static_cast<HBRUSH>(background.get()));
        ::SetBkMode(dc.get(), TRANSPARENT);
        ::SetTextColor(dc.get(), color);
        ::TextOutA(dc.get(), 4, 4, text.c_str(), static_cast<int>(text.size()));
        std::set<COLORREF> ink;
        for (int y = 0; y < all.bottom; ++y) {
            for (int x = 0; x < all.right; ++x) {
                const COLORREF c = ::GetPixel(dc.get(), x, y);
                if (c != kBarRgb && c != CLR_INVALID) ink.insert(c);
            }
        }
        return ink;
    }
    // The panel shows its text, every pixel of it in colours that text takes in `color`.
    bool DrawnIn(int index, COLORREF color) const {
        const std::set<COLORREF> ink = InkColors(bar, Inner(index));
        const std::set<COLORREF> reference = ReferenceInk(bar.Panels()[index].Text(), color);
        return !ink.empty() && std::includes(reference.begin(), reference.end(), ink.begin(), ink.end());
    }

    // Covers a panel's inside with a colour the bar never paints, to see whether it is painted again.
    static void MarkPanel(const TnvStatusBar& of, int index) {
        WindowDC dc(of.Handle());
        GdiObject brush(::CreateSolidBrush(kSentinel));
        const RECT r = Inner(of, index);
        ::FillRect(dc.get(), &r, static_cast<HBRUSH>(brush.get()));
    }
    void MarkPanel(int index) { MarkPanel(bar, index); }
    static bool Marked(const TnvStatusBar& of, int index) {
        const RECT r = Inner(of, index);
        return CountColor(of, r, kSentinel) == Area(r);
    }
    bool Marked(int index) const { return Marked(bar, index); }

    static void SetToggle(int key, bool on) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[key] = static_cast<BYTE>((keys[key] & ~1) | (on ? 1 : 0));
        ::SetKeyboardState(keys);
    }

    TestHost host{500, 200};
    TnvStatusBar bar;
};

} // namespace nv::test
