#include "ExportCommand.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>

#include "ExportArguments.h"
#include "data/HistoryExport.h"
#include "data/SessionStore.h"
#include "fileio/AtomicWrite.h"
#include "fileio/ErrnoText.h"

namespace Cli {
namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Cli", text);
}

int fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return 1;
}

std::optional<QDate> day(const QString& text, QString* problem)
{
    if (text.isEmpty())
        return std::nullopt;
    const auto date = HistoryExport::parseDay(text);
    if (!date)
        *problem = tr("Not a date: %1 (write it as YYYY-MM-DD).").arg(text);
    return date;
}

bool writeAll(std::FILE* stream, const std::string& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size() && std::fflush(stream) == 0;
}

} // namespace

int runExport(const ExportOptions& options, const QString& historyFile, const Calendar& calendar,
    std::FILE* standardOutput, QString* error)
{
    QString problem;
    HistoryExport::DayRange days;
    days.first = day(options.from, &problem);
    if (problem.isEmpty())
        days.last = day(options.to, &problem);
    if (!problem.isEmpty())
        return fail(error, problem);
    if (days.first && days.last && *days.first > *days.last)
        return fail(error, tr("--from %1 is after --to %2.").arg(options.from, options.to));

    const bool toFile = !options.output.isEmpty() && options.output != QLatin1String("-");
    if (toFile) {
        if (HistoryExport::isHistoryFile(options.output, historyFile))
            return fail(
                error, tr("%1 is Velto's history; choose another file for the export.").arg(options.output));
        if (!options.force && QFileInfo(options.output).exists())
            return fail(error, tr("%1 already exists; add --force to replace it.").arg(options.output));
    }

    const SessionStore::FileRead history = SessionStore::readFile(historyFile);
    if (history.exists && !history.records)
        return fail(error, tr("Cannot read the history %1: %2").arg(historyFile, history.error));
    static const std::vector<SessionRecord> noRecords; // no file yet: nothing was recorded
    const std::string document = HistoryExport::write(
        history.records ? *history.records : noRecords, options.format, calendar, days);

    if (!toFile) {
        if (!writeAll(standardOutput, document))
            return fail(error,
                tr("Cannot write to standard output: %1")
                    .arg(QString::fromStdString(fileio::errnoText(errno))));
        return 0;
    }
    const auto mode = options.force ? fileio::WriteMode::replace : fileio::WriteMode::createNew;
    const std::error_code written
        = fileio::writeFileAtomically(QFile::encodeName(options.output).toStdString(), document, mode);
    if (written == std::errc::file_exists)
        return fail(error, tr("%1 already exists; add --force to replace it.").arg(options.output));
    if (written)
        return fail(
            error, tr("Cannot write %1: %2").arg(options.output, QString::fromStdString(written.message())));
    return 0;
}

} // namespace Cli
