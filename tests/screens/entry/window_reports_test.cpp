#include <gtest/gtest.h>

#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>

#include "screens/entry/entry_fields.h"
#include "window_recorder.h"

namespace velmora {
namespace {

using Log = std::vector<std::string>;

class WindowReports : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(w.active); }
    QWidget* widget(const std::string& name) { return w.find(name); }
    void focus(const std::string& name, int row = -1) {
        w.window->FocusControl({name, row});
        ASSERT_EQ(w.events.take(), Log{});
    }
    // A click on a spot of a panel that no field covers.
    void clickAt(QWidget* target, QPoint at) { QTest::mouseClick(target, Qt::LeftButton, {}, at); }
    void wheel(QWidget* target, int angle) {
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }

    test::RecordedWindow w;
};

TEST_F(WindowReports, EnterMovesOnLikeTabExceptInTheMemo) {
    // Return is tried through the window by the acceptance test; here the keypad's Enter.
    focus("得意先名称A");
    QTest::keyClick(widget("得意先名称A"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(w.focused(), "得意先名称B");
    EXPECT_EQ(w.events.take(), Log{"focus 得意先名称B"});

    w.window->SetDetailPage(kPageMemo);
    focus("営業見積メモ");
    QTest::keyClicks(widget("営業見積メモ"), "a");
    QTest::keyClick(widget("営業見積メモ"), Qt::Key_Return);
    QTest::keyClicks(widget("営業見積メモ"), "b");
    EXPECT_EQ(w.focused(), "営業見積メモ");
    EXPECT_EQ(w.window->Text({"営業見積メモ"}), "a\nb");
    EXPECT_EQ(w.events.take(), Log{});
}

TEST_F(WindowReports, AFieldOffTheTabChainIsPassedByTabButTakesAClick) {
    w.window->SetTabStop({"得意先名称A"}, false);
    focus("得意先コード");
    QTest::keyClick(widget("得意先コード"), Qt::Key_Tab);
    EXPECT_EQ(w.focused(), "得意先名称B");
    QTest::mouseClick(widget("得意先名称A"), Qt::LeftButton);
    EXPECT_EQ(w.focused(), "得意先名称A");
    EXPECT_EQ(w.events.take(), (Log{"focus 得意先名称B", "focus 得意先名称A"}));

    w.window->SetTabStop({"得意先名称A"}, true);
    focus("得意先コード");
    QTest::keyClick(widget("得意先コード"), Qt::Key_Tab);
    EXPECT_EQ(w.focused(), "得意先名称A");
}

// F2 and a double-click are lookup gestures too (the lone Ctrl is tried
// through the window elsewhere).
TEST_F(WindowReports, TheLookupGesturesAreReported) {
    focus("得意先コード");
    QTest::keyClick(widget("得意先コード"), Qt::Key_F2);
    QTest::mouseDClick(widget("商品コード_3"), Qt::LeftButton);
    EXPECT_EQ(w.events.take(), (Log{"gesture 得意先コード", "focus 商品コード_3", "gesture 商品コード_3"}));
}

TEST_F(WindowReports, ButtonsAndFunctionKeysAreReportedByName) {
    for (const char* button : {"btn_登録", "btn_商品コード_3", "btn_得意先コード", "btn_指定行連番"})
        QTest::mouseClick(w.find<QPushButton>(button), Qt::LeftButton);
    EXPECT_EQ(w.events.take(), (Log{"button btn_登録", "button btn_商品コード_3", "button btn_得意先コード",
                                    "button btn_指定行連番"}));

    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_F3, "btn_前No"},  {Qt::Key_F4, "btn_次No"},     {Qt::Key_F5, "btn_画面クリア"},
        {Qt::Key_F8, "btn_削除"},  {Qt::Key_F9, "btn_プレビュ"}, {Qt::Key_F10, "btn_印刷"},
        {Qt::Key_F12, "btn_登録"},
    };
    focus("タイトル");
    for (const auto& [key, button] : keys) {
        QTest::keyClick(widget("タイトル"), key);
        EXPECT_EQ(w.events.take(), Log{std::string("button ") + button}) << button;
    }
    EXPECT_EQ(w.focused(), "タイトル");

    // A key does what a click would: nothing while its button is disabled.
    w.window->SetEnabled({"btn_削除"}, false);
    QTest::keyClick(widget("タイトル"), Qt::Key_F8);
    EXPECT_EQ(w.events.take(), Log{});
}

