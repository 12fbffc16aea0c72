#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace Cli {

enum class Action { help, start, pause, toggle, skip, reset, dashboard, status };
enum class Format { text, json, waybar };

struct Command {
    Action action = Action::help;
    /// start: a short break instead of a focus interval.
    bool isBreak = false;
    /// dashboard: the section to open on.
    QString section = QStringLiteral("insights");
    /// status: one more line for every change until Velto quits.
    bool follow = false;
    Format format = Format::text;
};

struct ParsedArguments {
    std::optional<Command> command;
    /// One line saying what is wrong, when there is no command.
    QString error;
};

/// The arguments after the program name.
ParsedArguments parseArguments(const QStringList& arguments);
QString usage();

} // namespace Cli
