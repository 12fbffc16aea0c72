#pragma once

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "FakeClock.h"
#include "MemoryPreferences.h"
#include "TestCalendars.h"
#include "data/SessionHistoryCodec.h"
#include "data/SessionStore.h"
#include "data/TagManager.h"
#include "data/ThemeManager.h"
#include "insights/DayWatcher.h"
#include "insights/InsightsDependencies.h"
#include "timer/DailyGoal.h"

inline const QTimeZone kBerlin("Europe/Berlin");

/// Test names and failures show instants as UTC dates.
inline void PrintTo(const Instant& instant, std::ostream* out)
{
    *out << instant.toDateTime().toString(Qt::ISODateWithMs).toStdString();
}

inline SessionRecord focus(
    Instant end, double minutes, std::optional<QString> tag = std::nullopt, bool completed = true)
{
    return { QUuid::createUuid(), end, minutes * 60, SessionType::focus, completed, std::move(tag) };
}

inline SessionRecord shortBreak(Instant end)
{
    return { QUuid::createUuid(), end, 300, SessionType::shortBreak, true, {} };
}

/// A history, the managers and a pinned clock and calendar for the dashboard's models.
/// The store is opened only when a model first asks for it.
class InsightsFixture : public ::testing::Test {
protected:
    /// Starts the history with `records` (written to the file the store will read).
    void history(const std::vector<SessionRecord>& records)
    {
        ASSERT_FALSE(m_store) << "the store has been opened already";
        QFile file(historyPath());
        QDir().mkpath(dir.path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(SessionHistoryCodec::encode(records)));
    }
    SessionStore& store()
    {
        if (!m_store) {
            m_store = std::make_unique<SessionStore>(historyPath(), clock, calendar);
            ++storeOpenings;
        }
        return *m_store;
    }
    InsightsDependencies dependencies()
    {
        return { [this]() -> SessionStore& { return store(); }, theme, tags, clock, calendar, days, goal };
    }
    /// The local time in Berlin.
    static Instant at(int y, int mo, int d, int h = 12, int mi = 0)
    {
        return localTime(kBerlin, y, mo, d, h, mi);
    }

    QTemporaryDir dir;
    // Wednesday 2026-12-09, 15:00 in Berlin.
    FakeClock clock { at(2026, 12, 9, 15, 0) };
    Calendar calendar = berlinCalendar("en_US");
    MemoryPreferences preferences;
    ThemeManager theme { preferences };
    TagManager tags { preferences };
    DayWatcher days { clock, calendar };
    DailyGoal goal { preferences };
    int storeOpenings = 0;

private:
    QString historyPath() const { return dir.filePath(QStringLiteral("sessions.json")); }
    std::unique_ptr<SessionStore> m_store;
};
