#include "app/DocumentRules.h"

#include <gtest/gtest.h>

namespace nv {

TEST(CommandLine, ArgumentsJoinWithSingleSpaces) {
    EXPECT_EQ(JoinArguments({"C:\\My", "Documents\\a", "b.txt"}), "C:\\My Documents\\a b.txt");
    EXPECT_EQ(JoinArguments({"one.txt"}), "one.txt");
    EXPECT_EQ(JoinArguments({}), "");
}

TEST(Caption, NamesTheFileOrTheProgram) {
    EXPECT_EQ(CaptionFor(""), "Notova");
    EXPECT_EQ(CaptionFor("C:\\x\\a.txt"), "Notova - C:\\x\\a.txt");
}

TEST(SaveTargets, SaveAsLooksAtTheNameSaveSelectedAtTheWholePath) {
    EXPECT_EQ(SaveAsTarget("C:\\a.b\\notes"), "C:\\a.b\\notes.txt");
    EXPECT_EQ(SaveSelectedTarget("C:\\a.b\\notes"), "C:\\a.b\\notes") << "the folder's dot counts here";
    EXPECT_EQ(SaveAsTarget("C:\\docs\\notes.md"), "C:\\docs\\notes.md");
    EXPECT_EQ(SaveAsTarget("C:\\docs\\notes."), "C:\\docs\\notes.") << "a trailing dot is an extension";
    EXPECT_EQ(SaveSelectedTarget("C:\\docs\\notes"), "C:\\docs\\notes.Txt");
    EXPECT_EQ(SaveAsTarget("C:\\docs\\notes"), "C:\\docs\\notes.txt");
    EXPECT_EQ(SaveAsTarget("C:\\docs\\notes.rtf"), "C:\\docs\\notes.rtf");
}

TEST(UndoNames, KindsNameTheUndoAndRedoCaptions) {
    EXPECT_EQ(UndoCaption(1), "&Undo typing");
    EXPECT_EQ(UndoCaption(3), "&Undo drag and drop");
    EXPECT_EQ(RedoCaption(5), "&Redo paste");
    EXPECT_EQ(UndoCaption(0), "&Undo ");
    EXPECT_EQ(UndoCaption(6), "&Undo ") << "unknown kinds have no name";
    EXPECT_EQ(RedoCaption(-1), "&Redo ");
    EXPECT_EQ(UndoName(2), "delete");
    EXPECT_EQ(UndoName(4), "cut");
}

TEST(ZeroBytes, AreDroppedAndReportedOnce) {
    std::string bytes("A\0B\0\0C", 6);
    EXPECT_TRUE(RemoveZeroBytes(bytes));
    EXPECT_EQ(bytes, "ABC");
    std::string zeros(5, '\0');
    EXPECT_TRUE(RemoveZeroBytes(zeros));
    EXPECT_EQ(zeros, "");
    std::string clean = "a\r\nb\rc\n";
    EXPECT_FALSE(RemoveZeroBytes(clean));
    EXPECT_EQ(clean, "a\r\nb\rc\n") << "line ends pass through unchanged";
    std::string empty;
    EXPECT_FALSE(RemoveZeroBytes(empty));
}

} // namespace nv
