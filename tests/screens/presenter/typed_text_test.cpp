#include "screen_fixture.h"

#include "screens/entry/entry_fields.h"
#include "screens/entry/entry_presenter.h"

namespace velmora::test {
namespace {

using namespace std::string_literals;

using TypedTextTest = ScreenTest;

// What a pasted text leaves in the quotation once its field is left: no NUL or
// other control character; the memo alone keeps its tabs and line breaks.
TEST_P(TypedTextTest, ControlCharactersAreDroppedAsTheFieldIsLeft) {
    struct Case {
        const char* what;
        const char* field;
        int row;
        std::string typed;
        std::string kept;
    };
    const Case cases[] = {
        {"title", "タイトル", -1, "見積\0件名\t一式\n"s, "見積件名一式"},
        {"title, broken byte", "タイトル", -1, "件名\xFF\x1b"s, "件名"},
        {"memo", "営業見積メモ", -1, "1行目\r\n2行目\t\0終\x01"s, "1行目\r\n2行目\t終"},
        {"item name", "商品名", 0, "ケーブル\0' OR 1=1 --\n"s, "ケーブル' OR 1=1 --"},
        {"unit", "見積単位", 0, "\t本\x7f"s, "本"},
        {"title, pasted lines", "タイトル", -1, "東京本社\r\n大阪支店\n"s, "東京本社 大阪支店"},
        {"item name, pasted lines", "商品名", 0, "LANケーブル\n3m\r\n\r\n青"s, "LANケーブル 3m 青"},
    };
    FillHeader();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string name = c.field;
        if (name == "営業見積メモ") presenter->PageChosen(kPageMemo);
        Fill({name, c.row}, c.typed);
        const QuotationHeader& h = quotation().header;
        const QuotationLine& l = quotation().lines[0];
        const std::string& stored = name == "タイトル"     ? h.タイトル
                                    : name == "営業見積メモ" ? h.営業見積メモ
                                    : name == "商品名"       ? l.商品名
                                                                     : l.見積単位;
        EXPECT_EQ(stored, c.kept);
    }
}

// A row's name typed past its limit: the notice counts the characters too
// many while typing and goes once the name is left and cut to fit.
TEST_P(TypedTextTest, TheOverflowNoticeGoesWhenTheTextIsCut) {
    struct Case {
        const char* field;
        const char* next;
        int kept;  // characters of 長 that fit
        const char* notice;
    };
    const Case cases[] = {
        {"商品名", "見積数量", 30, "2文字オーバーです。"},
        {"仕入先名称A", "仕入数量", 20, "12文字オーバーです。"},
    };
    FillHeader();
    presenter->PageChosen(kPagePurchase);
    Press("btn_仕入先表示");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        std::string typed, kept;
        for (int i = 0; i < 32; ++i) typed += "長";
        for (int i = 0; i < c.kept; ++i) kept += "長";
        Click({c.field, 0});
        Type(typed);
        EXPECT_EQ(view.notice, c.notice);
        Click({c.next, 0});
        EXPECT_EQ(view.notice, "");
        EXPECT_EQ(Text({c.field, 0}), kept);
    }
    EXPECT_EQ(quotation().lines[0].商品名.size(), 90u);
}

INSTANTIATE_TEST_SUITE_P(Engines, TypedTextTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
