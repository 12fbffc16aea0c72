#pragma once

#include <QByteArray>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>

/// How one feed download may behave.
struct FeedDownloadLimits {
    std::chrono::milliseconds connectTimeout { 10'000 };
    std::chrono::milliseconds totalTimeout { 30'000 };
    std::size_t maxBytes = 2 * 1024 * 1024;
};

/// What a feed download brought back.
struct FeedResponse {
    enum class Status { Received, Unreachable, TimedOut, HttpError, TooLarge, Cancelled };
    Status status = Status::Unreachable;
    long httpStatus = 0;
    QByteArray body;
    /// libcurl's own words, for the log.
    std::string detail;
};

/// One GET of the update feed with libcurl. `run` blocks, so it belongs on a worker thread;
/// `cancel` may be called from any thread and makes `run` return at once.
class FeedDownload {
public:
    FeedDownload(std::string url, std::string userAgent, FeedDownloadLimits limits = {});
    ~FeedDownload();
    FeedDownload(const FeedDownload&) = delete;
    FeedDownload& operator=(const FeedDownload&) = delete;

    FeedResponse run();
    void cancel();

private:
    struct Handles;
    std::string m_url;
    std::string m_userAgent;
    FeedDownloadLimits m_limits;
    std::unique_ptr<Handles> m_handles;
    std::atomic<bool> m_cancelled { false };
};
