// The program keeps two kinds of strings. The document's text, and everything that is part of it
// (searches, the character chart, links in it), is single-byte text in the system's code page, as the
// text field holds it. Everything else it shows or hands to the system (file names, captions,
// messages, stored strings) is UTF-8, and goes to the wide functions, so a name outside the code page
// survives on its way through the program.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const wchar_t* wide, size_t length);
std::string Utf8(const std::wstring& wide);
// Text of the document (system code page) as UTF-8, to be shown or handed on with the other strings.
std::string AnsiToUtf8(const std::string& ansi);

// A top-level window's caption. The program's windows are single-byte windows, whose own window
// procedure would narrow the caption to the code page; the wide default procedure keeps it whole.
void SetCaptionText(HWND window, const std::string& utf8);
// The caption as the window keeps it, also where the code page cannot hold it.
std::string CaptionText(HWND window);

} // namespace nv
