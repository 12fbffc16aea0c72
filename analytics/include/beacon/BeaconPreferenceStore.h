#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace beacon {

/// A few named values of the library's own, kept as one JSON object in one file (the library has
/// no access to the host's settings). Safe from any thread; nothing here throws.
class BeaconPreferenceStore {
public:
    /// Reads `file` when it holds a JSON object; anything else (missing, unreadable, not an object)
    /// starts empty. An empty path keeps the values in memory only.
    explicit BeaconPreferenceStore(std::filesystem::path file);

    std::optional<nlohmann::json> value(const std::string& key) const;
    /// The value when it is text.
    std::optional<std::string> string(const std::string& key) const;
    void setValue(const std::string& key, nlohmann::json value);
    void removeValue(const std::string& key);
    /// Writes the values to the file (whole or not at all); false, logged, when that failed.
    bool synchronize();

    const std::filesystem::path& file() const { return m_file; }

    static constexpr std::size_t maxFileSize = std::size_t { 1024 } * 1024;

private:
    const std::filesystem::path m_file;
    mutable std::mutex m_lock;
    nlohmann::json m_values = nlohmann::json::object(); // m_lock
};

} // namespace beacon
