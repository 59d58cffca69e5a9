#include "text/byte_limit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "text/byte_length.h"
#include "text/utf8.h"

namespace velmora {
namespace {

struct LimitCase {
    const char* name;
    std::string text;
    int limit;
    std::string fitted;
    std::string notice;
    friend std::ostream& operator<<(std::ostream& os, const LimitCase& c) { return os << c.name; }
};

class ByteLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(ByteLimit, FitsAndNotices) {
    const LimitCase& c = GetParam();
    const std::string fitted = FitToBytes(c.text, c.limit);
    EXPECT_EQ(fitted, c.fitted);
    EXPECT_LE(ByteLength(fitted), static_cast<std::size_t>(std::max(c.limit, 0)));
    EXPECT_EQ(OverflowNotice(c.text, c.limit), c.notice);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ByteLimit,
    ::testing::Values(
        LimitCase{"FourKanjiThreeAsciiInTen", "営業見積abc", 10, "営業見積ab", "1文字オーバーです。"},
        LimitCase{"KanjiCrossingTheLimitIsDroppedWhole", "見積書", 5, "見積", "1文字オーバーです。"},
        LimitCase{"ExactFit", "見積ab", 6, "見積ab", ""}, LimitCase{"EmptyText", "", 10, "", ""},
        LimitCase{"EmptyTextZeroLimit", "", 0, "", ""},
        LimitCase{"ZeroLimit", "a", 0, "", "1文字オーバーです。"},
        LimitCase{"NegativeLimitActsAsZero", "ab", -3, "", "2文字オーバーです。"},
        LimitCase{"HalfWidthKanaIsOneByte", "ｶﾌﾞｼｷｶﾞｲｼｬ", 10, "ｶﾌﾞｼｷｶﾞｲｼｬ", ""},
        LimitCase{"HalfWidthKanaOverflow", "ｶﾌﾞｼｷｶﾞｲｼｬ", 4, "ｶﾌﾞｼ", "6文字オーバーです。"},
        LimitCase{"ExtensionCharactersAreTwoBytes", "①②③", 4, "①②", "1文字オーバーです。"},
        LimitCase{"OutsideCodePageIsOneByte", "😀😀見", 3, "😀😀", "1文字オーバーです。"},
        LimitCase{"CountsAllCharactersAfterTheFittingPart", "あいうえおかきくけこ", 3, "あ",
                  "9文字オーバーです。"},
        LimitCase{"AsciiAfterOverflowStillCounted", "見積abc", 3, "見", "4文字オーバーです。"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OverflowNotice, WritesLargeCountsInFull) {
    EXPECT_EQ(OverflowNotice(std::string(200, 'a'), 77), "123文字オーバーです。");
    EXPECT_EQ(OverflowNotice(std::string(1077, 'a'), 77), "1000文字オーバーです。");
}

TEST(ShowOverflowNotice, SetsTheNoticeAndClearsItWhenTheTextFits) {
    std::vector<std::string> shown;
    const auto setNotice = [&shown](const std::string& text) { shown.push_back(text); };
    ShowOverflowNotice("株式会社ヴェルモラ", 10, setNotice);
    ShowOverflowNotice("株式会社", 10, setNotice);
    EXPECT_EQ(shown, (std::vector<std::string>{"4文字オーバーです。", ""}));
}

TEST(FitToBytes, ResultIsTheLongestFittingPrefix) {
    const std::string text = "見積ｱ①😀ab漢字";
    for (int limit = 0; limit <= 16; ++limit) {
        const std::string fitted = FitToBytes(text, limit);
        ASSERT_EQ(text.compare(0, fitted.size(), fitted), 0) << limit;
        EXPECT_LE(ByteLength(fitted), static_cast<std::size_t>(limit));
        if (fitted.size() < text.size()) {
            // One more character would not fit.
            const std::size_t next = DecodeUtf8At(text, fitted.size()).bytes.size();
            EXPECT_GT(ByteLength(text.substr(0, fitted.size() + next)), static_cast<std::size_t>(limit));
        }
    }
}

}  // namespace
}  // namespace velmora
