#pragma once

#include <string>

namespace beacon {

/// The library's name and version, sent as the User-Agent and as `$lib` / `$lib_version`.
/// A library that wraps this one replaces them once at start-up; reads are safe from any thread.
class BeaconVersion {
public:
    static constexpr const char* defaultLibraryName = "beacon-desktop";
    static constexpr const char* defaultLibraryVersion = "1.0.0";

    static std::string libraryName();
    static std::string libraryVersion();
    static void setLibraryName(std::string name);
    static void setLibraryVersion(std::string version);
    /// Puts both back to the defaults.
    static void reset();

    /// name + "/" + version, stripped of control characters so it is always a single header line.
    static std::string userAgent();
};

} // namespace beacon
