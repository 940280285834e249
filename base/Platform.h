// Process-wide platform facts and the application's general error display.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace nv {

// True when the process runs under Wine; decided once.
bool RunningOnWine();

// The application's general error display: a message box with the error's text.
void ShowGeneralError(HWND owner, const std::exception& error);
void ShowGeneralError(HWND owner, const std::string& text);
// The error being handled, whatever its type; for use inside a catch block.
void ShowCurrentError(HWND owner) noexcept;
// The text the general error display shows for an error.
std::string ErrorText(const std::exception_ptr& error);

// Runs fn; an escaping error is shown by the general error display and the command is abandoned.
template <class Fn> void Guarded(HWND owner, Fn&& fn) {
    try {
        fn();
    } catch (...) {
        ShowCurrentError(owner);
    }
}

// The full path of a file name, relative names taken from the current folder; the name itself when
// it cannot be resolved.
std::string FullPathName(const std::string& name);

// The memory this process can still take, looked for up to `enough` bytes: the address space it can
// still reserve in pieces large enough for a heap to grow into, and no more than the system can still
// commit.
unsigned long long AvailableMemory(unsigned long long enough);

// The screen's pixels per inch (the system's DPI); 96 when unknown. A window's own DPI is WindowDpi
// (Dpi.h), which falls back to this.
int ScreenPixelsPerInch();

// Title used by message boxes: the application title.
const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);

// A message box; its text and title are UTF-8 (base/Unicode.h), as every text but the document's.
int ShowMessage(HWND owner, const std::string& text, UINT type);

} // namespace nv
