// The font record byte for byte and the options' reading and writing orders.
#include "app/Settings.h"
#include "app/Instances.h"
#include "base/MemoryStorage.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TFont DesignFont() {
    TFont font;
    font.Name = "Fixedsys";
    font.Height = -12;
    font.Style = fsBold;
    font.Color = clWindowText;
    return font;
}

std::string Record(unsigned char nameLength, const std::string& name, std::int32_t size, std::uint32_t color,
                   unsigned char style) {
    std::string bytes(kFontSettingsSize, '\x5A'); // reserved and unused bytes hold anything
    bytes[0] = static_cast<char>(nameLength);
    bytes.replace(1, name.size(), name);
    for (int i = 0; i < 4; ++i) {
        bytes[76 + i] = static_cast<char>((static_cast<std::uint32_t>(size) >> (8 * i)) & 0xFF);
        bytes[80 + i] = static_cast<char>((color >> (8 * i)) & 0xFF);
    }
    bytes[84] = static_cast<char>(style);
    return bytes;
}

TEST(FontSettings, TheDesignFontIsStoredByteForByte) {
    const std::string bytes = EncodeFontSettings(FontSettingsOf(DesignFont(), 96));
    std::string expected(88, '\0');
    expected[0] = 8;
    expected.replace(1, 8, "Fixedsys");
    expected[76] = 9;                                            // size 9, little-endian
    expected.replace(80, 4, std::string("\x08\x00\x00\x80", 4)); // 0x80000008
    expected[84] = 1;                                            // bold
    EXPECT_EQ(bytes, expected);

    TFont longName = DesignFont();
    longName.Name = std::string(76, 'n');
    longName.Color = 0x00123456;
    longName.Style = fsItalic | fsStrikeOut;
    const std::string stored = EncodeFontSettings(FontSettingsOf(longName, 96));
    ASSERT_EQ(stored.size(), 88u);
    EXPECT_EQ(static_cast<unsigned char>(stored[0]), 75) << "a 76-character name is stored as 75";
    EXPECT_EQ(stored.substr(1, 75), std::string(75, 'n'));
    EXPECT_EQ(stored.substr(80, 4), std::string("\x56\x34\x12\x00", 4));
    EXPECT_EQ(stored[84], '\x0A');
}

