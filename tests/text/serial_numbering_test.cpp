#include "text/serial_numbering.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace velmora {
namespace {

struct PrefixCase {
    int style;
    int number;
    std::string prefix;
};

TEST(SerialNumbering, PrefixesOfTheThreeStyles) {
    const PrefixCase cases[] = {
        {0, 1, "1."},   {0, 10, "10."},    {0, 99, "99."},    {0, 100, ""}, {0, 0, ""},
        {1, 1, "１．"}, {1, 12, "１２．"}, {1, 99, "９９．"}, {1, 100, ""}, {2, 1, "Ⅰ．"},
        {2, 4, "Ⅳ．"},  {2, 10, "Ⅹ．"},    {2, 11, ""},       {2, -1, ""},
    };
    for (const PrefixCase& c : cases)
        EXPECT_EQ(SerialPrefix(c.style, c.number), c.prefix) << "style " << c.style << " number " << c.number;
}

// The button shows each style as its first number.
TEST(SerialNumbering, TheCaptionIsTheStylesFirstPrefix) {
    for (int style = 0; style < kNumberingStyleCount; ++style)
        EXPECT_EQ(NumberingStyleCaption(style), SerialPrefix(style, 1));
    EXPECT_EQ(NumberingStyleCaption(3), "1.") << "the styles cycle";
}

// Every prefix that is written is recognised and taken off again.
TEST(SerialNumbering, EveryWrittenPrefixComesOffAgain) {
    for (int style = 0; style < kNumberingStyleCount; ++style) {
        for (int n = 1; n <= HighestSerialNumber(style); ++n) {
            const std::string name = SerialPrefix(style, n) + "事務机";
            ASSERT_TRUE(HasSerialPrefix(name)) << name;
            EXPECT_EQ(WithoutSerialPrefix(name), "事務机") << name;
        }
    }
}

struct DetectionCase {
    const char* name;
    std::string text;
    std::string without;  // equal to text when the name is not numbered
    friend std::ostream& operator<<(std::ostream& os, const DetectionCase& c) { return os << c.name; }
};

class SerialDetection : public ::testing::TestWithParam<DetectionCase> {};

TEST_P(SerialDetection, FindsAndRemovesThePrefix) {
    const DetectionCase& c = GetParam();
    EXPECT_EQ(HasSerialPrefix(c.text), c.without != c.text);
    EXPECT_EQ(WithoutSerialPrefix(c.text), c.without);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SerialDetection,
    // Every written prefix comes off again (above); here what else a name may start with.
    ::testing::Values(DetectionCase{"ThreeDigitsAreNoPrefix", "100.ボルト", "100.ボルト"},
                      DetectionCase{"ZeroIsNoPrefix", "0.ボルト", "0.ボルト"},
                      DetectionCase{"LeadingZeroIsNoPrefix", "01.ボルト", "01.ボルト"},
                      DetectionCase{"MixedWidthsAreNoPrefix", "１2．ナット", "１2．ナット"},
                      DetectionCase{"HalfWidthDigitWithFullWidthStop", "1．ナット", "1．ナット"},
                      DetectionCase{"FullWidthDigitWithHalfWidthStop", "１.ナット", "１.ナット"},
                      DetectionCase{"RomanElevenIsNoPrefix", "Ⅺ．座金", "Ⅺ．座金"},
                      DetectionCase{"RomanWithHalfWidthStop", "Ⅱ.座金", "Ⅱ.座金"},
                      DetectionCase{"RomanAlone", "Ⅲ", "Ⅲ"},
                      DetectionCase{"LeadingBlanksStay", "  3.ボルト", "  ボルト"},
                      DetectionCase{"LeadingFullWidthBlankStays", "　Ⅱ．座金", "　座金"},
                      DetectionCase{"NumberInsideIsNoPrefix", "ボルト1.", "ボルト1."},
                      DetectionCase{"DigitsWithoutStop", "12ボルト", "12ボルト"},
                      DetectionCase{"PrefixOnly", "7.", ""}, DetectionCase{"Empty", "", ""},
                      DetectionCase{"BlanksOnly", "   ", "   "},
                      // A leading decimal reads as a prefix, as the rule has it.
                      DetectionCase{"LeadingDecimal", "1.5mm鋼板", "5mm鋼板"}),
    [](const ::testing::TestParamInfo<DetectionCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
