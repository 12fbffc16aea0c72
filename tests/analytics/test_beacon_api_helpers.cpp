// The pure pieces under BeaconApi: gzip, response parsing, URL building, timestamps, library info.
#include <chrono>
#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>
#include <zlib.h>

#include "TestGzip.h"
#include "beacon/BeaconApi.h"
#include "beacon/BeaconApiDateFormatter.h"
#include "beacon/BeaconApiResponse.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconGzip.h"
#include "beacon/BeaconVersion.h"

namespace {
using beacon::BeaconApi;
using beacon::BeaconApiDateFormatter;
using beacon::gzipCompress;
using beacon::GzipError;
using beacon::parseJsonObjectResponse;
using beacon::test::gunzip;
using namespace std::chrono_literals;

std::string randomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(byte(generator));
    return bytes;
}

// --- gzip ---

TEST(BeaconGzip, LargeMixedBodyRoundTripsThroughZlib)
{
    std::string body;
    for (int i = 0; body.size() < 3'000'000; ++i)
        body += R"({"event":"tick","properties":{"index":)" + std::to_string(i) + "}},";
    body += randomBytes(500'000, 7); // stretches the output past many 16 KiB steps

    const beacon::GzipResult result = gzipCompress(body);

    ASSERT_TRUE(result) << result.error->message;
    ASSERT_GE(result.data.size(), 3u);
    EXPECT_EQ(static_cast<unsigned char>(result.data[0]), 0x1f) << "gzip magic";
    EXPECT_EQ(static_cast<unsigned char>(result.data[1]), 0x8b);
    EXPECT_EQ(static_cast<unsigned char>(result.data[2]), 8) << "deflate method";
    EXPECT_LT(result.data.size(), body.size());
    EXPECT_EQ(gunzip(result.data), body);
}

TEST(BeaconGzip, IncompressibleBodyStillRoundTrips)
{
    const std::string body = randomBytes(200'000, 11);

    const beacon::GzipResult result = gzipCompress(body);

    ASSERT_TRUE(result);
    EXPECT_GT(result.data.size(), body.size()) << "random bytes only grow";
    EXPECT_EQ(gunzip(result.data), body);
}

TEST(BeaconGzip, EmptyBodyIsAValidEmptyMember)
{
    const beacon::GzipResult result = gzipCompress("");

    ASSERT_TRUE(result);
    EXPECT_EQ(gunzip(result.data), "");
}

TEST(BeaconGzip, ZlibCodesMapToErrorKindsAndMessages)
{
    using Kind = GzipError::Kind;
    EXPECT_EQ(GzipError::fromZlib(Z_STREAM_ERROR, "bad state"), (GzipError { Kind::stream, "bad state" }));
    EXPECT_EQ(GzipError::fromZlib(Z_DATA_ERROR, nullptr).kind, Kind::data);
    EXPECT_EQ(GzipError::fromZlib(Z_MEM_ERROR, nullptr).kind, Kind::memory);
    EXPECT_EQ(GzipError::fromZlib(Z_BUF_ERROR, nullptr).kind, Kind::buffer);
    EXPECT_EQ(GzipError::fromZlib(Z_VERSION_ERROR, nullptr).kind, Kind::version);
    EXPECT_EQ(GzipError::fromZlib(Z_ERRNO, nullptr).kind, Kind::unknown);
    EXPECT_EQ(GzipError::fromZlib(Z_DATA_ERROR, nullptr).message, "Unknown gzip error");
    EXPECT_EQ(GzipError::fromZlib(Z_DATA_ERROR, "").message, "Unknown gzip error");
}

// --- response parsing ---

TEST(BeaconApiResponse, ObjectIsTheOnlyUsableAnswer)
{
    const auto object = parseJsonObjectResponse(R"({"featureFlags":{"a":true},"quotaLimited":[]})");
    ASSERT_TRUE(object.object);
    EXPECT_EQ(object.error, "");
    EXPECT_EQ((*object.object)["featureFlags"]["a"], true);

    const std::vector<std::pair<std::string, std::string>> fragments = {
        { "[1,2]", "expected a JSON object, got array" },
        { R"("text")", "expected a JSON object, got string" },
        { "42", "expected a JSON object, got number" },
        { "true", "expected a JSON object, got boolean" },
        { "null", "expected a JSON object, got null" },
        { "", "no data" },
    };
    for (const auto& [body, error] : fragments) {
        SCOPED_TRACE(body);
        const auto parsed = parseJsonObjectResponse(body);
        EXPECT_FALSE(parsed.object);
        EXPECT_EQ(parsed.error, error);
    }
}

TEST(BeaconApiResponse, MalformedTextFailsWithTheParsersMessage)
{
    const std::vector<std::string> bodies
        = { "{", R"({"a":1} trailing)", "<html></html>", "{\"a\":\"\xFF\"}" };
    for (const std::string& body : bodies) {
        SCOPED_TRACE(body);
        const auto parsed = parseJsonObjectResponse(body);
        EXPECT_FALSE(parsed.object);
        EXPECT_NE(parsed.error.find("parse error"), std::string::npos) << parsed.error;
    }
}

TEST(BeaconApiResponse, NestingIsLimitedButBracketsInStringsDoNotCount)
{
    const std::size_t limit = beacon::maxResponseNestingDepth;
    const auto nested = [](std::size_t depth) {
        // depth levels in all: one object around depth - 1 arrays
        return "{\"a\":" + std::string(depth - 1, '[') + std::string(depth - 1, ']') + "}";
    };

    EXPECT_TRUE(parseJsonObjectResponse(nested(limit)).object);
    const auto tooDeep = parseJsonObjectResponse(nested(limit + 1));
    EXPECT_FALSE(tooDeep.object);
    EXPECT_EQ(tooDeep.error, "the response is nested more than 256 levels deep");
    EXPECT_FALSE(parseJsonObjectResponse(std::string(1'000'000, '[')).object);

    const std::string bracketsInText = R"({"a":"\"[[[[)" + std::string(1000, '{') + R"(", "b": 1})";
    EXPECT_TRUE(parseJsonObjectResponse(bracketsInText).object);
}

