#include "pricing/currency.h"

#include <gtest/gtest.h>

#include "pricing_test_support.h"

namespace velmora {
namespace {

using test::C;

struct ParseCase {
    const char* text;
    std::optional<std::int64_t> scaled;
};

class CurrencyParse : public testing::TestWithParam<ParseCase> {};

TEST_P(CurrencyParse, ReadsExactlyOrRefuses) {
    std::optional<Currency> value = Currency::Parse(GetParam().text);
    ASSERT_EQ(value.has_value(), GetParam().scaled.has_value()) << GetParam().text;
    if (value) {
        EXPECT_EQ(value->scaled(), *GetParam().scaled) << GetParam().text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CurrencyParse,
    testing::Values(ParseCase{"0", 0}, ParseCase{"1234.5", 12345000}, ParseCase{" 1,234.5 ", 12345000},
                    ParseCase{"-333.3333", -3333333}, ParseCase{"+7", 70000}, ParseCase{".5", 5000},
                    ParseCase{"2.", 20000}, ParseCase{"0.00005", 1}, ParseCase{"-0.00005", -1},
                    ParseCase{"0.000049999", 0}, ParseCase{"922337203685477.5807", INT64_MAX},
                    ParseCase{"-922337203685477.5808", INT64_MIN}, ParseCase{"922337203685477.5808", std::nullopt},
                    ParseCase{"99999999999999999999999", std::nullopt}, ParseCase{"", std::nullopt},
                    ParseCase{"-", std::nullopt}, ParseCase{"1e5", std::nullopt}, ParseCase{",1", std::nullopt},
                    ParseCase{"1,", std::nullopt}, ParseCase{"12a", std::nullopt}, ParseCase{"1.2.3", std::nullopt}));

struct FormatCase {
    const char* value;
    const char* pattern;
    const char* text;
};

class CurrencyFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(CurrencyFormat, WritesThePattern) {
    EXPECT_EQ(C(GetParam().value).format(GetParam().pattern), GetParam().text)
        << GetParam().value << " with " << GetParam().pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, CurrencyFormat,
    testing::Values(FormatCase{"1234.5", "#,###,###,##0.00", "1,234.50"},
                    FormatCase{"1234.5", "##########0.00", "1234.50"},
                    FormatCase{"1234567890.123", "#,###,###,##0.00", "1,234,567,890.12"},
                    FormatCase{"0", "#,###,###,##0", "0"}, FormatCase{"0.4", "##########0", "0"},
                    FormatCase{"-0.4", "##########0", "0"}, FormatCase{"2.5", "##########0", "3"},
                    FormatCase{"-2.5", "##########0", "-3"}, FormatCase{"999.995", "##0.00", "1000.00"},
                    FormatCase{"12.5", "##0.00", "12.50"}, FormatCase{"-1234567", "#,###,###,##0", "-1,234,567"},
                    FormatCase{"123456789012345", "##########0", "123456789012345"},
                    FormatCase{"1.23456", "0.0000", "1.2346"}, FormatCase{"7", "000", "007"},
                    FormatCase{"0.5", "#.##", ".5"}, FormatCase{"1.2", "0.0#", "1.2"},
                    FormatCase{"1.234", "0.0#", "1.23"}));

TEST(CurrencyArithmetic, MultiplyRoundsHalfAwayFromZeroSymmetrically) {
    EXPECT_EQ(*Currency::Multiply(C("3"), C("333.3333")), C("999.9999"));
    EXPECT_EQ(*Currency::Multiply(C("0.0001"), C("0.5")), C("0.0001"));
    EXPECT_EQ(*Currency::Multiply(C("-0.0001"), C("0.5")), C("-0.0001"));
    EXPECT_EQ(*Currency::Multiply(C("0.0001"), C("0.4999")), C("0"));
    EXPECT_EQ(*Currency::Multiply(C("-12.3456"), C("7.8912")), C("-97.4216"));  // -97.42160...
}

TEST(CurrencyArithmetic, DivideToFourPlaces) {
    EXPECT_EQ(*Currency::Divide(C("1000"), C("3")), C("333.3333"));
    EXPECT_EQ(*Currency::Divide(C("2"), C("3")), C("0.6667"));
    EXPECT_EQ(*Currency::Divide(C("-2"), C("3")), C("-0.6667"));
    EXPECT_FALSE(Currency::Divide(C("1"), C("0")).has_value());
}

TEST(CurrencyArithmetic, FixTruncatesTowardZero) {
    EXPECT_EQ(C("123.9").fix(), C("123"));
    EXPECT_EQ(C("-123.9").fix(), C("-123"));
    EXPECT_EQ(C("-0.9999").fix(), C("0"));
}

TEST(CurrencyArithmetic, OverflowIsRefusedAndTheValueStays) {
    Currency big = Currency::Max();
    EXPECT_FALSE(big.add(C("0.0001")));
    EXPECT_EQ(big, Currency::Max());
    Currency small = Currency::Min();
    EXPECT_FALSE(small.subtract(C("1")));
    EXPECT_EQ(small, Currency::Min());
    Currency amount = C("99999999999");
    EXPECT_FALSE(amount.multiply(C("99999999999")));
    EXPECT_EQ(amount, C("99999999999"));
    Currency divided = C("900000000000000");
    EXPECT_FALSE(divided.divide(C("0.5")));
    EXPECT_EQ(divided, C("900000000000000"));
    EXPECT_FALSE(Currency::Negate(Currency::Min()).has_value());
    EXPECT_FALSE(Currency::FromUnits(INT64_MAX / 1000).has_value());
    EXPECT_TRUE(big.subtract(C("0.0001")));
    EXPECT_EQ(big.scaled(), INT64_MAX - 1);
}

TEST(CurrencyArithmetic, OrdersByValue) {
    EXPECT_LT(C("-1"), C("0"));
    EXPECT_LT(C("0.0001"), C("0.0002"));
    EXPECT_EQ(C("1.50"), C("1.5"));
}

}  // namespace
}  // namespace velmora
