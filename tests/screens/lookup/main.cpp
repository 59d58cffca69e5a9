#include <QApplication>

#include <gtest/gtest.h>

// The dialog tests need a QApplication. It runs offscreen unless told
// otherwise, also when ctest lists the tests without the test environment.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
