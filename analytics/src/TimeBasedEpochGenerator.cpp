#include "beacon/TimeBasedEpochGenerator.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>

#include <sys/random.h>

namespace beacon {
namespace {
std::uint64_t unixMilliseconds(BeaconClock::TimePoint time)
{
    const auto millis
        = std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
    // A clock before 1970 would otherwise wrap to a far-future timestamp.
    return millis < 0 ? 0 : static_cast<std::uint64_t>(millis);
}

void seedFallback(std::mt19937_64& generator, std::uint64_t now)
{
    std::array<std::uint32_t, 6> material { static_cast<std::uint32_t>(now),
        static_cast<std::uint32_t>(now >> 32),
        static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()),
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&generator)) };
    try {
        std::random_device device;
        material[4] = device();
        material[5] = device();
    } catch (...) {
        // The secure source is already failing; the time and address above will have to do.
    }
    std::seed_seq seed(material.begin(), material.end());
    generator.seed(seed);
}
} // namespace

TimeBasedEpochGenerator::TimeBasedEpochGenerator(
    std::shared_ptr<BeaconClock> clock, SecureRandom secureRandom)
    : m_clock(clockOrSystem(std::move(clock)))
    , m_secureRandom(secureRandom ? std::move(secureRandom) : SecureRandom(&systemSecureRandom))
{ }

TimeBasedEpochGenerator& TimeBasedEpochGenerator::shared()
{
    static TimeBasedEpochGenerator generator;
    return generator;
}

bool TimeBasedEpochGenerator::systemSecureRandom(std::span<std::uint8_t> bytes)
{
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        filled += static_cast<std::size_t>(got);
    }
    return true;
}

BeaconUuid TimeBasedEpochGenerator::timeOrderedUuid()
{
    BeaconUuid::Bytes bytes {};
    {
        const std::lock_guard lock(m_lock);
        const std::uint64_t now = unixMilliseconds(m_clock->now());
        if (m_hasTimestamp && now == m_lastTimestamp) {
            // Count up as one 80-bit big-endian number.
            for (auto byte = m_lastEntropy.rbegin(); byte != m_lastEntropy.rend(); ++byte) {
                if (++*byte != 0)
                    break;
            }
        } else {
            m_lastTimestamp = now;
            m_hasTimestamp = true;
            if (!m_secureRandom(m_lastEntropy)) {
                if (!m_fallbackSeeded) {
                    seedFallback(m_fallbackRandom, now);
                    m_fallbackSeeded = true;
                }
                for (auto& byte : m_lastEntropy)
                    byte = static_cast<std::uint8_t>(m_fallbackRandom());
            }
        }
        for (int i = 0; i < 6; ++i)
            bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(now >> (8 * (5 - i)));
        for (std::size_t i = 0; i < m_lastEntropy.size(); ++i)
            bytes[6 + i] = m_lastEntropy[i];
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x70); // version 7
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    return BeaconUuid(bytes);
}

} // namespace beacon
