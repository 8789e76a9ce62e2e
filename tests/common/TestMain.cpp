// Runs GoogleTest inside a Qt application object, so tests can use settings, timers,
// event loops and (for the widget tests) widgets under the offscreen platform.
#include <gtest/gtest.h>

// Qt
#include <QDir>
#include <QTemporaryDir>

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
    // CTest runs the tests of one program side by side: each process keeps its settings
    // (recent files, ports) in a folder of its own, so none sees another's.
    const QString base = qEnvironmentVariable("XDG_CONFIG_HOME", QDir::tempPath());
    QDir().mkpath(base);
    QTemporaryDir settings(base + QStringLiteral("/run-XXXXXX"));
    if (settings.isValid())
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
