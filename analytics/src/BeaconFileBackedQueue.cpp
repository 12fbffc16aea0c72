#include "beacon/BeaconFileBackedQueue.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <limits>
#include <system_error>
#include <utility>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "beacon/BeaconApiDateFormatter.h"
#include "beacon/BeaconClock.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconStorage.h"

#include "BeaconDecimalText.h"
#include "fileio/AtomicWrite.h"
#include "fileio/ErrnoText.h"
#include "fileio/Folders.h"
#include "fileio/JsonNesting.h"
#include "fileio/ReadFile.h"

namespace beacon {
namespace {
namespace fs = std::filesystem;

double secondsSince1970(BeaconClock::TimePoint time)
{
    // Whole seconds and the fraction apart: dividing the full count of ticks would round twice, and
    // 05.678 would come out as 05.6780002.
    const auto since = time.time_since_epoch();
    const auto whole = std::chrono::floor<std::chrono::seconds>(since);
    return static_cast<double>(whole.count()) + std::chrono::duration<double>(since - whole).count();
}

double nextUp(double value)
{
    return std::nextafter(value, std::numeric_limits<double>::infinity());
}

// Enough to step past any name another writer took, without looping for ever on a broken folder.
constexpr int kMaxNameAttempts = 64;
} // namespace

BeaconFileBackedQueue::BeaconFileBackedQueue(std::filesystem::path folder, std::shared_ptr<BeaconClock> clock)
    : m_queue(std::move(folder))
    , m_clock(clockOrSystem(std::move(clock)))
{ }

std::string BeaconFileBackedQueue::fileName(double seconds)
{
    return detail::decimalText(seconds);
}

std::optional<double> BeaconFileBackedQueue::valueOf(std::string_view fileName)
{
    return detail::parseDecimal(fileName);
}

bool BeaconFileBackedQueue::before(const Entry& a, const Entry& b)
{
    // Names that are not numbers go last, so that they never hold back real items.
    if (a.value.has_value() != b.value.has_value())
        return a.value.has_value();
    if (a.value && *a.value != *b.value)
        return *a.value < *b.value;
    return a.name < b.name;
}

void BeaconFileBackedQueue::setup(const std::optional<std::filesystem::path>& oldQueue)
{
    createFolder();
    if (oldQueue) {
        std::error_code error;
        if (fs::exists(*oldQueue, error))
            migrate(*oldQueue);
    }
    load();
}

void BeaconFileBackedQueue::createFolder()
{
    const std::error_code error = fileio::createPrivateFolders(m_queue);
    if (error)
        debugLog("Error trying to create caching folder " + error.message());
}

void BeaconFileBackedQueue::migrate(const std::filesystem::path& oldQueue)
{
    const fileio::FileContents file = fileio::readWholeFile(oldQueue, maxLegacyFileSize);
    try {
        if (file.status == fileio::FileContents::Status::failed)
            throw std::runtime_error(file.error);
        if (file.status == fileio::FileContents::Status::read) {
            if (fileio::nestsDeeperThan(file.bytes, BeaconStorage::maxNestingDepth))
                throw std::runtime_error("nested too deeply");
            const nlohmann::json events = nlohmann::json::parse(file.bytes);
            if (!events.is_array())
                throw std::runtime_error("not a JSON array");
            for (const nlohmann::json& event : events) {
                if (!event.is_object())
                    continue;
                std::optional<BeaconClock::TimePoint> time;
                if (const auto it = event.find("timestamp"); it != event.end() && it->is_string())
                    time = BeaconApiDateFormatter::parse(it->get_ref<const std::string&>());
                // One unwritable event does not cost the others their place; `load` lists the written ones.
                // Synced: the legacy file is deleted right after, so these copies are the only ones.
                write(event.dump(), secondsSince1970(time.value_or(m_clock->now())), false,
                    "Failed to migrate queue ", true);
            }
        }
    } catch (const std::exception& error) {
        debugLog(std::string("Failed to migrate queue ") + error.what());
    }
    // Deleted even after a failure: a file that cannot be migrated now never will be.
    if (::unlink(oldQueue.c_str()) != 0 && errno != ENOENT)
        debugLog("Error trying to delete file " + fileio::errnoText(errno));
}

void BeaconFileBackedQueue::load()
{
    std::deque<Entry> entries;
    std::error_code error;
    fs::directory_iterator it(m_queue, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string name = it->path().filename().string();
        if (fileio::isAtomicWriteLeftover(name)) {
            // An add that died mid-write: it never reported success, and its content may be partial.
            std::error_code ignored;
            fs::remove(it->path(), ignored);
            continue;
        }
        std::error_code typeError;
        if (it->symlink_status(typeError).type() != fs::file_type::regular)
            continue;
        std::optional<double> value = valueOf(name);
        entries.push_back({ std::move(name), value });
    }
    if (error) {
        debugLog("Failed to load files for queue " + error.message());
        entries.clear();
    }
    std::sort(entries.begin(), entries.end(), before);

    std::optional<double> latest;
    for (const Entry& entry : entries) {
        if (entry.value)
            latest = std::max(latest.value_or(*entry.value), *entry.value);
    }
    {
        const std::lock_guard lock(m_nameLock);
        if (latest && (!m_lastIssued || *latest > *m_lastIssued))
            m_lastIssued = latest;
    }
    const std::unique_lock lock(m_itemsLock);
    m_items = std::move(entries);
}

double BeaconFileBackedQueue::nextValue(double seconds)
{
    const std::lock_guard lock(m_nameLock);
    double value = seconds;
    if (m_lastIssued && value <= *m_lastIssued)
        value = nextUp(*m_lastIssued);
    m_lastIssued = value;
    return value;
}

std::optional<BeaconFileBackedQueue::Entry> BeaconFileBackedQueue::write(
    std::string_view data, double seconds, bool bumpPastIssued, std::string_view failure, bool synced)
{
    if (data.size() > maxItemSize) {
        debugLog(std::string(failure) + "file too large");
        return std::nullopt;
    }
    bool madeFolder = false;
    double value = seconds;
    std::error_code error;
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        if (bumpPastIssued)
            value = nextValue(seconds);
        std::string name = fileName(value);
        error = fileio::writeFileAtomically(url(name), data, fileio::WriteMode::createNew,
            synced ? fileio::Durability::synced : fileio::Durability::unsynced);
        if (!error)
            return Entry { std::move(name), value };
        if (error == std::errc::file_exists) {
            // Someone else's file; never overwrite it.
            value = nextUp(value);
            continue;
        }
        if (error == std::errc::no_such_file_or_directory && !madeFolder) {
            // The folder was removed behind our back.
            madeFolder = true;
            createFolder();
            continue;
        }
        break;
    }
    debugLog(std::string(failure) + error.message());
    return std::nullopt;
}

