// TURLLabel: a label that opens its caption as a web, mail or ftp address when clicked. Blue and
// underlined at rest, red while the left button is held on it, with the program's hand cursor. Tab
// reaches it in a dialog; focused, it shows a focus rectangle and Enter or Space opens it.
//
// The label is a static control of its own, or takes over one of a dialog (Attach), keeping its
// place, id and text.
#pragma once

#include "base/DpiRules.h"
#include "base/Events.h"
#include "base/Handles.h"
#include "base/Subclass.h"
#include "editor/TextRules.h"
#include "statusbar/PanelTypes.h"
#include "widgets/ShellLaunch.h"
#include "widgets/ShellRules.h"

#include <windows.h>

#include <string>

namespace nv {

constexpr TColor clBlue = 0xFF0000; // 0x00BBGGRR
constexpr TColor clRed = 0x0000FF;

// A window's text in the program's code page, whatever the window's class.
std::string WindowText(HWND window);

class TURLLabel : public TObject, private ControlSubclass {
public:
    TURLLabel();
    ~TURLLabel() override;
    TURLLabel(const TURLLabel&) = delete;
    TURLLabel& operator=(const TURLLabel&) = delete;

    void CreateWnd(HWND parent, const RECT& bounds, int id, const std::string& caption = {});
    // Takes over a static control; its text becomes the caption.
    void Attach(HWND control);
    HWND Handle() const noexcept { return hwnd_; }

    // ---- The label's properties ---------------------------------------------------------------------
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    // The font as it is drawn now: the mouse changes its colour and underline.
    const TFont& Font() const { return font_; }
    // Also takes the font's colour as URLColStd.
    void SetFont(const TFont& value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // The parent window's font instead of the label's own.
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);

    // ---- The link's properties ----------------------------------------------------------------------
    TLabelType LabelType() const { return labelType_; }
    void SetLabelType(TLabelType value);
    TColor URLColStd() const { return urlColStd_; }
    void SetURLColStd(TColor value);
    TColor URLColPre() const { return urlColPre_; }
    void SetURLColPre(TColor value);
    // The label moves one pixel down while it is pressed.
    bool AllowDown() const { return allowDown_; }
    void SetAllowDown(bool value) { allowDown_ = value; }
    // Plain at rest; coloured and underlined while the mouse is over it.
    bool Effect98() const { return effect98_; }
    void SetEffect98(bool value);

    // The ordinary click; the link opens after it.
    TNotifyEvent OnClick;
    // Where the link goes; the real shell unless a test records the calls.
    TShellExecute ShellOpen = ShellExecuteCall;

    // What a click does: OnClick, then, unless the label is hmCUSTOM, the prefixed caption to the
    // shell (no owner, the default verb, shown normally).
    void Click();

    // The program's hand cursor ("URLHAND" of its resources) at the size for `dpi`, or the system's
    // hand without one.
    static HCURSOR HandCursor(int dpi = kDesignDpi);
    // The DPI of the window the label is on, which its cursor and its press follow; its font is set
    // at that DPI by its owner.
    int PixelsPerInch() const { return dpi_; }
    void SetPixelsPerInch(int dpi);

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnControlDestroyed(HWND control) override;
    void Prepare();
    void OnPaint();
    void OnButtonDown(UINT msg);
    void OnButtonUp(UINT msg, LPARAM lParam);
    void OnMouseMove(LPARAM lParam);
    void OnMouseLeave();
    UINT OnGetDlgCode(const MSG* message);
    void SetColor(TColor color);
    void SetUnderlined(bool underlined);
    void FontChanged();
    void AdjustSize();
    void MoveBy(int dy);
    void UpdateTooltip();
    UINT TextFormat() const;

    HWND hwnd_ = nullptr;
    std::string caption_;
    TFont font_;
    GdiObject fontHandle_;
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    bool transparent_ = false;
    bool wordWrap_ = false;
    bool parentFont_ = false;
    std::string hint_;
    bool showHint_ = false;
    HWND tooltip_ = nullptr; // destroyed with the label
    TLabelType labelType_ = hmHTTP;
    TColor urlColStd_ = clBlue;
    TColor urlColPre_ = clRed;
    bool allowDown_ = false;
    bool effect98_ = false;
    bool pressed_ = false;  // the left button went down on the label
    bool movedDown_ = false;
    bool hovering_ = false;
    int dpi_ = kDesignDpi;
};

} // namespace nv
