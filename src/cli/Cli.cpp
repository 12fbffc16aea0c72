#include "Cli.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CliArguments.h"
#include "ExportCommand.h"
#include "StatusFollower.h"
#include "StatusText.h"
#include "TimerClient.h"
#include "i18n/Translations.h"
#include "platform/AppPaths.h"
#include "platform/Calendar.h"
#include "platform/QuitOnSignals.h"
#include "timerinterface.h"

namespace Cli {
namespace {

/// Writes `line` and a line break; false when that failed (the reader has gone).
bool printLine(FILE* stream, const QString& line)
{
    const bool written
        = std::fputs(line.toLocal8Bit().constData(), stream) >= 0 && std::fputc('\n', stream) != EOF;
    return std::fflush(stream) == 0 && written;
}

/// What a refused command says: the bus's error, or, when none came because nothing owns
/// Velto's name, that it is not running.
QString failureText(const QString& error)
{
    return error.isEmpty() ? notRunningText() : error;
}

/// Quits when standard output is a pipe or socket whose reader has gone, also while
/// nothing is printed: a status bar that stops leaves no follower behind.
void quitWhenOutputCloses(QObject* parent)
{
    struct stat info { };
    if (::fstat(STDOUT_FILENO, &info) != 0 || !(S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)))
        return;
    auto* notifier = new QSocketNotifier(STDOUT_FILENO, QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [notifier] {
        pollfd output { STDOUT_FILENO, 0, 0 };
        notifier->setEnabled(false);
        if (::poll(&output, 1, 0) > 0 && (output.revents & (POLLERR | POLLHUP)))
            QCoreApplication::quit();
    });
}

int follow(TimerClient& client, Format format)
{
    if (!client.watch()) {
        printLine(
            stderr, QCoreApplication::translate("Cli", "Cannot follow Velto's changes on the session bus."));
        return 1;
    }
    // A closed pipe is noticed as a failed write, not as a signal that ends the process.
    std::signal(SIGPIPE, SIG_IGN);
    StatusFollower follower(format, [&client] { return client.properties(nullptr); });
    QObject::connect(&follower, &StatusFollower::line, &follower, [](const QString& text) {
        if (!printLine(stdout, text))
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    });
    QObject::connect(&client, &TimerClient::changed, &follower, &StatusFollower::changed);
    QObject::connect(&client, &TimerClient::appStarted, &follower, &StatusFollower::appeared);
    QObject::connect(&client, &TimerClient::appQuit, &follower, &StatusFollower::gone);
    QuitOnSignals signalHandling;
    QObject::connect(&signalHandling, &QuitOnSignals::quitRequested, QCoreApplication::instance(),
        &QCoreApplication::quit);
    quitWhenOutputCloses(&follower);
    follower.start(client.appIsRunning());
    return QCoreApplication::exec();
}

int status(TimerClient& client, const Command& command)
{
    if (command.follow)
        return follow(client, command.format);
    QString error;
    const auto properties = client.properties(&error);
    if (!properties) {
        printLine(stderr, failureText(error));
        return 1;
    }
    TimerStatus current;
    current.apply(*properties);
    printLine(stdout, formatStatus(current, command.format));
    return 0;
}

} // namespace

bool handles(int argc, char** argv)
{
    // A command is a word (known or not: an unknown one is refused with a message);
    // other options, such as Qt's own -platform or --self-test, start the app.
    if (argc < 2)
        return false;
    const char* first = argv[1];
    return first[0] != '-' || std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0;
}

int run(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velto"));
    Translations::installForUser();

    const ParsedArguments parsed = parseArguments(QCoreApplication::arguments().mid(1));
    if (!parsed.command) {
        printLine(stderr, parsed.error);
        return 2;
    }
    const Command& command = *parsed.command;
    if (command.action == Action::help) {
        std::fputs(usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (command.action == Action::exportHistory) {
        QString error;
        const int code
            = runExport(command.exportOptions, AppPaths::historyFile(), Calendar::system(), stdout, &error);
        if (code != 0)
            printLine(stderr, error);
        return code;
    }

    // A follower waits for Velto; every other command needs it now.
    TimerClient client(QDBusConnection::sessionBus());
    TimerClient::Method method;
    switch (command.action) {
    case Action::help:
    case Action::exportHistory:
        return 0;
    case Action::status:
        return status(client, command);
    case Action::start:
        method = [isBreak = command.isBreak](TimerInterface& timer) { return timer.Start(isBreak); };
        break;
    case Action::pause:
        method = [](TimerInterface& timer) { return timer.Pause(); };
        break;
    case Action::toggle:
        method = [](TimerInterface& timer) { return timer.Toggle(); };
        break;
    case Action::skip:
        method = [](TimerInterface& timer) { return timer.Skip(); };
        break;
    case Action::extend:
        method = [minutes = uint(command.minutes)](TimerInterface& timer) { return timer.Extend(minutes); };
        break;
    case Action::reset:
        method = [](TimerInterface& timer) { return timer.Reset(); };
        break;
    case Action::dashboard:
        method = [section = command.section](TimerInterface& timer) { return timer.OpenDashboard(section); };
        break;
    }
    QString error;
    if (!client.call(method, &error)) {
        printLine(stderr, failureText(error));
        return 1;
    }
    return 0;
}

} // namespace Cli
