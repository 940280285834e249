#include "app/Settings.h"

#include <algorithm>

namespace nv {

namespace {

constexpr std::uint32_t kSystemColorFlag = 0x80000000u;
constexpr std::uint8_t kStyleBits = fsBold | fsItalic | fsUnderline | fsStrikeOut;
constexpr size_t kSizeOffset = 76, kColorOffset = 80, kStyleOffset = 84;

void PutLittleEndian(std::string& bytes, size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t GetLittleEndian(const std::string& bytes, size_t offset) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return value;
}

// The program's colours flag a system colour in the whole high byte; the record only in its top bit.
std::uint32_t StoredColor(TColor color) {
    if (color == clDefault) return kSystemColorFlag | (static_cast<std::uint32_t>(clWindowText) & 0xFF);
    if ((color & clSystemColor) == clSystemColor)
        return kSystemColorFlag | (static_cast<std::uint32_t>(color) & 0xFF);
    return static_cast<std::uint32_t>(color) & 0xFFFFFF;
}

TColor ColorOfStored(std::uint32_t stored) {
    if (stored & kSystemColorFlag)
        return static_cast<TColor>(static_cast<std::uint32_t>(clSystemColor) | (stored & 0xFF));
    return static_cast<TColor>(stored & 0xFFFFFF);
}

struct OptionName {
    TOption Option;
    const char* Name;
};

// The order in which start-up reads the values, and the order in which Save Settings writes them.
constexpr OptionName kReadOrder[kOptionCount] = {
    {TOption::AutoSave, "AutoSave"},
    {TOption::SelectionBar, "SelectionBar"},
    {TOption::WordSelect, "WordSelect"},
    {TOption::WordWrap, "WordWrap"},
    {TOption::DetectURLs, "DetectURLs"},
    {TOption::ShowTools, "ShowTools"},
    {TOption::ShowASCIIChart, "ShowASCIIChart"},
    {TOption::AutoIntend, "AutoIntend"},
    {TOption::AlwaysDropToNewInstance, "AlwaysDropToNewInstance"},
    {TOption::ShowStatusBar, "ShowStatusBar"},
};
constexpr TOption kWriteOrder[kOptionCount] = {
    TOption::AutoSave,       TOption::SelectionBar, TOption::ShowTools,
    TOption::WordSelect,     TOption::WordWrap,     TOption::DetectURLs,
    TOption::ShowASCIIChart, TOption::AutoIntend,   TOption::AlwaysDropToNewInstance,
    TOption::ShowStatusBar,
};

} // namespace

FontSettings FontSettingsOf(const TFont& font, int pixelsPerInch) {
    FontSettings settings;
    settings.FontName = font.Name.substr(0, kFontNameCapacity);
    settings.FontSize = font.Size(pixelsPerInch);
    settings.FontColor = StoredColor(font.Color);
    settings.FontStyle = static_cast<std::uint8_t>(font.Style & kStyleBits);
    return settings;
}

std::string EncodeFontSettings(const FontSettings& settings) {
    std::string bytes(kFontSettingsSize, '\0');
    const std::string name = settings.FontName.substr(0, kFontNameCapacity);
    bytes[0] = static_cast<char>(name.size());
    std::copy(name.begin(), name.end(), bytes.begin() + 1);
    PutLittleEndian(bytes, kSizeOffset, static_cast<std::uint32_t>(settings.FontSize));
    PutLittleEndian(bytes, kColorOffset, settings.FontColor);
    bytes[kStyleOffset] = static_cast<char>(settings.FontStyle);
    return bytes;
}

std::optional<FontSettings> DecodeFontSettings(const std::string& bytes) {
    if (bytes.size() < kFontSettingsSize) return std::nullopt;
    FontSettings settings;
    const size_t length = std::min<size_t>(static_cast<unsigned char>(bytes[0]), kFontNameCapacity);
    settings.FontName = bytes.substr(1, length);
    settings.FontName.resize(std::min(settings.FontName.size(), settings.FontName.find('\0')));
    settings.FontSize = static_cast<std::int32_t>(GetLittleEndian(bytes, kSizeOffset));
    settings.FontColor = GetLittleEndian(bytes, kColorOffset);
    settings.FontStyle =
        static_cast<std::uint8_t>(static_cast<unsigned char>(bytes[kStyleOffset]) & kStyleBits);
    return settings;
}

bool ApplyFontSettings(const FontSettings& settings, TFont& font, int pixelsPerInch) {
    if (settings.FontName.empty() || settings.FontSize <= 0 || settings.FontSize > kLargestFontSize)
        return false;
    font.Name = settings.FontName;
    font.SetSize(settings.FontSize, pixelsPerInch);
    font.Color = ColorOfStored(settings.FontColor);
    font.Style = settings.FontStyle & kStyleBits;
    return true;
}

const char* OptionValueName(TOption option) {
    for (const OptionName& entry : kReadOrder) {
        if (entry.Option == option) return entry.Name;
    }
    return "";
}

void ReadOptions(Storage& storage, const std::function<void(TOption, bool)>& set,
                 const std::function<void()>& afterWordWrap) {
    std::unique_ptr<StorageKey> key = storage.OpenKey(kProgramKey, true);
    if (!key) return;
    for (const OptionName& entry : kReadOrder) {
        if (std::optional<std::uint32_t> value = key->ReadInteger(entry.Name)) set(entry.Option, *value != 0);
        if (entry.Option == TOption::WordWrap && afterWordWrap) afterWordWrap();
    }
}

void WriteOptions(Storage& storage, const std::function<bool(TOption)>& get) {
    std::unique_ptr<StorageKey> key = storage.OpenKey(kProgramKey, true);
    if (!key) return;
    for (TOption option : kWriteOrder)
        key->WriteInteger(OptionValueName(option), get(option) ? 1u : 0u);
}

} // namespace nv
