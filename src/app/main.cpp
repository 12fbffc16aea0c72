// Headless run of the core: one short focus interval against a throw-away
// profile, printing what happens. The tray application replaces this.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

#include "data/SessionStore.h"
#include "data/TagManager.h"
#include "platform/Calendar.h"
#include "platform/CanberraSoundPlayer.h"
#include "platform/Clock.h"
#include "platform/DBusCompanionMessenger.h"
#include "platform/FreedesktopNotifier.h"
#include "platform/JsonFilePreferences.h"
#include "timer/TimerManager.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Velto"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELTO_VERSION));
    QTextStream out(stdout);

    QTemporaryDir profile;
    const QString prefsPath = profile.filePath(QStringLiteral("preferences.json"));
    const QString historyPath = profile.filePath(QStringLiteral("Velto/sessions.json"));
    {
        JsonFilePreferences seed(prefsPath);
        seed.setValue(QStringLiteral("workDuration"), 3.0); // a three-second focus interval
        seed.setValue(QStringLiteral("veltoCurrentSessionTag"), QStringLiteral("Deep Work"));
    }

    JsonFilePreferences preferences(prefsPath);
    SystemClock clock;
    const Calendar calendar = Calendar::system();
    TagManager tags(preferences);
    FreedesktopNotifier notifier;
    CanberraSoundPlayer sound;
    DBusCompanionMessenger companion;
    std::unique_ptr<SessionStore> store;
    TimerManager timer({ preferences, clock, calendar,
                         [&]() -> SessionStore& {
                             if (!store)
                                 store = std::make_unique<SessionStore>(historyPath, clock, calendar);
                             return *store;
                         },
                         tags, notifier, sound, companion });

    out << "Velto " << QCoreApplication::applicationVersion() << " (headless core)\n";
    QObject::connect(&timer, &TimerManager::timeRemainingChanged, [&] {
        out << "  " << Velto::rawValue(timer.currentState()) << " " << timer.timeString() << '\n';
        out.flush();
    });
    QObject::connect(&timer, &TimerManager::sessionCompleted, [&](TimerState finished) {
        out << "Completed a " << Velto::rawValue(finished) << " interval; today: " << timer.dailySessions()
            << " session(s), " << timer.focusTimeTodayText() << '\n';
        QFile history(historyPath);
        if (history.open(QIODevice::ReadOnly))
            out << "History file " << historyPath << ":\n  " << history.readAll() << '\n';
        out.flush();
        QCoreApplication::quit();
    });

    out << "Starting a " << timer.workDuration() << "-second focus interval tagged \"" << tags.currentSessionTagText()
        << "\"\n";
    out.flush();
    timer.start(false);
    return QCoreApplication::exec();
}