TEST_F(WindowReports, ChecksListsEditsPagesAndPanelsAreReported) {
    auto* envelope = w.find<QCheckBox>("chb_Kasmeri");
    QTest::mouseClick(envelope, Qt::LeftButton, {}, QPoint(8, envelope->height() / 2));
    EXPECT_EQ(w.events.take(), (Log{"focus chb_Kasmeri", "check chb_Kasmeri on"}));

    w.window->SetListItems("行区分名称", {"なし", "明細", "小計"});
    w.window->SetListIndex({"行区分名称", 4}, 1);
    QTest::keyClick(widget("行区分名称_4"), Qt::Key_Down);
    EXPECT_EQ(w.events.take(), Log{"list 行区分名称_4 2"});
    EXPECT_EQ(w.find<QComboBox>("行区分名称_7")->count(), 3);

    focus("商品名", 2);
    QTest::keyClicks(widget("商品名_2"), "ab");
    EXPECT_EQ(w.events.take(), (Log{"edited 商品名_2 a", "edited 商品名_2 ab"}));
    focus("商品コード", 2);
    QTest::keyClicks(widget("商品コード_2"), "12");
    EXPECT_EQ(w.events.take(), Log{});

    auto* tabs = w.find<QTabWidget>("tab_詳細");
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(kPageMemo).center());
    EXPECT_EQ(tabs->currentIndex(), kPageMemo);
    EXPECT_EQ(w.events.take(), Log{"page 3"});

    w.window->SetDetailPage(kPageSales);
    QWidget* name = widget("商品名_4");
    QWidget* panel = widget("bak_dtlb_4");
    clickAt(panel, panel->mapFrom(name->parentWidget(), name->geometry().topLeft()) - QPoint(2, -3));
    clickAt(widget("Lab_行No_6"), {2, 2});
    clickAt(widget("bak_得意先"), {1, 1});
    clickAt(widget("itm_ttl_タイトル"), {2, 2});
    clickAt(widget("manualpanel"), {2, 2});
    EXPECT_EQ(w.events.take(), (Log{"panel bak_dtlb_4", "panel Lab_行No_6", "panel bak_得意先",
                                    "panel itm_ttl_タイトル", "panel manualpanel"}));
}

TEST_F(WindowReports, TheWheelOverTheRowsAndTheScrollBarScroll) {
    wheel(widget("商品名_5"), -240);
    wheel(widget("行区分名称_2"), 120);
    EXPECT_EQ(w.events.take(), (Log{"wheel 2", "wheel -1"}));
    // Half notches add up.
    wheel(widget("見積数量_1"), -60);
    EXPECT_EQ(w.events.take(), Log{});
    wheel(widget("見積数量_1"), -60);
    EXPECT_EQ(w.events.take(), Log{"wheel 1"});
    // The list under the wheel keeps its entry.
    w.window->SetListItems("行区分名称", {"なし", "明細", "小計"});
    w.window->SetListIndex({"行区分名称", 2}, 1);
    wheel(widget("行区分名称_2"), -120);
    EXPECT_EQ(w.find<QComboBox>("行区分名称_2")->currentIndex(), 1);
    w.events.take();

    auto* bar = w.find<QScrollBar>("scl_行");
    w.window->SetScrollBar(true, 20, 3);
    EXPECT_EQ((std::vector<int>{bar->value(), bar->maximum(), bar->isEnabled()}), (std::vector<int>{3, 20, 1}));
    EXPECT_EQ(w.events.take(), Log{});
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 4));
    EXPECT_EQ(w.events.take(), Log{"scroll 4"});
}

