#include "beacon/BeaconEvent.h"

#include "beacon/BeaconApiDateFormatter.h"
#include "beacon/BeaconClock.h"
#include "beacon/TimeBasedEpochGenerator.h"

namespace beacon {

BeaconEvent::BeaconEvent(std::string event, std::string distinctId, nlohmann::json properties,
    TimePoint timestamp, BeaconUuid uuid, std::optional<std::string> apiKey)
    : event(std::move(event))
    , distinctId(std::move(distinctId))
    , properties(properties.is_object() ? std::move(properties) : nlohmann::json::object())
    , timestamp(timestamp)
    , uuid(uuid)
    , apiKey(std::move(apiKey))
{ }

nlohmann::json BeaconEvent::toJson() const
{
    nlohmann::json json {
        { "event", event },
        { "distinct_id", distinctId },
        { "properties", properties },
        { "timestamp", BeaconApiDateFormatter::formatWithMilliseconds(timestamp) },
        { "uuid", uuid.toString() },
    };
    if (apiKey)
        json["api_key"] = *apiKey;
    return json;
}

std::shared_ptr<BeaconEvent> BeaconEvent::fromJson(const nlohmann::json& json, const BeaconClock* clock)
{
    if (!json.is_object())
        return nullptr;
    const auto event = json.find("event");
    const auto distinctId = json.find("distinct_id");
    if (event == json.end() || !event->is_string() || distinctId == json.end() || !distinctId->is_string())
        return nullptr;

    std::optional<TimePoint> timestamp;
    if (const auto it = json.find("timestamp"); it != json.end() && it->is_string())
        timestamp = BeaconApiDateFormatter::parse(it->get_ref<const std::string&>());
    if (!timestamp)
        timestamp = clock ? clock->now() : std::chrono::system_clock::now();

    nlohmann::json properties = nlohmann::json::object();
    if (const auto it = json.find("properties"); it != json.end() && it->is_object())
        properties = *it;
    if (const auto it = json.find("$set"); it != json.end() && it->is_object())
        properties["$set"] = *it;

    std::optional<BeaconUuid> uuid;
    for (const char* key : { "uuid", "message_id" }) {
        const auto it = json.find(key);
        if (!uuid && it != json.end() && it->is_string())
            uuid = BeaconUuid::fromString(it->get_ref<const std::string&>());
    }
    if (!uuid)
        uuid = TimeBasedEpochGenerator::shared().timeOrderedUuid();

    std::optional<std::string> apiKey;
    if (const auto it = json.find("api_key"); it != json.end() && it->is_string())
        apiKey = it->get<std::string>();

    return std::make_shared<BeaconEvent>(event->get<std::string>(), distinctId->get<std::string>(),
        std::move(properties), *timestamp, *uuid, std::move(apiKey));
}

} // namespace beacon
