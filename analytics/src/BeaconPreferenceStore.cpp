#include "beacon/BeaconPreferenceStore.h"

#include "beacon/BeaconLog.h"
#include "beacon/BeaconStorage.h"

#include "fileio/AtomicWrite.h"
#include "fileio/Folders.h"
#include "fileio/JsonNesting.h"
#include "fileio/ReadFile.h"

namespace beacon {

BeaconPreferenceStore::BeaconPreferenceStore(std::filesystem::path file)
    : m_file(std::move(file))
{
    if (m_file.empty())
        return;
    const fileio::FileContents contents = fileio::readWholeFile(m_file, maxFileSize);
    if (contents.status == fileio::FileContents::Status::missing)
        return;
    if (contents.status == fileio::FileContents::Status::failed) {
        debugLog("Failed to read preferences " + m_file.string() + ": " + contents.error);
        return;
    }
    if (fileio::nestsDeeperThan(contents.bytes, BeaconStorage::maxNestingDepth)) {
        debugLog("Failed to read preferences " + m_file.string() + ": nested too deeply");
        return;
    }
    nlohmann::json parsed = nlohmann::json::parse(contents.bytes, nullptr, false);
    if (parsed.is_object())
        m_values = std::move(parsed);
    else
        debugLog("Failed to read preferences " + m_file.string() + ": not a JSON object");
}

std::optional<nlohmann::json> BeaconPreferenceStore::value(const std::string& key) const
{
    const std::lock_guard lock(m_lock);
    const auto it = m_values.find(key);
    if (it == m_values.end())
        return std::nullopt;
    return *it;
}

std::optional<std::string> BeaconPreferenceStore::string(const std::string& key) const
{
    const std::optional<nlohmann::json> stored = value(key);
    if (!stored || !stored->is_string())
        return std::nullopt;
    return stored->get<std::string>();
}

void BeaconPreferenceStore::setValue(const std::string& key, nlohmann::json value)
{
    const std::lock_guard lock(m_lock);
    m_values[key] = std::move(value);
}

void BeaconPreferenceStore::removeValue(const std::string& key)
{
    const std::lock_guard lock(m_lock);
    m_values.erase(key);
}

bool BeaconPreferenceStore::synchronize()
{
    if (m_file.empty())
        return false;
    std::string bytes;
    {
        const std::lock_guard lock(m_lock);
        try {
            bytes = m_values.dump();
        } catch (const std::exception& error) {
            debugLog("Failed to write preferences " + m_file.string() + ": " + error.what());
            return false;
        }
    }
    std::error_code error = fileio::createPrivateFolders(m_file.parent_path());
    if (!error)
        error = fileio::writeFileAtomically(m_file, bytes);
    if (error) {
        debugLog("Failed to write preferences " + m_file.string() + ": " + error.message());
        return false;
    }
    return true;
}

} // namespace beacon
