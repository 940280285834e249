// Program entry: the rich-edit library first, then the main window, its start-up and the message loop.
#include "app/MainF.h"
#include "base/Platform.h"
#include "editor/RichEditLibrary.h"

#include <commctrl.h>

#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    nv::RichEditLibrary richEdit;
    nv::SetApplicationTitle("Notova");
    try {
        nv::TForm1 form;
        std::vector<std::string> arguments(__argv + 1, __argv + __argc);
        form.StartUp(arguments);
        if (!form.Terminated() && !::IsWindowVisible(form.Handle())) ::ShowWindow(form.Handle(), show);
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
