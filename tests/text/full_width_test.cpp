#include "text/full_width.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "text/byte_length.h"
#include "text/utf8.h"

namespace velmora {
namespace {

struct WidthCase {
    const char* name;
    std::string text;
    std::string expected;
    friend std::ostream& operator<<(std::ostream& os, const WidthCase& c) { return os << c.name; }
};

class ToFullWidthCase : public ::testing::TestWithParam<WidthCase> {};

TEST_P(ToFullWidthCase, Converts) {
    const WidthCase& c = GetParam();
    EXPECT_EQ(ToFullWidth(c.text), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToFullWidthCase,
    ::testing::Values(
        WidthCase{"Empty", "", ""}, WidthCase{"VoicedPairIsOneCharacter", "ｶﾞｽ", "ガス"},
        WidthCase{"KanaAndDigits", "ｱｲｳ123", "アイウ１２３"}, WidthCase{"KanjiUnchanged", "漢字", "漢字"},
        WidthCase{"Letters", "AZaz Velmora", "ＡＺａｚ Ｖｅｌｍｏｒａ"},
        WidthCase{"Symbols", "!#$%&'()=~|\\-+*[]@:;.,/?<>{}_",
                  "！＃＄％＆’（）＝～｜￥－＋＊［］＠：；．，／？＜＞｛｝＿"},
        WidthCase{"SymbolsWithoutFullWidthFormStay", " \"^`", " \"^`"},
        WidthCase{
            "AllPlainKana", "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝ",
            "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン"},
        WidthCase{"SmallKanaAndLongVowel", "ｧｨｩｪｫｯｬｭｮｰ", "ァィゥェォッャュョー"},
        WidthCase{"AllVoiced", "ｳﾞｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ",
                  "ヴガギグゲゴザジズゼゾダヂヅデドバビブベボ"},
        WidthCase{"AllSemiVoiced", "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", "パピプペポ"},
        WidthCase{"MarkWithoutFullWidthPairStays", "ｶﾟﾜﾞｱﾞｯﾞﾅﾟ", "カﾟワﾞアﾞッﾞナﾟ"},
        WidthCase{"LoneMarksStay", "ﾞﾟ", "ﾞﾟ"}, WidthCase{"MarkAfterLetterStays", "Aﾞ", "Ａﾞ"},
        WidthCase{"LongVowelDoesNotTakeMark", "ｰﾞ", "ーﾞ"},
        WidthCase{"MarkOnlyJoinsThePrecedingKana", "ﾊﾞﾟ", "バﾟ"},
        WidthCase{"HalfWidthPunctuationStays", "｡｢｣､･", "｡｢｣､･"},
        WidthCase{"FullWidthInputUnchanged", "ＡＢＣ　ガ①", "ＡＢＣ　ガ①"},
        WidthCase{"LineHeading", "No.12", "Ｎｏ．１２"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every printable ASCII character with a full-width form becomes exactly one
// two-byte character; the four without one stay single-byte.
TEST(ToFullWidth, EveryConvertedAsciiCharacterBecomesOneDoubleByteCharacter) {
    for (char c = 0x21; c < 0x7F; ++c) {
        const std::string wide = ToFullWidth(std::string(1, c));
        ASSERT_EQ(CharCount(wide), 1u) << c;
        const bool kept = c == '"' || c == '^' || c == '`';
        EXPECT_EQ(ByteLength(wide), kept ? 1u : 2u) << c;
    }
}

// Kana typed through an input method come back as the suite stores them.
TEST(ToHalfWidthKana, TurnsTypedKanaIntoStoredKana) {
    const std::pair<const char*, const char*> cases[] = {
        {"トウホウ", "ﾄｳﾎｳ"},
        {"とうほう", "ﾄｳﾎｳ"},
        {"ガギグゲゴ　パピプペポ", "ｶﾞｷﾞｸﾞｹﾞｺﾞ ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"},
        {"ヴぁっきゃー", "ｳﾞｧｯｷｬｰ"},
        {"ヮヵヶヰヱゔ", "ﾜｶｹｲｴｳﾞ"},
        {"「カ」、。・", "｢ｶ｣､｡･"},
        {"ＡＢＣ１２３（株）", "ABC123(株)"},
        // Already stored form, and what has no kana form, stay.
        {"ﾄｳﾎｳ ｼｮｳｼﾞ", "ﾄｳﾎｳ ｼｮｳｼﾞ"},
        {"東邦①𠮷", "東邦①𠮷"},
    };
    for (const auto& [typed, stored] : cases) EXPECT_EQ(ToHalfWidthKana(typed), stored) << typed;
    // Every half-width kana survives the trip to full width and back.
    const std::string all = "ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝｳﾞｶﾞｻﾞﾀﾞﾊﾞﾊﾟﾎﾟ";
    EXPECT_EQ(ToHalfWidthKana(ToFullWidth(all)), all);
}

}  // namespace
}  // namespace velmora
