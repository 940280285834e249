// Handing a file or an address to the shell. Components call through a TShellExecute, so a test can
// record the calls instead of starting programs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace nv {

// The arguments of ShellExecute, in UTF-8; an empty string stands for a null pointer (the default
// verb, no parameters, no working folder).
struct TShellCall {
    HWND Owner = nullptr;
    std::string Verb;
    std::string File;
    std::string Parameters;
    std::string Directory;
    int Show = SW_SHOWNORMAL;
};

using TShellExecute = std::function<void(const TShellCall& call)>;

// Hands the call to ShellExecuteW. Nothing is reported: a file or address that cannot be opened is
// silently ignored.
void ShellExecuteCall(const TShellCall& call);

} // namespace nv
