#include "base/Errors.h"
#include "base/Paths.h"

#include <gtest/gtest.h>

namespace nv {

TEST(Paths, FileNameAndFolderSplitAtTheLastSeparator) {
    EXPECT_EQ(ExtractFileName("C:\\a.b\\notes"), "notes");
    EXPECT_EQ(ExtractFilePath("C:\\a.b\\notes"), "C:\\a.b\\");
    EXPECT_EQ(ExtractFileName("C:notes.txt"), "notes.txt");
    EXPECT_EQ(ExtractFileName("dir/sub\\x.txt"), "x.txt");
    EXPECT_EQ(ExtractFileName("plain"), "plain");
    EXPECT_EQ(ExtractFilePath("plain"), "");
}

TEST(Paths, ExtensionIsTakenFromTheFileNameOnlyAndLowered) {
    EXPECT_EQ(ExtensionLower("C:\\x\\Notes.RTF"), "rtf");
    EXPECT_EQ(ExtensionLower("C:\\a.b\\notes"), "");
    EXPECT_EQ(ExtensionLower("notes."), "");
    EXPECT_EQ(ExtensionLower("archive.tar.Gz"), "gz");
    EXPECT_EQ(ExtensionLower(""), "");
}

TEST(Errors, FormatFillsTheMessageTemplates) {
    EXPECT_EQ(Format("Cannot create file %s", std::string("C:\\x.txt")), "Cannot create file C:\\x.txt");
    EXPECT_EQ(Format("List index out of bounds (%d)", 128LL), "List index out of bounds (128)");
    EXPECT_EQ(Format("List index out of bounds (%d)", -1LL), "List index out of bounds (-1)");
    EXPECT_EQ(Format("List index out of bounds (%d)", 5000000000LL), "List index out of bounds (5000000000)");
}

} // namespace nv
