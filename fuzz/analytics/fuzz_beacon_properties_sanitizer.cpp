// Host property values of every kind, nested and broken: sanitising must never crash, and what
// it keeps must be JSON text that reads back as the same value.
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "beacon/BeaconPropertyValue.h"

namespace {
using beacon::BeaconProperties;
using beacon::BeaconPropertyValue;
using nlohmann::json;

BeaconPropertyValue makeValue(FuzzedDataProvider& input, int depth);

BeaconPropertyValue::List makeList(FuzzedDataProvider& input, int depth)
{
    BeaconPropertyValue::List list;
    const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, 4);
    for (std::size_t i = 0; i < count && input.remaining_bytes() > 0; ++i)
        list.push_back(makeValue(input, depth + 1));
    return list;
}

BeaconPropertyValue::Map makeMap(FuzzedDataProvider& input, int depth)
{
    BeaconPropertyValue::Map map;
    const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, 4);
    for (std::size_t i = 0; i < count && input.remaining_bytes() > 0; ++i) {
        std::string key = input.ConsumeRandomLengthString(16);
        map.insert_or_assign(std::move(key), makeValue(input, depth + 1));
    }
    return map;
}

BeaconPropertyValue makeValue(FuzzedDataProvider& input, int depth)
{
    // Containers stop a little past the nesting limit; a separate case wraps deeper.
    const int last = depth > 8 ? 6 : 12;
    switch (input.ConsumeIntegralInRange<int>(0, last)) {
    case 0:
        return input.ConsumeRandomLengthString(32); // any bytes: valid UTF-8 or not
    case 1:
        return input.ConsumeBool();
    case 2:
        return input.ConsumeIntegral<std::int64_t>();
    case 3:
        return input.ConsumeIntegral<std::uint64_t>();
    case 4:
        // Raw bits, so NaN, infinities, subnormals and negative zero all come up.
        return std::bit_cast<double>(input.ConsumeIntegral<std::uint64_t>());
    case 5: {
        // Milliseconds within what the system clock holds (about 1677 to 2262).
        const auto ms = input.ConsumeIntegralInRange<std::int64_t>(-9'000'000'000'000, 9'000'000'000'000);
        return std::chrono::sys_time<std::chrono::milliseconds>(std::chrono::milliseconds(ms));
    }
    case 6:
        return beacon::BeaconOpaqueValue { input.ConsumeBool() ? std::make_shared<int>(1) : nullptr };
    case 7:
        return beacon::BeaconUrl { input.ConsumeRandomLengthString(32) };
    case 8:
        return makeList(input, depth);
    case 9:
        return makeMap(input, depth);
    case 10: {
        // Whatever the JSON reader makes of the bytes, a discarded value included.
        return json::parse(input.ConsumeRandomLengthString(64), nullptr, false);
    }
    case 11: {
        BeaconPropertyValue value = makeValue(input, depth + 1);
        const int wraps = input.ConsumeIntegralInRange<int>(
            0, static_cast<int>(BeaconPropertyValue::maxNestingDepth) + 4);
        for (int i = 0; i < wraps; ++i)
            value = BeaconPropertyValue::List { value };
        return value;
    }
    default:
        return static_cast<const char*>(nullptr);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    BeaconProperties properties;
    while (input.remaining_bytes() > 0) {
        std::string key = input.ConsumeRandomLengthString(16);
        properties.insert_or_assign(std::move(key), makeValue(input, 0));
    }

    const json sanitized = beacon::sanitizeDictionary(properties);
    if (!sanitized.is_object())
        std::abort();
    for (const auto& [key, value] : sanitized.items()) {
        if (!properties.contains(key))
            std::abort(); // nothing is invented
    }

    std::string text;
    try {
        text = sanitized.dump();
    } catch (...) {
        std::abort(); // what is kept can always be written
    }
    const json readBack = json::parse(text, nullptr, false);
    if (readBack.is_discarded() || readBack != sanitized || readBack.dump() != text)
        std::abort();
    // Sanitising what was kept keeps all of it.
    if (beacon::sanitizeDictionary(readBack) != sanitized)
        std::abort();
    return 0;
}
