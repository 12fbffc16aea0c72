#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "beacon/BeaconUuid.h"

namespace beacon {

class BeaconClock;

/// One captured event, as queued on disk and sent in a batch.
class BeaconEvent {
public:
    using TimePoint = std::chrono::system_clock::time_point;

    BeaconEvent(std::string event, std::string distinctId, nlohmann::json properties, TimePoint timestamp,
        BeaconUuid uuid, std::optional<std::string> apiKey = std::nullopt);

    std::string event;
    std::string distinctId;
    nlohmann::json properties; ///< always an object
    TimePoint timestamp;
    BeaconUuid uuid;
    std::optional<std::string> apiKey; ///< set only on snapshot uploads

    /// {"event", "distinct_id", "properties", "timestamp" (UTC, milliseconds), "uuid"} and "api_key" when
    /// set.
    nlohmann::json toJson() const;

    /// Reads a queued event. Needs "event" and "distinct_id" as strings, otherwise nothing.
    /// A missing or unreadable timestamp becomes now; a missing or invalid "uuid" (or the older
    /// "message_id") becomes a fresh time-ordered id; a top-level "$set" object moves into the properties.
    static std::shared_ptr<BeaconEvent> fromJson(
        const nlohmann::json& json, const BeaconClock* clock = nullptr);
};

} // namespace beacon
