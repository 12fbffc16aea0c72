#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace beacon {

/// Timestamps as the ingestion service reads them: UTC, fixed layout, independent of locale.
class BeaconApiDateFormatter {
public:
    /// "yyyy-MM-dd'T'HH:mm:ss.SSS'Z'", e.g. 2024-01-02T03:04:05.678Z (truncated to the millisecond).
    static std::string formatWithMilliseconds(std::chrono::system_clock::time_point time);
    /// "yyyy-MM-dd'T'HH:mm:ss'Z'", e.g. 2024-01-02T03:04:05Z (truncated to the second).
    static std::string formatWithSeconds(std::chrono::system_clock::time_point time);

    /// Reads either layout above (milliseconds first); nothing for any other text.
    static std::optional<std::chrono::system_clock::time_point> parse(std::string_view text);
};

} // namespace beacon
