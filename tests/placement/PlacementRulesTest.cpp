// Stored placement values: names, number lists, show states, off-screen rectangles, section names.
#include "placement/PlacementRules.h"
#include "base/MemoryStorage.h"
#include "placement/IniSections.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(PlacementRules, ValueNamesAndLists) {
    EXPECT_EQ(ResolutionName("NormPos", 1024, 768), "NormPos(1024x768)");
    EXPECT_EQ(ResolutionName("MinMaxPos", 1280, 1024), "MinMaxPos(1280x1024)");
    EXPECT_EQ(FormatNumberList(237, 152, 737, 575), "237,152,737,575");
    EXPECT_EQ(FormatNumberList(-1, -1, -4, -4), "-1,-1,-4,-4");
}

TEST(PlacementRules, ListWordsWithFallbacks) {
    const auto words = SplitWords(" 10,, 20 ,x30 ,40,50");
    ASSERT_EQ(words, (std::vector<std::string>{"10", "20", "x30", "40", "50"}));
    EXPECT_EQ(WordAsInteger(words, 1, -7), 10);
    EXPECT_EQ(WordAsInteger(words, 2, -7), 20);
    EXPECT_EQ(WordAsInteger(words, 3, -7), -7) << "not a number";
    EXPECT_EQ(WordAsInteger(words, 4, -7), 40);
    EXPECT_EQ(WordAsInteger(SplitWords("1,2"), 3, 99), 99) << "missing";
    EXPECT_EQ(WordAsInteger(words, 0, 5), 5);
    EXPECT_TRUE(SplitWords(" , ").empty());
}

TEST(PlacementRules, ShowCommands) {
    struct Row {
        int cmd;
        bool known;
        TWindowState state;
    };
    const Row rows[] = {{1, true, wsNormal},    {5, true, wsNormal},    {9, true, wsNormal},
                        {2, true, wsMinimized}, {6, true, wsMinimized}, {7, true, wsMinimized},
                        {3, true, wsMaximized}, {0, false, wsNormal},   {4, false, wsNormal},
                        {8, false, wsNormal},   {10, false, wsNormal},  {-3, false, wsNormal}};
    for (const Row& row : rows) {
        TWindowState state = wsNormal;
        EXPECT_EQ(WindowStateOf(row.cmd, state), row.known) << row.cmd;
        if (row.known) {
            EXPECT_EQ(state, row.state) << row.cmd;
        }
    }
}

TEST(PlacementRules, RectanglesMoveOntoTheArea) {
    const TPlaceRect area{0, 0, 1024, 768};
    EXPECT_EQ(MoveInto({5000, 4000, 5500, 4423}, area), (TPlaceRect{524, 345, 1024, 768}));
    EXPECT_EQ(MoveInto({-900, -700, -400, -277}, area), (TPlaceRect{0, 0, 500, 423}));
    EXPECT_EQ(MoveInto({100, 50, 600, 473}, area), (TPlaceRect{100, 50, 600, 473})) << "inside stays";
    EXPECT_EQ(MoveInto({1500, 100, 3000, 200}, area), (TPlaceRect{0, 100, 1500, 200}))
        << "too wide: left edge";
    EXPECT_FALSE(Intersects({1024, 0, 1200, 100}, area)) << "touching is not overlapping";
    EXPECT_TRUE(Intersects({1023, 0, 1200, 100}, area));
}

TEST(PlacementRules, DefaultSectionNames) {
    EXPECT_EQ(DefaultSectionName(TComponentKind::Window, "TForm1", ""), "TForm1");
    EXPECT_EQ(DefaultSectionName(TComponentKind::Control, "TForm1", "SpeedBar"), "TForm1SpeedBar");
    EXPECT_EQ(DefaultSectionName(TComponentKind::Control, "", "SpeedBar", "Panel1"), "Panel1SpeedBar");
    EXPECT_EQ(DefaultSectionName(TComponentKind::Component, "TForm1", "FormPlacement1"),
              "TForm1.FormPlacement1");
    EXPECT_EQ(DefaultSectionName(TComponentKind::None, "TForm1", "X"), "");
}

TEST(IniSections, IntegersFallBackWhenAbsentOrNotNumbers) {
    MemoryStorage memory;
    TIniSections storage(memory, "Software\\Korvel\\Notova");
    storage.WriteString("S", "Good", " -42");
    storage.WriteString("S", "Trailing", "42x");
    storage.WriteString("S", "Empty", "");
    storage.WriteString("S", "Huge", "2147483648");
    storage.WriteString("S", "Lowest", "-2147483648");
    EXPECT_EQ(storage.ReadInteger("S", "Good", 7), -42);
    EXPECT_EQ(storage.ReadInteger("S", "Trailing", 7), 7);
    EXPECT_EQ(storage.ReadInteger("S", "Empty", 7), 7);
    EXPECT_EQ(storage.ReadInteger("S", "Huge", 7), 7);
    EXPECT_EQ(storage.ReadInteger("S", "Lowest", 7), -2147483647 - 1);
    EXPECT_EQ(storage.ReadInteger("S", "Missing", 7), 7);
    EXPECT_EQ(storage.ReadInteger("Other", "Good", 7), 7);
    storage.WriteBool("S", "Flag", true);
    EXPECT_EQ(storage.ReadString("s", "flag", ""), "1") << "names ignore case";
}

TEST(IniSections, SectionsAreKeysOfStringValues) {
    MemoryStorage memory;
    const std::string root = "Software\\Korvel\\Notova";
    TIniSections storage(memory, root);
    EXPECT_EQ(storage.ReadString("TForm1", "NormPos", "none"), "none");
    EXPECT_FALSE(memory.KeyExists(root)) << "reading makes nothing";

    storage.WriteInteger("TForm1", "ShowCmd", 3);
    storage.WriteString("TForm1SpeedBar", "Button1", "NewBtn,4,4");
    storage.WriteString("TForm1\\Client", "Value", "1");
    const std::vector<MemoryStorage::Value> values = memory.Values(root + "\\TForm1");
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].Kind, MemoryStorage::ValueKind::String) << "numbers are decimal text";
    EXPECT_EQ(values[0].Text, "3");

    // Values of another type are not ours to read.
    memory.OpenKey(root + "\\TForm1", false)->WriteInteger("Flags", 2);
    memory.PutOther(root + "\\TForm1", "NormPos");
    EXPECT_EQ(storage.ReadInteger("TForm1", "Flags", -1), -1);
    EXPECT_EQ(storage.ReadString("TForm1", "NormPos", "none"), "none");

    // Erasing a section takes what lies below it and nothing beside it; it is written afresh.
    storage.EraseSection("TForm1");
    EXPECT_FALSE(memory.KeyExists(root + "\\TForm1\\Client"));
    storage.WriteInteger("TForm1", "ShowCmd", 1);
    EXPECT_EQ(memory.Strings(root + "\\TForm1"), (std::map<std::string, std::string>{{"ShowCmd", "1"}}));
    EXPECT_EQ(storage.ReadString("TForm1SpeedBar", "Button1", ""), "NewBtn,4,4");
    storage.EraseSection("Missing");
}

TEST(IniSections, AKeyThatCannotBeMadeNamesTheValue) {
    MemoryStorage memory;
    TIniSections storage(memory, "Software\\Korvel\\Notova");
    memory.Unavailable = true; // no key can be opened or made
    try {
        storage.WriteInteger("TForm1", "FormVersion", 1);
        ADD_FAILURE() << "FormVersion was written";
    } catch (const EStorageError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'FormVersion'");
    }
}

} // namespace
} // namespace nv
