// A form's design kept as RCDATA of 16-bit values: the client width and height, then the id, left,
// top, width and height of each control, in pixels at 96 pixels per inch.
#pragma once

#include <windows.h>

#include <vector>

namespace nv {

struct TDesignedControl {
    int Id = 0;
    RECT Bounds{}; // left, top, right, bottom on the screen's scale
    int DesignWidth = 0; // as designed; 0 asks for the width of the control's caption
};

struct TFormDesign {
    int ClientWidth = 0;  // on the screen's scale
    int ClientHeight = 0;
    std::vector<TDesignedControl> Controls;
};

// False when the program holds no such design.
bool LoadFormDesign(int resourceId, TFormDesign& design);
// Gives the form the design's client size and centres it on the screen.
void SizeAndCentre(HWND form, const TFormDesign& design);
// The width of a control's caption in its own font.
int CaptionWidth(HWND control);

} // namespace nv
