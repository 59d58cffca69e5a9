#include <gtest/gtest.h>

#include "data/sql_text.h"

namespace velmora {

TEST(QuoteSql, DoublesApostrophesAndCutsTrailingBlanks) {
    EXPECT_EQ(QuoteSql("O'Brien  "), "O''Brien");
    EXPECT_EQ(QuoteSql("  lead"), "  lead");
    EXPECT_EQ(QuoteSql(""), "");
    EXPECT_EQ(QuoteSql(QuoteSql("a'b")), "a''''b");
}

TEST(ZeroCode, MakesZerosOrNothing) {
    EXPECT_EQ(ZeroCode(3), "000");
    EXPECT_EQ(ZeroCode(0), "");
    EXPECT_EQ(ZeroCode(-2), "");
}

TEST(PlainNumberFormat, ByDecimals) {
    EXPECT_EQ(PlainNumberFormat(0), "###########0");
    EXPECT_EQ(PlainNumberFormat(2), "##########0.00");
    EXPECT_EQ(PlainNumberFormat(4), "##########0.0000");
    EXPECT_EQ(PlainNumberFormat(7), "###########0");
}

TEST(ValCode, FollowsTheValRule) {
    EXPECT_EQ(ValCode("3"), 3);
    EXPECT_EQ(ValCode("  12ab"), 12);
    EXPECT_EQ(ValCode("x"), 0);
    EXPECT_EQ(ValCode(""), 0);
    EXPECT_EQ(ValCode("-4"), -4);
    EXPECT_EQ(ValCode("99999999"), 32767);
}

}  // namespace velmora
