// The event's JSON form: what the queue writes to disk and reads back, and what a batch carries.
#include "beacon/BeaconEvent.h"

#include <chrono>
#include <set>

#include <gtest/gtest.h>

#include "ManualClock.h"
#include "beacon/BeaconApiDateFormatter.h"

namespace {
using beacon::BeaconEvent;
using beacon::BeaconUuid;
using beacon::test::ManualClock;
using nlohmann::json;
using namespace std::chrono_literals;

constexpr const char* kUuidText = "0190A2B1-7C3D-7E4F-8A5B-6C7D8E9F0A1B";

BeaconEvent::TimePoint at(const char* text)
{
    return *beacon::BeaconApiDateFormatter::parse(text);
}

BeaconEvent sampleEvent()
{
    return BeaconEvent("dashboard_section_opened", "person-1", json { { "section", "tags" }, { "count", 3 } },
        at("2024-01-02T03:04:05.678Z"), *BeaconUuid::fromString(kUuidText));
}

json sampleJson()
{
    return json {
        { "event", "opened" },
        { "distinct_id", "person-1" },
        { "properties", { { "a", 1 } } },
        { "timestamp", "2024-01-02T03:04:05.678Z" },
        { "uuid", kUuidText },
    };
}

void expectSameEvent(const BeaconEvent& actual, const BeaconEvent& expected)
{
    EXPECT_EQ(actual.event, expected.event);
    EXPECT_EQ(actual.distinctId, expected.distinctId);
    EXPECT_EQ(actual.properties, expected.properties);
    EXPECT_EQ(actual.timestamp, expected.timestamp);
    EXPECT_EQ(actual.uuid, expected.uuid);
    EXPECT_EQ(actual.apiKey, expected.apiKey);
}

TEST(BeaconEventToJson, WritesExactlyTheFiveKeysWithoutAnApiKey)
{
    const json written = sampleEvent().toJson();
    std::set<std::string> keys;
    for (const auto& [key, value] : written.items())
        keys.insert(key);
    EXPECT_EQ(keys, (std::set<std::string> { "event", "distinct_id", "properties", "timestamp", "uuid" }));
    EXPECT_EQ(written["event"], "dashboard_section_opened");
    EXPECT_EQ(written["distinct_id"], "person-1");
    EXPECT_EQ(written["properties"], (json { { "section", "tags" }, { "count", 3 } }));
    EXPECT_EQ(written["uuid"], kUuidText);
}

TEST(BeaconEventToJson, WritesTheApiKeyOnlyWhenSet)
{
    BeaconEvent event = sampleEvent();
    event.apiKey = "project-key";
    EXPECT_EQ(event.toJson()["api_key"], "project-key");
    event.apiKey.reset();
    EXPECT_FALSE(event.toJson().contains("api_key"));
}

TEST(BeaconEventToJson, WritesTheTimestampInUtcWithMillisecondsTruncated)
{
    BeaconEvent event = sampleEvent();
    event.timestamp = at("2024-12-31T23:59:59.999Z") + 999us;
    EXPECT_EQ(event.toJson()["timestamp"], "2024-12-31T23:59:59.999Z");
    event.timestamp = at("1969-12-31T23:59:59.000Z") + 500us; // before 1970 stays on the right second
    EXPECT_EQ(event.toJson()["timestamp"], "1969-12-31T23:59:59.000Z");
}

TEST(BeaconEventToJson, WritesTheUuidInUpperCase)
{
    BeaconEvent event = sampleEvent();
    event.uuid = *BeaconUuid::fromString("0190a2b1-7c3d-7e4f-8a5b-6c7d8e9f0a1b");
    EXPECT_EQ(event.toJson()["uuid"], kUuidText);
}

TEST(BeaconEventConstruction, PropertiesThatAreNotAnObjectBecomeEmpty)
{
    const BeaconEvent event("e", "d", json::array({ 1, 2 }), at("2024-01-02T03:04:05Z"), BeaconUuid());
    EXPECT_EQ(event.properties, json::object());
}

TEST(BeaconEventFromJson, ReadsEveryField)
{
    json source = sampleJson();
    source["api_key"] = "k";
    const auto event = BeaconEvent::fromJson(source);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->event, "opened");
    EXPECT_EQ(event->distinctId, "person-1");
    EXPECT_EQ(event->properties, (json { { "a", 1 } }));
    EXPECT_EQ(event->timestamp, at("2024-01-02T03:04:05.678Z"));
    EXPECT_EQ(event->uuid.toString(), kUuidText);
    EXPECT_EQ(event->apiKey, "k");
}

TEST(BeaconEventFromJson, NeedsTheNameAndDistinctIdAsText)
{
    EXPECT_FALSE(BeaconEvent::fromJson(json::array()));
    EXPECT_FALSE(BeaconEvent::fromJson(json("opened")));
    for (const char* key : { "event", "distinct_id" }) {
        json missing = sampleJson();
        missing.erase(key);
        EXPECT_FALSE(BeaconEvent::fromJson(missing)) << key;
        json notText = sampleJson();
        notText[key] = 42;
        EXPECT_FALSE(BeaconEvent::fromJson(notText)) << key;
        json null = sampleJson();
        null[key] = nullptr;
        EXPECT_FALSE(BeaconEvent::fromJson(null)) << key;
    }
}

