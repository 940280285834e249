#include "app/StatusText.h"

#include <gtest/gtest.h>

namespace nv {

TEST(StatusTexts, CharacterCodeIsUnsigned) {
    EXPECT_EQ(CharCodeText('b'), "#98");
    EXPECT_EQ(CharCodeText(233), "#233");
    EXPECT_EQ(CharCodeText(0), "#0");
    EXPECT_EQ(CharCodeText(255), "#255");
}

TEST(StatusTexts, PositionHasTwoSpacesAndNoSeparators) {
    EXPECT_EQ(PositionText(1, 1, 1), "Pos: 1  1@1");
    EXPECT_EQ(PositionText(4, 1, 2), "Pos: 4  1@2");
    EXPECT_EQ(PositionText(1234567, 0, 20000), "Pos: 1234567  0@20000");
}

TEST(StatusTexts, SizeIsGroupedByThousands) {
    EXPECT_EQ(SizeTextFor(GroupThousands(1234567, ",")), "1,234,567 Bytes");
    EXPECT_EQ(SizeTextFor(GroupThousands(0, ",")), "0 Bytes");
    EXPECT_EQ(GroupThousands(999, ","), "999");
    EXPECT_EQ(GroupThousands(1000, "."), "1.000");
    EXPECT_EQ(GroupThousands(100000, "\xA0"), "100\xA0" "000");
    EXPECT_EQ(GroupThousands(12345678901ULL, "'"), "12'345'678'901");
}

TEST(StatusTexts, LiveStatusFreezesOnlyAfterMoreThan250Milliseconds) {
    EXPECT_FALSE(TookTooLong(1000, 1250)) << "250 itself does not freeze";
    EXPECT_TRUE(TookTooLong(1000, 1251));
    EXPECT_FALSE(TookTooLong(1000, 1000));
    // The tick count wraps after 49.7 days.
    EXPECT_FALSE(TookTooLong(0xFFFFFFF0u, 0x00000010u));
    EXPECT_TRUE(TookTooLong(0xFFFFFF00u, 0x00000100u));
}

} // namespace nv
