#include "text/control_chars.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace velmora {
namespace {

using namespace std::string_literals;

struct StripCase {
    const char* name;
    std::string text;
    std::string singleLine;
    std::string memo;
    friend std::ostream& operator<<(std::ostream& os, const StripCase& c) { return os << c.name; }
};

class StripControl : public testing::TestWithParam<StripCase> {};

TEST_P(StripControl, RemovesControlsAndBrokenBytes) {
    const StripCase& c = GetParam();
    EXPECT_EQ(StripControlCharacters(c.text), c.singleLine);
    EXPECT_EQ(StripControlCharacters(c.text, LineBreaks::Remove), c.singleLine);
    EXPECT_EQ(StripControlCharacters(c.text, LineBreaks::Keep), c.memo);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StripControl,
    testing::Values(
        StripCase{"Empty", "", "", ""},
        StripCase{"PastedNul", "ミツワ\0' OR 1=1 --"s, "ミツワ' OR 1=1 --", "ミツワ' OR 1=1 --"},
        StripCase{"TabAndNewline", "納期\t2週間\r\n以内\n", "納期2週間 以内", "納期\t2週間\r\n以内\n"},
        // Pasted lines are joined by one blank, whatever the break and however many.
        StripCase{"PastedLines", "東京都\r千代田区\n\n丸の内\r\n1-1", "東京都 千代田区 丸の内 1-1",
                  "東京都\r千代田区\n\n丸の内\r\n1-1"},
        StripCase{"BreaksAtTheEdges", "\r\n\n見積書\r\n", "見積書", "\r\n\n見積書\r\n"},
        StripCase{"OtherC0", "a\x01\x07\x08\x0b\x0c\x1b[31m\x1f" "b", "a[31mb", "a[31mb"},
        StripCase{"Delete", "ab\x7f" "c", "abc", "abc"},
        // Characters above the controls stay, full-width blank and backslash included.
        StripCase{"KeptCharacters", " \\ ～ 　 ｶﾅ ￥ \xC2\xA0", " \\ ～ 　 ｶﾅ ￥ \xC2\xA0", " \\ ～ 　 ｶﾅ ￥ \xC2\xA0"},
        // A replacement character that was typed is a character like any other.
        StripCase{"TypedReplacementChar", "a\xEF\xBF\xBD" "b", "a\xEF\xBF\xBD" "b", "a\xEF\xBF\xBD" "b"},
        StripCase{"CodePage932Bytes", "\x83\x7E\x83\x63\x83\x8F", "~c", "~c"},
        StripCase{"StrayContinuation", "a\x80" "b\xBF", "ab", "ab"},
        StripCase{"Overlong", "\xC0\xAF" "x\xE0\x80\xAF", "x", "x"},
        StripCase{"Surrogate", "\xED\xA0\x80" "z", "z", "z"},
        StripCase{"AboveUnicode", "\xF4\x90\x80\x80" "q", "q", "q"},
        StripCase{"CutShortAtEnd", "見積\xE8\xA6", "見積", "見積"},
        StripCase{"CutShortBeforeNewline", "\xE8\n見", "見", "\n見"},
        StripCase{"FourByte", "𠮷野家\x00"s, "𠮷野家", "𠮷野家"}));

}  // namespace
}  // namespace velmora
