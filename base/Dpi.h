// The DPI of the program's windows and what the system measures at a DPI. The functions a system
// before Windows 10 lacks are looked up when first needed, so the program starts everywhere; without
// them a window has the screen's DPI and metrics are the system's, scaled from it.
//
// Each window keeps the DPI it was last laid out for: the one it was made at, then the one each
// WM_DPICHANGED names. Sizes come from design pixels through DpiScaled (DpiRules.h).
#pragma once

#include "base/DpiRules.h"
#include "base/Handles.h"

#include <windows.h>

namespace nv {

// WM_DPICHANGED, which the headers of the program's oldest target do not name.
constexpr UINT kDpiChangedMessage = 0x02E0;
// The new DPI a WM_DPICHANGED carries.
inline int DpiOfDpiChanged(WPARAM wParam) { return HIWORD(wParam); }

// A window's DPI as the system sees it; the screen's (ScreenPixelsPerInch) without a window or the
// function.
int WindowDpi(HWND window);
// GetSystemMetrics at a DPI.
int MetricForDpi(int index, int dpi);
// The menu font and the message font at a DPI.
LOGFONTA MenuFontForDpi(int dpi);
LOGFONTA MessageFontForDpi(int dpi);
// The window size that gives a client area of this size, at a DPI.
SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, bool menu, DWORD exStyle, int dpi);
// The client size a window size leaves, at a DPI (the reverse of WindowSizeForClient).
SIZE ClientSizeForWindow(int windowWidth, int windowHeight, DWORD style, bool menu, DWORD exStyle, int dpi);
// A dialog made from a template lays itself out on a DPI change: the dialog manager stays out of it.
void KeepDialogScalingOwn(HWND dialog);

// WM_GETDPISCALEDSIZE: the system asks a window of fixed size what size it takes at a new DPI, before
// it suggests a rectangle with WM_DPICHANGED.
constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;
// Moves a window of fixed size to its size at a new DPI (`size`, frame included), at the place a
// WM_DPICHANGED suggests, and makes sure its client area is `client`.
void TakeDpiChangedPlace(HWND window, LPARAM suggested, SIZE size, SIZE client);
// Makes the client area of a window this size, keeping its top-left corner: a system that draws the
// frame at another DPI than the window's (Wine, told of a DPI change by a test) gets what it draws.
void FitClientArea(HWND window, SIZE client);
// Tells a window laid out for `oldDpi` that lies on the same monitor as `place` that its DPI is now
// `newDpi`, as the system does when a monitor's scale changes: a WM_DPICHANGED whose rectangle keeps
// the window's centre. The main window's dialogs follow it so.
void FollowDpi(HWND window, int oldDpi, int newDpi, const RECT& place);
// The centre of the monitor `window` is on (the primary one without a window): where dialogs open.
POINT MonitorCentre(HWND window);

// The resource of an image set: sets after the first follow the base id in steps of this.
constexpr int kImageSetStep = 20;
inline int ImageSetResource(int baseResource, int set) { return baseResource + kImageSetStep * set; }

// A bitmap's pixels, or none when it cannot be read.
TPixels PixelsOf(HBITMAP bitmap);
// A 24-bit bitmap of the pixels.
GdiObject BitmapOf(const TPixels& pixels);
// A strip of `cells` images of `designWidth` by `designHeight` design pixels, from the set for `dpi`
// (resource ImageSetResource(baseResource, set)), each image at the size shown at that DPI. With
// `keyed`, the colour of the strip's bottom-left pixel is transparent and stays so. Empty when the
// resource is missing.
GdiObject LoadImageStrip(int baseResource, int cells, int designWidth, int designHeight, int dpi, bool keyed);
// A cursor resource of the program at the size for `dpi` (its resource holds a size for each scale);
// null when there is none.
HCURSOR LoadCursorForDpi(LPCSTR name, int dpi);

} // namespace nv
