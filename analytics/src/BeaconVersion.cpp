#include "beacon/BeaconVersion.h"

#include <algorithm>
#include <mutex>

namespace beacon {
namespace {
struct LibraryInfo {
    std::mutex mutex;
    std::string name = BeaconVersion::defaultLibraryName;
    std::string version = BeaconVersion::defaultLibraryVersion;
};

LibraryInfo& info()
{
    static LibraryInfo instance;
    return instance;
}

bool isControl(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}
} // namespace

std::string BeaconVersion::libraryName()
{
    const std::lock_guard lock(info().mutex);
    return info().name;
}

std::string BeaconVersion::libraryVersion()
{
    const std::lock_guard lock(info().mutex);
    return info().version;
}

void BeaconVersion::setLibraryName(std::string name)
{
    const std::lock_guard lock(info().mutex);
    info().name = std::move(name);
}

void BeaconVersion::setLibraryVersion(std::string version)
{
    const std::lock_guard lock(info().mutex);
    info().version = std::move(version);
}

void BeaconVersion::reset()
{
    const std::lock_guard lock(info().mutex);
    info().name = defaultLibraryName;
    info().version = defaultLibraryVersion;
}

std::string BeaconVersion::userAgent()
{
    std::string agent;
    {
        const std::lock_guard lock(info().mutex);
        agent = info().name + "/" + info().version;
    }
    // A line break here would let a wrapper's name inject extra request headers.
    std::erase_if(agent, isControl);
    return agent;
}

} // namespace beacon
