// BeaconApi against a real HTTP server on the loopback interface.
#include "beacon/BeaconApi.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <future>
#include <set>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "LoopbackHttpServer.h"
#include "beacon/BeaconClock.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconVersion.h"

namespace {
using beacon::BeaconApi;
using beacon::BeaconConfig;
using beacon::test::CannedResponse;
using beacon::test::LoopbackHttpServer;
using beacon::test::RecordedRequest;
using beacon::test::RefusingPort;
using nlohmann::json;
using namespace std::chrono_literals;

constexpr auto kWaitLimit = 20s;

class FixedClock final : public beacon::BeaconClock {
public:
    explicit FixedClock(TimePoint time)
        : m_time(time)
    { }
    TimePoint now() const override { return m_time; }

private:
    TimePoint m_time;
};

/// Turns the debug log on and collects what it prints until `lines()` is called.
class LogCapture {
public:
    LogCapture()
    {
        beacon::setDebugLogEnabled(true);
        testing::internal::CaptureStdout();
    }
    ~LogCapture()
    {
        if (!m_taken)
            testing::internal::GetCapturedStdout();
        beacon::setDebugLogEnabled(false);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines()
    {
        m_taken = true;
        std::istringstream text(testing::internal::GetCapturedStdout());
        std::vector<std::string> result;
        for (std::string line; std::getline(text, line);)
            result.push_back(line);
        return result;
    }

private:
    bool m_taken = false;
};

struct UploadResult {
    int status = -1;
    bool failed = false;
    std::thread::id thread {};
    bool operator==(const UploadResult& other) const
    {
        return status == other.status && failed == other.failed;
    }
};

std::ostream& operator<<(std::ostream& out, const UploadResult& result)
{
    return out << "{status " << result.status << ", failed " << result.failed << "}";
}

struct JsonResult {
    std::optional<json> response;
    std::thread::id thread {};
};

/// Starts a call and waits for its completion; a completion that never comes fails the test.
template <typename Result, typename Call> Result await(Call call)
{
    auto promise = std::make_shared<std::promise<Result>>();
    std::future<Result> future = promise->get_future();
    call(promise);
    if (future.wait_for(kWaitLimit) != std::future_status::ready) {
        ADD_FAILURE() << "the completion was not called";
        return {};
    }
    return future.get();
}

UploadResult sendBatch(BeaconApi& api, std::vector<json> events)
{
    return await<UploadResult>([&](auto promise) {
        api.batch(std::move(events), [promise](int status, bool failed) {
            promise->set_value({ status, failed, std::this_thread::get_id() });
        });
    });
}

UploadResult sendSnapshot(BeaconApi& api, std::vector<json> events)
{
    return await<UploadResult>([&](auto promise) {
        api.snapshot(std::move(events), [promise](int status, bool failed) {
            promise->set_value({ status, failed, std::this_thread::get_id() });
        });
    });
}

JsonResult fetchFlags(BeaconApi& api, std::string distinctId = "user-1",
    std::optional<std::string> anonymousId = std::nullopt, std::map<std::string, std::string> groups = {},
    json personProperties = json::object(), json groupProperties = json::object())
{
    return await<JsonResult>([&](auto promise) {
        api.flags(std::move(distinctId), std::move(anonymousId), std::move(groups),
            std::move(personProperties), std::move(groupProperties), [promise](std::optional<json> response) {
                promise->set_value({ std::move(response), std::this_thread::get_id() });
            });
    });
}

JsonResult fetchRemoteConfig(BeaconApi& api)
{
    return await<JsonResult>([&](auto promise) {
        api.remoteConfig([promise](std::optional<json> response) {
            promise->set_value({ std::move(response), std::this_thread::get_id() });
        });
    });
}

json event(const std::string& name, int index)
{
    return { { "event", name }, { "distinct_id", "user-1" },
        { "properties", { { "index", index }, { "$lib", "beacon-desktop" } } },
        { "timestamp", "2024-01-02T03:04:05.000Z" }, { "uuid", "0190A2B1-7C3D-7E4F-8A5B-6C7D8E9F0A1B" } };
}

std::string lowercase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::set<std::string> keysOf(const json& object)
{
    std::set<std::string> keys;
    for (const auto& item : object.items())
        keys.insert(item.key());
    return keys;
}

class BeaconApiTest : public testing::Test {
protected:
    void SetUp() override
    {
        config = std::make_shared<BeaconConfig>("test-key", server.baseUrl());
        config->urlSessionConfiguration = beacon::BeaconUrlSessionConfiguration { 5.0 };
        // 2024-01-02T03:04:05.678Z
        config->clock = std::make_shared<FixedClock>(std::chrono::system_clock::time_point(1704164645678ms));
        api = std::make_unique<BeaconApi>(config);
    }

