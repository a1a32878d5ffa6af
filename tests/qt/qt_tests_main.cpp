// Runs every suite of the Qt window tests in one application, offscreen unless a
// platform was chosen.
#include <QApplication>
#include <QTest>

#include "tests/qt/qt_suites.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    int failed = 0;
    {
        WindowLayoutTest suite;
        failed += QTest::qExec(&suite, argc, argv);
    }
    {
        StartupStateTest suite;
        failed += QTest::qExec(&suite, argc, argv);
    }
    {
        WindowRoutingTest suite;
        failed += QTest::qExec(&suite, argc, argv);
    }
    {
        MessageBoxTest suite;
        failed += QTest::qExec(&suite, argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
