#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTreeWidget>

#include "screens/entry/entry_fields.h"
#include "window_recorder.h"

namespace velmora {
namespace {

using test::RecordedWindow;

// The fields that each Tab from the focused one leads to.
std::vector<std::string> TabWalk(RecordedWindow& w, size_t tabs) {
    std::vector<std::string> walked;
    for (size_t i = 0; i < tabs; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked.push_back(w.focused());
    }
    return walked;
}

TEST(WindowControls, CaptionsAreTheSystemsTexts) {
    RecordedWindow w;
    auto text = [&](const std::string& name) {
        auto* widget = w.find(name);
        if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdString();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text().toStdString();
        return std::string("(missing " + name + ")");
    };
    const std::vector<std::pair<std::string, std::string>> captions = {
        {"itm_ttl_営業見積日付年", "見積日付"},
        {"btn_営業見積No", "見積No"},
        {"btn_参照営業見積No", "参照見積No"},
        {"btn_参照営業引合No", "参照引合No"},
        {"btn_得意先コード", "得意先"},
        {"btn_得意先御担当者コード", "御担当者"},
        {"btn_担当者コード", "担当者"},
        {"btn_部門コード", "部門"},
        {"btn_セクションコード", "所属"},
        {"btn_納品先コード", "納品先"},
        {"itm_ttl_定価掛率", "定価掛率"},
        {"itm_ttl_得意先消費税算出区分", "消費税算出"},
        {"itm_ttl_得意先消費税区分", "税込税抜"},
        {"itm_ttl_消費税表示区分", "消費税表示"},
        {"itm_ttl_合計表示区分", "総計表示"},
        {"itm_ttl_タイトル", "案件名"},
        {"itm_ttl_見積条件", "見積条件"},
        {"itm_ttl_見積納期", "納期"},
        {"itm_ttl_見積期限", "見積期限"},
        {"chb_Kasmeri", "封筒印刷"},
        {"itm_ttl_見積伝票備考A", "備考"},
        {"itm_ttl_見積納期日付年", "消費税日付"},
        // Page 1 columns and totals.
        {"itm_ttl_商品コード", "商品コード"},
        {"itm_ttl_商品名", "商品名"},
        {"itm_ttl_見積数量", "数量"},
        {"itm_ttl_見積単位", "単位"},
        {"itm_ttl_見積単価", "単価"},
        {"itm_ttl_見積金額", "金額"},
        {"itm_ttl_見積消費税", "消費税"},
        {"itm_ttl_税抜見積金額合計", "合計"},
        {"itm_ttl_税込見積金額合計", "税込合計"},
        // Page 2 columns.
        {"itm_ttl_仕入商品", "商品名"},
        {"itm_ttl_仕入数量", "仕入数"},
        {"itm_ttl_仕入単位", "単位"},
        {"itm_ttl_仕入単価", "単価"},
        {"itm_ttl_仕入金額", "金額"},
        {"itm_ttl_仕入消費税", "消費税"},
    };
    for (const auto& [name, caption] : captions) EXPECT_EQ(text(name), caption) << name;
    // Commands never take the focus from the field being typed.
    const std::pair<const char*, const char*> commands[] = {
        {"btn_画面クリア", "画面ｸﾘｱ"},     {"btn_帳票イメージ出力", "PDF出力"},
        {"btn_参照営業見積", "新見積書"},  {"btn_行複写", "前行複写"},
        {"btn_指定行ペースト", "貼付"},    {"btn_指定行連番", "Ｎo."},
        {"btn_フォルダ追加", "ﾌｫﾙﾀﾞ追加"},
    };
    for (const auto& [name, caption] : commands) {
        EXPECT_EQ(text(name), caption);
        EXPECT_EQ(w.find(name)->focusPolicy(), Qt::NoFocus) << name;
    }

    auto* tabs = w.find<QTabWidget>("tab_詳細");
    std::vector<std::string> pages;
    for (int i = 0; i < tabs->count(); ++i) pages.push_back(tabs->tabText(i).toStdString());
    EXPECT_EQ(pages, (std::vector<std::string>{"見積情報", "仕入情報", "対応履歴", "メモ", "付属書類"}));
    EXPECT_EQ(w.find<QTreeWidget>("List営業活動")->columnCount(), 9);
    auto* bar = w.find<QScrollBar>("scl_行");
    EXPECT_EQ(bar->orientation(), Qt::Vertical);
    EXPECT_EQ(bar->pageStep(), 10);
}

TEST(WindowControls, CodesAndFiguresAreTypedWithoutTheInputMethodTextsWithIt) {
    RecordedWindow w;
    const struct {
        const char* field;
        bool inputMethod;
        Qt::Alignment alignment;
        int maxLength;
    } cases[] = {
        {"営業見積日付年", false, Qt::AlignRight, 4}, {"得意先コード", false, Qt::AlignRight, 6},
        {"定価掛率", false, Qt::AlignRight, 6},       {"見積数量_2", false, Qt::AlignRight, 32767},
        {"商品コード_0", false, Qt::AlignLeft, 16},   {"得意先名称A", true, Qt::AlignLeft, 32767},
        {"商品名_9", true, Qt::AlignLeft, 32767},     {"見積伝票備考B", true, Qt::AlignLeft, 32767},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        auto* edit = w.find<QLineEdit>(c.field);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->testAttribute(Qt::WA_InputMethodEnabled), c.inputMethod);
        EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, c.alignment);
        EXPECT_EQ(edit->maxLength(), c.maxLength);
    }
    // Names read from the masters are shown, never typed or tabbed to.
    for (const char* name : {"部門名", "仕入商品名_3"}) {
        EXPECT_TRUE(w.find<QLineEdit>(name)->isReadOnly()) << name;
        EXPECT_EQ(w.find(name)->focusPolicy(), Qt::NoFocus) << name;
    }
    // The stops that close the header and a row's page take Tab and show nothing.
    for (const char* name : {"ヘッド終了", "頁1終了_0"}) {
        EXPECT_TRUE(w.find<QPushButton>(name)->text().isEmpty()) << name;
        EXPECT_LE(w.find(name)->width(), 1) << name;
        EXPECT_EQ(w.find(name)->focusPolicy(), Qt::TabFocus) << name;
    }
}

