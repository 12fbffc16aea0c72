#pragma once

#include <QString>
#include <QStringList>

#include "data/HistoryExport.h"

namespace Cli {

struct ParsedArguments;

/// `velto export`: what to write and where. The dates are checked when the command runs.
struct ExportOptions {
    HistoryExport::Format format = HistoryExport::Format::csv;
    /// YYYY-MM-DD, local days, both included; empty leaves that side open.
    QString from;
    QString to;
    /// The file to write; empty or "-" for standard output.
    QString output;
    /// Replace an existing output file.
    bool force = false;
};

/// The arguments after `export`.
ParsedArguments parseExportArguments(const QStringList& arguments);

} // namespace Cli
