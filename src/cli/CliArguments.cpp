#include "CliArguments.h"

#include <QCoreApplication>

#include "timer/TimerManager.h"

namespace Cli {
namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Cli", text);
}

ParsedArguments failure(const QString& error)
{
    return { std::nullopt, error };
}

ParsedArguments parseStatus(Command command, const QStringList& rest)
{
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const QString& argument = rest[i];
        QString format;
        if (argument == QLatin1String("--follow") || argument == QLatin1String("-f")) {
            command.follow = true;
            continue;
        }
        if (argument == QLatin1String("--format")) {
            if (i + 1 == rest.size())
                return failure(tr("--format needs a value: text, json or waybar."));
            format = rest[++i];
        } else if (argument.startsWith(QLatin1String("--format="))) {
            format = argument.mid(9);
        } else {
            return failure(tr("Unknown option for status: %1").arg(argument));
        }
        if (format == QLatin1String("text"))
            command.format = Format::text;
        else if (format == QLatin1String("json"))
            command.format = Format::json;
        else if (format == QLatin1String("waybar"))
            command.format = Format::waybar;
        else
            return failure(tr("Unknown format: %1 (text, json or waybar).").arg(format));
    }
    return { command, {} };
}

} // namespace

ParsedArguments parseArguments(const QStringList& arguments)
{
    Command command;
    if (arguments.isEmpty())
        return { command, {} };
    const QString& name = arguments.first();
    const QStringList rest = arguments.mid(1);
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help"))
        return { command, {} };
    if (name == QLatin1String("status")) {
        command.action = Action::status;
        return parseStatus(command, rest);
    }
    if (name == QLatin1String("export"))
        return parseExportArguments(rest);
    if (name == QLatin1String("start")) {
        command.action = Action::start;
        for (const QString& argument : rest) {
            if (argument != QLatin1String("--break") && argument != QLatin1String("-b"))
                return failure(tr("Unknown option for start: %1").arg(argument));
            command.isBreak = true;
        }
        return { command, {} };
    }
    if (name == QLatin1String("dashboard")) {
        command.action = Action::dashboard;
        if (rest.size() > 1 || (!rest.isEmpty() && rest.first().startsWith(QLatin1Char('-'))))
            return failure(tr("dashboard takes one section: insights, tags, integrations or settings."));
        if (!rest.isEmpty())
            command.section = rest.first();
        return { command, {} };
    }
    if (name == QLatin1String("extend")) {
        command.action = Action::extend;
        if (rest.size() > 1)
            return failure(tr("extend takes one number of minutes."));
        if (!rest.isEmpty()) {
            bool number = false;
            command.minutes = rest.first().toInt(&number);
            if (!number || command.minutes < TimerManager::minimumExtendMinutes
                || command.minutes > TimerManager::maximumExtendMinutes)
                return failure(tr("extend takes whole minutes from %1 to %2, not %3.")
                                   .arg(TimerManager::minimumExtendMinutes)
                                   .arg(TimerManager::maximumExtendMinutes)
                                   .arg(rest.first()));
        }
        return { command, {} };
    }
    static const std::pair<const char*, Action> plain[] = { { "pause", Action::pause },
        { "toggle", Action::toggle }, { "skip", Action::skip }, { "reset", Action::reset } };
    for (const auto& [word, action] : plain) {
        if (name != QLatin1String(word))
            continue;
        if (!rest.isEmpty())
            return failure(tr("%1 takes no arguments.").arg(name));
        command.action = action;
        return { command, {} };
    }
    return failure(name.startsWith(QLatin1Char('-'))
            ? tr("Unknown option: %1 (see velto --help)").arg(name)
            : tr("Unknown command: %1 (see velto --help)").arg(name));
}

QString usage()
{
    return tr("Usage: velto [command]\n"
              "Without a command, starts Velto.\n"
              "\n"
              "Commands for the running Velto:\n"
              "  start [--break]          start a focus interval, or a short break\n"
              "  pause                    pause the running interval\n"
              "  toggle                   pause, or start what the popover shows\n"
              "  skip                     move on to the next interval\n"
              "  extend [minutes]         add 1 to 60 minutes to the current interval (default 5)\n"
              "  reset                    stop and return to idle\n"
              "  dashboard [section]      open the dashboard (insights, tags, integrations, settings)\n"
              "  status [--follow] [--format text|json|waybar]\n"
              "                           print the timer; --follow prints a line for every change\n"
              "                           and waits while Velto is not running\n"
              "\n"
              "Commands that work whether Velto runs or not:\n"
              "  export [--format csv|json] [--from DATE] [--to DATE] [--output FILE] [--force]\n"
              "                           write the history's intervals; DATE is YYYY-MM-DD, a\n"
              "                           local day, both ends included; an existing FILE is\n"
              "                           only replaced with --force; without --output, to\n"
              "                           standard output\n"
              "  --help                   show this help\n");
}

} // namespace Cli
