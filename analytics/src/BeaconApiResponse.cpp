#include "beacon/BeaconApiResponse.h"

#include <algorithm>

namespace beacon {
namespace {
/// The deepest nesting of arrays and objects in `text`, ignoring brackets inside strings.
/// Stops counting once `limit` is passed.
std::size_t nestingDepth(std::string_view text, std::size_t limit)
{
    std::size_t depth = 0;
    std::size_t deepest = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            break;
        case '[':
        case '{':
            deepest = std::max(deepest, ++depth);
            if (deepest > limit)
                return deepest;
            break;
        case ']':
        case '}':
            if (depth > 0)
                --depth;
            break;
        default:
            break;
        }
    }
    return deepest;
}
} // namespace

BeaconJsonObjectParse parseJsonObjectResponse(std::string_view body)
{
    BeaconJsonObjectParse result;
    if (body.empty()) {
        result.error = "no data";
        return result;
    }
    if (nestingDepth(body, maxResponseNestingDepth) > maxResponseNestingDepth) {
        result.error
            = "the response is nested more than " + std::to_string(maxResponseNestingDepth) + " levels deep";
        return result;
    }
    try {
        nlohmann::json value = nlohmann::json::parse(body);
        if (!value.is_object()) {
            result.error = std::string("expected a JSON object, got ") + value.type_name();
            return result;
        }
        result.object = std::move(value);
    } catch (const std::exception& error) {
        result.error = error.what();
    }
    return result;
}

} // namespace beacon
