#pragma once

#include <chrono>
#include <string>

namespace beacon {

/// Timestamps as the ingestion service reads them: UTC, fixed layout, independent of locale.
class BeaconApiDateFormatter {
public:
    /// "yyyy-MM-dd'T'HH:mm:ss.SSS'Z'", e.g. 2024-01-02T03:04:05.678Z (truncated to the millisecond).
    static std::string formatWithMilliseconds(std::chrono::system_clock::time_point time);
};

} // namespace beacon