// --- URLs and hosts ---

TEST(BeaconApiUrl, EndpointPathsJoinTheHostPathWithSingleSlashes)
{
    struct Case {
        std::string host;
        std::string path;
        std::string query;
        std::string expected;
    };
    const std::vector<Case> cases = {
        { "https://h.example", "/batch", "", "https://h.example/batch" },
        { "https://h.example/", "/batch", "", "https://h.example/batch" },
        { "https://h.example/", "/s/", "", "https://h.example/s/" },
        { "https://h.example//ingest//", "/s/", "", "https://h.example/ingest/s/" },
        { "https://h.example/x?old=1#frag", "/flags", "v=2&config=true",
            "https://h.example/x/flags?v=2&config=true" },
        { "http://user:pw@h.example:8080/p", "/batch", "", "http://user:pw@h.example:8080/p/batch" },
        { "HTTPS://H.example", "/batch", "", "https://H.example/batch" }, // scheme case does not matter
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.host);
        EXPECT_EQ(BeaconApi::endpointUrl(item.host, item.path, item.query), item.expected);
    }
}

TEST(BeaconApiUrl, OnlyAbsoluteHttpUrlsAreHosts)
{
    for (const std::string host :
        { "", "not a url", "/relative/path", "ftp://h.example", "file:///etc/passwd" })
        EXPECT_EQ(BeaconApi::endpointUrl(host, "/batch"), std::nullopt) << host;
}

TEST(BeaconApiUrl, RemoteConfigUsesTheAssetsHostOfVendorHosts)
{
    EXPECT_EQ(BeaconApi::remoteConfigHost(beacon::BeaconConfig::defaultHost), BeaconApi::usAssetsHost);
    EXPECT_EQ(BeaconApi::remoteConfigHost(BeaconApi::euHost), BeaconApi::euAssetsHost);
    EXPECT_EQ(BeaconApi::remoteConfigHost("https://analytics.self-hosted.example"),
        "https://analytics.self-hosted.example");
    EXPECT_NE(std::string(BeaconApi::usAssetsHost), BeaconApi::euAssetsHost);
}

TEST(BeaconApiUrl, TimeoutIsTenSecondsUnlessConfiguredPositive)
{
    beacon::BeaconConfig config("key");
    EXPECT_EQ(BeaconApi::requestTimeoutSeconds(config), 10.0);

    config.urlSessionConfiguration = beacon::BeaconUrlSessionConfiguration {};
    EXPECT_EQ(BeaconApi::requestTimeoutSeconds(config), 10.0);
    config.urlSessionConfiguration->requestTimeoutSeconds = 0.3;
    EXPECT_EQ(BeaconApi::requestTimeoutSeconds(config), 0.3);

    for (const double unusable : { 0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity() }) {
        config.urlSessionConfiguration->requestTimeoutSeconds = unusable;
        EXPECT_EQ(BeaconApi::requestTimeoutSeconds(config), 10.0) << unusable;
    }
}

// --- timestamps ---

TEST(BeaconApiDateFormatter, WritesUtcWithThreeFractionalDigits)
{
    using std::chrono::system_clock;
    EXPECT_EQ(BeaconApiDateFormatter::formatWithMilliseconds(system_clock::time_point {}),
        "1970-01-01T00:00:00.000Z");
    // 2024-02-29T23:59:59.999Z, a leap day
    EXPECT_EQ(BeaconApiDateFormatter::formatWithMilliseconds(system_clock::time_point(1709251199999ms)),
        "2024-02-29T23:59:59.999Z");
    EXPECT_EQ(BeaconApiDateFormatter::formatWithMilliseconds(system_clock::time_point(1999us)),
        "1970-01-01T00:00:00.001Z")
        << "truncated, not rounded";
    EXPECT_EQ(BeaconApiDateFormatter::formatWithMilliseconds(system_clock::time_point(-1ms)),
        "1969-12-31T23:59:59.999Z");
}

// --- library name and version ---

class BeaconVersionTest : public testing::Test {
protected:
    void TearDown() override { beacon::BeaconVersion::reset(); }
};

TEST_F(BeaconVersionTest, DefaultsAndReplacement)
{
    EXPECT_EQ(beacon::BeaconVersion::userAgent(), "beacon-desktop/1.0.0");

    beacon::BeaconVersion::setLibraryName("beacon-wrapper");
    EXPECT_EQ(beacon::BeaconVersion::libraryName(), "beacon-wrapper");
    EXPECT_EQ(beacon::BeaconVersion::userAgent(), "beacon-wrapper/1.0.0");
    beacon::BeaconVersion::setLibraryVersion("3.0.0");
    EXPECT_EQ(beacon::BeaconVersion::libraryVersion(), "3.0.0");
    EXPECT_EQ(beacon::BeaconVersion::userAgent(), "beacon-wrapper/3.0.0");

    beacon::BeaconVersion::reset();
    EXPECT_EQ(beacon::BeaconVersion::userAgent(), "beacon-desktop/1.0.0");
}

TEST_F(BeaconVersionTest, UserAgentCannotCarryLineBreaks)
{
    beacon::BeaconVersion::setLibraryName("evil\r\nX-Injected: 1");

    EXPECT_EQ(beacon::BeaconVersion::userAgent(), "evilX-Injected: 1/1.0.0");
}

} // namespace