std::optional<std::string> BeaconFileBackedQueue::add(std::string_view data)
{
    // Not synced: a usage event may be lost to a power loss or an OS crash, which is acceptable for
    // analytics, and syncing would cost each capture about a millisecond on the caller's thread. The
    // rename still guarantees that a killed process leaves each file whole or absent.
    auto entry = write(data, secondsSince1970(m_clock->now()), true, "Could not write file ", false);
    if (!entry)
        return std::nullopt;
    std::string name = entry->name;
    insert(std::move(*entry));
    return name;
}

void BeaconFileBackedQueue::insert(Entry entry)
{
    const std::unique_lock lock(m_itemsLock);
    // New names are the latest, so the search ends at once in practice.
    auto position = m_items.end();
    while (position != m_items.begin() && before(entry, *std::prev(position)))
        --position;
    m_items.insert(position, std::move(entry));
}

std::vector<std::string> BeaconFileBackedQueue::peek(std::size_t count)
{
    std::vector<std::string> data;
    for (Item& item : peekItems(count))
        data.push_back(std::move(item.data));
    return data;
}

std::vector<BeaconFileBackedQueue::Item> BeaconFileBackedQueue::peekItems(std::size_t count)
{
    std::vector<Item> items;
    if (count == 0)
        return items;
    for (const std::string& name : names()) {
        const fs::path path = url(name);
        fileio::FileContents file = fileio::readWholeFile(path, maxItemSize);
        switch (file.status) {
        case fileio::FileContents::Status::read:
            items.push_back({ name, std::move(file.bytes) });
            break;
        case fileio::FileContents::Status::missing:
            debugLog("File " + path.string() + " does not exist");
            dropName(name);
            break;
        case fileio::FileContents::Status::failed:
            debugLog("File " + path.string() + " is corrupted " + file.error);
            if (dropName(name))
                deleteFile(name);
            break;
        }
        if (items.size() == count)
            break;
    }
    return items;
}

void BeaconFileBackedQueue::pop(std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        std::string name;
        {
            const std::unique_lock lock(m_itemsLock);
            if (m_items.empty())
                return;
            name = std::move(m_items.front().name);
            m_items.pop_front();
        }
        deleteFile(name);
    }
}

void BeaconFileBackedQueue::remove(std::size_t index)
{
    std::string name;
    {
        const std::unique_lock lock(m_itemsLock);
        if (index >= m_items.size())
            return;
        const auto position = m_items.begin() + static_cast<std::ptrdiff_t>(index);
        name = std::move(position->name);
        m_items.erase(position);
    }
    deleteFile(name);
}

void BeaconFileBackedQueue::remove(const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        if (dropName(name))
            deleteFile(name);
    }
}

bool BeaconFileBackedQueue::dropName(std::string_view name)
{
    const std::unique_lock lock(m_itemsLock);
    const auto found = std::find_if(
        m_items.begin(), m_items.end(), [&](const Entry& entry) { return entry.name == name; });
    if (found == m_items.end())
        return false;
    m_items.erase(found);
    return true;
}

void BeaconFileBackedQueue::deleteFile(std::string_view name) const
{
    // unlink, not remove: a folder that stands where an item belongs is not ours to empty.
    if (::unlink(url(name).c_str()) != 0)
        debugLog("Error trying to delete file " + fileio::errnoText(errno));
}

std::size_t BeaconFileBackedQueue::depth() const
{
    const std::shared_lock lock(m_itemsLock);
    return m_items.size();
}

std::vector<std::string> BeaconFileBackedQueue::names() const
{
    const std::shared_lock lock(m_itemsLock);
    std::vector<std::string> names;
    names.reserve(m_items.size());
    for (const Entry& entry : m_items)
        names.push_back(entry.name);
    return names;
}

} // namespace beacon
