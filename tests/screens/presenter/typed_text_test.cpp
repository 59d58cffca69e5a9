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

INSTANTIATE_TEST_SUITE_P(Engines, TypedTextTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
