// The program's own texts, kept in the string table of its resources.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

// In UTF-8, as every text the program shows but the document's (base/Unicode.h).
std::string LoadText(UINT id);

// A message box with one of the program's texts (or any text) and the given type and buttons.
int Ask(HWND owner, const std::string& text, UINT type);

// An error box whose one button is Ignore (the system's boxes have no such set of buttons).
int ShowIgnoreBox(HWND owner, const std::string& text);

} // namespace nv
