#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "ExportArguments.h"

namespace Cli {

enum class Action { help, start, pause, toggle, skip, extend, reset, dashboard, status, exportHistory };
enum class Format { text, json, waybar };

struct Command {
    Action action = Action::help;
    /// start: a short break instead of a focus interval.
    bool isBreak = false;
    /// dashboard: the section to open on.
    QString section = QStringLiteral("insights");
    /// extend: the minutes to add.
    int minutes = 5;
    /// status: one more line for every change, waiting while Velto is not running.
    bool follow = false;
    Format format = Format::text;
    ExportOptions exportOptions;
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
