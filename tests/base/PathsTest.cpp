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

TEST(Paths, LongNamesTakeTheLongFormForTheFileFunctions) {
    const std::string deep = "C:\\" + std::string(300, 'd') + "\\x.txt";
    const std::string share = "\\\\server\\share\\" + std::string(300, 's');
    const struct {
        std::string path, expected;
    } rows[] = {
        {"C:\\short\\x.txt", "C:\\short\\x.txt"},
        {deep, "\\\\?\\" + deep},
        {"C:/" + std::string(300, 'd') + "/x.txt", "\\\\?\\" + deep},
        {share, "\\\\?\\UNC\\server\\share\\" + std::string(300, 's')},
        {"\\\\?\\" + deep, "\\\\?\\" + deep},              // already long
        {std::string(300, 'r'), std::string(300, 'r')},    // relative names stay
        {"C:\\" + std::string(255, 'd'), "C:\\" + std::string(255, 'd')}, // 258 characters
        {"C:\\" + std::string(257, 'd'), "\\\\?\\C:\\" + std::string(257, 'd')},
    };
    for (const auto& row : rows) EXPECT_EQ(FileApiName(row.path), row.expected) << row.path.size();
}

TEST(Errors, FormatFillsTheMessageTemplates) {
    EXPECT_EQ(Format("Cannot create file %s", std::string("C:\\x.txt")), "Cannot create file C:\\x.txt");
    EXPECT_EQ(Format("%s needs %s of %s%%", {"C:\\100%s.txt", "1", "2"}), "C:\\100%s.txt needs 1 of 2%")
        << "what is filled in is never read as a template";
    EXPECT_EQ(Format("List index out of bounds (%d)", 128LL), "List index out of bounds (128)");
    EXPECT_EQ(Format("List index out of bounds (%d)", -1LL), "List index out of bounds (-1)");
    EXPECT_EQ(Format("List index out of bounds (%d)", 5000000000LL), "List index out of bounds (5000000000)");
}

} // namespace nv
