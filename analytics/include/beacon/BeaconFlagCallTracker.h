#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace beacon {

/// The (flag, value) pairs already reported as `$feature_flag_called`, so that each pair is
/// reported once per client life. Safe from any thread.
class BeaconFlagCallTracker {
public:
    /// True exactly once per pair until `clear`: the caller that gets true reports it.
    bool markReported(const std::string& key, const nlohmann::json& value);
    bool wasReported(const std::string& key, const nlohmann::json& value) const;
    /// Forgets every pair (the client's `reset` and `close`).
    void clear();

private:
    mutable std::mutex m_lock;
    std::map<std::string, std::vector<nlohmann::json>> m_reported; // m_lock; flag key → reported values
};

} // namespace beacon
