#include "pricing/numeric_formats.h"

#include <gtest/gtest.h>

#include "pricing_test_support.h"

namespace velmora {
namespace {

using test::C;

// What a figure looks like on screen and as stored, by the company's decimals;
// decimals outside 0..4 show whole numbers.
TEST(NumericFormats, FiguresShowAndStoreByTheirDecimals) {
    struct Case {
        int decimals;
        const char* shown;
        const char* stored;
    };
    const Case cases[] = {{0, "1,234,568", "1234568"},     {1, "1,234,567.9", "1234567.9"},
                          {2, "1,234,567.89", "1234567.89"}, {3, "1,234,567.891", "1234567.891"},
                          {4, "1,234,567.8912", "1234567.8912"}, {7, "1,234,568", "1234568"},
                          {-1, "1,234,568", "1234568"}};
    for (const auto& c : cases) {
        EXPECT_EQ(C("1234567.8912").format(DisplayFormat(c.decimals)), c.shown) << c.decimals;
        EXPECT_EQ(C("1234567.8912").format(StorageFormat(c.decimals)), c.stored) << c.decimals;
    }
    EXPECT_EQ(C("0.5").format(DisplayFormat(0)), "1");
    EXPECT_EQ(C("-0.05").format(DisplayFormat(1)), "-0.1");
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
