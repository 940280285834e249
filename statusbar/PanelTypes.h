// The status panels' enumerations, shared by the window-free rules and the control.
#pragma once

namespace nv {

// Declaration order is the stored ordinal value.
enum TnvStatusPanelType {
    sptNormal,
    sptCapsLock,
    sptNumLock,
    sptScrollLock,
    sptDate,
    sptTime,
    sptDateTime,
    sptEllipsisText,
    sptEllipsisPath,
    sptGlyph,
    sptGauge,
    sptOwnerDraw
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

} // namespace nv
