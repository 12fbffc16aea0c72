#include "Cli.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "CliArguments.h"
#include "StatusText.h"
#include "TimerClient.h"

namespace Cli {
namespace {

void printLine(FILE* stream, const QString& line)
{
    std::fputs(line.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

QString notRunning() { return QCoreApplication::translate("Cli", "Velto is not running."); }

int status(TimerClient& client, const Command& command)
{
    // Watch first, so no change between the first line and the watch goes missing.
    if (command.follow && !client.watch()) {
        printLine(stderr, QCoreApplication::translate("Cli", "Cannot follow Velto's changes on the session bus."));
        return 1;
    }
    QString error;
    const auto properties = client.properties(&error);
    if (!properties) {
        printLine(stderr, client.appIsRunning() ? error : notRunning());
        return 1;
    }
    TimerStatus current;
    current.apply(*properties);
    printLine(stdout, formatStatus(current, command.format));
    if (!command.follow)
        return 0;

    QObject::connect(&client, &TimerClient::changed, &client, [&current, &command](const QVariantMap& changed) {
        current.apply(changed);
        printLine(stdout, formatStatus(current, command.format));
    });
    QObject::connect(&client, &TimerClient::appQuit, &client, [] {
        printLine(stderr, QCoreApplication::translate("Cli", "Velto has quit."));
        QCoreApplication::exit(1);
    });
    return QCoreApplication::exec();
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

    TimerClient client(QDBusConnection::sessionBus());
    if (!client.appIsRunning()) {
        printLine(stderr, notRunning());
        return 1;
    }
    QString method;
    QVariantList arguments;
    switch (command.action) {
    case Action::help:
        return 0;
    case Action::status:
        return status(client, command);
    case Action::start:
        method = QStringLiteral("Start");
        arguments << command.isBreak;
        break;
    case Action::pause:
        method = QStringLiteral("Pause");
        break;
    case Action::toggle:
        method = QStringLiteral("Toggle");
        break;
    case Action::skip:
        method = QStringLiteral("Skip");
        break;
    case Action::reset:
        method = QStringLiteral("Reset");
        break;
    case Action::dashboard:
        method = QStringLiteral("OpenDashboard");
        arguments << command.section;
        break;
    }
    QString error;
    if (!client.call(method, arguments, &error)) {
        printLine(stderr, client.appIsRunning() ? error : notRunning());
        return 1;
    }
    return 0;
}

} // namespace Cli
