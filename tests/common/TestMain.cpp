// Runs GoogleTest inside a Qt application object, so tests can use settings, timers,
// event loops and (for the widget tests) widgets under the offscreen platform.
#include <gtest/gtest.h>

#ifdef KORVALIN_GUI_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
#ifdef KORVALIN_GUI_TESTS
    // The build lists the tests without the test environment; widgets need no display anyway.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
