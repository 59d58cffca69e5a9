#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTreeWidget>

#include "screens/entry/entry_fields.h"
#include "window_recorder.h"

namespace velmora {
namespace {

using test::RecordedWindow;

std::string RowName(const std::string& name, int row) {
    return name + "_" + std::to_string(row);
}

// Every field of the tables is on the window under its name, as the widget
// its kind asks for; row fields once per row.
TEST(WindowControls, EveryFieldOfTheTablesIsAWidgetOfItsKind) {
    RecordedWindow w;
    auto check = [&](const EntryField& f, const std::string& name) {
        SCOPED_TRACE(name);
        QWidget* widget = w.find(name);
        ASSERT_NE(widget, nullptr);
        switch (f.kind) {
            case EntryFieldKind::List:
                EXPECT_NE(qobject_cast<QComboBox*>(widget), nullptr);
                break;
            case EntryFieldKind::Check:
                EXPECT_NE(qobject_cast<QCheckBox*>(widget), nullptr);
                break;
            case EntryFieldKind::Memo:
                EXPECT_NE(qobject_cast<QPlainTextEdit*>(widget), nullptr);
                break;
            case EntryFieldKind::Sentinel:
                // Takes the focus by Tab and shows nothing.
                EXPECT_NE(qobject_cast<QPushButton*>(widget), nullptr);
                EXPECT_TRUE(static_cast<QPushButton*>(widget)->text().isEmpty());
                EXPECT_LE(widget->width(), 1);
                EXPECT_EQ(widget->focusPolicy(), Qt::TabFocus);
                break;
            case EntryFieldKind::Display: {
                auto* edit = qobject_cast<QLineEdit*>(widget);
                ASSERT_NE(edit, nullptr);
                EXPECT_TRUE(edit->isReadOnly());
                EXPECT_EQ(edit->focusPolicy(), Qt::NoFocus);
                break;
            }
            default:
                EXPECT_NE(qobject_cast<QLineEdit*>(widget), nullptr);
        }
    };
    for (const auto* table : {&HeaderFields(), &TailFields(), &MemoFields()})
        for (const EntryField& f : *table) {
            check(f, f.name);
            if (!f.button.empty()) {
                EXPECT_NE(w.find<QPushButton>(f.button), nullptr) << f.button;
            }
        }
    for (int row = 0; row < kVisibleRows; ++row)
        for (const EntryField& f : RowFields()) {
            check(f, RowName(f.name, row));
            if (!f.button.empty()) {
                EXPECT_NE(w.find<QPushButton>(RowName(f.button, row)), nullptr) << f.button;
            }
        }
}

TEST(WindowControls, ButtonsPanelsListsAndTotalsCarryTheirNames) {
    RecordedWindow w;
    std::vector<std::string> names = {
        "prg_ttl",          "manualpanel",      "bak_得意先",       "bak_御担当者",     "bak_納品先",
        "tab_詳細",         "scl_行",           "お知らせ",         "List営業活動",     "List付属書類",
        "見積数量合計",     "税抜見積金額合計", "見積消費税合計",   "税込見積金額合計", "仕入数量合計",
        "税抜仕入金額合計", "仕入消費税合計",   "税込仕入金額合計", "itm_ttl_仕入商品"};
    for (const auto* buttons : {&CommandButtons(), &LineCommandButtons(), &AttachmentButtons()})
        for (const EntryButton& b : *buttons) {
            names.push_back(b.name);
            auto* button = w.find<QPushButton>(b.name);
            ASSERT_NE(button, nullptr) << b.name;
            EXPECT_EQ(button->text().toStdString(), b.caption);
            // Commands never take the focus from the field being typed.
            EXPECT_EQ(button->focusPolicy(), Qt::NoFocus) << b.name;
        }
    for (int row = 0; row < kVisibleRows; ++row)
        for (const char* name : {"Lab_行No", "bak_dtla", "bak_dtlb", "bak_dtlc"})
            names.push_back(RowName(name, row));
    for (const std::string& name : names) EXPECT_NE(w.find(name), nullptr) << name;

    auto* tree = w.find<QTreeWidget>("List営業活動");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->columnCount(), 9);
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    auto* bar = w.find<QScrollBar>("scl_行");
    EXPECT_EQ(bar->orientation(), Qt::Vertical);
    EXPECT_EQ(bar->pageStep(), 10);
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

    auto* tabs = w.find<QTabWidget>("tab_詳細");
    std::vector<std::string> pages;
    for (int i = 0; i < tabs->count(); ++i) pages.push_back(tabs->tabText(i).toStdString());
    EXPECT_EQ(pages, (std::vector<std::string>{"見積情報", "仕入情報", "対応履歴", "メモ", "付属書類"}));
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
    std::vector<std::string> walked, reported;
    for (size_t i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked.push_back(w.focused());
    }
    EXPECT_EQ(walked, expected);
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
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(w.focused(), "頁1終了_9");
    // Page 2 is not shown: its rows drop out of the chain.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(w.focused(), "見積伝票備考A");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(w.focused(), "テイル終了");

    w.window->SetDetailPage(kPagePurchase);
    w.window->FocusControl({"仕入消費税", 4});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(w.focused(), "頁2終了_4");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(w.focused(), "仕入数量_5");  // the supplier columns start switched off
}

}  // namespace
}  // namespace velmora
