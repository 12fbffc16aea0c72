#include "ExportArguments.h"

#include <QCoreApplication>

#include "CliArguments.h"

namespace Cli {

ParsedArguments parseExportArguments(const QStringList& arguments)
{
    const auto failure = [](const QString& error) { return ParsedArguments { std::nullopt, error }; };
    Command command;
    command.action = Action::exportHistory;
    ExportOptions& options = command.exportOptions;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--force")) {
            options.force = true;
            continue;
        }
        // "--name value" or "--name=value"; "-o" for --output.
        QString name = argument;
        QString value;
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const bool inlineValue = argument.startsWith(QLatin1String("--")) && equals > 0;
        if (inlineValue) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
        } else if (name == QLatin1String("-o")) {
            name = QStringLiteral("--output");
        }
        const bool takesValue = name == QLatin1String("--format") || name == QLatin1String("--from")
            || name == QLatin1String("--to") || name == QLatin1String("--output");
        if (!takesValue)
            return failure(QCoreApplication::translate("Cli", "Unknown option for export: %1").arg(argument));
        if (!inlineValue && i + 1 < arguments.size())
            value = arguments[++i];
        if (value.isEmpty())
            return failure(QCoreApplication::translate("Cli", "%1 needs a value.").arg(name));
        if (name == QLatin1String("--format")) {
            const auto format = HistoryExport::formatFromName(value);
            if (!format)
                return failure(
                    QCoreApplication::translate("Cli", "Unknown format: %1 (csv or json).").arg(value));
            options.format = *format;
        } else if (name == QLatin1String("--from")) {
            options.from = value;
        } else if (name == QLatin1String("--to")) {
            options.to = value;
        } else {
            options.output = value;
        }
    }
    return { command, {} };
}

} // namespace Cli
