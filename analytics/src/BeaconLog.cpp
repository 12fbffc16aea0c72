#include "beacon/BeaconLog.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

namespace beacon {
namespace {
std::atomic<bool> g_debugEnabled { false };
std::mutex g_outputMutex; // keeps lines from different threads whole
constexpr std::string_view kPrefix = "[Beacon]";
} // namespace

void setDebugLogEnabled(bool enabled)
{
    g_debugEnabled.store(enabled, std::memory_order_relaxed);
}

bool isDebugLogEnabled()
{
    return g_debugEnabled.load(std::memory_order_relaxed);
}

void debugLog(std::string_view message)
{
    if (!isDebugLogEnabled())
        return;
    std::string line;
    if (!message.starts_with(kPrefix)) {
        line.append(kPrefix);
        line.push_back(' ');
    }
    line.append(message);
    line.push_back('\n');
    const std::lock_guard lock(g_outputMutex);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

} // namespace beacon
