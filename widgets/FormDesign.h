// A form's design kept as RCDATA of 16-bit values: the client width and height, then the id, left,
// top, width and height of each control, in pixels at 96 pixels per inch.
#pragma once

#include "base/Handles.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace nv {

struct TDesignedControl {
    int Id = 0;
    RECT Bounds{}; // left, top, right, bottom at the form's DPI
    int DesignWidth = 0; // as designed; 0 asks for the width of the control's caption
};

struct TFormDesign {
    int Dpi = 96; // what the sizes below are scaled for
    int ClientWidth = 0;
    int ClientHeight = 0;
    std::vector<TDesignedControl> Controls;
};

// The design scaled for `dpi`; false when the program holds no such design.
bool LoadFormDesign(int resourceId, TFormDesign& design, int dpi);
// The size of the form's window for the design's client size, at the design's DPI.
SIZE FormSize(HWND form, const TFormDesign& design);
// Gives the form that size and centres it on the screen it is on.
void SizeAndCentre(HWND form, const TFormDesign& design);
// Puts each control where the design has it; a designed width of 0 gives a control the width of its
// caption.
void PlaceDesignedControls(HWND form, const TFormDesign& design);
// The font of a form's controls at the form's DPI: the dialog manager's own, made from the form's
// template at the screen's DPI, until the form is laid out for another; then "MS Sans Serif" at 8
// points made for it.
class TFormFont {
public:
    // Sets the font for `dpi` on every child of `form` but those with the ids in `ownFonts`.
    void Apply(HWND form, int dpi, const std::vector<int>& ownFonts = {});

private:
    GdiObject font_;
    int dpi_ = 0; // of the font the controls have; 0: the dialog manager's
};
// The width of a control's caption in its own font.
int CaptionWidth(HWND control);

} // namespace nv
