#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "beacon/BeaconApplicationInfo.h"

namespace beacon {

class Reachability;

/// Where the context reads facts about the machine. Tests point it at fixture folders.
struct BeaconSystemProbe {
    /// The file system root under which /etc, /usr/lib and /sys are read.
    std::filesystem::path root = "/";
    /// Looks up an environment variable; the process environment when empty.
    std::function<std::optional<std::string>(const std::string& name)> environment;
    /// The hardware name uname(2) reports (e.g. "x86_64"); uname itself when empty.
    std::function<std::optional<std::string>()> machine;

    std::optional<std::string> getenv(const std::string& name) const;
    std::optional<std::string> unameMachine() const;
    /// The first line of a small file under `root`, trimmed; nothing when unreadable or blank.
    std::optional<std::string> readLine(const std::filesystem::path& relativePath) const;
};

/// Size of the screen the application's active window is on, in logical pixels.
struct BeaconScreenSize {
    double width = 0;
    double height = 0;
    bool operator==(const BeaconScreenSize&) const = default;
};

/// The device, application and library facts merged into every event. Nothing here
/// identifies the machine or the person: no host name, no machine id, no serial number.
class BeaconContext {
public:
    BeaconContext(BeaconApplicationInfo application, std::shared_ptr<Reachability> reachability,
        BeaconSystemProbe probe = {});

    BeaconContext(const BeaconContext&) = delete;
    BeaconContext& operator=(const BeaconContext&) = delete;

    /// Application and device facts; computed on first use, then fixed.
    const nlohmann::json& staticContext() const;
    /// Screen size (when known), language (from the environment, else the application's locale), time zone
    /// and (with reachability) network; read per event.
    nlohmann::json dynamicContext() const;
    /// `$lib` and `$lib_version`; computed on first use, then fixed.
    const nlohmann::json& sdkInfo() const;
    /// The static facts that flag evaluation may target; computed on first use.
    const nlohmann::json& personPropertiesContext() const;

    /// The application reports where its active window is; nothing when it has none. A size
    /// that is not finite and positive counts as unknown.
    void setScreenSize(std::optional<BeaconScreenSize> size);
    std::optional<BeaconScreenSize> screenSize() const;

private:
    const BeaconApplicationInfo m_application;
    const std::shared_ptr<Reachability> m_reachability;
    const BeaconSystemProbe m_probe;

    mutable std::shared_mutex m_screenSizeLock;
    std::optional<BeaconScreenSize> m_screenSize; // m_screenSizeLock

    mutable std::once_flag m_staticOnce;
    mutable nlohmann::json m_staticContext;
    mutable std::once_flag m_sdkInfoOnce;
    mutable nlohmann::json m_sdkInfo;
    mutable std::once_flag m_personOnce;
    mutable nlohmann::json m_personPropertiesContext;
};

/// The marketing name of a Mac for its model identifier ("MacBookPro18,3" → "MacBook Pro").
std::string macDeviceFriendlyName(std::string_view model);

/// A build number as sent: an integer when the whole text is a base-10 integer with an
/// optional sign that fits 64 bits, else the text itself.
nlohmann::json appBuildValue(std::string_view build);

/// The language of a POSIX locale name or BCP 47 tag ("de_AT.UTF-8@euro", "de-AT" → "de"); nothing for "C",
/// "POSIX" and anything that is not a two- or three-letter language code.
std::optional<std::string> languageCode(std::string_view localeName);

/// The language of the messages locale: LC_ALL, else LC_MESSAGES, else LANG.
std::optional<std::string> currentLanguageCode(const BeaconSystemProbe& probe);

/// The IANA time-zone id in force: from TZ when set, else the target of /etc/localtime,
/// else /etc/timezone. Nothing when TZ holds a rule rather than a zone name.
std::optional<std::string> currentTimeZoneIdentifier(const BeaconSystemProbe& probe);

/// Whether `name` has the shape of an IANA zone id ("Europe/Berlin", "Etc/GMT+1", "UTC").
bool isTimeZoneIdentifier(std::string_view name);

/// The variables of an os-release(5) file; quotes and escapes are undone.
std::map<std::string, std::string> parseOsRelease(std::string_view text);

} // namespace beacon
