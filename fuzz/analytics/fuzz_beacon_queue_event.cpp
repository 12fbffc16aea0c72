// Queue files are read back after crashes and upgrades: any JSON must either be refused or read
// into an event that writes out and reads back the same in every field.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "beacon/BeaconClock.h"
#include "beacon/BeaconEvent.h"

namespace {
using beacon::BeaconEvent;
using nlohmann::json;

/// A fixed time on a whole millisecond, so that a "now" filled in for a missing timestamp is
/// exactly what the written form can hold.
class FixedClock final : public beacon::BeaconClock {
public:
    TimePoint now() const override { return TimePoint(std::chrono::milliseconds(1'700'000'000'123)); }
};

bool sameEvent(const BeaconEvent& a, const BeaconEvent& b)
{
    return a.event == b.event && a.distinctId == b.distinctId && a.properties == b.properties
        && a.timestamp == b.timestamp && a.uuid == b.uuid && a.apiKey == b.apiKey;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FixedClock clock;
    const json parsed = json::parse(data, data + size, nullptr, false);
    if (parsed.is_discarded())
        return 0;
    const auto first = BeaconEvent::fromJson(parsed, &clock);
    if (!first)
        return 0;

    std::string text;
    try {
        text = first->toJson().dump();
    } catch (...) {
        std::abort(); // an event read from JSON can always be written again
    }
    const auto second = BeaconEvent::fromJson(json::parse(text), &clock);
    if (!second || !sameEvent(*first, *second))
        std::abort();
    if (second->toJson().dump() != text)
        std::abort();
    return 0;
}
