#pragma once

#include <mutex>
#include <system_error>

#include "beacon/BeaconNetworkStateSource.h"

namespace beacon::test {

/// A network state source the test drives by hand, with switchable failures.
class ManualNetworkStateSource final : public BeaconNetworkStateSource {
public:
    std::error_code readFlags(ReachabilityFlags& flags) override;
    std::error_code startWatching(ChangeHandler onChange) override;
    void stopWatching() override;

    /// Changes the flags and tells the watcher, as a network manager would.
    void change(ReachabilityFlags flags);
    void setFlags(ReachabilityFlags flags);
    void failReads(std::error_code error);
    void failWatching(std::error_code error);

    bool isWatched() const;
    int startCount() const;
    int stopCount() const;
    int readCount() const;

private:
    mutable std::mutex m_lock;
    ReachabilityFlags m_flags = ReachabilityFlag::reachable;
    std::error_code m_readError;
    std::error_code m_watchError;
    ChangeHandler m_handler;
    int m_starts = 0;
    int m_stops = 0;
    int m_reads = 0;
};

} // namespace beacon::test
