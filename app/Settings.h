// The stored settings: the font record of "settings.cfg" and the ten on/off options kept as
// REG_DWORD values under the program's registry key.
#pragma once

#include "base/Storage.h"
#include "editor/TextRules.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace nv {

constexpr const char* kProgramKey = "Software\\Korvel\\Notova";
constexpr const char* kSettingsFileName = "settings.cfg";

// ---- The font record ----------------------------------------------------------------------------
// 88 bytes, little-endian: name length (0..75), 75 name bytes, size in points (signed 32-bit),
// colour (0x00BBGGRR, or 0x80000000 plus a system colour index), style bits, 3 reserved bytes.
constexpr size_t kFontSettingsSize = 88;
constexpr size_t kFontNameCapacity = 75;
// Larger sizes do not fit the control's character height in twips.
constexpr int kLargestFontSize = 1638;

struct FontSettings {
    std::string FontName;
    std::int32_t FontSize = 0;
    std::uint32_t FontColor = 0;
    std::uint8_t FontStyle = 0;
};

// The record of a font; a longer face name is cut to 75 characters. Reserved bytes are zero.
FontSettings FontSettingsOf(const TFont& font, int pixelsPerInch);
std::string EncodeFontSettings(const FontSettings& settings);
// The first record of a file's bytes; empty when they are shorter than a record. A length above 75
// reads 75 characters, the name ends at a zero byte, and style bits beyond the four are dropped.
std::optional<FontSettings> DecodeFontSettings(const std::string& bytes);
// Puts a stored font into `font`. A record that would make the font unusable (no face name, a size
// of zero, below zero or above the largest) changes nothing and answers false.
bool ApplyFontSettings(const FontSettings& settings, TFont& font, int pixelsPerInch);

// ---- The options --------------------------------------------------------------------------------
enum class TOption {
    AutoSave,
    SelectionBar,
    WordSelect,
    WordWrap,
    DetectURLs,
    ShowTools,
    ShowASCIIChart,
    AutoIntend,
    AlwaysDropToNewInstance,
    ShowStatusBar
};
constexpr int kOptionCount = 10;

const char* OptionValueName(TOption option);

// Reads the stored options, in their reading order, into `set` (any non-zero number is on; a
// missing value or one of another type is skipped). `afterWordWrap` runs right after WordWrap was
// handled, stored or not. Nothing runs when the key cannot be opened.
void ReadOptions(Storage& storage, const std::function<void(TOption, bool)>& set,
                 const std::function<void()>& afterWordWrap);
// Writes all ten, in their writing order, as 1 or 0. Nothing is written when the key cannot be
// opened; a refused value raises EStorageError and the values after it are not written.
void WriteOptions(Storage& storage, const std::function<bool(TOption)>& get);

} // namespace nv
