#include "text/input_filters.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace velmora {
namespace {

TEST(DigitsOnly, KeepsDigitsInOrder) {
    EXPECT_EQ(DigitsOnly("03 (1234) 5678"), "0312345678");
    EXPECT_EQ(DigitsOnly("〒100-0001"), "1000001");
    EXPECT_EQ(DigitsOnly("０３-１２"), "０３１２");
    EXPECT_EQ(DigitsOnly("-+., abc"), "");
    EXPECT_EQ(DigitsOnly(""), "");
}

TEST(StripPercent, RemovesEveryPercent) {
    EXPECT_EQ(StripPercent("%株式%会社%"), "株式会社");
    EXPECT_EQ(StripPercent("100％"), "100％");
    EXPECT_EQ(StripPercent("%%"), "");
    EXPECT_EQ(StripPercent(""), "");
}

struct PostcodeCase {
    const char* name;
    std::string text;
    std::string expected;
    friend std::ostream& operator<<(std::ostream& os, const PostcodeCase& c) { return os << c.name; }
};

class NormalizePostcodeCase : public ::testing::TestWithParam<PostcodeCase> {};

TEST_P(NormalizePostcodeCase, Normalizes) {
    EXPECT_EQ(NormalizePostcode(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, NormalizePostcodeCase,
                         ::testing::Values(PostcodeCase{"SevenDigitsUnchanged", "1234567", "1234567"},
                                           PostcodeCase{"BlankBecomesHyphen", "123 4567", "123-4567"},
                                           PostcodeCase{"OneHyphenOnly", "123--45 67", "123-4567"},
                                           PostcodeCase{"EmptyMask", "   -", ""},
                                           PostcodeCase{"EmptyMaskWithBlankDigits", "   -    ", ""},
                                           PostcodeCase{"OnlyBlanks", "     ", ""},
                                           PostcodeCase{"LeadingNonDigitDropped", "〒123-4567", "123-4567"},
                                           PostcodeCase{"FullWidthDigitsKept", "１２３－４５６７",
                                                        "１２３-４５６７"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
