// Holds notifications back as Velto does during focus, until SIGTERM (or a kill) ends it.
// Prints "holding" once the desktop holds them. With "release", starts as Velto does after a
// crash, prints "released" once nothing is held back any more, and quits.
//   dnd-holder <preferences file> [release]
#include <QCoreApplication>
#include <cstdio>

#include "platform/JsonFilePreferences.h"
#include "platform/LinuxDoNotDisturb.h"
#include "platform/QuitOnSignals.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2)
        return 2;
    JsonFilePreferences preferences(arguments.at(1));
    QuitOnSignals quitOnSignals;
    QObject::connect(&quitOnSignals, &QuitOnSignals::quitRequested, &app, &QCoreApplication::quit);
    LinuxDoNotDisturb doNotDisturb(preferences);
    QObject::connect(&doNotDisturb, &DoNotDisturb::holdingChanged, &app, [&] {
        if (doNotDisturb.holding()) {
            std::puts("holding");
            std::fflush(stdout);
        }
    });
    if (arguments.value(2) == QLatin1String("release")) {
        doNotDisturb.whenReleased(&app, [&] {
            std::puts("released");
            std::fflush(stdout);
            app.quit();
        });
    } else {
        doNotDisturb.hold();
    }
    return app.exec();
}