// What the presenter does to the window is never reported back to it.
TEST_F(WindowReports, ThePresentersOwnDrawingIsNotReported) {
    focus("商品コード", 0);
    const std::vector<std::pair<const char*, std::function<void(EntryWindow&)>>> drawings = {
        {"FocusControl", [](EntryWindow& v) { v.FocusControl({"タイトル"}); }},
        {"SetText",
         [](EntryWindow& v) {
             v.SetText({"商品名", 3}, "ボルト");
         }},
        {"SetChecked",
         [](EntryWindow& v) {
             v.SetChecked({"chb_計区分", 3}, true);
         }},
        {"SetListIndex", [](EntryWindow& v) { v.SetListIndex({"得意先消費税区分名称"}, 1); }},
        {"SetScrollBar", [](EntryWindow& v) { v.SetScrollBar(true, 30, 7); }},
        // Each of these takes the focus from where it is; Qt moves it on.
        {"SetEnabled", [](EntryWindow& v) { v.SetEnabled({"タイトル"}, false); }},
        {"FocusControl",
         [](EntryWindow& v) {
             v.FocusControl({"商品名", 3});
         }},
        {"SetDetailPage", [](EntryWindow& v) { v.SetDetailPage(kPagePurchase); }},
        {"SetDetailEnabled", [](EntryWindow& v) { v.SetDetailEnabled(false); }},
        {"Pause", [](EntryWindow& v) { v.Pause(20); }},
    };
    for (const auto& [what, draw] : drawings) {
        draw(*w.window);
        EXPECT_EQ(w.events.take(), Log{}) << what;
    }
    EXPECT_EQ(w.window->Text({"商品名", 3}), "ボルト");
    EXPECT_TRUE(w.find<QCheckBox>("chb_計区分_3")->isChecked());
    EXPECT_EQ(w.find<QTabWidget>("tab_詳細")->currentIndex(), kPagePurchase);
}

// A page changed by the user hands the focus to a field of the new page;
// only the page is reported, so the presenter places the focus itself.
TEST_F(WindowReports, APageChangeReportsThePageNotTheFieldQtFocuses) {
    focus("見積数量", 3);
    auto* tabs = w.find<QTabWidget>("tab_詳細");
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(kPagePurchase).center());
    EXPECT_EQ(w.events.take(), Log{"page 1"});
}

TEST_F(WindowReports, ColoursVisibilityAndCaptionsFollowThePresenter) {
    auto* tax = w.find<QLineEdit>("見積消費税_1");
    const QColor base = tax->palette().color(QPalette::Base);
    w.window->SetBackColour({"見積消費税", 1}, Colour::Rgb(255, 255, 192));
    EXPECT_EQ(tax->palette().color(QPalette::Base), QColor(255, 255, 192));
    w.window->SetBackColour({"見積消費税", 1}, Colour::Default());
    EXPECT_EQ(tax->palette().color(QPalette::Base), base);

    auto* button = w.find<QPushButton>("btn_得意先コード");
    const QColor text = button->palette().color(QPalette::ButtonText);
    w.window->SetTextColour({"btn_得意先コード"}, Colour::Rgb(192, 64, 0));
    EXPECT_EQ(button->palette().color(QPalette::ButtonText), QColor(192, 64, 0));
    w.window->SetTextColour({"btn_得意先コード"}, Colour::Default());
    EXPECT_EQ(button->palette().color(QPalette::ButtonText), text);

    w.window->SetCaption({kPurchaseColumnCaption}, "対応先区分/仕入先コード/名称");
    EXPECT_EQ(w.window->Text({kPurchaseColumnCaption}), "対応先区分/仕入先コード/名称");
    w.window->SetDetailPage(kPagePurchase);
    w.window->SetVisible({"仕入先コード", 2}, true);
    w.window->SetVisible({"仕入商品名", 2}, false);
    EXPECT_TRUE(widget("仕入先コード_2")->isVisible());
    EXPECT_FALSE(widget("仕入商品名_2")->isVisible());

    // Row numbers show on both pages.
    w.window->SetText({"Lab_行No", 2}, "13");
    for (auto* label : w.window->findChildren<QLabel*>("Lab_行No_2")) EXPECT_EQ(label->text(), "13");
    EXPECT_EQ(w.window->findChildren<QLabel*>("Lab_行No_2").size(), 2);
}

TEST_F(WindowReports, ClosingAsksThePresenterAndTheSessionEndDoesNot) {
    w.events.allowClose = false;
    w.window->close();
    EXPECT_EQ(w.events.closeRequests, 1);
    EXPECT_TRUE(w.window->isVisible());

    w.window->endSession();
    EXPECT_EQ((std::vector<int>{w.events.endsWithoutAsking, w.events.closeRequests}), (std::vector<int>{1, 1}));
    EXPECT_FALSE(w.window->isVisible());
}

TEST_F(WindowReports, ThePresenterClosesTheWindowWithoutBeingAsked) {
    QTest::mouseClick(w.find<QPushButton>("btn_終了"), Qt::LeftButton);
    EXPECT_EQ(w.events.take(), Log{"button btn_終了"});
    w.window->CloseWindow();
    EXPECT_FALSE(w.window->isVisible());
    EXPECT_EQ(w.events.closeRequests, 0);
}

}  // namespace
}  // namespace velmora
