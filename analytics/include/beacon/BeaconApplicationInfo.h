#pragma once

#include <optional>
#include <string>

namespace beacon {

/// The namespace used when the application has no identifier of its own.
inline constexpr const char* kBeaconFallbackBundleIdentifier = "com.beacon.desktop";

/// Facts about the host application; absent fields are simply not known.
struct BeaconApplicationInfo {
    std::optional<std::string> name;
    std::optional<std::string> displayName;
    std::optional<std::string> shortVersion; ///< the user-visible version, e.g. "1.0.0"
    std::optional<std::string> build; ///< the build number
    std::optional<std::string> bundleIdentifier; ///< reverse-domain id, e.g. "studio.murv.Velto"
    /// The application's own locale (e.g. "pt-BR"), whose language is sent when the environment names none.
    std::optional<std::string> locale;
};

} // namespace beacon
