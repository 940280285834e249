// The menu item the lists fill: a caption, a hint, a few states, a click and an ordered list of
// children. The program implements it over Win32 menus (MenuItemWin.h), the tests in memory.
#pragma once

#include <functional>
#include <string>

namespace nv {

class MenuItem {
public:
    using ClickHandler = std::function<void(MenuItem& item)>;

    MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;
    virtual ~MenuItem() = default;

    virtual int Count() const = 0;
    // The child at `index`, 0 <= index < Count().
    virtual MenuItem& Item(int index) = 0;
    // A new child at `index` (Count() appends): no caption, enabled, visible.
    virtual MenuItem& Insert(int index) = 0;
    MenuItem& Append() { return Insert(Count()); }
    // Removes the child at `index` and discards it with its own children.
    virtual void Delete(int index) = 0;
    // The index of a direct child, or -1.
    int IndexOf(const MenuItem& child) {
        for (int i = 0; i < Count(); ++i) {
            if (&Item(i) == &child) return i;
        }
        return -1;
    }

    // A caption of "-" makes the item a separator.
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string Hint() const = 0;
    virtual void SetHint(const std::string& hint) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual int HelpContext() const = 0;
    virtual void SetHelpContext(int context) = 0;
    // Runs when the user chooses the item; it may delete the item it was called for.
    virtual void SetOnClick(ClickHandler handler) = 0;
};

} // namespace nv
