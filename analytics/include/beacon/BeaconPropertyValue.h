#pragma once

#include <chrono>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

namespace beacon {

/// A web address; sent as its absolute text.
struct BeaconUrl {
    std::string absoluteString;
};

/// A host object with no JSON form. It may be handed in like any other value, but it is
/// dropped when the properties are sanitised.
struct BeaconOpaqueValue {
    std::shared_ptr<const void> object;
};

/// One value of an event property as the host hands it in: text, bool, integer, double,
/// date, URL, a nested list or map of such values, a ready JSON value, or an opaque object.
/// Values are immutable; copies share nested lists and maps.
class BeaconPropertyValue {
public:
    using TimePoint = std::chrono::system_clock::time_point;
    using List = std::vector<BeaconPropertyValue>;
    using Map = std::map<std::string, BeaconPropertyValue>;

    /// JSON null.
    BeaconPropertyValue();
    BeaconPropertyValue(std::string value);
    BeaconPropertyValue(std::string_view value);
    /// A null pointer is JSON null.
    BeaconPropertyValue(const char* value);
    BeaconPropertyValue(bool value);
    template <std::integral Integer>
    requires(!std::same_as<Integer, bool>) BeaconPropertyValue(Integer value)
    {
        if constexpr (std::is_signed_v<Integer>)
            m_value = static_cast<std::int64_t>(value);
        else
            m_value = static_cast<std::uint64_t>(value);
    }
    BeaconPropertyValue(double value);
    template <typename Duration>
    BeaconPropertyValue(std::chrono::time_point<std::chrono::system_clock, Duration> date)
        : m_value(std::chrono::time_point_cast<TimePoint::duration>(date))
    { }
    BeaconPropertyValue(BeaconUrl url);
    BeaconPropertyValue(List list);
    BeaconPropertyValue(Map map);
    BeaconPropertyValue(nlohmann::json value);
    BeaconPropertyValue(BeaconOpaqueValue object);

    /// The value as sent: dates as ISO-8601 UTC text with seconds ("2024-01-02T03:04:05Z"),
    /// URLs as their text. Nothing when the value, or anything nested in it, cannot be
    /// written as JSON that reads back the same: an opaque object, a NaN or infinite number,
    /// text that is not UTF-8, or nesting deeper than `maxNestingDepth`.
    std::optional<nlohmann::json> toJson() const;

    /// Lists and maps nested deeper than this are refused: queued events and key files are
    /// read back with a depth limit, and writing very deep values would exhaust the stack.
    static constexpr std::size_t maxNestingDepth = 128;

private:
    std::optional<nlohmann::json> toJson(std::size_t depth) const;

    std::variant<nlohmann::json, std::string, bool, std::int64_t, std::uint64_t, double, TimePoint, BeaconUrl,
        std::shared_ptr<const List>, std::shared_ptr<const Map>, BeaconOpaqueValue>
        m_value;
};

/// Event properties as the host hands them in.
using BeaconProperties = BeaconPropertyValue::Map;

/// The properties as JSON, without the items that cannot be sent; each dropped item logs
/// "property <key> isn't serializable, dropping the item".
nlohmann::json sanitizeDictionary(const BeaconProperties& properties);
/// The same for properties that are already JSON (a host hook's result, stored values):
/// items with NaN or infinite numbers, text that is not UTF-8, binary values or too deep
/// nesting are dropped. Anything but an object yields an empty object.
nlohmann::json sanitizeDictionary(const nlohmann::json& properties);

/// Whether `value` can be written as JSON text that reads back the same, nested at most
/// `maxDepth` levels.
bool isSerializableJson(
    const nlohmann::json& value, std::size_t maxDepth = BeaconPropertyValue::maxNestingDepth);
/// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view text);

} // namespace beacon
