#include "beacon/BeaconFlagCallTracker.h"

#include <algorithm>

namespace beacon {

bool BeaconFlagCallTracker::markReported(const std::string& key, const nlohmann::json& value)
{
    // Check and insert under one lock: two threads reading the same flag report it once.
    const std::lock_guard lock(m_lock);
    std::vector<nlohmann::json>& values = m_reported[key];
    if (std::find(values.begin(), values.end(), value) != values.end())
        return false;
    values.push_back(value);
    return true;
}

bool BeaconFlagCallTracker::wasReported(const std::string& key, const nlohmann::json& value) const
{
    const std::lock_guard lock(m_lock);
    const auto it = m_reported.find(key);
    return it != m_reported.end()
        && std::find(it->second.begin(), it->second.end(), value) != it->second.end();
}

void BeaconFlagCallTracker::clear()
{
    const std::lock_guard lock(m_lock);
    m_reported.clear();
}

} // namespace beacon
