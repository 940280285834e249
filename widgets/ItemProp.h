// The shell's context menu for a file, or for all the files a wildcard name matches, shown at a
// screen point; the command the user picks is carried out. What the shell offers is its own affair,
// owner-drawn submenus included.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

// What happened, for callers that care; a menu that cannot be built is no error.
struct TShellMenuResult {
    int Items = 0;     // files the menu was built for
    int MenuItems = 0; // entries the shell put at the menu's top level
    bool Shown = false;
    int Command = 0;   // the identifier picked (1 to 32767), 0 for none
};

// Shows the menu with `owner` as the owner of everything the shell opens, and waits for the choice.
// The hourglass shows while the menu is built. A "*" or "?" in the file name builds one menu for all
// matches in the folder.
TShellMenuResult ShowShellContextMenu(const std::string& path, HWND owner, POINT at);

} // namespace nv
