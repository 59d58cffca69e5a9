#include "text/utf8.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace velmora {
namespace {

std::vector<char32_t> Decode(std::string_view text) {
    std::vector<char32_t> codes;
    for (const Utf8Char& c : CodePoints(text)) {
        codes.push_back(c.code);
    }
    return codes;
}

TEST(Utf8, DecodesEachSequenceLength) {
    EXPECT_EQ(Decode("aé漢😀"), (std::vector<char32_t>{U'a', U'é', U'漢', U'😀'}));
    EXPECT_EQ(CharCount("aé漢😀"), 4u);
    EXPECT_EQ(CharCount(""), 0u);
}

TEST(Utf8, RoundTripsBoundaryCodePoints) {
    for (const char32_t code :
         {0x00u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xD7FFu, 0xE000u, 0xFFFDu, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        const std::string bytes = ToUtf8(code);
        ASSERT_FALSE(bytes.empty());
        const Utf8Char decoded = DecodeUtf8At(bytes, 0);
        EXPECT_EQ(decoded.code, code);
        EXPECT_EQ(decoded.bytes.size(), bytes.size()) << std::hex << static_cast<unsigned>(code);
    }
}

TEST(Utf8, WritesReplacementForUnencodableValues) {
    EXPECT_EQ(ToUtf8(0xD800), "\uFFFD");
    EXPECT_EQ(ToUtf8(0x110000), "\uFFFD");
}

struct MalformedCase {
    const char* name;
    std::string text;
    std::vector<char32_t> codes;
    friend std::ostream& operator<<(std::ostream& os, const MalformedCase& c) { return os << c.name; }
};

class Utf8Malformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(Utf8Malformed, EachBadByteIsOneReplacementCharacter) {
    const MalformedCase& c = GetParam();
    EXPECT_EQ(Decode(c.text), c.codes);
    EXPECT_EQ(CharCount(c.text), c.codes.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Malformed,
    ::testing::Values(MalformedCase{"StrayContinuation", "a\x80z", {U'a', 0xFFFD, U'z'}},
                      MalformedCase{"OverlongTwoByte", "\xC0\x80", {0xFFFD, 0xFFFD}},
                      MalformedCase{"OverlongThreeByte", "\xE0\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD}},
                      MalformedCase{"EncodedSurrogate", "\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},
                      MalformedCase{"AboveUnicode", "\xF4\x90\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},
                      MalformedCase{"CutShortAtEnd", "a\xE3\x81", {U'a', 0xFFFD, 0xFFFD}},
                      MalformedCase{"CutShortBeforeAscii",
                                    "\xE3\x81"
                                    "a",
                                    {0xFFFD, 0xFFFD, U'a'}},
                      MalformedCase{"InvalidLeadByte",
                                    "\xFF"
                                    "あ",
                                    {0xFFFD, U'あ'}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8, LeftCharsNeverSplitsASequence) {
    const std::string text = "a漢😀b";
    std::vector<std::string_view> lefts;
    for (std::size_t count : {0, 1, 2, 3, 4, 99}) lefts.push_back(LeftChars(text, count));
    EXPECT_EQ(lefts, (std::vector<std::string_view>{"", "a", "a漢", "a漢😀", "a漢😀b", "a漢😀b"}));
}

TEST(Utf8, MidAndRightCountCharacters) {
    const std::string text = "C001漢字😀ab";
    EXPECT_EQ((std::vector<std::string_view>{MidChars(text, 1, 3), MidChars(text, 4, 3), MidChars(text, 7, 99),
                                             MidChars(text, 9, 1), MidChars(text, 20, 1)}),
              (std::vector<std::string_view>{"001", "漢字😀", "ab", "", ""}));
    EXPECT_EQ((std::vector<std::string_view>{RightChars(text, 3), RightChars(text, 0), RightChars(text, 99)}),
              (std::vector<std::string_view>{"😀ab", "", "C001漢字😀ab"}));
}

TEST(Utf8, IteratorReportsByteOffsets) {
    const std::string text = "aあ😀";
    std::vector<std::size_t> offsets;
    for (auto it = CodePoints(text).begin(); it != CodePoints(text).end(); ++it) {
        offsets.push_back(it.offset());
    }
    EXPECT_EQ(offsets, (std::vector<std::size_t>{0, 1, 4}));
    EXPECT_EQ(CharOffset(text, 2), 4u);
    EXPECT_EQ(CharOffset(text, 5), text.size());
}

}  // namespace
}  // namespace velmora
