#include "beacon/BeaconPropertyValue.h"

#include <cmath>

#include <utf8.h>

#include "beacon/BeaconApiDateFormatter.h"
#include "beacon/BeaconLog.h"

namespace beacon {

namespace {
using nlohmann::json;

template <class... Visitors> struct Overloaded : Visitors... {
    using Visitors::operator()...;
};
template <class... Visitors> Overloaded(Visitors...) -> Overloaded<Visitors...>; // clang 14 needs the guide

/// `depth` is the nesting level of `value` itself; containers inside count one more.
bool serializable(const json& value, std::size_t depth, std::size_t maxDepth)
{
    switch (value.type()) {
    case json::value_t::null:
    case json::value_t::boolean:
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
        return true;
    case json::value_t::number_float:
        // Written as null, so it would not read back as itself.
        return std::isfinite(value.get<double>());
    case json::value_t::string:
        return isValidUtf8(value.get_ref<const std::string&>());
    case json::value_t::array:
        if (depth >= maxDepth)
            return false;
        for (const json& element : value) {
            if (!serializable(element, depth + 1, maxDepth))
                return false;
        }
        return true;
    case json::value_t::object:
        if (depth >= maxDepth)
            return false;
        for (const auto& [key, element] : value.items()) {
            if (!isValidUtf8(key) || !serializable(element, depth + 1, maxDepth))
                return false;
        }
        return true;
    case json::value_t::binary:
    case json::value_t::discarded:
        return false;
    }
    return false;
}

void logDropped(const std::string& key)
{
    debugLog("property " + key + " isn't serializable, dropping the item");
}
} // namespace

bool isValidUtf8(std::string_view text)
{
    return utf8::is_valid(text.begin(), text.end());
}

bool isSerializableJson(const json& value, std::size_t maxDepth)
{
    return serializable(value, 0, maxDepth);
}

BeaconPropertyValue::BeaconPropertyValue() = default;

BeaconPropertyValue::BeaconPropertyValue(std::string value)
    : m_value(std::move(value))
{ }

BeaconPropertyValue::BeaconPropertyValue(std::string_view value)
    : m_value(std::string(value))
{ }

BeaconPropertyValue::BeaconPropertyValue(const char* value)
{
    if (value)
        m_value = std::string(value);
}

BeaconPropertyValue::BeaconPropertyValue(bool value)
    : m_value(value)
{ }

BeaconPropertyValue::BeaconPropertyValue(double value)
    : m_value(value)
{ }

BeaconPropertyValue::BeaconPropertyValue(BeaconUrl url)
    : m_value(std::move(url))
{ }

BeaconPropertyValue::BeaconPropertyValue(List list)
    : m_value(std::make_shared<const List>(std::move(list)))
{ }

BeaconPropertyValue::BeaconPropertyValue(Map map)
    : m_value(std::make_shared<const Map>(std::move(map)))
{ }

BeaconPropertyValue::BeaconPropertyValue(json value)
    : m_value(std::move(value))
{ }

BeaconPropertyValue::BeaconPropertyValue(BeaconOpaqueValue object)
    : m_value(std::move(object))
{ }

std::optional<json> BeaconPropertyValue::toJson() const
{
    return toJson(0);
}

std::optional<json> BeaconPropertyValue::toJson(std::size_t depth) const
{
    return std::visit(Overloaded {
                          [&](const json& value) -> std::optional<json> {
                              if (!serializable(value, depth, maxNestingDepth))
                                  return std::nullopt;
                              return value;
                          },
                          [](const std::string& value) -> std::optional<json> {
                              if (!isValidUtf8(value))
                                  return std::nullopt;
                              return json(value);
                          },
                          [](bool value) -> std::optional<json> { return json(value); },
                          [](std::int64_t value) -> std::optional<json> { return json(value); },
                          [](std::uint64_t value) -> std::optional<json> { return json(value); },
                          [](double value) -> std::optional<json> {
                              if (!std::isfinite(value))
                                  return std::nullopt;
                              return json(value);
                          },
                          [](const TimePoint& date) -> std::optional<json> {
                              return json(BeaconApiDateFormatter::formatWithSeconds(date));
                          },
                          [](const BeaconUrl& url) -> std::optional<json> {
                              if (!isValidUtf8(url.absoluteString))
                                  return std::nullopt;
                              return json(url.absoluteString);
                          },
                          [&](const std::shared_ptr<const List>& list) -> std::optional<json> {
                              if (depth >= maxNestingDepth)
                                  return std::nullopt;
                              json array = json::array();
                              for (const BeaconPropertyValue& element : *list) {
                                  std::optional<json> converted = element.toJson(depth + 1);
                                  if (!converted)
                                      return std::nullopt;
                                  array.push_back(std::move(*converted));
                              }
                              return array;
                          },
                          [&](const std::shared_ptr<const Map>& map) -> std::optional<json> {
                              if (depth >= maxNestingDepth)
                                  return std::nullopt;
                              json object = json::object();
                              for (const auto& [key, element] : *map) {
                                  if (!isValidUtf8(key))
                                      return std::nullopt;
                                  std::optional<json> converted = element.toJson(depth + 1);
                                  if (!converted)
                                      return std::nullopt;
                                  object[key] = std::move(*converted);
                              }
                              return object;
                          },
                          [](const BeaconOpaqueValue&) -> std::optional<json> { return std::nullopt; },
                      },
        m_value);
}

json sanitizeDictionary(const BeaconProperties& properties)
{
    json sanitized = json::object();
    for (const auto& [key, value] : properties) {
        std::optional<json> converted = isValidUtf8(key) ? value.toJson() : std::nullopt;
        if (converted)
            sanitized[key] = std::move(*converted);
        else
            logDropped(key);
    }
    return sanitized;
}

json sanitizeDictionary(const json& properties)
{
    json sanitized = json::object();
    if (!properties.is_object())
        return sanitized;
    for (const auto& [key, value] : properties.items()) {
        if (isValidUtf8(key) && serializable(value, 0, BeaconPropertyValue::maxNestingDepth))
            sanitized[key] = value;
        else
            logDropped(key);
    }
    return sanitized;
}

} // namespace beacon
