// Test entry point: a Qt application object for timers and signals, a pinned
// time zone and locale, and Qt's test mode so nothing touches the user's files.
#include <QCoreApplication>
#include <QLocale>
#include <QStandardPaths>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    setenv("TZ", "Europe/Berlin", 1);
    setenv("LC_ALL", "en_US.UTF-8", 1);
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
