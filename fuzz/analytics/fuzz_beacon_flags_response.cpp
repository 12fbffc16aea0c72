// Flags and remote-config responses come from the network: reading them must never crash, and
// whatever is accepted must survive a print / read round trip unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "beacon/BeaconApiResponse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const beacon::BeaconJsonObjectParse parsed = beacon::parseJsonObjectResponse(body);
    if (!parsed.object) {
        if (parsed.error.empty())
            std::abort(); // a refusal always says why
        return 0;
    }
    if (!parsed.object->is_object() || !parsed.error.empty())
        std::abort();

    const std::string first = parsed.object->dump();
    const beacon::BeaconJsonObjectParse again = beacon::parseJsonObjectResponse(first);
    if (!again.object)
        std::abort();
    if (again.object->dump() != first)
        std::abort();
    return 0;
}
