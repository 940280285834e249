// TNvLabel: a label whose text has a shadow: drawn once more in the shadow colour, offset behind it.
// Takes over a static control of a dialog, keeping its place and text.
#pragma once

#include "base/Handles.h"
#include "base/Subclass.h"
#include "editor/TextRules.h"

#include <windows.h>

#include <string>

namespace nv {

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

// Where the shadow goes for a position and a size: the offset of its text from the label's text.
POINT ShadowOffset(TShadowPosition position, int size);

class TNvLabel : private ControlSubclass {
public:
    TNvLabel() = default;
    ~TNvLabel();
    TNvLabel(const TNvLabel&) = delete;
    TNvLabel& operator=(const TNvLabel&) = delete;

    void Attach(HWND control);
    HWND Handle() const noexcept { return hwnd_; }

    const std::string& Caption() const { return caption_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& value);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor value);
    TShadowPosition ShadowPos() const { return shadowPos_; }
    void SetShadowPos(TShadowPosition value);
    int ShadowSize() const { return shadowSize_; }
    void SetShadowSize(int value);
    // The font is made smaller, as far as needed, for the caption and its shadow to fit the label's
    // width whole, whatever face the system puts in for the font's.
    bool FitText() const { return fitText_; }
    void SetFitText(bool value);

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnControlDestroyed(HWND control) override;
    void OnPaint();
    void Changed();

    HWND hwnd_ = nullptr;
    std::string caption_;
    TFont font_;
    GdiObject fontHandle_; // the font as drawn: fitted when FitText is on
    int textLeft_ = 0;     // where the text starts, so that no letter leans out at the left
    TColor shadowColor_ = 0x808080; // grey
    TShadowPosition shadowPos_ = spLeftTop;
    int shadowSize_ = 1;
    bool fitText_ = false;
};

} // namespace nv
