#pragma once

#include <atomic>
#include <chrono>

#include "beacon/BeaconClock.h"

namespace beacon::test {

/// A clock that stands still until the test moves it.
class ManualClock final : public BeaconClock {
public:
    explicit ManualClock(TimePoint start = TimePoint(std::chrono::seconds(1'700'000'000)))
        : m_now(start)
    { }

    TimePoint now() const override { return m_now.load(); }
    void set(TimePoint time) { m_now.store(time); }
    void advance(std::chrono::system_clock::duration by) { m_now.store(m_now.load() + by); }

private:
    std::atomic<TimePoint> m_now;
};

} // namespace beacon::test
