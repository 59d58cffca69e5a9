#include <QApplication>

#include <gtest/gtest.h>

#include "screens/lookup/qt/japanese_translation.h"

// The dialog tests need a QApplication. It runs offscreen unless told
// otherwise, also when ctest lists the tests without the test environment.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The tests see the standard buttons as the user does.
    velmora::UseJapaneseTranslation();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
