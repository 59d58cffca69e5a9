#include "text/code_pattern.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "text/numeric_text.h"

namespace velmora {
namespace {

struct CodeCase {
    const char* name;
    std::string value;
    std::string pattern;
    std::string expected;
    friend std::ostream& operator<<(std::ostream& os, const CodeCase& c) { return os << c.name; }
};

class FormatCodeCase : public ::testing::TestWithParam<CodeCase> {};

TEST_P(FormatCodeCase, Formats) {
    const CodeCase& c = GetParam();
    EXPECT_EQ(FormatCode(c.value, c.pattern), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatCodeCase,
    ::testing::Values(
        CodeCase{"PadsCustomerCode", "123", "000000", "000123"},
        CodeCase{"EmptyValueStaysEmpty", "", "000000", ""},
        CodeCase{"EmptyPatternKeepsValue", "0012ab ", "", "0012ab "},
        CodeCase{"ExtraLeadingZerosDropped", "000000012", "000000", "000012"},
        CodeCase{"ZeroValue", "0", "000", "000"}, CodeCase{"NegativeZero", "-0", "000", "000"},
        CodeCase{"TooLongIsCut", "1234567", "000000", "123456"},
        CodeCase{"BlanksAround", " 12\t", "000", "012"}, CodeCase{"PlusSign", "+7", "000", "007"},
        CodeCase{"MinusSignTakesAPosition", "-5", "000", "-00"},
        CodeCase{"FullWidthDigits", "１２", "00000", "00012"}, CodeCase{"NonNumericKept", "AB", "000", "AB"},
        CodeCase{"NonNumericCutByCharacters", "得意先コード", "000", "得意先"},
        CodeCase{"DecimalNotACode", "1.5", "000", "1.5"},
        CodeCase{"ThousandsSeparatorNotACode", "1,000", "000000", "1,000"},
        CodeCase{"InnerBlankNotNumeric", "12 3", "000", "12 "},
        CodeCase{"SignAloneNotNumeric", "-", "000", "-"}, CodeCase{"TrailingLetter", "12a", "000000", "12a"},
        CodeCase{"LongDigitStringKeepsEveryDigit", "98765432109876543210", "00000000", "98765432"}),
    [](const auto& info) { return std::string(info.param.name); });

struct NumericCase {
    const char* text;
    bool numeric;
    friend std::ostream& operator<<(std::ostream& os, const NumericCase& c) { return os << c.text; }
};

class IsNumericTextCase : public ::testing::TestWithParam<NumericCase> {};

TEST_P(IsNumericTextCase, Classifies) {
    EXPECT_EQ(IsNumericText(GetParam().text), GetParam().numeric) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    NumericText, IsNumericTextCase,
    ::testing::Values(NumericCase{"0", true}, NumericCase{"007", true}, NumericCase{" -12 ", true},
                      NumericCase{"+3", true}, NumericCase{"３４", true}, NumericCase{"", false},
                      NumericCase{"  ", false}, NumericCase{"+", false}, NumericCase{"--1", false},
                      NumericCase{"1-", false}, NumericCase{"1 2", false}, NumericCase{"1e3", false},
                      NumericCase{"&H10", false}, NumericCase{"¥100", false}, NumericCase{"１a", false}));

TEST(ZeroString, ZerosForEachPatternCharacter) {
    EXPECT_EQ(ZeroString("000"), "000");
    EXPECT_EQ(ZeroString("00000000"), "00000000");
    EXPECT_EQ(ZeroString(""), "");
}

TEST(NineString, NinesForAPatternAndZForFreeFormCodes) {
    EXPECT_EQ(NineString("000000", 13), "999999");
    EXPECT_EQ(NineString("", 13), "ZZZZZZZZZZZZZ");
    EXPECT_EQ(NineString("", 0), "");
    EXPECT_EQ(NineString("", -1), "");
}

}  // namespace
}  // namespace velmora
