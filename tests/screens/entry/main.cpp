#include <gtest/gtest.h>

#include <QApplication>

#include "screens/lookup/qt/japanese_translation.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The tests see the standard buttons as the user does.
    velmora::UseJapaneseTranslation();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