    void TearDown() override
    {
        api.reset();
        beacon::BeaconVersion::reset();
        beacon::setDebugLogEnabled(false);
    }

    RecordedRequest onlyRequest()
    {
        const std::vector<RecordedRequest> requests = server.requests();
        EXPECT_EQ(requests.size(), 1u);
        return requests.empty() ? RecordedRequest {} : requests.front();
    }

    LoopbackHttpServer server;
    std::shared_ptr<BeaconConfig> config;
    std::unique_ptr<BeaconApi> api;
};

TEST_F(BeaconApiTest, BatchPostsGzippedEnvelopeWithExactHeaders)
{
    const std::vector<json> events = { event("first", 1), event("second", 2), event("third", 3) };
    LogCapture log;

    const UploadResult result = sendBatch(*api, events);

    EXPECT_EQ(result, (UploadResult { 200, false }));
    EXPECT_NE(result.thread, std::this_thread::get_id()) << "completions run on the request's worker";
    EXPECT_EQ(log.lines(), std::vector<std::string> { "[Beacon] Events sent successfully." });

    const RecordedRequest request = onlyRequest();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/batch");
    EXPECT_EQ(request.header("Content-Type"), "application/json; charset=utf-8");
    EXPECT_EQ(request.header("User-Agent"), "beacon-desktop/1.0.0");
    EXPECT_EQ(request.header("Content-Encoding"), "gzip");
    EXPECT_EQ(request.header("Accept-Encoding"), "gzip");
    EXPECT_EQ(request.headerCount("Content-Type"), 1u);
    EXPECT_EQ(request.headerCount("User-Agent"), 1u);
    EXPECT_EQ(request.headerCount("Expect"), 0u);

    // The server has already undone the gzip encoding (it refuses a body that is not gzip).
    const json body = json::parse(request.body);
    EXPECT_EQ(keysOf(body), (std::set<std::string> { "api_key", "batch", "sent_at" }));
    EXPECT_EQ(body["api_key"], "test-key");
    EXPECT_EQ(body["batch"], json(events)) << "events go out unchanged and in queue order";
    EXPECT_EQ(body["sent_at"], "2024-01-02T03:04:05.678Z");
}

TEST_F(BeaconApiTest, BatchOfFiftyLargeEventsArrivesIntact)
{
    std::vector<json> events;
    for (int i = 0; i < 50; ++i) {
        json item = event("large", i);
        item["properties"]["payload"] = std::string(40'000, static_cast<char>('a' + i % 26));
        item["properties"]["ünïcødé"] = "✓ " + std::to_string(i);
        events.push_back(std::move(item));
    }

    EXPECT_EQ(sendBatch(*api, events), (UploadResult { 200, false }));

    EXPECT_EQ(json::parse(onlyRequest().body)["batch"], json(events));
}

TEST_F(BeaconApiTest, SnapshotPostsGzippedArrayWithApiKeyOnEachEvent)
{
    json withOtherKey = event("$snapshot", 2);
    withOtherKey["api_key"] = "someone-else";
    LogCapture log;

    EXPECT_EQ(sendSnapshot(*api, { event("$snapshot", 1), withOtherKey }), (UploadResult { 200, false }));

    EXPECT_EQ(log.lines(), std::vector<std::string> { "[Beacon] Snapshots sent successfully." });
    const RecordedRequest request = onlyRequest();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/s/");
    EXPECT_EQ(request.header("Content-Encoding"), "gzip");
    EXPECT_EQ(request.header("Accept-Encoding"), "gzip");
    EXPECT_EQ(request.header("User-Agent"), "beacon-desktop/1.0.0");

    json expectedFirst = event("$snapshot", 1);
    expectedFirst["api_key"] = "test-key";
    json expectedSecond = event("$snapshot", 2);
    expectedSecond["api_key"] = "test-key";
    EXPECT_EQ(json::parse(request.body), json::array({ expectedFirst, expectedSecond }));
}

TEST_F(BeaconApiTest, SnapshotUsesTheConfiguredEndpoint)
{
    config->snapshotEndpoint = "/replay/v1";

    EXPECT_EQ(sendSnapshot(*api, { event("$snapshot", 1) }), (UploadResult { 200, false }));

    EXPECT_EQ(onlyRequest().target, "/replay/v1");
}

TEST_F(BeaconApiTest, HostPathsAreJoinedWithSingleSlashes)
{
    struct Case {
        std::string hostSuffix;
        std::string batchTarget;
        std::string snapshotTarget;
        std::string flagsTarget;
    };
    const std::vector<Case> cases = {
        { "", "/batch", "/s/", "/flags?v=2&config=true" },
        { "/", "/batch", "/s/", "/flags?v=2&config=true" },
        { "/ingest", "/ingest/batch", "/ingest/s/", "/ingest/flags?v=2&config=true" },
        { "/ingest/", "/ingest/batch", "/ingest/s/", "/ingest/flags?v=2&config=true" },
        { "//ingest//", "/ingest/batch", "/ingest/s/", "/ingest/flags?v=2&config=true" },
        { "/ingest?token=1#top", "/ingest/batch", "/ingest/s/", "/ingest/flags?v=2&config=true" },
    };
    for (const Case& item : cases) {
        SCOPED_TRACE("host suffix '" + item.hostSuffix + "'");
        server.clearRequests();
        config->host = server.baseUrl() + item.hostSuffix;

        EXPECT_EQ(sendBatch(*api, { event("a", 1) }), (UploadResult { 200, false }));
        EXPECT_EQ(sendSnapshot(*api, { event("$snapshot", 1) }), (UploadResult { 200, false }));
        EXPECT_TRUE(fetchFlags(*api).response);

        const std::vector<RecordedRequest> requests = server.requests();
        ASSERT_EQ(requests.size(), 3u);
        EXPECT_EQ(requests[0].target, item.batchTarget);
        EXPECT_EQ(requests[1].target, item.snapshotTarget);
        EXPECT_EQ(requests[2].target, item.flagsTarget);
    }
}

TEST_F(BeaconApiTest, UploadStatusesOutside2xxAreReportedWithoutTheErrorFlag)
{
    server.setResponse("/batch", { .status = 401, .body = R"({"error":"invalid api key"})" });
    server.setResponse("/s/", { .status = 503, .body = "Service Unavailable", .contentType = "text/plain" });
    LogCapture log;

    EXPECT_EQ(sendBatch(*api, { event("a", 1) }), (UploadResult { 401, false }));
    EXPECT_EQ(sendSnapshot(*api, { event("$snapshot", 1) }), (UploadResult { 503, false }));

    EXPECT_EQ(log.lines(),
        (std::vector<std::string> {
            R"([Beacon] Error sending events to batch API: status: 401, body: {"error":"invalid api key"}.)",
            "[Beacon] Error sending events to snapshot API: status: 503, body: nil.",
        }));
}

TEST_F(BeaconApiTest, RedirectIsHandedBackNotFollowed)
{
    server.setResponse(
        "/batch", { .status = 301, .body = "", .headers = { { "Location", server.baseUrl() + "/moved" } } });
    LogCapture log;

    EXPECT_EQ(sendBatch(*api, { event("a", 1) }), (UploadResult { 301, false }));

    EXPECT_EQ(log.lines(),
        std::vector<std::string> { "[Beacon] Error sending events to batch API: status: 301, body: nil." });
    EXPECT_EQ(onlyRequest().target, "/batch") << "the queue decides what a 3xx means";
}

TEST_F(BeaconApiTest, RefusedConnectionIsATransportFailure)
{
    const RefusingPort refusing;
    config->host = refusing.baseUrl();
    LogCapture log;

    EXPECT_EQ(sendBatch(*api, { event("a", 1) }), (UploadResult { 0, true }));
    EXPECT_EQ(sendSnapshot(*api, { event("$snapshot", 1) }), (UploadResult { 0, true }));

    const std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].starts_with("[Beacon] Error calling the batch API: ")) << lines[0];
    EXPECT_TRUE(lines[0].ends_with(".")) << lines[0];
    EXPECT_GT(lines[0].size(), std::string("[Beacon] Error calling the batch API: .").size())
        << "names the error";
    EXPECT_TRUE(lines[1].starts_with("[Beacon] Error calling the snapshot API: ")) << lines[1];
}

TEST_F(BeaconApiTest, ServerThatNeverAnswersTimesOutAfterTheConfiguredTimeout)
{
    server.setResponse("/batch", { .neverAnswer = true });
    config->urlSessionConfiguration = beacon::BeaconUrlSessionConfiguration { 0.3 };
    LogCapture log;

    const auto started = std::chrono::steady_clock::now();
    const UploadResult result = sendBatch(*api, { event("a", 1) });
    const auto elapsed = std::chrono::steady_clock::now() - started;

    EXPECT_EQ(result, (UploadResult { 0, true }));
    EXPECT_GE(elapsed, 250ms);
    EXPECT_LT(elapsed, 5s) << "the 10-second default must have been replaced";
    EXPECT_EQ(server.requestCount(), 1u);
    const std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("[Beacon] Error calling the batch API: ")) << lines[0];
    EXPECT_NE(lines[0].find("timed out"), std::string::npos) << lines[0];
}