TEST(FontSettings, ReadingAStoredFontAndEachCorruptRecord) {
    struct Row {
        const char* what;
        std::string bytes;
        bool applies;
        std::string name;
        int height;
        TColor color;
        TFontStyles style;
    };
    const Row rows[] = {
        {"the design record", Record(8, "Fixedsys", 9, 0x80000008u, 1), true, "Fixedsys", -12, clWindowText,
         fsBold},
        {"an RGB colour and all four styles", Record(5, "Arial", 12, 0x00FF8000u, 0x0F), true, "Arial", -16,
         0x00FF8000, fsBold | fsItalic | fsUnderline | fsStrikeOut},
        {"style bits beyond the four", Record(5, "Arial", 12, 0x80000005u, 0xF2), true, "Arial", -16,
         clWindow, fsItalic},
        {"a length above 75 reads 75", Record(200, std::string(87, 'x'), 10, 0, 0), true,
         std::string(75, 'x'), -13, clBlack, 0},
        {"the name ends at a zero byte", Record(8, std::string("Fix\0edsy", 8), 9, 0, 0), true, "Fix", -12,
         clBlack, 0},
        {"the largest size", Record(5, "Arial", 1638, 0, 0), true, "Arial", -2184, clBlack, 0},
        {"no face name", Record(0, "", 9, 0, 0), false, "", 0, 0, 0},
        {"only zero bytes in the name", Record(4, std::string(4, '\0'), 9, 0, 0), false, "", 0, 0, 0},
        {"size zero", Record(5, "Arial", 0, 0, 0), false, "", 0, 0, 0},
        {"a negative size", Record(5, "Arial", -12, 0, 0), false, "", 0, 0, 0},
        {"a size above 1638", Record(5, "Arial", 1639, 0, 0), false, "", 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::optional<FontSettings> record = DecodeFontSettings(row.bytes);
        ASSERT_TRUE(record);
        TFont font = DesignFont();
        font.Charset = 0;
        EXPECT_EQ(ApplyFontSettings(*record, font, 96), row.applies);
        if (!row.applies) {
            TFont design = DesignFont();
            design.Charset = 0;
            EXPECT_TRUE(font == design) << "the design font stays";
            continue;
        }
        EXPECT_EQ(font.Name, row.name);
        EXPECT_EQ(font.Height, row.height);
        EXPECT_EQ(font.Color, row.color);
        EXPECT_EQ(font.Style, row.style);
        EXPECT_EQ(font.Charset, 0) << "the record holds no character set";
    }
    EXPECT_FALSE(DecodeFontSettings(Record(8, "Fixedsys", 9, 0, 1).substr(0, 87))) << "shorter than a record";
    EXPECT_TRUE(DecodeFontSettings(Record(8, "Fixedsys", 9, 0, 1) + "more"))
        << "only the first record counts";
}

TEST(Options, AreReadAndWrittenInTheirOwnOrders) {
    MemoryStorage storage;
    // Written before any value exists, so the stored order is the writing order.
    WriteOptions(storage,
                 [](TOption option) { return option == TOption::WordWrap || option == TOption::ShowTools; });
    std::vector<std::string> written;
    for (const auto& value : storage.Values(kProgramKey)) {
        written.push_back(value.Name + "=" + std::to_string(value.Integer));
    }
    EXPECT_EQ(written,
              (std::vector<std::string>{"AutoSave=0", "SelectionBar=0", "ShowTools=1", "WordSelect=0",
                                        "WordWrap=1", "DetectURLs=0", "ShowASCIIChart=0", "AutoIntend=0",
                                        "AlwaysDropToNewInstance=0", "ShowStatusBar=0"}));

    auto key = storage.OpenKey(kProgramKey, false);
    key->WriteInteger("ShowTools", 5);
    key->WriteString("AutoSave", "1");
    key->DeleteValue("DetectURLs");
    std::vector<std::string> read;
    ReadOptions(
        storage,
        [&](TOption option, bool on) {
            read.push_back(std::string(OptionValueName(option)) + (on ? "=on" : "=off"));
        },
        [&] { read.push_back("toggle"); });
    EXPECT_EQ(read, (std::vector<std::string>{"SelectionBar=off", "WordSelect=off", "WordWrap=on", "toggle",
                                              "ShowTools=on", "ShowASCIIChart=off", "AutoIntend=off",
                                              "AlwaysDropToNewInstance=off", "ShowStatusBar=off"}))
        << "a string and a missing value are skipped; 5 counts as on";

    MemoryStorage empty;
    read.clear();
    ReadOptions(
        empty, [&](TOption, bool) { read.push_back("set"); }, [&] { read.push_back("toggle"); });
    EXPECT_EQ(read, std::vector<std::string>{"toggle"})
        << "the toggle follows Word Wrap even when nothing is stored";
    empty.Unavailable = true;
    read.clear();
    ReadOptions(
        empty, [&](TOption, bool) { read.push_back("set"); }, [&] { read.push_back("toggle"); });
    EXPECT_TRUE(read.empty()) << "no key, nothing read";
}

TEST(Options, ARefusedValueStopsTheWriting) {
    MemoryStorage storage;
    storage.RefusedWrites = {"WordSelect"};
    try {
        WriteOptions(storage, [](TOption) { return true; });
        FAIL() << "the refusal must be reported";
    } catch (const EStorageError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'WordSelect'");
    }
    std::vector<std::string> names;
    for (const auto& value : storage.Values(kProgramKey))
        names.push_back(value.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"AutoSave", "SelectionBar", "ShowTools"}));
}

TEST(Instances, AFileNameIsQuotedSoItsNewInstanceGetsItWhole) {
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\my  notes\\a  b.txt", "\"C:\\my  notes\\a  b.txt\""},
        {"C:\\plain.txt", "\"C:\\plain.txt\""},
        {"C:\\", "\"C:\\\\\""},
        {"\\\\server\\share\\x", "\"\\\\server\\share\\x\""},
        {"a\\\"b", "\"a\\\\\\\"b\""},
        {"", "\"\""},
    };
    for (const auto& [name, quoted] : rows)
        EXPECT_EQ(QuoteArgument(name), quoted) << name;
}

} // namespace
} // namespace nv
