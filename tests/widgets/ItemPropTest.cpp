// The shell's context menu for real files, closed again by a posted cancel.
#include "tests/support/TestHost.h"
#include "widgets/ItemProp.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

class ShellContextMenu : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.txt", "b.txt", "c.txt", "d.log"}) test::WriteFileBytes(dir.File(name), "x");
    }
    void TearDown() override {
        if (timer_) ::KillTimer(nullptr, timer_);
        seen = nullptr;
    }

    // While the menu shows: notes where it is, then posts Esc, which closes it without a command.
    void CancelWhenShown() {
        seen = &menuSeen;
        timer_ = ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) CALLBACK {
            HWND menu = ::FindWindowA("#32768", nullptr);
            if (!menu || !::IsWindowVisible(menu)) return;
            ::KillTimer(nullptr, id);
            if (seen) {
                seen->shown = true;
                ::GetWindowRect(menu, &seen->place);
            }
            ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        });
    }

    struct MenuSeen {
        bool shown = false;
        RECT place{};
    };
    static inline MenuSeen* seen = nullptr;
    MenuSeen menuSeen;
    UINT_PTR timer_ = 0;
    test::TestHost host;
    test::TempDir dir;
};

TEST_F(ShellContextMenu, AWildcardBuildsOneMenuForAllMatches) {
    CancelWhenShown();
    const POINT at{200, 150};
    const TShellMenuResult result = ShowShellContextMenu(dir.File("*.txt"), host.Handle(), at);
    EXPECT_EQ(result.Items, 3) << "a.txt, b.txt and c.txt, not d.log";
    EXPECT_TRUE(result.Shown);
    EXPECT_GT(result.MenuItems, 0);
    EXPECT_EQ(result.Command, 0) << "cancelled";
    EXPECT_TRUE(menuSeen.shown);
    EXPECT_EQ(menuSeen.place.left, at.x);
    EXPECT_EQ(menuSeen.place.top, at.y);
    EXPECT_EQ(::FindWindowA("ItemPropMenuCallbackHelper", "ItemPropCallbackProcessor"), nullptr)
        << "no helper window is left behind";
}

TEST_F(ShellContextMenu, OneFileOrNothing) {
    CancelWhenShown();
    TShellMenuResult result = ShowShellContextMenu(dir.File("d.log"), host.Handle(), POINT{100, 100});
    EXPECT_EQ(result.Items, 1);
    EXPECT_TRUE(result.Shown);
    EXPECT_EQ(result.Command, 0);

    // Nothing to show a menu for: no menu, no error, and the cursor is back.
    HCURSOR arrow = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    ::SetCursor(arrow);
    for (const std::string& path : {dir.File("*.none"), dir.File("missing.txt"), dir.File("no folder\\x.txt")}) {
        result = ShowShellContextMenu(path, host.Handle(), POINT{100, 100});
        EXPECT_EQ(result.Items, 0) << path;
        EXPECT_FALSE(result.Shown) << path;
        EXPECT_EQ(::GetCursor(), arrow) << path;
    }
}

} // namespace
} // namespace nv
