// The shared HTTP transfer against a real server on the loopback interface.
#include "http/HttpTransfer.h"

#include <future>
#include <gtest/gtest.h>
#include <thread>

#include "LoopbackHttpServer.h"

namespace {
using beacon::test::CannedResponse;
using beacon::test::LoopbackHttpServer;
using beacon::test::RefusingPort;
using Status = http::Response::Status;
using namespace std::chrono_literals;

class HttpTransferTest : public ::testing::Test {
protected:
    http::Request get(const std::string& path) const
    {
        http::Request request;
        request.url = server.baseUrl() + path;
        request.limits.totalTimeout = 10s;
        return request;
    }

    LoopbackHttpServer server;
};

TEST_F(HttpTransferTest, PostsItsBodyAndHeadersAndReceivesAnAnswerOfAnyStatus)
{
    server.setResponse("/upload", { .status = 503, .body = "busy", .contentType = "text/plain" });
    http::Request request = get("/upload");
    request.method = http::Request::Method::post;
    request.body = "payload";
    request.headers = { "Content-Type: text/plain", "X-Check: 1" };
    request.userAgent = "Velto/1.0.0";

    const http::Response response = http::perform(request);

    EXPECT_EQ(response.status, Status::received);
    EXPECT_EQ(response.httpStatus, 503);
    EXPECT_EQ(response.body, "busy");
    EXPECT_TRUE(response.error.empty());
    ASSERT_EQ(server.requestCount(), 1u);
    const auto sent = server.requests().front();
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.body, "payload");
    EXPECT_EQ(sent.header("X-Check"), "1");
    EXPECT_EQ(sent.header("User-Agent"), "Velto/1.0.0");
}

TEST_F(HttpTransferTest, RedirectsAreHandedBackOrFollowedOnlyToHttps)
{
    const std::string moved = server.baseUrl() + "/moved";
    server.setResponse("/old", { .status = 301, .body = "", .headers = { { "Location", moved } } });
    server.setResponse("/moved", { .body = "followed" });

    const http::Response handedBack = http::perform(get("/old"));
    EXPECT_EQ(handedBack.status, Status::received);
    EXPECT_EQ(handedBack.httpStatus, 301);
    EXPECT_EQ(server.requestCount(), 1u);

    server.clearRequests();
    http::Request follow = get("/old");
    follow.redirects = http::Redirects::followHttps;
    const http::Response refused = http::perform(follow);
    EXPECT_EQ(refused.status, Status::failed);
    EXPECT_FALSE(refused.error.empty());
    EXPECT_TRUE(refused.body.empty());
    ASSERT_EQ(server.requestCount(), 1u) << "a redirect to plain http is never followed";
    EXPECT_EQ(server.requests().front().path, "/old");
}

TEST_F(HttpTransferTest, BodiesOverTheCapEndTheTransfer)
{
    const std::string body(4096, 'x');
    for (const bool chunked : { false, true }) {
        SCOPED_TRACE(chunked ? "chunked, no length announced" : "length announced");
        server.setResponse("/feed", { .body = body, .contentType = "text/plain", .chunked = chunked });
        http::Request request = get("/feed");

        request.limits.maxResponseBytes = body.size();
        const http::Response atTheCap = http::perform(request);
        EXPECT_EQ(atTheCap.status, Status::received);
        EXPECT_EQ(atTheCap.body, body);

        request.limits.maxResponseBytes = body.size() - 1;
        const http::Response over = http::perform(request);
        EXPECT_EQ(over.status, Status::tooLarge);
        EXPECT_TRUE(over.body.empty());
        EXPECT_EQ(over.error, "the response is larger than 4095 bytes");
    }
}

TEST_F(HttpTransferTest, ServerThatNeverAnswersTimesOut)
{
    server.setResponse("/slow", { .neverAnswer = true });
    http::Request request = get("/slow");
    request.limits.totalTimeout = 300ms;

    const auto started = std::chrono::steady_clock::now();
    const http::Response response = http::perform(request);
    const auto elapsed = std::chrono::steady_clock::now() - started;

    EXPECT_EQ(response.status, Status::timedOut);
    EXPECT_NE(response.error.find("timed out"), std::string::npos) << response.error;
    EXPECT_GE(elapsed, 250ms);
    EXPECT_LT(elapsed, 5s);
}

TEST_F(HttpTransferTest, RefusedConnectionFailsWithTheReason)
{
    const RefusingPort refusing;
    http::Request request;
    request.url = refusing.baseUrl() + "/";

    const http::Response response = http::perform(request);

    EXPECT_EQ(response.status, Status::failed);
    EXPECT_FALSE(response.error.empty());
}

TEST_F(HttpTransferTest, CancellingStopsRunningTransfersAtOnceAndLaterOnesBeforeTheyStart)
{
    server.setResponse("/held", { .neverAnswer = true });
    http::Cancellation cancellation;
    const http::Request request = get("/held"); // ten seconds before it would time out
    std::vector<std::future<http::Response>> running;
    for (int i = 0; i < 3; ++i)
        running.push_back(
            std::async(std::launch::async, [&] { return http::perform(request, &cancellation); }));
    ASSERT_TRUE(server.waitForRequests(3));

    const auto started = std::chrono::steady_clock::now();
    cancellation.cancel();
    for (auto& transfer : running) {
        ASSERT_EQ(transfer.wait_for(5s), std::future_status::ready);
        EXPECT_EQ(transfer.get().status, Status::cancelled);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_TRUE(cancellation.cancelled());

    server.clearRequests();
    EXPECT_EQ(http::perform(get("/other"), &cancellation).status, Status::cancelled);
    EXPECT_EQ(server.requestCount(), 0u);
}

} // namespace
