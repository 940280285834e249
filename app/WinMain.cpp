// Program entry: the rich-edit library first, then the main window, its start-up and the message loop.
#include "app/MainF.h"
#include "base/Platform.h"
#include "base/Unicode.h"
#include "editor/RichEditLibrary.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

// The arguments after the program's own name, split by the system's rules, in UTF-8: the single-byte
// ones would have lost every character outside the code page.
std::vector<std::string> CommandLineArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* split = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!split) return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(nv::Utf8(std::wstring(split[i])));
    ::LocalFree(split);
    return arguments;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    nv::RichEditLibrary richEdit;
    nv::SetApplicationTitle("Notova");
    try {
        nv::TForm1 form;
        form.StartUp(CommandLineArguments());
        if (!::IsWindowVisible(form.Handle())) ::ShowWindow(form.Handle(), show);
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (form.TranslateAccelerator(msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    } catch (...) {
        nv::ShowCurrentError(nullptr);
        return 1;
    }
    return 0;
}
