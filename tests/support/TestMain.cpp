// Test entry point: a Qt application object for timers and signals, a pinned
// time zone, locale and language, and Qt's test mode so nothing touches the user's files.
#include <QCoreApplication>
#include <QLocale>
#include <QStandardPaths>
#include <cstdlib>
#include <gtest/gtest.h>

#include "i18n/Translations.h"

int main(int argc, char** argv)
{
    setenv("TZ", "Europe/Berlin", 1);
    setenv("LC_ALL", "en_US.UTF-8", 1);
    unsetenv("LANGUAGE"); // it would choose the language of the Velto processes tests start
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Translations::install({}); // English, with its plural forms
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