TEST_F(BeaconApiTest, UnusableHostFailsEveryCallWithoutARequest)
{
    for (const std::string host : { "not a url", "ftp://127.0.0.1/", "file:///etc/passwd" }) {
        SCOPED_TRACE(host);
        config->host = host;
        LogCapture log;

        const UploadResult batch = sendBatch(*api, { event("a", 1) });
        const UploadResult snapshot = sendSnapshot(*api, { event("$snapshot", 1) });
        const JsonResult flags = fetchFlags(*api);
        const JsonResult remote = fetchRemoteConfig(*api);

        EXPECT_EQ(batch, (UploadResult { 0, true }));
        EXPECT_EQ(snapshot, (UploadResult { 0, true }));
        EXPECT_FALSE(flags.response);
        EXPECT_FALSE(remote.response);
        EXPECT_NE(batch.thread, std::this_thread::get_id()) << "even failures complete on the worker";
        EXPECT_NE(flags.thread, std::this_thread::get_id());
        EXPECT_EQ(log.lines(),
            (std::vector<std::string> {
                "[Beacon] Malformed batch URL error.",
                "[Beacon] Malformed snapshot URL error.",
                "[Beacon] Malformed flags URL error.",
                "[Beacon] Error calling the remote config API: unable to create request",
            }));
    }
    EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(BeaconApiTest, MissingConfigurationFailsLikeAnUnusableHost)
{
    BeaconApi unconfigured(nullptr);
    LogCapture log;

    EXPECT_EQ(sendBatch(unconfigured, { event("a", 1) }), (UploadResult { 0, true }));
    EXPECT_FALSE(fetchRemoteConfig(unconfigured).response);

    EXPECT_EQ(log.lines(),
        (std::vector<std::string> {
            "[Beacon] Malformed batch URL error.",
            "[Beacon] Error calling the remote config API: unable to create request",
        }));
}

TEST_F(BeaconApiTest, BodiesThatAreNotValidJsonTextAreRefusedBeforeSending)
{
    json broken = event("a", 1);
    broken["properties"]["name"] = std::string("caf\xC3", 4); // truncated UTF-8
    LogCapture log;

    EXPECT_EQ(sendBatch(*api, { broken }), (UploadResult { 0, true }));
    EXPECT_EQ(sendSnapshot(*api, { broken }), (UploadResult { 0, true }));
    EXPECT_FALSE(fetchFlags(*api, "user-1", std::nullopt, {}, { { "name", std::string("\xFF") } }).response);

    EXPECT_EQ(log.lines(),
        (std::vector<std::string> {
            "[Beacon] Error parsing the batch body",
            "[Beacon] Error parsing the snapshot body",
            "[Beacon] Error parsing the flags body",
        }));
    EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(BeaconApiTest, FlagsRequestCarriesOnlyTheRequiredKeysByDefault)
{
    server.setResponse("/flags", { .body = R"({"flags":{"beta":{"enabled":true}},"requestId":"r-1"})" });
    LogCapture log;

    const JsonResult result = fetchFlags(*api);

    ASSERT_TRUE(result.response);
    EXPECT_EQ(*result.response, json::parse(R"({"flags":{"beta":{"enabled":true}},"requestId":"r-1"})"));
    EXPECT_NE(result.thread, std::this_thread::get_id());
    EXPECT_EQ(log.lines(), std::vector<std::string> { "[Beacon] Flags called successfully." });

    const RecordedRequest request = onlyRequest();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/flags");
    EXPECT_EQ(request.query,
        (std::vector<std::pair<std::string, std::string>> { { "v", "2" }, { "config", "true" } }));
    EXPECT_EQ(request.header("Content-Type"), "application/json; charset=utf-8");
    EXPECT_EQ(request.header("User-Agent"), "beacon-desktop/1.0.0");
    EXPECT_EQ(request.headerCount("Content-Encoding"), 0u) << "flags bodies are not compressed";
    EXPECT_EQ(request.headerCount("Accept-Encoding"), 0u);
    EXPECT_EQ(json::parse(request.body),
        json::parse(R"({"api_key":"test-key","distinct_id":"user-1","groups":{}})"));
}

TEST_F(BeaconApiTest, FlagsRequestAddsOptionalKeysWhenGiven)
{
    config->evaluationContexts = std::vector<std::string> { "desktop", "beta" };

    ASSERT_TRUE(fetchFlags(*api, "user-1", "anon-1", { { "company", "acme" } },
        { { "email", "a@example.com" } }, { { "company", { { "size", 10 } } } })
                    .response);

    EXPECT_EQ(json::parse(onlyRequest().body), json::parse(R"({
        "api_key": "test-key",
        "distinct_id": "user-1",
        "$anon_distinct_id": "anon-1",
        "groups": {"company": "acme"},
        "person_properties": {"email": "a@example.com"},
        "group_properties": {"company": {"size": 10}},
        "evaluation_contexts": ["desktop", "beta"]
    })"));
}

TEST_F(BeaconApiTest, FlagsRequestLeavesOutEmptyEvaluationContexts)
{
    config->evaluationContexts = std::vector<std::string> {};

    ASSERT_TRUE(fetchFlags(*api, "user-1", "anon-1").response);

    EXPECT_EQ(keysOf(json::parse(onlyRequest().body)),
        (std::set<std::string> { "api_key", "distinct_id", "groups", "$anon_distinct_id" }));
}

TEST_F(BeaconApiTest, FlagsFailuresCompleteWithNothing)
{
    const std::string tooLarge(BeaconApi::maxResponseBytes + 1, ' ');
    std::string deep(100'000, '[');
    deep += std::string(100'000, ']');
    struct Case {
        std::string name;
        CannedResponse response;
        std::string expectedLine; ///< exact, or a prefix when `prefixOnly`
        bool prefixOnly = false;
    };
    const std::vector<Case> cases = {
        { "server error", { .status = 500, .body = "{}" }, "[Beacon] Error calling flags API: status: 500" },
        { "redirect", { .status = 301, .body = "" }, "[Beacon] Error calling flags API: status: 301" },
        { "empty body", { .body = "" }, "[Beacon] Error parsing the flags response: no data" },
        { "array", { .body = "[1,2]" },
            "[Beacon] Error parsing the flags response: expected a JSON object, got array" },
        { "string fragment", { .body = R"("on")" },
            "[Beacon] Error parsing the flags response: expected a JSON object, got string" },
        { "null fragment", { .body = "null" },
            "[Beacon] Error parsing the flags response: expected a JSON object, got null" },
        { "not JSON", { .body = "<html>oops</html>", .contentType = "text/html" },
            "[Beacon] Error parsing the flags response: ", true },
        { "truncated object", { .body = R"({"flags":)" },
            "[Beacon] Error parsing the flags response: ", true },
        { "deeply nested", { .body = deep }, "[Beacon] Error parsing the flags response: ", true },
        { "body over the limit", { .body = tooLarge, .contentType = "text/plain" },
            "[Beacon] Error calling the flags API: the response is larger than 10485760 bytes" },
        { "chunked body over the limit", { .body = tooLarge, .contentType = "text/plain", .chunked = true },
            "[Beacon] Error calling the flags API: the response is larger than 10485760 bytes" },
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.name);
        server.setResponse("/flags", item.response);
        LogCapture log;

        EXPECT_FALSE(fetchFlags(*api).response);

        const std::vector<std::string> lines = log.lines();
        ASSERT_EQ(lines.size(), 1u);
        if (item.prefixOnly) {
            EXPECT_TRUE(lines[0].starts_with(item.expectedLine)) << lines[0];
            EXPECT_GT(lines[0].size(), item.expectedLine.size()) << "names the error";
        } else {
            EXPECT_EQ(lines[0], item.expectedLine);
        }
    }
}

TEST_F(BeaconApiTest, FlagsTransportFailureCompletesWithNothing)
{
    const RefusingPort refusing;
    config->host = refusing.baseUrl();
    LogCapture log;

    EXPECT_FALSE(fetchFlags(*api).response);

    const std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("[Beacon] Error calling the flags API: ")) << lines[0];
}

TEST_F(BeaconApiTest, RemoteConfigGetsTheProjectDocumentFromAnUnmappedHost)
{
    server.setResponse(
        "/array/test-key/config", { .body = R"({"hasFeatureFlags":false,"sessionRecording":false})" });
    LogCapture log;

    const JsonResult result = fetchRemoteConfig(*api);

    ASSERT_TRUE(result.response);
    EXPECT_EQ(*result.response, json::parse(R"({"hasFeatureFlags":false,"sessionRecording":false})"));
    EXPECT_EQ(log.lines(), std::vector<std::string> { "[Beacon] Remote config called successfully." });
    const RecordedRequest request = onlyRequest();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/array/test-key/config");
    EXPECT_EQ(request.body, "");
    EXPECT_EQ(request.header("User-Agent"), "beacon-desktop/1.0.0");
}

TEST_F(BeaconApiTest, RemoteConfigPathKeepsHostPrefixAndEscapesTheKey)
{
    config->host = server.baseUrl() + "/ingest/";
    config->apiKey = "key/with?odd#chars x";

    EXPECT_TRUE(fetchRemoteConfig(*api).response);

    // Percent-escapes compare without case.
    const RecordedRequest request = onlyRequest();
    EXPECT_EQ(lowercase(request.target), "/ingest/array/key%2fwith%3fodd%23chars%20x/config")
        << "a key cannot change the shape of the URL";
    EXPECT_TRUE(request.query.empty());
}

TEST_F(BeaconApiTest, RemoteConfigFailuresCompleteWithNothing)
{
    struct Case {
        std::string name;
        CannedResponse response;
        std::string expectedLine;
    };
    const std::vector<Case> cases = {
        { "not found", { .status = 404, .body = "{}" },
            "[Beacon] Error calling the remote config API: status: 404" },
        { "empty body", { .body = "" }, "[Beacon] Error parsing the remote config response: no data" },
        { "array", { .body = "[]" },
            "[Beacon] Error parsing the remote config response: expected a JSON object, got array" },
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.name);
        server.setResponse("/array/test-key/config", item.response);
        LogCapture log;

        EXPECT_FALSE(fetchRemoteConfig(*api).response);

        EXPECT_EQ(log.lines(), std::vector<std::string> { item.expectedLine });
    }

    const RefusingPort refusing;
    config->host = refusing.baseUrl();
    LogCapture log;
    EXPECT_FALSE(fetchRemoteConfig(*api).response);
    const std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("[Beacon] Error calling the remote config API: ")) << lines[0];
}

