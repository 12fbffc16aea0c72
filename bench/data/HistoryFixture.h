#pragma once

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimeZone>
#include <vector>

#include "data/SessionHistoryCodec.h"
#include "data/SessionRecord.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"

/// A clock frozen at one moment.
class FrozenClock final : public Clock {
public:
    explicit FrozenClock(Instant now)
        : m_now(now)
    { }
    Instant now() const override { return m_now; }
    std::chrono::milliseconds steadyTime() const override { return std::chrono::milliseconds(0); }

private:
    Instant m_now;
};

/// A history of `count` records spread over ten years up to `now`: mostly
/// focus, some breaks and incomplete records, most of them tagged.
inline std::vector<SessionRecord> makeHistory(std::size_t count, Instant now)
{
    static const QString tags[] = { QStringLiteral("Work"), QStringLiteral("Deep Work"),
        QStringLiteral("Learning"), QStringLiteral("Reading") };
    QRandomGenerator random(12345);
    const double span = 10 * 365.25 * 86400;
    std::vector<SessionRecord> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Instant date
            = now.addSeconds(-span + span * (double(i) + random.generateDouble()) / double(count));
        const int kind = random.bounded(10);
        SessionRecord r;
        r.id = QUuid::createUuid();
        r.date = date;
        r.type = kind < 6 ? SessionType::focus : kind < 9 ? SessionType::shortBreak : SessionType::longBreak;
        r.duration = r.type == SessionType::focus ? 1500 : r.type == SessionType::shortBreak ? 300 : 900;
        r.completedFully = random.bounded(20) != 0;
        if (r.type == SessionType::focus && random.bounded(4) != 0)
            r.tag = tags[random.bounded(4)];
        records.push_back(std::move(r));
    }
    return records;
}

inline void writeHistory(const QString& path, const std::vector<SessionRecord>& records)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray::fromStdString(SessionHistoryCodec::encode(records)));
}

inline Calendar benchCalendar()
{
    return Calendar(QTimeZone("Europe/Berlin"), QLocale(QStringLiteral("en_US")));
}
inline Instant benchNow()
{
    return Instant::fromUnixSeconds(1796000000.0);
} // December 2026