// Tab walks the typed fields in table order: the header, the sentinel that
// closes it, then row 0 field by field to its own sentinel and row 1.
TEST(WindowControls, TabWalksTheHeaderInTableOrderIntoTheRows) {
    RecordedWindow w;
    ASSERT_TRUE(w.active);
    w.window->FocusControl({"営業見積日付年"});
    ASSERT_EQ(w.focused(), "営業見積日付年");
    const std::vector<std::string> expected = {"営業見積日付月",   "営業見積日付日", "営業見積No",
                                               "参照営業見積No",   "参照営業引合No", "得意先コード",
                                               "得意先名称A",      "得意先名称B",    "得意先御担当者コード",
                                               "御担当者名",       "担当者コード",   "部門コード",
                                               "セクションコード", "納品先コード",   "納品先名称A",
                                               "納品先名称B",      "定価掛率",       "得意先消費税算出区分",
                                               "得意先消費税区分", "消費税表示区分", "合計表示区分",
                                               "タイトル",         "見積条件",       "見積納期",
                                               "見積期限",         "ヘッド終了",     "行区分_0",
                                               "商品コード_0",     "商品名_0",       "見積数量_0",
                                               "見積単位_0",       "見積単価_0",     "見積金額_0",
                                               "見積消費税_0",     "頁1終了_0",      "行区分_1"};
    EXPECT_EQ(TabWalk(w, expected.size()), expected);
    std::vector<std::string> reported;
    for (const auto& name : expected) reported.push_back("focus " + name);
    EXPECT_EQ(w.events.take(), reported);

    // Backwards out of row 0 the sentinel is met again.
    w.window->FocusControl({"行区分", 0});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(w.focused(), "ヘッド終了");
    EXPECT_EQ(w.events.take(), std::vector<std::string>{"focus ヘッド終了"});
}

TEST(WindowControls, TheLastRowAndPage2LeadToTheTail) {
    RecordedWindow w;
    ASSERT_TRUE(w.active);
    w.window->FocusControl({"見積消費税", 9});
    // Page 2 is not shown: its rows drop out of the chain.
    EXPECT_EQ(TabWalk(w, 4), (std::vector<std::string>{"頁1終了_9", "見積伝票備考A", "見積伝票備考B", "テイル終了"}));

    w.window->SetDetailPage(kPagePurchase);
    w.window->FocusControl({"仕入消費税", 4});
    // The supplier columns start switched off.
    EXPECT_EQ(TabWalk(w, 2), (std::vector<std::string>{"頁2終了_4", "仕入数量_5"}));
}

}  // namespace
}  // namespace velmora
