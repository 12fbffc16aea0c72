#pragma once

#include <QDateTime>

#include "platform/Clock.h"

/// A clock that only moves when told to. The wall clock and the steady clock
/// move together unless a test moves one alone (a suspend, a clock change).
class FakeClock final : public Clock {
public:
    explicit FakeClock(Instant start = Instant::fromUnixSeconds(1765000000.0))
        : m_now(start)
    { }
    explicit FakeClock(const QDateTime& start)
        : m_now(Instant::fromDateTime(start))
    { }

    Instant now() const override { return m_now; }
    std::chrono::milliseconds steadyTime() const override { return m_steady; }

    void advance(std::chrono::milliseconds by)
    {
        m_now = m_now.addSeconds(static_cast<double>(by.count()) / 1000.0);
        m_steady += by;
    }
    void setNow(Instant now) { m_now = now; }
    void setNow(const QDateTime& now) { m_now = Instant::fromDateTime(now); }
    void advanceSteadyOnly(std::chrono::milliseconds by) { m_steady += by; }

private:
    Instant m_now;
    std::chrono::milliseconds m_steady { 1'000'000 };
};
