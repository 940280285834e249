// Program entry: loads the rich-edit library, shows the main window and runs the message loop.
#include "base/Platform.h"
#include "base/Window.h"
#include "editor/NvRichEd.h"
#include "editor/RichEditLibrary.h"

#include <commctrl.h>
#include <shellapi.h>

#include <fstream>
#include <sstream>

namespace {

class BareWindow : public nv::WindowBase {
public:
    BareWindow() {
        RegisterClassOnce("TForm1");
        Create("TForm1", "Notova", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 237, 152, 500, 423, nullptr, nullptr);
        RECT client{};
        ::GetClientRect(Handle(), &client);
        nv::TFont font;
        font.Name = "Fixedsys";
        font.Height = -12;
        font.Style = nv::fsBold;
        font.Charset = ANSI_CHARSET;
        textField_.SetWordWrap(false);
        textField_.SetHideSelection(false);
        textField_.SetUndoLimit(10);
        textField_.CreateWnd(Handle(), client, 100);
        textField_.SetFont(font);
    }
    nv::TNvRichEdit& TextField() { return textField_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        LRESULT reflected = 0;
        if (nv::ReflectToChild(msg, wParam, lParam, reflected)) return reflected;
        switch (msg) {
        case WM_SIZE: {
            RECT client{0, 0, LOWORD(lParam), HIWORD(lParam)};
            textField_.SetBounds(client);
            return 0;
        }
        case WM_SETFOCUS: textField_.TakeFocus(); return 0;
        case WM_DESTROY: ::PostQuitMessage(0); return 0;
        default: return Default(msg, wParam, lParam);
        }
    }

private:
    nv::TNvRichEdit textField_;
};

std::string CommandLineFile() {
    std::string name;
    for (int i = 1; i < __argc; ++i) {
        if (i > 1) name += ' ';
        name += __argv[i];
    }
    return name;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    nv::RichEditLibrary richEdit;
    BareWindow window;
    const std::string file = CommandLineFile();
    if (!file.empty()) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        window.TextField().SetWholeText(bytes.str());
        ::SetWindowTextA(window.Handle(), ("Notova - " + file).c_str());
    }
    ::ShowWindow(window.Handle(), show);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
