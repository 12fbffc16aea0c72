#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace beacon {

/// A 128-bit UUID value; text form is the canonical upper-case 8-4-4-4-12 layout.
class BeaconUuid {
public:
    using Bytes = std::array<std::uint8_t, 16>;

    constexpr BeaconUuid() = default;
    constexpr explicit BeaconUuid(const Bytes& bytes)
        : m_bytes(bytes)
    { }

    /// Parses the canonical hyphenated form, in either case; nothing for anything else.
    static std::optional<BeaconUuid> fromString(std::string_view text);

    const Bytes& bytes() const { return m_bytes; }
    int version() const { return m_bytes[6] >> 4; }
    std::string toString() const;

    auto operator<=>(const BeaconUuid&) const = default;

private:
    Bytes m_bytes {};
};

} // namespace beacon
