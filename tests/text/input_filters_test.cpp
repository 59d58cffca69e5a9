#include "text/input_filters.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace velmora {
namespace {

TEST(DigitsOnly, KeepsDigitsInOrder) {
    std::vector<std::string> kept;
    for (const char* text : {"03 (1234) 5678", "〒100-0001", "０３-１２", "-+., abc", ""})
        kept.push_back(DigitsOnly(text));
    EXPECT_EQ(kept, (std::vector<std::string>{"0312345678", "1000001", "０３１２", "", ""}));
}

TEST(StripPercent, RemovesEveryPercent) {
    std::vector<std::string> stripped;
    for (const char* text : {"%株式%会社%", "100％", "%%", ""}) stripped.push_back(StripPercent(text));
    EXPECT_EQ(stripped, (std::vector<std::string>{"株式会社", "100％", "", ""}));
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
