#include "pricing/numeric_formats.h"

#include <gtest/gtest.h>

#include "pricing_test_support.h"

namespace velmora {
namespace {

using test::C;

struct DecimalsCase {
    int decimals;
    const char* display;
    const char* storage;
};

class FormatByDecimals : public testing::TestWithParam<DecimalsCase> {};

TEST_P(FormatByDecimals, DisplayAndStoragePatterns) {
    EXPECT_EQ(DisplayFormat(GetParam().decimals), GetParam().display);
    EXPECT_EQ(StorageFormat(GetParam().decimals), GetParam().storage);
}

INSTANTIATE_TEST_SUITE_P(
    Decimals, FormatByDecimals,
    testing::Values(DecimalsCase{0, "#,###,###,##0", "###########0"},
                    DecimalsCase{1, "#,###,###,##0.0", "###########0.0"},
                    DecimalsCase{2, "#,###,###,##0.00", "##########0.00"},
                    DecimalsCase{3, "#,###,###,##0.000", "##########0.000"},
                    DecimalsCase{4, "#,###,###,##0.0000", "##########0.0000"},
                    DecimalsCase{7, "#,###,###,##0", "###########0"}, DecimalsCase{-1, "#,###,###,##0", "###########0"}));

TEST(NumericFormats, TwoDecimalsShowWithCommaAndStoreWithout) {
    EXPECT_EQ(C("1234.5").format(DisplayFormat(2)), "1,234.50");
    EXPECT_EQ(C("1234.5").format(StorageFormat(2)), "1234.50");
}

TEST(NumericFormats, OutOfRangeDecimalsGiveWholeNumbers) {
    EXPECT_EQ(C("1234.5").format(DisplayFormat(7)), "1,235");
    EXPECT_EQ(C("1234.5").format(StorageFormat(7)), "1235");
}

TEST(NumericFormats, AmountsAndRatesAsStored) {
    EXPECT_EQ(C("-1000").format(kAmountStorageFormat), "-1000");
    EXPECT_EQ(C("85").format(kRateStorageFormat), "85.00");
    EXPECT_EQ(C("0").format(kRateStorageFormat), "0.00");
}

TEST(NumericFormats, Masks) {
    EXPECT_EQ(C("7").format(ZeroMask(3)), "007");
    EXPECT_EQ(ZeroMask(0), "");
    EXPECT_EQ(ZeroMask(-2), "");
    EXPECT_EQ(NineMask(4), "9999");
    EXPECT_EQ(ZMask(2), "ZZ");
}

struct PhoneCase {
    const char* typed;
    const char* digits;
};

class PhoneStyleDigits : public testing::TestWithParam<PhoneCase> {};

TEST_P(PhoneStyleDigits, KeepsDigitsAndOneHyphen) { EXPECT_EQ(PhoneDigits(GetParam().typed), GetParam().digits); }

INSTANTIATE_TEST_SUITE_P(Texts, PhoneStyleDigits,
                         testing::Values(PhoneCase{"03 (1234) 5678", "03-12345678"}, PhoneCase{"   -", ""},
                                         PhoneCase{"   -   ", ""}, PhoneCase{"", ""}, PhoneCase{"0312345678", "0312345678"},
                                         PhoneCase{"03-1234-5678", "03-12345678"}, PhoneCase{"045--12", "045-12"}));

}  // namespace
}  // namespace velmora