TEST(BeaconEventFromJson, ReadsBothTimestampForms)
{
    json source = sampleJson();
    source["timestamp"] = "2024-01-02T03:04:05Z";
    EXPECT_EQ(BeaconEvent::fromJson(source)->timestamp, at("2024-01-02T03:04:05.000Z"));
    source["timestamp"] = "2024-01-02T03:04:05.006Z";
    EXPECT_EQ(BeaconEvent::fromJson(source)->timestamp, at("2024-01-02T03:04:05Z") + 6ms);
}

TEST(BeaconEventFromJson, AMissingOrUnreadableTimestampIsNow)
{
    ManualClock clock(at("2030-05-06T07:08:09.123Z"));
    for (const json& timestamp : { json(), json("yesterday"), json("2024-01-02 03:04:05Z"),
             json("2024-02-30T00:00:00Z"), json(1700000000),
             // Outside what the clock can hold: read as unreadable, not as a wrapped-around time.
             json("0001-01-01T00:00:00Z"), json("9999-12-31T23:59:59.999Z"),
             json("1677-09-21T00:12:43.145Z") }) {
        json source = sampleJson();
        if (timestamp.is_null())
            source.erase("timestamp");
        else
            source["timestamp"] = timestamp;
        const auto event = BeaconEvent::fromJson(source, &clock);
        ASSERT_TRUE(event) << timestamp;
        EXPECT_EQ(event->timestamp, clock.now()) << timestamp;
    }
}

TEST(BeaconEventFromJson, ReadsTimesFarFromNowThatTheClockCanHold)
{
    for (const char* text :
        { "1900-01-01T00:00:00.000Z", "1677-09-21T00:12:43.146Z", "2262-04-11T23:47:16.854Z" }) {
        json source = sampleJson();
        source["timestamp"] = text;
        const auto event = BeaconEvent::fromJson(source);
        EXPECT_EQ(event->toJson()["timestamp"], text);
    }
}

TEST(BeaconEventFromJson, PropertiesThatAreNotAnObjectAreEmpty)
{
    for (const json& properties : { json::array({ 1 }), json("text"), json(nullptr) }) {
        json source = sampleJson();
        source["properties"] = properties;
        EXPECT_EQ(BeaconEvent::fromJson(source)->properties, json::object()) << properties;
    }
    json source = sampleJson();
    source.erase("properties");
    EXPECT_EQ(BeaconEvent::fromJson(source)->properties, json::object());
}

TEST(BeaconEventFromJson, MovesATopLevelSetIntoTheProperties)
{
    json source = sampleJson();
    source["properties"]["$set"] = { { "old", true } };
    source["$set"] = { { "plan", "pro" } };
    const auto event = BeaconEvent::fromJson(source);
    EXPECT_EQ(event->properties["$set"], (json { { "plan", "pro" } }));
    EXPECT_EQ(event->properties["a"], 1);

    source["$set"] = "not a dictionary";
    EXPECT_EQ(BeaconEvent::fromJson(source)->properties["$set"], (json { { "old", true } }));
}

TEST(BeaconEventFromJson, FallsBackToTheOlderMessageIdThenToAFreshId)
{
    constexpr const char* older = "0190A2B1-7C3D-7E4F-8A5B-000000000001";
    json source = sampleJson();
    source.erase("uuid");
    source["message_id"] = older;
    EXPECT_EQ(BeaconEvent::fromJson(source)->uuid.toString(), older);

    source["uuid"] = "not-a-uuid";
    EXPECT_EQ(BeaconEvent::fromJson(source)->uuid.toString(), older);

    source["uuid"] = kUuidText; // the newer key wins when both are valid
    EXPECT_EQ(BeaconEvent::fromJson(source)->uuid.toString(), kUuidText);

    source.erase("uuid");
    source["message_id"] = 12;
    const auto first = BeaconEvent::fromJson(source);
    const auto second = BeaconEvent::fromJson(source);
    EXPECT_EQ(first->uuid.version(), 7);
    EXPECT_NE(first->uuid, second->uuid);
}

TEST(BeaconEventFromJson, IgnoresAnApiKeyThatIsNotText)
{
    json source = sampleJson();
    source["api_key"] = 5;
    EXPECT_EQ(BeaconEvent::fromJson(source)->apiKey, std::nullopt);
}

TEST(BeaconEventRoundTrip, WritingAndReadingBackKeepsEveryField)
{
    BeaconEvent event = sampleEvent();
    event.properties["$set"] = { { "plan", "pro" } };
    event.properties["nested"] = { { "list", { 1, 2.5, "x", nullptr } } };
    event.apiKey = "project-key";
    const auto readBack = BeaconEvent::fromJson(json::parse(event.toJson().dump()));
    ASSERT_TRUE(readBack);
    expectSameEvent(*readBack, event);
}

TEST(BeaconEventRoundTrip, AFreshIdOrTimeIsKeptOnTheNextRead)
{
    ManualClock clock(at("2030-05-06T07:08:09.123Z"));
    const auto first = BeaconEvent::fromJson(json { { "event", "e" }, { "distinct_id", "d" } }, &clock);
    ASSERT_TRUE(first);
    const auto second = BeaconEvent::fromJson(first->toJson());
    ASSERT_TRUE(second);
    expectSameEvent(*second, *first);
}

} // namespace
