#include "SessionStore.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "SessionHistoryCodec.h"
#include "Streak.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "platform/SafeFile.h"

namespace {
void printLine(const QString& line)
{
    // These messages belong on standard output, one line each.
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}
} // namespace

SessionStore::SessionStore(
    const QString& filePath, const Clock& clock, const Calendar& calendar, QObject* parent)
    : SessionStore(filePath, readFile(filePath), clock, calendar, parent)
{ }

SessionStore::SessionStore(
    QString filePath, FileRead read, const Clock& clock, const Calendar& calendar, QObject* parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
    , m_clock(clock)
    , m_calendar(calendar)
    , m_index(calendar)
{
    SafeFile::createFolders(QFileInfo(m_filePath).absolutePath()); // a failure shows up at the first save
    loadSessions(std::move(read));
}

SessionStore::FileRead SessionStore::readFile(const QString& filePath)
{
    FileRead result;
    const SafeFile::Contents file = SafeFile::read(filePath, maxFileSize);
    if (file.status == SafeFile::Contents::Status::missing)
        return result;
    result.exists = true;
    result.error = file.error;
    if (file.status == SafeFile::Contents::Status::read)
        result.records = SessionHistoryCodec::decode(file.bytes, &result.error);
    return result;
}

void SessionStore::loadSessions(FileRead read)
{
    if (!read.exists)
        return;
    if (!read.records) {
        // Keep the unreadable file beside the new one instead of letting the next save replace it.
        const QString setAside = SafeFile::moveAside(m_filePath);
        m_mayWrite = !setAside.isEmpty();
        printLine(QStringLiteral("SessionStore: Failed to load sessions: ") + read.error);
        if (m_mayWrite)
            printLine(QStringLiteral("SessionStore: Kept the unreadable history as ") + setAside);
        return;
    }
    m_sessions = std::move(*read.records);
    m_index.rebuild(m_sessions);
    m_encodedIsCurrent = false;
    emit sessionsChanged();
}

bool SessionStore::addRecord(const SessionRecord& record)
{
    // An interval of no length never ran: it would only distort the figures.
    if (!(record.duration > 0) || !std::isfinite(record.duration))
        return false;
    m_sessions.push_back(record);
    m_index.add(record);
    if (m_encodedIsCurrent) {
        m_encoded.pop_back(); // the closing bracket
        if (m_sessions.size() > 1)
            m_encoded.push_back(',');
        SessionHistoryCodec::appendRecord(m_encoded, record);
        m_encoded.push_back(']');
    }
    emit sessionsChanged();
    saveSessions(); // a failed save keeps the record for the next try
    return true;
}

bool SessionStore::saveSessions()
{
    QString error;
    const bool saved = writeFile(&error);
    if (!saved)
        printLine(QStringLiteral("SessionStore: Failed to save sessions: ") + error);
    if (m_saveRetry.record(saved, error))
        emit saveStateChanged();
    if (!saved)
        emit saveFailed(error);
    return saved;
}

bool SessionStore::flush()
{
    return !m_saveRetry.pending() || saveSessions();
}

bool SessionStore::writeFile(QString* error)
{
    if (!m_mayWrite) {
        // Another try at setting the unreadable history aside; only then may it be replaced.
        const QString setAside = SafeFile::moveAside(m_filePath);
        if (setAside.isEmpty() && QFileInfo::exists(m_filePath)) {
            *error
                = QStringLiteral("the unreadable history file at %1 could not be set aside").arg(m_filePath);
            return false;
        }
        m_mayWrite = true;
        if (!setAside.isEmpty())
            printLine(QStringLiteral("SessionStore: Kept the unreadable history as ") + setAside);
    }
    if (!SafeFile::createFolders(QFileInfo(m_filePath).absolutePath(), error))
        return false;
    if (!m_encodedIsCurrent) {
        m_encoded = SessionHistoryCodec::encode(m_sessions);
        m_encodedIsCurrent = true;
    }
    return SafeFile::writeAtomically(
        m_filePath, QByteArray::fromRawData(m_encoded.data(), qsizetype(m_encoded.size())), error);
}

std::vector<SessionRecord> SessionStore::sessionsToday() const
{
    const qint64 today = m_calendar.dayNumber(m_clock.now());
    const std::vector<qint64>& days = m_index.dayNumbers();
    std::vector<SessionRecord> result;
    for (std::size_t i = 0; i < m_sessions.size(); ++i) {
        if (days[i] == today)
            result.push_back(m_sessions[i]);
    }
    return result;
}

qint64 SessionStore::todayFocusMinutes() const
{
    return m_index.focusMinutesOnDay(m_calendar.dayNumber(m_clock.now()));
}

std::vector<SessionRecord> SessionStore::sessionsThisWeek() const
{
    const Instant weekStart = m_calendar.startOfWeek(m_clock.now());
    std::vector<SessionRecord> result;
    std::copy_if(m_sessions.begin(), m_sessions.end(), std::back_inserter(result),
        [weekStart](const SessionRecord& record) { return record.date >= weekStart; });
    return result;
}

qint64 SessionStore::weekFocusMinutes() const
{
    const Instant weekStart = m_calendar.startOfWeek(m_clock.now());
    qint64 total = 0;
    for (const SessionRecord& record : m_sessions) {
        if (record.date >= weekStart && record.isQualifying())
            total = addMinutes(total, record.wholeMinutes());
    }
    return total;
}

qint64 SessionStore::focusMinutesOnDay(Instant day) const
{
    return m_index.focusMinutesOnDay(m_calendar.dayNumber(day));
}

qint64 SessionStore::averageDailyFocusMinutes() const
{
    const Instant cutoff = m_calendar.addDays(m_clock.now(), -30);
    const std::vector<qint64>& days = m_index.dayNumbers();
    qint64 minutes = 0;
    std::vector<qint64> activeDays;
    for (std::size_t i = 0; i < m_sessions.size(); ++i) {
        const SessionRecord& record = m_sessions[i];
        if (record.date >= cutoff && record.isQualifying()) {
            minutes = addMinutes(minutes, record.wholeMinutes());
            activeDays.push_back(days[i]);
        }
    }
    if (activeDays.empty())
        return 0;
    std::sort(activeDays.begin(), activeDays.end());
    const auto distinctDays = std::unique(activeDays.begin(), activeDays.end()) - activeDays.begin();
    return minutes / distinctDays;
}

std::optional<QString> SessionStore::mostProductiveDay() const
{
    std::array<qint64, 8> minutesByWeekday {}; // index 1 = Sunday … 7 = Saturday
    std::array<bool, 8> seen {};
    for (const auto& [day, totals] : m_index.days()) {
        if (totals.qualifyingRecords == 0)
            continue;
        const int weekday = Calendar::weekdayOfDayNumber(day);
        minutesByWeekday[weekday] = addMinutes(minutesByWeekday[weekday], totals.focusMinutes);
        seen[weekday] = true;
    }
    int best = 0;
    for (int weekday = 1; weekday <= 7; ++weekday) {
        // Ties keep the earlier weekday in the week starting on Sunday.
        if (seen[weekday] && (best == 0 || minutesByWeekday[weekday] > minutesByWeekday[best]))
            best = weekday;
    }
    if (best == 0)
        return std::nullopt;
    const QString name = m_calendar.weekdayName(best);
    return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
}

int SessionStore::currentStreak() const
{
    std::vector<qint64> activeDays;
    const auto& days = m_index.days();
    for (auto it = days.rbegin(); it != days.rend(); ++it) {
        if (it->second.qualifyingRecords > 0)
            activeDays.push_back(it->first);
    }
    return ::currentStreak(activeDays, m_calendar.dayNumber(m_clock.now()));
}
