#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace beacon {

/// A response body read as a JSON object, or why it could not be.
struct BeaconJsonObjectParse {
    std::optional<nlohmann::json> object; ///< always a JSON object when present
    std::string error; ///< empty exactly when `object` is present
};

/// Bodies nested deeper than this are refused: callers copy and print the result recursively.
inline constexpr std::size_t maxResponseNestingDepth = 256;

/// Reads a flags or remote-config response. Any JSON text is accepted by the reader, but only an
/// object is a usable answer. An empty body fails with "no data". Never throws.
BeaconJsonObjectParse parseJsonObjectResponse(std::string_view body);

} // namespace beacon
