// The lists' menu items over real Win32 menus: positions, hiding and popups. Clicks are tested
// through the main window's lists.
#include "lists/MenuItemWin.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

std::string TextAt(HMENU menu, int position) {
    char text[256] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

bool SeparatorAt(HMENU menu, int position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    return (info.fType & MFT_SEPARATOR) != 0;
}

class Win32Menus : public ::testing::Test {
  protected:
    void SetUp() override {
        bar.reset(::CreateMenu());
        popup = ::CreatePopupMenu();
        ::AppendMenuA(popup, MF_STRING, 100, "&New\tCtrl+N");
        ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(popup, MF_STRING | MF_GRAYED, 101, "E&xit");
        ::AppendMenuA(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&File");
    }

    Menu bar; // owns the popup
    HMENU popup = nullptr;
    MenuCommands commands;
};

TEST_F(Win32Menus, AWrappedPopupKeepsItsItemsAndPlacesNewOnesAmongTheVisible) {
    Win32MenuItem root(popup, commands);
    ASSERT_EQ(root.Count(), 3);
    EXPECT_EQ(root.Item(0).Caption(), "&New\tCtrl+N");
    EXPECT_EQ(root.Item(1).Caption(), "-");
    EXPECT_FALSE(root.Item(2).Enabled());

    MenuItem& a = root.Append();
    a.SetCaption("a.txt");
    MenuItem& b = root.Append();
    b.SetCaption("b.txt");
    MenuItem& separator = root.Insert(3);
    separator.SetCaption("-");
    ASSERT_EQ(::GetMenuItemCount(popup), 6);
    EXPECT_TRUE(SeparatorAt(popup, 3));
    EXPECT_EQ(TextAt(popup, 4), "a.txt");

    separator.SetVisible(false);
    a.SetVisible(false);
    EXPECT_EQ(::GetMenuItemCount(popup), 4);
    EXPECT_EQ(TextAt(popup, 3), "b.txt");
    a.SetEnabled(false); // while hidden
    a.SetCaption("renamed");
    a.SetVisible(true);
    EXPECT_EQ(TextAt(popup, 3), "renamed") << "shown again at its own place";
    EXPECT_EQ(::GetMenuState(popup, 3, MF_BYPOSITION) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    separator.SetVisible(true);
    EXPECT_TRUE(SeparatorAt(popup, 3));
    EXPECT_EQ(TextAt(popup, 5), "b.txt");

    root.Delete(4);
    EXPECT_EQ(::GetMenuItemCount(popup), 5);
    EXPECT_EQ(root.Item(4).Caption(), "b.txt");
    EXPECT_EQ(TextAt(popup, 4), "b.txt");
    EXPECT_THROW(root.Item(5), EListError);
}

TEST_F(Win32Menus, AnItemGetsAPopupWithItsFirstChildAndKeepsItWhileHidden) {
    Win32MenuItem root(popup, commands);
    auto& parent = static_cast<Win32MenuItem&>(root.Append());
    parent.SetCaption("&Delete");
    parent.SetVisible(false);
    EXPECT_EQ(parent.Popup(), nullptr);
    parent.Append().SetCaption("one");
    HMENU sub = parent.Popup();
    ASSERT_TRUE(::IsMenu(sub));
    EXPECT_EQ(::GetMenuItemCount(sub), 1);
    parent.SetVisible(true);
    EXPECT_EQ(::GetSubMenu(popup, 3), sub);
    parent.SetVisible(false);
    EXPECT_TRUE(::IsMenu(sub)) << "hiding keeps the popup";
    parent.SetVisible(true);
    EXPECT_EQ(::GetSubMenu(popup, 3), sub);
    parent.Append().SetCaption("two");
    EXPECT_EQ(TextAt(sub, 1), "two");

    root.Delete(3);
    EXPECT_FALSE(::IsMenu(sub)) << "deleting the item frees its popup";

    auto& hidden = static_cast<Win32MenuItem&>(root.Append());
    hidden.SetVisible(false);
    hidden.Append();
    HMENU detached = hidden.Popup();
    root.Delete(3);
    EXPECT_FALSE(::IsMenu(detached)) << "also when it was hidden";
}

} // namespace
} // namespace nv
