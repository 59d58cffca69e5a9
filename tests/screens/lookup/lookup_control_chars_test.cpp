#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "data/sql_text.h"
#include "lookup_fakes.h"
#include "screens/lookup/lookup_presenter.h"

namespace velmora {
namespace {

using namespace std::string_literals;

struct PastedCase {
    const char* name;
    const char* field;
    std::string typed;
    std::string kept;
    friend std::ostream& operator<<(std::ostream& os, const PastedCase& c) { return os << c.name; }
};

class PastedSearchText : public testing::TestWithParam<PastedCase> {
protected:
    PastedSearchText() : windows(session, data, views, [] { return std::string("20240515"); }) {
        session.databaseKind = "A";
        data.answer("SELECT * FROM K取引状況区分", {"区分", "名称"}, {{"0", "取引中"}, {"3", "終了"}});
        data.answer("SELECT TOP 1000 M得意先", {"コード", "略称"}, {{"000012", "略12"}});
        entry.controls = {{"得意先コード", ""}, {"得意先名称A", ""}};
    }

    LookupSession session;
    test::FakeLookupData data;
    test::FakeViewFactory views;
    LookupWindows windows;
    test::FakeHost entry;
};

TEST_P(PastedSearchText, FieldKeepsNoControlCharacterAndNoBrokenByte) {
    const PastedCase& c = GetParam();
    windows.open(LookupWindowId::得意先一覧, entry, "", "得意先コード", "得意先名称A");
    test::FakeLookupView& v = *views.views.at(LookupWindowId::得意先一覧);
    v.type(c.field, c.typed);
    v.leave(c.field);
    EXPECT_EQ(v.fields[c.field], c.kept);
    v.presenter.onButton("btn_複合検索");
    const std::string& query = windows.find(LookupWindowId::得意先一覧)->lastQuery();
    EXPECT_NE(query.find(QuoteSql(c.kept)), std::string::npos) << query;
    EXPECT_TRUE(std::none_of(query.begin(), query.end(), [](char ch) {
        return static_cast<unsigned char>(ch) < 0x20 || static_cast<unsigned char>(ch) == 0xFF;
    })) << query;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PastedSearchText,
    testing::Values(PastedCase{"NulInKana", "カナ", "ﾔ\0ﾏ' OR 1=1 --"s, "ﾔﾏ' OR 1=1 --"},
                    PastedCase{"LineBreaksInKana", "カナ", "\tﾔﾏ\r\n", "ﾔﾏ"},
                    PastedCase{"BrokenByteInKana", "カナ", "ｱ\xFF" "ｲ", "ｱｲ"},
                    PastedCase{"NulInCode", "コード", "1\0" "2"s, "000012"},
                    // The two pasted lines are joined by a blank, which the postcode shows as its hyphen.
                    PastedCase{"NewlineInPostcode", "郵便番号", "123\n4567", "123-4567"}));

}  // namespace
}  // namespace velmora
