// Answers the modal dialogs a test provokes (message boxes, common dialogs) from inside their own
// modal loop, and records what each message box showed.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace nv::test {

struct SeenDialog {
    std::string ClassName;
    std::string Caption;
    std::string Text; // a message box's message
    UINT Icon = 0;    // MB_ICONERROR, MB_ICONWARNING, MB_ICONQUESTION, MB_ICONINFORMATION or 0
    std::vector<int> Buttons; // ids of the visible push buttons, in id order (IDOK, IDCANCEL, ...)
};

class DialogResponder {
public:
    DialogResponder();
    ~DialogResponder();
    DialogResponder(const DialogResponder&) = delete;
    DialogResponder& operator=(const DialogResponder&) = delete;

    // The next dialog is answered by pressing this button.
    void Press(int buttonId);
    // The next dialog is answered by typing a path into a file dialog and pressing OK.
    void ChooseFile(const std::string& path);
    // The next dialog is handed to `action`, which must end it.
    void Then(std::function<void(HWND dialog)> action);
    // Dialogs for which `which` answers true (a program's modeless dialogs) are neither answered nor
    // recorded.
    void LeaveAlone(std::function<bool(HWND dialog)> which) { leaveAlone_ = std::move(which); }

    const std::vector<SeenDialog>& Seen() const { return seen_; }
    size_t Unanswered() const { return answers_.size(); }
    // Dialogs that arrived with no answer queued (they were cancelled).
    int Unexpected() const { return unexpected_; }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
    void Handle(HWND dialog);

    HHOOK hook_ = nullptr;
    UINT_PTR timer_ = 0;
    std::deque<std::function<void(HWND)>> answers_;
    std::function<bool(HWND)> leaveAlone_;
    std::vector<HWND> arrived_;
    std::vector<SeenDialog> seen_;
    int unexpected_ = 0;
};

SeenDialog DescribeDialog(HWND dialog);
std::string DialogItemText(HWND dialog, int id);
// Presses a button of a dialog as a click would.
void PressButton(HWND dialog, int id);

} // namespace nv::test
