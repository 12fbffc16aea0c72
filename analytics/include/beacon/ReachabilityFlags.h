#pragma once

#include <cstdint>

namespace beacon {

/// One property of the current network path.
enum class ReachabilityFlag : std::uint32_t {
    reachable = 1u << 0, ///< a route to the internet exists
    connectionRequired = 1u << 1, ///< a connection must be brought up first
    connectionOnTraffic = 1u << 2, ///< it comes up by itself when traffic is sent
    connectionOnDemand = 1u << 3, ///< it comes up by itself on demand
    interventionRequired = 1u << 4, ///< the user must act (password, captive portal …)
    assumed = 1u << 5, ///< nothing could be asked: the other flags are a default, not an observation
};

/// A set of `ReachabilityFlag`s.
class ReachabilityFlags {
public:
    constexpr ReachabilityFlags() = default;
    constexpr ReachabilityFlags(ReachabilityFlag flag)
        : m_bits(static_cast<std::uint32_t>(flag))
    { }
    static constexpr ReachabilityFlags fromBits(std::uint32_t bits)
    {
        ReachabilityFlags flags;
        flags.m_bits = bits;
        return flags;
    }

    constexpr std::uint32_t bits() const { return m_bits; }
    constexpr bool contains(ReachabilityFlag flag) const
    {
        return (m_bits & static_cast<std::uint32_t>(flag)) != 0;
    }
    constexpr ReachabilityFlags operator|(ReachabilityFlags other) const
    {
        return fromBits(m_bits | other.m_bits);
    }
    constexpr bool operator==(const ReachabilityFlags&) const = default;

private:
    std::uint32_t m_bits = 0;
};

constexpr ReachabilityFlags operator|(ReachabilityFlag a, ReachabilityFlag b)
{
    return ReachabilityFlags(a) | ReachabilityFlags(b);
}

} // namespace beacon
