#include "lookup_screen.h"

namespace velmora::test {
namespace {

// The header's lookup windows: which window each field opens, with which
// condition, and where the focus goes after a choice.
class HeaderLookupsTest : public LookupScreenTest {
  protected:
    // The field's gesture: the window it opened and the query that window ran
    // with the condition it was handed.
    std::pair<LookupWindowId, std::string> OpenFrom(const std::string& field) {
        Click({field});
        FakeLookupView* window = Open({field});
        if (!window) return {LookupWindowId::得意先一覧, "(none opened)"};
        window->visible = false;
        return {opened, lookups->find(opened)->lastQuery()};
    }
};

TEST_P(HeaderLookupsTest, EachFieldOpensItsWindowWithItsCondition) {
    Fill({"得意先コード"}, "1");
    Fill({"納品先コード"}, "4");
    using W = LookupWindowId;
    struct Case {
        const char* field;
        W window;
        std::vector<const char*> conditions;  // each part of the opener's condition the query holds
    };
    const Case cases[] = {
        {"営業見積No", W::営業見積No一覧,
         {"T営業見積.番号基準日付 <> ''", "T営業見積.営業見積日付 >= '20251206'", "T営業見積.得意先コード = '000001'",
          "T営業見積.納品先コード = '000004'"}},
        {"参照営業引合No", W::営業引合No一覧,
         {"T営業引合.営業引合日付 >= '20251206'", "T営業引合.担当者コード = '00102'", "T営業引合.得意先コード = '000001'"}},
        {"得意先コード", W::得意先一覧, {"M得意先.コード >= '000001'"}},
        {"得意先御担当者コード", W::得意先御担当者一覧, {"M得意先御担当者.得意先コード = '000001'"}},
        {"担当者コード", W::担当者一覧, {"M担当者.在籍区分 = '0'"}},
        {"部門コード", W::部門一覧, {}},
        {"納品先コード", W::納品先一覧,
         {"M納品先.在庫場所区分 <> '1'", "M納品先.コード >= '000004'",
          "(M納品先.得意先コード = '000001' OR M納品先.得意先コード = '')"}},
        {"タイトル", W::営業見積タイトル一覧, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        auto [window, query] = OpenFrom(c.field);
        EXPECT_EQ(window, c.window);
        for (const char* part : c.conditions) EXPECT_NE(query.find(part), std::string::npos) << part << "\n" << query;
    }
    presenter->CheckToggled({"chb_得意先対応先"}, true);
    auto [window, query] = OpenFrom("得意先コード");
    EXPECT_EQ(window, W::対応先一覧);
    EXPECT_NE(query.find("M対応先.コード >= '000001'"), std::string::npos) << query;
}

// The lookups search within the office of the quotation on screen.
TEST_P(HeaderLookupsTest, TheLookupsFollowTheQuotationsOffice) {
    EXPECT_EQ(session.currentOfficeCode, "001");
    quotation().header.事業所コード = "002";
    screen().FullRedraw();
    EXPECT_EQ(session.currentOfficeCode, "002");
}

// A choice in the staff window reaches the field and is read as if typed;
// the focus goes on to the next field that can take it.
TEST_P(HeaderLookupsTest, AChoiceIsReadLikeATypedCode) {
    OpenFrom("部門コード");
    FakeLookupView* list = views.views[LookupWindowId::部門一覧];
    ASSERT_FALSE(list->rows.empty());
    list->presenter.onRowChosen(1);
    EXPECT_EQ(quotation().header.部門コード, list->rows[1].text());
    EXPECT_EQ(Text({"部門名"}), quotation().header.部門名);
    EXPECT_FALSE(quotation().header.部門名.empty());
    EXPECT_EQ(view.focus, (Control{"部門コード"})) << "部門名 takes no focus: the nearest field before it";
    EXPECT_TRUE(view.windowEnabled);
}

INSTANTIATE_TEST_SUITE_P(Engines, HeaderLookupsTest, testing::Values(Engine::SQLite, Engine::PostgreSQL), EngineName);

}  // namespace
}  // namespace velmora::test
