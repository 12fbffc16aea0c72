#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace beacon {

/// Where the library may keep its files.
class BeaconDataFolders {
public:
    virtual ~BeaconDataFolders() = default;
    /// The user's per-application data folder (the XDG data home on Linux); nothing when unknown.
    virtual std::optional<std::filesystem::path> applicationSupportFolder() const = 0;
    /// The container shared by an application group, when the platform has one for `groupIdentifier`.
    virtual std::optional<std::filesystem::path> sharedContainer(
        const std::string& groupIdentifier) const = 0;
};

/// The XDG base-directory rules: $XDG_DATA_HOME, else $HOME/.local/share, else the
/// password database's home; relative paths are ignored. Linux has no shared containers.
class XdgDataFolders final : public BeaconDataFolders {
public:
    std::optional<std::filesystem::path> applicationSupportFolder() const override;
    std::optional<std::filesystem::path> sharedContainer(const std::string& groupIdentifier) const override;
};

} // namespace beacon
