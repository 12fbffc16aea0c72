#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

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

/// Folders named up front, for a host that keeps the client's files in a place of its own choosing
/// rather than the user's data home (a benchmark's or a test's folder among them).
class FixedDataFolders final : public BeaconDataFolders {
public:
    explicit FixedDataFolders(std::optional<std::filesystem::path> applicationSupport,
        std::optional<std::filesystem::path> sharedContainer = std::nullopt)
        : m_applicationSupport(std::move(applicationSupport))
        , m_sharedContainer(std::move(sharedContainer))
    { }
    std::optional<std::filesystem::path> applicationSupportFolder() const override
    {
        return m_applicationSupport;
    }
    std::optional<std::filesystem::path> sharedContainer(const std::string&) const override
    {
        return m_sharedContainer;
    }

private:
    std::optional<std::filesystem::path> m_applicationSupport;
    std::optional<std::filesystem::path> m_sharedContainer;
};

} // namespace beacon
