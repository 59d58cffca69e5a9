#include "screens/lookup/qt/japanese_translation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Qt's standard buttons, which every question and message of the program
// shows, read as Japanese once the translation is in (with the letter that
// answers them from the keyboard).
TEST(JapaneseTranslation, StandardButtonsReadJapanese) {
    ASSERT_TRUE(UseJapaneseTranslation()) << "qtbase_ja.qm is missing (qt6-translations-l10n)";
    QMessageBox box(QMessageBox::Question, QStringLiteral("Velmora"), QStringLiteral("削除しますか？"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    QStringList texts;
    for (auto standard : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, QMessageBox::Ok})
        texts << (box.button(standard) ? box.button(standard)->text() : QStringLiteral("(none)"));
    EXPECT_EQ(texts.join(QLatin1Char('|')).toStdString(), "はい(&Y)|いいえ(&N)|キャンセル|OK");
}

// A Yes/No question as the program asks it, No being the default: shown with
// its Japanese buttons, and the key Y answers はい.
TEST(JapaneseTranslation, AYesNoQuestionIsAnsweredWithY) {
    ASSERT_TRUE(UseJapaneseTranslation());
    QMessageBox box(QMessageBox::Question, QStringLiteral("Velmora"), QStringLiteral("PDFを出力しますか？"),
                    QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    QStringList shown;
    QTimer::singleShot(0, &box, [&] {
        for (QAbstractButton* button : box.buttons()) shown << button->text();
        QTest::keyClick(&box, Qt::Key_Y);
    });
    // A key that answers nothing must not leave the test waiting.
    QTimer::singleShot(5000, &box, [&] { box.done(QMessageBox::Cancel); });
    const int answer = box.exec();
    shown.sort();
    EXPECT_EQ(shown.join(QLatin1Char('|')).toStdString(), "いいえ(&N)|はい(&Y)");
    EXPECT_EQ(answer, QMessageBox::Yes);
}

}  // namespace
}  // namespace velmora
