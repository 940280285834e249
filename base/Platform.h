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

// Runs fn; an escaping error is shown by the general error display and the command is abandoned.
template <class Fn> void Guarded(HWND owner, Fn&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        ShowGeneralError(owner, e);
    }
}

// Title used by message boxes: the application title.
const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);

int ShowMessage(HWND owner, const std::string& text, UINT type);

} // namespace nv
