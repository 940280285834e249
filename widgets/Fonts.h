// The program's font description as GDI takes it, and back. (ColorRefOf, in the status bar's header,
// turns a colour into what GDI draws with.)
#pragma once

#include "base/Handles.h"
#include "editor/TextRules.h"

#include <windows.h>

namespace nv {

LOGFONTA LogFontOf(const TFont& font);
// A font created from the description; empty when it cannot be made.
GdiObject CreateFontOf(const TFont& font);
// The description of a logical font, with a colour.
TFont FontOf(const LOGFONTA& logFont, TColor color);
// A font the program designs (its height in pixels at 96 DPI) at `dpi`: its size in points there.
TFont FontAtDpi(const TFont& designFont, int dpi);
// A font sized for one DPI at another, the same size in points.
TFont FontMovedToDpi(const TFont& font, int fromDpi, int toDpi);

} // namespace nv