TEST_F(BeaconApiTest, UserAgentFollowsAWrappingLibrary)
{
    beacon::BeaconVersion::setLibraryName("beacon-wrapper");
    beacon::BeaconVersion::setLibraryVersion("2.3.4");

    sendBatch(*api, { event("a", 1) });
    fetchFlags(*api);
    fetchRemoteConfig(*api);

    const std::vector<RecordedRequest> requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    for (const RecordedRequest& request : requests)
        EXPECT_EQ(request.header("User-Agent"), "beacon-wrapper/2.3.4") << request.target;
}

TEST_F(BeaconApiTest, ConcurrentCallsAllComplete)
{
    server.setDefaultResponse({ .body = R"({"ok":true})", .delay = 50ms });
    constexpr int kEach = 6;
    std::mutex mutex;
    int completions = 0;
    int successes = 0;
    std::promise<void> allDone;
    const auto complete = [&](bool success) {
        const std::lock_guard lock(mutex);
        successes += success ? 1 : 0;
        if (++completions == 3 * kEach)
            allDone.set_value();
    };

    for (int i = 0; i < kEach; ++i) {
        api->batch({ event("a", i) }, [&](int status, bool failed) { complete(status == 200 && !failed); });
        api->flags("user-" + std::to_string(i), std::nullopt, {}, json::object(), json::object(),
            [&](std::optional<json> response) { complete(response.has_value()); });
        api->remoteConfig([&](std::optional<json> response) { complete(response.has_value()); });
    }

    const bool finished = allDone.get_future().wait_for(kWaitLimit) == std::future_status::ready;
    api.reset(); // the completions use this frame's locals
    ASSERT_TRUE(finished);
    const std::lock_guard lock(mutex);
    EXPECT_EQ(successes, 3 * kEach);
    EXPECT_EQ(server.requestCount(), 3u * kEach);
}

