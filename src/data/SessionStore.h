#pragma once

#include <QObject>
#include <chrono>
#include <optional>
#include <vector>

#include "HistoryIndex.h"
#include "SessionRecord.h"
#include "platform/SaveRetry.h"

class Calendar;
class Clock;

/// The history of completed intervals: kept in memory, read from the history
/// file once at creation and rewritten atomically after every appended record.
/// Records that could not be saved stay in memory and are saved again with the
/// next record, once a minute, and by `flush`; every failure is reported.
/// Answers the dashboard's questions about the history.
class SessionStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY sessionsChanged)
    Q_PROPERTY(bool hasUnsavedRecords READ hasUnsavedRecords NOTIFY saveStateChanged)
    Q_PROPERTY(QString saveError READ saveError NOTIFY saveStateChanged)

public:
    /// Larger history files are not read.
    static constexpr qint64 maxFileSize = qint64(256) * 1024 * 1024;

    /// What reading the history file gave: nothing (no file), the records, or why it failed.
    struct FileRead {
        bool exists = false;
        std::optional<std::vector<SessionRecord>> records;
        QString error;
    };
    /// Reads and decodes the history file. Touches no store, so it may run on any thread:
    /// a large history can be read off the GUI thread and handed to the constructor below.
    static FileRead readFile(const QString& filePath);

    /// Reads the history file at `filePath`.
    SessionStore(
        const QString& filePath, const Clock& clock, const Calendar& calendar, QObject* parent = nullptr);
    /// Takes the history as `read` found it (an unreadable file is set aside here, as above).
    SessionStore(QString filePath, FileRead read, const Clock& clock, const Calendar& calendar,
        QObject* parent = nullptr);

    const std::vector<SessionRecord>& sessions() const { return m_sessions; }
    int count() const { return static_cast<int>(m_sessions.size()); }
    const QString& filePath() const { return m_filePath; }
    /// Per-day totals of the history, for figures the queries below do not answer.
    const HistoryIndex& historyIndex() const { return m_index; }

    /// Appends a record to the end of the history and saves the file; a record whose
    /// duration is not a positive number is refused. Whether it was kept.
    bool addRecord(const SessionRecord& record);
    /// Rewrites the history file; on failure prints the reason and keeps everything in memory.
    bool saveSessions();
    /// True while some records are in memory only.
    bool hasUnsavedRecords() const { return m_saveRetry.pending(); }
    /// Why the last save failed; empty when it succeeded.
    const QString& saveError() const { return m_saveRetry.error(); }
    /// Saves unsaved records now (the app calls this when it quits); true when everything is on disk.
    bool flush();
    /// How often unsaved records are retried (one minute unless changed).
    void setRetryInterval(std::chrono::milliseconds interval) { m_saveRetry.setInterval(interval); }

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
    /// Emitted on each failed save, with the system's reason.
    void saveFailed(const QString& reason);
    void saveStateChanged();

private:
    void loadSessions(FileRead read);
    bool writeFile(QString* error);

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
    SaveRetry m_saveRetry { [this] { flush(); } };
};
