// The printing tests draw widgets and fonts, so they run inside a QApplication
// headless unless QT_QPA_PLATFORM names another platform: the build also runs
// this binary to list its tests, where no display may exist.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
