#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <span>

#include "beacon/BeaconClock.h"
#include "beacon/BeaconUuid.h"

namespace beacon {

/// Makes version-7 UUIDs: 48 bits of Unix milliseconds, then 80 bits of entropy that
/// is drawn fresh each millisecond and counted up within one, so ids sort by creation
/// order, also across threads.
class TimeBasedEpochGenerator {
public:
    /// Fills the span with secure random bytes; false when it cannot.
    using SecureRandom = std::function<bool(std::span<std::uint8_t>)>;

    /// Both default to the system: the wall clock and getrandom(2).
    explicit TimeBasedEpochGenerator(
        std::shared_ptr<BeaconClock> clock = nullptr, SecureRandom secureRandom = nullptr);

    TimeBasedEpochGenerator(const TimeBasedEpochGenerator&) = delete;
    TimeBasedEpochGenerator& operator=(const TimeBasedEpochGenerator&) = delete;

    /// The instance the whole library draws its ids from.
    static TimeBasedEpochGenerator& shared();

    BeaconUuid timeOrderedUuid();

    /// getrandom(2), retried when interrupted.
    static bool systemSecureRandom(std::span<std::uint8_t> bytes);

private:
    using Entropy = std::array<std::uint8_t, 10>;

    std::shared_ptr<BeaconClock> m_clock;
    SecureRandom m_secureRandom;
    std::mutex m_lock; // guards everything below
    Entropy m_lastEntropy {};
    std::uint64_t m_lastTimestamp = 0;
    bool m_hasTimestamp = false;
    std::mt19937_64 m_fallbackRandom; // only when the secure source fails
    bool m_fallbackSeeded = false;
};

} // namespace beacon
