// A text longer than the control's default limit is kept whole: loaded, typed into and saved.
#include "editor/NvRichEd.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(LargeText, MoreThanTheDefaultLimitLoadsEditsAndSavesWhole) {
    test::TestHost host;
    TNvRichEdit field;
    field.SetWordWrap(false);
    field.CreateWnd(host.Handle(), host.Client(), 100);

    const std::string line = "0123456789 abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTU\r\n"; // 62 bytes
    std::string text;
    text.reserve(17'300'000);
    while (text.size() - text.size() / 62 < 16'777'215 + 200'000) text += line; // positions > 0xFFFFFF
    const long positions = static_cast<long>(text.size() - text.size() / line.size());
    ASSERT_GT(positions, 16'777'215);

    field.SetWholeText(text);
    EXPECT_EQ(field.TextLength(), positions);
    EXPECT_EQ(field.TextLengthAsCrLf(), static_cast<long>(text.size()));

    field.MoveCaret(field.TextLength());
    for (char c : std::string("end")) ::SendMessageA(field.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    EXPECT_EQ(field.TextLength(), positions + 3) << "typing at the end of a long text is not refused";

    test::TempDir dir;
    field.WriteToFile(dir.File("big.txt"));
    const std::string saved = test::ReadFileBytes(dir.File("big.txt"));
    EXPECT_EQ(saved.size(), text.size() + 3);
    EXPECT_TRUE(saved == text + "end") << "the saved text differs from the loaded one";
}

} // namespace
} // namespace nv
