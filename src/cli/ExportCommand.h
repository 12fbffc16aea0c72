#pragma once

#include <QString>
#include <cstdio>

class Calendar;

namespace Cli {

struct ExportOptions;

/// `velto export`: reads the history file (never writes it, and needs no running Velto) and
/// writes the export to the output file, atomically, or to `standardOutput`. Returns the exit
/// code: 0 done, 1 failed with `error` holding one line and nothing written.
int runExport(const ExportOptions& options, const QString& historyFile, const Calendar& calendar,
    std::FILE* standardOutput, QString* error);

} // namespace Cli
