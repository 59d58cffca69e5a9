#include "text/byte_length.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <ostream>
#include <string>

#include "text/utf8.h"

namespace velmora {
namespace {

// glibc's converter as the reference for what code page 932 can write.
class Cp932Converter {
  public:
    Cp932Converter() : m_cd(iconv_open("CP932", "UTF-8")) {}
    ~Cp932Converter() {
        if (ok()) {
            iconv_close(m_cd);
        }
    }
    Cp932Converter(const Cp932Converter&) = delete;
    Cp932Converter& operator=(const Cp932Converter&) = delete;

    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Bytes of one character, 0 when the converter refuses it or writes
    // nothing for it.
    std::size_t Single(char32_t code) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string input = ToUtf8(code);
        char* in = input.data();
        std::size_t inLeft = input.size();
        char buffer[16];
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(m_cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
            return 0;
        }
        return sizeof buffer - outLeft;
    }

  private:
    iconv_t m_cd;
};

struct CharCase {
    const char* text;
    int bytes;
    friend std::ostream& operator<<(std::ostream& os, const CharCase& c) { return os << c.text; }
};

class CharByteLengthCase : public ::testing::TestWithParam<CharCase> {};

TEST_P(CharByteLengthCase, CountsCodePage932Bytes) {
    const auto& [text, bytes] = GetParam();
    const std::string s = text;
    ASSERT_EQ(CharCount(s), 1u) << text;
    EXPECT_EQ(CharByteLength(DecodeUtf8At(s, 0).code), bytes) << text;
    EXPECT_EQ(ByteLength(s), static_cast<std::size_t>(bytes)) << text;
}

// A few of each kind, stated here as well as by the converter below: single
// byte (ASCII, half-width katakana, folded ¥), double byte (JIS X 0208, NEC
// and IBM extensions, user-defined area) and not in the code page ("?").
INSTANTIATE_TEST_SUITE_P(ByteLength, CharByteLengthCase,
                         ::testing::Values(CharCase{"A", 1}, CharCase{"ｱ", 1}, CharCase{"¥", 1},
                                           CharCase{"漢", 2}, CharCase{"〜", 2}, CharCase{"①", 2},
                                           CharCase{"髙", 2}, CharCase{"\uE757", 2}, CharCase{"丂", 1},
                                           CharCase{"\uE758", 1}, CharCase{"😀", 1}));

TEST(ByteLength, EmptyTextHasNoBytes) {
    EXPECT_EQ(ByteLength(""), 0u);
}

TEST(ByteLength, MalformedByteCountsOne) {
    EXPECT_EQ(ByteLength("漢\xFF"
                         "a"),
              4u);
}

// Every code point the converter writes with two bytes must count two, and
// every other one must count one: this checks the whole committed table.
TEST(ByteLength, TableMatchesIconvForEveryCodePoint) {
    Cp932Converter converter;
    ASSERT_TRUE(converter.ok()) << "iconv has no CP932 converter";
    int mismatches = 0;
    int doubleByte = 0;
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) {
            continue;
        }
        const int expected = converter.Single(code) == 2 ? 2 : 1;
        doubleByte += expected == 2 ? 1 : 0;
        if (CharByteLength(code) != expected && ++mismatches <= 10) {
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(code) << " counts "
                          << CharByteLength(code) << ", iconv writes " << expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // Sanity of the reference itself: JIS X 0208, the extensions and the
    // user-defined area together hold more than nine thousand characters.
    EXPECT_GT(doubleByte, 9000);
}

}  // namespace
}  // namespace velmora