TEST_F(BeaconApiTest, DestroyingTheClientAbortsRequestsInFlight)
{
    server.setResponse("/batch", { .neverAnswer = true });
    config->urlSessionConfiguration.reset(); // the full 10 seconds
    std::atomic<bool> completed { false };

    api->batch({ event("a", 1) }, [&](int, bool) { completed = true; });
    ASSERT_TRUE(server.waitForRequests(1));
    const auto started = std::chrono::steady_clock::now();
    api.reset();
    const auto elapsed = std::chrono::steady_clock::now() - started;

    EXPECT_LT(elapsed, 5s) << "destruction must not wait for the request's timeout";
    EXPECT_FALSE(completed) << "no completion runs once the client is gone";
}

TEST_F(BeaconApiTest, ClientMayBeDestroyedFromItsOwnCompletion)
{
    auto* owned = new BeaconApi(config);
    auto result = std::make_shared<std::promise<UploadResult>>();
    auto future = result->get_future();

    owned->batch({ event("a", 1) }, [owned, result](int status, bool failed) {
        delete owned;
        result->set_value({ status, failed, std::this_thread::get_id() });
    });

    ASSERT_EQ(future.wait_for(kWaitLimit), std::future_status::ready);
    EXPECT_EQ(future.get(), (UploadResult { 200, false }));
}

TEST_F(BeaconApiTest, ThrowingCompletionDoesNotTakeTheClientDown)
{
    api->batch({ event("a", 1) }, [](int, bool) { throw std::runtime_error("caller bug"); });
    ASSERT_TRUE(server.waitForRequests(1));

    EXPECT_EQ(sendBatch(*api, { event("b", 2) }), (UploadResult { 200, false }));
}

} // namespace
