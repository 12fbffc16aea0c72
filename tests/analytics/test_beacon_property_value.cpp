// Property values handed in by the host, and the sanitising that keeps only what can be sent.
#include "beacon/BeaconPropertyValue.h"

#include <chrono>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "CapturedLog.h"
#include "beacon/BeaconApiDateFormatter.h"

namespace {
using beacon::BeaconOpaqueValue;
using beacon::BeaconProperties;
using beacon::BeaconPropertyValue;
using beacon::BeaconUrl;
using beacon::sanitizeDictionary;
using beacon::test::CapturedLog;
using nlohmann::json;
using namespace std::chrono_literals;

const std::string kInvalidUtf8 = "caf\xe9"; // Latin-1, not UTF-8

std::string droppedLine(const std::string& key)
{
    return "[Beacon] property " + key + " isn't serializable, dropping the item";
}

BeaconPropertyValue nestedLists(std::size_t depth)
{
    BeaconPropertyValue value = 1;
    for (std::size_t i = 0; i < depth; ++i)
        value = BeaconPropertyValue::List { value };
    return value;
}

json nestedJson(std::size_t depth)
{
    json value = 1;
    for (std::size_t i = 0; i < depth; ++i)
        value = json::array({ value });
    return value;
}

TEST(BeaconPropertyValueTest, ScalarsKeepTheirJsonType)
{
    EXPECT_EQ(BeaconPropertyValue("text").toJson(), json("text"));
    EXPECT_EQ(BeaconPropertyValue(std::string_view("view")).toJson(), json("view"));
    EXPECT_EQ(BeaconPropertyValue(true).toJson(), json(true));
    EXPECT_EQ(BeaconPropertyValue(-7).toJson(), json(-7));
    EXPECT_TRUE(BeaconPropertyValue(-7).toJson()->is_number_integer());
    EXPECT_EQ(BeaconPropertyValue(std::numeric_limits<std::int64_t>::min()).toJson(),
        json(std::numeric_limits<std::int64_t>::min()));
    EXPECT_EQ(BeaconPropertyValue(std::numeric_limits<std::uint64_t>::max()).toJson(),
        json(std::numeric_limits<std::uint64_t>::max()));
    EXPECT_EQ(BeaconPropertyValue(2.5).toJson(), json(2.5));
    EXPECT_EQ(BeaconPropertyValue(0.25f).toJson(), json(0.25));
    EXPECT_EQ(BeaconPropertyValue().toJson(), json(nullptr));
    EXPECT_EQ(BeaconPropertyValue(static_cast<const char*>(nullptr)).toJson(), json(nullptr));
}

TEST(BeaconPropertyValueTest, ADateIsIsoTextInUtcToTheSecond)
{
    const auto date = *beacon::BeaconApiDateFormatter::parse("2024-01-02T03:04:05.987Z");
    EXPECT_EQ(BeaconPropertyValue(date).toJson(), json("2024-01-02T03:04:05Z"));
    // Coarser clocks are accepted as they are.
    const auto day = std::chrono::floor<std::chrono::days>(date);
    EXPECT_EQ(BeaconPropertyValue(day).toJson(), json("2024-01-02T00:00:00Z"));
}

TEST(BeaconPropertyValueTest, AUrlIsItsAbsoluteText)
{
    EXPECT_EQ(BeaconPropertyValue(BeaconUrl { "https://murv.studio/calmix?x=1" }).toJson(),
        json("https://murv.studio/calmix?x=1"));
}

TEST(BeaconPropertyValueTest, ListsAndMapsConvertTheirElements)
{
    const auto date = *beacon::BeaconApiDateFormatter::parse("2024-01-02T03:04:05Z");
    const BeaconPropertyValue value = BeaconPropertyValue::Map {
        { "list", BeaconPropertyValue::List { 1, "two", date, BeaconUrl { "https://a.b/" } } },
        { "json", json { { "k", { 1, 2 } } } },
    };
    EXPECT_EQ(value.toJson(),
        (json {
            { "list", { 1, "two", "2024-01-02T03:04:05Z", "https://a.b/" } },
            { "json", { { "k", { 1, 2 } } } },
        }));
}

TEST(BeaconPropertyValueTest, ValuesThatCannotBeSentHaveNoJson)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<const char*, BeaconPropertyValue>> cases = {
        { "opaque object", BeaconOpaqueValue { std::make_shared<int>(3) } },
        { "NaN", nan },
        { "infinity", -inf },
        { "text that is not UTF-8", kInvalidUtf8 },
        { "URL that is not UTF-8", BeaconUrl { kInvalidUtf8 } },
        { "opaque inside a list", BeaconPropertyValue::List { 1, BeaconOpaqueValue {} } },
        { "NaN inside a map", BeaconPropertyValue::Map { { "x", nan } } },
        { "map key that is not UTF-8", BeaconPropertyValue::Map { { kInvalidUtf8, 1 } } },
        { "NaN inside a JSON value", json::array({ 1.0, nan }) },
        { "bad text inside a JSON value", json { { "k", kInvalidUtf8 } } },
        { "bad key inside a JSON value", json { { kInvalidUtf8, 1 } } },
        { "binary JSON", json::binary({ 1, 2, 3 }) },
        { "discarded JSON", json(json::value_t::discarded) },
    };
    for (const auto& [name, value] : cases)
        EXPECT_EQ(value.toJson(), std::nullopt) << name;
}

