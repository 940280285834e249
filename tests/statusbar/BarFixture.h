// A real status bar at the bottom of a test host, and pixel reading from the bar's window.
#pragma once

#include "base/Handles.h"
#include "statusbar/nvStatusBar.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <functional>

namespace nv::test {

constexpr TColor kBarColor = 0x00C08020;        // a background no system colour shares
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

    // Runs the native paint cycle now, with WM_DRAWITEM reflected by the host.
    void Paint() {
        bar.Repaint();
        Settle();
    }

    // Lets the X server's late exposures of new windows arrive, so they repaint nothing later.
    static void Settle() {
        for (int i = 0; i < 5; ++i) {
            PumpMessages();
            ::Sleep(20);
        }
        PumpMessages();
    }

    // Runs only the posted messages of one kind for a window: late activations from the X server
    // would otherwise repaint the whole bar in the middle of a test.
    static int DispatchPosted(HWND window, UINT message) {
        int n = 0;
        MSG msg;
        while (::PeekMessageA(&msg, window, message, message, PM_REMOVE)) {
            ::DispatchMessageA(&msg);
            ++n;
        }
        return n;
    }

    RECT Inner(int index) const {
        RECT r = bar.PanelRect(index);
        ::InflateRect(&r, -1, -1);
        return r;
    }

    COLORREF Pixel(int x, int y) const {
        WindowDC dc(bar.Handle());
        return ::GetPixel(dc.get(), x, y);
    }

    // Pixels of a rectangle of the bar that satisfy `test`.
    int CountPixels(const RECT& r, const std::function<bool(COLORREF)>& test) const {
        WindowDC dc(bar.Handle());
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (test(::GetPixel(dc.get(), x, y))) ++n;
            }
        }
        return n;
    }
    int CountColor(const RECT& r, COLORREF c) const {
        return CountPixels(r, [c](COLORREF p) { return p == c; });
    }
    static bool Empty(const RECT& r) { return ::IsRectEmpty(&r) != FALSE; }
    static bool Same(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }
    int Area(const RECT& r) const { return (r.right - r.left) * (r.bottom - r.top); }

    // Covers a panel's inside with a colour the bar never paints, to see whether it is painted again.
    void MarkPanel(int index) {
        WindowDC dc(bar.Handle());
        GdiObject brush(::CreateSolidBrush(kSentinel));
        const RECT r = Inner(index);
        ::FillRect(dc.get(), &r, static_cast<HBRUSH>(brush.get()));
    }
    bool Marked(int index) const {
        const RECT r = Inner(index);
        return Pixel(r.left, r.top) == kSentinel && Pixel(r.right - 1, r.bottom - 1) == kSentinel;
    }

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
