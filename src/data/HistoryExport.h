#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <optional>
#include <string>
#include <vector>

#include "SessionRecord.h"

class Calendar;

/// The history as a table for spreadsheets and scripts: one row per record, in history order,
/// with the columns "id", "start", "end", "type", "minutes", "tag" and "completedFully".
/// Start and end are local times with their UTC offset ("2025-12-01T10:05:00.000+01:00");
/// a record keeps its end and its configured length, so start = end - length.
namespace HistoryExport {

enum class Format { csv, json };

/// "csv" or "json".
std::optional<Format> formatFromName(QStringView name);

/// Local calendar days, both ends included; an absent end leaves that side open.
/// A record belongs to the day its interval ended on, as in the insights.
struct DayRange {
    std::optional<QDate> first;
    std::optional<QDate> last;
};

/// Whether `path` is the history file itself, also under another name or through a link:
/// an export must never replace it.
bool isHistoryFile(const QString& path, const QString& historyFile);

/// A calendar date written YYYY-MM-DD; any other form, or a date that does not exist, gives nothing.
std::optional<QDate> parseDay(QStringView text);

/// The records of `days` as a document:
/// - CSV as RFC 4180 has it: a header row, CRLF line ends, fields holding a comma, a quote or a
///   line break quoted with inner quotes doubled; UTF-8 without a byte order mark. An untagged
///   record has an empty tag; completedFully is "true" or "false".
/// - JSON: an array with one object per line; an untagged record's "tag" is null.
/// "minutes" counts whole minutes of the configured length. A time outside the years 0001-9999
/// (only a damaged history holds one) is left empty in CSV and null in JSON.
std::string write(const std::vector<SessionRecord>& records, Format format, const Calendar& calendar,
    const DayRange& days = {});

} // namespace HistoryExport
