#pragma once

#include <QObject>
#include <optional>
#include <vector>

#include "HistoryIndex.h"
#include "SessionRecord.h"

class Calendar;
class Clock;

/// The history of completed intervals: kept in memory, read from the history
/// file once at creation and rewritten atomically after every appended record.
/// Answers the dashboard's questions about the history.
class SessionStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY sessionsChanged)

public:
    SessionStore(QString filePath, const Clock& clock, const Calendar& calendar, QObject* parent = nullptr);

    const std::vector<SessionRecord>& sessions() const { return m_sessions; }
    int count() const { return static_cast<int>(m_sessions.size()); }
    const QString& filePath() const { return m_filePath; }
    /// Per-day totals of the history, for figures the queries below do not answer.
    const HistoryIndex& historyIndex() const { return m_index; }

    /// Appends a record to the end of the history and saves the file.
    void addRecord(const SessionRecord& record);
    /// Rewrites the history file; on failure prints the reason and keeps everything in memory.
    bool saveSessions();

    std::vector<SessionRecord> sessionsToday() const;
    qint64 todayFocusMinutes() const;
    std::vector<SessionRecord> sessionsThisWeek() const;
    qint64 weekFocusMinutes() const;
    qint64 focusMinutesOnDay(Instant day) const;
    /// Average focus minutes over the active days of the last 30 days.
    qint64 averageDailyFocusMinutes() const;
    /// The weekday name with the most focus minutes over the whole history.
    std::optional<QString> mostProductiveDay() const;
    /// Consecutive active days ending today or yesterday.
    int currentStreak() const;

signals:
    void sessionsChanged();

private:
    void loadSessions();

    QString m_filePath;
    const Clock& m_clock;
    const Calendar& m_calendar;
    std::vector<SessionRecord> m_sessions;
    HistoryIndex m_index;
    /// The file as last written (or read), so an append encodes one record instead of all.
    std::string m_encoded;
    bool m_encodedIsCurrent = false;
    /// False when an unreadable history could not be set aside: it must not be overwritten.
    bool m_mayWrite = true;
};
