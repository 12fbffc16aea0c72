#pragma once

#include <QDateTime>
#include <QTimeZone>
#include <compare>

/// A moment in time as seconds since 2001-01-01 00:00:00 UTC with a fractional part.
/// The history file stores dates in this form, so keeping it avoids rounding on rewrite.
class Instant {
public:
    /// Seconds between 1970-01-01 and 2001-01-01 (UTC).
    static constexpr double referenceDateUnixSeconds = 978307200.0;

    constexpr Instant() = default;
    static constexpr Instant fromReferenceSeconds(double seconds) { return Instant(seconds); }
    static constexpr Instant fromUnixSeconds(double seconds)
    {
        return Instant(seconds - referenceDateUnixSeconds);
    }
    static Instant fromDateTime(const QDateTime& dateTime)
    {
        return fromUnixSeconds(static_cast<double>(dateTime.toMSecsSinceEpoch()) / 1000.0);
    }

    constexpr double referenceSeconds() const { return m_seconds; }
    constexpr double unixSeconds() const { return m_seconds + referenceDateUnixSeconds; }
    /// Millisecond precision, UTC.
    QDateTime toDateTime() const
    {
        return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(unixSeconds() * 1000.0), QTimeZone::utc());
    }

    constexpr Instant addSeconds(double seconds) const { return Instant(m_seconds + seconds); }
    constexpr double secondsSince(Instant other) const { return m_seconds - other.m_seconds; }

    constexpr auto operator<=>(const Instant&) const = default;

private:
    constexpr explicit Instant(double seconds)
        : m_seconds(seconds)
    { }
    double m_seconds = 0.0;
};
