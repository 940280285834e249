#include "widgets/Fonts.h"

#include "base/DpiRules.h"

namespace nv {

LOGFONTA LogFontOf(const TFont& font) {
    LOGFONTA lf{};
    lf.lfHeight = font.Height;
    lf.lfWeight = (font.Style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (font.Style & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (font.Style & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (font.Style & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = font.Charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = font.Pitch;
    ::lstrcpynA(lf.lfFaceName, font.Name.c_str(), LF_FACESIZE);
    return lf;
}

GdiObject CreateFontOf(const TFont& font) {
    const LOGFONTA lf = LogFontOf(font);
    return GdiObject(::CreateFontIndirectA(&lf));
}

TFont FontOf(const LOGFONTA& logFont, TColor color) {
    TFont font;
    font.Name = logFont.lfFaceName;
    font.Height = logFont.lfHeight;
    font.Style = 0;
    if (logFont.lfWeight >= FW_BOLD) font.Style |= fsBold;
    if (logFont.lfItalic) font.Style |= fsItalic;
    if (logFont.lfUnderline) font.Style |= fsUnderline;
    if (logFont.lfStrikeOut) font.Style |= fsStrikeOut;
    font.Charset = logFont.lfCharSet;
    font.Pitch = static_cast<std::uint8_t>(logFont.lfPitchAndFamily & 0x03);
    font.Color = color;
    return font;
}

TFont FontAtDpi(const TFont& designFont, int dpi) {
    TFont font = designFont;
    font.SetSize(designFont.Size(kDesignDpi), dpi);
    return font;
}

TFont FontMovedToDpi(const TFont& font, int fromDpi, int toDpi) {
    TFont moved = font;
    // The pixel height itself, not whole points: a size chosen between points keeps its height.
    if (fromDpi > 0 && fromDpi != toDpi) moved.Height = ::MulDiv(font.Height, toDpi, fromDpi);
    return moved;
}

} // namespace nv
