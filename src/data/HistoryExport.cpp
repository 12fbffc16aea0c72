#include "HistoryExport.h"

#include <QFile>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "platform/Calendar.h"
#include "platform/IsoDateTime.h"

namespace HistoryExport {
namespace {
using OrderedJson = nlohmann::ordered_json;

const QDate kEpochDate(1970, 1, 1);

/// Whether the record's end lies in `days`. Dates a calendar cannot place lie in no bounded range.
class DayFilter {
public:
    DayFilter(const DayRange& days, const Calendar& calendar)
        : m_calendar(calendar)
        , m_first(days.first ? std::optional<qint64>(kEpochDate.daysTo(*days.first)) : std::nullopt)
        , m_last(days.last ? std::optional<qint64>(kEpochDate.daysTo(*days.last)) : std::nullopt)
    { }

    bool contains(Instant date) const
    {
        if (!m_first && !m_last)
            return true;
        if (!(std::fabs(date.unixSeconds()) < 1.0e13)) // beyond the year 300,000 either way
            return false;
        const qint64 day = m_calendar.dayNumber(date);
        return (!m_first || day >= *m_first) && (!m_last || day <= *m_last);
    }

private:
    const Calendar& m_calendar;
    std::optional<qint64> m_first;
    std::optional<qint64> m_last;
};

std::string idText(const QUuid& id)
{
    return id.toByteArray(QUuid::WithoutBraces).toUpper().toStdString();
}

Instant startOf(const SessionRecord& record)
{
    return record.date.addSeconds(-record.duration);
}

void appendCsvField(std::string& out, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out.push_back('"');
    for (const char c : field) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

std::string writeCsv(
    const std::vector<SessionRecord>& records, const Calendar& calendar, const DayFilter& filter)
{
    std::string out = "id,start,end,type,minutes,tag,completedFully\r\n";
    out.reserve(records.size() * 128 + out.size());
    for (const SessionRecord& record : records) {
        if (!filter.contains(record.date))
            continue;
        out.append(idText(record.id));
        out.push_back(',');
        IsoDateTime::append(out, startOf(record), calendar);
        out.push_back(',');
        IsoDateTime::append(out, record.date, calendar);
        out.push_back(',');
        out.append(rawValue(record.type));
        out.push_back(',');
        out.append(std::to_string(record.wholeMinutes()));
        out.push_back(',');
        if (record.tag)
            appendCsvField(out, record.tag->toStdString());
        out.push_back(',');
        out.append(record.completedFully ? "true" : "false");
        out.append("\r\n");
    }
    return out;
}

OrderedJson timeValue(Instant instant, const Calendar& calendar)
{
    std::string text;
    if (!IsoDateTime::append(text, instant, calendar))
        return nullptr;
    return text;
}

std::string writeJson(
    const std::vector<SessionRecord>& records, const Calendar& calendar, const DayFilter& filter)
{
    std::string out = "[";
    out.reserve(records.size() * 160 + 4);
    bool first = true;
    for (const SessionRecord& record : records) {
        if (!filter.contains(record.date))
            continue;
        OrderedJson row;
        row["id"] = idText(record.id);
        row["start"] = timeValue(startOf(record), calendar);
        row["end"] = timeValue(record.date, calendar);
        row["type"] = rawValue(record.type);
        row["minutes"] = record.wholeMinutes();
        row["tag"] = record.tag ? OrderedJson(record.tag->toStdString()) : OrderedJson(nullptr);
        row["completedFully"] = record.completedFully;
        out.append(first ? "\n" : ",\n");
        first = false;
        out.append(row.dump(-1, ' ', false, OrderedJson::error_handler_t::replace));
    }
    out.append(first ? "]\n" : "\n]\n");
    return out;
}
} // namespace

std::optional<Format> formatFromName(QStringView name)
{
    if (name == u"csv")
        return Format::csv;
    if (name == u"json")
        return Format::json;
    return std::nullopt;
}

std::optional<QDate> parseDay(QStringView text)
{
    if (text.size() != 10)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool isDash = i == 4 || i == 7;
        const char16_t c = text[i].unicode();
        if (isDash ? c != u'-' : (c < u'0' || c > u'9'))
            return std::nullopt;
    }
    const QDate date = QDate::fromString(text.toString(), QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

std::string write(
    const std::vector<SessionRecord>& records, Format format, const Calendar& calendar, const DayRange& days)
{
    const DayFilter filter(days, calendar);
    return format == Format::csv ? writeCsv(records, calendar, filter) : writeJson(records, calendar, filter);
}

bool isHistoryFile(const QString& path, const QString& historyFile)
{
    std::error_code ignored;
    return std::filesystem::equivalent(
        QFile::encodeName(path).toStdString(), QFile::encodeName(historyFile).toStdString(), ignored);
}

} // namespace HistoryExport
