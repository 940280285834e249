// The main window with its toolbar, driven by real mouse input (SendInput) and read back from the
// screen and the registry.
#pragma once

#include "tests/app/FormFixture.h"
#include "toolbar/SpeedBar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nv::test {

class ToolbarTest : public FormTest {
protected:
    void Start(const std::vector<std::string>& arguments = {}) {
        FormTest::Start(arguments);
        Activate();
    }
    void Restart() {
        FormTest::Restart();
        Activate();
    }
    void Activate() {
        ::SetForegroundWindow(form->Handle());
        ::SetActiveWindow(form->Handle());
        Settle();
    }

    // Lets the input and what it causes run.
    static void Settle(int rounds = 6) {
        for (int i = 0; i < rounds; ++i) {
            PumpMessages();
            ::Sleep(15);
        }
        PumpMessages();
    }

    static void SendMouse(DWORD flags, POINT screen = {0, 0}) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        if (flags & MOUSEEVENTF_MOVE) {
            input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
            input.mi.dx = MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
            input.mi.dy = MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        }
        ::SendInput(1, &input, sizeof input);
        // Until the system shows the input as done, however busy the machine: the pointer where
        // it was sent, the button as it was sent, and nothing of it left in the queue.
        const auto arrived = [&] {
            if (HIWORD(::GetQueueStatus(QS_INPUT)) != 0) return false;
            if (flags & MOUSEEVENTF_MOVE) {
                POINT at{};
                ::GetCursorPos(&at);
                if (at.x != screen.x || at.y != screen.y) return false;
            }
            const bool down = (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
            if ((flags & MOUSEEVENTF_LEFTDOWN) && !down) return false;
            if ((flags & MOUSEEVENTF_LEFTUP) && down) return false;
            return true;
        };
        PumpUntil(arrived, PumpMessages, 2);
    }
    // Pumps at least `rounds` times and then until `arrived` holds, at most `limit` times (15 ms each).
    template <class Arrived, class Pump>
    static void PumpUntil(Arrived arrived, Pump pump, int rounds, int limit = 100) {
        for (int i = 0; i < rounds || (i < limit && !arrived()); ++i) {
            pump();
            ::Sleep(15);
        }
        pump();
    }
    static void MouseTo(POINT screen) { SendMouse(MOUSEEVENTF_MOVE, screen); }
    static void MouseDown() { SendMouse(MOUSEEVENTF_LEFTDOWN); }
    static void MouseUp() { SendMouse(MOUSEEVENTF_LEFTUP); }
    // Press at one point, move through the others, release at the last.
    static void Drag(const std::vector<POINT>& path) {
        MouseTo(path.front());
        MouseDown();
        for (size_t i = 1; i < path.size(); ++i)
            MouseTo(path[i]);
        MouseUp();
        Settle();
    }

    // A point of a window in screen coordinates.
    static POINT OnScreen(HWND window, int x, int y) {
        POINT p{x, y};
        ::ClientToScreen(window, &p);
        return p;
    }
    static RECT ClientBoundsIn(HWND window, HWND parent) {
        RECT r{};
        ::GetWindowRect(window, &r);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    HWND ButtonOf(const TSpeedItem* item) const {
        return static_cast<TSpeedbarButton*>(item->Button())->Handle();
    }
    // Clicks a button as the mouse does.
    void Click(const TSpeedItem* item) {
        HWND button = ButtonOf(item);
        RECT r{};
        ::GetClientRect(button, &r);
        const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
        ::SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageA(button, WM_LBUTTONUP, 0, at);
        Settle(1);
    }

    static COLORREF Pixel(HWND window, int x, int y) {
        WindowDC dc(window);
        return ::GetPixel(dc.get(), x, y);
    }
    // The button's face as the screen shows it, against a glyph drawn on a plain face.
    bool ShowsGlyphImage(const TSpeedItem* item, int index) {
        HWND button = ButtonOf(item);
        ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const SIZE glyph = GlyphSize(item->GlyphResource(), item->NumGlyphs());
        const int x = (24 - glyph.cx) / 2, y = (24 - glyph.cy) / 2;
        WindowDC screen(button);
        MemoryDC memory(::CreateCompatibleDC(screen.get()));
        GdiObject bitmap(::CreateCompatibleBitmap(screen.get(), 24, 24));
        SelectedObject selected(memory.get(), bitmap.get());
        const RECT all{0, 0, 24, 24};
        ::FillRect(memory.get(), &all, ::GetSysColorBrush(COLOR_BTNFACE));
        DrawGlyph(memory.get(), x, y, item->GlyphResource(), item->NumGlyphs(), index);
        for (int py = y; py < y + glyph.cy; ++py) {
            for (int px = x; px < x + glyph.cx; ++px) {
                if (::GetPixel(memory.get(), px, py) != ::GetPixel(screen.get(), px, py)) return false;
            }
        }
        return true;
    }

    std::string StoredBar(const std::string& name) { return ReadProgramValue("TForm1SpeedBar", name).Text; }
};

} // namespace nv::test
