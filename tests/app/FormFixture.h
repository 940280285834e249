// A started main window per test, with its message boxes and file dialogs answered by the test.
#pragma once

#include "app/MainF.h"
#include "app/Settings.h"
#include "forms/resource.h"
#include "tests/support/Dialogs.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace nv::test {

// Refuses the n-th creation of a text-field window from now on, and the `count` - 1 after it, as a
// system short of resources would.
class RefuseTextFieldWindow {
public:
    explicit RefuseTextFieldWindow(int nth, int count = 1) {
        countdown_ = nth;
        refusals_ = count;
        hook_ = ::SetWindowsHookExA(WH_CBT, &Proc, nullptr, ::GetCurrentThreadId());
    }
    ~RefuseTextFieldWindow() { ::UnhookWindowsHookEx(hook_); }
    RefuseTextFieldWindow(const RefuseTextFieldWindow&) = delete;
    RefuseTextFieldWindow& operator=(const RefuseTextFieldWindow&) = delete;

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            char name[64] = {};
            ::GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
            if (std::string(name).rfind("RichEdit", 0) == 0 && --countdown_ <= 0 && refusals_-- > 0) return 1;
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int countdown_ = 0;
    static inline int refusals_ = 0;
    HHOOK hook_;
};

class FormTest : public ::testing::Test {
protected:
    // Every test starts without stored options and lists, keeps its font file in its own folder, and
    // records the new instances the window would start.
    void SetUp() override {
        ClearProgramKey();
        // The find and replace dialogs stay open; only the message boxes are answered.
        dialogs.LeaveAlone([this](HWND dialog) {
            if (!form) return false;
            TNvRichEdit& field = form->TextField;
            return (field.FindDialog() && field.FindDialog()->Handle() == dialog) ||
                   (field.ReplaceDialog() && field.ReplaceDialog()->Handle() == dialog);
        });
    }

    void Start(const std::vector<std::string>& arguments = {}) { StartWindow(arguments); }
    // Ends the running window as the program would end, and starts again with what it stored.
    void Restart(const std::vector<std::string>& arguments = {}) {
        if (form) {
            form->DocumentModified = false;
            form.reset();
        }
        DrainQuit();
        StartWindow(arguments);
    }
    void StartWindow(const std::vector<std::string>& arguments) {
        form = std::make_unique<TForm1>();
        form->SettingsFile = dir.File("settings.cfg");
        form->LaunchInstance = [this](HWND owner, const std::string& parameters) {
            launches.push_back(InstanceLaunch{owner, parameters});
        };
        form->StartUp(arguments);
        if (!::IsWindowVisible(form->Handle())) ::ShowWindow(form->Handle(), SW_SHOW);
        PumpMessages();
    }

    void TearDown() override {
        if (form) {
            form->DocumentModified = false; // nothing to ask about on the way out
            form.reset();
        }
        DrainQuit();
        ClearProgramKey();
        EXPECT_EQ(dialogs.Unexpected(), 0) << "a dialog showed that the test did not expect";
        EXPECT_EQ(dialogs.Unanswered(), 0u) << "a dialog the test expected did not show";
    }

    // Closing the main window asks the message loop to end; the tests' loops take that request away.
    static bool DrainQuit() {
        bool quit = false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        return quit;
    }

    // Runs the waiting messages as the program's message loop does: the modeless dialogs and the
    // main window's shortcuts see each message before it is dispatched.
    void PumpLikeProgram() {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (form && form->TranslateAccelerator(msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }

    // Enter reaches the control as a key press; other characters as characters.
    void Type(const std::string& chars) {
        for (char c : chars) {
            if (c == '\r') {
                ::SendMessageA(form->TextField.Handle(), WM_KEYDOWN, VK_RETURN, 1);
            } else {
                ::SendMessageA(form->TextField.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
            }
        }
    }

    void Command(int id) { ::SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // Loads a file as the Open command does after its dialog.
    void Open(const std::string& path) {
        form->CurrentFile = path;
        form->LoadFile();
        form->UpdateCaption();
    }

    std::string Caption() const {
        char text[1024] = {};
        ::GetWindowTextA(form->Handle(), text, sizeof text);
        return text;
    }

    const SeenDialog& LastDialog() const { return dialogs.Seen().back(); }

    struct InstanceLaunch {
        HWND Owner;
        std::string Parameters;
    };
    std::vector<InstanceLaunch> launches;

    DialogResponder dialogs;
    TempDir dir;
    std::unique_ptr<TForm1> form;
};

} // namespace nv::test
