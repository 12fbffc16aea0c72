#pragma once

#include <chrono>
#include <memory>

namespace beacon {

/// The library's source of wall-clock time, replaceable in tests.
class BeaconClock {
public:
    using TimePoint = std::chrono::system_clock::time_point;
    virtual ~BeaconClock() = default;
    virtual TimePoint now() const = 0;
};

class SystemBeaconClock final : public BeaconClock {
public:
    TimePoint now() const override { return std::chrono::system_clock::now(); }
};

/// The clock to use for a configuration's optional clock.
inline std::shared_ptr<BeaconClock> clockOrSystem(std::shared_ptr<BeaconClock> clock)
{
    return clock ? std::move(clock) : std::make_shared<SystemBeaconClock>();
}

} // namespace beacon
