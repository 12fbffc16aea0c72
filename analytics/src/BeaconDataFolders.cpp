#include "beacon/BeaconDataFolders.h"

#include <cstdlib>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace beacon {
namespace {
std::optional<std::filesystem::path> absoluteFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    std::filesystem::path path(value);
    if (!path.is_absolute())
        return std::nullopt;
    return path;
}

std::optional<std::filesystem::path> homeFromPasswordDatabase()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry {};
    passwd* result = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) != 0 || !result
        || !result->pw_dir)
        return std::nullopt;
    std::filesystem::path home(result->pw_dir);
    if (!home.is_absolute())
        return std::nullopt;
    return home;
}
} // namespace

std::optional<std::filesystem::path> XdgDataFolders::applicationSupportFolder() const
{
    if (auto dataHome = absoluteFromEnvironment("XDG_DATA_HOME"))
        return dataHome;
    auto home = absoluteFromEnvironment("HOME");
    if (!home)
        home = homeFromPasswordDatabase();
    if (!home)
        return std::nullopt;
    return *home / ".local" / "share";
}

std::optional<std::filesystem::path> XdgDataFolders::sharedContainer(const std::string&) const
{
    return std::nullopt;
}

} // namespace beacon
