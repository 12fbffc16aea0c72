// A client set up the way the application sets it up, sending to an ingestion stand-in on the
// loopback interface and keeping its files in a folder of its own.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>

namespace beacon {
class BeaconSDK;
} // namespace beacon
namespace benchmark {
class State;
} // namespace benchmark

namespace beacon::bench {

/// A fresh folder, removed with everything in it. Under the system's temporary directory unless that
/// is a tmpfs, then beside the executable (the build tree): in RAM the file system would cost next to
/// nothing, and every capture writes a file.
class DataFolder {
public:
    DataFolder();
    ~DataFolder();
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    /// "tmpfs" or "disk", for the benchmark's label.
    const std::string& medium() const { return m_medium; }

private:
    std::filesystem::path m_path;
    std::string m_medium;
};

/// An HTTP server on 127.0.0.1 that answers every request with 200 and "{}", and keeps count of the
/// events named `countedEvent` in the "/batch" uploads it receives (the body arrives gzip-compressed;
/// the server undoes that before the handler sees it).
class IngestServer {
public:
    using Clock = std::chrono::steady_clock;

    explicit IngestServer(std::string countedEvent);
    ~IngestServer();
    IngestServer(const IngestServer&) = delete;
    IngestServer& operator=(const IngestServer&) = delete;

    std::string baseUrl() const;

    /// Distinct counted events so far, by their uuid.
    std::size_t received() const;
    /// Counted events that arrived a second time.
    std::size_t duplicates() const;
    /// "/batch" requests, and those whose body was not a batch.
    std::size_t batches() const;
    std::size_t malformedBatches() const;
    /// When the latest batch holding a new counted event arrived.
    Clock::time_point lastArrival() const;
    /// True once `count` distinct counted events have arrived; false when `timeout` passes first.
    bool waitForReceived(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    struct Impl;
    void recordBatch(const std::string& body);

    const std::string m_countedEvent;
    std::unique_ptr<Impl> m_impl;
    int m_port = 0;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::unordered_set<std::string> m_seen; // m_mutex
    std::size_t m_duplicates = 0; // m_mutex
    std::size_t m_batches = 0; // m_mutex
    std::size_t m_malformed = 0; // m_mutex
    Clock::time_point m_lastArrival {}; // m_mutex
};

/// The folder, the server and a client set up against both. Torn down client first, so that no
/// upload is left talking to a server that has gone.
class SdkBenchFixture {
public:
    static constexpr const char* bundleIdentifier = "studio.murv.VeltoBench";

    explicit SdkBenchFixture(const std::string& countedEvent);
    /// The same, or nothing after marking `state` skipped with the reason it could not be made.
    static std::unique_ptr<SdkBenchFixture> createOrSkip(
        benchmark::State& state, const std::string& countedEvent);
    ~SdkBenchFixture();
    SdkBenchFixture(const SdkBenchFixture&) = delete;
    SdkBenchFixture& operator=(const SdkBenchFixture&) = delete;

    BeaconSDK& sdk() { return *m_sdk; }
    IngestServer& server() { return m_server; }
    const DataFolder& folder() const { return m_folder; }
    /// Event files waiting in the client's queue folder.
    std::size_t queuedFiles() const;

private:
    DataFolder m_folder;
    IngestServer m_server;
    std::shared_ptr<BeaconSDK> m_sdk;
};

} // namespace beacon::bench
