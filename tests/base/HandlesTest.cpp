#include "base/Handles.h"
#include "base/Platform.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace nv {

static_assert(!std::is_copy_constructible_v<FileHandle>, "handles must not be copied");
static_assert(!std::is_copy_assignable_v<RegKey>, "handles must not be copied");
static_assert(std::is_nothrow_move_constructible_v<GdiObject>, "handles move");
static_assert(!std::is_copy_constructible_v<WindowDC>, "a DC lease must not be copied");

TEST(Handles, ClosingHappensOnceAndMovesTransferOwnership) {
    char path[MAX_PATH];
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    ::GetTempFileNameA(dir, "nv", 0, path);
    {
        FileHandle file(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        // Opened without sharing: a second open fails while the owner lives.
        FileHandle moved(std::move(file));
        EXPECT_FALSE(file);
        EXPECT_TRUE(moved);
        FileHandle second(::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(second);
    }
    FileHandle again(::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(again) << "the moved-to owner must have closed the file";
    again.reset();
    ::DeleteFileA(path);
}

TEST(Handles, RegistryKeyAndGdiObjectsAreReleased) {
    RegKey key;
    HKEY raw = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &raw), ERROR_SUCCESS);
    key.reset(raw);
    EXPECT_EQ(key.get(), raw);
    key.reset();
    EXPECT_FALSE(key);

    GdiObject brush(::CreateSolidBrush(RGB(1, 2, 3)));
    HGDIOBJ handle = brush.get();
    EXPECT_EQ(::GetObjectType(handle), static_cast<DWORD>(OBJ_BRUSH));
    brush.reset();
    EXPECT_EQ(::GetObjectType(handle), 0u) << "the brush must be deleted";
}

TEST(Handles, AnOwnedWindowIsDestroyedUnlessItsParentTookItAlong) {
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent);
    HWND child = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, parent, nullptr, nullptr, nullptr);
    {
        OwnedWindow owned(child);
    }
    EXPECT_FALSE(::IsWindow(child));
    OwnedWindow orphan(::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, parent, nullptr, nullptr, nullptr));
    ::DestroyWindow(parent);
    EXPECT_FALSE(::IsWindow(orphan.get()));
    orphan.reset(); // nothing left to destroy
}

TEST(Handles, SelectedObjectPutsThePreviousObjectBack) {
    MemoryDC dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    HGDIOBJ before = ::GetCurrentObject(dc.get(), OBJ_BRUSH);
    GdiObject brush(::CreateSolidBrush(RGB(9, 9, 9)));
    {
        SelectedObject selected(dc.get(), brush.get());
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), brush.get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), before);
}

TEST(Platform, WineIsDetected) {
    // These tests only ever run under Wine.
    EXPECT_TRUE(RunningOnWine());
}

} // namespace nv
