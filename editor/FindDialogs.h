// The system's modeless find and replace dialogs, each owning its FINDREPLACE block, its text
// buffers and its window. The block stays where it is for the dialog's life: the system keeps a
// pointer to it and writes the user's texts and options into it.
#pragma once

#include "base/Events.h"
#include "base/Handles.h"

#include <windows.h>

#include <commdlg.h>

#include <string>

namespace nv {

class TFindDialog : public TObject {
  public:
    static constexpr size_t kMaxText = 255;

    enum class TRequest { None, FindNext, Replace, ReplaceAll, Closed };

    TFindDialog();
    ~TFindDialog() override;
    TFindDialog(const TFindDialog&) = delete;
    TFindDialog& operator=(const TFindDialog&) = delete;

    std::string FindText() const { return findWhat_; }
    void SetFindText(const std::string& text); // cut to kMaxText characters
    // The options as the dialog's last request carried them (the system may clear its copy while the
    // window is open).
    bool Down() const { return (options_ & FR_DOWN) != 0; }
    void SetDown(bool value) { SetFlag(FR_DOWN, value); }
    bool MatchCase() const { return (options_ & FR_MATCHCASE) != 0; }
    void SetMatchCase(bool value) { SetFlag(FR_MATCHCASE, value); }
    bool WholeWord() const { return (options_ & FR_WHOLEWORD) != 0; }
    void SetWholeWord(bool value) { SetFlag(FR_WHOLEWORD, value); }
    void SetDirectionHidden(bool value) { SetFlag(FR_HIDEUPDOWN, value); }

    // Shows the dialog, owned by `owner`, without waiting for it; an open dialog only comes to the
    // front. The owner receives the dialog's FINDMSGSTRING messages.
    void Execute(HWND owner);
    void CloseDialog();
    HWND Handle() const noexcept { return hwnd_; }
    // Where the window was when it last closed; it opens there again.
    bool HasPosition() const { return hasPosition_; }
    POINT Position() const { return position_; }

    // True when a FINDMSGSTRING message's block is this dialog's.
    bool Owns(LPARAM block) const { return reinterpret_cast<const FINDREPLACEA*>(block) == &data_; }
    // What the message asks for; a closing dialog remembers its position and forgets its window.
    TRequest TakeRequest();

  protected:
    virtual HWND OpenWindow(FINDREPLACEA& data) { return ::FindTextA(&data); }
    FINDREPLACEA data_{};
    char findWhat_[kMaxText + 1] = {};
    char replaceWith_[kMaxText + 1] = {};

  private:
    // The system copies the fields and options into the block only for a request: a dialog closed
    // without one would forget what the user typed. Read from the window while it still exists.
    void KeepWhatIsShown() noexcept;
    void UseProgramFont();
    void SetFlag(DWORD flag, bool on) {
        options_ = on ? (options_ | flag) : (options_ & ~flag);
        data_.Flags = on ? (data_.Flags | flag) : (data_.Flags & ~flag);
    }
    void Forget() noexcept;

    DWORD options_ = FR_DOWN;
    HWND hwnd_ = nullptr;
    GdiObject font_; // freed after the window that draws with it
    bool hasPosition_ = false;
    POINT position_{};
};

class TReplaceDialog : public TFindDialog {
  public:
    std::string ReplaceText() const { return replaceWith_; }
    void SetReplaceText(const std::string& text); // cut to kMaxText characters

  protected:
    HWND OpenWindow(FINDREPLACEA& data) override { return ::ReplaceTextA(&data); }
};

// The message the dialogs send their owner.
UINT FindReplaceMessage();

} // namespace nv
