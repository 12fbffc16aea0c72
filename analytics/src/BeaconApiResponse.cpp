#include "beacon/BeaconApiResponse.h"

#include "fileio/JsonNesting.h"

namespace beacon {

BeaconJsonObjectParse parseJsonObjectResponse(std::string_view body)
{
    BeaconJsonObjectParse result;
    if (body.empty()) {
        result.error = "no data";
        return result;
    }
    if (fileio::nestsDeeperThan(body, maxResponseNestingDepth)) {
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