TEST(BeaconPropertyValueTest, NestingIsLimited)
{
    const std::size_t limit = BeaconPropertyValue::maxNestingDepth;
    EXPECT_TRUE(nestedLists(limit).toJson());
    EXPECT_FALSE(nestedLists(limit + 1).toJson());
    EXPECT_TRUE(BeaconPropertyValue(nestedJson(limit)).toJson());
    EXPECT_FALSE(BeaconPropertyValue(nestedJson(limit + 1)).toJson());
    // A JSON value inside a list counts from the list's level.
    EXPECT_FALSE(BeaconPropertyValue(BeaconPropertyValue::List { nestedJson(limit) }).toJson());
    // Very deep input is refused without exhausting the stack.
    // (Moved, never copied: copying such a value recurses as deep as it nests.)
    const std::string deep = std::string(100'000, '[') + std::string(100'000, ']');
    EXPECT_FALSE(BeaconPropertyValue(json::parse(deep)).toJson());
    json wrapper = json::object();
    wrapper["deep"] = json::parse(deep);
    EXPECT_EQ(sanitizeDictionary(wrapper), json::object());
}

TEST(SanitizeDictionaryTest, KeepsWhatCanBeSentAndDropsTheRestWithALine)
{
    const BeaconProperties properties = {
        { "plain", "text" },
        { "object", BeaconOpaqueValue { std::make_shared<int>(1) } },
        { "ratio", std::nan("") },
        { "count", 3 },
        { "date", *beacon::BeaconApiDateFormatter::parse("2024-01-02T03:04:05Z") },
        { kInvalidUtf8, "fine value, bad key" },
    };
    CapturedLog log;
    const json sanitized = sanitizeDictionary(properties);
    EXPECT_EQ(sanitized, (json { { "plain", "text" }, { "count", 3 }, { "date", "2024-01-02T03:04:05Z" } }));
    const auto& lines = log.lines();
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), droppedLine("object")), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), droppedLine("ratio")), lines.end());
}

TEST(SanitizeDictionaryTest, AJsonDictionaryLosesOnlyItsBadItems)
{
    json properties = {
        { "ok", { 1, 2 } },
        { "bad", { 1, std::numeric_limits<double>::infinity() } },
        { "null", nullptr },
    };
    properties["bytes"] = json::binary({ 0 });
    CapturedLog log;
    EXPECT_EQ(sanitizeDictionary(properties), (json { { "ok", { 1, 2 } }, { "null", nullptr } }));
    EXPECT_TRUE(log.contains(droppedLine("bad")));
    EXPECT_TRUE(log.contains(droppedLine("bytes")));
}

TEST(SanitizeDictionaryTest, AnythingButAnObjectIsEmpty)
{
    EXPECT_EQ(sanitizeDictionary(json::array({ 1 })), json::object());
    EXPECT_EQ(sanitizeDictionary(json("x")), json::object());
    EXPECT_EQ(sanitizeDictionary(json()), json::object());
}

TEST(SanitizeDictionaryTest, TheResultAlwaysSerialisesAndReadsBackTheSame)
{
    const BeaconProperties properties = {
        { "a",
            BeaconPropertyValue::List {
                1.5, -0.0, 1e300, "é", BeaconPropertyValue::Map { { "ü", false } } } },
        { "b", json { { "deep", nestedJson(50) } } },
        { "c", BeaconPropertyValue::List { kInvalidUtf8 } },
    };
    const json sanitized = sanitizeDictionary(properties);
    EXPECT_FALSE(sanitized.contains("c"));
    const std::string text = sanitized.dump();
    EXPECT_EQ(json::parse(text), sanitized);
    EXPECT_EQ(json::parse(text).dump(), text);
}

TEST(Utf8Test, RejectsMalformedSequences)
{
    EXPECT_TRUE(beacon::isValidUtf8("plain ascii"));
    EXPECT_TRUE(beacon::isValidUtf8("Grüße, 東京, 🎧"));
    EXPECT_FALSE(beacon::isValidUtf8("\xc0\xaf")); // overlong "/"
    EXPECT_FALSE(beacon::isValidUtf8("\xed\xa0\x80")); // a UTF-16 surrogate
    EXPECT_FALSE(beacon::isValidUtf8("\xe2\x82")); // cut short
    EXPECT_FALSE(beacon::isValidUtf8(kInvalidUtf8));
}

} // namespace
